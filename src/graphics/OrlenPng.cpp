#include "graphics/OrlenPng.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace quillon {

namespace {

constexpr std::uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};

constexpr std::uint32_t ChunkType(const char (&name)[5]) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[3]));
}
constexpr std::uint32_t kIHDR = ChunkType("IHDR");
constexpr std::uint32_t kPLTE = ChunkType("PLTE");
constexpr std::uint32_t kIDAT = ChunkType("IDAT");
constexpr std::uint32_t kIEND = ChunkType("IEND");

// Deflate cannot shrink data by more than about 1032 to 1; image data needing more than this many
// bytes per byte of file left cannot be there.
constexpr std::uint64_t kMaxInflateRatio = 1032;

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalidPngText); }
[[noreturn]] void ZlibError() { throw std::runtime_error(kZlibErrorText); }

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void PutBigEndian32(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

// Reverses one of the five PNG filters on a row (bytes after the filter byte) in place; an
// unknown filter leaves the row as it is.
void Unfilter(int filter, std::uint8_t* row, const std::uint8_t* prior, int length, int bpp) {
    switch (filter) {
    case 1:
        for (int i = bpp; i < length; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
        break;
    case 2:
        for (int i = 0; i < length; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
        break;
    case 3:
        for (int i = 0; i < bpp && i < length; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
        for (int i = bpp; i < length; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
        break;
    case 4:
        for (int i = 0; i < bpp && i < length; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
        for (int i = bpp; i < length; ++i) {
            const int a = row[i - bpp], b = prior[i], c = prior[i - bpp];
            const int p = a + b - c;
            const int pa = p > a ? p - a : a - p;
            const int pb = p > b ? p - b : b - p;
            const int pc = p > c ? p - c : c - p;
            const int predictor = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
            row[i] = static_cast<std::uint8_t>(row[i] + predictor);
        }
        break;
    default:
        break;
    }
}

class TInflater {
public:
    TInflater() {
        if (inflateInit(&mStream) != Z_OK)
            ZlibError();
    }
    ~TInflater() { inflateEnd(&mStream); }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;
    z_stream* get() { return &mStream; }
    z_stream* operator->() { return &mStream; }

private:
    z_stream mStream{};
};

class TDeflater {
public:
    TDeflater() {
        if (deflateInit(&mStream, Z_DEFAULT_COMPRESSION) != Z_OK)
            ZlibError();
    }
    ~TDeflater() { deflateEnd(&mStream); }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;
    z_stream& operator*() { return mStream; }
    z_stream* operator->() { return &mStream; }

private:
    z_stream mStream{};
};

class TPngReader {
public:
    TPngReader(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check)
        : mStream(stream), mBitmap(bitmap), mCheck(check) {}

    void Read() {
        std::uint8_t signature[8];
        ReadExact(signature, 8);
        if (std::memcmp(signature, kSignature, 8) != 0)
            Invalid();
        for (;;) {
            const std::uint32_t length = ReadU32();
            const std::uint32_t type = ReadU32();
            if (type == kIHDR) {
                ReadHeader(length);
            } else if (type == kPLTE) {
                ReadPalette(length);
            } else if (type == kIDAT) {
                ReadImageData(length);
            } else if (type == kIEND) {
                if (length != 0)
                    Invalid();
                return;
            } else {
                Skip(length);
            }
            ReadU32();  // CRC, not checked
        }
    }

private:
    void ReadExact(void* buffer, std::size_t count) {
        if (count != 0 && mStream.Read(buffer, count) != count)
            Invalid();
    }

    std::uint32_t ReadU32() {
        std::uint8_t bytes[4];
        ReadExact(bytes, 4);
        return BigEndian32(bytes);
    }

    void Skip(std::uint32_t length) {
        if (length > static_cast<std::uint64_t>(mStream.Remaining()))
            Invalid();
        mStream.SetPosition(mStream.Position() + length);
    }

    void ReadChunkData(std::uint32_t length) {
        if (length > static_cast<std::uint64_t>(mStream.Remaining()))
            Invalid();
        mData.resize(length);
        ReadExact(mData.data(), length);
    }

    void ReadHeader(std::uint32_t length) {
        if (length > 13)
            Invalid();
        std::uint8_t header[13] = {};
        ReadExact(header, length);
        const std::uint32_t width = BigEndian32(header);
        const std::uint32_t height = BigEndian32(header + 4);
        const int depth = header[8];
        const int colourType = header[9];
        const int interlace = header[12];
        TPixelFormat format;
        if (colourType == 2) {
            if (depth != 8)
                throw std::runtime_error(kUnsupportedPngText);
            format = TPixelFormat::pf24bit;
            mBytesPerPixel = 3;
        } else if (colourType == 3) {
            if (depth != 8)
                throw EInvalidGraphic(kUnsupportedPngText);
            format = TPixelFormat::pf8bit;
            mBytesPerPixel = 1;
        } else {
            throw std::runtime_error(kUnsupportedPngText);
        }
        if (interlace != 0)
            throw std::runtime_error(kUnsupportedPngText);
        if (width > static_cast<std::uint32_t>(kMaxPictureSide) || height > static_cast<std::uint32_t>(kMaxPictureSide))
            Invalid();
        if (mCheck)
            mCheck(static_cast<int>(width), static_cast<int>(height), format);
        const std::uint64_t rowLength = static_cast<std::uint64_t>(width) * mBytesPerPixel + 1;
        const std::uint64_t rest = static_cast<std::uint64_t>(mStream.Remaining());
        if (rowLength * height > (rest + 64) * kMaxInflateRatio)
            Invalid();
        const TPalette256 palette = mBitmap.Palette();
        mBitmap = TBitmap(static_cast<int>(width), static_cast<int>(height), format);
        mBitmap.Palette() = palette;
        mRowLength = static_cast<int>(rowLength);
        mHeight = static_cast<int>(height);
        mRow = 0;
        mCurrent.assign(rowLength, 0);
        mPrevious.assign(rowLength, 0);
    }

    void ReadPalette(std::uint32_t length) {
        if (length > 768)
            Invalid();
        ReadChunkData(length);
        TPalette256 palette{};
        for (std::uint32_t i = 0; i + 2 < length; i += 3)
            palette[i / 3] = {mData[i], mData[i + 1], mData[i + 2], 0};
        mBitmap.Palette() = palette;
    }

    void Inflate() {
        if (inflate(mInflater->get(), Z_NO_FLUSH) < 0)
            ZlibError();
    }

    void SetInput() {
        mInflater->get()->next_in = mData.data();
        mInflater->get()->avail_in = static_cast<uInt>(mData.size());
    }

    void ReadImageData(std::uint32_t length) {
        if (!mInflater)
            mInflater = std::make_unique<TInflater>();
        TInflater& z = *mInflater;
        ReadChunkData(length);
        SetInput();
        while (mRow < mHeight) {
            if (z->avail_in == 0)
                break;  // the next IDAT goes on with this row
            z->next_out = mCurrent.data();
            z->avail_out = static_cast<uInt>(mRowLength);
            Inflate();
            while (z->avail_out != 0) {
                // The row goes on in the next chunk, which has to be image data too.
                ReadU32();
                const std::uint32_t nextLength = ReadU32();
                if (ReadU32() != kIDAT)
                    Invalid();
                ReadChunkData(nextLength);
                SetInput();
                if (z->avail_in != 0)
                    Inflate();
            }
            FinishRow();
        }
    }

    void FinishRow() {
        const int length = mRowLength - 1;
        Unfilter(mCurrent[0], mCurrent.data() + 1, mPrevious.data() + 1, length, mBytesPerPixel);
        std::uint8_t* target = mBitmap.ScanLine(mRow);
        if (length > 0)
            std::memcpy(target, mCurrent.data() + 1, static_cast<std::size_t>(length));
        if (mBytesPerPixel == 3)
            for (int i = 0; i + 2 < length; i += 3)
                std::swap(target[i], target[i + 2]);
        std::swap(mCurrent, mPrevious);
        ++mRow;
    }

    TStream& mStream;
    TBitmap& mBitmap;
    const TPictureHeaderCheck& mCheck;
    std::unique_ptr<TInflater> mInflater;
    std::vector<std::uint8_t> mData;
    std::vector<std::uint8_t> mCurrent;
    std::vector<std::uint8_t> mPrevious;
    int mBytesPerPixel = 1;
    int mRowLength = 0;
    int mHeight = 0;
    int mRow = 0;
};

void WriteChunk(TStream& stream, std::uint32_t type, const std::uint8_t* data, std::size_t length) {
    std::uint8_t head[8];
    PutBigEndian32(head, static_cast<std::uint32_t>(length));
    PutBigEndian32(head + 4, type);
    uLong crc = crc32(0L, head + 4, 4);
    if (length != 0)
        crc = crc32(crc, data, static_cast<uInt>(length));
    std::uint8_t tail[4];
    PutBigEndian32(tail, static_cast<std::uint32_t>(crc));
    stream.Write(head, 8);
    if (length != 0)
        stream.Write(data, length);
    stream.Write(tail, 4);
}

}  // namespace

void ReadPng(TStream& stream, TBitmap& bitmap, const TPictureHeaderCheck& check) {
    TPngReader reader(stream, bitmap, check);
    reader.Read();
}

void WritePng(TStream& stream, const TBitmap& bitmap) {
    const bool indexed = bitmap.PixelFormat() != TPixelFormat::pf24bit;
    const TPixelFormat format = indexed ? TPixelFormat::pf8bit : TPixelFormat::pf24bit;
    TBitmap converted;
    const TBitmap* image = &bitmap;
    if (bitmap.PixelFormat() != format) {
        converted = bitmap.ConvertedTo(format);
        image = &converted;
    }
    stream.Write(kSignature, 8);
    std::uint8_t header[13] = {};
    PutBigEndian32(header, static_cast<std::uint32_t>(image->Width()));
    PutBigEndian32(header + 4, static_cast<std::uint32_t>(image->Height()));
    header[8] = 8;
    header[9] = indexed ? 3 : 2;
    WriteChunk(stream, kIHDR, header, sizeof header);
    if (indexed) {
        std::uint8_t palette[768];
        for (int i = 0; i < 256; ++i) {
            palette[3 * i] = image->Palette()[i].Red;
            palette[3 * i + 1] = image->Palette()[i].Green;
            palette[3 * i + 2] = image->Palette()[i].Blue;
        }
        WriteChunk(stream, kPLTE, palette, sizeof palette);
    }

    constexpr std::size_t kOutputSize = 65536;
    std::vector<std::uint8_t> output(kOutputSize);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image->RowBytes()) + 1);
    TDeflater z;
    z->next_out = output.data();
    z->avail_out = kOutputSize;
    auto flushFull = [&] {
        if (z->avail_out == 0) {
            WriteChunk(stream, kIDAT, output.data(), kOutputSize);
            z->next_out = output.data();
            z->avail_out = kOutputSize;
        }
    };
    for (int y = 0; y < image->Height(); ++y) {
        const std::uint8_t* source = image->ScanLine(y);
        row[0] = 0;
        if (image->RowBytes() > 0)
            std::memcpy(row.data() + 1, source, static_cast<std::size_t>(image->RowBytes()));
        if (!indexed)
            for (std::size_t i = 1; i + 2 < row.size(); i += 3)
                std::swap(row[i], row[i + 2]);
        z->next_in = row.data();
        z->avail_in = static_cast<uInt>(row.size());
        while (z->avail_in != 0) {
            if (deflate(&*z, Z_NO_FLUSH) < 0)
                ZlibError();
            flushFull();
        }
    }
    for (;;) {
        const int result = deflate(&*z, Z_FINISH);
        if (result < 0)
            ZlibError();
        if (result == Z_STREAM_END)
            break;
        flushFull();
    }
    const std::size_t rest = kOutputSize - z->avail_out;
    if (rest != 0)
        WriteChunk(stream, kIDAT, output.data(), rest);
    WriteChunk(stream, kIEND, nullptr, 0);
}

}  // namespace quillon
