// Writing cells with shape resolution: PutCell and PlaceTile.
#include "MapEditTestKit.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr TKelEditKeys kCtrl{false, true};
constexpr TKelEditKeys kShift{true, false};

}  // namespace

TEST(AutotileTest, IsolatedTileIsShape46AndInsideItsAreaShape0) {
    TEditFixture plain(MakeMap(5, 5));
    plain.Place(2, 2, kGrass);
    EXPECT_EQ(plain.Lower(2, 2), kGrass + 46);
    // The palette preview shape is resolved like any other.
    plain.Place(0, 4, kGrass + 49);
    EXPECT_EQ(plain.Lower(0, 4), kGrass + 36);  // open above and right; the map's edge joins

    TEditFixture grass(MakeMap(5, 5, kGrass));
    grass.Place(2, 2, kGrass + 49);
    EXPECT_EQ(grass.Lower(2, 2), kGrass);
}

TEST(AutotileTest, NeighbourUpdatesGiveTheSameBlockWhateverTheOrder) {
    // A 3 x 3 block of grass on plain ground, placed row by row and in a scattered order.
    TEditFixture rows(MakeMap(5, 5));
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x)
            rows.Place(x, y, kGrass);
    TEditFixture scattered(MakeMap(5, 5));
    for (TPoint p : {TPoint{2, 2}, TPoint{3, 3}, TPoint{1, 3}, TPoint{3, 1}, TPoint{1, 1}, TPoint{2, 1},
                     TPoint{1, 2}, TPoint{3, 2}, TPoint{2, 3}})
        scattered.Place(p.X, p.Y, kGrass);
    EXPECT_EQ(rows.Map->LowerLayer.Cells(), scattered.Map->LowerLayer.Cells());
    const int expected[3][3] = {{34, 20, 36}, {16, 0, 24}, {40, 28, 38}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(rows.Lower(x + 1, y + 1), kGrass + expected[y][x]) << x << "," << y;
    // Taking the centre out turns the four sides' inner diagonals into corners of the hole.
    rows.Place(2, 2, kPlain);
    EXPECT_EQ(rows.Lower(2, 1), kGrass + MaskToShape(nbTop | nbTopLeft | nbTopRight | nbBottom));
    EXPECT_EQ(rows.Lower(1, 1), kGrass + MaskToShape(nbLeft | nbTop | nbBottomRight));
}

TEST(AutotileTest, MapEdgeIsABorderOnlyWithCtrl) {
    TEditFixture edge(MakeMap(3, 3, kGrass));
    edge.Place(0, 1, kGrass, kCtrl);
    EXPECT_EQ(edge.Lower(0, 1), kGrass + 16);
    edge.Place(0, 0, kGrass, kCtrl);
    EXPECT_EQ(edge.Lower(0, 0), kGrass + 34);
    edge.Place(0, 1, kGrass);
    EXPECT_EQ(edge.Lower(0, 1), kGrass);
    // Without Ctrl the neighbours' updates do not bring the border back either.
    edge.Place(1, 0, kGrass);
    EXPECT_EQ(edge.Lower(0, 0), kGrass + 34);
}

TEST(AutotileTest, WaterKindsAndAnimatedTilesJoinEachOtherButNotGround) {
    TEditFixture water(MakeMap(3, 3, kWaterB));
    water.Place(1, 1, kWaterA);
    EXPECT_EQ(water.Lower(1, 1), kWaterA);
    water.Place(0, 0, 3050);  // animated block 1: joins the water, keeps its entry
    EXPECT_EQ(water.Lower(0, 0), 3050);
    EXPECT_EQ(TileToChip(water.Lower(0, 0)), 4);
    water.Place(2, 1, kGrass);
    EXPECT_EQ(water.Lower(1, 1), kWaterA + 24);
    // An isolated animated tile carries shape 46 without leaving its block.
    TEditFixture plain(MakeMap(3, 3));
    plain.Place(1, 1, 3000);
    EXPECT_EQ(plain.Lower(1, 1), 3046);
}

TEST(AutotileTest, LinksJoinInOneDirection) {
    // Sand's link names grass: grass joins sand neighbours, sand does not join grass.
    const TKelAutotileLinks links = [](std::int32_t chip) { return chip == 7 ? 6 : -1; };
    TEditFixture sand(MakeMap(3, 3, kSand));
    sand.Model.Links = links;
    sand.Place(1, 1, kGrass);
    EXPECT_EQ(sand.Lower(1, 1), kGrass);
    TEditFixture grass(MakeMap(3, 3, kGrass));
    grass.Model.Links = links;
    grass.Place(1, 1, kSand);
    EXPECT_EQ(grass.Lower(1, 1), kSand + 46);
    // The grass around re-resolved: it joins the sand.
    EXPECT_EQ(grass.Lower(0, 0), kGrass);
    // Without links, both see a border.
    TEditFixture unlinked(MakeMap(3, 3, kSand));
    unlinked.Place(1, 1, kGrass);
    EXPECT_EQ(unlinked.Lower(1, 1), kGrass + 46);
}

TEST(AutotileTest, CornerPiecesWhereShallowWaterMeetsDeepWater) {
    // Water A with deep water above, left and top-left: corner value 1.
    auto map = MakeMap(3, 3, kWaterA);
    for (TPoint p : {TPoint{0, 0}, TPoint{1, 0}, TPoint{2, 0}, TPoint{0, 1}, TPoint{0, 2}})
        map->LowerLayer.SetCell(p.X, p.Y, kDeep);
    TEditFixture shallow(std::move(map));
    shallow.Place(1, 1, kWaterA);
    EXPECT_EQ(shallow.Lower(1, 1), kWaterA + 50);
    // A ground tile on the top-left diagonal opens it: no corner there any more.
    shallow.Map->LowerLayer.SetCell(0, 0, kGrass);
    shallow.Place(1, 1, kWaterB);
    EXPECT_EQ(shallow.Lower(1, 1), kWaterB + 1);

    // Deep water counts shallow water and the map's outside on all eight sides.
    TEditFixture deep(MakeMap(3, 3, kWaterB));
    deep.Place(1, 1, kDeep);
    EXPECT_EQ(deep.Lower(1, 1), kDeep + 15 * 50);
    TEditFixture alone(MakeMap(1, 1));
    alone.Place(0, 0, kDeep);
    EXPECT_EQ(alone.Lower(0, 0), kDeep + 15 * 50);
    // Deep water between deep water has no corners; a bottom-right shallow gap gives value 8 only
    // with the bottom and right counting too.
    auto pool = MakeMap(3, 3, kDeep);
    pool->LowerLayer.SetCell(2, 2, kWaterA);
    TEditFixture inner(std::move(pool));
    inner.Place(1, 1, kDeep);
    EXPECT_EQ(inner.Lower(1, 1), kDeep);
    inner.Map->LowerLayer.SetCell(2, 1, kWaterA);
    inner.Map->LowerLayer.SetCell(1, 2, kWaterA);
    inner.Place(1, 1, kDeep);
    EXPECT_EQ(inner.Lower(1, 1), kDeep + 8 * 50);
}

TEST(AutotileTest, ShiftWritesThePreviewAsShape0AndLeavesNeighboursAlone) {
    TEditFixture edit(MakeMap(3, 3));
    edit.Map->LowerLayer.SetCell(0, 1, kGrass);  // unresolved: would become shape 46 - or join
    edit.Place(1, 1, kGrass + 49, kShift);
    EXPECT_EQ(edit.Lower(1, 1), kGrass);
    EXPECT_EQ(edit.Lower(0, 1), kGrass);
    EXPECT_EQ(edit.Redrawn.size(), 1u);
    // Without Shift the same neighbour recomputes the bits toward the placed cell (its right
    // side and right diagonals); its other bits stay as its shape had them.
    edit.Place(1, 1, kGrass);
    EXPECT_EQ(edit.Lower(0, 1), kGrass + 6);
    // Water previews likewise lose only the preview shape.
    edit.Place(2, 2, kWaterB + 49, kShift);
    EXPECT_EQ(edit.Lower(2, 2), kWaterB);
}

TEST(AutotileTest, UnchangedCellIsNeitherWrittenNorRedrawn) {
    TEditFixture edit(MakeMap(4, 4));
    edit.Place(1, 1, kGrass);
    EXPECT_EQ(edit.Redrawn.size(), 1u);  // the plain neighbours do not change
    edit.Redrawn.clear();
    edit.Place(1, 1, kGrass);
    EXPECT_TRUE(edit.Redrawn.empty());
    edit.Place(2, 1, kGrass);
    ASSERT_EQ(edit.Redrawn.size(), 2u);  // the new cell and its changed neighbour
    EXPECT_EQ(edit.Redrawn[1], (TPoint{1, 1}));
}

TEST(AutotileTest, PartialUpdateMaskKeepsTheOtherBitsOfTheShape) {
    TEditFixture edit(MakeMap(3, 3, kGrass));
    // No bit recomputed: the shape written is the one given.
    edit.Model.PutCell(1, 1, true, true, 0, kGrass + 34, {});
    EXPECT_EQ(edit.Lower(1, 1), kGrass + 34);
    // Only the bottom side and its diagonals: the open left and top stay.
    edit.Model.PutCell(1, 1, true, true, 140, kGrass + 34, {});
    EXPECT_EQ(edit.Lower(1, 1), kGrass + 34);
    edit.Map->LowerLayer.SetCell(1, 2, kPlain);
    edit.Model.PutCell(1, 1, true, true, 140, kGrass + 34, {});
    EXPECT_EQ(edit.Lower(1, 1), kGrass + 43);
    // Resolve off: written as given, preview shape dropped.
    edit.Model.PutCell(1, 1, false, false, 255, kGrass + 49, {});
    EXPECT_EQ(edit.Lower(1, 1), kGrass);
}

TEST(AutotileTest, LoopingMapsWrapWritesAndNeighbours) {
    auto map = MakeMap(4, 3);
    map->SetScrollType(TKelMap::stHorizontalLoop);
    TEditFixture edit(std::move(map));
    edit.Place(3, 1, kGrass);
    edit.Use(kGrass);
    edit.Model.PutCell(-1 - 4 * 1000, 2, false, true, 255, kGrass, {});  // column 3 after wrapping
    EXPECT_EQ(TileToChip(edit.Lower(3, 2)), 6);
    edit.Place(0, 1, kGrass);
    // Column 0's left neighbour is column 3.
    EXPECT_EQ(edit.Lower(0, 1), kGrass + 45);  // open above, right and below; joined left
    // Column 3 was isolated (46); the update from column 0 joins its right side and leaves its
    // bottom, which nobody updated, open.
    EXPECT_EQ(edit.Lower(3, 1), kGrass + 43);
    // Rows do not loop: row -1 is outside.
    const auto before = edit.Map->LowerLayer.Cells();
    edit.Model.PutCell(0, -1, true, true, 255, kSand, {});
    edit.Model.PutCell(0, 3, true, true, 255, kSand, {});
    EXPECT_EQ(edit.Map->LowerLayer.Cells(), before);
}

TEST(AutotileTest, UpperLayerIsWrittenAsItIs) {
    TEditFixture edit(MakeMap(3, 3));
    edit.Model.Mode = TKelEditMode::Upper;
    edit.Place(1, 1, 10049);
    EXPECT_EQ(edit.Upper(1, 1), 10049);
    EXPECT_EQ(edit.Lower(1, 1), kPlain);
    edit.Redrawn.clear();
    edit.Place(1, 1, 10049);
    EXPECT_TRUE(edit.Redrawn.empty());
    // An autotile ID in the upper layer is not resolved either.
    edit.Place(0, 0, kGrass + 49);
    EXPECT_EQ(edit.Upper(0, 0), kGrass + 49);
}

TEST(AutotileTest, BadInputChangesNothing) {
    TEditFixture edit(MakeMap(3, 3));
    const auto before = edit.Map->LowerLayer.Cells();
    edit.Use(kGrass);
    for (TPoint p : {TPoint{-1, 0}, TPoint{3, 0}, TPoint{0, 3}, TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MAX}}) {
        edit.Model.PlaceTile(p.X, p.Y, {});
        edit.Model.PutCell(p.X, p.Y, true, true, 255, kGrass, kCtrl);
    }
    edit.Model.PutCell(1, 1, true, true, 255, -4, {});
    edit.Model.PutCell(1, 1, true, true, 255, 70000, {});
    EXPECT_EQ(edit.Map->LowerLayer.Cells(), before);
    EXPECT_TRUE(edit.Redrawn.empty());
    edit.Model.Mode = TKelEditMode::Events;
    edit.Place(1, 1, kGrass);
    EXPECT_EQ(edit.Map->LowerLayer.Cells(), before);
    // A looping map of no size and a model without a map.
    auto empty = MakeMap(0, 0);
    empty->SetScrollType(TKelMap::stBothLoop);
    TEditFixture none(std::move(empty));
    none.Place(0, 0, kGrass);
    none.Model.ApplySeedFill({0, 0}, {});
    none.Model.ApplyEllipse({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {});
    EXPECT_TRUE(none.Redrawn.empty());
    TKelMapEditModel unloaded;
    unloaded.PlaceTile(0, 0, {});
    unloaded.ApplyRectangle({0, 0}, {2, 2}, {});
    EXPECT_FALSE(unloaded.Undo());
}
