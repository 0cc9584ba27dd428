// The game as a whole: the project it plays, its scenes (title, map, game over …) and one fixed
// logic step at a time. It owns no window and no sound device: the player's window shell and the
// headless driver both run it through this class, so the same project, seed and input give the
// same frames everywhere.
#pragma once

#include "runtime/GameAudio.h"
#include "runtime/GameInput.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 240;
inline constexpr int kStepsPerSecond = 60;
inline constexpr int kStepsPerTenth = kStepsPerSecond / 10;  // times in commands are in tenths of a second

// A start place that replaces the party's start position ("Test Play from Here", --start).
struct TStartPlace {
    int MapId = 0;
    int X = 0;
    int Y = 0;
};

// How the game was started: the command line's words and the player's own options.
struct TGameOptions {
    std::string ProjectDir = ".";  // the project folder (the working directory by default)
    std::string RtpDir;            // the run-time package folder ("" when none is known)
    bool TestPlay = false;         // "TestPlay": the test-play aids are on
    bool BattleTest = false;       // "BattleTest"
    std::int32_t BattleTroop = 0;  // the troop of the battle test
    bool ShowTitle = true;         // "ShowTitle" / "HideTitle"
    bool FullScreen = false;       // "FullScreen" / "Window" (the window shell reads it)
    std::uint32_t Seed = 0;        // the random source's seed
    std::optional<TStartPlace> Start;
    int LoadSlot = 0;              // --load N: start from save slot N (1..15; 0 none)
};

class TGameSession;  // the game's inner state (scenes, world, interpreter)

class TGame {
public:
    // Loads the project's database, map tree and first map. On a missing or damaged file answers
    // null and sets error to a message naming the file and the problem.
    static std::unique_ptr<TGame> Open(const TGameOptions& options, IGameAudio& audio, std::string& error);
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // One logic step (1/60 s) with the buttons of that step.
    void Step(const TGameInput& input);
    // Draws the current frame onto the screen board (sized to 320 x 240 when it is not).
    void Draw(TOrlenBoard& screen);
    // True when nothing on the screen changed since the last Draw (the window may skip presenting).
    bool Unchanged() const;
    // The game asked to end (Shutdown, or the end of a battle test); the process exits with ExitCode().
    bool Ended() const;
    int ExitCode() const;
    // Logic steps run so far.
    std::int64_t Frame() const;
    // The state JSON of the headless mode.
    std::string StateJson() const;

    TGameSession& Session();

private:
    explicit TGame(std::unique_ptr<TGameSession> session);
    std::unique_ptr<TGameSession> mSession;
    bool mDrawn = false;
    std::uint64_t mDrawnSignature = 0;  // of the last frame drawn
};

}  // namespace quillon::runtime
