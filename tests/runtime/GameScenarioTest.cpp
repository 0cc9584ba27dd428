// Whole games run headless on the fixture project: the driver's files, the title, walking,
// talking, choosing, touching a door, and the same bytes twice for the same input.
#include "runtime/GameFixture.h"

#include "runtime/CommandLine.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSession.h"
#include "runtime/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quillon::runtime::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class GameScenarioTest : public ::testing::Test {
protected:
    TProjectFolder Project;
    std::string State() const { return ReadAll(Project.Path("state.json")); }
};

TEST_F(GameScenarioTest, HeroWalksUntilTheWall) {
    // Six steps right from (10, 10): the wall column at x 15 stops him at 14.
    ASSERT_EQ(Headless(Project, "# walk right\n100 right\n"), 0);
    const std::string state = State();
    EXPECT_NE(state.find("\"scene\": \"map\""), std::string::npos) << state;
    EXPECT_NE(state.find("\"x\": 11,\n  \"y\": 10"), std::string::npos) << state;  // the talker at 12 blocks
}

TEST_F(GameScenarioTest, TalkChooseAndTheNextPage) {
    // Face the talker at (12, 10) from (11, 10); talk; let the text out; decide; choose Yes.
    ASSERT_EQ(Headless(Project, "16 right\n10 -\n1 decide\n60 -\n1 decide\n10 -\n"), 0);
    const std::string state = State();
    EXPECT_NE(state.find("\"messages\": [\"Hello\\ntraveller\"]"), std::string::npos) << state;
    EXPECT_NE(state.find("\"choices\": [0]"), std::string::npos) << state;
    EXPECT_NE(state.find("\"switches\": [1]"), std::string::npos) << state;
    EXPECT_NE(state.find("{\"id\": 1, \"x\": 12, \"y\": 10, \"direction\": 0, \"page\": 2"), std::string::npos) << state;
}

TEST_F(GameScenarioTest, DoorTeleportsToTheOtherMap) {
    // The door's teleport fades the screen out first (half a second).
    ASSERT_EQ(Headless(Project, "80 left\n40 -\n"), 0);
    const std::string state = State();
    EXPECT_NE(state.find("\"map\": 2,\n  \"x\": 3,\n  \"y\": 4"), std::string::npos) << state;
}

TEST_F(GameScenarioTest, TitleNewGameContinueAndShutdown) {
    TRecordingGameAudio audio;
    std::string error;
    auto game = TGame::Open(Project.Options(true), audio, error);
    ASSERT_TRUE(game) << error;
    EXPECT_EQ(game->Session().SceneName(), "title");
    EXPECT_EQ(audio.Requests.back(), "music " + Project.Database()->System.Music[0].Name);  // the title's music
    TRun run(*game);
    run.Tap(gbDown);
    run.Tap(gbDecide);  // "Continue" is greyed: nothing happens
    EXPECT_EQ(game->Session().SceneName(), "title");
    run.Tap(gbUp);
    run.Tap(gbDecide);
    EXPECT_EQ(game->Session().SceneName(), "map");
    EXPECT_EQ(audio.Requests.back(), "music Town");  // the start map's music

    auto again = TGame::Open(Project.Options(true), audio, error);
    TRun shutdown(*again);
    shutdown.Tap(gbDown);
    shutdown.Tap(gbDown);
    shutdown.Tap(gbDecide);
    EXPECT_TRUE(again->Ended());
    EXPECT_EQ(again->ExitCode(), 0);
}

TEST_F(GameScenarioTest, SameSeedAndInputGiveTheSameBytes) {
    const std::string script = "30 right\n20 down\n1 decide\n40 left\n200 -\n";
    const auto run = [&](const std::string& suffix) {
        EXPECT_EQ(Headless(Project, script,
                           {"--seed", "7", "--shot", "10:" + Project.Path("a" + suffix + ".png"), "--shot",
                            "290:" + Project.Path("b" + suffix + ".png")}),
                  0);
        return State() + ReadAll(Project.Path("a" + suffix + ".png")) + ReadAll(Project.Path("b" + suffix + ".png"));
    };
    const std::string first = run("1");
    const std::string second = run("2");
    EXPECT_GT(first.size(), 1000u);
    EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace quillon::runtime::test
