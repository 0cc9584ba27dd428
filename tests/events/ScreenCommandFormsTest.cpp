// The screen, place and picture command dialogs where their descriptions hold rules of their own:
// the teleport transition kept, positions by variable, and options that clear what they leave
// unused.
#include "events/CommandForm.h"

#include "EventScriptTestFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quillon::test {
namespace {

using TValues = std::vector<std::pair<std::string, std::string>>;

class ScreenCommandForms : public EventScriptWorld {
protected:
    ScreenCommandForms() {
        TCommandDialogModel::ForgetRemembered();
        context.DataBase = &db;
        context.MapTree = &tree;
        context.Map = &map;
        context.EventId = 2;
        context.EventItem = &edited;
    }
    ~ScreenCommandForms() override { TCommandDialogModel::ForgetRemembered(); }

    static const TCommandForm& Form(std::int32_t code) {
        const TCommandForm* form = FindCommandForm(code);
        if (!form)
            throw std::logic_error("no form for " + std::to_string(code));
        return *form;
    }
    static std::size_t FieldIndex(const TCommandForm& form, const std::string& widget) {
        for (std::size_t i = 0; i < form.Fields.Fields.size(); ++i)
            if (form.Fields.Fields[i].Widget == widget)
                return i;
        ADD_FAILURE() << "no field " << widget;
        return 0;
    }
    static std::vector<std::int32_t> Ids(const std::vector<TFieldChoice>& items) {
        std::vector<std::int32_t> ids;
        for (const TFieldChoice& item : items)
            ids.push_back(item.Id);
        return ids;
    }
    // The one line a command's dialog builds from its settings and the values given by key.
    TKelEventScriptLine Build(std::int32_t code, const TValues& values) {
        TKelEventScriptList out;
        std::string error;
        EXPECT_TRUE(BuildCommandLines(code, values, context, out, error)) << code << ": " << error;
        EXPECT_EQ(out.Count(), 1);
        return out.Count() > 0 ? *out.Lines(0) : TKelEventScriptLine();
    }

    TEventCommandContext context;
};

TEST_F(ScreenCommandForms, TheMapsTeleportTransitionIsOfferedOnlyWhileTheEditedLineHoldsIt) {
    const struct {
        std::int32_t Code;
        std::int32_t Last;
        const char* Name;
        const char* Thirteenth;
    } cases[] = {{11010, 20, "CreatMovePlace", "Hi-LowDiv"}, {11020, 19, "Set Move Place", "VerticalComb"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        TCommandDialogModel::ForgetRemembered();
        const TCommandForm& form = Form(c.Code);
        const std::size_t list = FieldIndex(form, "ComboTransition");

        TKelEventScriptList lines;
        lines.Add(std::make_unique<TKelEventScriptLine>(MakeLine(c.Code, {-1})));
        TCommandDialogModel model(form, context);
        model.Load(lines);
        std::vector<TFieldChoice> items = model.Binding().Items(list);
        ASSERT_EQ(items.size(), static_cast<std::size_t>(c.Last + 2));
        EXPECT_EQ(items.back().Id, -1);
        EXPECT_EQ(items.back().Name, c.Name);
        // Captions lose their padding, and a name cut inside a double-byte character its stray byte.
        EXPECT_EQ(items[13].Name, c.Thirteenth);

        // Unchanged, the line keeps the transition and its one parameter.
        TKelEventScriptList out;
        model.Write(out);
        ASSERT_EQ(out.Count(), 1);
        EXPECT_EQ(out.Lines(0)->Params(), (std::vector<std::int32_t>{-1}));

        // Another one chosen: the row stays while the dialog is open, and it can be chosen back.
        model.Load(lines);
        ASSERT_TRUE(model.Binding().SetValue(list, std::int32_t{3}));
        EXPECT_EQ(Ids(model.Binding().Items(list)).back(), -1);
        model.Write(out);
        EXPECT_EQ(out.Lines(0)->Params(), (std::vector<std::int32_t>{3}));

        // A new command, even after that OK, offers only the listed transitions and takes no -1.
        TCommandDialogModel fresh(form, context);
        fresh.Load({});
        std::vector<std::int32_t> expected;
        for (std::int32_t i = 0; i <= c.Last; ++i)
            expected.push_back(i);
        EXPECT_EQ(Ids(fresh.Binding().Items(list)), expected);
        std::string error;
        EXPECT_FALSE(fresh.Binding().SetByKey("transition", "-1", error));
    }
}

TEST_F(ScreenCommandForms, BuiltLinesRenderTheirSettings) {
    conv.DataBase = &db;
    const struct {
        std::int32_t Code;
        TValues Values;
        const char* Text;
    } cases[] = {
        {11110,
         {{"text", "Sun"}, {"picture", "7"}, {"position", "1"}, {"position-x-variable", "3"}, {"position-y-variable", "4"}},
         "<>Show Picture: ID:7 Sun (V[0003],V[0004])"},
        {11110, {{"text", "Sun"}, {"position-x", "-640"}, {"position-y", "720"}}, "<>Show Picture: ID:1 Sun (-640,720)"},
        {11030,
         {{"tone-red", "50"}, {"tone-chroma", "0"}, {"time", "15"}, {"time-wait", "1"}},
         "<>Set Screen Tone: RGB(050,100,100),C(000),1.5sec (Wait)"},
        {11120, {{"picture", "50"}, {"time", "1000"}}, "<>Move Picture: ID:50 (160,120), 100.0sec"},
        {10850,
         {{"vehicle", "2"}, {"place", "1"}, {"place-map-variable", "5"}},
         "<>Teleport Vehicle: Airship V[0005] (V[0001],V[0001])"},
        {10850, {{"place-fixed", "1,12,34"}}, "<>Teleport Vehicle: Boat 0001:Town (012,034)"},
        {10910, {{"position", "1"}, {"position-x-variable", "2"}, {"position-y-variable", "9"}},
         "<>Get Terrain ID: (V[0002],V[0009]) Var[0001:Gold]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TCommandDialogModel::ForgetRemembered();
        const TKelEventScriptLine line = Build(c.Code, c.Values);
        EXPECT_EQ(line.ParamCount(), Form(c.Code).ParamCount);
        EXPECT_EQ(conv.RenderLine(line), c.Text);
    }
}

TEST_F(ScreenCommandForms, AnOptionClearsTheSettingsItLeavesUnusedAndFillsTheOnesItNeeds) {
    const struct {
        std::int32_t Code;
        TValues Values;
        std::vector<std::int32_t> Params;
    } cases[] = {
        // Pan by 3 cells left, then only fixed: the pan's settings go.
        {11060, {{"operation", "2"}, {"direction", "3"}, {"distance", "3"}, {"wait", "1"}, {"operation", "0"}},
         {0, 0, 0, 0, 0}},
        {11060, {{"operation", "2"}}, {2, 0, 1, 4, 0}},
        {11060, {{"operation", "2"}, {"direction", "1"}, {"speed", "6"}, {"operation", "3"}}, {3, 0, 0, 6, 0}},
        {11070, {{"weather", "2"}, {"strength", "2"}, {"weather", "0"}}, {0, 0}},
        {11130, {}, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        TCommandDialogModel::ForgetRemembered();
        EXPECT_EQ(Build(c.Code, c.Values).Params(), c.Params);
    }

    // A picture's effect strength is 0 without an effect; its centre restarts with the kind.
    TCommandDialogModel::ForgetRemembered();
    std::vector<std::int32_t> picture = Build(11110, {{"effect", "2"}}).Params();
    EXPECT_EQ(picture[12], 2);
    EXPECT_EQ(picture[13], 5);
    picture = Build(11110, {{"strength", "9"}, {"effect", "0"}}).Params();
    EXPECT_EQ(picture[13], 0);
    picture = Build(11110, {{"position-x", "5"}, {"position", "1"}}).Params();
    EXPECT_EQ(std::vector<std::int32_t>(picture.begin() + 1, picture.begin() + 4), (std::vector<std::int32_t>{1, 1, 1}));
}

}  // namespace
}  // namespace quillon::test
