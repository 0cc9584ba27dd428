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
// The check of PrivateWorkFolder on any folder; raises EFileError.
void CheckPrivateFolder(const std::string& path);
// A fresh scratch folder "<temporary folder><prefix>XXXXXX/", made by mkdtemp (mode 0700, a
// name nobody could plant ahead). Raises EFileError.
std::string MakeScratchFolder(const std::string& prefix);

}  // namespace quillon
