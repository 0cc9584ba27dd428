// The game's buttons and what was pressed in one logic step. The window, the controllers and the
// headless input script all end up as one set of held buttons per step; the game reads only this.
#pragma once

#include <cstdint>

namespace quillon::runtime {

enum TGameButton : std::uint32_t {
    gbUp = 1u << 0,
    gbDown = 1u << 1,
    gbLeft = 1u << 2,
    gbRight = 1u << 3,
    gbDecide = 1u << 4,
    gbCancel = 1u << 5,
    gbShift = 1u << 6,
    // Test-play aids: honoured only in a test play.
    gbThrough = 1u << 7,  // held: the hero walks through walls (Ctrl)
    gbFast = 1u << 8,     // held: four logic steps a frame (F3)
};

// The buttons of one step: those held now, and those that went down in this step.
class TGameInput {
public:
    TGameInput() = default;
    // The next step's input from the buttons held in it.
    TGameInput Next(std::uint32_t held) const {
        TGameInput next;
        next.mHeld = held;
        next.mPressed = held & ~mHeld;
        next.mRepeatAge = (held == mHeld && held != 0) ? mRepeatAge + 1 : 0;
        return next;
    }
    bool Held(TGameButton button) const { return (mHeld & button) != 0; }
    bool Pressed(TGameButton button) const { return (mPressed & button) != 0; }
    // Pressed, or held long enough to repeat (after 24 steps, then every 6): for cursors.
    bool Repeated(TGameButton button) const {
        return Pressed(button) || (Held(button) && mRepeatAge >= 24 && (mRepeatAge - 24) % 6 == 0);
    }
    std::uint32_t HeldMask() const { return mHeld; }

private:
    std::uint32_t mHeld = 0;
    std::uint32_t mPressed = 0;
    int mRepeatAge = 0;
};

}  // namespace quillon::runtime
