#include "project/ProjNew.h"

#include "platform/Cp932Limit.h"
#include "platform/MessageBox.h"

#include <cerrno>
#include <sys/stat.h>

namespace quillon {

bool HasForbiddenFolderChar(const std::string& name) {
    return name.find_first_of("\\/:?*<>|\"") != std::string::npos;
}

std::string ProposeProjectFolder(const std::string& basePath) {
    for (unsigned long n = 1;; ++n) {
        const std::string name = "Project" + std::to_string(n);
        struct stat st {};
        // lstat: a dangling link is an entry too.
        if (::lstat((basePath + name).c_str(), &st) != 0 && errno == ENOENT)
            return name;
        if (n > 1000000)  // a base path that cannot be read says every name is taken
            return name;
    }
}

void TProjectNewModel::Show() {
    FolderName = ProposeProjectFolder(BasePath);
    GameTitle = kUntitled;
}

bool TProjectNewModel::Ok() {
    if (HasForbiddenFolderChar(FolderName)) {
        ShowError(kForbiddenCharMessage);
        return false;
    }
    const bool plain = !FolderName.empty() && FolderName != "." && FolderName != ".." &&
                       FolderName.find('\0') == std::string::npos &&
                       Utf8Length(FolderName) <= kProjectFolderMaxChars;
    if (!plain || ::mkdir((BasePath + FolderName).c_str(), 0777) != 0) {
        ShowError(kFolderNotMadeMessage);
        return false;
    }
    GameTitle = LimitCp932Bytes(GameTitle, kGameTitleMaxBytes);
    if (StoreBasePath)
        StoreBasePath(BasePath);
    return true;
}

}  // namespace quillon
