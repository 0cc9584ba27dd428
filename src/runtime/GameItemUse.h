// Items and skills used from the menu, and the inn's full recovery of the party.
#pragma once

namespace quillon::runtime {

class TGameState;

// Every hero of the party back to full HP and MP, every condition healed.
void RecoverParty(TGameState& state);

}  // namespace quillon::runtime
