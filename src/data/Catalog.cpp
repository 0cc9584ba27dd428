#include "data/Catalog.h"

#include "data/EditorMode.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace quillon {

static_assert(std::endian::native == std::endian::little,
              "integer fields are stored through byte pointers in little-endian order");

// --- descriptor setters ---

void SetField(TCatalogVarData& d, std::uint8_t type, void* data, std::int32_t size, const char* name) {
    d.FieldType = type;
    d.Data = data;
    d.Size = size;
    d.IntDefault = 2147483647;
    d.Name = name;
}

void SetIntField(TCatalogVarData& d, void* data, std::int32_t defaultValue, const char* name) {
    d.FieldType = ftInteger;
    d.Data = data;
    d.Size = 0;
    d.IntDefault = defaultValue;
    d.Name = name;
}

void SetByteField(TCatalogVarData& d, std::uint8_t* data, std::uint8_t defaultValue, const char* name) {
    d.FieldType = ftByte;
    d.Data = data;
    d.Size = 1;
    d.ByteDefault = defaultValue;
    d.Name = name;
}

void SetStringField(TCatalogVarData& d, std::string* data, bool skipEmpty, const char* name) {
    d.FieldType = ftString;
    d.Data = data;
    d.Size = 0;
    d.SkipEmpty = skipEmpty;
    d.Name = name;
}

void SetBufferField(TCatalogVarData& d, void* data, std::int32_t size, const char* name) {
    SetField(d, ftFixedBuffer, data, size, name);
}

void SetDynamicField(TCatalogVarData& d, TDynamicBuffer* block, std::int32_t size, const char* name) {
    SetField(d, ftDynamicBuffer, block, size, name);
}

void SetListField(TCatalogVarData& d, TCatalog* list, const char* name) {
    SetField(d, ftList, list, 0, name);
}

void SetRecordField(TCatalogVarData& d, TCatalogBaseItem* record, const char* name) {
    SetField(d, ftRecord, record, 0, name);
}

void CheckLookUp(const void* found, const char* message) {
    if (!found && message && !EditorMode())
        throw ELookupError(message);
}

// --- record encoding ---

namespace {

std::int32_t LoadInt(const void* data) {
    std::int32_t value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// Whether the chunk of a described field is left out on save.
bool IsOmitted(const TCatalogVarData& d) {
    switch (d.FieldType) {
    case ftInteger:
        return LoadInt(d.Data) == d.IntDefault;
    case ftString:
        return d.SkipEmpty && static_cast<const std::string*>(d.Data)->empty();
    case ftByte:
        return *static_cast<const std::uint8_t*>(d.Data) == d.ByteDefault;
    case ftDouble: {
        double value;
        std::memcpy(&value, d.Data, sizeof value);
        return value == d.DoubleDefault;
    }
    case ftFixedBuffer:
    case ftDynamicBuffer:
    case ftList:
    case ftRecord:
        return false;
    default:
        return true;
    }
}

void WriteChunk(TStream& stream, int fieldNumber, const TCatalogVarData& d, TMemoryStream& scratch) {
    WriteVarInt(stream, fieldNumber);
    switch (d.FieldType) {
    case ftInteger:
        WriteVarInt(stream, LoadInt(d.Data), true);
        break;
    case ftFixedBuffer:
    case ftByte:
    case ftDouble:
        WriteVarInt(stream, d.Size);
        stream.WriteBuffer(d.Data, static_cast<std::size_t>(std::max(d.Size, 0)));
        break;
    case ftDynamicBuffer: {
        // The declared size is written; a block shorter than it is padded with zeros so that a
        // record whose count and block disagree never reads past its block.
        const auto& block = *static_cast<const TDynamicBuffer*>(d.Data);
        const std::size_t size = static_cast<std::size_t>(std::max(d.Size, 0));
        WriteVarInt(stream, static_cast<std::int32_t>(size));
        const std::size_t have = std::min(size, block.size());
        stream.WriteBuffer(block.data(), have);
        for (std::size_t i = have; i < size; ++i)
            stream.WriteByte(0);
        break;
    }
    case ftString: {
        const auto& text = *static_cast<const std::string*>(d.Data);
        WriteString(stream, text);
        break;
    }
    case ftList:
    case ftRecord:
        scratch.Clear();
        if (d.FieldType == ftList)
            static_cast<TCatalog*>(d.Data)->SaveToStream(scratch);
        else
            static_cast<TCatalogBaseItem*>(d.Data)->SaveToStream(scratch);
        WriteVarInt(stream, static_cast<std::int32_t>(scratch.Size()));
        stream.WriteBuffer(scratch.Bytes().data(), scratch.Bytes().size());
        break;
    default:
        break;
    }
}

void ReadChunk(TStream& stream, const TCatalogVarData& d, std::uint32_t length) {
    switch (d.FieldType) {
    case ftInteger: {
        const std::int32_t value = ReadVarInt(stream);
        std::memcpy(d.Data, &value, sizeof value);
        break;
    }
    case ftFixedBuffer:
    case ftByte:
    case ftDouble:
        if (static_cast<std::int64_t>(length) == d.Size)
            stream.ReadBuffer(d.Data, length);
        break;
    case ftDynamicBuffer: {
        auto& block = *static_cast<TDynamicBuffer*>(d.Data);
        block.resize(length);
        stream.ReadBuffer(block.data(), length);
        break;
    }
    case ftString: {
        auto& text = *static_cast<std::string*>(d.Data);
        text.resize(length);
        stream.ReadBuffer(text.data(), length);
        break;
    }
    case ftList:
    case ftRecord: {
        // A nested list or record is read from its chunk's bytes alone: one that claims more
        // than its chunk holds is damaged, and must not borrow the bytes of the fields after it
        // (which would load here, then save as a chunk that never loads again).
        // Bytes in memory are read in place.
        std::string copy;
        const std::uint8_t* bytes = stream.Borrow(length);
        if (!bytes) {
            copy.resize(length);
            stream.ReadBuffer(copy.data(), length);
            bytes = reinterpret_cast<const std::uint8_t*>(copy.data());
        }
        TByteViewStream inner(bytes, length);
        if (d.FieldType == ftList)
            static_cast<TCatalog*>(d.Data)->LoadFromStream(inner);
        else
            static_cast<TCatalogBaseItem*>(d.Data)->LoadFromStream(inner);
        break;
    }
    default:
        break;
    }
}

}  // namespace

void TCatalogBaseItem::SaveToStream(TStream& stream) {
    TCatalogVarData d;
    TMemoryStream scratch;
    const int last = std::min(LastFieldNumber(), 999);
    for (int n = 1; n <= last; ++n) {
        d.FieldType = ftNone;
        d.Name = nullptr;
        DescribeField(n, d, false);
        if (d.FieldType == ftNone || IsOmitted(d))
            continue;
        WriteChunk(stream, n, d, scratch);
    }
    WriteVarInt(stream, 0);
}

void TCatalogBaseItem::LoadFromStream(TStream& stream) {
    Reset();
    TCatalogVarData d;
    for (;;) {
        const std::int32_t n = ReadVarInt(stream);
        if (n == 0)
            break;
        const auto length = static_cast<std::uint32_t>(ReadVarInt(stream));
        // A chunk cannot be longer than what is left: the file is cut or damaged.
        if (stream.Remaining() < static_cast<std::int64_t>(length)) {
            ChunkCutShort(n, stream);
            stream.RequireRemaining(length);
        }
        d.FieldType = ftNone;
        d.Name = nullptr;
        DescribeField(n, d, true);
        const std::int64_t end = stream.Position() + length;
        ReadChunk(stream, d, length);
        stream.SetPosition(end);
    }
}

void TCatalogBaseItem::Assign(const TCatalogBaseItem& source) {
    if (&source == this)
        return;
    Reset();
    TMemoryStream buffer;
    // Saving does not change what a record holds (but for counters that count saves).
    const_cast<TCatalogBaseItem&>(source).SaveToStream(buffer);
    buffer.SetPosition(0);
    LoadFromStream(buffer);
}

void TCatalogBaseItem::CopyToClipboard(int format) {
    TMemoryStream payload;
    SaveToStream(payload);
    Clipboard().SetData(format, MakeClipboardBlock(1, payload.Bytes()));
}

bool TCatalogBaseItem::PasteFromClipboard(int format) {
    const auto block = Clipboard().GetData(format);
    std::int32_t count = 0;
    std::string payload;
    if (!block || !SplitClipboardBlock(*block, count, payload))
        return false;
    TMemoryStream backup;
    SaveToStream(backup);
    TByteViewStream stream(payload);
    try {
        LoadFromStream(stream);
    } catch (...) {
        backup.SetPosition(0);
        LoadFromStream(backup);
        throw;
    }
    return true;
}

// --- lists ---

TCatalogItem* TCatalog::Items(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return mItems[static_cast<std::size_t>(index)].get();
}

namespace {
auto LowerBound(const std::vector<std::unique_ptr<TCatalogItem>>& items, std::int32_t id) {
    return std::lower_bound(items.begin(), items.end(), id,
                            [](const std::unique_ptr<TCatalogItem>& item, std::int32_t value) {
                                return item->ID < value;
                            });
}
}  // namespace

TCatalogItem& TCatalog::Obtain(std::int32_t id) {
    return ObtainMade(id, mItemClass);
}

TCatalogItem& TCatalog::ObtainMade(std::int32_t id, TCatalogItemClass make) {
    if (!mItems.empty() && mItems.back()->ID >= id) {
        auto it = LowerBound(mItems, id);
        if ((*it)->ID == id)
            return **it;
        return **mItems.insert(it, make(id));
    }
    mItems.push_back(make(id));
    return *mItems.back();
}

void TCatalog::Delete(std::int32_t id) {
    auto it = LowerBound(mItems, id);
    if (it != mItems.end() && (*it)->ID == id)
        mItems.erase(it);
}

int TCatalog::DeleteIf(const std::function<bool(const TCatalogItem&)>& doomed) {
    const auto kept = std::remove_if(mItems.begin(), mItems.end(),
                                     [&](const std::unique_ptr<TCatalogItem>& item) { return doomed(*item); });
    const auto gone = static_cast<int>(mItems.end() - kept);
    mItems.erase(kept, mItems.end());
    return gone;
}

TCatalogItem& TCatalog::Append() {
    const std::int32_t id = mItems.empty() ? 1 : mItems.back()->ID + 1;
    mItems.push_back(mItemClass(id));
    return *mItems.back();
}

TCatalogItem& TCatalog::InsertAndRenumber(std::int32_t id) {
    if (!mItems.empty() && mItems.back()->ID >= id) {
        auto it = mItems.insert(LowerBound(mItems, id), mItemClass(id));
        TCatalogItem& inserted = **it;
        for (++it; it != mItems.end(); ++it)
            (*it)->SetID((*it)->ID + 1);
        return inserted;
    }
    mItems.push_back(mItemClass(id));
    return *mItems.back();
}

void TCatalog::DeleteAndRenumber(std::int32_t id) {
    auto it = LowerBound(mItems, id);
    if (it == mItems.end() || (*it)->ID != id)
        return;
    it = mItems.erase(it);
    for (; it != mItems.end(); ++it)
        (*it)->SetID((*it)->ID - 1);
}

TCatalogItem* TCatalog::FindByID(std::int32_t id) const {
    if (!mItems.empty() && mItems.back()->ID < id)
        return nullptr;
    if (id >= 1 && id <= Count() && mItems[static_cast<std::size_t>(id - 1)]->ID == id)
        return mItems[static_cast<std::size_t>(id - 1)].get();
    const auto it = LowerBound(mItems, id);
    if (it != mItems.end() && (*it)->ID == id)
        return it->get();
    return nullptr;
}

void TCatalog::SortAndRenumber(const std::function<bool(const TCatalogItem&, const TCatalogItem&)>& less) {
    std::stable_sort(mItems.begin(), mItems.end(),
                     [&](const std::unique_ptr<TCatalogItem>& a, const std::unique_ptr<TCatalogItem>& b) {
                         return less(*a, *b);
                     });
    std::int32_t id = 1;
    for (auto& item : mItems)
        item->SetID(id++);
}

void TCatalog::LoadItem(int index, TStream& stream) {
    if (TCatalogItem* item = Items(index))
        item->LoadFromStream(stream);
}

void TCatalog::SaveItem(int index, TStream& stream) {
    if (TCatalogItem* item = Items(index))
        item->SaveToStream(stream);
}

void TCatalog::Assign(const TCatalog& source) {
    if (&source == this)
        return;
    Clear();
    for (const auto& element : source.mItems)
        Obtain(element->ID).Assign(*element);
}

void TCatalog::SaveToStream(TStream& stream) {
    WriteVarInt(stream, Count());
    for (const auto& item : mItems) {
        WriteVarInt(stream, item->ID);
        item->SaveToStream(stream);
    }
}

void TCatalog::LoadFromStream(TStream& stream) {
    Clear();
    try {
        const auto count = static_cast<std::uint32_t>(ReadVarInt(stream));
        // Every element takes at least two bytes (its ID and its record's terminator).
        stream.RequireRemaining(count);
        bool sorted = true;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::int32_t id = ReadVarInt(stream);
            if (!mItems.empty() && mItems.back()->ID >= id)
                sorted = false;
            auto item = mLoadTargetClass(id);
            item->LoadFromStream(stream);
            mItems.push_back(std::move(item));
        }
        if (!sorted) {
            // Elements out of order go to their place; of a repeated ID the last one read wins,
            // as if each had been loaded into the element that the ID names.
            std::stable_sort(mItems.begin(), mItems.end(),
                             [](const std::unique_ptr<TCatalogItem>& a, const std::unique_ptr<TCatalogItem>& b) {
                                 return a->ID < b->ID;
                             });
            std::vector<std::unique_ptr<TCatalogItem>> unique;
            unique.reserve(mItems.size());
            for (std::size_t i = 0; i < mItems.size(); ++i)
                if (i + 1 == mItems.size() || mItems[i + 1]->ID != mItems[i]->ID)
                    unique.push_back(std::move(mItems[i]));
            mItems = std::move(unique);
        }
    } catch (...) {
        Clear();
        throw;
    }
}

void TCatalog::CopyToClipboard(int format, int index, int count) {
    TMemoryStream payload;
    int copied = 0;
    for (int i = index; i < index + count; ++i) {
        if (!Items(i))
            continue;
        SaveItem(i, payload);
        ++copied;
    }
    Clipboard().SetData(format, MakeClipboardBlock(copied, payload.Bytes()));
}

int TCatalog::PasteFromClipboard(int format, int index) {
    const auto block = Clipboard().GetData(format);
    std::int32_t count = 0;
    std::string payload;
    if (!block || !SplitClipboardBlock(*block, count, payload))
        return 0;
    TByteViewStream stream(payload);
    int pasted = 0;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::int64_t target = static_cast<std::int64_t>(index) + k;
        if (target + 1 > kMaxPasteId)
            break;  // every later record would land beyond the limit too
        if (target < 0)
            continue;
        const auto id = static_cast<std::int32_t>(target + 1);
        const bool existed = FindByID(id) != nullptr;
        TCatalogItem& element = ObtainMade(id, mLoadTargetClass);
        TMemoryStream backup;
        if (existed)
            element.SaveToStream(backup);
        try {
            if (Items(static_cast<int>(target)) == &element)
                LoadItem(static_cast<int>(target), stream);
            else
                element.LoadFromStream(stream);
        } catch (...) {
            // A damaged block leaves the element as it was.
            if (existed) {
                backup.SetPosition(0);
                element.LoadFromStream(backup);
            } else {
                Delete(id);
            }
            throw;
        }
        ++pasted;
    }
    return pasted;
}

// --- clipboard block and signatures ---

std::string MakeClipboardBlock(std::int32_t count, const std::string& payload) {
    TMemoryStream block;
    WriteInt32LE(block, static_cast<std::int32_t>(payload.size()));
    WriteInt32LE(block, count);
    block.WriteBuffer(payload.data(), payload.size());
    return block.TakeBytes();
}

std::string MakeCountedClipboardBlock(std::string_view payload) {
    const auto size = static_cast<std::uint32_t>(payload.size());
    std::string block;
    block.reserve(payload.size() + 4);
    for (int shift = 0; shift < 32; shift += 8)
        block += static_cast<char>((size >> shift) & 0xFF);
    block.append(payload);
    return block;
}

std::optional<std::string_view> CountedClipboardPayload(std::string_view block) {
    if (block.size() < 4)
        return std::nullopt;
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | static_cast<std::uint8_t>(block[static_cast<std::size_t>(i)]);
    const auto count = static_cast<std::int32_t>(bits);
    if (count < 0 || static_cast<std::size_t>(count) > block.size() - 4)
        return std::nullopt;
    return block.substr(4, static_cast<std::size_t>(count));
}

bool SplitClipboardBlock(const std::string& block, std::int32_t& count, std::string& payload) {
    if (block.size() < 8)
        return false;
    TByteViewStream header(block);
    const std::int32_t size = ReadInt32LE(header);
    count = std::max(ReadInt32LE(header), 0);
    const std::size_t available = block.size() - 8;
    const std::size_t take = size < 0 ? 0 : std::min(static_cast<std::size_t>(size), available);
    payload.assign(block, 8, take);
    return true;
}

std::string FormatIdName(std::int32_t id, const std::string& name) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.4d", id);
    std::string text = digits;
    if (!name.empty())
        text += ":" + name;
    return text;
}

void ReadSignature(TStream& stream, std::string_view signature) {
    const std::string read = ReadString(stream);
    if (read != signature)
        throw EReadError();
}

}  // namespace quillon
