// The database list of skills.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelSkillItem : public TCatalogItem {
public:
    TKelSkillItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelSkill : public TKelList<TKelSkillItem> {
public:
    TKelSkill() : TKelList("Invalid Tech Skill") {}
};

}  // namespace quillon
