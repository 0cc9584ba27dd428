#include "project/ProjPath.h"

#include "platform/BusyCursor.h"
#include "platform/MessageBox.h"
#include "project/PathUtils.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace quillon {

std::string CleanAbsolutePath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return {};
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == '/')
            ++i;
        const std::size_t end = path.find('/', i);
        const std::string part = path.substr(i, end == std::string::npos ? std::string::npos : end - i);
        i = end == std::string::npos ? path.size() : end;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string clean;
    for (const std::string& part : parts)
        clean += "/" + part;
    return clean.empty() ? "/" : clean;
}

bool TProjectPathModel::OkEnabled() const {
    if (Path.empty() || Path[0] != '/')
        return false;
    return mKind == TPathDialogKind::DiskPath || FolderExists(Path);
}

bool TProjectPathModel::Ok() {
    if (!OkEnabled())
        return false;
    std::string path = CleanAbsolutePath(Path);
    if (path.back() != '/')
        path += '/';
    if (IsFloppyDrive(path)) {
        // A floppy's root only (never the case here: there are no floppy drives).
        if (mKind == TPathDialogKind::BasePath) {
            ShowError(kPathNotUsableMessage);
            return false;
        }
        if (path.size() > 3) {
            ShowError(kValueNotSetMessage);
            return false;
        }
        Path = path;
        return true;
    }
    if (!IsDriveReady(path)) {
        ShowError(kDeviceNotReadyMessage);
        return false;
    }
    if (!FolderExists(path)) {
        if (ShowMessageBox(kCreateFolderQuestion, mbYesNo | mbIconQuestion) == mrNo)
            return false;
        {
            TBusyCursorScope busy;
            std::error_code error;
            std::filesystem::create_directories(path, error);
        }
        if (!FolderExists(path)) {
            ShowError(kFolderNotCreatedMessage);
            return false;
        }
    }
    Path = path;
    return true;
}

}  // namespace quillon
