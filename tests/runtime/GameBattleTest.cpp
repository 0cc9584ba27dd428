// Battles of the model without a window: won, lost, escaped, cut short by its own faults; the
// conditions that forbid acting, the battle event pages' turns, level-ups with skills learned.
#include "data/LD_DataBase.h"
#include "runtime/GameBattle.h"
#include "runtime/GameRandom.h"
#include "runtime/GameState.h"
#include "tools/lib/StarterDataBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace quillon::runtime {
namespace {

class GameBattleTest : public ::testing::Test {
protected:
    GameBattleTest() : mDatabase(std::make_unique<TKelDataBase>()) { MakeStarterDataBase(*mDatabase); }

    TGameState& State() {
        if (!mState)
            mState = std::make_unique<TGameState>(*mDatabase);
        return *mState;
    }
    std::unique_ptr<TGameBattle> Start(std::int32_t troopId, bool escapeAllowed = true) {
        TBattleSetup setup;
        setup.TroopId = troopId;
        setup.EscapeAllowed = escapeAllowed;
        return std::make_unique<TGameBattle>(*mDatabase, State(), mRandom, setup);
    }
    // Plays on "Auto" to the end; battle event pages are taken and not run.
    static void PlayOut(TGameBattle& battle) {
        for (int turn = 0; turn <= kMaxBattleTurns && battle.Phase() != TGameBattle::TPhase::Ended; ++turn) {
            while (battle.NextDuePage() >= 0) {
            }
            battle.Auto();
            while (battle.Advance()) {
            }
        }
    }
    bool Logged(const TGameBattle& battle, const std::string& text) const {
        return std::find(battle.Log().begin(), battle.Log().end(), text) != battle.Log().end();
    }
    TKelMonGroupItem& NewTroop(std::int32_t id, std::initializer_list<std::int32_t> monsters) {
        TKelMonGroupItem& troop = mDatabase->MonGroup.Obtain(id);
        troop.Members.Clear();
        int i = 0;
        for (const std::int32_t monster : monsters)
            troop.Members.Obtain(++i).MonsterId = monster;
        return troop;
    }

    std::unique_ptr<TKelDataBase> mDatabase;
    std::unique_ptr<TGameState> mState;
    TGameRandom mRandom{3};
};

TEST_F(GameBattleTest, AttackingWinsAndPays) {
    const std::int32_t moneyBefore = State().Money();
    auto battle = Start(1);  // two slimes
    ASSERT_EQ(battle->Monsters().size(), 2u);
    EXPECT_EQ(battle->Log().front(), "Slime appeared!");
    PlayOut(*battle);
    EXPECT_EQ(battle->Result(), TBattleResult::Victory);
    EXPECT_EQ(battle->ExpGained(), 6);
    EXPECT_EQ(battle->MoneyGained(), 10);
    EXPECT_EQ(State().Money(), moneyBefore + 10);
    EXPECT_TRUE(Logged(*battle, "Victory!"));
    EXPECT_TRUE(Logged(*battle, "6 experience points."));
    EXPECT_TRUE(Logged(*battle, "Found 10G!"));
    for (const TBattler& monster : battle->Monsters())
        EXPECT_EQ(monster.Hp, 0);
    // The heroes keep what the battle left them.
    for (const TBattler& hero : battle->Heroes())
        EXPECT_EQ(State().Hero(hero.Id)->Hp, hero.Hp);
}

TEST_F(GameBattleTest, TheSameSeedRepeatsTheBattle) {
    auto first = Start(3);
    PlayOut(*first);
    mState.reset();
    mRandom = TGameRandom(3);
    auto second = Start(3);
    PlayOut(*second);
    EXPECT_EQ(first->Log(), second->Log());
    EXPECT_EQ(first->Turn(), second->Turn());
}

TEST_F(GameBattleTest, TheLastHeroFallingLosesTheBattle) {
    auto battle = Start(10);  // the dragon
    PlayOut(*battle);
    EXPECT_EQ(battle->Result(), TBattleResult::Defeat);
    EXPECT_TRUE(Logged(*battle, "The party has fallen..."));
    for (const TBattler& hero : battle->Heroes()) {
        EXPECT_EQ(hero.Hp, 0);
        EXPECT_FALSE(battle->CanAct(hero));
        EXPECT_EQ(State().Hero(hero.Id)->Hp, 0);
    }
    EXPECT_EQ(battle->ExpGained(), 0);
}

TEST_F(GameBattleTest, EscapeFailsWhenNotAllowedAndTheMonstersAct) {
    auto battle = Start(10, false);
    const std::int32_t hpBefore = battle->Heroes()[0].Hp + battle->Heroes()[1].Hp + battle->Heroes()[2].Hp;
    EXPECT_FALSE(battle->Escape());
    EXPECT_TRUE(Logged(*battle, "You could not escape!"));
    EXPECT_EQ(battle->Phase(), TGameBattle::TPhase::Acting);
    while (battle->Advance()) {
    }
    const std::int32_t hpAfter = battle->Heroes()[0].Hp + battle->Heroes()[1].Hp + battle->Heroes()[2].Hp;
    EXPECT_LT(hpAfter, hpBefore) << "the dragon struck in the failed turn";
    EXPECT_EQ(battle->Turn(), 1);

    // Allowed, against slow slimes the party gets away sooner or later.
    auto slimes = Start(1);
    for (int i = 0; i < 20 && slimes->Phase() != TGameBattle::TPhase::Ended; ++i) {
        slimes->Escape();
        while (slimes->Advance()) {
        }
    }
    EXPECT_EQ(slimes->Result(), TBattleResult::Escape);
    EXPECT_EQ(slimes->ExpGained(), 0);
}

TEST_F(GameBattleTest, AConditionThatForbidsActingSkipsTheHero) {
    mDatabase->Status.ItemById(3)->Restriction = TKelStatusItem::slCannotAct;  // sleep
    auto battle = Start(1);
    battle->Heroes()[0].Conditions[3] = 0;
    EXPECT_FALSE(battle->CanAct(battle->Heroes()[0]));
    const std::string name = battle->Heroes()[0].Name;
    battle->Auto();
    while (battle->Advance()) {
    }
    EXPECT_FALSE(Logged(*battle, name + " attacks!"));
    const auto byOthers = std::count_if(battle->Log().begin(), battle->Log().end(), [&](const std::string& line) {
        return line.rfind(battle->Heroes()[1].Name, 0) == 0 || line.rfind(battle->Heroes()[2].Name, 0) == 0;
    });
    EXPECT_GE(byOthers, 2) << "the others act";
}

TEST_F(GameBattleTest, FaultyTroopsEndOrGoOnWithoutCrashing) {
    NewTroop(20, {});
    auto empty = Start(20);
    EXPECT_EQ(empty->Phase(), TGameBattle::TPhase::Ended) << "a troop without members";
    EXPECT_EQ(empty->Result(), TBattleResult::Victory);

    NewTroop(21, {999, 1});
    auto missing = Start(21);
    ASSERT_EQ(missing->Monsters().size(), 2u);
    EXPECT_FALSE(missing->Monsters()[0].Present()) << "a member whose monster is missing";
    PlayOut(*missing);
    EXPECT_EQ(missing->Result(), TBattleResult::Victory);

    auto none = Start(999);
    EXPECT_EQ(none->Phase(), TGameBattle::TPhase::Ended) << "a troop that does not exist";

    // A monster whose every rating is 0 and whose skill is missing still lets the battle end.
    TKelMonsterItem& slime = *mDatabase->Monster.ItemById(1);
    slime.Actions.Obtain(1).Priority = 0;
    TKelMonsterActItem& skill = slime.Actions.Obtain(2);
    skill.Kind = TKelMonsterActItem::akSkill;
    skill.SkillId = 999;
    skill.Priority = 0;
    auto idle = Start(1);
    PlayOut(*idle);
    EXPECT_EQ(idle->Result(), TBattleResult::Victory);
    for (const TBattler& hero : idle->Heroes())
        EXPECT_EQ(hero.Taken, 0) << "nothing rated: the slimes do nothing";

    // A monster that no hero can hurt: the battle is called off after the last turn.
    TKelMonsterItem& golem = *mDatabase->Monster.ItemById(17);
    golem.Defense = 999;
    golem.MaxHp = 9999;
    golem.Actions.Clear();
    NewTroop(22, {17});
    for (int id = 1; id <= mDatabase->Player.Count(); ++id)
        mDatabase->Player.ItemById(id)->Learning.Clear();
    auto endless = Start(22);
    endless->Monsters()[0].Hp = endless->Monsters()[0].MaxHp = 9999;
    PlayOut(*endless);
    EXPECT_EQ(endless->Result(), TBattleResult::Interrupted);
    EXPECT_EQ(endless->Turn(), kMaxBattleTurns);
}

TEST_F(GameBattleTest, PagesStartAtTheirTurnOncePerTurn) {
    TKelMonGroupItem& troop = *mDatabase->MonGroup.ItemById(1);
    TKelBattleEventTrigger& trigger = troop.Pages.Obtain(1).Trigger;
    trigger.Flags = 0x08;
    trigger.TurnA = 0;
    trigger.TurnB = 2;
    troop.Pages.Obtain(2);  // no condition: never
    auto battle = Start(1);
    std::vector<std::int32_t> turns;
    for (int round = 0; round < 4 && battle->Phase() != TGameBattle::TPhase::Ended; ++round) {
        for (int page; (page = battle->NextDuePage()) >= 0;) {
            EXPECT_EQ(page, 0);
            turns.push_back(battle->Turn());
        }
        battle->Monsters()[0].Hp = battle->Monsters()[1].Hp = 999;  // keep the battle going
        battle->Auto();
        while (battle->Advance())
            while (battle->NextDuePage() >= 0)
                turns.push_back(battle->Turn());
    }
    EXPECT_EQ(turns, (std::vector<std::int32_t>{2})) << "turn 2, once";
}

TEST_F(GameBattleTest, LevelUpsLearnTheirSkills) {
    State().Hero(2)->Exp = 0;  // Brenna, level 1, learns Blaze at level 7
    NewTroop(23, {20});
    TKelMonsterItem& dragon = *mDatabase->Monster.ItemById(20);
    dragon.MaxHp = 1;
    dragon.Exp = 1600;
    auto battle = Start(23);
    PlayOut(*battle);
    ASSERT_EQ(battle->Result(), TBattleResult::Victory);
    const THeroState& brenna = *State().Hero(2);
    EXPECT_GE(brenna.Level, 7);
    EXPECT_TRUE(Logged(*battle, "Brenna reached level " + std::to_string(brenna.Level)));
    EXPECT_TRUE(Logged(*battle, "Blaze was learned!"));
}


TEST_F(GameBattleTest, MonsterBehavioursByTheirPattern) {
    struct TCase {
        const char* What;
        std::uint8_t Behavior;
        const char* Said;         // the message of the first action
        bool Present;             // the monster still stands after it
    };
    const TCase cases[] = {
        {"defends", TKelMonsterActItem::abDefense, "Slime defends.", true},
        {"watches", TKelMonsterActItem::abWatch, "Slime is watching.", true},
        {"gathers strength", TKelMonsterActItem::abAccumulate, "Slime gathers strength.", true},
        {"runs away", TKelMonsterActItem::abEscape, "Slime ran away.", false},
        {"explodes", TKelMonsterActItem::abSelfDestruct, "Slime explodes!", false},
    };
    for (const TCase& c : cases) {
        TKelMonsterActItem& pattern = mDatabase->Monster.ItemById(1)->Actions.Obtain(1);
        pattern.Behavior = c.Behavior;
        pattern.SwitchOn = 1;
        pattern.SwitchOnId = 9;
        NewTroop(24, {1});
        mState.reset();
        auto battle = Start(24);
        battle->Monsters()[0].Hp = battle->Monsters()[0].MaxHp = 999;  // the heroes' blows do not end it
        battle->Fight({TBattleAction{TActKind::Defend}, TBattleAction{TActKind::Defend}, TBattleAction{TActKind::Defend}});
        while (battle->Advance()) {
        }
        EXPECT_TRUE(Logged(*battle, c.Said)) << c.What;
        EXPECT_EQ(battle->Monsters()[0].Present(), c.Present) << c.What;
        EXPECT_TRUE(State().Switch(9)) << c.What << ": the pattern's switch";
        if (!c.Present) {
            EXPECT_EQ(battle->Result(), TBattleResult::Victory) << c.What;
            EXPECT_EQ(battle->ExpGained(), 0) << c.What << ": only the defeated pay";
        }
    }
}

TEST_F(GameBattleTest, ConditionsWearDownAndHealByThemselves) {
    TKelStatusItem& poison = *mDatabase->Status.ItemById(2);
    poison.HpTurnRate = 50;
    poison.HpTurnPoints = 5;
    poison.HealTurns = 2;
    poison.HealRate = 100;
    auto battle = Start(1);
    TBattler& hero = battle->Heroes()[0];
    hero.Hp = 3;
    hero.Conditions[2] = 0;
    for (TBattler& monster : battle->Monsters())
        monster.Hp = monster.MaxHp = 999;
    mDatabase->Monster.ItemById(1)->Actions.Clear();  // the slimes do nothing
    const auto turn = [&] {
        battle->Fight(std::vector<TBattleAction>(3, TBattleAction{TActKind::Defend}));
        while (battle->Advance()) {
        }
    };
    turn();
    EXPECT_EQ(hero.Hp, 1) << "worn down, never knocked out";
    EXPECT_EQ(hero.Conditions.count(2), 1u);
    turn();
    EXPECT_EQ(hero.Conditions.count(2), 0u) << "healed after two turns";
    EXPECT_TRUE(Logged(*battle, hero.Name + " recovered from Poison."));
}

TEST_F(GameBattleTest, SkillsAndItemsOnAlliesAndEnemies) {
    auto battle = Start(1);
    TBattler& brenna = battle->Heroes()[1];  // knows Fire (skill 1)
    TBattler& dara = battle->Heroes()[2];    // knows Heal (skill 5)
    for (TBattler& monster : battle->Monsters())
        monster.Hp = monster.MaxHp = 999;
    TKelAttribItem& fire = *mDatabase->Attrib.FindByID(5);
    fire.Rate = {200, 200, 200, 200, 200};
    mDatabase->Skill.ItemById(1)->SetAttributeCount(8);
    mDatabase->Skill.ItemById(1)->SetAttribute(5, 1);
    brenna.Mp = brenna.MaxMp;
    battle->Heroes()[0].Hp = 1;
    State().SetItemCount(1, 2);  // potions
    const std::int32_t mpBefore = brenna.Mp;
    TBattleAction fireAction{TActKind::Skill, 1, 0};
    TBattleAction heal{TActKind::Skill, 5, 0};
    TBattleAction potion{TActKind::Item, 1, 0};
    battle->Fight({potion, fireAction, heal});
    while (battle->Advance()) {
    }
    EXPECT_EQ(brenna.Mp, mpBefore - mDatabase->Skill.ItemById(1)->MpCost);
    EXPECT_EQ(State().ItemCount(1), 1) << "the potion is used up";
    EXPECT_GT(battle->Heroes()[0].Hp, 1) << "healed by the potion and the skill";
    EXPECT_GT(battle->Monsters()[0].Taken, 0);
    EXPECT_GT(brenna.Dealt, 0);
}

// The first item of a kind in the database.
std::int32_t FirstItemOfKind(const TKelDataBase& database, std::uint8_t kind) {
    for (int i = 0; i < database.Item.Count(); ++i)
        if (database.Item.Items(i)->Kind == kind)
            return database.Item.Items(i)->ID;
    return 0;
}

TEST_F(GameBattleTest, WeaponsCostMpAndHalfMpHalvesTheCosts) {
    const std::int32_t weaponId = FirstItemOfKind(*mDatabase, TKelItemItem::ikWeapon);
    const std::int32_t armourId = FirstItemOfKind(*mDatabase, TKelItemItem::ikArmor);
    ASSERT_GT(weaponId, 0);
    ASSERT_GT(armourId, 0);
    constexpr std::int32_t kWeaponAnimation = 7, kUnarmedAnimation = 2;
    struct TCase {
        std::int32_t Cost;
        bool HalfMp;
        std::int32_t Mp, MpAfter;
        bool Armed;  // the weapon struck (its animation), else bare hands
    };
    const TCase cases[] = {
        {0, false, 5, 5, true}, {4, false, 5, 1, true}, {4, false, 4, 0, true}, {4, false, 3, 3, false},
        {4, true, 2, 0, true},  {5, true, 2, 2, false}, {5, true, 3, 0, true},
    };
    for (const TCase& c : cases) {
        mState.reset();
        TKelItemItem& weapon = *mDatabase->Item.ItemById(weaponId);
        weapon.MpCost = c.Cost;
        weapon.AnimationId = kWeaponAnimation;
        weapon.AttackTwice = 1;  // two blows, one payment
        mDatabase->Item.ItemById(armourId)->HalfMp = c.HalfMp ? 1 : 0;
        THeroState& hero = *State().Hero(State().Party()[0]);
        hero.Equipment[0] = weaponId;
        hero.Equipment[2] = armourId;
        mDatabase->Player.ItemById(hero.Id)->UnarmedAnimationId = kUnarmedAnimation;
        auto battle = Start(1);
        for (TBattler& monster : battle->Monsters())
            monster.Hp = monster.MaxHp = 999;
        battle->Heroes()[0].Mp = c.Mp;
        const TBattleAction defend{TActKind::Defend};
        battle->Fight({TBattleAction{TActKind::Attack, 0, 0}, defend, defend});
        while (battle->Advance()) {
        }
        EXPECT_EQ(battle->Heroes()[0].Mp, c.MpAfter) << c.Cost << " MP with " << c.Mp;
        std::vector<std::int32_t> animations;
        for (const TBattleCue& cue : battle->TakeCues())
            animations.push_back(cue.AnimationId);
        const std::int32_t expected = c.Armed ? kWeaponAnimation : kUnarmedAnimation;
        EXPECT_EQ(animations, std::vector<std::int32_t>(c.Armed ? 2 : 1, expected)) << c.Cost << " MP with " << c.Mp;
    }

    // Skills cost half, rounded up, with "Half MP" equipment; monsters pay in full.
    auto battle = Start(1);
    TBattler& brenna = battle->Heroes()[1];  // knows Fire (skill 1)
    State().Hero(brenna.Id)->Equipment[3] = armourId;
    TKelSkillItem& fire = *mDatabase->Skill.ItemById(1);
    fire.MpCost = 7;
    brenna.Mp = 10;
    EXPECT_EQ(battle->MpCostFor(brenna, fire.MpCost), 4);
    EXPECT_EQ(battle->MpCostFor(battle->Monsters()[0], fire.MpCost), 7);
    battle->Fight({TBattleAction{TActKind::Defend}, TBattleAction{TActKind::Skill, 1, 0}, TBattleAction{TActKind::Defend}});
    while (battle->Advance()) {
    }
    EXPECT_EQ(brenna.Mp, 6);
}

TEST_F(GameBattleTest, MissingSkillsAndItemsDoNoHarm) {
    // An item that invokes a missing skill, a missing item and a missing skill: the battle goes on.
    TKelItemItem& wand = mDatabase->Item.Obtain(90);
    wand.Kind = TKelItemItem::ikUnique;
    wand.SkillId = 999;
    wand.UseCount = 0;
    struct TCase {
        TBattleAction Action;
        bool Attacks;  // a missing skill falls back to an attack
    };
    const TCase cases[] = {
        {TBattleAction{TActKind::Item, 90, 0}, false},
        {TBattleAction{TActKind::Item, 999, 0}, false},
        {TBattleAction{TActKind::Skill, 999, 0}, true},
    };
    for (const TCase& c : cases) {
        mState.reset();
        State().SetItemCount(90, 1);
        auto battle = Start(1);
        const std::string name = battle->Heroes()[0].Name;
        const std::int32_t mp = battle->Heroes()[0].Mp;
        const TBattleAction defend{TActKind::Defend};
        battle->Fight({c.Action, defend, defend});
        while (battle->Advance()) {
        }
        EXPECT_EQ(battle->Phase(), TGameBattle::TPhase::Commands) << c.Action.Id;
        EXPECT_EQ(Logged(*battle, name + " attacks!"), c.Attacks) << c.Action.Id;
        EXPECT_EQ(battle->Heroes()[0].Mp, mp) << "nothing paid for " << c.Action.Id;
        PlayOut(*battle);
        EXPECT_NE(battle->Result(), TBattleResult::None);
    }
}

TEST_F(GameBattleTest, PageCommandsKeepValuesInRange) {
    auto battle = Start(1);
    battle->ChangeMonsterHp(0, -5000, false);
    EXPECT_EQ(battle->Monsters()[0].Hp, 1) << "may not kill";
    battle->ChangeMonsterMp(-1, 5000);
    EXPECT_EQ(battle->Monsters()[1].Mp, battle->Monsters()[1].MaxMp);
    battle->ChangeMonsterCondition(1, 2, true);
    EXPECT_EQ(battle->Monsters()[1].Conditions.count(2), 1u);
    battle->ChangeMonsterHp(-1, -5000, true);
    EXPECT_EQ(battle->Result(), TBattleResult::Victory);
    auto second = Start(1);
    second->Interrupt();
    EXPECT_EQ(second->Result(), TBattleResult::Interrupted);
}

}  // namespace
}  // namespace quillon::runtime
