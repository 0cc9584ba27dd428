#include "runtime/GameVehicle.h"

#include "data/LD_Ground.h"

namespace quillon::runtime {

const char* VehicleName(int kind) {
    switch (kind) {
    case vkBoat: return "boat";
    case vkShip: return "ship";
    case vkAirship: return "airship";
    default: return "";
    }
}

int VehicleOfCharacter(std::int32_t characterId) {
    const std::int32_t kind = characterId - kCharacterBoat;
    return kind >= 0 && kind < kVehicleCount ? static_cast<int>(kind) : -1;
}

bool VehiclePasses(int kind, const TKelGroundItem* terrain) {
    if (terrain == nullptr)
        return kind == vkAirship;
    switch (kind) {
    case vkBoat: return terrain->BoatPassable != 0;
    case vkShip: return terrain->ShipPassable != 0;
    case vkAirship: return terrain->AirshipPassable != 0;
    default: return false;
    }
}

bool AirshipMayLand(const TKelGroundItem* terrain) { return terrain != nullptr && terrain->AirshipLanding != 0; }

TGameVehicle::TGameVehicle() {
    AnimationType = atStepping;
    Speed = 4;
}

}  // namespace quillon::runtime
