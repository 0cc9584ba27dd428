// The shell's SDL events without a display: keys as synthetic events, game controllers through
// SDL's virtual joystick and its controller mapping.
#include "player/PlayerEvents.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quillon::player {
namespace {

using namespace quillon::runtime;

SDL_Event Key(Uint32 type, SDL_Scancode code, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.repeat = repeat;
    event.key.keysym.scancode = code;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event Window(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = id;
    return event;
}

TEST(PlayerEvents, KeysFullScreenFocusAndClosing) {
    TPlayerInput input(true);
    TPlayerEvents events(input);
    EXPECT_EQ(events.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT)), TShellRequest::ToggleFullScreen);
    EXPECT_EQ(events.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_F4)), TShellRequest::ToggleFullScreen);
    EXPECT_EQ(input.Held(), 0u) << "Alt+Enter is no decide";
    // Alt+F4 closes through the window manager's quit, not here.
    EXPECT_EQ(events.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_RALT)), TShellRequest::None);

    EXPECT_EQ(events.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN)), TShellRequest::None);
    EXPECT_EQ(events.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, KMOD_LCTRL)), TShellRequest::None);
    EXPECT_EQ(input.Held(), std::uint32_t(gbDecide | gbThrough));
    // A repeat of a key that is not down (its press went to another window) presses nothing.
    events.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_UP, KMOD_NONE, 1));
    EXPECT_FALSE(input.Held() & gbUp);
    events.Handle(Key(SDL_KEYUP, SDL_SCANCODE_RETURN));
    EXPECT_EQ(input.Held(), std::uint32_t(gbThrough));

    EXPECT_EQ(events.Handle(Window(SDL_WINDOWEVENT_FOCUS_LOST)), TShellRequest::None);
    EXPECT_EQ(input.Held(), 0u);
    EXPECT_EQ(events.Handle(Window(SDL_WINDOWEVENT_EXPOSED)), TShellRequest::Redraw);
    EXPECT_EQ(events.Handle(Window(SDL_WINDOWEVENT_SIZE_CHANGED)), TShellRequest::Redraw);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(events.Handle(quit), TShellRequest::Quit);
}

class VirtualController : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
    void Pump(TPlayerEvents& events) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            events.Handle(event);
    }
};

TEST_F(VirtualController, ButtonsDPadAndStickThroughTheControllerMapping) {
    TPlayerInput input(false);
    TPlayerEvents events(input);
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                 SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(device));
    Pump(events);
    ASSERT_EQ(events.ControllerCount(), 1u);
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(joystick, nullptr);

    struct TCase {
        SDL_GameControllerButton Button;
        std::uint32_t Expected;
    };
    const TCase cases[] = {
        {SDL_CONTROLLER_BUTTON_A, gbDecide},           {SDL_CONTROLLER_BUTTON_B, gbCancel},
        {SDL_CONTROLLER_BUTTON_X, gbShift},            {SDL_CONTROLLER_BUTTON_START, gbCancel},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, gbUp},         {SDL_CONTROLLER_BUTTON_DPAD_LEFT, gbLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, gbDown},     {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, gbRight},
        {SDL_CONTROLLER_BUTTON_Y, 0},
    };
    for (const TCase& c : cases) {
        SDL_JoystickSetVirtualButton(joystick, c.Button, SDL_PRESSED);
        Pump(events);
        EXPECT_EQ(input.Held(), c.Expected) << SDL_GameControllerGetStringForButton(c.Button);
        SDL_JoystickSetVirtualButton(joystick, c.Button, SDL_RELEASED);
        Pump(events);
        EXPECT_EQ(input.Held(), 0u);
    }

    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, 32767);
    Pump(events);
    EXPECT_EQ(input.Held(), std::uint32_t(gbLeft | gbDown));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, 4000);  // back in the dead zone
    Pump(events);
    EXPECT_EQ(input.Held(), std::uint32_t(gbDown));

    // Unplugged while the stick leans: nothing stays held.
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
    Pump(events);
    EXPECT_EQ(events.ControllerCount(), 0u);
    EXPECT_EQ(input.Held(), 0u);
}

}  // namespace
}  // namespace quillon::player
