#include "database/PageRows_qt.h"

#include "platform/Cp932Text_qt.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTreeView>

#include <algorithm>
#include <utility>

namespace quillon {

TPageRows::TPageRows(QStringList headers, TCount count, TText text, QObject* parent)
    : QAbstractTableModel(parent), mHeaders(std::move(headers)), mCount(std::move(count)), mText(std::move(text)) {}

int TPageRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : std::max(0, mCount()); }

int TPageRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::max<qsizetype>(1, mHeaders.size()));
}

QVariant TPageRows::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return Cp932ToQString(mText(index.row(), index.column()));
}

QVariant TPageRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= mHeaders.size())
        return {};
    return mHeaders[section];
}

void TPageRows::Reset() {
    beginResetModel();
    endResetModel();
}

void TPageRows::RowChanged(int row) {
    if (row < 0 || row >= rowCount())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

int CurrentRow(const QAbstractItemView& view) {
    const QModelIndex current = view.selectionModel() ? view.selectionModel()->currentIndex() : QModelIndex();
    return current.isValid() ? current.row() : -1;
}

void ShowCurrentRow(QAbstractItemView& view, int row, int scrollRow) {
    QAbstractItemModel* model = view.model();
    QItemSelectionModel* selection = view.selectionModel();
    if (!model || !selection)
        return;
    if (row < 0 || row >= model->rowCount()) {
        selection->clear();
        return;
    }
    const QModelIndex at = model->index(row, 0);
    selection->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int shown = scrollRow >= 0 && scrollRow < model->rowCount() ? scrollRow : row;
    view.scrollTo(model->index(shown, 0));
}

void MakeRowsView(QTreeView& view, TPageRows* rows) {
    view.setRootIsDecorated(false);
    view.setItemsExpandable(false);
    // Equal rows: the view measures one row, not every row of a huge record.
    view.setUniformRowHeights(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setModel(rows);
}

}  // namespace quillon
