// Loading and saving picture files: the reader is chosen by the file's first bytes, the writer by
// the file name's extension.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/Bitmap.h"

#include <string>

namespace quillon {

inline constexpr const char* kEmptyBitmapText = "Empty Bitmap";

// File dialog filters for opening and for saving pictures.
inline constexpr const char* kPictureOpenFilter = "Image files (*.bmp;*.png;*.zgf)|*.bmp;*.png;*.zgf|";
inline constexpr const char* kPictureSaveFilter =
    "BMP file (*.bmp)|*.bmp|PNG file (*.png)|*.png|ZGF file (*.zgf)|*.zgf|";

// The picture file kinds besides BMP, by extension, with their descriptions.
struct TPictureFileKind {
    const char* Extension;
    const char* Description;
};
inline constexpr TPictureFileKind kPictureFileKinds[] = {
    {"png", "Portable Network Graphics"},
    {"zgf", "Original Graphics Format"},
};

// Reads a picture from the stream: bytes 137 'P' 'N' 'G' select the PNG reader, "ZGF1" the ZGF
// reader, anything else the BMP reader. Raises EInvalidGraphic "Empty Bitmap" when the picture
// has no pixels, and whatever the reader raises. The file's header is shown to check (when
// given) before any pixels are decoded.
void LoadPicture(TBitmap& bitmap, TStream& stream, const TPictureHeaderCheck& check = {});
// The same for a file; raises EFileError when it cannot be read.
void LoadPicture(TBitmap& bitmap, const std::string& fileName, const TPictureHeaderCheck& check = {});

// Writes by the lower-cased extension: ".png" as PNG, ".zgf" as ZGF, anything else as BMP.
void SavePicture(const TBitmap& bitmap, TStream& stream, const std::string& fileName);
// The same into the file; the file is replaced only when the whole picture was written.
void SavePicture(const TBitmap& bitmap, const std::string& fileName);

// The lower-cased extension of a file name with its dot ("" when there is none).
std::string PictureExtension(const std::string& fileName);

}  // namespace quillon
