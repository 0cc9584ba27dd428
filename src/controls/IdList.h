// The rows of an ID list: every element of a record list as "%.4d:%s" (its 1-based ID and its
// name, bytes of code page 932), in the list's order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TCatalog;

struct TIdRow {
    std::int32_t ID = 0;
    std::string Text;  // CP932 bytes
};

// "%.4d:%s"; IDs beyond four digits show whole.
std::string IdListText(std::int32_t id, const std::string& name);
std::vector<TIdRow> IdListRows(const TCatalog* catalog);
// The row showing an ID; -1 when no row does.
int IdRowIndex(const std::vector<TIdRow>& rows, std::int32_t id);

}  // namespace quillon
