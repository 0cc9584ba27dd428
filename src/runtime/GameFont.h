// The game's font: 12-pixel bitmap glyphs for code page 932 text, half-width (6 px) for ASCII and
// the half-width kana, full-width (12 px) for the double-byte characters. The glyphs come from the
// system's Shinonome bitmap fonts (Debian package xfonts-shinonome); a character the fonts do not
// hold, a byte that is no character, or every character when the font files are missing, draws as
// a box of its width, so text never stops the game.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillon::runtime {

class TPcfFont;

inline constexpr int kGlyphHeight = 12;
inline constexpr int kHalfWidth = 6;
inline constexpr int kFullWidth = 12;

// Where a character's glyph comes from.
enum class TCharSet : std::uint8_t {
    Latin,    // a single byte 0x20..0x7E: the ISO 8859-1 font
    Kana,     // a single byte 0xA1..0xDF: the JIS X 0201 font
    Kanji,    // a lead and a trail byte: the JIS X 0208 font at row * 256 + cell
    Invalid,  // a control byte, an unused byte, a lead byte without its trail: a box
};

// One character of code page 932 text.
struct TCp932Char {
    std::size_t Length = 1;  // bytes it takes: 1 or 2
    TCharSet Set = TCharSet::Invalid;
    int Code = 0;            // the font's encoding (the byte, or JIS row * 256 + cell)
    int Width = kHalfWidth;  // its advance on the screen
    bool operator==(const TCp932Char&) const = default;
};

// The character that starts at pos (pos < text.size()). A lead byte whose trail is missing or not a
// trail byte is one Invalid byte, so the next byte is read as a character of its own.
TCp932Char DecodeCp932(std::string_view text, std::size_t pos);

// Twelve rows of one glyph, bit 15 the leftmost pixel.
using TGlyphRows = std::array<std::uint16_t, kGlyphHeight>;

class TGameFont {
public:
    // The font of a style (0 the first font: gothic; 1 the second: mincho for the full-width
    // characters) from the font files of a folder. Files that are missing or damaged leave boxes
    // for their characters; error lists them ("" when all were read).
    static std::unique_ptr<TGameFont> Load(const std::string& folder, int style, std::string& error);
    // The font of a style from the system's font folder, loaded once per process.
    static const TGameFont& Shared(int style);
    // The folder Shared reads.
    static const char* SystemFolder();

    ~TGameFont();
    TGameFont(const TGameFont&) = delete;
    TGameFont& operator=(const TGameFont&) = delete;

    // Whether the fonts hold the character's glyph (false for Invalid characters).
    bool HasGlyph(const TCp932Char& c) const;
    // The character's glyph on the 12-pixel line, its baseline at row 10; a box when missing.
    TGlyphRows Glyph(const TCp932Char& c) const;
    // The width of a text in pixels.
    static int Measure(std::string_view text);

private:
    TGameFont();
    const TPcfFont* FontOf(TCharSet set) const;

    std::unique_ptr<TPcfFont> mLatin;
    std::unique_ptr<TPcfFont> mKana;
    std::unique_ptr<TPcfFont> mKanji;
};

}  // namespace quillon::runtime
