#include "controls/IdList.h"

#include "data/Catalog.h"

#include <cstdio>

namespace quillon {

std::string IdListText(std::int32_t id, const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%.4d:", static_cast<int>(id));
    return number + name;
}

std::vector<TIdRow> IdListRows(const TCatalog* catalog) {
    std::vector<TIdRow> rows;
    if (!catalog)
        return rows;
    rows.reserve(static_cast<std::size_t>(catalog->Count()));
    for (int i = 0; i < catalog->Count(); ++i)
        if (const TCatalogItem* item = catalog->Items(i))
            rows.push_back({item->ID, IdListText(item->ID, item->Name)});
    return rows;
}

int IdRowIndex(const std::vector<TIdRow>& rows, std::int32_t id) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].ID == id)
            return static_cast<int>(i);
    return -1;
}

}  // namespace quillon
