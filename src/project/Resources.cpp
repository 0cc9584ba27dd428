#include "project/Resources.h"

#include "platform/BusyCursor.h"
#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

namespace quillon {

const TExtensionTable ImageExtensions = {"bmp", "png", "zgf"};
const TExtensionTable MusicExtensions = {"mid", "wav", "mp3"};
const TExtensionTable SoundExtensions = {"wav"};
const TExtensionTable MovieExtensions = {"avi", "mpg"};

namespace {

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Regular files of a folder, sorted so that the choice among names that differ only in letter
// case does not depend on the order the file system lists them.
std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            if (IsFile(IncludeTrailingDelimiter(folder) + name))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x80)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The folder of a kind under a base folder, found without regard to letter case; empty when none.
std::string KindFolder(const std::string& base, const std::string& kind) {
    if (base.empty())
        return {};
    const std::string exact = base + kind;
    if (FolderExists(exact))
        return IncludeTrailingDelimiter(exact);
    const std::string found = FindEntryNoCase(base, kind);
    return found.empty() ? std::string() : IncludeTrailingDelimiter(base + found);
}

std::string FindIn(const std::string& base, const std::string& kind, const std::string& fileName,
                   const TExtensionTable& extensions) {
    const std::string folder = KindFolder(base, kind);
    if (folder.empty())
        return {};
    for (const char* extension : extensions) {
        const std::string wanted = fileName + "." + extension;
        if (IsFile(folder + wanted))
            return folder + wanted;
        const std::string found = FindEntryNoCase(folder, wanted);
        if (!found.empty() && IsFile(folder + found))
            return folder + found;
    }
    return {};
}

std::string SortKey(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    std::string prefix = name.substr(0, digits);
    std::string number = name.substr(digits);
    if (digits == 0) {  // all digits (or empty): all prefix, number 0
        prefix = name;
        number.clear();
    }
    // The number as at least ten digits: leading zeros dropped, then padded.
    std::size_t first = number.find_first_not_of('0');
    number = first == std::string::npos ? std::string() : number.substr(first);
    if (number.size() < 10)
        number.insert(0, 10 - number.size(), '0');
    return LowerAscii(prefix + number);
}

bool ContainsNoCase(const std::vector<std::string>& list, const std::string& name) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& s) { return SameTextNoCase(s, name); });
}

}  // namespace

std::string FindEntryNoCase(const std::string& folder, const std::string& name) {
    std::string best;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string candidate = entry->d_name;
            if (candidate == name) {
                best = candidate;
                break;
            }
            if (SameTextNoCase(candidate, name) && (best.empty() || candidate < best))
                best = candidate;
        }
        ::closedir(dir);
    }
    return best;
}

bool ResourceNameLess(const std::string& a, const std::string& b) {
    return SortKey(a) < SortKey(b);
}

bool IsPlainResourceName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    if (name.find('\0') != std::string::npos || name.find('/') != std::string::npos)
        return false;
    // A backslash byte may be the second byte of a double-byte character; the decoded name
    // tells whether it is a backslash of its own.
    return Cp932ToUtf8(name).find('\\') == std::string::npos;
}

std::string LocateResourceFile(const std::string& name, const std::string& kind, const TExtensionTable& extensions) {
    if (!IsPlainResourceName(name))
        return {};
    const std::string fileName = Cp932ToUtf8(name);
    std::string found = FindIn(ProjectPath(), kind, fileName, extensions);
    if (found.empty())
        found = FindIn(GetRtpPath(), kind, fileName, extensions);
    return found;
}

std::string FindResourceFile(const std::string& name, const std::string& kind, const TExtensionTable& extensions) {
    if (!IsPlainResourceName(name))
        return {};
    const std::string found = LocateResourceFile(name, kind, extensions);
    return found.empty() ? name : found;
}

std::vector<std::string> ListResourceNames(const std::string& folder, const TExtensionTable& extensions) {
    std::vector<std::string> names;
    if (folder.empty())
        return names;
    for (const std::string& file : FileNames(folder)) {
        const std::size_t dot = file.rfind('.');
        if (dot == std::string::npos)
            continue;
        const std::string extension = LowerAscii(file.substr(dot + 1));
        const bool wanted = std::any_of(extensions.begin(), extensions.end(),
                                        [&](const char* e) { return extension == e; });
        if (!wanted)
            continue;
        const std::string name = Utf8ToCp932(file.substr(0, dot));
        if (!ContainsNoCase(names, name))
            names.push_back(name);
    }
    std::stable_sort(names.begin(), names.end(), ResourceNameLess);
    return names;
}

void ListResources(std::vector<std::string>& target, const std::string& kind, const TExtensionTable& extensions) {
    const TBusyCursorScope busy;
    const std::vector<std::string> project = ListResourceNames(KindFolder(ProjectPath(), kind), extensions);
    const std::vector<std::string> rtp = ListResourceNames(KindFolder(GetRtpPath(), kind), extensions);
    target = project;
    for (const std::string& name : rtp)
        if (!ContainsNoCase(project, name))
            target.push_back(name + kRtpSuffix);
}

bool IsRtpEntry(const std::string& entry) {
    const std::string suffix = kRtpSuffix;
    return entry.size() >= suffix.size() && entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string StripRtpSuffix(const std::string& entry) {
    return IsRtpEntry(entry) ? entry.substr(0, entry.size() - std::string(kRtpSuffix).size()) : entry;
}

}  // namespace quillon
