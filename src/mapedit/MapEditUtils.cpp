#include "mapedit/MapEditUtils.h"

#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

constexpr std::int32_t kMaxCellValue = std::numeric_limits<std::uint16_t>::max();

// (value mod size) made non-negative; size > 0.
std::int64_t PositiveMod(std::int64_t value, std::int64_t size) {
    const std::int64_t r = value % size;
    return r < 0 ? r + size : r;
}

std::size_t CellIndex(std::int32_t column, std::int32_t row, std::int32_t width) {
    return static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

// Copies the overlapping top-left part of one layer's cells into another's.
void CopyOverlap(const TKelMapLayer& from, TKelMapLayer& to) {
    const std::int32_t width = std::min(from.Width(), to.Width());
    const std::int32_t height = std::min(from.Height(), to.Height());
    if (width <= 0)
        return;
    const std::uint16_t* source = from.Cells().data();
    std::uint16_t* dest = to.CellData();
    for (std::int32_t row = 0; row < height; ++row)
        std::memcpy(dest + CellIndex(0, row, to.Width()), source + CellIndex(0, row, from.Width()),
                    static_cast<std::size_t>(width) * sizeof(std::uint16_t));
}

// The neighbours PlaceTile re-resolves, each with the bits that look at the placed cell plus the
// diagonals next to a side.
struct TNeighbourUpdate {
    int DX, DY;
    std::uint8_t Mask;
};
constexpr TNeighbourUpdate kNeighbourUpdates[8] = {
    {-1, -1, 4}, {0, -1, 140}, {1, -1, 8}, {-1, 0, 70}, {1, 0, 25}, {-1, 1, 2}, {0, 1, 35}, {1, 1, 1},
};

}  // namespace

// --- TKelCurrentChip ---

std::uint16_t TKelCurrentChip::GetTile(int column, int row) const {
    if (column < 0 || column >= kMaxSize || row < 0 || row >= kMaxSize)
        return 0;
    return Tiles[static_cast<std::size_t>(column * kMaxSize + row)];
}

void TKelCurrentChip::SetTile(int column, int row, std::uint16_t id) {
    if (column < 0 || column >= kMaxSize || row < 0 || row >= kMaxSize)
        return;
    Tiles[static_cast<std::size_t>(column * kMaxSize + row)] = id;
}

void TKelCurrentChip::SetSingle(std::uint16_t id) {
    Width = 1;
    Height = 1;
    SetTile(0, 0, id);
}

std::uint16_t TKelCurrentChip::TileAt(TPoint cell, TPoint anchor) const {
    const std::int64_t width = std::clamp(Width, 1, kMaxSize);
    const std::int64_t height = std::clamp(Height, 1, kMaxSize);
    const auto column = PositiveMod(static_cast<std::int64_t>(cell.X) - anchor.X, width);
    const auto row = PositiveMod(static_cast<std::int64_t>(cell.Y) - anchor.Y, height);
    return GetTile(static_cast<int>(column), static_cast<int>(row));
}

// --- TKelMapEditUndoManager ---

TKelMapEditUndoManager::TKelMapEditUndoManager()
    : mLower{TKelMapLayer{kLowerFillValue}, TKelMapLayer{kLowerFillValue}, TKelMapLayer{kLowerFillValue}},
      mUpper{TKelMapLayer{kUpperFillValue}, TKelMapLayer{kUpperFillValue}, TKelMapLayer{kUpperFillValue}} {}

void TKelMapEditUndoManager::SetSize(std::int32_t width, std::int32_t height) {
    for (int slot = 0; slot < kSlots; ++slot) {
        mLower[static_cast<std::size_t>(slot)].Resize(width, height);
        mUpper[static_cast<std::size_t>(slot)].Resize(width, height);
    }
}

void TKelMapEditUndoManager::Advance() {
    mPosition = (mPosition + 1) % kSlots;
    mCount = std::min(kSlots, mCount + 1);
}

void TKelMapEditUndoManager::PushMap(const TKelMap& map) {
    PushLayers(map, map.LowerLayer, map.UpperLayer);
}

void TKelMapEditUndoManager::PushLayers(const TKelMap& map, const TKelMapLayer& lower, const TKelMapLayer& upper) {
    TKelMapLayer& slotLower = mLower[static_cast<std::size_t>(mPosition)];
    TKelMapLayer& slotUpper = mUpper[static_cast<std::size_t>(mPosition)];
    slotLower.Assign(lower);
    slotUpper.Assign(upper);
    slotLower.Resize(map.Width(), map.Height());
    slotUpper.Resize(map.Width(), map.Height());
    Advance();
}

bool TKelMapEditUndoManager::Undo(TKelMap& map) {
    if (mCount == 0)
        return false;
    mPosition = (mPosition + kSlots - 1) % kSlots;
    --mCount;
    CopyOverlap(mLower[static_cast<std::size_t>(mPosition)], map.LowerLayer);
    CopyOverlap(mUpper[static_cast<std::size_t>(mPosition)], map.UpperLayer);
    return true;
}

// --- TKelMapEditModel: cells ---

TKelMapEditModel::TKelMapEditModel() = default;

void TKelMapEditModel::LoadMap(TKelMap* map) {
    mMap = map;
    mDrawing = false;
    const std::int32_t width = map ? map->Width() : 0;
    const std::int32_t height = map ? map->Height() : 0;
    mBackupLower.Resize(width, height);
    mBackupUpper.Resize(width, height);
    UndoStore.SetSize(width, height);
    UndoStore.Clear();
    mShapeMask.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

TKelMapLayer* TKelMapEditModel::EditedLayer() {
    if (!mMap)
        return nullptr;
    switch (Mode) {
    case TKelEditMode::Lower: return &mMap->LowerLayer;
    case TKelEditMode::Upper: return &mMap->UpperLayer;
    default: return nullptr;
    }
}

const TKelMapLayer& TKelMapEditModel::ModeBackup() const {
    return Mode == TKelEditMode::Upper ? mBackupUpper : mBackupLower;
}

bool TKelMapEditModel::WrapCell(std::int32_t& column, std::int32_t& row) const {
    const std::int32_t width = mMap->Width();
    const std::int32_t height = mMap->Height();
    if (mMap->LowerLayer.LoopHorizontal && width > 0 && (column < 0 || column >= width))
        column = static_cast<std::int32_t>(PositiveMod(column, width));
    if (mMap->LowerLayer.LoopVertical && height > 0 && (row < 0 || row >= height))
        row = static_cast<std::int32_t>(PositiveMod(row, height));
    return column >= 0 && column < width && row >= 0 && row < height;
}

std::int32_t TKelMapEditModel::LowerChipAt(std::int32_t column, std::int32_t row) const {
    return TileToChip(mMap->LowerLayer.Cell(column, row));
}

std::int32_t TKelMapEditModel::LinkOf(std::int32_t chip) const {
    return Links ? Links(chip) : -1;
}

void TKelMapEditModel::Redraw(std::int32_t column, std::int32_t row) const {
    if (OnRedrawCell)
        OnRedrawCell(column, row);
}

std::int32_t TKelMapEditModel::ResolveTile(std::int32_t column, std::int32_t row, std::uint8_t updateMask,
                                           std::int32_t id, TKelEditKeys keys) const {
    if (id < kTileLowerFirst && id % 50 == kPreviewShape)
        id -= kPreviewShape;
    if (keys.Shift || !mMap)
        return id;
    const std::int32_t own = TileToChip(id);
    const int defaultMask = id < kTileLowerFirst ? ShapeToMask(id % 50) : 0;
    std::array<std::int32_t, 8> chips{};
    const TKelMapLayer& lower = mMap->LowerLayer;
    if (column > 0 && row > 0 && column + 1 < lower.Width() && row + 1 < lower.Height()) {
        // All eight neighbours inside: read them straight from the cells.
        const std::uint16_t* cells = lower.Cells().data() + CellIndex(column, row, lower.Width());
        for (int bit = 0; bit < 8; ++bit) {
            const TPoint offset = kNeighbourOffsets[static_cast<std::size_t>(bit)];
            chips[static_cast<std::size_t>(bit)] = TileToChip(cells[static_cast<std::ptrdiff_t>(offset.Y) * lower.Width() + offset.X]);
        }
    } else {
        for (int bit = 0; bit < 8; ++bit) {
            const TPoint offset = kNeighbourOffsets[static_cast<std::size_t>(bit)];
            chips[static_cast<std::size_t>(bit)] = LowerChipAt(column + offset.X, row + offset.Y);
        }
    }
    int bits = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const std::int32_t n = chips[static_cast<std::size_t>(bit)];
        bool open;
        if (n == -1)
            open = keys.Ctrl;  // the map's edge: a border only with Ctrl
        else
            open = n != own && !(own < 6 && n < 6) && LinkOf(n) != own;
        if (open)
            bits |= 1 << bit;
    }
    const int mask = (bits & updateMask) | (defaultMask & ~updateMask & 255);
    id = ChipToTile(own);
    if (id < kTileLowerFirst)
        id += MaskToShape(mask);
    if (own <= 2) {
        // Corner pieces where shallow water meets deep water.
        std::array<bool, 8> counts{};
        for (int bit = 0; bit < 8; ++bit) {
            const std::int32_t n = chips[static_cast<std::size_t>(bit)];
            if (own == 2)
                counts[static_cast<std::size_t>(bit)] = n < 2;
            else if (bit >= 4)
                counts[static_cast<std::size_t>(bit)] = n == 2;
            else
                counts[static_cast<std::size_t>(bit)] = (mask & (1 << bit)) == 0;
        }
        const auto c = [&counts](int bit) { return counts[static_cast<std::size_t>(bit)]; };
        // Bits: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left, 4 left, 5 top, 6 right,
        // 7 bottom.
        int corner = 0;
        if (c(0) && c(5) && c(4))
            corner += 1;
        if (c(1) && c(5) && c(6))
            corner += 2;
        if (c(3) && c(7) && c(4))
            corner += 4;
        if (c(2) && c(7) && c(6))
            corner += 8;
        id += corner * 50;
    }
    return id;
}

void TKelMapEditModel::PutCell(std::int32_t column, std::int32_t row, bool redraw, bool resolve,
                               std::uint8_t updateMask, std::int32_t id, TKelEditKeys keys) {
    TKelMapLayer* layer = EditedLayer();
    if (!layer || id < 0 || id > kMaxCellValue || !WrapCell(column, row))
        return;
    if (Mode == TKelEditMode::Lower) {
        if (resolve)
            id = ResolveTile(column, row, updateMask, id, keys);
        else if (id < kTileLowerFirst && id % 50 == kPreviewShape)
            id -= kPreviewShape;
    }
    if (layer->Cell(column, row) == id)
        return;
    layer->SetCell(column, row, static_cast<std::uint16_t>(id));
    if (redraw)
        Redraw(column, row);
}

void TKelMapEditModel::PlaceTile(std::int32_t column, std::int32_t row, TKelEditKeys keys) {
    if (!EditedLayer())
        return;
    const std::uint16_t tile = PatternTileAt(TPoint{column, row});
    if (!WrapCell(column, row))
        return;
    PutCell(column, row, true, true, 255, tile, keys);
    if (Mode != TKelEditMode::Lower)
        return;
    for (const TNeighbourUpdate& update : kNeighbourUpdates) {
        const std::int32_t c = column + update.DX;
        const std::int32_t r = row + update.DY;
        const std::int32_t current = mMap->LowerLayer.Cell(c, r);
        if (current >= 0)
            PutCell(c, r, true, true, update.Mask, current, keys);
    }
}

bool TKelMapEditModel::PickPattern(TPoint start, TPoint current, TKelEditKeys keys) {
    const TKelMapLayer* layer = EditedLayer();
    if (!layer || mMap->Width() <= 0 || mMap->Height() <= 0)
        return false;
    constexpr int kReach = TKelCurrentChip::kMaxSize - 1;
    const auto clampAxis = [](std::int32_t value, std::int32_t from, std::int32_t size) {
        const std::int64_t low = std::max<std::int64_t>(0, static_cast<std::int64_t>(from) - kReach);
        const std::int64_t high = std::min<std::int64_t>(size - 1, static_cast<std::int64_t>(from) + kReach);
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
    };
    start.X = std::clamp(start.X, 0, mMap->Width() - 1);
    start.Y = std::clamp(start.Y, 0, mMap->Height() - 1);
    current.X = clampAxis(current.X, start.X, mMap->Width());
    current.Y = clampAxis(current.Y, start.Y, mMap->Height());
    const std::int32_t left = std::min(start.X, current.X), top = std::min(start.Y, current.Y);
    TKelCurrentChip& pattern = Pattern();
    pattern.Width = std::abs(current.X - start.X) + 1;
    pattern.Height = std::abs(current.Y - start.Y) + 1;
    const bool preview = Mode == TKelEditMode::Lower && !keys.Shift;
    for (int column = 0; column < pattern.Width; ++column) {
        for (int row = 0; row < pattern.Height; ++row) {
            std::int32_t id = layer->Cell(left + column, top + row);
            if (preview && id >= 0 && id < kTileLowerFirst)
                id = id < kTileAnimatedFirst ? WaterKind(id) * 1000 + kPreviewShape : id / 50 * 50 + kPreviewShape;
            pattern.SetTile(column, row, static_cast<std::uint16_t>(std::max(id, 0)));
        }
    }
    PatternOffset = TPoint{std::max(0, current.X - start.X), std::max(0, current.Y - start.Y)};
    return true;
}

bool TKelMapEditModel::Undo() {
    if (!mMap || mDrawing)
        return false;
    return UndoStore.Undo(*mMap);
}

// --- lines and ellipses ---

void ForEachLineCell(TPoint from, TPoint to, const TRect& clip, const std::function<void(TPoint)>& visit) {
    const std::int64_t dx = std::abs(static_cast<std::int64_t>(to.X) - from.X);
    const std::int64_t dy = std::abs(static_cast<std::int64_t>(to.Y) - from.Y);
    const int sx = to.X >= from.X ? 1 : -1;
    const int sy = to.Y >= from.Y ? 1 : -1;
    const bool xMajor = dx >= dy;
    const std::int64_t longer = xMajor ? dx : dy;
    const std::int64_t shorter = xMajor ? dy : dx;
    const std::int64_t half = longer / 2;
    // The error term starts at half the longer difference and loses the shorter one per step;
    // each time it goes negative the shorter axis advances. After i steps it has advanced
    // ceil((i x shorter - half) / longer) times (never below 0).
    const auto minorSteps = [&](std::int64_t i) -> std::int64_t {
        const std::int64_t num = i * shorter - half;
        return num <= 0 ? 0 : (num + longer - 1) / longer;
    };
    // Only the steps whose major coordinate lies in the clip can be visited.
    const std::int64_t majorFrom = xMajor ? from.X : from.Y;
    const int majorStep = xMajor ? sx : sy;
    const std::int64_t clipLow = xMajor ? clip.Left : clip.Top;
    const std::int64_t clipHigh = (xMajor ? clip.Right : clip.Bottom) - 1;
    std::int64_t first = 0, last = longer;
    if (majorStep > 0) {
        first = std::max<std::int64_t>(first, clipLow - majorFrom);
        last = std::min<std::int64_t>(last, clipHigh - majorFrom);
    } else {
        first = std::max<std::int64_t>(first, majorFrom - clipHigh);
        last = std::min<std::int64_t>(last, majorFrom - clipLow);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = majorFrom + majorStep * i;
        const std::int64_t minor = (xMajor ? from.Y : from.X) + (xMajor ? sy : sx) * minorSteps(i);
        const std::int64_t x = xMajor ? major : minor;
        const std::int64_t y = xMajor ? minor : major;
        if (x < clip.Left || x >= clip.Right || y < clip.Top || y >= clip.Bottom)
            continue;
        visit(TPoint{static_cast<int>(x), static_cast<int>(y)});
    }
}

bool EllipseCovers(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                   std::int64_t column, std::int64_t row) {
    if (column < left || column > right || row < top || row > bottom)
        return false;
    const double width = static_cast<double>(right - left + 1);
    const double height = static_cast<double>(bottom - top + 1);
    if (width <= 2 || height <= 2)
        return true;
    // Cell centres inside the ellipse that touches the rectangle's four sides.
    const double rx = width / 2, ry = height / 2;
    const double px = (static_cast<double>(column - left) + 0.5 - rx) / rx;
    const double py = (static_cast<double>(row - top) + 0.5 - ry) / ry;
    return px * px + py * py <= 1.0;
}

// --- drawing drags ---

void TKelMapEditModel::StampPattern(TPoint cursor, TKelEditKeys keys) {
    const TKelCurrentChip& pattern = Pattern();
    const int width = std::clamp(pattern.Width, 1, TKelCurrentChip::kMaxSize);
    const int height = std::clamp(pattern.Height, 1, TKelCurrentChip::kMaxSize);
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row) {
            const std::int64_t x = static_cast<std::int64_t>(cursor.X) + column;
            const std::int64_t y = static_cast<std::int64_t>(cursor.Y) + row;
            if (x < 0 || x >= mMap->Width() || y < 0 || y >= mMap->Height())
                continue;
            PlaceTile(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), keys);
        }
    }
}

void TKelMapEditModel::StampLine(TPoint from, TPoint to, TKelEditKeys keys) {
    // A stamp can reach the map from up to the pattern's size minus one cells before it.
    const TKelCurrentChip& pattern = Pattern();
    const int width = std::clamp(pattern.Width, 1, TKelCurrentChip::kMaxSize);
    const int height = std::clamp(pattern.Height, 1, TKelCurrentChip::kMaxSize);
    const TRect clip{1 - width, 1 - height, mMap->Width(), mMap->Height()};
    ForEachLineCell(from, to, clip, [&](TPoint cursor) { StampPattern(cursor, keys); });
}

void TKelMapEditModel::RasteriseShape(TPoint cell) {
    std::fill(mShapeMask.begin(), mShapeMask.end(), 0);
    const std::int64_t left = std::min(mDragStart.X, cell.X), right = std::max(mDragStart.X, cell.X);
    const std::int64_t top = std::min(mDragStart.Y, cell.Y), bottom = std::max(mDragStart.Y, cell.Y);
    const std::int32_t width = mMap->Width();
    const std::int64_t x0 = std::max<std::int64_t>(left, 0), x1 = std::min<std::int64_t>(right, width - 1);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0), y1 = std::min<std::int64_t>(bottom, mMap->Height() - 1);
    for (std::int64_t y = y0; y <= y1; ++y)
        for (std::int64_t x = x0; x <= x1; ++x)
            if (mTool == TKelEditTool::Rectangle || EllipseCovers(left, top, right, bottom, x, y))
                mShapeMask[CellIndex(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), width)] = 3;
}

void TKelMapEditModel::RasteriseFill(TPoint cell) {
    std::fill(mShapeMask.begin(), mShapeMask.end(), 0);
    const std::int32_t width = mMap->Width(), height = mMap->Height();
    if (cell.X < 0 || cell.X >= width || cell.Y < 0 || cell.Y >= height)
        return;
    const bool lower = Mode == TKelEditMode::Lower;
    const TKelMapLayer& backup = ModeBackup();
    const std::vector<std::uint16_t>& cells = backup.Cells();
    const auto valueOf = [&](std::size_t index) -> std::int32_t {
        return lower ? TileToChip(cells[index]) : cells[index];
    };
    const std::int32_t start = valueOf(CellIndex(cell.X, cell.Y, width));
    for (std::size_t i = 0; i < mShapeMask.size(); ++i)
        mShapeMask[i] = valueOf(i) == start ? 3 : 0;
    // 4-connected flood over the marked cells, not across the map's edges.
    constexpr std::uint8_t kReached = 255;
    std::vector<TPoint> stack{cell};
    mShapeMask[CellIndex(cell.X, cell.Y, width)] = kReached;
    while (!stack.empty()) {
        const TPoint p = stack.back();
        stack.pop_back();
        const TPoint next[4] = {{p.X - 1, p.Y}, {p.X + 1, p.Y}, {p.X, p.Y - 1}, {p.X, p.Y + 1}};
        for (const TPoint& q : next) {
            if (q.X < 0 || q.X >= width || q.Y < 0 || q.Y >= height)
                continue;
            std::uint8_t& mark = mShapeMask[CellIndex(q.X, q.Y, width)];
            if (mark != 3)
                continue;
            mark = kReached;
            stack.push_back(q);
        }
    }
    for (std::uint8_t& mark : mShapeMask)
        mark = mark == kReached ? 3 : 0;
}

void TKelMapEditModel::ApplyMask(const TRect& area, bool restore, TKelEditKeys keys) {
    const std::int32_t width = mMap->Width(), height = mMap->Height();
    if (width <= 0 || height <= 0)
        return;
    // Cells of the area wrap around the map; an area wider than the map plus its ring of
    // neighbours would only visit cells again.
    const std::int32_t left = std::max(area.Left, -1), right = std::min(area.Right, width + 1);
    const std::int32_t top = std::max(area.Top, -1), bottom = std::min(area.Bottom, height + 1);
    if (left >= right || top >= bottom)
        return;
    const auto wrapX = [width](std::int64_t x) {
        return static_cast<std::int32_t>(x >= 0 && x < width ? x : PositiveMod(x, width));
    };
    const auto wrapY = [height](std::int64_t y) {
        return static_cast<std::int32_t>(y >= 0 && y < height ? y : PositiveMod(y, height));
    };
    const auto maskAt = [&](std::int64_t x, std::int64_t y) -> std::uint8_t& {
        return mShapeMask[CellIndex(wrapX(x), wrapY(y), width)];
    };
    // 1. Edge (1) or inside (2): inside when all eight neighbours are part of the shape.
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            std::uint8_t& mark = maskAt(x, y);
            if (mark == 0)
                continue;
            bool inside = true;
            if (x > 0 && y > 0 && x + 1 < width && y + 1 < height) {
                const std::uint8_t* centre = &mark;
                for (const TPoint& offset : kNeighbourOffsets)
                    inside = inside && centre[static_cast<std::ptrdiff_t>(offset.Y) * width + offset.X] != 0;
            } else {
                for (const TPoint& offset : kNeighbourOffsets)
                    inside = inside && maskAt(static_cast<std::int64_t>(x) + offset.X, static_cast<std::int64_t>(y) + offset.Y) != 0;
            }
            mark = inside ? 2 : 1;
        }
    }
    // 2. Give the shape its terrain first, so its cells join each other while they resolve; give
    // cells outside it back their state from the drag's start.
    TKelMapLayer& layer = *EditedLayer();
    const TKelMapLayer& backup = ModeBackup();
    const bool lower = Mode == TKelEditMode::Lower;
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            const std::int32_t c = wrapX(x), r = wrapY(y);
            const std::uint8_t mark = mShapeMask[CellIndex(c, r, width)];
            if (mark != 0 && lower) {
                const std::int32_t chip = TileToChip(PatternTileAt(TPoint{c, r}));
                if (chip != TileToChip(layer.Cell(c, r))) {
                    std::int32_t base = ChipToTile(chip);
                    if (base < kTileLowerFirst)
                        base += 48;
                    layer.SetCell(c, r, static_cast<std::uint16_t>(base));
                    Redraw(c, r);
                }
            } else if (mark == 0 && restore) {
                const std::int32_t old = backup.Cell(c, r);
                if (old >= 0 && old != layer.Cell(c, r)) {
                    layer.SetCell(c, r, static_cast<std::uint16_t>(old));
                    Redraw(c, r);
                }
            }
        }
    }
    // 3. Resolve: edge cells with their neighbours, inside cells alone.
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            const std::int32_t c = wrapX(x), r = wrapY(y);
            const std::uint8_t mark = mShapeMask[CellIndex(c, r, width)];
            if (mark == 1)
                PlaceTile(c, r, keys);
            else if (mark == 2)
                PutCell(c, r, true, true, 255, PatternTileAt(TPoint{c, r}), keys);
        }
    }
}

void TKelMapEditModel::BeginDrawing(TKelEditTool tool, TPoint cell, TKelEditKeys keys) {
    if (!EditedLayer() || tool < TKelEditTool::Pen || tool > TKelEditTool::Fill)
        return;
    const std::size_t cellCount = static_cast<std::size_t>(mMap->Width()) * static_cast<std::size_t>(mMap->Height());
    if (mShapeMask.size() != cellCount)
        mShapeMask.assign(cellCount, 0);
    mBackupLower.Assign(mMap->LowerLayer);
    mBackupUpper.Assign(mMap->UpperLayer);
    mDrawing = true;
    mTool = tool;
    mDragStart = cell;
    PatternAnchor = TPoint{cell.X - PatternOffset.X, cell.Y - PatternOffset.Y};
    switch (tool) {
    case TKelEditTool::Pen:
        mLastCell = PatternAnchor;
        StampPattern(PatternAnchor, keys);
        break;
    case TKelEditTool::Rectangle:
    case TKelEditTool::Ellipse:
        mLastCell = cell;
        PlaceTile(cell.X, cell.Y, keys);
        break;
    default:
        RasteriseFill(cell);
        ApplyMask(TRect{0, 0, mMap->Width(), mMap->Height()}, false, keys);
        break;
    }
}

void TKelMapEditModel::DragTo(TPoint cell, TKelEditKeys keys) {
    if (!mDrawing || !EditedLayer())
        return;
    switch (mTool) {
    case TKelEditTool::Pen: {
        const TPoint cursor{cell.X - PatternOffset.X, cell.Y - PatternOffset.Y};
        StampLine(mLastCell, cursor, keys);
        mLastCell = cursor;
        break;
    }
    case TKelEditTool::Rectangle:
    case TKelEditTool::Ellipse: {
        RasteriseShape(cell);
        // The union of the new and the previous rectangle, grown by one cell.
        const auto lo = [](int a, int b, int c) { return std::min({a, b, c}); };
        const auto hi = [](int a, int b, int c) { return std::max({a, b, c}); };
        const std::int64_t left = static_cast<std::int64_t>(lo(mDragStart.X, cell.X, mLastCell.X)) - 1;
        const std::int64_t top = static_cast<std::int64_t>(lo(mDragStart.Y, cell.Y, mLastCell.Y)) - 1;
        const std::int64_t right = static_cast<std::int64_t>(hi(mDragStart.X, cell.X, mLastCell.X)) + 2;
        const std::int64_t bottom = static_cast<std::int64_t>(hi(mDragStart.Y, cell.Y, mLastCell.Y)) + 2;
        const auto clampInt = [](std::int64_t v) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                      std::numeric_limits<std::int32_t>::max()));
        };
        ApplyMask(TRect{clampInt(left), clampInt(top), clampInt(right), clampInt(bottom)}, true, keys);
        mLastCell = cell;
        break;
    }
    default:
        break;
    }
}

void TKelMapEditModel::EndDrawing() {
    if (!mDrawing)
        return;
    mDrawing = false;
    UndoStore.PushLayers(*mMap, mBackupLower, mBackupUpper);
    mMap->Modified = true;
}

void TKelMapEditModel::CancelDrawing() {
    if (!mDrawing)
        return;
    mDrawing = false;
    const auto restore = [this](const TKelMapLayer& backup, TKelMapLayer& layer) {
        for (std::int32_t row = 0; row < std::min(backup.Height(), layer.Height()); ++row)
            for (std::int32_t column = 0; column < std::min(backup.Width(), layer.Width()); ++column) {
                const std::int32_t old = backup.Cell(column, row);
                if (layer.Cell(column, row) == old)
                    continue;
                layer.SetCell(column, row, static_cast<std::uint16_t>(old));
                Redraw(column, row);
            }
    };
    restore(mBackupLower, mMap->LowerLayer);
    restore(mBackupUpper, mMap->UpperLayer);
}

void TKelMapEditModel::ApplyPenStroke(const std::vector<TPoint>& cells, TKelEditKeys keys) {
    if (cells.empty())
        return;
    BeginDrawing(TKelEditTool::Pen, cells.front(), keys);
    for (std::size_t i = 1; i < cells.size(); ++i)
        DragTo(cells[i], keys);
    EndDrawing();
}

void TKelMapEditModel::ApplyRectangle(TPoint from, TPoint to, TKelEditKeys keys) {
    BeginDrawing(TKelEditTool::Rectangle, from, keys);
    DragTo(to, keys);
    EndDrawing();
}

void TKelMapEditModel::ApplyEllipse(TPoint from, TPoint to, TKelEditKeys keys) {
    BeginDrawing(TKelEditTool::Ellipse, from, keys);
    DragTo(to, keys);
    EndDrawing();
}

void TKelMapEditModel::ApplySeedFill(TPoint cell, TKelEditKeys keys) {
    BeginDrawing(TKelEditTool::Fill, cell, keys);
    EndDrawing();
}

}  // namespace quillon
