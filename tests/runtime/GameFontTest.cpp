#include "runtime/GameFont.h"

#include "TextFixture.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

struct TDecodeCase {
    const char* Name;
    std::string Text;
    std::size_t Pos;
    TCp932Char Expected;
};

TEST(GameFont, DecodesCodePage932ToTheFontsEncodings) {
    using S = TCharSet;
    const TDecodeCase cases[] = {
        {"ASCII letter", "A", 0, {1, S::Latin, 0x41, 6}},
        {"backslash", "\\", 0, {1, S::Latin, 0x5C, 6}},
        {"half-width kana first", "\xA1", 0, {1, S::Kana, 0xA1, 6}},
        {"half-width kana last", "\xDF", 0, {1, S::Kana, 0xDF, 6}},
        {"ideographic space", "\x81\x40", 0, {2, S::Kanji, 0x2121, 12}},
        {"hiragana a", "\x82\xA0", 0, {2, S::Kanji, 0x2422, 12}},
        {"trail byte 0x9F starts the even row", "\x82\x9F", 0, {2, S::Kanji, 0x2421, 12}},
        {"trail byte 0x80 skips 0x7F", "\x81\x80", 0, {2, S::Kanji, 0x2160, 12}},
        {"katakana so (trail is a backslash byte)", "\x83\x5C", 0, {2, S::Kanji, 0x253D, 12}},
        {"first kanji", "\x88\x9F", 0, {2, S::Kanji, 0x3021, 12}},
        {"last lead of the low range", "\x9F\xFC", 0, {2, S::Kanji, 0x5E7E, 12}},
        {"first lead of the high range", "\xE0\x40", 0, {2, S::Kanji, 0x5F21, 12}},
        {"second character", "A\x88\x9F", 1, {2, S::Kanji, 0x3021, 12}},
        {"lead byte at the end", "A\x88", 1, {1, S::Invalid, 0, 6}},
        {"lead byte before a non-trail", "\x88\x20", 0, {1, S::Invalid, 0, 6}},
        {"lead byte before 0x7F", "\x88\x7F", 0, {1, S::Invalid, 0, 6}},
        {"unused byte 0x80", "\x80", 0, {1, S::Invalid, 0, 6}},
        {"unused byte 0xA0", "\xA0", 0, {1, S::Invalid, 0, 6}},
        {"unused byte 0xFD", "\xFD\x40", 0, {1, S::Invalid, 0, 6}},
        {"control byte", "\n", 0, {1, S::Invalid, 0, 6}},
        {"delete", "\x7F", 0, {1, S::Invalid, 0, 6}},
    };
    for (const TDecodeCase& c : cases)
        EXPECT_EQ(DecodeCp932(c.Text, c.Pos), c.Expected) << c.Name;
}

TEST(GameFont, MeasuresHalfAndFullWidths) {
    EXPECT_EQ(TGameFont::Measure(""), 0);
    EXPECT_EQ(TGameFont::Measure("Ab\xB1"), 18);
    EXPECT_EQ(TGameFont::Measure("\x82\xA0\x88\x9F"), 24);
    EXPECT_EQ(TGameFont::Measure("A\x88"), 12);  // the lone lead byte is a half-width box
}

int Pixels(const TGlyphRows& rows) {
    int n = 0;
    for (std::uint16_t row : rows)
        n += __builtin_popcount(row);
    return n;
}

// The columns of a glyph beyond its width are never set.
bool InsideWidth(const TGlyphRows& rows, int width) {
    const auto outside = static_cast<std::uint16_t>(0xFFFFu >> width);
    for (std::uint16_t row : rows)
        if (row & outside)
            return false;
    return true;
}

TEST(GameFont, SystemFontHasLatinKanaAndKanjiAndBoxesTheRest) {
    const TGameFont* font = test::SystemFontOrSkip();
    if (!font)
        GTEST_SKIP() << "the package xfonts-shinonome is not installed";
    const TCp932Char box = DecodeCp932("\x80", 0);
    const TGlyphRows boxRows = font->Glyph(box);
    EXPECT_FALSE(font->HasGlyph(box));
    struct TCase {
        const char* Text;
        bool Held;
    } cases[] = {
        {"A", true},          {"~", true},          {"\xB1", true},  // a half-width kana
        {"\x82\xA0", true},   {"\x88\x9F", true},   {"\x8A\xBF", true},
        {"\xF0\x40", false},  // a user-defined character
        {"\x85\x40", false},  // an empty row of the character set
    };
    for (const TCase& c : cases) {
        const TCp932Char ch = DecodeCp932(c.Text, 0);
        const TGlyphRows rows = font->Glyph(ch);
        EXPECT_EQ(font->HasGlyph(ch), c.Held) << c.Text;
        EXPECT_TRUE(InsideWidth(rows, ch.Width)) << c.Text;
        if (c.Held) {
            EXPECT_GT(Pixels(rows), 4) << c.Text;
            EXPECT_NE(rows, boxRows) << c.Text;
        } else {
            EXPECT_EQ(Pixels(rows), 2 * (ch.Width - 2) + 2 * 8) << c.Text << ": a box";
        }
    }
    // 'A' stands on the baseline: its lowest pixels are on row 9, nothing below row 10.
    const TGlyphRows a = font->Glyph(DecodeCp932("A", 0));
    EXPECT_NE(a[9], 0);
    EXPECT_EQ(a[11], 0);
    // The backslash byte is a backslash, not a yen sign: a diagonal from top left to bottom right.
    const TGlyphRows backslash = font->Glyph(DecodeCp932("\\", 0));
    int firstTop = -1, firstBottom = -1;
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 12; ++y)
            if (backslash[static_cast<std::size_t>(y)] & (0x8000u >> x)) {
                if (firstTop < 0)
                    firstTop = y;
                firstBottom = y;
                break;
            }
    }
    EXPECT_LT(firstTop, firstBottom);
}

TEST(GameFont, MissingFontFilesDrawBoxes) {
    std::string error;
    const std::unique_ptr<TGameFont> font = TGameFont::Load("/nonexistent-quillon-fonts", 0, error);
    ASSERT_TRUE(font);
    EXPECT_NE(error.find("shnmk12.pcf.gz"), std::string::npos) << error;
    for (const char* text : {"A", "\xB1", "\x88\x9F"}) {
        const TCp932Char c = DecodeCp932(text, 0);
        EXPECT_FALSE(font->HasGlyph(c));
        EXPECT_EQ(Pixels(font->Glyph(c)), 2 * (c.Width - 2) + 2 * 8) << text;
    }
}

}  // namespace
}  // namespace quillon::runtime
