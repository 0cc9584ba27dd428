// The switch and variable pickers' model over a database list, and the count rule they share
// with the database editor: groups, opening, row moves, name edits, count changes and Apply.
#include "controls/DataMaxChange.h"
#include "controls/SelSwitch.h"

#include "data/LD_Switch.h"
#include "data/LD_Variable.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace quillon {
namespace {

template <class TList = TKelSwitch>
void Fill(TList& list, int count) {
    list.Clear();
    for (int id = 1; id <= count; ++id)
        list.Obtain(id).Name = "S" + std::to_string(id);
}

std::vector<std::string> Names(const TCatalog& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(std::to_string(list.Items(i)->ID) + "=" + list.Items(i)->Name);
    return names;
}

TEST(SelSwitchModelTest, GroupsOfTwentyEndAtTheRealLastId) {
    struct TCase {
        int Count;
        std::vector<std::string> Groups;
        int LastRows;  // rows of the last group
    };
    const TCase cases[] = {
        {1, {"[ 0001 - 0001 ]"}, 1},
        {20, {"[ 0001 - 0020 ]"}, 20},
        {21, {"[ 0001 - 0020 ]", "[ 0021 - 0021 ]"}, 1},
        {45, {"[ 0001 - 0020 ]", "[ 0021 - 0040 ]", "[ 0041 - 0045 ]"}, 5},
    };
    for (const TCase& c : cases) {
        TKelSwitch list;
        Fill(list, c.Count);
        const TSelSwitchModel model(list);
        EXPECT_EQ(model.GroupRows(), c.Groups) << c.Count;
        EXPECT_EQ(model.RowCount(model.GroupCount() - 1), c.LastRows) << c.Count;
    }
    TKelSwitch big;
    Fill(big, 30000);
    const TSelSwitchModel model(big);
    EXPECT_EQ(model.GroupCount(), 1500);
    EXPECT_EQ(model.GroupText(1499), "[ 29981 - 30000 ]");
}

TEST(SelSwitchModelTest, OpeningSelectsTheIdOrTheFirstRow) {
    struct TCase {
        std::int32_t Id;
        int Group, Row;
        std::string Label, Row0;
    };
    const TCase cases[] = {
        {41, 2, 0, "0041:", "0041:S41"}, {20, 0, 19, "0020:", "0001:S1"}, {45, 2, 4, "0045:", "0041:S41"},
        {46, 0, 0, "0001:", "0001:S1"},  {0, 0, 0, "0001:", "0001:S1"},   {-7, 0, 0, "0001:", "0001:S1"},
    };
    TKelSwitch list;
    Fill(list, 45);
    for (const TCase& c : cases) {
        TSelSwitchModel model(list);
        model.Open(17);  // somewhere else first: the second open must move away from it
        model.Open(c.Id);
        EXPECT_EQ(model.Group(), c.Group) << c.Id;
        EXPECT_EQ(model.Row(), c.Row) << c.Id;
        EXPECT_EQ(model.IdLabel(), c.Label) << c.Id;
        EXPECT_EQ(model.RowText(0), c.Row0) << c.Id;
        EXPECT_EQ(model.Rows().size(), c.Group == 2 ? 5u : 20u) << c.Id;
        EXPECT_FALSE(model.Pending());
    }
}

TEST(SelSwitchModelTest, F4AndF5CrossGroupsAndStopAtTheEnds) {
    struct TCase {
        int Count;
        std::int32_t From;
        bool Down;
        std::int32_t To;
        bool Moved;
    };
    const TCase cases[] = {
        {45, 20, true, 21, true},   {45, 21, false, 20, true},  {45, 40, true, 41, true},
        {45, 41, false, 40, true},  {45, 45, true, 45, false},  {45, 1, false, 1, false},
        {45, 7, true, 8, true},     {45, 8, false, 7, true},    {20, 20, true, 20, false},
        {40, 40, true, 40, false},
    };
    for (const TCase& c : cases) {
        TKelSwitch list;
        Fill(list, c.Count);
        TSelSwitchModel model(list);
        model.Open(c.From);
        unsigned heard = 0;
        const TConnection joined = model.Changed.Connect([&](unsigned what) { heard |= what; });
        EXPECT_EQ(c.Down ? model.MoveDown() : model.MoveUp(), c.Moved) << c.From << (c.Down ? " F5" : " F4");
        EXPECT_EQ(model.CurrentId(), c.To) << c.From << (c.Down ? " F5" : " F4");
        // A move into another group brings that group's rows.
        const bool crossed = (c.From - 1) / 20 != (c.To - 1) / 20;
        EXPECT_EQ((heard & TSelSwitchModel::cfRows) != 0, crossed) << c.From;
        EXPECT_EQ((heard & TSelSwitchModel::cfSelection) != 0, c.Moved) << c.From;
    }
}

TEST(SelSwitchModelTest, NameEditsCutAtTwentyBytesAndReachTheListOnlyOnApply) {
    TKelVariable list;
    Fill(list, 3);
    TSelVariableModel model(list);
    model.Open(2);
    std::vector<unsigned> heard;
    const TConnection joined = model.Changed.Connect([&](unsigned what) { heard.push_back(what); });

    // 19 single bytes and a double-byte character: the character does not fit.
    model.SetCurrentName(std::string(19, 'a') + "\x82\xa0");
    EXPECT_EQ(model.CurrentName(), std::string(19, 'a'));
    EXPECT_EQ(model.RowText(1), "0002:" + std::string(19, 'a'));
    EXPECT_TRUE(model.Pending());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], TSelSwitchModel::cfName | TSelSwitchModel::cfPending);
    EXPECT_EQ(list.FindByID(2)->Name, "S2");  // the list waits for Apply

    model.PasteText("Door \x83\x68\x83\x41\r\nsecond line");
    EXPECT_EQ(model.CurrentName(), "Door \x83\x68\x83\x41");
    EXPECT_EQ(model.CopyText(), "Door \x83\x68\x83\x41");
    model.SelectRow(2);
    model.ClearName();
    EXPECT_EQ(model.RowText(2), "0003:");

    model.Apply();
    EXPECT_FALSE(model.Pending());
    EXPECT_TRUE(model.Applied());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"1=S1", "2=Door \x83\x68\x83\x41", "3="}));

    // Copy alone marks the copy pending as well.
    TSelVariableModel again(list);
    EXPECT_EQ(again.CopyText(), "S1");
    EXPECT_TRUE(again.Pending());
    // Nothing pending: Apply leaves the list and the applied flag alone.
    TSelVariableModel idle(list);
    idle.Apply();
    EXPECT_FALSE(idle.Applied());
}

TEST(SelSwitchModelTest, CountChangesKeepTheGroupWhereItExists) {
    struct TCase {
        std::int32_t Open;
        int Count;
        std::int32_t Current;  // after the change
        int Groups;
    };
    const TCase cases[] = {
        {41, 30, 21, 2},   // third group gone: the last one, same row
        {45, 30, 25, 2},   //
        {40, 22, 22, 2},   // row 20 of the group gone: its last row
        {12, 100, 12, 5},  // growing keeps everything
        {5, 1, 1, 1},
        {5, 0, 1, 1},      // clamped to 1
    };
    for (const TCase& c : cases) {
        TKelSwitch list;
        Fill(list, 45);
        TSelSwitchModel model(list);
        model.Open(c.Open);
        unsigned heard = 0;
        const TConnection joined = model.Changed.Connect([&](unsigned what) { heard |= what; });
        EXPECT_TRUE(model.SetCount(c.Count)) << c.Count;
        EXPECT_EQ(model.CurrentId(), c.Current) << c.Count;
        EXPECT_EQ(model.GroupCount(), c.Groups) << c.Count;
        EXPECT_NE(heard & TSelSwitchModel::cfGroups, 0u);
        EXPECT_TRUE(model.Pending());
        EXPECT_EQ(list.Count(), 45);  // until Apply
    }
    TKelSwitch list;
    Fill(list, 45);
    TSelSwitchModel model(list);
    EXPECT_FALSE(model.SetCount(45));
    EXPECT_FALSE(model.Pending());
    EXPECT_TRUE(model.SetCount(40000));
    EXPECT_EQ(model.Count(), kMaxDataCount);
}

TEST(SelSwitchModelTest, ShrinkThenCancelKeepsTheListAndOkAppliesIt) {
    TKelSwitch list;
    Fill(list, 45);
    {
        TSelSwitchModel cancelled(list);
        cancelled.Open(41);
        cancelled.SetCount(30);
        // Cancel: the model goes without Apply.
    }
    EXPECT_EQ(list.Count(), 45);

    TSelSwitchModel model(list);
    model.Open(41);
    model.SetCount(30);
    EXPECT_EQ(model.Confirm(), 21);
    EXPECT_EQ(list.Count(), 30);
    EXPECT_EQ(list.Items(29)->ID, 30);
    EXPECT_EQ(list.Items(29)->Name, "S30");
    EXPECT_TRUE(model.Applied());

    // Growing obtains the new IDs with empty names.
    TSelSwitchModel grow(list);
    grow.SetCount(33);
    grow.Apply();
    EXPECT_EQ(list.Count(), 33);
    EXPECT_EQ(list.FindByID(33)->Name, "");
    EXPECT_EQ(list.FindByID(30)->Name, "S30");
}

TEST(SelSwitchModelTest, GapsAndDamagedIdsOfTheList) {
    TKelSwitch list;
    list.Obtain(1).Name = "A";
    list.Obtain(3).Name = "C";
    list.Obtain(70000).Name = "far";  // beyond any count the picker can give
    TSelSwitchModel model(list);
    EXPECT_EQ(model.Count(), 3);
    EXPECT_EQ(model.Name(2), "");
    EXPECT_EQ(model.Name(3), "C");
    model.SetCurrentName("a");
    model.Apply();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"1=a", "2=", "3=C"}));

    TKelSwitch empty;
    empty.Clear();
    TSelSwitchModel none(empty);
    EXPECT_EQ(none.Count(), 1);
    EXPECT_EQ(none.GroupRows(), (std::vector<std::string>{"[ 0001 - 0001 ]"}));
    EXPECT_EQ(none.Confirm(), 1);
    EXPECT_EQ(empty.Count(), 0);  // nothing was changed, nothing is written
}

class TScriptedBox final : public IMessageBox {
public:
    TScriptedBox() : mPrevious(SetMessageBox(this)) {}
    ~TScriptedBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int flags, const void*) override {
        Texts.push_back(text);
        Flags.push_back(flags);
        const int answer = Answers.empty() ? mrNo : Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        return answer;
    }
    std::deque<int> Answers;
    std::vector<std::string> Texts;
    std::vector<int> Flags;

private:
    IMessageBox* mPrevious;
};

TEST(DataMaxChangeTest, ShrinkingAsksAndTheRangeIsOneToThirtyThousand) {
    TScriptedBox box;
    TDataMaxChangeModel model(45);
    EXPECT_EQ(model.Value(), 45);
    model.SetValue(50);
    EXPECT_TRUE(model.Confirm(nullptr));
    EXPECT_TRUE(box.Texts.empty());
    model.SetValue(45);
    EXPECT_TRUE(model.Confirm(nullptr));  // the same number drops nothing
    EXPECT_TRUE(box.Texts.empty());

    model.SetValue(30);
    box.Answers = {mrNo, mrYes};
    EXPECT_FALSE(model.Confirm(nullptr));
    EXPECT_TRUE(model.Confirm(nullptr));
    ASSERT_EQ(box.Texts.size(), 2u);
    EXPECT_EQ(box.Texts[0], "All fields above the Max Field Number will be lost. Continue?");
    EXPECT_EQ(box.Flags[0], mbYesNo | mbIconWarning);

    model.SetValue(0);
    EXPECT_EQ(model.Value(), 1);
    model.SetValue(30001);
    EXPECT_EQ(model.Value(), 30000);
    EXPECT_EQ(TDataMaxChangeModel(0).Value(), 1);  // a damaged count opens in range
}

TEST(DataMaxChangeTest, ResizeObtainsAndDeletesAtTheTop) {
    TKelSwitch list;
    Fill(list, 8);
    EXPECT_TRUE(ResizeCatalog(list, 5));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"1=S1", "2=S2", "3=S3", "4=S4", "5=S5"}));
    EXPECT_TRUE(ResizeCatalog(list, 7));
    EXPECT_EQ(list.Count(), 7);
    EXPECT_EQ(list.FindByID(7)->Name, "");
    EXPECT_EQ(list.FindByID(5)->Name, "S5");
    EXPECT_FALSE(ResizeCatalog(list, 7));
    EXPECT_TRUE(ResizeCatalog(list, 0));  // never below one
    EXPECT_EQ(Names(list), (std::vector<std::string>{"1=S1"}));
}

}  // namespace
}  // namespace quillon
