#include "data/LD_Variable.h"

namespace quillon {

void TKelVariableItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelVariableItem::Reset() {
    Name.clear();
}

std::string TKelVariableItem::DisplayText() const {
    return FormatIdName(ID, Name);
}

}  // namespace quillon
