// What the skill, item and monster pages share without a window: the rows of the lists they
// choose from (animations and skills by position, names for the mark and rank lists), and the
// rule by which a mark of a per-ID array is stored.
#pragma once

#include "controls/FieldForm.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

class TCatalog;

// The names of a list's elements in list order.
std::vector<std::string> CatalogNames(const TCatalog* list);
// A choice per element whose value is its position + 1 (how the pages store an animation or a
// skill chosen in a list), shown "%.4d:%s".
std::vector<TFieldChoice> PositionChoices(const TCatalog* list);
// The value a position list shows for a stored one: itself while it names a row, else 1 (the
// first row). Showing never stores it.
std::int32_t ShownPosition(const TCatalog* list, std::int32_t stored);
// Stores a position list's choice: `id` when it names a row and differs from `stored`. False
// when nothing changed.
bool StorePosition(const TCatalog* list, std::int32_t& stored, std::int32_t id);

// The marks of the IDs 1..rows (entry id set when `get` answers non-zero).
std::vector<bool> MarkRows(std::int32_t rows, const std::function<std::uint8_t(std::int32_t id)>& get);

// How many of a record's `count` elements a page shows that lets the user make at most `limit`
// of them (troop members on the field, battle pages, frames marked for many cells): a file may
// hold more, which the page leaves as they are.
inline int ShownCount(int count, int limit) { return count < 0 ? 0 : (count < limit ? count : limit); }

// Before an element is added to a list numbered only for its order (frame cells, troop members,
// action patterns, at most `limit` of them): IDs above the limit, which leave no room for the
// next one (a file or a block may number them so), are first renumbered 1, 2 ... in list order.
void MakeRoomAbove(TCatalog& list, std::int32_t limit);

// A per-ID array of a record as the mark and rank lists edit it.
struct TIdArrayAccess {
    std::int32_t Count = 0;                                   // the entries the array holds
    std::function<std::int32_t(std::int32_t id)> Get;         // entry id (1-based), or its fill value
    std::function<void(std::int32_t count)> Resize;           // to `count` entries
    std::function<void(std::int32_t id, std::int32_t v)> Set; // entry id (inside the array)
};

// Stores the value of entry `id` of a list of `rows` entries. An array shorter than the list is
// resized to it first and then every entry the list showed is written, so that the entries read
// by their fill rule keep what the list showed. False when nothing changed.
bool StoreShownEntry(const TIdArrayAccess& array, std::int32_t rows, std::int32_t id, std::int32_t value);

}  // namespace quillon
