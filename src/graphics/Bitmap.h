// The in-memory picture that image files are read into and written from: 1, 4, 8 or 24 bits
// per pixel, a 256-entry palette and row access. Rows are stored top row first, packed to whole
// bytes without further padding; 24-bit pixels are stored blue, green, red.
#pragma once

#include "graphics/GraphicsTypes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

enum class TPixelFormat : std::uint8_t { pf1bit = 1, pf4bit = 4, pf8bit = 8, pf24bit = 24 };

using TPalette256 = std::array<TPaletteEntry, 256>;

// Given to a picture reader: called with the size and pixel format a file's header declares, as
// soon as they are known and before any pixels are allocated or inflated; refuses the picture
// by raising, so that a reader never decodes what its caller would throw away.
using TPictureHeaderCheck = std::function<void(int width, int height, TPixelFormat format)>;

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    bool Empty() const { return mWidth == 0 || mHeight == 0; }
    TPixelFormat PixelFormat() const { return mFormat; }
    int BitsPerPixel() const { return static_cast<int>(mFormat); }
    // Bytes of one row: (Width × bits per pixel + 7) / 8.
    int RowBytes() const { return mRowBytes; }

    // Changes the size; the pixels become 0. Raises EInvalidGraphicOperation for a negative size or
    // a side above kMaxPictureSide.
    void SetSize(int width, int height);
    // Changes the pixel format, converting the pixels (see ConvertedTo).
    void SetPixelFormat(TPixelFormat format);

    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    // Palette index of a pixel of a 1-, 4- or 8-bit bitmap (bits taken most significant first).
    int PixelIndex(int x, int y) const;

    TPalette256& Palette() { return mPalette; }
    const TPalette256& Palette() const { return mPalette; }

    // A copy in another pixel format. Fewer bits to 8 bits keeps the indices; paletted to 24 bits
    // looks the colours up; 24 to 8 bits keeps the colours exactly when there are at most 256 of
    // them (palette in order of first appearance), otherwise maps them onto a 3-3-2 colour cube.
    // 1 and 4 bits are only reached from a paletted format whose indices fit.
    TBitmap ConvertedTo(TPixelFormat format) const;

private:
    void Allocate();

    int mWidth = 0;
    int mHeight = 0;
    TPixelFormat mFormat = TPixelFormat::pf24bit;
    int mRowBytes = 0;
    std::vector<std::uint8_t> mPixels;
    TPalette256 mPalette{};
};

}  // namespace quillon
