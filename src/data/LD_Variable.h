// The database list of variable names.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelVariableItem : public TCatalogItem {
public:
    TKelVariableItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 1; }
    void Reset() override;
    // "%.4d:%s", or the four digits alone when the name is empty.
    std::string DisplayText() const;
};

class TKelVariable : public TKelList<TKelVariableItem> {
public:
    TKelVariable() : TKelList("Invalid Variable") {}
};

}  // namespace quillon
