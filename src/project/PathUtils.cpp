#include "project/PathUtils.h"

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace quillon {

namespace {

std::string& AppPathOverride() {
    static std::string folder;
    return folder;
}

}  // namespace

std::string GetAppPath() {
    if (!AppPathOverride().empty())
        return AppPathOverride();
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return IncludeTrailingDelimiter(GetCurrentDir());
    return IncludeTrailingDelimiter(exe.parent_path().string());
}

void SetAppPath(const std::string& folder) {
    AppPathOverride() = folder.empty() ? std::string() : IncludeTrailingDelimiter(folder);
}

namespace {

std::string WithoutTrailingDelimiter(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Deletes everything below an open folder, by names relative to it, so that nothing a link
// points to is ever reached: links are removed like files, and sub-folders are opened with
// O_NOFOLLOW. Takes over the descriptor.
void DeleteBelow(int folderFd) {
    DIR* dir = ::fdopendir(folderFd);
    if (dir == nullptr) {
        ::close(folderFd);
        return;
    }
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISDIR(st.st_mode)) {
            ::unlinkat(fd, name.c_str(), 0);
            continue;
        }
        if (name[0] == '.')
            continue;
        const int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub >= 0) {
            // A read-only folder of ours is opened up so that its entries can go.
            ::fchmod(sub, (st.st_mode & 07777) | S_IRWXU);
            DeleteBelow(sub);
        }
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
    ::closedir(dir);
}

}  // namespace

void DeleteFolderTree(const std::string& path) {
    const std::string folder = WithoutTrailingDelimiter(path);
    struct stat st {};
    if (folder.empty() || ::lstat(folder.c_str(), &st) != 0)
        return;
    if (S_ISLNK(st.st_mode)) {
        ::unlink(folder.c_str());
        return;
    }
    if (!S_ISDIR(st.st_mode))
        return;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        DeleteBelow(fd);
    ::rmdir(folder.c_str());
}

namespace {

// The nearest folder of a path that exists.
std::string ExistingAncestor(const std::string& path) {
    std::filesystem::path p = path.empty() ? std::filesystem::path(".") : std::filesystem::path(path);
    std::error_code error;
    while (!p.empty() && !std::filesystem::is_directory(p, error)) {
        if (p == p.parent_path())
            return {};
        p = p.parent_path();
    }
    return p.empty() ? std::string(".") : p.string();
}

}  // namespace

bool IsDriveReady(const std::string& path) {
    const std::string folder = ExistingAncestor(path);
    return !folder.empty() && ::access(folder.c_str(), R_OK | X_OK) == 0;
}

bool IsDriveEmpty(const std::string& path) {
    if (!IsDriveReady(path))
        return false;
    std::error_code error;
    return std::filesystem::is_empty(ExistingAncestor(path), error);
}

bool IsFloppyDrive(const std::string&) { return false; }

std::string FindFloppyDrive() { return {}; }

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SetCurrentDir(const std::string& path) {
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::string GetCurrentDir() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return {};
    return buffer;
}

}  // namespace quillon
