#include "mapedit/MapPasteCheck.h"

#include "data/LD_Map.h"
#include "mapedit/MapEditor.h"
#include "platform/Cp932Limit.h"

namespace quillon {

bool IsLowerLayerTile(std::int32_t id) {
    switch (TileKind(id)) {
    case TTileKind::Water: return WaterCornerMask(id) < 16;
    case TTileKind::Animated: return AnimatedBlock(id) < kAnimatedBlockCount;
    case TTileKind::Ground: return GroundBlock(id) < kGroundBlockCount;
    case TTileKind::Lower: return true;
    default: return false;
    }
}

bool IsUpperLayerTile(std::int32_t id) {
    return id >= kTileUpperFirst && id < kTileUpperFirst + kPlainTileCount;
}

namespace {

// Replaces every cell the layer never stores by its empty tile; answers how many there were.
std::int64_t ReplaceForeign(std::uint16_t* cells, std::size_t count, bool upper) {
    std::int64_t replaced = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (upper ? IsUpperLayerTile(cells[i]) : IsLowerLayerTile(cells[i]))
            continue;
        cells[i] = upper ? kUpperFillValue : kLowerFillValue;
        ++replaced;
    }
    return replaced;
}

}  // namespace

void CheckPastedCells(TMapCellBlock& block, TPasteReport& report) {
    report.LowerTilesReplaced += ReplaceForeign(block.Lower.data(), block.Lower.size(), false);
    report.UpperTilesReplaced += ReplaceForeign(block.Upper.data(), block.Upper.size(), true);
}

void CheckPastedLayer(TKelMapLayer& layer, bool upper, TPasteReport& report) {
    (upper ? report.UpperTilesReplaced : report.LowerTilesReplaced) +=
        ReplaceForeign(layer.CellData(), layer.Cells().size(), upper);
}

std::string CheckPastedName(const std::string& name, std::size_t maxBytes, TPasteReport& report) {
    if (name.size() <= maxBytes)
        return name;
    ++report.NamesCut;
    return LimitCp932Bytes(name, maxBytes);
}

void CheckPastedMap(TKelMap& map, TPasteReport& report) {
    CheckPastedLayer(map.LowerLayer, false, report);
    CheckPastedLayer(map.UpperLayer, true, report);
    const std::int32_t width = map.Width(), height = map.Height();
    report.EventsOutside += map.Events.DeleteIf([&](const TCatalogItem& element) {
        const auto& event = static_cast<const TKelEventItem&>(element);
        return event.X < 0 || event.X >= width || event.Y < 0 || event.Y >= height;
    });
    // The list is sorted by ID: the events with the lowest IDs stay.
    int kept = 0;
    report.EventsOverLimit += map.Events.DeleteIf([&](const TCatalogItem&) { return ++kept > kMaxMapEvents; });
    for (int i = 0; i < map.Events.Count(); ++i) {
        TKelEventItem& event = *map.Events.Items(i);
        event.Name = CheckPastedName(event.Name, kEventNameMaxBytes, report);
    }
}

}  // namespace quillon
