// The event command codes: the number each command line of a script carries in its `Code`
// field, one enumerator per command and per companion line of a block command. The script line
// keeps the plain number (scripts may hold codes that are not listed here); the editor and the
// game player name the codes through this enumeration.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

enum class TCommandCode : std::int32_t {
    End = 0,  // closing line of a script
    Empty = 10,  // empty line closing a branch body
    ShowMessage = 10110,
    MessageLine = 20110,  // further line of a message
    MessageOptions = 10120,
    SelectFaceGraphic = 10130,
    ShowChoices = 10140,
    ChoiceCase = 20140,  // a choice's case; parameter 0 is the choice index (4: cancel)
    ChoiceEnd = 20141,
    InputNumber = 10150,
    ChangeSwitch = 10210,
    ChangeVariable = 10220,
    TimerOperation = 10230,
    ChangeMoney = 10310,
    ChangeItemAmount = 10320,
    ChangeParty = 10330,
    ChangeExp = 10410,
    ChangeLevel = 10420,
    ChangeAbility = 10430,
    ChangeSkills = 10440,
    ChangeEquipment = 10450,
    ChangeHp = 10460,
    ChangeMp = 10470,
    ChangeCondition = 10480,
    FullRecovery = 10490,
    TakeDamage = 10500,
    ChangeHeroName = 10610,
    ChangeHeroDegree = 10620,
    ChangeHeroWalkGraphic = 10630,
    ChangeHeroFaceGraphic = 10640,
    ChangeVehicleGraphic = 10650,
    ChangeSystemMusic = 10660,
    ChangeSystemSound = 10670,
    ChangeSystemGraphic = 10680,
    ChangeScreenTransition = 10690,
    StartBattle = 10710,
    BattleVictory = 20710,
    BattleEscape = 20711,
    BattleDefeat = 20712,
    BattleEnd = 20713,
    CallShop = 10720,
    ShopSuccess = 20720,
    ShopFailure = 20721,
    ShopEnd = 20722,
    CallInn = 10730,
    InnRest = 20730,
    InnCancel = 20731,
    InnEnd = 20732,
    EnterHeroName = 10740,
    Teleport = 10810,
    MemorizePlace = 10820,
    GoToMemorizedPlace = 10830,
    RideVehicle = 10840,
    SetVehiclePlace = 10850,
    SetEventPlace = 10860,
    SwapEvents = 10870,
    GetTerrainId = 10910,
    GetEventId = 10920,
    EraseScreen = 11010,
    ShowScreen = 11020,
    SetScreenTone = 11030,
    FlashScreen = 11040,
    ShakeScreen = 11050,
    PanScreen = 11060,
    WeatherEffects = 11070,
    ShowPicture = 11110,
    MovePicture = 11120,
    ErasePicture = 11130,
    ShowBattleAnimation = 11210,
    SetHeroTranslucency = 11310,
    FlashEvent = 11320,
    SetMoveRoute = 11330,
    WaitUntilMoved = 11340,
    StopAllMovement = 11350,
    Wait = 11410,
    PlayBgm = 11510,
    FadeOutBgm = 11520,
    MemorizeBgm = 11530,
    PlayMemorizedBgm = 11540,
    PlaySoundEffect = 11550,
    PlayMovie = 11560,
    EnterPassword = 11610,
    ChangeChipSet = 11710,
    ChangePanorama = 11720,
    ChangeEncounterRate = 11740,
    ChangeChip = 11750,
    SetTeleportPlace = 11810,
    EnableTeleport = 11820,
    SetEscapePlace = 11830,
    EnableEscape = 11840,
    CallSaveMenu = 11910,
    EnableSave = 11930,
    CallSystemMenu = 11950,
    EnableSystemMenu = 11960,
    ConditionalBranch = 12010,
    BranchElse = 22010,
    BranchEnd = 22011,
    Label = 12110,
    JumpToLabel = 12120,
    Loop = 12210,
    LoopEnd = 22210,
    BreakLoop = 12220,
    StopParallelEvents = 12310,
    EraseEvent = 12320,
    CallEvent = 12330,
    Comment = 12410,
    CommentLine = 22410,  // further line of a comment
    GameOver = 12420,
    GoToTitleScreen = 12510,
    ChangeEnemyHp = 13110,
    ChangeEnemyMp = 13120,
    ChangeEnemyCondition = 13130,
    EnemyAppears = 13150,
    ChangeBattleBackground = 13210,
    ShowBattleAnimationInBattle = 13260,
    BattleBranch = 13310,
    BattleBranchElse = 23310,
    BattleBranchEnd = 23311,
    StopBattle = 13410,
};

constexpr std::int32_t ToInt(TCommandCode code) { return static_cast<std::int32_t>(code); }
// Any number is a valid value of the enumeration; those without an enumerator are simply
// commands nobody knows.
constexpr TCommandCode ToCommandCode(std::int32_t code) { return static_cast<TCommandCode>(code); }

// A script line's code against a named one (`line.Code == TCommandCode::Loop`).
constexpr bool operator==(std::int32_t code, TCommandCode named) { return code == ToInt(named); }

// Every enumerator, in the order listed above (the command catalogue's order).
std::span<const TCommandCode> AllCommandCodes();
// The enumerator's name ("StartBattle" for 10710); empty for a code without one.
std::string_view CommandCodeName(std::int32_t code);
// "10710 (StartBattle)", or the bare number for a code without a name: for messages.
std::string DescribeCommandCode(std::int32_t code);

}  // namespace quillon
