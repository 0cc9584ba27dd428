// Resources: a name (file name without folder and extension, in the editor's text bytes) is
// looked up in the project folder and then in the run-time package (RTP), by the extensions of
// its kind in order. Letter case of folder and file names does not matter.
#pragma once

#include <string>
#include <vector>

namespace quillon {

using TExtensionTable = std::vector<const char*>;

extern const TExtensionTable ImageExtensions;  // "bmp", "png", "zgf"
extern const TExtensionTable MusicExtensions;  // "mid", "wav", "mp3"
extern const TExtensionTable SoundExtensions;  // "wav"
extern const TExtensionTable MovieExtensions;  // "avi", "mpg"

// Suffix of list entries that exist only in the RTP.
inline constexpr const char* kRtpSuffix = " <RTP>";

// A resource name is one file-name component: not empty, not "." or "..", and holding no '/',
// no backslash (a whole character, not the second byte of a double-byte one) and no NUL. Any
// other name (a path, an absolute name) names no resource, so nothing outside the project and
// the RTP is ever reached through one.
bool IsPlainResourceName(const std::string& name);
// The file to load for a resource: the project's file, else the RTP's, by extension order;
// the bare name when neither exists; empty for an empty name or one that is not a plain
// resource name. Only regular files (or links to them) are found.
std::string FindResourceFile(const std::string& name, const std::string& kind, const TExtensionTable& extensions);
// As FindResourceFile, but empty whenever no file is found.
std::string LocateResourceFile(const std::string& name, const std::string& kind, const TExtensionTable& extensions);
// The resources of a kind: the project's names, then the RTP names the project does not hold,
// each with " <RTP>" added; both in resource-name order.
void ListResources(std::vector<std::string>& target, const std::string& kind, const TExtensionTable& extensions);
bool IsRtpEntry(const std::string& entry);
std::string StripRtpSuffix(const std::string& entry);
// The resource-name order: prefix, then the trailing number as a number, letter case ignored.
bool ResourceNameLess(const std::string& a, const std::string& b);

// The resource names of one folder (no suffixes), in resource-name order.
std::vector<std::string> ListResourceNames(const std::string& folder, const TExtensionTable& extensions);
// The entry of a folder whose name equals `name` without regard to letter case (exact
// spelling first), or empty.
std::string FindEntryNoCase(const std::string& folder, const std::string& name);

}  // namespace quillon
