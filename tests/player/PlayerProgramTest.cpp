// quillon-player run as a user runs it: its help, its version, a usage error, a missing project
// in a window and headless, and the sample project played in a window on SDL's dummy display
// until it is told to end.
#include "app/cli/CliRun.h"

#include <csignal>
#include <fstream>

namespace quillon::clitest {
namespace {

std::string PlayerPath() { return std::string(QUILLON_BINARY_DIR) + "/bin/quillon-player"; }

class PlayerProgram : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        // No real display and no sound card: error boxes fail at once, windows are SDL's dummy ones.
        SaveEnv("DISPLAY", "");
        SaveEnv("WAYLAND_DISPLAY", "");
        SaveEnv("SDL_VIDEODRIVER", "dummy");
        SaveEnv("SDL_AUDIODRIVER", "dummy");
    }
    // Runs the player with the working directory `folder`.
    TRun Player(const std::vector<std::string>& args, const std::string& folder = {}) {
        const fs::path previous = fs::current_path();
        if (!folder.empty())
            fs::current_path(folder);
        TRun run = RunProgram(PlayerPath(), args, Root + "run", 30);
        fs::current_path(previous);
        return run;
    }
};

TEST_F(PlayerProgram, HelpVersionAndUsageErrors) {
    const TRun help = Player({"--help"});
    EXPECT_EQ(help.Status, 0);
    for (const char* word : {"TestPlay", "HideTitle", "FullScreen", "--headless", "--input", "--shot", "--state"})
        EXPECT_NE(help.Out.find(word), std::string::npos) << word;

    const TRun version = Player({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out.rfind("quillon-player ", 0), 0u) << version.Out;

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--no-such-option"},
                                                 std::vector<std::string>{"--headless", ".", "--frames"},
                                                 std::vector<std::string>{"--headless", ".", "--frames", "many"}}) {
        const TRun bad = Player(args);
        EXPECT_EQ(bad.Status, 2) << args.back();
        EXPECT_TRUE(bad.Out.empty());
        EXPECT_NE(bad.Err.find("--headless"), std::string::npos) << "the usage follows the error: " << bad.Err;
    }
}

TEST_F(PlayerProgram, AMissingProjectNamesTheFileAndEndsWithOne) {
    const std::string empty = Root + "Empty";
    fs::create_directories(empty);
    const TRun window = Player({"TestPlay", "HideTitle", "Window"}, empty);
    EXPECT_FALSE(window.Hung);
    EXPECT_EQ(window.Status, 1);
    EXPECT_NE(window.Err.find("GMK_RT.kdb: the file is missing"), std::string::npos) << window.Err;

    const TRun headless = Player({"--headless", empty, "--frames", "5"});
    EXPECT_EQ(headless.Status, 1);
    EXPECT_NE(headless.Err.find("GMK_RT.kdb: the file is missing"), std::string::npos) << headless.Err;
}

TEST_F(PlayerProgram, TheSampleRunsInADummyWindowUntilTerminated) {
    const std::string project = Root + "Sample";
    ASSERT_EQ(Sample(project).Status, 0);
    const fs::path previous = fs::current_path();
    fs::current_path(project);
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open((Root + "run/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 2);
        ::execl(PlayerPath().c_str(), PlayerPath().c_str(), "TestPlay", "HideTitle", "Window", nullptr);
        ::_exit(127);
    }
    fs::current_path(previous);
    // Alive after a second of play: it neither failed to start nor ended by itself.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, WNOHANG), 0) << Slurp(Root + "run/stderr.txt");
    // SDL turns the termination signal into a quit request: the window closes and the game ends.
    ::kill(child, SIGTERM);
    bool ended = false;
    for (int i = 0; i < 300 && !ended; ++i) {
        ended = ::waitpid(child, &status, WNOHANG) == child;
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << Slurp(Root + "run/stderr.txt");
}

// The sample's game played headless from its title, as a new user first plays it: New Game, the
// greeting, a step to the villager, her question answered "Yes", the chest it opens, and the lane
// north out of the village to the world map, and back. Each wait lets a message's text out in full before
// the decide key closes it; a step takes 16 frames.
TEST_F(PlayerProgram, TheSampleGamePlaysFromTheTitleToTheWorldMap) {
    const std::string project = Root + "Sample";
    ASSERT_EQ(Sample(project).Status, 0);
    const std::string input = Root + "input.txt";
    std::ofstream(input) << "30 -\n1 decide  # New Game\n"
                            "200 -\n1 decide\n10 -\n"
                            "20 left\n10 -\n1 decide  # talk to the villager\n"
                            "200 -\n1 decide\n120 -\n1 decide  # Yes\n200 -\n1 decide\n10 -\n"
                            "32 up\n32 right\n10 -\n1 decide  # the chest\n200 -\n1 decide\n10 -\n"
                            "16 left\n128 up\n60 -  # through the gate, then no key held\n";
    const std::string stateFile = Root + "state.json";
    const TRun run = Player({"--headless", project, "ShowTitle", "--input", input, "--state", stateFile});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "") << "every command of the sample runs";
    const std::string state = Slurp(stateFile);
    for (const char* expected :
         {"\"scene\": \"map\",\n  \"map\": 1,\n  \"x\": 32,\n  \"y\": 16,",
          "\"messages\": [\"Welcome to the village!\\nWalk with the arrow keys and talk\\nto people with the decide key.\","
          "\"Good day, traveller!\\nMy old chest by the well is stuck.\",\"Shall I open it for you?\","
          "\"There, it is open. Take what\\nyou find inside!\",\"You found 100 gold and a Potion!\"]",
          "\"choices\": [0]", "\"switches\": [1,5,6]", "\"money\": 100,", "\"items\": {\"1\": 1}"})
        EXPECT_NE(state.find(expected), std::string::npos) << expected << "\n" << state;

    // And back: the village on the world map leads two cells down the lane from its gates.
    std::ofstream(input) << "1 up\n40 -\n";  // one bump into the village
    const TRun back = Player({"--headless", project, "HideTitle", "--start", "1,33,16", "--input", input, "--state", stateFile});
    ASSERT_EQ(back.Status, 0) << back.Err;
    EXPECT_NE(Slurp(stateFile).find("\"map\": 2,\n  \"x\": 12,\n  \"y\": 2,"), std::string::npos) << Slurp(stateFile);
}

}  // namespace
}  // namespace quillon::clitest
