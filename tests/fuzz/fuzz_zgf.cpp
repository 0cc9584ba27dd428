// ZGF reader: any input is read or refused with the reader's messages; what it reads writes back.
#include "FuzzPicture.h"
#include "graphics/OrlenPng.h"
#include "graphics/OrlenZgf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    TBitmap bitmap;
    if (fuzzpicture::ReadOrRefuse(ReadZgf, data, size, bitmap, {kInvalidZgfText, kZlibErrorText}))
        fuzzpicture::RoundTrip(ReadZgf, WriteZgf, bitmap);
    return 0;
}
