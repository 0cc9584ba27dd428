// The database list of battle animations.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelAnimationItem : public TCatalogItem {
public:
    TKelAnimationItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelAnimation : public TKelList<TKelAnimationItem> {
public:
    TKelAnimation() : TKelList("An invalid battle animate cartoon was specified") {}
};

}  // namespace quillon
