#include "data/LD_Item.h"

namespace quillon {

void TKelItemItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelItemItem::Reset() {
    Name.clear();
}

}  // namespace quillon
