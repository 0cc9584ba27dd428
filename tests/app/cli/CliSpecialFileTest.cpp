// Pipes and devices in place of a project's files make the verbs fail at once; they never hang
// or read without end.
#include "app/cli/CliRun.h"

#include <sys/stat.h>

using namespace quillon::clitest;

TEST_F(CliTest, PipesAndDevicesInPlaceOfDataFilesAreRefused) {
    const std::string project = NewProject();
    fs::remove(project + "GMK_RT.kdb");
    ASSERT_EQ(::mkfifo((project + "GMK_RT.kdb").c_str(), 0600), 0);
    fs::remove(project + "GMK_RT.kmt");
    fs::create_symlink("/dev/zero", project + "GMK_RT.kmt");
    fs::remove(project + "Map0001.kmu");
    fs::create_symlink("/dev/urandom", project + "Map0001.kmu");

    const std::vector<std::vector<std::string>> runs = {
        {"dump", project + "GMK_RT.kdb"},      {"dump", project + "GMK_RT.kmt"},
        {"dump", project + "Map0001.kmu"},     {"resave", project + "GMK_RT.kdb"},
        {"resave", project},                   {"check", project},
        {"summary", project},                  {"render", project, "1", Root + "out.png"},
        {"edit", project, "1", "place", "0", "0", "5000"},
    };
    for (const auto& args : runs) {
        const TRun run = Cli(args, 30);
        EXPECT_FALSE(run.Hung) << args[0];
        EXPECT_EQ(run.Status, 1) << args[0] << ": " << run.Err;
    }
    // Nothing was replaced: the pipe and the links are still there.
    struct stat st {};
    ASSERT_EQ(::lstat((project + "GMK_RT.kdb").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(fs::is_symlink(project + "GMK_RT.kmt"));
    EXPECT_TRUE(fs::is_symlink(project + "Map0001.kmu"));
}

TEST_F(CliTest, DeviceLinksInPlaceOfImagesAreNoResources) {
    const std::string project = NewProject();
    for (const char* name : {"World.png", "Town.png"})
        fs::create_symlink("/dev/zero", project + "ChipSet/" + name);
    ASSERT_EQ(::mkfifo((project + "ChipSet/Pipe.png").c_str(), 0600), 0);

    const TRun render = Cli({"render", project, "1", Root + "out.png", "--zoom", "8"}, 60);
    EXPECT_FALSE(render.Hung);
    EXPECT_EQ(render.Status, 0) << render.Err;  // drawn from the run-time package's chipset
    const TRun edit = Cli({"edit", project, "1", "place", "0", "0", "5000"}, 60);
    EXPECT_FALSE(edit.Hung);
    EXPECT_EQ(edit.Status, 0) << edit.Err;
    for (const char* name : {"World", "Pipe"}) {
        const TRun find = Cli({"find", project, "ChipSet", name}, 30);
        EXPECT_FALSE(find.Hung);
        EXPECT_EQ(find.Out.find(project), std::string::npos) << find.Out;
    }
}
