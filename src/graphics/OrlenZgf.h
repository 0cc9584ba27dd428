// The in-house compressed 8-bit picture format: "ZGF1", width and height as 16-bit little-endian
// numbers, then one zlib stream holding the 256 palette entries (red, green, blue) and the rows.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/Bitmap.h"

namespace quillon {

inline constexpr const char* kInvalidZgfText = "Invalid ZGF Image";

// Reads a ZGF picture that fills the rest of the stream into an 8-bit bitmap. Raises
// EInvalidGraphic "Invalid ZGF Image" for a wrong signature, a side above kMaxPictureSide or a
// file too short to hold the pixels it claims, and std::runtime_error "Zlib Error" when the data
// does not inflate. Pixel data that ends early leaves the rest of the image at index 0. The
// header is shown to check (when given) before anything is inflated.
void ReadZgf(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check = {});

// Writes an 8-bit copy of the bitmap. A side above 65535 cannot be stored and raises
// EInvalidGraphic "Invalid ZGF Image".
void WriteZgf(TStream& stream, const TBitmap& bitmap);

class TOrlenZgf : public TBitmap {
public:
    void LoadFromStream(TStream& stream) { ReadZgf(stream, *this); }
    void SaveToStream(TStream& stream) const { WriteZgf(stream, *this); }
};

}  // namespace quillon
