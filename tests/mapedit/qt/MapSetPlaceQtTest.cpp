// The place picker dialog on the offscreen platform: the label and "&Ok" follow clicks in the
// position view, a node chosen in the tree shows its map, and closing puts the tree back.
#include "mapedit/MapSetPlace_qt.h"

#include "mapedit/ED_Area_qt.h"

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
#include <QScrollBar>
#include <QSet>
#include <QToolButton>

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

// A map smaller than the view sits in its middle with the hatched pattern around it, in both
// dialogs; the view's picture is the map drawn at the zoom's cell size.
void ExpectCentredOnPattern(TMapPlaceView* view, const QSize& mapPixels, const char* what) {
    SCOPED_TRACE(what);
    QWidget* viewport = view->viewport();
    TMapPlacePicture* picture = view->Picture();
    ASSERT_EQ(picture->size(), mapPixels);
    EXPECT_EQ(picture->x(), (viewport->width() - mapPixels.width()) / 2);
    EXPECT_EQ(picture->y(), (viewport->height() - mapPixels.height()) / 2);
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    const QImage shot = viewport->grab().toImage();
    // The strip left of the picture holds both colours of the pattern.
    QSet<QRgb> around;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            around.insert(shot.pixel(x, y + picture->y()));
    EXPECT_TRUE(around.contains(QApplication::palette().color(QPalette::Dark).rgb()));
    EXPECT_TRUE(around.contains(QApplication::palette().color(QPalette::Button).rgb()));
    // Inside: the map's own pixels.
    const QPoint inside(picture->x() + 3, picture->y() + 3);
    EXPECT_EQ(shot.pixel(inside), picture->Picture().pixel(3, 3));
}

TEST_F(MapSetPlaceDialogTest, SmallMapsAreCentredOnThePatternInBothDialogs) {
    TMapSetPlaceModel model(mTree);
    model.MapId = 3;
    TFormMapSetPlace place(model, &mChipSets);
    place.resize(700, 500);
    place.show();
    ExpectCentredOnPattern(place.View(), QSize(8 * 16, 8 * 16), "Set Place");
    place.View()->ZoomButton(0)->click();
    EXPECT_EQ(model.CellSize(), 32);
    ExpectCentredOnPattern(place.View(), QSize(8 * 32, 8 * 32), "Set Place at 1/1");
    if (const char* out = std::getenv("QUILLON_GRAB_DIR"))
        place.grab().save(QString(out) + "/set-place-small.png");
    place.done(2);

    TKelMap map;
    map.SetWidth(6);
    map.SetHeight(5);
    map.ChipSetId = 1;
    TMapSetAreaModel setArea(mTree, map, {1, 1, 3, 2});
    TFormMapSetArea area(setArea, &mChipSets);
    area.resize(600, 420);
    area.show();
    ExpectCentredOnPattern(area.View(), QSize(6 * 16, 5 * 16), "Set Area");
    if (const char* out = std::getenv("QUILLON_GRAB_DIR"))
        area.grab().save(QString(out) + "/set-area-small.png");
    area.done(2);
}

}  // namespace
}  // namespace quillon
