#include "runtime/GameProject.h"

#include "data/Catalog.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "project/Resources.h"

#include <exception>
#include <filesystem>

namespace quillon::runtime {

namespace {

// Reads a whole data file; a missing file is its own message.
bool ReadDataFile(const std::string& path, const std::string& shown, std::string& bytes, std::string& error) {
    if (!FileExists(path)) {
        error = shown + ": the file is missing";
        return false;
    }
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::exception& e) {
        error = shown + ": " + e.what();
        return false;
    }
    return true;
}

}  // namespace

TGameProject::~TGameProject() = default;

std::unique_ptr<TGameProject> TGameProject::Open(const std::string& folder, const std::string& rtpFolder,
                                                 std::string& error) {
    std::unique_ptr<TGameProject> project(new TGameProject());
    project->mFolder = IncludeTrailingDelimiter(folder.empty() ? std::string(".") : folder);
    std::vector<std::string> folders{project->mFolder};
    if (!rtpFolder.empty())
        folders.push_back(IncludeTrailingDelimiter(rtpFolder));
    // Only plain names are looked up: a name holding a path reaches nothing outside the folders.
    project->mImages = [inner = FolderImageFinder(folders)](const std::string& kind, const std::string& name) {
        return IsPlainResourceName(name) ? inner(kind, name) : std::string();
    };

    std::string bytes;
    project->mDatabase = std::make_unique<TKelDataBase>();
    if (!ReadDataFile(project->mFolder + TKelDataBase::kFileName, TKelDataBase::kFileName, bytes, error))
        return nullptr;
    try {
        TByteViewStream stream(bytes);
        project->mDatabase->LoadFromStream(stream);
    } catch (const std::exception& e) {
        error = std::string(TKelDataBase::kFileName) + ": " + e.what();
        return nullptr;
    }

    project->mTree = std::make_unique<TKelMapTree>();
    if (!ReadDataFile(project->mFolder + TKelMapTree::kFileName, TKelMapTree::kFileName, bytes, error))
        return nullptr;
    try {
        TByteViewStream stream(bytes);
        project->mTree->LoadTreeFromStream(stream);
    } catch (const std::exception& e) {
        error = std::string(TKelMapTree::kFileName) + ": " + e.what();
        return nullptr;
    }
    return project;
}

std::string TGameProject::FindImage(const std::string& kind, const std::string& name) const {
    if (name.empty())
        return {};
    const std::string file = mImages(kind, name);
    return !file.empty() && FileExists(file) ? file : std::string();
}

std::unique_ptr<TKelMap> TGameProject::LoadMap(std::int32_t id, std::string& error) const {
    const std::string name = MapFileName(id);
    if (id < 1 || id > kMaxMapId) {
        error = name + ": there is no map " + std::to_string(id);
        return nullptr;
    }
    std::string bytes;
    if (!ReadDataFile(mFolder + name, name, bytes, error))
        return nullptr;
    auto map = std::make_unique<TKelMap>();
    try {
        TByteViewStream stream(bytes);
        ReadSignature(stream, TKelMap::kSignature);
        map->LoadFromStream(stream);
    } catch (const std::exception& e) {
        error = name + ": " + e.what();
        return nullptr;
    }
    const TMapLoadReport& report = map->LoadReport();
    if (report.Unreadable || report.ImpossibleSize || map->Width() < 1 || map->Height() < 1 ||
        map->Width() > kMaxMapSide || map->Height() > kMaxMapSide) {
        error = name + ": the map's size cannot be read";
        return nullptr;
    }
    map->ID = id;
    map->SetChipSetList(&mDatabase->ChipSet);
    map->ValidateChipSetId();
    return map;
}

}  // namespace quillon::runtime
