// The timer on the map screen: "MM:SS" at the top right while it runs and is shown.
#pragma once

#include <string>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

class TGameSkin;
class TGameState;

// The time left as the screen shows it ("01:05").
std::string TimerText(const TGameState& state);
// Draws the timer when it runs and is shown; nothing otherwise.
void DrawTimer(TGameSkin& skin, TOrlenBoard& screen, const TGameState& state);

}  // namespace quillon::runtime
