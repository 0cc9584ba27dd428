#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace quillon {

TBitmap::TBitmap(int width, int height, TPixelFormat format) : mFormat(format) { SetSize(width, height); }

void TBitmap::Allocate() {
    mRowBytes = static_cast<int>((static_cast<std::int64_t>(mWidth) * BitsPerPixel() + 7) / 8);
    mPixels.assign(static_cast<std::size_t>(mRowBytes) * static_cast<std::size_t>(mHeight), 0);
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw EInvalidGraphicOperation("Invalid image size");
    mWidth = width;
    mHeight = height;
    Allocate();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format != mFormat)
        *this = ConvertedTo(format);
}

std::uint8_t* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= mHeight)
        throw EInvalidGraphicOperation("The index of the scanning line exceeded a range");
    return mPixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mRowBytes);
}

const std::uint8_t* TBitmap::ScanLine(int y) const { return const_cast<TBitmap*>(this)->ScanLine(y); }

int TBitmap::PixelIndex(int x, int y) const {
    const std::uint8_t* row = ScanLine(y);
    switch (mFormat) {
    case TPixelFormat::pf1bit:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case TPixelFormat::pf4bit:
        return (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    case TPixelFormat::pf8bit:
        return row[x];
    case TPixelFormat::pf24bit:
        break;
    }
    throw EInvalidGraphicOperation("A 24-bit bitmap has no palette indices");
}

namespace {

std::uint32_t Key(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return (r << 16) | (g << 8) | b; }

// Fills an 8-bit copy of a 24-bit bitmap.
void TrueColourTo8(const TBitmap& source, TBitmap& target) {
    std::unordered_map<std::uint32_t, int> colours;
    bool fits = true;
    for (int y = 0; y < source.Height() && fits; ++y) {
        const std::uint8_t* row = source.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint32_t key = Key(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            if (colours.count(key))
                continue;
            if (colours.size() == 256) {
                fits = false;
                break;
            }
            const int index = static_cast<int>(colours.size());
            colours.emplace(key, index);
            target.Palette()[index] = {row[3 * x + 2], row[3 * x + 1], row[3 * x], 0};
        }
    }
    if (!fits) {
        for (int i = 0; i < 256; ++i) {
            const int r = i >> 5, g = (i >> 2) & 7, b = i & 3;
            target.Palette()[i] = {static_cast<std::uint8_t>(r * 255 / 7), static_cast<std::uint8_t>(g * 255 / 7),
                                   static_cast<std::uint8_t>(b * 255 / 3), 0};
        }
    }
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.ScanLine(y);
        std::uint8_t* out = target.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint8_t b = in[3 * x], g = in[3 * x + 1], r = in[3 * x + 2];
            if (fits)
                out[x] = static_cast<std::uint8_t>(colours.at(Key(r, g, b)));
            else
                out[x] = static_cast<std::uint8_t>(((r * 7 + 127) / 255) << 5 | ((g * 7 + 127) / 255) << 2 |
                                                   ((b * 3 + 127) / 255));
        }
    }
}

}  // namespace

TBitmap TBitmap::ConvertedTo(TPixelFormat format) const {
    TBitmap target(mWidth, mHeight, format);
    target.mPalette = mPalette;
    if (format == mFormat) {
        target.mPixels = mPixels;
        return target;
    }
    if (mFormat == TPixelFormat::pf24bit) {
        if (format != TPixelFormat::pf8bit) {
            const TBitmap eight = ConvertedTo(TPixelFormat::pf8bit);
            return eight.ConvertedTo(format);
        }
        TrueColourTo8(*this, target);
        return target;
    }
    const int maxIndex = (1 << static_cast<int>(format)) - 1;
    for (int y = 0; y < mHeight; ++y) {
        std::uint8_t* out = target.ScanLine(y);
        for (int x = 0; x < mWidth; ++x) {
            const int index = PixelIndex(x, y);
            switch (format) {
            case TPixelFormat::pf24bit: {
                const TPaletteEntry& e = mPalette[index];
                out[3 * x] = e.Blue;
                out[3 * x + 1] = e.Green;
                out[3 * x + 2] = e.Red;
                break;
            }
            case TPixelFormat::pf8bit:
                out[x] = static_cast<std::uint8_t>(index);
                break;
            case TPixelFormat::pf4bit:
            case TPixelFormat::pf1bit: {
                if (index > maxIndex)
                    throw EInvalidGraphicOperation("The palette indices do not fit the pixel format");
                const int bits = static_cast<int>(format);
                const int bit = x * bits;
                out[bit >> 3] |= static_cast<std::uint8_t>(index << (8 - bits - (bit & 7)));
                break;
            }
            }
        }
    }
    return target;
}

}  // namespace quillon
