// The database window over records that hold far more than their pages let the user make (a
// battle animation of thousands of frames and timings, a hero who learns thousands of skills, a
// troop of dozens of members and hundreds of pages ...): going through every tab and writing
// the database without an edit leaves the file byte for byte, and each page shows such a record
// only as far as it allows, without changing it.
#include "PageWidgetKit.h"

#include "database/ED_Animation_qt.h"
#include "database/ED_CommonEvent_qt.h"
#include "database/ED_MonGroup_qt.h"
#include "database/ED_Monster_qt.h"
#include "database/ED_Player_qt.h"
#include "events/ScriptList_qt.h"
#include "tools/lib/HugeDataBase.h"

#include <QListView>
#include <QTabBar>
#include <QTreeView>

#include <fstream>
#include <iterator>

namespace quillon {
namespace {

using namespace widgetkit;

// Past every page's own limit (999 frames, 500 timings, learned skills and action patterns, ten
// troop members, 100 battle pages, four party members), small enough for a quick test.
THugeCounts TestCounts() {
    THugeCounts counts;
    counts.Frames = 3000;
    counts.Timings = 1200;
    counts.Learnings = 2000;
    counts.Actions = 1200;
    counts.Members = 40;
    counts.TroopPages = 250;
    counts.ScriptLines = 3000;
    counts.PartySize = 30;
    return counts;
}

class HugeDataBaseWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    void SetUp() override {
        TSampleDataBaseTest::SetUp();
        AnimationToolMemory() = {};
        MakeHugeDataBase(mDataBase, mCounts);
        mDataBase.Save(mSample);
        mFile = FileBytes();
    }

    std::string FileBytes() const {
        std::ifstream in(mSample + TKelDataBase::kFileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    template <class T>
    T* ShowTab(TFormDataBase& form, int tab) {
        form.TabControl().setCurrentIndex(tab);
        Settle();
        EXPECT_EQ(form.Model().Tab(), tab);
        return dynamic_cast<T*>(form.Page());
    }

    const THugeCounts mCounts = TestCounts();
    std::string mFile;
};

TEST_F(HugeDataBaseWidgetTest, EveryTabAndApplyWithoutAnEditLeaveTheFileByteForByte) {
    TFormDataBase form(mContext);
    ASSERT_NE(OpenTab(form, dtHero, {1000, 640}), nullptr);
    for (int pass = 0; pass < 2; ++pass)
        for (int tab = 0; tab < kDataBaseTabCount; ++tab) {
            ASSERT_NE(ShowTab<TFormDataBaseBase>(form, tab), nullptr) << DataBaseTabInfo(tab).Caption;
            form.SelectNextEntry();  // F5 and F4: to entry 2 and back to the huge entry 1
            form.SelectPreviousEntry();
            Settle();
            EXPECT_FALSE(form.ButtonApply().isEnabled()) << "showing changed " << DataBaseTabInfo(tab).Caption;
        }
    // What a save of the untouched file writes: the same bytes with the save counter one more.
    std::string untouched;
    {
        TKelDataBase read;
        read.LoadFromFile(mSample + TKelDataBase::kFileName);
        untouched = read.FileImage();
    }
    ASSERT_NE(untouched, mFile) << "the save counter moved";
    form.ButtonApplyClick();
    EXPECT_TRUE(FileBytes() == untouched) << "Apply wrote a changed database";
    form.ButtonCancelClick();
    EXPECT_TRUE(FileBytes() == untouched);
    EXPECT_EQ(mDataBase.Animation.Items(0)->FrameCount(), mCounts.Frames);
    EXPECT_EQ(mDataBase.Player.Items(0)->Learning.Count(), mCounts.Learnings);
    EXPECT_EQ(mDataBase.MonGroup.Items(0)->Members.Count(), mCounts.Members);
    EXPECT_EQ(mDataBase.System.PartySize, mCounts.PartySize);
}

TEST_F(HugeDataBaseWidgetTest, EachPageShowsAHugeRecordAsFarAsItAllows) {
    TFormDataBase form(mContext);
    ASSERT_NE(OpenTab(form, dtHero, {1000, 640}), nullptr);

    // Lists: every row reachable, nothing added beyond the limit.
    auto* hero = ShowTab<TFormEDPlayer>(form, dtHero);
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(Child<QTreeView>(*hero, "ListLearning")->model()->rowCount(), mCounts.Learnings + 1);
    EXPECT_FALSE(hero->Model().CanEditLearning(mCounts.Learnings)) << "no adding row past 500";
    EXPECT_TRUE(hero->Model().CanEditLearning(mCounts.Learnings - 1));
    KeepWidget(form, "database-huge-hero");

    auto* monster = ShowTab<TFormEDMonster>(form, dtMonsters);
    ASSERT_NE(monster, nullptr);
    EXPECT_EQ(monster->ActionList()->model()->rowCount(), mCounts.Actions + 1);
    monster->Model().Actions().Select(mCounts.Actions);
    EXPECT_FALSE(monster->Model().Actions().IsEnabled(TMonsterActCommand::Edit)) << "no new pattern past 500";

    // The troop: ten members on the field, 100 page tabs, the rest kept.
    auto* troop = ShowTab<TFormEDMonGroup>(form, dtMonstersParty);
    ASSERT_NE(troop, nullptr);
    EXPECT_EQ(troop->Model().DrawOrder().size(), std::size_t{kMaxTroopMembers});
    EXPECT_FALSE(troop->Model().CanAdd());
    EXPECT_EQ(Child<QTabBar>(*troop, "TabControl1")->count(), kMaxBattlePages);
    EXPECT_EQ(troop->CommandList().Model().Count(), mCounts.ScriptLines);
    KeepWidget(form, "database-huge-troop");

    // The animation: every frame and timing listed; the count dialog starts at 999 and leaves the
    // frames as they are when confirmed unchanged; many cells marks the first 1000 frames.
    auto* animation = ShowTab<TFormEDAnimation>(form, dtAnimation);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(Child<QListView>(*animation, "ListBox1")->model()->rowCount(), mCounts.Frames);
    EXPECT_EQ(Child<QTreeView>(*animation, "ListView1")->model()->rowCount(), mCounts.Timings + 1);
    TAnimationPageModel& anim = animation->Model();
    EXPECT_FALSE(anim.CanInsertFrame());
    int offered = 0;
    anim.AskFrameCount = [&offered](std::int32_t& count) {
        offered = count;
        return true;
    };
    EXPECT_FALSE(anim.ChooseFrameCount());
    EXPECT_EQ(offered, kAnimationMaxFrames);
    EXPECT_EQ(anim.FrameCount(), mCounts.Frames);
    EXPECT_EQ(anim.RememberedManyCells().Frames.size(), std::size_t{kAnimationMarkedFrames});
    TKelAnimationTimingItem timing;
    anim.TimingForRow(mCounts.Timings, timing);
    EXPECT_EQ(anim.SetTiming(mCounts.Timings, timing), -1) << "no new timing past 500";
    ShowCurrentRow(*Child<QListView>(*animation, "ListBox1"), mCounts.Frames - 1);
    EXPECT_EQ(anim.CurrentFrame(), mCounts.Frames - 1) << "the last frame can be reached";
    KeepWidget(form, "database-huge-animation");

    auto* common = ShowTab<TFormEDCommonEvent>(form, dtCommonEvents);
    ASSERT_NE(common, nullptr);
    EXPECT_EQ(common->CommandList().Model().Count(), mCounts.ScriptLines);

    EXPECT_FALSE(form.ButtonApply().isEnabled());
    form.ButtonCancelClick();
    EXPECT_TRUE(FileBytes() == mFile);
}

}  // namespace
}  // namespace quillon
