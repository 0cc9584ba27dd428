#include "controls/MapPlace.h"

#include <algorithm>

namespace quillon {

namespace {

std::int32_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    std::int64_t q = value / divisor;
    if (value % divisor != 0 && value < 0)
        --q;
    return static_cast<std::int32_t>(q);
}

}  // namespace

TMapPoint CellAtPixel(int x, int y, int cellSize) {
    const int size = std::max(cellSize, 1);
    return {FloorDiv(x, size), FloorDiv(y, size)};
}

TMapPoint NearestGridPoint(int x, int y, int cellSize, std::int32_t width, std::int32_t height) {
    const int size = std::max(cellSize, 1);
    // Half a cell on: pixels up to the middle of a cell belong to its left (top) corner.
    const std::int32_t gx = FloorDiv(static_cast<std::int64_t>(x) + size / 2, size);
    const std::int32_t gy = FloorDiv(static_cast<std::int64_t>(y) + size / 2, size);
    return {std::clamp<std::int32_t>(gx, 0, std::max<std::int32_t>(width, 0)),
            std::clamp<std::int32_t>(gy, 0, std::max<std::int32_t>(height, 0))};
}

int MapPlaceZoomOf(int cellSize) {
    for (int i = 0; i < 3; ++i)
        if (kMapPlaceCellSizes[i] == cellSize)
            return i;
    return kMapPlaceDefaultZoom;
}

}  // namespace quillon
