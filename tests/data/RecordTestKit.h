// Helpers shared by the tests of database records: byte views of saved records, a walk of a
// record's field table, and filling every field with a value other than its default.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quillon::testkit {

inline std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

inline std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values)
        out += static_cast<char>(v);
    return out;
}

template <class T>
std::string Save(T& recordOrList) {
    TMemoryStream stream;
    recordOrList.SaveToStream(stream);
    return stream.Bytes();
}

template <class T>
void Load(T& recordOrList, const std::string& bytes) {
    TByteViewStream stream(bytes);
    recordOrList.LoadFromStream(stream);
}

// Loads and expects every byte to be read.
template <class T>
void LoadWhole(T& recordOrList, const std::string& bytes) {
    TByteViewStream stream(bytes);
    recordOrList.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), stream.Size());
}

// The top-level chunks of a saved record: field number and payload.
inline std::vector<std::pair<int, std::string>> Chunks(const std::string& bytes) {
    std::vector<std::pair<int, std::string>> chunks;
    TByteViewStream stream(bytes);
    for (;;) {
        const int n = ReadVarInt(stream);
        if (n == 0)
            break;
        const auto length = static_cast<std::size_t>(ReadVarInt(stream));
        std::string payload(length, '\0');
        stream.ReadBuffer(payload.data(), length);
        chunks.emplace_back(n, payload);
    }
    EXPECT_EQ(stream.Position(), stream.Size()) << "bytes after the terminator";
    return chunks;
}

inline std::string Chunk(const std::string& bytes, int field) {
    for (const auto& [n, payload] : Chunks(bytes))
        if (n == field)
            return payload;
    ADD_FAILURE() << "no chunk " << field;
    return {};
}

inline std::vector<int> ChunkNumbers(const std::string& bytes) {
    std::vector<int> numbers;
    for (const auto& chunk : Chunks(bytes))
        numbers.push_back(chunk.first);
    return numbers;
}

// "number:type" of every described field, ascending. Also checks that no two fields share their
// storage and that every field has a name.
inline std::string Layout(TCatalogBaseItem& record) {
    std::string out;
    std::set<void*> storage;
    for (int n = 1; n <= 999; ++n) {
        TCatalogVarData d;
        record.DescribeField(n, d, true);
        if (d.FieldType == ftNone)
            continue;
        EXPECT_TRUE(storage.insert(d.Data).second) << "field " << n << " shares its storage";
        EXPECT_NE(d.Name, nullptr) << "field " << n << " has no name";
        if (!out.empty())
            out += ' ';
        out += std::to_string(n) + ":" + std::to_string(d.FieldType);
    }
    return out;
}

// Whether field n is the count of the dynamic buffer that follows it.
inline bool IsCountField(TCatalogBaseItem& record, int n) {
    TCatalogVarData next;
    record.DescribeField(n + 1, next, false);
    return next.FieldType == ftDynamicBuffer;
}

// Gives every field of a record (and of its nested records and lists) a value other than its
// default: distinct integers, some negative and some of five bytes; flipped bytes; non-empty
// strings; patterned buffers; arrays of a few entries of 3 (no array's fill value); two list
// elements.
// A record owning a script gets a script of three lines.
inline void FillNonDefault(TCatalogBaseItem& record) {
    for (int n = 1; n <= 999; ++n) {
        TCatalogVarData d;
        record.DescribeField(n, d, false);
        switch (d.FieldType) {
        case ftInteger: {
            std::int32_t value = IsCountField(record, n) ? n % 7 + 1 : n % 2 ? -(n * 1000 + 7) : n * 100000 + 7;
            if (value == d.IntDefault)
                ++value;
            std::memcpy(d.Data, &value, sizeof value);
            break;
        }
        case ftByte:
            *static_cast<std::uint8_t*>(d.Data) = static_cast<std::uint8_t>(d.ByteDefault ^ 1);
            break;
        case ftString:
            *static_cast<std::string*>(d.Data) = "f" + std::to_string(n) + "\x82\xA0";
            break;
        case ftFixedBuffer:
            for (std::int32_t i = 0; i < d.Size; ++i)
                static_cast<std::uint8_t*>(d.Data)[i] = static_cast<std::uint8_t>(n * 7 + i + 1);
            break;
        case ftDynamicBuffer:
            static_cast<TDynamicBuffer*>(d.Data)->assign(static_cast<std::size_t>(d.Size), 3);
            break;
        case ftRecord:
            FillNonDefault(*static_cast<TCatalogBaseItem*>(d.Data));
            break;
        case ftList: {
            auto& list = *static_cast<TCatalog*>(d.Data);
            list.Clear();
            FillNonDefault(list.Obtain(1));
            FillNonDefault(list.Obtain(3));
            break;
        }
        default:
            break;
        }
    }
    if (auto* page = dynamic_cast<TKelBaseEventPageItem*>(&record)) {
        page->Script.Clear();
        for (const std::int32_t code : {10110, 10210, 0}) {
            TKelEventScriptLine& line = page->Script.Add();
            line.Code = code;
            line.Text = code ? "line " + std::to_string(code) : "";
            line.SetParamCount(code ? 2 : 0);
            line.SetParam(0, -5);
            line.SetParam(1, code);
        }
    }
}

// Checks that every count stored before a dynamic buffer agrees with the buffer's length.
inline void ExpectCountsMatchBlocks(TCatalogBaseItem& record, const std::string& context) {
    for (int n = 1; n < 999; ++n) {
        TCatalogVarData d;
        record.DescribeField(n, d, false);
        if (d.FieldType != ftInteger || !IsCountField(record, n))
            continue;
        std::int32_t count;
        std::memcpy(&count, d.Data, sizeof count);
        TCatalogVarData block;
        record.DescribeField(n + 1, block, false);
        EXPECT_EQ(static_cast<std::size_t>(count), static_cast<TDynamicBuffer*>(block.Data)->size())
            << "field " << n << ", " << context;
    }
}

// Saves a record, loads it into a fresh one of the same ID and saves that: the bytes must agree,
// and every described field must have been written (the record held no default anywhere).
template <class T>
void ExpectFullRoundTrip(T& record) {
    const std::string first = Save(record);
    std::set<int> written;
    for (const auto& chunk : Chunks(first))
        written.insert(chunk.first);
    for (int n = 1; n <= 999; ++n) {
        TCatalogVarData d;
        record.DescribeField(n, d, false);
        if (d.FieldType != ftNone) {
            EXPECT_TRUE(written.count(n)) << "field " << n << " still holds its default";
        }
    }
    T copy;
    if constexpr (std::is_base_of_v<TCatalogItem, T>)
        copy.SetID(record.ID);
    Load(copy, first);
    EXPECT_EQ(Hex(Save(copy)), Hex(first));
}

// Loads every prefix of a saved record: each must be refused with the read error. Then loads the
// record with each byte in turn replaced by 0x00 and by 0xFF: that may load or be refused with the
// read error, but nothing else. Whatever was loaded must have its counts and buffers in agreement.
template <class T>
void ExpectDamageContained(T& record) {
    const std::string whole = Save(record);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        T target;
        TByteViewStream stream(std::string_view(whole).substr(0, cut));
        EXPECT_THROW(target.LoadFromStream(stream), EReadError) << "cut at " << cut;
        ExpectCountsMatchBlocks(target, "cut at " + std::to_string(cut));
    }
    for (std::size_t at = 0; at < whole.size(); ++at) {
        for (const char value : {'\x00', '\xFF'}) {
            std::string damaged = whole;
            damaged[at] = value;
            T target;
            try {
                Load(target, damaged);
            } catch (const EReadError&) {
            }
            ExpectCountsMatchBlocks(target, "byte " + std::to_string(at) + " damaged");
        }
    }
}

// A test with its own temporary folder: TMPDIR points at "<root>/tmp" (so the working folder of
// maps is mWork) and mProject is an empty project folder; TMPDIR is put back afterwards.
class TWorkFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR"))
            mOldTmpDir = old;
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-work-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        mRoot = pattern;
        std::filesystem::create_directories(mRoot + "/tmp");
        std::filesystem::create_directories(mRoot + "/project");
        ::setenv("TMPDIR", (mRoot + "/tmp").c_str(), 1);
        mProject = mRoot + "/project/";
        mWork = mRoot + "/tmp/GMK_TEMP-" + std::to_string(::geteuid()) + "/";
    }
    void TearDown() override {
        if (mOldTmpDir)
            ::setenv("TMPDIR", mOldTmpDir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ignored;
        std::filesystem::remove_all(mRoot, ignored);
    }

    std::optional<std::string> mOldTmpDir;
    std::string mRoot;
    std::string mProject;
    std::string mWork;
};

// A map of the given size under the root of `tree`, its unit saved in the project folder.
inline TKelMapTreeItem& AddProjectMap(TKelMapTree& tree, const std::string& project, std::int32_t id, const char* name,
                                      int width, int height) {
    TKelMapTreeItem& item = tree.AddItem(0, id);
    item.Kind = TKelMapTreeItem::mkMap;
    item.Name = name;
    TKelMap unit;
    unit.SetWidth(width);
    unit.SetHeight(height);
    unit.SaveToProject(project, id);
    return item;
}

}  // namespace quillon::testkit
