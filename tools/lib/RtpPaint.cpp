#include "tools/lib/RtpPaint.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace quillon::rtp {

namespace {

struct TRgb {
    int R, G, B;
};
// Darkest, middle and lightest colour of each ramp.
constexpr TRgb kRamps[rCount][3] = {
    {{18, 18, 26}, {120, 120, 128}, {250, 250, 250}},     // grey
    {{22, 60, 20}, {78, 152, 52}, {186, 228, 120}},       // grass green
    {{8, 36, 18}, {36, 104, 44}, {120, 186, 88}},         // leaf
    {{52, 30, 14}, {136, 92, 52}, {214, 176, 124}},       // dirt
    {{110, 86, 44}, {216, 190, 120}, {252, 240, 196}},    // sand
    {{20, 56, 120}, {48, 120, 208}, {200, 236, 255}},     // water
    {{6, 16, 60}, {20, 52, 140}, {110, 160, 230}},        // deep water
    {{48, 24, 8}, {128, 76, 36}, {220, 170, 110}},        // wood
    {{70, 12, 10}, {178, 50, 36}, {250, 150, 120}},       // red roof
    {{20, 28, 60}, {64, 84, 150}, {160, 180, 236}},       // slate roof
    {{96, 52, 34}, {226, 166, 124}, {255, 228, 204}},     // skin
    {{16, 12, 10}, {70, 46, 30}, {150, 110, 80}},         // dark hair
    {{110, 74, 10}, {226, 186, 60}, {255, 246, 176}},     // blond
    {{70, 8, 12}, {190, 30, 40}, {255, 140, 140}},        // red cloth
    {{10, 20, 70}, {40, 70, 190}, {150, 180, 255}},       // blue cloth
    {{40, 10, 60}, {120, 50, 160}, {214, 160, 240}},      // purple
    {{90, 60, 0}, {220, 170, 20}, {255, 245, 150}},       // gold
    {{120, 136, 160}, {216, 226, 240}, {255, 255, 255}},  // snow
    {{40, 40, 44}, {128, 124, 118}, {218, 214, 204}},     // stone
    {{110, 10, 0}, {240, 110, 10}, {255, 250, 160}},      // fire
    {{60, 110, 200}, {120, 176, 240}, {230, 244, 255}},   // sky
    {{40, 110, 140}, {120, 210, 235}, {235, 255, 255}},   // ice
    {{110, 30, 70}, {230, 110, 160}, {255, 210, 230}},    // pink
    {{10, 70, 60}, {40, 180, 140}, {190, 255, 220}},      // slime
    {{60, 40, 26}, {150, 116, 80}, {230, 210, 170}},      // fur
    {{110, 84, 50}, {222, 200, 150}, {255, 250, 228}},    // paper
    {{70, 20, 14}, {160, 64, 44}, {230, 150, 120}},       // brick
    {{34, 40, 14}, {96, 110, 40}, {180, 190, 110}},       // moss
};

TRgb Shade(const TRgb (&ramp)[3], int s) {
    auto mix = [](const TRgb& a, const TRgb& b, int num, int den) {
        return TRgb{a.R + (b.R - a.R) * num / den, a.G + (b.G - a.G) * num / den, a.B + (b.B - a.B) * num / den};
    };
    return s < 4 ? mix(ramp[0], ramp[1], s, 4) : mix(ramp[1], ramp[2], s - 4, 3);
}

}  // namespace

TPalette256 MakePalette() {
    TPalette256 palette{};
    palette[kClear] = {0, 128, 128, 0};
    for (int r = 0; r < rCount; ++r)
        for (int s = 0; s < 8; ++s) {
            const TRgb c = Shade(kRamps[r], s);
            palette[Ink(static_cast<TRamp>(r), s)] = {static_cast<std::uint8_t>(c.R), static_cast<std::uint8_t>(c.G),
                                                      static_cast<std::uint8_t>(c.B), 0};
        }
    // The unused entries repeat a dark grey so that no entry shares the transparent colour.
    for (int i = 1 + rCount * 8; i < 256; ++i)
        palette[static_cast<std::size_t>(i)] = {8, 8, 8, 0};
    return palette;
}

std::uint32_t Hash(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

void TPainter::Fill(int x, int y, int w, int h, std::uint8_t c) {
    Each(x, y, w, h, [c](int, int) { return c; });
}

void TPainter::Frame(int x, int y, int w, int h, std::uint8_t c) {
    Fill(x, y, w, 1, c);
    Fill(x, y + h - 1, w, 1, c);
    Fill(x, y, 1, h, c);
    Fill(x + w - 1, y, 1, h, c);
}

void TPainter::Line(int x0, int y0, int x1, int y1, std::uint8_t c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Put(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void TPainter::Ellipse(double cx, double cy, double rx, double ry, std::uint8_t c) {
    Each(static_cast<int>(std::floor(cx - rx)), static_cast<int>(std::floor(cy - ry)), static_cast<int>(2 * rx) + 2,
         static_cast<int>(2 * ry) + 2, [&](int x, int y) {
             const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
             return u * u + v * v <= 1.0 ? c : -1;
         });
}

void TPainter::Ball(double cx, double cy, double rx, double ry, TRamp ramp, int shade) {
    Each(static_cast<int>(std::floor(cx - rx)), static_cast<int>(std::floor(cy - ry)), static_cast<int>(2 * rx) + 2,
         static_cast<int>(2 * ry) + 2, [&](int x, int y) {
             const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
             if (u * u + v * v > 1.0)
                 return -1;
             const double light = -(u + v) * 0.7 + 0.3 * (1 - u * u - v * v);
             return static_cast<int>(Ink(ramp, shade + static_cast<int>(std::lround(light * 2.2))));
         });
}

void TPainter::Outline(int x0, int y0, int w, int h, std::uint8_t c) {
    auto drawn = [&](int x, int y) {
        if (x < x0 || y < y0 || x >= x0 + w || y >= y0 + h)
            return false;
        const std::uint8_t p = Get(x, y);
        return p != kClear && p != c;
    };
    std::vector<std::pair<int, int>> marks;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (Get(x, y) == kClear && (drawn(x - 1, y) || drawn(x + 1, y) || drawn(x, y - 1) || drawn(x, y + 1)))
                marks.emplace_back(x, y);
    for (const auto& [x, y] : marks)
        Put(x, y, c);
}

void TPainter::Copy(int sx, int sy, int w, int h, int dx, int dy, bool mirror) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            block[static_cast<std::size_t>(y * w + x)] = Get(sx + x, sy + y);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            Put(dx + (mirror ? w - 1 - x : x), dy + y, block[static_cast<std::size_t>(y * w + x)]);
}

TBitmap NewImage(int width, int height, std::uint8_t c) {
    TBitmap bitmap(width, height, TPixelFormat::pf8bit);
    bitmap.Palette() = MakePalette();
    TPainter(bitmap).Fill(0, 0, width, height, c);
    return bitmap;
}

}  // namespace quillon::rtp
