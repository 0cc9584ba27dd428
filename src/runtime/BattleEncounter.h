// Random encounters: how many steps lie between two battles on a map (its "steps" setting and the
// terrain's rate), and which troop of the map's encounter list comes.
#pragma once

#include <cstdint>

namespace quillon {
class TKelDataBase;
class TKelMap;
class TKelEncount;
class TKelMapTree;
}  // namespace quillon

namespace quillon::runtime {

class TGameRandom;

// The terrain of a cell: its lower tile's terrain in the map's chipset (1 when unknown).
std::int32_t TerrainAt(const TKelDataBase& database, const TKelMap& map, int x, int y);

// The distance to the next battle in hundredths of a step: the map's steps times 50..150 %
// (0: no battles).
int DrawEncounterDistance(TGameRandom& random, std::int32_t steps);
// One step on a terrain: the distance shrinks by its encounter rate ("Enemy Magnify", percent).
// Answers true when a battle comes (the distance is used up).
bool EncounterStep(int& distance, std::int32_t terrainRate);

// A troop of the encounter list that is met on the terrain, each alike likely; 0 when none.
std::int32_t ChooseEncounter(const TKelDataBase& database, const TKelEncount& list, std::int32_t terrainId,
                             TGameRandom& random);

// Whether the map lets the party flee from its random battles: its escape permission, or its
// parent's when it says "Parent Map" (the root allows it).
bool MapAllowsEscape(const TKelMapTree& tree, std::int32_t mapId);

}  // namespace quillon::runtime
