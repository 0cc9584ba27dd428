#include "runtime/BattleEvents.h"

#include "data/LD_MonGroup.h"
#include "runtime/BattleAi.h"

namespace quillon::runtime {

namespace {

bool InRange(int percent, std::int32_t low, std::int32_t high) { return percent >= 0 && percent >= low && percent <= high; }

}  // namespace

bool TriggerMet(const TKelBattleEventTrigger& trigger, const TBattleEventView& view) {
    const std::uint8_t flags = trigger.Flags;
    if ((flags & 0x7F) == 0)
        return false;
    const auto on = [&view](std::int32_t id) { return view.Switch && view.Switch(id); };
    if ((flags & 0x01) && !on(trigger.SwitchAId))
        return false;
    if ((flags & 0x02) && !on(trigger.SwitchBId))
        return false;
    if ((flags & 0x04) && !(view.Variable && view.Variable(trigger.VariableId) >= trigger.VariableValue))
        return false;
    if ((flags & 0x08) && !TurnMatches(view.Turn, trigger.TurnA, trigger.TurnB))
        return false;
    if ((flags & 0x10) && !InRange(view.Exhaustion, trigger.ExhaustionMin, trigger.ExhaustionMax))
        return false;
    if ((flags & 0x20) && !(view.MonsterHpPercent &&
                            InRange(view.MonsterHpPercent(trigger.MonsterIndex), trigger.MonsterHpMin, trigger.MonsterHpMax)))
        return false;
    if ((flags & 0x40) &&
        !(view.HeroHpPercent && InRange(view.HeroHpPercent(trigger.HeroId), trigger.HeroHpMin, trigger.HeroHpMax)))
        return false;
    return true;
}

}  // namespace quillon::runtime
