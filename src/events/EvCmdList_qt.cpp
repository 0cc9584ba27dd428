#include "events/EvCmdList_qt.h"

#include "ui_EvCmdList.h"
#include "ui_EvCmdList2.h"

#include "platform/MessageBox.h"

#include <QPushButton>

#include <algorithm>
#include <QShowEvent>

namespace quillon {

// --- the dialogs as the list reaches them ---

TEventCommandDialogsQt::TEventCommandDialogsQt(QWidget* owner) : mOwner(owner) {}

bool TEventCommandDialogsQt::ChooseCommand(TScriptEditorKind kind, TKelEventScriptList& result,
                                           const TEventCommandContext& context) {
    std::unique_ptr<TFormEvCmdListBase> form;
    if (kind == TScriptEditorKind::BattlePage)
        form = std::make_unique<TFormEvCmdList2>(mOwner, *this, context);
    else
        form = std::make_unique<TFormEvCmdList>(mOwner, *this, context);
    if (form->exec() != mrOk)
        return false;
    result.Assign(form->ResultScript());
    return result.Count() > 0;
}

bool TEventCommandDialogsQt::RunDialog(std::int32_t code, TKelEventScriptList& result,
                                       const TEventCommandContext& context) {
    // Commands without settings never need a form.
    if (BuildCommandWithoutForm(code, result))
        return true;
    return mRunner && mRunner(mOwner, code, result, context);
}

// --- palette base ---

TFormEvCmdListBase::TFormEvCmdListBase(QWidget* parent, bool battle, IEventCommandDialogs& dialogs,
                                       const TEventCommandContext& context)
    : QDialog(parent), mPalette(battle), mDialogs(dialogs), mContext(context) {}

QPushButton* TFormEvCmdListBase::Button(int index) const {
    return index >= 0 && index < static_cast<int>(mButtons.size()) ? mButtons[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}

void TFormEvCmdListBase::Attach(QPushButton* cancel) {
    for (int i = 0; i < mPalette.ButtonCount(); ++i) {
        auto* button = findChild<QPushButton*>(QString::asprintf("Button%02d", i));
        mButtons.push_back(button);
        if (button)
            connect(button, &QPushButton::clicked, this, &TFormEvCmdListBase::ButtonClick);
    }
    connect(cancel, &QPushButton::clicked, this, &TFormEvCmdListBase::ButtonCancelClick);
}

void TFormEvCmdListBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const int last = mPalette.LastButton();
    ShowButton(last);
    if (QPushButton* button = Button(last))
        button->setFocus(Qt::OtherFocusReason);
}

void TFormEvCmdListBase::ButtonClick() {
    const auto it = std::find(mButtons.begin(), mButtons.end(), sender());
    if (it == mButtons.end())
        return;
    if (mPalette.Choose(static_cast<int>(it - mButtons.begin()), mDialogs, mContext))
        done(mrOk);
}

void TFormEvCmdListBase::ButtonCancelClick() {
    done(mrCancel);
}

void TFormEvCmdListBase::reject() {
    done(mrCancel);  // Esc and the title bar's close button
}

// --- the three-tab palette ---

TFormEvCmdList::TFormEvCmdList(QWidget* parent, IEventCommandDialogs& dialogs, const TEventCommandContext& context)
    : TFormEvCmdListBase(parent, false, dialogs, context), mUi(std::make_unique<Ui::TFormEvCmdList>()) {
    mUi->setupUi(this);
    Attach(mUi->ButtonCancel);
}

TFormEvCmdList::~TFormEvCmdList() = default;

int TFormEvCmdList::CurrentTab() const {
    return mUi->PageControl->currentIndex();
}

void TFormEvCmdList::ShowButton(int index) {
    mUi->PageControl->setCurrentIndex(index / TEvCmdPalette::kTabButtons);
}

// --- the battle palette ---

TFormEvCmdList2::TFormEvCmdList2(QWidget* parent, IEventCommandDialogs& dialogs, const TEventCommandContext& context)
    : TFormEvCmdListBase(parent, true, dialogs, context), mUi(std::make_unique<Ui::TFormEvCmdList2>()) {
    mUi->setupUi(this);
    Attach(mUi->ButtonCancel);
}

TFormEvCmdList2::~TFormEvCmdList2() = default;

void TFormEvCmdList2::ShowButton(int) {}

}  // namespace quillon
