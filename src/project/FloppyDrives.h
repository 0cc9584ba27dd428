// The drives a game disk can be written to: whether a target path is on a floppy drive and
// whether a disk is in it, ready and empty. Tests and the command-line tool put simulated drives
// in place of the system's.
#pragma once

#include <string>

namespace quillon {

class IFloppyDrives {
public:
    virtual ~IFloppyDrives() = default;
    virtual bool IsFloppy(const std::string& path) const = 0;
    virtual bool IsReady(const std::string& path) const = 0;
    virtual bool IsEmpty(const std::string& path) const = 0;
    // The first floppy drive, or "" when there is none.
    virtual std::string FindFloppy() const = 0;
};

// The system's drives (IsFloppyDrive, IsDriveReady, IsDriveEmpty, FindFloppyDrive).
class TSystemFloppyDrives final : public IFloppyDrives {
public:
    bool IsFloppy(const std::string& path) const override;
    bool IsReady(const std::string& path) const override;
    bool IsEmpty(const std::string& path) const override;
    std::string FindFloppy() const override;
};

// A floppy drive simulated on a folder: the folder is the drive; taking a disk out moves what
// the drive holds into "Disk<n>" below it (n counting the disks taken out), which the emptiness
// check does not count. Ready while not told otherwise.
class TFolderFloppyDrive final : public IFloppyDrives {
public:
    explicit TFolderFloppyDrive(std::string folder);
    bool IsFloppy(const std::string& path) const override;
    bool IsReady(const std::string& path) const override;
    bool IsEmpty(const std::string& path) const override;
    std::string FindFloppy() const override { return mFolder; }
    // Takes the disk out (when anything is on it) and puts an empty one in.
    void ChangeDisk();
    int DisksTakenOut() const { return mTakenOut; }
    bool Ready = true;

private:
    std::string mFolder;  // ends in '/'
    int mTakenOut = 0;
};

}  // namespace quillon
