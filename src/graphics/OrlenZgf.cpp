#include "graphics/OrlenZgf.h"

#include "graphics/OrlenPng.h"

#include <zlib.h>

#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace quillon {

namespace {

constexpr char kSignature[4] = {'Z', 'G', 'F', '1'};
constexpr std::uint64_t kMaxInflateRatio = 1032;

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalidZgfText); }
[[noreturn]] void ZlibError() { throw std::runtime_error(kZlibErrorText); }

}  // namespace

void ReadZgf(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check) {
    std::uint8_t header[8];
    const std::size_t got = stream.Read(header, sizeof header);
    if (got < 4 || std::memcmp(header, kSignature, 4) != 0 || got < sizeof header)
        Invalid();
    const int width = header[4] | header[5] << 8;
    const int height = header[6] | header[7] << 8;
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        Invalid();
    if (check)
        check(width, height, TPixelFormat::pf8bit);
    const std::uint64_t compressed = static_cast<std::uint64_t>(stream.Remaining());
    const std::uint64_t expanded = 768 + static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (expanded > (compressed + 64) * kMaxInflateRatio || compressed > std::numeric_limits<uInt>::max())
        Invalid();

    std::vector<std::uint8_t> input(compressed);
    stream.ReadBuffer(input.data(), input.size());
    std::vector<std::uint8_t> output(expanded, 0);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        ZlibError();
    z.next_in = input.data();
    z.avail_in = static_cast<uInt>(input.size());
    z.next_out = output.data();
    z.avail_out = static_cast<uInt>(output.size());
    const int result = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (result < 0)
        ZlibError();

    TBitmap image(width, height, TPixelFormat::pf8bit);
    for (int i = 0; i < 256; ++i)
        image.Palette()[i] = {output[3 * i], output[3 * i + 1], output[3 * i + 2], 0};
    for (int y = 0; y < height && width > 0; ++y)
        std::memcpy(image.ScanLine(y), output.data() + 768 + static_cast<std::size_t>(y) * width,
                    static_cast<std::size_t>(width));
    bitmap = std::move(image);
}

void WriteZgf(TStream& stream, const TBitmap& bitmap) {
    if (bitmap.Width() > 65535 || bitmap.Height() > 65535)
        Invalid();
    TBitmap converted;
    const TBitmap* image = &bitmap;
    if (bitmap.PixelFormat() != TPixelFormat::pf8bit) {
        converted = bitmap.ConvertedTo(TPixelFormat::pf8bit);
        image = &converted;
    }
    const int width = image->Width();
    const int height = image->Height();
    std::vector<std::uint8_t> input(768 + static_cast<std::size_t>(width) * height);
    for (int i = 0; i < 256; ++i) {
        input[3 * i] = image->Palette()[i].Red;
        input[3 * i + 1] = image->Palette()[i].Green;
        input[3 * i + 2] = image->Palette()[i].Blue;
    }
    for (int y = 0; y < height && width > 0; ++y)
        std::memcpy(input.data() + 768 + static_cast<std::size_t>(y) * width, image->ScanLine(y),
                    static_cast<std::size_t>(width));
    std::vector<std::uint8_t> output(input.size() * 2);
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
        ZlibError();
    z.next_in = input.data();
    z.avail_in = static_cast<uInt>(input.size());
    z.next_out = output.data();
    z.avail_out = static_cast<uInt>(output.size());
    const int result = deflate(&z, Z_FINISH);
    const std::size_t written = output.size() - z.avail_out;
    deflateEnd(&z);
    // One call with finish has to end the stream; anything else would write a cut-off picture.
    if (result != Z_STREAM_END)
        ZlibError();
    const std::uint8_t header[8] = {'Z', 'G', 'F', '1', static_cast<std::uint8_t>(width),
                                    static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(height),
                                    static_cast<std::uint8_t>(height >> 8)};
    stream.Write(header, sizeof header);
    stream.Write(output.data(), written);
}

}  // namespace quillon
