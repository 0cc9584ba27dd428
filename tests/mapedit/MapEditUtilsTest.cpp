// Tile-ID conversions, shape tables, the picked pattern, the undo store and the event map.
#include "MapEditTestKit.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using namespace quillon::test;

TEST(TileChipTest, EveryEntryRoundTripsThroughItsBaseTile) {
    for (std::int32_t chip = 0; chip < kLowerTableSize; ++chip) {
        const std::int32_t tile = ChipToTile(chip);
        EXPECT_EQ(TileToChip(tile), chip) << "entry " << chip;
        // The shape and the water corners do not change the entry.
        if (tile < kTileLowerFirst) {
            EXPECT_EQ(TileToChip(tile + 49), chip);
        }
        if (chip < 3) {
            EXPECT_EQ(TileToChip(tile + 15 * 50 + 46), chip);
        }
    }
    EXPECT_EQ(ChipToTile(3), 3000);
    EXPECT_EQ(ChipToTile(5), 3100);
    EXPECT_EQ(ChipToTile(6), 4000);
    EXPECT_EQ(ChipToTile(17), 4550);
    EXPECT_EQ(ChipToTile(18), 5000);
    EXPECT_EQ(TileToChip(5143), 161);
    EXPECT_EQ(TileToChip(-1), -1);
    // The table's entries agree with the map unit's own decomposition of IDs.
    for (std::int32_t tile : {0, 1049, 2999, 3000, 3149, 4000, 4599, 5000, 5143})
        EXPECT_EQ(TileToChip(tile), LowerTableIndex(tile)) << tile;
}

TEST(ShapeTableTest, EveryShapesMaskMapsBackToTheShape) {
    const auto table = BuildMaskToShapeTable();
    for (int shape = 0; shape <= 46; ++shape)
        EXPECT_EQ(table[ShapeToMask(shape)], shape) << "shape " << shape;
    // The table reaches exactly shapes 0..46.
    std::set<int> reached(table.begin(), table.end());
    EXPECT_EQ(reached.size(), 47u);
    EXPECT_EQ(*reached.rbegin(), 46);
    for (int shape : {47, 48, 49})
        EXPECT_EQ(ShapeToMask(shape), 0);
    EXPECT_EQ(ShapeToMask(50), 0);
    EXPECT_EQ(ShapeToMask(-1), 0);
}

TEST(ShapeTableTest, OpenSidesIgnoreTheirDiagonalsAndInnerCornersAddWeights) {
    EXPECT_EQ(MaskToShape(0), 0);
    EXPECT_EQ(MaskToShape(255), 46);
    EXPECT_EQ(MaskToShape(nbTopLeft | nbBottomRight), 5);
    // Left open: the left diagonals make no difference, the right ones are inner corners.
    EXPECT_EQ(MaskToShape(nbLeft), 16);
    EXPECT_EQ(MaskToShape(nbLeft | nbTopLeft | nbBottomLeft), 16);
    EXPECT_EQ(MaskToShape(nbLeft | nbBottomRight), 18);
    EXPECT_EQ(MaskToShape(nbTop | nbBottomLeft), 22);
    EXPECT_EQ(MaskToShape(nbRight | nbTopLeft), 26);
    EXPECT_EQ(MaskToShape(nbBottom | nbTopRight), 30);
    // Two opposite open sides leave no corner to weigh.
    EXPECT_EQ(MaskToShape(nbLeft | nbRight | nbTopLeft | nbBottomRight), 32);
    EXPECT_EQ(MaskToShape(nbLeft | nbTop | nbBottomRight), 35);
    EXPECT_EQ(MaskToShape(nbLeft | nbTop | nbRight | nbBottomLeft), 42);
    EXPECT_EQ(MaskToShape(256 + nbLeft), 16);  // only the low eight bits count
}

TEST(CurrentChipTest, StoresColumnByColumnAndRepeatsFromTheAnchor) {
    TKelCurrentChip chip;
    chip.Width = 2;
    chip.Height = 3;
    chip.SetTile(1, 2, 4321);
    EXPECT_EQ(chip.Tiles[1 * 6 + 2], 4321);
    EXPECT_EQ(chip.GetTile(1, 2), 4321);
    chip.SetTile(0, 0, 10);
    chip.SetTile(1, 0, 11);
    chip.SetTile(0, 1, 12);
    // Cells left of and above the anchor continue the repetition.
    const TPoint anchor{5, 5};
    EXPECT_EQ(chip.TileAt({5, 5}, anchor), 10);
    EXPECT_EQ(chip.TileAt({6, 5}, anchor), 11);
    EXPECT_EQ(chip.TileAt({4, 5}, anchor), 11);
    EXPECT_EQ(chip.TileAt({3, 6}, anchor), 12);
    EXPECT_EQ(chip.TileAt({5, 2}, anchor), 10);
    EXPECT_EQ(chip.TileAt({4, 4}, anchor), 4321);
    // Outside the 6 x 6 store: nothing happens.
    chip.SetTile(6, 0, 1);
    chip.SetTile(-1, 0, 1);
    EXPECT_EQ(chip.GetTile(6, 0), 0);
    EXPECT_EQ(chip.GetTile(0, -1), 0);
    chip.Width = 0;  // a broken size repeats as 1 x 1
    chip.Height = -3;
    EXPECT_EQ(chip.TileAt({-7, 100}, anchor), 10);
}

TEST(UndoManagerTest, KeepsTheThreeLatestStates) {
    auto map = MakeMap(4, 3);
    TKelMapEditUndoManager undo;
    undo.SetSize(4, 3);
    EXPECT_FALSE(undo.Undo(*map));
    // Five edits, each recorded before it: states 0..4 in cell (1, 1), then 5.
    for (int edit = 0; edit < 5; ++edit) {
        map->LowerLayer.SetCell(1, 1, static_cast<std::uint16_t>(kPlain + edit));
        map->UpperLayer.SetCell(2, 2, static_cast<std::uint16_t>(10000 + edit));
        undo.PushMap(*map);
        EXPECT_EQ(undo.Position(), (edit + 1) % 3);
        EXPECT_EQ(undo.Count(), std::min(3, edit + 1));
    }
    map->LowerLayer.SetCell(1, 1, kPlain + 9);
    for (int expected : {4, 3, 2}) {
        EXPECT_TRUE(undo.Undo(*map));
        EXPECT_EQ(map->LowerLayer.Cell(1, 1), kPlain + expected);
        EXPECT_EQ(map->UpperLayer.Cell(2, 2), 10000 + expected);
    }
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_FALSE(undo.Undo(*map));
    EXPECT_EQ(map->LowerLayer.Cell(1, 1), kPlain + 2);
}

TEST(UndoManagerTest, PushLayersRecordsTheGivenLayersAtTheMapsSize) {
    auto map = MakeMap(3, 2);
    TKelMapLayer before{kLowerFillValue};
    before.Resize(5, 5);
    before.SetCell(2, 1, 4321);
    before.SetCell(4, 4, 1234);  // outside the map: dropped
    TKelMapLayer upper{kUpperFillValue};
    TKelMapEditUndoManager undo;
    undo.PushLayers(*map, before, upper);
    EXPECT_EQ(undo.Lower(0).Width(), 3);
    EXPECT_EQ(undo.Lower(0).Height(), 2);
    map->LowerLayer.SetCell(2, 1, kPlain);
    EXPECT_TRUE(undo.Undo(*map));
    EXPECT_EQ(map->LowerLayer.Cell(2, 1), 4321);
    // A map made smaller after the snapshot takes only what fits; nothing is written outside.
    undo.PushMap(*map);
    map->SetWidth(1);
    EXPECT_TRUE(undo.Undo(*map));
    EXPECT_EQ(map->LowerLayer.Width(), 1);
    undo.Clear();
    EXPECT_FALSE(undo.Undo(*map));
}

namespace {

TKelEventItem& AddEvent(TKelMap& map, std::int32_t id, std::int32_t x, std::int32_t y) {
    TKelEventItem& event = map.Events.Obtain(id);
    event.X = x;
    event.Y = y;
    return event;
}

}  // namespace

TEST(EventMapTest, EventsAndStartPositionsOfTheMap) {
    auto map = MakeMap(5, 4);
    map->ID = 3;
    AddEvent(*map, 1, 1, 1);
    AddEvent(*map, 2, 4, 3);
    AddEvent(*map, 3, 1, 1);   // same cell as event 1: the later one wins
    AddEvent(*map, 4, 5, 0);   // outside
    AddEvent(*map, 5, -1, 2);  // outside
    AddEvent(*map, 6, 4, 3);
    TKelMapTree tree;
    tree.CurrentMapId = 7;  // positions follow the map's own ID, not the tree's selection
    tree.StartPosition.PartyMapId = 3;  // on event 6: hides it
    tree.StartPosition.PartyX = 4;
    tree.StartPosition.PartyY = 3;
    tree.StartPosition.ShipMapId = 3;
    tree.StartPosition.ShipX = 0;
    tree.StartPosition.ShipY = 0;
    tree.StartPosition.BoatMapId = 7;  // another map: not shown
    tree.StartPosition.BoatX = 2;
    tree.StartPosition.BoatY = 2;
    tree.StartPosition.AirshipMapId = 3;  // outside the map
    tree.StartPosition.AirshipX = 5;
    tree.StartPosition.AirshipY = 1;
    TKelEventMap events;
    events.Build(tree, *map);
    EXPECT_EQ(events.GetAt(1, 1), 3);
    EXPECT_EQ(events.GetAt(4, 3), kEventCodeParty);
    EXPECT_EQ(events.GetAt(0, 0), kEventCodeShip);
    EXPECT_EQ(events.GetAt(2, 2), 0);
    EXPECT_EQ(events.GetAt(5, 1), -1);
    EXPECT_EQ(events.GetAt(-1, 0), -1);
    std::size_t occupied = 0;
    for (std::uint16_t code : events.Cells())
        occupied += code != 0;
    EXPECT_EQ(occupied, 3u);

    // The same positions do not show on another map; the event is visible again.
    map->ID = 7;
    events.Build(tree, *map);
    EXPECT_EQ(events.GetAt(4, 3), 6);
    EXPECT_EQ(events.GetAt(2, 2), kEventCodeBoat);
    EXPECT_EQ(events.GetAt(0, 0), 0);

    // Rebuilt for an empty map: every cell is outside.
    auto empty = MakeMap(0, 0);
    events.Build(tree, *empty);
    EXPECT_EQ(events.GetAt(0, 0), -1);
    EXPECT_TRUE(events.Cells().empty());
}

TEST(EventMapTest, OutOfRangeEventIdsAndUnsetStartPositionsAreLeftOut) {
    auto map = MakeMap(3, 3);
    AddEvent(*map, 60001, 0, 0);
    AddEvent(*map, 60000, 1, 0);
    // Start positions that are not set (map 0) stay off a map whose ID is 0 too.
    TKelMapTree tree;
    map->ID = 0;
    ASSERT_EQ(tree.StartPosition.PartyMapId, 0);
    TKelEventMap events;
    events.Build(tree, *map);
    EXPECT_EQ(events.GetAt(0, 0), 0);
    EXPECT_EQ(events.GetAt(1, 0), 60000);
}
