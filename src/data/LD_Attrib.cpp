#include "data/LD_Attrib.h"

namespace quillon {

namespace {
constexpr std::array<std::int32_t, 5> kDefaultRates{300, 200, 100, 50, 0};
}

void TKelAttribItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    static const char* const kRateNames[] = {"RateA", "RateB", "RateC", "RateD", "RateE"};
    if (fieldNumber >= 11 && fieldNumber <= 15) {
        const auto rank = static_cast<std::size_t>(fieldNumber - 11);
        SetIntField(d, &Rate[rank], kDefaultRates[rank], kRateNames[rank]);
        return;
    }
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetBufferField(d, &Kind, 1, "Kind"); break;
    default: break;
    }
}

void TKelAttribItem::Reset() {
    Name.clear();
    Kind = akWeapon;
    Rate = kDefaultRates;
}

}  // namespace quillon
