// A stream written straight into a file: the bytes go to a temporary file next to it, which
// replaces the file only when Commit succeeds. Without Commit (an error on the way) the temporary
// file is removed and the previous file stays as it was.
#pragma once

#include "data/StreamUtils.h"

#include <string>
#include <vector>

namespace quillon {

class TFileWriteStream final : public TStream {
public:
    // Creates the temporary file; raises EFileError.
    explicit TFileWriteStream(const std::string& path);
    ~TFileWriteStream() override;
    TFileWriteStream(const TFileWriteStream&) = delete;
    TFileWriteStream& operator=(const TFileWriteStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;  // reads nothing
    // Raises EFileError when the disk refuses the bytes.
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return mWritten; }
    // Only the current position is allowed.
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return mWritten; }

    // Flushes to disk and renames the temporary file over the file; raises EFileError.
    void Commit();

private:
    void Flush();
    [[noreturn]] void Fail(const char* what, int error);

    std::string mPath;
    std::string mTemp;
    int mFd = -1;
    std::vector<char> mBuffer;
    std::int64_t mWritten = 0;
};

}  // namespace quillon
