// The battle's formulas: hit and evasion, physical and skill damage, critical hits, attribute
// rates, the chance of a condition, escape, turn order, the share of experience. Pure functions of
// numbers (the rolls come in as arguments), so that each rule is tested on its edges; the help's
// battle page states the same formulas.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon::runtime {

class TGameRandom;

inline constexpr std::int32_t kMinParameter = 1;
inline constexpr std::int32_t kMaxParameter = 999;
inline constexpr std::int32_t kMaxBattleHp = 9999;
inline constexpr std::int32_t kMaxDamage = 9999;
inline constexpr int kPhysicalVariance = 20;  // percent either way
inline constexpr int kCriticalFactor = 3;
inline constexpr int kMonsterHitChance = 90;   // percent
inline constexpr int kUsuallyMissHitChance = 70;
inline constexpr int kRaiseEvasionStep = 25;   // percent of evasion per armour that raises it

// A parameter of a battler kept in 1..999.
std::int32_t ClampParameter(std::int64_t value);
// A parameter after its conditions: halved once when any condition halves it.
std::int32_t EffectiveParameter(std::int32_t base, bool halved);

// The chance in percent that a physical attack hits: the attacker's hit chance times its
// conditions' hit rate change, less the target's evasion; 0..100.
int PhysicalHitChance(int hitChance, int hitRateChange, int evasion);
// Evasion in percent of a target (the armours that raise it, capped at 100; 0 when it cannot act).
int Evasion(int raisingArmours, bool canAct);

// The chance in per mille of a critical hit: one in `every` attacks when enabled, plus the
// weapon's percent; 0 when the target prevents critical hits.
int CriticalPerMille(bool enabled, int every, int weaponPercent, bool prevented);

// Physical damage: max(0, attack / 2 - defense / 4), varied by `variance` percent (-20..20),
// times 3 on a critical hit, times the attribute rate in percent, divided by `guard` (1; 2 while
// defending; 4 with strong defence). A hit that the attribute does not nullify does at least 1.
std::int32_t PhysicalDamage(std::int32_t attack, std::int32_t defense, int variance, bool critical,
                            int attributeRate, int guard);

// A skill's strength: its base effect plus attack x hit influence / 20 plus mind x mind
// influence / 40.
std::int32_t SkillPower(std::int32_t baseEffect, int hitInfluence, int mindInfluence, std::int32_t attack,
                        std::int32_t mind);
// The skill's effect on an enemy: the power less defense x hit influence / 40 and mind x mind
// influence / 80 (unless it ignores defence), varied by `variance` percent (the skill's variance
// slider x 5 either way), times the attribute rate, divided by `guard`; never below 0.
std::int32_t SkillDamage(std::int32_t power, std::int32_t defense, std::int32_t mind, int hitInfluence,
                         int mindInfluence, bool ignoreDefense, int variance, int attributeRate, int guard);
// The skill's healing: the power varied by `variance` percent; never below 0.
std::int32_t SkillHealing(std::int32_t power, int variance);
// The spread of a skill's variance slider in percent either way.
int SkillVarianceSpread(int slider);

// The attribute rate of an attack on a target: 100 without attributes; else the highest of the
// rates the target's ranks select, halved for each armour of the target that defends against it.
struct TAttributeHit {
    int Rate = 100;      // the rate the target's rank selects, percent
    int Defenders = 0;   // the target's armours marked with this attribute
};
int AttributeRate(const std::vector<TAttributeHit>& hits);

// The chance in percent that a condition takes hold: the condition's rate for the target's rank
// (0..4, A..E) times the success rate of what inflicts it.
int ConditionChance(const std::int32_t (&rankRates)[5], int rank, int successRate);

// The chance in percent that the party escapes: 50 x the party's mean agility / the troop's, plus
// 10 for every failed try of this battle; 100 on a first strike; 0..100.
int EscapeChance(std::int32_t partyAgility, std::int32_t troopAgility, int failures, bool firstStrike);

// The speed that orders a turn's actions: agility plus a spread of 0..agility / 4 (`spread` is
// the roll in 0..100 percent of that spread).
std::int32_t TurnSpeed(std::int32_t agility, int spread);

// The share of experience each living hero gets: the whole sum (no division).
std::int32_t ExperienceShare(std::int64_t total);

// An MP cost kept in 0..999; halved, rounded up, for a user whose equipment halves it.
std::int32_t MpCost(std::int32_t cost, bool halved);

// A roll: true with `percent` in 100.
bool Chance(TGameRandom& random, int percent);

}  // namespace quillon::runtime
