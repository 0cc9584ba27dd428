// The database list of monsters.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelMonsterItem : public TCatalogItem {
public:
    TKelMonsterItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelMonster : public TKelList<TKelMonsterItem> {
public:
    TKelMonster() : TKelList("Invalid Enemy Chara") {}
};

}  // namespace quillon
