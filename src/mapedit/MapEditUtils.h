// The editing model under the map canvas: conversions between tile IDs and chipset entries, the
// shape tables of water tiles and autotiles, the picked tile pattern, the undo store of layer
// snapshots, the grid of events and start positions, and the map edit model that writes cells
// and resolves the shapes of water tiles and autotiles from their neighbours.
#pragma once

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/EventMap.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/OrlenSheet.h"
#include "graphics/StartPos.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

class TKelChipSetGraphic;
class TKelCharSetGraphic;

// --- tile IDs and chipset entries ---


// --- neighbour masks and shapes ---

// One bit per neighbour of a cell; a set bit means that neighbour does not join the cell.
enum : std::uint8_t {
    nbTopLeft = 1,
    nbTopRight = 2,
    nbBottomRight = 4,
    nbBottomLeft = 8,
    nbLeft = 16,
    nbTop = 32,
    nbRight = 64,
    nbBottom = 128,
};

// Column and row offsets of the neighbour behind each bit, bit 0 first.
inline constexpr std::array<TPoint, 8> kNeighbourOffsets = {{
    {-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, 0}, {0, -1}, {1, 0}, {0, 1},
}};

// The shape of a cell whose neighbours join as the mask says: the open sides choose the base
// shape; each inner corner (both sides next to it joined, its diagonal not) adds a weight.
constexpr std::uint8_t ShapeOfMask(std::uint8_t mask) {
    const bool left = mask & nbLeft, top = mask & nbTop, right = mask & nbRight, bottom = mask & nbBottom;
    const bool tl = mask & nbTopLeft, tr = mask & nbTopRight, br = mask & nbBottomRight, bl = mask & nbBottomLeft;
    const int open = (left ? 1 : 0) | (top ? 2 : 0) | (right ? 4 : 0) | (bottom ? 8 : 0);
    switch (open) {
    case 0: return static_cast<std::uint8_t>((tl ? 1 : 0) + (tr ? 2 : 0) + (br ? 4 : 0) + (bl ? 8 : 0));
    case 1: return static_cast<std::uint8_t>(16 + (tr ? 1 : 0) + (br ? 2 : 0));                // left
    case 2: return static_cast<std::uint8_t>(20 + (br ? 1 : 0) + (bl ? 2 : 0));                // top
    case 4: return static_cast<std::uint8_t>(24 + (bl ? 1 : 0) + (tl ? 2 : 0));                // right
    case 8: return static_cast<std::uint8_t>(28 + (tl ? 1 : 0) + (tr ? 2 : 0));                // bottom
    case 1 | 4: return 32;
    case 2 | 8: return 33;
    case 1 | 2: return static_cast<std::uint8_t>(34 + (br ? 1 : 0));
    case 2 | 4: return static_cast<std::uint8_t>(36 + (bl ? 1 : 0));
    case 4 | 8: return static_cast<std::uint8_t>(38 + (tl ? 1 : 0));
    case 1 | 8: return static_cast<std::uint8_t>(40 + (tr ? 1 : 0));
    case 1 | 2 | 4: return 42;
    case 1 | 2 | 8: return 43;
    case 1 | 4 | 8: return 44;
    case 2 | 4 | 8: return 45;
    default: return 46;
    }
}

constexpr std::array<std::uint8_t, 256> BuildMaskToShapeTable() {
    std::array<std::uint8_t, 256> table{};
    for (int mask = 0; mask < 256; ++mask)
        table[static_cast<std::size_t>(mask)] = ShapeOfMask(static_cast<std::uint8_t>(mask));
    return table;
}

inline constexpr std::array<std::uint8_t, 256> kMaskToShape = BuildMaskToShapeTable();

// The mask each shape is made from, with every diagonal bit that touches an open side set.
// Shapes 47 and 48 (drawn like 0) and 49 (the palette preview) have mask 0.
inline constexpr std::array<std::uint8_t, 50> kShapeToMask = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  25,
    27,  29,  31,  35,  39,  43,  47,  70,  78,  71,  79,  140, 141, 142, 143, 95,  175,
    59,  63,  103, 111, 206, 207, 157, 159, 127, 191, 223, 239, 255, 0,   0,   0,
};

constexpr int MaskToShape(int mask) { return kMaskToShape[static_cast<std::size_t>(mask & 255)]; }
constexpr int ShapeToMask(int shape) {
    return shape >= 0 && shape < 50 ? kShapeToMask[static_cast<std::size_t>(shape)] : 0;
}

// The shape a palette preview cell carries; it is written as shape 0.
inline constexpr int kPreviewShape = 49;

// --- picked pattern ---

// A tile pattern of at most 6 x 6 cells picked from the chip palette or from the map. Tiles are
// stored column by column: entry (column, row) at column x 6 + row.
class TKelCurrentChip {
public:
    static constexpr int kMaxSize = 6;

    std::array<std::uint16_t, kMaxSize * kMaxSize> Tiles{};
    std::int32_t Width = 1;
    std::int32_t Height = 1;

    // Cells outside the 6 x 6 store read 0 and are not written.
    std::uint16_t GetTile(int column, int row) const;
    void SetTile(int column, int row, std::uint16_t id);
    // A 1 x 1 pattern of one tile.
    void SetSingle(std::uint16_t id);
    // The tile for a map cell when the pattern repeats from anchor in both directions.
    std::uint16_t TileAt(TPoint cell, TPoint anchor) const;
};

// --- undo store ---

// Three snapshots of both layers; the oldest is overwritten. There is no redo.
class TKelMapEditUndoManager {
public:
    static constexpr int kSlots = 3;

    TKelMapEditUndoManager();

    int Position() const { return mPosition; }  // the slot the next snapshot goes to
    int Count() const { return mCount; }        // snapshots available
    // Forgets every snapshot (another map was loaded).
    void Clear() { mCount = 0; }

    // Resizes the six layers.
    void SetSize(std::int32_t width, std::int32_t height);
    // Records the map's current layers.
    void PushMap(const TKelMap& map);
    // Records the given layers (copies taken when a drag began), sized as the map.
    void PushLayers(const TKelMap& map, const TKelMapLayer& lower, const TKelMapLayer& upper);
    // Brings back the latest snapshot cell by cell; false when there is none.
    bool Undo(TKelMap& map);

    const TKelMapLayer& Lower(int slot) const { return mLower[static_cast<std::size_t>(slot)]; }
    const TKelMapLayer& Upper(int slot) const { return mUpper[static_cast<std::size_t>(slot)]; }

private:
    void Advance();

    std::array<TKelMapLayer, kSlots> mLower;
    std::array<TKelMapLayer, kSlots> mUpper;
    int mPosition = 0;
    int mCount = 0;
};

// --- the edit model ---

// The keyboard state of the mouse event that started an edit.
struct TKelEditKeys {
    bool Shift = false;  // write tiles as they are, without resolving shapes
    bool Ctrl = false;   // the map's edge counts as a border
};

// The autotile link of a chipset entry: the entry whose tiles the entry's autotile joins, or -1.
// The chipset graphic answers it from its image.
using TKelAutotileLinks = std::function<std::int32_t(std::int32_t chip)>;

// Called for every cell that was written and should be drawn again.
using TKelRedrawCell = std::function<void(std::int32_t column, std::int32_t row)>;

// None: before the first mode is chosen (nothing is edited).
enum class TKelEditMode : int { Lower = 0, Upper = 1, Events = 2, None = 3 };
enum class TKelEditTool : int { Select = 0, Zoom = 1, Pen = 2, Rectangle = 3, Ellipse = 4, Fill = 5 };

// Writes the layers of one open map as the drawing tools do: one cell at a time with shape
// resolution, and whole pen strokes, rectangles, ellipses and fills, each of which ends with one
// undo snapshot of the state before it.
class TKelMapEditModel {
public:
    TKelMapEditModel();
    TKelMapEditModel(const TKelMapEditModel&) = delete;
    TKelMapEditModel& operator=(const TKelMapEditModel&) = delete;

    // The map to edit (not owned; may be none). Sizes the backups, the undo store (emptied) and
    // the shape mask to it.
    void LoadMap(TKelMap* map);
    TKelMap* Map() const { return mMap; }

    // Lower or upper layer; events mode writes nothing.
    TKelEditMode Mode = TKelEditMode::Lower;
    // One pattern per mode; the current one is Patterns[Mode].
    std::array<TKelCurrentChip, 4> Patterns;
    // Which cell of the pattern lies under the mouse.
    TPoint PatternOffset;
    // Where pattern cell (0, 0) lies; the pattern repeats from there.
    TPoint PatternAnchor;
    TKelAutotileLinks Links;
    TKelRedrawCell OnRedrawCell;
    TKelMapEditUndoManager UndoStore;

    TKelCurrentChip& Pattern() { return Patterns[static_cast<std::size_t>(Mode)]; }
    const TKelCurrentChip& Pattern() const { return Patterns[static_cast<std::size_t>(Mode)]; }
    // The pattern tile for a map cell.
    std::uint16_t PatternTileAt(TPoint cell) const { return Pattern().TileAt(cell, PatternAnchor); }

    // Writes one cell of the edited layer. On a looping axis the coordinate is wrapped into the
    // map first; cells outside the map are left alone. In the lower layer, unless Shift is held
    // or resolve is off, a water tile or autotile takes its shape from its neighbours: the bits
    // of updateMask are computed anew, the others are kept from the shape ID carries. A cell
    // that already holds the resulting ID is neither written nor redrawn.
    void PutCell(std::int32_t column, std::int32_t row, bool redraw, bool resolve, std::uint8_t updateMask,
                 std::int32_t id, TKelEditKeys keys);
    // Writes the pattern tile of the cell with resolution, then (lower layer) lets the eight
    // neighbours recompute the bits that look at it.
    void PlaceTile(std::int32_t column, std::int32_t row, TKelEditKeys keys);
    // The ID PutCell writes into the lower layer at a cell (already wrapped into the map).
    std::int32_t ResolveTile(std::int32_t column, std::int32_t row, std::uint8_t updateMask, std::int32_t id,
                             TKelEditKeys keys) const;

    // --- drawing drags (what the canvas does between press and release) ---

    // Press: copies both layers as the drag's backups and makes the first change of the tool at
    // the mouse cell. The pen stamps the pattern with its anchor at cell - PatternOffset; the
    // rectangle and ellipse place the pattern tile at the cell; the fill fills the region.
    void BeginDrawing(TKelEditTool tool, TPoint cell, TKelEditKeys keys);
    // Mouse move during the drag: the pen stamps along the line from the previous position;
    // the rectangle and ellipse redraw their shape, restoring what the previous one changed.
    void DragTo(TPoint cell, TKelEditKeys keys);
    // Release: records the state before the drag as one undo snapshot and marks the map modified.
    void EndDrawing();
    // Another button pressed: both layers come back from the backups.
    void CancelDrawing();
    bool Drawing() const { return mDrawing; }

    // Whole operations: press, moves, release.
    void ApplyPenStroke(const std::vector<TPoint>& cells, TKelEditKeys keys);
    void ApplyRectangle(TPoint from, TPoint to, TKelEditKeys keys);
    void ApplyEllipse(TPoint from, TPoint to, TKelEditKeys keys);
    void ApplySeedFill(TPoint cell, TKelEditKeys keys);

    // Picks the current pattern from the edited layer: the cells between start and current, the
    // current cell kept inside the map and within 5 cells of start (at most 6 x 6). In the lower
    // layer, unless Shift is held, water tiles and autotiles become their block's preview tile.
    // PatternOffset becomes the picked cell under current. False (nothing picked) for an empty map
    // or the events mode.
    bool PickPattern(TPoint start, TPoint current, TKelEditKeys keys);

    // Brings back the latest snapshot; false when there is none or a drag is in progress.
    bool Undo();

    const TKelMapLayer& BackupLower() const { return mBackupLower; }
    const TKelMapLayer& BackupUpper() const { return mBackupUpper; }
    // One value per map cell (index column + row x Width): 0 outside the last shape or fill,
    // else 1 on its edge and 2 inside.
    const std::vector<std::uint8_t>& ShapeMask() const { return mShapeMask; }

private:
    TKelMapLayer* EditedLayer();
    const TKelMapLayer& ModeBackup() const;
    // Wraps a coordinate on the map's looping axes; false when it stays outside the map.
    bool WrapCell(std::int32_t& column, std::int32_t& row) const;
    std::int32_t LowerChipAt(std::int32_t column, std::int32_t row) const;
    std::int32_t LinkOf(std::int32_t chip) const;
    void Redraw(std::int32_t column, std::int32_t row) const;

    void StampPattern(TPoint cursor, TKelEditKeys keys);
    void StampLine(TPoint from, TPoint to, TKelEditKeys keys);
    // Draws the rectangle or ellipse between DragStart and cell into the shape mask.
    void RasteriseShape(TPoint cell);
    // Rasterises the fill region of the start cell into the shape mask.
    void RasteriseFill(TPoint cell);
    // Classifies the mask and writes the cells of area (map coordinates, wrapped).
    void ApplyMask(const TRect& area, bool restore, TKelEditKeys keys);

    TKelMap* mMap = nullptr;
    TKelMapLayer mBackupLower{kLowerFillValue};
    TKelMapLayer mBackupUpper{kUpperFillValue};
    std::vector<std::uint8_t> mShapeMask;
    bool mDrawing = false;
    TKelEditTool mTool = TKelEditTool::Pen;
    TPoint mDragStart;
    TPoint mLastCell;  // pen: the previous cursor; shapes: the previous mouse cell
};

// The cells of the straight line between two points in stamping order, both ends included, as
// the pen walks it; only the steps whose cell lies in clip (right and bottom exclusive) are
// reported, so far-off ends cost nothing.
void ForEachLineCell(TPoint from, TPoint to, const TRect& clip, const std::function<void(TPoint)>& visit);

// Whether cell (column, row) of the rectangle's grid lies in the filled ellipse inscribed in the
// rectangle of cells from left/top to right/bottom (inclusive). Rectangles 2 cells wide or high
// or less are filled whole.
bool EllipseCovers(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                   std::int64_t column, std::int64_t row);

}  // namespace quillon
