#include "ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/MapRender.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace chiptest;

namespace {

class MapRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder("maprender");
        TBitmap chipset = SyntheticChipSet();
        FillCells(chipset, 288, 128, 16, 16, 0);  // upper tile 0 blank
        // Upper tile 1: index 0 on its left half, so the lower tile shows through there.
        FillCells(chipset, 304, 128, 8, 16, 0);
        WriteResource(folder, "ChipSet", "Synth", chipset);
        TBitmap hero(288, 256, TPixelFormat::pf8bit);
        hero.Palette()[3] = {0, 248, 0, 0};
        FillCells(hero, 72 + 24, 128 + 64, 24, 32, 3);  // character 5, pattern 1, facing down
        WriteResource(folder, "CharSet", "Hero", hero);
        map.SetWidth(3);
        map.SetHeight(2);
        map.ID = 7;
    }
    std::filesystem::path folder;
    TKelMap map;
};

std::uint16_t At(const TOrlenBoard& board, int x, int y) { return board.ScanLine(y)[x]; }

}  // namespace

TEST_F(MapRenderTest, LowerThenUpperLayerWithBlackWhereNothingIsDrawn) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(FolderImageFinder({folder.string()}));
    chips.LoadGraphic("Synth");
    map.LowerLayer.SetCell(0, 0, 5000);   // plain tile 0 at quarters (24, 0)
    map.LowerLayer.SetCell(1, 0, 5144);   // between the ranges: nothing
    map.LowerLayer.SetCell(2, 0, 5001);
    map.UpperLayer.SetCell(2, 0, 10001);  // half transparent upper tile
    map.LowerLayer.SetCell(0, 1, 4000 + 46);
    map.UpperLayer.SetCell(1, 1, 20000);
    TOrlenBoard board;
    TMapRenderOptions options;
    options.CellSize = 16;
    RenderMap(board, map, chips, options);
    ASSERT_EQ(board.Width(), 48);
    ASSERT_EQ(board.Height(), 32);
    EXPECT_EQ(At(board, 0, 0), IndexColor(1 + 24));
    EXPECT_EQ(At(board, 8, 1), IndexColor(64 + 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            ASSERT_EQ(At(board, x, y), 0) << "gap ID draws nothing";
    EXPECT_EQ(At(board, 32, 0), IndexColor(1 + 26)) << "lower tile shows through the upper tile's index 0";
    EXPECT_EQ(At(board, 40, 0), IndexColor(1 + 39)) << "upper tile 1 at quarters (38, 16)";
    // Shape 46 of block 6: top-left quarter (0, 2) of origin (0, 16).
    EXPECT_EQ(At(board, 0, 16), IndexColor(1 + 0));
    EXPECT_EQ(At(board, 0, 17), IndexColor(64 + 18));
    // Lower tile ID 0 (water A shape 0) fills cell (1, 1); (2, 1) too.
    EXPECT_EQ(At(board, 16, 16), IndexColor(1 + 0));
    EXPECT_EQ(At(board, 16, 17), IndexColor(64 + 8));

    // Only the upper layer: the lower cells stay black.
    options.Lower = false;
    RenderMap(board, map, chips, options);
    EXPECT_EQ(At(board, 0, 0), 0);
    EXPECT_EQ(At(board, 32, 0), 0);
    EXPECT_EQ(At(board, 40, 0), IndexColor(1 + 39));

    // A view: cells are placed at cell x size - offset and clipped to the board.
    TOrlenBoard view;
    view.SetSize(10, 10);
    options.Lower = true;
    RenderMapView(view, map, chips, options, 30, 2, nullptr);
    EXPECT_EQ(At(view, 2, 0), IndexColor(96)) << "cell (2, 0) pixel (0, 2)";
}

TEST_F(MapRenderTest, EventLayerShowsIconsMarksAndStartPositions) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(FolderImageFinder({folder.string()}));
    chips.LoadGraphic("Synth");
    TKelEventItem& tileEvent = map.Events.Obtain(1);
    tileEvent.X = 0;
    tileEvent.Y = 0;
    tileEvent.Pages.Obtain(1).GraphicIndex = 1;
    TKelEventItem& heroEvent = map.Events.Obtain(2);
    heroEvent.X = 1;
    heroEvent.Y = 0;
    TKelEventPageItem& page = heroEvent.Pages.Obtain(1);
    page.GraphicName = "hero";
    page.GraphicIndex = 5;
    page.GraphicPattern = 1;
    page.GraphicDirection = 2;
    TKelEventItem& hidden = map.Events.Obtain(3);
    hidden.X = 2;
    hidden.Y = 1;
    TKelEventItem& outside = map.Events.Obtain(4);
    outside.X = 3;
    TKelMapTree tree;
    tree.StartPosition.SetMapId(TKelMapStartPosition::spParty, 7);
    tree.StartPosition.SetX(TKelMapStartPosition::spParty, 2);
    tree.StartPosition.SetY(TKelMapStartPosition::spParty, 1);
    tree.StartPosition.SetMapId(TKelMapStartPosition::spBoat, 8);

    TKelCharSetGraphic charSets(FolderImageFinder({folder.string()}));
    TStartPosMark marks;
    TMapEventLayer events(&tree, charSets, marks);
    events.LoadCharSets(map);
    EXPECT_EQ(charSets.IndexOf("Hero"), 0);
    events.Build(map);
    EXPECT_EQ(events.CodeAt(0, 0), 1);
    EXPECT_EQ(events.CodeAt(1, 0), 2);
    EXPECT_EQ(events.CodeAt(2, 1), 60001) << "the start position hides the event";
    EXPECT_EQ(events.CodeAt(1, 1), 0);
    EXPECT_EQ(events.CodeAt(3, 0), -1);

    TOrlenBoard board;
    TMapRenderOptions options;
    options.Events = true;
    RenderMap(board, map, chips, options, &events);
    // Tile icon at 32: white 23 x 23 square at (4, 4), the tile's background (palette 0, black) in
    // the 21 x 21 square at (5, 5), the upper tile at (8, 8) at 16 pixels.
    EXPECT_EQ(At(board, 4, 4), 0xFFFF);
    EXPECT_EQ(At(board, 26, 26), 0xFFFF);
    EXPECT_EQ(At(board, 5, 5), 0);
    EXPECT_EQ(At(board, 8, 8), 0) << "left half of upper tile 1 is index 0";
    EXPECT_EQ(At(board, 16, 8), IndexColor(1 + 39));
    // Character icon: the 21 x 21 area at the frame origin + (1, 6), at (5, 5) of the cell.
    EXPECT_EQ(At(board, 32 + 4, 4), 0xFFFF);
    EXPECT_EQ(At(board, 32 + 5, 5), 0x07C0);
    EXPECT_EQ(At(board, 32 + 25, 25), 0x07C0);
    EXPECT_EQ(At(board, 32 + 26, 26), 0xFFFF);
    // Party mark, opaque, at cell (2, 1).
    const TOrlenSheet& strip = *marks.Strip(32);
    EXPECT_EQ(At(board, 64 + 16, 32 + 16), strip.ColorTable[strip.Pixels()[16 * strip.Width() + 16]]);

    // At 8 pixels an event shows the generic mark.
    options.CellSize = 8;
    RenderMap(board, map, chips, options, &events);
    const TOrlenSheet& small = *marks.Strip(8);
    ASSERT_NE(small.Pixels()[4 * small.Width() + 4 * 8 + 1], 0);
    EXPECT_EQ(At(board, 1, 4), small.ColorTable[small.Pixels()[4 * small.Width() + 4 * 8 + 1]]);

    // Faint: half-transparent marks for events too.
    board.SetSize(16, 16);
    events.DrawCode(board, 0, 0, 16, 2, true, map, chips);
    const TOrlenSheet& mid = *marks.Strip(16);
    const std::uint16_t full = mid.ColorTable[mid.Pixels()[8 * mid.Width() + 4 * 16 + 8]];
    EXPECT_EQ(At(board, 8, 8), static_cast<std::uint16_t>(((full >> 11) * 129 / 256) << 11 |
                                                          (((full >> 5) & 63) * 129 / 256) << 5 |
                                                          ((full & 31) * 129 / 256)));
}

TEST(BoardToBitmap, ChannelsWidenByRepeatingTheirHighBits) {
    TOrlenBoard board;
    board.SetSize(3, 1);
    board.ScanLine(0)[0] = 0xFFFF;
    board.ScanLine(0)[1] = 0x8410;  // red 16, green 32, blue 16
    board.ScanLine(0)[2] = 0x0821;  // red 1, green 1, blue 1
    const TBitmap bitmap = BoardToBitmap(board);
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    const std::uint8_t* row = bitmap.ScanLine(0);
    EXPECT_EQ(std::vector<int>(row, row + 9), (std::vector<int>{255, 255, 255, 132, 130, 132, 8, 4, 8}));
}
