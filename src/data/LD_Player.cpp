#include "data/LD_Player.h"

namespace quillon {

void TKelPlayerItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelPlayerItem::Reset() {
    Name.clear();
}

}  // namespace quillon
