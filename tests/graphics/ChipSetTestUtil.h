// A synthetic chipset in which every 8 x 8 quarter is distinct: row 0 of quarter (qx, qy) holds
// index 1 + qx, row 1 index 64 + qy, the other rows 96 + their position in the quarter. Index i
// has a colour whose 5-6-5 value gives i back, so drawn boards can be decoded quarter by quarter.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/PictureFile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace chiptest {

inline std::uint16_t IndexColor(int i) { return static_cast<std::uint16_t>(((i & 31) << 11) | ((i >> 5) << 8)); }
inline int ColorIndex(std::uint16_t c) { return (c >> 11) | (((c >> 8) & 7) << 5); }

inline quillon::TBitmap SyntheticChipSet() {
    using namespace quillon;
    TBitmap bitmap(480, 256, TPixelFormat::pf8bit);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 480; ++x) {
            const int px = x % 8;
            const int py = y % 8;
            const int value = py == 0 ? 1 + x / 8 : py == 1 ? 64 + y / 8 : 96 + (py - 2) * 8 + px;
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(value);
        }
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[i] = TPaletteEntry{static_cast<std::uint8_t>((i & 31) << 3),
                                            static_cast<std::uint8_t>((i >> 5) << 5), 0, 0};
    return bitmap;
}

// Sets a pixel rectangle to one index.
inline void FillCells(quillon::TBitmap& bitmap, int left, int top, int width, int height, int index) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(index);
}

// Copies a 16 x 16 cell.
inline void CopyCell(quillon::TBitmap& bitmap, int fromX, int fromY, int toX, int toY) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bitmap.ScanLine(toY + y)[toX + x] = bitmap.ScanLine(fromY + y)[fromX + x];
}

// A fresh folder under the temporary folder, of this process alone.
inline std::filesystem::path TempFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillon-gfx-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Writes the bitmap as <folder>/<kind>/<name>.png.
inline void WriteResource(const std::filesystem::path& folder, const std::string& kind, const std::string& name,
                          const quillon::TBitmap& bitmap) {
    std::filesystem::create_directories(folder / kind);
    quillon::SavePicture(bitmap, (folder / kind / (name + ".png")).string());
}

}  // namespace chiptest

namespace chiptest {

// A chipset that looks like one, for whole-map pictures: autotiles are coloured regions with a
// dark outline round their 3 x 3 edge pieces (so joined shapes show continuous borders), inner
// corners carry dark corner dots, water is blue with foam on its edge quarters and a shade per
// frame, animated tiles show a stripe that moves with the frame, plain lower tiles are coloured
// squares (every 13th one blank), upper tiles are round shapes on index 0 (upper tile 0 blank).
inline quillon::TBitmap PictureChipSet() {
    using namespace quillon;
    TBitmap bitmap(480, 256, TPixelFormat::pf8bit);
    auto put = [&](int x, int y, int index) { bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(index); };
    TPalette256& palette = bitmap.Palette();
    auto hue = [](int step, int steps, int value) {
        const int h = step * 1530 / steps;  // 0..1529
        const int f = h % 255;
        int r = 0, g = 0, b = 0;
        switch (h / 255) {
        case 0: r = 255; g = f; break;
        case 1: r = 255 - f; g = 255; break;
        case 2: g = 255; b = f; break;
        case 3: g = 255 - f; b = 255; break;
        case 4: r = f; b = 255; break;
        default: r = 255; b = 255 - f; break;
        }
        return TPaletteEntry{static_cast<std::uint8_t>(r * value / 255), static_cast<std::uint8_t>(g * value / 255),
                             static_cast<std::uint8_t>(b * value / 255), 0};
    };
    palette[1] = {40, 32, 24, 0};
    palette[255] = {248, 248, 248, 0};
    for (int i = 0; i < 12; ++i) {
        palette[2 + i] = hue(i, 12, 170);
        palette[14 + i] = hue(i, 12, 230);
    }
    for (int f = 0; f < 3; ++f) {
        palette[30 + f] = {24, static_cast<std::uint8_t>(80 + 30 * f), static_cast<std::uint8_t>(200 + 20 * f), 0};
        palette[33 + f] = {8, static_cast<std::uint8_t>(24 + 16 * f), static_cast<std::uint8_t>(120 + 20 * f), 0};
        palette[36 + f] = {24, static_cast<std::uint8_t>(160 + 20 * f), static_cast<std::uint8_t>(160 + 20 * f), 0};
    }
    for (int f = 0; f < 4; ++f)
        palette[40 + f] = {static_cast<std::uint8_t>(120 + 40 * f), 64, static_cast<std::uint8_t>(220 - 40 * f), 0};
    for (int n = 0; n < 144; ++n)
        palette[48 + n] = hue(n, 144, n % 2 ? 150 : 210);

    // Water blocks: quarters 0..11 across, 0..15 down.
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 96; ++x) {
            const int qx = x / 8, qy = y / 8, px = x % 8, py = y % 8;
            const int frame = (qx % 6) / 2;
            int index = qy >= 12 ? 33 + frame : (qx >= 6 && qy < 8) ? 36 + frame : 30 + frame;
            if (qy < 8 && (px + py + frame) % 4 == 0)
                index = 255;  // foam on the edge pieces
            if ((qy == 10 || qy == 11 || qy == 12 || qy == 13) && (px == 0 || px == 7) && (py == 0 || py == 7))
                index = 255;
            put(x, y, index);
        }
    // Animated tiles: three columns of four frames.
    for (int t = 0; t < 3; ++t)
        for (int f = 0; f < 4; ++f)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const bool stripe = (x + y + 4 * f) % 16 < 3;
                    put(48 + 16 * t + x, 64 + 16 * f + y, stripe ? 255 : (x == 0 || y == 0) ? 1 : 40 + (f + t) % 4);
                }
    // Autotiles.
    const int origins[12][2] = {{0, 128}, {48, 128}, {0, 192}, {48, 192}, {96, 0},   {144, 0},
                                {96, 64}, {144, 64}, {96, 128}, {144, 128}, {96, 192}, {144, 192}};
    for (int a = 0; a < 12; ++a) {
        const int ox = origins[a][0], oy = origins[a][1];
        const int base = 2 + a, light = 14 + a;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 48; ++x) {
                int index = (x * 3 + y * 5) % 11 == 0 ? light : base;
                if (y < 16 && x < 16) {  // preview
                    if (x == 0 || y == 0 || x == 15 || y == 15)
                        index = 1;
                } else if (y < 16 && x < 32) {  // link cell
                    index = ((x / 2 + y / 2) % 2) ? base : light;
                } else if (y < 16) {  // inner corners
                    if ((x < 34 || x >= 46) && (y < 2 || y >= 14))
                        index = 1;
                } else if (x < 2 || x >= 46 || y < 18 || y >= 62) {
                    index = 1;
                }
                put(ox + x, oy + y, index);
            }
    }
    // Plain lower tiles.
    for (int n = 0; n < 144; ++n) {
        const int cx = n < 96 ? 192 + 16 * (n % 6) : 288 + 16 * (n % 6);
        const int cy = n < 96 ? 16 * (n / 6) : 16 * ((n - 96) / 6);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                put(cx + x, cy + y, n % 13 == 12 ? 0 : (x == 0 || y == 0) ? 1 : ((x ^ y) & 4) ? 48 + n : 48 + (n + 72) % 144);
    }
    // Upper tiles: a disc with an outline on index 0.
    for (int n = 1; n < 144; ++n) {
        const int cx = n < 48 ? 288 + 16 * (n % 6) : 384 + 16 * (n % 6);
        const int cy = n < 48 ? 16 * ((n + 48) / 6) : 16 * ((n - 48) / 6);
        const int radius2 = 16 + (n % 5) * 8;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int d2 = (2 * x - 15) * (2 * x - 15) / 4 + (2 * y - 15) * (2 * y - 15) / 4;
                put(cx + x, cy + y, d2 > radius2 ? 0 : d2 > radius2 - 10 ? 1 : 48 + (n * 37) % 144);
            }
    }
    return bitmap;
}

}  // namespace chiptest
