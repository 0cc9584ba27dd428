// Whole-project saves land together or not at all, and temporary files left by a killed save
// are reported and cleared.
#include "app/cli/CliRun.h"

#include <ctime>

using namespace quillon::clitest;

TEST_F(CliTest, ResaveOfAFolderThatFailsPartWayChangesNoFile) {
    const std::string project = NewProject();
    const std::string database = Slurp(project + "GMK_RT.kdb");
    const std::string tree = Slurp(project + "GMK_RT.kmt");
    const std::string map = Slurp(project + "Map0001.kmu");
    ASSERT_LT(database.size(), 30000u);
    ASSERT_GT(map.size(), 30000u);

    // Files cannot grow past 30,000 bytes: the database and tree could be written, the map not.
    const TRun run = RunProgram(CliPath(), {"resave", project}, Root + "run", 60, 30000);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Slurp(project + "GMK_RT.kdb"), database);
    EXPECT_EQ(Slurp(project + "GMK_RT.kmt"), tree);
    EXPECT_EQ(Slurp(project + "Map0001.kmu"), map);
    for (const auto& entry : fs::directory_iterator(project))
        EXPECT_EQ(entry.path().filename().string().find(".quillon-save-"), std::string::npos) << entry.path();

    const TRun again = Cli({"resave", project});
    EXPECT_EQ(again.Status, 0) << again.Err;
    EXPECT_NE(Slurp(project + "GMK_RT.kdb"), database);  // the save counter went up
}

TEST_F(CliTest, CheckReportsTemporariesOfKilledSavesAndTheNextSaveClearsThem) {
    const std::string project = NewProject();
    const std::string stale = project + "GMK_RT.kdb.quillon-save-x1Y2z3";
    fs::copy_file(project + "GMK_RT.kdb", stale);
    const timespec hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, stale.c_str(), hourAgo, 0), 0);

    const TRun check = Cli({"check", project});
    EXPECT_EQ(check.Status, 1);
    EXPECT_NE(check.Out.find("GMK_RT.kdb.quillon-save-x1Y2z3: temporary file left by an interrupted save of GMK_RT.kdb"),
              std::string::npos)
        << check.Out;

    const TRun resave = Cli({"resave", project + "GMK_RT.kdb"});
    EXPECT_EQ(resave.Status, 0) << resave.Err;
    EXPECT_FALSE(fs::exists(stale));
    const TRun clean = Cli({"check", project});
    EXPECT_EQ(clean.Status, 0) << clean.Out;
}
