// The database list of items.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelItemItem : public TCatalogItem {
public:
    TKelItemItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelItem : public TKelList<TKelItemItem> {
public:
    TKelItem() : TKelList("Invalid Item Designed") {}
};

}  // namespace quillon
