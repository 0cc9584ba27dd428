// Renders event command lines as the text the command lists show, with database names looked
// up. All text is bytes in code page 932.
#pragma once

#include "data/LD_Event.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

class TKelDataBase;
class TKelMap;
class TKelMapTree;
class TKelMonGroupItem;

// The text of a line that cannot be rendered ("◆データが壊れています" in code page 932).
inline constexpr const char* kCorruptScriptLineText =
    "\x81\x9f\x83\x66\x81\x5b\x83\x5e\x82\xaa\x89\xf3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7";
// The text of a code outside the catalogue.
inline constexpr const char* kDoNothingText = "<>Do Nothing    ";
// Deepest indent that renders; a deeper one is taken for damage.
inline constexpr std::int32_t kMaxRenderedIndent = 1000;

// Raised by RenderLine for a line that cannot be rendered (a move route cut short, an absurd
// indent).
class EScriptRenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TEventScriptConverter {
public:
    // Context, set by the owner before rendering; each may be absent. Nothing is owned.
    std::int32_t EventId = 0;                     // 0 for common events and troop pages
    const TKelEventItem* EventItem = nullptr;     // the event being edited (its own name)
    const TKelMapTree* MapTree = nullptr;         // map names
    const TKelMap* Map = nullptr;                 // the map whose events are named
    const TKelMonGroupItem* MonsterGroup = nullptr;  // the troop whose members are named
    const TKelDataBase* DataBase = nullptr;       // every other name

    // The indentation (two blanks per level) and the command text. Raises EScriptRenderError
    // for a line that cannot be rendered.
    std::string RenderLine(const TKelEventScriptLine& line) const;
    // The same, or the corrupt-data text without indentation when the line cannot be rendered.
    // Never raises.
    std::string RenderSafely(const TKelEventScriptLine& line) const;
    // The command text alone, without indentation.
    std::string RenderCommand(const TKelEventScriptLine& line) const;

    // Look-ups; each yields "?" when the ID is not found or its list is absent, and never raises.
    std::string SwitchName(std::int32_t id) const;    // "%.4d:%s", "%.4d" when unnamed
    std::string VariableName(std::int32_t id) const;  // the same form
    std::string HeroName(std::int32_t id) const;
    std::string SkillName(std::int32_t id) const;
    std::string ItemName(std::int32_t id) const;
    std::string TroopName(std::int32_t id) const;
    std::string ConditionName(std::int32_t id) const;
    std::string AnimationName(std::int32_t id) const;
    std::string ChipSetName(std::int32_t id) const;
    std::string CommonEventName(std::int32_t id) const;
    std::string MonsterName(std::int32_t id) const;
    // The map tree item's name (maps and areas); "?" for IDs <= 0.
    std::string MapName(std::int32_t id) const;
    // 10001 "Hero " ... 10005 "This Event "; else an event of Map, the edited event by EventItem.
    std::string CharacterName(std::int32_t id) const;
    // Member i (0-based) of MonsterGroup: " Whole Group " for i < 0, "i+1:name", or "i+1:?".
    std::string EnemyName(std::int32_t index) const;

    // Transition names by index as stored; nullptr for an index without a name.
    static const char* EraseTransitionName(std::int32_t index);
    static const char* ShowTransitionName(std::int32_t index);
};

// Renders every line of a script safely, one string per line.
std::vector<std::string> RenderScript(const TEventScriptConverter& converter, const TKelEventScriptList& script);

}  // namespace quillon
