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

TKelEventScriptLine* TKelEventScriptList::Lines(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return mLines[static_cast<std::size_t>(index)].get();
}

TKelEventScriptLine& TKelEventScriptList::Add(std::unique_ptr<TKelEventScriptLine> line) {
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

void TKelEventScriptList::Assign(const TKelEventScriptList& source) {
    if (&source == this)
        return;
    Clear();
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
        line->Code = ReadVarInt(stream);
        line->Indent = ReadVarInt(stream);
        ReadString(stream, line->Text);
        const auto count = static_cast<std::uint32_t>(ReadVarInt(stream));
        stream.RequireRemaining(count);  // each parameter takes at least one byte
        line->SetParamCount(static_cast<int>(count));
        for (std::uint32_t i = 0; i < count; ++i)
            line->SetParam(static_cast<int>(i), ReadVarInt(stream));
        mLines.push_back(std::move(line));
    }
}

void TKelEventScriptList::SaveToStream(TStream& stream) const {
    for (const auto& line : mLines) {
        WriteVarInt(stream, line->Code);
        WriteVarInt(stream, line->Indent);
        WriteString(stream, line->Text);
        WriteVarInt(stream, line->ParamCount());
        for (const std::int32_t value : line->Params())
            WriteVarInt(stream, value);
    }
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
    mScriptDamaged = false;
    TByteViewStream stream(ScriptData.data(), ScriptData.size());
    try {
        Script.LoadFromStream(stream);
    } catch (const EReadError&) {
        // A damaged script keeps the lines before the damage, closed as every script is, and
        // the rest of the record (and of the file) still loads.
        mScriptDamaged = true;
        if (Script.Count() == 0 || Script.Lines(Script.Count() - 1)->Code != TCommandCode::End)
            Script.Add();
    }
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
