// Data files as JSON: every record by its field names, event scripts as command lines.
#pragma once

#include <cstdio>
#include <string>

namespace quillon {

class TCatalog;
class TCatalogBaseItem;
class TKelDataBase;
class TKelMap;
class TKelMapTree;

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonQuoted(const std::string& utf8);

// Writes JSON into a string, or straight into a file as it goes (a dump of a large database is
// many times the database's size); text bytes (code page 932) are shown decoded to UTF-8.
class TJsonDump {
public:
    TJsonDump() = default;
    // Writes into `out` (not owned); Text() then holds only what is not written yet.
    explicit TJsonDump(std::FILE* out) : mFile(out) {}
    ~TJsonDump() { Flush(); }
    TJsonDump(const TJsonDump&) = delete;
    TJsonDump& operator=(const TJsonDump&) = delete;

    void Record(TCatalogBaseItem& record);
    void List(TCatalog& list);
    void DataBase(TKelDataBase& database);
    void Map(TKelMap& map);
    void MapTree(TKelMapTree& tree);
    const std::string& Text() const { return mOut; }
    // Writes what is held into the file (nothing without one).
    void Flush();

private:
    void NewLine();
    void Key(const std::string& key);
    void String(const std::string& bytes);
    void Hex(const unsigned char* data, std::size_t size);
    void Open(char bracket);
    void Close(char bracket);
    // Passes the text on to the file once enough has gathered.
    void Spill() {
        if (mFile && mOut.size() >= kSpillSize)
            Flush();
    }

    static constexpr std::size_t kSpillSize = 1 << 16;
    std::FILE* mFile = nullptr;
    std::string mOut;
    bool mStarted = false;  // text was written into the file
    int mDepth = 0;
    bool mFirst = true;
};

}  // namespace quillon
