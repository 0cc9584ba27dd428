// The data of the open project, as the main window holds it: the database, the map tree and the
// one map in memory, with what the project manager calls back to create, load and release them.
#pragma once

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "project/ProjectManager.h"

#include <memory>
#include <string>

namespace quillon {

// Message of a map tree without its root entry.
inline constexpr const char* kNoRootEntry = "158";

class TProjectData {
public:
    TProjectData();

    TKelDataBase& DataBase() { return *mDataBase; }
    TKelMapTree& MapTree() { return mMapTree; }
    TKelMap& Map() { return *mMap; }

    // Connects the manager's events to this data.
    void Attach(TProjectManager& manager);

    // Fills a new project folder (ProjectPath): the fourteen resource folders, the runtime and
    // database from the templates beside the editor, the title, a map tree with its root and a
    // first 100 x 100 map.
    void NewProject(const std::string& title, bool& success);
    // Loads the database, the map tree (with the title as its root's name) and the current map.
    void OpenProject(bool& success);
    // Releases the project: database reset, tree and map emptied.
    void CloseProject();

    // The resource folders of a project, in the order they are created.
    static const char* const kResourceFolders[14];

private:
    std::unique_ptr<TKelDataBase> mDataBase;
    TKelMapTree mMapTree;
    std::unique_ptr<TKelMap> mMap;
};

}  // namespace quillon
