#include "runtime/PcfFont.h"

#include "runtime/GameFont.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillon::runtime {
namespace {

// The system's half-width kana font, inflated, or empty when the font package is missing.
std::string KanaFontBytes() {
    const std::string path = std::string(TGameFont::SystemFolder()) + "/shnm6x12r.pcf.gz";
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file)
        return {};
    std::string bytes;
    char buffer[4096];
    int n = 0;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(n));
    gzclose(file);
    return bytes;
}

void PutLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::uint32_t GetLe32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

class PcfFont : public ::testing::Test {
protected:
    void SetUp() override {
        mBytes = KanaFontBytes();
        if (mBytes.empty())
            GTEST_SKIP() << "the package xfonts-shinonome is not installed";
    }
    std::string mBytes;
};

TEST_F(PcfFont, ReadsPlainAndCompressedFonts) {
    std::string error;
    const std::unique_ptr<TPcfFont> plain = TPcfFont::Read(mBytes, error);
    ASSERT_TRUE(plain) << error;
    EXPECT_EQ(plain->Height(), 12);
    EXPECT_GE(plain->GlyphIndex(0xB1), 0);
    EXPECT_EQ(plain->GlyphIndex(0x1B1), -1);  // a two-byte code the font does not cover
    EXPECT_EQ(plain->Advance(plain->GlyphIndex(0xB1)), 6);

    const std::unique_ptr<TPcfFont> packed =
        TPcfFont::ReadFile(std::string(TGameFont::SystemFolder()) + "/shnm6x12r.pcf.gz", error);
    ASSERT_TRUE(packed) << error;
    ASSERT_EQ(packed->GlyphCount(), plain->GlyphCount());
    const int g = plain->GlyphIndex(0xB1);
    EXPECT_TRUE(std::equal(plain->Rows(g), plain->Rows(g) + 12, packed->Rows(g)));
}

TEST_F(PcfFont, RefusesDamagedFonts) {
    const std::uint32_t tables = GetLe32(mBytes, 4);
    ASSERT_GT(tables, 0u);
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    std::vector<TCase> cases;
    cases.push_back({"empty", ""});
    cases.push_back({"not a font", "hello world, this is no font"});
    cases.push_back({"header only", mBytes.substr(0, 8)});
    cases.push_back({"cut in the table of contents", mBytes.substr(0, 20)});
    cases.push_back({"cut in half", mBytes.substr(0, mBytes.size() / 2)});
    std::string hugeCount = mBytes;
    PutLe32(hugeCount, 4, 0x7FFFFFFF);
    cases.push_back({"absurd table count", hugeCount});
    for (std::uint32_t t = 0; t < tables; ++t) {
        std::string outside = mBytes;
        PutLe32(outside, 8 + t * 16 + 12, 0xFFFFFF00u);  // the table's offset
        cases.push_back({"a table outside the file", outside});
    }
    // A gzip stream cut short.
    std::string packed(compressBound(static_cast<uLong>(mBytes.size())) + 64, '\0');
    {
        z_stream z{};
        ASSERT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
        z.next_in = reinterpret_cast<Bytef*>(mBytes.data());
        z.avail_in = static_cast<uInt>(mBytes.size());
        z.next_out = reinterpret_cast<Bytef*>(packed.data());
        z.avail_out = static_cast<uInt>(packed.size());
        ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        packed.resize(z.total_out);
        deflateEnd(&z);
    }
    std::string error;
    ASSERT_TRUE(TPcfFont::Read(packed, error)) << error;
    cases.push_back({"gzip cut short", packed.substr(0, packed.size() / 2)});
    std::string corrupt = packed;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
    cases.push_back({"gzip damaged", corrupt});

    for (const TCase& c : cases) {
        error.clear();
        EXPECT_FALSE(TPcfFont::Read(c.Bytes, error)) << c.Name;
        EXPECT_FALSE(error.empty()) << c.Name;
    }
}

TEST_F(PcfFont, ReadsTablesWhoseSizeReachesPastTheEnd) {
    const std::uint32_t tables = GetLe32(mBytes, 4);
    for (std::uint32_t t = 0; t < tables; ++t) {
        std::string longer = mBytes;
        PutLe32(longer, 8 + t * 16 + 8, 0x7FFFFFFF);  // the table's size
        std::string error;
        EXPECT_TRUE(TPcfFont::Read(longer, error)) << "table " << t << ": " << error;
    }
}

TEST_F(PcfFont, SurvivesFlippedBytes) {
    // Every byte of the tables' heads flipped in turn: refused or read, never a crash; what is read
    // keeps its glyph look-ups inside the font.
    const std::size_t limit = std::min<std::size_t>(mBytes.size(), 1200);
    for (std::size_t i = 0; i < limit; ++i) {
        std::string damaged = mBytes;
        damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
        std::string error;
        const std::unique_ptr<TPcfFont> font = TPcfFont::Read(damaged, error);
        if (!font)
            continue;
        for (int code = 0; code < 256; ++code) {
            const int g = font->GlyphIndex(code);
            ASSERT_LT(g, font->GlyphCount()) << "byte " << i;
        }
    }
}

TEST(PcfFontFile, NamesAMissingFile) {
    std::string error;
    EXPECT_FALSE(TPcfFont::ReadFile("/nonexistent/font.pcf.gz", error));
    EXPECT_NE(error.find("/nonexistent/font.pcf.gz"), std::string::npos);
}

}  // namespace
}  // namespace quillon::runtime
