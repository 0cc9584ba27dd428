// Where a pointer in a map picture lies: the cell under it and the nearest grid point (cell
// corner), at the three zooms of the views that choose a place or an area on a map.
#pragma once

#include <cstdint>

namespace quillon {

// Cell sizes of the zooms "1/1", "1/2" and "1/4".
inline constexpr int kMapPlaceCellSizes[3] = {32, 16, 8};
inline constexpr const char* kMapPlaceZoomCaptions[3] = {"1/1", "1/2", "1/4"};
// The zoom a view starts with.
inline constexpr int kMapPlaceDefaultZoom = 1;

struct TMapPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TMapPoint&) const = default;
};

// The cell that holds picture pixel (x, y); pixels left of or above the picture give negative
// cells (the caller decides whether they count). A cell size below 1 counts as 1.
TMapPoint CellAtPixel(int x, int y, int cellSize);
// The grid point nearest to picture pixel (x, y), clamped to 0 .. width / height cells.
TMapPoint NearestGridPoint(int x, int y, int cellSize, std::int32_t width, std::int32_t height);
// The zoom index of a cell size; the default zoom for a size that is none of them.
int MapPlaceZoomOf(int cellSize);

}  // namespace quillon
