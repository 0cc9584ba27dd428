#include "runtime/BattleRules.h"

#include "runtime/GameRandom.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

std::int32_t ClampDamage(std::int64_t value) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, kMaxDamage)); }

std::int64_t Varied(std::int64_t value, int variance) { return value * (100 + variance) / 100; }

}  // namespace

std::int32_t ClampParameter(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, kMinParameter, kMaxParameter));
}

std::int32_t EffectiveParameter(std::int32_t base, bool halved) { return ClampParameter(halved ? base / 2 : base); }

int PhysicalHitChance(int hitChance, int hitRateChange, int evasion) {
    const std::int64_t hit = static_cast<std::int64_t>(std::clamp(hitChance, 0, 100)) * std::clamp(hitRateChange, 0, 100) / 100;
    return static_cast<int>(std::clamp<std::int64_t>(hit * (100 - std::clamp(evasion, 0, 100)) / 100, 0, 100));
}

int Evasion(int raisingArmours, bool canAct) {
    if (!canAct)
        return 0;
    return std::clamp(raisingArmours, 0, 4) * kRaiseEvasionStep;
}

int CriticalPerMille(bool enabled, int every, int weaponPercent, bool prevented) {
    if (prevented)
        return 0;
    int perMille = enabled ? 1000 / std::max(1, every) : 0;
    perMille += 10 * std::clamp(weaponPercent, 0, 100);
    return std::clamp(perMille, 0, 1000);
}

std::int32_t PhysicalDamage(std::int32_t attack, std::int32_t defense, int variance, bool critical, int attributeRate,
                            int guard) {
    std::int64_t damage = std::max<std::int64_t>(0, attack / 2 - defense / 4);
    damage = Varied(damage, std::clamp(variance, -kPhysicalVariance, kPhysicalVariance));
    if (critical)
        damage *= kCriticalFactor;
    damage = damage * std::max(0, attributeRate) / 100;
    damage /= std::max(1, guard);
    if (damage < 1 && attributeRate > 0)
        damage = 1;
    return ClampDamage(damage);
}

std::int32_t SkillPower(std::int32_t baseEffect, int hitInfluence, int mindInfluence, std::int32_t attack,
                        std::int32_t mind) {
    const std::int64_t power = static_cast<std::int64_t>(baseEffect) +
                               static_cast<std::int64_t>(attack) * std::max(0, hitInfluence) / 20 +
                               static_cast<std::int64_t>(mind) * std::max(0, mindInfluence) / 40;
    return ClampDamage(power);
}

std::int32_t SkillDamage(std::int32_t power, std::int32_t defense, std::int32_t mind, int hitInfluence,
                         int mindInfluence, bool ignoreDefense, int variance, int attributeRate, int guard) {
    std::int64_t damage = power;
    if (!ignoreDefense)
        damage -= static_cast<std::int64_t>(defense) * std::max(0, hitInfluence) / 40 +
                  static_cast<std::int64_t>(mind) * std::max(0, mindInfluence) / 80;
    damage = Varied(std::max<std::int64_t>(0, damage), variance);
    damage = damage * std::max(0, attributeRate) / 100;
    return ClampDamage(damage / std::max(1, guard));
}

std::int32_t SkillHealing(std::int32_t power, int variance) { return ClampDamage(Varied(std::max(0, power), variance)); }

int SkillVarianceSpread(int slider) { return std::clamp(slider, 0, 10) * 5; }

int AttributeRate(const std::vector<TAttributeHit>& hits) {
    if (hits.empty())
        return 100;
    int best = 0;
    for (const TAttributeHit& hit : hits) {
        int rate = std::max(0, hit.Rate);
        for (int i = 0; i < std::clamp(hit.Defenders, 0, 5); ++i)
            rate /= 2;
        best = std::max(best, rate);
    }
    return best;
}

int ConditionChance(const std::int32_t (&rankRates)[5], int rank, int successRate) {
    const int rate = std::clamp(rankRates[std::clamp(rank, 0, 4)], 0, 100);
    return std::clamp(rate * std::clamp(successRate, 0, 100) / 100, 0, 100);
}

int EscapeChance(std::int32_t partyAgility, std::int32_t troopAgility, int failures, bool firstStrike) {
    if (firstStrike)
        return 100;
    const std::int64_t chance = 50LL * std::max(0, partyAgility) / std::max(1, troopAgility) + 10LL * std::max(0, failures);
    return static_cast<int>(std::clamp<std::int64_t>(chance, 0, 100));
}

std::int32_t TurnSpeed(std::int32_t agility, int spread) {
    const std::int64_t base = std::max(0, agility);
    return static_cast<std::int32_t>(base + base / 4 * std::clamp(spread, 0, 100) / 100);
}

std::int32_t ExperienceShare(std::int64_t total) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(total, 0, 9999999));
}

std::int32_t MpCost(std::int32_t cost, bool halved) {
    const std::int32_t clamped = std::clamp<std::int32_t>(cost, 0, kMaxParameter);
    return halved ? (clamped + 1) / 2 : clamped;
}

bool Chance(TGameRandom& random, int percent) {
    if (percent <= 0)
        return false;
    if (percent >= 100)
        return true;
    return random.Below(100) < percent;
}

}  // namespace quillon::runtime
