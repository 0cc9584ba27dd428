// The party command dialogs where their descriptions carry logic of their own: lines built from
// settings render as the lists show them, the operand kinds of "Variable Management" enable
// their own fields, the timer's minutes and seconds share one parameter, the transitions follow
// the scene, and the system music comes back from its chooser whole.
#include "data/LD_System.h"
#include "events/CommandForm.h"
#include "EventScriptTestFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quillon::test {
namespace {

using TKeyValues = std::vector<std::pair<std::string, std::string>>;

class FakeChoosers : public IEventChoosers {
public:
    bool ChooseSwitch(std::int32_t&) override { return false; }
    bool ChooseVariable(std::int32_t&) override { return false; }
    bool ChooseResource(TSelKind, std::string&, std::int32_t*, const std::string&) override { return false; }
    bool ChooseEventGraphic(std::string&, std::int32_t&, std::int32_t&, std::int32_t&) override { return false; }
    bool ChooseMusic(TKelMusic& music, const std::string&) override {
        offered = {music.Name, music.FadeIn, music.Volume, music.Tempo, music.Balance};
        music.Name = "Battle2";
        music.FadeIn = 2000;
        music.Volume = 80;
        music.Tempo = 120;
        music.Balance = 30;
        return true;
    }
    bool ChooseSound(TKelSound&, const std::string&) override { return false; }
    void ListenToMusic() override {}
    bool EditMoveRoute(TMoveRouteRequest&, const TEventCommandContext&) override { return false; }
    bool ChoosePlace(TMapPlaceRequest&) override { return false; }
    bool DataBaseChanged() const override { return false; }

    struct TOffered {
        std::string Name;
        std::int32_t FadeIn = -1, Volume = -1, Tempo = -1, Balance = -1;
    } offered;
};

class PartyCommandForms : public EventScriptWorld {
protected:
    PartyCommandForms() {
        TCommandDialogModel::ForgetRemembered();
        context.DataBase = &db;
        context.MapTree = &tree;
        context.Map = &map;
        context.EventId = 2;
        context.EventItem = &edited;
        context.Choosers = &choosers;
    }
    ~PartyCommandForms() override { TCommandDialogModel::ForgetRemembered(); }

    static std::size_t FieldIndex(const TFieldBinding& binding, const std::string& widget) {
        for (std::size_t i = 0; i < binding.Count(); ++i)
            if (binding.Field(i).Widget == widget)
                return i;
        ADD_FAILURE() << "no field " << widget;
        return 0;
    }

    FakeChoosers choosers;
    TEventCommandContext context;
};

TEST_F(PartyCommandForms, BuiltLinesCarryTheirParametersAndRenderAsListed) {
    struct TCase {
        std::int32_t Code;
        TKeyValues Values;
        std::vector<std::int32_t> Params;
        std::string Text;
        std::string Rendered;
    };
    const std::vector<TCase> cases = {
        {10220,
         {{"target", "1"}, {"from", "3"}, {"to", "7"}, {"operation", "1"}, {"operand", "0"}, {"value", "5"}},
         {1, 3, 7, 1, 0, 5, 0},
         "",
         "<>Change Variable: [0003 to 0007] +  5"},
        {10220,
         {{"variable", "2"}, {"operation", "3"}, {"operand", "3"}, {"min", "-4"}, {"max", "9"}},
         {0, 2, 0, 3, 3, -4, 9},
         "",
         "<>Change Variable: Var[0002] * Random(-4 to 9)"},
        {10230,
         {{"operation", "0"}, {"timekind", "0"}, {"minutes", "2"}, {"seconds", "5"}},
         {0, 0, 125, 0, 0},
         "",
         "<>Timer Operation: Set: 02:05"},
        // Seconds first: the minutes keep them.
        {10230,
         {{"seconds", "5"}, {"minutes", "2"}},
         {0, 0, 125, 0, 0},
         "",
         "<>Timer Operation: Set: 02:05"},
        {10230,
         {{"operation", "1"}, {"display", "1"}, {"battle", "1"}},
         {1, 0, 0, 1, 1},
         "",
         "<>Timer Operation: Start"},
        {10210,
         {{"target", "0"}, {"switch", "1"}, {"operation", "2"}},
         {0, 1, 0, 2},
         "",
         "<>Change Switch: Var[0001:Door] Toggle Switch"},
        // What the chosen options leave unused is written as 0.
        {10230,
         {{"minutes", "2"}, {"operation", "1"}, {"display", "1"}},
         {1, 0, 0, 1, 0},
         "",
         "<>Timer Operation: Start"},
        {10220,
         {{"operand", "4"}, {"itemvalue", "1"}, {"item", "2"}, {"operand", "7"}, {"other", "2"}},
         {0, 1, 0, 0, 7, 2, 0},
         "",
         "<>Change Variable: Var[0001:Gold] = Size of Party"},
        {10500,
         {{"who", "1"}, {"who-hero", "2"}, {"attack", "50"}, {"variable", "4"}, {"tovariable", "0"}},
         {1, 2, 50, 0, 0, 0, 0, 0},
         "",
         "<>Take Damage: Brian, Damage(50)"},
        {10410,
         {{"who-hero", "2"}, {"who", "0"}, {"operation", "1"}, {"amount-value", "300"}, {"message", "1"}},
         {0, 0, 1, 0, 300, 0},
         "",
         "<>Change EXP: [All Members]'s EXP 300 (Remove)"},
        {10450,
         {{"who", "2"}, {"who-variable", "3"}, {"item", "2"}, {"operation", "1"}, {"slot", "5"}},
         {2, 3, 1, 5, 0},
         "",
         "<>Equipment: Var[0003],  [All], Remove Equipment"},
        {10320,
         {{"itemkind", "1"}, {"itemvar", "4"}, {"amount", "1"}, {"amount-variable", "6"}},
         {0, 1, 4, 1, 6},
         "",
         "<>Add/Drop Items: (Var[0004]) Var[0006] (Add)"},
        {10690, {{"scene", "2"}, {"erase", "20"}}, {2, 20}, "", "<>Change Screen Transition: Battle Start/Erase Leave     "},
        {10690, {{"scene", "5"}, {"show", "19"}}, {5, 19}, "", "<>Change Screen Transition: Battle End/Show Instant "},
        {10660,
         {{"situation", "2"}, {"music", "Town"}},
         {2, 0, 100, 100, 50},
         "Town",
         "<>Change System Music: (Inn) Town "},
        {10670,
         {{"situation", "11"}, {"sound", "Bell"}},
         {11, 100, 100, 50},
         "Bell",
         "<>Change System Sound: (Item Use) Bell "},
        {10620, {{"hero", "2"}, {"degree", "Knight"}}, {2}, "Knight", "<>Change Hero Degree: Brian's Degree =Knight "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.Code << ", first key " << c.Values.front().first);
        TCommandDialogModel::ForgetRemembered();
        TKelEventScriptList lines;
        std::string error;
        ASSERT_TRUE(BuildCommandLines(c.Code, c.Values, context, lines, error)) << error;
        ASSERT_EQ(lines.Count(), 1);
        const TKelEventScriptLine& line = *lines.Lines(0);
        EXPECT_EQ(line.Code, c.Code);
        EXPECT_EQ(line.Params(), c.Params);
        EXPECT_EQ(line.Text, c.Text);
        EXPECT_EQ(conv.RenderLine(line), c.Rendered);
    }
}

TEST_F(PartyCommandForms, SettingsThatNameNothingAreRefused) {
    const std::vector<std::pair<std::int32_t, TKeyValues>> cases = {
        {10210, {{"target", "1"}, {"from", "9"}, {"to", "3"}}},
        {10220, {{"target", "1"}, {"from", "9"}, {"to", "3"}}},
        {10220, {{"operand", "3"}, {"min", "10"}, {"max", "2"}}},
        // "Leave" erases only: a scene that shows the screen has no such transition.
        {10690, {{"scene", "3"}, {"erase", "20"}}},
        {10690, {{"scene", "3"}, {"show", "20"}}},
    };
    for (const auto& [code, values] : cases) {
        TKelEventScriptList lines;
        std::string error;
        EXPECT_FALSE(BuildCommandLines(code, values, context, lines, error)) << "code " << code;
        EXPECT_FALSE(error.empty()) << "code " << code;
    }
}

TEST_F(PartyCommandForms, EachOperandKindEnablesItsOwnFields) {
    const std::vector<std::string> operandFields = {
        "SpinValue",   "VariableOperand", "SpinRandomMin",  "SpinRandomMax",       "ComboItem",  "ComboItemValue",
        "ComboHero",   "ComboHeroValue",  "ComboCharacter", "ComboCharacterValue", "ComboOther", "ComboEnemy",
        "ComboEnemyValue"};
    const std::vector<std::set<std::string>> enabledByKind = {
        {"SpinValue"},
        {"VariableOperand"},
        {"VariableOperand"},
        {"SpinRandomMin", "SpinRandomMax"},
        {"ComboItem", "ComboItemValue"},
        {"ComboHero", "ComboHeroValue"},
        {"ComboCharacter", "ComboCharacterValue"},
        {"ComboOther"},
        {"ComboEnemy", "ComboEnemyValue"},
    };
    context.MonsterGroup = &troop;
    TCommandDialogModel model(*FindCommandForm(10220), context);
    model.Load(TKelEventScriptList());
    TFieldBinding& binding = model.Binding();
    const std::size_t operand = FieldIndex(binding, "RadioOperand");
    for (std::int32_t kind = 0; kind < static_cast<std::int32_t>(enabledByKind.size()); ++kind) {
        binding.SetValue(operand, kind);
        ASSERT_EQ(model.Record().Param(4), kind);
        for (const std::string& widget : operandFields)
            EXPECT_EQ(binding.Enabled(FieldIndex(binding, widget)), enabledByKind[kind].count(widget) == 1)
                << "kind " << kind << ", " << widget;
    }
}

TEST_F(PartyCommandForms, EnemiesAreOperandsOnlyOnBattlePages) {
    for (const bool battlePage : {false, true}) {
        context.MonsterGroup = battlePage ? &troop : nullptr;
        TCommandDialogModel model(*FindCommandForm(10220), context);
        model.Load(TKelEventScriptList());
        const std::size_t operand = FieldIndex(model.Binding(), "RadioOperand");
        EXPECT_EQ(model.Binding().ChoiceEnabled(operand, 8), battlePage);
        EXPECT_TRUE(model.Binding().ChoiceEnabled(operand, 7));
    }
}

TEST_F(PartyCommandForms, TransitionListFollowsWhetherTheSceneErasesOrShows) {
    TCommandDialogModel model(*FindCommandForm(10690), context);
    model.Load(TKelEventScriptList());
    TFieldBinding& binding = model.Binding();
    const std::size_t scene = FieldIndex(binding, "ComboScene");
    const std::size_t erase = FieldIndex(binding, "ComboErase");
    const std::size_t show = FieldIndex(binding, "ComboShow");
    EXPECT_EQ(binding.Field(erase).Choices.size(), 21u);  // "Leave" erases only
    EXPECT_EQ(binding.Field(show).Choices.size(), 20u);
    for (std::int32_t s = 0; s < 6; ++s) {
        binding.SetValue(scene, s);
        EXPECT_EQ(binding.Enabled(erase), s % 2 == 0) << "scene " << s;
        EXPECT_EQ(binding.Enabled(show), s % 2 == 1) << "scene " << s;
    }
}

TEST_F(PartyCommandForms, SystemMusicComesBackFromItsChooserWhole) {
    TCommandDialogModel model(*FindCommandForm(10660), context);
    model.Load(TKelEventScriptList());
    ASSERT_TRUE(model.Binding().Choose(FieldIndex(model.Binding(), "DashMusic")));
    // A new command offers the chooser no music at the usual settings.
    EXPECT_EQ(choosers.offered.Name, kSoundOff);
    EXPECT_EQ(choosers.offered.FadeIn, 0);
    EXPECT_EQ(choosers.offered.Volume, 100);
    EXPECT_EQ(choosers.offered.Tempo, 100);
    EXPECT_EQ(choosers.offered.Balance, 50);

    TKelEventScriptList lines;
    model.Write(lines);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Lines(0)->Text, "Battle2");
    EXPECT_EQ(lines.Lines(0)->Params(), (std::vector<std::int32_t>{0, 2000, 80, 120, 30}));
}

}  // namespace
}  // namespace quillon::test
