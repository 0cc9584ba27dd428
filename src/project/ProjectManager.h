// The project manager: which project is open, the project folder as the process's current
// directory, and the calls back to the main window that load, create or release its data.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace quillon {

// The open project's folder, ending in '/'; empty when none is open. Loaders and savers build
// their file names from it.
const std::string& ProjectPath();
void SetProjectPath(const std::string& path);

// Raised when a new project could not be made; its folder is gone by then.
class EProjectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
inline constexpr const char* kProjectMakingFailure = "Project Making Failure";

class TProjectManager {
public:
    // (game title, success flag): fill the new project folder; clear the flag on failure.
    std::function<void(const std::string& title, bool& success)> OnNewProject;
    // (success flag): load the project's data; set the flag when done.
    std::function<void(bool& success)> OnOpenProject;
    std::function<void()> OnCloseProject;

    // Writes ApplicationPath to the settings.
    TProjectManager();

    bool IsOpen() const { return mIsOpen; }
    const std::string& FolderName() const { return mFolderName; }

    // Creates and opens a project in an already created, empty folder under the base path.
    // Raises EProjectError ("Project Making Failure") after removing the folder on failure.
    void CreateProject(const std::string& folderName, const std::string& gameTitle);
    // Opens the project of a folder under the base path. A folder that does not exist is
    // silently nothing; an error of the loader is raised after the current directory is put
    // back to the base path.
    void OpenProject(const std::string& folderName);
    void CloseProject();
    // Opens the project that was open when the editor last ended; errors are swallowed.
    void ReopenLastProject();

private:
    bool mIsOpen = false;
    std::string mFolderName;
};

}  // namespace quillon
