#include "events/ED_MoveRoute_qt.h"

#include "platform/Cp932Text_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace quillon {

namespace {

constexpr int kButtonColumns = 3;

// The buttons' captions are the program's own Latin-1 texts (the turn captions end in a degree
// sign), translated like every other caption.
QString ButtonCaption(const char* caption) {
    return QCoreApplication::translate("TFormEDMoveRoute", QString::fromLatin1(caption).toUtf8().constData());
}

}  // namespace

TFormEDMoveRoute::TFormEDMoveRoute(TMoveRouteEditorModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model) {
    setObjectName("FormEDMoveRoute");
    setWindowTitle(tr("Creation of the Movement Route"));
    SetHelpContext(model.HelpContext());

    auto* main = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    main->addLayout(body);

    // Left: who moves, the route and its options.
    auto* left = new QVBoxLayout;
    body->addLayout(left, 1);
    auto* targetLabel = new QLabel(tr("Object &Character:"), this);
    mTarget = new QComboBox(this);
    mTarget->setObjectName("ComboTarget");
    targetLabel->setBuddy(mTarget);
    for (const TFieldChoice& choice : model.Targets())
        mTarget->addItem(Cp932ToQString(choice.Name));
    left->addWidget(targetLabel);
    left->addWidget(mTarget);

    auto* listLabel = new QLabel(tr("Movement Ro&ute:"), this);
    mList = new QListWidget(this);
    mList->setObjectName("ListRoute");
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->setContextMenuPolicy(Qt::CustomContextMenu);
    mList->setMinimumWidth(220);
    mList->installEventFilter(this);
    listLabel->setBuddy(mList);
    // Item views are not named by their label's buddy: they carry the name themselves.
    mList->setAccessibleName(tr("Movement Route"));
    left->addWidget(listLabel);
    left->addWidget(mList, 1);

    auto* editRow = new QHBoxLayout;
    mDelete = new QPushButton(tr("&Delete"), this);
    mDelete->setObjectName("ButtonDelete");
    mClearAll = new QPushButton(tr("C&lear All"), this);
    mClearAll->setObjectName("ButtonClearAll");
    for (QPushButton* button : {mDelete, mClearAll}) {
        button->setAutoDefault(false);
        editRow->addWidget(button);
    }
    left->addLayout(editRow);

    mRepeat = new QCheckBox(tr("&Repeat Action"), this);
    mRepeat->setObjectName("CheckRepeat");
    mSkippable = new QCheckBox(tr("&Ignored if cant be moved"), this);
    mSkippable->setObjectName("CheckSkippable");
    left->addWidget(mRepeat);
    left->addWidget(mSkippable);
    auto* frequencyRow = new QHBoxLayout;
    auto* frequencyLabel = new QLabel(tr("Movement &Frequency:"), this);
    mFrequency = new QSpinBox(this);
    mFrequency->setObjectName("SpinFrequency");
    mFrequency->setRange(kMinMoveFrequency, kMaxMoveFrequency);
    frequencyLabel->setBuddy(mFrequency);
    frequencyRow->addWidget(frequencyLabel);
    frequencyRow->addWidget(mFrequency);
    frequencyRow->addStretch(1);
    left->addLayout(frequencyRow);

    // Right: a button per move command, column by column in the table's order.
    auto* commands = new QGroupBox(this);
    commands->setObjectName("GroupCommands");
    auto* grid = new QGridLayout(commands);
    grid->setSpacing(2);
    const auto buttons = MoveCommandButtons();
    const int rows = (static_cast<int>(buttons.size()) + kButtonColumns - 1) / kButtonColumns;
    QWidget* previous = mFrequency;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(ButtonCaption(buttons[i].Caption), commands);
        button->setObjectName(QString::asprintf("ButtonMove%02d", static_cast<int>(i)));
        button->setAutoDefault(false);
        button->setStyleSheet("text-align: left; padding: 2px 6px;");
        const int index = static_cast<int>(i);
        grid->addWidget(button, index % rows, index / rows);
        connect(button, &QPushButton::clicked, this, [this, index] {
            mModel.PressButton(index);
            mList->setFocus(Qt::OtherFocusReason);
        });
        setTabOrder(previous, button);
        previous = button;
        mButtons.push_back(button);
    }
    body->addWidget(commands);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("ButtonCancel");
    auto* help = new QPushButton(tr("&Help"), this);
    help->setObjectName("ButtonHelp");
    for (QPushButton* button : {ok, cancel, help}) {
        bottom->addWidget(button);
        setTabOrder(previous, button);
        previous = button;
    }
    cancel->setAutoDefault(false);
    help->setAutoDefault(false);
    main->addLayout(bottom);
    setTabOrder(mTarget, mList);
    setTabOrder(mList, mDelete);
    setTabOrder(mDelete, mClearAll);
    setTabOrder(mClearAll, mRepeat);
    setTabOrder(mRepeat, mSkippable);
    setTabOrder(mSkippable, mFrequency);

    connect(mTarget, &QComboBox::currentIndexChanged, this, [this](int index) { mModel.SetTargetIndex(index); });
    connect(mList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            mModel.Select(row);
    });
    // A right press has already selected the row under the pointer; the menu key keeps the selection.
    connect(mList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(BuildPopupMenu());
        menu->exec(mList->viewport()->mapToGlobal(at));
    });
    connect(mDelete, &QPushButton::clicked, this, [this] { mModel.Delete(); });
    connect(mClearAll, &QPushButton::clicked, this, [this] { mModel.ClearAll(); });
    connect(mRepeat, &QCheckBox::toggled, this, [this](bool on) { mModel.SetRepeat(on); });
    connect(mSkippable, &QCheckBox::toggled, this, [this](bool on) { mModel.SetSkippable(on); });
    connect(mFrequency, &QSpinBox::valueChanged, this, [this](int value) { mModel.SetFrequency(value); });
    mHeard = mModel.OnChanged.Connect([this] { UpdateView(); });

    ConnectStandardButtons();
    UpdateView();
}

TFormEDMoveRoute::~TFormEDMoveRoute() = default;

QPushButton* TFormEDMoveRoute::CommandButton(int index) const {
    return index >= 0 && index < static_cast<int>(mButtons.size()) ? mButtons[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}

void TFormEDMoveRoute::UpdateView() {
    const QSignalBlocker blockTarget(mTarget);
    const QSignalBlocker blockList(mList);
    const QSignalBlocker blockRepeat(mRepeat);
    const QSignalBlocker blockSkippable(mSkippable);
    const QSignalBlocker blockFrequency(mFrequency);

    mTarget->setCurrentIndex(mModel.TargetIndex());
    mTarget->setEnabled(mModel.TargetEnabled());

    const std::vector<std::string>& rows = mModel.Rows();
    // Rows are replaced in place so the list keeps its scroll position.
    while (mList->count() > static_cast<int>(rows.size()))
        delete mList->takeItem(mList->count() - 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString text = Cp932ToQString(rows[i]);
        if (QListWidgetItem* item = mList->item(static_cast<int>(i))) {
            if (item->text() != text)
                item->setText(text);
        } else {
            mList->addItem(text);
        }
    }
    mList->setCurrentRow(mModel.Selected());
    if (QListWidgetItem* current = mList->currentItem())
        mList->scrollToItem(current);

    mDelete->setEnabled(mModel.CanDelete());
    mClearAll->setEnabled(mModel.CanClearAll());
    mRepeat->setChecked(mModel.Repeat());
    mSkippable->setChecked(mModel.Skippable());
    mFrequency->setValue(mModel.Frequency());
    const bool room = mModel.CommandButtonsEnabled();
    for (QPushButton* button : mButtons)
        button->setEnabled(room);
}

QMenu* TFormEDMoveRoute::BuildPopupMenu() {
    auto* menu = new QMenu(this);
    const TMoveRouteMenuState state = mModel.MenuState();
    struct TEntry {
        const char* Caption;
        QKeySequence Keys;
        bool Enabled;
        std::function<void()> Run;
    };
    const TEntry entries[] = {
        {"Cu&t", QKeySequence(QKeySequence::Cut), state.Cut, [this] { mModel.Cut(); }},
        {"&Copy", QKeySequence(QKeySequence::Copy), state.Copy, [this] { mModel.Copy(); }},
        {"&Paste", QKeySequence(QKeySequence::Paste), state.Paste, [this] { mModel.Paste(); }},
        {"&Delete", QKeySequence(Qt::Key_Delete), state.Delete, [this] { mModel.Delete(); }},
    };
    for (const TEntry& entry : entries) {
        QAction* action = menu->addAction(tr(entry.Caption));
        action->setShortcut(entry.Keys);
        action->setEnabled(entry.Enabled);
        connect(action, &QAction::triggered, this, entry.Run);
    }
    return menu;
}

bool TFormEDMoveRoute::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mList && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cut))
            mModel.Cut();
        else if (key->matches(QKeySequence::Copy))
            mModel.Copy();
        else if (key->matches(QKeySequence::Paste))
            mModel.Paste();
        else if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier)
            mModel.Delete();
        else
            return TFormKelBase::eventFilter(watched, event);
        return true;
    }
    return TFormKelBase::eventFilter(watched, event);
}

void TFormEDMoveRoute::showEvent(QShowEvent* event) {
    TFormKelBase::showEvent(event);
    mList->setFocus(Qt::OtherFocusReason);
}

bool TFormEDMoveRoute::CanConfirm() {
    mModel.Confirm();
    return true;
}

bool RunMoveRouteEditor(QWidget* parent, TMoveRouteRequest& request, const TEventCommandContext& context) {
    TMoveRouteEditorModel model(request, context);
    TFormEDMoveRoute form(model, parent);
    return form.Run();
}

}  // namespace quillon
