// quillon-cli db: the database editor's list operations in order on one clipboard, the file
// saved once at the end, and refusals that save nothing.
#include "app/cli/CliRun.h"

using namespace quillon::clitest;

TEST_F(CliTest, DataBaseOperationsShareOneClipboardAndSaveAtTheEnd) {
    const std::string file = Root + "GMK_RT.kdb";
    ASSERT_EQ(Cli({"new-database", file}).Status, 0);
    const TRun made = Cli({"db", file, "heroes", "resize", "5", "name", "1", "Alex", "name", "2", "Brian",
                           "copy", "1", "2", "paste", "4", "clear", "2", "list"});
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_EQ(made.Out,
              "heroes: 5 entries\n0001:Alex\n0002:Brian\ncopied 2 from 0001\npasted 2 at 0004\n0002:\n"
              "0001:Alex\n0002:\n0003:\n0004:Alex\n0005:Brian\n");

    struct TCase {
        std::vector<std::string> Args;
        int Status;
        std::string Says;
    };
    const TCase refusals[] = {
        {{"heroes", "name", "1", "Zed", "paste", "1"}, 1, "refused: the clipboard holds no heroes"},
        {{"heroes", "name", "1", "Zed", "copy", "4", "3"}, 1, "refused: only 2 entries"},
        {{"heroes", "name", "1", std::string(51, 'x')}, 1, "refused: the name is longer than 50 bytes"},
        {{"heroes", "clear", "9"}, 1, "refused: heroes has no entry 9"},
        {{"heroes", "resize", "30001"}, 2, ""},
        {{"system", "list"}, 2, ""},
    };
    const std::string before = Slurp(file);
    for (const TCase& c : refusals) {
        std::vector<std::string> args{"db", file};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TRun run = Cli(args);
        EXPECT_EQ(run.Status, c.Status) << c.Args[1];
        EXPECT_NE(run.Out.find(c.Says), std::string::npos) << run.Out;
        EXPECT_EQ(Slurp(file), before) << c.Args[1];
    }
    // Shrinking to two entries drops the rest.
    ASSERT_EQ(Cli({"db", file, "heroes", "resize", "2"}).Out, "heroes: 2 entries\n");
    EXPECT_EQ(Cli({"db", file, "heroes", "list"}).Out, "0001:Alex\n0002:\n");
}
