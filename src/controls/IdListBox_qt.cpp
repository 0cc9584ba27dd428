#include "controls/IdListBox_qt.h"

#include "platform/Cp932Text_qt.h"

#include <QSignalBlocker>

namespace quillon {

TIdListBox::TIdListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(mRows.size()))
            emit IdSelected(mRows[static_cast<std::size_t>(row)].ID);
    });
}

void TIdListBox::SetCatalog(const TCatalog* catalog) {
    mCatalog = catalog;
    Refresh();
}

void TIdListBox::Refresh() {
    const std::int32_t selected = SelectedId();
    {
        const QSignalBlocker blocker(this);
        mRows = IdListRows(mCatalog);
        clear();
        for (const TIdRow& row : mRows)
            addItem(Cp932ToQString(row.Text));
    }
    SelectId(selected);
}

std::int32_t TIdListBox::SelectedId() const {
    const int row = currentRow();
    return row >= 0 && row < static_cast<int>(mRows.size()) ? mRows[static_cast<std::size_t>(row)].ID : 0;
}

bool TIdListBox::SelectId(std::int32_t id) {
    const int row = IdRowIndex(mRows, id);
    if (row < 0)
        return false;
    const QSignalBlocker blocker(this);
    setCurrentRow(row);
    scrollToItem(item(row));
    return true;
}

}  // namespace quillon
