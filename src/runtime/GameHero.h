// A hero as the game holds it, and the rules over it: the parameters at the hero's level (the
// record's curves, the items worn and the changes of "Change Ability", each kept in its range),
// experience and level (the record's experience curve, skills learned by level), hit and magic
// points, conditions, the five equipment slots and full recovery.
//
// THeroState is plain data (what a save keeps); the rules are free functions that read the
// hero's record and the items from the database. A hero whose record is gone keeps its values
// and answers the least parameters (1, MP 0).
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace quillon {
class TKelDataBase;
class TKelPlayerItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameState;
class TGameRandom;

// The parameters, in the order of the record's curves.
enum THeroParameter : int { hpMaxHp = 0, hpMaxMp = 1, hpAttack = 2, hpDefense = 3, hpMind = 4, hpAgility = 5 };
inline constexpr int kHeroParameters = 6;
inline constexpr int kHeroSlots = 5;  // weapon, shield, armour, helmet, accessory (data/HeroEquipment.h)
// The ranges the parameters are kept in: Max HP 1..9999, Max MP 0..999, the others 1..999.
inline constexpr std::int32_t kHeroHpLimit = 9999;
inline constexpr std::int32_t kHeroParameterLimit = 999;
std::int32_t HeroParameterMin(int parameter);
std::int32_t HeroParameterMax(int parameter);
// Experience is kept in 0 .. this (the curve's totals stop there).
inline constexpr std::int32_t kHeroExpLimit = 999999;
// The condition a hero at 0 HP has: unconscious. It comes and goes with 0 HP.
inline constexpr std::int32_t kConditionUnconscious = 1;

struct THeroState {
    std::int32_t Id = 0;
    std::string Name;
    std::string Degree;
    std::int32_t Level = 1;
    std::int32_t Exp = 0;
    std::int32_t Hp = 0;
    std::int32_t Mp = 0;
    std::string CharSet;  // walk graphic
    std::int32_t CharIndex = 0;
    bool CharTransparent = false;
    std::string FaceSet;
    std::int32_t FaceIndex = 0;
    std::array<std::int32_t, kHeroSlots> Equipment{};  // item IDs, 0 = none
    // What "Change Ability" added to each parameter (may be negative).
    std::array<std::int32_t, kHeroParameters> AbilityChanges{};
    std::set<std::int32_t> Skills;      // skill IDs learned
    std::set<std::int32_t> Conditions;  // condition IDs the hero has
};

// A new game's hero from its record: the initial level with its experience, the skills of that
// level, the initial equipment (items that do not fit are left off) and full HP and MP.
THeroState NewHero(const TKelDataBase& database, const TKelPlayerItem& record);

// --- parameters ---
// The curve's value at the hero's level, plus the items worn, plus the ability changes, kept in
// the parameter's range. Parameters outside 0 .. 5 answer 0.
std::int32_t HeroParameter(const TKelDataBase& database, const THeroState& hero, int parameter);
inline std::int32_t HeroMaxHp(const TKelDataBase& db, const THeroState& hero) { return HeroParameter(db, hero, hpMaxHp); }
inline std::int32_t HeroMaxMp(const TKelDataBase& db, const THeroState& hero) { return HeroParameter(db, hero, hpMaxMp); }
// "Change Ability": adds to a parameter (a negative delta lowers it); HP and MP stay within the
// new maximums.
void ChangeHeroAbility(const TKelDataBase& database, THeroState& hero, int parameter, std::int32_t delta);

// --- experience and level ---
// The hero's highest level (the record's "Max Level" in 1 .. 50).
std::int32_t HeroMaxLevel(const TKelDataBase& database, const THeroState& hero);
// The total experience the hero's curve asks for a level (level 1: 0).
std::int32_t HeroExpForLevel(const TKelDataBase& database, const THeroState& hero, std::int32_t level);
// Sets the experience (kept in 0 .. kHeroExpLimit); the level follows it up or down, within
// 1 .. the maximum level. Answers the skills learned on the way up, in the order learned (a
// level lost keeps its skills).
std::vector<std::int32_t> SetHeroExp(const TKelDataBase& database, THeroState& hero, std::int64_t exp);
// Sets the level (kept in 1 .. maximum); the experience becomes that level's total. Answers the
// skills learned.
std::vector<std::int32_t> SetHeroLevel(const TKelDataBase& database, THeroState& hero, std::int64_t level);

// --- hit points, magic points, conditions ---
// HP within 0 .. max; 0 only when mayDie (else at least 1). 0 HP brings the unconscious
// condition, more than 0 takes it away. An unconscious hero's HP changes only through
// SetHeroCondition or RecoverHero.
void SetHeroHp(const TKelDataBase& database, THeroState& hero, std::int64_t hp, bool mayDie);
void SetHeroMp(const TKelDataBase& database, THeroState& hero, std::int64_t mp);  // 0 .. max
bool HeroUnconscious(const THeroState& hero);
// Adds or removes a condition (IDs of the database's conditions only). Adding unconsciousness
// sets HP to 0; removing it sets HP to 1.
void SetHeroCondition(const TKelDataBase& database, THeroState& hero, std::int32_t conditionId, bool on);
// Full recovery: HP and MP to their maximums, every condition healed.
void RecoverHero(const TKelDataBase& database, THeroState& hero);

// The damage of "Take Damage": the attack, less the hero's defence times the defence effect
// (percent) over 200 and his mind times the mind effect over 400, at least 0; then spread by the
// variance v (0 .. 10): times 100 + r percent, r drawn evenly from -5v .. 5v. The attack is kept
// in 0 .. 9999, the effects in 0 .. 100.
std::int32_t HeroDamage(const TKelDataBase& database, const THeroState& hero, std::int32_t attack,
                        std::int32_t defenseEffect, std::int32_t mindEffect, std::int32_t variance, TGameRandom& random);

// --- skills ---
// Learns or forgets a skill of the database; false when nothing changed.
bool SetHeroSkill(const TKelDataBase& database, THeroState& hero, std::int32_t skillId, bool learned);

// --- equipment ---
// Whether the hero may wear an item in a slot (0 = none always fits).
bool HeroMayEquip(const TKelDataBase& database, const THeroState& hero, int slot, std::int32_t itemId);
// Fighting with two weapons ("2 Sword Style": the shield slot takes a weapon); equipment the
// player may not change in the menu ("Equipment Fix"; the commands still may).
bool HeroTwoSwords(const TKelDataBase& database, const THeroState& hero);
bool HeroEquipmentFixed(const TKelDataBase& database, const THeroState& hero);
// Puts an item from the party's inventory into a slot; the item worn there before goes back to
// the inventory. A weapon held in both hands empties the other hand's slot (that item goes back
// too). Refused (false) when the item does not fit or the inventory holds none.
bool EquipHero(TGameState& state, THeroState& hero, int slot, std::int32_t itemId);
// Takes the item off a slot into the inventory; false when the slot was empty.
bool UnequipHero(TGameState& state, THeroState& hero, int slot);
// The MP the hero pays for a cost of `cost` (a skill's, or his weapon's per attack): half of it,
// rounded up, while any of his equipment has "Half MP"; kept in 0..999.
std::int32_t HeroMpCost(const TKelDataBase& database, const THeroState& hero, std::int32_t cost);

}  // namespace quillon::runtime
