#include "controls/SelSwitch_qt.h"

#include "controls/Cp932Edit_qt.h"
#include "controls/DataMaxChange_qt.h"
#include "data/LD_DataBase.h"
#include "platform/Cp932Text_qt.h"

#include "ui_SelSwitch.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>

namespace quillon {

TFormSelSwitch::TFormSelSwitch(QWidget* owner, TCatalog& list, TNameListKind kind)
    : TFormKelBase(owner), mModel(list), mUi(std::make_unique<Ui::TFormSelSwitch>()) {
    mUi->setupUi(this);
    const bool switches = kind == TNameListKind::Switch;
    setObjectName(switches ? "FormSelSwitch" : "FormSelVariable");
    setWindowTitle(switches ? tr("Select Switch") : tr("Select Variable"));

    mOverEdit1 = new TCp932Edit(static_cast<int>(TSelSwitchModel::kMaxNameBytes), this);
    mOverEdit1->setObjectName("OverEdit1");
    mOverEdit1->setMinimumWidth(180);
    mUi->NameLayout->addWidget(mOverEdit1, 1);
    mUi->LabelName->setBuddy(mOverEdit1);
    setTabOrder(mUi->DataList, mOverEdit1);
    setTabOrder(mOverEdit1, mUi->ButtonMax);

    // Room for a whole group without scrolling.
    const int rowHeight = mUi->DataList->fontMetrics().height() + 2;
    mUi->DataList->setMinimumHeight(rowHeight * TSelSwitchModel::kGroupSize + 8);
    mUi->DataList->setUniformItemSizes(true);
    mUi->GroupList->setUniformItemSizes(true);

    mPopup = new QMenu(this);
    mPopup->setObjectName("DataListPopupMenu");
    const auto menuAction = [this](const QString& text, const char* name, QKeySequence key, auto slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(key);
        // On the list only: the name box keeps its own copy, paste and delete.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        mUi->DataList->addAction(action);
        mPopup->addAction(action);
        return action;
    };
    menuAction(tr("&Copy"), "Menu_DataCopy", QKeySequence(Qt::CTRL | Qt::Key_C), &TFormSelSwitch::Menu_DataCopyClick);
    mPaste = menuAction(tr("&Paste"), "Menu_DataPaste", QKeySequence(Qt::CTRL | Qt::Key_V),
                       &TFormSelSwitch::Menu_DataPasteClick);
    menuAction(tr("C&lear"), "Menu_DataClear", QKeySequence(Qt::Key_Delete), &TFormSelSwitch::Menu_DataClearClick);
    connect(mUi->DataList, &QWidget::customContextMenuRequested, this, &TFormSelSwitch::DataListPopup);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TFormSelSwitch::UpdatePasteEnabled);
    UpdatePasteEnabled();

    auto* f4 = new QAction(this);
    f4->setObjectName("Action_F4");
    f4->setShortcuts({QKeySequence(Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_F4)});
    connect(f4, &QAction::triggered, this, &TFormSelSwitch::Action_F4Execute);
    addAction(f4);
    auto* f5 = new QAction(this);
    f5->setObjectName("Action_F5");
    f5->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_F5)});
    connect(f5, &QAction::triggered, this, &TFormSelSwitch::Action_F5Execute);
    addAction(f5);

    connect(mUi->GroupList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!mShowing)
            mModel.SelectGroup(row);
    });
    connect(mUi->DataList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!mShowing)
            mModel.SelectRow(row);
    });
    connect(mUi->DataList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        mModel.SelectRow(mUi->DataList->row(item));
        ButtonOkClick();
    });
    connect(mOverEdit1, &TCp932Edit::BytesEdited, this, [this] { mModel.SetCurrentName(mOverEdit1->Bytes()); });
    connect(mUi->ButtonApply, &QPushButton::clicked, this, &TFormSelSwitch::ButtonApplyClick);
    connect(mUi->ButtonMax, &QPushButton::clicked, this, &TFormSelSwitch::ButtonMaxClick);
    ConnectStandardButtons();

    mModelChanged = mModel.Changed.Connect([this](unsigned what) { ModelChanged(what); });
    FillGroups();
    FillRows();
    ShowSelection();
    mUi->ButtonApply->setEnabled(mModel.Pending());
    // Item views do not take their name from a label's buddy.
    mUi->GroupList->setAccessibleName(tr("Group"));
    mUi->DataList->setAccessibleName(switches ? tr("Switches") : tr("Variables"));
    mUi->DataList->setFocus();
}

TFormSelSwitch::~TFormSelSwitch() = default;

QListWidget* TFormSelSwitch::GroupList() const { return mUi->GroupList; }
QListWidget* TFormSelSwitch::DataList() const { return mUi->DataList; }
QLabel* TFormSelSwitch::Label1() const { return mUi->Label1; }
QPushButton* TFormSelSwitch::ButtonApply() const { return mUi->ButtonApply; }

void TFormSelSwitch::Open(std::int32_t id) { mModel.Open(id); }

void TFormSelSwitch::ModelChanged(unsigned what) {
    if (what & TSelSwitchModel::cfGroups)
        FillGroups();
    if (what & TSelSwitchModel::cfRows)
        FillRows();
    if (what & TSelSwitchModel::cfSelection)
        ShowSelection();
    else if (what & TSelSwitchModel::cfName)
        ShowName();
    if (what & TSelSwitchModel::cfPending)
        mUi->ButtonApply->setEnabled(mModel.Pending());
}

void TFormSelSwitch::FillGroups() {
    const QSignalBlocker blocker(mUi->GroupList);
    mUi->GroupList->clear();
    for (const std::string& row : mModel.GroupRows())
        mUi->GroupList->addItem(QString::fromLatin1(row));
}

void TFormSelSwitch::FillRows() {
    const QSignalBlocker blocker(mUi->DataList);
    mUi->DataList->clear();
    for (const std::string& row : mModel.Rows())
        mUi->DataList->addItem(Cp932ToQString(row));
}

void TFormSelSwitch::ShowSelection() {
    mShowing = true;
    mUi->GroupList->setCurrentRow(mModel.Group());
    mUi->DataList->setCurrentRow(mModel.Row());
    mShowing = false;
    mUi->Label1->setText(QString::fromLatin1(mModel.IdLabel()));
    mOverEdit1->SetBytes(mModel.CurrentName());
}

void TFormSelSwitch::ShowName() {
    // The row in place; the box only when the name did not come from it (paste, clear).
    if (QListWidgetItem* item = mUi->DataList->item(mModel.Row()))
        item->setText(Cp932ToQString(mModel.RowText(mModel.Row())));
    if (mOverEdit1->Bytes() != mModel.CurrentName())
        mOverEdit1->SetBytes(mModel.CurrentName());
}

void TFormSelSwitch::ButtonOkClick() {
    mResult = mModel.Confirm();
    Confirm();
}

void TFormSelSwitch::ButtonApplyClick() { mModel.Apply(); }

void TFormSelSwitch::ButtonMaxClick() {
    int count = mModel.Count();
    if (ChangeDataCount(this, mModel.Count(), count))
        mModel.SetCount(count);
}

void TFormSelSwitch::Menu_DataCopyClick() {
    QGuiApplication::clipboard()->setText(Cp932ToQString(mModel.CopyText()));
}

void TFormSelSwitch::Menu_DataPasteClick() {
    UpdatePasteEnabled();
    if (!mPaste->isEnabled())
        return;
    // Text the code page cannot hold is refused whole, as typing it would be.
    if (const std::optional<std::string> bytes = QStringToCp932(QGuiApplication::clipboard()->text()))
        mModel.PasteText(*bytes);
}

void TFormSelSwitch::Menu_DataClearClick() { mModel.ClearName(); }

void TFormSelSwitch::Action_F4Execute() { mModel.MoveUp(); }

void TFormSelSwitch::Action_F5Execute() { mModel.MoveDown(); }

void TFormSelSwitch::UpdatePasteEnabled() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    mPaste->setEnabled(data && data->hasText());
}

void TFormSelSwitch::DataListPopup(const QPoint& at) {
    UpdatePasteEnabled();
    mPopup->popup(mUi->DataList->viewport()->mapToGlobal(at));
}

namespace {

bool ChooseName(QWidget* parent, TCatalog& list, TNameListKind kind, std::int32_t& id, bool& databaseChanged,
                std::optional<QPoint> offset) {
    TFormSelSwitch form(parent, list, kind);
    if (offset)
        form.SetFixedOffset(*offset);
    form.Open(id);
    const bool ok = form.Run();
    if (form.Model().Applied())
        databaseChanged = true;
    if (ok)
        id = form.Result();
    return ok;
}

}  // namespace

bool ChooseSwitch(QWidget* parent, TKelDataBase& db, std::int32_t& id, bool& databaseChanged,
                  std::optional<QPoint> offset) {
    return ChooseName(parent, db.Switch, TNameListKind::Switch, id, databaseChanged, offset);
}

bool ChooseVariable(QWidget* parent, TKelDataBase& db, std::int32_t& id, bool& databaseChanged,
                    std::optional<QPoint> offset) {
    return ChooseName(parent, db.Variable, TNameListKind::Variable, id, databaseChanged, offset);
}

}  // namespace quillon
