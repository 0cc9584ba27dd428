#include "graphics/PictureFile.h"

#include "graphics/BmpCodec.h"
#include "graphics/OrlenPng.h"
#include "graphics/OrlenZgf.h"
#include "platform/FileUtils.h"

#include <cstring>

namespace quillon {

void LoadPicture(TBitmap& bitmap, TStream& stream, const TPictureHeaderCheck& check) {
    const std::int64_t start = stream.Position();
    std::uint8_t magic[4] = {};
    stream.Read(magic, sizeof magic);
    stream.SetPosition(start);
    static constexpr std::uint8_t kPng[4] = {137, 'P', 'N', 'G'};
    if (std::memcmp(magic, kPng, 4) == 0)
        ReadPng(stream, bitmap, check);
    else if (std::memcmp(magic, "ZGF1", 4) == 0)
        ReadZgf(stream, bitmap, check);
    else
        ReadBmp(stream, bitmap, check);
    if (bitmap.Empty())
        throw EInvalidGraphic(kEmptyBitmapText);
}

void LoadPicture(TBitmap& bitmap, const std::string& fileName, const TPictureHeaderCheck& check) {
    const std::string bytes = ReadWholeFile(fileName, kImageFileLimit);
    TByteViewStream stream(bytes);
    LoadPicture(bitmap, stream, check);
}

std::string PictureExtension(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = fileName.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

void SavePicture(const TBitmap& bitmap, TStream& stream, const std::string& fileName) {
    const std::string extension = PictureExtension(fileName);
    if (extension == ".png")
        WritePng(stream, bitmap);
    else if (extension == ".zgf")
        WriteZgf(stream, bitmap);
    else
        WriteBmp(stream, bitmap);
}

void SavePicture(const TBitmap& bitmap, const std::string& fileName) {
    TMemoryStream stream;
    SavePicture(bitmap, stream, fileName);
    WriteFileAtomic(fileName, stream.Bytes());
}

}  // namespace quillon
