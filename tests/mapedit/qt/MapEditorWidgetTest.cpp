#include "WidgetTestKit.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/GR_CharSet.h"
#include "mapedit/ChipSelector_qt.h"
#include "mapedit/MapEditor_qt.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr int kLower = 0, kUpper = 1, kEvents = 2;
constexpr int kSelect = 0, kZoom = 1, kPen = 2;

// A shown canvas over a map whose every cell differs from its neighbours, with two events and
// the party's start position, its viewport sized as asked.
struct Canvas {
    QApplication& Application = App();
    TChipSetFixture Chipset{"canvas-widget"};
    TKelCharSetGraphic CharSets{FolderImageFinder({Chipset.Folder.string()})};
    TMemoryClipboard Board;
    IClipboard* PreviousBoard = nullptr;
    TKelMapTree Tree;
    TKelMap Map;
    TFormMapEditor Form;

    explicit Canvas(int width = 40, int height = 30, int clientWidth = 320, int clientHeight = 240,
                    std::uint8_t scrollType = TKelMap::stNone) {
        PreviousBoard = SetClipboard(&Board);
        Map.ID = 1;
        Map.SetWidth(width);
        Map.SetHeight(height);
        Map.SetScrollType(scrollType);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                Map.LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(5000 + (x * 7 + y * 3) % 144));
                if ((x + y) % 3 == 0)
                    Map.UpperLayer.SetCell(x, y, static_cast<std::uint16_t>(10001 + (x + 2 * y) % 143));
            }
        AddEvent(1, 2, 2, 5);
        AddEvent(2, 5, 4, 9);
        Tree.StartPosition.PartyMapId = 1;
        Tree.StartPosition.PartyX = 7;
        Tree.StartPosition.PartyY = 3;
        Form.SetSources(&Tree, Chipset.Chips.get(), &CharSets, FolderImageFinder({Chipset.Folder.string()}));
        Form.LoadMap(&Map);
        Form.show();
        (void)QTest::qWaitForWindowExposed(&Form);
        // Twice: the scroll bars come and go with the size.
        for (int i = 0; i < 2; ++i) {
            Form.resize(clientWidth + Form.width() - Form.viewport()->width(),
                        clientHeight + Form.height() - Form.viewport()->height());
            QApplication::processEvents();
        }
        Form.LoadMap(&Map);
        QApplication::processEvents();
    }
    ~Canvas() { SetClipboard(PreviousBoard); }

    void AddEvent(int id, int x, int y, int tile) {
        TKelEventItem& event = Map.Events.Obtain(id);
        event.X = x;
        event.Y = y;
        event.Pages.Obtain(1).GraphicIndex = tile;
    }
    QWidget* View() { return Form.viewport(); }
    // The client pixel in the middle of a cell.
    QPoint At(int column, int row) {
        const TPoint origin = Form.ViewModel().CellOrigin(TPoint{column, row});
        const int half = Form.CellSize() / 2;
        return QPoint(origin.X + half, origin.Y + half);
    }
    // What the window shows (its own pixels after the pending paints), not a fresh paint: missing
    // refreshes show up here.
    QImage Picture() { return ScreenGrab(*View()); }
    // The drawing routine's picture of the view as the canvas shows it now.
    QImage Routine() {
        TOrlenBoard board;
        board.SetSize(Form.ViewModel().ViewWidth(), Form.ViewModel().ViewHeight());
        Form.ViewModel().PaintView(board, MakeBounds(0, 0, board.Width(), board.Height()));
        return BoardPicture(board);
    }
    // The part of the canvas that shows the map.
    QImage ViewPart() {
        const TKelMapViewModel& m = Form.ViewModel();
        return Picture().copy(m.ViewLeft(), m.ViewTop(), m.ViewWidth(), m.ViewHeight());
    }
};

// Pixels that differ outside the given rectangle (view pixels).
int DifferentOutside(const QImage& a, const QImage& b, const QRect& skip) {
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!skip.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                ++count;
    return count;
}

int ClampInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, -100000, 100000)); }

bool Near(QRgb pixel, const QColor& color) {
    return std::abs(qRed(pixel) - color.red()) <= 8 && std::abs(qGreen(pixel) - color.green()) <= 8 &&
           std::abs(qBlue(pixel) - color.blue()) <= 8;
}

}  // namespace

TEST(MapCanvasWidget, EventModeShowsTheDrawingRoutinesPictureAndScrollsByStrips) {
    Canvas c;
    c.Form.SetMode(kEvents);
    ASSERT_EQ(c.Form.CellSize(), 32);
    QApplication::processEvents();
    const QImage first = c.Picture();
    KeepPicture(first, "canvas-events");
    ASSERT_EQ(first.size(), QSize(320, 240));
    EXPECT_EQ(DifferentPixels(first, c.Routine()), 0);
    // The grid line of event mode and the event's white square are there.
    EXPECT_EQ(first.pixel(31, 10), qRgb(0, 0, 0));
    EXPECT_EQ(first.pixel(2 * 32 + 4, 2 * 32 + 4), qRgb(255, 255, 255));

    // Scrolled by 37 pixels each way: the picture reused and only the strips drawn equal a full
    // redraw at the new offset.
    c.Form.ResetCellsDrawn();
    c.Form.horizontalScrollBar()->setValue(37);
    c.Form.verticalScrollBar()->setValue(37);
    EXPECT_EQ(c.Form.ViewModel().OffsetX(), 37);
    EXPECT_EQ(c.Form.ViewModel().OffsetY(), 37);
    const QImage scrolled = c.Picture();
    KeepPicture(scrolled, "canvas-events-scrolled-37");
    EXPECT_EQ(DifferentPixels(scrolled, c.Routine()), 0);
    const std::int64_t full = (320 / 32 + 1) * (240 / 32 + 1);
    EXPECT_GT(c.Form.CellsDrawn(), 0);
    EXPECT_LT(c.Form.CellsDrawn(), full) << "only the strips that came into view are drawn";
    // What the window shows: its picture moved, the strips painted.
    const QImage shown = ScreenGrab(*c.View());
    KeepPicture(shown, "canvas-events-scrolled-37-screen");
    EXPECT_EQ(DifferentPixels(shown, c.Routine()), 0);
    c.Form.verticalScrollBar()->setValue(37 + 100);
    EXPECT_EQ(DifferentPixels(ScreenGrab(*c.View()), c.Routine()), 0);
    c.Form.horizontalScrollBar()->setValue(37 - 20);
    c.Form.verticalScrollBar()->setValue(37);
    EXPECT_EQ(DifferentPixels(ScreenGrab(*c.View()), c.Routine()), 0);
    // And back by 37, then a scroll larger than the view.
    c.Form.horizontalScrollBar()->setValue(0);
    c.Form.verticalScrollBar()->setValue(0);
    EXPECT_EQ(DifferentPixels(c.Picture(), first), 0);
    c.Form.horizontalScrollBar()->setValue(700);
    EXPECT_EQ(DifferentPixels(c.Picture(), c.Routine()), 0);
}

TEST(MapCanvasWidget, PenDragDrawsThroughTheModelAndRefreshesTheCells) {
    Canvas c;
    c.Form.SetMode(kLower);
    c.Form.SetTool(kPen);
    TKelCurrentChip pattern;
    pattern.SetSingle(5100);
    c.Form.SetPattern(pattern);
    QSignalSpy changed(&c.Form, &TFormMapEditor::MapChanged);
    QSignalSpy moved(&c.Form, &TFormMapEditor::CursorMoved);
    QApplication::processEvents();
    (void)c.Picture();  // the picture exists before the stroke

    QTest::mousePress(c.View(), Qt::LeftButton, {}, c.At(1, 1));
    QTest::mouseMove(c.View(), c.At(4, 1));
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, c.At(4, 1));
    for (int x = 1; x <= 4; ++x)
        EXPECT_EQ(c.Map.LowerLayer.Cell(x, 1), 5100) << x;
    EXPECT_NE(c.Map.LowerLayer.Cell(5, 1), 5100);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_GE(moved.count(), 1);
    EXPECT_TRUE(c.Map.Modified);
    EXPECT_EQ(c.Form.UndoCount(), 1);

    // The canvas shows the new cells (upper tiles dimmed by the drawing tool), and the cursor
    // frame in the lower layer's colour round cell (4, 1).
    const QImage picture = c.Picture();
    KeepPicture(picture, "canvas-pen");
    const QRect frame(4 * 32, 32, 32, 32);
    EXPECT_EQ(DifferentOutside(picture, c.Routine(), frame), 0);
    EXPECT_EQ(picture.pixel(4 * 32, 32 + 10), qRgb(0, 0, 0));
    EXPECT_TRUE(Near(picture.pixel(4 * 32 + 1, 32 + 10), QColor(128, 255, 128)));
    EXPECT_EQ(picture.pixel(4 * 32 + 2, 32 + 10), qRgb(255, 255, 255));

    // Undo brings the cells back and the picture with them.
    EXPECT_TRUE(c.Form.Undo());
    EXPECT_EQ(c.Map.LowerLayer.Cell(2, 1), 5000 + (2 * 7 + 3) % 144);
    EXPECT_EQ(DifferentOutside(c.Picture(), c.Routine(), frame), 0);

    // Leaving the window takes the cursor frame away.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(c.View(), &leave);
    EXPECT_EQ(DifferentPixels(c.Picture(), c.Routine()), 0);
}

TEST(MapCanvasWidget, WrappedColumnOfALoopingMapIsRefreshed) {
    // 20 x 15 cells at 16 pixels fill the 320 x 240 client exactly: both edges are in view.
    Canvas c(20, 15, 320, 240, TKelMap::stHorizontalLoop);
    c.Form.SetCellSize(16);
    c.Form.SetMode(kLower);
    c.Form.SetTool(kPen);
    TKelCurrentChip pattern;
    pattern.SetSingle(4049);  // the first autotile's preview
    c.Form.SetPattern(pattern);
    QTest::mouseClick(c.View(), Qt::LeftButton, {}, c.At(0, 5));
    const std::uint16_t alone = c.Map.LowerLayer.Cell(0, 5);
    EXPECT_EQ(alone, 4000 + 46) << "an autotile on its own";
    QApplication::processEvents();
    (void)c.Picture();
    // One on the last column joins the one on column 0 across the edge, whose shape changes.
    QTest::mouseClick(c.View(), Qt::LeftButton, {}, c.At(19, 5));
    EXPECT_EQ(TileToChip(c.Map.LowerLayer.Cell(19, 5)), 6);
    EXPECT_NE(c.Map.LowerLayer.Cell(0, 5), alone);
    const QImage picture = c.ViewPart();
    KeepPicture(picture, "canvas-loop");
    ASSERT_EQ(picture.size(), QSize(320, 240)) << "the whole map is in view";
    // Everything but the cursor frame round cell (19, 5); column 0 shows its new shape.
    EXPECT_EQ(DifferentOutside(picture, c.Routine(), QRect(19 * 16, 5 * 16, 16, 16)), 0);
}

TEST(MapCanvasWidget, SelectionMovesCopiesAndShowsTheMapChipMenu) {
    Canvas c;
    c.Form.SetMode(kLower);
    c.Form.SetTool(kSelect);
    c.Form.SetMarchingTime(0);
    QApplication::processEvents();
    // From grid point (1, 1) to grid point (3, 3): cells (1, 1) .. (2, 2).
    QTest::mousePress(c.View(), Qt::LeftButton, {}, QPoint(32 + 3, 32 + 3));
    QTest::mouseMove(c.View(), QPoint(96 - 3, 96 - 3));
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, QPoint(96 - 3, 96 - 3));
    ASSERT_EQ(c.Form.Model().Selection(), (TRect{1, 1, 3, 3}));
    EXPECT_TRUE(c.Form.Model().SelectionLifted());
    const QImage selected = c.Picture();
    KeepPicture(selected, "canvas-selection");
    // The marching frame runs on the selection's edge; inside, the cells are as drawn.
    const QRgb edge = selected.pixel(32 + 10, 32);
    EXPECT_TRUE(edge == qRgb(0, 0, 0) || edge == qRgb(255, 255, 255));
    EXPECT_EQ(DifferentOutside(selected, c.Routine(), QRect(32, 32, 64, 64)), 0);
    EXPECT_EQ(selected.pixel(48, 48), c.Routine().pixel(48, 48));

    // Drag the selection two cells right: its tiles go along, the pattern's tile stays behind.
    const std::uint16_t moving = c.Map.LowerLayer.Cell(1, 1);
    QTest::mousePress(c.View(), Qt::LeftButton, {}, c.At(1, 1));
    QTest::mouseMove(c.View(), c.At(2, 1));
    QTest::mouseMove(c.View(), c.At(3, 1));
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, c.At(3, 1));
    EXPECT_EQ(c.Form.Model().Selection(), (TRect{3, 1, 5, 3}));
    EXPECT_EQ(c.Map.LowerLayer.Cell(3, 1), moving);
    EXPECT_EQ(c.Map.LowerLayer.Cell(1, 1), 0) << "the first tile of the lower pattern (49) without its shape";
    EXPECT_EQ(c.Map.UpperLayer.Cell(1, 1), kUpperFillValue);
    EXPECT_EQ(DifferentOutside(c.Picture(), c.Routine(), QRect(3 * 32, 32, 64, 64)), 0);

    // Ctrl+C puts the block on the clipboard; the right button on the selection opens the
    // map-chip menu with every item available.
    QTest::keyClick(&c.Form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(c.Board.HasFormat(kMapCellClipboardFormat));
    QTest::mousePress(c.View(), Qt::RightButton, {}, c.At(3, 1));
    QTest::mouseRelease(c.View(), Qt::RightButton, {}, c.At(3, 1));
    ASSERT_EQ(c.Form.ShownMenu(), c.Form.MapChipMenu());
    EXPECT_TRUE(c.Form.MapChipMenu()->isVisible());
    EXPECT_TRUE(c.Form.MapCutAction()->isEnabled());
    EXPECT_TRUE(c.Form.MapPasteAction()->isEnabled());
    EXPECT_EQ(c.Form.MapCutAction()->text(), "Cu&t");
    EXPECT_EQ(c.Form.MapSelectAllAction()->text(), "Select &All");
    c.Form.MapChipMenu()->hide();
    // Del clears the selection's cells; the menu then offers no Cut.
    QTest::keyClick(&c.Form, Qt::Key_Delete);
    EXPECT_FALSE(c.Form.Model().HasSelection());
    EXPECT_EQ(c.Map.LowerLayer.Cell(3, 1), 5000 + (3 * 7 + 3) % 144) << "what lay beneath comes back";
    EXPECT_EQ(c.Map.LowerLayer.Cell(1, 1), 0);
    EXPECT_EQ(DifferentPixels(c.Picture(), c.Routine()), 0);
}

TEST(MapCanvasWidget, EventDragMenusAndDoubleClicks) {
    Canvas c;
    c.Form.SetMode(kEvents);
    QSignalSpy changed(&c.Form, &TFormMapEditor::MapChanged);
    QApplication::processEvents();
    // Drag event 1 from (2, 2) to the empty cell (3, 5).
    QTest::mousePress(c.View(), Qt::LeftButton, {}, c.At(2, 2));
    QTest::mouseMove(c.View(), c.At(3, 4));
    QTest::mouseMove(c.View(), c.At(3, 5));
    ASSERT_TRUE(c.Form.Model().MovingEvent());
    const QImage dragging = c.Picture();
    KeepPicture(dragging, "canvas-event-drag");
    EXPECT_TRUE(Near(dragging.pixel(3 * 32 + 1, 5 * 32 + 10), QColor(160, 160, 160))) << "the target frame";
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, c.At(3, 5));
    const TKelEventItem* event = c.Map.Events.FindByID(1);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->X, 3);
    EXPECT_EQ(event->Y, 5);
    EXPECT_TRUE(c.Map.Modified);
    EXPECT_EQ(changed.count(), 1);
    // The event's icon stands on its new cell; the cursor frame (one pixel further out to the
    // left and top in event mode) follows it.
    const QImage moved = c.Picture();
    KeepPicture(moved, "canvas-event-moved");
    EXPECT_EQ(DifferentOutside(moved, c.Routine(), QRect(3 * 32 - 1, 5 * 32 - 1, 33, 33)), 0);
    EXPECT_TRUE(Near(moved.pixel(3 * 32, 5 * 32 + 10), QColor(255, 255, 128)));
    EXPECT_EQ(moved.pixel(2 * 32 + 6, 2 * 32 + 6), c.Routine().pixel(2 * 32 + 6, 2 * 32 + 6));

    // A drop onto another event does nothing.
    QTest::mousePress(c.View(), Qt::LeftButton, {}, c.At(3, 5));
    QTest::mouseMove(c.View(), c.At(5, 4));
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, c.At(5, 4));
    EXPECT_EQ(c.Map.Events.FindByID(1)->X, 3);
    EXPECT_EQ(changed.count(), 1);

    // The right button opens the event menu: on an empty cell "New Event..." is the default and
    // the commands the event manager cannot do yet are off.
    QTest::mousePress(c.View(), Qt::RightButton, {}, c.At(8, 6));
    QTest::mouseRelease(c.View(), Qt::RightButton, {}, c.At(8, 6));
    ASSERT_EQ(c.Form.ShownMenu(), c.Form.EventMenu());
    EXPECT_TRUE(c.Form.EventNewAction()->isVisible());
    EXPECT_FALSE(c.Form.EventEditAction()->isVisible());
    EXPECT_EQ(c.Form.EventMenu()->defaultAction(), c.Form.EventNewAction());
    EXPECT_FALSE(c.Form.EventMoveAction()->isEnabled());
    EXPECT_FALSE(c.Form.EventDeleteAction()->isEnabled());
    c.Form.EventMenu()->hide();
    // On the event: "Edit event..." instead, with Delete.
    QTest::mousePress(c.View(), Qt::RightButton, {}, c.At(5, 4));
    QTest::mouseRelease(c.View(), Qt::RightButton, {}, c.At(5, 4));
    EXPECT_FALSE(c.Form.EventNewAction()->isVisible());
    EXPECT_TRUE(c.Form.EventEditAction()->isVisible());
    EXPECT_EQ(c.Form.EventMenu()->defaultAction(), c.Form.EventEditAction());
    EXPECT_TRUE(c.Form.EventDeleteAction()->isEnabled());
    c.Form.EventMenu()->hide();

    // Arrow keys move the event cursor and report the cell; at the view's edge the view follows.
    QSignalSpy cursor(&c.Form, &TFormMapEditor::CursorMoved);
    QTest::mouseClick(c.View(), Qt::LeftButton, {}, c.At(9, 6));
    QTest::keyClick(&c.Form, Qt::Key_Right);
    EXPECT_EQ(c.Form.Model().CursorCell(), (TPoint{10, 6}));
    ASSERT_GE(cursor.count(), 1);
    EXPECT_EQ(cursor.last().at(0).toInt(), 10);
    EXPECT_EQ(c.Form.ViewModel().OffsetX(), 32) << "cell 10 ends at 352, past the 320-pixel view";
    EXPECT_EQ(c.Form.horizontalScrollBar()->value(), 32);
    const QImage followed = c.Picture();
    KeepPicture(followed, "canvas-event-keys");
    EXPECT_EQ(DifferentOutside(followed, c.Routine(), QRect(9 * 32 - 1, 6 * 32 - 1, 34, 34)), 0);

    // The menu key and Shift+F10 open the event menu of the cursor cell, below it.
    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(0, 0), c.Form.mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(&c.Form, &byKey);
    ASSERT_EQ(c.Form.ShownMenu(), c.Form.EventMenu());
    EXPECT_TRUE(c.Form.EventMenu()->isVisible());
    EXPECT_EQ(c.Form.EventMenu()->defaultAction(), c.Form.EventNewAction());
    const QPoint below = c.View()->mapToGlobal(c.At(10, 7) - QPoint(16, 16));
    EXPECT_LE((c.Form.EventMenu()->pos() - below).manhattanLength(), 2);
    c.Form.EventMenu()->hide();
    QTest::keyClick(&c.Form, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(c.Form.EventMenu()->isVisible());
    c.Form.EventMenu()->hide();

    // A right double click in a layer mode switches lower and upper.
    c.Form.SetMode(kLower);
    c.Form.SetTool(kPen);
    QSignalSpy toggled(&c.Form, &TFormMapEditor::LayerModeToggled);
    QTest::mouseDClick(c.View(), Qt::RightButton, {}, c.At(6, 6));
    ASSERT_EQ(toggled.count(), 1);
    EXPECT_EQ(toggled.at(0).at(0).toInt(), kUpper);
    EXPECT_EQ(c.Form.Mode(), kUpper);
}

namespace {

// The names a screen reader hears for a menu's entries.
QStringList EntryNames(QMenu* menu) {
    QStringList names;
    if (QAccessibleInterface* access = QAccessible::queryAccessibleInterface(menu))
        for (int i = 0; i < access->childCount(); ++i)
            names << access->child(i)->text(QAccessible::Name);
    return names;
}

}  // namespace

TEST(MapCanvasWidget, TestPlayFromHereAsksForTheCellOfEitherMenu) {
    Canvas c;
    QSignalSpy asked(&c.Form, &TFormMapEditor::TestPlayFromHere);
    QAction* here = c.Form.TestPlayHereAction();
    EXPECT_EQ(QKeySequence::mnemonic(here->text()), QKeySequence(Qt::ALT | Qt::Key_H));
    for (QMenu* menu : {c.Form.EventMenu(), c.Form.MapChipMenu()}) {
        EXPECT_TRUE(menu->actions().contains(here));
        EXPECT_TRUE(EntryNames(menu).contains("Test Play from Here")) << EntryNames(menu).join("|").toStdString();
    }

    // Event mode: a right press on a cell, then the entry's mnemonic in the menu.
    c.Form.SetMode(kEvents);
    QTest::mousePress(c.View(), Qt::RightButton, {}, c.At(8, 6));
    QTest::mouseRelease(c.View(), Qt::RightButton, {}, c.At(8, 6));
    ASSERT_EQ(c.Form.ShownMenu(), c.Form.EventMenu());
    KeepPicture(ScreenGrab(*c.Form.EventMenu()), "canvas-event-menu");
    EXPECT_TRUE(here->isEnabled());
    QTest::keyClick(c.Form.EventMenu(), Qt::Key_H);
    ASSERT_EQ(asked.count(), 1);
    EXPECT_EQ(asked.at(0), (QList<QVariant>{8, 6}));
    EXPECT_FALSE(c.Form.EventMenu()->isVisible());

    // The select tool's menu key without a selection: the view's top-left cell.
    c.Form.SetMode(kLower);
    c.Form.SetTool(kSelect);
    QTest::keyClick(&c.Form, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(c.Form.ShownMenu(), c.Form.MapChipMenu());
    here->trigger();
    ASSERT_EQ(asked.count(), 2);
    EXPECT_EQ(asked.at(1), (QList<QVariant>{0, 0}));
    c.Form.MapChipMenu()->hide();
}

TEST(MapCanvasWidget, PickZoomWheelAndPanning) {
    Canvas c;
    c.Form.SetMode(kLower);
    c.Form.SetTool(kPen);
    QSignalSpy picked(&c.Form, &TFormMapEditor::PatternPicked);
    // A right drag picks the cells under it once the delay is over, at most 6 x 6.
    QTest::mousePress(c.View(), Qt::RightButton, {}, c.At(1, 1));
    EXPECT_EQ(c.Form.CurrentCursor(), TCanvasCursor::Pick);
    QTRY_VERIFY_WITH_TIMEOUT(!c.Form.Model().PickDelayPending(), 2000);
    QTest::mouseMove(c.View(), c.At(9, 6));
    QTest::mouseRelease(c.View(), Qt::RightButton, {}, c.At(9, 6));
    ASSERT_EQ(picked.count(), 1);
    const TKelCurrentChip& pattern = c.Form.Model().Pattern();
    EXPECT_EQ(pattern.Width, 6);
    EXPECT_EQ(pattern.Height, 6);
    EXPECT_EQ(pattern.GetTile(2, 3), c.Map.LowerLayer.Cell(3, 4));
    EXPECT_EQ(c.Form.CurrentCursor(), TCanvasCursor::Pen);

    // The zoom tool: a left click zooms in, a right click out, and the owner hears of it.
    QSignalSpy zoomed(&c.Form, &TFormMapViewer::ZoomChanged);
    c.Form.SetTool(kZoom);
    QTest::mouseClick(c.View(), Qt::RightButton, {}, c.At(4, 4));
    ASSERT_EQ(zoomed.count(), 1);
    EXPECT_EQ(zoomed.at(0).at(0).toInt(), 16);
    EXPECT_EQ(c.Form.CellSize(), 16);
    KeepPicture(c.Picture(), "canvas-zoom-half");
    EXPECT_EQ(DifferentPixels(c.Picture(), c.Routine()), 0) << "zoom tool: no cursor frame";
    c.Form.SetCellSize(32);

    // The wheel scrolls three cells a notch; the middle button drags the view.
    QWheelEvent wheel(QPointF(50, 50), c.View()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    const std::int64_t before = c.Form.ViewModel().OffsetY();
    QApplication::sendEvent(c.View(), &wheel);
    EXPECT_EQ(c.Form.ViewModel().OffsetY(), before + 96);
    EXPECT_EQ(c.Form.verticalScrollBar()->value(), before + 96);
    EXPECT_EQ(DifferentPixels(c.Picture(), c.Routine()), 0);
    const std::int64_t x0 = c.Form.ViewModel().OffsetX(), y0 = c.Form.ViewModel().OffsetY();
    QTest::mousePress(c.View(), Qt::MiddleButton, {}, QPoint(200, 150));
    QTest::mouseMove(c.View(), QPoint(150, 110));
    QTest::mouseRelease(c.View(), Qt::MiddleButton, {}, QPoint(150, 110));
    EXPECT_EQ(c.Form.ViewModel().OffsetX(), x0 + 50);
    EXPECT_EQ(c.Form.ViewModel().OffsetY(), y0 + 40);
    EXPECT_EQ(DifferentPixels(c.Picture(), c.Routine()), 0);
}

TEST(MapCanvasWidget, SmallMapIsCentredOnTheHatchAndCursorsAreDrawn) {
    Canvas c(6, 4, 320, 240);
    c.Form.SetMode(kUpper);
    c.Form.SetTool(kPen);
    QApplication::processEvents();
    const TKelMapViewModel& m = c.Form.ViewModel();
    EXPECT_EQ(m.ViewLeft(), (320 - 6 * 32) / 2);
    EXPECT_EQ(m.ViewTop(), (240 - 4 * 32) / 2);
    const QImage picture = c.Picture();
    KeepPicture(picture, "canvas-small-map");
    EXPECT_EQ(DifferentPixels(c.ViewPart(), c.Routine()), 0);
    const QRgb outside = picture.pixel(5, 5);
    EXPECT_TRUE(outside == QApplication::palette().color(QPalette::Dark).rgb() ||
                outside == QApplication::palette().color(QPalette::Button).rgb());
    // A press beside the map changes nothing.
    const std::uint16_t before = c.Map.UpperLayer.Cell(0, 0);
    QTest::mouseClick(c.View(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(c.Map.UpperLayer.Cell(0, 0), before);

    // No map, or the project's root (a map without cells): only the hatch, and input does nothing.
    for (const bool none : {true, false}) {
        TKelMap empty;
        empty.MakeEmpty();
        c.Form.LoadMap(none ? nullptr : &empty);
        QTest::mouseClick(c.View(), Qt::LeftButton, {}, QPoint(160, 120));
        QTest::mouseClick(c.View(), Qt::RightButton, {}, QPoint(160, 120));
        QTest::keyClick(&c.Form, Qt::Key_V, Qt::ControlModifier);
        const QImage nothing = c.Picture();
        for (const QPoint& at : {QPoint(1, 1), QPoint(160, 120), QPoint(319, 239)}) {
            const QRgb pixel = nothing.pixel(at);
            EXPECT_TRUE(pixel == QApplication::palette().color(QPalette::Dark).rgb() ||
                        pixel == QApplication::palette().color(QPalette::Button).rgb())
                << (none ? "no map" : "empty map");
        }
        c.Form.LoadMap(nullptr);
    }
    c.Form.LoadMap(&c.Map);

    // Every tool has its own drawing as cursor.
    QImage strip(9 * 34, 34, QImage::Format_ARGB32);
    strip.fill(qRgb(200, 200, 200));
    QPainter painter(&strip);
    for (int shape = 1; shape <= 8; ++shape) {
        const QPixmap pixmap = CanvasCursor(static_cast<TCanvasCursor>(shape)).pixmap();
        ASSERT_FALSE(pixmap.isNull()) << shape;
        EXPECT_EQ(pixmap.size(), QSize(32, 32));
        painter.drawPixmap(shape * 34, 1, pixmap);
    }
    painter.end();
    KeepPicture(strip, "canvas-cursors");
    c.Form.SetTool(kSelect);
    EXPECT_EQ(c.Form.CurrentCursor(), TCanvasCursor::Select);
    EXPECT_EQ(c.View()->cursor().hotSpot(), QPoint(8, 8));
}

TEST(MapCanvasWidget, SelectionDraggedPastTheMapsEdgesTakesTheLastColumnAndRow) {
    // The whole 20 x 15 map in view with room beside it: the drag ends on the hatch.
    Canvas c(20, 15, 700, 520);
    c.Form.SetMode(kLower);
    c.Form.SetTool(kSelect);
    QApplication::processEvents();
    ASSERT_EQ(c.Form.ViewModel().ViewWidth(), 20 * 32);
    const QPoint start = c.At(17, 12) - QPoint(12, 12);  // nearest grid point (17, 12)
    const QPoint beyond = c.At(19, 14) + QPoint(40, 30);
    ASSERT_FALSE(c.Form.ViewModel().CellInMap(c.Form.ViewModel().CellAt(beyond.x(), beyond.y())));
    QTest::mousePress(c.View(), Qt::LeftButton, {}, start);
    QTest::mouseMove(c.View(), beyond);
    EXPECT_EQ(c.Form.Model().Selection(), (TRect{17, 12, 20, 15}));
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, beyond);
    EXPECT_EQ(c.Form.Model().Selection(), (TRect{17, 12, 20, 15}));
    EXPECT_TRUE(c.Form.Model().SelectionLifted());
}

TEST(MapCanvasWidget, DragsNearAnEdgeScrollTheViewOnTheirOwn) {
    Canvas c;
    c.Form.SetMode(kLower);
    c.Form.SetTool(kSelect);
    QApplication::processEvents();
    ASSERT_EQ(c.Form.ViewModel().OffsetX(), 0);
    // A selection drag held 2 pixels from the right edge: the timer scrolls and the selection
    // grows with the view while the mouse stands still.
    QTest::mousePress(c.View(), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseMove(c.View(), QPoint(318, 100));
    const int inView = c.Form.Model().Selection().Right;
    QTRY_VERIFY_WITH_TIMEOUT(c.Form.ViewModel().OffsetX() >= 64, 5000);
    EXPECT_EQ(c.Form.horizontalScrollBar()->value(), c.Form.ViewModel().OffsetX());
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, QPoint(318, 100));
    const std::int64_t offset = c.Form.ViewModel().OffsetX();
    EXPECT_GT(c.Form.Model().Selection().Right, inView);
    EXPECT_EQ(c.Form.Model().Selection().Right, (318 + offset + 16) / 32);
    // After the release nothing scrolls any more, and the picture is that of the new offset.
    QTest::qWait(120);
    EXPECT_EQ(c.Form.ViewModel().OffsetX(), offset);
    c.Form.SetMarchingTime(0);
    const TRect cells = c.Form.Model().Selection();
    const QRect selection(QPoint(ClampInt(cells.Left * 32 - offset), cells.Top * 32),
                          QPoint(ClampInt(cells.Right * 32 - offset) - 1, cells.Bottom * 32 - 1));
    const QImage picture = c.Picture();
    KeepPicture(picture, "canvas-autoscroll");
    EXPECT_EQ(DifferentOutside(picture, c.Routine(), selection), 0);
    EXPECT_GT(DifferentOutside(picture, c.Routine(), selection.adjusted(1, 1, -1, -1)), 300)
        << "the marching frame's edges";
}

TEST(MapCanvasWidget, PaletteAndCanvasLinkedAndDragsEndWhenTheFocusGoes) {
    Canvas c;
    TFormChipSelector palette;
    palette.SetMap(&c.Map, c.Chipset.Chips.get());
    LinkChipPalette(c.Form, palette);
    c.Form.SetMode(kLower);
    c.Form.SetTool(kPen);
    palette.SetMode(kLower);
    palette.resize(230, 300);
    palette.show();
    QApplication::processEvents();

    // A 2 x 2 range of plain tiles picked in the palette becomes the canvas's pattern.
    QTest::mousePress(palette.viewport(), Qt::LeftButton, {}, QPoint(32 + 16, 3 * 32 + 16));
    QTRY_VERIFY_WITH_TIMEOUT(palette.Model().DelayPassed(), 2000);
    QTest::mouseMove(palette.viewport(), QPoint(64 + 16, 4 * 32 + 16));
    QTest::mouseRelease(palette.viewport(), Qt::LeftButton, {}, QPoint(64 + 16, 4 * 32 + 16));
    const TKelCurrentChip& pattern = c.Form.Model().Pattern();
    ASSERT_EQ(pattern.Width, 2);
    ASSERT_EQ(pattern.Height, 2);
    EXPECT_EQ(pattern.GetTile(0, 0), 5001);
    EXPECT_EQ(pattern.GetTile(1, 1), 5008);

    // A pen drag cut short by the loss of the focus leaves the map as it was.
    QSignalSpy changed(&c.Form, &TFormMapEditor::MapChanged);
    const std::uint16_t before = c.Map.LowerLayer.Cell(3, 3);
    QTest::mousePress(c.View(), Qt::LeftButton, {}, c.At(3, 3));
    QTest::mouseMove(c.View(), c.At(6, 3));
    EXPECT_EQ(c.Map.LowerLayer.Cell(3, 3), 5001);
    EXPECT_TRUE(c.Form.CancelDrag());
    EXPECT_FALSE(c.Form.CancelDrag());
    QTest::mouseRelease(c.View(), Qt::LeftButton, {}, c.At(6, 3));
    EXPECT_EQ(c.Map.LowerLayer.Cell(3, 3), before);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(c.Form.UndoCount(), 0);
    EXPECT_EQ(DifferentOutside(c.Picture(), c.Routine(), QRect(6 * 32 - 32, 3 * 32 - 32, 96, 96)), 0);

    // A single plain tile picked from the map is highlighted in the palette.
    QTest::mouseClick(c.View(), Qt::RightButton, {}, c.At(5, 6));
    const std::uint16_t tile = c.Map.LowerLayer.Cell(5, 6);
    const TPoint cell = PaletteCellOf(kLower, tile);
    EXPECT_EQ(palette.Model().Highlight(), (TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1}));
    // A right double click on the canvas switches the palette to the upper grid.
    QTest::mouseDClick(c.View(), Qt::RightButton, {}, c.At(6, 6));
    EXPECT_EQ(c.Form.Mode(), kUpper);
    EXPECT_EQ(palette.Mode(), kUpper);
    EXPECT_EQ(palette.Model().Highlight(), TRect{});

    // The palette's own drag ends with the old selection too.
    QTest::mousePress(palette.viewport(), Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_TRUE(palette.CancelDrag());
    EXPECT_FALSE(palette.Model().Dragging());
    EXPECT_EQ(palette.SelectedRect(), (TRect{0, 0, 1, 1}));
    QTest::mouseRelease(palette.viewport(), Qt::LeftButton, {}, QPoint(16, 16));
}
