// "Pack Project": the game disk packer. The model holds the target, the option and the packing
// steps; the window only shows them.
#pragma once

#include "platform/LhaArchiveCommand.h"
#include "project/FloppyDrives.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

inline constexpr std::int64_t kFirstPieceSize = 640000;
inline constexpr std::int64_t kNextPieceSize = 1440000;
inline constexpr const char* kWorkFolderName = "GameDisk";
inline constexpr const char* kResponseFileName = "Response.lst";
inline constexpr const char* kSetupIniName = "Setup.ini";
inline constexpr const char* kDisksNeededMessage = "There's %d of 1.44MB Floppy Disks Necessary";
inline constexpr const char* kPrepareDiskMessage = "Prepare %d of formatted disks";
inline constexpr const char* kPackCompletedMessage = "The preparation of the game disk was completed";
inline constexpr const char* kPackStoppedMessage = "The preparation of the game disk was stopped";
inline constexpr const char* kTargetInsideMessage =
    "The game disk can't be made inside the project or the working folder";
inline constexpr const char* kArchiverCommandFormat = "a -+ -r2 -d -jsl \"%s\" @%s";

// The system's write(2) as the copies call it (a test puts a failing one in its place).
using TWriteCall = std::function<long(int fd, const void* data, std::size_t size)>;

// The fourteen resource folders, in the response file's order.
extern const char* const kPackResourceFolders[14];

// What the packing needs of its window. Message boxes go through ShowMessageBox with Owner.
class IPackHost {
public:
    virtual ~IPackHost() = default;
    // The work begins (hide the window, show the placeholder) and ends (show it again).
    virtual void BeginWork() {}
    virtual void EndWork() {}
    // A long step's progress; answering false cancels the packing.
    virtual bool Progress(const std::string& step, std::uint64_t done, std::uint64_t total) = 0;
    // A file was written to the target (path and size).
    virtual void Delivered(const std::string& path, std::uint64_t size) = 0;
    // Before disk `number` is asked for (a simulated drive changes its disk here).
    virtual void BeforeDiskPrompt(int number) { (void)number; }
    // Why the packing stopped, when a reason is known (the archiver's message, a copy error).
    virtual void Reason(const std::string& text) { (void)text; }
};

class TProjectPackModel {
public:
    // Reads the defaults: the target is the first floppy drive, else empty (Start stays off until
    // a folder is chosen); IncludeRtp from IncludeRtpOption.
    explicit TProjectPackModel(const IFloppyDrives& drives);

    std::string TargetPath;  // ends in '/' once chosen
    bool IncludeRtp = false;
    // Folders the packing works with (defaults: the open project, GetRtpPath, GetAppPath, the
    // private working folder).
    std::string ProjectFolder;
    std::string RtpFolder;
    std::string EditorFolder;
    std::string WorkParent;
    const void* Owner = nullptr;
    // Whether Pack stores IncludeRtp as the user's IncludeRtpOption (the command-line tool
    // leaves the user's settings alone).
    bool StoreOption = true;
    // How the copies to the target write (the system's write when empty).
    TWriteCall CopyWrite;

    bool StartEnabled() const { return !TargetPath.empty(); }
    // Takes a folder chosen in the disk-path dialog.
    void SetTarget(const std::string& path);

    std::string WorkFolder() const;
    std::string ProjectName() const;
    std::string ArchivePath() const;
    std::string ResponseText() const;
    std::string SetupIniText(int diskNumber) const;
    std::string CommandLine() const;
    // The refusal of the target: inside the working folder or the project (links resolved);
    // empty when it may be used.
    std::string TargetRefusal() const;

    // Packs ("Start"): answers the window's result, 1 when the disk was made, 2 otherwise.
    // Messages as the packer shows them; errors other than refusals propagate after the
    // clean-up (the project's settings file never keeps FullPackageFlag). Temporary files that
    // killed saves left in the project are removed first and never archived; "Setup.ini" is
    // delivered last, after the target's old one was removed, so a packing that stopped (a full
    // disk, the file-size limit) leaves none.
    int Pack(IPackHost& host);

    // The last packing's piece count (0 when the target is not a floppy drive).
    int DiskNumber() const { return mDiskNumber; }

private:
    bool Deliver(IPackHost& host, std::vector<std::string> sources, std::vector<std::string> names);
    bool RunArchiver(IPackHost& host);
    const IFloppyDrives& mDrives;
    int mDiskNumber = 0;
};

// Copies a file in chunks to a temporary file beside the target ("<target>.quillon-copy-XXXXXX")
// and renames it into place; progress gets the bytes copied (false cancels). Never writes
// through a link at the target. Raises EFileError (a full disk, a file past the size limit);
// answers false when cancelled. Either way the temporary file is gone and the target untouched.
bool CopyFileWithProgress(const std::string& source, const std::string& target,
                          const std::function<bool(std::uint64_t done, std::uint64_t total)>& progress,
                          const TWriteCall& write = {});

}  // namespace quillon
