#include "mapedit/MapViewer.h"

#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"

#include <algorithm>
#include <limits>

namespace quillon {

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

int ClampInt(std::int64_t value) { return static_cast<int>(std::clamp(value, kIntMin, kIntMax)); }

// Floor division; b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

bool ValidCellSize(int size) { return size == 32 || size == 16 || size == 8 || size == 4; }

constexpr std::uint16_t Rgb565(std::uint32_t rgb) {
    return static_cast<std::uint16_t>((((rgb >> 16) & 0xFF) >> 3) << 11 | (((rgb >> 8) & 0xFF) >> 2) << 5 |
                                      ((rgb & 0xFF) >> 3));
}

// A 1-pixel outline of rect (board pixels, right and bottom exclusive), clipped to the board.
void FrameBoardRect(TOrlenBoard& board, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                    std::uint16_t color) {
    if (right <= left || bottom <= top)
        return;
    const auto fill = [&](std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
        l = std::max<std::int64_t>(l, 0);
        t = std::max<std::int64_t>(t, 0);
        r = std::min<std::int64_t>(r, board.Width());
        b = std::min<std::int64_t>(b, board.Height());
        if (l < r && t < b)
            FillBoardRect(board, TRect{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)},
                          color);
    };
    fill(left, top, right, top + 1);
    fill(left, bottom - 1, right, bottom);
    fill(left, top, left + 1, bottom);
    fill(right - 1, top, right, bottom);
}

// Sets a sheet's transparency and opacity for one drawing and restores them afterwards.
class TSheetLook {
public:
    TSheetLook(TOrlenSheet* sheet, bool transparent, int opacity) : mSheet(sheet) {
        if (!mSheet)
            return;
        mTransparent = mSheet->Transparent;
        mOpacity = mSheet->Opacity;
        mSheet->Transparent = transparent;
        mSheet->Opacity = opacity;
    }
    ~TSheetLook() {
        if (mSheet) {
            mSheet->Transparent = mTransparent;
            mSheet->Opacity = mOpacity;
        }
    }
    TSheetLook(const TSheetLook&) = delete;
    TSheetLook& operator=(const TSheetLook&) = delete;

private:
    TOrlenSheet* mSheet;
    bool mTransparent = false;
    int mOpacity = 255;
};

}  // namespace

std::uint32_t CursorColorOf(TKelEditMode mode) {
    switch (mode) {
    case TKelEditMode::Upper: return kCursorColorUpper;
    case TKelEditMode::Events: return kCursorColorEvents;
    default: return kCursorColorLower;
    }
}

void DrawAreaFrame(TOrlenBoard& board, const TKelAreaRect& area, std::int64_t offsetX, std::int64_t offsetY,
                   int cellSize) {
    // Areas come from files: any int32 corner, in any order.
    if (area.Right <= area.Left || area.Bottom <= area.Top || cellSize <= 0)
        return;
    const std::int64_t left = static_cast<std::int64_t>(area.Left) * cellSize - offsetX;
    const std::int64_t top = static_cast<std::int64_t>(area.Top) * cellSize - offsetY;
    const std::int64_t right = static_cast<std::int64_t>(area.Right) * cellSize - offsetX;
    const std::int64_t bottom = static_cast<std::int64_t>(area.Bottom) * cellSize - offsetY;
    constexpr std::uint16_t kOuter = Rgb565(0xFFFF80);
    constexpr std::uint16_t kInner = Rgb565(0x202020);
    for (int inset : {0, 4}) {
        FrameBoardRect(board, left + inset, top + inset, right - inset, bottom - inset, kOuter);
        FrameBoardRect(board, left + inset + 1, top + inset + 1, right - inset - 1, bottom - inset - 1, kInner);
    }
}

void DrawMapCanvas(TOrlenBoard& board, const TRect& rect, std::int64_t offsetX, std::int64_t offsetY, int cellSize,
                   const TMapCanvasSources& sources, const TMapCanvasLook& look) {
    const TKelMap* map = sources.Map;
    if (!map || cellSize <= 0)
        return;
    const std::int64_t size = cellSize;
    const std::int64_t left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const std::int64_t right = std::min(rect.Right, board.Width()), bottom = std::min(rect.Bottom, board.Height());
    if (left >= right || top >= bottom)
        return;
    const std::int64_t firstColumn = std::max<std::int64_t>(0, FloorDiv(left + offsetX, size));
    const std::int64_t lastColumn = std::min<std::int64_t>(map->Width() - 1, FloorDiv(right - 1 + offsetX, size));
    const std::int64_t firstRow = std::max<std::int64_t>(0, FloorDiv(top + offsetY, size));
    const std::int64_t lastRow = std::min<std::int64_t>(map->Height() - 1, FloorDiv(bottom - 1 + offsetY, size));

    TOrlenSheet* panorama = sources.Panorama;
    const bool withPanorama = panorama && map->PanoramaEnabled && !map->PanoramaHorizontalPan &&
                              !map->PanoramaVerticalPan &&
                              static_cast<std::int64_t>(panorama->Width()) == static_cast<std::int64_t>(map->Width()) * 16 &&
                              static_cast<std::int64_t>(panorama->Height()) == static_cast<std::int64_t>(map->Height()) * 16 &&
                              panorama->Width() > 0;
    const bool drawingTool = IsDrawingTool(look.Tool);
    const bool dimLower = look.Mode == TKelEditMode::Upper && drawingTool;
    const bool dimUpper = look.Mode == TKelEditMode::Lower && drawingTool;
    const bool eventMode = look.Mode == TKelEditMode::Events;
    TKelChipSetGraphic* chips = sources.Chips;
    TKelEventMap* events = sources.Events;

    for (std::int64_t row = firstRow; row <= lastRow; ++row) {
        for (std::int64_t column = firstColumn; column <= lastColumn; ++column) {
            const int x = ClampInt(column * size - offsetX);
            const int y = ClampInt(row * size - offsetY);
            const auto c = static_cast<std::int32_t>(column);
            const auto r = static_cast<std::int32_t>(row);
            FillBoardRect(board, MakeBounds(x, y, cellSize, cellSize), kCanvasBackground);
            if (withPanorama) {
                TSheetLook opaque(panorama, false, 255);
                board.StretchDrawSheet(MakeBounds(x, y, cellSize, cellSize), *panorama,
                                       MakeBounds(c * 16, r * 16, 16, 16));
            }
            if (chips) {
                {
                    TSheetLook sheet(&chips->Sheet(), withPanorama, 255);
                    TSheetLook dim(chips->DimSheet(), withPanorama, 255);
                    chips->DrawTile(board, x, y, 0, map->LowerLayer.Cell(c, r), dimLower, cellSize);
                }
                TSheetLook sheet(&chips->Sheet(), true, 255);
                TSheetLook dim(chips->DimSheet(), true, dimUpper ? 160 : 255);
                chips->DrawTile(board, x, y, 0, map->UpperLayer.Cell(c, r), dimUpper, cellSize);
            }
            if (eventMode) {
                FillBoardRect(board, MakeBounds(x, y + cellSize - 1, cellSize, 1), 0);
                FillBoardRect(board, MakeBounds(x + cellSize - 1, y, 1, cellSize), 0);
            }
            if (events) {
                const std::int32_t code = events->GetAt(c, r);
                if (code > 0) {
                    if (chips)
                        events->DrawCode(board, x, y, cellSize, code, !eventMode, *map, *chips);
                    else
                        events->DrawCell(board, x, y, cellSize, code, !eventMode);
                }
            }
        }
    }
    if (sources.MapTree) {
        if (const TKelMapTreeItem* item = sources.MapTree->FindByID(sources.MapTree->CurrentMapId))
            DrawAreaFrame(board, item->AreaRect, offsetX, offsetY, cellSize);
    }
}

// --- TKelMapViewModel ---

TKelMapViewModel::TKelMapViewModel() { mPanorama.AutoSize = true; }

TKelMapViewModel::~TKelMapViewModel() = default;

void TKelMapViewModel::SetGraphics(TKelChipSetGraphic* chips, TKelCharSetGraphic* charSets) {
    mChips = chips;
    mCharSets = charSets;
    mEventMap.SetGraphics(chips, charSets);
}

TKelMapTreeItem* TKelMapViewModel::CurrentItem() const {
    return mMapTree ? mMapTree->FindByID(mMapTree->CurrentMapId) : nullptr;
}

void TKelMapViewModel::LoadMap(TKelMap* map) {
    mMap = map;
    if (!KeepScroll) {
        const TKelMapTreeItem* item = CurrentItem();
        const std::int64_t storedX = item ? item->ScrollX : 0;
        const std::int64_t storedY = item ? item->ScrollY : 0;
        const std::int64_t halfW = mClientWidth / 2, halfH = mClientHeight / 2;
        PlaceView((halfW + storedX) * mCellSize / kFullCellSize - halfW,
                  (halfH + storedY) * mCellSize / kFullCellSize - halfH);
    } else {
        PlaceView(mOffsetX, mOffsetY);
    }
    KeepScroll = false;
    RebuildEventMap();
    LoadPanorama();
    RedrawAll();
}

void TKelMapViewModel::RebuildEventMap() {
    if (!mMap) {
        mEventMap.Clear();
        return;
    }
    if (mMapTree)
        mEventMap.Build(*mMapTree, *mMap);
    else
        mEventMap.Build(*mMap);
}

void TKelMapViewModel::LoadPanorama() {
    mPanorama.Clear();
    mPanorama.SetSize(0, 0);
    if (!mMap || !mMap->PanoramaEnabled || mMap->PanoramaName.empty() || !mFind)
        return;
    LoadSheetResource(mPanorama, mFind, "Panorama", mMap->PanoramaName, false);
}

std::int64_t TKelMapViewModel::MapPixelWidth() const {
    return mMap ? static_cast<std::int64_t>(std::max(mMap->Width(), 0)) * mCellSize : 0;
}

std::int64_t TKelMapViewModel::MapPixelHeight() const {
    return mMap ? static_cast<std::int64_t>(std::max(mMap->Height(), 0)) * mCellSize : 0;
}

int TKelMapViewModel::ViewWidth() const {
    return static_cast<int>(std::min<std::int64_t>(MapPixelWidth(), std::max(mClientWidth, 0)));
}

int TKelMapViewModel::ViewHeight() const {
    return static_cast<int>(std::min<std::int64_t>(MapPixelHeight(), std::max(mClientHeight, 0)));
}

std::int64_t TKelMapViewModel::MaxOffsetX() const { return std::max<std::int64_t>(0, MapPixelWidth() - ViewWidth()); }

std::int64_t TKelMapViewModel::MaxOffsetY() const {
    return std::max<std::int64_t>(0, MapPixelHeight() - ViewHeight());
}

void TKelMapViewModel::PlaceView(std::int64_t x, std::int64_t y) {
    mOffsetX = std::clamp<std::int64_t>(x, 0, MaxOffsetX());
    mOffsetY = std::clamp<std::int64_t>(y, 0, MaxOffsetY());
}

void TKelMapViewModel::SetClientSize(int width, int height) {
    mClientWidth = std::max(width, 0);
    mClientHeight = std::max(height, 0);
    PlaceView(mOffsetX, mOffsetY);
}

bool TKelMapViewModel::ScrollTo(std::int64_t x, std::int64_t y) {
    const std::int64_t oldX = mOffsetX, oldY = mOffsetY;
    PlaceView(x, y);
    if (mOffsetX == oldX && mOffsetY == oldY)
        return false;
    if (TKelMapTreeItem* item = CurrentItem()) {
        const auto stored = [this](std::int32_t value, std::int64_t offset, std::int64_t old) {
            const std::int64_t result =
                mCellSize == kFullCellSize ? offset : value + (offset - old) * kFullCellSize / mCellSize;
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(result, std::numeric_limits<std::int32_t>::min(),
                                                                      std::numeric_limits<std::int32_t>::max()));
        };
        item->ScrollX = stored(item->ScrollX, mOffsetX, oldX);
        item->ScrollY = stored(item->ScrollY, mOffsetY, oldY);
    }
    // A view that scrolls its picture itself hears it; without one, everything is drawn again.
    if (OnScrolled.ListenerCount() > 0)
        OnScrolled();
    else
        RedrawAll();
    return true;
}

void TKelMapViewModel::SetCellSize(int size) {
    if (!ValidCellSize(size) || size == mCellSize)
        return;
    const TKelMapTreeItem* item = CurrentItem();
    // The full-scale point at the view's centre stays there.
    const std::int64_t halfW = mClientWidth / 2, halfH = mClientHeight / 2;
    const std::int64_t centreX = item ? item->ScrollX + halfW : (mOffsetX + halfW) * kFullCellSize / mCellSize;
    const std::int64_t centreY = item ? item->ScrollY + halfH : (mOffsetY + halfH) * kFullCellSize / mCellSize;
    mCellSize = size;
    PlaceView(size * centreX / kFullCellSize - halfW, size * centreY / kFullCellSize - halfH);
    RedrawAll();
    OnZoomChanged(size);
}

TPoint TKelMapViewModel::CellAt(int x, int y) const {
    const std::int64_t px = static_cast<std::int64_t>(x) - ViewLeft() + mOffsetX;
    const std::int64_t py = static_cast<std::int64_t>(y) - ViewTop() + mOffsetY;
    return TPoint{ClampInt(FloorDiv(px + mCellSize, mCellSize) - 1), ClampInt(FloorDiv(py + mCellSize, mCellSize) - 1)};
}

TPoint TKelMapViewModel::GridPointAt(int x, int y) const {
    const std::int64_t px = static_cast<std::int64_t>(x) - ViewLeft() + mOffsetX;
    const std::int64_t py = static_cast<std::int64_t>(y) - ViewTop() + mOffsetY;
    return TPoint{ClampInt(FloorDiv(px + mCellSize / 2, mCellSize)), ClampInt(FloorDiv(py + mCellSize / 2, mCellSize))};
}

TPoint TKelMapViewModel::CellOrigin(TPoint cell) const {
    return TPoint{ClampInt(static_cast<std::int64_t>(cell.X) * mCellSize - mOffsetX + ViewLeft()),
                  ClampInt(static_cast<std::int64_t>(cell.Y) * mCellSize - mOffsetY + ViewTop())};
}

TRect TKelMapViewModel::ClientRectOfCells(const TRect& cells) const {
    const auto x = [this](std::int64_t c) { return ClampInt(c * mCellSize - mOffsetX + ViewLeft()); };
    const auto y = [this](std::int64_t r) { return ClampInt(r * mCellSize - mOffsetY + ViewTop()); };
    return TRect{x(cells.Left), y(cells.Top), x(cells.Right), y(cells.Bottom)};
}

bool TKelMapViewModel::CellInMap(TPoint cell) const {
    return mMap && cell.X >= 0 && cell.Y >= 0 && cell.X < mMap->Width() && cell.Y < mMap->Height();
}

std::vector<TRect> TKelMapViewModel::InvalidRects(const TRect& cells) const {
    std::vector<TRect> rects;
    if (!mMap || cells.Right <= cells.Left || cells.Bottom <= cells.Top)
        return rects;
    const std::int64_t width = mMap->Width(), height = mMap->Height();
    std::vector<std::int64_t> shiftsX{0}, shiftsY{0};
    if (mMap->LowerLayer.LoopHorizontal && width > 0) {
        if (cells.Left < 0)
            shiftsX.push_back(width);
        if (cells.Right > width)
            shiftsX.push_back(-width);
    }
    if (mMap->LowerLayer.LoopVertical && height > 0) {
        if (cells.Top < 0)
            shiftsY.push_back(height);
        if (cells.Bottom > height)
            shiftsY.push_back(-height);
    }
    const TRect view = ViewRect();
    for (std::int64_t dy : shiftsY) {
        for (std::int64_t dx : shiftsX) {
            const std::int64_t left = (cells.Left + dx) * mCellSize - mOffsetX + view.Left;
            const std::int64_t top = (cells.Top + dy) * mCellSize - mOffsetY + view.Top;
            const std::int64_t right = (cells.Right + dx) * mCellSize - mOffsetX + view.Left;
            const std::int64_t bottom = (cells.Bottom + dy) * mCellSize - mOffsetY + view.Top;
            const TRect clipped{ClampInt(std::max<std::int64_t>(left, view.Left)),
                                ClampInt(std::max<std::int64_t>(top, view.Top)),
                                ClampInt(std::min<std::int64_t>(right, view.Right)),
                                ClampInt(std::min<std::int64_t>(bottom, view.Bottom))};
            if (clipped.Right > clipped.Left && clipped.Bottom > clipped.Top)
                rects.push_back(clipped);
        }
    }
    return rects;
}

void TKelMapViewModel::PaintView(TOrlenBoard& board, const TRect& rect, std::int64_t offsetX, std::int64_t offsetY) {
    TMapCanvasSources sources;
    sources.Map = mMap;
    sources.MapTree = mMapTree;
    sources.Chips = mChips;
    sources.Events = mMap ? &mEventMap : nullptr;
    sources.Panorama = &mPanorama;
    DrawMapCanvas(board, rect, offsetX, offsetY, mCellSize, sources, Look());
}

void TKelMapViewModel::RedrawAll() const {
    OnRedrawAll();
}

void TKelMapViewModel::RedrawCells(const TRect& cells) const {
    OnRedrawCells(cells);
}

}  // namespace quillon
