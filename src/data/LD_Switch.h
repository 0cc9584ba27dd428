// The database list of switch names.
#pragma once

#include "data/Catalog.h"

#include <string>

namespace quillon {

class TKelSwitchItem : public TCatalogItem {
public:
    TKelSwitchItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 1; }
    void Reset() override;
    // "%.4d:%s", or the four digits alone when the name is empty.
    std::string DisplayText() const;
};

class TKelSwitch : public TKelList<TKelSwitchItem> {
public:
    TKelSwitch() : TKelList("Invalid Switch") {}
};

}  // namespace quillon
