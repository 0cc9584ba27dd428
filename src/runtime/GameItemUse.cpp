#include "runtime/GameItemUse.h"

#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "runtime/GameHero.h"
#include "runtime/GameMapState.h"
#include "runtime/GameState.h"

#include <vector>

namespace quillon::runtime {

namespace {

// The mind's share in a skill's effect: influence / this.
constexpr int kMindShare = 20;

// Heals the conditions the record marks (unconsciousness only when revive is set); answers
// whether one went.
template <class TRecord>
bool HealConditions(const TKelDataBase& database, THeroState& hero, const TRecord& record, bool revive) {
    bool changed = false;
    for (const std::int32_t id : std::vector<std::int32_t>(hero.Conditions.begin(), hero.Conditions.end()))
        if (record.Condition(id) && (id != kConditionUnconscious || revive)) {
            SetHeroCondition(database, hero, id, false);
            changed = true;
        }
    return changed;
}

// Adds HP and MP; answers whether either grew.
bool Restore(const TKelDataBase& database, THeroState& hero, std::int64_t hp, std::int64_t mp) {
    const std::int32_t hpBefore = hero.Hp, mpBefore = hero.Mp;
    if (hp > 0)
        SetHeroHp(database, hero, static_cast<std::int64_t>(hero.Hp) + hp, false);
    if (mp > 0)
        SetHeroMp(database, hero, static_cast<std::int64_t>(hero.Mp) + mp);
    return hero.Hp != hpBefore || hero.Mp != mpBefore;
}

bool MedicineOn(const TKelDataBase& database, const TKelItemItem& item, THeroState& hero) {
    if (HeroUnconscious(hero) != (item.OnlyUnconscious != 0))
        return false;
    bool changed = HealConditions(database, hero, item, item.OnlyUnconscious != 0);
    const std::int64_t hp = static_cast<std::int64_t>(HeroMaxHp(database, hero)) * item.HpRecoveryRate / 100 +
                            item.HpRecoveryPoints;
    const std::int64_t mp = static_cast<std::int64_t>(HeroMaxMp(database, hero)) * item.MpRecoveryRate / 100 +
                            item.MpRecoveryPoints;
    changed = Restore(database, hero, hp, mp) || changed;
    return changed;
}

bool SeedOn(const TKelDataBase& database, const TKelItemItem& item, THeroState& hero) {
    const std::int32_t changes[kHeroParameters] = {item.MaxHpUp,    item.MaxMpUp, item.AttackUp,
                                                   item.DefenseUp, item.MindUp,  item.AgilityUp};
    bool changed = false;
    for (int p = 0; p < kHeroParameters; ++p)
        if (changes[p] != 0) {
            ChangeHeroAbility(database, hero, p, changes[p]);
            changed = true;
        }
    return changed;
}

bool SkillOn(const TKelDataBase& database, const THeroState& user, const TKelSkillItem& skill, THeroState& hero) {
    if (HeroUnconscious(hero) && !skill.Condition(kConditionUnconscious))
        return false;
    bool changed = HealConditions(database, hero, skill, true);
    const std::int64_t amount = std::max<std::int64_t>(
        0, skill.BaseEffect + static_cast<std::int64_t>(HeroParameter(database, user, hpMind)) * skill.MindInfluence / kMindShare);
    changed = Restore(database, hero, skill.AffectsHp ? amount : 0, skill.AffectsMp ? amount : 0) || changed;
    return changed;
}

// Runs an effect on the target, or on every hero of the party; answers whether any changed.
template <class TEffect>
bool OnTargets(TGameState& state, THeroState* target, const TEffect& effect) {
    if (target != nullptr)
        return effect(*target);
    bool changed = false;
    for (const std::int32_t id : state.Party())
        if (THeroState* hero = state.Hero(id))
            changed = effect(*hero) || changed;
    return changed;
}

TMenuUse RangeUse(std::uint8_t range) {
    switch (range) {
    case TKelSkillItem::srUser: return TMenuUse::OnUser;
    case TKelSkillItem::srSingleAlly: return TMenuUse::OnHero;
    case TKelSkillItem::srWholeParty: return TMenuUse::OnParty;
    default: return TMenuUse::Refused;
    }
}

}  // namespace

TMenuUse ItemMenuUse(const TKelDataBase& database, const TKelItemItem& item) {
    switch (item.Kind) {
    case TKelItemItem::ikMedicine:
        return item.EffectRange == 1 ? TMenuUse::OnParty : TMenuUse::OnHero;
    case TKelItemItem::ikBook:
    case TKelItemItem::ikMaterial: return TMenuUse::OnHero;
    case TKelItemItem::ikSwitch: return item.UsableInField ? TMenuUse::Switch : TMenuUse::Refused;
    case TKelItemItem::ikUnique: {
        const TKelSkillItem* skill = database.Skill.FindByID(item.SkillId);
        if (!item.UsableInField || skill == nullptr)
            return TMenuUse::Refused;
        const TMenuUse use = SkillMenuUse(database, *skill);
        return use == TMenuUse::OnUser ? TMenuUse::OnHero : use;
    }
    default: return TMenuUse::Refused;
    }
}

TMenuUse SkillMenuUse(const TKelDataBase&, const TKelSkillItem& skill) {
    if (!skill.UsableInField)
        return TMenuUse::Refused;
    switch (skill.Kind) {
    case TKelSkillItem::skSwitch: return TMenuUse::Switch;
    case TKelSkillItem::skNormal: return RangeUse(skill.EffectRange);
    case TKelSkillItem::skTeleport: return TMenuUse::Teleport;
    case TKelSkillItem::skEscape: return TMenuUse::Escape;
    default: return TMenuUse::Refused;
    }
}

bool UseItem(TGameState& state, const TKelItemItem& item, THeroState* target) {
    const TKelDataBase& database = state.Database();
    if (state.ItemCount(item.ID) <= 0)
        return false;
    bool used = false;
    switch (ItemMenuUse(database, item)) {
    case TMenuUse::Refused: return false;
    case TMenuUse::Switch:
        state.SetSwitch(item.SwitchId, true);
        used = true;
        break;
    case TMenuUse::Teleport:
    case TMenuUse::Escape: used = true; break;  // the caller moves the party
    default:
        if (item.Kind == TKelItemItem::ikMedicine)
            used = OnTargets(state, target, [&](THeroState& hero) { return MedicineOn(database, item, hero); });
        else if (item.Kind == TKelItemItem::ikMaterial)
            used = target != nullptr && SeedOn(database, item, *target);
        else if (item.Kind == TKelItemItem::ikBook)
            used = target != nullptr && SetHeroSkill(database, *target, item.SkillId, true);
        else if (const TKelSkillItem* skill = database.Skill.FindByID(item.SkillId))
            used = skill->Kind == TKelSkillItem::skSwitch
                       ? (state.SetSwitch(skill->SwitchId, true), true)
                       : OnTargets(state, target, [&](THeroState& hero) { return SkillOn(database, hero, *skill, hero); });
        break;
    }
    if (used) {
        SpendItemUse(state, item);
        state.Touch();
    }
    return used;
}

bool UseSkill(TGameState& state, THeroState& user, const TKelSkillItem& skill, THeroState* target) {
    const TKelDataBase& database = state.Database();
    const std::int32_t cost = HeroMpCost(database, user, skill.MpCost);
    if (user.Mp < cost || HeroUnconscious(user))
        return false;
    bool used = false;
    switch (SkillMenuUse(database, skill)) {
    case TMenuUse::Refused: return false;
    case TMenuUse::Switch:
        state.SetSwitch(skill.SwitchId, true);
        used = true;
        break;
    case TMenuUse::OnUser: used = SkillOn(database, user, skill, user); break;
    case TMenuUse::Teleport:
    case TMenuUse::Escape: used = true; break;  // the caller moves the party
    default:
        used = OnTargets(state, target, [&](THeroState& hero) { return SkillOn(database, user, skill, hero); });
        break;
    }
    if (used) {
        SetHeroMp(database, user, static_cast<std::int64_t>(user.Mp) - cost);
        state.Touch();
    }
    return used;
}

void SpendItemUse(TGameState& state, const TKelItemItem& item) {
    if (item.UseCount <= 0)
        return;  // limitless
    const int uses = std::min(item.UseCount, kMaxItemUses);
    const int left = state.ItemUsesLeft(item.ID);
    if ((left > 0 ? left : uses) > 1) {
        state.SetItemUsesLeft(item.ID, (left > 0 ? left : uses) - 1);
        return;
    }
    state.SetItemUsesLeft(item.ID, 0);
    state.SetItemCount(item.ID, state.ItemCount(item.ID) - 1);
}

bool MapPermits(const TKelMapTree& tree, std::int32_t mapId, bool teleport) {
    std::int32_t id = mapId;
    for (int depth = 0; depth <= tree.Count(); ++depth) {
        const TKelMapTreeItem* item = tree.FindByID(id);
        if (item == nullptr || item->Kind == TKelMapTreeItem::mkRoot)
            return true;
        const std::uint8_t permission = teleport ? item->TeleportPermission : item->EscapePermission;
        if (permission != TKelMapTreeItem::ppParent)
            return permission == TKelMapTreeItem::ppEnable;
        if (item->ParentId == id)
            return true;
        id = item->ParentId;
    }
    return true;  // a loop in the tree: nothing forbids it
}

std::vector<TTeleportPlace> LeavingPlaces(TMenuUse use, const TKelMapTree& tree, std::int32_t mapId,
                                          const TGameMapState& state) {
    std::vector<TTeleportPlace> places;
    if (use == TMenuUse::Teleport && state.TeleportEnabled && MapPermits(tree, mapId, true))
        for (const auto& [id, place] : state.TeleportPlaces)
            places.push_back(place);
    else if (use == TMenuUse::Escape && state.EscapeEnabled && state.EscapePlace && MapPermits(tree, mapId, false))
        places.push_back(*state.EscapePlace);
    return places;
}

void RecoverParty(TGameState& state) {
    for (const std::int32_t id : state.Party())
        if (THeroState* hero = state.Hero(id))
            RecoverHero(state.Database(), *hero);
    state.Touch();
}

}  // namespace quillon::runtime
