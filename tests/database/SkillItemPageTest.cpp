// The rules of the skill and item pages without a window: the groups each classification shows,
// the captions that follow the effect range and the class, the mark lists' storing rule, the
// position lists, the using-message buttons and the preview's repetition.
#include "data/LD_DataBase.h"
#include "database/AnimationPreview.h"
#include "database/ED_Item.h"
#include "database/ED_Skill.h"
#include "database/PageTestKit.h"
#include "events/FakeEventChoosers.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using pagetest::Context;
using pagetest::IndexOf;

TEST(SkillPageTest, GroupsFollowTheClassification) {
    // N normal, S sound, M message, W switch; an unknown classification shows none.
    const struct {
        std::uint8_t Kind;
        const char* Shown;
    } cases[] = {{0, "NM"}, {1, "S"}, {2, "S"}, {3, "SMW"}, {9, ""}};
    TKelDataBase db;
    TSkillPageModel model(Context(db), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Kind));
        model.Item().Kind = c.Kind;
        std::string shown;
        if (model.Shown(TSkillGroup::Normal)) shown += 'N';
        if (model.Shown(TSkillGroup::Sound)) shown += 'S';
        if (model.Shown(TSkillGroup::Message)) shown += 'M';
        if (model.Shown(TSkillGroup::Switch)) shown += 'W';
        EXPECT_EQ(shown, c.Shown);
    }
}

TEST(SkillPageTest, CaptionsFollowTheEffectRange) {
    TKelDataBase db;
    TSkillPageModel model(Context(db), nullptr);
    const char* const attack[] = {"Attack Attribute", "Prevent Chance"};
    const char* const defense[] = {"Defense Attribute", "Defend"};
    for (std::uint8_t range = 0; range <= 4; ++range) {
        SCOPED_TRACE(static_cast<int>(range));
        model.Item().EffectRange = range;
        const char* const* expected = range <= 1 ? attack : defense;
        EXPECT_EQ(model.AttributeCaption(), expected[0]);
        EXPECT_EQ(model.DefenseFallingCaption(), expected[1]);
    }
}

TEST(SkillPageTest, OutOfRangeValuesShowAsTheyAreAndAreNotStored) {
    TKelDataBase db;
    db.Animation.Obtain(2);
    TKelSkillItem& skill = db.Skill.Obtain(1);
    skill.Kind = 7;
    skill.EffectRange = 9;
    skill.FailureMessage = 6;
    skill.AnimationId = 40;
    TSkillPageModel model(Context(db), nullptr);
    TFieldBinding binding(SkillPageForm(), model);
    const TFieldForm& form = SkillPageForm();
    // The drop-down lists get the stored value (out of their choices: no row shown).
    EXPECT_EQ(binding.Number(IndexOf(form, "ComboKind")), 7);
    EXPECT_EQ(binding.Number(IndexOf(form, "ComboRange")), 9);
    EXPECT_EQ(binding.Number(IndexOf(form, "ComboFailure")), 6);
    // An animation beyond the list shows the first one without storing it.
    EXPECT_EQ(binding.Number(IndexOf(form, "ComboAnimation")), 1);
    EXPECT_EQ(skill.AnimationId, 40);
    EXPECT_EQ(model.PreviewAnimation(), db.Animation.Items(0));
    EXPECT_TRUE(binding.SetValue(IndexOf(form, "ComboAnimation"), 2));
    EXPECT_EQ(skill.AnimationId, 2);
    EXPECT_FALSE(binding.SetValue(IndexOf(form, "ComboAnimation"), 3)) << "no third animation";
    EXPECT_EQ(skill.AnimationId, 2);
}

TEST(SkillPageTest, UsingMessageButtonsAndSliders) {
    TKelDataBase db;
    db.Skill.Obtain(1).Name = "Fire";
    db.Skill.Obtain(1).UsingMessage2 = "old";
    TSkillPageModel model(Context(db), nullptr);
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    TFieldBinding binding(SkillPageForm(), model);
    ASSERT_TRUE(binding.Choose(IndexOf(SkillPageForm(), "ButtonCast")));
    EXPECT_EQ(model.Item().UsingMessage1, "= Fire atirada! ");
    EXPECT_EQ(model.Item().UsingMessage2, "");
    EXPECT_FALSE(binding.Choose(IndexOf(SkillPageForm(), "ButtonCast"))) << "the same text again is no change";
    EXPECT_TRUE(model.SetInfluence(2, 15));
    EXPECT_EQ(model.Item().Variance, kSkillSliderMax);
    EXPECT_FALSE(model.SetInfluence(3, 1));
    EXPECT_EQ(modified, 2);
}

TEST(SkillPageTest, SwitchAndSoundAreChosenAndCountAsChanges) {
    TKelDataBase db;
    db.Switch.Obtain(7).Name = "Door";
    testkit::TFakeEventChoosers choosers;
    TSkillPageModel model(Context(db), &choosers);
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    model.Item().SwitchId = 40;
    EXPECT_EQ(model.SwitchText(), "") << "switch 40 does not exist";
    EXPECT_TRUE(model.ChooseSwitch());
    EXPECT_EQ(model.Item().SwitchId, 7);
    EXPECT_EQ(model.SwitchText(), "0007:Door");
    choosers.EditSound = [](TKelSound& s) { s.Name = "Bell"; s.Volume = 80; };
    EXPECT_TRUE(model.ChooseSound());
    EXPECT_EQ(model.Item().Sound.Name, "Bell");
    EXPECT_EQ(model.Item().Sound.Volume, 80);
    choosers.Answer = false;
    EXPECT_FALSE(model.ChooseSound());
    EXPECT_EQ(modified, 2);
}

TEST(ItemPageTest, GroupsAndCaptionsFollowTheClass) {
    // U uses, H heroes, E equip, W weapon, A armour, C conditions, M medicine, B book,
    // T material, Q unique, S switch.
    const struct {
        std::uint8_t Kind;
        const char* Shown;
        const char* Heroes;
        const char* Attribute;
    } cases[] = {
        {0, "", "The hero who can use it", "Defense Attribute"},
        {1, "HEWC", "The hero who can equip it", "Attack Attribute"},
        {2, "HEAC", "The hero who can equip it", "Defense Attribute"},
        {5, "HEAC", "The hero who can equip it", "Defense Attribute"},
        {6, "UHM", "The hero who can use it", "Defense Attribute"},
        {7, "UHB", "The hero who can use it", "Defense Attribute"},
        {8, "UHT", "The hero who can use it", "Defense Attribute"},
        {9, "UHQ", "The hero who can use it", "Defense Attribute"},
        {10, "US", "The hero who can use it", "Defense Attribute"},
        {11, "", "The hero who can use it", "Defense Attribute"},
    };
    const std::pair<TItemGroup, char> groups[] = {
        {TItemGroup::Uses, 'U'},     {TItemGroup::Heroes, 'H'},     {TItemGroup::Equip, 'E'},
        {TItemGroup::Weapon, 'W'},   {TItemGroup::Armour, 'A'},     {TItemGroup::Conditions, 'C'},
        {TItemGroup::Medicine, 'M'}, {TItemGroup::Book, 'B'},       {TItemGroup::Material, 'T'},
        {TItemGroup::Unique, 'Q'},   {TItemGroup::Switch, 'S'}};
    TKelDataBase db;
    TItemPageModel model(Context(db), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Kind));
        model.Item().Kind = c.Kind;
        std::string shown;
        for (const auto& [group, letter] : groups)
            if (model.Shown(group))
                shown += letter;
        EXPECT_EQ(shown, c.Shown);
        EXPECT_EQ(model.HeroCaption(), c.Heroes);
        EXPECT_EQ(model.AttributeCaption(), c.Attribute);
        EXPECT_EQ(model.ProbabilityCaption(), c.Attribute);
    }
}

TEST(ItemPageTest, ChangingTheClassReloadsTheEntryAndUnknownOnesAreRefused) {
    TKelDataBase db;
    TItemPageModel model(Context(db), nullptr);
    int reloads = 0, modified = 0;
    const TConnection a = model.CurrentChanged.Connect([&] { ++reloads; });
    const TConnection b = model.Modified.Connect([&] { ++modified; });
    TFieldBinding binding(ItemPageForm(), model);
    EXPECT_TRUE(binding.SetValue(IndexOf(ItemPageForm(), "ComboKind"), 1));
    EXPECT_EQ(model.Item().Kind, TKelItemItem::ikWeapon);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(modified, 1);
    model.SetKind(11);
    EXPECT_EQ(model.Item().Kind, TKelItemItem::ikWeapon);
    EXPECT_EQ(reloads, 1);
}

TEST(ItemPageTest, AShortHeroListKeepsEveryShownMark) {
    // Heroes beyond the stored list can use the item; unticking one must leave the others able.
    const struct {
        const char* What;
        std::vector<std::uint8_t> Stored;
        std::int32_t Hero;
        bool On;
        std::vector<bool> Marks;
    } cases[] = {
        {"empty list, one hero unticked", {}, 2, false, {true, false, true, true}},
        {"short list, a later hero unticked", {0, 1}, 4, false, {false, true, true, false}},
        {"short list, a stored hero ticked", {0, 1}, 1, true, {true, true, true, true}},
        {"whole list", {1, 1, 1, 1}, 3, false, {true, true, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TKelDataBase db;
        for (std::int32_t id = 1; id <= 4; ++id)
            db.Player.Obtain(id);
        TKelItemItem& item = db.Item.Obtain(1);
        item.HeroUsableCount = static_cast<std::int32_t>(c.Stored.size());
        item.HeroUsable = c.Stored;
        TItemPageModel model(Context(db), nullptr);
        EXPECT_TRUE(model.SetHeroMark(c.Hero, c.On));
        EXPECT_EQ(model.HeroMarks(), c.Marks);
        EXPECT_EQ(item.HeroUsableCount, 4);
        EXPECT_FALSE(model.SetHeroMark(c.Hero, c.On)) << "the same mark again";
    }
}

TEST(ItemPageTest, TwinListsShareOneArrayAndSkillsAreChosenByPosition) {
    TKelDataBase db;
    for (std::int32_t id = 1; id <= 3; ++id)
        db.Attrib.Obtain(id);
    db.Status.Obtain(2);
    ASSERT_EQ(db.Attrib.Count(), 3);
    ASSERT_EQ(db.Status.Count(), 2);
    db.Skill.Obtain(2).Name = "Heal";
    TItemPageModel model(Context(db), nullptr);
    EXPECT_TRUE(model.SetAttributeMark(3, true));
    EXPECT_EQ(model.AttributeMarks(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(model.Item().AttributeCount, 3);
    EXPECT_FALSE(model.SetAttributeMark(4, true)) << "no fourth attribute";
    EXPECT_TRUE(model.SetConditionMark(2, true));
    EXPECT_EQ(model.ConditionMarks(), (std::vector<bool>{false, true}));

    TFieldBinding binding(ItemPageForm(), model);
    const std::size_t learn = IndexOf(ItemPageForm(), "ComboLearnSkill");
    const std::size_t invoke = IndexOf(ItemPageForm(), "ComboInvokeSkill");
    model.Item().SkillId = 9;
    EXPECT_EQ(binding.Number(learn), 1) << "shown as the first skill";
    EXPECT_EQ(model.Item().SkillId, 9) << "not stored by showing";
    EXPECT_TRUE(binding.SetValue(invoke, 2));
    EXPECT_EQ(binding.Number(learn), 2);
    EXPECT_EQ(binding.Items(learn)[1].Name, "Heal");
}

TEST(ItemPageTest, FieldsKeepTheirLimits) {
    TKelDataBase db;
    TItemPageModel model(Context(db), nullptr);
    TFieldBinding binding(ItemPageForm(), model);
    const struct {
        const char* Widget;
        TFieldValue Typed, Stored;
    } cases[] = {
        {"EditName", std::string("A very long item name!"), std::string("A very long item nam")},
        {"EditPrice", 5000000, kItemPriceMax},
        {"EditHitChance", 150, 100},
        {"EditAttack", -5000, kItemNumberMin},
        {"ComboUses", 0, 0},
        {"ComboHand", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Widget);
        const std::size_t index = IndexOf(ItemPageForm(), c.Widget);
        binding.SetValue(index, c.Typed);
        EXPECT_EQ(binding.Value(index), c.Stored);
    }
    EXPECT_EQ(db.Item.FindByID(1)->TwoHanded, 1);
    EXPECT_EQ(db.Item.FindByID(1)->UseCount, 0);
}

TEST(AnimationPreviewTest, ARepetitionIsTheFramesAndAPauseOfFiveToTwenty) {
    const struct {
        int Frames, Cycle;
    } cases[] = {{10, 20}, {3, 8}, {40, 60}, {5, 10}, {20, 40}, {0, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Frames);
        EXPECT_EQ(AnimationPreviewCycle(c.Frames), c.Cycle);
        TAnimationPreviewClock clock;
        clock.Restart(1000);
        EXPECT_EQ(clock.Frame(999, c.Frames), -1);
        EXPECT_EQ(clock.Frame(1000 + kPreviewFrameMs * (c.Cycle - 1), c.Frames), c.Cycle - 1);
        // The full repetition starts again at frame 0, from that moment on.
        const std::int64_t restart = 1000 + kPreviewFrameMs * c.Cycle;
        EXPECT_EQ(clock.Frame(restart, c.Frames), 0);
        EXPECT_EQ(clock.Frame(restart + kPreviewFrameMs * 2 + 5, c.Frames), 2);
    }
}

}  // namespace
}  // namespace quillon
