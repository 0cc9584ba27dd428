// The catalogue of event command codes, the one place that knows each command: what it is
// called, the prefix of its list text, its button on each palette, which scripts it belongs in,
// whether it is a companion line of a block command, and the lines it is made of.
#pragma once

#include "data/CommandCode.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// Where a command's button sits on a palette: its tab, and its row and column in the tab's grid.
// Tab -1: the palette has no button for the command.
struct TPaletteSpot {
    std::int8_t Tab = -1;
    std::int8_t Row = -1;
    std::int8_t Column = -1;

    constexpr bool Shown() const { return Tab >= 0; }
    friend constexpr bool operator==(const TPaletteSpot&, const TPaletteSpot&) = default;
};

// The lines a command is made of.
enum class TCommandLines : std::uint8_t {
    One,    // a single line with its settings (also every companion line, 0 and 10)
    Bare,   // a single line without parameters, made without a form
    Text,   // one line per line of its text (message, comment)
    Block,  // bodies closed by companion lines (choices, battle, shop, inn, fork, loop)
};

struct TEventCommandInfo {
    std::int32_t Code;
    const char* Caption;  // dialog caption as stored; "" for companion lines, 0 and 10
    // Start of the list text as catalogued ("<>Message: ", ":End Case" ...); 20140's is the
    // pattern ":[%s] Case" (the choice text goes in place of %s; the converter builds it).
    const char* Prefix;
    const char* ButtonCaption;  // the palette button's caption ("..." when it opens a form); "" off the palettes
    TPaletteSpot EventPalette;   // on the map event and common event palette
    TPaletteSpot BattlePalette;  // on the troop battle-page palette (always tab 0)
    TCommandLines Lines;
    bool Battle;        // belongs to troop battle pages only (13110 .. 13410, 23310, 23311)
    bool OnBattlePage;  // kept when pasted into a troop battle page
    bool Companion;     // a companion line of a block command (catalogued, code >= 20000)
    bool HasDialog;     // a command the user inserts (the 98 with a caption)
    // The fields of a command's dialog are not catalogued here: FindCommandForm(code)
    // (events/CommandForm.h) looks up its description, for the codes that have a form.
};

// Every catalogued code, in catalogue order (which is also command-code order within each
// group and the three-tab palette's order).
std::span<const TEventCommandInfo> EventCommandCatalogue();
// The entry of a code, nullptr when the code is not catalogued.
const TEventCommandInfo* FindEventCommand(std::int32_t code);
// The 98 commands with a dialog caption, catalogue order.
std::vector<std::int32_t> DialogCommandCodes();
// The 90 of them that serve map events and common events (the first palette), catalogue order.
std::vector<std::int32_t> NonBattleCommandCodes();
// The 8 battle commands, catalogue order.
std::vector<std::int32_t> BattleCommandCodes();

// The command a companion line belongs to (20141 -> 10140, 22011 -> 12010 ...); 0 for any
// other code.
std::int32_t OpenerOf(std::int32_t code);
// A line that a troop battle page keeps when it is pasted there.
bool BelongsOnBattlePage(std::int32_t code);

// A catalogued companion line. Codes that are not catalogued, 20000 and above included, are
// commands of their own (they render "Do Nothing").
bool IsCompanionCode(std::int32_t code);

}  // namespace quillon
