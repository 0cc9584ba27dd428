#include "data/LD_Monster.h"

namespace quillon {

void TKelMonsterItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelMonsterItem::Reset() {
    Name.clear();
}

}  // namespace quillon
