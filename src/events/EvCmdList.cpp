#include "events/EvCmdList.h"

#include "controls/LastUsed.h"
#include "events/EventCommands.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace quillon {

namespace {

// The button of a command on one of the palettes.
TPaletteSpot SpotOn(const TEventCommandInfo& info, bool battle) {
    return battle ? info.BattlePalette : info.EventPalette;
}

// Last buttons used during the run: [0] the three-tab palette, [1] the battle palette.
std::array<int, 2>& LastButtons() { return TLastUsed::Value<std::array<int, 2>>("EvCmdList.Buttons", {0, 0}); }

}  // namespace

TEvCmdPalette::TEvCmdPalette(bool battle) : mBattle(battle) {
    for (const TEventCommandInfo& info : EventCommandCatalogue())
        if (SpotOn(info, battle).Shown())
            mCommands.push_back(&info);
    const auto place = [battle](const TEventCommandInfo* info) {
        const TPaletteSpot spot = SpotOn(*info, battle);
        return std::tuple(spot.Tab, spot.Column, spot.Row);
    };
    std::stable_sort(mCommands.begin(), mCommands.end(),
                     [&place](const TEventCommandInfo* a, const TEventCommandInfo* b) { return place(a) < place(b); });
    for (const TEventCommandInfo* info : mCommands)
        mTabCount = std::max(mTabCount, SpotOn(*info, battle).Tab + 1);
}

std::int32_t TEvCmdPalette::Code(int button) const {
    return button >= 0 && button < ButtonCount() ? mCommands[static_cast<std::size_t>(button)]->Code : 0;
}

TPaletteSpot TEvCmdPalette::Spot(int button) const {
    return button >= 0 && button < ButtonCount() ? SpotOn(*mCommands[static_cast<std::size_t>(button)], mBattle)
                                                 : TPaletteSpot{};
}

std::string TEvCmdPalette::Caption(int button) const {
    return button >= 0 && button < ButtonCount() ? mCommands[static_cast<std::size_t>(button)]->ButtonCaption
                                                 : std::string();
}

int TEvCmdPalette::ButtonOf(std::int32_t code) const {
    const auto it = std::find_if(mCommands.begin(), mCommands.end(),
                                 [code](const TEventCommandInfo* info) { return info->Code == code; });
    return it == mCommands.end() ? -1 : static_cast<int>(it - mCommands.begin());
}

int TEvCmdPalette::LastButton() const {
    return std::clamp(LastButtons()[mBattle ? 1 : 0], 0, std::max(ButtonCount() - 1, 0));
}

void TEvCmdPalette::ResetLastButtons() {
    TLastUsed::Forget("EvCmdList.");
}

bool TEvCmdPalette::Choose(int button, IEventCommandDialogs& dialogs, const TEventCommandContext& context) {
    const std::int32_t code = Code(button);
    if (code == 0)
        return false;
    LastButtons()[mBattle ? 1 : 0] = button;
    mResult.Clear();
    return dialogs.RunDialog(code, mResult, context) && mResult.Count() > 0;
}

bool BuildCommandWithoutForm(std::int32_t code, TKelEventScriptList& result) {
    const TEventCommandInfo* info = FindEventCommand(code);
    if (info != nullptr && info->HasDialog && info->Lines == TCommandLines::Bare) {
        result.Clear();
        result.Add().Code = code;
        return true;
    }
    if (code != TCommandCode::Loop)
        return false;
    // The edited loop's body: the lines deeper than its first line, up to its ":End Loop".
    TKelEventScriptList loop;
    loop.Add().Code = ToInt(TCommandCode::Loop);
    if (result.Count() > 0) {
        const std::int32_t depth = result.Lines(0)->Indent;
        for (int i = 1; i < result.Count() && result.Lines(i)->Indent > depth; ++i) {
            auto& line = loop.Add(std::make_unique<TKelEventScriptLine>(*result.Lines(i)));
            line.Indent = line.Indent - depth;
        }
    }
    if (loop.Count() == 1) {
        auto& empty = loop.Add();
        empty.Code = ToInt(TCommandCode::Empty);
        empty.Indent = 1;
    }
    loop.Add().Code = ToInt(TCommandCode::LoopEnd);
    result.Assign(loop);
    return true;
}

}  // namespace quillon
