// The command form engine on descriptions made here: key naming, composite enabling, defaults,
// remembered settings, and bodies kept across an edit.
#include "events/CommandForm.h"

#include "EventScriptTestFixture.h"
#include "events/EventCommands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quillon::test {
namespace {

class CommandFormEngine : public EventScriptWorld {
protected:
    CommandFormEngine() {
        TCommandDialogModel::ForgetRemembered();
        context.DataBase = &db;
        context.MapTree = &tree;
        context.Map = &map;
        context.EventId = 2;
        context.EventItem = &edited;
    }
    ~CommandFormEngine() override { TCommandDialogModel::ForgetRemembered(); }

    static std::vector<TKelEventScriptLine> LinesOf(const TKelEventScriptList& list) {
        std::vector<TKelEventScriptLine> lines;
        for (int i = 0; i < list.Count(); ++i)
            lines.push_back(*list.Lines(i));
        return lines;
    }
    static void Fill(TKelEventScriptList& list, const std::vector<TKelEventScriptLine>& lines) {
        list.Clear();
        for (const TKelEventScriptLine& line : lines)
            list.Add(std::make_unique<TKelEventScriptLine>(line));
    }
    static std::size_t FieldIndex(const TCommandForm& form, const std::string& widget) {
        for (std::size_t i = 0; i < form.Fields.Fields.size(); ++i)
            if (form.Fields.Fields[i].Widget == widget)
                return i;
        ADD_FAILURE() << "no field " << widget;
        return 0;
    }

    // An inn-like command: p2 asks for the rest and cancel branches.
    static TCommandForm BranchForm() {
        TCommandFormBuilder b(TCommandCode::CallInn, 3);
        b.Spin("SpinPrice", "Price", 1, 0, 999).Default(10);
        b.Check("CheckFork", "Fork", 2);
        b.Blocks([](const TCommandRecord& r) {
            std::vector<TBlockPart> parts;
            if (r.Param(2) != 0) {
                parts.push_back({ToInt(TCommandCode::InnRest), "", {}, true, {ToInt(TCommandCode::InnRest), 0}});
                parts.push_back({ToInt(TCommandCode::InnCancel), "", {}, true, {ToInt(TCommandCode::InnCancel), 0}});
                parts.push_back({ToInt(TCommandCode::InnEnd), "", {}, false, {}});
            }
            return parts;
        });
        return b.Build();
    }

    TEventCommandContext context;
};

TEST_F(CommandFormEngine, KeysFollowTheParameterOrTheWidgetAndCompositesTheirPrefix) {
    TCommandFormBuilder b(TCommandCode::CallInn, 5);
    b.Radio("RadioKind", "Kind", 0, {"A", "B"});
    b.Spin("SpinValue", "Value", 1, 0, 99);
    b.Variable("VariableValue", "Variable", 1).When(0, {1});
    b.Amount("Gold", 2, 3, 0, 999).Key("gold").Default(7);
    b.Resource("DashFace", "Face", TSelKind::Face, 4);
    b.Group("GroupBox", "Box");
    const TCommandForm form = b.Build();

    std::map<std::string, std::string> keys;
    for (const TFieldSpec& field : form.Fields.Fields)
        keys[field.Widget] = field.Key;
    const std::map<std::string, std::string> expected = {
        {"RadioKind", "p0"},  {"SpinValue", "p1"},           {"VariableValue", "VariableValue"},
        {"Gold", "gold"},     {"GoldValue", "gold-value"},   {"GoldVariable", "gold-variable"},
        {"DashFace", "text"}, {"DashFaceIndex", "p4"},       {"GroupBox", ""},
    };
    EXPECT_EQ(keys, expected);

    TCommandDialogModel model(form, context);
    model.Load({});
    EXPECT_EQ(model.Record().P, (std::vector<std::int32_t>{0, 0, 0, 7, 0})) << "Default names the value, not the kind";
    TFieldBinding& binding = model.Binding();
    const std::size_t value = FieldIndex(form, "GoldValue");
    const std::size_t variable = FieldIndex(form, "GoldVariable");
    const std::size_t shared = FieldIndex(form, "VariableValue");
    EXPECT_TRUE(binding.Enabled(value));
    EXPECT_FALSE(binding.Enabled(variable));
    EXPECT_FALSE(binding.Enabled(shared));
    std::string error;
    ASSERT_TRUE(binding.SetByKey("gold", "1", error)) << error;
    ASSERT_TRUE(binding.SetByKey("p0", "1", error)) << error;
    EXPECT_FALSE(binding.Enabled(value));
    EXPECT_TRUE(binding.Enabled(variable));
    EXPECT_TRUE(binding.Enabled(shared));
    EXPECT_FALSE(binding.SetByKey("gold-value", "1000", error));
    EXPECT_FALSE(binding.SetByKey("p9", "1", error));
    ASSERT_TRUE(binding.SetByKey("text", "Face1", error)) << error;
    EXPECT_EQ(model.Record().Text, "Face1");
}

TEST_F(CommandFormEngine, RemembersOnlyWhatOkWrote) {
    const TCommandForm form = BranchForm();
    TKelEventScriptList out;
    {
        TCommandDialogModel model(form, context);
        model.Load({});
        EXPECT_EQ(model.Record().Param(1), 10);
        ASSERT_TRUE(model.Binding().SetValue(FieldIndex(form, "SpinPrice"), std::int32_t{42}));
        model.Write(out);
    }
    {
        // Changed and cancelled: nothing is remembered.
        TCommandDialogModel model(form, context);
        model.Load({});
        EXPECT_EQ(model.Record().Param(1), 42);
        ASSERT_TRUE(model.Binding().SetValue(FieldIndex(form, "SpinPrice"), std::int32_t{7}));
    }
    TCommandDialogModel again(form, context);
    again.Load({});
    EXPECT_EQ(again.Record().Param(1), 42);
    TCommandDialogModel::ForgetRemembered();
    again.Load({});
    EXPECT_EQ(again.Record().Param(1), 10);
}

TEST_F(CommandFormEngine, BodiesSurviveAnEditAndADroppedBranchIsReported) {
    const TCommandForm form = BranchForm();
    // As the lines stand in a script, two levels deep.
    const std::vector<TKelEventScriptLine> stored = {
        MakeLine(ToInt(TCommandCode::CallInn), {0, 5, 1}, "", 2), MakeLine(ToInt(TCommandCode::InnRest), {}, "", 2),
        MakeLine(11410, {10}, "", 3),         MakeLine(12010, {0, 1, 0, 0, 0, 0}, "", 3),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 4),          MakeLine(ToInt(TCommandCode::BranchEnd), {}, "", 3),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 3),          MakeLine(ToInt(TCommandCode::InnCancel), {}, "", 2),
        MakeLine(ToInt(TCommandCode::Empty), {}, "", 3),          MakeLine(ToInt(TCommandCode::InnEnd), {}, "", 2),
    };
    TKelEventScriptList lines;
    Fill(lines, stored);
    TCommandDialogModel model(form, context);
    model.Load(lines);
    EXPECT_TRUE(model.LostBodies().empty());
    TKelEventScriptList out;
    model.Write(out);
    std::vector<TKelEventScriptLine> rebased = stored;
    for (TKelEventScriptLine& line : rebased)
        line.Indent -= 2;
    EXPECT_EQ(LinesOf(out), rebased);

    ASSERT_TRUE(model.Binding().SetValue(FieldIndex(form, "CheckFork"), std::int32_t{0}));
    EXPECT_EQ(model.LostBodies(), (std::vector<TBodyKey>{{ToInt(TCommandCode::InnRest), 0}})) << "the empty cancel body is no loss";
    model.Write(out);
    EXPECT_EQ(LinesOf(out), (std::vector<TKelEventScriptLine>{MakeLine(ToInt(TCommandCode::CallInn), {0, 5, 0})}));

    // Turned on again in a new command: empty bodies.
    TCommandDialogModel fresh(form, context);
    fresh.Load({});
    ASSERT_TRUE(fresh.Binding().SetValue(FieldIndex(form, "CheckFork"), std::int32_t{1}));
    fresh.Write(out);
    EXPECT_EQ(LinesOf(out), (std::vector<TKelEventScriptLine>{
                                MakeLine(ToInt(TCommandCode::CallInn), {0, 5, 1}), MakeLine(ToInt(TCommandCode::InnRest)), MakeLine(ToInt(TCommandCode::Empty), {}, "", 1),
                                MakeLine(ToInt(TCommandCode::InnCancel)), MakeLine(ToInt(TCommandCode::Empty), {}, "", 1), MakeLine(ToInt(TCommandCode::InnEnd))}));
}

TEST_F(CommandFormEngine, CommandsWithoutAFormAreBuiltOnlyWithoutSettings) {
    TKelEventScriptList out;
    std::string error;
    ASSERT_TRUE(BuildCommandLines(12220, {}, context, out, error)) << error;
    EXPECT_EQ(LinesOf(out), (std::vector<TKelEventScriptLine>{MakeLine(12220)}));
    EXPECT_FALSE(BuildCommandLines(12220, {{"p0", "1"}}, context, out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out.Count(), 1) << "a refused build leaves the result";
    EXPECT_FALSE(BuildCommandLines(ToInt(TCommandCode::BranchEnd), {}, context, out, error));
}

}  // namespace
}  // namespace quillon::test
