// The map tree window's model: loading and selecting maps and areas, drag and drop rules, the
// popup menus' states, new maps and areas, copy and paste through format 568, delete, map
// properties and shift.
#include "mapedit/MapTreeView.h"

#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/RecordTestKit.h"
#include "data/StreamUtils.h"
#include "platform/Clipboard.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>

namespace quillon {
namespace {

class TScriptedBox final : public IMessageBox {
public:
    std::vector<std::string> Texts;
    std::deque<int> Answers;
    TScriptedBox() { mPrevious = SetMessageBox(this); }
    ~TScriptedBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int, const void*) override {
        Texts.push_back(text);
        if (Answers.empty())
            return mrYes;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

// Dialogs that confirm with scripted values.
class TFakeDialogs final : public IMapTreeDialogs {
public:
    bool Confirm = true;
    std::int32_t Width = 30, Height = 20;
    std::string NewName;  // empty: keep
    TKelAreaRect Rect{10, 10, 20, 16};
    std::int32_t Dx = 0, Dy = 0;
    // What the last map dialog was given.
    bool LastNewMode = false, LastParentIsRoot = false;
    std::int32_t LastId = 0, LastChipSet = 0;
    std::string LastName;

    bool Available() const override { return true; }
    bool EditMap(bool newMode, bool parentIsRoot, TKelMapTreeItem& item, TKelMap& settings) override {
        LastNewMode = newMode;
        LastParentIsRoot = parentIsRoot;
        LastId = item.ID;
        LastName = item.Name;
        LastChipSet = settings.ChipSetId;
        if (!NewName.empty())
            item.Name = NewName;
        item.MusicType = TKelMapTreeItem::mtNoChange;
        item.Music.Name = "Town";  // dropped: the type is not "Set To"
        settings.SetWidth(Width);
        settings.SetHeight(Height);
        return Confirm;
    }
    bool EditArea(bool, const TKelMapTree&, const TKelMap&, TKelMapTreeItem& item) override {
        LastId = item.ID;
        LastName = item.Name;
        item.AreaRect = Rect;
        return Confirm;
    }
    bool ShiftMap(std::int32_t, std::int32_t, std::int32_t& dx, std::int32_t& dy) override {
        dx = Dx;
        dy = Dy;
        return Confirm;
    }
};

// A project: root 0 "Untitled"; map 1 (40 x 30) with area 2 and map 3 (20 x 15) under it;
// map 5 (25 x 25) at the top level.
class MapTreeViewTest : public testkit::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        SetProjectPath(mProject);
        WriteGameTitle(mProject, "Hero's Quest");
        TKelMapTree tree;
        tree.AddItem(0, 0).Name = "root";
        AddMap(tree, 0, 1, "Field", 40, 30);
        TKelMapTreeItem& area = tree.AddItem(1, 2);
        area.Kind = TKelMapTreeItem::mkArea;
        area.Name = "Forest";
        area.AreaRect = {10, 10, 20, 16};
        AddMap(tree, 1, 3, "Cave", 20, 15);
        AddMap(tree, 0, 5, "Town", 25, 25);
        tree.CurrentMapId = 1;
        tree.Save(mProject);
        mModel.Dialogs = &mDialogs;
        mHeard = mModel.OnChanged.Connect([this] {
            ++mNotified;
            mKeepScrollSeen = mModel.KeepScroll;
        });
        mModel.LoadTree();
        mNotified = 0;
    }
    void TearDown() override {
        SetProjectPath("");
        TWorkFolderTest::TearDown();
    }
    void AddMap(TKelMapTree& tree, std::int32_t parent, std::int32_t id, const char* name, int w, int h) {
        TKelMapTreeItem& item = tree.AddItem(parent, id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = name;
        TKelMap map;
        map.SetWidth(w);
        map.SetHeight(h);
        map.LowerLayer.SetCell(0, 0, static_cast<std::uint16_t>(5000 + id));
        map.SaveToProject(mProject, id);
    }
    std::vector<std::int32_t> NodeIds() const {
        std::vector<std::int32_t> ids;
        for (const TKelMapTreeNode& node : mModel.Nodes())
            ids.push_back(node.Id);
        return ids;
    }
    int RootCount() const {
        int roots = 0;
        for (int i = 0; i < mTree.Count(); ++i)
            roots += mTree.Items(i)->Kind == TKelMapTreeItem::mkRoot ? 1 : 0;
        return roots;
    }

    TEditorModeScope mEditor{true};
    TMemoryClipboard mClipboard;
    IClipboard* mOldClipboard = SetClipboard(&mClipboard);
    TKelMapTree mTree;
    TKelMap mMap;
    TFakeDialogs mDialogs;
    TMapTreeModel mModel{mTree, mMap};
    int mNotified = 0;
    TConnection mHeard;
    bool mKeepScrollSeen = false;

    struct TRestoreClipboard {
        IClipboard* Old;
        ~TRestoreClipboard() { SetClipboard(Old); }
    } mRestore{mOldClipboard};
};

TEST_F(MapTreeViewTest, LoadingFillsTheViewAndShowsTheCurrentMap) {
    EXPECT_EQ(mTree.FindByID(0)->Name, "Hero's Quest");
    EXPECT_EQ(NodeIds(), (std::vector<std::int32_t>{0, 1, 2, 3, 5}));
    EXPECT_EQ(mModel.Nodes()[2].Level, 2);
    EXPECT_EQ(mModel.Selected(), 1);
    EXPECT_EQ(mMap.Width(), 40);
    EXPECT_EQ(mMap.LowerLayer.Cell(0, 0), 5001);
    EXPECT_FALSE(mModel.IsModified());

    mModel.IncludeAreas = false;
    mModel.FillView();
    EXPECT_EQ(NodeIds(), (std::vector<std::int32_t>{0, 1, 3, 5}));

    // A tree without its root cannot be opened.
    TKelMapTree rootless;
    AddMap(rootless, 0, 1, "Only", 5, 5);
    rootless.Save(mProject);
    EXPECT_THROW(mModel.LoadTree(), std::runtime_error);
}

TEST_F(MapTreeViewTest, SwitchingNodesKeepsTheOpenMapsChangesInItsWorkingCopy) {
    mMap.LowerLayer.SetCell(1, 1, 5099);
    mMap.Modified = true;
    EXPECT_TRUE(mModel.IsModified());
    mModel.SelectNode(5);
    EXPECT_EQ(mMap.Width(), 25);
    EXPECT_TRUE(mTree.FindByID(1)->Modified);
    EXPECT_TRUE(FileExists(MapWorkFolder() + "Map0001.kmu"));

    mModel.SelectNode(1);  // from the working copy, not the project's file
    EXPECT_EQ(mMap.LowerLayer.Cell(1, 1), 5099);

    mModel.SelectNode(0);  // the root shows nothing
    EXPECT_EQ(mMap.Width(), 0);

    // The picker's shared map is copied rather than loaded.
    TKelMap shared;
    shared.ID = 5;
    shared.SetWidth(7);
    shared.SetHeight(7);
    mModel.SharedMap = &shared;
    mModel.SelectNode(5);
    EXPECT_EQ(mMap.Width(), 7);
    EXPECT_EQ(mMap.ID, 5);

    // Saving commits the working copy into the project folder.
    mModel.SaveTree();
    TKelMap saved;
    saved.LoadFromProject(mProject, 1);
    EXPECT_EQ(saved.LowerLayer.Cell(1, 1), 5099);
    EXPECT_FALSE(mModel.IsModified());
}

TEST_F(MapTreeViewTest, ATreeThatCouldNotBeSavedStillCountsAsChanged) {
    mMap.Modified = true;
    // The tree file cannot be replaced: a folder stands in its place.
    std::filesystem::remove(mProject + "GMK_RT.kmt");
    std::filesystem::create_directories(mProject + "GMK_RT.kmt/blocked");
    EXPECT_ANY_THROW(mModel.SaveTree());
    EXPECT_TRUE(mModel.IsModified());
}

TEST_F(MapTreeViewTest, SelectingAnAreaShowsItsMapWithTheAreaCentred) {
    mModel.ViewWidth = 640;
    mModel.ViewHeight = 480;
    mModel.SelectNode(5);
    mModel.SelectNode(2);
    EXPECT_EQ(mMap.Width(), 40);  // map 1
    EXPECT_EQ(mTree.CurrentMapId, 2);
    EXPECT_EQ(mTree.FindByID(2)->ScrollX, (10 + 20) * 16 - 320);
    EXPECT_EQ(mTree.FindByID(2)->ScrollY, (10 + 16) * 16 - 240);
    // Changes made while an area is shown go to its map's working copy.
    mMap.Modified = true;
    mModel.SaveOpenMap();
    EXPECT_TRUE(mTree.FindByID(1)->Modified);
    EXPECT_FALSE(mTree.FindByID(2)->Modified);
}

TEST_F(MapTreeViewTest, DropRules) {
    EXPECT_FALSE(mModel.CanDrop(2, 5));      // an area onto another map
    EXPECT_TRUE(mModel.CanDrop(2, 1));       // ... but onto its own map
    EXPECT_FALSE(mModel.CanDrop(1, 3));      // a map into its own subtree
    EXPECT_FALSE(mModel.CanDrop(1, 1));      // onto itself
    EXPECT_FALSE(mModel.CanDrop(3, 2));      // onto an area
    EXPECT_FALSE(mModel.CanDrop(0, 5));      // the root does not move
    EXPECT_FALSE(mModel.CanDrop(5, std::nullopt));
    EXPECT_TRUE(mModel.CanDrop(3, 0));

    // Map 1 with its subtree becomes the last child of map 5.
    ASSERT_TRUE(mModel.Drop(1, 5));
    EXPECT_EQ(NodeIds(), (std::vector<std::int32_t>{0, 5, 1, 2, 3}));
    EXPECT_EQ(mModel.Nodes()[4].Level, 3);
    EXPECT_EQ(mTree.Order, (std::vector<std::int32_t>{0, 5, 1, 2, 3}));
    EXPECT_EQ(mTree.FindByID(1)->ParentId, 5);
    EXPECT_EQ(mTree.FindByID(3)->Depth, 3);
    EXPECT_TRUE(mModel.IsModified());
    EXPECT_GE(mNotified, 1);

    mModel.SetPickerMode(true);
    EXPECT_FALSE(mModel.CanDrop(3, 0));
}

TEST_F(MapTreeViewTest, PopupMenusByKindAndTheirStates) {
    auto captions = [this] {
        std::vector<std::string> list;
        for (const TMapTreeMenuItem& item : mModel.PopupMenu())
            list.push_back(std::string(item.Caption) + (item.Enabled ? "" : " (off)"));
        return list;
    };
    mModel.SelectNode(0);
    EXPECT_EQ(captions(), (std::vector<std::string>{"Create &New Map...", "&Paste (off)"}));
    mModel.SelectNode(1);
    EXPECT_EQ(captions(), (std::vector<std::string>{"&Map Properties...", "Create &New Map...", "Create &Area...",
                                                    "&Copy", "&Paste (off)", "&Delete...", "&Shift Map..."}));
    mModel.Copy();
    EXPECT_TRUE(mModel.IsEnabled(TMapTreeCommand::Paste));
    mModel.SelectNode(2);
    EXPECT_EQ(captions(), (std::vector<std::string>{"A&rea Properties...", "&Delete..."}));
    EXPECT_FALSE(mModel.IsEnabled(TMapTreeCommand::Paste));

    // Without the property dialogs their commands are off, and running them does nothing.
    mModel.Dialogs = nullptr;
    mModel.SelectNode(1);
    EXPECT_FALSE(mModel.IsEnabled(TMapTreeCommand::NewMap));
    EXPECT_FALSE(mModel.IsEnabled(TMapTreeCommand::ShiftMap));
    EXPECT_TRUE(mModel.IsEnabled(TMapTreeCommand::Delete));
    EXPECT_FALSE(mModel.Execute(TMapTreeCommand::NewArea));
    EXPECT_EQ(mTree.Count(), 5);

    mModel.SetPickerMode(true);
    EXPECT_TRUE(mModel.PopupMenu().empty());
}

TEST_F(MapTreeViewTest, ANewMapTakesTheSmallestFreeIdAndItsName) {
    mModel.SelectNode(3);
    mMap.ChipSetId = 4;
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::NewMap));
    EXPECT_EQ(mDialogs.LastId, 4);  // 1, 2, 3 and 5 are used
    EXPECT_EQ(mDialogs.LastName, "MAP0004");
    EXPECT_TRUE(mDialogs.LastNewMode);
    EXPECT_FALSE(mDialogs.LastParentIsRoot);
    EXPECT_EQ(mDialogs.LastChipSet, 4);
    const TKelMapTreeItem* item = mTree.FindByID(4);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Kind, TKelMapTreeItem::mkMap);
    EXPECT_EQ(item->ParentId, 3);
    EXPECT_EQ(item->Music.Name, "(OFF)");
    EXPECT_EQ(mModel.Selected(), 4);
    EXPECT_EQ(mMap.Width(), 30);
    EXPECT_TRUE(mMap.Modified);
    EXPECT_EQ(NodeIds(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));

    // A cancelled dialog adds nothing.
    mDialogs.Confirm = false;
    EXPECT_FALSE(mModel.Execute(TMapTreeCommand::NewMap));
    EXPECT_EQ(mTree.Count(), 6);

    // The new map survives a switch and a save.
    mModel.SelectNode(5);
    mModel.SaveTree();
    TKelMap saved;
    saved.LoadFromProject(mProject, 4);
    EXPECT_EQ(saved.Width(), 30);
}

TEST_F(MapTreeViewTest, NewAreaOnTheOpenMap) {
    mModel.SelectNode(5);
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::NewArea));
    EXPECT_EQ(mDialogs.LastName, "AREA0004");
    const TKelMapTreeItem* area = mTree.FindByID(4);
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->IsArea());
    EXPECT_EQ(area->ParentId, 5);
    EXPECT_EQ(area->AreaRect, (TKelAreaRect{10, 10, 20, 16}));
    EXPECT_EQ(mModel.Selected(), 4);
    EXPECT_EQ(mMap.Width(), 25);  // still map 5
}

// The dialogs of an existing map or area are given its ID (their captions show it).
TEST_F(MapTreeViewTest, PropertiesOfAnExistingEntryCarryItsId) {
    struct TCase {
        std::int32_t Node;
        TMapTreeCommand Command;
        const char* Name;
    };
    for (const TCase& c : {TCase{5, TMapTreeCommand::MapProperties, "Town"}, TCase{3, TMapTreeCommand::MapProperties, "Cave"},
                           TCase{2, TMapTreeCommand::AreaProperties, "Forest"}}) {
        mModel.SelectNode(c.Node);
        mDialogs.LastId = 0;
        ASSERT_TRUE(mModel.Execute(c.Command)) << c.Name;
        EXPECT_EQ(mDialogs.LastId, c.Node) << c.Name;
        EXPECT_EQ(mDialogs.LastName, c.Name);
        EXPECT_NE(mTree.FindByID(c.Node), nullptr);
    }
}

TEST_F(MapTreeViewTest, CopyAndPasteMakeANewMapWithItsOwnIdAndName) {
    mMap.LowerLayer.SetCell(2, 2, 5077);
    mMap.Modified = true;
    mTree.FindByID(1)->Name = "MAP0001";
    ASSERT_TRUE(mModel.Copy());
    mModel.SelectNode(0);
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::Paste));
    const TKelMapTreeItem* pasted = mTree.FindByID(4);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Name, "MAP0004");
    EXPECT_EQ(pasted->ParentId, 0);
    EXPECT_EQ(pasted->Depth, 1);
    EXPECT_TRUE(pasted->Modified);
    EXPECT_EQ(mModel.Selected(), 4);
    EXPECT_EQ(mMap.Width(), 40);
    EXPECT_EQ(mMap.LowerLayer.Cell(2, 2), 5077);
    EXPECT_EQ(NodeIds().back(), 4);
    // The working copy holds it until the tree is saved.
    TKelMap work;
    work.LoadFromWork(4);
    EXPECT_EQ(work.LowerLayer.Cell(2, 2), 5077);

    EXPECT_EQ(TMapTreeModel::PastedMapName("MAP0001", 9), "MAP0009");
    EXPECT_EQ(TMapTreeModel::PastedMapName("MAP0000", 9), "MAP0000");
    EXPECT_EQ(TMapTreeModel::PastedMapName("MAP01", 9), "MAP01");
    EXPECT_EQ(TMapTreeModel::PastedMapName("MAP00012", 9), "MAP00012");
    EXPECT_EQ(TMapTreeModel::PastedMapName("Map0001", 9), "Map0001");
    EXPECT_EQ(TMapTreeModel::PastedMapName("MAP-001", 9), "MAP-001");
    EXPECT_EQ(TMapTreeModel::PastedMapName("Field", 9), "Field");
}

TEST_F(MapTreeViewTest, CraftedOrDamagedBlocksNeverMakeASecondRoot) {
    TKelMap map;
    map.SetWidth(3);
    map.SetHeight(3);
    TKelMapTreeItem root;
    root.Kind = TKelMapTreeItem::mkRoot;
    root.ParentId = 1;
    root.Depth = 7;
    root.Name = "evil";
    mClipboard.SetData(kMapTreeClipboardFormat, TMapTreeModel::MakeMapBlock("evil", map, root));
    mModel.SelectNode(1);
    ASSERT_TRUE(mModel.Paste());
    const TKelMapTreeItem* pasted = mTree.FindByID(4);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Kind, TKelMapTreeItem::mkMap);
    EXPECT_EQ(pasted->ParentId, 1);
    EXPECT_EQ(pasted->Depth, 2);
    EXPECT_EQ(RootCount(), 1);

    // Cut short, or a length beyond the bytes present: nothing is added.
    const std::string good = TMapTreeModel::MakeMapBlock("x", map, root);
    for (const std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{6}, good.size() / 2, good.size() - 1}) {
        std::string damaged = good.substr(0, cut);
        if (damaged.size() >= 4) {
            const std::int32_t size = static_cast<std::int32_t>(damaged.size() - 4);
            std::memcpy(damaged.data(), &size, 4);
        }
        mClipboard.SetData(kMapTreeClipboardFormat, damaged);
        EXPECT_FALSE(mModel.Paste()) << cut;
    }
    std::string lying = good;
    lying[3] = 0x7F;  // a length of about 2 GB
    mClipboard.SetData(kMapTreeClipboardFormat, lying);
    EXPECT_FALSE(mModel.Paste());
    EXPECT_EQ(mTree.Count(), 6);
}

// A map whose size fits only when the item's bytes after it are counted: read alone (as the paste
// loads it) it does not, so the block is refused before the tree changes.
TEST_F(MapTreeViewTest, AMapSizeThatBorrowsTheItemsBytesIsRefused) {
    std::string payload("\x01x", 2);
    payload += std::string("\x02\x01\x1E\x03\x01\x1E\x00", 7);  // 30 x 30, no layers: needs 1800 bytes
    TKelMapTreeItem item;
    item.Name = std::string(3000, 'n');
    TMemoryStream itemBytes;
    item.SaveToStream(itemBytes);
    payload += itemBytes.Bytes();
    std::string block(4, '\0');
    const auto size = static_cast<std::int32_t>(payload.size());
    std::memcpy(block.data(), &size, 4);
    block += payload;
    EXPECT_EQ(TMapTreeModel::ReadMapBlock(block), nullptr);
    mClipboard.SetData(kMapTreeClipboardFormat, block);
    mModel.SelectNode(0);
    const int before = mTree.Count();
    EXPECT_NO_THROW(EXPECT_FALSE(mModel.Paste()));
    EXPECT_EQ(mTree.Count(), before);

    // With room of its own (the layers present) the same size pastes.
    TKelMap map;
    map.SetWidth(30);
    map.SetHeight(30);
    ASSERT_NE(TMapTreeModel::ReadMapBlock(TMapTreeModel::MakeMapBlock("x", map, item)), nullptr);
}

// Blocks with bytes changed at random: each is refused or pasted as a map, never a second root,
// and the tree stays consistent with its view.
TEST_F(MapTreeViewTest, DamagedBlocksNeverBreakTheTree) {
    mMap.LowerLayer.SetCell(3, 3, 5010);
    mMap.Events.Obtain(1).Name = "EV0001";
    mTree.FindByID(1)->Kind = TKelMapTreeItem::mkRoot;  // the block claims to be a root
    const std::string good = TMapTreeModel::MakeMapBlock("MAP0001", mMap, *mTree.FindByID(1));
    mTree.FindByID(1)->Kind = TKelMapTreeItem::mkMap;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int pasted = 0;
    for (int round = 0; round < 100; ++round) {
        std::string block = good;
        for (int k = 0, changes = 1 + static_cast<int>(next() % 4); k < changes; ++k)
            block[next() % block.size()] = static_cast<char>(next() >> 24);
        mClipboard.SetData(kMapTreeClipboardFormat, block);
        mModel.SelectNode(0);
        if (mModel.Paste()) {
            ++pasted;
            ASSERT_TRUE(mMap.Width() >= 0 && mMap.Height() >= 0);
        }
        ASSERT_EQ(RootCount(), 1) << "round " << round;
    }
    EXPECT_EQ(mTree.Count(), 5 + pasted);
    EXPECT_EQ(static_cast<int>(mModel.Nodes().size()), mTree.Count());
    EXPECT_EQ(mTree.Order.size(), mModel.Nodes().size());
}

// Well-formed blocks from another program holding what the editor never stores: each pastes as
// the editor would have stored it, and the report (which the window shows) says what changed.
TEST_F(MapTreeViewTest, ForeignContentIsPastedAsTheEditorStoresIt) {
    auto event = [](TKelMap& map, std::int32_t id, std::int32_t x, std::int32_t y) -> TKelEventItem& {
        TKelEventItem& e = map.Events.Obtain(id);
        e.X = x;
        e.Y = y;
        return e;
    };
    struct TCase {
        const char* What;
        std::function<void(TKelMap&, std::string& name)> Make;
        TPasteReport Expected;
        std::function<void(const TKelMap& pasted, const TKelMapTreeItem& item)> Check;
    };
    const TCase cases[] = {
        {"lower tiles of no range, an upper tile beyond the table",
         [](TKelMap& map, std::string&) {
             map.LowerLayer.SetCell(0, 0, 65535);
             map.LowerLayer.SetCell(1, 0, 9999);
             map.LowerLayer.SetCell(2, 0, 5143);
             map.UpperLayer.SetCell(0, 1, 10144);
         },
         TPasteReport{2, 1, 0, 0, 0},
         [](const TKelMap& map, const TKelMapTreeItem&) {
             EXPECT_EQ(map.LowerLayer.Cell(0, 0), kLowerFillValue);
             EXPECT_EQ(map.LowerLayer.Cell(1, 0), kLowerFillValue);
             EXPECT_EQ(map.LowerLayer.Cell(2, 0), 5143);
             EXPECT_EQ(map.UpperLayer.Cell(0, 1), kUpperFillValue);
         }},
        {"events outside the map",
         [&](TKelMap& map, std::string&) {
             event(map, 1, -100, 4);
             event(map, 2, 7, 2147483647);
             event(map, 3, 9, 7);   // the last cell of 10 x 8
             event(map, 4, 10, 0);  // one column beyond
         },
         TPasteReport{0, 0, 3, 0, 0},
         [](const TKelMap& map, const TKelMapTreeItem&) {
             ASSERT_EQ(map.Events.Count(), 1);
             EXPECT_EQ(map.Events.Items(0)->ID, 3);
         }},
        {"5,001 events stacked on one cell",
         [&](TKelMap& map, std::string&) {
             for (std::int32_t id = 1; id <= kMaxMapEvents + 1; ++id)
                 event(map, id, 2, 2);
         },
         TPasteReport{0, 0, 0, 1, 0},
         [](const TKelMap& map, const TKelMapTreeItem&) {
             EXPECT_EQ(map.Events.Count(), kMaxMapEvents);
             EXPECT_EQ(map.Events.FindByID(kMaxMapEvents + 1), nullptr);
         }},
        {"a name of 1,000,000 bytes and a long event name",
         [&](TKelMap& map, std::string& name) {
             name = std::string(1000000, 'N');
             event(map, 1, 0, 0).Name = std::string(21, 'e');
             event(map, 2, 1, 0).Name = std::string(20, 'f');
         },
         TPasteReport{0, 0, 0, 0, 2},
         [](const TKelMap& map, const TKelMapTreeItem& item) {
             EXPECT_EQ(item.Name, std::string(24, 'N'));
             EXPECT_EQ(map.Events.FindByID(1)->Name, std::string(20, 'e'));
             EXPECT_EQ(map.Events.FindByID(2)->Name, std::string(20, 'f'));
         }},
        {"a name cut between the bytes of a double-byte character",
         [](TKelMap&, std::string& name) { name = std::string(23, 'a') + "\x82\xA0"; },
         TPasteReport{0, 0, 0, 0, 1},
         [](const TKelMap&, const TKelMapTreeItem& item) { EXPECT_EQ(item.Name, std::string(23, 'a')); }},
        {"the editor's own content",
         [&](TKelMap& map, std::string& name) {
             name = "Harbour";
             map.LowerLayer.SetCell(0, 0, 4599);
             event(map, 5000, 9, 7).Name = std::string(20, 'g');
         },
         TPasteReport{},
         [](const TKelMap& map, const TKelMapTreeItem& item) {
             EXPECT_EQ(item.Name, "Harbour");
             EXPECT_EQ(map.LowerLayer.Cell(0, 0), 4599);
             EXPECT_EQ(map.Events.Count(), 1);
         }},
    };
    std::vector<TPasteReport> told;
    const TConnection heard = mModel.OnPasteChecked.Connect([&](const TPasteReport& r) { told.push_back(r); });
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        told.clear();
        TKelMap map;
        map.SetWidth(10);
        map.SetHeight(8);
        std::string name = "Foreign";
        c.Make(map, name);
        TKelMapTreeItem item;
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = name;
        mClipboard.SetData(kMapTreeClipboardFormat, TMapTreeModel::MakeMapBlock(name, map, item));
        mModel.SelectNode(0);
        ASSERT_TRUE(mModel.Paste());
        const std::int32_t id = *mModel.Selected();
        EXPECT_EQ(mModel.LastPasteReport(), c.Expected);
        EXPECT_EQ(told.size(), c.Expected.Empty() ? 0u : 1u);
        // What the working copy holds, and so what a save writes.
        TKelMap work;
        work.LoadFromWork(id);
        c.Check(work, *mTree.FindByID(id));
        c.Check(mMap, *mTree.FindByID(id));
        mModel.SelectNode(0);
        mTree.DeleteItem(id);
        mModel.FillView();
    }
}

// Map files are named with four digits: new maps and pastes never take an ID above 9999, and are
// refused (the window says why) when every lower one is in use.
TEST_F(MapTreeViewTest, NewMapAndPasteAreRefusedWhenNoMapIdIsFree) {
    for (std::int32_t id = 1; id <= 12000; ++id)
        if (mTree.FindByID(id) == nullptr)
            mTree.Obtain(id).Kind = TKelMapTreeItem::mkMap;
    mModel.SelectNode(1);
    ASSERT_TRUE(mModel.Copy());
    int refused = 0;
    const TConnection heard = mModel.OnRefused.Connect([&](TMapTreeRefusal why) {
        EXPECT_EQ(why, TMapTreeRefusal::NoFreeId);
        ++refused;
    });
    const int count = mTree.Count();
    for (const TMapTreeCommand command : {TMapTreeCommand::NewMap, TMapTreeCommand::Paste, TMapTreeCommand::NewArea}) {
        EXPECT_FALSE(mModel.Execute(command));
        EXPECT_EQ(mTree.Count(), count);
    }
    EXPECT_EQ(refused, 3);
    EXPECT_EQ(mModel.FreeId(), 0);

    mTree.Delete(7777);
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::Paste));
    EXPECT_EQ(mModel.Selected(), 7777);
    EXPECT_EQ(refused, 3);
}

TEST_F(MapTreeViewTest, DeleteAsksAndRemovesTheSubtree) {
    TScriptedBox box;
    box.Answers = {mrNo, mrYes};
    mModel.SelectNode(1);
    EXPECT_FALSE(mModel.Execute(TMapTreeCommand::Delete));
    ASSERT_EQ(box.Texts.size(), 1u);
    EXPECT_EQ(box.Texts[0], "Delete Field ?");
    EXPECT_EQ(mTree.Count(), 5);

    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::Delete));
    EXPECT_EQ(NodeIds(), (std::vector<std::int32_t>{0, 5}));
    EXPECT_EQ(mModel.Selected(), 0);
    EXPECT_EQ(mTree.FindByID(3), nullptr);
    EXPECT_TRUE(mModel.IsModified());
    mModel.SaveTree();
    EXPECT_FALSE(FileExists(mProject + "Map0001.kmu"));
    EXPECT_FALSE(FileExists(mProject + "Map0003.kmu"));
    EXPECT_TRUE(FileExists(mProject + "Map0005.kmu"));
}

TEST_F(MapTreeViewTest, ShrinkingAMapDropsWhatLiesOutside) {
    TKelEventItem& inside = mMap.Events.Obtain(1);
    inside.X = 5;
    inside.Y = 5;
    TKelEventItem& outside = mMap.Events.Obtain(2);
    outside.X = 35;
    outside.Y = 2;
    mTree.StartPosition.SetMapId(0, 1);
    mTree.StartPosition.SetX(0, 3);
    mTree.StartPosition.SetY(0, 25);
    mTree.StartPosition.SetMapId(1, 1);
    mTree.StartPosition.SetX(1, 3);
    mTree.StartPosition.SetY(1, 3);
    mDialogs.NewName = "Small field";
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::MapProperties));
    EXPECT_EQ(mMap.Width(), 30);
    EXPECT_EQ(mMap.Height(), 20);
    EXPECT_NE(mMap.Events.FindByID(1), nullptr);
    EXPECT_EQ(mMap.Events.FindByID(2), nullptr);
    EXPECT_EQ(mTree.StartPosition.GetMapId(0), 0);  // party start was at y 25
    EXPECT_EQ(mTree.StartPosition.GetMapId(1), 1);
    EXPECT_EQ(mTree.FindByID(1)->Name, "Small field");
    EXPECT_TRUE(mMap.Modified);
    EXPECT_TRUE(mKeepScrollSeen);
    EXPECT_FALSE(mModel.KeepScroll);
}

TEST_F(MapTreeViewTest, ShiftMovesStartPositionsWithTheMap) {
    mTree.StartPosition.SetMapId(2, 1);  // ship on map 1
    mTree.StartPosition.SetX(2, 38);
    mTree.StartPosition.SetY(2, 1);
    mDialogs.Dx = 5;
    mDialogs.Dy = -3;
    ASSERT_TRUE(mModel.Execute(TMapTreeCommand::ShiftMap));
    EXPECT_EQ(mTree.StartPosition.GetX(2), (38 + 5) % 40);
    EXPECT_EQ(mTree.StartPosition.GetY(2), 28);
    EXPECT_EQ(mMap.LowerLayer.Cell(5, 27), 5001);  // the tile of (0, 0) moved along
    EXPECT_TRUE(mTree.FindByID(1)->Modified);
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// A damaged map file is told once, shown as far as it could be read, and replaced by the first
// save only when the user agrees; then the original is kept beside it.
TEST_F(MapTreeViewTest, ADamagedMapIsToldOnceAndReplacedOnlyWhenAllowed) {
    // Map 3 cut in its upper layer: its settings and lower layer are kept.
    const std::string file = mProject + "Map0003.kmu";
    const std::string whole = ReadWholeFile(file);
    const std::string damaged = whole.substr(0, whole.size() - 300);
    WriteFileAtomic(file, damaged);
    TScriptedBox box;
    mModel.SelectNode(3);
    EXPECT_EQ(mMap.Width(), 20);
    EXPECT_EQ(mMap.LowerLayer.Cell(0, 0), 5003);
    ASSERT_EQ(box.Texts.size(), 1u);
    EXPECT_EQ(box.Texts[0], "Map0003.kmu is damaged: its upper layer and its events could not be read");
    mModel.SelectNode(5);
    mModel.SelectNode(3);
    EXPECT_EQ(box.Texts.size(), 1u) << "told once";

    // An edit, then a save the user declines: the damaged file stays, the map stays changed,
    // the other changes are saved.
    mMap.LowerLayer.SetCell(2, 2, 5077);
    mMap.Modified = true;
    mTree.FindByID(5)->Name = "Harbour";
    box.Answers = {mrNo};
    mModel.SaveTree();
    ASSERT_EQ(box.Texts.size(), 2u);
    EXPECT_EQ(box.Texts[1], "Map0003.kmu was damaged when it was read. Replace it with the map as it is now? "
                            "The damaged file is kept as \"Map0003.kmu.damaged\".");
    EXPECT_EQ(ReadWholeFile(file), damaged);
    EXPECT_FALSE(FileExists(file + ".damaged"));
    EXPECT_TRUE(mModel.IsModified());
    {
        TKelMapTree saved;
        saved.Load(mProject);
        EXPECT_EQ(saved.FindByID(5)->Name, "Harbour");
    }

    // Yes: the original is kept beside the new file, and later saves no longer ask.
    box.Answers = {mrYes};
    mModel.SaveTree();
    EXPECT_EQ(box.Texts.size(), 3u);
    EXPECT_EQ(ReadWholeFile(file + ".damaged"), damaged);
    TKelMap saved;
    saved.LoadFromProject(mProject, 3);
    EXPECT_FALSE(saved.LoadReport().Damaged);
    EXPECT_EQ(saved.LowerLayer.Cell(2, 2), 5077);
    EXPECT_FALSE(mModel.IsModified());
    mMap.Modified = true;
    mModel.SaveTree();
    EXPECT_EQ(box.Texts.size(), 3u);
}

}  // namespace
}  // namespace quillon
