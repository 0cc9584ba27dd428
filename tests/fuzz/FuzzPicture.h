// Shared checks of the picture reader fuzz targets: a reader either reads or refuses with one of
// its own messages; any other failure aborts, so that the fuzzer reports it.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/Bitmap.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace fuzzpicture {

// What the header check below refuses with.
inline constexpr const char* kRefusedByHeader = "refused by its header";

// The reader shows every header to a check, which here refuses pictures of more than 2^16
// pixels as a caller with size rules would; a picture read whole must have the size and format
// of the last header the check passed (nothing is decoded unchecked).
template <typename Reader>
bool ReadOrRefuse(Reader read, const std::uint8_t* data, std::size_t size, quillon::TBitmap& bitmap,
                  std::initializer_list<const char*> messages) {
    quillon::TByteViewStream stream(data, size);
    int checkedWidth = -1, checkedHeight = -1;
    quillon::TPixelFormat checkedFormat{};
    const quillon::TPictureHeaderCheck check = [&](int width, int height, quillon::TPixelFormat format) {
        if (static_cast<std::int64_t>(width) * height > (1 << 16))
            throw std::runtime_error(kRefusedByHeader);
        checkedWidth = width;
        checkedHeight = height;
        checkedFormat = format;
    };
    try {
        read(stream, bitmap, check);
        const bool unchecked = checkedWidth < 0 ? !bitmap.Empty()
                                                : bitmap.Width() != checkedWidth || bitmap.Height() != checkedHeight ||
                                                      bitmap.PixelFormat() != checkedFormat;
        if (unchecked) {
            std::fprintf(stderr, "read %dx%d, the check saw %dx%d\n", bitmap.Width(), bitmap.Height(), checkedWidth,
                         checkedHeight);
            std::abort();
        }
        return true;
    } catch (const std::exception& e) {
        if (std::strcmp(e.what(), kRefusedByHeader) == 0)
            return false;
        for (const char* message : messages)
            if (std::strcmp(e.what(), message) == 0)
                return false;
        std::fprintf(stderr, "unexpected failure: %s\n", e.what());
        std::abort();
    }
}

// Written and read back, a picture keeps its size and pixels.
template <typename Reader, typename Writer>
void RoundTrip(Reader read, Writer write, const quillon::TBitmap& bitmap) {
    if (static_cast<std::int64_t>(bitmap.Width()) * bitmap.Height() > (1 << 16))
        return;
    quillon::TMemoryStream stream;
    write(stream, bitmap);
    stream.SetPosition(0);
    quillon::TBitmap back;
    read(stream, back, quillon::TPictureHeaderCheck());
    if (back.Width() != bitmap.Width() || back.Height() != bitmap.Height())
        std::abort();
    // (A picture without pixels has no rows to compare.)
    if (back.PixelFormat() == bitmap.PixelFormat() && bitmap.RowBytes() > 0)
        for (int y = 0; y < bitmap.Height(); ++y)
            if (std::memcmp(back.ScanLine(y), bitmap.ScanLine(y), static_cast<std::size_t>(bitmap.RowBytes())) != 0)
                std::abort();
}

}  // namespace fuzzpicture
