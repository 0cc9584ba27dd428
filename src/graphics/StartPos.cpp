#include "graphics/StartPos.h"

#include <cmath>
#include <cstdint>

namespace quillon {

namespace {

// Palette of the strips; 0 is never drawn.
enum : std::uint8_t { ciClear = 0, ciOutline, ciWhite, ciParty, ciBoat, ciShip, ciAirship, ciEvent };

constexpr TPaletteEntry kMarkPalette[] = {
    {0, 0, 0, 0},       {0, 0, 0, 0},     {255, 255, 255, 0}, {224, 32, 32, 0},
    {160, 96, 32, 0},   {32, 96, 224, 0}, {32, 176, 64, 0},   {248, 216, 32, 0},
};

// Letters shown on the badges at cell sizes 16 and 32: 5 x 7, most significant of 5 bits leftmost.
constexpr std::uint8_t kGlyphs[4][7] = {
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},  // P
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},  // B
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E},  // S
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
};

// The colour index of pixel (px, py) of mark `mark` in a size x size cell.
std::uint8_t MarkPixel(int mark, int px, int py, int size) {
    const double centre = (size - 1) / 2.0;
    const double radius = size / 2.0 - 0.25;
    const int line = size >= 16 ? size / 16 : 1;
    if (mark == TStartPosMark::smEvent) {
        // A square frame, yellow with a black rim.
        const int inset = size >= 8 ? size / 8 : 0;
        if (px < inset || py < inset || px >= size - inset || py >= size - inset)
            return ciClear;
        const int edge = std::min(std::min(px - inset, py - inset), std::min(size - 1 - inset - px, size - 1 - inset - py));
        if (edge < line)
            return ciOutline;
        if (size >= 8 && edge >= line + std::max(1, size / 8))
            return ciClear;
        return ciEvent;
    }
    const double distance = std::hypot(px - centre, py - centre);
    if (distance > radius)
        return ciClear;
    if (size >= 8 && distance > radius - line)
        return ciOutline;
    if (size >= 16) {
        // The letter in the middle: each glyph cell is size / 16 pixels (at least 1).
        const int cell = size / 16;
        const int left = (size - 5 * cell) / 2;
        const int top = (size - 7 * cell) / 2;
        const int gx = (px - left) / cell;
        const int gy = (py - top) / cell;
        if (px >= left && py >= top && gx < 5 && gy < 7 && (kGlyphs[mark][gy] & (0x10 >> gx)))
            return ciWhite;
    }
    return static_cast<std::uint8_t>(ciParty + mark);
}

}  // namespace

TStartPosMark::TStartPosMark() {
    for (std::size_t i = 0; i < kCellSizes.size(); ++i) {
        const int size = kCellSizes[i];
        TOrlenSheet& strip = mStrips[i];
        strip.SetSize(kMarkCount * size, size);
        for (int mark = 0; mark < kMarkCount; ++mark)
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    strip.ScanLine(y)[mark * size + x] = MarkPixel(mark, x, y, size);
        for (std::size_t c = 0; c < std::size(kMarkPalette); ++c)
            strip.Palette[c] = kMarkPalette[c];
        strip.Transparent = true;
        strip.UpdateColorTable();
    }
}

int TStartPosMark::StripIndex(int cellSize) {
    for (std::size_t i = 0; i < kCellSizes.size(); ++i)
        if (kCellSizes[i] == cellSize)
            return static_cast<int>(i);
    return -1;
}

const TOrlenSheet* TStartPosMark::Strip(int cellSize) const {
    const int index = StripIndex(cellSize);
    return index < 0 ? nullptr : &mStrips[static_cast<std::size_t>(index)];
}

void TStartPosMark::Draw(TOrlenBoard& board, int x, int y, int cellSize, int mark, bool dim) {
    const int index = StripIndex(cellSize);
    if (index < 0 || mark < 0 || mark >= kMarkCount)
        return;
    TOrlenSheet& strip = mStrips[static_cast<std::size_t>(index)];
    strip.Opacity = dim ? 128 : 255;
    board.DrawSheet(x, y, MakeBounds(mark * cellSize, 0, cellSize, cellSize), strip);
}

}  // namespace quillon
