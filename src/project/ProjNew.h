// "Create New Project": the proposed folder name, the folder-name rules shared by the project
// dialogs, and creating the project's folder.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quillon {

inline constexpr std::size_t kProjectFolderMaxChars = 40;  // characters
inline constexpr std::size_t kGameTitleMaxBytes = 40;      // CP932 bytes
inline constexpr const char* kForbiddenCharMessage = "The character which can't be used for the folder name is contained";
inline constexpr const char* kFolderNotMadeMessage = "A project folder can't be made";
inline constexpr const char* kUntitled = "Untitled";

// Any of \ / : ? * < > | " in the name.
bool HasForbiddenFolderChar(const std::string& name);
// "Project" + the smallest N >= 1 for which nothing (file, folder or link) named so exists under
// the base path (ending in '/').
std::string ProposeProjectFolder(const std::string& basePath);

class TProjectNewModel {
public:
    std::string BasePath;    // ending in '/'
    std::string FolderName;  // a file-system name (UTF-8), at most 40 characters
    std::string GameTitle;   // CP932 bytes, at most 40
    // Said under the base path (why it is where it is); empty: nothing.
    std::string BasePathNote;
    // Stores the base path after a successful OK (the settings; empty: nothing is stored).
    std::function<void(const std::string&)> StoreBasePath;

    // On show: proposes "ProjectN" and "Untitled".
    void Show();
    // OK: refuses forbidden characters, then makes the folder (one level). On failure shows the
    // error and answers false; on success stores the base path.
    bool Ok();
};

}  // namespace quillon
