#include "events/EventCommands.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

constexpr TEventCommandInfo Cmd(std::int32_t code, const char* caption, const char* prefix) {
    const bool battle = (code >= 13000 && code < 14000) || code == 23310 || code == 23311;
    const bool companion = code >= 20000;
    const bool dialog = caption[0] != '\0';
    return {code, caption, prefix, battle, companion, dialog};
}

constexpr TEventCommandInfo kCatalogue[] = {
    Cmd(0, "", "<>"),
    Cmd(10, "", "<>"),
    Cmd(10110, "Afficher Message", "<>Message: "),
    Cmd(20110, "", ":          :"),
    Cmd(10120, "Options des messages", "<>Set Message Options: "),
    Cmd(10130, "Create Face Graphic", "<>Select Face Graphic: "),
    Cmd(10140, "Show Choices", "<>Show Choice:"),
    Cmd(20140, "", ":[%s] Case"),
    Cmd(20141, "", ":End Case"),
    Cmd(10150, "Input Number", "<>Input Number: Digi"),
    Cmd(10210, "Switch Management", "<>Change Switch: "),
    Cmd(10220, "Variable Management", "<>Change Variable: "),
    Cmd(10230, "Timer Management", "<>Timer Operation: "),
    Cmd(10310, "Change Money Amount", "<>Change Money: "),
    Cmd(10320, "Change Item Amount", "<>Add/Drop Items: ("),
    Cmd(10330, "Change Party", "<>Change Hero's Party: ("),
    Cmd(10410, "Change EXP", "<>Change EXP: "),
    Cmd(10420, "Change Level", "<>Change Level: "),
    Cmd(10430, "Change Ability", "<>Change Ability: ("),
    Cmd(10440, "Change Skills", "<>Change Skill: ("),
    Cmd(10450, "Change Equipment", "<>Equipment: "),
    Cmd(10460, "Change HP", "<>Change HP: "),
    Cmd(10470, "Change MP", "<>Change MP: "),
    Cmd(10480, "Change Condition", "<>Condition: ("),
    Cmd(10490, "Full Recovery", "<>Full Recovery:"),
    Cmd(10500, "Take Damage", "<>Take Damage: "),
    Cmd(10610, "Change Hero Name", "<>Change Hero Name: "),
    Cmd(10620, "Change Hero Degree", "<>Change Hero Degree: "),
    Cmd(10630, "Change Hero Walking GFX", "<>Change Hero Walk Graphic: ("),
    Cmd(10640, "Change Hero Face", "<>Change Hero Face Graphic: ("),
    Cmd(10650, "Change Vehicle Graphic", "<>Change Vehicle Graphic: ("),
    Cmd(10660, "Change BGM", "<>Change System Music: ("),
    Cmd(10670, "Change Sound Effect", "<>Change System Sound: ("),
    Cmd(10680, "Change System Graphics", "<>Change System Graphic: "),
    Cmd(10690, "Change Screen Transition", "<>Change Screen Transition: "),
    Cmd(10710, "Start Battle", "<>Start Battle: "),
    Cmd(20710, "", ":Victory Case"),
    Cmd(20711, "", ":Escape Case"),
    Cmd(20712, "", ":Defeat Case"),
    Cmd(20713, "", ":End Case"),
    Cmd(10720, "Call Shop", "<>Call Shop: "),
    Cmd(20720, "", ":Successful Case"),
    Cmd(20721, "", ":Unsuccessful Case"),
    Cmd(20722, "", ":End Case"),
    Cmd(10730, "Call Inn", "<>Call Inn: "),
    Cmd(20730, "", ":Rest Case"),
    Cmd(20731, "", ":Cancel Case"),
    Cmd(20732, "", ":End Case"),
    Cmd(10740, "Enter Hero Name", "<>Enter Hero Name: "),
    Cmd(10810, "Teleport to a Place", "<>Teleport: "),
    Cmd(10820, "Memorize this Place", "<>Memorize Place:Map"),
    Cmd(10830, "Teleport to Memorized Place", "<>Goto Memorized Place: "),
    Cmd(10840, "Ride Vehicle", "<>Ride Vehicle"),
    Cmd(10850, "Placement of Vehicle", "<>Teleport Vehicle: "),
    Cmd(10860, "Place of Event", "<>Teleport Event: "),
    Cmd(10870, "Exchange Event Places", "<>Swap Events: "),
    Cmd(10910, "Get Terrain ID", "<>Get Terrain ID: "),
    Cmd(10920, "Get Event ID", "<>Get Event ID: "),
    Cmd(11010, "Screen Erase", "<>Erase Screen: "),
    Cmd(11020, "Screen Display", "<>Show Screen: "),
    Cmd(11030, "Set Screen Color Tone", "<>Set Screen Tone: "),
    Cmd(11040, "Screen Flash", "<>Flash Screen: "),
    Cmd(11050, "Shake Screen", "<>Shake Screen: Power: "),
    Cmd(11060, "Pan Screen", "<>Pan Screen: "),
    Cmd(11070, "Weather Screen Effects", "<>Call Weather Effect: "),
    Cmd(11110, "Show Picture", "<>Show Picture: ID:"),
    Cmd(11120, "Move Picture", "<>Move Picture: ID:"),
    Cmd(11130, "Erase Pic", "<>Erase Picture: ID:"),
    Cmd(11210, "Show Battle Animation", "<>Show Battle Animation:"),
    Cmd(11310, "Change Hero Transparency", "<>Set Hero's Translucency: "),
    Cmd(11320, "Flash Character", "<>Flash Event: "),
    Cmd(11330, "Move Character", "<>Move  Event: "),
    Cmd(11340, "Wait Until Moved", "<>Wait Until Moved"),
    Cmd(11350, "Stop All Movement", "<>Stop All Movement"),
    Cmd(11410, "Wait", "<>Wait: "),
    Cmd(11510, "Play BGM", "<>Play BGM: "),
    Cmd(11520, "Fade BGM Out", "<>Fade-Out BGM: "),
    Cmd(11530, "Memorize BGM", "<>Memorize BGM"),
    Cmd(11540, "Play Memorized BGM", "<>Play Memorized BGM"),
    Cmd(11550, "Play Sound Effect", "<>Play Sound Effect: "),
    Cmd(11560, "Play Movie", "<>Play Movie: "),
    Cmd(11610, "Enter Password", "<>Enter Password: "),
    Cmd(11710, "Change ChipSet", "<>Change ChipSet: "),
    Cmd(11720, "Change Parallax Background", "<>ChangeParalx: "),
    Cmd(11740, "Change Enemy Encounter", "<>Encounter Rate: "),
    Cmd(11750, "Change Chip", "<>Change Chip: "),
    Cmd(11810, "Place of Teleport", "<>Teleport Place: "),
    Cmd(11820, "Disable Teleport", "<>Teleporting: "),
    Cmd(11830, "Place Escape Area", "<>Escape Place:     "),
    Cmd(11840, "Enable/Disable Escape", "<>Escaping: "),
    Cmd(11910, "Call Save Menu", "<>Call Save Menu"),
    Cmd(11930, "Enable/Disable Save", "<>Saving: "),
    Cmd(11950, "Call Menu", "<>Call System Menu"),
    Cmd(11960, "Disable Menu", "<>Disable System Menu "),
    Cmd(12010, "Fork Conditions", "<>If "),
    Cmd(22010, "", ":Else Case"),
    Cmd(22011, "", ":End Case"),
    Cmd(12110, "Create Label", "<>Label "),
    Cmd(12120, "Choose Label to Jump", "<>Goto Label "),
    Cmd(12210, "Start Cycle", "<>Loop"),
    Cmd(22210, "", ":End Loop"),
    Cmd(12220, "Break Cycle", "<>Break"),
    Cmd(12310, "Stop Parallel Events", "<>Stop Parallel Events"),
    Cmd(12320, "Delete Event", "<>Delete Event"),
    Cmd(12330, "Call Event", "<>Call Event: "),
    Cmd(12410, "Comment", "<>Note: "),
    Cmd(22410, "", ":          :"),
    Cmd(12420, "Game Over", "<>Game Over"),
    Cmd(12510, "Load Title Screen", "<>Goto Title Screen"),
    Cmd(13110, "Change Enemy HP", "<>Change Enemy's HP:  "),
    Cmd(13120, "Change Enemy MP", "<>Change Enemy's MP:  "),
    Cmd(13130, "Change Enemy Condition", "<>Set Enemy's Condition:"),
    Cmd(13150, "Change Enemy Appearance", "<>Enemy Appears:  "),
    Cmd(13210, "Change Battle Background", "<>Change Battl.BG:"),
    Cmd(13260, "Show Battle Animation", "<>Show Battle Animation:"),
    Cmd(13310, "Fork Conditions", "<>If "),
    Cmd(23310, "", ":Else Case"),
    Cmd(23311, "", ":End Case"),
    Cmd(13410, "Interrupt Battle", "<>Stop Battle"),
};

std::vector<std::int32_t> CodesWhere(bool (*keep)(const TEventCommandInfo&)) {
    std::vector<std::int32_t> codes;
    for (const TEventCommandInfo& info : kCatalogue)
        if (keep(info))
            codes.push_back(info.Code);
    return codes;
}

}  // namespace

std::span<const TEventCommandInfo> EventCommandCatalogue() { return kCatalogue; }

const TEventCommandInfo* FindEventCommand(std::int32_t code) {
    const auto it = std::find_if(std::begin(kCatalogue), std::end(kCatalogue),
                                 [code](const TEventCommandInfo& info) { return info.Code == code; });
    return it == std::end(kCatalogue) ? nullptr : &*it;
}

std::vector<std::int32_t> DialogCommandCodes() {
    return CodesWhere([](const TEventCommandInfo& info) { return info.HasDialog; });
}

std::vector<std::int32_t> NonBattleCommandCodes() {
    return CodesWhere([](const TEventCommandInfo& info) { return info.HasDialog && !info.Battle; });
}

std::vector<std::int32_t> BattleCommandCodes() {
    return CodesWhere([](const TEventCommandInfo& info) { return info.HasDialog && info.Battle; });
}

bool IsCompanionCode(std::int32_t code) {
    const TEventCommandInfo* info = FindEventCommand(code);
    return info != nullptr && info->Companion;
}

}  // namespace quillon
