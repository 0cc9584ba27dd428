// The Windows bitmap file reader and writer: uncompressed 1-, 4-, 8- and 24-bit bitmaps, and
// 8-bit run-length encoded ones when reading.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/Bitmap.h"

namespace quillon {

inline constexpr const char* kInvalidBmpText = "Invalid BMP Image";
inline constexpr const char* kUnsupportedBmpText = "Unsupported BMP Image";

// Reads a bitmap file from the stream's position. Raises EInvalidGraphic "Invalid BMP Image" for a
// damaged or truncated file (or one claiming a side above kMaxPictureSide), and
// "Unsupported BMP Image" for other depths and compressions. Run-length data that ends early
// leaves the rest of the image at index 0. The header is shown to check (when given) before the
// pixels are allocated.
void ReadBmp(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check = {});

// Writes the bitmap in its own pixel format, bottom-up, with a 40-byte header and, for 1, 4 and
// 8 bits, a palette of 2, 16 or 256 entries.
void WriteBmp(TStream& stream, const TBitmap& bitmap);

}  // namespace quillon
