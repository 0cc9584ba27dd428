// The place picker dialog on the offscreen platform: the label and "&Ok" follow clicks in the
// position view, a node chosen in the tree shows its map, and closing puts the tree back.
#include "mapedit/MapSetPlace_qt.h"

#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"
#include "data/RecordTestKit.h"
#include "mapedit/MapTreeView_qt.h"
#include "project/ProjectManager.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <cstdlib>

namespace quillon {
namespace {

using widgetkit::App;

class MapSetPlaceDialogTest : public testkit::TWorkFolderTest {
protected:
    void SetUp() override {
        App();
        TWorkFolderTest::SetUp();
        SetProjectPath(mProject);
        mTree.AddItem(0, 0);
        AddMap(1, "Field", 12);
        AddMap(3, "Town", 8);
        mTree.CurrentMapId = 3;
        mTree.FindByID(3)->ScrollX = 77;
        mChipSets.Obtain(1).FileName = "World";
    }
    void TearDown() override {
        SetProjectPath("");
        TWorkFolderTest::TearDown();
    }
    void AddMap(std::int32_t id, const char* name, int size) {
        TKelMapTreeItem& item = mTree.AddItem(0, id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = name;
        TKelMap map;
        map.SetWidth(size);
        map.SetHeight(size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                map.LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(5000 + (x + y) % 6));
        map.SaveToProject(mProject, id);
    }
    void Click(QWidget* widget, QPoint at, bool twice = false) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        if (twice) {
            QMouseEvent again(QEvent::MouseButtonDblClick, QPointF(at), widget->mapToGlobal(QPointF(at)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &again);
        }
    }

    TEditorModeScope mEditor{true};
    TKelMapTree mTree;
    TKelChipSet mChipSets;
};

TEST_F(MapSetPlaceDialogTest, ClicksChooseThePlaceAndClosingRestoresTheTree) {
    TMapSetPlaceModel model(mTree);
    model.MapId = 1;
    TFormMapSetPlace dialog(model, &mChipSets);
    dialog.show();
    EXPECT_EQ(dialog.Label()->text(), "0001:Field");
    EXPECT_FALSE(dialog.ButtonOk()->isEnabled());
    EXPECT_EQ(dialog.PositionView()->width(), 12 * 16);

    Click(dialog.PositionView(), QPoint(5 * 16 + 3, 2 * 16 + 9));
    EXPECT_EQ(dialog.Label()->text(), "0001:Field (005,002)");
    EXPECT_TRUE(dialog.ButtonOk()->isEnabled());
    EXPECT_TRUE(widgetkit::KeepPicture(dialog.grab().toImage(), "set-place"));

    // The other map from the tree: its view, no position.
    TMapTreeWidget* tree = dialog.TreeWindow()->Tree();
    tree->setCurrentItem(tree->ItemOf(3));
    EXPECT_EQ(dialog.Label()->text(), "0003:Town");
    EXPECT_EQ(dialog.PositionView()->width(), 8 * 16);
    EXPECT_FALSE(dialog.ButtonOk()->isEnabled());

    // A double click chooses and presses "&Ok".
    Click(dialog.PositionView(), QPoint(7 * 16 + 1, 7 * 16 + 1), true);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(model.MapId, 3);
    EXPECT_EQ(model.X, 7);
    EXPECT_EQ(model.Y, 7);
    EXPECT_EQ(mTree.CurrentMapId, 3);
    EXPECT_EQ(mTree.FindByID(3)->ScrollX, 77);
}

TEST_F(MapSetPlaceDialogTest, ReadOnlyDisablesTheTree) {
    TMapSetPlaceModel model(mTree);
    model.MapId = 1;
    model.ReadOnly = true;
    TFormMapSetPlace dialog(model, &mChipSets);
    dialog.show();
    EXPECT_FALSE(dialog.TreeWindow()->Tree()->isEnabled());
    dialog.done(2);
    EXPECT_EQ(mTree.CurrentMapId, 3);
}

}  // namespace
}  // namespace quillon
