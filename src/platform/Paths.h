// Folder paths as the editor builds them: every folder path ends in '/'.
#pragma once

#include <string>

namespace quillon {

// The path with a '/' added at its end when it has none ("" gives "/").
std::string IncludeTrailingDelimiter(const std::string& path);

// The system's temporary folder, always ending in '/': the folder named by TMPDIR when that is
// set and not empty, else /tmp.
std::string GetTempFolder();

// The user's private working folder, "GMK_TEMP-<uid>/" under the temporary folder. It is made
// with mode 0700 when missing and checked every time it is asked for: a real folder (not a
// symbolic link), owned by this user, closed to everyone else (group and other permissions are
// taken away when it has them). Raises EFileError when the name is taken by anything else, so
// nothing is ever read, written or deleted through a planted folder or link.
std::string PrivateWorkFolder();

// Where the editor keeps its working copies for a run.
struct TWorkFolderChoice {
    std::string Folder;    // ending in '/'
    std::string LockFile;  // the lock file that keeps one editor per user, beside or in a private folder
    std::string Refusal;   // why the usual folder was passed over; empty when it is used
};
// Picks the working folder at start: the usual "GMK_TEMP-<uid>" under tempFolder when it is, or
// can be made, private (see PrivateWorkFolder). When that name is taken (a link, a file, a
// folder of another user) or cannot be made, a fresh folder "GMK_TEMP-<uid>-XXXXXX" made by
// mkdtemp (mode 0700) under runtimeFolder when it is given and private, else under tempFolder:
// another user can plant the usual name, never a name made this way. Raises EFileError only
// when no private folder can be made at all.
TWorkFolderChoice ChooseWorkFolder(const std::string& tempFolder, const std::string& runtimeFolder);
// From now on PrivateWorkFolder answers the chosen folder (made again when missing and checked
// on every call as the usual one is) and WorkFolderLockFile its lock file; an empty choice goes
// back to the usual folder.
void UseWorkFolder(const TWorkFolderChoice& choice);
// The lock file of the working folder: the chosen one's, else "GMK_TEMP-<uid>.lock" beside the
// usual folder. Nothing is made or checked.
std::string WorkFolderLockFile();
// The check of PrivateWorkFolder on any folder; raises EFileError.
void CheckPrivateFolder(const std::string& path);
// A fresh scratch folder "<temporary folder><prefix>XXXXXX/", made by mkdtemp (mode 0700, a
// name nobody could plant ahead). Raises EFileError.
std::string MakeScratchFolder(const std::string& prefix);

}  // namespace quillon
