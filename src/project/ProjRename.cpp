#include "project/ProjRename.h"

#include "platform/Cp932Limit.h"
#include "platform/MessageBox.h"
#include "platform/ProfileFile.h"
#include "project/ProjNew.h"
#include "project/ProjectLock.h"
#include "project/ProjectSettings.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace quillon {

namespace {

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

}  // namespace

bool MoveProjectFolder(const std::string& basePath, const std::string& oldName, const std::string& newName) {
    if (!IsPlainName(oldName) || !IsPlainName(newName))
        return false;
    const std::string from = basePath + oldName;
    const std::string to = basePath + newName;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace move: check, then move (rename would replace an
    // empty folder).
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0 || errno != ENOENT)
        return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void TProjectRenameModel::Show(const std::string& folderName, const std::string& gameTitle) {
    OldFolderName = folderName;
    FolderName = folderName;
    GameTitle = gameTitle;
}

bool TProjectRenameModel::Ok() {
    if (HasForbiddenFolderChar(FolderName)) {
        ShowError(kForbiddenCharMessage);
        return false;
    }
    // The lock follows the folder through the move; the title is written under it too.
    TProjectLock lock;
    try {
        lock = LockForWriting(BasePath + OldFolderName);
    } catch (const EProjectLocked& e) {
        ShowError(e.what());
        return false;
    } catch (const EFileError&) {
        ShowError(kRenameFailedMessage);
        return false;
    }
    const bool moved = FolderName != OldFolderName;
    if (moved && (Utf8Length(FolderName) > kProjectFolderMaxChars ||
                  !MoveProjectFolder(BasePath, OldFolderName, FolderName))) {
        ShowError(kRenameFailedMessage);
        return false;
    }
    GameTitle = LimitCp932Bytes(GameTitle, kGameTitleMaxBytes);
    // The title is written as WriteGameTitle does, but a file that cannot be written is noticed:
    // the folder then gets its old name back and the rename fails as a whole.
    bool written = false;
    try {
        TProfileFile ini(BasePath + FolderName + "/" + kProjectIniName);
        ini.WriteString(kProjectIniSection, "GameTitle", GameTitle);
        written = ini.Flush();
    } catch (const std::exception&) {
        written = false;
    }
    if (!written) {
        if (moved)
            MoveProjectFolder(BasePath, FolderName, OldFolderName);
        FolderName = OldFolderName;
        ShowError(kRenameFailedMessage);
        return false;
    }
    OldFolderName = FolderName;
    return true;
}

}  // namespace quillon
