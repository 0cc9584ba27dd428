#include "events/ScriptListAccessible_qt.h"

#include "events/ScriptList_qt.h"
#include "platform/TextCodec.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <unordered_map>

namespace quillon {

namespace {

QString RowText(const TScriptListBox& list, int row) {
    const auto& items = list.Model().Items();
    if (row < 0 || row >= static_cast<int>(items.size()))
        return {};
    // Rows are indented by blanks; a reader reads the text itself.
    return QString::fromUtf8(Cp932ToUtf8(items[static_cast<std::size_t>(row)])).trimmed();
}

// One script line as a list item. It reads everything from the list when asked, so it stays
// right while lines come and go; lines beyond the end make it invalid.
class TScriptRowAccessible final : public QAccessibleInterface {
public:
    TScriptRowAccessible(TScriptListBox* list, int row) : mList(list), mRow(row) {}

    bool isValid() const override { return mList && mRow < mList->Model().Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return mList ? mList->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(mList.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return isValid() && t == QAccessible::Name ? RowText(*mList, mRow) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QWidget* view = mList->viewport();
        const int h = mList->LineHeight();
        const QRect local(0, (mRow - mList->Model().TopIndex()) * h, view->width(), h);
        return QRect(view->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const TScriptListModel& model = mList->Model();
        s.selectable = true;
        s.focusable = true;
        s.selected = model.IsSelected(mRow);
        s.focused = mList->hasFocus() && mRow == model.ItemIndex();
        const int top = model.TopIndex();
        s.offscreen = mRow < top || mRow >= top + model.VisibleLines();
        s.invisible = !mList->isVisible();
        return s;
    }

private:
    QPointer<TScriptListBox> mList;
    int mRow;
};

// The list: its children are the rows, nothing else.
class TScriptListAccessible final : public QAccessibleWidget {
public:
    explicit TScriptListAccessible(TScriptListBox* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~TScriptListAccessible() override {
        for (const auto& [row, id] : mRows)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return List()->Model().Count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        DropRowsFrom(childCount());
        auto found = mRows.find(index);
        if (found == mRows.end()) {
            auto* row = new TScriptRowAccessible(List(), index);  // owned by Qt's cache from here on
            found = mRows.emplace(index, QAccessible::registerAccessibleInterface(row)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [row, id] : mRows)
            if (QAccessible::accessibleInterface(id) == child)
                return row < childCount() ? row : -1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const TScriptListBox* list = List();
        const QPoint at = list->viewport()->mapFromGlobal(QPoint(x, y));
        if (!list->viewport()->rect().contains(at))
            return nullptr;
        return child(list->RowAt(at.y()));
    }
    QAccessibleInterface* focusChild() const override {
        return List()->hasFocus() ? child(List()->Model().ItemIndex()) : nullptr;
    }
    // Rows past the end are forgotten, so that a list that shrank hands out no stale items.
    void DropRowsFrom(int count) const {
        for (auto it = mRows.begin(); it != mRows.end();) {
            if (it->first >= count) {
                QAccessible::deleteAccessibleInterface(it->second);
                it = mRows.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    TScriptListBox* List() const { return static_cast<TScriptListBox*>(widget()); }
    mutable std::unordered_map<int, QAccessible::Id> mRows;
};

QAccessibleInterface* ScriptListFactory(const QString&, QObject* object) {
    if (auto* list = qobject_cast<TScriptListBox*>(object))
        return new TScriptListAccessible(list);
    return nullptr;
}

}  // namespace

void InstallScriptListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ScriptListFactory);
        return true;
    }();
    (void)installed;
}

void TScriptListAccessibilityNotes::Notify(TScriptListBox& list, bool focusGained) {
    const TScriptListModel& model = list.Model();
    const int count = model.Count();
    const bool rowsChanged = count != mCount;
    const bool cursorMoved = model.ItemIndex() != mItemIndex;
    const bool selectionChanged = model.SelStart() != mSelStart || model.SelEnd() != mSelEnd;
    mCount = count;
    mItemIndex = model.ItemIndex();
    mSelStart = model.SelStart();
    mSelEnd = model.SelEnd();
    if (!QAccessible::isActive())
        return;
    if (rowsChanged) {
        if (auto* iface = dynamic_cast<TScriptListAccessible*>(QAccessible::queryAccessibleInterface(&list)))
            iface->DropRowsFrom(count);
        QAccessibleEvent reorder(&list, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
    if (selectionChanged || rowsChanged) {
        QAccessibleEvent selection(&list, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&selection);
    }
    if (model.ItemIndex() >= 0 && list.hasFocus() && (cursorMoved || focusGained || rowsChanged)) {
        // The reader reads the cursor line as the focused item.
        QAccessibleEvent focus(&list, QAccessible::Focus);
        focus.setChild(model.ItemIndex());
        QAccessible::updateAccessibility(&focus);
        if (model.IsSelected(model.ItemIndex())) {
            QAccessibleEvent selected(&list, QAccessible::Selection);
            selected.setChild(model.ItemIndex());
            QAccessible::updateAccessibility(&selected);
        }
    }
}

}  // namespace quillon
