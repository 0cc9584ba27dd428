#include "data/LD_Status.h"

namespace quillon {

void TKelStatusItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelStatusItem::Reset() {
    Name.clear();
}

}  // namespace quillon
