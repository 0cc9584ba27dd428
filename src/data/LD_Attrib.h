// The database list of attributes.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelAttribItem : public TCatalogItem {
public:
    TKelAttribItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
};

class TKelAttrib : public TKelList<TKelAttribItem> {
public:
    TKelAttrib() : TKelList("An invalid attribute was specified") {}
};

}  // namespace quillon
