#include "events/ED_Event_qt.h"

#include "controls/FieldBinder_qt.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "events/EventChoosers.h"
#include "events/ScriptList_qt.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet_qt.h"
#include "platform/Cp932Text_qt.h"
#include "platform/MessageBox.h"
#include "project/Resources.h"
#include "ui_ED_Event.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace quillon {

namespace {

constexpr int kPreviewWidth = 56;
constexpr int kPreviewHeight = 64;
constexpr int kCharBlockWidth = 72;
constexpr int kCharBlockHeight = 128;
constexpr int kTranslucent = 160;

TImageFinder ProjectFinder() {
    return [](const std::string& kind, const std::string& name) { return FindResourceFile(name, kind, ImageExtensions); };
}

std::uint16_t ColourOf(const QColor& colour) {
    return Color565(TPaletteEntry{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                                  static_cast<std::uint8_t>(colour.blue()), 0});
}

}  // namespace

TFormEDEvent::TFormEDEvent(TEventEditorModel& model, const TEventEditorContext& context, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mContext(context), mUi(std::make_unique<Ui::FormEDEvent>()) {
    mUi->setupUi(this);
    SetHelpContext(kEventEditorHelpContext);
    if (!mContext.FindImage)
        mContext.FindImage = ProjectFinder();
    setWindowTitle(tr("Event Editor") + Cp932ToQString(model.Caption()));

    // The converter and the command list's context.
    mConverter.EventId = model.EventId();
    mConverter.EventItem = &model.Event();
    mConverter.MapTree = context.MapTree;
    mConverter.Map = context.Map;
    mConverter.DataBase = context.DataBase;
    TScriptListBox& list = CommandList();
    TEventCommandContext commandContext;
    commandContext.EventId = model.EventId();
    commandContext.EventItem = &model.Event();
    commandContext.MapTree = context.MapTree;
    commandContext.Map = context.Map;
    commandContext.DataBase = context.DataBase;
    commandContext.Choosers = context.Choosers;
    list.Model().SetKind(TScriptEditorKind::MapEvent);
    list.Model().SetContext(commandContext);
    list.Model().SetRenderer([this](const TKelEventScriptLine& line) { return mConverter.RenderSafely(line); });
    if (context.CommandDialogs)
        list.Dialogs().SetRunner(context.CommandDialogs);
    mScriptModified = list.Model().OnModified.Connect([this] {
        mModel.NoteDataBaseChange();
        mModel.ScriptModified();
    });

    // The preview's tile graphic.
    mChips = context.ChipSet;
    if (!mChips) {
        mOwnChips = std::make_unique<TKelChipSetGraphic>(mContext.FindImage);
        if (context.DataBase && context.Map)
            try {
                mOwnChips->SetChipSet(context.DataBase->ChipSet.FindByID(context.Map->ChipSetId));
            } catch (const std::exception&) {
                // A missing chipset image shows no tile.
            }
        mChips = mOwnChips.get();
    }
    mCharBlock.SetSize(kCharBlockWidth, kCharBlockHeight);
    mCharBlock.Transparent = true;
    mPreview.SetSize(kPreviewWidth, kPreviewHeight);
    mUi->PreviewGraphic->installEventFilter(this);
    mUi->TabPages->setExpanding(false);
    mUi->TabPages->setUsesScrollButtons(true);

    mBinding = std::make_unique<TFieldBinding>(EventPageForm(), model);
    mBinder = new TFieldBinder(*mBinding, *this);
    ConnectStandardButtons();
    connect(mUi->ButtonApply, &QPushButton::clicked, this, &TFormEDEvent::ButtonApplyClick);
    connect(mUi->ButtonNewPage, &QPushButton::clicked, this, &TFormEDEvent::ButtonNewPageClick);
    connect(mUi->ButtonCopyPage, &QPushButton::clicked, this, &TFormEDEvent::ButtonCopyPageClick);
    connect(mUi->ButtonPastePage, &QPushButton::clicked, this, &TFormEDEvent::ButtonPastePageClick);
    connect(mUi->ButtonDeletePage, &QPushButton::clicked, this, &TFormEDEvent::ButtonDeletePageClick);
    connect(mUi->ButtonMusic, &QPushButton::clicked, this, &TFormEDEvent::ButtonMusicClick);
    connect(mUi->TabPages, &QTabBar::currentChanged, this, &TFormEDEvent::TabPagesChange);
    mUi->EditName->installEventFilter(this);

    const auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { mModel.NextPage(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { mModel.PreviousPage(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { mModel.PreviousPage(); });
    shortcut(QKeySequence(Qt::Key_PageUp), [this] { PageCommandList(false); });
    shortcut(QKeySequence(Qt::Key_PageDown), [this] { PageCommandList(true); });

    mTimer = new QTimer(this);
    connect(mTimer, &QTimer::timeout, this, &TFormEDEvent::PreviewTimer);

    mPagesChanged = model.OnPagesChanged.Connect([this] { ShowPages(); });
    mChanged = model.OnChanged.Connect([this] { ShowState(); });
    mGraphicChanged = model.OnGraphicChanged.Connect([this] { LoadGraphic(); });
    mRenderScript = model.OnRenderScript.Connect([this] { CommandList().Model().Refresh(); });

    ShowPages();
    LoadGraphic();
    ShowState();
}

TFormEDEvent::~TFormEDEvent() {
    CommandList().Model().SetScript(nullptr);
}

TScriptListBox& TFormEDEvent::CommandList() const { return *mUi->ListCommands; }
QTabBar& TFormEDEvent::Tabs() const { return *mUi->TabPages; }

void TFormEDEvent::ShowPages() {
    QTabBar& tabs = Tabs();
    const QSignalBlocker blocker(&tabs);
    const int count = mModel.PageCount();
    while (tabs.count() > count)
        tabs.removeTab(tabs.count() - 1);
    while (tabs.count() < count)
        tabs.addTab(QString::number(tabs.count() + 1));
    tabs.setCurrentIndex(mModel.CurrentIndex());
    ShowPage();
}

void TFormEDEvent::ShowPage() {
    // The command list shows the current page's script; it renders again only for another page.
    TKelEventPageItem& page = mModel.CurrentPage();
    if (mShownScriptPage != &page) {
        mShownScriptPage = &page;
        CommandList().Model().SetScript(&page.Script);
    }
}

void TFormEDEvent::ShowState() {
    ShowPage();
    mBinder->Refresh();
    const TPageButtons buttons = mModel.PageButtons();
    mUi->ButtonNewPage->setEnabled(buttons.NewPage);
    mUi->ButtonCopyPage->setEnabled(buttons.CopyPage);
    mUi->ButtonPastePage->setEnabled(buttons.PastePage);
    mUi->ButtonDeletePage->setEnabled(buttons.DeletePage);
    mUi->ButtonApply->setEnabled(mModel.ApplyEnabled());
    if (mTimer->interval() != mModel.CurrentPreviewInterval() || !mTimer->isActive())
        mTimer->start(mModel.CurrentPreviewInterval());
    DrawPreview();
}

void TFormEDEvent::LoadGraphic() {
    const TKelEventPageItem& page = mModel.CurrentPage();
    mCharBlock.SetSize(kCharBlockWidth, kCharBlockHeight);
    if (page.GraphicName.empty()) {
        mCharBlock.Clear();
    } else {
        // The character's own 72 x 128 block of the set.
        const int index = std::max(page.GraphicIndex, 0);
        const TPoint origin{(index % 4) * kCharBlockWidth, (index / 4) * kCharBlockHeight};
        mCharBlock.LoadFromFile(mContext.FindImage("CharSet", page.GraphicName), origin, false);
        mCharBlock.SetSize(kCharBlockWidth, kCharBlockHeight);
    }
    mCharBlock.Transparent = true;
    DrawPreview();
}

void TFormEDEvent::DrawPreview() {
    const TKelEventPageItem& page = mModel.CurrentPage();
    FillBoardRect(mPreview, MakeBounds(0, 0, kPreviewWidth, kPreviewHeight), ColourOf(palette().color(QPalette::Window)));
    const int opacity = page.Transparent ? kTranslucent : 255;
    if (!page.GraphicName.empty()) {
        const TPreviewCell cell = mModel.CurrentPreviewCell();
        mCharBlock.Opacity = opacity;
        mPreview.StretchDrawSheet(MakeBounds(4, 0, 2 * kCharWidth, 2 * kCharHeight), mCharBlock,
                                  MakeBounds(cell.Column * kCharWidth, cell.Row * kCharHeight, kCharWidth, kCharHeight));
    } else if (mChips) {
        TOrlenSheet& sheet = mChips->Sheet();
        const bool transparent = sheet.Transparent;
        const int before = sheet.Opacity;
        sheet.Transparent = true;
        sheet.Opacity = opacity;
        const std::int32_t tile =
            kTileUpperFirst + std::clamp(page.GraphicIndex, 0, kTileNothingFirst - kTileUpperFirst - 1);
        mChips->DrawTile(mPreview, 12, 16, 0, tile, false, 32);
        sheet.Transparent = transparent;
        sheet.Opacity = before;
    }
    mUi->PreviewGraphic->setPixmap(QPixmap::fromImage(BoardImage(mPreview).copy()));
}

void TFormEDEvent::PreviewTimer() {
    mModel.PreviewTick();
    DrawPreview();
}

void TFormEDEvent::TabPagesChange(int index) { mModel.SelectPage(index); }

void TFormEDEvent::ButtonNewPageClick() { mModel.NewPage(); }
void TFormEDEvent::ButtonCopyPageClick() { mModel.CopyPage(); }
void TFormEDEvent::ButtonPastePageClick() { mModel.PastePage(); }
void TFormEDEvent::ButtonDeletePageClick() { mModel.DeletePage(); }

void TFormEDEvent::ButtonMusicClick() {
    if (mContext.Choosers)
        mContext.Choosers->ListenToMusic();
}

void TFormEDEvent::ButtonOkClick() {
    std::string error;
    if (!mModel.Ok(error)) {
        if (!error.empty())
            ShowError(error);
        return;
    }
    Confirm();
}

void TFormEDEvent::ButtonApplyClick() {
    std::string error;
    if (!mModel.Apply(error) && !error.empty())
        ShowError(error);
    // The converter's names may have changed with the database.
    CommandList().Model().Refresh();
}

void TFormEDEvent::PageCommandList(bool down) {
    TScriptListBox& list = CommandList();
    if (list.hasFocus()) {
        if (down)
            list.Model().PageDown();
        else
            list.Model().PageUp();
    }
    list.setFocus(Qt::OtherFocusReason);
}

void TFormEDEvent::done(int result) {
    if (!mClosed) {
        mClosed = true;
        mTimer->stop();
        // Names changed without a commit are read again from the file.
        if (result != mrOk)
            mModel.Close();
    }
    TFormKelBase::done(result);
}

bool TFormEDEvent::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mUi->PreviewGraphic && event->type() == QEvent::MouseButtonDblClick) {
        mUi->ButtonGraphicSet->click();
        return true;
    }
    if (watched == mUi->EditName && event->type() == QEvent::FocusOut)
        mModel.NameEditingFinished();
    return TFormKelBase::eventFilter(watched, event);
}

void RunEventEditor(QWidget* owner, const TEventEditorContext& context, TKelEventItem& copy, std::int32_t eventId,
                    bool applyEnabled, const std::function<bool(const TKelEventItem&)>& commit) {
    TEventEditorHooks hooks;
    hooks.DataBase = context.DataBase;
    hooks.Choosers = context.Choosers;
    hooks.Commit = commit;
    hooks.SaveDataBase = context.SaveDataBase;
    hooks.ReloadDataBase = context.ReloadDataBase;
    TEventEditorModel model(copy, eventId, applyEnabled, std::move(hooks));
    TFormEDEvent form(model, context, owner);
    form.Run();
}

}  // namespace quillon
