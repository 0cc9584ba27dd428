// The canvas picture: per-cell drawing order and looks by mode and tool, and strip redraws that
// equal a full redraw.
#include "MapEditTestKit.h"

#include "data/EditorMode.h"
#include "graphics/ChipSetTestUtil.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "mapedit/MapEditor.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr std::uint16_t kPanoramaRed = 0xF800;

// A project folder with a chipset whose upper tile 0 and lower tile 1 are blank, and a panorama
// of one red colour sized for a 12 x 8 map.
const std::filesystem::path& PaintFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = chiptest::TempFolder("canvas-paint");
        TBitmap chips = chiptest::SyntheticChipSet();
        const TChipQuarter upper = UpperTileOrigin(0);
        chiptest::FillCells(chips, upper.X * 8, upper.Y * 8, 16, 16, 0);
        const TChipQuarter lower = LowerTileOrigin(1);
        chiptest::FillCells(chips, lower.X * 8, lower.Y * 8, 16, 16, 0);
        chiptest::WriteResource(path, "ChipSet", "Chips", chips);
        TBitmap panorama(12 * 16, 8 * 16, TPixelFormat::pf8bit);
        for (int y = 0; y < panorama.Height(); ++y)
            for (int x = 0; x < panorama.Width(); ++x)
                panorama.ScanLine(y)[x] = 1;
        panorama.Palette()[1] = TPaletteEntry{255, 0, 0, 0};
        chiptest::WriteResource(path, "Panorama", "Sky", panorama);
        return path;
    }();
    return folder;
}

struct TPaintFixture {
    TEditorModeScope EditorMode{true};
    std::unique_ptr<TKelMap> Map = MakeMap(12, 8);
    TKelMapTree Tree;
    TKelChipSetGraphic Chips{FolderImageFinder({PaintFolder().string()})};
    TKelMapEditorModel Canvas;

    TPaintFixture() {
        Chips.LoadGraphic("Chips");
        Map->ID = 1;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x) {
                Map->LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(x == 0 ? 5001 : 5000 + (x * 3 + y) % 144));
                Map->UpperLayer.SetCell(x, y, static_cast<std::uint16_t>(y == 0 ? 10000 : 10000 + x + y));
            }
        TKelEventItem& event = Map->Events.Obtain(1);
        event.X = 3;
        event.Y = 2;
        event.Pages.Obtain(1).GraphicIndex = 4;
        Tree.AddItem(0, 0);
        Tree.AddItem(0, 1);
        Tree.CurrentMapId = 1;
        Tree.StartPosition.ShipMapId = 1;
        Tree.StartPosition.ShipX = 5;
        Tree.StartPosition.ShipY = 5;
        Canvas.SetMapTree(&Tree);
        Canvas.SetGraphics(&Chips, nullptr);
        Canvas.SetImageFinder(FolderImageFinder({PaintFolder().string()}));
        Canvas.SetClientSize(200, 150);
        Canvas.LoadMap(Map.get());
    }
    void Paint(TOrlenBoard& board) {
        board.SetSize(Canvas.ViewWidth(), Canvas.ViewHeight());
        Canvas.PaintView(board, MakeBounds(0, 0, board.Width(), board.Height()));
    }
    // The board pixel at (dx, dy) inside a cell.
    static std::uint16_t CellPixel(const TOrlenBoard& board, const TKelMapEditorModel& canvas, int column, int row,
                                   int dx, int dy) {
        const std::int64_t x = static_cast<std::int64_t>(column) * canvas.CellSize() - canvas.OffsetX() + dx;
        const std::int64_t y = static_cast<std::int64_t>(row) * canvas.CellSize() - canvas.OffsetY() + dy;
        if (x < 0 || y < 0 || x >= board.Width() || y >= board.Height()) {
            ADD_FAILURE() << "pixel (" << x << ", " << y << ") is outside the board";
            return 0;
        }
        return board.ScanLine(static_cast<int>(y))[x];
    }
    std::uint16_t Pixel(const TOrlenBoard& board, int column, int row, int dx, int dy) const {
        return CellPixel(board, Canvas, column, row, dx, dy);
    }
};

bool SameBoards(const TOrlenBoard& a, const TOrlenBoard& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::equal(a.ScanLine(y), a.ScanLine(y) + a.Width(), b.ScanLine(y)))
            return false;
    return true;
}

}  // namespace

TEST(MapCanvasPaintTest, DrawingToolsDimTheOtherLayerAndTheViewerDrawsPlainly) {
    TPaintFixture f;
    TOrlenBoard viewer, lowerSelect, lowerPen, upperPen;
    f.Paint(viewer);  // mode None: the plain viewer's picture
    f.Canvas.SetMode(TKelEditMode::Lower);
    f.Canvas.SetTool(TKelEditTool::Select);
    f.Paint(lowerSelect);
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Paint(lowerPen);
    f.Canvas.SetMode(TKelEditMode::Upper);
    f.Paint(upperPen);

    EXPECT_TRUE(SameBoards(viewer, lowerSelect));
    // Row 0 has no upper tiles: the lower layer is dimmed only in upper mode.
    EXPECT_EQ(f.Pixel(lowerPen, 2, 0, 3, 3), f.Pixel(lowerSelect, 2, 0, 3, 3));
    EXPECT_NE(f.Pixel(upperPen, 2, 0, 3, 3), f.Pixel(lowerSelect, 2, 0, 3, 3));
    // Row 1 has upper tiles: they are blended from the dimmed sheet in lower mode with a drawing
    // tool, and drawn as they are in upper mode.
    EXPECT_NE(f.Pixel(lowerPen, 2, 1, 3, 3), f.Pixel(lowerSelect, 2, 1, 3, 3));
    EXPECT_EQ(f.Pixel(upperPen, 2, 1, 3, 3), f.Pixel(lowerSelect, 2, 1, 3, 3));
    // The dimmed sheet's opacity is given back after the upper tiles.
    EXPECT_EQ(f.Chips.DimSheet()->Opacity, 255);
}

TEST(MapCanvasPaintTest, EventModeDrawsTheGridAndFullIconsOthersFaintMarks) {
    TPaintFixture f;
    TOrlenBoard events, lower;
    f.Canvas.SetMode(TKelEditMode::Lower);
    f.Paint(lower);
    f.Canvas.SetMode(TKelEditMode::Events);
    f.Paint(events);
    // The grid: right column and bottom row of each cell.
    EXPECT_EQ(f.Pixel(events, 4, 3, 31, 10), 0);
    EXPECT_EQ(f.Pixel(events, 4, 3, 10, 31), 0);
    EXPECT_NE(f.Pixel(lower, 4, 3, 31, 10), f.Pixel(events, 4, 3, 31, 10));
    // Event 1 at (3, 2): a white square at 1/1 in event mode; a faint mark otherwise.
    EXPECT_EQ(f.Pixel(events, 3, 2, 4, 4), 0xFFFF);
    EXPECT_NE(f.Pixel(lower, 3, 2, 4, 4), 0xFFFF);

    // At 1/4 events show the generic mark even in event mode, as the mark strip draws it.
    f.Canvas.SetCellSize(8);
    f.Paint(events);
    // Expected: the cell as drawn without events, then the event mark at full opacity.
    TOrlenBoard expected, plain;
    expected.SetSize(8, 8);
    TKelEventMap marks;
    f.Map->Events.Clear();
    f.Canvas.RebuildEventMap();
    f.Paint(plain);
    expected.CopyFrom(0, 0, MakeBounds(3 * 8 - static_cast<int>(f.Canvas.OffsetX()), 2 * 8 - static_cast<int>(f.Canvas.OffsetY()), 8, 8), plain);
    marks.Marks().Draw(expected, 0, 0, 8, TStartPosMark::smEvent, false);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(TPaintFixture::CellPixel(events, f.Canvas, 3, 2, x, y), expected.ScanLine(y)[x]) << x << "," << y;
}

TEST(MapCanvasPaintTest, StartPositionsFollowTheMapIdAndHideEvents) {
    TPaintFixture f;
    // The ship's start on the event's cell hides it; only on the map the position names.
    f.Tree.StartPosition.ShipX = 3;
    f.Tree.StartPosition.ShipY = 2;
    f.Tree.CurrentMapId = 0;  // the tree's selection plays no part
    f.Canvas.RebuildEventMap();
    EXPECT_EQ(f.Canvas.EventMap().GetAt(3, 2), kEventCodeShip);
    f.Tree.StartPosition.ShipMapId = 2;
    f.Canvas.RebuildEventMap();
    EXPECT_EQ(f.Canvas.EventMap().GetAt(3, 2), 1);
}

TEST(MapCanvasPaintTest, PanoramaShowsBehindBlankTilesOnlyWhenItFitsAndIsNotPanned) {
    TPaintFixture f;
    f.Map->PanoramaEnabled = 1;
    f.Map->PanoramaName = "Sky";
    f.Canvas.LoadMap(f.Map.get());
    ASSERT_EQ(f.Canvas.PanoramaSheet().Width(), 12 * 16);
    TOrlenBoard board;
    f.Paint(board);
    // Column 0 holds the blank lower tile 5001 and row 0 the blank upper tile.
    EXPECT_EQ(f.Pixel(board, 0, 0, 5, 5), kPanoramaRed);
    EXPECT_NE(f.Pixel(board, 1, 0, 5, 5), kPanoramaRed);
    f.Map->PanoramaHorizontalPan = 1;
    f.Paint(board);
    EXPECT_NE(f.Pixel(board, 0, 0, 5, 5), kPanoramaRed);
    // A panorama of another size is not used.
    f.Map->PanoramaHorizontalPan = 0;
    f.Map->SetWidth(13);
    f.Canvas.LoadMap(f.Map.get());
    f.Paint(board);
    EXPECT_NE(f.Pixel(board, 0, 0, 5, 5), kPanoramaRed);
}

TEST(MapCanvasPaintTest, StripRedrawsAfterAScrollEqualAFullRedraw) {
    for (const TKelEditMode mode : {TKelEditMode::Events, TKelEditMode::Lower}) {
        for (const int size : {32, 16}) {
            TPaintFixture f;
            f.Map->SetWidth(40);
            f.Map->SetHeight(30);
            f.Tree.FindByID(1)->AreaRect = TKelAreaRect{2, 1, 9, 6};
            f.Canvas.LoadMap(f.Map.get());
            f.Canvas.SetMode(mode);
            f.Canvas.SetCellSize(size);
            f.Canvas.ScrollTo(10, 20);
            TOrlenBoard old;
            f.Paint(old);
            const std::int64_t oldX = f.Canvas.OffsetX(), oldY = f.Canvas.OffsetY();
            f.Canvas.ScrollBy(37, 37);
            const int dx = static_cast<int>(f.Canvas.OffsetX() - oldX), dy = static_cast<int>(f.Canvas.OffsetY() - oldY);
            ASSERT_EQ(dx, 37);
            // Shift the old picture and draw the uncovered strips only.
            TOrlenBoard scrolled;
            scrolled.SetSize(old.Width(), old.Height());
            scrolled.CopyFrom(-dx, -dy, MakeBounds(0, 0, old.Width(), old.Height()), old);
            const int w = old.Width(), h = old.Height();
            f.Canvas.PaintView(scrolled, MakeRect(0, h - dy, w, h));
            f.Canvas.PaintView(scrolled, MakeRect(w - dx, 0, w, h - dy));
            TOrlenBoard full;
            f.Paint(full);
            EXPECT_TRUE(SameBoards(scrolled, full)) << "mode " << static_cast<int>(mode) << " size " << size;
        }
    }
}
