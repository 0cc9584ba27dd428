// BMP reader: any input is read or refused with the reader's messages; what it reads writes back.
#include "FuzzPicture.h"
#include "graphics/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    TBitmap bitmap;
    if (fuzzpicture::ReadOrRefuse(ReadBmp, data, size, bitmap, {kInvalidBmpText, kUnsupportedBmpText}))
        fuzzpicture::RoundTrip(ReadBmp, WriteBmp, bitmap);
    return 0;
}
