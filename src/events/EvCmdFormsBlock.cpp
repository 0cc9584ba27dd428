// The dialogs of messages, comments, choices, number input, and of the block commands: the two
// forks, the battle, the shop and the inn.
#include "events/CommandFormBatches.h"

#include "events/EventCommands.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace quillon {

namespace {

using TRecord = TCommandRecord;

constexpr std::size_t kMessageLines = 4;
constexpr std::size_t kChoices = 4;
constexpr std::size_t kChoiceBytes = 32;
// "Show Choices": the cancel option that adds a case, and the index its 20140 line carries.
constexpr std::int32_t kCancelAddsCase = 5;
constexpr std::int32_t kCancelCaseIndex = 4;
constexpr std::int32_t kMaxVariableValue = 999999;
constexpr std::int32_t kMaxMoney = 9999999;
constexpr std::int32_t kMaxInnPrice = 999999;
constexpr std::int32_t kMaxTimerMinutes = 99;
// The most goods a shop offers.
constexpr std::size_t kMaxGoods = 999;
constexpr std::int32_t kMaxItemId = 5000;

// --- texts of several lines ---

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

// One line per line break; a line break at the end adds no line; "\r\n" counts as one break.
std::vector<std::string> SplitLines(const std::string& text, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(std::move(line));
            line.clear();
            open = false;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(std::move(line));
    if (lines.size() > maxLines)
        lines.resize(maxLines);
    return lines;
}

// Message (10110) and comment (12410): one memo of up to four lines.
TCommandForm TextForm(TCommandCode code, TCommandCode continuation, const char* widget, const char* label) {
    TCommandFormBuilder b(code, 0);
    b.TextLines(continuation, kMessageLines);
    b.Fields()
        .Field(
            TFieldKind::MultiLineText, widget, label, [](const TRecord& r) { return JoinLines(r.Lines); },
            [](TRecord& r, const std::string& text) { r.Lines = SplitLines(text, kMessageLines); })
        .Key("text");
    return b.Build();
}

// --- show choices ---

std::string ChoiceText(const TRecord& r, std::size_t index) {
    return index < r.Lines.size() ? r.Lines[index] : std::string();
}

// The choices written: the boxes up to the last one holding a text, at least one.
std::size_t ChoiceCount(const TRecord& r) {
    std::size_t count = std::min(r.Lines.size(), kChoices);
    while (count > 1 && r.Lines[count - 1].empty())
        --count;
    return std::max<std::size_t>(count, 1);
}

TCommandForm ShowChoicesForm() {
    TCommandFormBuilder b(TCommandCode::ShowChoices, 1);
    for (std::size_t i = 0; i < kChoices; ++i) {
        const std::string number = std::to_string(i + 1);
        b.Fields()
            .Field(
                TFieldKind::Text, "EditChoice" + number, "Choice &" + number,
                [i](const TRecord& r) { return ChoiceText(r, i); },
                [i](TRecord& r, const std::string& text) {
                    if (r.Lines.size() < kChoices)
                        r.Lines.resize(kChoices);
                    r.Lines[i] = text;
                })
            .Bytes(kChoiceBytes)
            .Key("choice" + number);
    }
    b.Radio("RadioCancel", "When Cancelled", 0,
            {"&Ignore", "Choose 1", "Choose 2", "Choose 3", "Choose 4", "&Add Case"})
        .Key("cancel")
        .ChoiceEnabledWhen([](const TRecord& r, int choice) {
            // A choice that is not written cannot take the cancel.
            return choice < 1 || choice > static_cast<int>(kChoices) ||
                   static_cast<std::size_t>(choice) <= ChoiceCount(r);
        });
    b.Defaults([](TRecord& r) { r.Lines.assign(kChoices, std::string()); });
    // The choices are read from their cases, not from the joined text.
    b.AfterLoad([](TRecord& r, const TKelEventScriptList& lines) {
        r.Lines.assign(kChoices, std::string());
        const std::int32_t depth = lines.Lines(0)->Indent;
        for (int i = 1; i < lines.Count(); ++i) {
            const TKelEventScriptLine& line = *lines.Lines(i);
            if (line.Indent < depth)
                break;
            if (line.Indent != depth || line.Code != TCommandCode::ChoiceCase)
                continue;
            const std::int32_t index = line.Param(0);
            if (index >= 0 && static_cast<std::size_t>(index) < kChoices)
                r.Lines[static_cast<std::size_t>(index)] = line.Text;
        }
    });
    b.BeforeWrite([](TRecord& r) {
        const std::size_t count = ChoiceCount(r);
        r.Lines.resize(kChoices);
        std::string joined;
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0)
                joined += '/';
            joined += r.Lines[i];
        }
        r.Text = std::move(joined);
    });
    b.Blocks([](const TRecord& r) {
        std::vector<TBlockPart> parts;
        const std::size_t count = ChoiceCount(r);
        for (std::size_t i = 0; i < count; ++i) {
            const auto index = static_cast<std::int32_t>(i);
            parts.push_back({ToInt(TCommandCode::ChoiceCase), ChoiceText(r, i), {index}, true, {ToInt(TCommandCode::ChoiceCase), index}});
        }
        if (r.Param(0) == kCancelAddsCase)
            parts.push_back({ToInt(TCommandCode::ChoiceCase), "", {kCancelCaseIndex}, true, {ToInt(TCommandCode::ChoiceCase), kCancelCaseIndex}});
        parts.push_back({ToInt(TCommandCode::ChoiceEnd), "", {}, false, {}});
        return parts;
    });
    return b.Build();
}

// --- forks ---

// The switch and variable conditions both forks share.
void SwitchAndVariableConditions(TCommandFormBuilder& b) {
    b.Switch("SwitchCondition", "S&witch", 1).When(0, {0}).Key("switch").Default(1);
    b.Radio("RadioSwitchState", "Switch Is", 2, {"ON", "OFF"}).When(0, {0}).Key("switch-state");
    b.Variable("VariableCondition", "&Variable", 1).When(0, {1}).Key("variable");
    b.Amount("Operand", 2, 3, -kMaxVariableValue, kMaxVariableValue).When(0, {1}).Key("operand");
    b.List("ComboCompare", "Co&mparison", 4,
           {"= Equal to", ">= Greater or Equal", "<= Less or Equal", "> Greater than", "< Less than",
            "!= Not Equal"})
        .When(0, {1})
        .Key("compare");
}

// The parameters a fork's condition kind leaves unused are written as 0 (an unknown kind keeps
// them all).
void ClearUnusedForkParams(TRecord& r, bool battle) {
    // The last parameter each kind uses, from p1 on; -1: none known.
    static constexpr int kMapLast[] = {2, 4, 2, 2, 2, 3, 2, 1, 0, 0};
    static constexpr int kBattleLast[] = {2, 4, 1, 1};
    const std::int32_t kind = r.Param(0);
    const int kinds = battle ? 4 : 10;
    if (kind < 0 || kind >= kinds)
        return;
    int last = battle ? kBattleLast[kind] : kMapLast[kind];
    if (!battle && kind == 5) {
        // A hero's check: only the level, HP, skill, item and condition checks take p3.
        const std::int32_t check = r.Param(2);
        last = check >= 2 && check <= 6 ? 3 : 2;
        if (check != 1)
            r.Text.clear();
    } else {
        r.Text.clear();
    }
    for (int p = last + 1; p <= 4; ++p)
        r.SetParam(static_cast<std::size_t>(p), 0);
}

std::vector<TBlockPart> ForkBlock(const TRecord& r, TCommandCode code, TCommandCode elseCode, TCommandCode endCode) {
    std::vector<TBlockPart> parts;
    parts.push_back({0, "", {}, true, {ToInt(code), 0}});
    if (r.Param(5) != 0)
        parts.push_back({ToInt(elseCode), "", {}, true, {ToInt(elseCode), 0}});
    parts.push_back({ToInt(endCode), "", {}, false, {}});
    return parts;
}

TCommandForm ForkForm() {
    TCommandFormBuilder b(TCommandCode::ConditionalBranch, 6);
    b.List("ComboKind", "Con&dition", 0,
           {"Switch", "Variable", "Timer", "Money", "Item", "Hero", "Character's Direction", "Vehicle",
            "Started by Decision Key", "Music Played Once"})
        .Key("kind");
    SwitchAndVariableConditions(b);
    // The timer in minutes and seconds of p1.
    b.Fields()
        .Field(
            TFieldKind::Number, "SpinTimerMinutes", "Min&utes", [](const TRecord& r) { return r.Param(1) / 60; },
            [](TRecord& r, std::int32_t minutes) { r.SetParam(1, minutes * 60 + r.Param(1) % 60); })
        .Range(0, kMaxTimerMinutes)
        .EnabledWhen([](const TRecord& r) { return r.Param(0) == 2; })
        .Key("minutes");
    b.Fields()
        .Field(
            TFieldKind::Number, "SpinTimerSeconds", "Seco&nds", [](const TRecord& r) { return r.Param(1) % 60; },
            [](TRecord& r, std::int32_t seconds) { r.SetParam(1, r.Param(1) / 60 * 60 + seconds); })
        .Range(0, 59)
        .EnabledWhen([](const TRecord& r) { return r.Param(0) == 2; })
        .Key("seconds");
    b.Radio("RadioTimerCompare", "Timer Is", 2, {"At Least", "At Most"}).When(0, {2}).Key("timer-compare");
    b.Spin("SpinMoney", "M&oney", 1, 0, kMaxMoney).When(0, {3}).Key("money");
    b.Radio("RadioMoneyCompare", "Money Is", 2, {"At Least", "At Most"}).When(0, {3}).Key("money-compare");
    b.Entry(TEntryList::Item, "ComboItem", "&Item", 1).When(0, {4}).Key("item");
    b.Radio("RadioItemState", "The Party", 2, {"Has It", "Does Not Have It"}).When(0, {4}).Key("item-state");
    b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 1).When(0, {5}).Key("hero");
    b.List("ComboHeroCheck", "Hero &Check", 2,
           {"Is in the Party", "Name Is", "Level Is at Least", "HP Is at Least", "Has Learned the Skill",
            "Has Equipped the Item", "Has the Condition"})
        .When(0, {5})
        .Key("hero-check");
    const auto heroCheck = [](std::int32_t check) {
        return [check](const TRecord& r) { return r.Param(0) == 5 && r.Param(2) == check; };
    };
    b.Fields()
        .Field(TFieldKind::Text, "EditHeroName", "Na&me", &TRecord::Text)
        .EnabledWhen(heroCheck(1))
        .Key("name");
    b.Spin("SpinHeroLevel", "&Level", 3, 1, 50).EnabledWhen(heroCheck(2)).Key("level");
    b.Spin("SpinHeroHp", "H&P", 3, 0, 999).EnabledWhen(heroCheck(3)).Key("hp");
    b.Entry(TEntryList::Skill, "ComboSkill", "S&kill", 3).EnabledWhen(heroCheck(4)).Key("skill");
    b.Entry(TEntryList::Item, "ComboEquipment", "E&quipment", 3).EnabledWhen(heroCheck(5)).Key("equipment");
    b.Entry(TEntryList::Condition, "ComboCondition", "Condi&tion", 3).EnabledWhen(heroCheck(6)).Key("condition");
    b.Character("ComboCharacter", "&Character", 1).When(0, {6}).Key("character");
    b.Radio("RadioDirection", "Facing", 2, {"Up", "Right", "Down", "Left"}).When(0, {6}).Key("direction");
    b.Radio("RadioVehicle", "Riding", 1, {"Boat", "Ship", "Airship"}).When(0, {7}).Key("vehicle");
    b.Check("CheckElse", "Add &Else Case", 5).Key("else");
    b.BeforeWrite([](TRecord& r) { ClearUnusedForkParams(r, false); });
    b.Blocks([](const TRecord& r) { return ForkBlock(r, TCommandCode::ConditionalBranch, TCommandCode::BranchElse, TCommandCode::BranchEnd); });
    return b.Build();
}

TCommandForm BattleForkForm() {
    TCommandFormBuilder b(TCommandCode::BattleBranch, 6);
    b.List("ComboKind", "Con&dition", 0, {"Switch", "Variable", "Hero Can Act", "Enemy Can Act"}).Key("kind");
    SwitchAndVariableConditions(b);
    b.Entry(TEntryList::Hero, "ComboHero", "&Hero", 1).When(0, {2}).Key("hero");
    b.Enemy("ComboEnemy", "E&nemy", 1).When(0, {3}).Key("enemy");
    b.Check("CheckElse", "Add &Else Case", 5).Key("else");
    b.BeforeWrite([](TRecord& r) { ClearUnusedForkParams(r, true); });
    b.Blocks([](const TRecord& r) { return ForkBlock(r, TCommandCode::BattleBranch, TCommandCode::BattleBranchElse, TCommandCode::BattleBranchEnd); });
    return b.Build();
}

// --- battle, shop, inn ---

TCommandForm StartBattleForm() {
    TCommandFormBuilder b(TCommandCode::StartBattle, 6);
    b.Radio("RadioTroop", "Troop", 0, {"&Fixed Troop", "Troop by &Variable"}).Key("troop-kind");
    b.Entry(TEntryList::Troop, "ComboTroop", "&Troop", 1).When(0, {0}).Key("troop").Default(1);
    b.Variable("VariableTroop", "Troop Va&riable", 1).When(0, {1}).Key("troop-variable");
    b.Radio("RadioBackground", "Battle Background", 2, {"By Terrain &Chip", "&Set"}).Key("background");
    b.Resource("DashBackground", "Back&ground", TSelKind::Backdrop).When(2, {1}).Key("background-file");
    b.Radio("RadioEscape", "Escape", 3, {"&NO Escape", "&Allow Escape", "Add Case"}).Key("escape");
    b.Radio("RadioDefeat", "Defeat", 4, {"Game &Over", "Add Case"}).Key("defeat");
    b.Check("CheckFirstStrike", "First &Strike", 5).Key("first-strike");
    // The terrain gives the background: no file.
    b.BeforeWrite([](TRecord& r) {
        if (r.Param(2) == 0)
            r.Text.clear();
    });
    b.Blocks([](const TRecord& r) {
        std::vector<TBlockPart> parts;
        const bool escapeCase = r.Param(3) == 2;
        const bool defeatCase = r.Param(4) == 1;
        if (!escapeCase && !defeatCase)
            return parts;
        // Each branch keeps its own body whichever others are asked for.
        parts.push_back({ToInt(TCommandCode::BattleVictory), "", {}, true, {ToInt(TCommandCode::BattleVictory), 0}});
        if (escapeCase)
            parts.push_back({ToInt(TCommandCode::BattleEscape), "", {}, true, {ToInt(TCommandCode::BattleEscape), 0}});
        if (defeatCase)
            parts.push_back({ToInt(TCommandCode::BattleDefeat), "", {}, true, {ToInt(TCommandCode::BattleDefeat), 0}});
        parts.push_back({ToInt(TCommandCode::BattleEnd), "", {}, false, {}});
        return parts;
    });
    return b.Build();
}

// A shop without goods to sell is the "Sale Only" one.
bool SellsGoods(const TRecord& r) { return r.Param(0) != 2; }

std::string GoodsText(const TRecord& r) {
    std::string text;
    for (const std::int32_t id : r.Tail) {
        if (!text.empty())
            text += ',';
        text += std::to_string(id);
    }
    return text;
}

// Item IDs separated by commas or blanks.
bool ParseGoods(const std::string& text, std::vector<std::int32_t>& goods) {
    std::vector<std::int32_t> read;
    const char* at = text.data();
    const char* end = at + text.size();
    while (at != end) {
        if (*at == ',' || *at == ' ') {
            ++at;
            continue;
        }
        std::int32_t id = 0;
        const auto [next, ec] = std::from_chars(at, end, id);
        if (ec != std::errc() || next == at || id < 1 || id > kMaxItemId || read.size() >= kMaxGoods)
            return false;
        read.push_back(id);
        at = next;
    }
    goods = std::move(read);
    return true;
}

std::vector<TBlockPart> BranchBlock(const TRecord& r, TCommandCode success, TCommandCode failure, TCommandCode end) {
    if (r.Param(2) == 0)
        return {};
    const auto body = [](TCommandCode code) { return TBlockPart{ToInt(code), "", {}, true, {ToInt(code), 0}}; };
    return {body(success), body(failure), {ToInt(end), "", {}, false, {}}};
}

TCommandForm CallShopForm() {
    TCommandFormBuilder b(TCommandCode::CallShop, 4);
    b.Radio("RadioShopType", "Shop Type", 0, {"&Norm", "No Sa&le", "Sale &Only"}).Key("type");
    b.List("ComboShopStyle", "Shop &Message Style", 1, {"Style 1", "Style 2", "Style 3"}).Key("style");
    b.Check("CheckDealFork", "Add Deal &Success Fork", 2).Key("fork");
    b.Fields()
        .Field(TFieldKind::Text, "EditGoods", "&Goods", GoodsText,
               [](TRecord& r, const std::string& text) { return ParseGoods(text, r.Tail); })
        .EnabledWhen(SellsGoods)
        .Key("goods", "goods are item IDs from 1 to 5000 separated by commas");
    b.Written([](const TRecord& r) {
        std::vector<std::int32_t> params = {r.Param(0), r.Param(1), r.Param(2), r.Param(3)};
        if (SellsGoods(r))
            params.insert(params.end(), r.Tail.begin(), r.Tail.end());
        return params;
    });
    b.Blocks([](const TRecord& r) { return BranchBlock(r, TCommandCode::ShopSuccess, TCommandCode::ShopFailure, TCommandCode::ShopEnd); });
    return b.Build();
}

TCommandForm CallInnForm() {
    TCommandFormBuilder b(TCommandCode::CallInn, 3);
    b.List("ComboInnStyle", "Inn &Message Style", 0, {"Style 1", "Style 2"}).Key("style");
    b.Spin("SpinInnPrice", "Inn &Price", 1, 0, kMaxInnPrice).Key("price");
    b.Check("CheckRestFork", "Add &Rest Success Fork", 2).Key("fork");
    b.Blocks([](const TRecord& r) { return BranchBlock(r, TCommandCode::InnRest, TCommandCode::InnCancel, TCommandCode::InnEnd); });
    return b.Build();
}

}  // namespace

void AddBlockCommandForms(std::vector<TCommandForm>& forms) {
    forms.push_back(TextForm(TCommandCode::ShowMessage, TCommandCode::MessageLine, "MemoMessage", "&Message"));
    {
        TCommandFormBuilder b(TCommandCode::MessageOptions, 4);
        b.Radio("RadioWindow", "Window", 0, {"&Opaque", "&Transparent"}).Key("window");
        b.Radio("RadioPosition", "Position", 1, {"To&p", "&Middle", "&Bottom"}).Key("position").Default(2);
        b.Radio("RadioPlacement", "Placement", 2, {"&Fixed", "&Safe (Not Over the Hero)"}).Key("placement");
        b.Radio("RadioEvents", "Other Events", 3, {"&Wait Until Done", "&Continue Events"}).Key("events");
        forms.push_back(b.Build());
    }
    {
        TCommandFormBuilder b(TCommandCode::SelectFaceGraphic, 3);
        b.Resource("DashFace", "&Face", TSelKind::Face, 0).Key("face");
        b.Radio("RadioSide", "Side", 1, {"&Left", "&Right"}).Key("side");
        b.Check("CheckFlip", "F&lipped", 2).Key("flip");
        forms.push_back(b.Build());
    }
    forms.push_back(ShowChoicesForm());
    {
        TCommandFormBuilder b(TCommandCode::InputNumber, 2);
        b.Spin("SpinDigits", "&Digits", 0, 1, 6).Key("digits").Default(1);
        b.Variable("VariableResult", "&Variable", 1).Key("variable").Default(1);
        forms.push_back(b.Build());
    }
    forms.push_back(StartBattleForm());
    forms.push_back(CallShopForm());
    forms.push_back(CallInnForm());
    forms.push_back(ForkForm());
    forms.push_back(TextForm(TCommandCode::Comment, TCommandCode::CommentLine, "MemoComment", "&Comment"));
    forms.push_back(BattleForkForm());
}

}  // namespace quillon
