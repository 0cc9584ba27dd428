#include "player/PlayerEvents.h"

namespace quillon::player {

TPlayerEvents::~TPlayerEvents() {
    for (auto& [id, controller] : mControllers)
        SDL_GameControllerClose(controller);
}

TShellRequest TPlayerEvents::HandleKey(const SDL_KeyboardEvent& key) {
    const SDL_Scancode code = key.keysym.scancode;
    if (key.type == SDL_KEYUP) {
        mInput.KeyUp(code);
        return TShellRequest::None;
    }
    if (key.repeat)
        return TShellRequest::None;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    if ((alt && (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER)) ||
        (code == SDL_SCANCODE_F4 && !alt))
        return TShellRequest::ToggleFullScreen;
    mInput.KeyDown(code);
    return TShellRequest::None;
}

TShellRequest TPlayerEvents::Handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        return TShellRequest::Quit;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return HandleKey(event.key);
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            mInput.ReleaseAll();
            return TShellRequest::None;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            return TShellRequest::Redraw;
        default:
            return TShellRequest::None;
        }
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which)) {
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (!mControllers.emplace(id, controller).second)
                SDL_GameControllerClose(controller);  // already open (announced twice)
        }
        return TShellRequest::None;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (auto found = mControllers.find(event.cdevice.which); found != mControllers.end()) {
            SDL_GameControllerClose(found->second);
            mControllers.erase(found);
        }
        mInput.PadRemoved(event.cdevice.which);
        return TShellRequest::None;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        mInput.PadButton(event.cbutton.which, static_cast<SDL_GameControllerButton>(event.cbutton.button),
                         event.type == SDL_CONTROLLERBUTTONDOWN);
        return TShellRequest::None;
    case SDL_CONTROLLERAXISMOTION:
        mInput.PadAxis(event.caxis.which, static_cast<SDL_GameControllerAxis>(event.caxis.axis), event.caxis.value);
        return TShellRequest::None;
    default:
        return TShellRequest::None;
    }
}

}  // namespace quillon::player
