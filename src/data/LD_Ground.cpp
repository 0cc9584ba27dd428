#include "data/LD_Ground.h"

namespace quillon {

void TKelGroundItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelGroundItem::Reset() {
    Name.clear();
}

}  // namespace quillon
