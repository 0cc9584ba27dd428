// "Default Project Path" and "Choose Disk Path": when OK may be pressed, and what OK does.
#pragma once

#include <cstddef>
#include <string>

namespace quillon {

inline constexpr std::size_t kPathEditMaxChars = 250;
inline constexpr const char* kPathNotUsableMessage = "It can't be set up in the specified path";
inline constexpr const char* kValueNotSetMessage = "The value could not be set.";
inline constexpr const char* kDeviceNotReadyMessage = "Device not ready";
inline constexpr const char* kCreateFolderQuestion = "A folder doesn't exist. Create it?";
inline constexpr const char* kFolderNotCreatedMessage = "A folder couldn't be made";

// A path cleaned as a path string (repeated and trailing separators, "." and ".." resolved by
// name, never by following links); "" for a path that is not absolute.
std::string CleanAbsolutePath(const std::string& path);

enum class TPathDialogKind { BasePath, DiskPath };

class TProjectPathModel {
public:
    explicit TProjectPathModel(TPathDialogKind kind) : mKind(kind) {}

    TPathDialogKind Kind() const { return mKind; }
    // The edit's text; on OK the chosen folder, cleaned and ending in '/'.
    std::string Path;

    // Base path: an absolute path naming an existing folder. Disk path: an absolute path.
    bool OkEnabled() const;
    // OK: cleans the path and checks its drive; a missing folder is created after asking.
    // Errors are shown and answer false (the text stays as typed).
    bool Ok();

private:
    TPathDialogKind mKind;
};

}  // namespace quillon
