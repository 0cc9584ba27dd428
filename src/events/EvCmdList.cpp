#include "events/EvCmdList.h"

#include "events/EventCommands.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quillon {

namespace {

// Button captions by command code; "..." where the button opens a form.
constexpr std::pair<std::int32_t, const char*> kCaptions[] = {
    {10110, " Show Message..."},
    {10120, " Message Options..."},
    {10130, " Select Face..."},
    {10140, " Show Choice..."},
    {10150, " Input Number..."},
    {10210, " Change Switch..."},
    {10220, " Change Variable..."},
    {10230, " Timer Operation..."},
    {10310, " Change Money..."},
    {10320, " Add Item..."},
    {10330, " Change Party..."},
    {10410, " Change EXP..."},
    {10420, " Change Level..."},
    {10430, " Change Ability..."},
    {10440, " Change Skill..."},
    {10450, " Change Equipment..."},
    {10460, " Change HP..."},
    {10470, " Change MP..."},
    {10480, " Change Condition..."},
    {10490, " Full Recovery..."},
    {10500, " Take Damage..."},
    {10610, " Change Hero Name..."},
    {10620, " Change Hero Degree..."},
    {10630, " Change Hero Graphic..."},
    {10640, " Change Face Graphic..."},
    {10650, " Change Vehicle Graphic..."},
    {10660, " Change System BGM..."},
    {10670, " Change System SE..."},
    {10680, " Change System Graphic..."},
    {10690, " Change Screen Transition..."},
    {10710, " Start Battle..."},
    {10720, " Call Shop..."},
    {10730, " Call Inn..."},
    {10740, " Enter Hero Name..."},
    {10810, " Teleport..."},
    {10820, " Memorize Place..."},
    {10830, " Go to Memorized Place..."},
    {10840, " Ride Vehicle"},
    {10850, " Set Vehicle Place..."},
    {10860, " Set Event Place..."},
    {10870, " Swap Events..."},
    {10910, " Get Terrain ID..."},
    {10920, " Get Event ID..."},
    {11010, " Erase Screen..."},
    {11020, " Show Screen..."},
    {11030, " Set Screen Tone..."},
    {11040, " Flash Screen..."},
    {11050, " Shake Screen..."},
    {11060, " Pan Screen..."},
    {11070, " Weather Effects..."},
    {11110, " Show Picture..."},
    {11120, " Move Picture..."},
    {11130, " Erase Picture..."},
    {11210, " Show Battle Animation..."},
    {11310, " Hero Translucency..."},
    {11320, " Flash Event..."},
    {11330, " Move Event..."},
    {11340, " Wait Until Moved"},
    {11350, " Stop All Movement"},
    {11410, " Wait..."},
    {11510, " Play BGM..."},
    {11520, " Fade-Out BGM..."},
    {11530, " Memorize BGM"},
    {11540, " Play Memorized BGM"},
    {11550, " Play Sound Effect..."},
    {11560, " Play Movie..."},
    {11610, " Key Input..."},
    {11710, " Change Chipset..."},
    {11720, " Change Parallax BG..."},
    {11740, " Encounter Rate..."},
    {11750, " Change Chip..."},
    {11810, " Teleport Place..."},
    {11820, " Disable Teleport..."},
    {11830, " Escape Place..."},
    {11840, " Disable Escape..."},
    {11910, " Call Save Menu"},
    {11930, " Disable Save..."},
    {11950, " Call System Menu"},
    {11960, " Disable System Menu..."},
    {12010, " Fork Conditions..."},
    {12110, " Label..."},
    {12120, " Go to Label..."},
    {12210, " Loop"},
    {12220, " Break Loop"},
    {12310, " Stop Parallel Events"},
    {12320, " Delete Event"},
    {12330, " Call Event..."},
    {12410, " Comment..."},
    {12420, " Game Over"},
    {12510, " Go to Title Screen"},
    {13110, " Change Enemy HP"},
    {13120, " Change Enemy MP"},
    {13130, " Change Enemy Condition..."},
    {13150, " Enemy Encounter..."},
    {13210, " Change Battle BG..."},
    {13260, " Show Battle Animation..."},
    {13310, " Fork Conditions..."},
    {13410, " Stop Battle"},
};

// The battle palette's buttons, in their order.
constexpr std::array<std::int32_t, TEvCmdPalette::kBattleButtons> kBattleCodes = {
    10110, 10130, 10140, 10150, 10210, 10220, 10320, 10330, 10440, 10450, 10460,
    10470, 10480, 10490, 13110, 13120, 13130, 13150, 13210, 11030, 11040, 11050,
    13260, 11410, 11510, 11520, 11550, 13310, 12310, 12410, 12420, 13410};

// Last buttons used during the run: [0] the three-tab palette, [1] the battle palette.
std::array<int, 2>& LastButtons() {
    static std::array<int, 2> buttons{0, 0};
    return buttons;
}

// Commands made of one line without parameters.
constexpr std::int32_t kSingleLineCodes[] = {10840, 11340, 11350, 11530, 11540, 11910, 11950,
                                             12220, 12310, 12320, 12420, 12510, 13410};

}  // namespace

TEvCmdPalette::TEvCmdPalette(bool battle) : mBattle(battle) {
    if (battle)
        mCodes.assign(kBattleCodes.begin(), kBattleCodes.end());
    else
        mCodes = NonBattleCommandCodes();
}

std::int32_t TEvCmdPalette::Code(int button) const {
    return button >= 0 && button < ButtonCount() ? mCodes[static_cast<std::size_t>(button)] : 0;
}

std::string TEvCmdPalette::Caption(int button) const {
    const std::int32_t code = Code(button);
    for (const auto& [c, caption] : kCaptions)
        if (c == code)
            return caption;
    return {};
}

int TEvCmdPalette::ButtonOf(std::int32_t code) const {
    const auto it = std::find(mCodes.begin(), mCodes.end(), code);
    return it == mCodes.end() ? -1 : static_cast<int>(it - mCodes.begin());
}

int TEvCmdPalette::LastButton() const {
    return std::clamp(LastButtons()[mBattle ? 1 : 0], 0, std::max(ButtonCount() - 1, 0));
}

void TEvCmdPalette::ResetLastButtons() {
    LastButtons() = {0, 0};
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
    if (std::find(std::begin(kSingleLineCodes), std::end(kSingleLineCodes), code) != std::end(kSingleLineCodes)) {
        result.Clear();
        result.Add().Code = code;
        return true;
    }
    if (code != ecLoop)
        return false;
    // The edited loop's body: the lines deeper than its first line, up to its ":End Loop".
    TKelEventScriptList loop;
    loop.Add().Code = ecLoop;
    if (result.Count() > 0) {
        const std::int32_t depth = result.Lines(0)->Indent;
        for (int i = 1; i < result.Count() && result.Lines(i)->Indent > depth; ++i) {
            auto& line = loop.Add(std::make_unique<TKelEventScriptLine>(*result.Lines(i)));
            line.Indent = line.Indent - depth;
        }
    }
    if (loop.Count() == 1) {
        auto& empty = loop.Add();
        empty.Code = ecEmpty;
        empty.Indent = 1;
    }
    loop.Add().Code = ecLoopEnd;
    result.Assign(loop);
    return true;
}

}  // namespace quillon
