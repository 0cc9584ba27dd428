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
constexpr TEventCommandInfo Cmd(TCommandCode code, const char* caption, const char* prefix, const char* button,
                                TPaletteSpot event, TPaletteSpot battle, TCommandLines lines, TCommandPages pages) {
    return {ToInt(code),
            caption,
            prefix,
            button,
            event,
            battle,
            lines,
            pages == TCommandPages::Battle,
            pages != TCommandPages::Map,
            ToInt(code) >= 20000,
            true};
}

// A line no dialog makes directly: a companion line, the closing line or an empty body line.
constexpr TEventCommandInfo Line(TCommandCode code, const char* prefix, TCommandPages pages) {
    return {ToInt(code),
            "",
            prefix,
            "",
            kNone,
            kNone,
            TCommandLines::One,
            pages == TCommandPages::Battle,
            pages != TCommandPages::Map,
            ToInt(code) >= 20000,
            false};
}

// Each palette's tabs are grids of two columns; Ev(tab, row, column) places a button on the
// three-tab palette, Bt(row, column) on the battle palette.
//  Cmd(code, dialog caption, list prefix, button caption, three-tab palette, battle palette,
//      lines, scripts)
using enum TCommandCode;

// clang-format off
constexpr TEventCommandInfo kCatalogue[] = {
    Line(End, "<>", kMap),
    Line(Empty, "<>", kAll),
    Cmd(ShowMessage, "Afficher Message", "<>Message: ", " Show Message...", Ev(0, 0, 0), Bt(0, 0), kText, kAll),
    Line(MessageLine, ":          :", kAll),
    Cmd(MessageOptions, "Options des messages", "<>Set Message Options: ", " Message Options...", Ev(0, 1, 0), kNone, kOne, kMap),
    Cmd(SelectFaceGraphic, "Create Face Graphic", "<>Select Face Graphic: ", " Select Face...", Ev(0, 2, 0), Bt(1, 0), kOne, kAll),
    Cmd(ShowChoices, "Show Choices", "<>Show Choice:", " Show Choice...", Ev(0, 3, 0), Bt(2, 0), kBlock, kAll),
    Line(ChoiceCase, ":[%s] Case", kAll),
    Line(ChoiceEnd, ":End Case", kAll),
    Cmd(InputNumber, "Input Number", "<>Input Number: Digi", " Input Number...", Ev(0, 4, 0), Bt(3, 0), kOne, kAll),
    Cmd(ChangeSwitch, "Switch Management", "<>Change Switch: ", " Change Switch...", Ev(0, 5, 0), Bt(4, 0), kOne, kAll),
    Cmd(ChangeVariable, "Variable Management", "<>Change Variable: ", " Change Variable...", Ev(0, 6, 0), Bt(5, 0), kOne, kAll),
    Cmd(TimerOperation, "Timer Management", "<>Timer Operation: ", " Timer Operation...", Ev(0, 7, 0), kNone, kOne, kMap),
    Cmd(ChangeMoney, "Change Money Amount", "<>Change Money: ", " Change Money...", Ev(0, 8, 0), kNone, kOne, kMap),
    Cmd(ChangeItemAmount, "Change Item Amount", "<>Add/Drop Items: (", " Add Item...", Ev(0, 9, 0), Bt(6, 0), kOne, kAll),
    Cmd(ChangeParty, "Change Party", "<>Change Hero's Party: (", " Change Party...", Ev(0, 10, 0), Bt(7, 0), kOne, kAll),
    Cmd(ChangeExp, "Change EXP", "<>Change EXP: ", " Change EXP...", Ev(0, 11, 0), kNone, kOne, kMap),
    Cmd(ChangeLevel, "Change Level", "<>Change Level: ", " Change Level...", Ev(0, 12, 0), kNone, kOne, kMap),
    Cmd(ChangeAbility, "Change Ability", "<>Change Ability: (", " Change Ability...", Ev(0, 13, 0), kNone, kOne, kMap),
    Cmd(ChangeSkills, "Change Skills", "<>Change Skill: (", " Change Skill...", Ev(0, 14, 0), Bt(8, 0), kOne, kAll),
    Cmd(ChangeEquipment, "Change Equipment", "<>Equipment: ", " Change Equipment...", Ev(0, 0, 1), Bt(9, 0), kOne, kAll),
    Cmd(ChangeHp, "Change HP", "<>Change HP: ", " Change HP...", Ev(0, 1, 1), Bt(10, 0), kOne, kAll),
    Cmd(ChangeMp, "Change MP", "<>Change MP: ", " Change MP...", Ev(0, 2, 1), Bt(11, 0), kOne, kAll),
    Cmd(ChangeCondition, "Change Condition", "<>Condition: (", " Change Condition...", Ev(0, 3, 1), Bt(12, 0), kOne, kAll),
    Cmd(FullRecovery, "Full Recovery", "<>Full Recovery:", " Full Recovery...", Ev(0, 4, 1), Bt(13, 0), kOne, kAll),
    Cmd(TakeDamage, "Take Damage", "<>Take Damage: ", " Take Damage...", Ev(0, 5, 1), kNone, kOne, kMap),
    Cmd(ChangeHeroName, "Change Hero Name", "<>Change Hero Name: ", " Change Hero Name...", Ev(0, 6, 1), kNone, kOne, kMap),
    Cmd(ChangeHeroDegree, "Change Hero Degree", "<>Change Hero Degree: ", " Change Hero Degree...", Ev(0, 7, 1), kNone, kOne, kMap),
    Cmd(ChangeHeroWalkGraphic, "Change Hero Walking GFX", "<>Change Hero Walk Graphic: (", " Change Hero Graphic...", Ev(0, 8, 1), kNone, kOne, kMap),
    Cmd(ChangeHeroFaceGraphic, "Change Hero Face", "<>Change Hero Face Graphic: (", " Change Face Graphic...", Ev(0, 9, 1), kNone, kOne, kMap),
    Cmd(ChangeVehicleGraphic, "Change Vehicle Graphic", "<>Change Vehicle Graphic: (", " Change Vehicle Graphic...", Ev(0, 10, 1), kNone, kOne, kMap),
    Cmd(ChangeSystemMusic, "Change BGM", "<>Change System Music: (", " Change System BGM...", Ev(0, 11, 1), kNone, kOne, kMap),
    Cmd(ChangeSystemSound, "Change Sound Effect", "<>Change System Sound: (", " Change System SE...", Ev(0, 12, 1), kNone, kOne, kMap),
    Cmd(ChangeSystemGraphic, "Change System Graphics", "<>Change System Graphic: ", " Change System Graphic...", Ev(0, 13, 1), kNone, kOne, kMap),
    Cmd(ChangeScreenTransition, "Change Screen Transition", "<>Change Screen Transition: ", " Change Screen Transition...", Ev(0, 14, 1), kNone, kOne, kMap),
    Cmd(StartBattle, "Start Battle", "<>Start Battle: ", " Start Battle...", Ev(1, 0, 0), kNone, kBlock, kMap),
    Line(BattleVictory, ":Victory Case", kMap),
    Line(BattleEscape, ":Escape Case", kMap),
    Line(BattleDefeat, ":Defeat Case", kMap),
    Line(BattleEnd, ":End Case", kMap),
    Cmd(CallShop, "Call Shop", "<>Call Shop: ", " Call Shop...", Ev(1, 1, 0), kNone, kBlock, kMap),
    Line(ShopSuccess, ":Successful Case", kMap),
    Line(ShopFailure, ":Unsuccessful Case", kMap),
    Line(ShopEnd, ":End Case", kMap),
    Cmd(CallInn, "Call Inn", "<>Call Inn: ", " Call Inn...", Ev(1, 2, 0), kNone, kBlock, kMap),
    Line(InnRest, ":Rest Case", kMap),
    Line(InnCancel, ":Cancel Case", kMap),
    Line(InnEnd, ":End Case", kMap),
    Cmd(EnterHeroName, "Enter Hero Name", "<>Enter Hero Name: ", " Enter Hero Name...", Ev(1, 3, 0), kNone, kOne, kMap),
    Cmd(Teleport, "Teleport to a Place", "<>Teleport: ", " Teleport...", Ev(1, 4, 0), kNone, kOne, kMap),
    Cmd(MemorizePlace, "Memorize this Place", "<>Memorize Place:Map", " Memorize Place...", Ev(1, 5, 0), kNone, kOne, kMap),
    Cmd(GoToMemorizedPlace, "Teleport to Memorized Place", "<>Goto Memorized Place: ", " Go to Memorized Place...", Ev(1, 6, 0), kNone, kOne, kMap),
    Cmd(RideVehicle, "Ride Vehicle", "<>Ride Vehicle", " Ride Vehicle", Ev(1, 7, 0), kNone, kBare, kMap),
    Cmd(SetVehiclePlace, "Placement of Vehicle", "<>Teleport Vehicle: ", " Set Vehicle Place...", Ev(1, 8, 0), kNone, kOne, kMap),
    Cmd(SetEventPlace, "Place of Event", "<>Teleport Event: ", " Set Event Place...", Ev(1, 9, 0), kNone, kOne, kMap),
    Cmd(SwapEvents, "Exchange Event Places", "<>Swap Events: ", " Swap Events...", Ev(1, 10, 0), kNone, kOne, kMap),
    Cmd(GetTerrainId, "Get Terrain ID", "<>Get Terrain ID: ", " Get Terrain ID...", Ev(1, 11, 0), kNone, kOne, kMap),
    Cmd(GetEventId, "Get Event ID", "<>Get Event ID: ", " Get Event ID...", Ev(1, 12, 0), kNone, kOne, kMap),
    Cmd(EraseScreen, "Screen Erase", "<>Erase Screen: ", " Erase Screen...", Ev(1, 13, 0), kNone, kOne, kMap),
    Cmd(ShowScreen, "Screen Display", "<>Show Screen: ", " Show Screen...", Ev(1, 14, 0), kNone, kOne, kMap),
    Cmd(SetScreenTone, "Set Screen Color Tone", "<>Set Screen Tone: ", " Set Screen Tone...", Ev(1, 0, 1), Bt(3, 1), kOne, kAll),
    Cmd(FlashScreen, "Screen Flash", "<>Flash Screen: ", " Flash Screen...", Ev(1, 1, 1), Bt(4, 1), kOne, kAll),
    Cmd(ShakeScreen, "Shake Screen", "<>Shake Screen: Power: ", " Shake Screen...", Ev(1, 2, 1), Bt(5, 1), kOne, kAll),
    Cmd(PanScreen, "Pan Screen", "<>Pan Screen: ", " Pan Screen...", Ev(1, 3, 1), kNone, kOne, kMap),
    Cmd(WeatherEffects, "Weather Screen Effects", "<>Call Weather Effect: ", " Weather Effects...", Ev(1, 4, 1), kNone, kOne, kMap),
    Cmd(ShowPicture, "Show Picture", "<>Show Picture: ID:", " Show Picture...", Ev(1, 5, 1), kNone, kOne, kMap),
    Cmd(MovePicture, "Move Picture", "<>Move Picture: ID:", " Move Picture...", Ev(1, 6, 1), kNone, kOne, kMap),
    Cmd(ErasePicture, "Erase Pic", "<>Erase Picture: ID:", " Erase Picture...", Ev(1, 7, 1), kNone, kOne, kMap),
    Cmd(ShowBattleAnimation, "Show Battle Animation", "<>Show Battle Animation:", " Show Battle Animation...", Ev(1, 8, 1), kNone, kOne, kMap),
    Cmd(SetHeroTranslucency, "Change Hero Transparency", "<>Set Hero's Translucency: ", " Hero Translucency...", Ev(1, 9, 1), kNone, kOne, kMap),
    Cmd(FlashEvent, "Flash Character", "<>Flash Event: ", " Flash Event...", Ev(1, 10, 1), kNone, kOne, kMap),
    Cmd(SetMoveRoute, "Move Character", "<>Move  Event: ", " Move Event...", Ev(1, 11, 1), kNone, kOne, kMap),
    Cmd(WaitUntilMoved, "Wait Until Moved", "<>Wait Until Moved", " Wait Until Moved", Ev(1, 12, 1), kNone, kBare, kMap),
    Cmd(StopAllMovement, "Stop All Movement", "<>Stop All Movement", " Stop All Movement", Ev(1, 13, 1), kNone, kBare, kMap),
    Cmd(Wait, "Wait", "<>Wait: ", " Wait...", Ev(1, 14, 1), Bt(7, 1), kOne, kAll),
    Cmd(PlayBgm, "Play BGM", "<>Play BGM: ", " Play BGM...", Ev(2, 0, 0), Bt(8, 1), kOne, kAll),
    Cmd(FadeOutBgm, "Fade BGM Out", "<>Fade-Out BGM: ", " Fade-Out BGM...", Ev(2, 1, 0), Bt(9, 1), kOne, kAll),
    Cmd(MemorizeBgm, "Memorize BGM", "<>Memorize BGM", " Memorize BGM", Ev(2, 2, 0), kNone, kBare, kMap),
    Cmd(PlayMemorizedBgm, "Play Memorized BGM", "<>Play Memorized BGM", " Play Memorized BGM", Ev(2, 3, 0), kNone, kBare, kMap),
    Cmd(PlaySoundEffect, "Play Sound Effect", "<>Play Sound Effect: ", " Play Sound Effect...", Ev(2, 4, 0), Bt(10, 1), kOne, kAll),
    Cmd(PlayMovie, "Play Movie", "<>Play Movie: ", " Play Movie...", Ev(2, 5, 0), kNone, kOne, kMap),
    Cmd(EnterPassword, "Enter Password", "<>Enter Password: ", " Key Input...", Ev(2, 6, 0), kNone, kOne, kMap),
    Cmd(ChangeChipSet, "Change ChipSet", "<>Change ChipSet: ", " Change Chipset...", Ev(2, 7, 0), kNone, kOne, kMap),
    Cmd(ChangePanorama, "Change Parallax Background", "<>ChangeParalx: ", " Change Parallax BG...", Ev(2, 8, 0), kNone, kOne, kMap),
    Cmd(ChangeEncounterRate, "Change Enemy Encounter", "<>Encounter Rate: ", " Encounter Rate...", Ev(2, 9, 0), kNone, kOne, kMap),
    Cmd(ChangeChip, "Change Chip", "<>Change Chip: ", " Change Chip...", Ev(2, 10, 0), kNone, kOne, kMap),
    Cmd(SetTeleportPlace, "Place of Teleport", "<>Teleport Place: ", " Teleport Place...", Ev(2, 11, 0), kNone, kOne, kMap),
    Cmd(EnableTeleport, "Disable Teleport", "<>Teleporting: ", " Disable Teleport...", Ev(2, 12, 0), kNone, kOne, kMap),
    Cmd(SetEscapePlace, "Place Escape Area", "<>Escape Place:     ", " Escape Place...", Ev(2, 13, 0), kNone, kOne, kMap),
    Cmd(EnableEscape, "Enable/Disable Escape", "<>Escaping: ", " Disable Escape...", Ev(2, 14, 0), kNone, kOne, kMap),
    Cmd(CallSaveMenu, "Call Save Menu", "<>Call Save Menu", " Call Save Menu", Ev(2, 0, 1), kNone, kBare, kMap),
    Cmd(EnableSave, "Enable/Disable Save", "<>Saving: ", " Disable Save...", Ev(2, 1, 1), kNone, kOne, kMap),
    Cmd(CallSystemMenu, "Call Menu", "<>Call System Menu", " Call System Menu", Ev(2, 2, 1), kNone, kBare, kMap),
    Cmd(EnableSystemMenu, "Disable Menu", "<>Disable System Menu ", " Disable System Menu...", Ev(2, 3, 1), kNone, kOne, kMap),
    Cmd(ConditionalBranch, "Fork Conditions", "<>If ", " Fork Conditions...", Ev(2, 4, 1), kNone, kBlock, kMap),
    Line(BranchElse, ":Else Case", kMap),
    Line(BranchEnd, ":End Case", kMap),
    Cmd(Label, "Create Label", "<>Label ", " Label...", Ev(2, 5, 1), kNone, kOne, kMap),
    Cmd(JumpToLabel, "Choose Label to Jump", "<>Goto Label ", " Go to Label...", Ev(2, 6, 1), kNone, kOne, kMap),
    Cmd(Loop, "Start Cycle", "<>Loop", " Loop", Ev(2, 7, 1), kNone, kBlock, kMap),
    Line(LoopEnd, ":End Loop", kMap),
    Cmd(BreakLoop, "Break Cycle", "<>Break", " Break Loop", Ev(2, 8, 1), kNone, kBare, kMap),
    Cmd(StopParallelEvents, "Stop Parallel Events", "<>Stop Parallel Events", " Stop Parallel Events", Ev(2, 9, 1), Bt(12, 1), kBare, kAll),
    Cmd(EraseEvent, "Delete Event", "<>Delete Event", " Delete Event", Ev(2, 10, 1), kNone, kBare, kMap),
    Cmd(CallEvent, "Call Event", "<>Call Event: ", " Call Event...", Ev(2, 11, 1), kNone, kOne, kMap),
    Cmd(Comment, "Comment", "<>Note: ", " Comment...", Ev(2, 12, 1), Bt(13, 1), kText, kAll),
    Line(CommentLine, ":          :", kAll),
    Cmd(GameOver, "Game Over", "<>Game Over", " Game Over", Ev(2, 13, 1), Bt(14, 1), kBare, kAll),
    Cmd(GoToTitleScreen, "Load Title Screen", "<>Goto Title Screen", " Go to Title Screen", Ev(2, 14, 1), kNone, kBare, kMap),
    Cmd(ChangeEnemyHp, "Change Enemy HP", "<>Change Enemy's HP:  ", " Change Enemy HP", kNone, Bt(14, 0), kOne, kBattle),
    Cmd(ChangeEnemyMp, "Change Enemy MP", "<>Change Enemy's MP:  ", " Change Enemy MP", kNone, Bt(15, 0), kOne, kBattle),
    Cmd(ChangeEnemyCondition, "Change Enemy Condition", "<>Set Enemy's Condition:", " Change Enemy Condition...", kNone, Bt(0, 1), kOne, kBattle),
    Cmd(EnemyAppears, "Change Enemy Appearance", "<>Enemy Appears:  ", " Enemy Encounter...", kNone, Bt(1, 1), kOne, kBattle),
    Cmd(ChangeBattleBackground, "Change Battle Background", "<>Change Battl.BG:", " Change Battle BG...", kNone, Bt(2, 1), kOne, kBattle),
    Cmd(ShowBattleAnimationInBattle, "Show Battle Animation", "<>Show Battle Animation:", " Show Battle Animation...", kNone, Bt(6, 1), kOne, kBattle),
    Cmd(BattleBranch, "Fork Conditions", "<>If ", " Fork Conditions...", kNone, Bt(11, 1), kBlock, kBattle),
    Line(BattleBranchElse, ":Else Case", kBattle),
    Line(BattleBranchEnd, ":End Case", kBattle),
    Cmd(StopBattle, "Interrupt Battle", "<>Stop Battle", " Stop Battle", kNone, Bt(15, 1), kBare, kBattle),
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
