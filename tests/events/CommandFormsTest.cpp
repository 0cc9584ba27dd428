// Every described command dialog: the parameters it writes, lines that render, edits without
// changes that give the same lines back; and the block commands' bodies across edits.
#include "events/CommandForm.h"

#include "EventScriptTestFixture.h"
#include "events/EvCmdList.h"
#include "events/EvCmdSelector.h"
#include "events/EventCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

// The parameters of each command's line as its dialog writes it; the shop and "Move Character"
// add their goods and route bytes after these.
const std::map<std::int32_t, int> kParamCounts = {
    {10110, 0}, {10120, 4}, {10130, 3}, {10140, 1},  {10150, 2},  {10210, 4},  {10220, 7},  {10230, 5},
    {10310, 3}, {10320, 5}, {10330, 3}, {10410, 6},  {10420, 6},  {10430, 6},  {10440, 5},  {10450, 5},
    {10460, 6}, {10470, 5}, {10480, 4}, {10490, 2},  {10500, 8},  {10610, 1},  {10620, 1},  {10630, 3},
    {10640, 2}, {10650, 2}, {10660, 5}, {10670, 4},  {10680, 2},  {10690, 2},  {10710, 6},  {10720, 4},
    {10730, 3}, {10740, 3}, {10810, 3}, {10820, 3},  {10830, 3},  {10850, 5},  {10860, 4},  {10870, 2},
    {10910, 4}, {10920, 4}, {11010, 1}, {11020, 1},  {11030, 6},  {11040, 6},  {11050, 4},  {11060, 5},
    {11070, 2}, {11110, 14}, {11120, 16}, {11130, 1}, {11210, 4}, {11310, 1},  {11320, 7},  {11330, 4},
    {11410, 1}, {11510, 4}, {11520, 1}, {11550, 3},  {11560, 5},  {11610, 10}, {11710, 1},  {11720, 6},
    {11740, 1}, {11750, 3}, {11810, 6}, {11820, 1},  {11830, 5},  {11840, 1},  {11930, 1},  {11960, 1},
    {12010, 6}, {12110, 1}, {12120, 1}, {12330, 3},  {12410, 0},  {13110, 5},  {13120, 4},  {13130, 3},
    {13150, 1}, {13210, 0}, {13260, 3}, {13310, 6},
};
const std::set<std::int32_t> kWithTail = {10720, 11330};

std::vector<TKelEventScriptLine> LinesOf(const TKelEventScriptList& list) {
    std::vector<TKelEventScriptLine> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(*list.Lines(i));
    return lines;
}

void Fill(TKelEventScriptList& list, const std::vector<TKelEventScriptLine>& lines) {
    list.Clear();
    for (const TKelEventScriptLine& line : lines)
        list.Add(std::make_unique<TKelEventScriptLine>(line));
}

class CommandDialogs : public EventScriptWorld {
protected:
    CommandDialogs() {
        TCommandDialogModel::ForgetRemembered();
        // Second entries, so that every list field has another value to take.
        db.ChipSet.Obtain(2).Name = "Town";
        db.CommonEvent.Obtain(2).Name = "Inn";
        context.DataBase = &db;
        context.MapTree = &tree;
        context.Map = &map;
        context.EventId = 2;
        context.EventItem = &edited;
        context.MonsterGroup = &troop;
    }
    ~CommandDialogs() override { TCommandDialogModel::ForgetRemembered(); }

    std::size_t Field(const TCommandForm& form, const std::string& key) {
        for (std::size_t i = 0; i < form.Fields.Fields.size(); ++i)
            if (form.Fields.Fields[i].Key == key)
                return i;
        ADD_FAILURE() << form.Code << " has no field " << key;
        return 0;
    }
    void Set(TCommandDialogModel& model, const std::string& key, TFieldValue value) {
        ASSERT_TRUE(model.Binding().SetValue(Field(model.Form(), key), std::move(value))) << key;
    }
    std::vector<TKelEventScriptLine> Edit(std::int32_t code, const std::vector<TKelEventScriptLine>& stored,
                                          const std::function<void(TCommandDialogModel&)>& change) {
        const TCommandForm* form = FindCommandForm(code);
        EXPECT_NE(form, nullptr) << code;
        if (form == nullptr)
            return {};
        TKelEventScriptList lines;
        Fill(lines, stored);
        TCommandDialogModel model(*form, context);
        model.Load(lines);
        change(model);
        lost = model.LostBodies();
        TKelEventScriptList out;
        model.Write(out);
        return LinesOf(out);
    }
    void ExpectRenders(const TKelEventScriptList& lines, std::int32_t code) const {
        for (int i = 0; i < lines.Count(); ++i)
            EXPECT_NE(conv.RenderSafely(*lines.Lines(i)), kCorrupt) << code << " line " << i;
    }

    // Gives every enabled field, in order, a value other than the one it shows.
    static void ChangeEveryField(TCommandDialogModel& model) {
        TFieldBinding& binding = model.Binding();
        for (std::size_t i = 0; i < binding.Count(); ++i) {
            const TFieldSpec& field = binding.Field(i);
            if (!field.HasValue() || !field.Set || !binding.Enabled(i))
                continue;
            const std::int32_t now = binding.Number(i);
            switch (field.Kind) {
            case TFieldKind::Number: binding.SetValue(i, now != field.Max ? field.Max : field.Min); break;
            case TFieldKind::Check: binding.SetValue(i, now != 0 ? 0 : 1); break;
            case TFieldKind::RadioGroup:
            case TFieldKind::DropDown:
                for (int choice = field.Max; choice >= 0; --choice)
                    if (choice != now && binding.SetValue(i, choice))
                        break;
                break;
            case TFieldKind::IdList: {
                const std::vector<TFieldChoice> items = binding.Items(i);
                if (!items.empty())
                    binding.SetValue(i, items.back().Id != now ? items.back().Id : items.front().Id);
                break;
            }
            case TFieldKind::Switch:
            case TFieldKind::Variable: binding.SetValue(i, now != 2 ? 2 : 1); break;
            case TFieldKind::Text:
            case TFieldKind::Resource: binding.SetValue(i, std::string("Ab")); break;
            case TFieldKind::MultiLineText: binding.SetValue(i, std::string("Ab\nCd")); break;
            default: break;
            }
        }
    }

    TEventCommandContext context;
    std::vector<TBodyKey> lost;
};

TEST_F(CommandDialogs, EveryDialogWritesItsCountedParametersAndGivesUnchangedLinesBack) {
    for (const TCommandForm& form : CommandForms()) {
        SCOPED_TRACE(testing::Message() << "code " << form.Code);
        const auto counted = kParamCounts.find(form.Code);
        ASSERT_NE(counted, kParamCounts.end()) << "a dialog for a command that has none";
        EXPECT_EQ(form.ParamCount, counted->second);
        const TEventCommandInfo* info = FindEventCommand(form.Code);
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->HasDialog);

        // A new command as the dialog's OK writes it.
        TCommandDialogModel model(form, context);
        model.Load({});
        TKelEventScriptList fresh;
        model.Write(fresh);
        ASSERT_GT(fresh.Count(), 0);
        EXPECT_EQ(fresh.Lines(0)->Code, form.Code);
        EXPECT_EQ(fresh.Lines(0)->Indent, 0);
        if (kWithTail.count(form.Code) != 0)
            EXPECT_GE(fresh.Lines(0)->ParamCount(), counted->second);
        else
            EXPECT_EQ(fresh.Lines(0)->ParamCount(), counted->second);
        ExpectRenders(fresh, form.Code);

        // Other values in range: loaded and written without a change, the same lines.
        TCommandDialogModel changing(form, context);
        changing.Load(fresh);
        ChangeEveryField(changing);
        TKelEventScriptList changed;
        changing.Write(changed);
        ExpectRenders(changed, form.Code);
        const std::vector<TKelEventScriptLine> written = LinesOf(changed);
        EXPECT_EQ(Edit(form.Code, written, [](TCommandDialogModel&) {}), written);
        EXPECT_NE(written, LinesOf(fresh)) << "no field took another value";

        // Values no field offers survive an edit that does not touch them, where the options
        // use the parameter (one that an enabled field shows); an unused one may be written as 0.
        TKelEventScriptList before;
        Fill(before, written);
        for (int p = 0; p < counted->second; ++p) {
            std::vector<TKelEventScriptLine> stored = written;
            stored[0].SetParam(p, 31337);
            // Whether an enabled field shows the parameter, asked of the record itself.
            TCommandDialogModel probe(form, context);
            probe.Load(before);
            std::vector<TFieldValue> shownBefore;
            for (std::size_t f = 0; f < probe.Binding().Count(); ++f)
                shownBefore.push_back(probe.Binding().Value(f));
            probe.Record().SetParam(static_cast<std::size_t>(p), 31337);
            bool used = false;
            for (std::size_t f = 0; f < probe.Binding().Count() && !used; ++f)
                used = probe.Binding().Field(f).HasValue() && probe.Binding().Enabled(f) &&
                       probe.Binding().Value(f) != shownBefore[f];
            const std::vector<TKelEventScriptLine> back = Edit(form.Code, stored, [](TCommandDialogModel&) {});
            ASSERT_FALSE(back.empty());
            if (used)
                EXPECT_EQ(back[0].Param(p), 31337) << "p" << p;
            else
                EXPECT_TRUE(back[0].Param(p) == 31337 || back[0].Param(p) == 0) << "p" << p;
        }
    }
}

TEST_F(CommandDialogs, MessageLinesAndTheirLineBreaks) {
    const std::vector<TKelEventScriptLine> six = {
        MakeLine(ToInt(TCommandCode::ShowMessage), {}, "1"),      MakeLine(ToInt(TCommandCode::MessageLine), {}, "2"), MakeLine(ToInt(TCommandCode::MessageLine), {}, "3"),
        MakeLine(ToInt(TCommandCode::MessageLine), {}, "4"),  MakeLine(ToInt(TCommandCode::MessageLine), {}, "5"), MakeLine(ToInt(TCommandCode::MessageLine), {}, "6")};
    EXPECT_EQ(Edit(ToInt(TCommandCode::ShowMessage), six, [](TCommandDialogModel&) {}), six) << "a message keeps every line it has";
    const auto typed = Edit(ToInt(TCommandCode::ShowMessage), {MakeLine(ToInt(TCommandCode::ShowMessage))}, [&](TCommandDialogModel& m) {
        Set(m, "text", std::string("Hello\r\n\nWorld\n"));
    });
    EXPECT_EQ(typed, (std::vector<TKelEventScriptLine>{MakeLine(ToInt(TCommandCode::ShowMessage), {}, "Hello"),
                                                        MakeLine(ToInt(TCommandCode::MessageLine), {}, ""),
                                                        MakeLine(ToInt(TCommandCode::MessageLine), {}, "World")}));
    const auto cut = Edit(ToInt(TCommandCode::Comment), {MakeLine(ToInt(TCommandCode::Comment))}, [&](TCommandDialogModel& m) {
        Set(m, "text", std::string("a\nb\nc\nd\ne"));
    });
    EXPECT_EQ(cut.size(), 4u) << "the memo holds four lines";
    EXPECT_EQ(cut.back(), MakeLine(ToInt(TCommandCode::CommentLine), {}, "d"));
}

TEST_F(CommandDialogs, ForkKeepsItsBodiesWhenItsConditionChanges) {
    const std::vector<TKelEventScriptLine> fork = {
        MakeLine(ToInt(TCommandCode::ConditionalBranch), {0, 1, 0, 0, 0, 1}), MakeLine(11410, {5}, "", 1), MakeLine(10210, {0, 3, 0, 0}, "", 1),
        MakeLine(11410, {7}, "", 1),          MakeLine(ToInt(TCommandCode::Empty), {}, "", 1), MakeLine(ToInt(TCommandCode::BranchElse)),
        MakeLine(12420, {}, "", 1),           MakeLine(ToInt(TCommandCode::Empty), {}, "", 1), MakeLine(ToInt(TCommandCode::BranchEnd))};
    std::vector<TKelEventScriptLine> expected = fork;
    expected[0].SetParam(1, 2);
    EXPECT_EQ(Edit(ToInt(TCommandCode::ConditionalBranch), fork, [&](TCommandDialogModel& m) { Set(m, "switch", std::int32_t{2}); }), expected);
    EXPECT_TRUE(lost.empty());

    const auto noElse = Edit(ToInt(TCommandCode::ConditionalBranch), fork, [&](TCommandDialogModel& m) { Set(m, "else", std::int32_t{0}); });
    EXPECT_EQ(noElse.size(), 6u);
    EXPECT_EQ(noElse.back(), MakeLine(ToInt(TCommandCode::BranchEnd)));
    EXPECT_EQ(lost, (std::vector<TBodyKey>{{ToInt(TCommandCode::BranchElse), 0}}));

    // A switch condition leaves the variable comparison's parameters unused: written as 0.
    const auto toSwitch = Edit(ToInt(TCommandCode::ConditionalBranch), {MakeLine(ToInt(TCommandCode::ConditionalBranch), {1, 3, 0, 10, 2, 0}), MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),
                                        MakeLine(ToInt(TCommandCode::BranchEnd))},
                               [&](TCommandDialogModel& m) { Set(m, "kind", std::int32_t{0}); });
    ASSERT_FALSE(toSwitch.empty());
    EXPECT_EQ(toSwitch[0], MakeLine(ToInt(TCommandCode::ConditionalBranch), {0, 3, 0, 0, 0, 0}));
}

TEST_F(CommandDialogs, ChoicesKeepTheirBodiesByIndex) {
    // Three choices and a cancel case; the first and the cancel bodies hold commands.
    const std::vector<TKelEventScriptLine> choices = {
        MakeLine(ToInt(TCommandCode::ShowChoices), {5}, "A/B/C"),    MakeLine(ToInt(TCommandCode::ChoiceCase), {0}, "A"), MakeLine(11410, {1}, "", 1),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),             MakeLine(ToInt(TCommandCode::ChoiceCase), {1}, "B"), MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),
        MakeLine(ToInt(TCommandCode::ChoiceCase), {2}, "C"),         MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),     MakeLine(ToInt(TCommandCode::ChoiceCase), {4}),
        MakeLine(12420, {}, "", 1),               MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),     MakeLine(ToInt(TCommandCode::ChoiceEnd))};
    const auto four = Edit(ToInt(TCommandCode::ShowChoices), choices, [&](TCommandDialogModel& m) { Set(m, "choice4", std::string("D")); });
    std::vector<TKelEventScriptLine> expected = choices;
    expected[0].Text = "A/B/C/D";
    expected.insert(expected.begin() + 8, {MakeLine(ToInt(TCommandCode::ChoiceCase), {3}, "D"), MakeLine(ToInt(TCommandCode::Empty), {}, "", 1)});
    EXPECT_EQ(four, expected) << "the cancel body stays the cancel's";

    // Without a cancel case, then asking for one: its body is one empty line.
    std::vector<TKelEventScriptLine> plain(choices.begin(), choices.begin() + 8);
    plain[0].SetParam(0, 0);
    plain.push_back(MakeLine(ToInt(TCommandCode::ChoiceEnd)));
    const auto added = Edit(ToInt(TCommandCode::ShowChoices), plain, [&](TCommandDialogModel& m) { Set(m, "cancel", std::int32_t{5}); });
    std::vector<TKelEventScriptLine> withCancel = plain;
    withCancel[0].SetParam(0, 5);
    withCancel.insert(withCancel.end() - 1, {MakeLine(ToInt(TCommandCode::ChoiceCase), {4}), MakeLine(ToInt(TCommandCode::Empty), {}, "", 1)});
    EXPECT_EQ(added, withCancel);

    // A cancel choice beyond the written choices cannot be picked.
    const TCommandForm* form = FindCommandForm(ToInt(TCommandCode::ShowChoices));
    ASSERT_NE(form, nullptr);
    TCommandDialogModel::ForgetRemembered();
    TCommandDialogModel model(*form, context);
    model.Load({});
    Set(model, "choice1", std::string("Yes"));
    Set(model, "choice3", std::string("Maybe"));
    const std::size_t cancel = Field(*form, "cancel");
    EXPECT_TRUE(model.Binding().ChoiceEnabled(cancel, 3));
    EXPECT_FALSE(model.Binding().ChoiceEnabled(cancel, 4));
    EXPECT_FALSE(model.Binding().SetValue(cancel, std::int32_t{4}));
    TKelEventScriptList out;
    model.Write(out);
    EXPECT_EQ(LinesOf(out), (std::vector<TKelEventScriptLine>{
                                MakeLine(ToInt(TCommandCode::ShowChoices), {0}, "Yes//Maybe"), MakeLine(ToInt(TCommandCode::ChoiceCase), {0}, "Yes"),
                                MakeLine(ToInt(TCommandCode::Empty), {}, "", 1), MakeLine(ToInt(TCommandCode::ChoiceCase), {1}, ""),
                                MakeLine(ToInt(TCommandCode::Empty), {}, "", 1), MakeLine(ToInt(TCommandCode::ChoiceCase), {2}, "Maybe"),
                                MakeLine(ToInt(TCommandCode::Empty), {}, "", 1), MakeLine(ToInt(TCommandCode::ChoiceEnd))}));
}

TEST_F(CommandDialogs, BattleBranchesKeepTheirOwnBodies) {
    const std::vector<TKelEventScriptLine> battle = {
        MakeLine(ToInt(TCommandCode::StartBattle), {0, 1, 0, 2, 1, 0}), MakeLine(ToInt(TCommandCode::BattleVictory)), MakeLine(11410, {1}, "", 1),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),                  MakeLine(ToInt(TCommandCode::BattleEscape)),  MakeLine(11410, {2}, "", 1),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),                  MakeLine(ToInt(TCommandCode::BattleDefeat)),  MakeLine(11410, {3}, "", 1),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),                  MakeLine(ToInt(TCommandCode::BattleEnd))};
    const auto noEscape = Edit(ToInt(TCommandCode::StartBattle), battle, [&](TCommandDialogModel& m) { Set(m, "escape", std::int32_t{0}); });
    std::vector<TKelEventScriptLine> expected = battle;
    expected[0].SetParam(3, 0);
    expected.erase(expected.begin() + 4, expected.begin() + 7);
    EXPECT_EQ(noEscape, expected) << "the defeat body stays the defeat's";
    EXPECT_EQ(lost, (std::vector<TBodyKey>{{ToInt(TCommandCode::BattleEscape), 0}}));

    const auto alone = Edit(ToInt(TCommandCode::StartBattle), battle, [&](TCommandDialogModel& m) {
        Set(m, "escape", std::int32_t{1});
        Set(m, "defeat", std::int32_t{0});
    });
    EXPECT_EQ(alone, (std::vector<TKelEventScriptLine>{MakeLine(ToInt(TCommandCode::StartBattle), {0, 1, 0, 1, 0, 0})}));
    EXPECT_EQ(lost.size(), 3u);
}

TEST_F(CommandDialogs, ShopGoodsFollowTheShopType) {
    const std::vector<TKelEventScriptLine> shop = {MakeLine(ToInt(TCommandCode::CallShop), {0, 0, 0, 0, 1, 2})};
    EXPECT_EQ(Edit(ToInt(TCommandCode::CallShop), shop, [](TCommandDialogModel&) {}), shop);
    const auto sellOnly = Edit(ToInt(TCommandCode::CallShop), shop, [&](TCommandDialogModel& m) { Set(m, "type", std::int32_t{2}); });
    EXPECT_EQ(sellOnly, (std::vector<TKelEventScriptLine>{MakeLine(ToInt(TCommandCode::CallShop), {2, 0, 0, 0})}));
    const auto typed = Edit(ToInt(TCommandCode::CallShop), shop, [&](TCommandDialogModel& m) { Set(m, "goods", std::string("2, 1 2")); });
    EXPECT_EQ(typed, (std::vector<TKelEventScriptLine>{MakeLine(ToInt(TCommandCode::CallShop), {0, 0, 0, 0, 2, 1, 2})}));
    const TCommandForm* form = FindCommandForm(ToInt(TCommandCode::CallShop));
    ASSERT_NE(form, nullptr);
    TCommandDialogModel model(*form, context);
    EXPECT_FALSE(model.Binding().SetValue(Field(*form, "goods"), std::string("1,x")));
}

// Every button of both palettes builds its command without a window, with the counted
// parameters; the commands made through a selector take the selector's values by key.
TEST_F(CommandDialogs, EveryPaletteCommandBuildsWithItsCountedParameters) {
    using TValues = std::vector<std::pair<std::string, std::string>>;
    struct TSelected {
        std::int32_t Code;
        TValues Values;
        std::string Text;
        std::vector<std::int32_t> Params;
    };
    const TSelected selected[] = {
        {10680, {{"file", "Sys2"}, {"wallpaper", "1"}, {"font", "1"}}, "Sys2", {1, 1}},
        {10810, {{"map", "1"}, {"x", "4"}, {"y", "5"}}, "", {1, 4, 5}},
        {11330, {{"target", "10001"}, {"frequency", "5"}, {"repeat", "1"}, {"skippable", "1"}}, "", {10001, 5, 1, 1}},
        {11510, {{"file", "Town"}, {"fade", "2000"}, {"volume", "80"}, {"tempo", "120"}, {"balance", "30"}}, "Town",
         {2000, 80, 120, 30}},
        {11550, {{"file", "Door"}, {"volume", "90"}, {"tempo", "110"}, {"balance", "40"}}, "Door", {90, 110, 40}},
        {13210, {{"file", "Cave"}}, "Cave", {}},
    };
    std::set<std::int32_t> codes;
    for (const bool battle : {false, true}) {
        const TEvCmdPalette palette(battle);
        for (int button = 0; button < palette.ButtonCount(); ++button)
            codes.insert(palette.Code(button));
    }
    ASSERT_GT(codes.size(), 90u);
    for (const std::int32_t code : codes) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        const auto withKeys = std::find_if(std::begin(selected), std::end(selected),
                                           [code](const TSelected& s) { return s.Code == code; });
        const TValues values = withKeys != std::end(selected) ? withKeys->Values : TValues{};
        TKelEventScriptList lines;
        std::string error;
        ASSERT_TRUE(BuildCommandLines(code, values, context, lines, error)) << error;
        ASSERT_GT(lines.Count(), 0);
        const TKelEventScriptLine& head = *lines.Lines(0);
        EXPECT_EQ(head.Code, code);
        const auto counted = kParamCounts.find(code);
        const int count = counted != kParamCounts.end() ? counted->second : 0;
        if (kWithTail.count(code) != 0)
            EXPECT_GE(head.ParamCount(), count);
        else
            EXPECT_EQ(head.ParamCount(), count);
        if (withKeys != std::end(selected)) {
            EXPECT_EQ(head.Text, withKeys->Text);
            ASSERT_EQ(head.ParamCount(), static_cast<int>(withKeys->Params.size()));
            for (int p = 0; p < head.ParamCount(); ++p)
                EXPECT_EQ(head.Param(p), withKeys->Params[static_cast<std::size_t>(p)]) << "p" << p;
        }
        ExpectRenders(lines, code);
    }

    // What a selector would not offer is refused, and the result stays as it was.
    const std::pair<std::int32_t, TValues> refused[] = {
        {11510, {{"tempo", "151"}}},     {11550, {{"volume", "-1"}}}, {10680, {{"font", "2"}}},
        {10810, {{"x", "10000"}}}, {13210, {{"volume", "50"}}}, {11330, {{"frequency", "9"}}},
        {11550, {{"balance", "5x"}}},
    };
    for (const auto& [code, values] : refused) {
        TKelEventScriptList lines;
        lines.Add().Code = 11410;
        std::string error;
        EXPECT_FALSE(BuildCommandLines(code, values, context, lines, error)) << code << " " << values[0].first;
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(lines.Count(), 1);
        EXPECT_EQ(lines.Lines(0)->Code, 11410);
    }
}

}  // namespace
}  // namespace quillon::test
