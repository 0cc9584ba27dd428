#include "mapedit/MapTreeView_qt.h"

#include "mapedit/MapPasteCheck_qt.h"
#include "platform/Cp932Text_qt.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

#include <QAction>
#include <algorithm>
#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kIdRole = Qt::UserRole + 1;

// The three node images: the project, a map, an area.
QIcon KindIcon(int kind) {
    static QIcon icons[3];
    if (icons[0].isNull()) {
        for (int k = 0; k < 3; ++k) {
            QPixmap pixmap(16, 16);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing, false);
            if (k == 0) {  // a folder
                p.setPen(QColor(120, 90, 20));
                p.setBrush(QColor(240, 200, 90));
                p.drawRect(1, 4, 13, 10);
                p.drawRect(1, 2, 6, 2);
            } else if (k == 1) {  // a map sheet with land and water
                p.setPen(QColor(40, 60, 40));
                p.setBrush(QColor(90, 170, 80));
                p.drawRect(1, 1, 13, 13);
                p.fillRect(8, 8, 6, 6, QColor(60, 110, 210));
            } else {  // an area: a dashed frame
                p.setPen(QPen(QColor(180, 40, 40), 1, Qt::DashLine));
                p.setBrush(QColor(250, 230, 230));
                p.drawRect(2, 3, 11, 9);
            }
            icons[k] = QIcon(pixmap);
        }
    }
    return icons[std::clamp(kind, 0, 2)];
}

}  // namespace

// --- the tree control ---

TMapTreeWidget::TMapTreeWidget(TMapTreeModel& model, QWidget* parent) : QTreeWidget(parent), mModel(model) {
    setObjectName("TreeView");
    setAccessibleName(tr("Map Tree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
}

std::int32_t TMapTreeWidget::IdOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kIdRole).toInt() : -1;
}

QTreeWidgetItem* TMapTreeWidget::ItemOf(std::int32_t id) const {
    return mItems.value(id, nullptr);
}

void TMapTreeWidget::ClearNodes() {
    qDeleteAll(mPendingTops);
    mPendingTops.clear();
    mItems.clear();
    clear();
}

QTreeWidgetItem* TMapTreeWidget::AddNode(QTreeWidgetItem* parent, std::int32_t id) {
    auto* item = new QTreeWidgetItem;
    item->setData(0, kIdRole, id);
    if (parent)
        parent->addChild(item);
    else
        mPendingTops.append(item);
    mItems.insert(id, item);
    return item;
}

void TMapTreeWidget::FinishNodes() {
    addTopLevelItems(mPendingTops);
    mPendingTops.clear();
}

QStringList TMapTreeWidget::mimeTypes() const {
    return {kDragFormat};
}

QMimeData* TMapTreeWidget::mimeData(const QList<QTreeWidgetItem*>& items) const {
    if (items.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kDragFormat, QByteArray::number(IdOf(items.front())));
    return data;
}

bool TMapTreeWidget::Allowed(const QMimeData* data, const QPoint& pos, std::int32_t& dragged,
                             std::int32_t& target) const {
    if (data == nullptr || !data->hasFormat(kDragFormat))
        return false;
    bool ok = false;
    dragged = data->data(kDragFormat).toInt(&ok);
    QTreeWidgetItem* onto = itemAt(pos);
    if (!ok || onto == nullptr)
        return false;
    target = IdOf(onto);
    return mModel.CanDrop(dragged, target);
}

void TMapTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData() && event->mimeData()->hasFormat(kDragFormat) && !mModel.PickerMode())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMapTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
    std::int32_t dragged = 0, target = 0;
    // The "no" cursor where the drop is not allowed.
    if (Allowed(event->mimeData(), event->position().toPoint(), dragged, target)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TMapTreeWidget::dropEvent(QDropEvent* event) {
    if (!DropAt(event->mimeData(), event->position().toPoint())) {
        event->ignore();
        return;
    }
    // The view was rebuilt from the model; Qt must not move the items itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool TMapTreeWidget::DropAt(const QMimeData* data, const QPoint& pos) {
    std::int32_t dragged = 0, target = 0;
    if (!Allowed(data, pos, dragged, target))
        return false;
    emit NodeDropped(dragged, target);
    return true;
}

void TMapTreeWidget::contextMenuEvent(QContextMenuEvent* event) {
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    emit MenuRequested(keyboard ? QPoint(0, 0) : viewport()->mapFromGlobal(event->globalPos()), keyboard);
    event->accept();
}

// --- the window ---

TFormMapTree::TFormMapTree(TMapTreeModel& model, QWidget* parent)
    : QWidget(parent), mModel(model), mTree(new TMapTreeWidget(model, this)) {
    setObjectName("FormMapTree");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mTree);
    // Others listening to the model (the place picker's model) go on hearing it.
    mModelChanged = mModel.OnChanged.Connect([this] { ModelChanged(); });
    mModelPasteChecked =
        mModel.OnPasteChecked.Connect([this](const TPasteReport& report) { ShowPasteReportLater(this, report); });
    mModelRefused = mModel.OnRefused.Connect([this](TMapTreeRefusal) {
        ShowMessageBox(QStringToCp932(tr("Every map ID from 1 to 9999 is in use.")).value_or(std::string()),
                       mbOk | mbIconWarning, this);
    });
    connect(mTree, &QTreeWidget::currentItemChanged, this, &TFormMapTree::TreeCurrentItemChanged);
    connect(mTree, &TMapTreeWidget::MenuRequested, this, &TFormMapTree::TreeContextMenu);
    connect(mTree, &TMapTreeWidget::NodeDropped, this, &TFormMapTree::TreeNodeDropped);
    connect(mTree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { if (!mRebuilding) mModel.SetExpanded(TMapTreeWidget::IdOf(item), true); });
    connect(mTree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { if (!mRebuilding) mModel.SetExpanded(TMapTreeWidget::IdOf(item), false); });

    // Short-cuts of the popup menus, bound to this window only.
    const std::pair<QKeySequence, TMapTreeCommand> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), TMapTreeCommand::Copy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), TMapTreeCommand::Paste},
        {QKeySequence(Qt::Key_Delete), TMapTreeCommand::Delete},
        {QKeySequence(Qt::CTRL | Qt::Key_H), TMapTreeCommand::ShiftMap},
    };
    for (const auto& [sequence, command] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        const TMapTreeCommand c = command;
        connect(shortcut, &QShortcut::activated, this, [this, c] { RunCommand(c); });
    }
    // The damaged-file notice and question in the window's language.
    mModel.TellDamaged = [this](const TFilledText& text) {
        ShowMessageBox(Utf8ToCp932(FilledText(text).toStdString()), mbOk | mbIconWarning, this);
    };
    mModel.AskReplaceDamaged = [this](const TFilledText& text) {
        return ShowMessageBox(Utf8ToCp932(FilledText(text).toStdString()), mbYesNo | mbIconQuestion, this) == mrYes;
    };
    RefreshView();
}

TFormMapTree::~TFormMapTree() {
    mModel.TellDamaged = nullptr;
    mModel.AskReplaceDamaged = nullptr;
}

QString TFormMapTree::FilledText(const TFilledText& text) {
    QString shown = tr(text.Format.c_str());
    for (const std::string& arg : text.Args)
        shown = shown.arg(Cp932ToQString(arg));
    return shown;
}

void TFormMapTree::RefreshView() {
    mRebuilding = true;
    mTree->setUpdatesEnabled(false);
    mTree->ClearNodes();
    std::vector<QTreeWidgetItem*> parents;
    for (const TKelMapTreeNode& node : mModel.Nodes()) {
        const TKelMapTreeItem* item = mModel.MapTree().FindByID(node.Id);
        if (item == nullptr)
            continue;
        parents.resize(static_cast<std::size_t>(std::min<int>(node.Level, static_cast<int>(parents.size()))));
        QTreeWidgetItem* widgetItem = mTree->AddNode(parents.empty() ? nullptr : parents.back(), node.Id);
        widgetItem->setText(0, Cp932ToQString(item->Name));
        widgetItem->setIcon(0, KindIcon(item->Kind));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
        if (!mModel.PickerMode() && item->Kind != TKelMapTreeItem::mkRoot)
            flags |= Qt::ItemIsDragEnabled;
        widgetItem->setFlags(flags);
        parents.push_back(widgetItem);
    }
    mTree->FinishNodes();
    // Expansion after the whole tree exists (an item without children cannot be expanded).
    for (const TKelMapTreeNode& node : mModel.Nodes())
        if (QTreeWidgetItem* widgetItem = mTree->ItemOf(node.Id))
            widgetItem->setExpanded(node.Expanded || node.Level == 0);
    if (const auto selected = mModel.Selected()) {
        if (QTreeWidgetItem* widgetItem = mTree->ItemOf(*selected)) {
            mTree->setCurrentItem(widgetItem);
            mTree->scrollToItem(widgetItem);
        }
    }
    mTree->setUpdatesEnabled(true);
    mRebuilding = false;
}

void TFormMapTree::ModelChanged() {
    // Commands change the tree's structure or texts: the view follows the model.
    if (!mRebuilding)
        RefreshView();
    if (OnMapSelected)
        OnMapSelected();
}

void TFormMapTree::TreeCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem*) {
    if (mRebuilding || current == nullptr)
        return;
    const std::int32_t id = TMapTreeWidget::IdOf(current);
    if (mModel.Selected() == id)
        return;
    mRebuilding = true;  // selection alone does not rebuild the view
    try {
        mModel.SelectNode(id);
    } catch (...) {
        mRebuilding = false;
        throw;
    }
    mRebuilding = false;
}

QMenu* TFormMapTree::BuildPopupMenu() {
    const std::vector<TMapTreeMenuItem> items = mModel.PopupMenu();
    if (items.empty())
        return nullptr;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const TMapTreeMenuItem& item : items) {
        if ((item.Command == TMapTreeCommand::Copy || item.Command == TMapTreeCommand::Delete) &&
            !menu->actions().isEmpty())
            menu->addSeparator();
        QAction* action = menu->addAction(tr(item.Caption));
        if (*item.ShortCut)
            action->setShortcut(QKeySequence(QString::fromLatin1(item.ShortCut)));
        action->setEnabled(item.Enabled);
        const TMapTreeCommand command = item.Command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
    return menu;
}

void TFormMapTree::TreeContextMenu(const QPoint& pos, bool keyboard) {
    if (keyboard) {
        // The Applications key: the selected node's menu at the tree's top-left corner.
        if (QMenu* menu = BuildPopupMenu())
            menu->popup(mTree->mapToGlobal(QPoint(0, 0)));
        return;
    }
    // A right click selects the node under it first.
    if (QTreeWidgetItem* item = mTree->itemAt(pos))
        mTree->setCurrentItem(item);
    if (QMenu* menu = BuildPopupMenu())
        menu->popup(mTree->viewport()->mapToGlobal(pos));
}

void TFormMapTree::TreeNodeDropped(std::int32_t dragged, std::int32_t target) {
    mModel.Drop(dragged, target);
}

void TFormMapTree::RunCommand(TMapTreeCommand command) {
    mModel.Execute(command);
}

void TFormMapTree::SetPickerMode(bool value) {
    mModel.SetPickerMode(value);
    mTree->setDragEnabled(!value);
    mTree->setDragDropMode(value ? QAbstractItemView::NoDragDrop : QAbstractItemView::DragDrop);
    RefreshView();
}

void TFormMapTree::SetReadOnly(bool value) {
    mTree->setEnabled(!value);
}

}  // namespace quillon
