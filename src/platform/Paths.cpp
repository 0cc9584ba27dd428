#include "platform/Paths.h"

#include "platform/FileUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

std::string IncludeTrailingDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == '/')
        return path;
    return path + '/';
}

std::string GetTempFolder() {
    const char* folder = std::getenv("TMPDIR");
    if (folder == nullptr || *folder == '\0')
        return "/tmp/";
    return IncludeTrailingDelimiter(folder);
}

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw EFileError("Unsafe working folder \"" + path + "\": " + why);
}

std::string WithoutTrailingDelimiter(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

void CheckPrivateFolder(const std::string& path) {
    const std::string folder = WithoutTrailingDelimiter(path);
    // O_NOFOLLOW refuses a link in place of the folder itself; the checks run on what was opened.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        if (::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            Refuse(folder, "it is a symbolic link");
        if (error == ENOTDIR)
            Refuse(folder, "it is not a folder");
        Refuse(folder, std::strerror(error));
    }
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    const int error = errno;
    if (!statted) {
        ::close(fd);
        Refuse(folder, std::strerror(error));
    }
    if (st.st_uid != ::geteuid()) {
        ::close(fd);
        Refuse(folder, "it belongs to another user");
    }
    if ((st.st_mode & 077) != 0 && ::fchmod(fd, st.st_mode & 07700) != 0) {
        const int chmodError = errno;
        ::close(fd);
        Refuse(folder, std::string("it is open to other users and cannot be closed: ") + std::strerror(chmodError));
    }
    ::close(fd);
}

std::string PrivateWorkFolder() {
    const std::string folder = GetTempFolder() + "GMK_TEMP-" + std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw EFileError("Cannot create \"" + folder + "\": " + std::strerror(errno));
    CheckPrivateFolder(folder);
    return folder + "/";
}

std::string MakeScratchFolder(const std::string& prefix) {
    std::string name = GetTempFolder() + prefix + "XXXXXX";
    if (::mkdtemp(name.data()) == nullptr)
        throw EFileError("Cannot create a scratch folder \"" + name + "\": " + std::strerror(errno));
    return name + "/";
}

}  // namespace quillon
