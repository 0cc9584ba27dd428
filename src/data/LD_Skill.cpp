#include "data/LD_Skill.h"

namespace quillon {

void TKelSkillItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetStringField(d, &Name, true, "Name");
}

void TKelSkillItem::Reset() {
    Name.clear();
}

}  // namespace quillon
