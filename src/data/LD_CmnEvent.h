// The database list of common events.
#pragma once

#include "data/LD_Event.h"

namespace quillon {

class TKelCommonEventItem : public TKelBaseEventPageItem {
public:
    static constexpr int kClipboardFormat = 584;
    enum : std::uint8_t { ctAutoStart = 3, ctParallel = 4, ctCall = 5 };

    std::uint8_t Trigger = ctCall;
    std::uint8_t SwitchCondition = 0;  // runs only while SwitchId is on
    std::int32_t SwitchId = 1;

    TKelCommonEventItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 22; }
    void Reset() override;
};

class TKelCommonEvent : public TKelList<TKelCommonEventItem> {
public:
    TKelCommonEvent() : TKelList("An invalid common event was specified") {}
};

}  // namespace quillon
