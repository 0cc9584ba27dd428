#include "app/MainUnit_qt.h"

#include "ui_MainUnit.h"

#include "app/EditorApp_qt.h"
#include "app/Splash_qt.h"
#include "app/TestPlay.h"
#include "app/TestPlay_qt.h"
#include "audio/PreviewMusic.h"
#include "database/DataBaseForm.h"
#include "database/DataBaseForm_qt.h"
#include "database/ED_MonGroup.h"
#include "data/LD_DataBase.h"
#include "events/EventManager.h"
#include "events/EventManager_qt.h"
#include "events/ED_Event_qt.h"
#include "events/ED_MoveRoute_qt.h"
#include "events/EventChoosers_qt.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "mapedit/ChipSelector_qt.h"
#include "mapedit/MapDialogs_qt.h"
#include "mapedit/MapEditor_qt.h"
#include "mapedit/MapTreeView.h"
#include "mapedit/MapTreeView_qt.h"
#include "project/MaterialBase_qt.h"
#include "project/Resources.h"
#include "project/ProjNew_qt.h"
#include "project/ProjPack_qt.h"
#include "project/ProjPath_qt.h"
#include "project/SelBase_qt.h"
#include "project/SelMusic_qt.h"
#include "audio/AudioOutput_qt.h"
#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "platform/Cp932Text_qt.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjectData.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

// The icons live in a static library: their registration has to be referenced to be linked in.
static void InitEditorResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(quillon);
        return true;
    }();
    (void)done;
}

namespace quillon {

void InitResources() { ::InitEditorResources(); }

namespace {

TRect ToRect(const QRect& r) { return MakeBounds(r.x(), r.y(), r.width(), r.height()); }
QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }


// The icon of each action shown with one, from the program's resources.
const char* IconName(TMainAction action) {
    switch (action) {
    case TMainAction::ProjectNew: return "project_new";
    case TMainAction::ProjectOpen: return "project_open";
    case TMainAction::ProjectClose: return "project_close";
    case TMainAction::ProjectPack: return "pack";
    case TMainAction::Exit: return "exit";
    case TMainAction::MapSave: return "map_save";
    case TMainAction::MapRevert: return "map_revert";
    case TMainAction::MapModeLayer1: return "mode_lower";
    case TMainAction::MapModeLayer2: return "mode_upper";
    case TMainAction::MapModeEvent: return "mode_event";
    case TMainAction::MapScale1: return "zoom_1";
    case TMainAction::MapScale2: return "zoom_2";
    case TMainAction::MapScale3: return "zoom_4";
    case TMainAction::MapScale4: return "zoom_8";
    case TMainAction::ToolDataBase: return "database";
    case TMainAction::ToolMaterial: return "material";
    case TMainAction::ToolSelectMusic: return "music";
    case TMainAction::GameTestPlay: return "test_play";
    case TMainAction::GameFullScreen: return "fullscreen";
    case TMainAction::GameShowTitle: return "show_title";
    case TMainAction::HelpContents: return "help";
    case TMainAction::HelpAbout: return "about";
    case TMainAction::MapToolUndo: return "undo";
    case TMainAction::MapToolSelect: return "tool_select";
    case TMainAction::MapToolZoom: return "tool_zoom";
    case TMainAction::MapToolPen: return "tool_pen";
    case TMainAction::MapToolRect: return "tool_rect";
    case TMainAction::MapToolEllipse: return "tool_ellipse";
    case TMainAction::MapToolSeedFill: return "tool_fill";
    }
    return nullptr;
}

// What the tool bar shows, in order; Exit stands for a separator.
constexpr TMainAction kSeparator = TMainAction::Exit;
const TMainAction kToolBar[] = {
    TMainAction::ProjectNew,    TMainAction::ProjectOpen,   TMainAction::MapSave,       kSeparator,
    TMainAction::MapToolUndo,   kSeparator,                 TMainAction::MapModeLayer1, TMainAction::MapModeLayer2,
    TMainAction::MapModeEvent,  kSeparator,                 TMainAction::MapScale1,     TMainAction::MapScale2,
    TMainAction::MapScale3,     TMainAction::MapScale4,     kSeparator,                 TMainAction::MapToolSelect,
    TMainAction::MapToolZoom,   TMainAction::MapToolPen,    TMainAction::MapToolRect,   TMainAction::MapToolEllipse,
    TMainAction::MapToolSeedFill, kSeparator,               TMainAction::ToolDataBase,  TMainAction::ToolMaterial,
    TMainAction::ToolSelectMusic, kSeparator,               TMainAction::GameTestPlay,  kSeparator,
    TMainAction::HelpContents,
};

// An action's icon, with a disabled look of its own: the style's greying leaves dark drawings
// (the undo arrow, the selection frame) looking as if they were on.
QIcon ActionIcon(const char* name) {
    const QIcon drawing(QStringLiteral(":/quillon/icons/%1.svg").arg(QString::fromUtf8(name)));
    QIcon icon;
    for (int side : {16, 20, 24, 32, 40}) {
        const QPixmap normal = drawing.pixmap(QSize(side, side));
        icon.addPixmap(normal, QIcon::Normal);
        QImage faded = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < faded.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
            for (int x = 0; x < faded.width(); ++x) {
                const int grey = 150 + qGray(line[x]) * 100 / 255;
                line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 3 / 5);
            }
        }
        icon.addPixmap(QPixmap::fromImage(faded), QIcon::Disabled);
    }
    return icon;
}

// A disabled tool button shows neither its tool-tip nor its hint.
class TDisabledButtonHints final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->isEnabled())
            return false;
        const QEvent::Type type = event->type();
        return type == QEvent::Enter || type == QEvent::ToolTip || type == QEvent::StatusTip;
    }
};

// The pointer leaving the canvas: the main window's model forgets the cursor cell. Coming back,
// the canvas's cell is shown again once the canvas has taken the move (it reports only cells
// that change).
class TCanvasPointerWatch final : public QObject {
public:
    TCanvasPointerWatch(QObject* parent, std::function<void()> left, std::function<void()> entered)
        : QObject(parent), mLeft(std::move(left)), mEntered(std::move(entered)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Leave)
            mLeft();
        else if (event->type() == QEvent::Enter)
            QTimer::singleShot(0, this, mEntered);
        return false;
    }

private:
    std::function<void()> mLeft;
    std::function<void()> mEntered;
};

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}  // namespace

// --- creation and destruction ---

TFormKelMain::TFormKelMain(TFormKelMainOptions options, QWidget* parent)
    : QMainWindow(parent), mOptions(options), mUi(std::make_unique<Ui::FormKelMain>()) {
    InitResources();
    mUi->setupUi(this);
    const QString title = QApplication::applicationDisplayName();
    setWindowTitle(title.isEmpty() ? QString::fromUtf8(kApplicationTitle) : title);
    setWindowIcon(QIcon(QStringLiteral(":/quillon/icons/quillon.svg")));

    // Loaders recognise the editor from here on.
    SetEditorMode(true);
    if (mOptions.Audio) {
        mAudio = std::make_unique<audio::TQtAudioHost>();
        mAudio->Create();
    }
    mData = std::make_unique<TProjectData>();

    // A working folder left over by an editor that ended abnormally goes first; the unsaved
    // maps it holds are taken up first, to be offered back when their project opens.
    mTempFolder = WithoutTrailingSlash(MapWorkFolder());
    std::optional<TLeftWork> leftWork;
    if (mOptions.WorkingFolder) {
        leftWork = FindLeftWork(mTempFolder + "/");
        DeleteFolderTree(mTempFolder);
        CreateMapWorkFolder();
        mWorkLock = std::make_unique<TWorkLock>(mTempFolder + "/");
        mWorkLock->Write("");
    }

    mManager = std::make_unique<TProjectManager>();
    mModel = std::make_unique<TMainWindowModel>(*mManager, *mData);
    mModel->WorkLock = mWorkLock.get();
    mModel->LeftWork = std::move(leftWork);
    mModel->ShowText = [this](const TFilledText& text, int flags) {
        return ShowMessageBox(Utf8ToCp932(TFormMapTree::FilledText(text).toStdString()), flags, isVisible() ? this : nullptr);
    };
    mModel->LoadSettings();
    mModel->ShowNewDialog = [this] { Action_ProjectNewExecute(); };
    mModel->ShowOpenDialog = [this] { Action_ProjectOpenExecute(); };
    mModel->ShowHelp = [this] { Action_HelpContentsExecute(); };
    mModel->ShowAbout = [this] { Action_HelpAboutExecute(); };
    mModel->CloseWindow = [this] { close(); };
    mModel->OnStatusChanged = [this] { UpdateStatusBar(); };
    mModel->OnDataChanged = [this] { update(); };
    mModel->TestPlayRunner = [this](const TTestPlayRequest& request) { RunTestPlayNow(request); };
    mModel->OpenMusicSelector = [this] { ListenToMusic(this); };
    // The database window edits the live database; the model shows the map again afterwards.
    mModel->OpenDataBaseEditor = [this] {
        TDataBaseContext context;
        context.DataBase = &mData->DataBase();
        context.MapTree = &mData->MapTree();
        context.Map = &mData->Map();
        context.ProjectPath = ProjectPath();
        // The troop page's "Battle Test..." runs the game runtime from here, as the test play does.
        auto host = std::make_shared<TFunctionTestPlayHost>();
        host->OnFreeAudio = [this] {
            audio::PreviewMusicName() = "(OFF)";
            FreeAudio();
        };
        host->OnCreateAudio = [this] { CreateAudio(); };
        SetBattleTestRunner(EditorBattleTestRunner(host, [this]() -> std::unique_ptr<IRuntimeProcess> {
            if (MakeRuntimeProcess)
                return MakeRuntimeProcess();
            QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
            return std::make_unique<TQtRuntimeProcess>(owner);
        }));
        RunDataBaseEditor(this, context);
        SetBattleTestRunner({});
    };
    mModel->ShowPackDialog = [this] { ShowPackDialog(this); };
    mModel->OpenMaterialManager = [this] { RunMaterialManager(this); };
    mModel->DescribeEventCell = [this](int x, int y) { return DescribeEventCell(x, y); };

    CreateActions();
    CreateMenusAndToolBars();
    CreateStatusBar();
    splitDockWidget(mUi->DockChipPalette, mUi->DockMapTree, Qt::Vertical);
    CreatePanes();

    resize(kMainDefaultWidth, kMainDefaultHeight);
    RestorePlacement();

    // The enabling rules run whenever the application has nothing else to do.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TFormKelMain::UpdateActions);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive && mModel)
            mModel->HandleDeactivate();
    });
    // The open map's unsaved changes go to its working copy every minute, between strokes and
    // never while a dialog is open, so that a crash loses at most that much work.
    mWorkingCopyTimer = new QTimer(this);
    mWorkingCopyTimer->setObjectName(QStringLiteral("WorkingCopyTimer"));
    mWorkingCopyTimer->setInterval(kWorkingCopyMillis);
    connect(mWorkingCopyTimer, &QTimer::timeout, this, &TFormKelMain::WorkingCopyTimerTimer);
    mWorkingCopyTimer->start();

    UpdateActions();
    UpdateStatusBar();
}

void TFormKelMain::WorkingCopyTimerTimer() {
    if (QApplication::activeModalWidget())
        return;
    try {
        if (mModel->SaveWorkingCopy())
            UpdateActions();
    } catch (const std::exception&) {
        // A working copy that cannot be written now is tried again at the next tick or map switch.
    }
}

TFormKelMain::~TFormKelMain() {
    mAudio.reset();
    SavePlacement();
    mModel->SaveSettings();
    mModel->SetCanvas(nullptr);
    mModel->SetChipPalette(nullptr);
    mModel->SetMapTree(nullptr);
    mEventsHeard.clear();
    // The panes go before the models and graphics they show.
    delete mTreeWindow;
    delete mPalette;
    delete mCanvas;
    mTreeWindow = nullptr;
    mPalette = nullptr;
    mCanvas = nullptr;
    mModel.reset();
    mManager.reset();
    if (mOptions.WorkingFolder)
        DeleteFolderTree(mTempFolder);
}

void TFormKelMain::Start(const std::string& folder) {
    // Work an editor that was killed left is offered once the window shows, not under the splash.
    mModel->HoldLeftWork = true;
    try {
        if (folder.empty())
            mManager->ReopenLastProject();
        else if (!mModel->OpenProjectFolder(folder))
            ShowError("No project could be opened from \"" + folder + "\".");
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
    show();
    if (!isMaximized()) {
        if (QScreen* screen = this->screen())
            setGeometry(ToQRect(ClampToScreen(ToRect(geometry()), ToRect(screen->availableGeometry()))));
    }
    UpdateActions();
    UpdateStatusBar();
    mModel->HoldLeftWork = false;
    OfferLeftWorkWhenShown();
}

void TFormKelMain::OfferLeftWorkWhenShown() {
    // A window kept on top (the splash) would hide the question: it waits until that has gone.
    QTimer::singleShot(0, this, [this] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible() && (window->windowFlags() & Qt::WindowStaysOnTopHint)) {
                QTimer::singleShot(100, this, [this] { OfferLeftWorkWhenShown(); });
                return;
            }
        }
        mModel->OfferLeftWork();
        UpdateActions();
    });
}

void TFormKelMain::RestorePlacement() {
    const std::string hex = SettingsStores().Legacy.ReadString("", kPlacementValueName, "");
    if (const auto rect = PlacementFromHex(hex)) {
        setGeometry(ToQRect(*rect));
        mPlacementRestored = true;
    }
}

void TFormKelMain::SavePlacement() {
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (!normal.isValid())
        return;
    TProfileFile& legacy = SettingsStores().Legacy;
    legacy.WriteString("", kPlacementValueName, PlacementToHex(ToRect(normal), isMaximized()));
    legacy.Flush();
}

// --- actions, menus, tool bars, status bar ---

void TFormKelMain::CreateActions() {
    for (const TMainActionInfo& info : MainActions()) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromUtf8(info.Name));
        action->setText(tr(info.MenuCaption ? info.MenuCaption : info.Caption));
        const QString tip = tr(StripAccelerator(info.Caption).c_str());
        action->setStatusTip(tip);
        if (*info.ShortCut) {
            const QKeySequence keys(QString::fromUtf8(info.ShortCut));
            action->setShortcut(keys);
            action->setToolTip(tr("%1 (%2)").arg(tip, keys.toString(QKeySequence::NativeText)));
        } else {
            action->setToolTip(tip);
        }
        action->setCheckable(info.Group != TActionGroup::None);
        if (const char* icon = IconName(info.Action))
            action->setIcon(ActionIcon(icon));
        const TMainAction id = info.Action;
        connect(action, &QAction::triggered, this, [this, id] { ActionExecute(id); });
        addAction(action);
        mActions[static_cast<std::size_t>(id)] = action;
    }
}

void TFormKelMain::CreateMenusAndToolBars() {
    for (const TMenu& menu : MainMenus()) {
        auto* target = findChild<QMenu*>(QString::fromUtf8(menu.Name));
        if (!target)
            target = menuBar()->addMenu(tr(menu.Caption));
        for (const TMenuItem& item : menu.Items) {
            switch (item.Kind) {
            case TMenuItem::Action: target->addAction(Action(item.Item)); break;
            case TMenuItem::Separator: target->addSeparator(); break;
            case TMenuItem::SubMenu: {
                QMenu* sub = target->addMenu(tr(item.Caption));
                sub->setObjectName(QString::fromUtf8(menu.Name) + QLatin1Char('_') +
                                   QString::fromStdString(StripAccelerator(item.Caption)));
                for (TMainAction child : item.Children)
                    sub->addAction(Action(child));
                break;
            }
            }
        }
    }
    auto* quietWhenDisabled = new TDisabledButtonHints(this);
    for (TMainAction action : kToolBar) {
        if (action == kSeparator) {
            mUi->ToolBarMain->addSeparator();
            continue;
        }
        mUi->ToolBarMain->addAction(Action(action));
        if (QWidget* button = mUi->ToolBarMain->widgetForAction(Action(action)))
            button->installEventFilter(quietWhenDisabled);
    }
}

void TFormKelMain::CreateStatusBar() {
    for (int panel = 0; panel < 3; ++panel) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(panel));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (panel == 1) {
            // Wide enough for the longest mode text in the font in use.
            int width = kStatusPanelWidths[panel];
            for (int mode = kModeLower; mode <= kModeEvent; ++mode)
                width = std::max(width, label->fontMetrics().horizontalAdvance(tr(ModeText(mode))) + 12);
            label->setFixedWidth(width);
        } else if (panel == 0)
            label->setFixedWidth(kStatusPanelWidths[panel]);
        else
            label->setMinimumWidth(kStatusPanelWidths[panel]);
        statusBar()->addWidget(label, panel == 2 ? 1 : 0);
        mPanels[panel] = label;
    }
}

void TFormKelMain::ActionExecute(TMainAction action) {
    mModel->Execute(action);
    UpdateActions();
}

void TFormKelMain::UpdateActions() {
    if (!mModel)
        return;
    const TActionStates states = mModel->ActionStates();
    for (int i = 0; i < kMainActionCount; ++i) {
        QAction* action = mActions[i];
        if (action->isEnabled() != states[i].Enabled)
            action->setEnabled(states[i].Enabled);
        if (action->isCheckable() && action->isChecked() != states[i].Checked)
            action->setChecked(states[i].Checked);
    }
}

void TFormKelMain::UpdateStatusBar() {
    if (!mModel || !mPanels[0])
        return;
    for (int panel = 0; panel < 3; ++panel) {
        const QString text = Cp932ToQString(mModel->StatusText(panel));
        if (mPanels[panel]->text() != text)
            mPanels[panel]->setText(text);
    }
}

// --- events ---

bool TFormKelMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // Hints go to panel 0, never through showMessage, which would hide the other panels; a
        // window of another form holding the mouse keeps its hints to itself.
        QWidget* grabber = QWidget::mouseGrabber();
        if (!grabber || grabber->window() == this)
            mModel->SetHint(Utf8ToCp932(static_cast<QStatusTipEvent*>(event)->tip().toStdString()));
        return true;
    }
    return QMainWindow::event(event);
}

void TFormKelMain::closeEvent(QCloseEvent* event) {
    try {
        if (!mModel->ConfirmCloseProject()) {
            event->ignore();
            return;
        }
    } catch (const std::exception& e) {
        // Whatever went wrong, the project stays open rather than lose its changes.
        ShowError(e.what());
        event->ignore();
        return;
    }
    FreeAudio();
    event->accept();
}

// --- handlers ---

void TFormKelMain::Action_ProjectNewExecute() {
    TProjectNewModel model;
    model.BasePath = IncludeTrailingDelimiter(GetProjectBasePath());
    model.BasePathNote = ProjectBasePathNote(model.BasePath);
    model.StoreBasePath = [](const std::string& path) { SetProjectBasePath(path); };
    model.Show();
    TFormProjectNew dialog(model, this);
    dialog.ChooseBasePath = [this](std::string& path) { return RunBasePathDialog(path, this); };
    if (!dialog.Run())
        return;
    // The dialog made the folder and stored the base path.
    mManager->CreateProject(model.FolderName, model.GameTitle);
    if (!mManager->IsOpen())
        ShowError("A project could not be created in \"" + model.BasePath + model.FolderName + "\".");
    UpdateActions();
}

void TFormKelMain::Action_ProjectOpenExecute() {
    TProjectOpenModel model;
    model.BasePath = IncludeTrailingDelimiter(GetProjectBasePath());
    model.StoreBasePath = [](const std::string& path) { SetProjectBasePath(path); };
    TFormProjectOpen dialog(model, this);
    dialog.ChooseBasePath = [this](std::string& path) { return RunBasePathDialog(path, this); };
    if (!dialog.Run())
        return;
    if (!mModel->OpenProjectFolder(model.BasePath + dialog.FolderName()))
        ShowError("No project could be opened from \"" + model.BasePath + dialog.FolderName() + "\".");
    UpdateActions();
}

void TFormKelMain::Action_HelpContentsExecute() { ShowHelpContext("index"); }

void TFormKelMain::Action_HelpAboutExecute() {
    TFormAboutBox box(this);
    box.RunModal();
}

void TFormKelMain::RaiseFromOtherInstance() { RaiseEditorWindow(this); }

// --- audio ---

bool TFormKelMain::FreeAudio() { return mAudio ? mAudio->Free() : false; }

bool TFormKelMain::CreateAudio() {
    if (!mOptions.Audio)
        return false;
    if (!mAudio)
        mAudio = std::make_unique<audio::TQtAudioHost>();
    return mAudio->Create();
}

// --- docks ---

void TFormKelMain::SetCanvasWidget(QWidget* canvas) {
    if (!canvas)
        return;
    QLayout* layout = mUi->CanvasHost->layout();
    if (mUi->CanvasPlaceholder) {
        layout->removeWidget(mUi->CanvasPlaceholder);
        mUi->CanvasPlaceholder->deleteLater();
        mUi->CanvasPlaceholder = nullptr;
    }
    canvas->setParent(mUi->CanvasHost);
    layout->addWidget(canvas);
}

namespace {

void ReplaceDockContents(QDockWidget* dock, QWidget* contents) {
    if (!contents)
        return;
    QWidget* old = dock->widget();
    dock->setWidget(contents);
    if (old && old != contents)
        old->deleteLater();
}

}  // namespace

void TFormKelMain::SetChipPaletteWidget(QWidget* palette) { ReplaceDockContents(mUi->DockChipPalette, palette); }

void TFormKelMain::SetMapTreeWidget(QWidget* tree) { ReplaceDockContents(mUi->DockMapTree, tree); }

// --- the panes and their hosts ---

// The canvas as the main window's model drives it.
class TFormKelMain::TCanvasHost final : public IMapCanvasHost {
public:
    explicit TCanvasHost(TFormKelMain& form) : mForm(form) {}
    void SetMode(int mode) override { mForm.mCanvas->SetMode(mode); }
    void SetScale(int scale) override { mForm.mCanvas->SetCellSize(scale); }
    void SetTool(int tool) override { mForm.mCanvas->SetTool(tool); }
    void Undo() override { mForm.mCanvas->Undo(); }
    int UndoCount() const override { return mForm.mCanvas->UndoCount(); }
    void ClearUndo() override { mForm.mCanvas->ClearUndo(); }
    void ClearSelection() override { mForm.mCanvas->Model().ClearSelection(); }
    // Shows the open map again: its chipset and character sets, at its stored scroll position
    // unless the map tree asks to keep the present one.
    void Refresh() override {
        TFormMapEditor& canvas = *mForm.mCanvas;
        mForm.LoadMapChipSet();
        TKelMap& map = mForm.mData->Map();
        canvas.ViewModel().KeepScroll = mForm.mTreeModel->KeepScroll;
        canvas.LoadMap(mForm.ProjectShown() ? &map : nullptr);
        if (mForm.ProjectShown())
            canvas.Model().EventMap().LoadCharSets(map);
        canvas.Refresh();
    }
    bool DragInProgress() const override { return mForm.mCanvas->Model().Drag() != TCanvasDrag::None; }
    void CloseProject() override {
        mForm.mCanvas->LoadMap(nullptr);
        mForm.mChips->Clear();
        mForm.mCharSets->Clear();
        mForm.mCanvas->Refresh();
    }
    void ApplicationDeactivated() override { mForm.mCanvas->CancelDrag(); }
    void ClearCharacterCache(bool reloadEvents) override {
        mForm.mCharSets->Clear();
        if (reloadEvents && mForm.ProjectShown()) {
            mForm.mCanvas->Model().EventMap().LoadCharSets(mForm.mData->Map());
            mForm.mCanvas->Refresh();
        }
    }

private:
    TFormKelMain& mForm;
};

class TFormKelMain::TPaletteHost final : public IChipPaletteHost {
public:
    explicit TPaletteHost(TFormKelMain& form) : mForm(form) {}
    void Reload() override {
        if (mForm.ProjectShown())
            mForm.mPalette->SetMap(&mForm.mData->Map(), mForm.mChips.get());
        else
            mForm.mPalette->SetMap(nullptr, nullptr);
    }
    void SetMode(int mode) override { mForm.mPalette->SetMode(mode); }
    void ClearHighlight() override { mForm.mPalette->ClearHighlight(); }
    void CloseProject() override { mForm.mPalette->SetMap(nullptr, nullptr); }
    void ApplicationDeactivated() override { mForm.mPalette->CancelDrag(); }

private:
    TFormKelMain& mForm;
};

class TFormKelMain::TTreeHost final : public IMapTreeHost {
public:
    explicit TTreeHost(TFormKelMain& form) : mForm(form) {}
    bool IsChanged() const override { return mForm.mTreeModel->IsModified(); }
    void SaveAll() override { mForm.mTreeModel->SaveTree(); }
    void Reload() override {
        mForm.mTreeModel->LoadTree();
        mForm.mTreeWindow->RefreshView();
    }
    void Fill() override {
        // The project's data has just loaded the tree; the root shows the game title.
        if (TKelMapTreeItem* root = mForm.mData->MapTree().FindByID(0))
            root->Kind = TKelMapTreeItem::mkRoot;
        mForm.mTreeModel->FillView();
        mForm.mTreeWindow->RefreshView();
    }
    void Clear() override {
        mForm.mTreeModel->ClearTree();
        mForm.mTreeWindow->RefreshView();
    }
    bool SaveWorkingCopy() override {
        if (!mForm.mData->Map().Modified)
            return false;
        mForm.mTreeModel->SaveOpenMap();
        return true;
    }
    void SetCanvasSize(int width, int height) override {
        mForm.mTreeModel->ViewWidth = width;
        mForm.mTreeModel->ViewHeight = height;
    }

private:
    TFormKelMain& mForm;
};

namespace {

std::string FindProjectImage(const std::string& kind, const std::string& name) {
    return FindResourceFile(name, kind, ImageExtensions);
}

}  // namespace

void TFormKelMain::CreatePanes() {
    mChips = std::make_unique<TKelChipSetGraphic>(FindProjectImage);
    mCharSets = std::make_unique<TKelCharSetGraphic>(FindProjectImage);
    mData->Map().SetChipSetList(&mData->DataBase().ChipSet);
    mTreeModel = std::make_unique<TMapTreeModel>(mData->MapTree(), mData->Map());
    // The map tree window's map property, area and shift dialogs, with the database's lists and
    // the resource selectors.
    mTreeDialogs = std::make_unique<TMapTreeDialogs>(this);
    mTreeDialogs->ChipSets = &mData->DataBase().ChipSet;
    mTreeDialogs->Troops = &mData->DataBase().MonGroup;
    mTreeDialogs->Selectors.SelectPanorama = [this](std::string& name) {
        return SelectResource(this, TSelKind::Panorama, name);
    };
    mTreeDialogs->Selectors.SelectMusic = [this](TKelMusic& music) { return SelectMusic(this, music); };
    mTreeDialogs->Selectors.SelectBackdrop = [this](std::string& name) {
        return SelectResource(this, TSelKind::Backdrop, name);
    };
    mTreeModel->Dialogs = mTreeDialogs.get();

    mCanvas = new TFormMapEditor;
    mCanvas->setObjectName(QStringLiteral("FormMapEditor"));
    mCanvas->SetSources(&mData->MapTree(), mChips.get(), mCharSets.get(), FindProjectImage);
    // The canvas's event commands go to the event manager; every map the canvas loads is handed
    // to it; "New Event..." and "Edit event..." open the event editor on a copy of the event.
    mEventDialogs = std::make_unique<TEventManagerDialogsQt>(this);
    mEventDialogs->SaveDataBaseFile = [this] { SaveDataBaseAsking(mData->DataBase(), ProjectPath()); };
    mEventDialogs->MakeChoosers = [this]() -> std::unique_ptr<IEventChoosers> {
        // The event graphic's tiles come from the open map's chipset; "Set Place" shows the open
        // map with its unsaved changes.
        const TKelMap* map = mCanvas->Model().Map();
        const TKelChipSetItem* chipSet = map ? mData->DataBase().ChipSet.FindByID(map->ChipSetId) : nullptr;
        auto choosers = std::make_unique<TEventChoosersQt>(this, mData->DataBase(), &mData->MapTree(),
                                                           chipSet ? chipSet->FileName : std::string(), map);
        choosers->RouteEditor = [this](TMoveRouteRequest& request, const TEventCommandContext& context) {
            return RunMoveRouteEditor(this, request, context);
        };
        return choosers;
    };
    mEventDialogs->OpenEditor = [this](TKelEventItem& copy, std::int32_t id, bool applyEnabled,
                                       const TEventManagerDialogsQt::TCommit& commit) {
        const std::unique_ptr<IEventChoosers> choosers = mEventDialogs->MakeChoosers();
        TEventEditorContext context;
        context.MapTree = &mData->MapTree();
        context.Map = mCanvas->Model().Map();
        context.DataBase = &mData->DataBase();
        context.Choosers = choosers.get();
        context.SaveDataBase = [this](std::string& error) {
            try {
                if (SaveDataBaseAsking(mData->DataBase(), ProjectPath()))
                    return true;
                error = DescribeDataBaseDamage(TKelDataBase::kFileName, mData->DataBase().LoadReport()).Text() +
                        "; it was not replaced";
                return false;
            } catch (const std::exception& e) {
                error = e.what();
                return false;
            }
        };
        RunEventEditor(this, context, copy, id, applyEnabled, commit);
    };
    mEventManager = std::make_unique<TKelEventManager>(*mEventDialogs);
    mEventManager->SetDataBase(&mData->DataBase());
    mCanvas->Model().SetEventManager(mEventManager.get());
    // A change while a dialog is still open (the editor's Apply) shows at once: the character
    // sets of new pages are loaded and the event layer drawn again.
    mEventsHeard.push_back(mEventManager->OnChange.Connect([this] {
        TKelMapEditorModel& canvas = mCanvas->Model();
        if (TKelMap* map = canvas.Map())
            canvas.EventMap().LoadCharSets(*map);
        canvas.RebuildEventMap();
        mCanvas->Refresh();
        UpdateActions();
    }));
    mEventsHeard.push_back(mEventManager->OnError.Connect([](const std::string& text) { ShowError(text); }));
    mCanvas->LoadMap(nullptr);
    SetCanvasWidget(mCanvas);

    mPalette = new TFormChipSelector;
    mPalette->setObjectName(QStringLiteral("FormChipSelector"));
    SetChipPaletteWidget(mPalette);

    // The tools' letters belong to the map and the palette: elsewhere a letter stays the
    // widget's own (the map tree finds a map by its first letters).
    for (const TMainActionInfo& info : MainActions()) {
        if (info.Group != TActionGroup::Tool)
            continue;
        QAction* tool = mActions[static_cast<std::size_t>(info.Action)];
        removeAction(tool);
        tool->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        mCanvas->addAction(tool);
        mPalette->addAction(tool);
    }

    mTreeWindow = new TFormMapTree(*mTreeModel);
    mTreeWindow->setObjectName(QStringLiteral("FormMapTree"));
    SetMapTreeWidget(mTreeWindow);
    // The left panel as wide as the palette.
    resizeDocks({mUi->DockChipPalette}, {mPalette->sizeHint().width()}, Qt::Horizontal);

    mCanvasHost = std::make_unique<TCanvasHost>(*this);
    mPaletteHost = std::make_unique<TPaletteHost>(*this);
    mTreeHost = std::make_unique<TTreeHost>(*this);
    mModel->SetCanvas(mCanvasHost.get());
    mModel->SetChipPalette(mPaletteHost.get());
    mModel->SetMapTree(mTreeHost.get());

    // The map tree window: a selection loads its map, which the canvas and the palette show.
    mTreeWindow->OnMapSelected = [this] {
        mModel->HandleMapSelected(mData->MapTree().CurrentMapId);
        UpdateActions();
    };
    // The palette's range becomes the pen; a chip picked from the map is highlighted in it.
    LinkChipPalette(*mCanvas, *mPalette);
    // The canvas's notifications.
    connect(mCanvas, &TFormMapViewer::ClientResized, this,
            [this](int width, int height) { mModel->HandleEditorResize(width, height); });
    connect(mCanvas, &TFormMapEditor::CursorMoved, this, [this](int x, int y) {
        const TKelMap& map = mData->Map();
        const bool inside = x >= 0 && y >= 0 && x < map.Width() && y < map.Height();
        mModel->HandleCursorMoved(x, y, inside);
        statusBar()->repaint();
    });
    mCanvas->viewport()->installEventFilter(new TCanvasPointerWatch(
        this, [this] { mModel->HandlePointerLeftCanvas(); },
        [this] {
            const TPoint cell = mCanvas->Model().CursorCell();
            const TKelMap& map = mData->Map();
            if (mCanvas->viewport()->underMouse())
                mModel->HandleCursorMoved(cell.X, cell.Y,
                                          cell.X >= 0 && cell.Y >= 0 && cell.X < map.Width() && cell.Y < map.Height());
        }));
    connect(mCanvas, &TFormMapEditor::LayerModeToggled, this, [this](int mode) {
        mModel->HandleLayerModeSync(mode);
        UpdateActions();
    });
    connect(mCanvas, &TFormMapViewer::ZoomChanged, this, [this](int scale) {
        mModel->HandleScaleChanged(scale);
        UpdateActions();
    });
    connect(mCanvas, &TFormMapEditor::MapChanged, this, &TFormKelMain::UpdateActions);
    connect(mCanvas, &TFormMapEditor::TestPlayFromHere, this, [this](int x, int y) { mModel->TestPlayFrom(x, y); });
    mModel->HandleEditorResize(mCanvas->viewport()->width(), mCanvas->viewport()->height());
}

bool TFormKelMain::ProjectShown() const { return mData->MapTree().Count() > 0; }

void TFormKelMain::LoadMapChipSet() {
    if (!ProjectShown()) {
        mChips->Clear();
        return;
    }
    TKelMap& map = mData->Map();
    map.ValidateChipSetId();
    mChips->SetChipSet(mData->DataBase().ChipSet.FindByID(map.ChipSetId));
}

std::string TFormKelMain::DescribeEventCell(int x, int y) const {
    // The event the map shows: a later one covers an earlier one on its cell.
    const TKelEvent& events = mData->Map().Events;
    for (int i = events.Count() - 1; i >= 0; --i) {
        const TKelEventItem* event = events.Items(i);
        if (event && event->X == x && event->Y == y)
            return FormatIdName(event->ID, event->Name);
    }
    return {};
}

void TFormKelMain::RunTestPlayNow(const TTestPlayRequest& request) {
    TFunctionTestPlayHost host;
    host.OnMapsChanged = [this] { return mModel->MapsChanged(); };
    host.OnSaveMaps = [this] { mModel->SaveMaps(); };
    host.OnUpdateActions = [this] { UpdateActions(); };
    host.OnFreeAudio = [this] {
        // The runtime takes the audio devices: the previewed music is off and the front freed.
        audio::PreviewMusicName() = "(OFF)";
        FreeAudio();
    };
    host.OnCreateAudio = [this] { CreateAudio(); };
    std::unique_ptr<IRuntimeProcess> process =
        MakeRuntimeProcess ? MakeRuntimeProcess() : std::make_unique<TQtRuntimeProcess>(this);
    RunTestPlay(request.ProjectPath, request.ShowTitle, request.FullScreen, host, *process, request.Start);
    UpdateActions();
}

}  // namespace quillon
