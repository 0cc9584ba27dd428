// The map canvas model driven as the window drives it: presses, moves and releases in client
// pixels, keys, and the owner's commands.
#include "MapEditTestKit.h"

#include "mapedit/CanvasMenuCell.h"
#include "mapedit/MapEditor.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr TKelEditKeys kNoKeys{};
constexpr TKelEditKeys kCtrl{false, true};

struct TCanvasFixture {
    std::unique_ptr<TKelMap> Map;
    TKelMapTree Tree;
    TMemoryClipboard Clip;
    TKelMapEditorModel Canvas;
    std::vector<TConnection> Heard;
    int Changes = 0;
    int Picks = 0;

    explicit TCanvasFixture(std::int32_t width = 20, std::int32_t height = 15, int clientWidth = 640,
                            int clientHeight = 480) {
        Map = MakeMap(width, height);
        Map->ID = 1;
        Tree.AddItem(0, 0);
        Tree.AddItem(0, 1);
        Tree.CurrentMapId = 1;
        Canvas.SetMapTree(&Tree);
        Canvas.SetClipboard(&Clip);
        Canvas.SetClientSize(clientWidth, clientHeight);
        Heard.push_back(Canvas.OnMapChanged.Connect([this] { ++Changes; }));
        Heard.push_back(Canvas.OnPatternPicked.Connect([this] { ++Picks; }));
        Canvas.LoadMap(Map.get());
        Changes = 0;
        Canvas.SetMode(TKelEditMode::Lower);
    }
    // The client pixel at the centre of a cell.
    TPoint At(int column, int row) const {
        const TPoint origin = Canvas.CellOrigin(TPoint{column, row});
        return TPoint{origin.X + Canvas.CellSize() / 2, origin.Y + Canvas.CellSize() / 2};
    }
    // The client pixel of a grid point.
    TPoint Grid(int column, int row) const { return Canvas.CellOrigin(TPoint{column, row}); }
    void Press(TPoint p, TCanvasButton button = TCanvasButton::Left, TKelEditKeys keys = {}) {
        Canvas.MouseDown(button, p.X, p.Y, keys);
    }
    void Move(TPoint p, TKelEditKeys keys = {}) { Canvas.MouseMove(p.X, p.Y, keys); }
    void Release(TPoint p, TCanvasButton button = TCanvasButton::Left, TKelEditKeys keys = {}) {
        Canvas.MouseUp(button, p.X, p.Y, keys);
    }
    void Drag(TPoint from, TPoint to, TCanvasButton button = TCanvasButton::Left) {
        Press(from, button);
        Move(to);
        Release(to, button);
    }
    // Selects the cells between two corners with the select tool.
    void Select(int c1, int r1, int c2, int r2) {
        Canvas.SetTool(TKelEditTool::Select);
        Drag(Grid(c1, r1), Grid(c2 + 1, r2 + 1));
    }
    std::int32_t Lower(int x, int y) const { return Map->LowerLayer.Cell(x, y); }
    std::int32_t Upper(int x, int y) const { return Map->UpperLayer.Cell(x, y); }
    // Gives every cell a distinct plain lower tile and every other cell an upper tile.
    void Paint() {
        for (int y = 0; y < Map->Height(); ++y)
            for (int x = 0; x < Map->Width(); ++x) {
                Map->LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(5000 + (x + y * 7) % 144));
                Map->UpperLayer.SetCell(x, y, static_cast<std::uint16_t>((x + y) % 2 ? 10001 + x % 100 : 10000));
            }
    }
    std::vector<std::uint16_t> LowerCells() const { return Map->LowerLayer.Cells(); }
    std::vector<std::uint16_t> UpperCells() const { return Map->UpperLayer.Cells(); }
};

}  // namespace

// --- coordinates and scrolling ---

TEST(MapCanvasCoordinatesTest, CellsAndGridPointsUnderPixelsWithCentringAndScroll) {
    // 10 x 5 cells at 32 pixels in a 640 x 480 client: the 320 x 160 view is centred.
    TCanvasFixture f(10, 5);
    EXPECT_EQ(f.Canvas.ViewRect(), MakeBounds(160, 160, 320, 160));
    EXPECT_EQ(f.Canvas.CellAt(160, 160), (TPoint{0, 0}));
    EXPECT_EQ(f.Canvas.CellAt(159, 159), (TPoint{-1, -1}));  // floor division left of the view
    EXPECT_EQ(f.Canvas.CellAt(160 + 63, 160 + 32), (TPoint{1, 1}));
    EXPECT_EQ(f.Canvas.GridPointAt(160 + 15, 160 + 16), (TPoint{0, 1}));
    EXPECT_EQ(f.Canvas.GridPointAt(160 - 17, 160), (TPoint{-1, 0}));
    EXPECT_EQ(f.Canvas.MaxOffsetX(), 0);

    // A large map scrolls; offsets are clamped to the map.
    TCanvasFixture big(100, 100, 640, 480);
    EXPECT_EQ(big.Canvas.MaxOffsetX(), 3200 - 640);
    EXPECT_EQ(big.Canvas.MaxOffsetY(), 3200 - 480);
    big.Canvas.ScrollTo(-50, 1 << 30);
    EXPECT_EQ(big.Canvas.OffsetX(), 0);
    EXPECT_EQ(big.Canvas.OffsetY(), 3200 - 480);
    big.Canvas.ScrollTo(100, 40);
    EXPECT_EQ(big.Canvas.CellAt(0, 0), (TPoint{3, 1}));
    EXPECT_EQ(big.Canvas.CellOrigin(TPoint{3, 1}), (TPoint{-4, -8}));
}

TEST(MapCanvasCoordinatesTest, StoredScrollPositionIsReadOnLoadAndWrittenWhenTheUserScrolls) {
    TCanvasFixture f(100, 100, 640, 480);
    TKelMapTreeItem& item = *f.Tree.FindByID(1);
    item.ScrollX = 1000;
    item.ScrollY = 500;
    f.Canvas.LoadMap(f.Map.get());
    EXPECT_EQ(f.Canvas.OffsetX(), 1000);
    EXPECT_EQ(f.Canvas.OffsetY(), 500);

    // At 1/1 the stored position is the offset itself.
    f.Canvas.ScrollBy(-40, 8);
    EXPECT_EQ(item.ScrollX, 960);
    EXPECT_EQ(item.ScrollY, 508);

    // At 1/2 the view keeps its centre, and scrolling adds the change at full scale.
    f.Canvas.SetCellSize(16);
    EXPECT_EQ(f.Canvas.OffsetX(), 16 * (960 + 320) / 32 - 320);
    EXPECT_EQ(f.Canvas.OffsetY(), 16 * (508 + 240) / 32 - 240);
    f.Canvas.ScrollBy(10, -3);
    EXPECT_EQ(item.ScrollX, 980);
    EXPECT_EQ(item.ScrollY, 502);

    // Loading at 1/2 places the view from the stored position.
    f.Canvas.LoadMap(f.Map.get());
    EXPECT_EQ(f.Canvas.OffsetX(), (320 + 980) * 16 / 32 - 320);

    // A resize clamps but writes nothing back.
    f.Canvas.SetClientSize(1600, 1600);
    EXPECT_EQ(f.Canvas.OffsetX(), 0);
    EXPECT_EQ(item.ScrollX, 980);

    // KeepScroll keeps the offsets for one load only.
    f.Canvas.SetClientSize(640, 480);
    f.Canvas.ScrollTo(200, 200);
    f.Canvas.KeepScroll = true;
    item.ScrollX = 0;
    f.Canvas.LoadMap(f.Map.get());
    EXPECT_EQ(f.Canvas.OffsetX(), 200);
    EXPECT_FALSE(f.Canvas.KeepScroll);
}

TEST(MapCanvasCoordinatesTest, ExtremeStoredPositionsAndAreasNeverOverflow) {
    TCanvasFixture f(999, 999, 800, 600);
    TKelMapTreeItem& item = *f.Tree.FindByID(1);
    item.ScrollX = std::numeric_limits<std::int32_t>::max();
    item.ScrollY = std::numeric_limits<std::int32_t>::min();
    f.Canvas.LoadMap(f.Map.get());
    EXPECT_EQ(f.Canvas.OffsetX(), f.Canvas.MaxOffsetX());
    EXPECT_EQ(f.Canvas.OffsetY(), 0);
    f.Canvas.SetCellSize(4);
    EXPECT_EQ(f.Canvas.OffsetX(), f.Canvas.MaxOffsetX());
    // Scrolling by the largest step at 1/8 saturates the stored position instead of wrapping.
    f.Canvas.ScrollTo(0, f.Canvas.MaxOffsetY());
    EXPECT_EQ(item.ScrollY, std::numeric_limits<std::int32_t>::min() + f.Canvas.MaxOffsetY() * 8);
    f.Canvas.ScrollTo(f.Canvas.MaxOffsetX(), 0);
    f.Canvas.ScrollTo(0, 0);
    EXPECT_LE(item.ScrollX, std::numeric_limits<std::int32_t>::max());

    // An area rectangle from a file with extreme corners draws without harm.
    item.AreaRect = TKelAreaRect{std::numeric_limits<std::int32_t>::min(), -5, std::numeric_limits<std::int32_t>::max(), 7};
    TOrlenBoard board;
    board.SetSize(f.Canvas.ViewWidth(), f.Canvas.ViewHeight());
    f.Canvas.PaintView(board, MakeBounds(0, 0, board.Width(), board.Height()));
    // The frame's bottom edge (cell row 7 at 1/8 = pixel 28) is drawn in the area colour.
    EXPECT_EQ(board.ScanLine(27)[100], 0xFFF0);
}

TEST(MapCanvasCoordinatesTest, ZoomToolKeepsThePointUnderTheMouse) {
    TCanvasFixture f(100, 100, 640, 480);
    f.Canvas.SetCellSize(8);
    f.Canvas.ScrollTo(64, 40);
    f.Canvas.SetTool(TKelEditTool::Zoom);
    int zoomed = 0;
    const TConnection heard = f.Canvas.OnZoomChanged.Connect([&](int size) { zoomed = size; });
    // Full-scale point under (200, 100): ((200 + 64) x 4, (100 + 40) x 4) = (1056, 560).
    f.Press(TPoint{200, 100});
    EXPECT_EQ(f.Canvas.CellSize(), 16);
    EXPECT_EQ(zoomed, 16);
    EXPECT_EQ((200 + f.Canvas.OffsetX()) * 2, 1056);
    EXPECT_EQ((100 + f.Canvas.OffsetY()) * 2, 560);
    // The zoom tool's scroll is written back: 256 before, then (328 - 0) x 2 at 1/2.
    EXPECT_EQ(f.Tree.FindByID(1)->ScrollX, 256 + 328 * 2);
    f.Press(TPoint{200, 100}, TCanvasButton::Right);
    f.Press(TPoint{200, 100}, TCanvasButton::Right);
    EXPECT_EQ(f.Canvas.CellSize(), 4);
    f.Press(TPoint{200, 100}, TCanvasButton::Right);  // already the smallest
    EXPECT_EQ(f.Canvas.CellSize(), 4);
}

TEST(MapCanvasCoordinatesTest, LoopingMapsInvalidateTheWrappedCellsToo) {
    TCanvasFixture f(10, 10, 320, 320);
    f.Map->SetScrollType(TKelMap::stBothLoop);
    ASSERT_TRUE(f.Map->LowerLayer.LoopHorizontal);
    // A 3 x 3 block hanging over the left and top edges.
    const std::vector<TRect> rects = f.Canvas.InvalidRects(TRect{-1, -1, 2, 2});
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], MakeRect(0, 0, 64, 64));
    EXPECT_EQ(rects[1], MakeRect(288, 0, 320, 64));
    EXPECT_EQ(rects[2], MakeRect(0, 288, 64, 320));
    EXPECT_EQ(rects[3], MakeRect(288, 288, 320, 320));
    f.Map->SetScrollType(TKelMap::stNone);
    EXPECT_EQ(f.Canvas.InvalidRects(TRect{-1, -1, 2, 2}).size(), 1u);
}

TEST(MapCanvasCoordinatesTest, AutoScrollDuringADragFollowsTheEdgeAndCarriesTheDrag) {
    TCanvasFixture f(100, 100, 320, 240);
    f.Canvas.ScrollTo(320, 320);
    f.Canvas.SetTool(TKelEditTool::Select);
    // No drag: the timer does nothing.
    EXPECT_FALSE(f.Canvas.AutoScrollTick(2, 2, kNoKeys));
    f.Press(TPoint{100, 100});
    // 2 pixels from the left and top edges: 2 x EdgeScrollStep(14) = 14 pixels back each way.
    EXPECT_TRUE(f.Canvas.AutoScrollTick(2, 2, kNoKeys));
    EXPECT_EQ(f.Canvas.OffsetX(), 320 - 14);
    EXPECT_EQ(f.Canvas.OffsetY(), 320 - 14);
    // Beyond the right edge the step is capped at 2 x 20.
    EXPECT_TRUE(f.Canvas.AutoScrollTick(400, 200, kNoKeys));
    EXPECT_EQ(f.Canvas.OffsetX(), 320 - 14 + 40);
    EXPECT_EQ(f.Canvas.OffsetY(), 320 - 14);
    // The re-posted position extends the selection in map terms.
    f.Release(TPoint{400, 200});
    const TRect selection = f.Canvas.Selection();
    EXPECT_EQ(selection, MakeRect((100 + 320 + 16) / 32, (100 + 320 + 16) / 32, (400 + 346 + 16) / 32,
                                  (200 + 306 + 16) / 32));
    EXPECT_TRUE(f.Canvas.SelectionLifted());
}

TEST(MapCanvasCoordinatesTest, LoadingAMapDropsSelectionDragsAndUndo) {
    TCanvasFixture f;
    f.Paint();
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Drag(f.At(1, 1), f.At(1, 1));
    ASSERT_EQ(f.Canvas.UndoStore().Count(), 1);
    // A drag in progress when the map object is refilled is dropped, not undone into the new map.
    f.Press(f.At(3, 3));
    auto other = MakeMap(8, 6, 5003);
    f.Map->SetWidth(8);
    f.Map->SetHeight(6);
    f.Map->LowerLayer.Assign(other->LowerLayer);
    f.Canvas.LoadMap(f.Map.get());
    EXPECT_EQ(f.Canvas.Drag(), TCanvasDrag::None);
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 0);
    f.Release(f.At(3, 3));
    EXPECT_EQ(f.Lower(3, 3), 5003);
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 0);
    EXPECT_EQ(f.Canvas.BackupLower().Width(), 8);
    // A selection does not survive either.
    f.Select(0, 0, 1, 1);
    f.Canvas.LoadMap(f.Map.get());
    EXPECT_FALSE(f.Canvas.HasSelection());
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::Delete, kNoKeys));
}

// --- region selection ---

TEST(MapCanvasSelectionTest, ReleaseLiftsTheRegionAndMovingLeavesThePatternsFirstTile) {
    TCanvasFixture f;
    f.Paint();
    // The lower pattern is an autotile preview: the region beneath gets its shape-less tile.
    TKelCurrentChip grass;
    grass.SetSingle(4049);
    f.Canvas.SetPattern(TKelEditMode::Lower, grass);
    f.Canvas.SetMode(TKelEditMode::Upper);  // either layer mode uses the lower pattern
    f.Select(2, 2, 4, 3);
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(2, 2, 5, 4));
    EXPECT_TRUE(f.Canvas.SelectionLifted());
    EXPECT_EQ(f.Canvas.FloatLower().Cell(1, 1), f.Lower(3, 3));
    EXPECT_EQ(f.Canvas.BackupLower().Cell(3, 3), 4000);
    EXPECT_EQ(f.Canvas.BackupUpper().Cell(3, 3), 10000);
    EXPECT_EQ(f.Canvas.BackupLower().Cell(5, 3), f.Lower(5, 3));
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 0);  // lifting changes nothing yet

    const auto before = f.LowerCells();
    const auto upperBefore = f.UpperCells();
    // Move by (+3, +1) cells: press inside, drag, release.
    f.Press(f.At(3, 3));
    f.Move(f.At(6, 4));
    f.Release(f.At(6, 4));
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(5, 3, 8, 5));
    EXPECT_EQ(f.Lower(2, 2), 4000);
    EXPECT_EQ(f.Upper(2, 2), 10000);
    EXPECT_EQ(f.Lower(5, 3), before[2 + 2 * 20]);
    EXPECT_EQ(f.Upper(7, 4), upperBefore[4 + 3 * 20]);
    EXPECT_TRUE(f.Map->Modified);
    EXPECT_EQ(f.Changes, 1);
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 1);

    // A second move takes no further snapshot; one undo restores the state before the first.
    f.Drag(f.At(6, 4), f.At(6, 6));
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(5, 5, 8, 7));
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 1);
    EXPECT_TRUE(f.Canvas.Undo());
    EXPECT_EQ(f.LowerCells(), before);
    EXPECT_EQ(f.UpperCells(), upperBefore);
    EXPECT_FALSE(f.Canvas.HasSelection());
}

TEST(MapCanvasSelectionTest, MovesStepByWholeCellsAfterHalfACell) {
    TCanvasFixture f;
    f.Paint();
    f.Select(1, 1, 1, 1);
    const TPoint start = f.At(1, 1);
    f.Press(start);
    f.Move(TPoint{start.X + 16, start.Y});  // exactly half a cell: no step
    EXPECT_EQ(f.Canvas.Selection().Left, 1);
    f.Move(TPoint{start.X + 17, start.Y - 49});  // past half: one cell right, two up
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(2, -1, 3, 0));
    f.Move(TPoint{start.X + 17 + 16, start.Y - 49});  // relative to the new reference
    EXPECT_EQ(f.Canvas.Selection().Left, 2);
    f.Release(TPoint{start.X + 17 + 16, start.Y - 49});
    // Outside the map nothing was written, and the content comes back when it is moved in again.
    const std::int32_t content = f.Canvas.FloatLower().Cell(0, 0);
    EXPECT_EQ(f.Lower(1, 1), 0);  // left behind: the initial lower pattern (water preview 49) without shape
    f.Drag(f.At(2, -1), f.At(2, 1));
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(2, 1, 3, 2));
    EXPECT_EQ(f.Lower(2, 1), content);
}

TEST(MapCanvasSelectionTest, CancellingASecondMoveRestoresTheStateAfterTheFirst) {
    TCanvasFixture f;
    f.Paint();
    const auto original = f.LowerCells();
    f.Select(2, 2, 3, 3);
    f.Drag(f.At(2, 2), f.At(5, 2));  // first move
    const auto afterFirst = f.LowerCells();
    const auto upperAfterFirst = f.UpperCells();
    ASSERT_NE(afterFirst, original);
    const int snapshots = f.Canvas.UndoStore().Count();

    // Second move, cancelled with the right button while dragging.
    f.Press(f.At(5, 2));
    f.Move(f.At(9, 7));
    ASSERT_NE(f.LowerCells(), afterFirst);
    f.Press(f.At(9, 7), TCanvasButton::Right);
    EXPECT_EQ(f.Canvas.Drag(), TCanvasDrag::None);
    EXPECT_EQ(f.LowerCells(), afterFirst);
    EXPECT_EQ(f.UpperCells(), upperAfterFirst);
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(5, 2, 7, 4));
    EXPECT_EQ(f.Canvas.UndoStore().Count(), snapshots);
    // The release that follows changes nothing.
    f.Release(f.At(9, 7));
    EXPECT_EQ(f.LowerCells(), afterFirst);

    // The selection still moves from where it is.
    f.Drag(f.At(5, 2), f.At(5, 3));
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(5, 3, 7, 5));
    EXPECT_EQ(f.Lower(5, 3), afterFirst[5 + 2 * 20]);
}

TEST(MapCanvasSelectionTest, ClearSelectAllAndToolOrModeChanges) {
    TCanvasFixture f;
    f.Paint();
    TKelCurrentChip plain;
    plain.SetSingle(5010);
    f.Canvas.SetPattern(TKelEditMode::Lower, plain);
    f.Select(0, 0, 1, 0);
    ASSERT_TRUE(f.Canvas.KeyDown(TCanvasKey::Delete, kNoKeys));
    EXPECT_EQ(f.Lower(0, 0), 5010);
    EXPECT_EQ(f.Upper(1, 0), 10000);
    EXPECT_EQ(f.Lower(2, 0), 5002);
    EXPECT_FALSE(f.Canvas.HasSelection());
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 1);
    EXPECT_TRUE(f.Map->Modified);

    ASSERT_TRUE(f.Canvas.KeyDown(TCanvasKey::A, kCtrl));
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(0, 0, 20, 15));
    EXPECT_TRUE(f.Canvas.SelectionLifted());
    f.Canvas.SetMode(TKelEditMode::Upper);
    EXPECT_FALSE(f.Canvas.HasSelection());
    f.Canvas.KeyDown(TCanvasKey::A, kCtrl);
    f.Canvas.SetTool(TKelEditTool::Pen);
    EXPECT_FALSE(f.Canvas.HasSelection());
    // Other tools ignore the selection keys.
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::A, kCtrl));
    EXPECT_FALSE(f.Canvas.HasSelection());
}

TEST(MapCanvasSelectionTest, SetPatternPreparesTheRegionOfALiftedSelectionAgain) {
    TCanvasFixture f;
    f.Paint();
    f.Select(3, 3, 3, 3);
    EXPECT_EQ(f.Canvas.BackupLower().Cell(3, 3), 0);  // the initial pattern: water preview 49
    TKelCurrentChip sand;
    sand.SetSingle(4099);
    f.Canvas.SetPattern(TKelEditMode::Lower, sand);
    EXPECT_EQ(f.Canvas.BackupLower().Cell(3, 3), 4050);
    f.Drag(f.At(3, 3), f.At(4, 3));
    EXPECT_EQ(f.Lower(3, 3), 4050);
}

// --- clipboard ---

TEST(MapCanvasClipboardTest, CopyWritesTheBlockAndPasteCentresItOnTheView) {
    TCanvasFixture f;
    f.Paint();
    f.Select(1, 2, 2, 4);  // 2 x 3
    ASSERT_TRUE(f.Canvas.KeyDown(TCanvasKey::C, kCtrl));
    const std::optional<std::string> bytes = f.Clip.GetData(kMapCellClipboardFormat);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), (2u * 3u * 2u + 2u) * 2u);
    const auto u16 = [&](std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8);
    };
    EXPECT_EQ(u16(0), 2);
    EXPECT_EQ(u16(1), 3);
    // Column by column, (lower, upper) per cell: the third cell is column 0, row 2 = (1, 4).
    EXPECT_EQ(u16(2 + 2 * 2), f.Lower(1, 4));
    EXPECT_EQ(u16(2 + 2 * 2 + 1), f.Upper(1, 4));
    EXPECT_EQ(u16(2 + 3 * 2), f.Lower(2, 2));

    // Paste: centred on the 640 x 480 view at offset 0: (320 div 32) - 1 = 9, (240 div 32) - 1 = 6.
    const int snapshots = f.Canvas.UndoStore().Count();
    const std::int32_t copied = f.Lower(2, 3);
    ASSERT_TRUE(f.Canvas.KeyDown(TCanvasKey::V, kCtrl));
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(9, 6, 11, 9));
    EXPECT_FALSE(f.Canvas.SelectionLifted());
    EXPECT_EQ(f.Lower(10, 7), copied);
    EXPECT_EQ(f.Canvas.UndoStore().Count(), snapshots + 1);
    EXPECT_TRUE(f.Map->Modified);
    // The paste and the moves after it are one undo step.
    f.Drag(f.At(9, 6), f.At(12, 6));
    EXPECT_EQ(f.Canvas.UndoStore().Count(), snapshots + 1);
    EXPECT_EQ(f.Lower(13, 7), copied);
    EXPECT_NE(f.Lower(10, 7), copied);
    ASSERT_TRUE(f.Canvas.Undo());
    EXPECT_NE(f.Lower(13, 7), copied);

    // Cut = copy + clear.
    f.Select(0, 0, 0, 0);
    const std::int32_t cut = f.Lower(0, 0);
    ASSERT_TRUE(f.Canvas.KeyDown(TCanvasKey::X, kCtrl));
    EXPECT_NE(f.Lower(0, 0), cut);
    EXPECT_EQ(DecodeMapCellBlock(*f.Clip.GetData(kMapCellClipboardFormat))->Lower[0], cut);
}

TEST(MapCanvasClipboardTest, PasteIntoASmallMapKeepsOnlyThePartInside) {
    TCanvasFixture f(3, 3, 96, 96);
    TMapCellBlock block;
    block.Width = 5;
    block.Height = 5;
    for (int i = 0; i < 25; ++i) {
        block.Lower.push_back(static_cast<std::uint16_t>(5000 + i));
        block.Upper.push_back(static_cast<std::uint16_t>(10000 + i));
    }
    f.Clip.SetData(kMapCellClipboardFormat, EncodeMapCellBlock(block));
    f.Canvas.SetTool(TKelEditTool::Select);
    ASSERT_TRUE(f.Canvas.Paste());
    // Centre (1, 1) minus 2: the block starts at (-1, -1); map cell (0, 0) is block cell (1, 1).
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(-1, -1, 4, 4));
    EXPECT_EQ(f.Lower(0, 0), 5000 + 1 * 5 + 1);
    EXPECT_EQ(f.Upper(2, 1), 10000 + 3 * 5 + 2);
    EXPECT_EQ(f.Map->LowerLayer.Cells().size(), 9u);
}

TEST(MapCanvasClipboardTest, DamagedBlocksChangeNothing) {
    TCanvasFixture f;
    f.Paint();
    f.Canvas.SetTool(TKelEditTool::Select);
    f.Drag(f.At(1, 1), f.At(1, 1));  // a press and release without area selects nothing
    TMapCellBlock good;
    good.Width = 2;
    good.Height = 2;
    good.Lower.assign(4, 5001);
    good.Upper.assign(4, 10001);
    const std::string bytes = EncodeMapCellBlock(good);
    const std::string bad[] = {
        bytes.substr(0, bytes.size() - 1),      // one byte short
        bytes + std::string(4, '\0'),           // one cell too many
        std::string("\x00\x00\x02\x00", 4),     // width 0
        std::string("\x02\x00\x00\x00", 4) + std::string(4, '\0'),  // height 0
        std::string("\xff\xff\xff\xff", 4),     // a huge size with no cells behind it
        std::string("\x01", 1),
        std::string(),
    };
    const auto lower = f.LowerCells();
    for (const std::string& block : bad) {
        f.Clip.SetData(kMapCellClipboardFormat, block);
        EXPECT_FALSE(f.Canvas.Paste());
        EXPECT_EQ(f.LowerCells(), lower);
        EXPECT_EQ(f.Canvas.UndoStore().Count(), 0);
        EXPECT_FALSE(f.Canvas.HasSelection());
        EXPECT_FALSE(f.Map->Modified);
    }
    f.Clip.SetData(kMapCellClipboardFormat, bytes);
    EXPECT_TRUE(f.Canvas.Paste());
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 1);
}

// A well-formed block from another program with tiles the layers never hold: those cells get
// their layer's empty tile, and the user is told how many.
TEST(MapCanvasClipboardTest, ForeignTilesArePastedAsTheLayersEmptyTile) {
    TCanvasFixture f(3, 3, 96, 96);
    f.Canvas.SetTool(TKelEditTool::Select);
    std::vector<TPasteReport> told;
    f.Heard.push_back(f.Canvas.OnPasteChecked.Connect([&](const TPasteReport& r) { told.push_back(r); }));
    // Column by column: (0,0) (0,1) (0,2) (1,0) ...
    TMapCellBlock hostile{3, 3, {65535, 9999, 5001, 3150, 4001, 800, 5144, 2000, 3000},
                          {10144, 10005, 0, 65535, 10000, 10143, 20000, 10001, 5000}};
    f.Clip.SetData(kMapCellClipboardFormat, EncodeMapCellBlock(hostile));
    ASSERT_TRUE(f.Canvas.Paste());
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(0, 0, 3, 3));
    const std::int32_t lower[3][3] = {{0, 0, 0}, {0, 4001, 2000}, {5001, 0, 3000}};  // [row][column]
    const std::int32_t upper[3][3] = {{10000, 10000, 10000}, {10005, 10000, 10001}, {10000, 10143, 10000}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(f.Lower(column, row), lower[row][column]) << column << "," << row;
            EXPECT_EQ(f.Upper(column, row), upper[row][column]) << column << "," << row;
        }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].LowerTilesReplaced, 5);
    EXPECT_EQ(told[0].UpperTilesReplaced, 5);
    EXPECT_EQ(told[0], f.Canvas.LastPasteReport());
    // Undo brings back the map from before the paste.
    ASSERT_TRUE(f.Canvas.Undo());
    EXPECT_EQ(f.Lower(0, 0), 5000);

    // A block of the editor's own tiles pastes as it is, without a word.
    f.Clip.SetData(kMapCellClipboardFormat, EncodeMapCellBlock(TMapCellBlock{1, 1, {4599}, {10143}}));
    ASSERT_TRUE(f.Canvas.Paste());
    EXPECT_EQ(f.Lower(1, 1), 4599);
    EXPECT_EQ(told.size(), 1u);
    EXPECT_TRUE(f.Canvas.LastPasteReport().Empty());
}

// --- drawing tools, picking, keys during drags ---

TEST(MapCanvasToolsTest, PenDragCommitsOneUndoStepAndAnotherButtonCancels) {
    TCanvasFixture f;
    TKelCurrentChip tile;
    tile.SetSingle(5007);
    f.Canvas.SetPattern(TKelEditMode::Lower, tile);
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Press(f.At(1, 1));
    EXPECT_TRUE(f.Canvas.Drawing());
    f.Move(f.At(4, 1));
    f.Release(f.At(4, 1));
    for (int x = 1; x <= 4; ++x)
        EXPECT_EQ(f.Lower(x, 1), 5007);
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 1);
    EXPECT_EQ(f.Changes, 1);
    EXPECT_TRUE(f.Map->Modified);

    // A right press during a drag cancels it and restores the layers.
    f.Press(f.At(1, 5));
    f.Move(f.At(6, 5));
    ASSERT_EQ(f.Lower(6, 5), 5007);
    f.Press(f.At(6, 5), TCanvasButton::Right);
    EXPECT_EQ(f.Lower(6, 5), 5000);
    EXPECT_EQ(f.Lower(1, 5), 5000);
    f.Release(f.At(6, 5));
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 1);

    // Undo brings the stroke back and counts as a change to save.
    f.Map->Modified = false;
    EXPECT_TRUE(f.Canvas.KeyDown(TCanvasKey::Z, kCtrl));
    EXPECT_EQ(f.Lower(2, 1), 5000);
    EXPECT_TRUE(f.Map->Modified);
    EXPECT_FALSE(f.Canvas.Undo());

    // The upper mode dims nothing in the model but draws on the upper layer.
    f.Canvas.SetMode(TKelEditMode::Upper);
    f.Drag(f.At(2, 2), f.At(2, 2));
    EXPECT_EQ(f.Upper(2, 2), 10000);  // upper pattern starts as the empty upper tile
    EXPECT_EQ(f.Lower(2, 2), 5000);
}

TEST(MapCanvasToolsTest, KeysThatChangeTheMapAreIgnoredDuringADrag) {
    TCanvasFixture f;
    f.Paint();
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Drag(f.At(0, 0), f.At(0, 0));
    ASSERT_EQ(f.Canvas.UndoStore().Count(), 1);
    // Ctrl+Z during a pen drag.
    f.Press(f.At(5, 5));
    const auto during = f.LowerCells();
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::Z, kCtrl));
    EXPECT_EQ(f.LowerCells(), during);
    EXPECT_TRUE(f.Canvas.Drawing());
    f.Release(f.At(5, 5));
    EXPECT_EQ(f.Canvas.UndoStore().Count(), 2);

    // Del and Ctrl+V while moving a selection.
    f.Clip.SetData(kMapCellClipboardFormat, EncodeMapCellBlock(TMapCellBlock{1, 1, {5001}, {10001}}));
    f.Select(2, 2, 3, 3);
    f.Press(f.At(2, 2));
    f.Move(f.At(4, 2));
    const auto moving = f.LowerCells();
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::Delete, kNoKeys));
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::V, kCtrl));
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::Z, kCtrl));
    EXPECT_EQ(f.LowerCells(), moving);
    EXPECT_TRUE(f.Canvas.MovingSelection());
    EXPECT_EQ(f.Canvas.Selection(), MakeRect(4, 2, 6, 4));
    f.Release(f.At(4, 2));
}

TEST(MapCanvasToolsTest, PickingIsLimitedToSixBySixAndWaitsForTheDelay) {
    TCanvasFixture f;
    f.Paint();
    f.Map->LowerLayer.SetCell(3, 3, 4017);  // autotile in some shape: picked as its preview
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Press(f.At(3, 3), TCanvasButton::Right);
    EXPECT_TRUE(f.Canvas.Picking());
    EXPECT_TRUE(f.Canvas.PickDelayPending());
    f.Move(f.At(13, 13));  // before the delay: still 1 x 1
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(3, 3, 4, 4));
    f.Canvas.PickDelayExpired();
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(3, 3, 9, 9));
    EXPECT_EQ(f.Canvas.PatternOffset(), (TPoint{5, 5}));
    f.Release(f.At(13, 13), TCanvasButton::Right);
    EXPECT_EQ(f.Picks, 1);
    const TKelCurrentChip& pattern = f.Canvas.Patterns()[0];
    EXPECT_EQ(pattern.Width, 6);
    EXPECT_EQ(pattern.Height, 6);
    EXPECT_EQ(pattern.GetTile(0, 0), 4049);
    EXPECT_EQ(pattern.GetTile(1, 0), f.Lower(4, 3));

    // A left press while picking cancels and restores the offset.
    f.Press(f.At(8, 8), TCanvasButton::Right);
    f.Canvas.PickDelayExpired();
    f.Move(f.At(6, 6));
    EXPECT_EQ(f.Canvas.PatternOffset(), (TPoint{0, 0}));
    f.Press(f.At(6, 6));
    EXPECT_FALSE(f.Canvas.Picking());
    EXPECT_EQ(f.Canvas.PatternOffset(), (TPoint{5, 5}));
    EXPECT_EQ(f.Picks, 1);
}

TEST(MapCanvasToolsTest, RightDoubleClickTogglesTheLayerMode) {
    TCanvasFixture f;
    std::vector<TKelEditMode> toggles;
    const TConnection heard = f.Canvas.OnModeToggled.Connect([&](TKelEditMode mode) { toggles.push_back(mode); });
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Canvas.DoubleClick(TCanvasButton::Right, 10, 10, kNoKeys);
    EXPECT_EQ(f.Canvas.Mode(), TKelEditMode::Upper);
    f.Canvas.DoubleClick(TCanvasButton::Right, 10, 10, kNoKeys);
    EXPECT_EQ(f.Canvas.Mode(), TKelEditMode::Lower);
    EXPECT_EQ(toggles, (std::vector<TKelEditMode>{TKelEditMode::Upper, TKelEditMode::Lower}));
    // With the zoom tool a double click is a plain press.
    f.Canvas.SetTool(TKelEditTool::Zoom);
    f.Canvas.DoubleClick(TCanvasButton::Right, 10, 10, kNoKeys);
    EXPECT_EQ(f.Canvas.Mode(), TKelEditMode::Lower);
    EXPECT_EQ(f.Canvas.CellSize(), 16);
    // During a drag the second press only cancels it.
    f.Canvas.SetTool(TKelEditTool::Pen);
    f.Press(f.At(1, 1));
    f.Canvas.DoubleClick(TCanvasButton::Right, 10, 10, kNoKeys);
    EXPECT_FALSE(f.Canvas.Drawing());
    EXPECT_EQ(f.Canvas.Mode(), TKelEditMode::Lower);
}

// --- events ---

namespace {

// Counts commands and changes the map as a real manager would (a new event on the cell).
struct TRecordingManager : IMapEventManager {
    TKelMap* Map = nullptr;
    int NewGraphic = -1;
    void SetMap(TKelMapTree*, TKelMap* map) override { Map = map; }
    bool NewOrEditEvent(TPoint cell, int graphic) override {
        NewGraphic = graphic;
        TKelEventItem& event = Map->Events.Obtain(Map->Events.Count() + 1);
        event.X = cell.X;
        event.Y = cell.Y;
        return true;
    }
};

}  // namespace

TEST(MapCanvasEventsTest, DraggingEventsAndStartPositionsMarksTheMapModified) {
    TCanvasFixture f;
    TKelEventItem& event = f.Map->Events.Obtain(1);
    event.X = 2;
    event.Y = 2;
    TKelEventItem& other = f.Map->Events.Obtain(2);
    other.X = 6;
    other.Y = 2;
    f.Tree.StartPosition.PartyMapId = 1;
    f.Tree.StartPosition.PartyX = 4;
    f.Tree.StartPosition.PartyY = 4;
    f.Canvas.SetMode(TKelEditMode::Events);
    f.Canvas.RebuildEventMap();

    // Onto another event: nothing.
    f.Drag(f.At(2, 2), f.At(6, 2));
    EXPECT_EQ(event.X, 2);
    EXPECT_FALSE(f.Map->Modified);
    EXPECT_EQ(f.Changes, 0);

    // Onto an empty cell: moved, cursor follows, modified, notified.
    f.Press(f.At(2, 2));
    f.Move(f.At(3, 5));
    EXPECT_EQ(f.Canvas.EventTarget(), (TPoint{3, 5}));
    f.Release(f.At(3, 5));
    EXPECT_EQ(event.X, 3);
    EXPECT_EQ(event.Y, 5);
    EXPECT_EQ(f.Canvas.EventMap().GetAt(3, 5), 1);
    EXPECT_EQ(f.Canvas.EventMap().GetAt(2, 2), 0);
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(3, 5, 4, 6));
    EXPECT_TRUE(f.Map->Modified);
    EXPECT_EQ(f.Changes, 1);

    // The party's start position: the tree is marked for saving too.
    f.Map->Modified = false;
    f.Drag(f.At(4, 4), f.At(0, 0));
    EXPECT_EQ(f.Tree.StartPosition.PartyX, 0);
    EXPECT_EQ(f.Tree.StartPosition.PartyY, 0);
    EXPECT_EQ(f.Canvas.EventMap().GetAt(0, 0), kEventCodeParty);
    EXPECT_TRUE(f.Map->Modified);
    EXPECT_TRUE(f.Tree.IsModified());

    // A right press during the drag cancels it.
    f.Press(f.At(0, 0));
    f.Move(f.At(9, 9));
    f.Press(f.At(9, 9), TCanvasButton::Right);
    f.Release(f.At(9, 9));
    EXPECT_EQ(f.Tree.StartPosition.PartyX, 0);
}

TEST(MapCanvasEventsTest, CommandsGoThroughTheManagerAndTheStubRefusesThem) {
    TCanvasFixture f;
    f.Canvas.SetMode(TKelEditMode::Events);
    f.Press(f.At(3, 3), TCanvasButton::Right);
    const TEventMenuState empty = f.Canvas.EventMenuState();
    EXPECT_TRUE(empty.NewVisible);
    EXPECT_FALSE(empty.EditVisible);
    EXPECT_FALSE(empty.Paste);
    EXPECT_FALSE(empty.Move);  // the ready-made teleport is not offered by the stub
    EXPECT_TRUE(empty.SetParty);
    // The stub refuses: nothing is marked, nothing notified.
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::Enter, kNoKeys));
    EXPECT_FALSE(f.Canvas.SetPartyStart());
    EXPECT_FALSE(f.Map->Modified);
    EXPECT_EQ(f.Changes, 0);

    TRecordingManager manager;
    f.Canvas.SetEventManager(&manager);
    TKelCurrentChip chip;
    chip.SetSingle(10007);
    f.Canvas.SetPattern(TKelEditMode::Events, chip);
    f.Canvas.DoubleClick(TCanvasButton::Left, f.At(5, 6).X, f.At(5, 6).Y, kNoKeys);
    EXPECT_EQ(manager.NewGraphic, 7);
    EXPECT_EQ(f.Canvas.EventMap().GetAt(5, 6), 1);
    EXPECT_TRUE(f.Map->Modified);
    EXPECT_EQ(f.Changes, 1);
    const TEventMenuState occupied = f.Canvas.EventMenuState();
    EXPECT_TRUE(occupied.EditVisible && occupied.Edit && occupied.Delete);
    EXPECT_FALSE(occupied.NewVisible || occupied.SetParty);
}

TEST(MapCanvasEventsTest, ArrowKeysMoveTheCursorInsideTheMapAndScrollItIntoView) {
    TCanvasFixture f(100, 100, 320, 320);
    f.Canvas.SetMode(TKelEditMode::Events);
    f.Press(f.At(9, 0));
    ASSERT_EQ(f.Canvas.Cursor(), MakeRect(9, 0, 10, 1));
    EXPECT_TRUE(f.Canvas.KeyDown(TCanvasKey::Up, kNoKeys));  // would leave the map
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(9, 0, 10, 1));
    f.Canvas.KeyDown(TCanvasKey::Right, kNoKeys);
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(10, 0, 11, 1));
    EXPECT_EQ(f.Canvas.OffsetX(), 10 * 32 + 32 - 320);
    EXPECT_EQ(f.Tree.FindByID(1)->ScrollX, 32);
    f.Canvas.ScrollTo(1000, 0);
    f.Canvas.KeyDown(TCanvasKey::Left, kNoKeys);
    EXPECT_EQ(f.Canvas.OffsetX(), 9 * 32);
}

TEST(MapCanvasEventsTest, TheKeyboardFindsACursorAndTheMenusWithoutTheMouse) {
    TCanvasFixture f(100, 100, 320, 320);
    f.Canvas.SetMode(TKelEditMode::Events);
    f.Canvas.ScrollTo(40, 70);  // cell (2, 3) is the first one wholly in view
    ASSERT_FALSE(f.Canvas.CursorVisible());
    EXPECT_FALSE(f.Canvas.KeyDown(TCanvasKey::Enter, kNoKeys));  // no cursor, nothing to edit
    EXPECT_TRUE(f.Canvas.KeyDown(TCanvasKey::Down, kNoKeys));
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(2, 3, 3, 4));
    EXPECT_EQ(f.Canvas.CursorCell(), (TPoint{2, 3}));
    f.Canvas.KeyDown(TCanvasKey::Down, kNoKeys);
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(2, 4, 3, 5));

    // The menu key opens the event menu below the cursor cell.
    TPoint at{-1, -1};
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::Event);
    EXPECT_EQ(at, f.Canvas.CellOrigin(TPoint{2, 5}));
    // With no cursor yet it puts one on the first cell in view first.
    f.Canvas.SetMode(TKelEditMode::Lower);
    f.Canvas.SetMode(TKelEditMode::Events);
    ASSERT_FALSE(f.Canvas.CursorVisible());
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::Event);
    EXPECT_EQ(f.Canvas.Cursor(), MakeRect(2, 3, 3, 4));
    // A cursor scrolled out of view still opens its menu inside the view.
    f.Canvas.ScrollTo(3000, 3000);
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::Event);
    const TRect view = f.Canvas.ViewRect();
    EXPECT_TRUE(at.X >= view.Left && at.X < view.Right && at.Y >= view.Top && at.Y < view.Bottom);

    // Layer modes: the chip menu with the select tool (below the selection), nothing with a
    // drawing tool or during a drag.
    f.Canvas.ScrollTo(0, 0);
    f.Canvas.SetMode(TKelEditMode::Lower);
    f.Canvas.SetTool(TKelEditTool::Pen);
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::None);
    f.Select(1, 1, 3, 2);
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::MapChip);
    EXPECT_EQ(at, f.Canvas.CellOrigin(TPoint{1, 3}));
    f.Canvas.ClearSelection();
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::MapChip);
    EXPECT_EQ(at, (TPoint{view.Left, view.Top}));
    f.Press(f.At(5, 5));  // starts a new selection drag
    EXPECT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::None);
}

TEST(MapCanvasMenuCellTest, ThePressedCellOrTheCellOfTheKeyMenu) {
    TCanvasFixture f(100, 100, 320, 320);
    f.Canvas.ScrollTo(40, 70);  // the view's top-left pixel lies in cell (1, 2)
    f.Canvas.SetMode(TKelEditMode::Events);
    const TPoint none{-1, -1};
    // A right press: the cell under it.
    EXPECT_EQ(CanvasMenuCell(f.Canvas, TCanvasPopup::Event, f.At(6, 7)), (TPoint{6, 7}));
    EXPECT_EQ(CanvasMenuCell(f.Canvas, TCanvasPopup::None, f.At(6, 7)), none);
    // The menu key in event mode: the cursor's cell.
    f.Press(f.At(4, 5), TCanvasButton::Right);
    TPoint at;
    ASSERT_EQ(f.Canvas.MenuKey(at), TCanvasPopup::Event);
    EXPECT_EQ(CanvasMenuCell(f.Canvas, TCanvasPopup::Event, std::nullopt), (TPoint{4, 5}));
    // With the select tool: the selection's top-left cell, else the view's top-left cell.
    f.Canvas.SetMode(TKelEditMode::Lower);
    f.Select(7, 8, 9, 9);
    EXPECT_EQ(CanvasMenuCell(f.Canvas, TCanvasPopup::MapChip, std::nullopt), (TPoint{7, 8}));
    f.Canvas.ClearSelection();
    EXPECT_EQ(CanvasMenuCell(f.Canvas, TCanvasPopup::MapChip, std::nullopt), (TPoint{1, 2}));

    // A small map centred in the client: a press beside it has no cell.
    TCanvasFixture small(10, 5);  // the view is (160, 160) .. (480, 320)
    EXPECT_EQ(CanvasMenuCell(small.Canvas, TCanvasPopup::MapChip, TPoint{100, 100}), none);
    EXPECT_EQ(CanvasMenuCell(small.Canvas, TCanvasPopup::MapChip, TPoint{480, 200}), none);
    EXPECT_EQ(CanvasMenuCell(small.Canvas, TCanvasPopup::MapChip, TPoint{160 + 33, 160}), (TPoint{1, 0}));
}

// --- hostile input sequences ---

TEST(MapCanvasRobustnessTest, RandomInputKeepsLayersViewAndEventsSound) {
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        TCanvasFixture f(7, 5, 100, 90);
        f.Map->SetScrollType(static_cast<std::uint8_t>(seed % 4));
        for (int i = 1; i <= 4; ++i) {
            TKelEventItem& event = f.Map->Events.Obtain(i);
            event.X = static_cast<std::int32_t>(random() % 7);
            event.Y = static_cast<std::int32_t>(random() % 5);
        }
        f.Tree.StartPosition.BoatMapId = 1;
        f.Tree.StartPosition.BoatX = 6;
        f.Canvas.RebuildEventMap();
        const auto pixel = [&] { return static_cast<int>(random() % 400) - 150; };
        const auto button = [&] { return static_cast<TCanvasButton>(random() % 3); };
        const auto keys = [&] { return TKelEditKeys{random() % 2 == 0, random() % 2 == 0}; };
        for (int step = 0; step < 400; ++step) {
            switch (random() % 16) {
            case 0: f.Canvas.SetMode(static_cast<TKelEditMode>(random() % 3)); break;
            case 1: f.Canvas.SetTool(static_cast<TKelEditTool>(random() % 6)); break;
            case 2:
            case 3: f.Canvas.MouseDown(button(), pixel(), pixel(), keys()); break;
            case 4:
            case 5:
            case 6: f.Canvas.MouseMove(pixel(), pixel(), keys()); break;
            case 7:
            case 8: f.Canvas.MouseUp(button(), pixel(), pixel(), keys()); break;
            case 9: f.Canvas.DoubleClick(button(), pixel(), pixel(), keys()); break;
            case 10: f.Canvas.KeyDown(static_cast<TCanvasKey>(random() % 11), keys()); break;
            case 11: f.Canvas.PickDelayExpired(); break;
            case 12: f.Canvas.AutoScrollTick(pixel(), pixel(), keys()); break;
            case 13: {
                TMapCellBlock block;
                block.Width = static_cast<std::int32_t>(1 + random() % 9);
                block.Height = static_cast<std::int32_t>(1 + random() % 9);
                for (int n = 0; n < block.Width * block.Height; ++n) {
                    block.Lower.push_back(static_cast<std::uint16_t>(random() % 5144));
                    block.Upper.push_back(static_cast<std::uint16_t>(10000 + random() % 144));
                }
                f.Clip.SetData(kMapCellClipboardFormat, EncodeMapCellBlock(block));
                break;
            }
            case 14: f.Canvas.SetCellSize(4 << (random() % 4)); break;
            default: f.Canvas.SetClientSize(static_cast<int>(random() % 300), static_cast<int>(random() % 300)); break;
            }
            ASSERT_EQ(f.Map->LowerLayer.Cells().size(), 35u);
            for (std::uint16_t id : f.Map->LowerLayer.Cells())
                ASSERT_LT(id, 10000) << "seed " << seed << " step " << step;
            for (std::uint16_t id : f.Map->UpperLayer.Cells())
                ASSERT_TRUE(id >= 10000 && id < 10144) << "seed " << seed << " step " << step;
            ASSERT_LE(f.Canvas.UndoStore().Count(), 3);
            ASSERT_GE(f.Canvas.OffsetX(), 0);
            ASSERT_LE(f.Canvas.OffsetX(), f.Canvas.MaxOffsetX());
            ASSERT_LE(f.Canvas.OffsetY(), f.Canvas.MaxOffsetY());
            for (int i = 0; i < f.Map->Events.Count(); ++i) {
                const TKelEventItem* event = f.Map->Events.Items(i);
                ASSERT_TRUE(event->X >= 0 && event->X < 7 && event->Y >= 0 && event->Y < 5);
            }
            ASSERT_TRUE(f.Tree.StartPosition.BoatX >= 0 && f.Tree.StartPosition.BoatX < 7);
        }
    }
}
