// Drawing primitives for the images of the starter run-time package: one shared 256-colour
// palette made of shade ramps, deterministic noise, and a painter over an 8-bit bitmap.
#pragma once

#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdint>

namespace quillon::rtp {

// Colour ramps of the shared palette; each has 8 shades, 0 darkest, 7 lightest.
enum TRamp : int {
    rGrey, rGreen, rLeaf, rDirt, rSand, rWater, rDeep, rWood, rRoof, rSlate, rSkin, rHair, rBlond, rRed, rBlue,
    rPurple, rGold, rSnow, rStone, rFire, rSky, rIce, rPink, rSlime, rFur, rPaper, rBrick, rMoss, rCount
};

// Palette index 0: the transparent colour of the kinds that have one. No other entry has it.
inline constexpr std::uint8_t kClear = 0;

constexpr std::uint8_t Ink(TRamp ramp, int shade) {
    return static_cast<std::uint8_t>(1 + ramp * 8 + std::clamp(shade, 0, 7));
}

TPalette256 MakePalette();

// A small linear congruential generator; every image starts its own with a fixed seed.
class TRng {
public:
    explicit TRng(std::uint32_t seed) : mState(seed) {}
    std::uint32_t Next() {
        mState = mState * 1664525u + 1013904223u;
        return mState >> 8;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t mState;
};

// A hash of a position and a seed: stateless noise, so textures can repeat every 16 pixels.
std::uint32_t Hash(int x, int y, int seed);
inline int Noise(int x, int y, int seed, int n) {
    return static_cast<int>(Hash(x, y, seed) % static_cast<std::uint32_t>(n));
}

class TPainter {
public:
    explicit TPainter(TBitmap& bitmap) : mBitmap(bitmap) {}
    TBitmap& Bitmap() { return mBitmap; }

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < mBitmap.Width() && y < mBitmap.Height(); }
    void Put(int x, int y, std::uint8_t c) {
        if (Inside(x, y))
            mBitmap.ScanLine(y)[x] = c;
    }
    std::uint8_t Get(int x, int y) const { return Inside(x, y) ? mBitmap.ScanLine(y)[x] : kClear; }

    void Fill(int x, int y, int w, int h, std::uint8_t c);
    void Frame(int x, int y, int w, int h, std::uint8_t c);
    void Line(int x0, int y0, int x1, int y1, std::uint8_t c);
    // A filled ellipse around (cx, cy), which may lie between pixels.
    void Ellipse(double cx, double cy, double rx, double ry, std::uint8_t c);
    // The same, shaded: lighter towards the upper left, darker towards the lower right.
    void Ball(double cx, double cy, double rx, double ry, TRamp ramp, int shade);
    // Transparent pixels of the rectangle next to a drawn pixel (not of colour c) become c.
    void Outline(int x, int y, int w, int h, std::uint8_t c);
    // Copies a rectangle, mirrored left to right when mirror is set.
    void Copy(int sx, int sy, int w, int h, int dx, int dy, bool mirror = false);
    // Calls f(x, y) for each pixel of the rectangle and stores its answer unless it is negative.
    template <class F>
    void Each(int x0, int y0, int w, int h, F f) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const int c = f(x, y);
                if (c >= 0)
                    Put(x, y, static_cast<std::uint8_t>(c));
            }
    }

private:
    TBitmap& mBitmap;
};

// An 8-bit bitmap of the size with the shared palette, every pixel c.
TBitmap NewImage(int width, int height, std::uint8_t c = kClear);

}  // namespace quillon::rtp
