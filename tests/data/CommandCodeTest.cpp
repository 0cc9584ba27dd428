#include "data/CommandCode.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace quillon {
namespace {

TEST(CommandCode, EveryEnumeratorHasOneUniqueName) {
    std::set<std::int32_t> codes;
    std::set<std::string_view> names;
    for (const TCommandCode code : AllCommandCodes()) {
        EXPECT_TRUE(codes.insert(ToInt(code)).second) << "repeated number " << ToInt(code);
        const std::string_view name = CommandCodeName(ToInt(code));
        EXPECT_FALSE(name.empty()) << ToInt(code);
        EXPECT_TRUE(names.insert(name).second) << "repeated name " << name;
    }
    EXPECT_EQ(codes.size(), 119u);
}

TEST(CommandCode, NamesAndDescriptions) {
    struct TCase {
        std::int32_t Code;
        std::string_view Name;
        std::string Described;
    };
    const TCase cases[] = {
        {0, "End", "0 (End)"},
        {10, "Empty", "10 (Empty)"},
        {10110, "ShowMessage", "10110 (ShowMessage)"},
        {20110, "MessageLine", "20110 (MessageLine)"},
        {10710, "StartBattle", "10710 (StartBattle)"},
        {11330, "SetMoveRoute", "11330 (SetMoveRoute)"},
        {23311, "BattleBranchEnd", "23311 (BattleBranchEnd)"},
        {13410, "StopBattle", "13410 (StopBattle)"},
        // Numbers without a command: scripts may hold them, they have no name.
        {10111, "", "10111"},
        {20000, "", "20000"},
        {-10110, "", "-10110"},
        {2147483647, "", "2147483647"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CommandCodeName(c.Code), c.Name) << c.Code;
        EXPECT_EQ(DescribeCommandCode(c.Code), c.Described);
    }
}

TEST(CommandCode, ComparesWithTheStoredNumber) {
    const std::int32_t stored = 12010;
    EXPECT_TRUE(stored == TCommandCode::ConditionalBranch);
    EXPECT_TRUE(TCommandCode::ConditionalBranch == stored);
    EXPECT_TRUE(stored != TCommandCode::BattleBranch);
    EXPECT_EQ(ToCommandCode(stored), TCommandCode::ConditionalBranch);
}

}  // namespace
}  // namespace quillon
