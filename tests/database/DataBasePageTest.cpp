// The list operations every database page shares: rows, the current entry kept by ID, counts,
// clipboard blocks and the position remembered for the run.
#include "database/DataBasePage.h"

#include "data/LD_DataBase.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

class DataBasePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mPrevious = SetClipboard(&mClipboard);
        DataBaseMemory() = {};
        mContext.DataBase = &mDataBase;
    }
    void TearDown() override { SetClipboard(mPrevious); }

    // Heroes with the given IDs, named "H<id>".
    void Heroes(const std::vector<int>& ids) {
        mDataBase.Player.Clear();
        for (int id : ids)
            mDataBase.Player.Obtain(id).Name = "H" + std::to_string(id);
    }
    std::vector<int> HeroIds() const {
        std::vector<int> ids;
        for (int i = 0; i < mDataBase.Player.Count(); ++i)
            ids.push_back(mDataBase.Player.Items(i)->ID);
        return ids;
    }

    TMemoryClipboard mClipboard;
    IClipboard* mPrevious = nullptr;
    TKelDataBase mDataBase;
    TDataBaseContext mContext;
};

TEST_F(DataBasePageTest, RowsShowIdAndName) {
    EXPECT_EQ(DataBaseRowText(7, "Knight"), "0007:Knight");
    EXPECT_EQ(DataBaseRowText(7, ""), "0007:");
    EXPECT_EQ(DataBaseRowText(12345, "Knight"), "12345:Knight");
    Heroes({1, 3});
    TDataBaseListPage page(mContext, dtHero);
    page.Fill();
    EXPECT_EQ(page.RowCount(), 2);
    EXPECT_EQ(page.RowText(1), "0003:H3");
    EXPECT_EQ(page.RowText(2), "");
}

TEST_F(DataBasePageTest, TabsAndTheirLists) {
    const char* captions[] = {"Hero", "Skills", "Items", "Monsters", "Monsters Party", "Attributes", "Conditions",
                              "Battle Animation", "Terrain", "ChipSets", "Vocabulary", "System", "Common Events"};
    const int formats[] = {574, 575, 576, 577, 578, 580, 581, 582, 579, 583, 0, 0, 584};
    for (int tab = 0; tab < kDataBaseTabCount; ++tab) {
        EXPECT_STREQ(DataBaseTabInfo(tab).Caption, captions[tab]);
        EXPECT_EQ(DataBaseTabInfo(tab).HelpContext, tab + 2);
        EXPECT_EQ(DataBaseTabInfo(tab).ClipboardFormat, formats[tab]);
        EXPECT_EQ(DataBaseTabList(mDataBase, tab) != nullptr, formats[tab] != 0) << tab;
        EXPECT_EQ(DataBaseTabByKey(DataBaseTabInfo(tab).Key), tab);
    }
    EXPECT_EQ(DataBaseTabList(mDataBase, dtTerrain), &mDataBase.Ground);
    EXPECT_EQ(DataBaseTabByKey("nothing"), -1);
}

TEST_F(DataBasePageTest, AnEmptyListGetsEntryOneAndViewingChangesNothing) {
    mDataBase.Item.Clear();
    TDataBaseListPage page(mContext, dtItems);
    int modified = 0;
    const TConnection heard = page.Modified.Connect([&] { ++modified; });
    page.Fill();
    ASSERT_EQ(mDataBase.Item.Count(), 1);
    EXPECT_EQ(page.CurrentId(), 1);
    mDataBase.Item.Obtain(2);
    EXPECT_TRUE(page.SelectNext());
    EXPECT_FALSE(page.SelectNext());
    EXPECT_TRUE(page.SelectPrevious());
    EXPECT_FALSE(page.SelectPrevious());
    EXPECT_FALSE(page.SelectId(9));
    EXPECT_FALSE(page.SetCurrentName(page.CurrentName()));
    EXPECT_EQ(modified, 0);
    EXPECT_TRUE(page.SetCurrentName("Potion"));
    EXPECT_EQ(mDataBase.Item.FindByID(1)->Name, "Potion");
    EXPECT_EQ(modified, 1);
}

TEST_F(DataBasePageTest, CountChangesDeleteEveryIdAboveTheCount) {
    struct TCase {
        std::vector<int> Ids;
        int Current;
        int Count;
        std::vector<int> After;
        int CurrentAfter;
    };
    const TCase cases[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, 7, 5, {1, 2, 3, 4, 5}, 5},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 2, 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 2},
        {{1, 2, 5}, 5, 2, {1, 2}, 2},
        {{1, 2, 5}, 1, 3, {1, 2, 3}, 1},  // the gap closes; 5 is above the count
        {{1, 2, 5}, 1, 0, {1}, 1},        // at least one entry
    };
    for (const TCase& c : cases) {
        Heroes(c.Ids);
        TDataBaseListPage page(mContext, dtHero);
        page.Fill();
        ASSERT_TRUE(page.SelectId(c.Current));
        EXPECT_TRUE(page.ChangeCount(c.Count));
        EXPECT_EQ(HeroIds(), c.After) << c.Count;
        EXPECT_EQ(page.CurrentId(), c.CurrentAfter) << c.Count;
        ASSERT_NE(page.Current(), nullptr);
    }
    Heroes({1, 2, 3});
    TDataBaseListPage page(mContext, dtHero);
    page.Fill();
    EXPECT_FALSE(page.ChangeCount(3));
    EXPECT_EQ(mDataBase.Player.FindByID(3)->Name, "H3");
}

TEST_F(DataBasePageTest, CopyClearCutAndPasteByIdWithinTheLimit) {
    Heroes({1, 2, 5});
    TDataBaseListPage page(mContext, dtHero);
    page.Fill();
    EXPECT_FALSE(page.CanPaste());
    ASSERT_TRUE(page.SelectId(2));
    ASSERT_TRUE(page.Copy());
    EXPECT_TRUE(mClipboard.HasFormat(574));
    EXPECT_FALSE(mClipboard.HasFormat(576));
    // Pasted on the entry with ID 5, which is row 2: it goes to ID 5.
    ASSERT_TRUE(page.SelectId(5));
    EXPECT_EQ(page.Paste(), 1);
    EXPECT_EQ(HeroIds(), (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(mDataBase.Player.FindByID(5)->Name, "H2");
    EXPECT_TRUE(page.Cut());
    EXPECT_EQ(mDataBase.Player.FindByID(5)->Name, "");
    EXPECT_EQ(page.CurrentId(), 5);
    ASSERT_TRUE(page.SelectId(1));
    EXPECT_TRUE(page.Clear());
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, "");
    EXPECT_EQ(mDataBase.Player.FindByID(1)->ID, 1);

    // Three records pasted on 4999: 4999 and 5000, the third skipped; past 5000 no paste.
    Heroes({1, 2, 3});
    page.Fill();
    ASSERT_TRUE(page.SelectId(1));
    EXPECT_EQ(page.MultiCopyMax(), 3);
    EXPECT_FALSE(page.MultiCopy(4));
    ASSERT_TRUE(page.MultiCopy(3));
    mDataBase.Player.Obtain(4999);
    mDataBase.Player.Obtain(5001);
    ASSERT_TRUE(page.SelectId(4999));
    EXPECT_EQ(page.Paste(), 2);
    EXPECT_EQ(mDataBase.Player.FindByID(4999)->Name, "H1");
    EXPECT_EQ(mDataBase.Player.FindByID(5000)->Name, "H2");
    EXPECT_EQ(mDataBase.Player.FindByID(5001)->Name, "");
    ASSERT_TRUE(page.SelectId(5001));
    EXPECT_FALSE(page.CanPaste());
    EXPECT_EQ(page.Paste(), 0);
}

TEST_F(DataBasePageTest, DamagedBlocksNeverCostTheEntries) {
    Heroes({1, 2, 3});
    TDataBaseListPage page(mContext, dtHero);
    page.Fill();
    const std::string blocks[] = {
        std::string("\x01\x00", 2),                               // shorter than a header
        MakeClipboardBlock(2, std::string("\x05\x01\x41", 3)),    // a record cut short
        MakeClipboardBlock(1000000, ""),                          // a count with no bytes
    };
    for (const std::string& block : blocks) {
        mClipboard.SetData(574, block);
        ASSERT_TRUE(page.SelectId(2));
        try {
            page.Paste();
        } catch (const std::exception&) {
        }
        EXPECT_EQ(HeroIds(), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, "H2");
        EXPECT_NE(page.Current(), nullptr);
    }
}

TEST_F(DataBasePageTest, TheEntryIsRememberedByIdForTheRun) {
    Heroes({1, 2, 3, 4});
    {
        TDataBaseListPage page(mContext, dtHero);
        page.Fill();
        ASSERT_TRUE(page.SelectId(3));
        page.SetTopRow(2);
    }
    {
        TDataBaseListPage other(mContext, dtItems);
        other.Fill();
        EXPECT_EQ(other.CurrentId(), 1);
    }
    TDataBaseListPage again(mContext, dtHero);
    again.Fill();
    EXPECT_EQ(again.CurrentId(), 3);
    EXPECT_EQ(again.TopRow(), 2);
    // The entry went away meanwhile: the first row.
    Heroes({1, 2});
    again.Fill();
    EXPECT_EQ(again.CurrentId(), 1);
}

}  // namespace
}  // namespace quillon
