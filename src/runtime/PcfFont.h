// A reader of bitmap fonts in the X11 portable compiled format (PCF), plain or gzip-compressed.
// It keeps what drawing needs: each glyph's advance and its rows on the font's line box, looked up
// by the font's encoding (byte2, or byte1 * 256 + byte2 for two-byte encodings). A damaged file is
// refused with a message; nothing in it is trusted for a size or an offset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::runtime {

class TPcfFont {
public:
    // Glyph rows are at most this wide: bit 15 of a row is its leftmost pixel.
    static constexpr int kMaxGlyphWidth = 16;

    // Reads a font from its bytes (gzip data is inflated first). Answers null and sets error when
    // the data is not a sound PCF font.
    static std::unique_ptr<TPcfFont> Read(std::string_view bytes, std::string& error);
    // Reads a font file; the error names the file.
    static std::unique_ptr<TPcfFont> ReadFile(const std::string& path, std::string& error);

    int Ascent() const { return mAscent; }
    int Descent() const { return mDescent; }
    int Height() const { return mAscent + mDescent; }
    int GlyphCount() const { return static_cast<int>(mAdvance.size()); }

    // The glyph of an encoding, or -1 when the font has none.
    int GlyphIndex(int code) const;
    int Advance(int glyph) const { return mAdvance[static_cast<std::size_t>(glyph)]; }
    // Height() rows of the glyph, each a mask with bit 15 the line box's leftmost pixel.
    const std::uint16_t* Rows(int glyph) const {
        return mRows.data() + static_cast<std::size_t>(glyph) * static_cast<std::size_t>(Height());
    }

private:
    TPcfFont() = default;
    friend class TPcfReader;

    int mAscent = 0;
    int mDescent = 0;
    int mFirstCol = 0;
    int mLastCol = -1;
    int mFirstRow = 0;
    int mLastRow = -1;
    std::vector<std::int32_t> mEncoding;  // code → glyph, -1 for none
    std::vector<int> mAdvance;
    std::vector<std::uint16_t> mRows;
};

}  // namespace quillon::runtime
