// The hero model: parameters from the curves with items and ability changes in their ranges,
// experience and level both ways with the skills learned, hit points and conditions, and the
// equipment rules with the inventory.
#include "data/HeroEquipment.h"
#include "data/LD_DataBase.h"
#include "runtime/GameHero.h"
#include "runtime/GameState.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

constexpr std::int32_t kSword = 1, kAxe = 2, kShield = 3, kHelmet = 4, kRing = 5, kForbidden = 6;

class GameHeroTest : public ::testing::Test {
protected:
    GameHeroTest() {
        TKelPlayerItem& alex = db.Player.Obtain(1);  // the built-in curves, 30/30/0 experience
        alex.MaxLevel = 10;
        Teach(alex, 2, 1);
        Teach(alex, 5, 2);
        Teach(alex, 12, 3);  // beyond his maximum level
        for (std::int32_t id = 1; id <= 3; ++id)
            db.Skill.Obtain(id);
        db.Status.Obtain(1);
        db.Status.Obtain(2);
        AddItem(kSword, TKelItemItem::ikWeapon).AttackChange = 10;
        AddItem(kAxe, TKelItemItem::ikWeapon).TwoHanded = 1;
        AddItem(kShield, TKelItemItem::ikShield).DefenseChange = 7;
        AddItem(kHelmet, TKelItemItem::ikHelmet).MindChange = -30;
        AddItem(kRing, TKelItemItem::ikAccessory).AgilityChange = 5;
        TKelItemItem& forbidden = AddItem(kForbidden, TKelItemItem::ikArmor);
        forbidden.SetHeroUsableCount(1);
        forbidden.SetHeroCanUse(1, 0);
        db.System.PartySize = 0;
        state = std::make_unique<TGameState>(db);
        hero = NewHero(db, alex);
    }
    static void Teach(TKelPlayerItem& hero, std::int32_t level, std::int32_t skill) {
        TKelPlayerLearningItem& entry = hero.Learning.Append();
        entry.Level = level;
        entry.SkillId = skill;
    }
    TKelItemItem& AddItem(std::int32_t id, std::uint8_t kind) {
        TKelItemItem& item = db.Item.Obtain(id);
        item.Kind = kind;
        return item;
    }
    TKelPlayerItem& Alex() { return *db.Player.FindByID(1); }
    std::array<std::int32_t, kHeroParameters> Parameters() const {
        std::array<std::int32_t, kHeroParameters> values{};
        for (int p = 0; p < kHeroParameters; ++p)
            values[static_cast<std::size_t>(p)] = HeroParameter(db, hero, p);
        return values;
    }

    TKelDataBase db;
    std::unique_ptr<TGameState> state;
    THeroState hero;
};

TEST_F(GameHeroTest, ParametersFollowTheCurvesAtLevelOneAndTheTop) {
    Alex().MaxLevel = 50;
    EXPECT_EQ(hero.Level, 1);
    EXPECT_EQ(Parameters(), (std::array<std::int32_t, 6>{40, 40, 15, 15, 20, 20}));
    EXPECT_EQ(hero.Hp, 40);
    SetHeroLevel(db, hero, 50);
    EXPECT_EQ(Parameters(), (std::array<std::int32_t, 6>{600, 600, 150, 150, 300, 300}));
    EXPECT_EQ(hero.Hp, 40) << "a level gained leaves the points as they were";
    EXPECT_EQ(HeroParameter(db, hero, 6), 0);
}

TEST_F(GameHeroTest, ItemsAndAbilityChangesAddAndStayInRange) {
    hero.Equipment = {kSword, kShield, 0, kHelmet, kRing};
    EXPECT_EQ(Parameters(), (std::array<std::int32_t, 6>{40, 40, 25, 22, 1, 25}))
        << "mind 20 - 30 stops at 1";
    struct Case {
        int Parameter;
        std::int32_t Delta;
        std::int32_t Expected;
    } cases[] = {
        {hpMaxHp, 20000, kHeroHpLimit}, {hpMaxHp, -40000, 1}, {hpMaxMp, -100, 0}, {hpAttack, 5000, 999},
    };
    for (const Case& c : cases) {
        THeroState copy = hero;
        ChangeHeroAbility(db, copy, c.Parameter, c.Delta);
        EXPECT_EQ(HeroParameter(db, copy, c.Parameter), c.Expected) << c.Parameter << " " << c.Delta;
        EXPECT_LE(copy.Hp, HeroMaxHp(db, copy));
        EXPECT_LE(copy.Mp, HeroMaxMp(db, copy));
    }
    ChangeHeroAbility(db, hero, hpMaxHp, 2'000'000'000);
    ChangeHeroAbility(db, hero, hpMaxHp, 2'000'000'000);
    EXPECT_EQ(HeroMaxHp(db, hero), kHeroHpLimit) << "changes summed without overflow";
}

TEST_F(GameHeroTest, ExperienceMovesTheLevelBothWaysAndTeachesSkillsOnce) {
    struct Step {
        std::int64_t Exp;
        std::int32_t Level;
        std::vector<std::int32_t> Learned;
    } steps[] = {
        {171, 3, {1}},            // just short of level 4 (172)
        {172, 4, {}},
        {1549, 9, {2}},           // level 9's total exactly
        {30, 2, {}},              // down again; skill 2 is kept
        {5'000'000, 10, {}},      // the maximum level; skill 3 (level 12) never comes
        {-5, 1, {}},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(SetHeroExp(db, hero, s.Exp), s.Learned) << s.Exp;
        EXPECT_EQ(hero.Level, s.Level) << s.Exp;
    }
    EXPECT_EQ(hero.Exp, 0);
    EXPECT_EQ(hero.Skills, (std::set<std::int32_t>{1, 2}));
    SetHeroExp(db, hero, 5'000'000);
    EXPECT_EQ(hero.Exp, kHeroExpLimit);
}

TEST_F(GameHeroTest, LevelsAreKeptInRangeAndSetTheirExperience) {
    EXPECT_EQ(SetHeroLevel(db, hero, 99), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(hero.Level, 10);
    EXPECT_EQ(hero.Exp, 2082);
    hero.Hp = HeroMaxHp(db, hero);
    SetHeroLevel(db, hero, -3);
    EXPECT_EQ(hero.Exp, 0);
    EXPECT_EQ(hero.Hp, 40) << "HP follows a lower maximum down";
}

TEST_F(GameHeroTest, ANewHeroStartsAtItsInitialLevelWithWhatFits) {
    Alex().InitialLevel = 5;
    Alex().SetEquipment(hsWeapon, kSword);
    Alex().SetEquipment(hsShield, kRing);       // not a shield
    Alex().SetEquipment(hsArmor, kForbidden);   // not for this hero
    Alex().SetEquipment(hsHelmet, 99);          // no such item
    const THeroState fresh = NewHero(db, Alex());
    EXPECT_EQ(fresh.Level, 5);
    EXPECT_EQ(fresh.Exp, 307);
    EXPECT_EQ(fresh.Skills, (std::set<std::int32_t>{1, 2}));
    EXPECT_EQ(fresh.Equipment, (std::array<std::int32_t, 5>{kSword, 0, 0, 0, 0}));
    EXPECT_EQ(fresh.Hp, HeroMaxHp(db, fresh));
    EXPECT_EQ(fresh.Mp, HeroMaxMp(db, fresh));
}

TEST_F(GameHeroTest, HitPointsConditionsAndRecovery) {
    SetHeroHp(db, hero, 0, false);
    EXPECT_EQ(hero.Hp, 1) << "no death without Possible Death";
    SetHeroHp(db, hero, 5000, false);
    EXPECT_EQ(hero.Hp, 40);
    SetHeroHp(db, hero, -10, true);
    EXPECT_EQ(hero.Hp, 0);
    EXPECT_TRUE(HeroUnconscious(hero));
    SetHeroHp(db, hero, 20, false);
    EXPECT_EQ(hero.Hp, 0) << "the unconscious stay down";
    SetHeroCondition(db, hero, kConditionUnconscious, false);
    EXPECT_EQ(hero.Hp, 1);
    SetHeroCondition(db, hero, 2, true);
    SetHeroCondition(db, hero, 77, true);  // no such condition
    EXPECT_EQ(hero.Conditions, (std::set<std::int32_t>{2}));
    SetHeroMp(db, hero, -1);
    EXPECT_EQ(hero.Mp, 0);
    SetHeroMp(db, hero, 1000);
    EXPECT_EQ(hero.Mp, 40);
    hero.Mp = 0;
    RecoverHero(db, hero);
    EXPECT_EQ(hero.Hp, 40);
    EXPECT_EQ(hero.Mp, 40);
    EXPECT_TRUE(hero.Conditions.empty());
    EXPECT_FALSE(SetHeroSkill(db, hero, 9, true)) << "no such skill";
}

TEST_F(GameHeroTest, WhoMayWearWhatWhere) {
    struct Case {
        bool TwoSwords;
        int Slot;
        std::int32_t Item;
        bool Fits;
    } cases[] = {
        {false, hsWeapon, kSword, true},   {false, hsWeapon, kShield, false},
        {false, hsShield, kShield, true},  {false, hsShield, kSword, false},
        {true, hsShield, kSword, true},    {true, hsShield, kShield, false},
        {false, hsArmor, kForbidden, false}, {false, hsAccessory, kRing, true},
        {false, hsHelmet, 0, true},        {false, 5, kRing, false},
        {false, -1, 0, false},             {false, hsWeapon, 42, false},
    };
    for (const Case& c : cases) {
        Alex().TwoSwords = c.TwoSwords ? 1 : 0;
        EXPECT_EQ(HeroMayEquip(db, hero, c.Slot, c.Item), c.Fits)
            << "two swords " << c.TwoSwords << " slot " << c.Slot << " item " << c.Item;
    }
}

TEST_F(GameHeroTest, EquippingTradesWithTheInventoryAndFreesTheOtherHand) {
    EXPECT_FALSE(EquipHero(*state, hero, hsWeapon, kSword)) << "none in the inventory";
    state->SetItemCount(kSword, 1);
    state->SetItemCount(kAxe, 1);
    state->SetItemCount(kShield, 2);
    ASSERT_TRUE(EquipHero(*state, hero, hsWeapon, kSword));
    ASSERT_TRUE(EquipHero(*state, hero, hsShield, kShield));
    EXPECT_EQ(state->ItemCount(kSword), 0);
    EXPECT_EQ(state->ItemCount(kShield), 1);

    ASSERT_TRUE(EquipHero(*state, hero, hsWeapon, kAxe));  // both hands: the shield comes off
    EXPECT_EQ(hero.Equipment[hsWeapon], kAxe);
    EXPECT_EQ(hero.Equipment[hsShield], 0);
    EXPECT_EQ(state->ItemCount(kSword), 1);
    EXPECT_EQ(state->ItemCount(kShield), 2);

    ASSERT_TRUE(EquipHero(*state, hero, hsShield, kShield));  // the axe must go
    EXPECT_EQ(hero.Equipment[hsWeapon], 0);
    EXPECT_EQ(state->ItemCount(kAxe), 1);

    EXPECT_TRUE(UnequipHero(*state, hero, hsShield));
    EXPECT_FALSE(UnequipHero(*state, hero, hsShield)) << "already empty";
    EXPECT_EQ(state->ItemCount(kShield), 2);
    EXPECT_FALSE(EquipHero(*state, hero, hsArmor, kForbidden));
}

}  // namespace
}  // namespace quillon::runtime
