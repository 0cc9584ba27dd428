// A PNG written row by row, so that no whole picture is ever held: every row gets a cheaply chosen
// filter, the filtered rows are compressed in bands of about BandBytes on worker threads (each band
// a run of deflate blocks continuing the previous band's 32 KiB window, the checksums joined) and
// the compressed bands are written in order as they are done.
#pragma once

#include "data/StreamUtils.h"
#include "graphics/GraphicsTypes.h"

#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <vector>

namespace quillon {

struct TPngStreamOptions {
    int Threads = 0;  // compressing threads; 0: one per core
    int Level = 6;    // zlib compression level 1..9
    std::size_t BandBytes = 128 * 1024;  // filtered bytes compressed as one band (at least 1)
};

class TPngStreamWriter {
public:
    static constexpr std::size_t kWindowBytes = 32 * 1024;

    // Writes the signature and header (and the palette): an 8-bit indexed image when palette holds
    // 1..256 entries, a truecolour one when it is empty. Raises EInvalidGraphic for a side outside
    // 1..kMaxPictureSide or more than 256 entries.
    TPngStreamWriter(TStream& stream, int width, int height, const std::vector<TPaletteEntry>& palette,
                     const TPngStreamOptions& options = {});
    // Waits for the compressing threads; a writer not finished leaves the image incomplete.
    ~TPngStreamWriter();
    TPngStreamWriter(const TPngStreamWriter&) = delete;
    TPngStreamWriter& operator=(const TPngStreamWriter&) = delete;

    bool Indexed() const { return mIndexed; }
    // Bytes of one row: palette indices, or red, green, blue per pixel.
    int RowBytes() const { return mRowBytes; }
    int RowsWritten() const { return mRow; }

    // Adds count rows, the first at rows and each next one stride bytes further. Rows beyond the
    // image's height are refused with std::logic_error.
    void WriteRows(const std::uint8_t* rows, int count, std::ptrdiff_t stride);
    // Writes the rest of the image data and the end; every row must have been written.
    void Finish();

private:
    struct TBandResult {
        std::vector<std::uint8_t> Data;
        std::uint32_t Adler = 1;
        std::size_t Length = 0;
    };

    void FilterRow(const std::uint8_t* row);
    void SubmitBand(bool last);
    void WriteBandResult(TBandResult result);
    void WriteImageData(const std::uint8_t* data, std::size_t length, bool force);

    TStream& mStream;
    int mWidth;
    int mHeight;
    bool mIndexed;
    int mRowBytes;
    int mBytesPerPixel;
    int mThreads;
    int mLevel;
    std::size_t mBandBytes;
    int mRow = 0;
    bool mFinished = false;
    std::vector<std::uint8_t> mPrevious;  // the last row, unfiltered
    std::vector<std::uint8_t> mBand;      // filtered rows waiting to be compressed
    std::vector<std::uint8_t> mWindow;    // the last kWindowBytes of filtered data handed on
    std::vector<std::uint8_t> mCandidate;
    std::deque<std::future<TBandResult>> mPending;
    std::vector<std::uint8_t> mOutput;    // image data waiting for its chunk
    std::uint32_t mAdler = 1;
};

}  // namespace quillon
