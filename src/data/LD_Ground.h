// The database list of terrains.
#pragma once

#include "data/Catalog.h"

#include <cstdint>
#include <string>

namespace quillon {

class TKelGroundItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 579;
    static constexpr int kNameMaxBytes = 16;  // on the terrain page; the record stores any length

    // How characters standing on the terrain are drawn.
    enum : std::uint8_t { gdNormal = 0, gdTranslucentThird = 1, gdTranslucentHalf = 2, gdTranslucentWhole = 3 };

    std::int32_t Damage = 0;          // taken per step
    std::int32_t EncounterRate = 100; // "Enemy Magnify", percent
    std::string BackdropName;         // battle background (folder "Backdrop")
    std::uint8_t BoatPassable = 0;
    std::uint8_t ShipPassable = 0;
    std::uint8_t AirshipPassable = 1;
    std::uint8_t AirshipLanding = 1;
    std::uint8_t DisplayMethod = gdNormal;

    TKelGroundItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 11; }
    void Reset() override;
};

// Terrains are looked up by index only.
class TKelGround : public TKelList<TKelGroundItem> {
public:
    TKelGround() : TKelList("Invalid Terrain Designed") {}

private:
    using TKelList::ItemById;
};

}  // namespace quillon
