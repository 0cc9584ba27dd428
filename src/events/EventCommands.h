// The catalogue of event command codes: what each command is called, the prefix of its list
// text, and whether it is a battle command or a companion line of a block command.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// Codes with a meaning of their own in the editing rules.
enum : std::int32_t {
    ecEnd = 0,              // closing line of a script
    ecEmpty = 10,           // empty line closing a branch body
    ecMessage = 10110,
    ecMessageLine = 20110,
    ecShowChoice = 10140,
    ecChoiceCase = 20140,
    ecChoiceEnd = 20141,
    ecStartBattle = 10710,
    ecBattleVictory = 20710,
    ecBattleEscape = 20711,
    ecBattleDefeat = 20712,
    ecBattleEnd = 20713,
    ecCallShop = 10720,
    ecShopSuccess = 20720,
    ecShopFailure = 20721,
    ecShopEnd = 20722,
    ecCallInn = 10730,
    ecInnRest = 20730,
    ecInnCancel = 20731,
    ecInnEnd = 20732,
    ecMoveCharacter = 11330,
    ecFork = 12010,
    ecForkElse = 22010,
    ecForkEnd = 22011,
    ecLoop = 12210,
    ecLoopEnd = 22210,
    ecComment = 12410,
    ecCommentLine = 22410,
    ecBattleFork = 13310,
    ecBattleForkElse = 23310,
    ecBattleForkEnd = 23311,
};

struct TEventCommandInfo {
    std::int32_t Code;
    const char* Caption;  // dialog caption as stored; "" for companion lines, 0 and 10
    const char* Prefix;   // start of the list text as catalogued ("<>Message: ", ":End Case" ...)
    bool Battle;          // belongs to troop battle pages only (13110 .. 13410, 23310, 23311)
    bool Companion;       // a companion line of a block command (catalogued, code >= 20000)
    bool HasDialog;       // a command the user inserts (the 98 with a caption)
};

// Every catalogued code, in catalogue order (which is also command-code order within each
// group and the palettes' order).
std::span<const TEventCommandInfo> EventCommandCatalogue();
// The entry of a code, nullptr when the code is not catalogued.
const TEventCommandInfo* FindEventCommand(std::int32_t code);
// The 98 commands with a dialog caption, catalogue order.
std::vector<std::int32_t> DialogCommandCodes();
// The 90 of them that serve map events and common events (the first palette), catalogue order.
std::vector<std::int32_t> NonBattleCommandCodes();
// The 8 battle commands, catalogue order.
std::vector<std::int32_t> BattleCommandCodes();

// A catalogued companion line. Codes that are not catalogued, 20000 and above included, are
// commands of their own (they render "Do Nothing").
bool IsCompanionCode(std::int32_t code);

}  // namespace quillon
