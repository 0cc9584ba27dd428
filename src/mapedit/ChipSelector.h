// The chip palette: every tile of the current chipset in a grid of six 32-pixel columns, one grid
// per editing mode with its own selection and scroll position. A rectangle of up to 6 x 6 tiles
// is picked with the left button; the owner copies it into the canvas's pattern. Mouse input
// arrives as plain calls with view positions, so the rules run without a window.
#pragma once

#include "platform/Signal.h"

#include "graphics/GraphicsTypes.h"
#include "graphics/OrlenSheet.h"

#include <array>
#include <cstdint>
#include <functional>

namespace quillon {

class TKelChipSetGraphic;
class TKelCurrentChip;

inline constexpr int kPaletteColumns = 6;
inline constexpr int kPaletteCellSize = 32;
inline constexpr int kPaletteLowerRows = 27;  // 18 blocks, then the 144 lower tiles
inline constexpr int kPaletteUpperRows = 24;  // the 144 upper tiles
inline constexpr int kPaletteBoardWidth = kPaletteColumns * kPaletteCellSize;  // 192
inline constexpr int kPaletteBoardHeight = 1536;
inline constexpr int kPaletteModes = 3;  // lower, upper, events
inline constexpr int kPaletteMaxSpan = 6;  // a selection covers at most 6 rows (and 6 columns)
inline constexpr int kPaletteDragDelayMs = 150;
inline constexpr int kPaletteAutoScrollMs = 40;
inline constexpr int kPaletteWheelStep = 16;  // pixels per wheel notch
inline constexpr int kWheelNotch = 120;

// Rows of a mode's grid (0 for a mode that has none).
int PaletteRows(int mode);
// The tile ID a palette cell stands for: upper and event modes 10000 + index; lower mode the water
// preview shapes 49, 1049, 2049, the animated tiles 3000, 3050, 3100, the autotile previews 4049 ..
// 4599 and the plain tiles 5000 .. 5143. -1 for a cell outside the mode's grid.
std::int32_t PaletteTile(int mode, int column, int row);
// The palette cell showing a tile ID, or (-1, -1): water and animated tiles whatever their shape,
// autotiles only in their preview shape 49.
TPoint PaletteCellOf(int mode, std::int32_t id);

// Draws every cell of a mode's grid into the board (sized 192 x 1536 first) with the opaque
// chipset sheet at animation counter 0; rows below the grid are left black.
void DrawPalette(TOrlenBoard& board, TKelChipSetGraphic& chips, int mode);

enum class TPaletteButton { Left, Right, Middle };

class TChipSelectorModel {
public:
    TChipSelectorModel();

    // A selection was finished (release of a drag, or a switch of mode): the owner copies the
    // selected tiles into the canvas's pattern.
    TSignal<> OnSelect;
    // Something shown changed (selection, highlight, scroll, mode, enabled state).
    TSignal<> OnChange;

    int Mode() const { return mMode; }
    int Rows() const { return PaletteRows(mMode); }
    // Switches to the mode's grid, selection and scroll position and notifies; modes outside
    // 0..2 are ignored. A drag in progress is cancelled.
    void SetMode(int mode);

    // Presses count only while a map with cells is open; without one the palette shows nothing.
    void SetMapOpen(bool open);
    bool MapOpen() const { return mMapOpen; }

    // The view's size in pixels; the scroll positions are clamped to it.
    void SetPageSize(int width, int height);
    int PageWidth() const { return mPageWidth; }
    int PageHeight() const { return mPageHeight; }
    int ContentWidth() const { return kPaletteBoardWidth; }
    int ContentHeight() const { return Rows() * kPaletteCellSize; }
    // Highest scroll positions of the current mode.
    int MaxScrollX() const;
    int MaxScrollY() const;
    // The current mode's scroll position in pixels.
    TPoint Scroll() const { return mScroll[static_cast<std::size_t>(mMode)]; }
    // Clamped; true when it moved.
    bool SetScroll(int x, int y);
    bool ScrollBy(int dx, int dy) { return SetScroll(Scroll().X + dx, Scroll().Y + dy); }

    // The current mode's selection in palette cells (right and bottom exclusive).
    TRect SelectedRect() const { return mSelection[static_cast<std::size_t>(mMode)]; }
    // The tile IDs of the selection copied into a pattern (size from the selection).
    void FillPattern(TKelCurrentChip& pattern) const;

    // The cell framed as the tile last picked from the map; an empty rectangle for none. Cells
    // outside the grid are cut off; a highlight is scrolled into view.
    void SetHighlight(const TRect& rect);
    void ClearHighlight() { SetHighlight(TRect{}); }
    TRect Highlight() const { return mHighlight; }

    // The palette cell under a view position: floor((position + scroll) / 32).
    TPoint CellAt(int x, int y) const;

    // --- mouse input (view positions) ---

    // captureElsewhere: another window holds the mouse. A left press on a cell of the grid starts
    // a drag with the 1 x 1 selection under the mouse; a press below the last row or beside the
    // columns is ignored. Another button (not the middle one) during a drag restores the old
    // selection. True when a drag started (the view captures the mouse and starts its timers).
    bool MousePress(TPaletteButton button, int x, int y, bool captureElsewhere = false);
    // Once the delay is over, a drag in lower or upper mode extends the selection to the cell
    // under the mouse, kept inside the grid and within 5 rows of the start.
    void MouseMove(int x, int y);
    // Left release ends the drag and notifies the owner.
    void MouseRelease(TPaletteButton button, int x, int y);
    // The 150 ms delay after a press is over.
    void DelayExpired();
    // One auto-scroll tick during a drag: the last mouse position is posted again, then the view
    // scrolls toward an edge the mouse is within 16 pixels of. True when it scrolled.
    bool AutoScrollTick();
    // Wheel delta (120 a notch, accumulated): 16 pixels a notch, not while something holds the
    // mouse. True when it scrolled.
    bool Wheel(int delta, bool captureElsewhere = false);

    bool Dragging() const { return mDragging; }
    bool DelayPassed() const { return mDelayPassed; }

private:
    void Changed() const;
    void Selected() const;
    // Cancels a drag, restoring the selection from before it.
    void CancelDrag();
    TRect& CurrentSelection() { return mSelection[static_cast<std::size_t>(mMode)]; }
    TPoint& CurrentScroll() { return mScroll[static_cast<std::size_t>(mMode)]; }

    int mMode = 0;
    bool mMapOpen = false;
    int mPageWidth = kPaletteBoardWidth;
    int mPageHeight = 0;
    std::array<TRect, kPaletteModes> mSelection{};
    std::array<TPoint, kPaletteModes> mScroll{};
    TRect mHighlight{};

    bool mDragging = false;
    bool mDelayPassed = false;
    TPoint mDragStart{};
    TRect mOldSelection{};
    TPoint mMouse{};
    int mWheelRest = 0;
};

}  // namespace quillon
