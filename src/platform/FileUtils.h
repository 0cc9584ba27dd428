// Whole-file reads and safe whole-file writes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

// An open file descriptor, closed when it goes out of scope unless released.
class TFd {
public:
    explicit TFd(int fd) : mFd(fd) {}
    ~TFd();
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return mFd; }
    int Release() {
        const int fd = mFd;
        mFd = -1;
        return fd;
    }

private:
    int mFd;
};

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

// Size limits of the readers by kind of file: a file larger than its kind's limit is refused
// before anything is read.
inline constexpr std::int64_t kDataFileLimit = std::int64_t{256} << 20;     // database, map tree, map units
inline constexpr std::int64_t kImageFileLimit = std::int64_t{64} << 20;     // BMP, PNG, ZGF
inline constexpr std::int64_t kMidiFileLimit = std::int64_t{16} << 20;
inline constexpr std::int64_t kSoundFileLimit = std::int64_t{512} << 20;    // wave, MP3
inline constexpr std::int64_t kProfileFileLimit = std::int64_t{4} << 20;    // ini files
inline constexpr std::int64_t kTemplateFileLimit = std::int64_t{1} << 30;  // files copied whole

// Opens a regular file for reading (or a link to one) and answers its descriptor; anything
// else (a folder, a pipe, a device, a socket) is refused after opening, without waiting for a
// writer. Raises EFileError.
int OpenRegularFile(const std::string& path);
// Reads the whole of a regular file, at most maxSize bytes (a larger file is refused, also one
// that grows past the limit while it is read); raises EFileError.
std::string ReadWholeFile(const std::string& path, std::int64_t maxSize = kDataFileLimit);
// The first bytes of a regular file (fewer when it is shorter); raises EFileError.
std::string ReadFileHead(const std::string& path, std::size_t count);
// Size and modification stamp of a file; raises EFileError when it does not exist.
TFileStamp GetFileStamp(const std::string& path);
// Temporary save files are named "<file>.quillon-save-XXXXXX" (six letters or digits) beside
// the file they are to replace; a save that is killed may leave one behind.
inline constexpr const char* kSaveTempInfix = ".quillon-save-";
// A temporary save file nobody has written to for this long is stale.
inline constexpr int kStaleSaveTempSeconds = 60;
// Whether a file name (without folder) has exactly that pattern; file receives the name of the
// file it belongs to.
bool IsSaveTempName(const std::string& name, std::string* file = nullptr);
// Copies that land whole (a game disk's files) go through "<file>.quillon-copy-XXXXXX" the same
// way; a copy that is killed may leave one behind.
inline constexpr const char* kCopyTempInfix = ".quillon-copy-";
// Whether a file name (without folder) is one of our temporary files: either pattern exactly,
// six letters or digits included; file receives the name of the file it belongs to.
bool IsOwnTempName(const std::string& name, std::string* file = nullptr);
// Removes the temporary files that killed saves and copies left in a folder (not below it):
// plain files of this user (never a link, a folder or another user's file) whose names have
// exactly one of the two patterns, and, when `of` is not empty, belong to one of those file
// names. Meant for a folder no save of ours is writing to now (a project under the writers'
// lock). Answers the names removed, sorted.
std::vector<std::string> RemoveLeftTempFiles(const std::string& folder, const std::vector<std::string>& of = {});
// Writes to a file beyond the process's file-size limit fail with EFBIG, which every writer
// reports as a failed write, instead of ending the program with SIGXFSZ. Called once at start.
void IgnoreFileSizeLimitSignal();
// The temporary save files of a folder (names, sorted).
std::vector<std::string> ListSaveTempFiles(const std::string& folder);
// Removes the stale temporary save files of exactly one file: its name plus the pattern, plain
// files of this user, not written to for kStaleSaveTempSeconds. Answers how many went.
int RemoveStaleSaveTemps(const std::string& path);

// Writes the bytes to a temporary file in the same folder and renames it over path only when the
// whole write (and flush to disk) succeeded; on failure the previous file is untouched and the
// temporary file removed. Stale temporary files of the same file are removed first. Raises
// EFileError.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// Several whole-file writes that land together: Stage writes each file's bytes to a temporary
// file beside it (flushed to disk) and raises EFileError when it cannot; Commit renames every
// staged file over its target only after all were staged. A transaction that is dropped or
// aborted before Commit removes its temporary files and leaves every target as it was, so a
// failure part way (a full disk) never leaves a mix of new and old files.
class TFileTransaction {
public:
    TFileTransaction() = default;
    ~TFileTransaction();
    TFileTransaction(const TFileTransaction&) = delete;
    TFileTransaction& operator=(const TFileTransaction&) = delete;

    void Stage(const std::string& path, const std::string& bytes);
    // Renames every staged file into place; raises EFileError when a rename fails (the files
    // renamed before it stay replaced, the rest are left as they were).
    void Commit();
    void Abort();
    std::size_t StagedCount() const { return mStaged.size(); }

private:
    struct TStaged {
        std::string Path;
        std::string Temp;
    };
    std::vector<TStaged> mStaged;
};
bool FileExists(const std::string& path);

}  // namespace quillon
