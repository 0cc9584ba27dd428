#include "runtime/GameItemUse.h"

#include "runtime/GameState.h"

namespace quillon::runtime {

void RecoverParty(TGameState& state) {
    for (const std::int32_t id : state.Party())
        if (THeroState* hero = state.Hero(id)) {
            hero->Hp = state.HeroValue(id, 4);
            hero->Mp = state.HeroValue(id, 5);
        }
    state.Touch();
}

}  // namespace quillon::runtime
