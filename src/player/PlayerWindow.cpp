#include "player/PlayerWindow.h"

#include "graphics/OrlenSheet.h"
#include "platform/TextCodec.h"
#include "player/FramePacer.h"
#include "player/PlayerAudioDevice.h"
#include "player/PlayerEvents.h"
#include "player/PlayerInput.h"
#include "player/ScreenFit.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "runtime/MixerGameAudio.h"

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <exception>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace quillon::player {

using runtime::kScreenHeight;
using runtime::kScreenWidth;

namespace {

constexpr int kFastSteps = 4;  // logic steps a frame while the fast aid is held

std::int64_t NowNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct TSdlDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
template <class T> using TSdlPtr = std::unique_ptr<T, TSdlDeleter>;

// SDL's video and controller subsystems for the life of the window.
class TSdlSession {
public:
    TSdlSession() { mReady = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) == 0; }
    ~TSdlSession() { SDL_Quit(); }
    bool Ready() const { return mReady; }

private:
    bool mReady = false;
};

class TPlayerShell {
public:
    TPlayerShell(runtime::TGame& game, const runtime::TGameOptions& options)
        : mGame(game), mInput(options.TestPlay), mEvents(mInput), mFullScreen(options.FullScreen) {}

    bool Open(const std::string& title, std::string& error);
    int Run();

private:
    void SetFullScreen(bool on);
    // Draws the game's frame; answers whether it differs from the one shown.
    bool DrawFrame();
    void Present();

    runtime::TGame& mGame;
    TPlayerInput mInput;
    TPlayerEvents mEvents;
    bool mFullScreen;
    int mWindowedWidth = kScreenWidth * 2;  // the window's size before full screen
    int mWindowedHeight = kScreenHeight * 2;
    TSdlPtr<SDL_Window> mWindow;
    TSdlPtr<SDL_Renderer> mRenderer;
    TSdlPtr<SDL_Texture> mTexture;
    TOrlenBoard mScreen;
    std::vector<std::uint8_t> mShown;  // the pixels of the frame on the screen
    runtime::TGameInput mLastInput;
};

bool TPlayerShell::Open(const std::string& title, std::string& error) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // whole-pixel scaling, no smoothing
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (mFullScreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    mWindow.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * 2,
                                   kScreenHeight * 2, flags));
    if (mWindow)
        mRenderer.reset(SDL_CreateRenderer(mWindow.get(), -1, 0));
    if (mRenderer)
        mTexture.reset(SDL_CreateTexture(mRenderer.get(), SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                         kScreenWidth, kScreenHeight));
    if (!mTexture) {
        error = std::string("The game window could not be opened: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(mWindow.get(), kScreenWidth, kScreenHeight);
    mScreen.SetSize(kScreenWidth, kScreenHeight);
    return true;
}

void TPlayerShell::SetFullScreen(bool on) {
    if (on)
        SDL_GetWindowSize(mWindow.get(), &mWindowedWidth, &mWindowedHeight);
    if (SDL_SetWindowFullscreen(mWindow.get(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        return;
    mFullScreen = on;
    // Back in a window, the window's own size again (without a window manager SDL keeps the
    // screen's size otherwise).
    if (!on && mWindowedWidth > 0)
        SDL_SetWindowSize(mWindow.get(), mWindowedWidth, mWindowedHeight);
}

bool TPlayerShell::DrawFrame() {
    mGame.Draw(mScreen);
    // A frame that came out the same as the one shown is not sent again.
    const std::size_t bytes = static_cast<std::size_t>(mScreen.RowBytes()) * static_cast<std::size_t>(mScreen.Height());
    if (mShown.size() == bytes && std::memcmp(mShown.data(), mScreen.Bits(), bytes) == 0)
        return false;
    mShown.assign(mScreen.Bits(), mScreen.Bits() + bytes);
    SDL_UpdateTexture(mTexture.get(), nullptr, mScreen.Bits(), mScreen.RowBytes());
    return true;
}

void TPlayerShell::Present() {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(mRenderer.get(), &width, &height);
    const TScreenFit fit = FitScreen(width, height, kScreenWidth, kScreenHeight);
    const SDL_Rect target{fit.X, fit.Y, fit.Width, fit.Height};
    SDL_SetRenderDrawColor(mRenderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(mRenderer.get());
    SDL_RenderCopy(mRenderer.get(), mTexture.get(), nullptr, &target);
    SDL_RenderPresent(mRenderer.get());
}

int TPlayerShell::Run() {
    TFramePacer pacer(NowNanos(), runtime::kStepsPerSecond);
    DrawFrame();
    Present();
    for (;;) {
        bool redraw = false;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            switch (mEvents.Handle(event)) {
            case TShellRequest::Quit: return 0;
            case TShellRequest::ToggleFullScreen: SetFullScreen(!mFullScreen); [[fallthrough]];
            case TShellRequest::Redraw: redraw = true; break;
            case TShellRequest::None: break;
            }
        }
        const int due = pacer.StepsDue(NowNanos());
        bool stepped = false;
        for (int i = 0; i < due; ++i) {
            const std::uint32_t held = mInput.TakeStepButtons();
            const int steps = (held & runtime::gbFast) ? kFastSteps : 1;
            for (int s = 0; s < steps; ++s) {
                mLastInput = mLastInput.Next(held);
                mGame.Step(mLastInput);  // the game steps its sound's fades itself
                stepped = true;
                if (mGame.Ended())
                    return mGame.ExitCode();
            }
        }
        // Only a changed screen is drawn and shown; a quiet map costs little more than the
        // wake-ups of its steps.
        if (stepped && !mGame.Unchanged() && DrawFrame())
            redraw = true;
        if (redraw)
            Present();
        // Sleep out the frame: keys are read at the next step anyway, and some video drivers
        // would poll every millisecond while waiting for events.
        const std::int64_t wait = pacer.UntilNext(NowNanos());
        if (wait > 0)
            SDL_Delay(static_cast<Uint32>((wait + 999'999) / 1'000'000));
    }
}

}  // namespace

void ShowStartError(const std::string& message) {
    std::fprintf(stderr, "quillon-player: %s\n", message.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "quillon-player", message.c_str(), nullptr);
}

int RunPlayerWindow(const runtime::TGameOptions& givenOptions) {
    runtime::TGameOptions options = givenOptions;
    // The project folder is the working directory; resources are looked up from there.
    if (options.ProjectDir != ".") {
        std::error_code failed;
        std::filesystem::current_path(options.ProjectDir, failed);
        if (failed) {
            ShowStartError(options.ProjectDir + ": the project folder cannot be opened (" + failed.message() + ")");
            return 1;
        }
        options.ProjectDir = ".";
    }
    std::error_code failed;
    const std::string folder = std::filesystem::current_path(failed).string();
    SetProjectPath(failed ? std::string("./") : folder + "/");

    runtime::TMixerGameAudio audio(audio::DefaultAudioServices());
    std::string error;
    std::unique_ptr<runtime::TGame> game = runtime::TGame::Open(options, audio, error);
    if (!game) {
        ShowStartError(error);
        return 1;
    }
    TSdlSession sdl;
    if (!sdl.Ready()) {
        ShowStartError(std::string("No display for the game window: ") + SDL_GetError());
        return 1;
    }
    TPlayerShell shell(*game, options);
    if (!shell.Open(Cp932ToUtf8(ReadGameTitle(".")), error)) {
        ShowStartError(error);
        return 1;
    }
    TPlayerAudioDevice device(audio.Mixer());
    try {
        return shell.Run();
    } catch (const std::exception& problem) {
        ShowStartError(std::string("The game stopped: ") + problem.what());
        return 1;
    }
}

}  // namespace quillon::player
