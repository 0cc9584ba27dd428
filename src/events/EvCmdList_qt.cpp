#include "events/EvCmdList_qt.h"

#include "ui_EvCmdList.h"
#include "ui_EvCmdList2.h"

#include "events/EvCmd10110_qt.h"
#include "events/EvCmdBase_qt.h"
#include "events/EvCmdSelector.h"
#include "platform/MessageBox.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include <algorithm>

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
    if (form->RunModal() != mrOk)
        return false;
    result.Assign(form->ResultScript());
    return result.Count() > 0;
}

bool TEventCommandDialogsQt::RunDialog(std::int32_t code, TKelEventScriptList& result,
                                       const TEventCommandContext& context) {
    // Commands without settings never need a form.
    if (BuildCommandWithoutForm(code, result))
        return true;
    if (mRunner)
        return mRunner(mOwner, code, result, context);
    if (IsSelectorCommand(code))
        return RunSelectorCommand(code, result, context);
    const TCommandForm* form = FindCommandForm(code);
    if (!form)
        return false;
    std::unique_ptr<TFormEvCmdBase> dialog;
    if (form->TextLineCode != 0)
        dialog = std::make_unique<TFormEvCmd10110>(mOwner, *form, context, result);
    else
        dialog = std::make_unique<TFormEvCmdBase>(mOwner, *form, context, result);
    return dialog->Execute();
}

// --- palette base ---

namespace {

// What a screen reader says for a button: its caption without the blank in front, the
// mnemonic mark and the "..." of a command that opens a form.
QString AccessibleCaption(QString caption) {
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1String("...")))
        caption.chop(3);
    return caption;
}

}  // namespace

TFormEvCmdListBase::TFormEvCmdListBase(QWidget* parent, bool battle, IEventCommandDialogs& dialogs,
                                       const TEventCommandContext& context)
    : TFormKelBase(parent), mPalette(battle), mDialogs(dialogs), mContext(context) {
    SetHelpContext(kEvCmdListHelpContext);
}

QPushButton* TFormEvCmdListBase::Button(int index) const {
    return index >= 0 && index < static_cast<int>(mButtons.size()) ? mButtons[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}

void TFormEvCmdListBase::MakeButtons(const std::function<QGridLayout*(int tab)>& gridOfTab, QWidget* first,
                                     const std::vector<QWidget*>& standard) {
    QWidget* previous = first;
    for (int i = 0; i < mPalette.ButtonCount(); ++i) {
        const TPaletteSpot spot = mPalette.Spot(i);
        QGridLayout* grid = gridOfTab(spot.Tab);
        auto* button = new QPushButton(tr(mPalette.Caption(i).c_str()), grid->parentWidget());
        button->setObjectName(QString::asprintf("Button%02d", i));
        button->setAccessibleName(AccessibleCaption(button->text()));
        button->setAutoDefault(false);
        button->installEventFilter(this);
        grid->addWidget(button, spot.Row, spot.Column);
        connect(button, &QPushButton::clicked, this, &TFormEvCmdListBase::ButtonClick);
        mButtons.push_back(button);
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
    for (QWidget* widget : standard) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
    ConnectStandardButtons();
}

void TFormEvCmdListBase::showEvent(QShowEvent* event) {
    TFormKelBase::showEvent(event);
    const int last = mPalette.LastButton();
    ShowButton(last);
    // The palette is worked from the keyboard: the focused button shows its focus mark from the
    // start, not only after the first Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (QPushButton* button = Button(last))
        button->setFocus(Qt::OtherFocusReason);
}

bool TFormEvCmdListBase::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return TFormKelBase::eventFilter(watched, event);
}

void TFormEvCmdListBase::ButtonClick() {
    const auto it = std::find(mButtons.begin(), mButtons.end(), sender());
    if (it == mButtons.end())
        return;
    if (mPalette.Choose(static_cast<int>(it - mButtons.begin()), mDialogs, mContext))
        Confirm();
}

// --- the three-tab palette ---

TFormEvCmdList::TFormEvCmdList(QWidget* parent, IEventCommandDialogs& dialogs, const TEventCommandContext& context)
    : TFormEvCmdListBase(parent, false, dialogs, context), mUi(std::make_unique<Ui::TFormEvCmdList>()) {
    mUi->setupUi(this);
    std::vector<QGridLayout*> grids;
    for (int tab = 0; tab < Palette().TabCount(); ++tab) {
        auto* page = new QWidget(mUi->PageControl);
        page->setObjectName(QString::asprintf("TabSheet%d", tab + 1));
        auto* grid = new QGridLayout(page);
        grid->setObjectName(QString::asprintf("Grid%d", tab + 1));
        grids.push_back(grid);
        mUi->PageControl->addTab(page, tr("%1").arg(tab + 1));
    }
    MakeButtons([&grids](int tab) { return grids[static_cast<std::size_t>(tab)]; }, mUi->PageControl,
                {mUi->ButtonCancel, mUi->ButtonHelp});
}

TFormEvCmdList::~TFormEvCmdList() = default;

int TFormEvCmdList::CurrentTab() const {
    return mUi->PageControl->currentIndex();
}

void TFormEvCmdList::ShowButton(int index) {
    mUi->PageControl->setCurrentIndex(Palette().Spot(index).Tab);
}

// --- the battle palette ---

TFormEvCmdList2::TFormEvCmdList2(QWidget* parent, IEventCommandDialogs& dialogs, const TEventCommandContext& context)
    : TFormEvCmdListBase(parent, true, dialogs, context), mUi(std::make_unique<Ui::TFormEvCmdList2>()) {
    mUi->setupUi(this);
    MakeButtons([this](int) { return mUi->Grid; }, nullptr, {mUi->ButtonCancel, mUi->ButtonHelp});
}

TFormEvCmdList2::~TFormEvCmdList2() = default;

void TFormEvCmdList2::ShowButton(int) {}

}  // namespace quillon
