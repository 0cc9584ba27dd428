// The archiver's command-line entry "Unlha": `a -+ -r2 -d -jsl "ARCHIVE" @RESPONSE` makes an
// LZH archive of what a response file lists.
//
// Response file, one entry a line: a line in double quotes sets the base folder; every other
// line is a path relative to it. '?' in the last component matches any one character, '*' any
// run, letter case ignored (also when a name is looked up without wildcards). A folder is taken
// with everything below it (a -lhd- entry for each folder); a missing folder (a name without a
// '.') is skipped, a missing plain file fails. A later entry whose name equals an earlier one's
// (letter case ignored) replaces it. Nothing follows a symbolic link below a base
// folder: links, devices, sockets and FIFOs are left out (and listed in
// Skipped), except that a line naming a plain file (a name with a '.') fails on one. Names must be safe (IsSafeLhaName) and representable in
// CP932, which is what the archive stores.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

inline constexpr int kUnlhaOk = 0;
inline constexpr int kUnlhaBadCommand = 1;  // a command or switch other than those above
inline constexpr int kUnlhaFailed = 2;
inline constexpr int kUnlhaCancelled = 3;

struct TUnlhaOptions {
    // Bytes of file data read so far of the total; answering false cancels (kUnlhaCancelled).
    std::function<bool(std::uint64_t done, std::uint64_t total)> Progress;
    // Files to leave out: the base folder of the line and the path below it (as on the disk).
    std::function<bool(const std::string& base, const std::string& relative)> Exclude;
};

struct TUnlhaResult {
    int Code = kUnlhaOk;
    std::string Message;               // why it failed
    std::vector<std::string> Skipped;  // paths left out (links, devices, FIFOs, sockets)
    std::vector<std::string> Names;    // the archive's entries in order
};

// One entry of the archive to be made.
struct TLhaSource {
    std::string Name;  // CP932, '/' between folders
    std::string Path;  // on the disk
    bool IsFolder = false;
    std::uint64_t Size = 0;
    std::int64_t Time = 0;
};

// The entries a response file's text lists, in order after replacements. Raises ELhaError.
std::vector<TLhaSource> CollectLhaSources(const std::string& responseText, const TUnlhaOptions& options,
                                          std::vector<std::string>* skipped = nullptr);

// Why a path below a base folder (UTF-8 as on the disk, '/' between folders) cannot be stored
// in an archive: characters CP932 cannot hold, or an unsafe name (IsSafeLhaName: "..", a
// backslash, a control character such as a line break); empty when it can be stored. The words
// are those the archiving stops with, so whoever refuses a name early says the same.
std::string ArchiveNameRefusal(const std::string& diskName);

// Runs a command line; never raises.
TUnlhaResult Unlha(const std::string& commandLine, const TUnlhaOptions& options = {});

// Splits a command line into words; double quotes group (and are removed); a word beginning
// with '@' runs to the end of the line.
std::vector<std::string> SplitUnlhaCommandLine(const std::string& commandLine);

}  // namespace quillon
