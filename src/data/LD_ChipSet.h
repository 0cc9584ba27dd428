// Chipsets: a tile graphic with the terrain and passability of each of its chips.
#pragma once

#include "data/Catalog.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

// One chipset. Chips are numbered as the chip palette shows them, six per row (index = column +
// 6 x row). The per-chip arrays are written only when they differ from their reset content.
class TKelChipSetItem : public TCatalogItem {
public:
    // Passability and mark bits of a chip (both layers).
    enum : std::uint8_t {
        cfPassDown = 0x01,
        cfPassLeft = 0x02,
        cfPassRight = 0x04,
        cfPassUp = 0x08,
        cfStar = 0x10,
        cfSquare = 0x20,   // only on the lower layer's autotile chips 6..17
        cfCounter = 0x40,  // upper layer
    };

    static constexpr int kClipboardFormat = 583;
    static constexpr int kMaxNameBytes = 20;  // what the editor accepts; the record stores any length
    static constexpr int kLowerChips = 162;
    static constexpr int kUpperChips = 144;
    static constexpr std::int32_t kDefaultTerrain = 1;
    static constexpr std::uint8_t kDefaultFlags = cfPassDown | cfPassLeft | cfPassRight | cfPassUp;
    // Upper chip 0 is the empty chip: passable and starred.
    static constexpr std::uint8_t kEmptyUpperChipFlags = kDefaultFlags | cfStar;

    // Sea chips animation sequence and speed.
    enum : std::int32_t { saSequence1232 = 0, saSequence123 = 1 };
    enum : std::int32_t { ssSlow = 0, ssFast = 1 };

    std::string FileName;  // chipset graphic (folder "ChipSet")
    std::int32_t SeaAnimation = saSequence1232;
    std::int32_t SeaSpeed = ssSlow;

    TKelChipSetItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 12; }
    void Reset() override;

    // Chip accessors by 0-based chip index; outside the layer's range reads answer 0 and writes
    // do nothing. Terrain IDs are 16-bit: a write keeps the low 16 bits.
    std::int32_t TerrainId(int chip) const;
    void SetTerrainId(int chip, std::int32_t terrainId);
    std::uint8_t LowerFlags(int chip) const;
    void SetLowerFlags(int chip, std::uint8_t flags);
    std::uint8_t UpperFlags(int chip) const;
    void SetUpperFlags(int chip, std::uint8_t flags);

private:
    bool TerrainIdsChanged() const;
    bool LowerFlagsChanged() const;
    bool UpperFlagsChanged() const;

    std::array<std::uint8_t, 2 * kLowerChips> mTerrainIds{};  // 16-bit little-endian
    std::array<std::uint8_t, kLowerChips> mLowerFlags{};
    std::array<std::uint8_t, kUpperChips> mUpperFlags{};
};

class TKelChipSet : public TKelList<TKelChipSetItem> {
public:
    TKelChipSet() : TKelList("An invalid chip set was specified") {}
};

}  // namespace quillon
