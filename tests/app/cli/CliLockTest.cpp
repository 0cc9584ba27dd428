// quillon-cli's writing verbs refuse a project that another writer holds, and change nothing.
#include "app/cli/CliRun.h"

#include "project/ProjectLock.h"

using namespace quillon::clitest;

TEST_F(CliTest, WritersRefuseAProjectAnotherWriterHolds) {
    const std::string project = NewProject();
    const std::string before = Slurp(project + "Map0001.kmu");
    const std::string database = Slurp(project + "GMK_RT.kdb");
    {
        quillon::TProjectLock editor(project);
        const std::vector<std::vector<std::string>> writers = {
            {"edit", project, "1", "place", "0", "0", "5000"},
            {"resave", project},
            {"resave", project + "GMK_RT.kdb"},
            {"new-database", project + "GMK_RT.kdb"}};
        // They wait a few seconds each before they give up: all at once.
        std::vector<TRun> runs(writers.size());
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < writers.size(); ++i) {
            fs::create_directories(Root + "refused" + std::to_string(i));
            threads.emplace_back([&, i] { runs[i] = RunProgram(CliPath(), writers[i], Root + "refused" + std::to_string(i)); });
        }
        for (std::thread& thread : threads)
            thread.join();
        for (std::size_t i = 0; i < writers.size(); ++i) {
            EXPECT_EQ(runs[i].Status, 1) << writers[i][0];
            EXPECT_NE(runs[i].Err.find("is being changed by another program"), std::string::npos) << runs[i].Err;
        }
        EXPECT_EQ(Slurp(project + "Map0001.kmu"), before);
        EXPECT_EQ(Slurp(project + "GMK_RT.kdb"), database);
    }
    // Two writers at once: the second waits for the first and both edits are kept.
    const std::string cli = CliPath();
    std::vector<std::thread> writers;
    TRun runs[2];
    for (int i = 0; i < 2; ++i) {
        fs::create_directories(Root + "run" + std::to_string(i));
        writers.emplace_back([&, i] {
            runs[i] = RunProgram(cli, {"edit", project, "1", "place", std::to_string(i * 10), "0", "5000"},
                                 Root + "run" + std::to_string(i));
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(runs[0].Status, 0) << runs[0].Err;
    EXPECT_EQ(runs[1].Status, 0) << runs[1].Err;
    const TRun dump = Cli({"dump", project + "Map0001.kmu"});
    ASSERT_EQ(dump.Status, 0);
    // Both cells hold the new tile: row 0 of the lower layer begins "[5000," and has 5000 at column 10.
    const std::size_t lower = dump.Out.find("\"LowerLayer\"");
    ASSERT_NE(lower, std::string::npos);
    const std::size_t row = dump.Out.find('[', dump.Out.find('[', lower) + 1);
    const std::string firstRow = dump.Out.substr(row, dump.Out.find(']', row) - row);
    std::vector<std::string> cells;
    std::string cell;
    for (char c : firstRow.substr(1)) {
        if (c == ',') {
            cells.push_back(cell);
            cell.clear();
        } else if (c != ' ' && c != '\n') {
            cell += c;
        }
    }
    cells.push_back(cell);
    ASSERT_GT(cells.size(), 10u);
    EXPECT_EQ(cells[0], "5000");
    EXPECT_EQ(cells[10], "5000");
}
