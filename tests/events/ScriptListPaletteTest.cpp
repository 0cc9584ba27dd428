#include "events/EvCmdList.h"
#include "events/EventCommands.h"
#include "events/ScriptListTestKit.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using namespace quillon::scriptkit;

namespace {

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override { TEvCmdPalette::ResetLastButtons(); }
    void TearDown() override { TEvCmdPalette::ResetLastButtons(); }
};

TEST_F(PaletteTest, EventPaletteHoldsTheNinetyNonBattleCommandsInThreeTabs) {
    const TEvCmdPalette palette(false);
    ASSERT_EQ(palette.ButtonCount(), 90);
    EXPECT_EQ(palette.TabCount(), 3);
    // The first and last button of each tab.
    const std::vector<std::tuple<int, std::int32_t, std::string>> ends = {
        {0, 10110, " Show Message..."},  {29, 10690, " Change Screen Transition..."},
        {30, 10710, " Start Battle..."}, {59, 11410, " Wait..."},
        {60, 11510, " Play BGM..."},     {89, 12510, " Go to Title Screen"}};
    for (const auto& [button, code, caption] : ends) {
        EXPECT_EQ(palette.Code(button), code) << button;
        EXPECT_EQ(palette.Caption(button), caption) << button;
        EXPECT_EQ(palette.ButtonOf(code), button);
    }
    std::set<std::int32_t> codes;
    for (int b = 0; b < palette.ButtonCount(); ++b) {
        const TEventCommandInfo* info = FindEventCommand(palette.Code(b));
        ASSERT_NE(info, nullptr) << b;
        EXPECT_TRUE(info->HasDialog);
        EXPECT_FALSE(info->Battle) << palette.Code(b);
        EXPECT_FALSE(palette.Caption(b).empty()) << palette.Code(b);
        if (b > 0) {
            EXPECT_GT(palette.Code(b), palette.Code(b - 1));  // command-code order
        }
        codes.insert(palette.Code(b));
    }
    EXPECT_EQ(codes.size(), 90u);
    EXPECT_EQ(palette.Code(90), 0);
    EXPECT_EQ(palette.Code(-1), 0);
    EXPECT_EQ(palette.ButtonOf(13110), -1);
}

TEST_F(PaletteTest, BattlePaletteHoldsItsThirtyTwoButtons) {
    const TEvCmdPalette palette = TEvCmdPalette::ForEditor(TScriptEditorKind::BattlePage);
    ASSERT_TRUE(palette.Battle());
    ASSERT_EQ(palette.ButtonCount(), 32);
    EXPECT_EQ(palette.TabCount(), 1);
    const std::vector<std::int32_t> codes = {10110, 10130, 10140, 10150, 10210, 10220, 10320, 10330,
                                             10440, 10450, 10460, 10470, 10480, 10490, 13110, 13120,
                                             13130, 13150, 13210, 11030, 11040, 11050, 13260, 11410,
                                             11510, 11520, 11550, 13310, 12310, 12410, 12420, 13410};
    for (int b = 0; b < 32; ++b) {
        EXPECT_EQ(palette.Code(b), codes[static_cast<std::size_t>(b)]) << b;
        EXPECT_FALSE(palette.Caption(b).empty()) << b;
    }
    EXPECT_EQ(palette.Caption(14), " Change Enemy HP");
    EXPECT_EQ(palette.Caption(31), " Stop Battle");
    EXPECT_FALSE(TEvCmdPalette::ForEditor(TScriptEditorKind::CommonEvent).Battle());
}

TEST_F(PaletteTest, EachPaletteRemembersItsLastButtonForTheRun) {
    TFakeDialogs dialogs;
    std::vector<std::int32_t> asked;
    dialogs.Edit = [&](std::int32_t code, TKelEventScriptList& r) {
        asked.push_back(code);
        EXPECT_EQ(r.Count(), 0);  // a new command: nothing to edit
        Fill(r, {{code, 0}});
        return code != 11410;  // the wait dialog is cancelled
    };
    {
        TEvCmdPalette palette(false);
        EXPECT_EQ(palette.LastButton(), 0);
        EXPECT_EQ(palette.InitialTab(), 0);
        Fill(palette.ResultScript(), {{10110, 0}, {20110, 0}});
        ASSERT_TRUE(palette.Choose(37, dialogs, {}));
        EXPECT_EQ(Shape(palette.ResultScript()), (std::vector<std::pair<int, int>>{{10840, 0}}));
        EXPECT_FALSE(palette.Choose(59, dialogs, {}));  // cancelled, yet the button was used
        EXPECT_FALSE(palette.Choose(90, dialogs, {}));  // no such button
    }
    EXPECT_EQ(asked, (std::vector<std::int32_t>{10840, 11410}));
    const TEvCmdPalette again(false);
    EXPECT_EQ(again.LastButton(), 59);
    EXPECT_EQ(again.InitialTab(), 1);
    TEvCmdPalette battle(true);
    EXPECT_EQ(battle.LastButton(), 0);
    ASSERT_TRUE(battle.Choose(31, dialogs, {}));
    EXPECT_EQ(TEvCmdPalette(true).LastButton(), 31);
    EXPECT_EQ(TEvCmdPalette(true).InitialTab(), 0);
    EXPECT_EQ(TEvCmdPalette(false).LastButton(), 59);

    // A dialog that ends with OK but leaves nothing inserts nothing.
    dialogs.Edit = [](std::int32_t, TKelEventScriptList&) { return true; };
    EXPECT_FALSE(battle.Choose(0, dialogs, {}));
}

TEST_F(PaletteTest, CommandsWithoutSettingsAreBuiltWithoutAForm) {
    TKelEventScriptList r;
    ASSERT_TRUE(BuildCommandWithoutForm(12220, r));
    EXPECT_EQ(Shape(r), (std::vector<std::pair<int, int>>{{12220, 0}}));
    r.Clear();
    ASSERT_TRUE(BuildCommandWithoutForm(12210, r));
    EXPECT_EQ(Shape(r), (std::vector<std::pair<int, int>>{{12210, 0}, {10, 1}, {22210, 0}}));
    // Editing a loop keeps its body.
    Fill(r, {{12210, 2}, {10110, 3}, {12010, 3}, {10, 4}, {22011, 3}, {10, 3}, {22210, 2}});
    ASSERT_TRUE(BuildCommandWithoutForm(12210, r));
    EXPECT_EQ(Shape(r), (std::vector<std::pair<int, int>>{
                            {12210, 0}, {10110, 1}, {12010, 1}, {10, 2}, {22011, 1}, {10, 1}, {22210, 0}}));
    Fill(r, {{10110, 0}});
    EXPECT_FALSE(BuildCommandWithoutForm(10110, r));
    EXPECT_FALSE(BuildCommandWithoutForm(20110, r));
    EXPECT_EQ(Shape(r), (std::vector<std::pair<int, int>>{{10110, 0}}));
}

}  // namespace
