#include "player/PlayerInput.h"

namespace quillon::player {

using namespace quillon::runtime;

std::uint32_t ButtonOfKey(SDL_Scancode key, bool testPlay) {
    switch (key) {
    case SDL_SCANCODE_UP: return gbUp;
    case SDL_SCANCODE_DOWN: return gbDown;
    case SDL_SCANCODE_LEFT: return gbLeft;
    case SDL_SCANCODE_RIGHT: return gbRight;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_SPACE:
    case SDL_SCANCODE_Z: return gbDecide;
    case SDL_SCANCODE_ESCAPE:
    case SDL_SCANCODE_X: return gbCancel;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return gbShift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return testPlay ? std::uint32_t(gbThrough) : 0u;
    case SDL_SCANCODE_F3: return testPlay ? std::uint32_t(gbFast) : 0u;
    default: return 0;
    }
}

std::uint32_t ButtonOfPadButton(SDL_GameControllerButton button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return gbUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return gbDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return gbLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return gbRight;
    case SDL_CONTROLLER_BUTTON_A: return gbDecide;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_START: return gbCancel;
    case SDL_CONTROLLER_BUTTON_X: return gbShift;
    default: return 0;
    }
}

std::uint32_t ButtonsOfStick(int x, int y) {
    std::uint32_t held = 0;
    if (x <= -kStickThreshold)
        held |= gbLeft;
    else if (x >= kStickThreshold)
        held |= gbRight;
    if (y <= -kStickThreshold)
        held |= gbUp;
    else if (y >= kStickThreshold)
        held |= gbDown;
    return held;
}

void TPlayerInput::KeyDown(SDL_Scancode key) {
    if (key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES) {
        mKeys.set(static_cast<std::size_t>(key));
        mPressedSinceStep |= ButtonOfKey(key, mTestPlay);
    }
}

void TPlayerInput::KeyUp(SDL_Scancode key) {
    if (key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES)
        mKeys.reset(static_cast<std::size_t>(key));
}

void TPlayerInput::PadButton(int pad, SDL_GameControllerButton button, bool down) {
    if (button <= SDL_CONTROLLER_BUTTON_INVALID || button >= SDL_CONTROLLER_BUTTON_MAX)
        return;
    const std::uint32_t bit = 1u << button;
    TPad& state = mPads[pad];
    state.Buttons = down ? state.Buttons | bit : state.Buttons & ~bit;
    if (down)
        mPressedSinceStep |= ButtonOfPadButton(button);
}

void TPlayerInput::PadAxis(int pad, SDL_GameControllerAxis axis, int value) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX)
        mPads[pad].X = value;
    else if (axis == SDL_CONTROLLER_AXIS_LEFTY)
        mPads[pad].Y = value;
}

void TPlayerInput::PadRemoved(int pad) { mPads.erase(pad); }

void TPlayerInput::ReleaseAll() {
    mKeys.reset();
    mPressedSinceStep = 0;
    for (auto& [id, pad] : mPads)
        pad = TPad();
}

std::uint32_t TPlayerInput::Held() const {
    std::uint32_t held = 0;
    for (std::size_t key = 1; key < mKeys.size(); ++key)
        if (mKeys.test(key))
            held |= ButtonOfKey(static_cast<SDL_Scancode>(key), mTestPlay);
    for (const auto& [id, pad] : mPads) {
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
            if (pad.Buttons & (1u << button))
                held |= ButtonOfPadButton(static_cast<SDL_GameControllerButton>(button));
        held |= ButtonsOfStick(pad.X, pad.Y);
    }
    return held;
}

std::uint32_t TPlayerInput::TakeStepButtons() {
    const std::uint32_t buttons = Held() | mPressedSinceStep;
    mPressedSinceStep = 0;
    return buttons;
}

}  // namespace quillon::player
