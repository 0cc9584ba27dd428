// Checks of pasted map content. A clipboard block may come from another program: it is read as
// far as it is well formed, and then held to what this editor itself stores, as a map file is.
// Tiles outside their layer's ranges become the layer's empty tile, events outside the map and
// events beyond the map's limit go, names longer than their field are cut. The report says what
// was changed, so that the user can be told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

class TKelMap;
class TKelMapLayer;
class TKelMapTreeItem;
struct TMapCellBlock;

// The most events a map holds (event IDs run from 1 to 5000).
inline constexpr int kMaxMapEvents = 5000;

struct TPasteReport {
    std::int64_t LowerTilesReplaced = 0;  // became the lower layer's empty tile
    std::int64_t UpperTilesReplaced = 0;  // became the upper layer's empty tile
    std::int64_t EventsOutside = 0;       // dropped: outside the map
    std::int64_t EventsOverLimit = 0;     // dropped: beyond the first kMaxMapEvents
    std::int64_t NamesCut = 0;            // cut to their field's length

    bool Empty() const {
        return LowerTilesReplaced == 0 && UpperTilesReplaced == 0 && EventsOutside == 0 && EventsOverLimit == 0 &&
               NamesCut == 0;
    }
    bool operator==(const TPasteReport&) const = default;
};

// Whether the editor ever stores the ID in the lower layer: water tiles (three kinds, corner
// masks 0..15, shapes 0..49), the three animated blocks, the twelve ground autotile blocks and
// the 144 plain tiles.
bool IsLowerLayerTile(std::int32_t id);
// Whether the editor ever stores the ID in the upper layer: the 144 upper tiles.
bool IsUpperLayerTile(std::int32_t id);

// Each replaces what it does not store and adds to the report what it changed.
void CheckPastedCells(TMapCellBlock& block, TPasteReport& report);
void CheckPastedLayer(TKelMapLayer& layer, bool upper, TPasteReport& report);
// Both layers, the events (outside the map, beyond the limit, names) of a map.
void CheckPastedMap(TKelMap& map, TPasteReport& report);
// A name cut to maxBytes CP932 bytes, counted in the report when it was longer.
std::string CheckPastedName(const std::string& name, std::size_t maxBytes, TPasteReport& report);

}  // namespace quillon
