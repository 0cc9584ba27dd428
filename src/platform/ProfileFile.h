// Profile files: "[Section]" headers and "Key=Value" lines, as the game runtime reads them.
// Look-up of sections and keys ignores letter case; everything the file holds that is not
// touched (unknown sections and keys, comments, blank lines, their order and the line ends)
// is written back as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class TProfileFile {
public:
    TProfileFile() = default;
    // Opens a file; a missing or unreadable file starts empty. Nothing is written until Flush.
    // A file that is there but cannot be read whole (too large, a folder, no permission) is
    // never written over: what it holds would be lost (see ReadError).
    explicit TProfileFile(std::string path);

    const std::string& Path() const { return mPath; }
    // Replaces the content with text in profile form (for tests and in-memory stores).
    void SetText(const std::string& text);
    std::string Text() const;

    // Keys before the first section header belong to the section "".
    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    bool ValueExists(const std::string& section, const std::string& key) const { return Read(section, key).has_value(); }

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void DeleteKey(const std::string& section, const std::string& key);

    bool Modified() const { return mModified; }
    // Why the file could not be read whole; empty when it was read or did not exist.
    const std::string& ReadError() const { return mReadError; }
    // Writes the file (atomically) when it was changed. Returns false when it could not be
    // written, or must not be (a file that could not be read); the stores report no failures.
    bool Flush();

private:
    struct TLine {
        std::string Text;  // without its line end
        std::string End;   // "\r\n", "\n" or "" for a last line without one
    };
    // Index of the section header line, -1 for the section "" (start of file), or -2 when absent.
    int FindSection(const std::string& section) const;
    // Index of the key's line within the section, or -1.
    int FindKey(int sectionLine, const std::string& key) const;
    int SectionEnd(int sectionLine) const;  // index after the section's last line

    std::string mPath;
    std::vector<TLine> mLines;
    std::string mNewLine = "\r\n";
    std::string mReadError;
    bool mModified = false;
};

// Compares ASCII letters without regard to case, byte for byte otherwise.
bool SameTextNoCase(const std::string& a, const std::string& b);

}  // namespace quillon
