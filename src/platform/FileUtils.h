// Whole-file reads and safe whole-file writes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillon {

// A file could not be opened, read, written or replaced. The message names the file and the
// reason given by the system.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TFileStamp {
    std::int64_t Size = 0;
    std::int64_t Age = 0;  // modification time in nanoseconds since the epoch
    bool operator==(const TFileStamp&) const = default;
};

// Reads the whole file; raises EFileError.
std::string ReadWholeFile(const std::string& path);
// Size and modification stamp of a file; raises EFileError when it does not exist.
TFileStamp GetFileStamp(const std::string& path);
// Writes the bytes to a temporary file in the same folder and renames it over path only when the
// whole write (and flush to disk) succeeded; on failure the previous file is untouched and the
// temporary file removed. Raises EFileError.
void WriteFileAtomic(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

}  // namespace quillon
