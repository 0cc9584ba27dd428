#include "database/DataBaseForm_qt.h"

#include "controls/Help.h"
#include "database/DataBasePages_qt.h"
#include "platform/BusyCursor.h"
#include "platform/MessageBox.h"
#include "project/SelMusic_qt.h"

#include "ui_DataBaseForm.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QToolButton>

#include <exception>

namespace quillon {

namespace {

// Shows a widget again when it goes out of scope, also when the work raised.
class TShowAgain {
public:
    explicit TShowAgain(QWidget& widget) : mWidget(widget) { mWidget.hide(); }
    ~TShowAgain() { mWidget.show(); }
    TShowAgain(const TShowAgain&) = delete;
    TShowAgain& operator=(const TShowAgain&) = delete;

private:
    QWidget& mWidget;
};

}  // namespace

TFormDataBase::TFormDataBase(const TDataBaseContext& context, QWidget* owner)
    : TFormKelBase(owner), mModel(context), mUi(std::make_unique<Ui::FormDataBase>()) {
    mUi->setupUi(this);
    setWindowTitle(tr("DataBase"));
    QTabBar& tabs = *mUi->TabControl;
    tabs.setExpanding(false);
    tabs.setDrawBase(true);
    {
        const QSignalBlocker blocked(tabs);
        for (int tab = 0; tab < kDataBaseTabCount; ++tab)
            tabs.addTab(tr(DataBaseTabInfo(tab).Caption));
        // No tab is selected until the window opens.
        tabs.setCurrentIndex(-1);
    }
    connect(&tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index != mModel.Tab()) {
            mModel.SelectTab(index);
            TabControlChange();
        }
    });
    connect(mUi->ButtonOk, &QPushButton::clicked, this, &TFormDataBase::ButtonOkClick);
    connect(mUi->ButtonCancel, &QPushButton::clicked, this, &TFormDataBase::ButtonCancelClick);
    connect(mUi->ButtonApply, &QPushButton::clicked, this, &TFormDataBase::ButtonApplyClick);
    connect(mUi->ButtonHelp, &QPushButton::clicked, this, &TFormDataBase::ButtonHelpClick);
    connect(mUi->ToolButtonMusic, &QToolButton::clicked, this, &TFormDataBase::ToolButtonMusicClick);

    const auto key = [this](QKeySequence sequence, void (TFormDataBase::*slot)()) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Tab), &TFormDataBase::SelectNextTab);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), &TFormDataBase::SelectPreviousTab);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &TFormDataBase::SelectPreviousTab);
    key(QKeySequence(Qt::Key_F4), &TFormDataBase::SelectPreviousEntry);
    key(QKeySequence(Qt::CTRL | Qt::Key_F4), &TFormDataBase::SelectPreviousEntry);
    key(QKeySequence(Qt::Key_F5), &TFormDataBase::SelectNextEntry);
    key(QKeySequence(Qt::CTRL | Qt::Key_F5), &TFormDataBase::SelectNextEntry);

    mHeard = mModel.Changed.Connect([this] { ShowState(); });
    ShowState();
}

TFormDataBase::~TFormDataBase() { ReleasePage(); }

QTabBar& TFormDataBase::TabControl() const { return *mUi->TabControl; }
QWidget& TFormDataBase::Foundation() const { return *mUi->Foundation; }
QPushButton& TFormDataBase::ButtonApply() const { return *mUi->ButtonApply; }

void TFormDataBase::ShowState() {
    mUi->ButtonApply->setEnabled(mModel.ApplyEnabled());
    SetHelpContext(mModel.HelpContext());
    if (mModel.Tab() != mUi->TabControl->currentIndex()) {
        const QSignalBlocker blocked(mUi->TabControl);
        mUi->TabControl->setCurrentIndex(mModel.Tab());
    }
}

void TFormDataBase::showEvent(QShowEvent* event) {
    TFormKelBase::showEvent(event);
    if (!mOpened)
        OpenPage();
}

void TFormDataBase::OpenPage() {
    mOpened = true;
    mModel.Open();
    TabControlChange();
}

void TFormDataBase::ReleasePage() {
    if (!mPage)
        return;
    mPage->OnModified = nullptr;
    mPage.reset();
}

void TFormDataBase::TabControlChange() {
    const int tab = mModel.Tab();
    if (tab < 0)
        return;
    const TBusyCursorScope busy;
    try {
        const TShowAgain shown(*mUi->Foundation);
        mUi->TabControl->setFocus();
        ReleasePage();
        std::unique_ptr<TFormDataBaseBase> page(CreateDataBasePage(tab, mModel.Context(), mUi->Foundation));
        page->OnModified = [this] { mModel.PageModified(); };
        mUi->Foundation->layout()->addWidget(page.get());
        page->show();
        page->Start();
        mPage = std::move(page);
    } catch (const std::exception& e) {
        ReleasePage();
        ShowError(e.what());
    }
}

void TFormDataBase::SelectNextTab() {
    mModel.NextTab();
    TabControlChange();
}

void TFormDataBase::SelectPreviousTab() {
    mModel.PreviousTab();
    TabControlChange();
}

void TFormDataBase::SelectPreviousEntry() {
    if (mPage)
        mPage->SelectPrevious();
}

void TFormDataBase::SelectNextEntry() {
    if (mPage)
        mPage->SelectNext();
}

void TFormDataBase::ButtonApplyClick() { mModel.Apply(); }

void TFormDataBase::ButtonOkClick() {
    // The file is written first: a failed save keeps the window and every change.
    if (!mModel.Apply())
        return;
    Confirm();
}

void TFormDataBase::ButtonHelpClick() {
    if (mModel.Tab() >= 0)
        ShowHelp(mModel.HelpContext());
}

void TFormDataBase::ToolButtonMusicClick() {
    TFormSelMusic form(this, true);
    form.SetFixedOffset(QPoint(8, 176));
    form.OpenCurrent();
    form.RunModal();
}

void TFormDataBase::done(int result) {
    if (mClosing)
        return;
    mClosing = true;
    ReleasePage();
    hide();
    if (QWidget* owner = parentWidget())
        owner->repaint();
    // What was not saved goes; what was saved comes back as written.
    mModel.Reload();
    TFormKelBase::done(result);
}

void RunDataBaseEditor(QWidget* owner, const TDataBaseContext& context) {
    TFormDataBase form(context, owner);
    form.RunModal();
}

}  // namespace quillon
