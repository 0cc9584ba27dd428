#include "platform/Paths.h"

#include <cstdlib>

namespace quillon {

std::string IncludeTrailingDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == '/')
        return path;
    return path + '/';
}

std::string GetTempFolder() {
    const char* folder = std::getenv("TMPDIR");
    if (folder == nullptr || *folder == '\0')
        return "/tmp/";
    return IncludeTrailingDelimiter(folder);
}

}  // namespace quillon
