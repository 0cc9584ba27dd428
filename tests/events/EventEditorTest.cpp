// The event editor's model: pages and their clipboard block, conditions, the graphic and
// movement rules, the preview's cells and timing, and what Ok, Apply and closing commit.
#include "events/ED_Event.h"
#include "events/EventEditorTestKit.h"

#include "data/LD_DataBase.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;
using namespace quillon::eventkit;

namespace {

std::vector<std::string> GraphicNames(const TKelEventItem& event) {
    std::vector<std::string> names;
    for (int i = 0; i < event.Pages.Count(); ++i)
        names.push_back(event.Pages.Items(i)->GraphicName + "#" + std::to_string(event.Pages.Items(i)->ID));
    return names;
}

class EventEditorTest : public ::testing::Test {
protected:
    TKelEventItem event;
    TMemoryClipboard clipboard;
    TFakeChoosers choosers;
    TKelDataBase database;

    TEventEditorHooks Hooks() {
        TEventEditorHooks hooks;
        hooks.DataBase = &database;
        hooks.Choosers = &choosers;
        hooks.Clipboard = &clipboard;
        return hooks;
    }
    // The index of a field of the page form.
    static std::size_t Field(const std::string& widget) {
        const TFieldForm& form = EventPageForm();
        for (std::size_t i = 0; i < form.Fields.size(); ++i)
            if (form.Fields[i].Widget == widget)
                return i;
        ADD_FAILURE() << widget;
        return 0;
    }
};

TEST_F(EventEditorTest, NewPageCopiesAppearanceAndMovementAfterTheCurrentPageAndMovesTheLaterOnesUp) {
    MakePages(event, 3);
    TKelEventPageItem& second = *event.Pages.Items(1);
    second.GraphicIndex = 5;
    second.GraphicDirection = 3;
    second.GraphicPattern = 0;
    second.Transparent = 1;
    second.MoveType = 6;
    second.MoveFrequency = 7;
    second.Trigger = 4;
    second.Priority = 2;
    second.NoOverlap = 1;
    second.AnimationType = 5;
    second.MoveSpeed = 6;
    TKelMoveRouteItem jump;
    jump.Code = 24;
    second.MoveRoute.Add(jump);
    second.Condition.Flags = 0x3F;
    second.Condition.TimerSeconds = 42;

    TEventEditorModel model(event, 3, false, Hooks());
    model.SelectPage(1);
    ASSERT_TRUE(model.NewPage());
    EXPECT_EQ(model.CurrentIndex(), 2);
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(GraphicNames(event), (std::vector<std::string>{"P1#1", "P2#2", "P2#3", "P3#4"}));
    const TKelEventPageItem& made = model.CurrentPage();
    EXPECT_EQ(made.ID, 3);
    EXPECT_EQ(made.GraphicIndex, 5);
    EXPECT_EQ(made.GraphicDirection, 3);
    EXPECT_EQ(made.GraphicPattern, 0);
    EXPECT_EQ(made.Transparent, 1);
    EXPECT_EQ(made.MoveType, 6);
    EXPECT_EQ(made.MoveFrequency, 7);
    EXPECT_EQ(made.Trigger, 4);
    EXPECT_EQ(made.Priority, 2);
    EXPECT_EQ(made.NoOverlap, 1);
    EXPECT_EQ(made.AnimationType, 5);
    EXPECT_EQ(made.MoveSpeed, 6);
    ASSERT_EQ(made.MoveRoute.Count(), 1);
    EXPECT_EQ(made.MoveRoute.Items(0).Code, 24);
    // Conditions and script start fresh.
    EXPECT_EQ(made.Condition.Flags, 0);
    EXPECT_EQ(made.Condition.TimerSeconds, 0);
    ASSERT_EQ(made.Script.Count(), 1);
    EXPECT_EQ(made.Script.Lines(0)->Code, 0);
}

TEST_F(EventEditorTest, DeletePageKeepsTheTabIndexOrTakesTheLastAndNeverDeletesTheOnlyPage) {
    struct Case {
        int pages, current;
        bool deleted;
        int selected;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {3, 2, true, 1, {"P1#1", "P2#2"}},
        {3, 0, true, 0, {"P2#1", "P3#2"}},
        {3, 1, true, 1, {"P1#1", "P3#2"}},
        {1, 0, false, 0, {"P1#1"}},
    };
    for (const Case& c : cases) {
        MakePages(event, c.pages);
        TEventEditorModel model(event, 1, false, Hooks());
        model.SelectPage(c.current);
        EXPECT_EQ(model.DeletePage(), c.deleted) << c.pages << "/" << c.current;
        EXPECT_EQ(model.CurrentIndex(), c.selected) << c.pages << "/" << c.current;
        EXPECT_EQ(GraphicNames(event), c.left) << c.pages << "/" << c.current;
        EXPECT_EQ(model.ApplyEnabled(), c.deleted);
    }
}

TEST_F(EventEditorTest, PageButtonsFollowTheCountAndTheClipboardAndCtrlTabWraps) {
    struct Case {
        int pages;
        bool clip;
        TPageButtons buttons;
    };
    const Case cases[] = {
        {1, false, {true, true, false, false}},
        {1, true, {true, true, true, false}},
        {99, true, {true, true, true, true}},
        {100, true, {false, true, false, true}},
    };
    for (const Case& c : cases) {
        clipboard.Clear();
        if (c.clip)
            clipboard.SetData(TKelEventPageItem::kClipboardFormat, "x");
        MakePages(event, c.pages);
        TEventEditorModel model(event, 1, false, Hooks());
        EXPECT_EQ(model.PageButtons(), c.buttons) << c.pages << " " << c.clip;
        if (c.pages == 100) {
            EXPECT_FALSE(model.NewPage());
            EXPECT_EQ(event.Pages.Count(), 100);
        }
    }

    // A copy made elsewhere reaches "Paste Page" at once.
    clipboard.Clear();
    MakePages(event, 3);
    TEventEditorModel model(event, 1, false, Hooks());
    int heard = 0;
    const TConnection listening = model.OnChanged.Connect([&] {
        ++heard;
        EXPECT_EQ(model.PageButtons().PastePage, clipboard.HasFormat(TKelEventPageItem::kClipboardFormat));
    });
    clipboard.SetData(TKelEventPageItem::kClipboardFormat, "x");
    clipboard.Clear();
    EXPECT_EQ(heard, 2);
    EXPECT_TRUE(model.PreviousPage());
    EXPECT_EQ(model.CurrentIndex(), 2);
    EXPECT_TRUE(model.NextPage());
    EXPECT_EQ(model.CurrentIndex(), 0);
    MakePages(event, 1);
    TEventEditorModel single(event, 1, false, Hooks());
    EXPECT_FALSE(single.NextPage());
    EXPECT_FALSE(single.PreviousPage());
}

TEST_F(EventEditorTest, CopiedPagePastesAfterTheCurrentOneAndDamagedBlocksChangeNothing) {
    MakePages(event, 2);
    event.Pages.Items(1)->Condition.TimerSeconds = 77;
    TEventEditorModel model(event, 1, false, Hooks());
    model.SelectPage(1);
    ASSERT_TRUE(model.CopyPage());
    const std::string block = *clipboard.GetData(TKelEventPageItem::kClipboardFormat);
    model.SelectPage(0);
    ASSERT_TRUE(model.PastePage());
    EXPECT_EQ(GraphicNames(event), (std::vector<std::string>{"P1#1", "P2#2", "P2#3"}));
    EXPECT_EQ(model.CurrentIndex(), 1);
    EXPECT_EQ(model.CurrentPage().Condition.TimerSeconds, 77);
    EXPECT_EQ(model.CurrentPage().Script.Lines(0)->Text, "page 2");

    const auto withCount = [&](std::uint32_t count) {
        std::string b = block;
        b[4] = static_cast<char>(count);
        return b;
    };
    std::string longer = block;
    longer[0] = static_cast<char>(static_cast<unsigned char>(longer[0]) + 1);
    longer += '\x05';  // a byte after the record, inside the count
    // A record that reads whole but whose script stops inside a line: size 1, the byte 8F.
    const std::string badScript = MakeClipboardBlock(1, std::string("\x33\x01\x01\x34\x01\x8F\x00", 7));
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"empty", ""},
        {"header only", block.substr(0, 8)},
        {"cut", block.substr(0, block.size() - 4)},
        {"two records", withCount(2)},
        {"no record", withCount(0)},
        {"trailing byte", longer},
        {"one byte short", block.substr(0, block.size() - 1)},
        {"damaged script", badScript},
    };
    TKelEventPageItem detached;
    EXPECT_TRUE(DecodePageClipboard(block, detached));
    EXPECT_TRUE(DecodePageClipboard(block + std::string(7, '\0'), detached));  // rounded-up memory
    for (const auto& [what, bytes] : damaged) {
        const std::string before = Saved(event);
        clipboard.SetData(TKelEventPageItem::kClipboardFormat, bytes);
        EXPECT_FALSE(model.PastePage()) << what;
        EXPECT_EQ(Saved(event), before) << what;
        EXPECT_EQ(model.CurrentIndex(), 1) << what;
    }
}

TEST_F(EventEditorTest, PagesWithoutPageOneOrWithoutPagesOpenNumberedFromOne) {
    event.Pages.Clear();
    TEventEditorModel none(event, 1, false, Hooks());
    ASSERT_EQ(event.Pages.Count(), 1);
    EXPECT_EQ(event.Pages.Items(0)->ID, 1);

    MakePages(event, 3);
    event.Pages.Delete(1);  // pages 2 and 3 remain
    event.Pages.Delete(2);
    event.Pages.Obtain(7).GraphicName = "P7";
    TEventEditorModel gaps(event, 1, false, Hooks());
    EXPECT_EQ(GraphicNames(event), (std::vector<std::string>{"P3#1", "P7#2"}));
    EXPECT_EQ(gaps.PageCount(), 2);
}

TEST_F(EventEditorTest, ConditionControlsFollowTheirBoxesAndTheTimerKeepsEachPart) {
    MakePages(event, 1);
    event.Pages.Items(0)->Condition.Flags = 0;
    TEventEditorModel model(event, 1, false, Hooks());
    TFieldBinding binding(EventPageForm(), model);
    const std::vector<std::pair<const char*, std::vector<const char*>>> controls = {
        {"CheckSwitchA", {"ButtonSwitchA"}},
        {"CheckSwitchB", {"ButtonSwitchB"}},
        {"CheckVariable", {"ButtonVariable", "SpinVariableValue"}},
        {"CheckItem", {"ComboItem"}},
        {"CheckHero", {"ComboHero"}},
        {"CheckTimer", {"SpinTimerMinutes", "SpinTimerSeconds"}},
    };
    std::uint8_t expected = 0;
    for (std::size_t bit = 0; bit < controls.size(); ++bit) {
        const auto& [box, dependents] = controls[bit];
        for (const char* d : dependents)
            EXPECT_FALSE(binding.Enabled(Field(d))) << d;
        ASSERT_TRUE(binding.SetValue(Field(box), 1)) << box;
        expected |= static_cast<std::uint8_t>(1u << bit);
        EXPECT_EQ(model.CurrentPage().Condition.Flags, expected) << box;
        for (const char* d : dependents)
            EXPECT_TRUE(binding.Enabled(Field(d))) << d;
    }

    TKelEventCondition& condition = model.CurrentPage().Condition;
    ASSERT_TRUE(binding.SetValue(Field("SpinTimerMinutes"), 2));
    ASSERT_TRUE(binding.SetValue(Field("SpinTimerSeconds"), 30));
    EXPECT_EQ(condition.TimerSeconds, 150);
    ASSERT_TRUE(binding.SetValue(Field("SpinTimerSeconds"), 5));
    EXPECT_EQ(condition.TimerSeconds, 125);
    ASSERT_TRUE(binding.SetValue(Field("SpinTimerMinutes"), 1));
    EXPECT_EQ(condition.TimerSeconds, 65);
    binding.SetValue(Field("SpinTimerSeconds"), 80);  // kept in range
    EXPECT_EQ(condition.TimerSeconds, 60 + 59);
    binding.SetValue(Field("SpinVariableValue"), -5000000);
    EXPECT_EQ(condition.VariableValue, -999999);

    // The switch picker writes its choice into the box's switch.
    ASSERT_TRUE(binding.Choose(Field("ButtonSwitchB")));
    EXPECT_EQ(condition.SwitchBId, 7);
    EXPECT_EQ(condition.SwitchAId, 1);
    // A box that is off opens no picker.
    binding.SetValue(Field("CheckVariable"), 0);
    const int calls = choosers.Calls;
    EXPECT_FALSE(binding.Choose(Field("ButtonVariable")));
    EXPECT_EQ(choosers.Calls, calls);
}

TEST_F(EventEditorTest, UnsetItemAndHeroConditionsShowTheFirstEntryButWriteNothingUntilPicked) {
    database.Player.Clear();
    database.Item.Clear();
    database.Player.Obtain(1).Name = "Alex";
    database.Player.Obtain(2).Name = "Brian";
    database.Item.Obtain(3).Name = "Potion";
    database.Item.Obtain(4).Name = "Ether";
    MakePages(event, 1);
    TKelEventCondition& condition = event.Pages.Items(0)->Condition;
    condition.Flags = TKelEventCondition::cfHero | TKelEventCondition::cfItem;
    condition.HeroId = 0;
    condition.ItemId = 1;  // no item 1 in the list
    TEventEditorModel model(event, 1, false, Hooks());
    TFieldBinding binding(EventPageForm(), model);
    EXPECT_EQ(binding.Number(Field("ComboHero")), 1);
    EXPECT_EQ(binding.Number(Field("ComboItem")), 3);
    EXPECT_EQ(binding.Items(Field("ComboItem")).size(), 2u);
    // Showing wrote nothing; picking the entry already shown neither.
    EXPECT_FALSE(binding.SetValue(Field("ComboHero"), 1));
    EXPECT_EQ(condition.HeroId, 0);
    EXPECT_EQ(condition.ItemId, 1);
    EXPECT_FALSE(model.ApplyEnabled());
    ASSERT_TRUE(binding.SetValue(Field("ComboHero"), 2));
    EXPECT_EQ(condition.HeroId, 2);
    ASSERT_TRUE(binding.SetValue(Field("ComboItem"), 4));
    EXPECT_EQ(condition.ItemId, 4);
    EXPECT_TRUE(model.ApplyEnabled());
}

TEST_F(EventEditorTest, SwitchingBetweenTileAndCharacterMovesThePriorityAndResetsTheAnimation) {
    struct Case {
        const char* from;
        const char* to;
        std::uint8_t priority, animation;
        std::uint8_t priorityAfter, animationAfter;
    };
    const Case cases[] = {
        {"", "Hero", kPriorityBelowHero, 3, kPrioritySameLevel, 0},
        {"", "Hero", kPriorityOverHero, 3, kPriorityOverHero, 0},
        {"Hero", "", kPrioritySameLevel, 5, kPriorityBelowHero, 0},
        {"Hero", "", kPriorityOverHero, 5, kPriorityOverHero, 0},
        {"Hero", "Maid", kPriorityBelowHero, 5, kPriorityBelowHero, 5},
        {"", "", kPrioritySameLevel, 0, kPrioritySameLevel, 0},
    };
    for (const Case& c : cases) {
        MakePages(event, 1);
        TKelEventPageItem& page = *event.Pages.Items(0);
        page.GraphicName = c.from;
        page.Priority = c.priority;
        page.AnimationType = c.animation;
        choosers.GraphicName = c.to;
        choosers.GraphicIndex = 4;
        choosers.GraphicDirection = 1;
        choosers.GraphicPattern = 2;
        TEventEditorModel model(event, 1, false, Hooks());
        for (int i = 0; i < 3; ++i)
            model.PreviewTick();
        ASSERT_TRUE(model.ChooseGraphic());
        const std::string what = std::string(c.from) + "->" + c.to;
        EXPECT_EQ(page.Priority, c.priorityAfter) << what;
        EXPECT_EQ(page.AnimationType, c.animationAfter) << what;
        EXPECT_EQ(page.GraphicName, c.to);
        EXPECT_EQ(page.GraphicIndex, 4);
        EXPECT_EQ(page.GraphicDirection, 1);
        EXPECT_EQ(page.GraphicPattern, 2);
        EXPECT_EQ(model.PreviewCounter(), 0) << what;
        EXPECT_TRUE(model.ApplyEnabled());
    }
    // Cancelled: nothing changes.
    choosers.Confirm = false;
    MakePages(event, 1);
    TEventEditorModel model(event, 1, false, Hooks());
    EXPECT_FALSE(model.ChooseGraphic());
    EXPECT_EQ(event.Pages.Items(0)->GraphicName, "P1");
    EXPECT_FALSE(model.ApplyEnabled());
}

TEST_F(EventEditorTest, MovementControlsAndTheRouteEditorFollowTheMovementType) {
    MakePages(event, 1);
    TEventEditorModel model(event, 1, false, Hooks());
    TFieldBinding binding(EventPageForm(), model);
    EXPECT_FALSE(binding.Enabled(Field("ComboFrequency")));
    EXPECT_FALSE(binding.Enabled(Field("ButtonEditRoute")));
    EXPECT_TRUE(binding.Enabled(Field("ComboAnimationType")));  // a character
    EXPECT_FALSE(model.EditRoute());
    ASSERT_TRUE(binding.SetValue(Field("ComboMoveType"), 1));
    EXPECT_TRUE(binding.Enabled(Field("ComboFrequency")));
    EXPECT_FALSE(binding.Enabled(Field("ButtonEditRoute")));
    ASSERT_TRUE(binding.SetValue(Field("ComboMoveType"), kMoveByRoute));
    ASSERT_TRUE(binding.Choose(Field("ButtonEditRoute")));
    EXPECT_FALSE(choosers.LastRoute.CommandMode);
    EXPECT_EQ(choosers.LastRoute.Frequency, 3);
    EXPECT_EQ(choosers.LastRoute.GraphicName, "P1");
    const TKelEventPageItem& page = model.CurrentPage();
    EXPECT_EQ(page.MoveFrequency, 6);
    ASSERT_EQ(page.MoveRoute.Count(), 1);
    EXPECT_EQ(page.MoveRoute.Items(0).Code, 23);
    // Speed and frequency lists show value - 1.
    ASSERT_TRUE(binding.SetValue(Field("ComboSpeed"), 0));
    EXPECT_EQ(page.MoveSpeed, 1);
    EXPECT_EQ(binding.Number(Field("ComboFrequency")), 5);
    // A tile has no animation type.
    model.CurrentPage().GraphicName.clear();
    EXPECT_FALSE(binding.Enabled(Field("ComboAnimationType")));
}

TEST(EventEditorPreview, CellsFollowTheAnimationTypeAndTheIntervalTheSpeed) {
    struct Case {
        int pattern, direction, type, counter;
        TPreviewCell cell;
    };
    const Case cases[] = {
        {2, 3, 0, 1, {2, 3}}, {2, 3, 4, 7, {2, 3}},  // still types show the stored cell
        {0, 1, 1, 0, {1, 1}}, {0, 1, 1, 1, {0, 1}}, {0, 1, 1, 2, {1, 1}}, {0, 1, 1, 3, {2, 1}},
        {0, 1, 3, 5, {0, 1}},                        // fixed direction steps too
        {1, 2, 5, 0, {1, 0}}, {1, 2, 5, 1, {1, 1}}, {1, 2, 5, 6, {1, 2}}, {1, 2, 5, 3, {1, 3}},
        {9, 9, 0, 0, {2, 3}},                        // out-of-range values stay in the block
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewCell(c.pattern, c.direction, c.type, c.counter), c.cell)
            << c.type << "/" << c.counter;
    const int plain[] = {266, 200, 166, 133, 116, 100};
    const int spin[] = {400, 266, 200, 133, 100, 66};
    for (int speed = 1; speed <= 6; ++speed) {
        EXPECT_EQ(PreviewInterval(speed, false), plain[speed - 1]);
        EXPECT_EQ(PreviewInterval(speed, true), spin[speed - 1]);
    }

    // Choosing the spin starts it where the character faces.
    TKelEventItem event;
    event.Pages.Items(0)->GraphicName = "Hero";
    event.Pages.Items(0)->GraphicDirection = 3;
    TEventEditorModel model(event, 1, false);
    model.SetAnimationType(kAnimSpin);
    EXPECT_EQ(model.CurrentPreviewCell().Row, 3);
    model.PreviewTick();
    EXPECT_EQ(model.CurrentPreviewCell().Row, 0);
    EXPECT_EQ(model.CurrentPreviewInterval(), 200);
}

TEST_F(EventEditorTest, OkAndApplyCommitAndSaveAChangedDataBaseAndClosingReloadsWhatWasNotSaved) {
    MakePages(event, 1);
    int commits = 0, saves = 0, reloads = 0;
    bool saveWorks = false;
    TEventEditorHooks hooks = Hooks();
    hooks.Commit = [&](const TKelEventItem& committed) {
        ++commits;
        return &committed == &event;
    };
    hooks.SaveDataBase = [&](std::string& error) {
        ++saves;
        if (!saveWorks)
            error = "GMK_RT.kdb cannot be written";
        return saveWorks;
    };
    hooks.ReloadDataBase = [&] { ++reloads; };

    {  // An existing event: Apply starts disabled, an edit enables it, Apply disables it again.
        TEventEditorModel model(event, 1, false, hooks);
        EXPECT_FALSE(model.ApplyEnabled());
        model.SetTrigger(2);
        EXPECT_TRUE(model.ApplyEnabled());
        std::string error;
        ASSERT_TRUE(model.Apply(error));
        EXPECT_FALSE(model.ApplyEnabled());
        EXPECT_EQ(commits, 1);
        EXPECT_EQ(saves, 0);  // nothing renamed: no save
        model.Close();
        EXPECT_EQ(reloads, 0);
    }
    {  // A picker renamed a switch; the save fails: Ok keeps the dialog, and the flag.
        choosers.ChangesDataBase = true;
        TEventEditorModel model(event, 1, true, hooks);
        EXPECT_TRUE(model.ApplyEnabled());  // a new event
        model.SetConditionOn(TEventCondition::SwitchA, true);
        model.ChooseSwitchA();
        std::string error;
        EXPECT_FALSE(model.Ok(error));
        EXPECT_EQ(error, "GMK_RT.kdb cannot be written");
        EXPECT_TRUE(model.DataBaseChanged());
        EXPECT_EQ(saves, 1);
        saveWorks = true;
        ASSERT_TRUE(model.Ok(error));
        EXPECT_TRUE(error.empty());
        EXPECT_EQ(saves, 2);
        EXPECT_FALSE(model.DataBaseChanged());
        // The saved rename is not saved again by the next Apply, nor read again on closing.
        model.SetTrigger(1);
        ASSERT_TRUE(model.Apply(error));
        EXPECT_EQ(saves, 2);
        model.Close();
        EXPECT_EQ(reloads, 0);
    }
    {  // Renamed and cancelled: the database is read again.
        TEventEditorModel model(event, 1, false, hooks);
        model.MarkDataBaseChanged();
        model.Close();
        EXPECT_EQ(reloads, 1);
    }
    {  // The map refused the event: nothing is saved.
        TKelEventItem other;
        TEventEditorModel model(other, 2, false, hooks);
        model.MarkDataBaseChanged();
        std::string error;
        const int before = saves;
        EXPECT_FALSE(model.Ok(error));
        EXPECT_EQ(saves, before);
    }
}

TEST_F(EventEditorTest, NameEditsEnableApplyAndRenderTheScriptOnceWhenTheBoxIsLeft) {
    TEventEditorModel model(event, 12, false, Hooks());
    EXPECT_EQ(model.Caption(), " - ID:0012");
    int renders = 0;
    const TConnection heard = model.OnRenderScript.Connect([&] { ++renders; });
    model.NameEditingFinished();
    EXPECT_EQ(renders, 0);
    TFieldBinding binding(EventPageForm(), model);
    ASSERT_TRUE(binding.SetValue(Field("EditName"), std::string("Door of the old castle")));
    EXPECT_EQ(event.Name, "Door of the old cast");  // 20 bytes
    EXPECT_TRUE(model.ApplyEnabled());
    model.NameEditingFinished();
    model.NameEditingFinished();
    EXPECT_EQ(renders, 1);
}

}  // namespace
