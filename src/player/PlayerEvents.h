// The window's SDL events as the shell's input and requests: keys and game controllers go into
// the input state (controllers are opened as they appear, through SDL's controller mapping),
// Alt+Enter and F4 ask for full screen, losing focus releases everything, closing asks to quit.
#pragma once

#include "player/PlayerInput.h"

#include <SDL.h>

#include <map>

namespace quillon::player {

enum class TShellRequest { None, Quit, ToggleFullScreen, Redraw };

class TPlayerEvents {
public:
    explicit TPlayerEvents(TPlayerInput& input) : mInput(input) {}
    ~TPlayerEvents();
    TPlayerEvents(const TPlayerEvents&) = delete;
    TPlayerEvents& operator=(const TPlayerEvents&) = delete;

    TShellRequest Handle(const SDL_Event& event);
    // The controllers open now.
    std::size_t ControllerCount() const { return mControllers.size(); }

private:
    TShellRequest HandleKey(const SDL_KeyboardEvent& key);

    TPlayerInput& mInput;
    std::map<SDL_JoystickID, SDL_GameController*> mControllers;
};

}  // namespace quillon::player
