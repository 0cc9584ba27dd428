#include "ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"
#include "graphics/GR_ChipSet.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>

using namespace quillon;
using namespace chiptest;

namespace {

// The autotile shapes as listed for the editor's tile composition, quarters TL TR BL BR.
const char* const kAutoTileRows[50] = {
    "(2,4) (3,4) (2,5) (3,5)", "(4,0) (3,4) (2,5) (3,5)", "(2,4) (5,0) (2,5) (3,5)", "(4,0) (5,0) (2,5) (3,5)",
    "(2,4) (3,4) (2,5) (5,1)", "(4,0) (3,4) (2,5) (5,1)", "(2,4) (5,0) (2,5) (5,1)", "(4,0) (5,0) (2,5) (5,1)",
    "(2,4) (3,4) (4,1) (3,5)", "(4,0) (3,4) (4,1) (3,5)", "(2,4) (5,0) (4,1) (3,5)", "(4,0) (5,0) (4,1) (3,5)",
    "(2,4) (3,4) (4,1) (5,1)", "(4,0) (3,4) (4,1) (5,1)", "(2,4) (5,0) (4,1) (5,1)", "(4,0) (5,0) (4,1) (5,1)",
    "(0,4) (1,4) (0,5) (1,5)", "(0,4) (5,0) (0,5) (1,5)", "(0,4) (1,4) (0,5) (5,1)", "(0,4) (5,0) (0,5) (5,1)",
    "(2,2) (3,2) (2,3) (3,3)", "(2,2) (3,2) (2,3) (5,1)", "(2,2) (3,2) (4,1) (3,3)", "(2,2) (3,2) (4,1) (5,1)",
    "(4,4) (5,4) (4,5) (5,5)", "(4,4) (5,4) (4,1) (5,5)", "(4,0) (5,4) (4,5) (5,5)", "(4,0) (5,4) (4,1) (5,5)",
    "(2,6) (3,6) (2,7) (3,7)", "(4,0) (3,6) (2,7) (3,7)", "(2,6) (5,0) (2,7) (3,7)", "(4,0) (5,0) (2,7) (3,7)",
    "(0,4) (5,4) (0,5) (5,5)", "(2,2) (3,2) (2,7) (3,7)", "(0,2) (1,2) (0,3) (1,3)", "(0,2) (1,2) (0,3) (5,1)",
    "(4,2) (5,2) (4,3) (5,3)", "(4,2) (5,2) (4,1) (5,3)", "(4,6) (5,6) (4,7) (5,7)", "(4,0) (5,6) (4,7) (5,7)",
    "(0,6) (1,6) (0,7) (1,7)", "(0,6) (5,0) (0,7) (1,7)", "(0,2) (5,2) (0,3) (5,3)", "(0,2) (1,2) (0,7) (1,7)",
    "(0,6) (5,6) (0,7) (5,7)", "(4,2) (5,2) (4,7) (5,7)", "(0,2) (5,2) (0,7) (5,7)", "(2,4) (3,4) (2,5) (3,5)",
    "(2,4) (3,4) (2,5) (3,5)", "(0,0) (1,0) (0,1) (1,1)",
};
// Water A: the y of the TL TR BL BR quarters; left quarters in column 0, right ones in column 1.
const char* const kWaterRows =
    "8 8 9 9|6 8 9 9|8 6 9 9|6 6 9 9|8 8 9 7|6 8 9 7|8 6 9 7|6 6 9 7|8 8 7 9|6 8 7 9|8 6 7 9|6 6 7 9|"
    "8 8 7 7|6 8 7 7|8 6 7 7|6 6 7 7|2 8 3 9|2 6 3 9|2 8 3 7|2 6 3 7|4 4 9 9|4 4 9 7|4 4 7 9|4 4 7 7|"
    "8 2 9 3|8 2 7 3|6 2 9 3|6 2 7 3|8 8 5 5|6 8 5 5|8 6 5 5|6 6 5 5|2 2 3 3|4 4 5 5|0 4 3 9|0 4 3 7|"
    "4 0 9 3|4 0 7 3|8 2 5 1|6 2 5 1|2 8 1 5|2 6 1 5|0 0 3 3|0 4 1 5|2 2 1 1|4 0 5 1|0 0 1 1|8 8 9 9|"
    "8 8 9 9|0 0 1 1";

using Quarter = std::array<int, 2>;
using Quarters = std::array<Quarter, 4>;

Quarters ParseAutoTile(int shape) {
    Quarters q{};
    std::sscanf(kAutoTileRows[shape], "(%d,%d) (%d,%d) (%d,%d) (%d,%d)", &q[0][0], &q[0][1], &q[1][0], &q[1][1],
                &q[2][0], &q[2][1], &q[3][0], &q[3][1]);
    return q;
}

std::array<int, 4> WaterYs(int shape) {
    std::istringstream rows(kWaterRows);
    std::string row;
    for (int i = 0; i <= shape; ++i)
        std::getline(rows, row, '|');
    std::array<int, 4> y{};
    std::sscanf(row.c_str(), "%d %d %d %d", &y[0], &y[1], &y[2], &y[3]);
    return y;
}

// The absolute quarters a 16-pixel tile at (x, y) of the board was drawn from.
Quarters Decode(const TOrlenBoard& board, int x = 0, int y = 0) {
    Quarters q{};
    for (int i = 0; i < 4; ++i) {
        const int bx = x + (i % 2) * 8;
        const int by = y + (i / 2) * 8;
        q[i] = {ColorIndex(board.ScanLine(by)[bx]) - 1, ColorIndex(board.ScanLine(by + 1)[bx]) - 64};
    }
    return q;
}

std::string Show(const Quarters& q) {
    std::string text;
    for (const Quarter& p : q)
        text += "(" + std::to_string(p[0]) + "," + std::to_string(p[1]) + ")";
    return text;
}

class ChipSetGraphicTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder("chipset");
        bitmap = SyntheticChipSet();
        // Lower tile 5 and upper tile 0 are blank.
        FillCells(bitmap, 192 + 5 * 16, 0, 16, 16, 0);
        FillCells(bitmap, 288, 128, 16, 16, 0);
        // Autotile block 6 (0,16) links to block 9 (6,24) and block 9 back to 6; block 7 has a blank link.
        CopyCell(bitmap, 48, 192, 16, 128);
        CopyCell(bitmap, 0, 128, 64, 192);
        FillCells(bitmap, 64, 128, 16, 16, 0);
        WriteResource(folder, "ChipSet", "Synth", bitmap);
    }
    TImageFinder Finder() const { return FolderImageFinder({folder.string()}); }
    // The 16-pixel tile drawn from a fresh board.
    Quarters Draw16(TKelChipSetGraphic& chips, int id, int counter = 0) {
        board.SetSize(16, 16);
        chips.DrawTile(board, 0, 0, counter, id, false, 16);
        return Decode(board);
    }

    std::filesystem::path folder;
    TBitmap bitmap;
    TOrlenBoard board;
};

Quarters Offset(Quarters q, int dx, int dy) {
    for (Quarter& p : q) {
        p[0] += dx;
        p[1] += dy;
    }
    return q;
}

}  // namespace

TEST_F(ChipSetGraphicTest, EveryAutoTileShapeOfEveryBlock) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(Finder());
    chips.LoadGraphic("Synth");
    const int origins[12][2] = {{0, 16}, {6, 16}, {0, 24}, {6, 24}, {12, 0}, {18, 0},
                                {12, 8}, {18, 8}, {12, 16}, {18, 16}, {12, 24}, {18, 24}};
    for (int block = 0; block < 12; ++block)
        for (int shape = 0; shape < 50; ++shape) {
            const Quarters expected = Offset(ParseAutoTile(shape), origins[block][0], origins[block][1]);
            EXPECT_EQ(Show(Draw16(chips, 4000 + block * 50 + shape)), Show(expected))
                << "block " << block << " shape " << shape;
        }
}

TEST_F(ChipSetGraphicTest, EveryWaterShapeKindAndCornerSet) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(Finder());
    chips.LoadGraphic("Synth");
    for (int kind = 0; kind < 3; ++kind)
        for (int corners = 0; corners < 16; ++corners)
            for (int shape = 0; shape < 50; ++shape) {
                const std::array<int, 4> ys = WaterYs(shape);
                Quarters expected{};
                for (int i = 0; i < 4; ++i) {
                    int x = i % 2;
                    int y = ys[i];
                    if (kind == 1 && y < 8)
                        x += 6;
                    if (kind == 2 && y == 8)
                        y = 14;
                    else if (kind == 2 && y == 9)
                        y = 15;
                    if (kind == 2 && shape == 49)
                        y = 12 + i / 2;
                    if (corners & (1 << i)) {
                        x = i % 2;
                        y = (kind == 2 ? 12 : 10) + i / 2;
                    }
                    expected[i] = {x, y};
                }
                EXPECT_EQ(Show(Draw16(chips, kind * 1000 + corners * 50 + shape)), Show(expected))
                    << "kind " << kind << " corners " << corners << " shape " << shape;
            }
}

// At 32, 8 and 4 pixels a tile is the 16-pixel drawing scaled by nearest neighbour.
TEST_F(ChipSetGraphicTest, OtherCellSizesScaleTheSixteenPixelTile) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(Finder());
    chips.LoadGraphic("Synth");
    std::vector<int> ids;
    for (int shape = 0; shape < 50; ++shape) {
        ids.push_back(4000 + shape);
        ids.push_back(4550 + shape);
        ids.push_back(1000 + 5 * 50 + shape);
        ids.push_back(2000 + 9 * 50 + shape);
    }
    for (int id : {3000, 3050, 3100, 5000, 5143, 10001, 10143})
        ids.push_back(id);
    for (int id : ids) {
        TOrlenBoard base;
        base.SetSize(16, 16);
        chips.DrawTile(base, 0, 0, 0, id, false, 16);
        for (int size : {32, 8, 4}) {
            TOrlenBoard scaled;
            scaled.SetSize(size + 2, size + 2);
            chips.DrawTile(scaled, 1, 1, 0, id, false, size);
            for (int y = 0; y < size + 2; ++y)
                for (int x = 0; x < size + 2; ++x) {
                    const bool inside = x >= 1 && y >= 1 && x <= size && y <= size;
                    const std::uint16_t want = inside ? base.ScanLine((y - 1) * 16 / size)[(x - 1) * 16 / size] : 0;
                    ASSERT_EQ(scaled.ScanLine(y)[x], want) << "id " << id << " size " << size << " at " << x << "," << y;
                }
        }
    }
}

TEST_F(ChipSetGraphicTest, PlainTilesAnimatedTilesAndIdsThatDrawNothing) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(Finder());
    chips.LoadGraphic("Synth");
    EXPECT_EQ(Show(Draw16(chips, 5000)), Show({{{24, 0}, {25, 0}, {24, 1}, {25, 1}}}));
    EXPECT_EQ(Draw16(chips, 5000 + 95)[0], (Quarter{34, 30}));
    EXPECT_EQ(Draw16(chips, 5000 + 96)[0], (Quarter{36, 0}));
    EXPECT_EQ(Draw16(chips, 5000 + 143)[0], (Quarter{46, 14}));
    EXPECT_EQ(Draw16(chips, 10000 + 1)[0], (Quarter{38, 16}));
    EXPECT_EQ(Draw16(chips, 10000 + 47)[0], (Quarter{46, 30}));
    EXPECT_EQ(Draw16(chips, 10000 + 48)[0], (Quarter{48, 0}));
    EXPECT_EQ(Draw16(chips, 10000 + 143)[0], (Quarter{58, 30}));
    // Upper IDs beyond the table draw its last tile.
    EXPECT_EQ(Draw16(chips, 10000 + 500)[0], (Quarter{58, 30}));
    EXPECT_EQ(Draw16(chips, 19999)[0], (Quarter{58, 30}));
    // Animated tiles: counter 0 shows frame 1; a frame lasts 6 ticks; four frames, then again.
    EXPECT_EQ(Draw16(chips, 3050, 0)[0], (Quarter{8, 8}));
    EXPECT_EQ(Draw16(chips, 3050, 5)[0], (Quarter{8, 8}));
    EXPECT_EQ(Draw16(chips, 3050, 6)[0], (Quarter{8, 10}));
    EXPECT_EQ(Draw16(chips, 3100, 18)[0], (Quarter{10, 14}));
    EXPECT_EQ(Draw16(chips, 3000, 24)[0], (Quarter{6, 8}));
    EXPECT_EQ(Draw16(chips, 3000 + 49, 0)[0], (Quarter{6, 8}));
    // Nothing at all for IDs past the ranges, between them and below 0.
    for (int id : {20000, 65535, -1, -5000, 3150, 3999, 4600, 4999, 5144, 9999}) {
        TOrlenBoard untouched;
        untouched.SetSize(16, 16);
        for (int y = 0; y < 16; ++y)
            std::fill(untouched.ScanLine(y), untouched.ScanLine(y) + 16, 0x1234);
        chips.DrawTile(untouched, 0, 0, 0, id, false, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(untouched.ScanLine(y)[x], 0x1234) << "id " << id;
    }
}

TEST_F(ChipSetGraphicTest, WaterFramesFollowSequenceAndSpeed) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(Finder());
    chips.LoadGraphic("Synth");
    auto frameX = [&](int counter) { return Draw16(chips, 0, counter)[0][0]; };
    // Without a record: as a fresh record, "1-2-3-2" at "Slow Speed".
    EXPECT_EQ(frameX(0), 0);
    EXPECT_EQ(frameX(23), 0);
    EXPECT_EQ(frameX(24), 2);
    EXPECT_EQ(frameX(48), 4);
    EXPECT_EQ(frameX(72), 2);
    EXPECT_EQ(frameX(96), 0);
    TKelChipSetItem record;
    record.FileName = "Synth";
    record.SeaAnimation = TKelChipSetItem::saSequence123;
    record.SeaSpeed = TKelChipSetItem::ssFast;
    chips.SetChipSet(&record);
    EXPECT_EQ(frameX(11), 0);
    EXPECT_EQ(frameX(12), 2);
    EXPECT_EQ(frameX(24), 4);
    EXPECT_EQ(frameX(36), 0);
    record.SeaAnimation = TKelChipSetItem::saSequence1232;
    EXPECT_EQ(frameX(36), 2);
    EXPECT_EQ(frameX(48), 0);
    // The frame moves the corner pieces too, in every quarter.
    const Quarters cornered = Draw16(chips, 15 * 50 + 46, 24);
    EXPECT_EQ(Show(cornered), Show({{{4, 10}, {5, 10}, {4, 11}, {5, 11}}}));
}

TEST_F(ChipSetGraphicTest, AnalysisFindsLinksAndEmptyTiles) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(Finder());
    // Before anything is loaded the blank sheet links nothing and every plain tile is empty.
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(chips.GetAutotileLink(i), -1);
    EXPECT_TRUE(chips.TileInfo()[18].Empty);
    chips.LoadGraphic("Synth");
    EXPECT_EQ(chips.GetAutotileLink(6), 9);
    EXPECT_EQ(chips.GetAutotileLink(9), 6);
    EXPECT_EQ(chips.GetAutotileLink(7), -1);   // blank link cell
    EXPECT_EQ(chips.GetAutotileLink(8), -1);   // matches no preview
    EXPECT_EQ(chips.GetAutotileLink(0), -1);
    EXPECT_EQ(chips.GetAutotileLink(18), -1);
    EXPECT_EQ(chips.GetAutotileLink(-1), -1);
    EXPECT_TRUE(chips.TileInfo()[18 + 5].Empty);
    EXPECT_FALSE(chips.TileInfo()[18 + 4].Empty);
    EXPECT_TRUE(chips.UpperInfo()[0].Empty);
    EXPECT_FALSE(chips.UpperInfo()[1].Empty);
    EXPECT_EQ(chips.TileInfo()[6].Source, (TChipQuarter{0, 16}));
    EXPECT_EQ(chips.TileInfo()[18 + 100].Source, (TChipQuarter{44, 0}));

    // An empty lower tile: nothing on a transparent sheet, black (index 0) on an opaque one.
    board.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        std::fill(board.ScanLine(y), board.ScanLine(y) + 16, 0x1234);
    chips.SetTransparent(true);
    chips.DrawTile(board, 0, 0, 0, 5005, false, 16);
    chips.DrawTile(board, 0, 0, 0, 10000, false, 16);
    EXPECT_EQ(board.ScanLine(7)[7], 0x1234);
    chips.SetTransparent(false);
    chips.DrawTile(board, 0, 0, 0, 5005, false, 16);
    EXPECT_EQ(board.ScanLine(7)[7], 0);
}

TEST_F(ChipSetGraphicTest, LoadingRulesDimSheetAndMissingImages) {
    {
        TEditorModeScope mode(true);
        TKelChipSetGraphic chips(Finder());
        ASSERT_NE(chips.DimSheet(), nullptr);
        TKelChipSetItem record;
        record.FileName = "Synth";
        chips.SetChipSet(&record);
        EXPECT_EQ(chips.FileName(), "Synth");
        EXPECT_EQ(chips.DimSheet()->PrimaryControl().RedPercent(), 90);
        EXPECT_EQ(chips.DimSheet()->PrimaryControl().SaturationPercent(), 60);
        // The dimmed sheet draws a darker colour.
        board.SetSize(16, 16);
        chips.DrawTile(board, 0, 0, 0, 5000, true, 16);
        const std::uint16_t dim = board.ScanLine(0)[0];
        chips.DrawTile(board, 0, 0, 0, 5000, false, 16);
        EXPECT_EQ(board.ScanLine(0)[0], IndexColor(25));
        EXPECT_NE(dim, IndexColor(25));
        EXPECT_LT(dim >> 11, 25);
        chips.SetDimLevel(2);
        EXPECT_EQ(chips.Sheet().Opacity, 195);
        EXPECT_EQ(chips.DimSheet()->Opacity, 195);

        // The same name again does not reread the file; after Clear it does.
        FillCells(bitmap, 192, 0, 16, 16, 0);
        WriteResource(folder, "ChipSet", "Synth", bitmap);
        chips.LoadGraphic("Synth");
        EXPECT_FALSE(chips.TileInfo()[18].Empty);
        chips.Clear();
        EXPECT_EQ(chips.ChipSet(), nullptr);
        EXPECT_EQ(chips.FileName(), "");
        chips.LoadGraphic("Synth");
        EXPECT_TRUE(chips.TileInfo()[18].Empty);

        // A missing image leaves blank sheets without a report.
        EXPECT_NO_THROW(chips.LoadGraphic("Nowhere"));
        EXPECT_EQ(chips.Sheet().Palette[1], TPaletteEntry{});
        EXPECT_TRUE(chips.UpperInfo()[5].Empty);
        chips.SetChipSet(nullptr);
        EXPECT_EQ(chips.FileName(), "");
    }
    TEditorModeScope mode(false);
    TKelChipSetGraphic chips(Finder());
    EXPECT_EQ(chips.DimSheet(), nullptr);
    EXPECT_THROW(chips.LoadGraphic("Nowhere"), std::exception);
    EXPECT_EQ(chips.FileName(), "Nowhere");
    chips.LoadGraphic("Synth");
    // Dimmed drawing outside the editor mode uses the plain sheet.
    board.SetSize(16, 16);
    chips.DrawTile(board, 0, 0, 0, 5001, true, 16);
    EXPECT_EQ(board.ScanLine(0)[0], IndexColor(27));
}
