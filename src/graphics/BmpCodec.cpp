#include "graphics/BmpCodec.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillon {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalidBmpText); }
[[noreturn]] void Unsupported() { throw EInvalidGraphic(kUnsupportedBmpText); }

std::uint32_t U16(const std::uint8_t* p) { return p[0] | p[1] << 8; }
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
// A run-length encoded picture claiming more pixels per byte of data than this is refused.
constexpr std::uint64_t kMaxRlePixelsPerByte = 4096;

void DecodeRle8(const std::uint8_t* data, std::size_t size, TBitmap& image) {
    const int width = image.Width();
    const int height = image.Height();
    int x = 0;
    int y = 0;  // counted from the bottom row
    std::size_t pos = 0;
    while (pos + 1 < size && y < height) {
        const int count = data[pos];
        const int code = data[pos + 1];
        pos += 2;
        if (count > 0) {
            std::uint8_t* row = image.ScanLine(height - 1 - y);
            for (int i = 0; i < count && x < width; ++i)
                row[x++] = static_cast<std::uint8_t>(code);
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            if (pos + 1 >= size)
                break;
            x = std::min(x + data[pos], width);
            y += data[pos + 1];
            pos += 2;
        } else {
            if (code > static_cast<int>(size - pos))
                break;
            std::uint8_t* row = image.ScanLine(height - 1 - y);
            for (int i = 0; i < code; ++i)
                if (x < width)
                    row[x++] = data[pos + i];
            pos += static_cast<std::size_t>(code + (code & 1));
        }
    }
}

}  // namespace

void ReadBmp(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check) {
    const std::int64_t start = stream.Position();
    const std::uint64_t available = static_cast<std::uint64_t>(stream.Remaining());
    std::uint8_t fileHeader[14];
    if (stream.Read(fileHeader, sizeof fileHeader) != sizeof fileHeader || fileHeader[0] != 'B' ||
        fileHeader[1] != 'M')
        Invalid();
    const std::uint32_t pixelOffset = U32(fileHeader + 10);

    std::uint8_t info[124] = {};
    if (stream.Read(info, 4) != 4)
        Invalid();
    const std::uint32_t headerSize = U32(info);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > 124))
        Invalid();
    if (stream.Read(info + 4, headerSize - 4) != headerSize - 4)
        Invalid();

    std::int64_t width, height;
    std::uint32_t bits, compression = kRgb, colourCount = 0;
    if (core) {
        width = U16(info + 4);
        height = U16(info + 6);
        bits = U16(info + 10);
    } else {
        width = static_cast<std::int32_t>(U32(info + 4));
        height = static_cast<std::int32_t>(U32(info + 8));
        bits = U16(info + 14);
        compression = U32(info + 16);
        colourCount = U32(info + 32);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width < 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        Invalid();
    TPixelFormat format;
    switch (bits) {
    case 1: format = TPixelFormat::pf1bit; break;
    case 4: format = TPixelFormat::pf4bit; break;
    case 8: format = TPixelFormat::pf8bit; break;
    case 24: format = TPixelFormat::pf24bit; break;
    default: Unsupported();
    }
    if (!(compression == kRgb || (compression == kRle8 && bits == 8 && !topDown)))
        Unsupported();
    if (check)
        check(static_cast<int>(width), static_cast<int>(height), format);

    TPalette256 palette{};
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        const std::uint32_t count = colourCount == 0 || colourCount > full ? full : colourCount;
        const std::size_t entrySize = core ? 3 : 4;
        std::vector<std::uint8_t> entries(count * entrySize);
        if (stream.Read(entries.data(), entries.size()) != entries.size())
            Invalid();
        for (std::uint32_t i = 0; i < count; ++i)
            palette[i] = {entries[i * entrySize + 2], entries[i * entrySize + 1], entries[i * entrySize], 0};
    }

    // Pixel data starts at the offset the file header gives (or right after the palette when the
    // offset is missing).
    std::uint64_t dataStart = static_cast<std::uint64_t>(stream.Position() - start);
    if (pixelOffset != 0)
        dataStart = pixelOffset;
    if (dataStart > available)
        Invalid();
    const std::uint64_t dataSize = available - dataStart;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (compression == kRgb ? stride * height > dataSize : pixels > dataSize * kMaxRlePixelsPerByte)
        Invalid();
    stream.SetPosition(start + static_cast<std::int64_t>(dataStart));

    TBitmap image(static_cast<int>(width), static_cast<int>(height), format);
    image.Palette() = palette;
    if (compression == kRgb && image.RowBytes() > 0) {
        std::vector<std::uint8_t> row(stride);
        for (std::int64_t i = 0; i < height; ++i) {
            stream.ReadBuffer(row.data(), row.size());
            const int target = static_cast<int>(topDown ? i : height - 1 - i);
            std::memcpy(image.ScanLine(target), row.data(), static_cast<std::size_t>(image.RowBytes()));
        }
    } else if (compression == kRle8) {
        std::vector<std::uint8_t> data(dataSize);
        stream.ReadBuffer(data.data(), data.size());
        DecodeRle8(data.data(), data.size(), image);
    }
    bitmap = std::move(image);
}

void WriteBmp(TStream& stream, const TBitmap& bitmap) {
    const int bits = bitmap.BitsPerPixel();
    const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
    const std::uint32_t stride = ((static_cast<std::uint32_t>(bitmap.Width()) * bits + 31) / 32) * 4;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(bitmap.Height());
    const std::uint32_t offset = 14 + 40 + colours * 4;
    std::vector<std::uint8_t> head;
    head.reserve(offset);
    head.push_back('B');
    head.push_back('M');
    Put32(head, offset + imageSize);
    Put32(head, 0);
    Put32(head, offset);
    Put32(head, 40);
    Put32(head, static_cast<std::uint32_t>(bitmap.Width()));
    Put32(head, static_cast<std::uint32_t>(bitmap.Height()));
    Put16(head, 1);
    Put16(head, static_cast<std::uint32_t>(bits));
    Put32(head, kRgb);
    Put32(head, imageSize);
    Put32(head, 0);
    Put32(head, 0);
    Put32(head, colours);
    Put32(head, 0);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const TPaletteEntry& e = bitmap.Palette()[i];
        head.push_back(e.Blue);
        head.push_back(e.Green);
        head.push_back(e.Red);
        head.push_back(0);
    }
    stream.Write(head.data(), head.size());
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = bitmap.Height() - 1; y >= 0 && stride > 0; --y) {
        std::memcpy(row.data(), bitmap.ScanLine(y), static_cast<std::size_t>(bitmap.RowBytes()));
        stream.Write(row.data(), row.size());
    }
}

}  // namespace quillon
