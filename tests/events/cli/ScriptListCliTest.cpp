// quillon-cli script-list: the command list's operations on a map event page of a project.
#include "data/LD_Map.h"
#include "platform/FileUtils.h"

#include "CliRunKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

using TListRun = clikit::TCliRun;

class ScriptListCli : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per process: the cases may run side by side.
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-script-list-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        TKelMap map;
        TKelEventScriptList& script = map.Events.Obtain(3).Pages.Obtain(1).Script;
        script.Clear();
        const auto add = [&script](std::int32_t code, std::int32_t indent) {
            auto& line = script.Add();
            line.Code = code;
            line.Indent = indent;
        };
        add(12210, 0);  // 0 loop
        add(12220, 1);  // 1   break
        add(10, 1);     // 2
        add(22210, 0);  // 3 end of loop
        add(11340, 0);  // 4 wait until moved
        add(0, 0);      // 5
        map.SaveToProject(Project(), 1);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Project() const { return folder.string() + "/"; }

    TListRun Run(const std::string& ops) const {
        return clikit::RunCli("script-list '" + Project() + "' 1 3 1 " + ops);
    }

    fs::path folder;
};

TEST_F(ScriptListCli, PrintsSelectionCursorAndMenu) {
    const TListRun run = Run("click=3");  // ":End Loop"
    ASSERT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "  <>Loop\n"
              "    <>Break\n"
              "    <>\n"
              " >:End Loop\n"
              "  <>Wait Until Moved\n"
              "  <>\n"
              "menu: SelectAll\n");
    const TListRun loop = Run("click=0");
    EXPECT_EQ(loop.Out.substr(0, 9), "*><>Loop\n");
    EXPECT_NE(loop.Out.find("* :End Loop\n"), std::string::npos);
    EXPECT_NE(loop.Out.find("menu: Insert Edit Cut Copy Delete SelectAll\n"), std::string::npos);
}

TEST_F(ScriptListCli, EditsAndSavesThePage) {
    // Cut the loop, paste it in front of the closing line, insert a loop into the moved loop's
    // body, and save.
    const TListRun run = Run("click=0 cut key=end paste key=up key=up insert=12210 --save");
    ASSERT_EQ(run.Status, 0);
    TKelMap map;
    map.LoadFromProject(Project(), 1);
    const TKelEventScriptList& script = map.Events.FindByID(3)->Pages.FindByID(1)->Script;
    std::vector<std::pair<int, int>> shape;
    for (int i = 0; i < script.Count(); ++i)
        shape.emplace_back(script.Lines(i)->Code, script.Lines(i)->Indent);
    EXPECT_EQ(shape, (std::vector<std::pair<int, int>>{{11340, 0}, {12210, 0}, {12210, 1}, {10, 2},
                                                        {22210, 1}, {12220, 1}, {10, 1}, {22210, 0}, {0, 0}}));
    // Unknown operations and missing events fail.
    EXPECT_EQ(Run("wiggle").Status, 1);
    const std::string command = std::string("'") + QUILLON_CLI + "' script-list '" + Project() + "' 1 9 1 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace quillon
