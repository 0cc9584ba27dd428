// A plain 16-bit 5-5-5 pixel buffer for the map editor, shown as it is in a window.
#pragma once

#include "graphics/GraphicsTypes.h"

#include <cstdint>
#include <vector>

namespace quillon {

inline constexpr const char* kShortOfSystemResourceText = "It is short of system resource";
inline constexpr const char* kScanLineRangeText = "The index of the scanning line exceeded a range";

// Rows are stored top row first and padded to 4 bytes: row Y starts at Bits() + Y × Pitch(), and
// NegPitch() steps one row up.
class THighColorDIB {
public:
    THighColorDIB() = default;
    THighColorDIB(const THighColorDIB&) = delete;
    THighColorDIB& operator=(const THighColorDIB&) = delete;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int Pitch() const { return mPitch; }
    int NegPitch() const { return -mPitch; }
    std::uint8_t* Bits() { return reinterpret_cast<std::uint8_t*>(mPixels.data()); }
    const std::uint8_t* Bits() const { return reinterpret_cast<const std::uint8_t*>(mPixels.data()); }

    // No effect when the size is unchanged. Otherwise releases the pixels and, when width × height
    // is not 0, allocates black ones; raises EOutOfResources "It is short of system resource" for a
    // negative size or when the memory cannot be had (the buffer is then released).
    void SetSize(int width, int height);
    // Frees the pixels; the size becomes 0 × 0.
    void Release();
    // Raises EInvalidGraphicOperation "The index of the scanning line exceeded a range" for a row
    // outside 0..Height − 1.
    std::uint16_t* ScanLine(int y);
    const std::uint16_t* ScanLine(int y) const;
    void Clear();

private:
    std::vector<std::uint16_t> mPixels;
    int mWidth = 0;
    int mHeight = 0;
    int mPitch = 0;
};

}  // namespace quillon
