// An ID list: one "%.4d:%s" row per element of a record list, selection by ID.
#pragma once

#include "controls/IdList.h"

#include <QListWidget>

#include <cstdint>
#include <vector>

namespace quillon {

class TCatalog;

class TIdListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TIdListBox(QWidget* parent = nullptr);
    // Fills the rows from the list (none: empty) and keeps the selected ID where it still exists.
    void SetCatalog(const TCatalog* catalog);
    // Reads the list again (after names or elements changed).
    void Refresh();
    // The selected row's ID; 0 when none is selected.
    std::int32_t SelectedId() const;
    // Selects the row of an ID (without IdSelected); false when no row shows it.
    bool SelectId(std::int32_t id);
    const std::vector<TIdRow>& Rows() const { return mRows; }

signals:
    // The user selected a row.
    void IdSelected(std::int32_t id);

private:
    const TCatalog* mCatalog = nullptr;
    std::vector<TIdRow> mRows;
};

}  // namespace quillon
