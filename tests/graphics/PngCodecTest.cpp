#include "PngTestUtil.h"

#include "graphics/OrlenPng.h"
#include "graphics/OrlenSheet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace quillon;
using namespace pngtest;

namespace {

TBitmap Decode(const std::string& file) {
    TByteViewStream stream(file);
    TBitmap bitmap;
    ReadPng(stream, bitmap);
    return bitmap;
}

std::string Encode(const TBitmap& bitmap) {
    TMemoryStream stream;
    WritePng(stream, bitmap);
    return stream.Bytes();
}

std::string Message(const std::string& file) {
    try {
        Decode(file);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

std::string Palette(int entries) {
    std::string data;
    for (int i = 0; i < entries; ++i)
        data += {static_cast<char>(i), static_cast<char>(255 - i), static_cast<char>(i * 7)};
    return Chunk("PLTE", data);
}

std::string IndexedFile(const std::vector<std::string>& rows, int width, std::size_t piece = 0, bool cycle = true) {
    return Signature() + Header(width, static_cast<std::uint32_t>(rows.size()), 8, 3) + Palette(256) +
           ImageData(Compress(FilterRows(rows, 1, cycle)), piece) + Chunk("IEND", "");
}

void ExpectRows(const TBitmap& bitmap, const std::vector<std::string>& rows, bool truecolour) {
    ASSERT_EQ(bitmap.Height(), static_cast<int>(rows.size()));
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string expected = rows[y];
        if (truecolour)
            for (std::size_t i = 0; i + 2 < expected.size(); i += 3)
                std::swap(expected[i], expected[i + 2]);
        ASSERT_EQ(std::string(reinterpret_cast<const char*>(bitmap.ScanLine(y)), expected.size()), expected) << y;
    }
}

struct TChunkInfo {
    std::string Type;
    std::string Data;
    bool CrcGood;
};

std::vector<TChunkInfo> Chunks(const std::string& file) {
    std::vector<TChunkInfo> chunks;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(file.data() + at);
        const std::uint32_t length = p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
        const std::string body = file.substr(at + 4, 4 + length);
        const auto* c = reinterpret_cast<const std::uint8_t*>(file.data() + at + 8 + length);
        const std::uint32_t crc = static_cast<std::uint32_t>(c[0]) << 24 | c[1] << 16 | c[2] << 8 | c[3];
        chunks.push_back({body.substr(0, 4), body.substr(4),
                          crc == crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))});
        at += 12 + length;
    }
    return chunks;
}

}  // namespace

TEST(PngReader, AllFiveFiltersDecodeIndexedAndTruecolourRows) {
    const auto indexed = RandomRows(37, 11, 1, 1);
    ExpectRows(Decode(IndexedFile(indexed, 37)), indexed, false);
    // Smooth rows give the predictors real work; the previous row stays in file order.
    for (const int smooth : {0, 1}) {
        const auto rows = RandomRows(13, 10, 3, 2, smooth);
        const std::string file = Signature() + Header(13, 10, 8, 2) + ImageData(Compress(FilterRows(rows, 3, true))) +
                                 Chunk("IEND", "");
        const TBitmap bitmap = Decode(file);
        EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
        ExpectRows(bitmap, rows, true);
    }
}

TEST(PngReader, ImageDataSplitAnywhereDecodesTheSame) {
    const auto rows = RandomRows(50, 40, 1, 3);
    const TBitmap whole = Decode(IndexedFile(rows, 50));
    ExpectRows(whole, rows, false);
    for (const std::size_t piece : {1, 7, 51, 100, 1000})
        ExpectRows(Decode(IndexedFile(rows, 50, piece)), rows, false);
    // An empty IDAT between two halves is harmless.
    const std::string compressed = Compress(FilterRows(rows, 1, true));
    const std::string file = Signature() + Header(50, 40, 8, 3) + Palette(256) +
                             Chunk("IDAT", compressed.substr(0, 333)) + Chunk("IDAT", "") +
                             Chunk("IDAT", compressed.substr(333)) + Chunk("IEND", "");
    ExpectRows(Decode(file), rows, false);
}

TEST(PngReader, ShortPaletteUnknownFilterAncillaryChunksAndBadCrc) {
    std::string raw = std::string(1, '\0') + "\x01\x02\x03" + std::string(1, '\x07') + "\x05\x06\x07";
    const std::string file = Signature() + Header(3, 2, 8, 3) + Chunk("tEXt", "Comment\0hello", false) +
                             Palette(4) + Chunk("tRNS", "\x00", false) + Chunk("IDAT", Compress(raw), false) +
                             Chunk("zzZz", std::string(100, 'x')) + Chunk("IEND", "");
    const TBitmap bitmap = Decode(file);
    EXPECT_EQ(bitmap.PixelIndex(2, 0), 3);
    EXPECT_EQ(bitmap.PixelIndex(0, 1), 5);  // filter 7 leaves the bytes as they are
    EXPECT_EQ(bitmap.Palette()[3], (TPaletteEntry{3, 252, 21, 0}));
    for (int i = 4; i < 256; ++i)
        ASSERT_EQ(bitmap.Palette()[i], TPaletteEntry{}) << i;
}

TEST(PngReader, RefusesWithItsMessages) {
    const std::string rows = Compress(std::string(4, '\0'));
    auto withHeader = [&](const std::string& header) {
        return Signature() + header + Chunk("IDAT", rows) + Chunk("IEND", "");
    };
    EXPECT_EQ(Message("\x89PNG\r\n\x1a\x0b"), kInvalidPngText);
    EXPECT_EQ(Message(""), kInvalidPngText);
    EXPECT_EQ(Message(withHeader(Header(3, 1, 16, 2))), kUnsupportedPngText);
    EXPECT_EQ(Message(withHeader(Header(3, 1, 8, 0))), kUnsupportedPngText);
    EXPECT_EQ(Message(withHeader(Header(3, 1, 8, 6))), kUnsupportedPngText);
    EXPECT_EQ(Message(withHeader(Header(3, 1, 8, 3, 1))), kUnsupportedPngText);
    // Only an indexed image of another depth is an invalid-graphic error.
    EXPECT_THROW(Decode(withHeader(Header(3, 1, 4, 3))), EInvalidGraphic);
    try {
        Decode(withHeader(Header(3, 1, 16, 2)));
        ADD_FAILURE();
    } catch (const EInvalidGraphic&) {
        ADD_FAILURE() << "plain error expected";
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Message(Signature() + Chunk("IHDR", std::string(14, '\0'))), kInvalidPngText);
    EXPECT_EQ(Message(Signature() + Header(3, 1, 8, 3) + Chunk("PLTE", std::string(771, '\0'))), kInvalidPngText);
    EXPECT_EQ(Message(Signature() + Header(3, 1, 8, 3) + Chunk("IEND", "x")), kInvalidPngText);
    // A row that goes on in something other than IDAT, truncation, a chunk longer than the file.
    const std::string twoRows = Compress(std::string(8, '\0'));
    EXPECT_EQ(Message(Signature() + Header(3, 2, 8, 3) + Chunk("IDAT", twoRows.substr(0, 5)) + Chunk("IEND", "")),
              kInvalidPngText);
    const std::string good = IndexedFile(RandomRows(5, 5, 1, 4), 5);
    for (const std::size_t cut : {std::size_t{10}, std::size_t{33}, good.size() - 20, good.size() - 12})
        EXPECT_EQ(Message(good.substr(0, cut)), kInvalidPngText) << cut;
    EXPECT_EQ(Message(Signature() + Header(3, 1, 8, 3) + "\x7f\xff\xff\xffIDAT"), kInvalidPngText);
    EXPECT_EQ(Message(Signature() + Header(3, 1, 8, 3) + Chunk("IDAT", "\x78\x9c\xff\xff\xff\xff")), kZlibErrorText);
    // Sides above the limit, and a small file claiming a huge image, before anything is allocated.
    EXPECT_EQ(Message(withHeader(Header(20000, 1, 8, 3))), kInvalidPngText);
    EXPECT_EQ(Message(withHeader(Header(1, 0x80000000u, 8, 3))), kInvalidPngText);
    EXPECT_EQ(Message(withHeader(Header(16000, 16000, 8, 2))), kInvalidPngText);
}

TEST(PngWriter, WritesStandardChunksAndReadsBack) {
    TBitmap bitmap(300, 300, TPixelFormat::pf8bit);
    std::mt19937 random(5);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(random());
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[i] = {static_cast<std::uint8_t>(i), 1, static_cast<std::uint8_t>(255 - i), 0};
    const std::string file = Encode(bitmap);
    ASSERT_EQ(file.substr(0, 8), Signature());
    const auto chunks = Chunks(file);
    ASSERT_GE(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].Type, "IHDR");
    EXPECT_EQ(chunks[0].Data, Header(300, 300, 8, 3).substr(8, 13));
    EXPECT_EQ(chunks[1].Type, "PLTE");
    EXPECT_EQ(chunks[1].Data.size(), 768u);
    // Incompressible data: full 65536-byte IDATs, then a shorter last one, then an empty IEND.
    for (std::size_t i = 2; i + 2 < chunks.size(); ++i)
        EXPECT_EQ(chunks[i].Data.size(), 65536u);
    EXPECT_LT(chunks[chunks.size() - 2].Data.size(), 65536u);
    EXPECT_EQ(chunks.back().Type, "IEND");
    EXPECT_TRUE(chunks.back().Data.empty());
    for (const auto& chunk : chunks)
        EXPECT_TRUE(chunk.CrcGood) << chunk.Type;

    const TBitmap back = Decode(file);
    EXPECT_EQ(back.Palette(), bitmap.Palette());
    for (int y = 0; y < 300; ++y)
        ASSERT_EQ(std::memcmp(back.ScanLine(y), bitmap.ScanLine(y), 300), 0);
}

TEST(PngWriter, TruecolourIsRgbInTheFileAndFewerBitsBecomeEight) {
    TBitmap colour(2, 1, TPixelFormat::pf24bit);
    const std::uint8_t bgr[6] = {1, 2, 3, 4, 5, 6};
    std::memcpy(colour.ScanLine(0), bgr, 6);
    const std::string file = Encode(colour);
    EXPECT_EQ(file[8 + 8 + 9], 2);  // colour type
    const auto chunks = Chunks(file);
    std::string raw(7, '\0');
    uLongf size = 7;
    uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(chunks[1].Data.data()),
               static_cast<uLong>(chunks[1].Data.size()));
    EXPECT_EQ(raw, std::string("\0\3\2\1\6\5\4", 7));
    const TBitmap back = Decode(file);
    EXPECT_EQ(std::memcmp(back.ScanLine(0), bgr, 6), 0);
    TOrlenSheet sheet;
    EXPECT_THROW(sheet.LoadFromBitmap(back), EInvalidGraphic);

    TBitmap nibbles(3, 1, TPixelFormat::pf4bit);
    nibbles.ScanLine(0)[0] = 0x1F;
    nibbles.ScanLine(0)[1] = 0x70;
    const TBitmap eight = Decode(Encode(nibbles));
    EXPECT_EQ(eight.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(std::vector<int>({eight.PixelIndex(0, 0), eight.PixelIndex(1, 0), eight.PixelIndex(2, 0)}),
              std::vector<int>({1, 15, 7}));
}
