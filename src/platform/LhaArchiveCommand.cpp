#include "platform/LhaArchiveCommand.h"

#include "platform/FileUtils.h"
#include "platform/LhaArchive.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

constexpr int kMaxDepth = 64;
constexpr std::int64_t kResponseLimit = std::int64_t{4} << 20;

std::string FoldCase(std::string s) {
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

// Splits UTF-8 into characters (a byte that does not begin a sequence counts alone).
std::vector<std::string> Characters(const std::string& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 1;
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0xC0)
            while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80 && n < 4)
                ++n;
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

bool WildMatch(const std::vector<std::string>& pattern, std::size_t p, const std::vector<std::string>& name, std::size_t n) {
    while (p < pattern.size()) {
        if (pattern[p] == "*") {
            for (std::size_t k = n; k <= name.size(); ++k)
                if (WildMatch(pattern, p + 1, name, k))
                    return true;
            return false;
        }
        if (n >= name.size())
            return false;
        if (pattern[p] != "?" && FoldCase(pattern[p]) != FoldCase(name[n]))
            return false;
        ++p;
        ++n;
    }
    return n == name.size();
}

bool HasWildcard(const std::string& s) {
    return s.find_first_of("?*") != std::string::npos;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The name of a folder's entry that equals `name` with letter case ignored (exact first).
std::string FindName(const std::string& folder, const std::string& name) {
    struct stat st {};
    if (::lstat((folder + name).c_str(), &st) == 0)
        return name;
    for (const std::string& entry : ListFolder(folder))
        if (FoldCase(entry) == FoldCase(name))
            return entry;
    return {};
}

std::string ArchiveName(const std::string& diskName) {
    if (const std::string refusal = ArchiveNameRefusal(diskName); !refusal.empty())
        throw ELhaError(refusal);
    return Utf8ToCp932(diskName);
}

class TCollector {
public:
    TCollector(const TUnlhaOptions& options, std::vector<std::string>* skipped) : mOptions(options), mSkipped(skipped) {}

    std::string Base;

    void Add(const std::string& diskPath, const std::string& name, const struct stat& st, bool named, int depth) {
        if (S_ISDIR(st.st_mode)) {
            if (depth > kMaxDepth)
                throw ELhaError("\"" + diskPath + "\": folders nest too deep");
            Put({ArchiveName(name), diskPath, true, 0, static_cast<std::int64_t>(st.st_mtime)});
            const std::string folder = IncludeTrailingDelimiter(diskPath);
            for (const std::string& child : ListFolder(folder)) {
                struct stat cst {};
                if (::lstat((folder + child).c_str(), &cst) != 0)
                    continue;
                Add(folder + child, name + "/" + child, cst, false, depth + 1);
            }
            return;
        }
        if (!S_ISREG(st.st_mode)) {
            if (named)
                throw ELhaError("\"" + diskPath + "\" is not a plain file or folder");
            if (mSkipped)
                mSkipped->push_back(diskPath);
            return;
        }
        if (mOptions.Exclude && mOptions.Exclude(Base, name))
            return;
        Put({ArchiveName(name), diskPath, false, static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtime)});
    }

    std::vector<TLhaSource> Take() {
        std::vector<TLhaSource> out;
        for (auto& s : mSources)
            if (s)
                out.push_back(std::move(*s));
        return out;
    }

private:
    void Put(TLhaSource source) {
        const std::string key = FoldCase(source.Name);
        auto found = mIndex.find(key);
        if (found != mIndex.end()) {
            std::optional<TLhaSource>& earlier = mSources[found->second];
            // A folder met again stays where it was; anything else replaces the earlier entry.
            if (earlier && earlier->IsFolder && source.IsFolder)
                return;
            earlier.reset();
        }
        mIndex[key] = mSources.size();
        mSources.push_back(std::move(source));
    }
    const TUnlhaOptions& mOptions;
    std::vector<std::string>* mSkipped;
    std::vector<std::optional<TLhaSource>> mSources;
    std::map<std::string, std::size_t> mIndex;
};

bool SafeRelativeLine(const std::string& line) {
    if (line.empty() || line.front() == '/' || line.find('\\') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t slash = line.find('/', start);
        if (slash == std::string::npos)
            slash = line.size();
        const std::string part = line.substr(start, slash - start);
        if (part == ".." || part == "." || (part.empty() && slash != line.size()))
            return false;
        start = slash + 1;
    }
    return true;
}

// Reads a regular file without following a link at its name.
std::string ReadPlainFile(const std::string& path, std::uint64_t expected) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throw EFileError("Cannot open \"" + path + "\": " + std::strerror(errno));
    struct TClose {
        int Fd;
        ~TClose() { ::close(Fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw ELhaError("\"" + path + "\" is not a plain file");
    if (static_cast<std::uint64_t>(st.st_size) > kLhaEntryLimit)
        throw ELhaError("\"" + path + "\" is too large to be stored");
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::max<std::uint64_t>(expected, static_cast<std::uint64_t>(st.st_size))));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EFileError("Cannot read \"" + path + "\": " + std::strerror(errno));
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > kLhaEntryLimit)
            throw ELhaError("\"" + path + "\" is too large to be stored");
    }
    return bytes;
}

}  // namespace

std::string ArchiveNameRefusal(const std::string& diskName) {
    const std::string stored = Utf8ToCp932(diskName);
    if (Cp932ToUtf8(stored) != diskName)
        return "\"" + diskName + "\" cannot be stored: the name has characters CP932 cannot hold";
    if (!IsSafeLhaName(stored) || !IsSafeLhaName(diskName))
        return "\"" + diskName + "\" cannot be stored: unsafe name";
    return {};
}

std::vector<std::string> SplitUnlhaCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char ch = commandLine[i];
        // The response file's name runs to the end of the line (it may hold spaces).
        if (ch == '@' && !any && !quoted) {
            std::string rest = commandLine.substr(i);
            while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r' || rest.back() == '\n'))
                rest.pop_back();
            words.push_back(rest);
            return words;
        }
        if (ch == '"') {
            quoted = !quoted;
            any = true;
        } else if ((ch == ' ' || ch == '\t') && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word.push_back(ch);
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}

std::vector<TLhaSource> CollectLhaSources(const std::string& responseText, const TUnlhaOptions& options,
                                          std::vector<std::string>* skipped) {
    TCollector collector(options, skipped);
    std::string base;
    std::size_t start = 0;
    while (start < responseText.size()) {
        std::size_t end = responseText.find('\n', start);
        if (end == std::string::npos)
            end = responseText.size();
        std::string line = responseText.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '"') {
            const std::size_t close = line.find('"', 1);
            if (close == std::string::npos)
                throw ELhaError("response line " + line + ": the base folder's quote is not closed");
            base = line.substr(1, close - 1);
            if (!base.empty())
                base = IncludeTrailingDelimiter(base);
            collector.Base = base;
            continue;
        }
        if (!SafeRelativeLine(line))
            throw ELhaError("response line \"" + line + "\": not a safe relative path");
        // Folders of the line up to its last component, found with letter case ignored.
        std::string folder = base.empty() ? std::string("./") : base;
        std::string name;
        std::string rest = line;
        while (!rest.empty() && rest.back() == '/')
            rest.pop_back();
        bool missing = false;
        std::size_t slash;
        while ((slash = rest.find('/')) != std::string::npos) {
            const std::string part = rest.substr(0, slash);
            const std::string found = FindName(folder, part);
            struct stat st {};
            if (found.empty() || ::lstat((folder + found).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
                missing = true;
                break;
            }
            folder += found + "/";
            name += part + "/";
            rest = rest.substr(slash + 1);
        }
        const bool isPlainName = rest.find('.') != std::string::npos;
        if (missing) {
            if (isPlainName && !HasWildcard(rest))
                throw ELhaError("\"" + base + line + "\" does not exist");
            continue;
        }
        if (HasWildcard(rest)) {
            const std::vector<std::string> pattern = Characters(rest);
            for (const std::string& entry : ListFolder(folder)) {
                if (!WildMatch(pattern, 0, Characters(entry), 0))
                    continue;
                struct stat st {};
                if (::lstat((folder + entry).c_str(), &st) != 0)
                    continue;
                collector.Add(folder + entry, name + entry, st, false, 0);
            }
            continue;
        }
        const std::string found = FindName(folder, rest);
        struct stat st {};
        if (found.empty() || ::lstat((folder + found).c_str(), &st) != 0) {
            if (isPlainName)
                throw ELhaError("\"" + base + line + "\" does not exist");
            continue;
        }
        collector.Add(folder + found, name + rest, st, isPlainName, 0);
    }
    return collector.Take();
}

TUnlhaResult Unlha(const std::string& commandLine, const TUnlhaOptions& options) {
    TUnlhaResult result;
    const std::vector<std::string> words = SplitUnlhaCommandLine(commandLine);
    std::string archive, response;
    bool command = false;
    for (const std::string& word : words) {
        if (!command) {
            if (word != "a") {
                result.Code = kUnlhaBadCommand;
                result.Message = "unknown command \"" + word + "\"";
                return result;
            }
            command = true;
        } else if (word.size() > 1 && word.front() == '-') {
            if (word != "-+" && word != "-r2" && word != "-d" && word != "-jsl") {
                result.Code = kUnlhaBadCommand;
                result.Message = "unknown switch \"" + word + "\"";
                return result;
            }
        } else if (word.front() == '@' && response.empty()) {
            response = word.substr(1);
        } else if (archive.empty()) {
            archive = word;
        } else {
            result.Code = kUnlhaBadCommand;
            result.Message = "unexpected \"" + word + "\"";
            return result;
        }
    }
    if (!command || archive.empty() || response.empty()) {
        result.Code = kUnlhaBadCommand;
        result.Message = "usage: a -+ -r2 -d -jsl \"ARCHIVE\" @RESPONSE";
        return result;
    }
    try {
        const std::vector<TLhaSource> sources =
            CollectLhaSources(ReadWholeFile(response, kResponseLimit), options, &result.Skipped);
        std::uint64_t total = 0;
        for (const TLhaSource& s : sources)
            total += s.Size;
        std::uint64_t done = 0;
        TLhaArchiveWriter writer;
        for (const TLhaSource& source : sources) {
            if (source.IsFolder) {
                writer.AddFolder(source.Name, source.Time);
            } else {
                const std::string bytes = ReadPlainFile(source.Path, source.Size);
                const std::uint64_t before = done;
                TLhaProgress progress;
                if (options.Progress)
                    progress = [&](std::uint64_t part) { return options.Progress(before + part, total); };
                writer.AddFile(source.Name, bytes, source.Time, progress);
                done += bytes.size();
            }
            if (options.Progress && !options.Progress(done, total)) {
                result.Code = kUnlhaCancelled;
                result.Message = "cancelled";
                return result;
            }
            result.Names.push_back(source.Name);
        }
        WriteFileAtomic(archive, writer.Finish());
    } catch (const ELhaCancelled& e) {
        result.Code = kUnlhaCancelled;
        result.Message = e.what();
        result.Names.clear();
    } catch (const ELhaError& e) {
        result.Code = kUnlhaFailed;
        result.Message = e.what();
        result.Names.clear();
    } catch (const std::exception& e) {
        result.Code = kUnlhaFailed;
        result.Message = e.what();
        result.Names.clear();
    }
    return result;
}

}  // namespace quillon
