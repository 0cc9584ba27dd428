// The start conditions of a troop's battle event pages: switches, a variable, the turn, the
// party's exhaustion, a member's and a hero's HP. A page without any condition never starts.
#pragma once

#include <cstdint>
#include <functional>

namespace quillon {
class TKelBattleEventTrigger;
}

namespace quillon::runtime {

// What the conditions look at; a percent of -1 means the member or hero is not in the battle.
struct TBattleEventView {
    std::int32_t Turn = 0;
    int Exhaustion = 0;  // percent of the party's HP lost
    std::function<bool(std::int32_t)> Switch;
    std::function<std::int32_t(std::int32_t)> Variable;
    std::function<int(std::int32_t)> MonsterHpPercent;  // by 0-based member index
    std::function<int(std::int32_t)> HeroHpPercent;     // by hero ID
};

bool TriggerMet(const TKelBattleEventTrigger& trigger, const TBattleEventView& view);

}  // namespace quillon::runtime
