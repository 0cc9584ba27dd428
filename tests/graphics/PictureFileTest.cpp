#include "DeclaredPicture.h"

#include "graphics/BmpCodec.h"
#include "graphics/ImageResources.h"
#include "graphics/OrlenZgf.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

using namespace quillon;

namespace {

TBitmap RandomBitmap(int width, int height, TPixelFormat format, unsigned seed) {
    TBitmap bitmap(width, height, format);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < bitmap.RowBytes(); ++x)
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(random());
    // Bits past the last pixel of a row are not part of the picture.
    const int spare = bitmap.RowBytes() * 8 - width * bitmap.BitsPerPixel();
    for (int y = 0; y < height; ++y)
        bitmap.ScanLine(y)[bitmap.RowBytes() - 1] &= static_cast<std::uint8_t>(0xFF << spare);
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[i] = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(random()), 0};
    return bitmap;
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    ASSERT_EQ(a.PixelFormat(), b.PixelFormat());
    for (int y = 0; y < a.Height(); ++y)
        ASSERT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<std::size_t>(a.RowBytes())), 0) << y;
}

template <typename Reader>
std::string Message(Reader read, const std::string& bytes) {
    try {
        TByteViewStream stream(bytes);
        TBitmap bitmap;
        read(stream, bitmap, TPictureHeaderCheck());
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

std::string Zgf(int width, int height, const std::string& payload) {
    std::string out = "ZGF1";
    out += {static_cast<char>(width), static_cast<char>(width >> 8), static_cast<char>(height),
            static_cast<char>(height >> 8)};
    return out + payload;
}

std::string Bytes16(int v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Bytes32(std::uint32_t v) { return Bytes16(static_cast<int>(v & 0xFFFF)) + Bytes16(static_cast<int>(v >> 16)); }

// A bitmap file with a 40-byte header and the given palette entries (blue, green, red, 0 each).
std::string Bmp(int width, int height, int bits, int compression, const std::string& palette, const std::string& data) {
    const std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size());
    return "BM" + Bytes32(offset + static_cast<std::uint32_t>(data.size())) + Bytes32(0) + Bytes32(offset) +
           Bytes32(40) + Bytes32(static_cast<std::uint32_t>(width)) + Bytes32(static_cast<std::uint32_t>(height)) +
           Bytes16(1) + Bytes16(bits) + Bytes32(static_cast<std::uint32_t>(compression)) + Bytes32(0) +
           Bytes32(0) + Bytes32(0) + Bytes32(static_cast<std::uint32_t>(palette.size() / 4)) + Bytes32(0) +
           palette + data;
}

class PictureFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) { return (mFolder / name).string(); }
    void SetUp() override {
        mFolder = std::filesystem::temp_directory_path() /
                  ("quillon-picture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }
    std::filesystem::path mFolder;
};

}  // namespace

TEST(ZgfCodec, RoundTripAndLayout) {
    const TBitmap bitmap = RandomBitmap(33, 17, TPixelFormat::pf8bit, 1);
    TMemoryStream stream;
    stream.Write("junk", 4);  // the picture need not start the stream
    WriteZgf(stream, bitmap);
    const std::string file = stream.Bytes().substr(4);
    EXPECT_EQ(file.substr(0, 8), Zgf(33, 17, ""));
    std::string raw(768 + 33 * 17, '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
                         reinterpret_cast<const Bytef*>(file.data() + 8), static_cast<uLong>(file.size() - 8)),
              Z_OK);
    EXPECT_EQ(size, raw.size());
    EXPECT_EQ(static_cast<std::uint8_t>(raw[3 * 200 + 1]), bitmap.Palette()[200].Green);
    EXPECT_EQ(std::memcmp(raw.data() + 768 + 33 * 16, bitmap.ScanLine(16), 33), 0);

    stream.SetPosition(4);
    TBitmap back;
    ReadZgf(stream, back);
    ExpectSamePixels(back, bitmap);
    EXPECT_EQ(back.Palette(), bitmap.Palette());
}

TEST(ZgfCodec, RefusalsAndShortData) {
    EXPECT_EQ(Message(ReadZgf, "ZGF2\1\0\1\0"), kInvalidZgfText);
    EXPECT_EQ(Message(ReadZgf, "ZGF1\1\0"), kInvalidZgfText);
    EXPECT_EQ(Message(ReadZgf, Zgf(20000, 1, std::string(100, 'x'))), kInvalidZgfText);
    EXPECT_EQ(Message(ReadZgf, Zgf(16000, 16000, std::string(100, 'x'))), kInvalidZgfText);
    EXPECT_EQ(Message(ReadZgf, Zgf(4, 4, "\x78\x9c\xff\xff")), "Zlib Error");
    // Data longer than the picture does not fit the buffer; data that ends early leaves zeros.
    std::string full(768 + 8, '\x05');
    uLongf size = compressBound(static_cast<uLong>(full.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(full.data()),
             static_cast<uLong>(full.size()));
    packed.resize(size);
    EXPECT_EQ(Message(ReadZgf, Zgf(2, 2, packed)), "Zlib Error");
    const std::string file = Zgf(4, 4, packed);
    TByteViewStream stream(file);
    TBitmap bitmap;
    ReadZgf(stream, bitmap);
    EXPECT_EQ(bitmap.PixelIndex(3, 1), 5);
    EXPECT_EQ(bitmap.PixelIndex(0, 2), 0);
}

TEST(BmpCodec, RoundTripEveryDepth) {
    for (const TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                      TPixelFormat::pf24bit}) {
        const TBitmap bitmap = RandomBitmap(13, 7, format, 2);
        TMemoryStream stream;
        WriteBmp(stream, bitmap);
        const int bits = static_cast<int>(format);
        const std::size_t stride = ((13 * bits + 31) / 32) * 4;
        const std::size_t colours = bits <= 8 ? 1u << bits : 0;
        EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(54 + colours * 4 + stride * 7));
        stream.SetPosition(0);
        TBitmap back;
        ReadBmp(stream, back);
        ExpectSamePixels(back, bitmap);
        for (std::size_t i = 0; i < colours; ++i)
            ASSERT_EQ(back.Palette()[i], bitmap.Palette()[i]);
    }
}

TEST(BmpCodec, TopDownCoreHeaderAndRle8) {
    // 2 × 2, 8 bits, top-down: rows are stored in order, each padded to 4 bytes.
    const std::string palette = std::string("\3\2\1\0", 4) + std::string("\6\5\4\0", 4);
    const std::string topDownFile = Bmp(2, -2, 8, 0, palette, std::string("\1\0\0\0\0\1\0\0", 8));
    TByteViewStream topDown(topDownFile);
    TBitmap bitmap;
    ReadBmp(topDown, bitmap);
    EXPECT_EQ(bitmap.PixelIndex(0, 0), 1);
    EXPECT_EQ(bitmap.PixelIndex(1, 1), 1);
    EXPECT_EQ(bitmap.Palette()[1], (TPaletteEntry{4, 5, 6, 0}));

    // 12-byte header with 3-byte palette entries.
    const std::string core = "BM" + Bytes32(0) + Bytes32(0) + Bytes32(14 + 12 + 6) + Bytes32(12) + Bytes16(1) +
                             Bytes16(1) + Bytes16(1) + Bytes16(1) + std::string("\0\0\0\xff\xff\xff", 6) +
                             std::string("\x80\0\0\0", 4);
    TByteViewStream coreStream(core);
    ReadBmp(coreStream, bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(bitmap.PixelIndex(0, 0), 1);
    EXPECT_EQ(bitmap.Palette()[1], (TPaletteEntry{255, 255, 255, 0}));

    // Bottom row: a run of 3 × 7, 3 absolute pixels (padded, the last one past the row end), end of
    // line; a delta to (1, 2); a run of 9 cut at the row end; end of bitmap.
    const std::string rle = std::string("\3\7\0\3\1\2\3\0\0\0", 10) + std::string("\0\2\1\1", 4) +
                            std::string("\x09\x04\0\1", 4);
    const std::string rleFile = Bmp(5, 3, 8, 1, palette, rle);
    TByteViewStream rleStream(rleFile);
    ReadBmp(rleStream, bitmap);
    const std::vector<std::vector<int>> expected = {{0, 4, 4, 4, 4}, {0, 0, 0, 0, 0}, {7, 7, 7, 1, 2}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(bitmap.PixelIndex(x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpCodec, Refusals) {
    EXPECT_EQ(Message(ReadBmp, "XX"), kInvalidBmpText);
    EXPECT_EQ(Message(ReadBmp, Bmp(4, 4, 24, 0, "", std::string(15, '\0'))), kInvalidBmpText);
    EXPECT_EQ(Message(ReadBmp, Bmp(20000, 1, 24, 0, "", "")), kInvalidBmpText);
    EXPECT_EQ(Message(ReadBmp, Bmp(16000, 16000, 8, 1, std::string(4, '\0'), std::string(64, '\0'))), kInvalidBmpText);
    EXPECT_EQ(Message(ReadBmp, Bmp(4, 4, 16, 0, "", std::string(32, '\0'))), kUnsupportedBmpText);
    EXPECT_EQ(Message(ReadBmp, Bmp(4, 4, 24, 3, "", std::string(64, '\0'))), kUnsupportedBmpText);
    EXPECT_EQ(Message(ReadBmp, Bmp(4, -4, 8, 1, "", std::string(64, '\0'))), kUnsupportedBmpText);
}

TEST(PictureHeaders, EveryReaderShowsTheHeaderBeforeItDecodes) {
    // Files with enough data behind their header for a reader to start on 16384 x 16384 pixels:
    // refused by the check, the reader has allocated nothing (the bitmap is as it was).
    struct TSeen {
        int Width = -1, Height = -1;
        TPixelFormat Format{};
    };
    for (const char* kind : {"png", "zgf", "bmp"}) {
        SCOPED_TRACE(kind);
        const std::string bytes = pngtest::DeclaredPicture(kind, 16384, 16384, std::string(kind) == "bmp" ? 65536 : 262144);
        TByteViewStream stream(bytes);
        TBitmap bitmap;
        TSeen seen;
        const TPictureHeaderCheck refuse = [&seen](int width, int height, TPixelFormat format) {
            seen = {width, height, format};
            throw std::runtime_error("refused");
        };
        EXPECT_THROW(LoadPicture(bitmap, stream, refuse), std::runtime_error);
        EXPECT_EQ(seen.Width, 16384);
        EXPECT_EQ(seen.Height, 16384);
        EXPECT_EQ(seen.Format, TPixelFormat::pf8bit);
        EXPECT_TRUE(bitmap.Empty());
    }
    // A picture the check lets pass is read as it would be without one.
    for (const TPixelFormat format : {TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf24bit}) {
        for (const char* name : {"a.bmp", "a.png", "a.zgf"}) {
            TMemoryStream file;
            SavePicture(RandomBitmap(13, 7, format, 3), file, name);
            file.SetPosition(0);
            TBitmap read;
            TSeen seen;
            LoadPicture(read, file, [&seen](int width, int height, TPixelFormat f) { seen = {width, height, f}; });
            EXPECT_EQ(seen.Width, 13) << name;
            EXPECT_EQ(seen.Height, 7) << name;
            EXPECT_EQ(seen.Format, read.PixelFormat()) << name;
        }
    }
}

TEST_F(PictureFiles, ReaderByContentWriterByExtension) {
    const TBitmap bitmap = RandomBitmap(9, 5, TPixelFormat::pf8bit, 3);
    // Saved by extension (in any letter case), then read back under a name that hides the kind.
    for (const char* name : {"a.PNG", "b.zgf", "c.bmp", "d"}) {
        SavePicture(bitmap, Path(name));
        std::filesystem::rename(Path(name), Path("picture.dat"));
        TBitmap back;
        LoadPicture(back, Path("picture.dat"));
        ExpectSamePixels(back, bitmap);
        EXPECT_EQ(back.Palette(), bitmap.Palette()) << name;
    }
    const std::string written = ReadWholeFile(Path("picture.dat"));
    EXPECT_EQ(written.substr(0, 2), "BM");
    EXPECT_EQ(PictureExtension("/x.y/file"), "");
    EXPECT_EQ(PictureExtension("/x/file.ZgF"), ".zgf");
}

TEST_F(PictureFiles, EmptyAndForeignFiles) {
    auto message = [&](const std::string& bytes) {
        WriteFileAtomic(Path("f"), bytes);
        try {
            TBitmap bitmap;
            LoadPicture(bitmap, Path("f"));
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(Bmp(0, 5, 24, 0, "", "")), kEmptyBitmapText);
    EXPECT_EQ(message(Zgf(0, 0, std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8))), kEmptyBitmapText);
    EXPECT_EQ(message("GIF89a"), kInvalidBmpText);
    EXPECT_EQ(message(""), kInvalidBmpText);
    EXPECT_THROW(
        {
            TBitmap bitmap;
            LoadPicture(bitmap, Path("missing"));
        },
        EFileError);
}

TEST_F(PictureFiles, ImageResourcesProjectBeforeRunTimePackageExtensionsInOrder) {
    const TBitmap bitmap = RandomBitmap(4, 4, TPixelFormat::pf8bit, 4);
    std::filesystem::create_directories(Path("project/chipset"));
    std::filesystem::create_directories(Path("rtp/ChipSet"));
    SavePicture(bitmap, Path("project/chipset/Hero1.ZGF"));
    SavePicture(bitmap, Path("project/chipset/hero1.png"));
    SavePicture(bitmap, Path("rtp/ChipSet/Hero1.bmp"));
    SavePicture(bitmap, Path("rtp/ChipSet/Town.zgf"));
    const TImageFinder find = FolderImageFinder({Path("project"), Path("rtp")});
    EXPECT_EQ(find("ChipSet", "Hero1"), Path("project/chipset/hero1.png"));
    EXPECT_EQ(find("ChipSet", "town"), Path("rtp/ChipSet/Town.zgf"));
    EXPECT_EQ(find("ChipSet", "Nowhere"), "Nowhere");
    EXPECT_EQ(find("ChipSet", ""), "");
    TOrlenSheet sheet;
    sheet.AutoSize = true;
    LoadSheetResource(sheet, find, "ChipSet", "Town", true);
    EXPECT_EQ(sheet.Width(), 4);
    EXPECT_EQ(sheet.ScanLine(3)[2], bitmap.ScanLine(3)[2]);
    EXPECT_THROW(LoadSheetResource(sheet, find, "ChipSet", "Nowhere", true), EFileError);
}
