// One battle as the game plays it, without a window: the heroes and the troop's monsters, the
// turn, the actions of a turn in the order of their speed, the messages, the result, and what the
// victory brings (experience, money, items, levels). Every roll comes from the session's random
// source, so a seed repeats a battle exactly. The troop's battle event pages are only chosen here
// (NextDuePage); whoever drives the battle runs their scripts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillon {
class TKelDataBase;
class TKelItemItem;
class TKelMonGroupItem;
class TKelSkillItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameRandom;
class TGameState;

enum class TBattleResult { None, Victory, Defeat, Escape, Interrupted };

const char* BattleResultName(TBattleResult result);

// Turns a battle may last before it is called off (a troop that cannot be beaten nor beat).
inline constexpr std::int32_t kMaxBattleTurns = 999;
// Battle event pages a battle runs at most (a page that starts itself again and again).
inline constexpr int kMaxPageRuns = 10000;

struct TBattleSetup {
    std::int32_t TroopId = 0;
    bool EscapeAllowed = true;
    bool FirstStrike = false;
};

// One fighter: a hero of the party or a member of the troop.
struct TBattler {
    bool IsHero = false;
    std::int32_t Id = 0;  // hero ID or monster ID
    int Index = 0;        // party slot or troop member index
    std::string Name;
    std::int32_t MaxHp = 1, MaxMp = 0, Hp = 1, Mp = 0;
    std::int32_t Attack = 1, Defense = 1, Mind = 1, Agility = 1;  // before conditions and changes
    std::int32_t AttackChange = 0, DefenseChange = 0, MindChange = 0, AgilityChange = 0;
    std::map<std::int32_t, int> Conditions;  // condition ID -> turns held
    bool Hidden = false;    // a troop member not yet appeared
    bool Escaped = false;   // a monster that ran away
    bool Defending = false;
    bool Charged = false;   // the next attack does double damage
    int X = 0, Y = 0;       // monsters: the centre on the battle field
    std::int64_t Dealt = 0, Taken = 0;  // damage over the battle (the lab's figures)

    bool Present() const { return !Hidden && !Escaped; }
    bool Alive() const { return Present() && Hp > 0; }
};

enum class TActKind { None, Attack, Skill, Defend, Item, Watch, Charge, SelfDestruct, Flee, Transform };

struct TBattleAction {
    TActKind Kind = TActKind::None;
    std::int32_t Id = 0;       // skill, item, or monster to turn into
    int Target = -1;  // index into the side the action aims at (the skill's range tells which); -1: any
    bool Critical = false;     // a monster's "Critical Hit"
    std::int32_t SwitchOn = 0, SwitchOff = 0;  // a monster pattern's switches (0: none)
};

// An animation to show on a side (the scene plays it; the model only names it).
struct TBattleCue {
    std::int32_t AnimationId = 0;
    bool OnHeroes = false;
    int Target = -1;  // index, -1 the whole side
};

class TGameBattle {
public:
    enum class TPhase { Commands, Acting, Ended };

    TGameBattle(const TKelDataBase& database, TGameState& state, TGameRandom& random, const TBattleSetup& setup);

    const TBattleSetup& Setup() const { return mSetup; }
    std::vector<TBattler>& Heroes() { return mHeroes; }
    const std::vector<TBattler>& Heroes() const { return mHeroes; }
    std::vector<TBattler>& Monsters() { return mMonsters; }
    const std::vector<TBattler>& Monsters() const { return mMonsters; }
    std::int32_t Turn() const { return mTurn; }
    TPhase Phase() const { return mPhase; }
    TBattleResult Result() const { return mResult; }
    const std::vector<std::string>& Log() const { return mLog; }
    std::vector<TBattleCue> TakeCues();
    // The system sounds (indexes into the system record's sounds) of what happened since the last call.
    std::vector<int> TakeSounds();

    // The next battle event page (index into the troop's pages) whose conditions hold now and that
    // has not run in this turn; -1 when none. The page counts as run.
    int NextDuePage();

    // Commands of a turn. Fight: the heroes' actions by party slot (missing ones, heroes under AI
    // control and heroes whose condition rules their action are chosen for them).
    void Fight(std::vector<TBattleAction> heroActions);
    void Auto();
    // Tries to escape; on failure the monsters act this turn. Answers the success.
    bool Escape();
    // Runs the next action of the turn; answers false when the turn is over (then the next turn's
    // commands are due, or the battle ended).
    bool Advance();

    // Whether a fighter can act (present, standing, no condition forbids it).
    bool CanAct(const TBattler& battler) const;
    const TBattler* HeroById(std::int32_t heroId) const;
    // The MP a fighter pays for a cost (heroes with "Half MP" equipment pay half).
    std::int32_t MpCostFor(const TBattler& actor, std::int32_t cost) const;

    // The battle commands of the event pages.
    void ChangeMonsterHp(int index, std::int32_t delta, bool mayKill);
    void ChangeMonsterMp(int index, std::int32_t delta);
    void ChangeMonsterCondition(int index, std::int32_t conditionId, bool add);
    void ShowMonster(int index);
    void Interrupt();
    // Ends the battle now with a result (a hero's escape skill, the party's HP changed by a page).
    void CheckEnd();

    // The party's HP lost, in percent of its maximum (the exhaustion of the conditions).
    int Exhaustion() const;
    // The monster's HP in percent of its maximum; -1 when there is no such member or it is hidden.
    int MonsterHpPercent(int index) const;
    int HeroHpPercent(std::int32_t heroId) const;

    // What the battle brought, set when it is won.
    std::int32_t ExpGained() const { return mExpGained; }
    std::int32_t MoneyGained() const { return mMoneyGained; }
    const std::vector<std::int32_t>& ItemsGained() const { return mItemsGained; }

private:
    struct TQueued {
        bool Hero = false;
        int Index = 0;
        TBattleAction Action;
        std::int32_t Speed = 0;
    };

    TBattler MakeHero(std::int32_t heroId, int slot) const;
    void StartTurn();
    void EndTurn();
    void QueueMonsters();
    void Order();
    TBattleAction ChooseHeroAction(const TBattler& hero);
    TBattleAction ChooseMonsterAction(TBattler& monster);
    void Perform(TBattler& actor, const TBattleAction& action);
    void PerformAttack(TBattler& actor, const TBattleAction& action, bool confusedAtAllies);
    // payMp: the user pays the skill's MP (not when an item invokes it).
    void PerformSkill(TBattler& actor, std::int32_t skillId, int target, bool payMp);
    // A skill's change of attack, defense, mind and agility for the rest of the battle.
    bool ChangeParameters(TBattler& target, const TKelSkillItem& skill, std::int32_t power, bool raise);
    void PerformItem(TBattler& actor, std::int32_t itemId, int target);
    // weapon: the hero's weapon that strikes (null: bare hands, or a monster).
    void HitWithAttack(TBattler& actor, TBattler& target, const TKelItemItem* weapon, bool forceCritical);

    void Damage(TBattler& target, std::int32_t amount, TBattler* from);
    void Heal(TBattler& target, std::int32_t amount);
    bool AddCondition(TBattler& target, std::int32_t conditionId, int successRate);
    void RemoveCondition(TBattler& target, std::int32_t conditionId, bool say);
    void Fall(TBattler& target);
    void Win();
    void Finish(TBattleResult result);
    void GainExp(const TBattler& hero, std::int32_t exp);
    void Lose();

    std::vector<TBattler>& Side(bool heroes) { return heroes ? mHeroes : mMonsters; }
    TBattler* RandomAlive(bool heroes);
    TBattler* Pick(bool heroes, int index);
    int Restriction(const TBattler& battler) const;
    bool Halved(const TBattler& battler, int which) const;
    std::int32_t Param(const TBattler& battler, int which) const;  // 0 attack, 1 defense, 2 mind, 3 agility
    int HitRateChange(const TBattler& battler) const;
    int AttributeRateOn(const TBattler& target, const std::vector<std::int32_t>& attributes) const;
    int ConditionRank(const TBattler& target, std::int32_t conditionId) const;
    std::int32_t MeanAgility(bool heroes) const;
    std::string Vocabulary(int field) const;
    void Say(const std::string& text);

    const TKelDataBase& mDatabase;
    TGameState& mState;
    TGameRandom& mRandom;
    TBattleSetup mSetup;
    const TKelMonGroupItem* mTroop = nullptr;
    std::vector<TBattler> mHeroes;
    std::vector<TBattler> mMonsters;
    std::vector<TQueued> mQueue;
    std::size_t mNext = 0;
    std::int32_t mTurn = 0;
    TPhase mPhase = TPhase::Commands;
    TBattleResult mResult = TBattleResult::None;
    int mEscapeFailures = 0;
    std::map<int, std::int32_t> mPageTurn;  // page index -> the turn it last ran in
    int mPageRuns = 0;
    std::vector<std::string> mLog;
    std::vector<TBattleCue> mCues;
    std::vector<int> mSounds;
    std::int32_t mExpGained = 0;
    std::int32_t mMoneyGained = 0;
    std::vector<std::int32_t> mItemsGained;
};

// The battle as the state JSON gives it: troop, turn, result, enemies (index, monster, hp, mp,
// conditions, visible) and the log (UTF-8).
std::string BattleStateJson(const TGameBattle& battle);

}  // namespace quillon::runtime
