// The database list of terrains.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelGroundItem : public TCatalogItem {
public:
    TKelGroundItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelGround : public TKelList<TKelGroundItem> {
public:
    TKelGround() : TKelList("Invalid Terrain Designed") {}
};

}  // namespace quillon
