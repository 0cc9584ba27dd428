// The database list of attributes.
#pragma once

#include "data/Catalog.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

class TKelAttribItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 580;
    static constexpr int kNameMaxBytes = 8;  // on the attribute page; the record stores any length

    enum : std::uint8_t { akWeapon = 0, akMagic = 1 };

    std::uint8_t Kind = akWeapon;  // "Classification"
    // "Rate of Effect" in percent for ranks 0..4 (A..E).
    std::array<std::int32_t, 5> Rate{300, 200, 100, 50, 0};

    TKelAttribItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 15; }
    void Reset() override;
};

// Attributes are looked up by index only.
class TKelAttrib : public TKelList<TKelAttribItem> {
public:
    TKelAttrib() : TKelList("An invalid attribute was specified") {}

private:
    using TKelList::ItemById;
};

}  // namespace quillon
