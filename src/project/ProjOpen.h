// "Open Project": the projects under the base path (folders holding "GMK_RT.exe"), opening,
// renaming and deleting one.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillon {

struct TProjectRow {
    std::string FolderName;  // column "Folder Name"
    std::string GameTitle;   // column "Game Title" (CP932 bytes)
    bool operator==(const TProjectRow&) const = default;
};

// The project folders under a base path (ending in '/'): folders (or links to folders) whose
// names do not begin with '.' and that hold a file named "GMK_RT.exe" in any letter case,
// sorted by folder name; each with its game title ("Untitled" by default).
std::vector<TProjectRow> ListProjects(const std::string& basePath);
// Whether a folder holds "GMK_RT.exe" in any letter case.
bool HoldsRuntime(const std::string& folder);

// "Delete '%s'. A deleted project can't be restored again. Delete it?"
std::string DeleteProjectQuestion(const std::string& folderName);
// Deletes a project folder under the base path. A project that is a symbolic link loses the
// link only. Names that are not a plain folder name ("", ".", "..", anything with '/') delete
// nothing. A project another program holds (the editor, quillon-cli) is left whole: after a short
// wait EProjectLocked is raised. Answers whether the entry is gone afterwards.
bool DeleteProject(const std::string& basePath, const std::string& folderName);

class TProjectOpenModel {
public:
    std::string BasePath;  // ending in '/'
    std::function<void(const std::string&)> StoreBasePath;

    // Builds the list; the first row is selected.
    void Refresh();
    const std::vector<TProjectRow>& Rows() const { return mRows; }
    int Selected() const { return mSelected; }
    void Select(int row) { mSelected = row >= 0 && row < static_cast<int>(mRows.size()) ? row : -1; }
    // The first row whose folder name is exactly `name`.
    bool SelectFolder(const std::string& name);

    // Open (or a double click): with a row selected, stores the base path and answers its folder.
    bool Open(std::string& folderName);
    // The path box chose a path: when it differs, it becomes the base path and the list is rebuilt.
    bool ChangeBasePath(const std::string& path);
    // After the rename dialog's OK: the list is rebuilt and the renamed row selected.
    void Renamed(const std::string& newFolderName);
    // "&Delete...": asks, deletes and rebuilds. Answers whether it deleted.
    bool Delete();

private:
    std::vector<TProjectRow> mRows;
    int mSelected = -1;
};

}  // namespace quillon
