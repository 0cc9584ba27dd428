// The party's vehicles: boat, ship and airship. Each stands on one map (or on none) and shows
// its own character graphic; the hero boards one by facing it and pressing decide, and the
// terrain under it says where it may go and where the airship may land.
#pragma once

#include "runtime/GameCharacter.h"

#include <cstdint>

namespace quillon {
class TKelGroundItem;
}

namespace quillon::runtime {

enum TVehicleKind : int { vkBoat = 0, vkShip = 1, vkAirship = 2 };
inline constexpr int kVehicleCount = 3;
// Character IDs of the vehicles in the commands: 10002 boat, 10003 ship, 10004 airship.
inline constexpr std::int32_t kCharacterBoat = 10002;

// "boat", "ship", "airship" (the state JSON's names); "" for another kind.
const char* VehicleName(int kind);
// The vehicle a command's character ID names, or -1.
int VehicleOfCharacter(std::int32_t characterId);

// Whether a vehicle may move onto a cell of a terrain (null: the terrain does not exist, which
// lets no vehicle pass but the airship).
bool VehiclePasses(int kind, const TKelGroundItem* terrain);
// Whether the airship may come down on a cell of a terrain.
bool AirshipMayLand(const TKelGroundItem* terrain);

class TGameVehicle : public TGameCharacter {
public:
    TGameVehicle();
    int Kind = vkBoat;
    std::int32_t MapId = 0;  // 0: on no map
};

}  // namespace quillon::runtime
