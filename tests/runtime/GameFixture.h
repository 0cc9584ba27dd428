// What the game's tests share: a small project written into a temporary folder (the starter
// database and run-time package, a chipset with known passability, two maps with events), and
// helpers to build event scripts and to run a game step by step.
#pragma once

#include "data/CommandCode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSession.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace quillon::runtime::test {

// Tiles of the fixture's chipset: grass passes everywhere, a wall nowhere.
inline constexpr std::uint16_t kGrass = kTileLowerFirst + 0;
inline constexpr std::uint16_t kWall = kTileLowerFirst + 1;
inline constexpr std::uint16_t kStar = kTileUpperFirst + 5;     // drawn over the hero, passable
inline constexpr std::uint16_t kCounter = kTileUpperFirst + 6;  // a counter: blocks, reaches across

using TC = TCommandCode;

// A script line.
struct TLine {
    TCommandCode Code = TCommandCode::End;
    std::int32_t Indent = 0;
    std::string Text;
    std::vector<std::int32_t> Params;
};
void FillScript(TKelEventScriptList& script, const std::vector<TLine>& lines);
// A move route's bytes as the parameters of "Move Character" from index 4 on.
std::vector<std::int32_t> RouteParams(std::initializer_list<std::int32_t> codes);

// Runs a script in an interpreter of its own until it ends (at most `steps` steps), with the
// buttons of each step for the message window and the commands that read keys. Answers the steps taken; `running` tells whether
// the script still ran at the end.
int RunScript(TGameSession& session, TKelEventScriptList& script, const std::vector<TLine>& lines, int steps = 200,
              std::int32_t eventId = 0, const std::vector<std::uint32_t>& buttons = {}, bool* running = nullptr);

// Adds an event with one page (returned) at a cell.
TKelEventPageItem& AddEvent(TKelMap& map, std::int32_t id, int x, int y);

class TProjectFolder {
public:
    // heroVisible: the party's hero has a walk graphic (else none, for the comparison with the editor).
    explicit TProjectFolder(bool heroVisible = true);
    ~TProjectFolder();
    TProjectFolder(const TProjectFolder&) = delete;
    TProjectFolder& operator=(const TProjectFolder&) = delete;

    const std::filesystem::path& Root() const { return mRoot; }
    std::string Path(const std::string& name) const { return (mRoot / name).string(); }
    // The maps as the fixture writes them; a test may change one and write it again.
    static std::unique_ptr<TKelMap> MakeMap1();
    static std::unique_ptr<TKelMap> MakeMap2();
    void WriteMap(TKelMap& map, std::int32_t id) const;
    void WriteDatabase(TKelDataBase& database) const;
    std::unique_ptr<TKelDataBase> Database() const;
    TGameOptions Options(bool showTitle = false) const;

private:
    std::filesystem::path mRoot;
};

// The fixture's run-time package (written once per test run).
const std::string& RtpFolder();

// The same in the game's session.
int RunScript(TGame& game, TKelEventScriptList& script, const std::vector<TLine>& lines, int steps,
              std::int32_t eventId, const std::vector<std::uint32_t>& buttons, bool& running);
// Runs the headless driver on the project with an input script (written to "input.txt"), the
// words TestPlay and HideTitle, the state into "state.json", and the extra arguments; answers
// the exit status.
int Headless(const TProjectFolder& project, const std::string& script, std::vector<std::string> extra = {});

// Runs a game: held buttons step by step.
class TRun {
public:
    explicit TRun(TGame& game) : mGame(game) {}
    void Hold(std::uint32_t held, int steps = 1);
    // A press: held for one step, released for one.
    void Tap(std::uint32_t button);
    void Wait(int steps) { Hold(0, steps); }

private:
    TGame& mGame;
    TGameInput mInput;
};

// A test of a game opened on the fixture's project: a test's SetUp writes what it changes into
// Project, then calls OpenGame.
class TGameTest : public ::testing::Test {
protected:
    void OpenGame() {
        std::string error;
        Game = TGame::Open(Project.Options(), Audio, error);
        ASSERT_TRUE(Game) << error;
    }
    TGameSession& Session() { return Game->Session(); }
    TGameState& State() { return Session().State(); }

    TProjectFolder Project;
    TRecordingGameAudio Audio;
    std::unique_ptr<TGame> Game;
    TKelEventScriptList Script;
    bool Running = false;
};

}  // namespace quillon::runtime::test
