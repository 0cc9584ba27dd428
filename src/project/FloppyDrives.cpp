#include "project/FloppyDrives.h"

#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "project/PathUtils.h"

#include <filesystem>
#include <string_view>

namespace quillon {

bool TSystemFloppyDrives::IsFloppy(const std::string& path) const { return IsFloppyDrive(path); }
bool TSystemFloppyDrives::IsReady(const std::string& path) const { return IsDriveReady(path); }
bool TSystemFloppyDrives::IsEmpty(const std::string& path) const { return IsDriveEmpty(path); }
std::string TSystemFloppyDrives::FindFloppy() const { return FindFloppyDrive(); }

namespace {

bool IsTakenOutDisk(const std::string& name) {
    if (name.size() < 5 || name.compare(0, 4, "Disk") != 0)
        return false;
    for (std::size_t i = 4; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

}  // namespace

TFolderFloppyDrive::TFolderFloppyDrive(std::string folder) : mFolder(IncludeTrailingDelimiter(folder)) {}

bool TFolderFloppyDrive::IsFloppy(const std::string& path) const {
    return IncludeTrailingDelimiter(path) == mFolder;
}

bool TFolderFloppyDrive::IsReady(const std::string& path) const {
    return Ready && IsFloppy(path) && FolderExists(mFolder);
}

bool TFolderFloppyDrive::IsEmpty(const std::string& path) const {
    if (!IsFloppy(path))
        return false;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(mFolder, error))
        if (!IsTakenOutDisk(entry.path().filename().string()))
            return false;
    return true;
}

void TFolderFloppyDrive::ChangeDisk() {
    std::error_code error;
    std::filesystem::create_directories(mFolder, error);
    if (IsEmpty(mFolder))
        return;
    ++mTakenOut;
    const std::string disk = mFolder + "Disk" + std::to_string(mTakenOut) + "/";
    std::filesystem::create_directory(disk, error);
    for (const auto& entry : std::filesystem::directory_iterator(mFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (!IsTakenOutDisk(name))
            std::filesystem::rename(entry.path(), disk + name, error);
    }
}

}  // namespace quillon
