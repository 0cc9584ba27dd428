#include "events/EventScript.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MonGroup.h"

#include <cstdio>
#include <vector>

namespace quillon {

namespace {

constexpr const char* kUnknown = "?";

// "%d".
std::string D(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

// value + 1 with 32-bit wrap-around.
std::int32_t Inc(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
}

template <class TList>
std::string NameIn(const TList* list, std::int32_t id) {
    if (list == nullptr)
        return kUnknown;
    const auto* item = list->FindByID(id);
    return item != nullptr ? item->Name : std::string(kUnknown);
}

}  // namespace

const char* TEventScriptConverter::EraseTransitionName(std::int32_t index) {
    static constexpr const char* kNames[] = {
        "Fade-Out      ",
        "Whole Random Blocks   ",
        "Random Blocks Up      ",
        "Random blocks Down    ",
        "Blind Close       ",
        "Hi-Low Stripe     ",
        "Left-Right Stripe ",
        "Outside-Inside",
        "Inside-Outside",
        "Scroll Up     ",
        "Scroll Down   ",
        "Scroll Left   ",
        "Scroll Right  ",
        "Hi-LowDiv\x84",
        "Lft-Rt Div",
        "HiLow,LfRt Div",
        "Zoom In   ",
        "Mosaic  ",
        "Roster Scroll   ",
        "Instant ",
        "Leave     ",
    };
    if (index == -1)
        return "CreatMovePlace";
    if (index < 0 || index >= static_cast<std::int32_t>(std::size(kNames)))
        return nullptr;
    return kNames[index];
}

const char* TEventScriptConverter::ShowTransitionName(std::int32_t index) {
    static constexpr const char* kNames[] = {
        "Fade-in     ",
        "Random Blocks Whole   ",
        "Random Blocks Up      ",
        "Random Blocks Down    ",
        "Blind Open        ",
        "Up-Down Stripe    ",
        "Left-Right Stripe ",
        "Outside-Center",
        "Center-Outside",
        "Scroll Down     ",
        "Scroll Up       ",
        "Scroll Right    ",
        "Empty LeftScroll",
        "VerticalComb",
        "HorisontComb",
        "Hi-Low ContrFrom",
        "Zoom Out    ",
        "Mosaic  ",
        "Roster Scroll   ",
        "Instant ",
    };
    if (index == -1)
        return "Set Move Place";
    if (index < 0 || index >= static_cast<std::int32_t>(std::size(kNames)))
        return nullptr;
    return kNames[index];
}

std::string TEventScriptConverter::SwitchName(std::int32_t id) const {
    const TKelSwitchItem* item = DataBase ? DataBase->Switch.FindByID(id) : nullptr;
    return item != nullptr ? FormatIdName(id, item->Name) : std::string(kUnknown);
}

std::string TEventScriptConverter::VariableName(std::int32_t id) const {
    const TKelVariableItem* item = DataBase ? DataBase->Variable.FindByID(id) : nullptr;
    return item != nullptr ? FormatIdName(id, item->Name) : std::string(kUnknown);
}

std::string TEventScriptConverter::HeroName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->Player : nullptr, id);
}
std::string TEventScriptConverter::SkillName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->Skill : nullptr, id);
}
std::string TEventScriptConverter::ItemName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->Item : nullptr, id);
}
std::string TEventScriptConverter::TroopName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->MonGroup : nullptr, id);
}
std::string TEventScriptConverter::ConditionName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->Status : nullptr, id);
}
std::string TEventScriptConverter::AnimationName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->Animation : nullptr, id);
}
std::string TEventScriptConverter::ChipSetName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->ChipSet : nullptr, id);
}
std::string TEventScriptConverter::CommonEventName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->CommonEvent : nullptr, id);
}
std::string TEventScriptConverter::MonsterName(std::int32_t id) const {
    return NameIn(DataBase ? &DataBase->Monster : nullptr, id);
}

std::string TEventScriptConverter::MapName(std::int32_t id) const {
    if (id <= 0)
        return kUnknown;
    return NameIn(MapTree, id);
}

std::string TEventScriptConverter::CharacterName(std::int32_t id) const {
    switch (id) {
    case 10001: return "Hero ";
    case 10002: return "Boat ";
    case 10003: return "Ship ";
    case 10004: return "Airship ";
    case 10005: return "This Event ";
    default: break;
    }
    if (EventItem != nullptr && id == EventId)
        return EventItem->Name;
    return NameIn(Map ? &Map->Events : nullptr, id);
}

std::string TEventScriptConverter::EnemyName(std::int32_t index) const {
    if (index < 0)
        return " Whole Group ";
    const std::string number = D(Inc(index)) + ":";
    if (MonsterGroup == nullptr || index >= MonsterGroup->Members.Count())
        return number + kUnknown;
    const TKelMonGroupMonsterItem* member = MonsterGroup->Members.Items(index);
    const TKelMonsterItem* monster =
        member != nullptr && DataBase != nullptr ? DataBase->Monster.FindByID(member->MonsterId) : nullptr;
    return monster != nullptr ? number + monster->Name : number + kUnknown;
}

std::string TEventScriptConverter::RenderLine(const TKelEventScriptLine& line) const {
    if (line.Indent > kMaxRenderedIndent)
        throw EScriptRenderError("indent out of range");
    std::string text;
    if (line.Indent > 0)
        text.assign(static_cast<std::size_t>(line.Indent) * 2, ' ');
    text += RenderCommand(line);
    return text;
}

std::string TEventScriptConverter::RenderSafely(const TKelEventScriptLine& line) const {
    try {
        return RenderLine(line);
    } catch (...) {
        return kCorruptScriptLineText;
    }
}

std::vector<std::string> RenderScript(const TEventScriptConverter& converter, const TKelEventScriptList& script) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(script.Count()));
    for (int i = 0; i < script.Count(); ++i)
        lines.push_back(converter.RenderSafely(*script.Lines(i)));
    return lines;
}

}  // namespace quillon
