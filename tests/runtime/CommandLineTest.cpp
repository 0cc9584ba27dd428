// The player's command line, the headless input script, and projects that cannot start.
#include "runtime/GameFixture.h"

#include "runtime/CommandLine.h"
#include "runtime/GameAudio.h"
#include "runtime/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quillon::runtime::test {
namespace {

TEST(CommandLineTest, TheEditorsWordsAndTheOptions) {
    TPlayerCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"TestPlay", "HideTitle", "FullScreen"}, line, error)) << error;
    EXPECT_TRUE(line.Game.TestPlay);
    EXPECT_FALSE(line.Game.ShowTitle);
    EXPECT_TRUE(line.Game.FullScreen);
    EXPECT_FALSE(line.Headless);
    EXPECT_EQ(line.Game.ProjectDir, ".");

    ASSERT_TRUE(ParseCommandLine({"BattleTest", "HideTitle", "Window", "12"}, line, error)) << error;
    EXPECT_TRUE(line.Game.BattleTest);
    EXPECT_EQ(line.Game.BattleTroop, 12);
    EXPECT_FALSE(line.Game.FullScreen);

    ASSERT_TRUE(ParseCommandLine({"--headless", "game", "ShowTitle", "--seed", "42", "--input", "in.txt", "--frames",
                                  "600", "--shot", "10:a.png", "--shot", "5:b.png", "--state", "s.json", "--start",
                                  "3,4,5", "--load", "15"},
                                 line, error))
        << error;
    EXPECT_TRUE(line.Headless);
    EXPECT_EQ(line.Game.ProjectDir, "game");
    EXPECT_EQ(line.Game.Seed, 42u);
    EXPECT_EQ(line.InputFile, "in.txt");
    EXPECT_EQ(line.Frames, 600);
    ASSERT_EQ(line.Shots.size(), 2u);
    EXPECT_EQ(line.Shots[1], (std::pair<long long, std::string>{5, "b.png"}));
    EXPECT_EQ(line.StateFile, "s.json");
    ASSERT_TRUE(line.Game.Start.has_value());
    EXPECT_EQ(line.Game.Start->MapId, 3);
    EXPECT_EQ(line.Game.Start->Y, 5);
    EXPECT_EQ(line.Game.LoadSlot, 15);
}

TEST(CommandLineTest, UsageErrors) {
    const std::vector<std::vector<std::string>> bad{
        {"testplay"},                         // the words keep the editor's letter case
        {"--seed"},                           // a value is missing
        {"--seed", "-1"},
        {"--start", "1,2"},
        {"--start", "0,2,3"},
        {"--load", "0"},                      // save slots are 1..15
        {"--load", "16"},
        {"--load"},
        {"--headless", "--shot", "x.png"},    // no frame
        {"--headless", "--frames", "many"},
        {"--input", "in.txt"},                // only headless
        {"somefolder"},                       // only headless names a project
        {"--headless", "a", "b"},
        {"--bogus"},
    };
    for (const auto& args : bad) {
        TPlayerCommandLine line;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(args, line, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(InputScriptTest, CountsKeysAndComments) {
    std::istringstream in("# a walk\n3 up+decide\n\n2 -   # rest\n1 shift+left+right\n");
    std::vector<std::uint32_t> frames;
    std::string error;
    ASSERT_TRUE(ReadInputScript(in, frames, error)) << error;
    EXPECT_EQ(frames, (std::vector<std::uint32_t>{gbUp | gbDecide, gbUp | gbDecide, gbUp | gbDecide, 0, 0,
                                                  gbShift | gbLeft | gbRight}));
    for (const char* bad : {"3 jump\n", "x up\n", "-2 up\n", "3\n", "3 up down\n", "99999999999 up\n"}) {
        std::istringstream wrong(std::string("1 -\n") + bad);
        EXPECT_FALSE(ReadInputScript(wrong, frames, error)) << bad;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

// A project with one file broken in some way cannot start; the message names the file.
TEST(DamagedProjectTest, RefusedWithTheFileNamed) {
    const auto write = [](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    };
    const struct {
        const char* File;
        std::string Bytes;  // empty: the file is removed
    } cases[] = {
        {"GMK_RT.kdb", ""},
        {"GMK_RT.kdb", "\x0bKelDataBase\x0b\x7f"},
        {"GMK_RT.kmt", "\x0aKelMapTree"},
        {"Map0001.kmu", ""},
        {"Map0001.kmu", "\x0aKelMapUnit\x02\x04\xff\xff\xff\x7f"},  // an absurd width, cut short
        {"Map0001.kmu", "\x0aKelNotAMap"},
    };
    for (const auto& c : cases) {
        TProjectFolder project;
        if (c.Bytes.empty())
            std::filesystem::remove(project.Path(c.File));
        else
            write(project.Path(c.File), c.Bytes);
        TRecordingGameAudio audio;
        std::string error;
        EXPECT_EQ(TGame::Open(project.Options(), audio, error), nullptr) << c.File;
        EXPECT_NE(error.find(c.File), std::string::npos) << error;

        TPlayerCommandLine line;
        line.Headless = true;
        line.Game = project.Options();
        line.Frames = 5;
        EXPECT_EQ(RunHeadless(line), 1) << c.File;
    }
}

TEST(DamagedProjectTest, StartOutsideTheMapAndUnreadableInput) {
    TProjectFolder project;
    TGameOptions options = project.Options();
    options.Start = TStartPlace{2, 50, 1};
    TRecordingGameAudio audio;
    std::string error;
    EXPECT_EQ(TGame::Open(options, audio, error), nullptr);
    EXPECT_NE(error.find("Map0002.kmu"), std::string::npos) << error;

    TPlayerCommandLine line;
    line.Headless = true;
    line.Game = project.Options();
    line.InputFile = project.Path("no-such-input.txt");
    EXPECT_EQ(RunHeadless(line), 2);
}

TEST(BattleTestTroop, TheLabsOptions) {
    TPlayerCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--headless", "game", "--battle-lab", "3", "--runs", "1000", "--seed", "9"}, line, error))
        << error;
    EXPECT_EQ(line.LabTroop, 3);
    EXPECT_EQ(line.LabRuns, 1000);
    EXPECT_EQ(line.Game.Seed, 9u);
    const struct {
        std::vector<std::string> Args;
        const char* Error;
    } refused[] = {
        {{"--battle-lab", "3"}, "--battle-lab is an option of the headless mode (--headless)"},
        {{"--headless", "--battle-lab", "0"}, "--battle-lab needs a troop ID"},
        {{"--headless", "--battle-lab", "2", "--runs", "0"}, "--runs needs a number from 1 to 100000"},
        {{"--headless", "--battle-lab", "2", "--runs", "100001"}, "--runs needs a number from 1 to 100000"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(ParseCommandLine(c.Args, line, error));
        EXPECT_EQ(error, c.Error);
    }
}

TEST(BattleTestTroop, AMissingTroopIsRefusedWithItsNumber) {
    TProjectFolder project;
    TGameOptions options = project.Options();
    options.BattleTest = true;
    options.BattleTroop = 77;
    TRecordingGameAudio audio;
    std::string error;
    EXPECT_EQ(TGame::Open(options, audio, error), nullptr);
    EXPECT_NE(error.find("troop 77 does not exist"), std::string::npos) << error;
}

}  // namespace
}  // namespace quillon::runtime::test
