// The database list of troops.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelMonGroupItem : public TCatalogItem {
public:
    TKelMonGroupItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelMonGroup : public TKelList<TKelMonGroupItem> {
public:
    TKelMonGroup() : TKelList("Invalid Monsters Group") {}
};

}  // namespace quillon
