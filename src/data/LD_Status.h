// The database list of conditions.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelStatusItem : public TCatalogItem {
public:
    TKelStatusItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelStatus : public TKelList<TKelStatusItem> {
public:
    TKelStatus() : TKelList("Invalid Condition State") {}
};

}  // namespace quillon
