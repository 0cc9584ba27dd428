// PNG reader: any input is read or refused with the reader's messages; what it reads writes back.
#include "FuzzPicture.h"
#include "graphics/OrlenPng.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    TBitmap bitmap;
    if (fuzzpicture::ReadOrRefuse(ReadPng, data, size, bitmap, {kInvalidPngText, kUnsupportedPngText, kZlibErrorText}))
        fuzzpicture::RoundTrip(ReadPng, WritePng, bitmap);
    return 0;
}
