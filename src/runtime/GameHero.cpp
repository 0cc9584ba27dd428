#include "runtime/GameHero.h"

#include "data/HeroEquipment.h"
#include "data/LD_DataBase.h"
#include "database/ED_PlayerExp.h"
#include "runtime/BattleRules.h"
#include "runtime/GameRandom.h"
#include "runtime/GameState.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

// A change of ability is kept this far from 0 (no sum can overflow).
constexpr std::int32_t kAbilityChangeLimit = 99999;
// Take Damage: the attack the command may name, the effects in percent and the variance steps.
constexpr std::int32_t kMaxDamageAttack = 9999;
constexpr std::int32_t kMaxEffect = 100;
constexpr std::int32_t kMaxVariance = 10;
constexpr std::int32_t kVariancePercentPerStep = 5;

const TKelPlayerItem* Record(const TKelDataBase& db, const THeroState& hero) { return db.Player.FindByID(hero.Id); }

const TKelItemItem* Item(const TKelDataBase& db, std::int32_t id) {
    return id > 0 ? db.Item.FindByID(id) : nullptr;
}

TExpCurve Curve(const TKelPlayerItem& record) {
    return TExpCurve{record.ExpStandard, record.ExpAdditional, record.ExpCorrection};
}

// The skills the record teaches at levels above `from` up to `to`, in the record's order.
std::vector<std::int32_t> Learn(const TKelDataBase& db, THeroState& hero, std::int32_t from, std::int32_t to) {
    std::vector<std::int32_t> learned;
    const TKelPlayerItem* record = Record(db, hero);
    if (record == nullptr)
        return learned;
    for (int i = 0; i < record->Learning.Count(); ++i) {
        const TKelPlayerLearningItem* entry = record->Learning.Items(i);
        if (entry->Level > from && entry->Level <= to && SetHeroSkill(db, hero, entry->SkillId, true))
            learned.push_back(entry->SkillId);
    }
    return learned;
}

// HP and MP within the current maximums (after a level, an item or an ability changed).
void KeepPoints(const TKelDataBase& db, THeroState& hero) {
    hero.Hp = std::clamp(hero.Hp, 0, HeroMaxHp(db, hero));
    hero.Mp = std::clamp(hero.Mp, 0, HeroMaxMp(db, hero));
}

void Store(TGameState& state, std::int32_t itemId) {
    if (itemId != 0)
        state.SetItemCount(itemId, std::int64_t{state.ItemCount(itemId)} + 1);
}

}  // namespace

std::int32_t HeroParameterMin(int parameter) { return parameter == hpMaxMp ? 0 : 1; }
std::int32_t HeroParameterMax(int parameter) { return parameter == hpMaxHp ? kHeroHpLimit : kHeroParameterLimit; }

THeroState NewHero(const TKelDataBase& database, const TKelPlayerItem& record) {
    THeroState hero;
    hero.Id = record.ID;
    hero.Name = record.Name;
    hero.Degree = record.Degree;
    hero.CharSet = record.CharSetName;
    hero.CharIndex = record.CharSetIndex;
    hero.CharTransparent = record.CharSetTransparent != 0;
    hero.FaceSet = record.FaceName;
    hero.FaceIndex = record.FaceIndex;
    hero.Level = 0;  // every skill up to the initial level is learned
    SetHeroLevel(database, hero, record.InitialLevel);
    for (int slot = 0; slot < kHeroSlots; ++slot) {
        const std::int32_t item = record.Equipment(slot);
        if (HeroMayEquip(database, hero, slot, item))
            hero.Equipment[static_cast<std::size_t>(slot)] = item;
    }
    RecoverHero(database, hero);
    return hero;
}

std::int32_t HeroParameter(const TKelDataBase& database, const THeroState& hero, int parameter) {
    if (parameter < 0 || parameter >= kHeroParameters)
        return 0;
    std::int64_t value = hero.AbilityChanges[static_cast<std::size_t>(parameter)];
    if (const TKelPlayerItem* record = Record(database, hero))
        value += record->Parameter(parameter, std::clamp(hero.Level, 1, TKelPlayerItem::kMaxLevel));
    for (const std::int32_t id : hero.Equipment)
        if (const TKelItemItem* item = Item(database, id))
            value += EquipmentBonus(*item, parameter);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, HeroParameterMin(parameter), HeroParameterMax(parameter)));
}

void ChangeHeroAbility(const TKelDataBase& database, THeroState& hero, int parameter, std::int32_t delta) {
    if (parameter < 0 || parameter >= kHeroParameters)
        return;
    std::int32_t& change = hero.AbilityChanges[static_cast<std::size_t>(parameter)];
    change = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{change} + delta, -kAbilityChangeLimit, kAbilityChangeLimit));
    KeepPoints(database, hero);
}

std::int32_t HeroMaxLevel(const TKelDataBase& database, const THeroState& hero) {
    const TKelPlayerItem* record = Record(database, hero);
    return record ? std::clamp(record->MaxLevel, 1, TKelPlayerItem::kMaxLevel) : TKelPlayerItem::kMaxLevel;
}

std::int32_t HeroExpForLevel(const TKelDataBase& database, const THeroState& hero, std::int32_t level) {
    const TKelPlayerItem* record = Record(database, hero);
    return record ? std::min(CumulativeExp(Curve(*record), level), kHeroExpLimit) : 0;
}

std::vector<std::int32_t> SetHeroExp(const TKelDataBase& database, THeroState& hero, std::int64_t exp) {
    hero.Exp = static_cast<std::int32_t>(std::clamp<std::int64_t>(exp, 0, kHeroExpLimit));
    const std::int32_t before = hero.Level;
    std::int32_t level = 1;
    const std::int32_t top = HeroMaxLevel(database, hero);
    while (level < top && HeroExpForLevel(database, hero, level + 1) <= hero.Exp)
        ++level;
    hero.Level = level;
    KeepPoints(database, hero);
    return Learn(database, hero, before, level);
}

std::vector<std::int32_t> SetHeroLevel(const TKelDataBase& database, THeroState& hero, std::int64_t level) {
    const std::int32_t before = hero.Level;
    hero.Level = static_cast<std::int32_t>(std::clamp<std::int64_t>(level, 1, HeroMaxLevel(database, hero)));
    hero.Exp = HeroExpForLevel(database, hero, hero.Level);
    KeepPoints(database, hero);
    return Learn(database, hero, before, hero.Level);
}

void SetHeroHp(const TKelDataBase& database, THeroState& hero, std::int64_t hp, bool mayDie) {
    if (HeroUnconscious(hero))
        return;
    hero.Hp = static_cast<std::int32_t>(std::clamp<std::int64_t>(hp, mayDie ? 0 : 1, HeroMaxHp(database, hero)));
    if (hero.Hp == 0)
        hero.Conditions.insert(kConditionUnconscious);
}

void SetHeroMp(const TKelDataBase& database, THeroState& hero, std::int64_t mp) {
    hero.Mp = static_cast<std::int32_t>(std::clamp<std::int64_t>(mp, 0, HeroMaxMp(database, hero)));
}

bool HeroUnconscious(const THeroState& hero) { return hero.Conditions.count(kConditionUnconscious) != 0; }

void SetHeroCondition(const TKelDataBase& database, THeroState& hero, std::int32_t conditionId, bool on) {
    if (database.Status.FindByID(conditionId) == nullptr)
        return;
    if (!on) {
        hero.Conditions.erase(conditionId);
        if (conditionId == kConditionUnconscious && hero.Hp == 0)
            hero.Hp = 1;
        return;
    }
    hero.Conditions.insert(conditionId);
    if (conditionId == kConditionUnconscious)
        hero.Hp = 0;
}

void RecoverHero(const TKelDataBase& database, THeroState& hero) {
    hero.Conditions.clear();
    hero.Hp = HeroMaxHp(database, hero);
    hero.Mp = HeroMaxMp(database, hero);
}

std::int32_t HeroDamage(const TKelDataBase& database, const THeroState& hero, std::int32_t attack,
                        std::int32_t defenseEffect, std::int32_t mindEffect, std::int32_t variance, TGameRandom& random) {
    attack = std::clamp(attack, 0, kMaxDamageAttack);
    defenseEffect = std::clamp(defenseEffect, 0, kMaxEffect);
    mindEffect = std::clamp(mindEffect, 0, kMaxEffect);
    variance = std::clamp(variance, 0, kMaxVariance);
    const std::int32_t guard = HeroParameter(database, hero, hpDefense) * defenseEffect / 200 +
                               HeroParameter(database, hero, hpMind) * mindEffect / 400;
    const std::int32_t base = std::max(attack - guard, 0);
    if (variance == 0 || base == 0)
        return base;
    const std::int32_t spread = variance * kVariancePercentPerStep;
    return base * (100 + random.Between(-spread, spread)) / 100;
}

bool SetHeroSkill(const TKelDataBase& database, THeroState& hero, std::int32_t skillId, bool learned) {
    if (!learned)
        return hero.Skills.erase(skillId) != 0;
    return database.Skill.FindByID(skillId) != nullptr && hero.Skills.insert(skillId).second;
}

bool HeroMayEquip(const TKelDataBase& database, const THeroState& hero, int slot, std::int32_t itemId) {
    if (slot < 0 || slot >= kHeroSlots)
        return false;
    if (itemId == 0)
        return true;
    const TKelPlayerItem* record = Record(database, hero);
    const TKelItemItem* item = Item(database, itemId);
    return record != nullptr && item != nullptr && ItemFitsSlot(*item, *record, slot);
}

bool HeroTwoSwords(const TKelDataBase& database, const THeroState& hero) {
    const TKelPlayerItem* record = Record(database, hero);
    return record != nullptr && record->TwoSwords != 0;
}

bool HeroEquipmentFixed(const TKelDataBase& database, const THeroState& hero) {
    const TKelPlayerItem* record = Record(database, hero);
    return record != nullptr && record->EquipmentFixed != 0;
}

bool EquipHero(TGameState& state, THeroState& hero, int slot, std::int32_t itemId) {
    const TKelDataBase& db = state.Database();
    if (itemId == 0)
        return UnequipHero(state, hero, slot);
    if (!HeroMayEquip(db, hero, slot, itemId) || state.ItemCount(itemId) < 1)
        return false;
    state.SetItemCount(itemId, state.ItemCount(itemId) - 1);
    Store(state, hero.Equipment[static_cast<std::size_t>(slot)]);
    hero.Equipment[static_cast<std::size_t>(slot)] = itemId;
    // The other hand is free only when neither hand holds a weapon for both.
    const auto twoHanded = [&](int s) {
        const TKelItemItem* item = Item(db, hero.Equipment[static_cast<std::size_t>(s)]);
        return item != nullptr && IsTwoHandedWeapon(*item);
    };
    if (slot == hsWeapon || slot == hsShield) {
        const int other = slot == hsWeapon ? hsShield : hsWeapon;
        if (twoHanded(hsWeapon) || twoHanded(hsShield))
            UnequipHero(state, hero, other);
    }
    KeepPoints(db, hero);
    return true;
}

bool UnequipHero(TGameState& state, THeroState& hero, int slot) {
    if (slot < 0 || slot >= kHeroSlots || hero.Equipment[static_cast<std::size_t>(slot)] == 0)
        return false;
    Store(state, hero.Equipment[static_cast<std::size_t>(slot)]);
    hero.Equipment[static_cast<std::size_t>(slot)] = 0;
    KeepPoints(state.Database(), hero);
    return true;
}

std::int32_t HeroMpCost(const TKelDataBase& database, const THeroState& hero, std::int32_t cost) {
    bool halved = false;
    for (const std::int32_t itemId : hero.Equipment)
        if (const TKelItemItem* item = database.Item.FindByID(itemId))
            halved = halved || item->HalfMp != 0;
    return MpCost(cost, halved);
}

}  // namespace quillon::runtime
