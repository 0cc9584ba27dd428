// The event command palettes: which command each button makes, its caption and its place (all
// read from the command catalogue), and the button used last (remembered for the run, one per
// palette). The palette owns the result script that the chosen command's dialog fills.
#pragma once

#include "events/EventCommands.h"
#include "events/ScriptList.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// The help page of both palettes.
inline constexpr int kEvCmdListHelpContext = 201;

class TEvCmdPalette {
public:
    // Buttons are numbered tab by tab, each tab a column at a time: the map event and common
    // event palette has three tabs of 30 buttons, the troop battle-page palette one of 32.
    // The battle palette serves troop battle pages; the other one every other script.
    explicit TEvCmdPalette(bool battle);
    static TEvCmdPalette ForEditor(TScriptEditorKind kind) {
        return TEvCmdPalette(kind == TScriptEditorKind::BattlePage);
    }

    bool Battle() const { return mBattle; }
    int ButtonCount() const { return static_cast<int>(mCommands.size()); }
    int TabCount() const { return mTabCount; }
    // The command code of a button; 0 outside the palette.
    std::int32_t Code(int button) const;
    // Where the button sits; not shown outside the palette.
    TPaletteSpot Spot(int button) const;
    // The button's caption as shown; empty outside the palette.
    std::string Caption(int button) const;
    // The button of a code, -1 when the palette has none.
    int ButtonOf(std::int32_t code) const;

    // The button used last in this kind of palette during the run (tab x 30 + button for the
    // three-tab palette), 0 before the first use.
    int LastButton() const;
    int InitialTab() const { return std::max(Spot(LastButton()).Tab, std::int8_t{0}); }
    // Forgets the last button of both palettes (a new run).
    static void ResetLastButtons();

    // A button pressed: remembered as the last one, the result script emptied and the command's
    // dialog run on it. True when the dialog ended with OK and left lines in the result.
    bool Choose(int button, IEventCommandDialogs& dialogs, const TEventCommandContext& context);
    TKelEventScriptList& ResultScript() { return mResult; }
    const TKelEventScriptList& ResultScript() const { return mResult; }

private:
    bool mBattle;
    std::vector<const TEventCommandInfo*> mCommands;  // by button
    int mTabCount = 0;
    TKelEventScriptList mResult;
};

// Commands that take no settings are built without a form: the single line of a command without
// parameters, and the loop (12210) with its body (the edited loop's body, or one empty line) and
// its ":End Loop". `result` holds the edited lines on entry (or nothing) and the new lines on
// return. False for every other code.
bool BuildCommandWithoutForm(std::int32_t code, TKelEventScriptList& result);

}  // namespace quillon
