#include "project/ProjectManager.h"

#include "project/PathUtils.h"
#include "project/ProjectSettings.h"

#include <filesystem>

namespace quillon {

namespace {
std::string gProjectPath;
}

const std::string& ProjectPath() { return gProjectPath; }
void SetProjectPath(const std::string& path) { gProjectPath = path; }

TProjectManager::TProjectManager() {
    SetApplicationPath(GetAppPath());
}

void TProjectManager::OpenProject(const std::string& folderName) {
    if (mIsOpen || folderName.empty())
        return;
    const std::string base = GetProjectBasePath();
    if (!SetCurrentDir(base + folderName))
        return;
    SetProjectPath(IncludeTrailingDelimiter(base + folderName));
    mFolderName = folderName;
    bool success = false;
    try {
        if (OnOpenProject)
            OnOpenProject(success);
    } catch (...) {
        SetCurrentDir(base);
        throw;
    }
    if (success) {
        mIsOpen = true;
        SetOpenedProjectFolder(std::filesystem::path(GetCurrentDir()).filename().string());
    } else {
        SetCurrentDir(base);
    }
}

void TProjectManager::CreateProject(const std::string& folderName, const std::string& gameTitle) {
    if (mIsOpen)
        return;
    const std::string base = GetProjectBasePath();
    mFolderName = folderName;
    SetProjectPath(IncludeTrailingDelimiter(base + folderName));
    bool success = true;
    try {
        if (OnNewProject)
            OnNewProject(gameTitle, success);
        if (success)
            OpenProject(folderName);
        success = success && mIsOpen;
    } catch (...) {
        success = false;
    }
    if (success)
        return;
    SetCurrentDir(base);
    // Never remove the base folder itself, whatever name came in.
    if (!folderName.empty() && folderName != "." && folderName != "..")
        DeleteFolderTree(base + folderName);
    mFolderName.clear();
    SetProjectPath("");
    throw EProjectError(kProjectMakingFailure);
}

void TProjectManager::CloseProject() {
    if (!mIsOpen)
        return;
    if (OnCloseProject)
        OnCloseProject();
    SetCurrentDir(GetProjectBasePath());
    SetProjectPath("");
    SetOpenedProjectFolder("");
    mIsOpen = false;
}

void TProjectManager::ReopenLastProject() {
    try {
        OpenProject(GetOpenedProjectFolder());
    } catch (...) {
    }
}

}  // namespace quillon
