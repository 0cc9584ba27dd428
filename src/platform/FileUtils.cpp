#include "platform/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
    throw EFileError(std::string(what) + " \"" + path + "\": " + std::strerror(error));
}

}  // namespace

TFd::~TFd() {
    if (mFd >= 0)
        ::close(mFd);
}

int OpenRegularFile(const std::string& path) {
    // O_NONBLOCK: opening a pipe that has no writer returns at once instead of waiting.
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0)
        Fail(path, "Cannot open", errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        Fail(path, "Cannot read", errno);
    if (S_ISDIR(st.st_mode))
        Fail(path, "Cannot read", EISDIR);
    if (!S_ISREG(st.st_mode))
        throw EFileError("Cannot read \"" + path + "\": not a regular file");
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
    return fd.Release();
}

namespace {

// Reads up to limit bytes; done tells how many arrived. Answers true when the file ended.
bool ReadBounded(int fd, const std::string& path, std::string& bytes, std::size_t limit) {
    std::size_t done = 0;
    char probe[4096];
    for (;;) {
        const bool atEnd = done == bytes.size();
        if (atEnd && done >= limit) {
            bytes.resize(done);
            return false;
        }
        // At the expected end, a small read tells whether there is more before the buffer grows
        // (growing first would double the buffer of every file read whole).
        const std::size_t want = atEnd ? std::min(sizeof probe, limit - done) : bytes.size() - done;
        const ssize_t n = atEnd ? ::read(fd, probe, want) : ::read(fd, bytes.data() + done, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, "Cannot read", errno);
        }
        if (n == 0)
            break;
        if (atEnd)
            bytes.append(probe, static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return true;
}

[[noreturn]] void TooLarge(const std::string& path, std::int64_t maxSize) {
    throw EFileError("Cannot read \"" + path + "\": larger than " + std::to_string(maxSize >> 20) +
                     " MiB, too large for its kind");
}

}  // namespace

std::string ReadWholeFile(const std::string& path, std::int64_t maxSize) {
    TFd fd(OpenRegularFile(path));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        Fail(path, "Cannot read", errno);
    if (st.st_size > maxSize)
        TooLarge(path, maxSize);
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read on
    // up to the limit (one byte past it tells that it went over).
    std::string bytes(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0), '\0');
    if (!ReadBounded(fd.Get(), path, bytes, static_cast<std::size_t>(maxSize) + 1) ||
        static_cast<std::int64_t>(bytes.size()) > maxSize)
        TooLarge(path, maxSize);
    return bytes;
}

std::string ReadFileHead(const std::string& path, std::size_t count) {
    TFd fd(OpenRegularFile(path));
    std::string bytes;
    ReadBounded(fd.Get(), path, bytes, count);
    return bytes;
}

TFileStamp GetFileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        Fail(path, "Cannot open", errno);
    TFileStamp stamp;
    stamp.Size = static_cast<std::int64_t>(st.st_size);
    stamp.Age = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

bool IsTempNameWith(const std::string& name, const char* infixText, std::string* file) {
    const std::size_t infix = name.rfind(infixText);
    const std::size_t infixSize = std::char_traits<char>::length(infixText);
    if (infix == std::string::npos || infix == 0 || name.size() != infix + infixSize + 6)
        return false;
    for (std::size_t i = infix + infixSize; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    if (file)
        *file = name.substr(0, infix);
    return true;
}

}  // namespace

bool IsSaveTempName(const std::string& name, std::string* file) { return IsTempNameWith(name, kSaveTempInfix, file); }

bool IsOwnTempName(const std::string& name, std::string* file) {
    return IsTempNameWith(name, kSaveTempInfix, file) || IsTempNameWith(name, kCopyTempInfix, file);
}

std::vector<std::string> ListSaveTempFiles(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (IsSaveTempName(entry->d_name))
                names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// Removes temporary files of ours in a folder: plain files of this user (never a link, a folder
// or another user's file) with one of our temporary names, that the filter takes (given the
// name and the file's status). Answers their names, sorted.
template <typename TFilter>
std::vector<std::string> RemoveOwnFiles(const std::string& folder, const TFilter& filter) {
    std::vector<std::string> removed;
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return removed;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return removed;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (!IsOwnTempName(name) || ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || !filter(name, st))
            continue;
        if (::unlinkat(fd, entry->d_name, 0) == 0)
            removed.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(removed.begin(), removed.end());
    return removed;
}

}  // namespace

int RemoveStaleSaveTemps(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::int64_t now = static_cast<std::int64_t>(::time(nullptr));
    // Only files nobody has written to for a while: a save in progress keeps its temporary file
    // fresh.
    const auto stale = [&](const std::string& name, const struct stat& st) {
        std::string owner;
        return IsSaveTempName(name, &owner) && owner == file &&
               now - static_cast<std::int64_t>(st.st_mtim.tv_sec) >= kStaleSaveTempSeconds;
    };
    return static_cast<int>(RemoveOwnFiles(folder, stale).size());
}

std::vector<std::string> RemoveLeftTempFiles(const std::string& folder, const std::vector<std::string>& of) {
    return RemoveOwnFiles(folder, [&](const std::string& name, const struct stat&) {
        std::string owner;
        return IsOwnTempName(name, &owner) && (of.empty() || std::find(of.begin(), of.end(), owner) != of.end());
    });
}

void IgnoreFileSizeLimitSignal() { ::signal(SIGXFSZ, SIG_IGN); }

namespace {

// Writes the bytes to a fresh temporary file beside path, flushed to disk, with the permissions
// of the file it is to replace; answers its name. Raises EFileError, leaving nothing behind.
std::string WriteSaveTemp(const std::string& path, const std::string& bytes) {
    RemoveStaleSaveTemps(path);
    std::string temp = path + kSaveTempInfix + std::string(6, 'X');  // mkstemp fills in the Xs
    TFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        Fail(path, "Cannot create", errno);
    auto failWith = [&](const char* what, int error) {
        ::unlink(temp.c_str());
        Fail(path, what, error);
    };
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd.Get(), mode);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failWith("Cannot write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.Get()) != 0)
        failWith("Cannot write", errno);
    if (::close(fd.Release()) != 0)
        failWith("Cannot write", errno);
    return temp;
}

}  // namespace

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
    const std::string temp = WriteSaveTemp(path, bytes);
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        Fail(path, "Cannot replace", error);
    }
}

TFileTransaction::~TFileTransaction() { Abort(); }

void TFileTransaction::Stage(const std::string& path, const std::string& bytes) {
    for (TStaged& staged : mStaged) {
        if (staged.Path == path) {  // staged again: the newer bytes win
            const std::string temp = WriteSaveTemp(path, bytes);
            ::unlink(staged.Temp.c_str());
            staged.Temp = temp;
            return;
        }
    }
    mStaged.push_back({path, WriteSaveTemp(path, bytes)});
}

void TFileTransaction::Commit() {
    // A target that no file can replace (a folder in its place) fails the whole transaction
    // before anything is renamed.
    for (const TStaged& file : mStaged) {
        struct stat st {};
        if (::lstat(file.Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            const std::string path = file.Path;
            Abort();
            Fail(path, "Cannot replace", EISDIR);
        }
    }
    std::vector<TStaged> staged;
    staged.swap(mStaged);
    std::string failure;
    for (const TStaged& file : staged) {
        if (!failure.empty()) {
            ::unlink(file.Temp.c_str());
            continue;
        }
        if (::rename(file.Temp.c_str(), file.Path.c_str()) != 0) {
            failure = "Cannot replace \"" + file.Path + "\": " + std::strerror(errno);
            ::unlink(file.Temp.c_str());
        }
    }
    if (!failure.empty())
        throw EFileError(failure);
}

void TFileTransaction::Abort() {
    for (const TStaged& file : mStaged)
        ::unlink(file.Temp.c_str());
    mStaged.clear();
}

}  // namespace quillon
