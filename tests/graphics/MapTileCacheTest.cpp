// The tile cache draws what DrawTile draws: every kind of tile ID, opaque and transparent sheets,
// cells cut by the board's edges, another brightness, a blending sheet.
#include "ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "graphics/MapTileCache.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;
using namespace chiptest;

namespace {

// Board filled with a pattern, so that pixels a tile leaves alone are told from black.
void Pattern(TOrlenBoard& board, int width, int height) {
    board.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            board.ScanLine(y)[x] = static_cast<std::uint16_t>(x * 977 + y * 131 + 1);
}

int Differing(const TOrlenBoard& a, const TOrlenBoard& b) {
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differing += a.ScanLine(y)[x] != b.ScanLine(y)[x];
    return differing;
}

}  // namespace

TEST(MapTileCache, DrawsWhatDrawTileDraws) {
    TEditorModeScope mode(true);
    const std::filesystem::path folder = TempFolder("tilecache");
    TBitmap chipset = SyntheticChipSet();
    FillCells(chipset, 288, 128, 16, 16, 0);  // upper tile 0 blank
    FillCells(chipset, 304, 128, 8, 16, 0);   // upper tile 1 half blank
    FillCells(chipset, 0, 128, 48, 8, 0);     // holes in the autotiles of the first block
    WriteResource(folder, "ChipSet", "Synth", chipset);
    TKelChipSetGraphic chips(FolderImageFinder({folder.string()}));
    chips.LoadGraphic("Synth");

    std::vector<std::int32_t> ids = {-1, 20000, 25000, 3150, 3999, 4600, 4999, 5144, 9999};
    for (int id = 0; id < 3000; id += 37)
        ids.push_back(id);
    for (int id = 3000; id < 3150; id += 50)
        ids.push_back(id);
    for (int id = 4000; id < 4600; id += 13)
        ids.push_back(id);
    for (int id = 5000; id < 5144; id += 11)
        ids.push_back(id);
    for (int id = 10000; id < 10144; id += 7)
        ids.push_back(id);
    ids.push_back(10001);

    struct TCase {
        int Size;
        bool Transparent;
        int Brightness;
        int Opacity;
    };
    for (const TCase& c : {TCase{32, false, 100, 255}, TCase{16, true, 100, 255}, TCase{8, true, 60, 255},
                           TCase{4, false, 100, 255}, TCase{16, true, 100, 128}, TCase{12, true, 100, 255}}) {
        chips.SetTransparent(c.Transparent);
        chips.Sheet().Opacity = c.Opacity;
        TMapTileCache cache;
        cache.Begin(chips, c.Size, 30);
        // Each ID at three places: inside, cut by the left and top edges, cut by the right and
        // bottom edges; twice, the second time from the cache.
        for (int round = 0; round < 2; ++round)
            for (std::int32_t id : ids) {
                TOrlenBoard expected, got;
                Pattern(expected, 3 * c.Size, 2 * c.Size);
                Pattern(got, 3 * c.Size, 2 * c.Size);
                expected.Brightness = got.Brightness = c.Brightness;
                for (const auto& [x, y] : {std::pair{c.Size, 0}, {-3, -c.Size / 2}, {3 * c.Size - 5, 2 * c.Size - 3}}) {
                    chips.DrawTile(expected, x, y, 30, id, false, c.Size);
                    cache.DrawTile(got, x, y, id);
                }
                ASSERT_EQ(Differing(expected, got), 0) << "tile " << id << " at " << c.Size << (c.Transparent ? " transparent" : "")
                                                       << " brightness " << c.Brightness << " opacity " << c.Opacity;
            }
        if (c.Opacity == 255) {
            EXPECT_LE(cache.Count(), static_cast<int>(ids.size()));  // each drawn once, not per cell
        }
    }
    chips.Sheet().Opacity = 255;
}
