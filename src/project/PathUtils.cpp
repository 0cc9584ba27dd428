#include "project/PathUtils.h"

#include <climits>
#include <dirent.h>
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

void DeleteFolderTree(const std::string& path) {
    const std::string folder = IncludeTrailingDelimiter(path);
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string full = folder + name;
            struct stat st {};
            if (::lstat(full.c_str(), &st) != 0)
                continue;
            if (S_ISDIR(st.st_mode)) {
                if (name[0] != '.')
                    DeleteFolderTree(full);
            } else {
                ::chmod(full.c_str(), st.st_mode | S_IWUSR);
                ::unlink(full.c_str());
            }
        }
        ::closedir(dir);
    }
    ::rmdir(path.c_str());
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
