// "Change Name": a project's folder name and game title.
#pragma once

#include <string>

namespace quillon {

inline constexpr const char* kRenameFailedMessage = "The name change of the project folder can't be done";

// Moves base + oldName to base + newName without ever replacing an existing entry (not even an
// empty folder). False, with both entries as they were, when it cannot.
bool MoveProjectFolder(const std::string& basePath, const std::string& oldName, const std::string& newName);

class TProjectRenameModel {
public:
    std::string BasePath;       // ending in '/'
    std::string OldFolderName;  // the folder as it is
    std::string FolderName;     // in: the old name; out: the new one
    std::string GameTitle;      // CP932 bytes

    // Shows the given folder name and title.
    void Show(const std::string& folderName, const std::string& gameTitle);
    // OK: refuses forbidden characters; moves the folder when its name changed; then writes the
    // title into the folder. Errors are shown and answer false; when the title cannot be written
    // the folder gets its old name back and the rename fails. A project another program holds
    // (the editor, quillon-cli) is neither moved nor written: the lock's message is shown.
    bool Ok();
};

}  // namespace quillon
