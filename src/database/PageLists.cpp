#include "database/PageLists.h"

#include "data/Catalog.h"

namespace quillon {

std::vector<std::string> CatalogNames(const TCatalog* list) {
    std::vector<std::string> names;
    if (!list)
        return names;
    names.reserve(static_cast<std::size_t>(list->Count()));
    for (int i = 0; i < list->Count(); ++i)
        names.push_back(list->Items(i)->Name);
    return names;
}

std::vector<TFieldChoice> PositionChoices(const TCatalog* list) {
    std::vector<TFieldChoice> choices;
    if (!list)
        return choices;
    choices.reserve(static_cast<std::size_t>(list->Count()));
    for (int i = 0; i < list->Count(); ++i)
        choices.push_back({i + 1, list->Items(i)->Name});
    return choices;
}

std::int32_t ShownPosition(const TCatalog* list, std::int32_t stored) {
    const int count = list ? list->Count() : 0;
    return stored >= 1 && stored <= count ? stored : 1;
}

bool StorePosition(const TCatalog* list, std::int32_t& stored, std::int32_t id) {
    if (!list || id < 1 || id > list->Count() || id == stored)
        return false;
    stored = id;
    return true;
}

std::vector<bool> MarkRows(std::int32_t rows, const std::function<std::uint8_t(std::int32_t id)>& get) {
    std::vector<bool> marks;
    for (std::int32_t id = 1; id <= rows; ++id)
        marks.push_back(get(id) != 0);
    return marks;
}

bool StoreShownEntry(const TIdArrayAccess& array, std::int32_t rows, std::int32_t id, std::int32_t value) {
    if (id < 1 || id > rows || array.Get(id) == value)
        return false;
    if (array.Count < rows) {
        std::vector<std::int32_t> shown;
        shown.reserve(static_cast<std::size_t>(rows));
        for (std::int32_t i = 1; i <= rows; ++i)
            shown.push_back(array.Get(i));
        array.Resize(rows);
        for (std::int32_t i = 1; i <= rows; ++i)
            array.Set(i, shown[static_cast<std::size_t>(i - 1)]);
    }
    array.Set(id, value);
    return true;
}

void MakeRoomAbove(TCatalog& list, std::int32_t limit) {
    if (list.Count() > 0 && list.Items(list.Count() - 1)->ID > limit)
        list.SortAndRenumber([](const TCatalogItem&, const TCatalogItem&) { return false; });
}

}  // namespace quillon
