// The database list of chipsets.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelChipSetItem : public TCatalogItem {
public:
    TKelChipSetItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelChipSet : public TKelList<TKelChipSetItem> {
public:
    TKelChipSet() : TKelList("An invalid chip set was specified") {}
};

}  // namespace quillon
