#include "project/ProjectLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace quillon {

TProjectLock::TProjectLock(const std::string& folder, std::chrono::milliseconds wait) { Acquire(folder, wait); }

TProjectLock::~TProjectLock() { Release(); }

TProjectLock::TProjectLock(TProjectLock&& other) noexcept
    : mFd(std::exchange(other.mFd, -1)), mFolder(std::move(other.mFolder)) {}

TProjectLock& TProjectLock::operator=(TProjectLock&& other) noexcept {
    if (this != &other) {
        Release();
        mFd = std::exchange(other.mFd, -1);
        mFolder = std::move(other.mFolder);
    }
    return *this;
}

bool TProjectLock::TryAcquire(const std::string& folder, std::chrono::milliseconds wait) {
    Release();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw EFileError("Cannot open the project folder \"" + folder + "\": " + std::strerror(errno));
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK) {
            ::close(fd);
            throw EFileError("Cannot lock the project folder \"" + folder + "\": " + std::strerror(error));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mFd = fd;
    mFolder = folder;
    return true;
}

void TProjectLock::Acquire(const std::string& folder, std::chrono::milliseconds wait) {
    if (!TryAcquire(folder, wait))
        throw EProjectLocked("The project \"" + folder +
                             "\" is being changed by another program (the editor or quillon-cli); "
                             "nothing was changed. Try again when it has finished.");
}

void TProjectLock::Release() {
    if (mFd >= 0) {
        ::flock(mFd, LOCK_UN);
        ::close(mFd);
    }
    mFd = -1;
    mFolder.clear();
}

std::string LockFolderFor(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return path;
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : folder.substr(0, slash);
}

TProjectLock LockForWriting(const std::string& path, std::chrono::milliseconds wait) {
    return TProjectLock(LockFolderFor(path), wait);
}

}  // namespace quillon
