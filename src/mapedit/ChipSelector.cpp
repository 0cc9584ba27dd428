#include "mapedit/ChipSelector.h"

#include "graphics/DrawUtils.h"
#include "graphics/GR_ChipSet.h"
#include "mapedit/MapEditUtils.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

constexpr int kModeLower = 0;

// Floor division for view positions left of or above the grid.
int FloorDiv(std::int64_t value, int divisor) {
    std::int64_t q = value / divisor;
    if (value % divisor != 0 && value < 0)
        --q;
    return static_cast<int>(std::clamp<std::int64_t>(q, INT32_MIN, INT32_MAX));
}

bool ValidMode(int mode) { return mode >= 0 && mode < kPaletteModes; }

}  // namespace

int PaletteRows(int mode) {
    if (mode == kModeLower)
        return kPaletteLowerRows;
    return ValidMode(mode) ? kPaletteUpperRows : 0;
}

std::int32_t PaletteTile(int mode, int column, int row) {
    if (column < 0 || column >= kPaletteColumns || row < 0 || row >= PaletteRows(mode))
        return -1;
    const std::int32_t a = column + row * kPaletteColumns;
    if (mode != kModeLower)
        return 10000 + a;
    if (a < 3)
        return a * 1000 + kPreviewShape;
    if (a < 6)
        return (a - 3) * 50 + 3000;
    if (a > 17)
        return a + 4982;
    return (a - 6) * 50 + 4000 + kPreviewShape;
}

TPoint PaletteCellOf(int mode, std::int32_t id) {
    constexpr TPoint kNone{-1, -1};
    if (!ValidMode(mode))
        return kNone;
    if (mode != kModeLower) {
        if (id < 10000 || id >= 10000 + kChipSetTiles)
            return kNone;
        return TPoint{(id - 10000) % kPaletteColumns, (id - 10000) / kPaletteColumns};
    }
    if (id < 0)
        return kNone;
    if (id < 3000)
        return TPoint{id / 1000, 0};
    if (id < 4000)
        return TPoint{(id - 3000) / 50 + 3, 0};
    if (id < 5000) {
        if (id % 50 != kPreviewShape)
            return kNone;
        const int e = (id - 4000) / 50 + 6;
        return TPoint{e % kPaletteColumns, e / kPaletteColumns};
    }
    if (id < 5000 + kChipSetTiles)
        return TPoint{(id - 4982) % kPaletteColumns, (id - 4982) / kPaletteColumns};
    return kNone;
}

void DrawPalette(TOrlenBoard& board, TKelChipSetGraphic& chips, int mode) {
    board.SetSize(kPaletteBoardWidth, kPaletteBoardHeight);  // cleared black
    const bool transparent = chips.Sheet().Transparent;
    chips.SetTransparent(false);
    const int rows = PaletteRows(mode);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < kPaletteColumns; ++column)
            chips.DrawTile(board, column * kPaletteCellSize, row * kPaletteCellSize, 0, PaletteTile(mode, column, row),
                           false, kPaletteCellSize);
    chips.SetTransparent(transparent);
}

TChipSelectorModel::TChipSelectorModel() {
    mSelection.fill(TRect{0, 0, 1, 1});
}

void TChipSelectorModel::Changed() const { OnChange(); }

void TChipSelectorModel::Selected() const { OnSelect(); }

void TChipSelectorModel::SetMode(int mode) {
    if (!ValidMode(mode))
        return;
    if (mDragging)
        CancelDrag();
    mMode = mode;
    mHighlight = TRect{};
    SetScroll(Scroll().X, Scroll().Y);  // the page may have changed while another mode was shown
    Changed();
    Selected();
}

void TChipSelectorModel::SetMapOpen(bool open) {
    if (open == mMapOpen)
        return;
    if (!open && mDragging)
        CancelDrag();
    mMapOpen = open;
    if (!open)
        mHighlight = TRect{};
    Changed();
}

void TChipSelectorModel::SetPageSize(int width, int height) {
    mPageWidth = std::max(0, width);
    mPageHeight = std::max(0, height);
    const TPoint scroll = Scroll();
    SetScroll(scroll.X, scroll.Y);
}

int TChipSelectorModel::MaxScrollX() const { return std::max(0, ContentWidth() - mPageWidth); }
int TChipSelectorModel::MaxScrollY() const { return std::max(0, ContentHeight() - mPageHeight); }

bool TChipSelectorModel::SetScroll(int x, int y) {
    const TPoint next{std::clamp(x, 0, MaxScrollX()), std::clamp(y, 0, MaxScrollY())};
    if (next == Scroll())
        return false;
    CurrentScroll() = next;
    Changed();
    return true;
}

void TChipSelectorModel::FillPattern(TKelCurrentChip& pattern) const {
    const TRect rect = SelectedRect();
    pattern.Width = std::clamp(rect.Width(), 1, TKelCurrentChip::kMaxSize);
    pattern.Height = std::clamp(rect.Height(), 1, TKelCurrentChip::kMaxSize);
    for (int column = 0; column < pattern.Width; ++column)
        for (int row = 0; row < pattern.Height; ++row) {
            const std::int32_t tile = PaletteTile(mMode, rect.Left + column, rect.Top + row);
            // The selection never leaves the grid; should it, the grid's first tile stands in.
            pattern.SetTile(column, row, static_cast<std::uint16_t>(tile >= 0 ? tile : PaletteTile(mMode, 0, 0)));
        }
}

void TChipSelectorModel::SetHighlight(const TRect& rect) {
    TRect cut{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, kPaletteColumns),
              std::min(rect.Bottom, Rows())};
    if (cut.Width() <= 0 || cut.Height() <= 0)
        cut = TRect{};
    if (cut == mHighlight)
        return;
    mHighlight = cut;
    if (cut.Width() > 0) {
        // Bring the highlighted cells into view.
        const TPoint scroll = Scroll();
        int y = scroll.Y;
        if (cut.Top * kPaletteCellSize < y)
            y = cut.Top * kPaletteCellSize;
        else if (cut.Bottom * kPaletteCellSize > y + mPageHeight)
            y = cut.Bottom * kPaletteCellSize - mPageHeight;
        SetScroll(scroll.X, y);
    }
    Changed();
}

TPoint TChipSelectorModel::CellAt(int x, int y) const {
    const TPoint scroll = Scroll();
    return TPoint{FloorDiv(static_cast<std::int64_t>(x) + scroll.X, kPaletteCellSize),
                  FloorDiv(static_cast<std::int64_t>(y) + scroll.Y, kPaletteCellSize)};
}

bool TChipSelectorModel::MousePress(TPaletteButton button, int x, int y, bool captureElsewhere) {
    if (mDragging) {
        if (button == TPaletteButton::Right)
            CancelDrag();
        return false;
    }
    if (button != TPaletteButton::Left || captureElsewhere || !mMapOpen)
        return false;
    const TPoint cell = CellAt(x, y);
    if (cell.X < 0 || cell.X >= kPaletteColumns || cell.Y < 0 || cell.Y >= Rows())
        return false;
    mOldSelection = SelectedRect();
    CurrentSelection() = TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1};
    mDragging = true;
    mDelayPassed = false;
    mDragStart = cell;
    mMouse = TPoint{x, y};
    Changed();
    return true;
}

void TChipSelectorModel::MouseMove(int x, int y) {
    if (!mDragging)
        return;
    mMouse = TPoint{x, y};
    if (!mDelayPassed || mMode == 2)
        return;
    TPoint cell = CellAt(x, y);
    cell.X = std::clamp(cell.X, 0, kPaletteColumns - 1);
    cell.Y = std::clamp(cell.Y, 0, Rows() - 1);
    cell.Y = std::clamp(cell.Y, mDragStart.Y - (kPaletteMaxSpan - 1), mDragStart.Y + (kPaletteMaxSpan - 1));
    const TRect next = RectFromCells(mDragStart, cell);
    if (next == SelectedRect())
        return;
    CurrentSelection() = next;
    Changed();
}

void TChipSelectorModel::MouseRelease(TPaletteButton button, int x, int y) {
    if (!mDragging || button != TPaletteButton::Left)
        return;
    MouseMove(x, y);
    mDragging = false;
    mDelayPassed = false;
    Changed();
    Selected();
}

void TChipSelectorModel::DelayExpired() {
    if (!mDragging || mDelayPassed)
        return;
    mDelayPassed = true;
    MouseMove(mMouse.X, mMouse.Y);
}

bool TChipSelectorModel::AutoScrollTick() {
    if (!mDragging)
        return false;
    MouseMove(mMouse.X, mMouse.Y);
    const int dx = EdgeScrollStep(mMouse.X - mPageWidth + 16) - EdgeScrollStep(16 - mMouse.X);
    const int dy = EdgeScrollStep(mMouse.Y - mPageHeight + 16) - EdgeScrollStep(16 - mMouse.Y);
    if ((dx == 0 && dy == 0) || !ScrollBy(dx, dy))
        return false;
    // The cell under the standing mouse changed with the scroll.
    MouseMove(mMouse.X, mMouse.Y);
    return true;
}

bool TChipSelectorModel::Wheel(int delta, bool captureElsewhere) {
    if (captureElsewhere || mDragging)
        return false;
    mWheelRest += delta;
    const int notches = mWheelRest / kWheelNotch;
    if (notches == 0)
        return false;
    mWheelRest -= notches * kWheelNotch;
    return ScrollBy(0, -notches * kPaletteWheelStep);
}

void TChipSelectorModel::CancelDrag() {
    mDragging = false;
    mDelayPassed = false;
    CurrentSelection() = mOldSelection;
    Changed();
}

}  // namespace quillon
