// ID list rows of a record list, and rank rows changed by letter and by steps.
#include "controls/IdList.h"
#include "controls/RankList.h"

#include "data/LD_Attrib.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(IdListTest, RowsShowTheIdAndNameInListOrder) {
    TCatalogOf<TKelAttribItem> list;
    list.Obtain(3).Name = "\x83\x5c\x81\x5b\x83\x68";  // CP932 bytes stay as they are
    list.Obtain(1).Name = "Potion";
    list.Obtain(12345).Name = "";
    const std::vector<TIdRow> rows = IdListRows(&list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Text, "0001:Potion");
    EXPECT_EQ(rows[1].Text, "0003:\x83\x5c\x81\x5b\x83\x68");
    EXPECT_EQ(rows[2].Text, "12345:");
    EXPECT_EQ(IdRowIndex(rows, 3), 1);
    EXPECT_EQ(IdRowIndex(rows, 2), -1);
    EXPECT_TRUE(IdListRows(nullptr).empty());
}

TEST(RankListTest, LettersStepsAndSignals) {
    EXPECT_EQ(RankLetter(0), 'A');
    EXPECT_EQ(RankLetter(4), 'E');
    EXPECT_EQ(RankLetter(5), '?');
    EXPECT_EQ(RankOfLetter('c'), 2);
    EXPECT_EQ(RankOfLetter('F'), -1);

    TRankListModel model;
    model.SetRows({{"Poison", 4}, {"Blind", 9}});
    std::vector<std::pair<int, int>> heard;
    const TConnection joined = model.Changed.Connect([&](int row, int rank) { heard.emplace_back(row, rank); });
    EXPECT_TRUE(model.StepRank(0, 1));   // E wraps to A
    EXPECT_TRUE(model.StepRank(0, -1));  // and back to E
    EXPECT_FALSE(model.SetRank(0, 4));   // no change: no signal
    EXPECT_FALSE(model.SetRank(0, 5));
    EXPECT_FALSE(model.SetRank(2, 0));
    EXPECT_EQ(model.Rank(1), 9);         // a stored rank outside A..E is kept until changed
    EXPECT_TRUE(model.StepRank(1, -1));  // ... and starts over from E going back
    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 0}, {0, 4}, {1, 4}}), heard);
}

}  // namespace
}  // namespace quillon
