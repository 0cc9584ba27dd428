// The main window headless: menus, actions and their states, short-cuts, status panels, the save
// query on close, placement, the error handler, one editor per user and dialog centring.
#include "app/EditorApp_qt.h"
#include "app/MainUnit.h"
#include "app/MainUnit_qt.h"
#include "app/Splash_qt.h"
#include "app/TestPlay.h"
#include "audio/PreviewMusic.h"
#include "events/EventManager_qt.h"
#include "mapedit/ChipSelector_qt.h"
#include "project/ProjNew_qt.h"
#include "project/ProjPack_qt.h"
#include "mapedit/MapDialogs_qt.h"
#include "mapedit/MapEditor_qt.h"
#include "mapedit/MapTreeView_qt.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjectData.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QSysInfo>
#include <QStatusTipEvent>
#include <QTest>
#include <QScrollBar>
#include <QToolBar>
#include <QLineEdit>
#include <QTimer>
#include <QStatusBar>

#include <unistd.h>
#include <QToolTip>
#include <QTreeWidget>

#include <cstdlib>
#include <deque>
#include <filesystem>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

TEditorApplication& App() { return widgetkit::App<TEditorApplication>(); }

class TScriptedBox final : public IMessageBox {
public:
    int Show(const std::string& text, int flags, const void*) override {
        Texts.push_back(text);
        Flags.push_back(flags);
        if (Answers.empty())
            return mrCancel;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::deque<int> Answers;
    std::vector<std::string> Texts;
    std::vector<int> Flags;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        std::string pattern = (fs::temp_directory_path() / "quillon-window-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        for (const char* folder : {"config", "editor/RTP", "base", "tmp"})
            fs::create_directories(Root + folder);
        mOldDir = GetCurrentDir();
        if (const char* tmp = std::getenv("TMPDIR"))
            mOldTmp = tmp;
        ::setenv("TMPDIR", (Root + "tmp").c_str(), 1);
        ::setenv("QUILLON_CONFIG_DIR", (Root + "config").c_str(), 1);
        ReopenSettingsStores();
        SetAppPath(Root + "editor");
        SetProjectBasePath(Root + "base");
        SetOpenedProjectFolder("");
        SetProjectPath("");
        TKelDataBase starter;
        starter.SaveToFile(Root + "editor/GMK_RT.kdb.dat");
        WriteFileAtomic(Root + "editor/GMK_RT.exe.dat", "#!/bin/sh\nexit 0\n");
        mPrevious = SetMessageBox(&Box);
    }
    void TearDown() override {
        SetMessageBox(mPrevious);
        SetCurrentDir(mOldDir);
        SetProjectPath("");
        SetAppPath("");
        if (mOldTmp.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", mOldTmp.c_str(), 1);
        fs::remove_all(Root);
    }

    std::unique_ptr<TFormKelMain> MakeWindow() {
        TFormKelMainOptions options;
        options.Audio = false;
        auto window = std::make_unique<TFormKelMain>(options);
        return window;
    }
    // A window on a fresh project, shown and active so that short-cuts reach it.
    std::unique_ptr<TFormKelMain> WindowOnProject() {
        auto window = MakeWindow();
        window->Model().NewProjectAt(Root + "base/Quest", "The Quest");
        window->Start();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
    // The synthetic pointer starts on this window's status bar with no button held, whatever
    // the tests before left behind (a double click can leave its button down): entering and
    // leaving are then this window's own.
    static void PointerInto(TFormKelMain& w) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (QGuiApplication::mouseButtons() & button)
                QTest::mouseRelease(w.statusBar(), button, {}, QPoint(5, 5));
        QTest::mouseMove(w.statusBar(), QPoint(5, 5));
        QApplication::processEvents();
    }
    static bool Enabled(TFormKelMain& w, TMainAction a) { return w.Action(a)->isEnabled(); }
    static bool Checked(TFormKelMain& w, TMainAction a) { return w.Action(a)->isChecked(); }

    std::string Root;
    TScriptedBox Box;

private:
    std::string mOldDir;
    std::string mOldTmp;
    IMessageBox* mPrevious = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, MenusActionsAndPanels) {
    auto window = MakeWindow();
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), "&Project");
    EXPECT_EQ(menus[3]->text(), "&Game");
    QStringList game;
    for (QAction* item : menus[3]->menu()->actions())
        game << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(game, (QStringList{"Test Play", "-", "Full Screen", "Show Game &Title"}));
    QStringList map;
    for (QAction* item : menus[1]->menu()->actions())
        map << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(map, (QStringList{"&Save map...", "&Revert map...", "-", "&Edit", "&Scale", "-", "&Tools"}));

    QAction* save = window->Action(TMainAction::MapSave);
    EXPECT_EQ(save->objectName(), "Action_MapSave");
    EXPECT_EQ(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(save->toolTip(), "Save map... (Ctrl+S)");
    EXPECT_EQ(save->statusTip(), "Save map...");
    EXPECT_EQ(window->Action(TMainAction::GameTestPlay)->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(window->Action(TMainAction::GameFullScreen)->toolTip(), "Full screen");
    EXPECT_FALSE(window->Action(TMainAction::MapToolPen)->icon().isNull());
    EXPECT_FALSE(window->findChildren<QToolBar*>().isEmpty());

    EXPECT_EQ(window->StatusPanel(0)->width(), 320);
    EXPECT_GE(window->StatusPanel(1)->width(), 144);
    EXPECT_GE(window->minimumWidth(), 720);
    EXPECT_GE(window->minimumHeight(), 573);
}

TEST_F(MainWindowTest, ActionStatesFollowTheProjectAndTheKeys) {
    auto closed = MakeWindow();
    EXPECT_TRUE(Enabled(*closed, TMainAction::ProjectOpen));
    EXPECT_FALSE(Enabled(*closed, TMainAction::ProjectClose));
    EXPECT_FALSE(Enabled(*closed, TMainAction::MapSave));
    EXPECT_FALSE(Enabled(*closed, TMainAction::MapModeLayer1));
    EXPECT_TRUE(Enabled(*closed, TMainAction::HelpAbout));
    closed.reset();

    auto window = WindowOnProject();
    ASSERT_TRUE(window->Manager().IsOpen());
    EXPECT_FALSE(Enabled(*window, TMainAction::ProjectOpen));
    EXPECT_TRUE(Enabled(*window, TMainAction::ProjectClose));
    EXPECT_FALSE(Enabled(*window, TMainAction::MapSave));
    EXPECT_TRUE(Checked(*window, TMainAction::MapToolPen));
    EXPECT_EQ(window->StatusPanel(1)->text(), "Lower Layer editing mode");
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001");
    // Test play, the music selector and the database editor are wired.
    EXPECT_TRUE(Enabled(*window, TMainAction::GameTestPlay));
    EXPECT_TRUE(Enabled(*window, TMainAction::ToolSelectMusic));
    EXPECT_TRUE(Enabled(*window, TMainAction::ToolDataBase));

    // F7: event mode, no canvas tools; F6: upper layer.
    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_TRUE(Checked(*window, TMainAction::MapModeEvent));
    EXPECT_FALSE(Checked(*window, TMainAction::MapModeLayer1));
    EXPECT_FALSE(Enabled(*window, TMainAction::MapToolPen));
    EXPECT_EQ(window->StatusPanel(1)->text(), "Event editing mode");
    QTest::keyClick(window.get(), Qt::Key_F6);
    EXPECT_TRUE(Checked(*window, TMainAction::MapModeLayer2));
    EXPECT_TRUE(Enabled(*window, TMainAction::MapToolPen));

    // A change enables saving once the application is idle; Ctrl+S writes the map.
    window->Data().Map().LowerLayer.SetCell(1, 1, 5010);
    window->Data().Map().Modified = true;
    QApplication::processEvents();
    window->UpdateActions();
    EXPECT_TRUE(Enabled(*window, TMainAction::MapSave));
    EXPECT_TRUE(Enabled(*window, TMainAction::MapRevert));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Enabled(*window, TMainAction::MapSave));
    TKelMap saved;
    saved.LoadFromFile(Root + "base/Quest/Map0001.kmu");
    EXPECT_EQ(saved.LowerLayer.Cell(1, 1), 5010);

    // Zoom from the menu action and the option toggles keep their check marks.
    window->Action(TMainAction::MapScale4)->trigger();
    EXPECT_TRUE(Checked(*window, TMainAction::MapScale4));
    EXPECT_FALSE(Checked(*window, TMainAction::MapScale1));
    const bool fullScreen = Checked(*window, TMainAction::GameFullScreen);
    window->Action(TMainAction::GameFullScreen)->trigger();
    EXPECT_NE(Checked(*window, TMainAction::GameFullScreen), fullScreen);
    EXPECT_NE(window->Model().TestFullScreen(), fullScreen);

    // Closing records mode and zoom, and the next start restores them.
    EXPECT_TRUE(window->close());
    window.reset();
    TProfileFile ini(Root + "base/Quest/GMK_RT.ini");
    EXPECT_EQ(ini.ReadInteger("GMK_RT", "MapEditMode", -1), 1);
    EXPECT_EQ(ini.ReadInteger("GMK_RT", "MapEditZoom", -1), 3);
    EXPECT_NE(GetFullScreenFlag(), fullScreen);
    SetCurrentDir(Root);
    SetProjectPath("");
    auto again = MakeWindow();
    again->Start();
    EXPECT_TRUE(again->Manager().IsOpen());
    EXPECT_TRUE(Checked(*again, TMainAction::MapModeLayer2));
    EXPECT_TRUE(Checked(*again, TMainAction::MapScale4));
}

TEST_F(MainWindowTest, HintsGoToPanelZeroAndTheCursorToPanelTwo) {
    auto window = WindowOnProject();
    QStatusTipEvent tip(QStringLiteral("Fill Region"));
    QApplication::sendEvent(window.get(), &tip);
    EXPECT_EQ(window->StatusPanel(0)->text(), "Fill Region");
    EXPECT_EQ(window->StatusPanel(1)->text(), "Lower Layer editing mode");  // not hidden by the hint
    window->Model().HandleCursorMoved(12, 3, true);
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001 (012,003)");
    // A Japanese map name shows decoded.
    window->Data().MapTree().FindByID(1)->Name = "\x83\x7d\x83\x62\x83\x76";  // "マップ" in code page 932
    window->Model().HandleMapSelected(1);
    EXPECT_EQ(window->StatusPanel(2)->text(), QString::fromUtf8("マップ (012,003)"));

    const QImage shot = window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GE(shot.width(), 720);
    // The tool bar paints its icons: the pen's yellow is somewhere in the top rows.
    bool yellow = false;
    for (int y = 0; y < std::min(shot.height(), 80) && !yellow; ++y)
        for (int x = 0; x < shot.width() && !yellow; ++x) {
            const QColor c = shot.pixelColor(x, y);
            yellow = c.red() > 230 && c.green() > 180 && c.blue() < 140;
        }
    EXPECT_TRUE(yellow);
    shot.save(QStringLiteral(QUILLON_BINARY_DIR "/main-window.png"));
}

TEST_F(MainWindowTest, FailedSaveOnCloseKeepsWindowAndProject) {
    auto window = WindowOnProject();
    window->Data().Map().Modified = true;
    const std::string tree = Root + "base/Quest/GMK_RT.kmt";
    fs::remove(tree);
    fs::create_directories(tree + "/blocker");
    Box.Answers = {mrYes};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Manager().IsOpen());
    ASSERT_EQ(Box.Texts.size(), 2u);
    EXPECT_EQ(Box.Texts[0], "Maps were changed. Save them?");
    // Cancel keeps it too; No closes without saving.
    Box.Answers = {mrCancel};
    EXPECT_FALSE(window->close());
    Box.Answers = {mrNo};
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, PlacementIsKeptAndAWrongValueIgnored) {
    {
        auto window = MakeWindow();
        window->Start();
        window->setGeometry(10, 12, 740, 580);
    }
    const std::string stored = SettingsStores().Legacy.ReadString("", kPlacementValueName, "");
    EXPECT_EQ(PlacementFromHex(stored), MakeBounds(10, 12, 740, 580));
    {
        auto window = MakeWindow();
        window->Start();
        EXPECT_EQ(window->geometry(), QRect(10, 12, 740, 580));
    }
    SettingsStores().Legacy.WriteString("", kPlacementValueName, "2C0000");
    auto window = MakeWindow();
    window->Start();
    EXPECT_EQ(window->width(), kMainDefaultWidth);
}

TEST_F(MainWindowTest, WorkingFolderIsWipedAtStartAndRemovedAtEnd) {
    const std::string work = MapWorkFolder();
    fs::create_directories(work);
    WriteFileAtomic(work + "Map0042.kmu", "left over");
    {
        TFormKelMainOptions options;
        options.Audio = false;
        TFormKelMain window(options);
        EXPECT_TRUE(FolderExists(work));
        EXPECT_FALSE(FileExists(work + "Map0042.kmu"));
    }
    EXPECT_FALSE(FolderExists(work));
}

// The timed save keeps the open map's changes in the working folder; after the editor was
// killed, the next start offers them back and shows the map as it was.
TEST_F(MainWindowTest, WorkOfAKilledEditorComesBackAtTheNextStart) {
    const std::string work = MapWorkFolder();
    std::string copy;
    std::string lock;
    {
        auto window = WindowOnProject();
        auto* timer = window->findChild<QTimer*>(QStringLiteral("WorkingCopyTimer"));
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 60000);
        window->Data().Map().LowerLayer.SetCell(4, 4, 5044);
        window->Data().Map().Modified = true;
        window->WorkingCopyTimerTimer();
        ASSERT_TRUE(FileExists(work + "Map0001.kmu"));
        copy = ReadWholeFile(work + "Map0001.kmu");
        lock = ReadWholeFile(work + "Editor.lock");
        EXPECT_EQ(lock, std::to_string(::getpid()) + "\n" + Root + "base/Quest/\n");
    }
    // What a kill leaves: the copy and a lock file whose process is gone.
    fs::create_directories(work);
    WriteFileAtomic(work + "Map0001.kmu", copy);
    WriteFileAtomic(work + "Editor.lock", "999999999\n" + Root + "base/Quest/\n");
    auto window = MakeWindow();
    Box.Answers = {mrYes};
    window->Start();
    EXPECT_TRUE(Box.Texts.empty()) << "asked once the window shows";
    QTest::qWait(50);
    ASSERT_EQ(Box.Texts.size(), 1u);
    EXPECT_EQ(Box.Texts[0], "Quillon did not close normally. Recover the unsaved changes of 1 maps?");
    EXPECT_EQ(window->Data().Map().LowerLayer.Cell(4, 4), 5044);
    EXPECT_TRUE(Enabled(*window, TMainAction::MapSave));
    Box.Answers = {mrNo};
    EXPECT_TRUE(window->close());
}

// A damaged map file opens as far as it could be read, and the user is told which file it was.
TEST_F(MainWindowTest, ADamagedMapIsToldWhenItsProjectOpens) {
    WindowOnProject().reset();
    const std::string file = Root + "base/Quest/Map0001.kmu";
    const std::string whole = ReadWholeFile(file);
    WriteFileAtomic(file, whole.substr(0, whole.size() - 100));
    auto window = MakeWindow();
    window->Start();
    ASSERT_EQ(Box.Texts.size(), 1u);
    EXPECT_EQ(Box.Texts[0], "Map0001.kmu is damaged: its upper layer and its events could not be read");
    EXPECT_EQ(window->Data().Map().Width(), 100);
    EXPECT_TRUE(window->close());
}

namespace {

class TThrowing : public QObject {
public:
    bool OutOfMemory = false;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            if (OutOfMemory)
                throw std::bad_alloc();
            throw std::runtime_error("Map0003.kmu: cannot be read");
        }
        return QObject::event(e);
    }
};

}  // namespace

TEST_F(MainWindowTest, ErrorsInHandlersAreShownAndTheProgramGoesOn) {
    std::vector<int> exits;
    TEditorApplication::SetTerminate([&](int code) { exits.push_back(code); });
    TThrowing target;
    QEvent event(QEvent::User);
    EXPECT_NO_THROW(QApplication::sendEvent(&target, &event));
    ASSERT_EQ(Box.Texts.size(), 1u);
    EXPECT_EQ(Box.Texts[0], "Map0003.kmu: cannot be read");
    EXPECT_EQ(Box.Flags[0] & 0xF0, mbIconError);
    EXPECT_TRUE(exits.empty());

    target.OutOfMemory = true;
    EXPECT_NO_THROW(QApplication::sendEvent(&target, &event));
    ASSERT_EQ(Box.Texts.size(), 2u);
    EXPECT_EQ(Box.Texts[1], "It is short of memory");
    EXPECT_EQ(exits, std::vector<int>{1});
    TEditorApplication::SetTerminate(nullptr);
}

TEST_F(MainWindowTest, SecondInstanceAsksTheFirstToRaise) {
    const QString lock = QString::fromStdString(Root + "tmp/editor.lock");
    TSingleInstance first(lock);
    ASSERT_TRUE(first.Acquire());
    QSignalSpy raised(&first, &TSingleInstance::RaiseRequested);
    TSingleInstance second(lock);
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(raised.wait(3000));
    EXPECT_EQ(raised.count(), 1);
}

TEST_F(MainWindowTest, LockOfAnEditorThatDiedIsTakenOver) {
    // The lock file of a process that no longer runs, on this machine.
    const QString lock = QString::fromStdString(Root + "tmp/editor.lock");
    WriteFileAtomic(lock.toStdString(), "2147483646\ntest_app_qt\n" + QSysInfo::machineHostName().toStdString() + "\n");
    TSingleInstance instance(lock);
    EXPECT_TRUE(instance.Acquire());

    // A lock held by a process that runs (this one, under another lock object) is respected.
    const QString live = QString::fromStdString(Root + "tmp/live.lock");
    WriteFileAtomic(live.toStdString(), std::to_string(QCoreApplication::applicationPid()) + "\n" +
                                            QCoreApplication::applicationName().toStdString() + "\n" +
                                            QSysInfo::machineHostName().toStdString() + "\n");
    TSingleInstance second(live);
    EXPECT_FALSE(second.Acquire());
}

TEST_F(MainWindowTest, DialogsOpenCentredOnTheirOwner) {
    TDialogCentering centring;
    App().installEventFilter(&centring);
    auto window = MakeWindow();
    window->Start();
    window->setGeometry(100, 80, 760, 580);
    QDialog dialog(window.get());
    dialog.resize(200, 100);
    dialog.show();
    const QPoint expected = window->frameGeometry().center() - QPoint(dialog.frameGeometry().width() / 2,
                                                                       dialog.frameGeometry().height() / 2);
    EXPECT_LE((dialog.frameGeometry().topLeft() - expected).manhattanLength(), 2);
    dialog.close();
    App().removeEventFilter(&centring);
}

TEST_F(MainWindowTest, HelpKeyOfDialogsClicksTheirHelpButton) {
    TFormKelBase dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* help = new QPushButton(QStringLiteral("&Help"), &dialog);
    help->setObjectName(QStringLiteral("ButtonHelp"));
    layout->addWidget(help);
    int clicks = 0;
    QObject::connect(help, &QPushButton::clicked, [&] { ++clicks; });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(clicks, 1);
    help->setEnabled(false);
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(clicks, 1);
    // The splash picture the about box shows is linked in.
    EXPECT_FALSE(SplashPicture().isNull());
    // The font the forms name resolves to fonts that exist, a Japanese one among them.
    InstallFontSubstitutes();
    EXPECT_TRUE(QFont::substitutes(QStringLiteral("MS UI Gothic")).contains(QStringLiteral("IPAGothic"), Qt::CaseInsensitive));
    EXPECT_TRUE(QApplication::font().families().contains(QStringLiteral("IPAGothic"), Qt::CaseInsensitive));
}

// --- the panes the main window docks and the callbacks between them ---

namespace {

// Records the runtime's command instead of starting it.
class TRecordingProcess final : public IRuntimeProcess {
public:
    explicit TRecordingProcess(std::vector<TRuntimeCommand>& log) : mLog(log) {}
    bool Start(const TRuntimeCommand& command) override {
        mLog.push_back(command);
        return true;
    }
    void WaitForEnd(const std::string&) override {}

private:
    std::vector<TRuntimeCommand>& mLog;
};

}  // namespace

TEST_F(MainWindowTest, PanesAreDockedAndTheTreeSelectionLoadsTheCanvas) {
    auto window = WindowOnProject();
    TFormMapEditor* canvas = window->Canvas();
    TFormChipSelector* palette = window->ChipPalette();
    TFormMapTree* tree = window->MapTreeWindow();
    ASSERT_TRUE(canvas && palette && tree);
    EXPECT_TRUE(canvas->isVisible());
    EXPECT_TRUE(palette->isVisible());
    EXPECT_TRUE(tree->isVisible());
    // The palette sits above the tree on the left; the canvas takes the rest.
    const QPoint paletteAt = palette->mapTo(window.get(), QPoint(0, 0));
    const QPoint treeAt = tree->mapTo(window.get(), QPoint(0, 0));
    const QPoint canvasAt = canvas->mapTo(window.get(), QPoint(0, 0));
    EXPECT_LT(paletteAt.y(), treeAt.y());
    EXPECT_GT(canvasAt.x(), paletteAt.x() + palette->width() - 1);
    EXPECT_GT(canvas->width(), window->width() / 2);

    // The project's map is in the canvas: 100 x 100 cells scroll.
    ASSERT_EQ(canvas->ViewModel().Map(), &window->Data().Map());
    EXPECT_EQ(window->Data().Map().Width(), 100);
    EXPECT_GT(canvas->horizontalScrollBar()->maximum(), 0);

    // Selecting the project's root in the tree empties the canvas; the map again shows it.
    QTreeWidgetItem* root = tree->Tree()->ItemOf(0);
    QTreeWidgetItem* map = tree->Tree()->ItemOf(1);
    ASSERT_TRUE(root && map);
    tree->Tree()->setCurrentItem(root);
    QApplication::processEvents();
    EXPECT_EQ(window->Data().MapTree().CurrentMapId, 0);
    EXPECT_EQ(window->Data().Map().Width(), 0);
    EXPECT_EQ(canvas->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(window->StatusPanel(2)->text(), "");
    tree->Tree()->setCurrentItem(map);
    QApplication::processEvents();
    EXPECT_EQ(window->Data().MapTree().CurrentMapId, 1);
    EXPECT_EQ(window->Data().Map().Width(), 100);
    EXPECT_GT(canvas->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001");

    // Closing the project empties all three.
    window->Action(TMainAction::ProjectClose)->trigger();
    EXPECT_FALSE(window->Manager().IsOpen());
    EXPECT_EQ(canvas->ViewModel().Map(), nullptr);
    EXPECT_EQ(tree->Tree()->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, PalettePickDrawsWithThePenAndTheCursorCellShows) {
    auto window = WindowOnProject();
    TFormMapEditor* canvas = window->Canvas();
    TFormChipSelector* palette = window->ChipPalette();
    ASSERT_TRUE(canvas && palette);
    ASSERT_EQ(canvas->ViewModel().OffsetX(), 0);
    ASSERT_EQ(canvas->ViewModel().OffsetY(), 0);

    // A click on palette cell (1, 20) (a lower tile) becomes the pen's pattern.
    palette->verticalScrollBar()->setValue(18 * kPaletteCellSize);
    QApplication::processEvents();
    const std::int32_t tile = palette->PaletteTile(1, 20);
    const QPoint inPalette(kPaletteCellSize + 5, (20 - 18) * kPaletteCellSize + 5);
    QTest::mouseClick(palette->viewport(), Qt::LeftButton, {}, inPalette);
    QApplication::processEvents();
    const TKelCurrentChip& pattern = canvas->Model().Pattern();
    ASSERT_EQ(pattern.Width, 1);
    ASSERT_EQ(pattern.Height, 1);
    EXPECT_EQ(pattern.GetTile(0, 0), tile);
    ASSERT_NE(window->Data().Map().LowerLayer.Cell(3, 4), tile);

    // Moving over the canvas shows the cell in status panel 2; a pen click draws there.
    const QPoint cell(3 * 32 + 10, 4 * 32 + 10);
    QTest::mouseMove(canvas->viewport(), cell);
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001 (003,004)");
    QTest::mouseClick(canvas->viewport(), Qt::LeftButton, {}, cell);
    QApplication::processEvents();
    EXPECT_EQ(window->Data().Map().LowerLayer.Cell(3, 4), tile);
    window->UpdateActions();
    EXPECT_TRUE(Enabled(*window, TMainAction::MapSave));
    EXPECT_TRUE(Enabled(*window, TMainAction::MapToolUndo));

    // Ctrl+R asks, then takes the file back; the drawn cell is gone.
    Box.Answers = {mrYes};
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_NE(window->Data().Map().LowerLayer.Cell(3, 4), tile);
    EXPECT_FALSE(Enabled(*window, TMainAction::MapSave));

    // Drawn again and saved with Ctrl+S, the file holds it.
    QTest::mouseClick(canvas->viewport(), Qt::LeftButton, {}, cell);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    TKelMap saved;
    saved.LoadFromFile(Root + "base/Quest/Map0001.kmu");
    EXPECT_EQ(saved.LowerLayer.Cell(3, 4), tile);
    EXPECT_FALSE(Enabled(*window, TMainAction::MapSave));
}

TEST_F(MainWindowTest, CanvasNotificationsReachTheActions) {
    auto window = WindowOnProject();
    TFormMapEditor* canvas = window->Canvas();
    ASSERT_TRUE(canvas);
    // A right double click switches to the upper layer: mode action, palette grid and panel 1.
    QTest::mouseDClick(canvas->viewport(), Qt::RightButton, {}, QPoint(40, 40));
    QApplication::processEvents();
    window->UpdateActions();
    EXPECT_EQ(canvas->Mode(), 1);
    EXPECT_TRUE(Checked(*window, TMainAction::MapModeLayer2));
    EXPECT_FALSE(Checked(*window, TMainAction::MapModeLayer1));
    EXPECT_EQ(window->ChipPalette()->Mode(), 1);
    EXPECT_EQ(window->StatusPanel(1)->text(), "Upper Layer editing mode");

    // The canvas zoomed by itself (the zoom tool): the scale action follows.
    canvas->SetCellSize(8);
    QApplication::processEvents();
    window->UpdateActions();
    EXPECT_TRUE(Checked(*window, TMainAction::MapScale3));
    EXPECT_FALSE(Checked(*window, TMainAction::MapScale1));
    // And the scale actions drive the canvas.
    window->Action(TMainAction::MapScale2)->trigger();
    EXPECT_EQ(canvas->CellSize(), 16);

    window->Action(TMainAction::MapScale1)->trigger();

    // Event mode: panel 2 names the event under the cursor.
    TKelEventItem& chest = window->Data().Map().Events.InsertAndRenumber(1);
    chest.Name = "Chest";
    chest.X = 2;
    chest.Y = 1;
    QTest::keyClick(window.get(), Qt::Key_F7);
    ASSERT_EQ(canvas->CellSize(), 32);
    QTest::mouseMove(canvas->viewport(), QPoint(2 * 32 + 8, 1 * 32 + 8));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001 (002,001) 0001:Chest");
    QTest::mouseMove(canvas->viewport(), QPoint(3 * 32 + 8, 1 * 32 + 8));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001 (003,001)");
}

TEST_F(MainWindowTest, TestPlayStartsTheRuntimeWithTheMusicOff) {
    auto window = WindowOnProject();
    std::vector<TRuntimeCommand> started;
    window->MakeRuntimeProcess = [&started] { return std::make_unique<TRecordingProcess>(started); };
    audio::PreviewMusicName() = "Town";
    // Changed maps: No cancels the play, Yes saves them first.
    window->Data().Map().LowerLayer.SetCell(0, 0, 5020);
    window->Data().Map().Modified = true;
    Box.Answers = {mrNo};
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_TRUE(started.empty());
    Box.Answers = {mrYes};
    window->Action(TMainAction::GameShowTitle)->trigger();
    QTest::keyClick(window.get(), Qt::Key_F9);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], TestPlayCommand(window->Data().MapTree().Count() ? ProjectPath() : "", true,
                                          window->Model().TestFullScreen()));
    EXPECT_EQ(started[0].Arguments.at(0), "TestPlay");
    EXPECT_EQ(started[0].Arguments.at(1), "ShowTitle");
    EXPECT_EQ(audio::PreviewMusicName(), "(OFF)");
    TKelMap saved;
    saved.LoadFromFile(Root + "base/Quest/Map0001.kmu");
    EXPECT_EQ(saved.LowerLayer.Cell(0, 0), 5020);
}

// Every input of the main window has a name a screen reader can say.
TEST_F(MainWindowTest, EveryInputIsNamed) {
    auto window = WindowOnProject();
    EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(window.get()), QStringList());
}

TEST_F(MainWindowTest, NewMapFromTheTreeShowsInTheCanvas) {
    auto window = WindowOnProject();
    TMapTreeModel& tree = window->MapTreeModel();
    // The map property dialog is there: its commands are on.
    EXPECT_TRUE(tree.IsEnabled(TMapTreeCommand::MapProperties));
    EXPECT_TRUE(tree.IsEnabled(TMapTreeCommand::NewMap));
    int shown = 0;
    TScopedModalRunner runner([&shown](TFormKelBase&) {
        ++shown;
        return 1;  // OK with what the dialog proposes
    });
    ASSERT_TRUE(tree.Execute(TMapTreeCommand::NewMap));
    QApplication::processEvents();
    EXPECT_EQ(shown, 1);
    const std::int32_t id = window->Data().MapTree().CurrentMapId;
    EXPECT_EQ(id, 2);
    ASSERT_NE(window->MapTreeWindow()->Tree()->ItemOf(2), nullptr);
    // The canvas shows the new map and the status bar names it; the tree counts as changed.
    EXPECT_EQ(window->Data().Map().ID, 2);
    EXPECT_EQ(window->Canvas()->ViewModel().Map(), &window->Data().Map());
    EXPECT_GT(window->Data().Map().Width(), 0);
    EXPECT_TRUE(window->StatusPanel(2)->text().startsWith(QString::fromStdString(
        Cp932ToUtf8(window->Data().MapTree().FindByID(2)->Name))));
    window->UpdateActions();
    EXPECT_TRUE(Enabled(*window, TMainAction::MapSave));
    // Saved, the project's folder holds the new map.
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(fs::exists(Root + "base/Quest/Map0002.kmu"));
    EXPECT_FALSE(Enabled(*window, TMainAction::MapSave));
}

TEST_F(MainWindowTest, ProjectDialogsCreateAndOpenProjects) {
    auto window = MakeWindow();
    window->Start();
    ASSERT_FALSE(window->Manager().IsOpen());
    // "Create New Project": a folder name and a title, OK.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFormProjectNew*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* folder = dialog->findChild<QLineEdit*>("EditFolder");
        auto* title = dialog->findChild<QLineEdit*>("EditTitle");
        auto* ok = dialog->findChild<QPushButton*>("ButtonOk");
        ASSERT_TRUE(folder && title && ok);
        folder->setText("Saga");
        title->setText("The Saga");
        ok->click();
    });
    window->Action(TMainAction::ProjectNew)->trigger();
    ASSERT_TRUE(window->Manager().IsOpen());
    EXPECT_TRUE(fs::exists(Root + "base/Saga/Map0001.kmu"));
    EXPECT_EQ(window->Canvas()->ViewModel().Map(), &window->Data().Map());
    EXPECT_EQ(window->MapTreeWindow()->Tree()->ItemOf(0)->text(0), "The Saga");

    // Closed, "Open Project" lists it; Open shows it again.
    window->Action(TMainAction::ProjectClose)->trigger();
    ASSERT_FALSE(window->Manager().IsOpen());
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFormProjectOpen*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* list = dialog->findChild<QTreeWidget*>("ListProjects");
        auto* open = dialog->findChild<QPushButton*>("ButtonOpen");
        ASSERT_TRUE(list && open);
        ASSERT_GE(list->topLevelItemCount(), 1);
        list->setCurrentItem(list->topLevelItem(0));
        open->click();
    });
    window->Action(TMainAction::ProjectOpen)->trigger();
    ASSERT_TRUE(window->Manager().IsOpen());
    EXPECT_EQ(ProjectPath(), Root + "base/Saga/");
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001");
}

TEST_F(MainWindowTest, MakeGameDiskOpensThePackDialogOnAnOpenProject) {
    auto closed = MakeWindow();
    closed->Start();
    EXPECT_FALSE(Enabled(*closed, TMainAction::ProjectPack));
    closed.reset();
    auto window = WindowOnProject();
    ASSERT_TRUE(Enabled(*window, TMainAction::ProjectPack));
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<TFormProjectPack*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        auto* start = dialog->findChild<QPushButton*>("ButtonStart");
        ASSERT_NE(start, nullptr);
        EXPECT_FALSE(start->isEnabled());  // no folder chosen yet
        dialog->findChild<QPushButton*>("ButtonCancel")->click();
    });
    window->Action(TMainAction::ProjectPack)->trigger();
    EXPECT_TRUE(seen);
}

TEST_F(MainWindowTest, ToolLettersPickTheCanvasToolAndLeaveTextFieldsAlone) {
    auto window = WindowOnProject();
    TFormMapEditor* canvas = window->Canvas();
    QMenu* tools = window->findChild<QMenu*>(QStringLiteral("Menu_Map_Tools"));
    ASSERT_NE(tools, nullptr);
    QStringList items;
    for (QAction* item : tools->actions())
        items << item->text() + QLatin1Char(' ') + item->shortcut().toString();
    EXPECT_EQ(items, (QStringList{"&Select Region S", "&Zoom Z", "&Pen P", "&Rectangle R", "&Ellipse E",
                                  "&Fill Region F"}));
    EXPECT_EQ(window->Action(TMainAction::MapToolPen)->toolTip(), "Pen (P)");
    EXPECT_EQ(window->Action(TMainAction::MapToolSeedFill)->toolTip(), "Fill Region (F)");

    // From the canvas and from the palette, the letters choose the tools.
    canvas->setFocus();
    const std::pair<Qt::Key, int> letters[] = {{Qt::Key_R, 3}, {Qt::Key_E, 4}, {Qt::Key_F, 5},
                                               {Qt::Key_Z, 1}, {Qt::Key_S, 0}, {Qt::Key_P, 2}};
    for (const auto& [key, tool] : letters) {
        QTest::keyClick(canvas, key);
        EXPECT_EQ(canvas->Tool(), tool) << key;
        EXPECT_TRUE(window->Action(*GroupAction(TActionGroup::Tool, tool + 1))->isChecked()) << key;
    }
    window->ChipPalette()->setFocus();
    QTest::keyClick(window->ChipPalette(), Qt::Key_E);
    EXPECT_EQ(canvas->Tool(), 4);
    // Ctrl with the letter stays what it was: Ctrl+R reverts (nothing changed, nothing asked).
    QTest::keyClick(canvas, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(canvas->Tool(), 4);

    // A text field keeps the letters typed into it, and the map tree finds its maps by them.
    auto* edit = new QLineEdit(window->MapTreeWindow());
    edit->show();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("prefs"));
    EXPECT_EQ(edit->text(), "prefs");
    EXPECT_EQ(canvas->Tool(), 4);
    delete edit;
    window->MapTreeWindow()->Tree()->setFocus();
    QTest::keyClick(window->MapTreeWindow()->Tree(), Qt::Key_P);
    EXPECT_EQ(canvas->Tool(), 4);

    // In the event mode the tools are off, and so are their letters.
    QTest::keyClick(window.get(), Qt::Key_F7);
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_P);
    EXPECT_EQ(canvas->Tool(), 4);
}

TEST_F(MainWindowTest, UndoOfAClosedProjectLooksOffAndGivesNoHint) {
    auto window = WindowOnProject();
    PointerInto(*window);
    TFormMapEditor* canvas = window->Canvas();
    QWidget* undo = window->findChild<QToolBar*>()->widgetForAction(window->Action(TMainAction::MapToolUndo));
    ASSERT_NE(undo, nullptr);
    QTest::mouseClick(canvas->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    window->UpdateActions();
    ASSERT_TRUE(undo->isEnabled());
    // The darkest pixel of the button's drawing.
    const auto darkest = [](QWidget* button) {
        const QImage picture = button->grab().toImage();
        int dark = 255;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark = std::min(dark, qGray(picture.pixel(x, y)));
        return dark;
    };
    const int enabledDark = darkest(undo);
    window->grab().save(QStringLiteral(QUILLON_BINARY_DIR "/main-window-undo-on.png"));

    Box.Answers = {mrNo};
    window->Action(TMainAction::ProjectClose)->trigger();
    ASSERT_FALSE(window->Manager().IsOpen());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_LT(enabledDark, 100);
    EXPECT_GT(darkest(undo), 130) << "the drawing is faded";
    window->grab().save(QStringLiteral(QUILLON_BINARY_DIR "/main-window-undo-off.png"));

    // Hovering it shows no hint in panel 0 and no tool-tip; an enabled button still does.
    window->Model().SetHint("");
    QTest::mouseMove(undo, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(0)->text(), "");
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), undo->mapToGlobal(QPoint(5, 5)));
    QToolTip::hideText();
    QApplication::sendEvent(undo, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    QWidget* open = window->findChild<QToolBar*>()->widgetForAction(window->Action(TMainAction::ProjectOpen));
    QTest::mouseMove(open, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(0)->text(), "Open project...");
}

TEST_F(MainWindowTest, CursorCellIsForgottenWhenThePointerLeavesTheCanvas) {
    auto window = WindowOnProject();
    PointerInto(*window);
    TFormMapEditor* canvas = window->Canvas();
    QTest::mouseMove(canvas->viewport(), QPoint(3 * 32 + 10, 4 * 32 + 10));
    QApplication::processEvents();
    ASSERT_EQ(window->StatusPanel(2)->text(), "MAP0001 (003,004)");
    // Over to the map tree, where the map is chosen again: no coordinates.
    TFormMapTree* tree = window->MapTreeWindow();
    QTest::mouseMove(tree->Tree()->viewport(), QPoint(20, 10));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001");
    tree->Tree()->setCurrentItem(tree->Tree()->ItemOf(0));
    tree->Tree()->setCurrentItem(tree->Tree()->ItemOf(1));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001");
    // Back on the same cell, it shows again.
    QTest::mouseMove(canvas->viewport(), QPoint(3 * 32 + 10, 4 * 32 + 10));
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001 (003,004)");
    // In the event mode the cell stays when the pointer goes.
    QTest::keyClick(window.get(), Qt::Key_F7);
    QTest::mouseMove(canvas->viewport(), QPoint(2 * 32 + 10, 1 * 32 + 10));
    QApplication::processEvents();
    QTest::mouseMove(tree->Tree()->viewport(), QPoint(20, 10));
    QApplication::processEvents();
    EXPECT_EQ(window->StatusPanel(2)->text(), "MAP0001 (002,001)");
}

TEST_F(MainWindowTest, SplashSubtitleFitsWithinThePicture) {
    const QImage picture = SplashPicture().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(400, 240));
    picture.save(QStringLiteral(QUILLON_BINARY_DIR "/splash.png"));
    // The subtitle's light letters lie in the band under the name; none reaches the last columns.
    int letters = 0, atEdge = 0;
    for (int y = 100; y < 132; ++y)
        for (int x = 120; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) > 170)
                ++(x >= picture.width() - 8 ? atEdge : letters);
    EXPECT_GT(letters, 150);
    EXPECT_EQ(atEdge, 0);

    TFormAboutBox about;
    about.show();
    QApplication::processEvents();
    const QImage box = about.grab().toImage();
    box.save(QStringLiteral(QUILLON_BINARY_DIR "/about.png"));
    auto* image = about.findChild<QLabel*>(QStringLiteral("Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_GE(image->width(), 400);
}

// The canvas's event commands reach the event manager, and what it changes shows on the canvas
// and in the actions at once.
TEST_F(MainWindowTest, EventCommandsOfTheCanvasReachTheEventManager) {
    auto window = WindowOnProject();
    TFormMapEditor* canvas = window->Canvas();
    ASSERT_TRUE(canvas);
    int edits = 0;
    window->EventDialogs().OpenEditor = [&edits](TKelEventItem& copy, std::int32_t, bool,
                                                 const TEventManagerDialogsQt::TCommit& commit) {
        ++edits;
        copy.Name = "Sign";
        commit(copy);
    };
    QTest::keyClick(window.get(), Qt::Key_F7);
    ASSERT_EQ(canvas->Mode(), 2);
    ASSERT_EQ(canvas->CellSize(), 32);
    const auto at = [](int x, int y) { return QPoint(x * 32 + 8, y * 32 + 8); };
    TKelMap& map = window->Data().Map();

    // On an empty cell the teleport item is on as well as the start positions.
    QTest::mouseClick(canvas->viewport(), Qt::RightButton, {}, at(2, 1));
    ASSERT_TRUE(canvas->ShownMenu());
    EXPECT_TRUE(canvas->EventMoveAction()->isEnabled());
    EXPECT_TRUE(canvas->EventPartyAction()->isEnabled());
    canvas->ShownMenu()->close();

    QTest::mouseDClick(canvas->viewport(), Qt::LeftButton, {}, at(2, 1));
    QApplication::processEvents();
    EXPECT_EQ(edits, 1);
    ASSERT_NE(map.Events.FindByID(1), nullptr);
    EXPECT_EQ(map.Events.FindByID(1)->Name, "Sign");
    EXPECT_EQ(canvas->Model().EventMap().GetAt(2, 1), 1);
    window->UpdateActions();
    EXPECT_TRUE(Enabled(*window, TMainAction::MapSave));

    // Enter edits the event on the cursor; Ctrl+C, an arrow and Ctrl+V copy it next door; Del
    // takes the copy away again.
    QTest::keyClick(canvas, Qt::Key_Return);
    EXPECT_EQ(edits, 2);
    QTest::keyClick(canvas, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(canvas, Qt::Key_Right);
    QTest::keyClick(canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(canvas->Model().EventMap().GetAt(3, 1), 2);
    QTest::keyClick(canvas, Qt::Key_Delete);
    EXPECT_EQ(map.Events.FindByID(2), nullptr);
    EXPECT_EQ(canvas->Model().EventMap().GetAt(3, 1), 0);

    // The party's start from the menu item.
    canvas->EventPartyAction()->trigger();
    EXPECT_EQ(window->Data().MapTree().StartPosition.PartyMapId, map.ID);
    EXPECT_EQ(window->Data().MapTree().StartPosition.PartyX, 3);
    EXPECT_EQ(canvas->Model().EventMap().GetAt(3, 1), 60001);
    QApplication::processEvents();
    widgetkit::KeepPicture(widgetkit::Grab(*canvas), "main_window_event_layer");
}
