// Geometry, pixel and error types shared by the image codecs, sheets and boards.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillon {

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

// Left and Top are inside, Right and Bottom just outside.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

inline TRect MakeRect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect MakeBounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// One palette entry in the order red, green, blue, flags.
struct TPaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    bool operator==(const TPaletteEntry&) const = default;
};

// A picture file or pixel buffer is not what the operation needs.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An operation on a picture was asked for something it cannot do (a row out of range …).
class EInvalidGraphicOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pixel memory could not be had.
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest width or height any image reader accepts; a file claiming more is refused before
// anything of that size is allocated.
inline constexpr int kMaxPictureSide = 16384;

}  // namespace quillon
