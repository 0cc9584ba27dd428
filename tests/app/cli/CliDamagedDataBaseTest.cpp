// Every verb that writes the database refuses a damaged one ("refused: ..." naming the file and
// the damage, status 1, the file untouched) unless given --replace-damaged, which keeps the
// damaged file beside the new one; the help of each says so.
#include "app/cli/CliRun.h"

using namespace quillon::clitest;

TEST_F(CliTest, WritersRefuseADamagedDataBaseUnlessToldToReplaceIt) {
    const std::string folder = NewProject("Cut");
    const std::string kdb = folder + "GMK_RT.kdb";
    const std::string whole = Slurp(kdb);
    const std::string cut = whole.substr(0, whole.size() / 2);
    {
        std::ofstream out(kdb, std::ios::binary | std::ios::trunc);
        out << cut;
    }
    const std::vector<std::vector<std::string>> writers = {
        {"db", kdb, "heroes", "name", "1", "Zed"},
        {"dbpage", kdb, "conditions", "--id", "1", "name=Poison", "--save"},
        {"anim", folder, "1", "insert", "1", "--save"},
        {"chipset", folder, "1", "lower", "20", "pass", "--save"},
        {"troop", folder, "1", "arrange", "--save"},
        {"resave", kdb},
        {"resave", folder},
    };
    for (const auto& args : writers) {
        SCOPED_TRACE(args[0]);
        const TRun run = Cli(args);
        EXPECT_EQ(run.Status, 1) << run.Err;
        EXPECT_NE(run.Err.find("refused: "), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("GMK_RT.kdb is damaged: its "), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("--replace-damaged"), std::string::npos) << run.Err;
        EXPECT_EQ(Slurp(kdb), cut);
        EXPECT_FALSE(fs::exists(kdb + ".damaged"));
        EXPECT_NE(Cli({"help", args[0]}).Out.find("--replace-damaged"), std::string::npos);
    }
    // Reading verbs do not take the option.
    EXPECT_NE(Cli({"dump", kdb, "--replace-damaged"}).Status, 0);

    const TRun replaced = Cli({"db", kdb, "heroes", "name", "1", "Zed", "--replace-damaged"});
    EXPECT_EQ(replaced.Status, 0) << replaced.Err;
    EXPECT_EQ(Slurp(kdb + ".damaged"), cut);
    const TRun check = Cli({"check", folder});
    EXPECT_NE(check.Out.find("GMK_RT.kdb: ok\n"), std::string::npos) << check.Out;
    EXPECT_EQ(Cli({"db", kdb, "heroes", "list"}).Out.substr(0, 9), "0001:Zed\n");
}
