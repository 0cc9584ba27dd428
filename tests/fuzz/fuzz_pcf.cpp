// Feeds arbitrary bytes to the game's bitmap-font reader: a font it accepts answers every
// encoding with a glyph inside the font or -1, and every glyph's rows and advance can be read.
#include "runtime/PcfFont.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quillon::runtime::TPcfFont;
    std::string error;
    const auto font = TPcfFont::Read(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!font) {
        if (error.empty())
            std::abort();  // a refusal always says why
        return 0;
    }
    if (font->Height() <= 0 || font->Height() > 256)
        std::abort();
    unsigned sum = 0;
    for (int code = -1; code <= 0x10000; ++code) {
        const int glyph = font->GlyphIndex(code);
        if (glyph < -1 || glyph >= font->GlyphCount())
            std::abort();
    }
    for (int glyph = 0; glyph < font->GlyphCount(); ++glyph) {
        const std::uint16_t* rows = font->Rows(glyph);
        for (int y = 0; y < font->Height(); ++y)
            sum += rows[y];
        sum += static_cast<unsigned>(font->Advance(glyph));
    }
    return static_cast<int>(sum & 0);
}
