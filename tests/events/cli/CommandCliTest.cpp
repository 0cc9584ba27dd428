// quillon-cli command: the command dialogs without a window, on their own and on a project's page.
#include "data/LD_Map.h"

#include "CliRunKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

using TCommandRun = clikit::TCliRun;

TCommandRun RunCli(const std::string& args) { return clikit::RunCli("command " + args); }

class CommandCli : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-command-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        TKelMap map;
        TKelEventScriptList& script = map.Events.Obtain(3).Pages.Obtain(1).Script;
        script.Clear();
        const auto add = [&script](std::int32_t code, std::int32_t indent, std::initializer_list<std::int32_t> params) {
            auto& line = script.Add();
            line.Code = code;
            line.Indent = indent;
            line.SetParamCount(static_cast<int>(params.size()));
            int i = 0;
            for (const std::int32_t p : params)
                line.SetParam(i++, p);
        };
        add(11410, 0, {5});                 // 0 wait
        add(12010, 0, {0, 1, 0, 0, 0, 0});  // 1 fork on switch 1
        add(11410, 1, {1});                 // 2   three commands in the then-body
        add(11410, 1, {2});                 // 3
        add(12420, 1, {});                  // 4
        add(10, 1, {});                     // 5
        add(22011, 0, {});                  // 6
        add(0, 0, {});                      // 7
        map.SaveToProject(Project(), 1);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Project() const { return folder.string() + "/"; }

    fs::path folder;
};

TEST_F(CommandCli, DescribesAndBuildsCommands) {
    const TCommandRun described = RunCli("describe 10140");
    ASSERT_EQ(described.Status, 0);
    EXPECT_NE(described.Out.find("1 parameter"), std::string::npos) << described.Out;
    EXPECT_NE(described.Out.find("choice1"), std::string::npos) << described.Out;
    EXPECT_NE(described.Out.find("at most 32 bytes"), std::string::npos) << described.Out;

    const TCommandRun built = RunCli("new 10150 digits=3 variable=7");
    ASSERT_EQ(built.Status, 0);
    EXPECT_EQ(built.Out, "[\n {\"Code\": 10150, \"Indent\": 0, \"Text\": \"\", \"Params\": [3, 7], \"Render\": "
                         "\"<>Input Number: Digits=3 Var[?]\"}\n]\n");
    EXPECT_EQ(RunCli("new 10150 digits=9").Status, 1) << "out of range";
    EXPECT_EQ(RunCli("new 10150 nosuchkey=1").Status, 1);
    EXPECT_EQ(RunCli("new 20141").Status, 1) << "a companion line has no dialog";

    // The commands a selector makes take its values by key.
    const TCommandRun music = RunCli("new 11510 file=Town volume=80 tempo=120 balance=30 fade=2000");
    ASSERT_EQ(music.Status, 0);
    EXPECT_NE(music.Out.find("\"Code\": 11510, \"Indent\": 0, \"Text\": \"Town\", \"Params\": [2000, 80, 120, 30]"),
              std::string::npos)
        << music.Out;
    const TCommandRun place = RunCli("new 10810 map=2 x=3 y=4");
    ASSERT_EQ(place.Status, 0);
    EXPECT_NE(place.Out.find("\"Params\": [2, 3, 4]"), std::string::npos) << place.Out;
    EXPECT_EQ(RunCli("new 11550 tempo=151").Status, 1);
    EXPECT_EQ(RunCli("new 13210 file=Cave volume=5").Status, 1) << "a key the selector has not";
    EXPECT_EQ(RunCli("describe").Status, 2);
}

TEST_F(CommandCli, EditsACommandOfAPageKeepingItsBody) {
    const TCommandRun run = RunCli("edit '" + Project() + "' 1 3 1 1 switch=2 else=1");
    ASSERT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("\"Render\": \":Else Case\""), std::string::npos) << run.Out;

    TKelMap map;
    map.LoadFromProject(Project(), 1);
    const TKelEventScriptList& script = map.Events.FindByID(3)->Pages.FindByID(1)->Script;
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
        {11410, 0}, {12010, 0}, {11410, 1}, {11410, 1}, {12420, 1}, {10, 1},
        {22010, 0}, {10, 1},    {22011, 0}, {0, 0}};
    ASSERT_EQ(script.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < script.Count(); ++i)
        EXPECT_EQ(std::pair(script.Lines(i)->Code, script.Lines(i)->Indent), expected[static_cast<std::size_t>(i)])
            << "line " << i;
    EXPECT_EQ(script.Lines(1)->Params(), (std::vector<std::int32_t>{0, 2, 0, 0, 0, 1}));
    EXPECT_EQ(script.Lines(3)->Param(0), 2);

    EXPECT_EQ(RunCli("edit '" + Project() + "' 1 3 1 6").Status, 1) << "a companion line is not a command";
    EXPECT_EQ(RunCli("edit '" + Project() + "' 1 3 1 1 switch=0").Status, 1);
}

}  // namespace
}  // namespace quillon
