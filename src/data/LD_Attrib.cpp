#include "data/LD_Attrib.h"

namespace quillon {

void TKelAttribItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelAttribItem::Reset() {
    Name.clear();
}

}  // namespace quillon
