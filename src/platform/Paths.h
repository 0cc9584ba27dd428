// Folder paths as the editor builds them: every folder path ends in '/'.
#pragma once

#include <string>

namespace quillon {

// The path with a '/' added at its end when it has none ("" gives "/").
std::string IncludeTrailingDelimiter(const std::string& path);

// The system's temporary folder, always ending in '/': the folder named by TMPDIR when that is
// set and not empty, else /tmp.
std::string GetTempFolder();

}  // namespace quillon
