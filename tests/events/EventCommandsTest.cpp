#include "events/EventCommands.h"

#include "events/CommandForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace quillon {
namespace {

TEST(EventCommandCatalogue, ListsEveryNamedCodeInOrder) {
    const auto catalogue = EventCommandCatalogue();
    const auto named = AllCommandCodes();
    ASSERT_EQ(catalogue.size(), named.size());
    for (std::size_t i = 0; i < named.size(); ++i)
        EXPECT_EQ(catalogue[i].Code, ToInt(named[i])) << CommandCodeName(ToInt(named[i]));
}

TEST(EventCommandCatalogue, CountsAndKinds) {
    const auto catalogue = EventCommandCatalogue();
    EXPECT_EQ(catalogue.size(), 98u + 19u + 2u);
    std::set<std::int32_t> codes;
    int companions = 0;
    for (const TEventCommandInfo& info : catalogue) {
        EXPECT_TRUE(codes.insert(info.Code).second) << "repeated code " << info.Code;
        EXPECT_EQ(info.HasDialog, std::string(info.Caption) != "") << info.Code;
        EXPECT_NE(std::string(info.Prefix), "") << info.Code;
        if (info.Companion) {
            ++companions;
            EXPECT_GE(info.Code, 20000);
            EXPECT_FALSE(info.HasDialog) << info.Code;
        }
        EXPECT_EQ(FindEventCommand(info.Code), &info);
    }
    EXPECT_EQ(companions, 19);
    EXPECT_FALSE(FindEventCommand(0)->HasDialog);
    EXPECT_FALSE(FindEventCommand(10)->HasDialog);
    EXPECT_FALSE(FindEventCommand(0)->Companion);
    EXPECT_EQ(FindEventCommand(5), nullptr);
    EXPECT_EQ(FindEventCommand(20000), nullptr);
    EXPECT_EQ(FindEventCommand(-10110), nullptr);
    EXPECT_EQ(DialogCommandCodes().size(), 98u);
}

TEST(EventCommandCatalogue, PaletteOrderSplitsIntoThreeTabsOfThirty) {
    const auto codes = NonBattleCommandCodes();
    ASSERT_EQ(codes.size(), 90u);
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    // Tab boundaries: 10110 .. 10690, 10710 .. 11410, 11510 .. 12510.
    EXPECT_EQ(codes[0], 10110);
    EXPECT_EQ(codes[29], 10690);
    EXPECT_EQ(codes[30], 10710);
    EXPECT_EQ(codes[59], 11410);
    EXPECT_EQ(codes[60], 11510);
    EXPECT_EQ(codes[89], 12510);
    for (std::int32_t code : codes)
        EXPECT_FALSE(FindEventCommand(code)->Battle) << code;

    const auto dialogs = DialogCommandCodes();
    EXPECT_TRUE(std::is_sorted(dialogs.begin(), dialogs.end()));
    const std::vector<std::int32_t> battle{13110, 13120, 13130, 13150, 13210, 13260, 13310, 13410};
    EXPECT_EQ(BattleCommandCodes(), battle);
    EXPECT_TRUE(std::equal(dialogs.end() - 8, dialogs.end(), battle.begin()));
}

TEST(EventCommandCatalogue, BattleAndCompanionFlags) {
    EXPECT_TRUE(FindEventCommand(23310)->Battle);
    EXPECT_TRUE(FindEventCommand(23311)->Battle);
    EXPECT_FALSE(FindEventCommand(22010)->Battle);
    EXPECT_FALSE(FindEventCommand(11210)->Battle);  // the map version of the animation command
    EXPECT_TRUE(FindEventCommand(13260)->Battle);
    EXPECT_TRUE(IsCompanionCode(20141));
    EXPECT_TRUE(IsCompanionCode(23311));
    EXPECT_FALSE(IsCompanionCode(20000));  // not catalogued: a command of its own
    EXPECT_FALSE(IsCompanionCode(10));
    EXPECT_FALSE(IsCompanionCode(12010));
    // The troop palette's commands are all catalogued dialogs.
    for (std::int32_t code : {10110, 10130, 10140, 10150, 10210, 10220, 10320, 10330, 10440, 10450,
                              10460, 10470, 10480, 10490, 13110, 13120, 13130, 13150, 13210, 11030,
                              11040, 11050, 13260, 11410, 11510, 11520, 11550, 13310, 12310, 12410,
                              12420, 13410}) {
        ASSERT_NE(FindEventCommand(code), nullptr) << code;
        EXPECT_TRUE(FindEventCommand(code)->HasDialog) << code;
    }
    EXPECT_STREQ(FindEventCommand(10110)->Caption, "Afficher Message");
    EXPECT_STREQ(FindEventCommand(13310)->Caption, "Fork Conditions");
    EXPECT_STREQ(FindEventCommand(10150)->Prefix, "<>Input Number: Digi");
}

// Each palette as it looks: tabs of two-column grids, every place taken by one command, the
// buttons numbered a column at a time, tab by tab.
struct PaletteShape {
    const char* Name;
    TPaletteSpot TEventCommandInfo::*Spot;
    int Tabs, Rows, Columns;
};

TEST(EventCommandCatalogue, EachPaletteGridHoldsEveryPlaceOnce) {
    const PaletteShape palettes[] = {
        {"event", &TEventCommandInfo::EventPalette, 3, 15, 2},
        {"battle", &TEventCommandInfo::BattlePalette, 1, 16, 2},
    };
    for (const PaletteShape& palette : palettes) {
        std::map<std::tuple<int, int, int>, std::int32_t> taken;  // (tab, column, row) -> code
        for (const TEventCommandInfo& info : EventCommandCatalogue()) {
            const TPaletteSpot spot = info.*palette.Spot;
            if (!spot.Shown())
                continue;
            EXPECT_TRUE(info.HasDialog) << palette.Name << " " << info.Code;
            EXPECT_LT(spot.Tab, palette.Tabs) << palette.Name << " " << info.Code;
            EXPECT_TRUE(spot.Row >= 0 && spot.Row < palette.Rows) << palette.Name << " " << info.Code;
            EXPECT_TRUE(spot.Column >= 0 && spot.Column < palette.Columns) << palette.Name << " " << info.Code;
            const auto [at, fresh] = taken.emplace(std::tuple(spot.Tab, spot.Column, spot.Row), info.Code);
            EXPECT_TRUE(fresh) << palette.Name << ": " << info.Code << " on the place of " << at->second;
        }
        EXPECT_EQ(taken.size(), static_cast<std::size_t>(palette.Tabs * palette.Rows * palette.Columns))
            << palette.Name;
    }

    // Read a column at a time, the three-tab palette is the catalogue's order of the map commands.
    std::map<std::tuple<int, int, int>, std::int32_t> places;
    for (const TEventCommandInfo& info : EventCommandCatalogue())
        if (info.EventPalette.Shown())
            places.emplace(std::tuple(info.EventPalette.Tab, info.EventPalette.Column, info.EventPalette.Row),
                           info.Code);
    std::vector<std::int32_t> read;
    for (const auto& [place, code] : places)
        read.push_back(code);
    EXPECT_EQ(read, NonBattleCommandCodes());
}

TEST(EventCommandCatalogue, PalettesBattleFlagsAndCompanionsAgree) {
    for (const TEventCommandInfo& info : EventCommandCatalogue()) {
        const bool battleRange = (info.Code >= 13000 && info.Code < 14000) || info.Code == 23310 || info.Code == 23311;
        EXPECT_EQ(info.Battle, battleRange) << info.Code;
        if (info.Battle) {
            EXPECT_TRUE(info.OnBattlePage) << info.Code;
        }
        EXPECT_EQ(info.ButtonCaption[0] != '\0', info.HasDialog) << info.Code;
        // A described dialog belongs to a command the user inserts and that takes settings.
        if (FindCommandForm(info.Code) != nullptr) {
            EXPECT_TRUE(info.HasDialog) << info.Code;
            EXPECT_NE(info.Lines, TCommandLines::Bare) << info.Code;
        }
        if (info.HasDialog) {
            // A map command has its button on the three-tab palette, a battle command not; the
            // battle palette holds exactly the commands a battle page keeps.
            EXPECT_EQ(info.EventPalette.Shown(), !info.Battle) << info.Code;
            EXPECT_EQ(info.BattlePalette.Shown(), info.OnBattlePage) << info.Code;
            if (info.Lines == TCommandLines::Bare) {
                EXPECT_FALSE(std::string(info.ButtonCaption).ends_with("...")) << info.Code;
            }
        } else {
            EXPECT_EQ(info.Lines, TCommandLines::One) << info.Code;
        }
        if (!info.Companion) {
            EXPECT_EQ(OpenerOf(info.Code), 0) << info.Code;
            continue;
        }
        // A companion line goes wherever its command goes.
        const TEventCommandInfo* opener = FindEventCommand(OpenerOf(info.Code));
        ASSERT_NE(opener, nullptr) << info.Code;
        EXPECT_TRUE(opener->HasDialog) << info.Code;
        EXPECT_TRUE(opener->Lines == TCommandLines::Block || opener->Lines == TCommandLines::Text) << info.Code;
        EXPECT_EQ(info.Battle, opener->Battle) << info.Code;
        EXPECT_EQ(info.OnBattlePage, opener->OnBattlePage) << info.Code;
    }
    // Every command with more than one line has its companion lines catalogued.
    for (const TEventCommandInfo& info : EventCommandCatalogue()) {
        if (info.Lines != TCommandLines::Block && info.Lines != TCommandLines::Text)
            continue;
        const auto catalogue = EventCommandCatalogue();
        EXPECT_TRUE(std::any_of(catalogue.begin(), catalogue.end(),
                                [&info](const TEventCommandInfo& c) { return OpenerOf(c.Code) == info.Code; }))
            << info.Code;
    }
}

TEST(EventCommandCatalogue, BattlePageLinesAndBareCommandsAreTheListedOnes) {
    const std::set<std::int32_t> battlePage = {
        10,    10110, 10130, 10140, 10150, 10210, 10220, 10320, 10330, 10440, 10450, 10460, 10470,
        10480, 10490, 11030, 11040, 11050, 11410, 11510, 11520, 11550, 12310, 12410, 12420, 13110,
        13120, 13130, 13150, 13210, 13260, 13310, 13410, 20110, 20140, 20141, 22410, 23310, 23311};
    const std::set<std::int32_t> bare = {10840, 11340, 11350, 11530, 11540, 11910, 11950,
                                         12220, 12310, 12320, 12420, 12510, 13410};
    for (const TEventCommandInfo& info : EventCommandCatalogue()) {
        EXPECT_EQ(BelongsOnBattlePage(info.Code), battlePage.contains(info.Code)) << info.Code;
        EXPECT_EQ(info.Lines == TCommandLines::Bare, bare.contains(info.Code)) << info.Code;
    }
    for (std::int32_t code : {-1, 5, 20000, 13000, 99999})
        EXPECT_FALSE(BelongsOnBattlePage(code)) << code;
    EXPECT_EQ(OpenerOf(20713), 10710);
    EXPECT_EQ(OpenerOf(23311), 13310);
    EXPECT_EQ(OpenerOf(22410), 12410);
    EXPECT_EQ(OpenerOf(20000), 0);
}

}  // namespace
}  // namespace quillon
