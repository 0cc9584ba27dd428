#include "graphics/ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "graphics/GR_ChipSet.h"
#include "mapedit/ChipSelector.h"
#include "mapedit/MapEditUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace quillon;

namespace {

constexpr int kLower = 0, kUpper = 1, kEvents = 2;

// A palette with a map open, a page of 192 x 256 pixels, counting notifications.
struct Palette {
    TChipSelectorModel Model;
    int Selects = 0;
    TConnection Heard;
    Palette() {
        Heard = Model.OnSelect.Connect([this] { ++Selects; });
        Model.SetMapOpen(true);
        Model.SetPageSize(192, 256);
    }
    // Pixel position of the middle of a palette cell on the page.
    static int Mid(int cell) { return cell * 32 + 16; }
    void Drag(int c0, int r0, int c1, int r1) {
        const TPoint s = Model.Scroll();
        Model.MousePress(TPaletteButton::Left, Mid(c0) - s.X, Mid(r0) - s.Y);
        Model.DelayExpired();
        Model.MouseMove(Mid(c1) - s.X, Mid(r1) - s.Y);
        Model.MouseRelease(TPaletteButton::Left, Mid(c1) - s.X, Mid(r1) - s.Y);
    }
};

}  // namespace

TEST(ChipPalette, TileIdsOfCellsAndCellsOfTileIds) {
    EXPECT_EQ(PaletteTile(kLower, 0, 0), 49);
    EXPECT_EQ(PaletteTile(kLower, 1, 0), 1049);
    EXPECT_EQ(PaletteTile(kLower, 2, 0), 2049);
    EXPECT_EQ(PaletteTile(kLower, 3, 0), 3000);
    EXPECT_EQ(PaletteTile(kLower, 5, 0), 3100);
    EXPECT_EQ(PaletteTile(kLower, 0, 1), 4049);
    EXPECT_EQ(PaletteTile(kLower, 5, 2), 4599);
    EXPECT_EQ(PaletteTile(kLower, 0, 3), 5000);
    EXPECT_EQ(PaletteTile(kLower, 5, 26), 5143);
    EXPECT_EQ(PaletteTile(kUpper, 0, 3), 10018);
    EXPECT_EQ(PaletteTile(kEvents, 5, 23), 10143);
    // Outside the grid there is no tile: below the last row, beside the columns, bad modes.
    EXPECT_EQ(PaletteTile(kLower, 0, 27), -1);
    EXPECT_EQ(PaletteTile(kUpper, 0, 24), -1);
    EXPECT_EQ(PaletteTile(kUpper, 6, 0), -1);
    EXPECT_EQ(PaletteTile(kUpper, -1, 0), -1);
    EXPECT_EQ(PaletteTile(3, 0, 0), -1);

    // Every cell of every grid finds itself again, and no two cells share a tile.
    for (int mode = 0; mode < 3; ++mode) {
        std::set<std::int32_t> seen;
        for (int row = 0; row < PaletteRows(mode); ++row)
            for (int column = 0; column < 6; ++column) {
                const std::int32_t id = PaletteTile(mode, column, row);
                EXPECT_TRUE(seen.insert(id).second) << id;
                EXPECT_EQ(PaletteCellOf(mode, id), (TPoint{column, row})) << "mode " << mode << " id " << id;
            }
    }
    // Water and animated tiles are found whatever their shape; autotiles only in shape 49.
    EXPECT_EQ(PaletteCellOf(kLower, 1000 + 17 + 50 * 3), (TPoint{1, 0}));
    EXPECT_EQ(PaletteCellOf(kLower, 3050 + 12), (TPoint{4, 0}));
    EXPECT_EQ(PaletteCellOf(kLower, 4000 + 46), (TPoint{-1, -1}));
    EXPECT_EQ(PaletteCellOf(kLower, 4100 + 49), (TPoint{2, 1}));
    // IDs the grids do not hold.
    EXPECT_EQ(PaletteCellOf(kLower, 5144), (TPoint{-1, -1}));
    EXPECT_EQ(PaletteCellOf(kLower, -3), (TPoint{-1, -1}));
    EXPECT_EQ(PaletteCellOf(kUpper, 5000), (TPoint{-1, -1}));
    EXPECT_EQ(PaletteCellOf(kUpper, 10144), (TPoint{-1, -1}));
}

TEST(ChipPalette, DragWaitsForTheDelayAndStaysWithinSixBySix) {
    Palette p;
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 0, 1, 1}));
    ASSERT_TRUE(p.Model.MousePress(TPaletteButton::Left, Palette::Mid(1), Palette::Mid(2)));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{1, 2, 2, 3}));
    // Before the delay a move does not extend the selection.
    p.Model.MouseMove(Palette::Mid(3), Palette::Mid(4));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{1, 2, 2, 3}));
    // When the delay ends the selection reaches the mouse where it stands.
    p.Model.DelayExpired();
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{1, 2, 4, 5}));
    // Backwards and beyond the columns: the current cell is kept inside the grid.
    p.Model.MouseMove(-50, Palette::Mid(0));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 0, 2, 3}));
    p.Model.MouseMove(400, Palette::Mid(7));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{1, 2, 6, 8})) << "at most 6 rows";
    EXPECT_EQ(p.Selects, 0);
    p.Model.MouseRelease(TPaletteButton::Left, 400, Palette::Mid(7));
    EXPECT_EQ(p.Selects, 1);
    EXPECT_FALSE(p.Model.Dragging());
    TKelCurrentChip pattern;
    p.Model.FillPattern(pattern);
    EXPECT_EQ(pattern.Width, 5);
    EXPECT_EQ(pattern.Height, 6);
    EXPECT_EQ(pattern.GetTile(0, 0), PaletteTile(kLower, 1, 2));
    EXPECT_EQ(pattern.GetTile(4, 5), PaletteTile(kLower, 5, 7));
    // Moves after the release change nothing.
    p.Model.MouseMove(Palette::Mid(0), Palette::Mid(0));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{1, 2, 6, 8}));

    // The last row of the grid is the limit downwards: drag from row 24 toward row 30.
    p.Model.SetScroll(0, 10000);
    EXPECT_EQ(p.Model.Scroll().Y, 27 * 32 - 256);
    p.Drag(0, 24, 0, 30);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 24, 1, 27}));
}

TEST(ChipPalette, EventModeKeepsOneCellAndOtherButtonsRestore) {
    Palette p;
    p.Model.SetMode(kEvents);
    p.Drag(2, 2, 5, 6);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{2, 2, 3, 3}));

    // A right press during a drag brings back the selection from before the press, and the
    // release that follows reports nothing.
    p.Model.SetMode(kUpper);
    p.Drag(1, 1, 2, 2);
    const int selects = p.Selects;
    ASSERT_TRUE(p.Model.MousePress(TPaletteButton::Left, Palette::Mid(4), Palette::Mid(4)));
    p.Model.DelayExpired();
    p.Model.MouseMove(Palette::Mid(5), Palette::Mid(6));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{4, 4, 6, 7}));
    p.Model.MousePress(TPaletteButton::Middle, 0, 0);
    EXPECT_TRUE(p.Model.Dragging()) << "the middle button does not cancel";
    p.Model.MousePress(TPaletteButton::Right, 0, 0);
    EXPECT_FALSE(p.Model.Dragging());
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{1, 1, 3, 3}));
    p.Model.MouseRelease(TPaletteButton::Left, Palette::Mid(5), Palette::Mid(6));
    EXPECT_EQ(p.Selects, selects);
}

TEST(ChipPalette, PressesOutsideTheGridOrWithoutAMapAreIgnored) {
    Palette p;
    p.Model.SetMode(kUpper);
    p.Model.SetPageSize(260, 1000);  // wider than the columns, taller than the 24 rows
    const int selects = p.Selects;
    // Below the last row (768 = 24 x 32) and beside the columns (x 192 and up).
    EXPECT_FALSE(p.Model.MousePress(TPaletteButton::Left, 10, 24 * 32 + 5));
    EXPECT_FALSE(p.Model.MousePress(TPaletteButton::Left, 200, 10));
    p.Model.MouseRelease(TPaletteButton::Left, 200, 10);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 0, 1, 1}));
    EXPECT_EQ(p.Selects, selects);
    // Whatever was pressed, the pattern holds tiles of the chipset only.
    TKelCurrentChip pattern;
    p.Model.FillPattern(pattern);
    EXPECT_EQ(pattern.GetTile(0, 0), 10000);

    // No map (or a map without cells): nothing is picked; another window holding the mouse too.
    p.Model.SetMapOpen(false);
    EXPECT_FALSE(p.Model.MousePress(TPaletteButton::Left, Palette::Mid(2), Palette::Mid(2)));
    p.Model.SetMapOpen(true);
    EXPECT_FALSE(p.Model.MousePress(TPaletteButton::Left, Palette::Mid(2), Palette::Mid(2), true));
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 0, 1, 1}));
    // Closing the map during a drag ends it with the old selection.
    ASSERT_TRUE(p.Model.MousePress(TPaletteButton::Left, Palette::Mid(2), Palette::Mid(2)));
    p.Model.SetMapOpen(false);
    EXPECT_FALSE(p.Model.Dragging());
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 0, 1, 1}));
}

TEST(ChipPalette, EachModeKeepsItsSelectionAndScroll) {
    Palette p;
    p.Drag(2, 3, 3, 4);
    p.Model.SetScroll(0, 100);
    p.Model.SetMode(kUpper);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 0, 1, 1}));
    EXPECT_EQ(p.Model.Scroll().Y, 0);
    p.Model.SetScroll(0, 40);
    p.Drag(4, 4, 4, 4);
    const int selects = p.Selects;
    p.Model.SetMode(kLower);
    EXPECT_EQ(p.Selects, selects + 1) << "a mode switch hands the owner that mode's selection";
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{2, 3, 4, 5}));
    EXPECT_EQ(p.Model.Scroll().Y, 100);
    p.Model.SetMode(kUpper);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{4, 4, 5, 5}));
    EXPECT_EQ(p.Model.Scroll().Y, 40);
    p.Model.SetMode(7);
    EXPECT_EQ(p.Model.Mode(), kUpper);

    // A taller page clamps the remembered scroll of the mode shown next.
    p.Model.SetMode(kLower);
    p.Model.SetScroll(0, 27 * 32);
    EXPECT_EQ(p.Model.Scroll().Y, 27 * 32 - 256);
    p.Model.SetMode(kUpper);
    p.Model.SetPageSize(192, 700);
    p.Model.SetMode(kLower);
    EXPECT_EQ(p.Model.Scroll().Y, 27 * 32 - 700);
}

TEST(ChipPalette, WheelAndAutoScroll) {
    Palette p;
    // 16 pixels a notch, small deltas add up; down is positive scroll.
    EXPECT_TRUE(p.Model.Wheel(-120));
    EXPECT_EQ(p.Model.Scroll().Y, 16);
    EXPECT_FALSE(p.Model.Wheel(-60));
    EXPECT_TRUE(p.Model.Wheel(-60));
    EXPECT_EQ(p.Model.Scroll().Y, 32);
    EXPECT_TRUE(p.Model.Wheel(360));
    EXPECT_EQ(p.Model.Scroll().Y, 0);
    EXPECT_FALSE(p.Model.Wheel(-120, true)) << "not while another window holds the mouse";

    // A drag held 2 pixels above the bottom edge scrolls by EdgeScrollStep(16 - 2) = 7 a tick and
    // the selection follows the cell under the mouse.
    ASSERT_TRUE(p.Model.MousePress(TPaletteButton::Left, Palette::Mid(0), Palette::Mid(5)));
    p.Model.DelayExpired();
    p.Model.MouseMove(Palette::Mid(0), 254);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 5, 1, 8}));
    EXPECT_FALSE(p.Model.Wheel(-120)) << "no wheel during a drag";
    for (int tick = 0; tick < 5; ++tick)
        EXPECT_TRUE(p.Model.AutoScrollTick());
    EXPECT_EQ(p.Model.Scroll().Y, 35);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 5, 1, 10})) << "(254 + 35) / 32 = row 9";
    for (int tick = 0; tick < 200; ++tick)
        p.Model.AutoScrollTick();
    EXPECT_EQ(p.Model.Scroll().Y, 27 * 32 - 256);
    EXPECT_EQ(p.Model.SelectedRect(), (TRect{0, 5, 1, 11})) << "6 rows at most";
    p.Model.MouseRelease(TPaletteButton::Left, Palette::Mid(0), 254);
    EXPECT_FALSE(p.Model.AutoScrollTick());
}

TEST(ChipPalette, HighlightIsCutToTheGridAndScrolledIntoView) {
    Palette p;
    p.Model.SetHighlight(TRect{1, 20, 2, 21});
    EXPECT_EQ(p.Model.Highlight(), (TRect{1, 20, 2, 21}));
    EXPECT_EQ(p.Model.Scroll().Y, 21 * 32 - 256);
    p.Model.SetHighlight(TRect{1, 2, 2, 3});
    EXPECT_EQ(p.Model.Scroll().Y, 64);
    p.Model.SetHighlight(TRect{5, 26, 9, 40});
    EXPECT_EQ(p.Model.Highlight(), (TRect{5, 26, 6, 27}));
    p.Model.SetHighlight(TRect{6, 0, 7, 1});
    EXPECT_EQ(p.Model.Highlight(), TRect{});
    p.Model.SetHighlight(TRect{0, 0, 1, 1});
    p.Model.SetMode(kUpper);
    EXPECT_EQ(p.Model.Highlight(), TRect{}) << "another grid, another meaning";
}

TEST(ChipPalette, DrawsEveryCellWithTheOpaqueSheet) {
    using namespace chiptest;
    TEditorModeScope editorMode(true);
    const std::filesystem::path folder = TempFolder("palette");
    TBitmap image = SyntheticChipSet();
    image.Palette()[0] = TPaletteEntry{248, 0, 0, 0};
    FillCells(image, 288, 128, 16, 16, 0);  // upper tile 0: all index 0
    WriteResource(folder, "ChipSet", "Synth", image);
    TKelChipSetGraphic chips(FolderImageFinder({folder.string()}));
    chips.LoadGraphic("Synth");
    chips.SetTransparent(true);

    TOrlenBoard board;
    DrawPalette(board, chips, kUpper);
    EXPECT_EQ(board.Width(), 192);
    EXPECT_EQ(board.Height(), 1536);
    EXPECT_TRUE(chips.Sheet().Transparent) << "the sheet's transparency is left as it was";
    EXPECT_EQ(board.ScanLine(5)[5], 0xF800) << "upper tile 0 drawn in colour 0, not left out";
    // Every cell equals the tile drawn alone on an opaque sheet.
    chips.SetTransparent(false);
    TOrlenBoard cell;
    for (int mode : {kLower, kUpper}) {
        DrawPalette(board, chips, mode);
        for (int row = 0; row < PaletteRows(mode); row += 5)
            for (int column = 0; column < 6; ++column) {
                cell.SetSize(32, 32);
                chips.DrawTile(cell, 0, 0, 0, PaletteTile(mode, column, row), false, 32);
                for (int y = 0; y < 32; y += 3)
                    for (int x = 0; x < 32; x += 3)
                        ASSERT_EQ(board.ScanLine(row * 32 + y)[column * 32 + x], cell.ScanLine(y)[x])
                            << "mode " << mode << " cell " << column << "," << row;
            }
        EXPECT_EQ(board.ScanLine(PaletteRows(mode) * 32 + 5)[10], 0) << "below the grid stays black";
    }
    std::filesystem::remove_all(folder);
}
