// The rows of a page's lists (entries, frames, timings, learned skills, action patterns), read
// from the page model only for the rows a view paints. A view over a record of any size is made
// and refilled in constant time: the model answers a row count and the text of one cell, and
// no item is made per row.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <string>

class QAbstractItemView;
class QTreeView;

namespace quillon {

class TPageRows : public QAbstractTableModel {
public:
    using TCount = std::function<int()>;
    // The text of a cell, as stored (code page 932).
    using TText = std::function<std::string(int row, int column)>;

    // headers: one caption per column (the column count); a list view shows column 0.
    TPageRows(QStringList headers, TCount count, TText text, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rows changed (their number or many of them), or only one.
    void Reset();
    void RowChanged(int row);

private:
    QStringList mHeaders;
    TCount mCount;
    TText mText;
};

// The row of a view's current index (-1 for none).
int CurrentRow(const QAbstractItemView& view);
// Makes a row current and selected and scrolls it into view (`scrollRow`: another row to show,
// -1 for the current one); a row outside the view's rows clears the selection. The view's
// signals are not blocked: callers that must not hear it guard themselves.
void ShowCurrentRow(QAbstractItemView& view, int row, int scrollRow = -1);
// A tree view over page rows that looks like a plain list with columns.
void MakeRowsView(QTreeView& view, TPageRows* rows);

}  // namespace quillon
