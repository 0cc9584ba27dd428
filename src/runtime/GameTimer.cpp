#include "runtime/GameTimer.h"

#include "graphics/OrlenSheet.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"

#include <cstdio>

namespace quillon::runtime {

namespace {

constexpr int kMargin = 8;  // from the screen's top and right edges

}  // namespace

std::string TimerText(const TGameState& state) {
    const int seconds = state.TimerSeconds();
    char text[16];
    std::snprintf(text, sizeof text, "%.2d:%.2d", seconds / 60 % 100, seconds % 60);
    return text;
}

void DrawTimer(TGameSkin& skin, TOrlenBoard& screen, const TGameState& state) {
    if (!state.TimerRunning || !state.TimerShown)
        return;
    const std::string text = TimerText(state);
    skin.DrawText(screen, screen.Width() - kMargin - TGameSkin::TextWidth(text), kMargin, text);
}

}  // namespace quillon::runtime
