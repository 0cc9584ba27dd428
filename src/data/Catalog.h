// Records and lists described by field tables, and their chunked encoding.
//
// A record describes its persistent fields once, in DescribeField: for each field number 1..999
// it says the field's type, where its value lives and its default. Saving writes a chunk
// (number, length, payload) for every field whose value is not its default, then a 0; loading
// resets the record and reads chunks back, skipping those it does not know. Lists write a count,
// then an ID and a record per element.
#pragma once

#include "data/StreamUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TCatalog;
class TCatalogBaseItem;

// Field type codes of a field table.
enum : std::uint8_t {
    ftInteger = 0,        // signed 32-bit, written as a length-prefixed variable-length integer
    ftFixedBuffer = 1,    // Size bytes in place
    ftDynamicBuffer = 2,  // a TDynamicBuffer, of which Size bytes are written
    ftString = 3,         // std::string
    ftList = 4,           // a TCatalog
    ftRecord = 5,         // a TCatalogBaseItem
    ftByte = 6,           // unsigned 8-bit (booleans too)
    ftDouble = 7,         // 64-bit float
    ftNone = 8,           // no such field
};

using TDynamicBuffer = std::vector<std::uint8_t>;

// The descriptor a record fills for one field number.
struct TCatalogVarData {
    std::uint8_t FieldType = ftNone;
    void* Data = nullptr;
    std::int32_t Size = 0;
    std::int32_t IntDefault = 0;
    std::uint8_t ByteDefault = 0;
    double DoubleDefault = 0.0;
    bool SkipEmpty = false;
    const char* Name = nullptr;  // the field's name, for dumps; not part of the encoding
};

// The four ways a record fills a descriptor. `name` only labels the field in dumps.
void SetField(TCatalogVarData& d, std::uint8_t type, void* data, std::int32_t size,
              const char* name = nullptr);
void SetIntField(TCatalogVarData& d, void* data, std::int32_t defaultValue, const char* name = nullptr);
void SetByteField(TCatalogVarData& d, std::uint8_t* data, std::uint8_t defaultValue,
                  const char* name = nullptr);
void SetStringField(TCatalogVarData& d, std::string* data, bool skipEmpty, const char* name = nullptr);
// Typed shorthands for SetField.
void SetBufferField(TCatalogVarData& d, void* data, std::int32_t size, const char* name = nullptr);
void SetDynamicField(TCatalogVarData& d, TDynamicBuffer* block, std::int32_t size,
                     const char* name = nullptr);
void SetListField(TCatalogVarData& d, TCatalog* list, const char* name = nullptr);
void SetRecordField(TCatalogVarData& d, TCatalogBaseItem* record, const char* name = nullptr);

// Raised by a typed look-up of an absent element before the editor's main window exists.
class ELookupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Base of every serializable record.
class TCatalogBaseItem {
public:
    TCatalogBaseItem() = default;
    TCatalogBaseItem(const TCatalogBaseItem&) = delete;
    TCatalogBaseItem& operator=(const TCatalogBaseItem&) = delete;
    virtual ~TCatalogBaseItem() = default;

    // Fills the descriptor for a field number or leaves its FieldType at ftNone. `loading` is
    // true while loading; a record may describe a field only when it differs from its reset
    // content while saving.
    virtual void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) = 0;
    // The highest field number the record ever describes; saving asks no further. Records that
    // are saved by the thousand name theirs, the rest keep 999.
    virtual int LastFieldNumber() const { return 999; }
    virtual void Reset() {}
    // Copies through the encoding; overridden by records that copy field by field.
    virtual void Assign(const TCatalogBaseItem& source);
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream);
    // Loads the record from the clipboard's block in the format; false when there is none.
    // A damaged block leaves the record as it was and raises the read error.
    virtual bool PasteFromClipboard(int format);
    virtual void CopyToClipboard(int format);

protected:
    // A load met a chunk that claims more bytes than the stream has left (the stream stands at
    // its payload); the load raises EReadError afterwards. A record may take what it can from
    // the rest here; by default nothing is read.
    virtual void ChunkCutShort(int /*fieldNumber*/, TStream& /*stream*/) {}
};

// A record that is an element of a list: a 1-based ID and a name. Name is not written by the
// engine; each element class lists it in its own field table.
class TCatalogItem : public TCatalogBaseItem {
public:
    std::int32_t ID = 0;
    std::string Name;

    virtual void SetID(std::int32_t id) { ID = id; }
};

// The element class of a list: creates an element in its reset state with the given ID.
using TCatalogItemClass = std::unique_ptr<TCatalogItem> (*)(std::int32_t id);

template <class T>
std::unique_ptr<TCatalogItem> CreateCatalogItem(std::int32_t id) {
    auto item = std::make_unique<T>();
    item->SetID(id);
    return item;
}

// Creates an element that a load is about to fill. An element class whose reset content is
// costly to make and is always replaced by the load (or made by it when the bytes name none)
// offers a constructor taking its TLoadTarget tag.
template <class T>
std::unique_ptr<TCatalogItem> CreateCatalogLoadTarget(std::int32_t id) {
    std::unique_ptr<T> item;
    if constexpr (requires { typename T::TLoadTarget; })
        item = std::make_unique<T>(typename T::TLoadTarget{});
    else
        item = std::make_unique<T>();
    item->SetID(id);
    return item;
}

// A list of records kept sorted by ascending ID; IDs may have gaps. Owns its elements.
class TCatalog {
public:
    // Largest ID that a list paste fills.
    static constexpr std::int32_t kMaxPasteId = 5000;

    // `loadTargetClass` makes the elements that a load or paste fills; by default `itemClass`.
    explicit TCatalog(TCatalogItemClass itemClass, TCatalogItemClass loadTargetClass = nullptr)
        : mItemClass(itemClass), mLoadTargetClass(loadTargetClass ? loadTargetClass : itemClass) {}
    TCatalog(const TCatalog&) = delete;
    TCatalog& operator=(const TCatalog&) = delete;
    virtual ~TCatalog() = default;

    virtual void LoadItem(int index, TStream& stream);
    virtual void SaveItem(int index, TStream& stream);
    virtual void Assign(const TCatalog& source);
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream);
    // Pastes the block's records as elements index+1, index+2, ... (IDs above 5000 are skipped);
    // returns the number pasted.
    virtual int PasteFromClipboard(int format, int index);
    virtual void CopyToClipboard(int format, int index, int count);

    int Count() const { return static_cast<int>(mItems.size()); }
    TCatalogItem* Items(int index) const;
    void Clear() { mItems.clear(); }
    TCatalogItem& Obtain(std::int32_t id);
    void Delete(std::int32_t id);
    // Deletes every element the predicate holds for, in one pass; answers how many went.
    int DeleteIf(const std::function<bool(const TCatalogItem&)>& doomed);
    TCatalogItem& Append();
    TCatalogItem& InsertAndRenumber(std::int32_t id);
    void DeleteAndRenumber(std::int32_t id);
    TCatalogItem* FindByID(std::int32_t id) const;
    // Sorts (stably) with `less`, then numbers the elements 1..Count in the new order.
    void SortAndRenumber(const std::function<bool(const TCatalogItem&, const TCatalogItem&)>& less);
    // Creates an element of this list's class, not inserted anywhere.
    std::unique_ptr<TCatalogItem> CreateItem(std::int32_t id) const { return mItemClass(id); }
    // Creates an element of this list's class that a load is about to fill.
    std::unique_ptr<TCatalogItem> CreateLoadTarget(std::int32_t id) const { return mLoadTargetClass(id); }

protected:
    std::vector<std::unique_ptr<TCatalogItem>> mItems;

private:
    // The element with the ID, inserted in its place as `make` creates it when there is none.
    TCatalogItem& ObtainMade(std::int32_t id, TCatalogItemClass make);

    TCatalogItemClass mItemClass;
    TCatalogItemClass mLoadTargetClass;
};

// A list of one element class with typed access.
template <class T>
class TCatalogOf : public TCatalog {
public:
    TCatalogOf() : TCatalog(&CreateCatalogItem<T>, &CreateCatalogLoadTarget<T>) {}

    T* Items(int index) const { return static_cast<T*>(TCatalog::Items(index)); }
    T* FindByID(std::int32_t id) const { return static_cast<T*>(TCatalog::FindByID(id)); }
    T& Obtain(std::int32_t id) { return static_cast<T&>(TCatalog::Obtain(id)); }
    T& Append() { return static_cast<T&>(TCatalog::Append()); }
    T& InsertAndRenumber(std::int32_t id) { return static_cast<T&>(TCatalog::InsertAndRenumber(id)); }
};

// The failure rule of typed look-ups: once the editor runs, a missing element is nothing;
// before that it raises ELookupError with the list's message (no message: never raises).
void CheckLookUp(const void* found, const char* message);

// A list with the two typed look-ups of the database lists.
template <class T>
class TKelList : public TCatalogOf<T> {
public:
    explicit TKelList(const char* lookUpMessage) : mMessage(lookUpMessage) {}

    T* ItemAt(int index) const {
        T* found = this->Items(index);
        CheckLookUp(found, mMessage);
        return found;
    }
    T* ItemById(std::int32_t id) const {
        T* found = this->FindByID(id);
        CheckLookUp(found, mMessage);
        return found;
    }

private:
    const char* mMessage;
};

// The clipboard block: 32-bit little-endian payload size, 32-bit record count, payload.
std::string MakeClipboardBlock(std::int32_t count, const std::string& payload);
// Splits a block; false when it is too short to hold a header. A size larger than the bytes
// present is cut to them; a negative count reads as 0.
bool SplitClipboardBlock(const std::string& block, std::int32_t& count, std::string& payload);

// The editor's own blocks (command lines, events, move commands): a 32-bit little-endian byte
// count, then that many bytes.
std::string MakeCountedClipboardBlock(std::string_view payload);
// The payload, or nothing when the count is negative or runs past the block. (A block may be
// longer than its count says: global memory is rounded up.)
std::optional<std::string_view> CountedClipboardPayload(std::string_view block);

// An element as lists show it: the ID in four digits, a colon and the name ("0012:Door open"),
// or the four digits alone when the name is empty.
std::string FormatIdName(std::int32_t id, const std::string& name);

// Reads a file signature and raises EReadError when it is not exactly `signature`.
void ReadSignature(TStream& stream, std::string_view signature);

}  // namespace quillon
