#include "data/LD_Switch.h"

namespace quillon {

void TKelSwitchItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelSwitchItem::Reset() {
    Name.clear();
}

std::string TKelSwitchItem::DisplayText() const {
    return FormatIdName(ID, Name);
}

}  // namespace quillon
