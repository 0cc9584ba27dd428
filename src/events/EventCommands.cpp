#include "events/EventCommands.h"

#include <algorithm>

namespace quillon {

namespace {

// The scripts a line belongs in.
enum class TCommandPages : std::uint8_t {
    Map,     // map events and common events only
    All,     // every script, troop battle pages included
    Battle,  // troop battle pages only
};

constexpr TCommandPages kMap = TCommandPages::Map;
constexpr TCommandPages kAll = TCommandPages::All;
constexpr TCommandPages kBattle = TCommandPages::Battle;
constexpr TCommandLines kOne = TCommandLines::One;
constexpr TCommandLines kBare = TCommandLines::Bare;
constexpr TCommandLines kText = TCommandLines::Text;
constexpr TCommandLines kBlock = TCommandLines::Block;

constexpr TPaletteSpot kNone{};
// A button of the three-tab palette; a button of the battle palette.
constexpr TPaletteSpot Ev(int tab, int row, int column) {
    return {static_cast<std::int8_t>(tab), static_cast<std::int8_t>(row), static_cast<std::int8_t>(column)};
}
constexpr TPaletteSpot Bt(int row, int column) { return Ev(0, row, column); }

// A command the user inserts.
constexpr TEventCommandInfo Cmd(std::int32_t code, const char* caption, const char* prefix, const char* button,
                                TPaletteSpot event, TPaletteSpot battle, TCommandLines lines, TCommandPages pages) {
    return {code,
            caption,
            prefix,
            button,
            event,
            battle,
            lines,
            pages == TCommandPages::Battle,
            pages != TCommandPages::Map,
            code >= 20000,
            true};
}

// A line no dialog makes directly: a companion line, the closing line or an empty body line.
constexpr TEventCommandInfo Line(std::int32_t code, const char* prefix, TCommandPages pages) {
    return {code,
            "",
            prefix,
            "",
            kNone,
            kNone,
            TCommandLines::One,
            pages == TCommandPages::Battle,
            pages != TCommandPages::Map,
            code >= 20000,
            false};
}

// Each palette's tabs are grids of two columns; Ev(tab, row, column) places a button on the
// three-tab palette, Bt(row, column) on the battle palette.
//  Cmd(code, dialog caption, list prefix, button caption, three-tab palette, battle palette,
//      lines, scripts)
// clang-format off
constexpr TEventCommandInfo kCatalogue[] = {
    Line(0, "<>", kMap),
    Line(10, "<>", kAll),
    Cmd(10110, "Afficher Message", "<>Message: ", " Show Message...", Ev(0, 0, 0), Bt(0, 0), kText, kAll),
    Line(20110, ":          :", kAll),
    Cmd(10120, "Options des messages", "<>Set Message Options: ", " Message Options...", Ev(0, 1, 0), kNone, kOne, kMap),
    Cmd(10130, "Create Face Graphic", "<>Select Face Graphic: ", " Select Face...", Ev(0, 2, 0), Bt(1, 0), kOne, kAll),
    Cmd(10140, "Show Choices", "<>Show Choice:", " Show Choice...", Ev(0, 3, 0), Bt(2, 0), kBlock, kAll),
    Line(20140, ":[%s] Case", kAll),
    Line(20141, ":End Case", kAll),
    Cmd(10150, "Input Number", "<>Input Number: Digi", " Input Number...", Ev(0, 4, 0), Bt(3, 0), kOne, kAll),
    Cmd(10210, "Switch Management", "<>Change Switch: ", " Change Switch...", Ev(0, 5, 0), Bt(4, 0), kOne, kAll),
    Cmd(10220, "Variable Management", "<>Change Variable: ", " Change Variable...", Ev(0, 6, 0), Bt(5, 0), kOne, kAll),
    Cmd(10230, "Timer Management", "<>Timer Operation: ", " Timer Operation...", Ev(0, 7, 0), kNone, kOne, kMap),
    Cmd(10310, "Change Money Amount", "<>Change Money: ", " Change Money...", Ev(0, 8, 0), kNone, kOne, kMap),
    Cmd(10320, "Change Item Amount", "<>Add/Drop Items: (", " Add Item...", Ev(0, 9, 0), Bt(6, 0), kOne, kAll),
    Cmd(10330, "Change Party", "<>Change Hero's Party: (", " Change Party...", Ev(0, 10, 0), Bt(7, 0), kOne, kAll),
    Cmd(10410, "Change EXP", "<>Change EXP: ", " Change EXP...", Ev(0, 11, 0), kNone, kOne, kMap),
    Cmd(10420, "Change Level", "<>Change Level: ", " Change Level...", Ev(0, 12, 0), kNone, kOne, kMap),
    Cmd(10430, "Change Ability", "<>Change Ability: (", " Change Ability...", Ev(0, 13, 0), kNone, kOne, kMap),
    Cmd(10440, "Change Skills", "<>Change Skill: (", " Change Skill...", Ev(0, 14, 0), Bt(8, 0), kOne, kAll),
    Cmd(10450, "Change Equipment", "<>Equipment: ", " Change Equipment...", Ev(0, 0, 1), Bt(9, 0), kOne, kAll),
    Cmd(10460, "Change HP", "<>Change HP: ", " Change HP...", Ev(0, 1, 1), Bt(10, 0), kOne, kAll),
    Cmd(10470, "Change MP", "<>Change MP: ", " Change MP...", Ev(0, 2, 1), Bt(11, 0), kOne, kAll),
    Cmd(10480, "Change Condition", "<>Condition: (", " Change Condition...", Ev(0, 3, 1), Bt(12, 0), kOne, kAll),
    Cmd(10490, "Full Recovery", "<>Full Recovery:", " Full Recovery...", Ev(0, 4, 1), Bt(13, 0), kOne, kAll),
    Cmd(10500, "Take Damage", "<>Take Damage: ", " Take Damage...", Ev(0, 5, 1), kNone, kOne, kMap),
    Cmd(10610, "Change Hero Name", "<>Change Hero Name: ", " Change Hero Name...", Ev(0, 6, 1), kNone, kOne, kMap),
    Cmd(10620, "Change Hero Degree", "<>Change Hero Degree: ", " Change Hero Degree...", Ev(0, 7, 1), kNone, kOne, kMap),
    Cmd(10630, "Change Hero Walking GFX", "<>Change Hero Walk Graphic: (", " Change Hero Graphic...", Ev(0, 8, 1), kNone, kOne, kMap),
    Cmd(10640, "Change Hero Face", "<>Change Hero Face Graphic: (", " Change Face Graphic...", Ev(0, 9, 1), kNone, kOne, kMap),
    Cmd(10650, "Change Vehicle Graphic", "<>Change Vehicle Graphic: (", " Change Vehicle Graphic...", Ev(0, 10, 1), kNone, kOne, kMap),
    Cmd(10660, "Change BGM", "<>Change System Music: (", " Change System BGM...", Ev(0, 11, 1), kNone, kOne, kMap),
    Cmd(10670, "Change Sound Effect", "<>Change System Sound: (", " Change System SE...", Ev(0, 12, 1), kNone, kOne, kMap),
    Cmd(10680, "Change System Graphics", "<>Change System Graphic: ", " Change System Graphic...", Ev(0, 13, 1), kNone, kOne, kMap),
    Cmd(10690, "Change Screen Transition", "<>Change Screen Transition: ", " Change Screen Transition...", Ev(0, 14, 1), kNone, kOne, kMap),
    Cmd(10710, "Start Battle", "<>Start Battle: ", " Start Battle...", Ev(1, 0, 0), kNone, kBlock, kMap),
    Line(20710, ":Victory Case", kMap),
    Line(20711, ":Escape Case", kMap),
    Line(20712, ":Defeat Case", kMap),
    Line(20713, ":End Case", kMap),
    Cmd(10720, "Call Shop", "<>Call Shop: ", " Call Shop...", Ev(1, 1, 0), kNone, kBlock, kMap),
    Line(20720, ":Successful Case", kMap),
    Line(20721, ":Unsuccessful Case", kMap),
    Line(20722, ":End Case", kMap),
    Cmd(10730, "Call Inn", "<>Call Inn: ", " Call Inn...", Ev(1, 2, 0), kNone, kBlock, kMap),
    Line(20730, ":Rest Case", kMap),
    Line(20731, ":Cancel Case", kMap),
    Line(20732, ":End Case", kMap),
    Cmd(10740, "Enter Hero Name", "<>Enter Hero Name: ", " Enter Hero Name...", Ev(1, 3, 0), kNone, kOne, kMap),
    Cmd(10810, "Teleport to a Place", "<>Teleport: ", " Teleport...", Ev(1, 4, 0), kNone, kOne, kMap),
    Cmd(10820, "Memorize this Place", "<>Memorize Place:Map", " Memorize Place...", Ev(1, 5, 0), kNone, kOne, kMap),
    Cmd(10830, "Teleport to Memorized Place", "<>Goto Memorized Place: ", " Go to Memorized Place...", Ev(1, 6, 0), kNone, kOne, kMap),
    Cmd(10840, "Ride Vehicle", "<>Ride Vehicle", " Ride Vehicle", Ev(1, 7, 0), kNone, kBare, kMap),
    Cmd(10850, "Placement of Vehicle", "<>Teleport Vehicle: ", " Set Vehicle Place...", Ev(1, 8, 0), kNone, kOne, kMap),
    Cmd(10860, "Place of Event", "<>Teleport Event: ", " Set Event Place...", Ev(1, 9, 0), kNone, kOne, kMap),
    Cmd(10870, "Exchange Event Places", "<>Swap Events: ", " Swap Events...", Ev(1, 10, 0), kNone, kOne, kMap),
    Cmd(10910, "Get Terrain ID", "<>Get Terrain ID: ", " Get Terrain ID...", Ev(1, 11, 0), kNone, kOne, kMap),
    Cmd(10920, "Get Event ID", "<>Get Event ID: ", " Get Event ID...", Ev(1, 12, 0), kNone, kOne, kMap),
    Cmd(11010, "Screen Erase", "<>Erase Screen: ", " Erase Screen...", Ev(1, 13, 0), kNone, kOne, kMap),
    Cmd(11020, "Screen Display", "<>Show Screen: ", " Show Screen...", Ev(1, 14, 0), kNone, kOne, kMap),
    Cmd(11030, "Set Screen Color Tone", "<>Set Screen Tone: ", " Set Screen Tone...", Ev(1, 0, 1), Bt(3, 1), kOne, kAll),
    Cmd(11040, "Screen Flash", "<>Flash Screen: ", " Flash Screen...", Ev(1, 1, 1), Bt(4, 1), kOne, kAll),
    Cmd(11050, "Shake Screen", "<>Shake Screen: Power: ", " Shake Screen...", Ev(1, 2, 1), Bt(5, 1), kOne, kAll),
    Cmd(11060, "Pan Screen", "<>Pan Screen: ", " Pan Screen...", Ev(1, 3, 1), kNone, kOne, kMap),
    Cmd(11070, "Weather Screen Effects", "<>Call Weather Effect: ", " Weather Effects...", Ev(1, 4, 1), kNone, kOne, kMap),
    Cmd(11110, "Show Picture", "<>Show Picture: ID:", " Show Picture...", Ev(1, 5, 1), kNone, kOne, kMap),
    Cmd(11120, "Move Picture", "<>Move Picture: ID:", " Move Picture...", Ev(1, 6, 1), kNone, kOne, kMap),
    Cmd(11130, "Erase Pic", "<>Erase Picture: ID:", " Erase Picture...", Ev(1, 7, 1), kNone, kOne, kMap),
    Cmd(11210, "Show Battle Animation", "<>Show Battle Animation:", " Show Battle Animation...", Ev(1, 8, 1), kNone, kOne, kMap),
    Cmd(11310, "Change Hero Transparency", "<>Set Hero's Translucency: ", " Hero Translucency...", Ev(1, 9, 1), kNone, kOne, kMap),
    Cmd(11320, "Flash Character", "<>Flash Event: ", " Flash Event...", Ev(1, 10, 1), kNone, kOne, kMap),
    Cmd(11330, "Move Character", "<>Move  Event: ", " Move Event...", Ev(1, 11, 1), kNone, kOne, kMap),
    Cmd(11340, "Wait Until Moved", "<>Wait Until Moved", " Wait Until Moved", Ev(1, 12, 1), kNone, kBare, kMap),
    Cmd(11350, "Stop All Movement", "<>Stop All Movement", " Stop All Movement", Ev(1, 13, 1), kNone, kBare, kMap),
    Cmd(11410, "Wait", "<>Wait: ", " Wait...", Ev(1, 14, 1), Bt(7, 1), kOne, kAll),
    Cmd(11510, "Play BGM", "<>Play BGM: ", " Play BGM...", Ev(2, 0, 0), Bt(8, 1), kOne, kAll),
    Cmd(11520, "Fade BGM Out", "<>Fade-Out BGM: ", " Fade-Out BGM...", Ev(2, 1, 0), Bt(9, 1), kOne, kAll),
    Cmd(11530, "Memorize BGM", "<>Memorize BGM", " Memorize BGM", Ev(2, 2, 0), kNone, kBare, kMap),
    Cmd(11540, "Play Memorized BGM", "<>Play Memorized BGM", " Play Memorized BGM", Ev(2, 3, 0), kNone, kBare, kMap),
    Cmd(11550, "Play Sound Effect", "<>Play Sound Effect: ", " Play Sound Effect...", Ev(2, 4, 0), Bt(10, 1), kOne, kAll),
    Cmd(11560, "Play Movie", "<>Play Movie: ", " Play Movie...", Ev(2, 5, 0), kNone, kOne, kMap),
    Cmd(11610, "Enter Password", "<>Enter Password: ", " Key Input...", Ev(2, 6, 0), kNone, kOne, kMap),
    Cmd(11710, "Change ChipSet", "<>Change ChipSet: ", " Change Chipset...", Ev(2, 7, 0), kNone, kOne, kMap),
    Cmd(11720, "Change Parallax Background", "<>ChangeParalx: ", " Change Parallax BG...", Ev(2, 8, 0), kNone, kOne, kMap),
    Cmd(11740, "Change Enemy Encounter", "<>Encounter Rate: ", " Encounter Rate...", Ev(2, 9, 0), kNone, kOne, kMap),
    Cmd(11750, "Change Chip", "<>Change Chip: ", " Change Chip...", Ev(2, 10, 0), kNone, kOne, kMap),
    Cmd(11810, "Place of Teleport", "<>Teleport Place: ", " Teleport Place...", Ev(2, 11, 0), kNone, kOne, kMap),
    Cmd(11820, "Disable Teleport", "<>Teleporting: ", " Disable Teleport...", Ev(2, 12, 0), kNone, kOne, kMap),
    Cmd(11830, "Place Escape Area", "<>Escape Place:     ", " Escape Place...", Ev(2, 13, 0), kNone, kOne, kMap),
    Cmd(11840, "Enable/Disable Escape", "<>Escaping: ", " Disable Escape...", Ev(2, 14, 0), kNone, kOne, kMap),
    Cmd(11910, "Call Save Menu", "<>Call Save Menu", " Call Save Menu", Ev(2, 0, 1), kNone, kBare, kMap),
    Cmd(11930, "Enable/Disable Save", "<>Saving: ", " Disable Save...", Ev(2, 1, 1), kNone, kOne, kMap),
    Cmd(11950, "Call Menu", "<>Call System Menu", " Call System Menu", Ev(2, 2, 1), kNone, kBare, kMap),
    Cmd(11960, "Disable Menu", "<>Disable System Menu ", " Disable System Menu...", Ev(2, 3, 1), kNone, kOne, kMap),
    Cmd(12010, "Fork Conditions", "<>If ", " Fork Conditions...", Ev(2, 4, 1), kNone, kBlock, kMap),
    Line(22010, ":Else Case", kMap),
    Line(22011, ":End Case", kMap),
    Cmd(12110, "Create Label", "<>Label ", " Label...", Ev(2, 5, 1), kNone, kOne, kMap),
    Cmd(12120, "Choose Label to Jump", "<>Goto Label ", " Go to Label...", Ev(2, 6, 1), kNone, kOne, kMap),
    Cmd(12210, "Start Cycle", "<>Loop", " Loop", Ev(2, 7, 1), kNone, kBlock, kMap),
    Line(22210, ":End Loop", kMap),
    Cmd(12220, "Break Cycle", "<>Break", " Break Loop", Ev(2, 8, 1), kNone, kBare, kMap),
    Cmd(12310, "Stop Parallel Events", "<>Stop Parallel Events", " Stop Parallel Events", Ev(2, 9, 1), Bt(12, 1), kBare, kAll),
    Cmd(12320, "Delete Event", "<>Delete Event", " Delete Event", Ev(2, 10, 1), kNone, kBare, kMap),
    Cmd(12330, "Call Event", "<>Call Event: ", " Call Event...", Ev(2, 11, 1), kNone, kOne, kMap),
    Cmd(12410, "Comment", "<>Note: ", " Comment...", Ev(2, 12, 1), Bt(13, 1), kText, kAll),
    Line(22410, ":          :", kAll),
    Cmd(12420, "Game Over", "<>Game Over", " Game Over", Ev(2, 13, 1), Bt(14, 1), kBare, kAll),
    Cmd(12510, "Load Title Screen", "<>Goto Title Screen", " Go to Title Screen", Ev(2, 14, 1), kNone, kBare, kMap),
    Cmd(13110, "Change Enemy HP", "<>Change Enemy's HP:  ", " Change Enemy HP", kNone, Bt(14, 0), kOne, kBattle),
    Cmd(13120, "Change Enemy MP", "<>Change Enemy's MP:  ", " Change Enemy MP", kNone, Bt(15, 0), kOne, kBattle),
    Cmd(13130, "Change Enemy Condition", "<>Set Enemy's Condition:", " Change Enemy Condition...", kNone, Bt(0, 1), kOne, kBattle),
    Cmd(13150, "Change Enemy Appearance", "<>Enemy Appears:  ", " Enemy Encounter...", kNone, Bt(1, 1), kOne, kBattle),
    Cmd(13210, "Change Battle Background", "<>Change Battl.BG:", " Change Battle BG...", kNone, Bt(2, 1), kOne, kBattle),
    Cmd(13260, "Show Battle Animation", "<>Show Battle Animation:", " Show Battle Animation...", kNone, Bt(6, 1), kOne, kBattle),
    Cmd(13310, "Fork Conditions", "<>If ", " Fork Conditions...", kNone, Bt(11, 1), kBlock, kBattle),
    Line(23310, ":Else Case", kBattle),
    Line(23311, ":End Case", kBattle),
    Cmd(13410, "Interrupt Battle", "<>Stop Battle", " Stop Battle", kNone, Bt(15, 1), kBare, kBattle),
};
// clang-format on

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

std::int32_t OpenerOf(std::int32_t code) {
    return IsCompanionCode(code) ? (code - 10000) / 10 * 10 : 0;
}

bool BelongsOnBattlePage(std::int32_t code) {
    const TEventCommandInfo* info = FindEventCommand(code);
    return info != nullptr && info->OnBattlePage;
}

bool IsCompanionCode(std::int32_t code) {
    const TEventCommandInfo* info = FindEventCommand(code);
    return info != nullptr && info->Companion;
}

}  // namespace quillon
