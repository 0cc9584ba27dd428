#include "data/LD_Animation.h"

namespace quillon {

void TKelAnimationItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelAnimationItem::Reset() {
    Name.clear();
}

}  // namespace quillon
