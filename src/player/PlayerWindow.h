// The game in a window: the project of the working directory (or the folder the options name)
// played at 60 logic steps a second, its 320 x 240 screen scaled by whole factors, sound through
// the sound card, keys and game controllers as the game's buttons.
#pragma once

#include "runtime/Game.h"

#include <string>

namespace quillon::player {

// Plays until the game ends or the window is closed; answers the exit status (1 after a message
// box naming a missing or damaged project file).
int RunPlayerWindow(const runtime::TGameOptions& options);

// The error box (and the same text on standard error) for a problem that ends the game.
void ShowStartError(const std::string& message);

}  // namespace quillon::player
