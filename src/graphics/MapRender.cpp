#include "graphics/MapRender.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"

#include <algorithm>

namespace quillon {

std::uint16_t Color565(const TPaletteEntry& entry) {
    return static_cast<std::uint16_t>(((entry.Red >> 3) << 11) | ((entry.Green >> 2) << 5) | (entry.Blue >> 3));
}

void FillBoardRect(TOrlenBoard& board, const TRect& rect, std::uint16_t color) {
    const int left = std::max(rect.Left, 0);
    const int top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, board.Width());
    const int bottom = std::min(rect.Bottom, board.Height());
    for (int y = top; y < bottom; ++y)
        std::fill(board.ScanLine(y) + left, board.ScanLine(y) + std::max(left, right), color);
}

TBitmap BoardToBitmap(const TOrlenBoard& board) {
    TBitmap bitmap(board.Width(), board.Height(), TPixelFormat::pf24bit);
    for (int y = 0; y < board.Height(); ++y) {
        const std::uint16_t* source = board.ScanLine(y);
        std::uint8_t* target = bitmap.ScanLine(y);
        for (int x = 0; x < board.Width(); ++x) {
            const unsigned pixel = source[x];
            const unsigned red = pixel >> 11;
            const unsigned green = (pixel >> 5) & 63;
            const unsigned blue = pixel & 31;
            target[3 * x] = static_cast<std::uint8_t>(blue << 3 | blue >> 2);
            target[3 * x + 1] = static_cast<std::uint8_t>(green << 2 | green >> 4);
            target[3 * x + 2] = static_cast<std::uint8_t>(red << 3 | red >> 2);
        }
    }
    return bitmap;
}

void RenderMapView(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                   int offsetX, int offsetY, TMapEventLayer* events) {
    const int size = options.CellSize;
    if (size <= 0)
        return;
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const int firstColumn = std::max(0, floorDiv(offsetX, size));
    const int firstRow = std::max(0, floorDiv(offsetY, size));
    const int lastColumn = std::min(map.Width(), floorDiv(offsetX + board.Width() + size - 1, size));
    const int lastRow = std::min(map.Height(), floorDiv(offsetY + board.Height() + size - 1, size));
    const auto drawLayer = [&](const TKelMapLayer& layer) {
        for (int row = firstRow; row < lastRow; ++row)
            for (int column = firstColumn; column < lastColumn; ++column)
                chips.DrawTile(board, column * size - offsetX, row * size - offsetY, options.AnimCounter,
                               layer.Cell(column, row), false, size);
    };
    if (options.Lower) {
        chips.SetTransparent(false);
        drawLayer(map.LowerLayer);
    }
    chips.SetTransparent(true);
    if (options.Upper)
        drawLayer(map.UpperLayer);
    if (options.Events && events) {
        events->Build(map);
        for (int row = firstRow; row < lastRow; ++row)
            for (int column = firstColumn; column < lastColumn; ++column)
                events->DrawCode(board, column * size - offsetX, row * size - offsetY, size,
                                 events->CodeAt(column, row), false, map, chips);
    }
}

void RenderMap(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
               TMapEventLayer* events) {
    board.SetSize(std::max(map.Width(), 0) * options.CellSize, std::max(map.Height(), 0) * options.CellSize);
    RenderMapView(board, map, chips, options, 0, 0, events);
}

}  // namespace quillon
