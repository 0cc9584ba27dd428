#include "mapedit/EncounterList_qt.h"

#include "data/Catalog.h"
#include "platform/Cp932Text_qt.h"
#include "ui_ED_Map2.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>

namespace quillon {

// --- the encounter dialog ---

TFormEDMapEncount::TFormEDMapEncount(TEncounterDialogModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDMapEncount>()) {
    mUi->setupUi(this);
    for (const std::string& name : model.Names())
        mUi->ComboTroop->addItem(Cp932ToQString(name));
    mUi->ComboTroop->setCurrentIndex(model.Index());
    ConnectStandardButtons();
}

TFormEDMapEncount::~TFormEDMapEncount() = default;

bool TFormEDMapEncount::CanConfirm() {
    mModel.SetIndex(mUi->ComboTroop->currentIndex());
    mModel.Confirm();
    return true;
}

// --- the list ---

TEncounterListView::TEncounterListView(TKelEncount& list, const TCatalog* troops, QWidget* parent)
    : QTreeWidget(parent), mModel(list, troops), mTroops(troops) {
    setObjectName("ListEncounters");
    setColumnCount(1);
    setHeaderLabels({tr("Monsters Party")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    EditTroop = [this](std::int32_t current, std::int32_t& chosen) {
        TEncounterDialogModel model(mTroops, current);
        TFormEDMapEncount dialog(model, this);
        if (!dialog.Run())
            return false;
        chosen = model.TroopId();
        return true;
    };
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        mModel.Select(current ? indexOfTopLevelItem(current) : -1);
    });
    mModel.Select(0);
    Refresh();
}

void TEncounterListView::Refresh() {
    const QSignalBlocker blocker(this);
    clear();
    for (int row = 0; row < mModel.RowCount(); ++row)
        addTopLevelItem(new QTreeWidgetItem(QStringList{Cp932ToQString(mModel.RowText(row))}));
    if (QTreeWidgetItem* selected = topLevelItem(mModel.Selected()))
        setCurrentItem(selected);
    if (QTreeWidgetItem* target = topLevelItem(mModel.ScrollTarget()))
        scrollToItem(target);
}

bool TEncounterListView::RunCommand(TEncounterCommand command) {
    if (!mModel.IsEnabled(command))
        return false;
    bool changed = false;
    switch (command) {
    case TEncounterCommand::Edit: {
        std::int32_t chosen = 0;
        if (EditTroop && EditTroop(mModel.TroopIdAt(mModel.Selected()), chosen))
            changed = mModel.Edit(chosen);
        break;
    }
    case TEncounterCommand::Cut: changed = mModel.Cut(); break;
    case TEncounterCommand::Copy: mModel.Copy(); break;
    case TEncounterCommand::Paste: changed = mModel.Paste(); break;
    case TEncounterCommand::Delete: changed = mModel.Delete(); break;
    }
    if (changed)
        Refresh();
    return changed;
}

QMenu* TEncounterListView::BuildPopupMenu() {
    auto* menu = new QMenu(this);
    struct TEntry {
        TEncounterCommand Command;
        const char* Caption;
        QKeySequence Keys;
    };
    const TEntry entries[] = {
        {TEncounterCommand::Edit, "&Edit...", QKeySequence(Qt::Key_Return)},
        {TEncounterCommand::Cut, "Cu&t", QKeySequence(QKeySequence::Cut)},
        {TEncounterCommand::Copy, "&Copy", QKeySequence(QKeySequence::Copy)},
        {TEncounterCommand::Paste, "&Paste", QKeySequence(QKeySequence::Paste)},
        {TEncounterCommand::Delete, "&Delete", QKeySequence(Qt::Key_Delete)},
    };
    for (const TEntry& entry : entries) {
        QAction* action = menu->addAction(tr(entry.Caption));
        action->setShortcut(entry.Keys);
        action->setEnabled(mModel.IsEnabled(entry.Command));
        const TEncounterCommand command = entry.Command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        if (entry.Command == TEncounterCommand::Edit)
            menu->setDefaultAction(action);
    }
    return menu;
}

void TEncounterListView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && itemAt(event->pos()) == nullptr && mModel.Selected() < 0)
        return;
    if (mModel.Selected() < 0)
        return;
    QMenu* menu = BuildPopupMenu();
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? viewport()->mapToGlobal(QPoint(0, 0)) : event->globalPos();
    menu->exec(at);
    delete menu;
}

void TEncounterListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        RunCommand(TEncounterCommand::Edit);
    } else if (event->matches(QKeySequence::Cut)) {
        RunCommand(TEncounterCommand::Cut);
    } else if (event->matches(QKeySequence::Copy)) {
        RunCommand(TEncounterCommand::Copy);
    } else if (event->matches(QKeySequence::Paste)) {
        RunCommand(TEncounterCommand::Paste);
    } else if (event->key() == Qt::Key_Delete) {
        RunCommand(TEncounterCommand::Delete);
    } else {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TEncounterListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (currentItem() != nullptr)
        RunCommand(TEncounterCommand::Edit);
}

}  // namespace quillon
