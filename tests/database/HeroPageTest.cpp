// The hero page without a window: the level range, "Máx:", the equipment slots and the
// two-handed rule, the unarmed animation, the skills learned and their dialog, and the ranks.
// Viewing a hero never writes to it.
#include "data/LD_DataBase.h"
#include "database/ED_Player.h"
#include "events/FakeEventChoosers.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

std::size_t IndexOf(const std::string& widget) {
    const TFieldForm& form = PlayerPageForm();
    for (std::size_t i = 0; i < form.Fields.size(); ++i)
        if (form.Fields[i].Widget == widget)
            return i;
    ADD_FAILURE() << "no field " << widget;
    return 0;
}

class HeroPageTest : public ::testing::Test {
protected:
    HeroPageTest() {
        DataBaseMemory() = {};
        context.DataBase = &db;
        db.Player.Obtain(1).Name = "Alex";
        db.Player.Obtain(2).Name = "Brian";
    }
    TKelItemItem& AddItem(std::int32_t id, std::uint8_t kind, const char* name, bool twoHanded = false) {
        TKelItemItem& item = db.Item.Obtain(id);
        item.Name = name;
        item.Kind = kind;
        item.TwoHanded = twoHanded ? 1 : 0;
        return item;
    }
    static std::vector<std::int32_t> Ids(const std::vector<TFieldChoice>& choices) {
        std::vector<std::int32_t> ids;
        for (const TFieldChoice& c : choices)
            ids.push_back(c.Id);
        return ids;
    }
    // Every value the binder shows, read once, as a window showing the entry reads them.
    static void View(TPlayerPageModel& model) {
        TFieldBinding binding(PlayerPageForm(), model);
        for (std::size_t i = 0; i < binding.Count(); ++i) {
            (void)binding.Value(i);
            (void)binding.Enabled(i);
            if (binding.Field(i).Items)
                (void)binding.Items(i);
        }
        (void)model.ConditionRows();
        (void)model.AttributeRows();
        for (int row = 0; row < model.LearningRowCount(); ++row)
            (void)model.LearningSkillText(row);
        for (int p = 0; p < kParameterCount; ++p)
            (void)model.ShownMax(p);
    }

    TKelDataBase db;
    TDataBaseContext context;
};

TEST_F(HeroPageTest, TheLevelBoxesLimitEachOther) {
    TPlayerPageModel model(context);
    TFieldBinding binding(PlayerPageForm(), model);
    EXPECT_TRUE(binding.SetValue(IndexOf("EditInitialLevel"), 20));
    EXPECT_EQ(model.MaxLevelMin(), 20);
    EXPECT_TRUE(model.SetMaxLevel(5));  // kept at the initial level
    EXPECT_EQ(model.Hero().MaxLevel, 20);
    EXPECT_FALSE(model.SetInitialLevel(30));  // above the maximum: kept at 20, no change
    EXPECT_EQ(model.Hero().InitialLevel, 20);
    EXPECT_TRUE(model.SetMaxLevel(50));
    EXPECT_TRUE(model.SetInitialLevel(30));
    EXPECT_EQ(model.InitialLevelMax(), 50);
}

TEST_F(HeroPageTest, ViewingAHeroWithValuesTheBoxesCannotShowWritesNothing) {
    TKelPlayerItem& hero = *db.Player.FindByID(1);
    hero.InitialLevel = 70;
    hero.MaxLevel = 0;
    hero.CriticalChance = 1000;
    hero.UnarmedAnimationId = 99;
    hero.ExpStandard = INT32_MAX;
    hero.SetEquipment(hsWeapon, 77);  // no such item
    hero.SetConditionRankCount(1);
    hero.SetConditionRank(1, 7);      // no rank letter
    db.Status.Obtain(2);
    db.Animation.Obtain(3).Name = "Slash";
    TKelPlayerItem before;
    before.Assign(hero);

    TPlayerPageModel model(context);
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    View(model);
    EXPECT_EQ(model.InitialLevel(), 50);
    EXPECT_EQ(model.MaxLevel(), 1);
    EXPECT_EQ(model.CriticalChance(), 100);
    EXPECT_EQ(model.UnarmedAnimation(), db.Animation.Items(0)->ID);  // the list's first animation
    EXPECT_EQ(model.SlotItem(hsWeapon), 0);  // "(None)"
    EXPECT_EQ(model.ConditionRows()[0].Rank, 7);
    EXPECT_EQ(model.ConditionRows()[1].Rank, 2);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(hero.InitialLevel, 70);
    EXPECT_EQ(hero.MaxLevel, 0);
    EXPECT_EQ(hero.CriticalChance, 1000);
    EXPECT_EQ(hero.UnarmedAnimationId, 99);
    EXPECT_EQ(hero.Equipment(hsWeapon), 77);
    EXPECT_EQ(hero.ConditionRankCount, 1);
    EXPECT_EQ(hero.ConditionRank(1), 7);
    EXPECT_EQ(model.ExpSummary(), "Standard=2147483647; Additional=30; Corrected=0");

    // Changing the animation stores the row's record ID.
    EXPECT_TRUE(model.SetUnarmedAnimation(3));
    EXPECT_EQ(hero.UnarmedAnimationId, 3);
    EXPECT_FALSE(model.SetUnarmedAnimation(2));  // not in the list
}

TEST_F(HeroPageTest, MaxAddsTheEquipmentBonusesByCaption) {
    TKelItemItem& sword = AddItem(1, TKelItemItem::ikWeapon, "Sword");
    sword.AttackChange = 1;
    sword.DefenseChange = 10;
    TKelItemItem& shield = AddItem(2, TKelItemItem::ikShield, "Shield");
    shield.DefenseChange = 100;
    shield.MindChange = 1000;
    TKelItemItem& ring = AddItem(5, TKelItemItem::ikAccessory, "Ring");
    ring.AgilityChange = 10000;
    ring.MindChange = 20000;
    TKelPlayerItem& hero = *db.Player.FindByID(1);
    hero.InitialLevel = 3;
    hero.SetEquipment(hsWeapon, 1);
    hero.SetEquipment(hsShield, 2);
    hero.SetEquipment(hsAccessory, 5);
    TPlayerPageModel model(context);
    const std::int32_t expected[kParameterCount] = {
        kHeroCurveA[2], kHeroCurveA[2], kHeroCurveB[2] + 1, kHeroCurveB[2] + 110, kHeroCurveC[2] + 21000,
        kHeroCurveC[2] + 10000};
    for (int p = 0; p < kParameterCount; ++p)
        EXPECT_EQ(model.ShownMax(p), expected[p]) << ParameterCaption(p);
}

TEST_F(HeroPageTest, SlotsOfferTheItemsOfTheirClassThatTheHeroMayEquip) {
    AddItem(1, TKelItemItem::ikWeapon, "Sword");
    AddItem(2, TKelItemItem::ikShield, "Buckler");
    AddItem(3, TKelItemItem::ikWeapon, "Axe").SetHeroUsableCount(1);  // hero 1 may not, hero 2 may
    AddItem(4, TKelItemItem::ikArmor, "Mail");
    AddItem(5, TKelItemItem::ikHelmet, "Cap");
    AddItem(6, TKelItemItem::ikAccessory, "Ring");
    AddItem(7, TKelItemItem::ikMedicine, "Potion");
    TPlayerPageModel model(context);
    EXPECT_EQ(Ids(model.SlotChoices(hsWeapon)), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(Ids(model.SlotChoices(hsShield)), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(Ids(model.SlotChoices(hsArmor)), (std::vector<std::int32_t>{0, 4}));
    EXPECT_EQ(Ids(model.SlotChoices(hsHelmet)), (std::vector<std::int32_t>{0, 5}));
    EXPECT_EQ(Ids(model.SlotChoices(hsAccessory)), (std::vector<std::int32_t>{0, 6}));
    EXPECT_EQ(model.SlotChoices(hsWeapon)[0].Name, "(None)");
    EXPECT_FALSE(model.SetSlotItem(hsWeapon, 3));
    EXPECT_FALSE(model.SetSlotItem(hsArmor, 7));
    ASSERT_TRUE(model.SelectId(2));
    EXPECT_EQ(Ids(model.SlotChoices(hsWeapon)), (std::vector<std::int32_t>{0, 1, 3}));

    // Two weapons: the second slot offers the weapons.
    EXPECT_STREQ(model.SecondSlotCaption(), "Shield:");
    model.SetTwoSwords(true);
    EXPECT_STREQ(model.SecondSlotCaption(), "Weapon:");
    EXPECT_EQ(Ids(model.SlotChoices(hsShield)), (std::vector<std::int32_t>{0, 1, 3}));
}

TEST_F(HeroPageTest, TwoWeaponsOffClearsTheSecondSlotOnlyWhenItsItemNoLongerFits) {
    AddItem(1, TKelItemItem::ikWeapon, "Sword");
    AddItem(2, TKelItemItem::ikShield, "Buckler");
    TKelPlayerItem& hero = *db.Player.FindByID(1);
    TPlayerPageModel model(context);
    model.SetTwoSwords(true);
    ASSERT_TRUE(model.SetSlotItem(hsShield, 1));
    model.SetTwoSwords(false);
    EXPECT_EQ(hero.Equipment(hsShield), 0);  // a weapon is no shield

    hero.TwoSwords = 1;
    hero.SetEquipment(hsShield, 2);  // a shield stored while two weapons are on (from a file)
    EXPECT_EQ(model.SlotItem(hsShield), 0);  // shown as "(None)" ...
    EXPECT_EQ(hero.Equipment(hsShield), 2);  // ... and kept
    model.SetTwoSwords(false);
    EXPECT_EQ(hero.Equipment(hsShield), 2);  // it fits again
    EXPECT_EQ(model.SlotItem(hsShield), 2);
}

TEST_F(HeroPageTest, TheTwoHandedRuleBothWays) {
    AddItem(1, TKelItemItem::ikWeapon, "Sword");
    AddItem(2, TKelItemItem::ikWeapon, "Great Axe", true);
    AddItem(3, TKelItemItem::ikShield, "Buckler");
    TKelPlayerItem& hero = *db.Player.FindByID(1);
    TPlayerPageModel model(context);
    TFieldBinding binding(PlayerPageForm(), model);

    // A two-handed weapon clears the shield.
    ASSERT_TRUE(model.SetSlotItem(hsShield, 3));
    ASSERT_TRUE(binding.SetValue(IndexOf("ComboWeapon"), 2));
    EXPECT_EQ(hero.Equipment(hsWeapon), 2);
    EXPECT_EQ(hero.Equipment(hsShield), 0);
    // A shield while a two-handed weapon is held clears the weapon.
    ASSERT_TRUE(binding.SetValue(IndexOf("ComboShield"), 3));
    EXPECT_EQ(hero.Equipment(hsShield), 3);
    EXPECT_EQ(hero.Equipment(hsWeapon), 0);
    // A one-handed weapon keeps the shield.
    ASSERT_TRUE(model.SetSlotItem(hsWeapon, 1));
    EXPECT_EQ(hero.Equipment(hsShield), 3);
    // Two weapons: a two-handed one in the second slot clears the first, and the first clears it.
    model.SetTwoSwords(true);
    EXPECT_EQ(hero.Equipment(hsShield), 0);
    ASSERT_TRUE(model.SetSlotItem(hsShield, 2));
    EXPECT_EQ(hero.Equipment(hsWeapon), 0);
    ASSERT_TRUE(model.SetSlotItem(hsWeapon, 1));
    EXPECT_EQ(hero.Equipment(hsShield), 0);
}

TEST_F(HeroPageTest, LearningRowsStaySortedAndStopAtFiveHundred) {
    db.Skill.Obtain(1).Name = "Heal";
    db.Skill.Obtain(2).Name = "Fire";
    TPlayerPageModel model(context);
    EXPECT_EQ(model.LearningRowCount(), 1);  // the adding row
    EXPECT_EQ(model.StoreLearning(0, 12, 2), 0);
    EXPECT_EQ(model.StoreLearning(1, 5, 9), 0);  // before the level-12 entry
    EXPECT_EQ(model.StoreLearning(2, 5, 1), 0);  // same level: by skill ID
    ASSERT_EQ(model.LearningRowCount(), 4);
    EXPECT_EQ(model.LearningLevelText(0), "L- 5");
    EXPECT_EQ(model.LearningSkillText(0), "Heal");
    EXPECT_EQ(model.LearningSkillText(1), "?");
    EXPECT_EQ(model.LearningLevelText(2), "L-12");
    EXPECT_EQ(model.LearningLevelText(3), "");
    const TKelPlayerLearning& learning = model.Hero().Learning;
    for (int i = 0; i < learning.Count(); ++i)
        EXPECT_EQ(learning.Items(i)->ID, i + 1);
    // Editing moves an entry to its place; deleting renumbers.
    EXPECT_EQ(model.StoreLearning(0, 40, 1), 2);
    EXPECT_TRUE(model.DeleteLearning(0));
    EXPECT_EQ(learning.Count(), 2);
    EXPECT_EQ(learning.Items(0)->ID, 1);
    EXPECT_EQ(learning.Items(0)->Level, 12);
    EXPECT_FALSE(model.DeleteLearning(2));  // the adding row

    while (learning.Count() < kHeroLearningMax)
        model.Hero().Learning.Append();
    EXPECT_FALSE(model.CanEditLearning(kHeroLearningMax));
    EXPECT_EQ(model.StoreLearning(kHeroLearningMax, 1, 1), -1);
    EXPECT_TRUE(model.CanEditLearning(kHeroLearningMax - 1));
    EXPECT_GE(model.StoreLearning(kHeroLearningMax - 1, 50, 2), 0);
    EXPECT_EQ(learning.Count(), kHeroLearningMax);
}

TEST_F(HeroPageTest, TheLearningDialogOffersOnlySkillsNotTaughtYet) {
    for (std::int32_t id = 1; id <= 4; ++id)
        db.Skill.Obtain(id).Name = "Skill" + std::to_string(id);
    TKelPlayerItem& hero = *db.Player.FindByID(1);
    for (std::int32_t id : {1, 3}) {
        TKelPlayerLearningItem& entry = hero.Learning.Append();
        entry.Level = 10 * id;
        entry.SkillId = id;
    }
    TPlayerLearningModel::LastLevel() = 7;
    TPlayerLearningModel::LastSkill() = 3;
    {
        // The adding row starts from the values last confirmed: skill 3 is taught, so the first
        // offered skill from 3 on.
        TPlayerLearningModel add(db, hero, 2);
        EXPECT_EQ(Ids(add.Skills()), (std::vector<std::int32_t>{2, 4}));
        EXPECT_EQ(add.Level(), 7);
        EXPECT_EQ(add.SkillId(), 4);
        add.SetLevel(99);
        EXPECT_EQ(add.Level(), 50);
        add.SetSkillRow(0);
        add.Confirmed();
        EXPECT_EQ(TPlayerLearningModel::LastSkill(), 2);
    }
    {
        // An entry offers its own skill too, and starts on it.
        TPlayerLearningModel edit(db, hero, 1);
        EXPECT_EQ(Ids(edit.Skills()), (std::vector<std::int32_t>{2, 3, 4}));
        EXPECT_EQ(edit.SkillId(), 3);
        EXPECT_EQ(edit.Level(), 30);
    }
    for (std::int32_t id : {2, 4})
        hero.Learning.Append().SkillId = id;
    TPlayerLearningModel full(db, hero, hero.Learning.Count());
    EXPECT_TRUE(full.Skills().empty());
    EXPECT_FALSE(full.CanConfirm());
}

TEST_F(HeroPageTest, ARankIsStoredIntoAnArrayAsLongAsTheList) {
    for (std::int32_t id = 1; id <= 4; ++id)
        db.Status.Obtain(id).Name = "C" + std::to_string(id);
    db.Attrib.Obtain(1).Name = "Fire";
    db.Attrib.Obtain(2).Name = "Ice";
    TKelPlayerItem& hero = *db.Player.FindByID(1);
    hero.SetConditionRankCount(2);
    hero.SetConditionRank(1, 0);
    TPlayerPageModel model(context);
    EXPECT_TRUE(model.SetConditionRank(2, 4));
    EXPECT_EQ(hero.ConditionRankCount, 4);
    EXPECT_EQ(hero.ConditionRank(1), 0);
    EXPECT_EQ(hero.ConditionRank(2), 2);
    EXPECT_EQ(hero.ConditionRank(3), 4);
    EXPECT_EQ(hero.ConditionRank(4), 2);
    EXPECT_FALSE(model.SetConditionRank(4, 1));  // no fifth condition
    EXPECT_FALSE(model.SetAttributeRank(0, 5));
    EXPECT_TRUE(model.SetAttributeRank(1, 1));
    EXPECT_EQ(hero.AttributeRankCount, 2);
    EXPECT_EQ(model.AttributeRows()[1].Name, "Ice");
    EXPECT_EQ(model.AttributeRows()[1].Rank, 1);
}

TEST_F(HeroPageTest, GraphicsComeFromTheSelectorsAndCurvesFromTheirDialogs) {
    testkit::TFakeEventChoosers choosers;
    TPlayerPageModel model(context, &choosers);
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    choosers.ChosenName = "Hero2";
    EXPECT_TRUE(model.ChooseWalkGraphic());
    EXPECT_EQ(model.Hero().CharSetName, "Hero2");
    EXPECT_EQ(choosers.Kind, TSelKind::Char);
    EXPECT_EQ(choosers.Caption, "Select Walk Graphic");
    EXPECT_FALSE(model.ChooseWalkGraphic());  // the same again
    EXPECT_TRUE(model.ChooseFaceGraphic());
    EXPECT_EQ(choosers.Kind, TSelKind::Face);
    EXPECT_EQ(model.Hero().FaceName, "Hero2");

    TParameterCurves curves = HeroCurves(model.Hero());
    EXPECT_FALSE(model.SetCurves(curves));
    curves[3][49] = 777;
    EXPECT_TRUE(model.SetCurves(curves));
    EXPECT_EQ(model.Hero().Parameter(3, 50), 777);
    EXPECT_TRUE(model.SetExpCurve({12, 34, 5}));
    EXPECT_EQ(model.ExpSummary(), "Standard=12; Additional=34; Corrected=5");
    EXPECT_EQ(modified, 4);
}

}  // namespace
}  // namespace quillon
