// The database list of heroes.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelPlayerItem : public TCatalogItem {
public:
    TKelPlayerItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelPlayer : public TKelList<TKelPlayerItem> {
public:
    TKelPlayer() : TKelList("Invalid Hero") {}
};

}  // namespace quillon
