#include "platform/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
    throw EFileError(std::string(what) + " \"" + path + "\": " + std::strerror(error));
}

class TFd {
public:
    explicit TFd(int fd) : mFd(fd) {}
    ~TFd() {
        if (mFd >= 0)
            ::close(mFd);
    }
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

}  // namespace

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
    for (;;) {
        if (done == bytes.size()) {
            if (done >= limit) {
                bytes.resize(done);
                return false;
            }
            bytes.resize(std::min(limit, done + 65536));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, "Cannot read", errno);
        }
        if (n == 0)
            break;
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

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
    std::string temp = path + "." + std::string(6, 'X');  // mkstemp fills in the Xs
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
    if (::rename(temp.c_str(), path.c_str()) != 0)
        failWith("Cannot replace", errno);
}

}  // namespace quillon
