#include "graphics/PngStreamWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace quillon {

namespace {

constexpr std::uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
constexpr std::size_t kChunkBytes = 128 * 1024;  // image data collected before a chunk is written

void PutBigEndian32(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

void WriteChunk(TStream& stream, const char* type, const std::uint8_t* data, std::size_t length) {
    std::uint8_t head[8];
    PutBigEndian32(head, static_cast<std::uint32_t>(length));
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0L, head + 4, 4);
    if (length != 0)
        crc = crc32_z(crc, data, length);
    std::uint8_t tail[4];
    PutBigEndian32(tail, static_cast<std::uint32_t>(crc));
    stream.Write(head, 8);
    if (length != 0)
        stream.Write(data, length);
    stream.Write(tail, 4);
}

[[noreturn]] void ZlibFailed() { throw std::runtime_error("Zlib Error"); }

// One band of filtered rows as raw deflate blocks that go on from the dictionary (the data before
// the band); every band but the last ends byte-aligned on an empty stored block, so that the next
// band's blocks follow it directly.
struct TCompressed {
    std::vector<std::uint8_t> Data;
    std::uint32_t Adler = 1;
    std::size_t Length = 0;
};

TCompressed CompressBand(const std::vector<std::uint8_t>& input, const std::vector<std::uint8_t>& dictionary,
                         int level, bool last) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        ZlibFailed();
    struct TEnd {
        z_stream& Z;
        ~TEnd() { deflateEnd(&Z); }
    } end{z};
    if (!dictionary.empty() &&
        deflateSetDictionary(&z, dictionary.data(), static_cast<uInt>(dictionary.size())) != Z_OK)
        ZlibFailed();
    TCompressed result;
    // Pictures of tiles shrink a lot: start at a quarter and grow when that is not enough.
    result.Data.resize(input.size() / 4 + 1024);
    z.next_in = const_cast<Bytef*>(input.data());
    z.avail_in = static_cast<uInt>(input.size());
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
        z.next_out = result.Data.data() + z.total_out;
        z.avail_out = static_cast<uInt>(result.Data.size() - z.total_out);
        const int status = deflate(&z, flush);
        if (status == Z_STREAM_ERROR)
            ZlibFailed();
        if (last ? status == Z_STREAM_END : (z.avail_in == 0 && z.avail_out != 0))
            break;
        result.Data.resize(result.Data.size() * 2);
    }
    result.Data.resize(z.total_out);
    result.Adler = static_cast<std::uint32_t>(adler32_z(1, input.data(), input.size()));
    result.Length = input.size();
    return result;
}

// The cost of a filtered byte when guessing how well a row compresses: its distance from 0.
inline unsigned Cost(std::uint8_t value) { return value < 128 ? value : 256u - value; }

}  // namespace

TPngStreamWriter::TPngStreamWriter(TStream& stream, int width, int height, const std::vector<TPaletteEntry>& palette,
                                   const TPngStreamOptions& options)
    : mStream(stream), mWidth(width), mHeight(height), mIndexed(!palette.empty()) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide || palette.size() > 256)
        throw EInvalidGraphic("Invalid PNG Image");
    mBytesPerPixel = mIndexed ? 1 : 3;
    mRowBytes = width * mBytesPerPixel;
    mThreads = options.Threads > 0 ? options.Threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    mLevel = std::clamp(options.Level, 1, 9);
    mBandBytes = std::max<std::size_t>(options.BandBytes, 1);
    mPrevious.assign(static_cast<std::size_t>(mRowBytes), 0);
    mCandidate.resize(static_cast<std::size_t>(mRowBytes));
    mBand.reserve(mBandBytes + static_cast<std::size_t>(mRowBytes) + 1);

    mStream.Write(kSignature, 8);
    std::uint8_t header[13] = {};
    PutBigEndian32(header, static_cast<std::uint32_t>(width));
    PutBigEndian32(header + 4, static_cast<std::uint32_t>(height));
    header[8] = 8;
    header[9] = mIndexed ? 3 : 2;
    WriteChunk(mStream, "IHDR", header, sizeof header);
    if (mIndexed) {
        std::vector<std::uint8_t> entries;
        for (const TPaletteEntry& entry : palette) {
            entries.push_back(entry.Red);
            entries.push_back(entry.Green);
            entries.push_back(entry.Blue);
        }
        WriteChunk(mStream, "PLTE", entries.data(), entries.size());
    }
    // The zlib header: 32 KiB window, the compression level's hint, no dictionary.
    const int levelHint = mLevel < 2 ? 0 : mLevel < 6 ? 1 : mLevel == 6 ? 2 : 3;
    const unsigned cmf = 0x78;
    unsigned flg = static_cast<unsigned>(levelHint) << 6;
    flg += 31 - (cmf * 256 + flg) % 31;
    mOutput.push_back(static_cast<std::uint8_t>(cmf));
    mOutput.push_back(static_cast<std::uint8_t>(flg));
}

TPngStreamWriter::~TPngStreamWriter() {
    for (auto& pending : mPending)
        if (pending.valid())
            pending.wait();
}

void TPngStreamWriter::WriteRows(const std::uint8_t* rows, int count, std::ptrdiff_t stride) {
    if (mFinished || count < 0 || count > mHeight - mRow)
        throw std::logic_error("PNG rows beyond the image");
    for (int i = 0; i < count; ++i)
        FilterRow(rows + i * stride);
}

void TPngStreamWriter::FilterRow(const std::uint8_t* row) {
    const std::size_t length = static_cast<std::size_t>(mRowBytes);
    // A row like the one above is all zeros under Up; an indexed row is best left as it is;
    // a truecolour row takes None, Sub or Up by the smallest sum of distances from 0.
    int filter = 0;
    if (mRow > 0 && std::memcmp(row, mPrevious.data(), length) == 0) {
        filter = 2;
    } else if (!mIndexed) {
        unsigned none = 0, sub = 0, up = 0;
        const int bpp = mBytesPerPixel;
        for (std::size_t i = 0; i < length; ++i) {
            none += Cost(row[i]);
            sub += Cost(static_cast<std::uint8_t>(row[i] - (i >= static_cast<std::size_t>(bpp) ? row[i - bpp] : 0)));
            up += Cost(static_cast<std::uint8_t>(row[i] - (mRow > 0 ? mPrevious[i] : 0)));
        }
        if (sub < none && sub <= up)
            filter = 1;
        else if (up < none)
            filter = 2;
    }
    mBand.push_back(static_cast<std::uint8_t>(filter));
    const std::size_t start = mBand.size();
    mBand.resize(start + length);
    std::uint8_t* out = mBand.data() + start;
    switch (filter) {
    case 1:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - (i >= static_cast<std::size_t>(mBytesPerPixel) ? row[i - mBytesPerPixel] : 0));
        break;
    case 2:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - mPrevious[i]);
        break;
    default:
        std::memcpy(out, row, length);
        break;
    }
    std::memcpy(mPrevious.data(), row, length);
    ++mRow;
    if (mBand.size() >= mBandBytes)
        SubmitBand(false);
}

void TPngStreamWriter::SubmitBand(bool last) {
    auto band = std::make_shared<std::vector<std::uint8_t>>(std::move(mBand));
    auto dictionary = std::make_shared<std::vector<std::uint8_t>>(mWindow);
    // The window handed to the next band: the last 32 KiB before it.
    if (band->size() >= kWindowBytes) {
        mWindow.assign(band->end() - static_cast<std::ptrdiff_t>(kWindowBytes), band->end());
    } else {
        mWindow.insert(mWindow.end(), band->begin(), band->end());
        if (mWindow.size() > kWindowBytes)
            mWindow.erase(mWindow.begin(), mWindow.end() - static_cast<std::ptrdiff_t>(kWindowBytes));
    }
    mBand = std::vector<std::uint8_t>();
    mBand.reserve(mBandBytes + static_cast<std::size_t>(mRowBytes) + 1);
    const int level = mLevel;
    auto work = [band, dictionary, level, last] {
        TCompressed compressed = CompressBand(*band, *dictionary, level, last);
        return TBandResult{std::move(compressed.Data), compressed.Adler, compressed.Length};
    };
    if (mThreads <= 1) {
        WriteBandResult(work());
        return;
    }
    mPending.push_back(std::async(std::launch::async, work));
    while (mPending.size() > static_cast<std::size_t>(mThreads)) {
        TBandResult result = mPending.front().get();
        mPending.pop_front();
        WriteBandResult(std::move(result));
    }
}

void TPngStreamWriter::WriteBandResult(TBandResult result) {
    mAdler = static_cast<std::uint32_t>(adler32_combine(mAdler, result.Adler, static_cast<z_off_t>(result.Length)));
    WriteImageData(result.Data.data(), result.Data.size(), false);
}

void TPngStreamWriter::WriteImageData(const std::uint8_t* data, std::size_t length, bool force) {
    mOutput.insert(mOutput.end(), data, data + length);
    if (mOutput.size() >= kChunkBytes || (force && !mOutput.empty())) {
        WriteChunk(mStream, "IDAT", mOutput.data(), mOutput.size());
        mOutput.clear();
    }
}

void TPngStreamWriter::Finish() {
    if (mFinished)
        return;
    if (mRow != mHeight)
        throw std::logic_error("PNG image finished before its last row");
    SubmitBand(true);
    while (!mPending.empty()) {
        TBandResult result = mPending.front().get();
        mPending.pop_front();
        WriteBandResult(std::move(result));
    }
    mFinished = true;
    std::uint8_t adler[4];
    PutBigEndian32(adler, mAdler);
    WriteImageData(adler, 4, true);
    WriteChunk(mStream, "IEND", nullptr, 0);
}

}  // namespace quillon
