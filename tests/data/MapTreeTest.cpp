#include "data/LD_MapTree.h"

#include "data/LD_Map.h"
#include "platform/FileUtils.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace quillon;

namespace {

using TIds = std::vector<std::int32_t>;

std::string SaveTree(TKelMapTree& tree) {
    TMemoryStream s;
    tree.SaveTreeToStream(s);
    return s.Bytes();
}

void LoadTree(TKelMapTree& tree, const std::string& bytes) {
    TByteViewStream s(bytes);
    tree.LoadTreeFromStream(s);
}

std::string SaveRecord(TCatalogBaseItem& record) {
    TMemoryStream s;
    record.SaveToStream(s);
    return s.Bytes();
}

TIds Depths(const TKelMapTree& tree) {
    TIds depths;
    for (const std::int32_t id : tree.Order)
        depths.push_back(tree.FindByID(id)->Depth);
    return depths;
}

// Root 0; maps 1 and 2 under it; 3 under 1; 4 under 1 (placed before 2); 5 under 3 (placed
// before 4, the first entry at 3's depth).
void BuildTree(TKelMapTree& tree) {
    tree.Clear();
    tree.AddItem(0, 0).Name = "Game";
    for (const auto& [parent, id] : std::vector<std::pair<int, int>>{{0, 1}, {1, 3}, {0, 2}, {1, 4}, {3, 5}}) {
        TKelMapTreeItem& item = tree.AddItem(parent, id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = "MAP000" + std::to_string(id);
    }
}

// A tree with an area, encounters, music and start positions.
void FillTree(TKelMapTree& tree) {
    BuildTree(tree);
    TKelMapTreeItem& area = tree.AddItem(2, 9);
    area.Kind = TKelMapTreeItem::mkArea;
    area.Name = "Forest \x82\xa0";
    area.AreaRect = {2, 3, 12, -1};
    area.Encounters.Obtain(1).MonsterGroupId = 4;
    area.Encounters.Obtain(2).MonsterGroupId = 6;
    area.Encounters.Obtain(3).MonsterGroupId = 1;
    area.EncounterSteps = 0;
    TKelMapTreeItem& map = *tree.FindByID(2);
    map.MusicType = TKelMapTreeItem::mtSetTo;
    map.Music.Name = "Town";
    map.Music.Tempo = 120;
    map.BackdropType = TKelMapTreeItem::btSetTo;
    map.BackdropName = "Grass";
    map.TeleportPermission = 2;
    map.EscapePermission = 1;
    map.SavePermission = 2;
    map.ScrollX = 640;
    map.ScrollY = -32;
    map.Expanded = 1;
    tree.CurrentMapId = 9;
    tree.StartPosition.SetMapId(TKelMapStartPosition::spParty, 2);
    tree.StartPosition.SetX(TKelMapStartPosition::spParty, 7);
    tree.StartPosition.SetY(TKelMapStartPosition::spParty, 8);
    tree.StartPosition.SetMapId(TKelMapStartPosition::spAirship, 5);
    tree.StartPosition.SetY(TKelMapStartPosition::spAirship, 300);
}

using TTempFolderTest = testkit::TWorkFolderTest;

}  // namespace

TEST(MapTreeRecords, DefaultsResetAndCopies) {
    // The encounter's troop ID is left out only when 0, and then reads back as 1.
    TKelEncountItem entry;
    EXPECT_EQ(SaveRecord(entry), std::string("\x01\x01\x01\x00", 4));
    entry.MonsterGroupId = 0;
    const std::string omitted = SaveRecord(entry);
    EXPECT_EQ(omitted, std::string(1, '\0'));
    TByteViewStream stream(omitted);
    entry.LoadFromStream(stream);
    EXPECT_EQ(entry.MonsterGroupId, 1);

    // Reset clears the map properties only.
    TKelMapTreeItem item;
    item.Name = "Cave";
    item.ParentId = 3;
    item.AreaRect = {1, 2, 3, 4};
    item.Music.Volume = 10;
    item.Encounters.Obtain(1);
    item.EncounterSteps = 99;
    item.Reset();
    EXPECT_EQ(item.Name, "Cave");
    EXPECT_EQ(item.ParentId, 3);
    EXPECT_EQ(item.AreaRect, (TKelAreaRect{1, 2, 3, 4}));
    EXPECT_EQ(item.Music.Volume, 100);
    EXPECT_EQ(item.Encounters.Count(), 0);
    EXPECT_EQ(item.EncounterSteps, 25);
    // A copy is whole: what the source leaves out at its defaults does not keep the old values.
    TKelMapTreeItem source;
    source.Kind = TKelMapTreeItem::mkMap;
    item.Assign(source);
    EXPECT_EQ(item.Name, "");
    EXPECT_EQ(item.ParentId, 0);
    EXPECT_EQ(item.AreaRect, TKelAreaRect{});
    EXPECT_EQ(item.Kind, TKelMapTreeItem::mkMap);

    // Start positions by index: fields 1..3 party, 11..13 boat, 21..23 ship, 31..33 airship.
    TKelMapStartPosition start;
    start.SetX(TKelMapStartPosition::spShip, 7);
    start.SetMapId(TKelMapStartPosition::spBoat, 2);
    start.SetY(4, 99);  // no such position
    EXPECT_EQ(start.GetY(4), 0);
    EXPECT_EQ(SaveRecord(start), std::string("\x0B\x01\x02\x16\x01\x07\x00", 7));
}

TEST(MapTree, AddItemPlacesAfterTheParentsSubtree) {
    TKelMapTree tree;
    BuildTree(tree);
    EXPECT_EQ(tree.Order, (TIds{0, 1, 3, 5, 4, 2}));
    EXPECT_EQ(Depths(tree), (TIds{1, 2, 3, 4, 3, 2}));  // the root starts at depth 1
    EXPECT_EQ(tree.OrderIndexOf(4), 4);

    // Under a parent that is not in the order (or does not exist), the item goes last.
    tree.AddItem(77, 8);
    EXPECT_EQ(tree.Order.back(), 8);
    EXPECT_EQ(tree.FindByID(8)->Depth, 0);

    // Adding an ID again moves it instead of listing it twice.
    tree.AddItem(0, 3);
    EXPECT_EQ(tree.Order, (TIds{0, 1, 5, 4, 2, 8, 3}));

    // Adding an ID that was deleted takes it off the deleted list.
    tree.DeletedMaps = {6, 12};
    tree.AddItem(2, 12);
    EXPECT_EQ(tree.DeletedMaps, (TIds{6}));
    EXPECT_TRUE(tree.IsModified());
}

TEST(MapTree, DeleteItemTakesTheSubtree) {
    TKelMapTree tree;
    BuildTree(tree);
    tree.StartPosition.SetMapId(TKelMapStartPosition::spParty, 1);
    tree.StartPosition.SetX(TKelMapStartPosition::spParty, 4);
    tree.StartPosition.SetMapId(TKelMapStartPosition::spBoat, 5);
    tree.StartPosition.SetMapId(TKelMapStartPosition::spShip, 2);
    EXPECT_FALSE(tree.IsModified());

    tree.DeleteItem(1);
    EXPECT_EQ(tree.Order, (TIds{0, 2}));
    EXPECT_EQ(tree.DeletedMaps, (TIds{1, 3, 5, 4}));
    EXPECT_EQ(tree.Count(), 2);
    EXPECT_TRUE(tree.IsModified());
    // Start positions on the deleted maps (the descendant 5 too) are cleared, others stay.
    EXPECT_EQ(tree.StartPosition.GetX(TKelMapStartPosition::spParty), 0);
    EXPECT_EQ(tree.StartPosition.GetMapId(TKelMapStartPosition::spBoat), 0);
    EXPECT_EQ(tree.StartPosition.GetMapId(TKelMapStartPosition::spShip), 2);

    // A leaf goes alone; deleting again changes nothing.
    tree.DeleteItem(2);
    tree.DeleteItem(2);
    EXPECT_EQ(tree.Order, (TIds{0}));
    EXPECT_EQ(tree.DeletedMaps, (TIds{1, 3, 5, 4, 2}));
}

TEST(MapTree, WalkOutAndBackIn) {
    TKelMapTree tree;
    FillTree(tree);
    // Item 6 under 5 goes to the end of the order (no entry after 5 has 5's depth), yet the walk
    // shows it under its parent.
    tree.AddItem(5, 6).Kind = TKelMapTreeItem::mkMap;
    tree.FindByID(1)->Expanded = 1;
    ASSERT_EQ(tree.Order, (TIds{0, 1, 3, 5, 4, 2, 9, 6}));

    const std::vector<TKelMapTreeNode> nodes = tree.WalkOut();
    const std::vector<TKelMapTreeNode> expected = {
        {0, 0, false}, {1, 1, true}, {3, 2, false}, {5, 3, false}, {6, 4, false},
        {4, 2, false}, {2, 1, true}, {9, 2, false}};
    EXPECT_EQ(nodes, expected);

    TIds withoutAreas;
    for (const auto& node : tree.WalkOut(true))
        withoutAreas.push_back(node.Id);
    EXPECT_EQ(withoutAreas, (TIds{0, 1, 3, 5, 6, 4, 2}));

    // Back in: order in pre-order, depths from levels (the root at 0), parents from the walk.
    tree.WalkIn(nodes);
    EXPECT_EQ(tree.Order, (TIds{0, 1, 3, 5, 6, 4, 2, 9}));
    EXPECT_EQ(Depths(tree), (TIds{0, 1, 2, 3, 4, 2, 1, 2}));
    EXPECT_EQ(tree.FindByID(6)->ParentId, 5);

    // A view where 4 was dragged under 2 and collapsed, with a stray and a repeated node.
    tree.WalkIn({{0, 0, true}, {1, 1, false}, {3, 2, false}, {2, 1, true}, {4, 2, false},
                 {42, 2, false}, {2, 1, false}, {9, 3, false}});
    EXPECT_EQ(tree.Order, (TIds{0, 1, 3, 2, 4, 9}));
    EXPECT_EQ(tree.FindByID(4)->ParentId, 2);
    EXPECT_EQ(tree.FindByID(9)->Depth, 3);
    EXPECT_EQ(tree.FindByID(1)->Expanded, 0);
}

TEST(MapTree, FileRoundTripAndHostileOrder) {
    TKelMapTree tree;
    FillTree(tree);
    const std::string first = SaveTree(tree);
    EXPECT_EQ(first.substr(0, 11), "\x0AKelMapTree");

    TKelMapTree loaded;
    LoadTree(loaded, first);
    EXPECT_EQ(SaveTree(loaded), first);
    EXPECT_EQ(loaded.Order, tree.Order);
    EXPECT_EQ(loaded.CurrentItem()->Name, "Forest \x82\xa0");
    const TKelMapTreeItem& area = *loaded.FindByID(9);
    EXPECT_EQ(area.AreaRect, (TKelAreaRect{2, 3, 12, -1}));
    EXPECT_EQ(area.Encounters.FindByID(2)->MonsterGroupId, 6);
    EXPECT_EQ(loaded.FindByID(2)->Music.Tempo, 120);
    EXPECT_EQ(loaded.StartPosition.GetY(TKelMapStartPosition::spAirship), 300);

    // An order naming unknown IDs and repeating one loads without nodes for nothing or twice.
    tree.Order = {0, 1, 77, 1, 3, 5, 0, 4, 2, 9, -3, 9};
    LoadTree(loaded, SaveTree(tree));
    EXPECT_EQ(loaded.Order, (TIds{0, 1, 3, 5, 4, 2, 9}));
    EXPECT_EQ(loaded.WalkOut().size(), 7u);

    // An order count beyond the bytes present, and a foreign signature, are read errors.
    std::string huge = first;
    // Count, seven one-byte IDs, the current map and the start positions end the file.
    const std::size_t orderAt = huge.size() - (1 + 7 + 1 + SaveRecord(tree.StartPosition).size());
    ASSERT_EQ(huge[orderAt], '\x07');
    huge.replace(orderAt, 1, "\x8F\xFF\xFF\xFF\x7F");
    EXPECT_THROW(LoadTree(loaded, huge), EReadError);
    EXPECT_THROW(LoadTree(loaded, "\x0AKelMapUnit" + first.substr(11)), EReadError);
}

TEST(MapTree, EveryCutOfASavedTreeLoadsSafely) {
    TKelMapTree tree;
    FillTree(tree);
    const std::string bytes = SaveTree(tree);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        TKelMapTree cut;
        EXPECT_THROW(LoadTree(cut, bytes.substr(0, length)), EReadError) << length;
        for (const std::int32_t id : cut.Order)
            EXPECT_NE(cut.FindByID(id), nullptr);
        cut.WalkOut();
        SaveTree(cut);
    }
    for (std::size_t at = 11; at < bytes.size(); ++at) {
        for (const char value : {'\x00', '\x7F', '\xFF'}) {
            std::string damaged = bytes;
            damaged[at] = value;
            TKelMapTree loaded;
            try {
                LoadTree(loaded, damaged);
            } catch (const EReadError&) {
            }
            const std::set<std::int32_t> unique(loaded.Order.begin(), loaded.Order.end());
            EXPECT_EQ(unique.size(), loaded.Order.size());
            for (const std::int32_t id : loaded.Order)
                EXPECT_NE(loaded.FindByID(id), nullptr);
        }
    }
}

TEST_F(TTempFolderTest, NewProjectCommitsTheFirstMap) {
    TKelMapTree tree;
    // Left over from a project open before: must not reach the new one.
    tree.StartPosition.SetMapId(TKelMapStartPosition::spParty, 4);
    TKelMap map;
    map.Events.Obtain(3);
    tree.NewProject(mProject, "My Game", map);

    EXPECT_TRUE(FileExists(mProject + "GMK_RT.kmt"));
    EXPECT_TRUE(FileExists(mProject + "Map0001.kmu"));
    EXPECT_FALSE(FileExists(mWork + "Map0001.kmu"));
    EXPECT_FALSE(tree.IsModified());
    EXPECT_EQ(map.Width(), 100);
    EXPECT_EQ(map.Events.Count(), 0);

    TKelMapTree opened;
    opened.Load(mProject);
    EXPECT_EQ(opened.Order, (TIds{0, 1}));
    EXPECT_EQ(opened.CurrentMapId, 1);
    EXPECT_EQ(opened.ItemById(0)->Name, "My Game");
    EXPECT_EQ(opened.ItemById(0)->Depth, 1);
    const TKelMapTreeItem& first = *opened.ItemById(1);
    EXPECT_EQ(first.Name, "MAP0001");
    EXPECT_EQ(first.Kind, TKelMapTreeItem::mkMap);
    EXPECT_EQ(first.Depth, 2);
    EXPECT_EQ(first.MusicType, TKelMapTreeItem::mtNoChange);
    EXPECT_EQ(first.BackdropType, TKelMapTreeItem::btByTerrain);
    EXPECT_EQ(first.TeleportPermission + first.EscapePermission + first.SavePermission, 3);
    EXPECT_EQ(opened.StartPosition.GetMapId(TKelMapStartPosition::spParty), 0);

    TKelMap committed;
    committed.LoadFromProject(mProject, 1);
    EXPECT_EQ(committed.Width(), 100);
    EXPECT_EQ(committed.Height(), 100);
    EXPECT_EQ(committed.SaveCount, 2);  // once into the working folder, once on commit
}

TEST_F(TTempFolderTest, TreeSaveCommitsWorkingCopiesAndDeletesMaps) {
    TKelMapTree tree;
    TKelMap map;
    tree.NewProject(mProject, "Game", map);
    for (const int id : {2, 3}) {
        TKelMapTreeItem& item = tree.AddItem(1, id);
        item.Kind = TKelMapTreeItem::mkMap;
        map.Reset();
        map.LowerLayer.SetCell(0, 0, static_cast<std::uint16_t>(5000 + id));
        map.SaveToWork(id);
        item.Modified = true;
    }
    TKelMapTreeItem& area = tree.AddItem(1, 4);
    area.Kind = TKelMapTreeItem::mkArea;
    area.Modified = true;
    tree.Save(mProject);
    EXPECT_TRUE(FileExists(mProject + "Map0002.kmu"));
    EXPECT_TRUE(FileExists(mProject + "Map0003.kmu"));
    EXPECT_FALSE(FileExists(mProject + "Map0004.kmu"));
    EXPECT_FALSE(FileExists(mWork + "Map0002.kmu"));
    EXPECT_FALSE(tree.IsModified());

    // An edit goes to the working copy; the project's file changes only on the tree save.
    map.LoadFromProject(mProject, 2);
    map.LowerLayer.SetCell(1, 1, 5100);
    map.SaveToWork(2);
    tree.FindByID(2)->Modified = true;
    EXPECT_TRUE(tree.IsModified());
    map.LoadFromProject(mProject, 2);
    EXPECT_EQ(map.LowerLayer.Cell(1, 1), 0);
    tree.Save(mProject);
    map.LoadFromProject(mProject, 2);
    EXPECT_EQ(map.LowerLayer.Cell(1, 1), 5100);
    EXPECT_EQ(map.LowerLayer.Cell(0, 0), 5002);
    EXPECT_FALSE(FileExists(mWork + "Map0002.kmu"));

    // A flag whose working copy has gone leaves the project's file as it was.
    tree.FindByID(3)->Modified = true;
    tree.Save(mProject);
    map.LoadFromProject(mProject, 3);
    EXPECT_EQ(map.LowerLayer.Cell(0, 0), 5003);
    EXPECT_FALSE(tree.FindByID(3)->Modified);

    // Deleting map 1 takes 2, 3 and the area; the files go at the next save.
    tree.DeleteItem(1);
    EXPECT_EQ(tree.DeletedMaps, (TIds{1, 2, 3, 4}));
    EXPECT_TRUE(FileExists(mProject + "Map0001.kmu"));
    EXPECT_TRUE(FileExists(mProject + "Map0003.kmu"));
    tree.Save(mProject);
    EXPECT_TRUE(tree.DeletedMaps.empty());
    for (const char* name : {"Map0001.kmu", "Map0002.kmu", "Map0003.kmu"})
        EXPECT_FALSE(FileExists(mProject + name)) << name;

    TKelMapTree reopened;
    reopened.Load(mProject);
    EXPECT_EQ(reopened.Order, (TIds{0}));
}

TEST_F(TTempFolderTest, LoadDiscardsTheWorkingCopiesOfTheOpenTree) {
    TKelMapTree tree;
    TKelMap map;
    tree.NewProject(mProject, "Game", map);
    map.SaveToWork(1);
    tree.FindByID(1)->Modified = true;
    tree.DeletedMaps = {7};
    ASSERT_TRUE(FileExists(mWork + "Map0001.kmu"));

    tree.Load(mProject);  // re-open without saving
    EXPECT_FALSE(FileExists(mWork + "Map0001.kmu"));
    EXPECT_FALSE(tree.IsModified());

    // Saving an empty tree writes nothing.
    TKelMapTree empty;
    std::filesystem::remove(mProject + "GMK_RT.kmt");
    empty.Save(mProject);
    EXPECT_FALSE(FileExists(mProject + "GMK_RT.kmt"));
    EXPECT_THROW(empty.Load(mProject), EFileError);
}
