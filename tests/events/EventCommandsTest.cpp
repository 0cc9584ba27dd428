#include "events/EventCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace quillon {
namespace {

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

}  // namespace
}  // namespace quillon
