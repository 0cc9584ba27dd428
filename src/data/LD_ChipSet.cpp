#include "data/LD_ChipSet.h"

#include <algorithm>

namespace quillon {

void TKelChipSetItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetStringField(d, &FileName, true, "FileName"); break;
    // The large arrays are left out of a save while they hold their reset content.
    case 3:
        if (loading || TerrainIdsChanged())
            SetBufferField(d, mTerrainIds.data(), static_cast<std::int32_t>(mTerrainIds.size()), "TerrainIds");
        break;
    case 4:
        if (loading || LowerFlagsChanged())
            SetBufferField(d, mLowerFlags.data(), static_cast<std::int32_t>(mLowerFlags.size()), "LowerFlags");
        break;
    case 5:
        if (loading || UpperFlagsChanged())
            SetBufferField(d, mUpperFlags.data(), static_cast<std::int32_t>(mUpperFlags.size()), "UpperFlags");
        break;
    case 11: SetIntField(d, &SeaAnimation, saSequence1232, "SeaAnimation"); break;
    case 12: SetIntField(d, &SeaSpeed, ssSlow, "SeaSpeed"); break;
    default: break;
    }
}

void TKelChipSetItem::Reset() {
    Name.clear();
    FileName.clear();
    static const auto defaultTerrainIds = [] {
        decltype(mTerrainIds) ids{};
        for (std::size_t chip = 0; chip < kLowerChips; ++chip)
            ids[2 * chip] = static_cast<std::uint8_t>(kDefaultTerrain);  // 16-bit little-endian
        return ids;
    }();
    mTerrainIds = defaultTerrainIds;
    mLowerFlags.fill(kDefaultFlags);
    mUpperFlags.fill(kDefaultFlags);
    mUpperFlags[0] = kEmptyUpperChipFlags;
    SeaAnimation = saSequence1232;
    SeaSpeed = ssSlow;
}

bool TKelChipSetItem::TerrainIdsChanged() const {
    for (int chip = 0; chip < kLowerChips; ++chip)
        if (TerrainId(chip) != kDefaultTerrain)
            return true;
    return false;
}

bool TKelChipSetItem::LowerFlagsChanged() const {
    return std::any_of(mLowerFlags.begin(), mLowerFlags.end(),
                       [](std::uint8_t flags) { return flags != kDefaultFlags; });
}

bool TKelChipSetItem::UpperFlagsChanged() const {
    // The empty chip (entry 0) is not looked at.
    return std::any_of(mUpperFlags.begin() + 1, mUpperFlags.end(),
                       [](std::uint8_t flags) { return flags != kDefaultFlags; });
}

std::int32_t TKelChipSetItem::TerrainId(int chip) const {
    if (chip < 0 || chip >= kLowerChips)
        return 0;
    const auto at = static_cast<std::size_t>(2 * chip);
    return mTerrainIds[at] | (mTerrainIds[at + 1] << 8);
}

void TKelChipSetItem::SetTerrainId(int chip, std::int32_t terrainId) {
    if (chip < 0 || chip >= kLowerChips)
        return;
    const auto at = static_cast<std::size_t>(2 * chip);
    mTerrainIds[at] = static_cast<std::uint8_t>(terrainId);
    mTerrainIds[at + 1] = static_cast<std::uint8_t>(terrainId >> 8);
}

std::uint8_t TKelChipSetItem::LowerFlags(int chip) const {
    if (chip < 0 || chip >= kLowerChips)
        return 0;
    return mLowerFlags[static_cast<std::size_t>(chip)];
}

void TKelChipSetItem::SetLowerFlags(int chip, std::uint8_t flags) {
    if (chip < 0 || chip >= kLowerChips)
        return;
    mLowerFlags[static_cast<std::size_t>(chip)] = flags;
}

std::uint8_t TKelChipSetItem::UpperFlags(int chip) const {
    if (chip < 0 || chip >= kUpperChips)
        return 0;
    return mUpperFlags[static_cast<std::size_t>(chip)];
}

void TKelChipSetItem::SetUpperFlags(int chip, std::uint8_t flags) {
    if (chip < 0 || chip >= kUpperChips)
        return;
    mUpperFlags[static_cast<std::size_t>(chip)] = flags;
}

}  // namespace quillon
