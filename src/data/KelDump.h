// Data files as JSON: every record by its field names, event scripts as command lines.
#pragma once

#include <string>

namespace quillon {

class TCatalog;
class TCatalogBaseItem;
class TKelDataBase;
class TKelMap;
class TKelMapTree;

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonQuoted(const std::string& utf8);

// Writes JSON into a string; text bytes (code page 932) are shown decoded to UTF-8.
class TJsonDump {
public:
    void Record(TCatalogBaseItem& record);
    void List(TCatalog& list);
    void DataBase(TKelDataBase& database);
    void Map(TKelMap& map);
    void MapTree(TKelMapTree& tree);
    const std::string& Text() const { return mOut; }

private:
    void NewLine();
    void Key(const std::string& key);
    void String(const std::string& bytes);
    void Hex(const unsigned char* data, std::size_t size);
    void Open(char bracket);
    void Close(char bracket);

    std::string mOut;
    int mDepth = 0;
    bool mFirst = true;
};

}  // namespace quillon
