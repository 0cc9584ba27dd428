#include "project/ProjOpen.h"

#include "platform/BusyCursor.h"
#include "platform/MessageBox.h"
#include "project/PathUtils.h"
#include "project/ProjNew.h"
#include "project/ProjectLock.h"
#include "project/ProjectSettings.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

bool HoldsRuntime(const std::string& folder) {
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (const std::string& name : Entries(base))
        if (::strcasecmp(name.c_str(), "GMK_RT.exe") == 0 && IsFile(base + name))
            return true;
    return false;
}

std::vector<TProjectRow> ListProjects(const std::string& basePath) {
    std::vector<TProjectRow> rows;
    for (const std::string& name : Entries(basePath)) {
        if (name.empty() || name[0] == '.')
            continue;
        const std::string folder = basePath + name;
        if (!IsFolder(folder) || !HoldsRuntime(folder))
            continue;
        std::string title;
        try {
            title = ReadGameTitle(folder + "/");
        } catch (const std::exception&) {
            title = kUntitled;
        }
        rows.push_back({name, title});
    }
    std::sort(rows.begin(), rows.end(), [](const TProjectRow& a, const TProjectRow& b) {
        const int c = ::strcasecmp(a.FolderName.c_str(), b.FolderName.c_str());
        return c != 0 ? c < 0 : a.FolderName < b.FolderName;
    });
    return rows;
}

std::string DeleteProjectQuestion(const std::string& folderName) {
    return "Delete '" + folderName + "'. A deleted project can't be restored again. Delete it?";
}

bool DeleteProject(const std::string& basePath, const std::string& folderName) {
    if (!IsPlainName(folderName))
        return false;
    const std::string path = basePath + folderName;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode)) {
        ::unlink(path.c_str());  // the link itself, never what it points at
    } else {
        const TProjectLock lock = LockForWriting(path);
        DeleteFolderTree(path);
    }
    return ::lstat(path.c_str(), &st) != 0;
}

// --- the dialog ---

void TProjectOpenModel::Refresh() {
    TBusyCursorScope busy;
    mRows = ListProjects(BasePath);
    mSelected = mRows.empty() ? -1 : 0;
}

bool TProjectOpenModel::SelectFolder(const std::string& name) {
    for (std::size_t i = 0; i < mRows.size(); ++i) {
        if (mRows[i].FolderName == name) {
            mSelected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool TProjectOpenModel::Open(std::string& folderName) {
    if (mSelected < 0)
        return false;
    if (StoreBasePath)
        StoreBasePath(BasePath);
    folderName = mRows[static_cast<std::size_t>(mSelected)].FolderName;
    return true;
}

bool TProjectOpenModel::ChangeBasePath(const std::string& path) {
    if (path == BasePath)
        return false;
    BasePath = path;
    if (StoreBasePath)
        StoreBasePath(BasePath);
    Refresh();
    return true;
}

void TProjectOpenModel::Renamed(const std::string& newFolderName) {
    Refresh();
    SelectFolder(newFolderName);
}

bool TProjectOpenModel::Delete() {
    if (mSelected < 0)
        return false;
    const std::string name = mRows[static_cast<std::size_t>(mSelected)].FolderName;
    if (ShowMessageBox(DeleteProjectQuestion(name), mbYesNo | mbIconWarning) != mrYes)
        return false;
    try {
        TBusyCursorScope busy;
        DeleteProject(BasePath, name);
    } catch (const EProjectLocked& e) {
        ShowError(e.what());
        return false;
    }
    Refresh();
    return true;
}

}  // namespace quillon
