#include "data/LD_Event.h"

#include <algorithm>

namespace quillon {

// --- script line ---

std::int32_t TKelEventScriptLine::Param(int index) const {
    if (index < 0 || index >= ParamCount())
        return 0;
    return mParams[static_cast<std::size_t>(index)];
}

void TKelEventScriptLine::SetParam(int index, std::int32_t value) {
    if (index >= 0 && index < ParamCount())
        mParams[static_cast<std::size_t>(index)] = value;
}

// --- script ---

namespace {

// Reads one line; answers whether every number in it is written as WriteVarInt writes it (so
// that writing the line again gives the same bytes).
bool ReadLine(TStream& stream, TKelEventScriptLine& line) {
    bool usual = true;
    const auto number = [&] {
        const std::int64_t start = stream.Position();
        const std::int32_t value = ReadVarInt(stream);
        usual = usual && stream.Position() - start == VarIntSize(value);
        return value;
    };
    line.Code = number();
    line.Indent = number();
    const auto length = static_cast<std::uint32_t>(number());
    stream.RequireRemaining(length);
    line.Text.resize(length);
    stream.ReadBuffer(line.Text.data(), length);
    const auto count = static_cast<std::uint32_t>(number());
    stream.RequireRemaining(count);  // each parameter takes at least one byte
    line.SetParamCount(static_cast<int>(count));
    for (std::uint32_t i = 0; i < count; ++i)
        line.SetParam(static_cast<int>(i), number());
    return usual;
}

void WriteLine(TStream& stream, const TKelEventScriptLine& line) {
    WriteVarInt(stream, line.Code);
    WriteVarInt(stream, line.Indent);
    WriteString(stream, line.Text);
    WriteVarInt(stream, line.ParamCount());
    for (const std::int32_t value : line.Params())
        WriteVarInt(stream, value);
}

std::size_t LineSize(const TKelEventScriptLine& line) {
    std::size_t size = static_cast<std::size_t>(VarIntSize(line.Code) + VarIntSize(line.Indent) +
                                                VarIntSize(static_cast<std::int32_t>(line.Text.size())) +
                                                VarIntSize(line.ParamCount())) +
                       line.Text.size();
    for (const std::int32_t value : line.Params())
        size += static_cast<std::size_t>(VarIntSize(value));
    return size;
}

// The closing line's encoding.
constexpr std::uint8_t kClosingLine[] = {0, 0, 0, 0};

}  // namespace

TKelEventScriptLine* TKelEventScriptList::Lines(int index) const {
    MakeLines();
    if (index < 0 || index >= static_cast<int>(mLines.size()))
        return nullptr;
    return mLines[static_cast<std::size_t>(index)].get();
}

TKelEventScriptLine& TKelEventScriptList::Add(std::unique_ptr<TKelEventScriptLine> line) {
    MakeLines();
    mLines.push_back(std::move(line));
    return *mLines.back();
}

TKelEventScriptLine& TKelEventScriptList::Insert(int index, std::unique_ptr<TKelEventScriptLine> line) {
    index = std::clamp(index, 0, Count());
    return **mLines.insert(mLines.begin() + index, std::move(line));
}

void TKelEventScriptList::Delete(int index) {
    if (index >= 0 && index < Count())
        mLines.erase(mLines.begin() + index);
}

void TKelEventScriptList::Clear() {
    mLines.clear();
    mEncoding = TDynamicBuffer();
    mEncoded = false;
}

void TKelEventScriptList::Assign(const TKelEventScriptList& source) {
    if (&source == this)
        return;
    Clear();
    if (source.mEncoded) {
        mEncoding = source.mEncoding;
        mEncoded = true;
        return;
    }
    mLines.reserve(source.mLines.size());
    for (const auto& line : source.mLines)
        Add(std::make_unique<TKelEventScriptLine>(*line));
}

void TKelEventScriptList::InsertScript(int position, const TKelEventScriptList& source, int extraDepth) {
    if (source.Count() == 0)
        return;
    position = std::clamp(position, 0, Count());
    const int anchor = std::min(position, Count() - 1);
    const std::int32_t base = anchor >= 0 ? Lines(anchor)->Indent : 0;
    const std::int32_t first = source.Lines(0)->Indent;
    // Copy first: the source may be this very script.
    std::vector<std::unique_ptr<TKelEventScriptLine>> block;
    block.reserve(source.mLines.size());
    for (const auto& line : source.mLines) {
        auto copy = std::make_unique<TKelEventScriptLine>(*line);
        copy->Indent = base + extraDepth + line->Indent - first;
        block.push_back(std::move(copy));
    }
    mLines.insert(mLines.begin() + position, std::make_move_iterator(block.begin()),
                  std::make_move_iterator(block.end()));
}

void TKelEventScriptList::LoadFromStream(TStream& stream) {
    Clear();
    while (stream.Position() < stream.Size()) {
        auto line = std::make_unique<TKelEventScriptLine>();
        ReadLine(stream, *line);
        mLines.push_back(std::move(line));
    }
}

void TKelEventScriptList::SaveToStream(TStream& stream) const {
    if (mEncoded) {
        stream.WriteBuffer(mEncoding.data(), mEncoding.size());
        return;
    }
    for (const auto& line : mLines)
        WriteLine(stream, *line);
}

bool TKelEventScriptList::LoadEncoding(TDynamicBuffer bytes) {
    Clear();
    // One pass over the bytes finds where the whole lines end and whether they are written as
    // this program writes them; only then may the bytes stand for the lines.
    TByteViewStream stream(bytes.data(), bytes.size());
    TKelEventScriptLine line;
    std::int64_t whole = 0;
    bool usual = true;
    bool damaged = false;
    bool closed = false;
    try {
        while (stream.Position() < stream.Size()) {
            usual = ReadLine(stream, line) && usual;
            whole = stream.Position();
            closed = line.Code == 0;
        }
    } catch (const EReadError&) {
        damaged = true;
    }
    if (!usual) {
        // Numbers written in more bytes than needed: the lines are made now, and a save writes
        // them as usual.
        TByteViewStream again(bytes.data(), static_cast<std::size_t>(whole));
        LoadFromStream(again);
        if (damaged && !closed)
            Add();
        return !damaged;
    }
    if (damaged) {
        bytes.resize(static_cast<std::size_t>(whole));
        if (!closed)
            bytes.insert(bytes.end(), std::begin(kClosingLine), std::end(kClosingLine));
    }
    if (bytes.empty())
        return !damaged;
    mEncoding = std::move(bytes);
    mEncoded = true;
    return !damaged;
}

void TKelEventScriptList::DecodeLines() const {
    TByteViewStream stream(mEncoding.data(), mEncoding.size());
    std::vector<std::unique_ptr<TKelEventScriptLine>> lines;
    // The encoding was read whole once (LoadEncoding); nothing here can be cut short.
    while (stream.Position() < stream.Size()) {
        auto line = std::make_unique<TKelEventScriptLine>();
        ReadLine(stream, *line);
        lines.push_back(std::move(line));
    }
    mLines = std::move(lines);
    mEncoding = TDynamicBuffer();
    mEncoded = false;
}

void TKelEventScriptList::ForEachLine(const std::function<void(int, const TKelEventScriptLine&)>& visit) const {
    if (!mEncoded) {
        for (std::size_t i = 0; i < mLines.size(); ++i)
            visit(static_cast<int>(i), *mLines[i]);
        return;
    }
    TByteViewStream stream(mEncoding.data(), mEncoding.size());
    TKelEventScriptLine line;
    for (int i = 0; stream.Position() < stream.Size(); ++i) {
        ReadLine(stream, line);
        visit(i, line);
    }
}

std::size_t TKelEventScriptList::EncodedSize() const {
    if (mEncoded)
        return mEncoding.size();
    std::size_t size = 0;
    for (const auto& line : mLines)
        size += LineSize(*line);
    return size;
}

// --- records owning a script ---

void TKelBaseEventPageItem::Reset() {
    // The empty script: its closing line alone, which four zero bytes encode.
    ScriptSize = 4;
    ScriptData.assign(4, 0);
    mScriptDamaged = false;
    Script.Clear();
    Script.Add();
}

void TKelBaseEventPageItem::ParseScript() {
    // Parse no more than the bytes present, whatever the size field says.
    const std::size_t size =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(ScriptSize, 0)), ScriptData.size());
    ScriptData.resize(size);
    ScriptSize = static_cast<std::int32_t>(size);
    // A damaged script keeps the lines before the damage, closed as every script is, and the
    // rest of the record (and of the file) still loads. The script holds the bytes from now on;
    // the buffer is made again by the next save.
    mScriptDamaged = !Script.LoadEncoding(std::move(ScriptData));
    ScriptData = TDynamicBuffer();
}

void TKelBaseEventPageItem::PackScript() {
    TMemoryStream stream;
    Script.SaveToStream(stream);
    const std::string& bytes = stream.Bytes();
    ScriptData.assign(bytes.begin(), bytes.end());
    ScriptSize = static_cast<std::int32_t>(ScriptData.size());
}

void TKelBaseEventPageItem::LoadFromStream(TStream& stream) {
    TCatalogItem::LoadFromStream(stream);
    ParseScript();
}

void TKelBaseEventPageItem::SaveToStream(TStream& stream) {
    PackScript();
    TCatalogItem::SaveToStream(stream);
}

// --- condition ---

void TKelEventCondition::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetBufferField(d, &Flags, 1, "Flags"); break;
    case 2: SetIntField(d, &SwitchAId, 1, "SwitchAId"); break;
    case 3: SetIntField(d, &SwitchBId, 1, "SwitchBId"); break;
    case 4: SetIntField(d, &VariableId, 1, "VariableId"); break;
    case 5: SetIntField(d, &VariableValue, 0, "VariableValue"); break;
    case 6: SetIntField(d, &ItemId, 1, "ItemId"); break;
    case 7: SetIntField(d, &HeroId, 0, "HeroId"); break;  // omitted only when 0, reads back as 1
    case 8: SetIntField(d, &TimerSeconds, 0, "TimerSeconds"); break;
    default: break;
    }
}

void TKelEventCondition::Reset() {
    Flags = 0;
    SwitchAId = 1;
    SwitchBId = 1;
    VariableId = 1;
    VariableValue = 0;
    ItemId = 1;
    HeroId = 1;
    TimerSeconds = 0;
}

// --- page ---

void TKelEventPageItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 2: SetRecordField(d, &Condition, "Condition"); break;
    case 21: SetStringField(d, &GraphicName, true, "GraphicName"); break;
    case 22: SetIntField(d, &GraphicIndex, 0, "GraphicIndex"); break;
    case 23: SetBufferField(d, &GraphicDirection, 1, "GraphicDirection"); break;
    case 24: SetIntField(d, &GraphicPattern, 1, "GraphicPattern"); break;
    case 25: SetBufferField(d, &Transparent, 1, "Transparent"); break;
    case 31: SetBufferField(d, &MoveType, 1, "MoveType"); break;
    case 32: SetIntField(d, &MoveFrequency, 3, "MoveFrequency"); break;
    case 33: SetBufferField(d, &Trigger, 1, "Trigger"); break;
    case 34: SetBufferField(d, &Priority, 1, "Priority"); break;
    case 35: SetBufferField(d, &NoOverlap, 1, "NoOverlap"); break;
    case 36: SetBufferField(d, &AnimationType, 1, "AnimationType"); break;
    case 37: SetIntField(d, &MoveSpeed, 3, "MoveSpeed"); break;
    case 41: SetRecordField(d, &MoveRoute, "MoveRoute"); break;
    case 51: SetIntField(d, &ScriptSize, 0, "ScriptSize"); break;
    case 52: SetDynamicField(d, &ScriptData, ScriptSize, "ScriptData"); break;
    default: break;
    }
}

void TKelEventPageItem::Reset() {
    Condition.Reset();
    GraphicName.clear();
    GraphicIndex = 0;
    GraphicDirection = 2;
    GraphicPattern = 1;
    Transparent = 0;
    MoveType = 0;
    MoveFrequency = 3;
    Trigger = 0;
    Priority = 0;
    NoOverlap = 0;
    AnimationType = 0;
    MoveSpeed = 3;
    MoveRoute.Reset();
    TKelBaseEventPageItem::Reset();
}

// --- event ---

void TKelEventItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetIntField(d, &X, 0, "X"); break;
    case 3: SetIntField(d, &Y, 0, "Y"); break;
    case 5: SetListField(d, &Pages, "Pages"); break;
    default: break;
    }
}

void TKelEventItem::Reset() {
    Name.clear();
    X = 0;
    Y = 0;
    Pages.Clear();
    Pages.Obtain(1);
}

std::string EncodeEventClipboard(std::int32_t tag, TKelEventItem* event) {
    TMemoryStream payload;
    WriteVarInt(payload, tag);
    if (tag == 0 && event)
        event->SaveToStream(payload);
    return MakeCountedClipboardBlock(payload.Bytes());
}

std::optional<TEventClipboard> DecodeEventClipboard(std::string_view block, bool whole) {
    const std::optional<std::string_view> payload = CountedClipboardPayload(block);
    if (!payload)
        return std::nullopt;
    TByteViewStream stream(*payload);
    TEventClipboard result;
    try {
        result.Tag = ReadVarInt(stream);
        if (result.Tag == 0) {
            result.Event = std::make_unique<TKelEventItem>();
            result.Event->LoadFromStream(stream);
        } else if (result.Tag < kFirstStartMarkTag || result.Tag > kLastStartMarkTag) {
            return std::nullopt;
        }
    } catch (const EReadError&) {
        return std::nullopt;
    }
    if (whole && stream.Position() != stream.Size())
        return std::nullopt;
    return result;
}

}  // namespace quillon
