// What the keyboard and the game controllers hold, as the game's buttons. The rules live here,
// apart from the window: which key and which controller button is which game button, the left
// stick's dead zone, the test-play aids, and releasing everything when the window loses focus.
// Keys and controller buttons are SDL's numbers; nothing of SDL is called.
#pragma once

#include "runtime/GameInput.h"

#include <SDL_gamecontroller.h>
#include <SDL_scancode.h>

#include <bitset>
#include <cstdint>
#include <map>

namespace quillon::player {

// How far the left stick must lean (of 32767) to count as a direction.
inline constexpr int kStickThreshold = 16000;

// The game button of a key (0 for none). Ctrl and F3 are the test-play aids and count only in a
// test play.
std::uint32_t ButtonOfKey(SDL_Scancode key, bool testPlay);
// The game button of a controller button (0 for none); Start opens the menu as cancel does.
std::uint32_t ButtonOfPadButton(SDL_GameControllerButton button);
// The directions of the left stick's two axes.
std::uint32_t ButtonsOfStick(int x, int y);

class TPlayerInput {
public:
    explicit TPlayerInput(bool testPlay) : mTestPlay(testPlay) {}

    void KeyDown(SDL_Scancode key);
    void KeyUp(SDL_Scancode key);
    // pad: the controller's instance ID.
    void PadButton(int pad, SDL_GameControllerButton button, bool down);
    void PadAxis(int pad, SDL_GameControllerAxis axis, int value);
    void PadRemoved(int pad);
    // The window lost focus: every key and button counts as released.
    void ReleaseAll();

    // The game buttons held now.
    std::uint32_t Held() const;
    // The buttons of the next logic step: those held now and those pressed since the last step,
    // so a tap shorter than a step still counts once.
    std::uint32_t TakeStepButtons();

private:
    struct TPad {
        std::uint32_t Buttons = 0;  // bits of SDL_GameControllerButton held
        int X = 0;
        int Y = 0;
    };
    bool mTestPlay;
    std::bitset<SDL_NUM_SCANCODES> mKeys;
    std::map<int, TPad> mPads;
    std::uint32_t mPressedSinceStep = 0;
};

}  // namespace quillon::player
