#include "runtime/GameFont.h"

#include "runtime/PcfFont.h"

#include <cstdio>
#include <mutex>

namespace quillon::runtime {

namespace {

// Baseline of the 12-pixel line: ten rows above it, two below.
constexpr int kBaseline = 10;

bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The font files of each style: half-width Latin, half-width kana, full-width.
struct TFontFiles {
    const char* Latin;
    const char* Kana;
    const char* Kanji;
};
constexpr TFontFiles kStyles[2] = {
    {"shnm6x12a.pcf.gz", "shnm6x12r.pcf.gz", "shnmk12.pcf.gz"},
    {"shnm6x12a.pcf.gz", "shnm6x12r.pcf.gz", "shnmk12min.pcf.gz"},
};

// A box filling the character's cell but one pixel round it, over rows 1..10.
TGlyphRows BoxGlyph(int width) {
    TGlyphRows rows{};
    const int right = width - 2;  // the box's last column
    const auto full = static_cast<std::uint16_t>((0xFFFFu << (15 - right)) & 0x7FFFu);
    const auto sides = static_cast<std::uint16_t>(0x4000u | (0x8000u >> right));
    for (int y = 1; y <= kBaseline; ++y)
        rows[static_cast<std::size_t>(y)] = (y == 1 || y == kBaseline) ? full : sides;
    return rows;
}

}  // namespace

TCp932Char DecodeCp932(std::string_view text, std::size_t pos) {
    TCp932Char c;
    const auto b = static_cast<std::uint8_t>(text[pos]);
    if (b >= 0x20 && b <= 0x7E) {
        c.Set = TCharSet::Latin;
        c.Code = b;
    } else if (b >= 0xA1 && b <= 0xDF) {
        c.Set = TCharSet::Kana;
        c.Code = b;
    } else if (IsLeadByte(b) && pos + 1 < text.size() && IsTrailByte(static_cast<std::uint8_t>(text[pos + 1]))) {
        const unsigned trail = static_cast<std::uint8_t>(text[pos + 1]);
        unsigned row = (b <= 0x9F ? b - 0x81 : b - 0xC1) * 2 + 0x21;
        unsigned cell;
        if (trail >= 0x9F) {
            ++row;
            cell = trail - 0x7E;
        } else {
            cell = trail - (trail >= 0x80 ? 0x20 : 0x1F);
        }
        c.Length = 2;
        c.Set = TCharSet::Kanji;
        c.Code = static_cast<int>(row << 8 | cell);
        c.Width = kFullWidth;
    }
    return c;
}

TGameFont::TGameFont() = default;
TGameFont::~TGameFont() = default;

std::unique_ptr<TGameFont> TGameFont::Load(const std::string& folder, int style, std::string& error) {
    const TFontFiles& files = kStyles[style == 1 ? 1 : 0];
    std::unique_ptr<TGameFont> font(new TGameFont());
    error.clear();
    auto read = [&](const char* name) {
        std::string problem;
        std::unique_ptr<TPcfFont> pcf = TPcfFont::ReadFile(folder + "/" + name, problem);
        if (!pcf)
            error += (error.empty() ? "" : "\n") + problem;
        return pcf;
    };
    font->mLatin = read(files.Latin);
    font->mKana = read(files.Kana);
    font->mKanji = read(files.Kanji);
    return font;
}

const char* TGameFont::SystemFolder() { return "/usr/share/fonts/X11/misc"; }

const TGameFont& TGameFont::Shared(int style) {
    static std::unique_ptr<TGameFont> fonts[2];
    static std::once_flag once[2];
    const int s = style == 1 ? 1 : 0;
    std::call_once(once[s], [s] {
        std::string error;
        fonts[s] = Load(SystemFolder(), s, error);
        if (!error.empty())
            std::fprintf(stderr, "%s\nText is drawn as boxes (install the package xfonts-shinonome).\n",
                         error.c_str());
    });
    return *fonts[s];
}

const TPcfFont* TGameFont::FontOf(TCharSet set) const {
    switch (set) {
    case TCharSet::Latin:
        return mLatin.get();
    case TCharSet::Kana:
        return mKana.get();
    case TCharSet::Kanji:
        return mKanji.get();
    case TCharSet::Invalid:
        break;
    }
    return nullptr;
}

bool TGameFont::HasGlyph(const TCp932Char& c) const {
    const TPcfFont* font = FontOf(c.Set);
    return font && font->GlyphIndex(c.Code) >= 0;
}

TGlyphRows TGameFont::Glyph(const TCp932Char& c) const {
    const TPcfFont* font = FontOf(c.Set);
    const int glyph = font ? font->GlyphIndex(c.Code) : -1;
    if (glyph < 0)
        return BoxGlyph(c.Width);
    TGlyphRows rows{};
    const std::uint16_t* source = font->Rows(glyph);
    // Only the columns of the character's cell are kept, so a glyph never draws over its neighbour.
    const auto cell = static_cast<std::uint16_t>(0xFFFFu << (16 - c.Width));
    for (int y = 0; y < kGlyphHeight; ++y) {
        const int line = y - kBaseline + font->Ascent();
        if (line >= 0 && line < font->Height())
            rows[static_cast<std::size_t>(y)] = static_cast<std::uint16_t>(source[line] & cell);
    }
    return rows;
}

int TGameFont::Measure(std::string_view text) {
    int width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const TCp932Char c = DecodeCp932(text, pos);
        width += c.Width;
        pos += c.Length;
    }
    return width;
}

}  // namespace quillon::runtime
