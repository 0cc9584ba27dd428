// quillon-cli's writing verbs refuse a project that another writer holds, and change nothing.
#include "app/cli/CliRun.h"

#include "project/ProjectLock.h"

#include <map>

using namespace quillon::clitest;

namespace {

// Every entry under a folder with its bytes (folders as "/"): what a refused writer must leave.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    std::error_code gone;  // a folder that was removed has no entries
    for (const auto& entry : fs::recursive_directory_iterator(folder, gone)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        entries[name] = entry.is_directory() ? std::string("/") : Slurp(entry.path().string());
    }
    return entries;
}

}  // namespace

TEST_F(CliTest, WritersRefuseAProjectAnotherWriterHolds) {
    const std::string project = NewProject();
    // A second map and an event with a script, for the verbs below to work on.
    ASSERT_EQ(Cli({"tree", project, "new-map", "0"}).Status, 0);
    ASSERT_EQ(Cli({"event", project, "1", "teleport", "0", "0", "1", "5", "5"}).Status, 0);
    const auto before = Snapshot(project);
    {
        quillon::TProjectLock editor(project);
        // Each of these writes the project when nobody holds it.
        const std::vector<std::vector<std::string>> writers = {
            {"edit", project, "1", "place", "0", "0", "5000"},
            {"resave", project},
            {"resave", project + "GMK_RT.kdb"},
            {"new-database", project + "GMK_RT.kdb"},
            {"tree", project, "delete", "2"},
            {"tree", project, "props", "1", "name=Gone"},
            {"tree", project, "new-map", "0"},
            {"tree", project, "new-area", "1", "0", "0", "2", "2"},
            {"tree", project, "move", "2", "1"},
            {"tree", project, "shift", "1", "1", "0"},
            {"script-list", project, "1", "1", "1", "click=0", "copy", "paste", "--save"},
            {"command", "edit", project, "1", "1", "1", "0", "transition=3"},
            {"event", project, "1", "new", "3", "3"},
            {"event", project, "1", "party", "4", "4"},
            {"event", project, "1", "route", "1", "1", "add", "1"},
            {"db", project + "GMK_RT.kdb", "heroes", "name", "1", "Bob"},
            {"anim", project, "1", "insert", "1", "--save"},
            {"chipset", project, "1", "lower", "20", "counter", "--save"},
            {"troop", project, "1", "arrange", "--save"},
            {"battle-test", project, "1"},
            {"package", project, Root + "disk"},
            {"project", Root, "rename", "P", "Q", "Other"},
            {"project", Root, "delete", "P"}};
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
            const std::string what = writers[i][0] + " " + writers[i][writers[i][0] == "project" ? 2 : 1];
            EXPECT_EQ(runs[i].Status, 1) << what;
            EXPECT_NE((runs[i].Out + runs[i].Err).find("is being changed by another program"), std::string::npos)
                << what << ": " << runs[i].Out << runs[i].Err;
        }
        EXPECT_TRUE(before == Snapshot(project)) << "a refused writer changed the project";
        EXPECT_FALSE(fs::exists(Root + "Q"));
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
