// Pen strokes, rectangles, ellipses and fills as whole operations, with their undo snapshots.
#include "MapEditTestKit.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quillon;
using namespace quillon::test;

namespace {

std::vector<TPoint> LineCells(TPoint from, TPoint to, TRect clip = {-1000, -1000, 1000, 1000}) {
    std::vector<TPoint> cells;
    ForEachLineCell(from, to, clip, [&](TPoint p) { cells.push_back(p); });
    return cells;
}

std::string MaskRows(const TKelMapEditModel& model, std::int32_t width) {
    std::string out;
    const auto& mask = model.ShapeMask();
    for (std::size_t i = 0; i < mask.size(); ++i) {
        out += mask[i] == 0 ? '.' : '#';
        if ((i + 1) % static_cast<std::size_t>(width) == 0)
            out += '\n';
    }
    return out;
}

}  // namespace

TEST(LineTest, StepsAlongTheLongerAxisWithBothEnds) {
    const std::vector<TPoint> shallow = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    EXPECT_EQ(LineCells({0, 0}, {5, 2}), shallow);
    const std::vector<TPoint> steep = {{3, 3}, {3, 2}, {2, 1}, {2, 0}};
    EXPECT_EQ(LineCells({3, 3}, {2, 0}), steep);
    EXPECT_EQ(LineCells({4, 4}, {4, 4}), (std::vector<TPoint>{{4, 4}}));
    // Clipping visits exactly the cells of the whole line that lie in the clip.
    const TRect clip{0, 0, 10, 3};
    std::vector<TPoint> expected;
    for (TPoint p : LineCells({-13, -2}, {22, 5}))
        if (p.X >= 0 && p.X < 10 && p.Y >= 0 && p.Y < 3)
            expected.push_back(p);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(LineCells({-13, -2}, {22, 5}, clip), expected);
    // Far-off ends cost only the visible steps.
    EXPECT_EQ(LineCells({INT_MIN, 1}, {INT_MAX, 1}, clip).size(), 10u);
}

TEST(PenTest, PatternTilesSeamlesslyFromTheAnchorAndEachStrokeIsOneUndoStep) {
    TEditFixture edit(MakeMap(12, 10));
    edit.Model.Mode = TKelEditMode::Upper;
    TKelCurrentChip& pattern = edit.Model.Pattern();
    pattern.Width = 2;
    pattern.Height = 2;
    pattern.SetTile(0, 0, 10001);
    pattern.SetTile(1, 0, 10002);
    pattern.SetTile(0, 1, 10003);
    pattern.SetTile(1, 1, 10004);
    edit.Model.PatternOffset = {1, 0};
    // A wandering path, leaving the map and coming back.
    edit.Model.ApplyPenStroke({{3, 3}, {8, 5}, {10, 1}, {14, -3}, {6, 8}, {2, 6}}, {});
    const TPoint anchor{2, 3};
    EXPECT_EQ(edit.Model.PatternAnchor, anchor);
    int painted = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const std::int32_t tile = edit.Upper(x, y);
            if (tile == kUpperFillValue)
                continue;
            ++painted;
            const int column = ((x - anchor.X) % 2 + 2) % 2, row = ((y - anchor.Y) % 2 + 2) % 2;
            EXPECT_EQ(tile, 10001 + column + 2 * row) << x << "," << y;
        }
    EXPECT_GT(painted, 30);
    EXPECT_EQ(edit.Model.UndoStore.Count(), 1);
    EXPECT_TRUE(edit.Map->Modified);

    // Three more strokes; three undos go back stroke by stroke, the fourth does nothing.
    std::vector<std::vector<std::uint16_t>> states{edit.Map->UpperLayer.Cells()};
    for (int stroke = 0; stroke < 3; ++stroke) {
        pattern.SetSingle(static_cast<std::uint16_t>(10050 + stroke));
        edit.Model.PatternOffset = {};
        edit.Model.ApplyPenStroke({{stroke, 0}, {stroke, 9}}, {});
        states.push_back(edit.Map->UpperLayer.Cells());
    }
    for (int back = 2; back >= 0; --back) {
        EXPECT_TRUE(edit.Model.Undo());
        EXPECT_EQ(edit.Map->UpperLayer.Cells(), states[static_cast<std::size_t>(back)]);
    }
    EXPECT_FALSE(edit.Model.Undo());
    EXPECT_EQ(edit.Map->UpperLayer.Cells(), states[0]);
}

TEST(PenTest, CancelBringsBothLayersBack) {
    TEditFixture edit(MakeMap(6, 6, kSand));
    const auto before = edit.Map->LowerLayer.Cells();
    edit.Use(kGrass);
    edit.Model.BeginDrawing(TKelEditTool::Pen, {1, 1}, {});
    edit.Model.DragTo({4, 4}, {});
    EXPECT_NE(edit.Map->LowerLayer.Cells(), before);
    edit.Model.CancelDrawing();
    EXPECT_EQ(edit.Map->LowerLayer.Cells(), before);
    EXPECT_FALSE(edit.Model.Drawing());
    EXPECT_EQ(edit.Model.UndoStore.Count(), 0);
}

TEST(ShapeToolTest, ShrinkingRectangleRestoresWhatTheLargerOneChanged) {
    // Grass everywhere; the rectangle draws sand, which re-resolves the grass around it.
    TEditFixture dragged(MakeMap(9, 9, kGrass));
    dragged.Use(kSand);
    dragged.Model.BeginDrawing(TKelEditTool::Rectangle, {1, 1}, {});
    dragged.Model.DragTo({6, 6}, {});
    EXPECT_EQ(dragged.Lower(7, 4), kGrass + 16);  // the ring of the larger rectangle
    dragged.Model.DragTo({2, 3}, {});
    dragged.Model.EndDrawing();

    TEditFixture direct(MakeMap(9, 9, kGrass));
    direct.Use(kSand);
    direct.Model.ApplyRectangle({1, 1}, {2, 3}, {});
    EXPECT_EQ(dragged.Map->LowerLayer.Cells(), direct.Map->LowerLayer.Cells());
    EXPECT_EQ(dragged.Terrain(),
              "ggggggggg\n"
              "gssgggggg\n"
              "gssgggggg\n"
              "gssgggggg\n"
              "ggggggggg\n"
              "ggggggggg\n"
              "ggggggggg\n"
              "ggggggggg\n"
              "ggggggggg\n");
    EXPECT_EQ(dragged.Lower(7, 4), kGrass);
    EXPECT_EQ(dragged.Lower(3, 2), kGrass + 16);  // right of the sand: open to the left
    EXPECT_EQ(dragged.Lower(1, 1), kSand + 34);
    EXPECT_EQ(dragged.Lower(2, 2), kSand + 24);
    // One snapshot: undo gives the untouched grass back.
    EXPECT_TRUE(dragged.Model.Undo());
    EXPECT_EQ(dragged.Map->LowerLayer.Cells(), MakeMap(9, 9, kGrass)->LowerLayer.Cells());
}

TEST(ShapeToolTest, EllipseIsInscribedAndNarrowOnesAreRectangles) {
    TEditFixture edit(MakeMap(8, 7));
    edit.Use(kGrass);
    edit.Model.ApplyEllipse({6, 5}, {1, 1}, {});  // 6 x 5, dragged from the bottom right
    EXPECT_EQ(edit.Terrain(),
              "........\n"
              "..gggg..\n"
              ".gggggg.\n"
              ".gggggg.\n"
              ".gggggg.\n"
              "..gggg..\n"
              "........\n");
    EXPECT_EQ(edit.Lower(3, 3), kGrass);
    EXPECT_EQ(edit.Lower(1, 2), kGrass + 34);
    TEditFixture thin(MakeMap(8, 4));
    thin.Use(kGrass);
    thin.Model.ApplyEllipse({1, 1}, {6, 2}, {});
    EXPECT_EQ(thin.Terrain(),
              "........\n"
              ".gggggg.\n"
              ".gggggg.\n"
              "........\n");
    // An ellipse reaching past the map is clipped to it.
    TEditFixture big(MakeMap(4, 4));
    big.Use(kGrass);
    big.Model.ApplyEllipse({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {});
    EXPECT_EQ(big.Terrain(), "gggg\ngggg\ngggg\ngggg\n");
    EXPECT_EQ(big.Lower(0, 0), kGrass);
}

TEST(FillTest, StopsAtAnotherEntryAndNeverCrossesTheMapEdge) {
    // Water A in columns 0-2 and 4-7, water B in column 3; the map loops, so columns 7 and 0 touch.
    auto map = MakeMap(8, 4, kWaterA);
    map->SetScrollType(TKelMap::stHorizontalLoop);
    for (int y = 0; y < 4; ++y)
        map->LowerLayer.SetCell(3, y, kWaterB);
    TEditFixture edit(std::move(map));
    edit.Use(kGrass);
    edit.Model.ApplySeedFill({1, 2}, {});
    EXPECT_EQ(edit.Terrain(),
              "gggbaaaa\n"
              "gggbaaaa\n"
              "gggbaaaa\n"
              "gggbaaaa\n");
    EXPECT_EQ(MaskRows(edit.Model, 8),
              "###.....\n"
              "###.....\n"
              "###.....\n"
              "###.....\n");
    // Inside the region shape 0; at its sides the wrapped water and the water B are borders;
    // rows do not loop and the edge joins.
    EXPECT_EQ(edit.Lower(1, 0), kGrass);
    EXPECT_EQ(edit.Lower(0, 1), kGrass + 16);
    EXPECT_EQ(edit.Lower(2, 3), kGrass + 24);
    // The water beside the grass re-resolved.
    EXPECT_EQ(edit.Lower(7, 1), kWaterA + 24);
    EXPECT_EQ(edit.Lower(3, 1), kWaterB + 16);
    EXPECT_EQ(edit.Model.UndoStore.Count(), 1);
    EXPECT_TRUE(edit.Model.Undo());
    EXPECT_EQ(edit.Terrain(),
              "aaabaaaa\n"
              "aaabaaaa\n"
              "aaabaaaa\n"
              "aaabaaaa\n");
}

// On the lower layer a fill's region is a terrain, whatever shapes its autotile cells have: the
// cells are compared by terrain, not by tile ID.
TEST(FillTest, RegionOfAutotilesOfMixedShapesIsOneTerrain) {
    auto map = MakeMap(6, 4, kGrass);
    const std::uint16_t grassShapes[] = {0, 16, 24, 34, 20, 38, 46, 1};
    const std::uint16_t waterShapes[] = {0, 16, 24, 46};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            map->LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(kGrass + grassShapes[(x + 3 * y) % 8]));
        for (int x = 4; x < 6; ++x)
            map->LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(kWaterB + waterShapes[(x + y) % 4]));
    }
    TEditFixture edit(std::move(map));
    ASSERT_NE(edit.Lower(0, 0), edit.Lower(1, 0));  // the seed's neighbours differ in tile ID
    edit.Use(kWaterA);
    edit.Model.ApplySeedFill({0, 0}, {});
    EXPECT_EQ(edit.Terrain(),
              "aaaabb\n"
              "aaaabb\n"
              "aaaabb\n"
              "aaaabb\n");
    EXPECT_EQ(MaskRows(edit.Model, 6),
              "####..\n"
              "####..\n"
              "####..\n"
              "####..\n");
}

TEST(FillTest, WholeMapWithAndWithoutCtrlAndOnTheUpperLayer) {
    TEditFixture edit(MakeMap(5, 4));
    edit.Use(kGrass + 49);
    edit.Model.ApplySeedFill({2, 2}, {});
    for (std::uint16_t tile : edit.Map->LowerLayer.Cells())
        EXPECT_EQ(tile, kGrass);
    // Filling the same terrain again with Ctrl held gives the map a border.
    edit.Model.ApplySeedFill({2, 2}, {false, true});
    EXPECT_EQ(edit.Lower(0, 0), kGrass + 34);
    EXPECT_EQ(edit.Lower(2, 0), kGrass + 20);
    EXPECT_EQ(edit.Lower(4, 3), kGrass + 38);
    EXPECT_EQ(edit.Lower(2, 2), kGrass);

    // Upper layer: the region of equal tile IDs.
    edit.Model.Mode = TKelEditMode::Upper;
    edit.Map->UpperLayer.SetCell(1, 0, 10007);
    edit.Map->UpperLayer.SetCell(1, 1, 10007);
    edit.Map->UpperLayer.SetCell(0, 1, 10007);
    edit.Use(10020);
    edit.Model.ApplySeedFill({0, 0}, {});
    EXPECT_EQ(edit.Upper(0, 0), 10020);
    EXPECT_EQ(edit.Upper(1, 1), 10007);
    EXPECT_EQ(edit.Upper(4, 3), 10000);
    // A fill outside the map changes nothing but is still a step of its own.
    const int steps = edit.Model.UndoStore.Count();
    const auto before = edit.Map->UpperLayer.Cells();
    edit.Model.ApplySeedFill({-1, 0}, {});
    edit.Model.ApplySeedFill({5, 3}, {});
    EXPECT_EQ(edit.Map->UpperLayer.Cells(), before);
    EXPECT_EQ(edit.Model.UndoStore.Count(), std::min(3, steps + 2));
}

TEST(PickTest, PickIsAtMost6x6AndTurnsShapesIntoPreviews) {
    TEditFixture edit(MakeMap(12, 12));
    edit.Map->LowerLayer.SetCell(3, 3, kWaterB + 7 * 50 + 12);
    edit.Map->LowerLayer.SetCell(4, 3, kSand + 33);
    edit.Map->LowerLayer.SetCell(5, 3, 3062);
    edit.Map->LowerLayer.SetCell(3, 4, kPlain + 7);
    // Dragged ten cells up and left from (8, 8): limited to five cells away.
    ASSERT_TRUE(edit.Model.PickPattern({8, 8}, {-2, -2}, {}));
    const TKelCurrentChip& pattern = edit.Model.Pattern();
    EXPECT_EQ(pattern.Width, 6);
    EXPECT_EQ(pattern.Height, 6);
    EXPECT_EQ(edit.Model.PatternOffset, (TPoint{0, 0}));
    EXPECT_EQ(pattern.GetTile(0, 0), kWaterB + 49);
    EXPECT_EQ(pattern.GetTile(1, 0), kSand + 49);
    EXPECT_EQ(pattern.GetTile(2, 0), 3099);
    EXPECT_EQ(pattern.GetTile(0, 1), kPlain + 7);
    // With Shift the IDs stay as they are; dragging down-right sets the offset.
    ASSERT_TRUE(edit.Model.PickPattern({3, 3}, {4, 30}, {true, false}));
    EXPECT_EQ(pattern.Width, 2);
    EXPECT_EQ(pattern.Height, 6);
    EXPECT_EQ(edit.Model.PatternOffset, (TPoint{1, 5}));
    EXPECT_EQ(pattern.GetTile(0, 0), kWaterB + 7 * 50 + 12);
    // The picked pattern draws the block back with its shape resolved.
    edit.Model.PickPattern({4, 3}, {4, 3}, {});
    edit.Model.ApplyPenStroke({{10, 10}}, {});
    EXPECT_EQ(edit.Lower(10, 10), kSand + 46);
    TEditFixture empty(MakeMap(0, 0));
    EXPECT_FALSE(empty.Model.PickPattern({0, 0}, {INT_MAX, INT_MIN}, {}));
}
