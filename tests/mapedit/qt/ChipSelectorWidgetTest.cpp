#include "WidgetTestKit.h"

#include "data/LD_Map.h"
#include "mapedit/ChipSelector_qt.h"
#include "mapedit/MapEditUtils.h"

#include <gtest/gtest.h>

#include <QPalette>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

using namespace quillon;
using namespace quillon::test;

namespace {

// A shown palette over a 20 x 15 map, its viewport 192 x 256 pixels.
struct PaletteWidget {
    QApplication& Application = App();
    TChipSetFixture Chipset{"palette-widget"};
    TKelMap Map;
    TFormChipSelector Form;
    TOrlenBoard Expected;

    PaletteWidget() {
        Map.SetWidth(20);
        Map.SetHeight(15);
        Form.SetMap(&Map, Chipset.Chips.get());
        Form.show();
        const int extraWidth = Form.width() - Form.viewport()->width();
        const int extraHeight = Form.height() - Form.viewport()->height();
        Form.resize(192 + extraWidth, 256 + extraHeight);
        (void)QTest::qWaitForWindowExposed(&Form);
        DrawPalette(Expected, *Chipset.Chips, Form.Mode());
        ExpectedPicture = BoardPicture(Expected);
    }
    QImage ExpectedPicture;
    QWidget* View() { return Form.viewport(); }
    static QPoint Mid(int column, int row) { return QPoint(column * 32 + 16, row * 32 + 16); }
    QImage Picture() { return ScreenGrab(*View()); }
    // The expected palette cell picture at the view's scroll position.
    QRgb ExpectedAt(int x, int y) const {
        const TPoint s = Form.Model().Scroll();
        return ExpectedPicture.pixel(x + s.X, y + s.Y);
    }
};

bool Near(QRgb pixel, const QColor& color) {
    return std::abs(qRed(pixel) - color.red()) <= 8 && std::abs(qGreen(pixel) - color.green()) <= 8 &&
           std::abs(qBlue(pixel) - color.blue()) <= 8;
}

bool IsHatch(QRgb pixel) {
    return pixel == QApplication::palette().color(QPalette::Dark).rgb() ||
           pixel == QApplication::palette().color(QPalette::Button).rgb();
}

}  // namespace

TEST(ChipPaletteWidget, DragSelectsARangeAndFramesIt) {
    PaletteWidget p;
    QSignalSpy selected(&p.Form, &TFormChipSelector::ChipSelected);
    int callbacks = 0;
    p.Form.OnChipSelected = [&] { ++callbacks; };

    QTest::mousePress(p.View(), Qt::LeftButton, {}, PaletteWidget::Mid(1, 2));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{1, 2, 2, 3}));
    QTest::mouseMove(p.View(), PaletteWidget::Mid(3, 4));
    QTRY_VERIFY_WITH_TIMEOUT(p.Form.Model().DelayPassed(), 2000);
    QTest::mouseMove(p.View(), PaletteWidget::Mid(4, 4));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{1, 2, 5, 5}));
    EXPECT_EQ(selected.count(), 0);
    QTest::mouseRelease(p.View(), Qt::LeftButton, {}, PaletteWidget::Mid(4, 4));
    EXPECT_EQ(selected.count(), 1);
    EXPECT_EQ(callbacks, 1);
    TKelCurrentChip pattern;
    p.Form.FillPattern(pattern);
    EXPECT_EQ(pattern.Width, 4);
    EXPECT_EQ(pattern.Height, 3);
    EXPECT_EQ(pattern.GetTile(0, 0), 4399);  // cell (1, 2): entry 13, the preview of autotile 7
    EXPECT_EQ(pattern.GetTile(3, 2), 5010);  // cell (4, 4): entry 28, plain tile 10

    // The picture: the palette cells, with the selection frame (black, colour, white, black
    // inward) round cells (1, 2) .. (4, 4).
    const QImage picture = p.Picture();
    KeepPicture(picture, "palette-drag");
    ASSERT_EQ(picture.size(), QSize(192, 256));
    const int left = 32, top = 64, right = 160, bottom = 160;
    EXPECT_EQ(picture.pixel(left, top + 40), qRgb(0, 0, 0));
    EXPECT_TRUE(Near(picture.pixel(left + 1, top + 40), QColor(128, 255, 128)));
    EXPECT_EQ(picture.pixel(left + 2, top + 40), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(left + 3, top + 40), qRgb(0, 0, 0));
    EXPECT_TRUE(Near(picture.pixel(right - 2, bottom - 30), QColor(128, 255, 128)));
    // Everywhere off the frame the palette board shows as it was drawn.
    int off = 0;
    for (int y = 0; y < 256; y += 3)
        for (int x = 0; x < 192; x += 3) {
            const bool onFrame = x >= left && x < right && y >= top && y < bottom &&
                                 (x < left + 4 || x >= right - 4 || y < top + 4 || y >= bottom - 4);
            if (!onFrame && picture.pixel(x, y) != p.ExpectedAt(x, y))
                ++off;
        }
    EXPECT_EQ(off, 0);
}

TEST(ChipPaletteWidget, RightPressRestoresAndPressesOffTheGridAreIgnored) {
    PaletteWidget p;
    QSignalSpy selected(&p.Form, &TFormChipSelector::ChipSelected);
    QTest::mousePress(p.View(), Qt::LeftButton, {}, PaletteWidget::Mid(2, 2));
    QTRY_VERIFY_WITH_TIMEOUT(p.Form.Model().DelayPassed(), 2000);
    QTest::mouseMove(p.View(), PaletteWidget::Mid(3, 3));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{2, 2, 4, 4}));
    QTest::mousePress(p.View(), Qt::RightButton, Qt::NoModifier, PaletteWidget::Mid(3, 3));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{0, 0, 1, 1}));
    QTest::mouseRelease(p.View(), Qt::LeftButton, {}, PaletteWidget::Mid(3, 3));
    QTest::mouseRelease(p.View(), Qt::RightButton, {}, PaletteWidget::Mid(3, 3));
    EXPECT_EQ(selected.count(), 0);

    // In upper mode on a page taller than the 24 rows: the hatched area below the last row
    // takes no presses.
    p.Form.SetMode(1);
    EXPECT_EQ(selected.count(), 1) << "the mode switch hands over that mode's selection";
    const int extra = p.Form.height() - p.View()->height();
    p.Form.resize(p.Form.width(), 24 * 32 + 100 + extra);
    QApplication::processEvents();
    ASSERT_EQ(p.View()->height(), 24 * 32 + 100);
    QTest::mouseClick(p.View(), Qt::LeftButton, {}, QPoint(40, 24 * 32 + 30));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{0, 0, 1, 1}));
    EXPECT_EQ(selected.count(), 1);
    const QImage picture = p.Picture();
    KeepPicture(picture, "palette-upper-tall");
    EXPECT_TRUE(IsHatch(picture.pixel(40, 24 * 32 + 30)));
    EXPECT_TRUE(IsHatch(picture.pixel(191, 24 * 32 + 99)));
    EXPECT_FALSE(IsHatch(picture.pixel(40, 24 * 32 - 10)));
    // The upper grid is drawn: cell (0, 0) is upper tile 0, all colour index 0 (red).
    EXPECT_TRUE(Near(picture.pixel(12, 12), QColor(248, 0, 0)));

    // Without a map the palette shows only the hatch and ignores presses.
    TKelMap empty;
    empty.MakeEmpty();
    p.Form.SetMap(&empty, p.Chipset.Chips.get());
    QTest::mouseClick(p.View(), Qt::LeftButton, {}, PaletteWidget::Mid(2, 2));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{0, 0, 1, 1}));
    const QImage nothing = p.Picture();
    EXPECT_TRUE(IsHatch(nothing.pixel(12, 12)));
    EXPECT_TRUE(IsHatch(nothing.pixel(100, 300)));
}

TEST(ChipPaletteWidget, WheelScrollsAndTheBarFollows) {
    PaletteWidget p;
    QWheelEvent down(QPointF(50, 50), p.View()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -240),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(p.View(), &down);
    EXPECT_EQ(p.Form.Model().Scroll().Y, 32);
    EXPECT_EQ(p.Form.verticalScrollBar()->value(), 32);
    const QImage picture = p.Picture();
    KeepPicture(picture, "palette-wheel");
    int off = 0;
    for (int y = 0; y < 256; y += 2)
        for (int x = 0; x < 192; x += 2)
            if (picture.pixel(x, y) != p.ExpectedAt(x, y))
                ++off;
    // Cell (0, 0) carries the selection frame but has scrolled out of view.
    EXPECT_EQ(off, 0);

    // The scroll bar moves the palette too; a click then picks the cell under the scrolled view.
    p.Form.verticalScrollBar()->setValue(96);
    EXPECT_EQ(p.Form.Model().Scroll().Y, 96);
    QTest::mouseClick(p.View(), Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{2, 3, 3, 4}));
    EXPECT_EQ(p.Form.PaletteTile(2, 3), 5002);

    // A tile picked on the map is highlighted and scrolled into view.
    const TPoint cell = p.Form.PaletteCellOf(5000 + 6 * 20 + 5);
    EXPECT_EQ(cell, (TPoint{5, 23}));
    p.Form.SetHighlight(TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1});
    EXPECT_EQ(p.Form.verticalScrollBar()->value(), 24 * 32 - 256);
    const QImage highlighted = p.Picture();
    KeepPicture(highlighted, "palette-highlight");
    EXPECT_TRUE(Near(highlighted.pixel(5 * 32 + 1, 256 - 32 + 10), QColor(255, 128, 128)));
}

TEST(ChipPaletteWidget, DragHeldAtTheBottomEdgeScrollsOnItsOwn) {
    PaletteWidget p;
    QTest::mousePress(p.View(), Qt::LeftButton, {}, PaletteWidget::Mid(2, 5));
    QTRY_VERIFY_WITH_TIMEOUT(p.Form.Model().DelayPassed(), 2000);
    QTest::mouseMove(p.View(), QPoint(80, 254));
    QTRY_VERIFY_WITH_TIMEOUT(p.Form.Model().Scroll().Y >= 40, 5000);
    EXPECT_EQ(p.Form.verticalScrollBar()->value(), p.Form.Model().Scroll().Y);
    QTest::mouseRelease(p.View(), Qt::LeftButton, {}, QPoint(80, 254));
    const int scroll = p.Form.Model().Scroll().Y;
    EXPECT_EQ(p.Form.SelectedRect(), (TRect{2, 5, 3, std::min(11, (254 + scroll) / 32 + 1)}));
    QTest::qWait(100);
    EXPECT_EQ(p.Form.Model().Scroll().Y, scroll) << "the timer stops with the release";
}
