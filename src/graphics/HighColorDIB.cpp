#include "graphics/HighColorDIB.h"

#include <algorithm>
#include <new>

namespace quillon {

void THighColorDIB::SetSize(int width, int height) {
    if (width == mWidth && height == mHeight)
        return;
    Release();
    if (width < 0 || height < 0)
        throw EOutOfResources(kShortOfSystemResourceText);
    const std::int64_t pitch = (static_cast<std::int64_t>(width) * 2 + 3) & ~std::int64_t{3};
    if (static_cast<std::int64_t>(width) * height != 0) {
        if (pitch * height > (std::int64_t{1} << 30))
            throw EOutOfResources(kShortOfSystemResourceText);
        try {
            mPixels.assign(static_cast<std::size_t>(pitch / 2 * height), 0);
        } catch (const std::bad_alloc&) {
            throw EOutOfResources(kShortOfSystemResourceText);
        }
    }
    mWidth = width;
    mHeight = height;
    mPitch = static_cast<int>(pitch);
}

void THighColorDIB::Release() {
    mPixels.clear();
    mPixels.shrink_to_fit();
    mWidth = 0;
    mHeight = 0;
    mPitch = 0;
}

std::uint16_t* THighColorDIB::ScanLine(int y) {
    if (y < 0 || y >= mHeight || mPixels.empty())
        throw EInvalidGraphicOperation(kScanLineRangeText);
    return reinterpret_cast<std::uint16_t*>(Bits() + static_cast<std::ptrdiff_t>(y) * mPitch);
}

const std::uint16_t* THighColorDIB::ScanLine(int y) const { return const_cast<THighColorDIB*>(this)->ScanLine(y); }

void THighColorDIB::Clear() { std::fill(mPixels.begin(), mPixels.end(), 0); }

}  // namespace quillon
