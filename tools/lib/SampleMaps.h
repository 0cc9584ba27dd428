// The sample project's maps, painted from the starter chipsets: a world map (an island with
// grass, banks, forest, mountains, roads, a castle and a village), a village with houses, a
// forest and a cave.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

class TKelMap;

namespace rtp {

enum class TSampleMapKind { World, Village, Forest, Cave };

// Paints both layers of a map already sized, with water and autotile shapes resolved as the pen
// resolves them. `walkable` receives, per cell (column + row x width), whether someone can
// stand there (an event, a start position).
void PaintSampleMap(TKelMap& map, TSampleMapKind kind, std::vector<bool>& walkable);

// The upper tile (0..143) at the top-left of the n-th large object of a starter chipset
// (0 world, 1 town), and of the first tile showing small object `index`; -1 when there is none.
int LargeObjectTile(int chipset, int n);
int SmallObjectTile(int chipset, int index);

}  // namespace rtp
}  // namespace quillon
