#include "player/PlayerInput.h"

#include <gtest/gtest.h>

namespace quillon::player {
namespace {

using namespace quillon::runtime;

TEST(PlayerInput, KeysAreTheGameButtonsAndTheAidsCountOnlyInATestPlay) {
    struct TCase {
        SDL_Scancode Key;
        std::uint32_t Normal;
        std::uint32_t TestPlay;
    };
    const TCase cases[] = {
        {SDL_SCANCODE_UP, gbUp, gbUp},           {SDL_SCANCODE_DOWN, gbDown, gbDown},
        {SDL_SCANCODE_LEFT, gbLeft, gbLeft},     {SDL_SCANCODE_RIGHT, gbRight, gbRight},
        {SDL_SCANCODE_RETURN, gbDecide, gbDecide}, {SDL_SCANCODE_SPACE, gbDecide, gbDecide},
        {SDL_SCANCODE_Z, gbDecide, gbDecide},    {SDL_SCANCODE_KP_ENTER, gbDecide, gbDecide},
        {SDL_SCANCODE_ESCAPE, gbCancel, gbCancel}, {SDL_SCANCODE_X, gbCancel, gbCancel},
        {SDL_SCANCODE_LSHIFT, gbShift, gbShift}, {SDL_SCANCODE_RSHIFT, gbShift, gbShift},
        {SDL_SCANCODE_LCTRL, 0, gbThrough},      {SDL_SCANCODE_RCTRL, 0, gbThrough},
        {SDL_SCANCODE_F3, 0, gbFast},            {SDL_SCANCODE_F4, 0, 0},
        {SDL_SCANCODE_A, 0, 0},                  {SDL_SCANCODE_LALT, 0, 0},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ButtonOfKey(c.Key, false), c.Normal) << int(c.Key);
        EXPECT_EQ(ButtonOfKey(c.Key, true), c.TestPlay) << int(c.Key);
    }
}

TEST(PlayerInput, ControllerButtonsAndTheLeftStick) {
    const std::pair<SDL_GameControllerButton, std::uint32_t> buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, gbUp},       {SDL_CONTROLLER_BUTTON_DPAD_DOWN, gbDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, gbLeft},   {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, gbRight},
        {SDL_CONTROLLER_BUTTON_A, gbDecide},         {SDL_CONTROLLER_BUTTON_B, gbCancel},
        {SDL_CONTROLLER_BUTTON_START, gbCancel},     {SDL_CONTROLLER_BUTTON_X, gbShift},
        {SDL_CONTROLLER_BUTTON_Y, 0},                {SDL_CONTROLLER_BUTTON_BACK, 0},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0},
    };
    for (const auto& [button, expected] : buttons)
        EXPECT_EQ(ButtonOfPadButton(button), expected) << SDL_GameControllerGetStringForButton(button);

    EXPECT_EQ(ButtonsOfStick(0, 0), 0u);
    EXPECT_EQ(ButtonsOfStick(kStickThreshold - 1, -(kStickThreshold - 1)), 0u);  // inside the dead zone
    EXPECT_EQ(ButtonsOfStick(kStickThreshold, 0), std::uint32_t(gbRight));
    EXPECT_EQ(ButtonsOfStick(-32768, 0), std::uint32_t(gbLeft));
    EXPECT_EQ(ButtonsOfStick(0, -32768), std::uint32_t(gbUp));
    EXPECT_EQ(ButtonsOfStick(32767, 32767), std::uint32_t(gbRight | gbDown));
}

TEST(PlayerInput, HeldJoinsKeysAndControllersUntilReleased) {
    TPlayerInput input(false);
    input.KeyDown(SDL_SCANCODE_LEFT);
    input.KeyDown(SDL_SCANCODE_Z);
    input.KeyDown(SDL_SCANCODE_LCTRL);  // no aid outside a test play
    input.PadButton(7, SDL_CONTROLLER_BUTTON_B, true);
    input.PadAxis(8, SDL_CONTROLLER_AXIS_LEFTY, 30000);
    input.PadAxis(8, SDL_CONTROLLER_AXIS_RIGHTX, -30000);  // the right stick moves nothing
    EXPECT_EQ(input.Held(), std::uint32_t(gbLeft | gbDecide | gbCancel | gbDown));

    // Two keys of one button: it stays held until both are up.
    input.KeyDown(SDL_SCANCODE_SPACE);
    input.KeyUp(SDL_SCANCODE_Z);
    EXPECT_TRUE(input.Held() & gbDecide);
    input.KeyUp(SDL_SCANCODE_SPACE);
    EXPECT_FALSE(input.Held() & gbDecide);

    input.PadRemoved(8);
    EXPECT_EQ(input.Held(), std::uint32_t(gbLeft | gbCancel));
    input.PadButton(7, SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(input.Held(), std::uint32_t(gbLeft));
    // Out-of-range numbers from a strange device change nothing.
    input.PadButton(7, SDL_CONTROLLER_BUTTON_INVALID, true);
    input.PadButton(7, static_cast<SDL_GameControllerButton>(40), true);
    input.KeyDown(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES + 3));
    EXPECT_EQ(input.Held(), std::uint32_t(gbLeft));
}

TEST(PlayerInput, ATapBetweenTwoStepsCountsForOneStep) {
    TPlayerInput input(false);
    input.KeyDown(SDL_SCANCODE_Z);
    input.KeyUp(SDL_SCANCODE_Z);
    input.PadButton(3, SDL_CONTROLLER_BUTTON_B, true);
    input.PadButton(3, SDL_CONTROLLER_BUTTON_B, false);
    input.KeyDown(SDL_SCANCODE_UP);
    EXPECT_EQ(input.Held(), std::uint32_t(gbUp));
    EXPECT_EQ(input.TakeStepButtons(), std::uint32_t(gbUp | gbDecide | gbCancel));
    EXPECT_EQ(input.TakeStepButtons(), std::uint32_t(gbUp));
    // A tap the window lost with its focus does not count.
    input.KeyDown(SDL_SCANCODE_X);
    input.ReleaseAll();
    EXPECT_EQ(input.TakeStepButtons(), 0u);
}

TEST(PlayerInput, LosingFocusReleasesEverything) {
    TPlayerInput input(true);
    input.KeyDown(SDL_SCANCODE_RIGHT);
    input.KeyDown(SDL_SCANCODE_F3);
    input.PadButton(1, SDL_CONTROLLER_BUTTON_A, true);
    input.PadAxis(1, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(input.Held(), std::uint32_t(gbRight | gbFast | gbDecide | gbLeft));
    input.ReleaseAll();
    EXPECT_EQ(input.Held(), 0u);
    // The key's release arriving after the focus came back does no harm; a new press counts.
    input.KeyUp(SDL_SCANCODE_RIGHT);
    input.KeyDown(SDL_SCANCODE_UP);
    EXPECT_EQ(input.Held(), std::uint32_t(gbUp));
}

}  // namespace
}  // namespace quillon::player
