#include "platform/FileUtils.h"

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

std::string ReadWholeFile(const std::string& path) {
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        Fail(path, "Cannot open", errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        Fail(path, "Cannot read", errno);
    if (S_ISDIR(st.st_mode))
        Fail(path, "Cannot read", EISDIR);
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read on
    // to its end.
    std::string bytes(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0), '\0');
    std::size_t done = 0;
    char probe[4096];
    for (;;) {
        // At the expected end, a small read tells whether there is more before the buffer grows
        // (growing first would double the buffer of every file read whole).
        const bool atEnd = done == bytes.size();
        const ssize_t n = atEnd ? ::read(fd.Get(), probe, sizeof probe)
                                : ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
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
