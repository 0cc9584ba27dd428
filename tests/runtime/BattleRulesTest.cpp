// The battle's formulas on their edges, and the monsters' choice of action by their ratings.
#include "data/LD_MapTree.h"
#include "data/LD_Monster.h"
#include "runtime/BattleAi.h"
#include "runtime/BattleEncounter.h"
#include "runtime/BattleRules.h"
#include "runtime/GameRandom.h"

#include <gtest/gtest.h>

#include <array>

namespace quillon::runtime {
namespace {

TEST(BattleRulesTest, PhysicalDamageOnItsEdges) {
    struct TCase {
        const char* What;
        std::int32_t Attack, Defense;
        int Variance;
        bool Critical;
        int Rate, Guard;
        std::int32_t Expected;
    };
    const TCase cases[] = {
        {"zero defence: half the attack", 40, 0, 0, false, 100, 1, 20},
        {"defence counts a quarter", 40, 40, 0, false, 100, 1, 10},
        {"defence above the attack: the least hit", 10, 400, 0, false, 100, 1, 1},
        {"variance +20 %", 40, 0, 20, false, 100, 1, 24},
        {"variance -20 %", 40, 0, -20, false, 100, 1, 16},
        {"variance beyond the spread is held to it", 40, 0, 90, false, 100, 1, 24},
        {"a critical hit triples", 40, 0, 0, true, 100, 1, 60},
        {"attribute rate 0 nullifies", 40, 0, 0, true, 0, 1, 0},
        {"attribute rate 200 % doubles", 40, 0, 0, false, 200, 1, 40},
        {"defending halves", 40, 0, 0, false, 100, 2, 10},
        {"strong defence quarters", 40, 0, 0, false, 100, 4, 5},
        {"the cap", 999, 0, 20, true, 1000, 1, kMaxDamage},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PhysicalDamage(c.Attack, c.Defense, c.Variance, c.Critical, c.Rate, c.Guard), c.Expected) << c.What;
}

TEST(BattleRulesTest, HitsEvasionAndCriticals) {
    EXPECT_EQ(PhysicalHitChance(90, 100, 0), 90);
    EXPECT_EQ(PhysicalHitChance(90, 100, 100), 0) << "100 % evasion";
    EXPECT_EQ(PhysicalHitChance(100, 50, 50), 25) << "hit rate change and evasion both count";
    EXPECT_EQ(PhysicalHitChance(150, 100, -10), 100) << "held to 0..100";
    EXPECT_EQ(Evasion(2, true), 50);
    EXPECT_EQ(Evasion(9, true), 100);
    EXPECT_EQ(Evasion(2, false), 0) << "a target that cannot act does not dodge";
    EXPECT_EQ(CriticalPerMille(true, 30, 0, false), 33);
    EXPECT_EQ(CriticalPerMille(true, 1, 0, false), 1000);
    EXPECT_EQ(CriticalPerMille(true, 0, 0, false), 1000) << "every 0 counts as every 1";
    EXPECT_EQ(CriticalPerMille(false, 30, 10, false), 100) << "the weapon alone";
    EXPECT_EQ(CriticalPerMille(true, 30, 10, true), 0) << "prevented";
}

TEST(BattleRulesTest, SkillsAttributesConditionsAndEscape) {
    EXPECT_EQ(SkillPower(30, 0, 3, 50, 40), 33);
    EXPECT_EQ(SkillPower(10, 20, 0, 40, 0), 50);
    EXPECT_EQ(SkillDamage(33, 40, 40, 0, 3, false, 0, 100, 1), 32) << "mind x 3 / 80";
    EXPECT_EQ(SkillDamage(33, 400, 400, 10, 10, false, 0, 100, 1), 0) << "never below 0";
    EXPECT_EQ(SkillDamage(33, 400, 400, 10, 10, true, 0, 100, 1), 33) << "ignores defence";
    EXPECT_EQ(SkillDamage(40, 0, 0, 0, 0, true, 0, 200, 2), 40) << "rate 200 % and defending";
    EXPECT_EQ(SkillHealing(40, -20), 32);
    EXPECT_EQ(SkillVarianceSpread(4), 20);

    EXPECT_EQ(AttributeRate({}), 100);
    EXPECT_EQ(AttributeRate({{0, 0}}), 0);
    EXPECT_EQ(AttributeRate({{50, 0}, {200, 0}}), 200) << "the highest rate counts";
    EXPECT_EQ(AttributeRate({{200, 1}}), 100) << "an armour halves";

    const std::int32_t rates[5] = {100, 80, 60, 30, 0};
    EXPECT_EQ(ConditionChance(rates, 0, 100), 100);
    EXPECT_EQ(ConditionChance(rates, 2, 50), 30);
    EXPECT_EQ(ConditionChance(rates, 4, 100), 0) << "rank E";
    EXPECT_EQ(ConditionChance(rates, 9, 100), 0) << "a rank beyond E reads E";

    EXPECT_EQ(EscapeChance(10, 10, 0, false), 50);
    EXPECT_EQ(EscapeChance(10, 20, 2, false), 45);
    EXPECT_EQ(EscapeChance(0, 20, 0, false), 0);
    EXPECT_EQ(EscapeChance(40, 10, 0, false), 100);
    EXPECT_EQ(EscapeChance(1, 999, 0, true), 100) << "first strike";
    EXPECT_EQ(TurnSpeed(100, 100), 125);
    EXPECT_EQ(TurnSpeed(100, 0), 100);

    TGameRandom random(1);
    EXPECT_FALSE(Chance(random, 0));
    EXPECT_TRUE(Chance(random, 100));
}

TEST(BattleAiTest, TurnsAndPatternConditions) {
    EXPECT_TRUE(TurnMatches(3, 0, 3));
    EXPECT_FALSE(TurnMatches(4, 0, 3));
    EXPECT_TRUE(TurnMatches(4, 2, 0));
    EXPECT_FALSE(TurnMatches(3, 2, 0));
    EXPECT_TRUE(TurnMatches(7, 3, 1));
    EXPECT_FALSE(TurnMatches(0, 3, 1));

    TKelMonsterActItem pattern;
    TAiView view;
    view.HpPercent = 30;
    pattern.ConditionType = TKelMonsterActItem::acOwnHp;
    pattern.ConditionA = 0;
    pattern.ConditionB = 30;
    EXPECT_TRUE(PatternApplies(pattern, view));
    view.HpPercent = 31;
    EXPECT_FALSE(PatternApplies(pattern, view));
    pattern.ConditionType = TKelMonsterActItem::acSwitch;
    pattern.ConditionSwitchId = 4;
    EXPECT_FALSE(PatternApplies(pattern, view)) << "no switches: off";
    view.Switch = [](std::int32_t id) { return id == 4; };
    EXPECT_TRUE(PatternApplies(pattern, view));
}

TEST(BattleAiTest, RatingsPickWithinTheBandByWeight) {
    TKelMonsterAct patterns;
    const std::array<std::int32_t, 3> priorities{50, 45, 30};
    for (std::size_t i = 0; i < priorities.size(); ++i)
        patterns.Obtain(static_cast<int>(i) + 1).Priority = priorities[i];
    TGameRandom random(7);
    std::array<int, 3> counts{};
    for (int i = 0; i < 3000; ++i)
        ++counts[static_cast<std::size_t>(ChoosePattern(patterns, TAiView{}, random))];
    EXPECT_EQ(counts[2], 0) << "rated 20 below the best";
    // Weights 10 and 5: two to one.
    EXPECT_NEAR(static_cast<double>(counts[0]) / counts[1], 2.0, 0.25);

    TGameRandom again(7);
    EXPECT_EQ(ChoosePattern(patterns, TAiView{}, again), ChoosePattern(patterns, TAiView{}, random = TGameRandom(7)))
        << "a seed repeats the choice";

    for (int i = 0; i < patterns.Count(); ++i)
        patterns.Items(i)->Priority = 0;
    EXPECT_EQ(ChoosePattern(patterns, TAiView{}, random), -1) << "all ratings 0: nothing to do";
    TKelMonsterAct none;
    EXPECT_EQ(ChoosePattern(none, TAiView{}, random), -1);
}

TEST(BattleEncounterTest, DistanceAndTerrainRate) {
    TGameRandom random(11);
    for (int i = 0; i < 200; ++i) {
        const int distance = DrawEncounterDistance(random, 20);
        ASSERT_GE(distance, 1000);
        ASSERT_LE(distance, 3000) << "20 steps, 50..150 %";
    }
    EXPECT_EQ(DrawEncounterDistance(random, 0), 0) << "no battles";
    struct TCase {
        int Distance;
        std::int32_t Rate;
        bool Battle;
        int Left;
    };
    const TCase cases[] = {
        {150, 100, false, 50}, {100, 100, true, 0}, {150, 200, true, -50},
        {150, 0, false, 150},  // a terrain without battles
        {0, 100, false, 0},    // a map without battles
    };
    for (const TCase& c : cases) {
        int distance = c.Distance;
        EXPECT_EQ(EncounterStep(distance, c.Rate), c.Battle) << c.Distance << " at " << c.Rate;
        EXPECT_EQ(distance, c.Left);
    }
}

TEST(BattleRulesTest, MpCostsAndTheirHalving) {
    struct TCase {
        std::int32_t Cost;
        bool Halved;
        std::int32_t Paid;
    };
    const TCase cases[] = {
        {10, false, 10}, {10, true, 5}, {11, true, 6},  // rounded up
        {1, true, 1},    {0, true, 0},  {-5, false, 0}, {5000, false, 999}, {5000, true, 500},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MpCost(c.Cost, c.Halved), c.Paid) << c.Cost << (c.Halved ? " halved" : "");
}

TEST(BattleEncounterTest, EscapePermissionFollowsTheTree) {
    // Root 0 > area 100 > map 1 > map 2; maps 3 and 4 name each other as parents.
    struct TNode {
        std::int32_t Id, Parent;
        std::uint8_t Kind;
    };
    struct TCase {
        std::uint8_t Area, Map1, Map2;
        std::int32_t Asked;
        bool Allowed;
    };
    using T = TKelMapTreeItem;
    const TCase cases[] = {
        {T::ppParent, T::ppParent, T::ppParent, 2, true},     // up to the root
        {T::ppDisable, T::ppParent, T::ppParent, 2, false},   // the area's
        {T::ppDisable, T::ppEnable, T::ppParent, 2, true},    // the nearest that says
        {T::ppEnable, T::ppParent, T::ppDisable, 2, false},   // its own
        {T::ppEnable, T::ppDisable, T::ppParent, 1, false},
        {T::ppDisable, T::ppDisable, T::ppDisable, 999, true},  // no such map
        {T::ppDisable, T::ppDisable, T::ppDisable, 3, true},    // a parent loop ends
    };
    for (const TCase& c : cases) {
        TKelMapTree tree;
        for (const TNode& node : {TNode{0, 0, T::mkRoot}, TNode{100, 0, T::mkArea}, TNode{1, 100, T::mkMap},
                                  TNode{2, 1, T::mkMap}, TNode{3, 4, T::mkMap}, TNode{4, 3, T::mkMap}}) {
            TKelMapTreeItem& item = tree.Obtain(node.Id);
            item.ParentId = node.Parent;
            item.Kind = node.Kind;
        }
        tree.FindByID(100)->EscapePermission = c.Area;
        tree.FindByID(1)->EscapePermission = c.Map1;
        tree.FindByID(2)->EscapePermission = c.Map2;
        EXPECT_EQ(MapAllowsEscape(tree, c.Asked), c.Allowed)
            << int(c.Area) << int(c.Map1) << int(c.Map2) << " map " << c.Asked;
    }
}

}  // namespace
}  // namespace quillon::runtime
