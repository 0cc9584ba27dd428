// Path, folder and drive utilities shared by the project commands, the disk packager and the
// windows.
#pragma once

#include "platform/Paths.h"

#include <string>

namespace quillon {

// The editor's own folder (that of the running executable), ending in '/'.
std::string GetAppPath();
// Makes GetAppPath answer another folder (tools and tests that run outside the editor's folder).
void SetAppPath(const std::string& folder);

// Deletes the files below a folder (read-only ones too), recurses into sub-folders whose names do
// not begin with '.', and removes the folder. Errors are ignored. Never follows a symbolic link:
// a link (the path itself or anything below it) is removed and its target left alone.
void DeleteFolderTree(const std::string& path);
// There are no drive letters here: a path's drive is ready when its nearest existing folder can
// be read, and empty when that folder holds nothing.
bool IsDriveReady(const std::string& path);
bool IsDriveEmpty(const std::string& path);
// No floppy drives here.
bool IsFloppyDrive(const std::string& path);
std::string FindFloppyDrive();

bool FolderExists(const std::string& path);
// Changes the process's current directory; false when it cannot.
bool SetCurrentDir(const std::string& path);
std::string GetCurrentDir();

}  // namespace quillon
