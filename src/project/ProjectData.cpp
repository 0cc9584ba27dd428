#include "project/ProjectData.h"

#include "platform/FileUtils.h"
#include "project/PathUtils.h"
#include "project/ProjectSettings.h"

#include <sys/stat.h>

namespace quillon {

const char* const TProjectData::kResourceFolders[14] = {
    "Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet", "GameOver", "Monster",
    "Movie",    "Music",  "Panorama", "Picture", "Sound", "System", "Title"};

namespace {

// Copies a file whole; false when it cannot be read or written.
bool CopyFile(const std::string& from, const std::string& to, bool executable) {
    try {
        WriteFileAtomic(to, ReadWholeFile(from, kTemplateFileLimit));
    } catch (const EFileError&) {
        return false;
    }
    if (executable)
        ::chmod(to.c_str(), 0755);
    return true;
}

}  // namespace

TProjectData::TProjectData() : mDataBase(std::make_unique<TKelDataBase>()), mMap(std::make_unique<TKelMap>()) {
    mMap->SetChipSetList(&mDataBase->ChipSet);
}

void TProjectData::Attach(TProjectManager& manager) {
    manager.OnNewProject = [this](const std::string& title, bool& success) { NewProject(title, success); };
    manager.OnOpenProject = [this](bool& success) { OpenProject(success); };
    manager.OnCloseProject = [this] { CloseProject(); };
}

void TProjectData::NewProject(const std::string& title, bool& success) {
    const std::string& path = ProjectPath();
    // A folder that exists already (a leftover of the same name) stops the creation.
    for (const char* folder : kResourceFolders) {
        if (::mkdir((path + folder).c_str(), 0777) != 0) {
            success = false;
            return;
        }
    }
    const std::string app = GetAppPath();
    if (!CopyFile(app + "GMK_RT.exe.dat", path + "GMK_RT.exe", true) ||
        !CopyFile(app + "GMK_RT.kdb.dat", path + TKelDataBase::kFileName, false)) {
        success = false;
        return;
    }
    WriteGameTitle(path, title);
    mMapTree.NewProject(path, title, *mMap);
}

void TProjectData::OpenProject(bool& success) {
    const std::string& path = ProjectPath();
    mDataBase->Load(path);
    mMapTree.Load(path);
    TKelMapTreeItem* root = mMapTree.FindByID(0);
    if (!root)
        throw std::runtime_error(kNoRootEntry);
    root->Name = ReadGameTitle(".");
    mMap->Reset();
    const TKelMapTreeItem* current = mMapTree.FindByID(mMapTree.CurrentMapId);
    if (current && current->IsMap())
        mMap->LoadFromProject(path, current->ID);
    success = true;
}

void TProjectData::CloseProject() {
    mDataBase->Reset();
    mMapTree.Clear();
    mMap->Reset();
}

}  // namespace quillon
