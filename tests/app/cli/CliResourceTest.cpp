// Resource names from the command line or from a project's data never reach files outside the
// project and the run-time package.
#include "app/cli/CliRun.h"

using namespace quillon::clitest;

TEST_F(CliTest, FindReportsNamesThatAreNotResourcesAsNotFound) {
    const std::string project = NewProject();
    fs::create_directories(Root + "outside");
    std::ofstream(Root + "outside/secret.png") << "secret";
    std::ofstream(project + "ChipSet/Mine.png") << "png";

    const TRun found = Cli({"find", project, "ChipSet", "mine"});
    EXPECT_EQ(found.Status, 0) << found.Err;
    EXPECT_EQ(found.Out, project + "ChipSet/Mine.png\n");

    for (const std::string& name : {std::string("../../outside/secret"), Root + "outside/secret",
                                    std::string("..\\..\\outside\\secret"), std::string(".."), std::string("missing")}) {
        const TRun run = Cli({"find", project, "ChipSet", name});
        EXPECT_EQ(run.Status, 1) << name;
        EXPECT_EQ(run.Out, "") << name;
        EXPECT_EQ(run.Err.find("outside"), std::string::npos) << run.Err;
    }
}
