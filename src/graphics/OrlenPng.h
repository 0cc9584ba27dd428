// The PNG reader and writer: 8-bit indexed and 8-bit truecolour images, not interlaced.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/Bitmap.h"

namespace quillon {

inline constexpr const char* kInvalidPngText = "Invalid PNG Image";
inline constexpr const char* kUnsupportedPngText = "Unsupported PNG Image";
inline constexpr const char* kZlibErrorText = "Zlib Error";

// Reads a PNG from the stream's position into the bitmap (8 bits for indexed images, 24 bits for
// truecolour). Raises EInvalidGraphic "Invalid PNG Image" for a damaged or truncated file,
// "Unsupported PNG Image" for other colour types, depths and interlacing (EInvalidGraphic for an
// indexed image of another depth, std::runtime_error otherwise) and std::runtime_error
// "Zlib Error" when the image data does not inflate. A file claiming a side above
// kMaxPictureSide, or more pixel data than the rest of the file can hold, is refused as invalid
// before the pixels are allocated. Every header is shown to check (when given) first.
void ReadPng(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check = {});

// Writes the bitmap as PNG: 1-, 4- and 8-bit bitmaps as indexed with all 256 palette entries,
// 24-bit as truecolour; unfiltered rows, image data in IDAT chunks of 65536 bytes.
void WritePng(TStream& stream, const TBitmap& bitmap);

// A bitmap that loads and saves itself as PNG.
class TOrlenPng : public TBitmap {
public:
    void LoadFromStream(TStream& stream) { ReadPng(stream, *this); }
    void SaveToStream(TStream& stream) const { WritePng(stream, *this); }
};

}  // namespace quillon
