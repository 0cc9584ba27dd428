// Small maps for the edit model tests.
#pragma once

#include "mapedit/MapEditUtils.h"

#include <memory>
#include <string>
#include <vector>

namespace quillon::test {

inline constexpr std::int32_t kGrass = 4000;      // ground autotile block 0 (entry 6)
inline constexpr std::int32_t kSand = 4050;       // block 1 (entry 7)
inline constexpr std::int32_t kDirt = 4100;       // block 2 (entry 8)
inline constexpr std::int32_t kWaterA = 0;
inline constexpr std::int32_t kWaterB = 1000;
inline constexpr std::int32_t kDeep = 2000;
inline constexpr std::int32_t kPlain = 5000;      // plain lower tile 0

// A map of width x height whose lower layer is all `fill`.
inline std::unique_ptr<TKelMap> MakeMap(std::int32_t width, std::int32_t height, std::uint16_t fill = kPlain) {
    auto map = std::make_unique<TKelMap>();
    map->SetWidth(width);
    map->SetHeight(height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            map->LowerLayer.SetCell(x, y, fill);
    return map;
}

// A model on the map that draws with a 1 x 1 pattern of `tile` and counts redraws.
struct TEditFixture {
    std::unique_ptr<TKelMap> Map;
    TKelMapEditModel Model;
    std::vector<TPoint> Redrawn;

    explicit TEditFixture(std::unique_ptr<TKelMap> map) : Map(std::move(map)) {
        Model.LoadMap(Map.get());
        Model.OnRedrawCell = [this](std::int32_t c, std::int32_t r) { Redrawn.push_back(TPoint{c, r}); };
    }
    void Use(std::uint16_t tile) { Model.Pattern().SetSingle(tile); }
    void Place(std::int32_t x, std::int32_t y, std::uint16_t tile, TKelEditKeys keys = {}) {
        Use(tile);
        Model.PatternAnchor = TPoint{x, y};
        Model.PlaceTile(x, y, keys);
    }
    std::int32_t Lower(std::int32_t x, std::int32_t y) const { return Map->LowerLayer.Cell(x, y); }
    std::int32_t Upper(std::int32_t x, std::int32_t y) const { return Map->UpperLayer.Cell(x, y); }
    // The lower layer as rows of entry letters: '.' plain, 'g' grass, 's' sand, 'a'/'b'/'d' water.
    std::string Terrain() const {
        std::string out;
        for (std::int32_t y = 0; y < Map->Height(); ++y) {
            for (std::int32_t x = 0; x < Map->Width(); ++x) {
                const std::int32_t chip = TileToChip(Lower(x, y));
                out += chip == 0 ? 'a' : chip == 1 ? 'b' : chip == 2 ? 'd' : chip == 6 ? 'g' : chip == 7 ? 's' : '.';
            }
            out += '\n';
        }
        return out;
    }
};

}  // namespace quillon::test
