#include "data/LD_MonGroup.h"

namespace quillon {

void TKelMonGroupItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelMonGroupItem::Reset() {
    Name.clear();
}

}  // namespace quillon
