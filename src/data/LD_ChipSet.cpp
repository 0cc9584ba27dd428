#include "data/LD_ChipSet.h"

namespace quillon {

void TKelChipSetItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelChipSetItem::Reset() {
    Name.clear();
}

}  // namespace quillon
