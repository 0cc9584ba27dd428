#include "graphics/MapPicture.h"

#include "data/LD_Map.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

constexpr std::size_t kBandBoardBytes = 256 * 1024;

class TBandDrawer {
public:
    TBandDrawer(const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                TMapEventLayer* events, int width, int height, int bandRows)
        : mMap(map), mChips(chips), mOptions(options), mEvents(events), mWidth(width), mHeight(height),
          mBandRows(bandRows) {}

    int Bands() const { return (mHeight + mBandRows - 1) / mBandRows; }

    // Draws band `index` (a board of the map's width and up to mBandRows rows).
    TOrlenBoard& Draw(int index) {
        const int top = index * mBandRows;
        const int rows = std::min(mBandRows, mHeight - top);
        if (mBoard.Width() != mWidth || mBoard.Height() != rows)
            mBoard.SetSize(mWidth, rows);
        else
            mBoard.Clear();
        if (index == 0)
            mTiles.Begin(mChips, mOptions.CellSize, mOptions.AnimCounter);
        RenderMapView(mBoard, mMap, mChips, mOptions, 0, top, mEvents, mTiles);
        return mBoard;
    }

private:
    const TKelMap& mMap;
    TKelChipSetGraphic& mChips;
    const TMapRenderOptions& mOptions;
    TMapEventLayer* mEvents;
    int mWidth;
    int mHeight;
    int mBandRows;
    TOrlenBoard mBoard;
    TMapTileCache mTiles;
};

}  // namespace

TPaletteEntry Widen565(std::uint16_t color) {
    const unsigned red = color >> 11;
    const unsigned green = (color >> 5) & 63;
    const unsigned blue = color & 31;
    return TPaletteEntry{static_cast<std::uint8_t>(red << 3 | red >> 2), static_cast<std::uint8_t>(green << 2 | green >> 4),
                         static_cast<std::uint8_t>(blue << 3 | blue >> 2), 0};
}

TMapPictureInfo WriteMapPng(TStream& stream, const TKelMap& map, TKelChipSetGraphic& chips,
                            const TMapRenderOptions& options, TMapEventLayer* events,
                            const TMapPictureOptions& pictureOptions) {
    const std::int64_t width = static_cast<std::int64_t>(std::max(map.Width(), 0)) * std::max(options.CellSize, 0);
    const std::int64_t height = static_cast<std::int64_t>(std::max(map.Height(), 0)) * std::max(options.CellSize, 0);
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw EInvalidGraphic("Invalid PNG Image");
    TMapPictureInfo info;
    info.Width = static_cast<int>(width);
    info.Height = static_cast<int>(height);
    int bandRows = pictureOptions.BandRows;
    if (bandRows <= 0) {
        // About a quarter mebibyte of board, in whole cell rows.
        const int size = options.CellSize;
        const int cellRows = std::max<int>(1, static_cast<int>(kBandBoardBytes / (static_cast<std::size_t>(width) * 2 * size)));
        bandRows = cellRows * size;
    }
    bandRows = std::min<int>(bandRows, info.Height);
    TBandDrawer drawer(map, chips, options, events, info.Width, info.Height, bandRows);

    // First the colours: at most 256 of them make an indexed picture.
    std::vector<std::uint8_t> seen(65536, 0);
    std::vector<std::uint16_t> colors;
    for (int band = 0; band < drawer.Bands() && colors.size() <= 256; ++band) {
        const TOrlenBoard& board = drawer.Draw(band);
        for (int y = 0; y < board.Height() && colors.size() <= 256; ++y) {
            const std::uint16_t* row = board.ScanLine(y);
            for (int x = 0; x < board.Width(); ++x) {
                if (!seen[row[x]]) {
                    seen[row[x]] = 1;
                    colors.push_back(row[x]);
                }
            }
        }
    }
    info.Indexed = colors.size() <= 256;
    std::vector<TPaletteEntry> palette;
    std::vector<std::uint8_t>& index = seen;  // 5-6-5 colour -> palette index
    if (info.Indexed) {
        std::sort(colors.begin(), colors.end());
        for (std::size_t i = 0; i < colors.size(); ++i) {
            palette.push_back(Widen565(colors[i]));
            index[colors[i]] = static_cast<std::uint8_t>(i);
        }
        info.Colors = static_cast<int>(colors.size());
    }

    TPngStreamWriter writer(stream, info.Width, info.Height, palette, pictureOptions.Png);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(writer.RowBytes()) * static_cast<std::size_t>(bandRows));
    for (int band = 0; band < drawer.Bands(); ++band) {
        const TOrlenBoard& board = drawer.Draw(band);
        for (int y = 0; y < board.Height(); ++y) {
            const std::uint16_t* source = board.ScanLine(y);
            std::uint8_t* target = rows.data() + static_cast<std::size_t>(y) * writer.RowBytes();
            if (info.Indexed) {
                for (int x = 0; x < info.Width; ++x)
                    target[x] = index[source[x]];
            } else {
                for (int x = 0; x < info.Width; ++x) {
                    const TPaletteEntry entry = Widen565(source[x]);
                    target[3 * x] = entry.Red;
                    target[3 * x + 1] = entry.Green;
                    target[3 * x + 2] = entry.Blue;
                }
            }
        }
        writer.WriteRows(rows.data(), board.Height(), writer.RowBytes());
    }
    writer.Finish();
    return info;
}

}  // namespace quillon
