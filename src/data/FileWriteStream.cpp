#include "data/FileWriteStream.h"

#include "platform/FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quillon {

namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;

}  // namespace

TFileWriteStream::TFileWriteStream(const std::string& path) : mPath(path), mTemp(path + ".XXXXXX") {
    mFd = ::mkostemp(mTemp.data(), O_CLOEXEC);
    if (mFd < 0)
        Fail("Cannot create", errno);
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
    ::fchmod(mFd, mode);
    mBuffer.reserve(kBufferBytes);
}

TFileWriteStream::~TFileWriteStream() {
    if (mFd >= 0) {
        ::close(mFd);
        ::unlink(mTemp.c_str());
    }
}

void TFileWriteStream::Fail(const char* what, int error) {
    if (mFd >= 0) {
        ::close(mFd);
        ::unlink(mTemp.c_str());
        mFd = -1;
    }
    throw EFileError(std::string(what) + " \"" + mPath + "\": " + std::strerror(error));
}

std::size_t TFileWriteStream::Read(void*, std::size_t) { return 0; }

void TFileWriteStream::SetPosition(std::int64_t position) {
    if (position != mWritten)
        throw std::logic_error("a file write stream only goes forward");
}

void TFileWriteStream::Write(const void* buffer, std::size_t count) {
    if (mFd < 0)
        throw EFileError("Cannot write \"" + mPath + "\"");
    const char* bytes = static_cast<const char*>(buffer);
    if (mBuffer.size() + count > kBufferBytes)
        Flush();
    if (count >= kBufferBytes) {
        mBuffer.assign(bytes, bytes + count);
        Flush();
    } else {
        mBuffer.insert(mBuffer.end(), bytes, bytes + count);
    }
    mWritten += static_cast<std::int64_t>(count);
}

void TFileWriteStream::Flush() {
    std::size_t done = 0;
    while (done < mBuffer.size()) {
        const ssize_t n = ::write(mFd, mBuffer.data() + done, mBuffer.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail("Cannot write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    mBuffer.clear();
}

void TFileWriteStream::Commit() {
    if (mFd < 0)
        throw EFileError("Cannot write \"" + mPath + "\"");
    Flush();
    if (::fsync(mFd) != 0)
        Fail("Cannot write", errno);
    const int fd = mFd;
    mFd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(mTemp.c_str());
        throw EFileError(std::string("Cannot write \"") + mPath + "\": " + std::strerror(error));
    }
    if (::rename(mTemp.c_str(), mPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(mTemp.c_str());
        throw EFileError(std::string("Cannot replace \"") + mPath + "\": " + std::strerror(error));
    }
}

}  // namespace quillon
