// The map place view: the picture at each zoom centred on the pattern or scrolled, its frames,
// the mouse in picture pixels, and middle-button auto-scroll.
#include "controls/AutoScroll_qt.h"
#include "controls/MapPlaceView_qt.h"

#include "ControlsQtKit.h"
#include "data/LD_Map.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

void Size(TKelMap& map, int width, int height) {
    map.SetWidth(width);
    map.SetHeight(height);
}

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST_F(ControlsQtTest, MapPlaceViewCentresSmallMapsAndFramesTheChoice) {
    QWidget dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* viewPointer = new TMapPlaceView(nullptr, {}, &dialog);
    TMapPlaceView& view = *viewPointer;
    layout->addWidget(&view);
    layout->addWidget(view.ZoomBar());
    dialog.resize(400, 300);
    TKelMap map;
    Size(map, 10, 6);
    view.ShowMap(&map);
    dialog.show();
    QApplication::processEvents();
    TMapPlacePicture* picture = view.Picture();
    EXPECT_EQ(picture->size(), QSize(160, 96));
    EXPECT_EQ(picture->pos(), QPoint((view.viewport()->width() - 160) / 2, (view.viewport()->height() - 96) / 2));

    // The cell frame: dark, white, white, dark from outside in.
    picture->SetCellFrame(TMapPoint{2, 1});
    QImage shot = picture->grab().toImage();
    EXPECT_EQ(shot.pixelColor(32, 16 + 8), QColor(32, 32, 32));
    EXPECT_EQ(shot.pixelColor(33, 16 + 8), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(34, 16 + 8), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(35, 16 + 8), QColor(32, 32, 32));
    EXPECT_EQ(shot.pixelColor(36, 16 + 8), QColor(Qt::black));  // the map itself (no chipset)
    picture->SetCellFrame(std::nullopt);
    picture->SetAreaFrame(MakeRect(1, 1, 3, 2));
    shot = picture->grab().toImage();
    EXPECT_EQ(shot.pixelColor(16, 20), QColor(255, 255, 128));
    EXPECT_EQ(shot.pixelColor(17, 20), QColor(32, 32, 32));
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(255, 255, 128));
    EXPECT_EQ(shot.pixelColor(47, 20), QColor(255, 255, 128));
    testkit::Grab(dialog, "map-place-view");

    // The zoom buttons: 1/1 draws 32-pixel cells; a map larger than the view scrolls.
    int zoomed = -1;
    QObject::connect(&view, &TMapPlaceView::ZoomChanged, [&](int index) { zoomed = index; });
    view.ZoomButton(0)->click();
    EXPECT_EQ(zoomed, 0);
    EXPECT_EQ(picture->size(), QSize(320, 192));
    EXPECT_EQ(view.ZoomButton(0)->accessibleName(), "Zoom 1/1");
    TKelMap big;
    Size(big, 40, 30);
    view.ShowMap(&big);
    QApplication::processEvents();
    EXPECT_EQ(picture->pos(), QPoint(0, 0));
    view.CentreOnCell({20, 15});
    EXPECT_GT(view.horizontalScrollBar()->value(), 0);

    // The mouse arrives in picture pixels; arrows and Space come as cell keys.
    std::vector<QPoint> pressed;
    QObject::connect(picture, &TMapPlacePicture::Pressed, [&](Qt::MouseButton, QPoint at) { pressed.push_back(at); });
    std::vector<std::pair<int, int>> keys;
    QObject::connect(picture, &TMapPlacePicture::CellKey, [&](int dx, int dy) { keys.emplace_back(dx, dy); });
    int activated = 0;
    QObject::connect(picture, &TMapPlacePicture::Activated, [&] { ++activated; });
    Send(picture, QEvent::MouseButtonPress, QPoint(70, 90), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ((std::vector<QPoint>{{70, 90}}), pressed);
    QTest::keyClick(picture, Qt::Key_Left);
    QTest::keyClick(picture, Qt::Key_Down);
    QTest::keyClick(picture, Qt::Key_Space);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{-1, 0}, {0, 1}}), keys);
    EXPECT_EQ(activated, 1);

    // Middle button: the view scrolls towards the pointer, step by step, until the next press.
    auto* scroll = view.findChild<TMiddleAutoScroll*>();
    ASSERT_NE(scroll, nullptr);
    view.horizontalScrollBar()->setValue(100);
    view.verticalScrollBar()->setValue(100);
    Send(picture, QEvent::MouseButtonPress, QPoint(200, 200), Qt::MiddleButton, Qt::MiddleButton);
    Send(picture, QEvent::MouseButtonRelease, QPoint(200, 200), Qt::MiddleButton, Qt::NoButton);
    Send(picture, QEvent::MouseMove, QPoint(240, 180), Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(scroll->Model().Active());
    scroll->Tick();
    EXPECT_EQ(view.horizontalScrollBar()->value(), 108);
    EXPECT_EQ(view.verticalScrollBar()->value(), 97);
    EXPECT_EQ(pressed.size(), 1u);  // the middle press is the scroll's own
    Send(picture, QEvent::MouseButtonPress, QPoint(240, 180), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(scroll->Model().Active());
    EXPECT_EQ(pressed.size(), 1u);  // the press that ends the scroll does nothing else
}

}  // namespace
}  // namespace quillon
