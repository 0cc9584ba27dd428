#include "platform/ProfileFile.h"

#include "platform/FileUtils.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace quillon {

namespace {

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t'))
        --last;
    return text.substr(first, last - first);
}

// The section name of a header line, or nothing when the line is not a header.
std::optional<std::string> HeaderName(const std::string& line) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// The key of a "Key=Value" line, or nothing for comments and other lines.
std::optional<std::string> KeyName(const std::string& line) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[')
        return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return Trim(t.substr(0, eq));
}

std::string ValueOf(const std::string& line) {
    const std::size_t eq = line.find('=');
    std::string value = Trim(line.substr(eq + 1));
    // A value in double quotes is read without them, as the platform's profile reader does.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

bool SameTextNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && !(x < 0x80 && y < 0x80 && std::tolower(x) == std::tolower(y)))
            return false;
    }
    return true;
}

TProfileFile::TProfileFile(std::string path) : mPath(std::move(path)) {
    try {
        SetText(ReadWholeFile(mPath, kProfileFileLimit));
    } catch (const EFileError& e) {
        SetText("");
        struct stat st {};
        if (::lstat(mPath.c_str(), &st) == 0 || errno != ENOENT)
            mReadError = e.what();
    }
    mModified = false;
}

void TProfileFile::SetText(const std::string& text) {
    mLines.clear();
    std::size_t pos = 0;
    bool sawLf = false, sawCrLf = false;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        TLine line;
        if (lf == std::string::npos) {
            line.Text = text.substr(pos);
            pos = text.size();
        } else {
            const bool cr = lf > pos && text[lf - 1] == '\r';
            line.Text = text.substr(pos, lf - pos - (cr ? 1 : 0));
            line.End = cr ? "\r\n" : "\n";
            (cr ? sawCrLf : sawLf) = true;
            pos = lf + 1;
        }
        mLines.push_back(std::move(line));
    }
    mNewLine = (sawLf && !sawCrLf) ? "\n" : "\r\n";
    mModified = true;
}

std::string TProfileFile::Text() const {
    std::string out;
    for (const TLine& line : mLines)
        out += line.Text + line.End;
    return out;
}

int TProfileFile::FindSection(const std::string& section) const {
    if (section.empty())
        return -1;
    for (std::size_t i = 0; i < mLines.size(); ++i) {
        const auto name = HeaderName(mLines[i].Text);
        if (name && SameTextNoCase(*name, section))
            return static_cast<int>(i);
    }
    return -2;
}

int TProfileFile::SectionEnd(int sectionLine) const {
    std::size_t i = static_cast<std::size_t>(sectionLine + 1);
    while (i < mLines.size() && !HeaderName(mLines[i].Text))
        ++i;
    return static_cast<int>(i);
}

int TProfileFile::FindKey(int sectionLine, const std::string& key) const {
    const int end = SectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        const auto name = KeyName(mLines[static_cast<std::size_t>(i)].Text);
        if (name && SameTextNoCase(*name, key))
            return i;
    }
    return -1;
}

std::optional<std::string> TProfileFile::Read(const std::string& section, const std::string& key) const {
    const int sectionLine = FindSection(section);
    if (sectionLine == -2)
        return std::nullopt;
    const int keyLine = FindKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    return ValueOf(mLines[static_cast<std::size_t>(keyLine)].Text);
}

std::string TProfileFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    return Read(section, key).value_or(defaultValue);
}

std::int32_t TProfileFile::ReadInteger(const std::string& section, const std::string& key,
                                       std::int32_t defaultValue) const {
    const auto value = Read(section, key);
    if (!value || value->empty())
        return defaultValue;
    // Like the platform's reader: leading digits count, anything else reads as the default.
    char* end = nullptr;
    const long long number = std::strtoll(value->c_str(), &end, 10);
    if (end == value->c_str())
        return defaultValue;
    return static_cast<std::int32_t>(number);
}

bool TProfileFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

// A line break inside a value would end the line early and turn the rest into a line of its own
// (a forged key or section for every reader of the file): each CR, LF or CR LF becomes a blank.
static std::string OneLine(const std::string& value) {
    std::string line;
    line.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += value[i];
        }
    }
    return line;
}

void TProfileFile::WriteString(const std::string& rawSection, const std::string& rawKey, const std::string& rawValue) {
    const std::string section = OneLine(rawSection), key = OneLine(rawKey), value = OneLine(rawValue);
    const std::string text = key + "=" + value;
    int sectionLine = FindSection(section);
    if (sectionLine == -2) {
        // A new section goes to the end, after a line end for the last line if it has none.
        if (!mLines.empty() && mLines.back().End.empty())
            mLines.back().End = mNewLine;
        mLines.push_back({"[" + section + "]", mNewLine});
        mLines.push_back({text, mNewLine});
        mModified = true;
        return;
    }
    const int keyLine = FindKey(sectionLine, key);
    if (keyLine >= 0) {
        TLine& line = mLines[static_cast<std::size_t>(keyLine)];
        // Keep the key as it is spelled in the file.
        const std::string spelled = Trim(line.Text.substr(0, line.Text.find('=')));
        const std::string replaced = spelled + "=" + value;
        if (line.Text != replaced) {
            line.Text = replaced;
            mModified = true;
        }
        return;
    }
    // After the section's last key (blank lines and comments at its end stay after it).
    int at = SectionEnd(sectionLine);
    while (at > sectionLine + 1 && !KeyName(mLines[static_cast<std::size_t>(at - 1)].Text) &&
           Trim(mLines[static_cast<std::size_t>(at - 1)].Text).empty())
        --at;
    if (at > 0 && mLines[static_cast<std::size_t>(at - 1)].End.empty())
        mLines[static_cast<std::size_t>(at - 1)].End = mNewLine;
    mLines.insert(mLines.begin() + at, TLine{text, mNewLine});
    mModified = true;
}

void TProfileFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TProfileFile::DeleteKey(const std::string& section, const std::string& key) {
    const int sectionLine = FindSection(section);
    if (sectionLine == -2)
        return;
    // Every line of the key goes: a file that repeats it must not keep a stale value that a
    // reader then takes for the deleted one.
    for (int keyLine = FindKey(sectionLine, key); keyLine >= 0; keyLine = FindKey(sectionLine, key)) {
        mLines.erase(mLines.begin() + keyLine);
        mModified = true;
    }
}

bool TProfileFile::Flush() {
    if (!mReadError.empty())
        return false;
    if (!mModified || mPath.empty())
        return true;
    try {
        WriteFileAtomic(mPath, Text());
    } catch (const EFileError&) {
        return false;
    }
    mModified = false;
    return true;
}

}  // namespace quillon
