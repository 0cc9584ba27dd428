#include "data/LD_Ground.h"

namespace quillon {

void TKelGroundItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetIntField(d, &Damage, 0, "Damage"); break;
    case 3: SetIntField(d, &EncounterRate, 100, "EncounterRate"); break;
    case 4: SetStringField(d, &BackdropName, true, "BackdropName"); break;
    case 5: SetByteField(d, &BoatPassable, 0, "BoatPassable"); break;
    case 6: SetByteField(d, &ShipPassable, 0, "ShipPassable"); break;
    case 7: SetByteField(d, &AirshipPassable, 1, "AirshipPassable"); break;
    case 9: SetByteField(d, &AirshipLanding, 1, "AirshipLanding"); break;
    case 11: SetBufferField(d, &DisplayMethod, 1, "DisplayMethod"); break;
    default: break;
    }
}

void TKelGroundItem::Reset() {
    Name.clear();
    Damage = 0;
    EncounterRate = 100;
    BackdropName.clear();
    BoatPassable = 0;
    ShipPassable = 0;
    AirshipPassable = 1;
    AirshipLanding = 1;
    DisplayMethod = gdNormal;
}

}  // namespace quillon
