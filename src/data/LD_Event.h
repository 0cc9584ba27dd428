// Event scripts, the records that own them, and map events with their pages.
#pragma once

#include "data/Catalog.h"
#include "data/CommandCode.h"
#include "data/LD_MoveRoute.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One event command line.
class TKelEventScriptLine {
public:
    std::int32_t Code = 0;    // 0 marks the closing line of a script
    std::int32_t Indent = 0;  // nesting depth
    std::string Text;

    int ParamCount() const { return static_cast<int>(mParams.size()); }
    // Resizes the parameters; new ones are 0.
    void SetParamCount(int count) { mParams.resize(static_cast<std::size_t>(std::max(count, 0))); }
    // 0 beyond the count.
    std::int32_t Param(int index) const;
    // Ignored beyond the count.
    void SetParam(int index, std::int32_t value);
    const std::vector<std::int32_t>& Params() const { return mParams; }
    void Assign(const TKelEventScriptLine& source) { *this = source; }
    bool operator==(const TKelEventScriptLine&) const = default;

private:
    std::vector<std::int32_t> mParams;
};

// An event script: an ordered list of owned command lines. By convention it ends with one
// closing line of code 0.
class TKelEventScriptList {
public:
    TKelEventScriptList() = default;
    TKelEventScriptList(const TKelEventScriptList&) = delete;
    TKelEventScriptList& operator=(const TKelEventScriptList&) = delete;

    int Count() const { return static_cast<int>(mLines.size()); }
    TKelEventScriptLine* Lines(int index) const;
    // Appends a line and returns it.
    TKelEventScriptLine& Add(std::unique_ptr<TKelEventScriptLine> line);
    TKelEventScriptLine& Add() { return Add(std::make_unique<TKelEventScriptLine>()); }
    // Inserts before index (clamped to 0..Count).
    TKelEventScriptLine& Insert(int index, std::unique_ptr<TKelEventScriptLine> line);
    void Delete(int index);
    void Clear() { mLines.clear(); }
    // Copies every line of another script.
    void Assign(const TKelEventScriptList& source);
    // Inserts copies of the lines of `source` before `position`, the block re-based so that it
    // starts at the depth of the line it goes in front of, plus `extraDepth`.
    void InsertScript(int position, const TKelEventScriptList& source, int extraDepth);

    // Reads lines until the stream ends; a line cut short raises EReadError, leaving in the list
    // the lines read before it.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

private:
    std::vector<std::unique_ptr<TKelEventScriptLine>> mLines;
};

// Base of every record that owns an event script: the packed buffer and its parsed form.
// The parsed script is what callers edit; it is packed into the buffer before every save and
// parsed from it after every load. Each subclass lists ScriptSize and ScriptData in its own table.
class TKelBaseEventPageItem : public TCatalogItem {
public:
    std::int32_t ScriptSize = 4;
    TDynamicBuffer ScriptData;
    TKelEventScriptList Script;

    void Reset() override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // Packs Script into ScriptData and ScriptSize.
    void PackScript();
    // The stored script could not be parsed whole when it was last loaded; the lines before the
    // damage were kept and a closing line added.
    bool ScriptDamaged() const { return mScriptDamaged; }

private:
    void ParseScript();
    bool mScriptDamaged = false;
};

// The start conditions of an event page.
class TKelEventCondition : public TCatalogBaseItem {
public:
    enum : std::uint8_t {
        cfSwitchA = 1 << 0,
        cfSwitchB = 1 << 1,
        cfVariable = 1 << 2,
        cfItem = 1 << 3,
        cfHero = 1 << 4,
        cfTimer = 1 << 5,
    };

    std::uint8_t Flags = 0;
    std::int32_t SwitchAId = 1;
    std::int32_t SwitchBId = 1;
    std::int32_t VariableId = 1;
    std::int32_t VariableValue = 0;
    std::int32_t ItemId = 1;
    std::int32_t HeroId = 1;
    std::int32_t TimerSeconds = 0;

    TKelEventCondition() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 8; }
    void Reset() override;
};

// One page of a map event; its ID is the page number.
class TKelEventPageItem : public TKelBaseEventPageItem {
public:
    static constexpr int kClipboardFormat = 564;

    TKelEventCondition Condition;
    std::string GraphicName;
    std::int32_t GraphicIndex = 0;
    std::uint8_t GraphicDirection = 2;
    std::int32_t GraphicPattern = 1;
    std::uint8_t Transparent = 0;
    std::uint8_t MoveType = 0;
    std::int32_t MoveFrequency = 3;
    std::uint8_t Trigger = 0;
    std::uint8_t Priority = 0;
    std::uint8_t NoOverlap = 0;
    std::uint8_t AnimationType = 0;
    std::int32_t MoveSpeed = 3;
    TKelMoveRoute MoveRoute;

    TKelEventPageItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 52; }
    void Reset() override;
};

class TKelEventPage : public TKelList<TKelEventPageItem> {
public:
    TKelEventPage() : TKelList("Invalid Event Page Designed") {}
};

// The longest event name, in CP932 bytes.
inline constexpr std::size_t kEventNameMaxBytes = 20;

// One map event; its ID is the event ID on the map.
class TKelEventItem : public TCatalogItem {
public:
    std::int32_t X = 0;
    std::int32_t Y = 0;
    TKelEventPage Pages;

    TKelEventItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 5; }
    void Reset() override;
};

// The events of a map.
class TKelEvent : public TKelList<TKelEventItem> {
public:
    TKelEvent() : TKelList("An invalid event was specified") {}
};

// Clipboard block of one map event or start mark: a 32-bit little-endian byte count, then a
// variable-length tag, then (tag 0) the event record.
inline constexpr int kEventClipboardFormat = 563;
// Start marks carry the tag of their start position; an event carries 0.
inline constexpr std::int32_t kFirstStartMarkTag = 60001;
inline constexpr std::int32_t kLastStartMarkTag = 60004;

struct TEventClipboard {
    std::int32_t Tag = 0;
    std::unique_ptr<TKelEventItem> Event;  // tag 0 only
};

// `event` is written for tag 0 and ignored otherwise.
std::string EncodeEventClipboard(std::int32_t tag, TKelEventItem* event);
// Nothing when the block is damaged: a byte count past its end, a tag that names neither an
// event nor a start mark, or an event record that does not read whole; with `whole`, also when
// bytes follow the content within the counted payload.
std::optional<TEventClipboard> DecodeEventClipboard(std::string_view block, bool whole = false);

}  // namespace quillon
