#include "graphics/MapRender.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kStartCodeFirst = 60001;
constexpr std::uint16_t kWhite565 = 0xFFFF;

void SwapTransparent(TOrlenSheet& sheet, bool& transparent, int& opacity) {
    std::swap(sheet.Transparent, transparent);
    std::swap(sheet.Opacity, opacity);
}

}  // namespace

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

void TMapEventLayer::Build(const TKelMap& map) {
    mWidth = std::max(map.Width(), 0);
    mHeight = std::max(map.Height(), 0);
    mCodes.assign(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight), 0);
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TKelEventItem* event = map.Events.Items(i);
        if (event->X < 0 || event->X >= mWidth || event->Y < 0 || event->Y >= mHeight || event->ID < 1 ||
            event->ID >= kStartCodeFirst)
            continue;
        mCodes[static_cast<std::size_t>(event->X) + static_cast<std::size_t>(event->Y) * mWidth] =
            static_cast<std::uint16_t>(event->ID);
    }
    if (!mTree)
        return;
    for (int i = 0; i < TKelMapStartPosition::kCount; ++i) {
        const TKelMapStartPosition& start = mTree->StartPosition;
        const std::int32_t x = start.GetX(i);
        const std::int32_t y = start.GetY(i);
        if (start.GetMapId(i) != map.ID || x < 0 || x >= mWidth || y < 0 || y >= mHeight)
            continue;
        mCodes[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * mWidth] =
            static_cast<std::uint16_t>(kStartCodeFirst + i);
    }
}

int TMapEventLayer::CodeAt(int column, int row) const {
    if (column < 0 || column >= mWidth || row < 0 || row >= mHeight)
        return -1;
    return mCodes[static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * mWidth];
}

void TMapEventLayer::LoadCharSets(const TKelMap& map) {
    mCharSets.BeginUse();
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TKelEventItem* event = map.Events.Items(i);
        for (int p = 0; p < event->Pages.Count(); ++p) {
            const TKelEventPageItem* page = event->Pages.Items(p);
            if (!page->GraphicName.empty())
                mCharSets.Load(page->GraphicName);
        }
    }
    mCharSets.EndUse();
}

void TMapEventLayer::DrawCode(TOrlenBoard& board, int x, int y, int size, int code, bool faint, const TKelMap& map,
                              TKelChipSetGraphic& chips) {
    if (code <= 0)
        return;
    if (code >= kStartCodeFirst) {
        if (code < kStartCodeFirst + TKelMapStartPosition::kCount)
            mMarks.Draw(board, x, y, size, code - kStartCodeFirst, faint);
        return;
    }
    if (size < 16 || faint) {
        mMarks.Draw(board, x, y, size, TStartPosMark::smEvent, faint);
        return;
    }
    if (size != 16 && size != 32)
        return;
    if (size == 16)
        FillBoardRect(board, MakeBounds(x + 1, y + 1, 13, 13), kWhite565);
    else
        FillBoardRect(board, MakeBounds(x + 4, y + 4, 23, 23), kWhite565);
    const TKelEventItem* event = map.Events.FindByID(code);
    const TKelEventPageItem* page = event ? event->Pages.Items(0) : nullptr;
    if (!page)
        return;
    if (page->GraphicName.empty()) {
        // A tile graphic: the upper tile on the chipset's background colour.
        TOrlenSheet& sheet = chips.Sheet();
        bool transparent = true;
        int opacity = 255;
        SwapTransparent(sheet, transparent, opacity);
        const std::uint16_t background = Color565(sheet.Palette[0]);
        const std::int32_t tile = kTileUpperFirst + std::clamp(page->GraphicIndex, 0, kTileNothingFirst - kTileUpperFirst - 1);
        if (size == 16) {
            mScratch.SetSize(16, 16);
            FillBoardRect(mScratch, MakeBounds(0, 0, 16, 16), background);
            chips.DrawTile(mScratch, 0, 0, 0, tile, false, 16);
            board.CopyFrom(x + 2, y + 2, MakeBounds(2, 2, 11, 11), mScratch);
        } else {
            FillBoardRect(board, MakeBounds(x + 5, y + 5, 21, 21), background);
            chips.DrawTile(board, x + 8, y + 8, 0, tile, false, 16);
        }
        SwapTransparent(sheet, transparent, opacity);
        return;
    }
    TOrlenSheet* sheet = mCharSets.SheetAt(mCharSets.IndexOf(page->GraphicName));
    if (!sheet)
        return;
    const TPoint origin = CharFrameOrigin(page->GraphicIndex, page->GraphicPattern, page->GraphicDirection);
    if (size == 16)
        board.DrawSheet(x + 2, y + 2, MakeBounds(origin.X + 6, origin.Y + 9, 11, 11), *sheet);
    else
        board.DrawSheet(x + 5, y + 5, MakeBounds(origin.X + 1, origin.Y + 6, 21, 21), *sheet);
}

void RenderMapView(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                   int offsetX, int offsetY, TMapEventLayer* events) {
    // Kept per thread so that its memory is reused by the next drawing; Begin forgets the tiles.
    thread_local TMapTileCache tiles;
    tiles.Begin(chips, options.CellSize, options.AnimCounter);
    RenderMapView(board, map, chips, options, offsetX, offsetY, events, tiles);
}

void RenderMapView(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                   int offsetX, int offsetY, TMapEventLayer* events, TMapTileCache& tiles) {
    const int size = options.CellSize;
    if (size <= 0)
        return;
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const int firstColumn = std::max(0, floorDiv(offsetX, size));
    const int firstRow = std::max(0, floorDiv(offsetY, size));
    const int lastColumn = std::min(map.Width(), floorDiv(offsetX + board.Width() + size - 1, size));
    const int lastRow = std::min(map.Height(), floorDiv(offsetY + board.Height() + size - 1, size));
    const auto drawLayer = [&](const TKelMapLayer& layer) {
        for (int row = firstRow; row < lastRow; ++row) {
            if (lastColumn <= layer.Width() && row < layer.Height()) {
                // The row's cells straight from the layer.
                tiles.DrawRow(board, firstColumn * size - offsetX, row * size - offsetY,
                              layer.Cells().data() + static_cast<std::size_t>(row) * layer.Width() + firstColumn,
                              lastColumn - firstColumn);
                continue;
            }
            for (int column = firstColumn; column < lastColumn; ++column)
                tiles.DrawTile(board, column * size - offsetX, row * size - offsetY, layer.Cell(column, row));
        }
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
