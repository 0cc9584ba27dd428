// The map view without a window: which part of the open map a view of a given client size shows
// at one of four zooms, the conversions between client pixels, cells and grid points, the stored
// scroll position of the map tree item, and the picture of any part of the view drawn cell by
// cell onto a board (the same routine for the canvas and for `quillon-cli render --as-canvas`).
//
// All coordinates are computed in 64 bits; values read from files (stored scroll positions,
// area rectangles) are clamped before they reach a formula.
#pragma once

#include "platform/Signal.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/EventMap.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"
#include "mapedit/MapEditUtils.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

class TKelChipSetGraphic;
class TKelCharSetGraphic;

// How the canvas shows a map: the plain viewer (mode None), or the editor in a mode with a tool.
struct TMapCanvasLook {
    TKelEditMode Mode = TKelEditMode::None;
    TKelEditTool Tool = TKelEditTool::Select;
};

// What a canvas picture is drawn from (none owned; any may be missing).
struct TMapCanvasSources {
    const TKelMap* Map = nullptr;
    const TKelMapTree* MapTree = nullptr;    // the current item's area is framed
    TKelChipSetGraphic* Chips = nullptr;
    TKelEventMap* Events = nullptr;
    TOrlenSheet* Panorama = nullptr;         // drawn behind the tiles when it fits the map
};

// The drawing tools that dim a layer: pen, rectangle, ellipse and fill.
constexpr bool IsDrawingTool(TKelEditTool tool) { return tool >= TKelEditTool::Pen && tool <= TKelEditTool::Fill; }

// Cell colours of the canvas (5-6-5).
inline constexpr std::uint16_t kCanvasBackground = 0x0000;
// Cursor frame colours by mode, and the target frame of an event drag (RGB).
inline constexpr std::uint32_t kCursorColorLower = 0x80FF80;
inline constexpr std::uint32_t kCursorColorUpper = 0x80C0FF;
inline constexpr std::uint32_t kCursorColorEvents = 0xFFFF80;
inline constexpr std::uint32_t kEventTargetColor = 0xA0A0A0;
// The cursor frame colour (RGB) of a mode.
std::uint32_t CursorColorOf(TKelEditMode mode);

// Draws the canvas picture of the cells that meet rect (board pixels); cell (c, r) lies at
// (c x cellSize - offsetX, r x cellSize - offsetY). Each cell is drawn whole: black, the panorama
// (when enabled, unpanned and exactly 16 pixels per cell), the lower tile (dimmed in upper mode
// with a drawing tool), the upper tile (dimmed at opacity 160 in lower mode with a drawing tool),
// in event mode a black grid line at its right and bottom, then the event mark (faint outside
// event mode). Afterwards the current item's area is framed. Cells outside the map are left
// alone. The chipset graphic's sheets are left transparent at opacity 255.
void DrawMapCanvas(TOrlenBoard& board, const TRect& rect, std::int64_t offsetX, std::int64_t offsetY, int cellSize,
                   const TMapCanvasSources& sources, const TMapCanvasLook& look);
// Frames an area (cells, right and bottom exclusive) on the board: 1 pixel RGB(255, 255, 128),
// inside it 1 pixel RGB(32, 32, 32), and 3 pixels further in the same pair. An empty area
// draws nothing.
void DrawAreaFrame(TOrlenBoard& board, const TKelAreaRect& area, std::int64_t offsetX, std::int64_t offsetY,
                   int cellSize);

// The view of a map in a client area.
class TKelMapViewModel {
public:
    static constexpr int kFullCellSize = 32;

    TKelMapViewModel();
    TKelMapViewModel(const TKelMapViewModel&) = delete;
    TKelMapViewModel& operator=(const TKelMapViewModel&) = delete;
    virtual ~TKelMapViewModel();

    // --- what is shown ---

    // The project's map tree (not owned; may be none). Its current item keeps the stored scroll
    // position and the area to frame.
    void SetMapTree(TKelMapTree* tree) { mMapTree = tree; }
    TKelMapTree* MapTree() const { return mMapTree; }
    TKelMap* Map() const { return mMap; }
    // The chipset graphic and character-set cache of the open map (not owned).
    void SetGraphics(TKelChipSetGraphic* chips, TKelCharSetGraphic* charSets);
    TKelChipSetGraphic* Chips() const { return mChips; }
    // Finds the panorama image; without one there is no panorama.
    void SetImageFinder(TImageFinder find) { mFind = std::move(find); }

    // Shows another map (or none): places the view at the stored scroll position (unless
    // KeepScroll is set, which keeps the current offsets), rebuilds the event map, loads the
    // panorama, asks for a full redraw.
    virtual void LoadMap(TKelMap* map);
    // Set by the owner for one LoadMap: keep the current scroll offsets.
    bool KeepScroll = false;

    // The event map of the open map, and rebuilding it after events or start positions changed.
    TKelEventMap& EventMap() { return mEventMap; }
    const TKelEventMap& EventMap() const { return mEventMap; }
    void RebuildEventMap();
    TOrlenSheet& PanoramaSheet() { return mPanorama; }
    void LoadPanorama();

    // --- geometry ---

    int CellSize() const { return mCellSize; }
    // 32, 16, 8 or 4 (others are ignored). Keeps the centre of the view on the same full-scale
    // point, writes the stored position, notifies OnZoomChanged when it changed.
    void SetCellSize(int size);
    // The client area's size. Clamps the offsets; writes nothing back.
    void SetClientSize(int width, int height);
    int ClientWidth() const { return mClientWidth; }
    int ClientHeight() const { return mClientHeight; }
    // The map at the cell size, limited to the client; centred in the client when smaller.
    int ViewWidth() const;
    int ViewHeight() const;
    int ViewLeft() const { return (mClientWidth - ViewWidth()) / 2; }
    int ViewTop() const { return (mClientHeight - ViewHeight()) / 2; }
    TRect ViewRect() const { return MakeBounds(ViewLeft(), ViewTop(), ViewWidth(), ViewHeight()); }
    // The pixel offset of the view at the cell size, 0 .. map size x cell size - view size.
    std::int64_t OffsetX() const { return mOffsetX; }
    std::int64_t OffsetY() const { return mOffsetY; }
    std::int64_t MaxOffsetX() const;
    std::int64_t MaxOffsetY() const;
    // Map size in pixels at the cell size.
    std::int64_t MapPixelWidth() const;
    std::int64_t MapPixelHeight() const;

    // The user moves the view (scroll bars, wheel, auto-scroll, keys, zoom tool): clamped, and the
    // stored position of the current item grows by the change at full scale (at cell size 32 it
    // is the offset itself). Returns whether the offset changed.
    bool ScrollTo(std::int64_t x, std::int64_t y);
    bool ScrollBy(std::int64_t dx, std::int64_t dy) { return ScrollTo(mOffsetX + dx, mOffsetY + dy); }

    // Client pixel -> the cell under it / the nearest grid point (floor division; may lie
    // outside the map).
    TPoint CellAt(int x, int y) const;
    TPoint GridPointAt(int x, int y) const;
    // The client pixel of a cell's top-left corner (clamped into int).
    TPoint CellOrigin(TPoint cell) const;
    bool CellInMap(TPoint cell) const;
    // The client rectangle of cells (right and bottom exclusive), unclipped (clamped into int).
    TRect ClientRectOfCells(const TRect& cells) const;
    // The client rectangles to refresh after the cells changed: the cells' square, and on a
    // looping map the same shifted by the map's width and/or height where they leave the map.
    std::vector<TRect> InvalidRects(const TRect& cells) const;

    // --- picture ---

    // Draws the cells meeting rect (board pixels) with the board showing the view at the given
    // offsets (board pixel (0, 0) = view pixel (0, 0)), as DrawMapCanvas does with this view's
    // look.
    void PaintView(TOrlenBoard& board, const TRect& rect, std::int64_t offsetX, std::int64_t offsetY);
    void PaintView(TOrlenBoard& board, const TRect& rect) { PaintView(board, rect, mOffsetX, mOffsetY); }
    // How the cells look: the plain viewer here, the editor's mode and tool in the editor.
    virtual TMapCanvasLook Look() const { return {}; }

    // --- notifications ---

    TSignal<int> OnZoomChanged;
    // Everything must be drawn again (map, mode, tool or look changed).
    TSignal<> OnRedrawAll;
    // These cells (map coordinates, right and bottom exclusive) must be drawn again.
    TSignal<const TRect&> OnRedrawCells;
    // The view's offset changed and nothing else: a window that keeps its last picture moves it
    // and draws only what came into view. Without a handler a scroll asks for a full redraw.
    TSignal<> OnScrolled;

protected:
    void RedrawAll() const;
    void RedrawCells(const TRect& cells) const;
    // The current tree item (null without tree or item).
    TKelMapTreeItem* CurrentItem() const;
    // Sets the offsets without writing anything back (clamped).
    void PlaceView(std::int64_t x, std::int64_t y);

    TKelMap* mMap = nullptr;

private:
    TKelMapTree* mMapTree = nullptr;
    TKelChipSetGraphic* mChips = nullptr;
    TKelCharSetGraphic* mCharSets = nullptr;
    TImageFinder mFind;
    TKelEventMap mEventMap;
    TOrlenSheet mPanorama;
    int mCellSize = kFullCellSize;
    int mClientWidth = 0;
    int mClientHeight = 0;
    std::int64_t mOffsetX = 0;
    std::int64_t mOffsetY = 0;
};

}  // namespace quillon
