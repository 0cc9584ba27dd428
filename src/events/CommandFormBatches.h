// The descriptions of the command dialogs, added group by group to the one list of forms.
#pragma once

#include "events/CommandForm.h"

#include <vector>

namespace quillon {

// Messages, choices, numbers and the block commands (fork, battle, shop, inn).
void AddBlockCommandForms(std::vector<TCommandForm>& forms);
// Switches, variables, timer, money, items, party, heroes and their graphics, system music and
// sounds, transitions, hero name entry.
void AddPartyCommandForms(std::vector<TCommandForm>& forms);
// Places, vehicles, events' places and IDs, the screen, pictures, animations, flashes, waits.
void AddScreenCommandForms(std::vector<TCommandForm>& forms);
// Music, movies, passwords, the map's chipset, background, encounters and chips, teleport and
// escape places, menus and saving, labels, calling events, and the battle commands.
void AddSystemCommandForms(std::vector<TCommandForm>& forms);

}  // namespace quillon
