#include "runtime/BattleEncounter.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "runtime/GameRandom.h"

#include <algorithm>
#include <vector>

namespace quillon::runtime {

namespace {

// More entries than this are not looked at (a damaged list).
constexpr int kMaxEncounterEntries = 1000;
// Deeper trees than this are damaged (a parent chain that loops).
constexpr int kMaxTreeDepth = 1000;

}  // namespace

std::int32_t TerrainAt(const TKelDataBase& database, const TKelMap& map, int x, int y) {
    if (x < 0 || y < 0 || x >= map.LowerLayer.Width() || y >= map.LowerLayer.Height())
        return TKelChipSetItem::kDefaultTerrain;
    const TKelChipSetItem* chips = database.ChipSet.FindByID(map.ChipSetId);
    const std::int32_t index = LowerTableIndex(map.LowerLayer.Cell(x, y));
    if (chips == nullptr || index < 0)
        return TKelChipSetItem::kDefaultTerrain;
    return chips->TerrainId(index);
}

int DrawEncounterDistance(TGameRandom& random, std::int32_t steps) {
    if (steps <= 0)
        return 0;
    const std::int64_t distance = static_cast<std::int64_t>(std::min<std::int32_t>(steps, 9999)) * random.Between(50, 150);
    return static_cast<int>(std::max<std::int64_t>(1, distance));
}

bool EncounterStep(int& distance, std::int32_t terrainRate) {
    if (distance <= 0 || terrainRate <= 0)
        return false;
    distance -= std::min<std::int32_t>(terrainRate, 10000);
    return distance <= 0;
}

std::int32_t ChooseEncounter(const TKelDataBase& database, const TKelEncount& list, std::int32_t terrainId,
                             TGameRandom& random) {
    std::vector<std::int32_t> troops;
    for (int i = 0; i < std::min(list.Count(), kMaxEncounterEntries); ++i) {
        const TKelEncountItem* entry = list.Items(i);
        const TKelMonGroupItem* troop = entry ? database.MonGroup.FindByID(entry->MonsterGroupId) : nullptr;
        if (troop != nullptr && troop->Terrain(terrainId))
            troops.push_back(troop->ID);
    }
    return troops.empty() ? 0 : troops[static_cast<std::size_t>(random.Below(static_cast<int>(troops.size())))];
}

bool MapAllowsEscape(const TKelMapTree& tree, std::int32_t mapId) {
    const TKelMapTreeItem* item = tree.FindByID(mapId);
    for (int depth = 0; item != nullptr && item->Kind != TKelMapTreeItem::mkRoot && depth < kMaxTreeDepth; ++depth) {
        if (item->EscapePermission != TKelMapTreeItem::ppParent)
            return item->EscapePermission == TKelMapTreeItem::ppEnable;
        item = tree.FindByID(item->ParentId);
    }
    return true;
}

}  // namespace quillon::runtime
