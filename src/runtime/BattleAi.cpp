#include "runtime/BattleAi.h"

#include "data/LD_Monster.h"
#include "runtime/GameRandom.h"

#include <algorithm>
#include <vector>

namespace quillon::runtime {

namespace {

constexpr std::int32_t kRatingBand = 10;

bool Within(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

bool TurnMatches(std::int32_t turn, std::int32_t a, std::int32_t b) {
    if (a <= 0)
        return turn == b;
    return turn >= b && (turn - b) % a == 0;
}

bool PatternApplies(const TKelMonsterActItem& pattern, const TAiView& view) {
    const std::int32_t a = pattern.ConditionA;
    const std::int32_t b = pattern.ConditionB;
    switch (pattern.ConditionType) {
    case TKelMonsterActItem::acAlways: return true;
    case TKelMonsterActItem::acSwitch: return view.Switch && view.Switch(pattern.ConditionSwitchId);
    case TKelMonsterActItem::acTurn: return TurnMatches(view.Turn, a, b);
    case TKelMonsterActItem::acMonsterCount: return Within(view.Monsters, a, b);
    case TKelMonsterActItem::acOwnHp: return Within(view.HpPercent, a, b);
    case TKelMonsterActItem::acOwnMp: return Within(view.MpPercent, a, b);
    case TKelMonsterActItem::acHeroLevel: return Within(view.HeroAverageLevel, a, b);
    case TKelMonsterActItem::acHeroExhaustion: return Within(view.HeroExhaustion, a, b);
    default: return false;
    }
}

int ChoosePattern(const TKelMonsterAct& patterns, const TAiView& view, TGameRandom& random) {
    std::vector<int> applying;
    std::int32_t best = 0;
    for (int i = 0; i < patterns.Count(); ++i) {
        const TKelMonsterActItem* pattern = patterns.Items(i);
        if (pattern == nullptr || !PatternApplies(*pattern, view))
            continue;
        applying.push_back(i);
        best = std::max(best, pattern->Priority);
    }
    if (best <= 0)
        return -1;
    const std::int32_t floor = best - kRatingBand;
    std::int64_t total = 0;
    for (const int i : applying)
        total += std::max<std::int32_t>(0, patterns.Items(i)->Priority - floor);
    std::int64_t roll = static_cast<std::int64_t>(random.Next() % static_cast<std::uint64_t>(total));
    for (const int i : applying) {
        roll -= std::max<std::int32_t>(0, patterns.Items(i)->Priority - floor);
        if (roll < 0)
            return i;
    }
    return applying.back();
}

}  // namespace quillon::runtime
