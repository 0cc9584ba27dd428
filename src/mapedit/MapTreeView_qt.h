// The map tree window: a tree view over TMapTreeModel with the kind images, drag and drop of
// nodes, the popup menus and their short-cuts.
#pragma once

#include "mapedit/MapTreeView.h"

#include <QHash>
#include <QTreeWidget>
#include <QWidget>

#include <functional>

class QMenu;

namespace quillon {

// The tree control: drags carry the node's ID; a drop is offered only where the model allows it.
class TMapTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr const char* kDragFormat = "application/x-quillon-map-tree-node";
    TMapTreeWidget(TMapTreeModel& model, QWidget* parent);
    QTreeWidgetItem* ItemOf(std::int32_t id) const;
    // A fill: ClearNodes empties the tree, AddNode makes an item for an ID under a parent item
    // made before (none: at the top), FinishNodes puts them all into the tree at once. Items are
    // made away from the view and found by ID through an index of their own, so that a fill
    // stays linear in the number of items.
    void ClearNodes();
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, std::int32_t id);
    void FinishNodes();
    static std::int32_t IdOf(const QTreeWidgetItem* item);
    // What a drop of the data at a viewport position does; false when it is not allowed.
    bool DropAt(const QMimeData* data, const QPoint& pos);

signals:
    void NodeDropped(std::int32_t dragged, std::int32_t target);
    // A context menu was asked for: by the mouse at a viewport position, or by the keyboard.
    void MenuRequested(const QPoint& pos, bool keyboard);

protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool Allowed(const QMimeData* data, const QPoint& pos, std::int32_t& dragged, std::int32_t& target) const;
    TMapTreeModel& mModel;
    QHash<std::int32_t, QTreeWidgetItem*> mItems;
    QList<QTreeWidgetItem*> mPendingTops;
};

class TFormMapTree : public QWidget {
    Q_OBJECT
public:
    // The model is not owned; its OnChanged is taken over (use OnMapSelected instead).
    TFormMapTree(TMapTreeModel& model, QWidget* parent = nullptr);
    ~TFormMapTree() override;

    TMapTreeModel& Model() const { return mModel; }
    TMapTreeWidget* Tree() const { return mTree; }
    // The owner's notification (HandleMapSelected): selection changed, also after commands.
    std::function<void()> OnMapSelected;

    // Rebuilds the view from the model's nodes (after LoadTree, FillView, ClearTree).
    void RefreshView();
    // The popup menu of the selected node, built fresh with its states (null in picker mode).
    QMenu* BuildPopupMenu();
    void SetPickerMode(bool value);
    // Read-only: the tree is disabled and painted in the disabled colour.
    void SetReadOnly(bool value);
    // A model's message in the window's language, its placeholders filled.
    static QString FilledText(const TFilledText& text);

private slots:
    void TreeCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void TreeContextMenu(const QPoint& pos, bool keyboard);
    void TreeNodeDropped(std::int32_t dragged, std::int32_t target);

private:
    void ModelChanged();
    void RunCommand(TMapTreeCommand command);

    TMapTreeModel& mModel;
    TMapTreeWidget* mTree;
    TConnection mModelChanged;
    TConnection mModelPasteChecked;
    TConnection mModelRefused;
    bool mRebuilding = false;
};

}  // namespace quillon
