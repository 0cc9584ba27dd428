// The commands edited through a selector only: where each selector opens, the line it builds,
// the teleport picker's first cell and the move route's way through the route editor.
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/EvCmdSelector.h"
#include "events/FakeEventChoosers.h"
#include "events/ScriptListTestKit.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using scriptkit::Fill;
using scriptkit::L;
using testkit::TFakeEventChoosers;

class EvCmdSelectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetSelectorCommandSettings();
        TKelMapTreeItem& first = tree.Obtain(1);
        first.Kind = TKelMapTreeItem::mkMap;
        first.ScrollX = 320;  // 10 cells across
        first.ScrollY = 64;   // 2 cells down
        tree.Obtain(2).Kind = TKelMapTreeItem::mkMap;
        tree.CurrentMapId = 1;
        map.SetWidth(25);
        map.SetHeight(12);
        event.X = 3;
        event.Y = 4;
        context.MapTree = &tree;
        context.Map = &map;
        context.Choosers = &choosers;
    }
    void TearDown() override { ForgetSelectorCommandSettings(); }

    std::vector<std::int32_t> Params(int line = 0) const { return result.Lines(line)->Params(); }

    TKelMapTree tree;
    TKelMap map;
    TKelEventItem event;
    TFakeEventChoosers choosers;
    TEventCommandContext context;
    TKelEventScriptList result;
};

TEST_F(EvCmdSelectorTest, TeleportOpensOnTheEditedPlaceTheEventsCellOrTheViewCentre) {
    struct Case {
        const char* what;
        std::vector<L> edited;
        bool withEvent;
        std::int32_t scrollX, scrollY;
        TMapPlaceRequest expected;
    };
    const Case cases[] = {
        {"the edited line wins over the event", {{10810, 0, {2, 5, 6}}}, true, 320, 64, {2, 5, 6}},
        {"the event's cell on the current map", {}, true, 320, 64, {1, 3, 4}},
        {"the view centre: scroll / 32 + (9, 7)", {}, false, 320, 64, {1, 19, 9}},
        {"the view centre kept on the map", {}, false, 3200, 3200, {1, 24, 11}},
        {"another command's line is not a place", {{11410, 0, {9}}}, false, 0, 0, {1, 9, 7}},
        {"a map that is not in the tree has no cell", {{10810, 0, {77, 5, 6}}}, true, 0, 0, {77, -1, -1}},
        {"map 0 has no cell", {{10810, 0, {0, 5, 6}}}, false, 0, 0, {0, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tree.ItemById(1)->ScrollX = c.scrollX;
        tree.ItemById(1)->ScrollY = c.scrollY;
        context.EventItem = c.withEvent ? &event : nullptr;
        Fill(result, c.edited);
        const TMapPlaceRequest place = InitialTeleportPlace(result, context);
        EXPECT_EQ(place.MapId, c.expected.MapId);
        EXPECT_EQ(place.X, c.expected.X);
        EXPECT_EQ(place.Y, c.expected.Y);
    }
    // Without a map tree there is no current map, hence no cell.
    context.MapTree = nullptr;
    context.EventItem = &event;
    result.Clear();
    const TMapPlaceRequest none = InitialTeleportPlace(result, context);
    EXPECT_EQ(none.MapId, 0);
    EXPECT_EQ(none.X, -1);
}

TEST_F(EvCmdSelectorTest, TeleportWritesThePickedPlaceAndCancelKeepsTheLine) {
    context.EventItem = &event;
    ASSERT_TRUE(RunSelectorCommand(10810, result, context));
    EXPECT_EQ(choosers.Place.MapId, 1);
    EXPECT_EQ(choosers.Place.X, 3);
    ASSERT_EQ(result.Count(), 1);
    EXPECT_EQ(result.Lines(0)->Code, 10810);
    EXPECT_EQ(Params(), (std::vector<std::int32_t>{3, 4, 5}));

    choosers.Answer = false;
    EXPECT_FALSE(RunSelectorCommand(10810, result, context));
    EXPECT_EQ(Params(), (std::vector<std::int32_t>{3, 4, 5}));
}

TEST_F(EvCmdSelectorTest, MoveRouteGoesThroughTheRouteEditorAndBack) {
    TMoveRouteRequest request;
    request.Target = 12;
    request.Frequency = 6;
    request.Route.Repeat = 1;
    request.Route.Skippable = 1;
    TKelMoveRouteItem up;  // code 0
    TKelMoveRouteItem on;
    on.Code = mcSwitchOn;
    on.SwitchId = 300;
    TKelMoveRouteItem sound;
    sound.Code = mcPlaySound;
    sound.SoundName = "Door";
    sound.SoundVolume = 80;
    sound.SoundTempo = 120;
    sound.SoundBalance = 30;
    for (const TKelMoveRouteItem& item : {up, on, sound})
        request.Route.Add(item);
    const TKelEventScriptLine line = MoveRouteLine(request);
    EXPECT_EQ(line.Code, 11330);
    EXPECT_GT(line.ParamCount(), 4 + 3);
    EXPECT_EQ(std::vector<std::int32_t>(line.Params().begin(), line.Params().begin() + 4),
              (std::vector<std::int32_t>{12, 6, 1, 1}));

    // The editor opens on the line and its OK adds a step: the line is the route plus the step.
    result.Clear();
    result.Add(std::make_unique<TKelEventScriptLine>(line));
    TKelMoveRouteItem right;
    right.Code = 1;
    choosers.EditRoute = [&](TMoveRouteRequest& r) {
        r.Route.Add(right);
        r.Frequency = 2;
    };
    ASSERT_TRUE(RunSelectorCommand(11330, result, context));
    EXPECT_TRUE(choosers.RouteCommandMode);
    EXPECT_EQ(choosers.RouteTarget, 12);
    EXPECT_EQ(choosers.RouteFrequency, 6);
    EXPECT_EQ(choosers.RouteRepeat, 1);
    EXPECT_EQ(choosers.RouteSkippable, 1);
    EXPECT_EQ(choosers.RouteItems, (std::vector<TKelMoveRouteItem>{up, on, sound}));
    TMoveRouteRequest back;
    MoveRouteOfLine(result, back);
    EXPECT_EQ(back.Frequency, 2);
    EXPECT_EQ(back.Route.ItemList(), (std::vector<TKelMoveRouteItem>{up, on, sound, right}));

    // A new command starts from the last target and frequency with an empty route run once.
    result.Clear();
    choosers.EditRoute = nullptr;
    ASSERT_TRUE(RunSelectorCommand(11330, result, context));
    EXPECT_EQ(choosers.RouteTarget, 12);
    EXPECT_EQ(choosers.RouteFrequency, 2);
    EXPECT_EQ(choosers.RouteRepeat, 0);
    EXPECT_TRUE(choosers.RouteItems.empty());
    EXPECT_EQ(result.Lines(0)->ParamCount(), 4);
}

TEST_F(EvCmdSelectorTest, ADamagedRouteOpensEmptyWithItsTargetKept) {
    TMoveRouteRequest request;
    TKelMoveRouteItem sound;
    sound.Code = mcPlaySound;
    sound.SoundName = "Door";
    request.Route.Add(sound);
    TKelEventScriptLine line = MoveRouteLine(request);
    line.SetParam(0, 10001);
    line.SetParamCount(line.ParamCount() - 2);  // cut inside the sound's fields
    result.Clear();
    result.Add(std::make_unique<TKelEventScriptLine>(line));
    ASSERT_TRUE(RunSelectorCommand(11330, result, context));
    EXPECT_EQ(choosers.RouteTarget, 10001);
    EXPECT_TRUE(choosers.RouteItems.empty());
    EXPECT_EQ(result.Lines(0)->ParamCount(), 4);
}

TEST_F(EvCmdSelectorTest, MusicAndSoundCarryTheirSettingsInTheLine) {
    Fill(result, {{11510, 0, {2000, 70, 130, 20}, "Town"}});
    choosers.EditMusic = [](TKelMusic& m) {
        m.Name = "Field";
        m.Volume = 40;
    };
    ASSERT_TRUE(RunSelectorCommand(11510, result, context));
    EXPECT_EQ(choosers.Music.Name, "Town");
    EXPECT_EQ(choosers.Music.FadeIn, 2000);
    EXPECT_EQ(choosers.Music.Tempo, 130);
    EXPECT_EQ(choosers.Music.Balance, 20);
    EXPECT_EQ(choosers.Caption, "Play BGM");
    EXPECT_EQ(result.Lines(0)->Text, "Field");
    EXPECT_EQ(Params(), (std::vector<std::int32_t>{2000, 40, 130, 20}));

    // Damaged settings reach the selector within its sliders' ranges.
    Fill(result, {{11550, 0, {900, 10, -5}, "Bell"}});
    choosers.EditSound = [](TKelSound& s) { s.Tempo = 60; };
    ASSERT_TRUE(RunSelectorCommand(11550, result, context));
    EXPECT_EQ(choosers.Sound.Name, "Bell");
    EXPECT_EQ(choosers.Sound.Volume, 100);
    EXPECT_EQ(choosers.Sound.Tempo, 50);
    EXPECT_EQ(choosers.Sound.Balance, 0);
    EXPECT_EQ(result.Lines(0)->Text, "Bell");
    EXPECT_EQ(Params(), (std::vector<std::int32_t>{100, 60, 0}));

    // A new command opens on the last one chosen.
    result.Clear();
    ASSERT_TRUE(RunSelectorCommand(11510, result, context));
    EXPECT_EQ(choosers.Music.Name, "Field");
    EXPECT_EQ(choosers.Music.Volume, 40);
}

TEST_F(EvCmdSelectorTest, ResourceCommandsOpenTheirSelectorUnderTheCommandsCaption) {
    struct Case {
        std::int32_t code;
        TSelKind kind;
        const char* caption;
        std::vector<std::int32_t> params;
    };
    const Case cases[] = {
        {10680, TSelKind::System, "Change System Graphics", {0, 1}},
        {13210, TSelKind::Backdrop, "Change Battle Background", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Fill(result, {{c.code, 0, c.params, "Old"}});
        ASSERT_TRUE(RunSelectorCommand(c.code, result, context));
        EXPECT_EQ(choosers.Kind, c.kind);
        EXPECT_EQ(choosers.Name, "Old");
        EXPECT_EQ(choosers.Caption, c.caption);
        ASSERT_EQ(result.Count(), 1);
        EXPECT_EQ(result.Lines(0)->Text, "Chosen");
        EXPECT_EQ(Params(), c.params);
    }
    // The system graphic's selector opens on the line's wallpaper and font (an out-of-range value
    // clipped) and writes what the user set there.
    Fill(result, {{10680, 0, {1, 7}, "Old"}});
    ASSERT_TRUE(RunSelectorCommand(10680, result, context));
    EXPECT_EQ(choosers.Options, (std::pair<std::int32_t, std::int32_t>{1, 1}));
    EXPECT_EQ(Params(), (std::vector<std::int32_t>{0, 1}));
    // Codes that are no selector commands, and a context without pickers, open nothing.
    result.Clear();
    choosers.Opened.clear();
    EXPECT_FALSE(IsSelectorCommand(10110));
    EXPECT_FALSE(RunSelectorCommand(10110, result, context));
    context.Choosers = nullptr;
    EXPECT_FALSE(RunSelectorCommand(13210, result, context));
    EXPECT_TRUE(choosers.Opened.empty());
    EXPECT_EQ(result.Count(), 0);
}

}  // namespace
}  // namespace quillon
