// The place picker's model: what it shows on opening, the Ok rule, the label, areas, read-only
// use, and the tree put back as it was when it closes.
#include "mapedit/MapSetPlace.h"

#include "data/EditorMode.h"
#include "data/RecordTestKit.h"
#include "project/ProjectManager.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// Root; map 1 "Field" (30 x 20) with area 2 "Forest"; map 3 "Town" (10 x 10).
class MapSetPlaceTest : public testkit::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        SetProjectPath(mProject);
        mTree.AddItem(0, 0);
        AddMap(0, 1, "Field", 30, 20);
        TKelMapTreeItem& area = mTree.AddItem(1, 2);
        area.Kind = TKelMapTreeItem::mkArea;
        area.Name = "Forest";
        area.AreaRect = {2, 2, 8, 6};
        AddMap(0, 3, "Town", 10, 10);
        mTree.CurrentMapId = 2;
        mTree.FindByID(1)->ScrollX = 111;
        mTree.FindByID(2)->ScrollY = 222;
    }
    void TearDown() override {
        SetProjectPath("");
        TWorkFolderTest::TearDown();
    }
    void AddMap(std::int32_t parent, std::int32_t id, const char* name, int w, int h) {
        TKelMapTreeItem& item = mTree.AddItem(parent, id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = name;
        TKelMap map;
        map.SetWidth(w);
        map.SetHeight(h);
        map.SaveToProject(mProject, id);
    }

    TEditorModeScope mEditor{true};
    TKelMapTree mTree;
};

TEST_F(MapSetPlaceTest, OpensOnTheGivenPlaceAndPutsTheTreeBackOnClose) {
    TMapSetPlaceModel picker(mTree);
    picker.MapId = 3;
    picker.X = 7;
    picker.Y = 4;
    picker.Show();
    EXPECT_EQ(picker.Tree().Selected(), 3);
    EXPECT_EQ(picker.ShownMap().Width(), 10);
    EXPECT_EQ(mTree.FindByID(3)->ScrollX, 7 * 32 - 160);
    EXPECT_EQ(mTree.FindByID(3)->ScrollY, 4 * 32 - 120);
    EXPECT_EQ(picker.Label(), "0003:Town (007,004)");
    EXPECT_TRUE(picker.OkEnabled());
    EXPECT_EQ(picker.CellSize(), 16);

    picker.SelectNode(2);  // areas are not in the tree: nothing happens
    EXPECT_EQ(picker.MapId, 3);
    EXPECT_TRUE(picker.HasPosition());
    picker.SelectNode(1);
    EXPECT_EQ(picker.MapId, 1);
    EXPECT_EQ(picker.ShownMap().Width(), 30);
    EXPECT_EQ(picker.Label(), "0001:Field");
    EXPECT_FALSE(picker.OkEnabled());  // a position is required
    EXPECT_FALSE(picker.ClickCell(30, 0));
    EXPECT_TRUE(picker.ClickCell(29, 19));
    EXPECT_TRUE(picker.OkEnabled());
    EXPECT_TRUE(picker.Ok());
    EXPECT_EQ(picker.X, 29);
    EXPECT_EQ(picker.Y, 19);

    picker.Hide();
    EXPECT_EQ(mTree.CurrentMapId, 2);
    EXPECT_EQ(mTree.FindByID(1)->ScrollX, 111);
    EXPECT_EQ(mTree.FindByID(2)->ScrollY, 222);
    EXPECT_EQ(mTree.FindByID(3)->ScrollX, 0);
}

TEST_F(MapSetPlaceTest, AreasHiddenOrChosenAndTheOkRuleWithoutPosition) {
    {
        // Map 0 with an area current: the area's map is shown; areas are not in the tree.
        TMapSetPlaceModel picker(mTree);
        picker.RequirePosition = false;
        picker.Show();
        EXPECT_EQ(picker.MapId, 1);
        EXPECT_EQ(picker.Tree().NodeIndex(2), -1);
        EXPECT_TRUE(picker.OkEnabled());
        EXPECT_EQ(picker.Label(), "0001:Field");
        picker.SelectNode(0);
        EXPECT_EQ(picker.MapId, 0);
        EXPECT_EQ(picker.Label(), "");
        EXPECT_FALSE(picker.OkEnabled());
        picker.Hide();
    }
    {
        TMapSetPlaceModel picker(mTree);
        picker.AllowAreas = true;
        picker.Show();
        picker.SelectNode(2);
        EXPECT_EQ(picker.MapId, 2);
        EXPECT_EQ(picker.Label(), "0002:Forest");
        EXPECT_EQ(picker.ShownMap().Width(), 30);  // the area's map is shown
        EXPECT_TRUE(picker.DoubleClickCell(3, 3));
        EXPECT_EQ(picker.X, 3);
        picker.Hide();
        EXPECT_EQ(mTree.FindByID(2)->ScrollY, 222);  // centring the area left no trace
        EXPECT_EQ(mTree.CurrentMapId, 2);
    }
}

TEST_F(MapSetPlaceTest, ReadOnlyAndTheEditorsOwnMap) {
    TKelMap open;  // the editor's open map with unsaved changes, shared
    open.ID = 3;
    open.SetWidth(12);
    open.SetHeight(12);
    TMapSetPlaceModel picker(mTree);
    picker.MapId = 3;
    picker.SharedMap = &open;
    picker.ReadOnly = true;
    picker.Show();
    EXPECT_EQ(picker.ShownMap().Width(), 12);
    picker.SelectNode(1);  // the tree cannot be used
    EXPECT_EQ(picker.MapId, 3);
    EXPECT_EQ(picker.Tree().Selected(), 3);
    picker.SetZoom(2);
    EXPECT_EQ(picker.CellSize(), 8);
    picker.SetZoom(7);
    EXPECT_EQ(picker.CellSize(), 8);
    picker.Hide();
    EXPECT_EQ(open.Width(), 12);
    EXPECT_EQ(mTree.CurrentMapId, 2);
}

}  // namespace
}  // namespace quillon
