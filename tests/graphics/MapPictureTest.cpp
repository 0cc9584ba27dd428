// The map picture written band by band as PNG, and the PNG stream writer under it: what is read
// back is exactly the board RenderMap draws, indexed or truecolour, however the bands fall.
#include "ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "graphics/MapPicture.h"
#include "graphics/OrlenPng.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace quillon;
using namespace chiptest;

namespace {

// Reads a PNG back as 24-bit (blue, green, red) rows, the layout BoardToBitmap gives.
TBitmap ReadBack(TMemoryStream& stream, bool& indexed) {
    stream.SetPosition(0);
    TBitmap read;
    ReadPng(stream, read);
    indexed = read.PixelFormat() == TPixelFormat::pf8bit;
    if (!indexed)
        return read;
    TBitmap wide(read.Width(), read.Height(), TPixelFormat::pf24bit);
    for (int y = 0; y < read.Height(); ++y)
        for (int x = 0; x < read.Width(); ++x) {
            const TPaletteEntry& entry = read.Palette()[read.ScanLine(y)[x]];
            wide.ScanLine(y)[3 * x] = entry.Blue;
            wide.ScanLine(y)[3 * x + 1] = entry.Green;
            wide.ScanLine(y)[3 * x + 2] = entry.Red;
        }
    return wide;
}

int DifferingRows(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
        return -1;
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        differing += !std::equal(a.ScanLine(y), a.ScanLine(y) + a.RowBytes(), b.ScanLine(y));
    return differing;
}

class MapPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder("mappicture");
        // Every index appears; "Many" gives each its own colour (none black), "Few" only 12.
        TBitmap chipset(480, 256, TPixelFormat::pf8bit);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 480; ++x)
                chipset.ScanLine(y)[x] = static_cast<std::uint8_t>((x * 7 + y * 13) % 256);
        for (int i = 0; i < 256; ++i)
            chipset.Palette()[i] = {static_cast<std::uint8_t>((i & 31) << 3), static_cast<std::uint8_t>((i >> 5) << 5 | 16),
                                    200, 0};
        WriteResource(folder, "ChipSet", "Many", chipset);
        for (int i = 0; i < 256; ++i)
            chipset.Palette()[i] = {static_cast<std::uint8_t>(20 * (i % 12)), 90, static_cast<std::uint8_t>(255 - i % 12), 0};
        WriteResource(folder, "ChipSet", "Few", chipset);

        // Odd sizes; every kind of tile, IDs that draw nothing, upper tiles on a third of the cells,
        // events showing tiles.
        map.SetWidth(37);
        map.SetHeight(23);
        map.ID = 3;
        std::mt19937 random(5);
        for (int y = 0; y < map.Height(); ++y)
            for (int x = 0; x < map.Width(); ++x) {
                static constexpr int kStarts[] = {0, 1000, 2000, 3000, 3100, 4000, 4550, 5000, 5140, 6000};
                const int lower = kStarts[random() % 10] + static_cast<int>(random() % 50);
                map.LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(lower));
                map.UpperLayer.SetCell(x, y, static_cast<std::uint16_t>(random() % 3 == 0 ? 10000 + random() % 144 : 10000));
            }
        for (int i = 1; i <= 12; ++i) {
            TKelEventItem& event = map.Events.Obtain(i);
            event.X = static_cast<std::int32_t>(random() % map.Width());
            event.Y = static_cast<std::int32_t>(random() % map.Height());
            event.Pages.Obtain(1).GraphicIndex = i;
        }
    }

    // The map drawn whole, then written band by band; both read back as 24-bit pictures.
    // Returns whether the picture was written indexed.
    bool Check(const std::string& chipset, int cellSize, const TMapPictureOptions& pictureOptions) {
        TEditorModeScope mode(true);
        TKelChipSetGraphic chips(FolderImageFinder({folder.string()}));
        chips.LoadGraphic(chipset);
        TKelCharSetGraphic charSets(FolderImageFinder({folder.string()}));
        TStartPosMark marks;
        TMapEventLayer events(nullptr, charSets, marks);
        TMapRenderOptions options;
        options.CellSize = cellSize;
        options.Events = true;
        options.AnimCounter = 40;
        TOrlenBoard board;
        RenderMap(board, map, chips, options, &events);
        const TBitmap expected = BoardToBitmap(board);
        std::set<std::uint16_t> distinct;
        for (int y = 0; y < board.Height(); ++y)
            distinct.insert(board.ScanLine(y), board.ScanLine(y) + board.Width());
        const bool expectIndexed = distinct.size() <= 256;

        TMemoryStream stream;
        const TMapPictureInfo info = WriteMapPng(stream, map, chips, options, &events, pictureOptions);
        EXPECT_EQ(info.Width, board.Width());
        EXPECT_EQ(info.Height, board.Height());
        EXPECT_EQ(info.Indexed, expectIndexed);
        bool indexed = false;
        const TBitmap read = ReadBack(stream, indexed);
        EXPECT_EQ(indexed, expectIndexed);
        EXPECT_EQ(DifferingRows(read, expected), 0)
            << chipset << " at " << cellSize << ", bands of " << pictureOptions.BandRows << " rows, "
            << pictureOptions.Png.BandBytes << " bytes, " << pictureOptions.Png.Threads << " threads";
        if (expectIndexed) {
            EXPECT_EQ(info.Colors, static_cast<int>(distinct.size()));
        }
        return info.Indexed;
    }

    std::filesystem::path folder;
    TKelMap map;
};

TMapPictureOptions Bands(int rows, std::size_t bytes, int threads) {
    TMapPictureOptions options;
    options.BandRows = rows;
    options.Png.BandBytes = bytes;
    options.Png.Threads = threads;
    return options;
}

}  // namespace

TEST_F(MapPictureTest, FewColoursAreWrittenIndexedExactlyAsDrawn) {
    for (int size : {32, 16, 8, 4})
        EXPECT_TRUE(Check("Few", size, {}));
    // Bands that cut cells, bands of one row, deflate bands smaller than the window, more threads.
    EXPECT_TRUE(Check("Few", 16, Bands(5, 700, 3)));
    EXPECT_TRUE(Check("Few", 8, Bands(1, 40000, 2)));
}

TEST_F(MapPictureTest, MoreThan256ColoursAreWrittenTruecolourExactlyAsDrawn) {
    // At 1/4 and 1/8 the small map shows fewer than 257 of them: indexed again.
    for (int size : {32, 16, 8, 4})
        EXPECT_EQ(Check("Many", size, {}), size < 16) << size;
    EXPECT_FALSE(Check("Many", 32, Bands(7, 3000, 4)));
    EXPECT_FALSE(Check("Many", 16, Bands(3, 100, 1)));
}

TEST_F(MapPictureTest, IndexedPictureIsSmallerThanTheWholeBoardAsTruecolour) {
    TEditorModeScope mode(true);
    TKelChipSetGraphic chips(FolderImageFinder({folder.string()}));
    chips.LoadGraphic("Few");
    TMapRenderOptions options;
    options.CellSize = 16;
    TOrlenBoard board;
    RenderMap(board, map, chips, options);
    TMemoryStream whole;
    WritePng(whole, BoardToBitmap(board));
    TMemoryStream streamed;
    WriteMapPng(streamed, map, chips, options, nullptr);
    EXPECT_LT(streamed.Size(), whole.Size());
}

TEST_F(MapPictureTest, MapWithoutCellsIsRefused) {
    TKelChipSetGraphic chips;
    TKelMap empty;
    empty.SetWidth(0);
    empty.SetHeight(0);
    TMemoryStream stream;
    EXPECT_THROW(WriteMapPng(stream, empty, chips, TMapRenderOptions{}, nullptr), EInvalidGraphic);
    EXPECT_EQ(stream.Size(), 0);
}

// Rows of every kind (repeats, smooth runs, noise) through every filter choice, in bands smaller
// and larger than the deflate window, on one and several threads.
TEST(PngStreamWriter, TruecolourAndIndexedRowsReadBackUnchanged) {
    const int width = 301, height = 97;
    std::mt19937 random(9);
    for (const bool indexed : {false, true}) {
        const int bytesPerPixel = indexed ? 1 : 3;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * bytesPerPixel * height);
        const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = pixels.data() + y * rowBytes;
            if (y % 7 == 3) {
                std::copy(row - rowBytes, row, row);  // the row above again
                continue;
            }
            for (std::size_t i = 0; i < rowBytes; ++i)
                row[i] = static_cast<std::uint8_t>(y % 3 == 0 ? random() : y % 3 == 1 ? i * 3 + y : (i / 9) * 40);
        }
        std::vector<TPaletteEntry> palette;
        if (indexed)
            for (int i = 0; i < 256; ++i)
                palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(i * 7), 0});
        for (const auto& [bandBytes, threads] : {std::pair<std::size_t, int>{1, 1}, {500, 2}, {20000, 3},
                                                 {50000, 2}, {1 << 20, 1}}) {
            TMemoryStream stream;
            TPngStreamOptions options;
            options.BandBytes = bandBytes;
            options.Threads = threads;
            options.Level = 1 + static_cast<int>(bandBytes % 9);
            TPngStreamWriter writer(stream, width, height, palette, options);
            ASSERT_EQ(writer.Indexed(), indexed);
            // Rows handed over in uneven groups.
            int row = 0;
            for (int count : {1, 10, 0, 33, 53})
                writer.WriteRows(pixels.data() + row * rowBytes, count, static_cast<std::ptrdiff_t>(rowBytes)),
                    row += count;
            ASSERT_EQ(row, height);
            writer.Finish();

            stream.SetPosition(0);
            TBitmap read;
            ReadPng(stream, read);
            ASSERT_EQ(read.Width(), width);
            ASSERT_EQ(read.Height(), height);
            int differing = 0;
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* expected = pixels.data() + y * rowBytes;
                const std::uint8_t* got = read.ScanLine(y);
                for (int x = 0; x < width; ++x) {
                    if (indexed)
                        differing += got[x] != expected[x];
                    else  // read back as blue, green, red
                        differing += got[3 * x] != expected[3 * x + 2] || got[3 * x + 1] != expected[3 * x + 1] ||
                                     got[3 * x + 2] != expected[3 * x];
                }
            }
            EXPECT_EQ(differing, 0) << (indexed ? "indexed" : "truecolour") << ", bands of " << bandBytes << " bytes, "
                                    << threads << " threads";
            if (indexed) {
                for (int i = 0; i < 256; ++i)
                    ASSERT_EQ(read.Palette()[i].Blue, palette[static_cast<std::size_t>(i)].Blue);
            }
        }
    }
}

TEST(PngStreamWriter, RowsOutsideTheImageAndEarlyEndsAreRefused) {
    TMemoryStream stream;
    TPngStreamWriter writer(stream, 4, 3, {});
    const std::uint8_t rows[3 * 12] = {};
    writer.WriteRows(rows, 2, 12);
    EXPECT_THROW(writer.Finish(), std::logic_error);
    EXPECT_THROW(writer.WriteRows(rows, 2, 12), std::logic_error);
    writer.WriteRows(rows, 1, 12);
    writer.Finish();
    stream.SetPosition(0);
    TBitmap read;
    ReadPng(stream, read);
    EXPECT_EQ(read.Height(), 3);

    TMemoryStream other;
    EXPECT_THROW(TPngStreamWriter(other, 0, 3, {}), EInvalidGraphic);
    EXPECT_THROW(TPngStreamWriter(other, 3, kMaxPictureSide + 1, {}), EInvalidGraphic);
    EXPECT_THROW(TPngStreamWriter(other, 3, 3, std::vector<TPaletteEntry>(257)), EInvalidGraphic);
}
