// Links planted in the temporary folder never make the tools delete or write other files.
#include "app/cli/CliRun.h"

using namespace quillon::clitest;

namespace {

class CliTempFolderTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        Victim = Root + "victim/";
        fs::create_directories(Victim);
        for (const char* name : {"Map0001.kmu", "GMK_RT.kdb", "notes.txt"})
            std::ofstream(Victim + name) << "victim's " << name;
    }
    void ExpectVictimIntact() {
        for (const char* name : {"Map0001.kmu", "GMK_RT.kdb", "notes.txt"})
            EXPECT_EQ(Slurp(Victim + name), std::string("victim's ") + name);
    }
    // Links to the victim under every name a tool might pick for its scratch folder next.
    void PlantScratchLinks(const std::string& prefix, int count) {
        const int from = static_cast<int>(::getpid());
        for (int pid = from + 1; pid <= from + count; ++pid)
            fs::create_directory_symlink(Victim, Root + "tmp/" + prefix + std::to_string(pid));
    }
    void PlantWorkingFolderLinks() {
        fs::create_directory_symlink(Victim, Root + "tmp/GMK_TEMP");
        fs::create_directory_symlink(Victim, Root + "tmp/GMK_TEMP-" + std::to_string(::geteuid()));
    }

    std::string Victim;
};

}  // namespace

TEST_F(CliTempFolderTest, PlantedWorkingFolderMakesProjectCreationFailWithoutHarm) {
    PlantWorkingFolderLinks();
    const TRun made = Cli({"new-project", Root, "P", "Test"});
    EXPECT_EQ(made.Status, 1);
    EXPECT_FALSE(fs::exists(Root + "P"));
    ExpectVictimIntact();

    const TRun sample = Sample(Root + "S");
    EXPECT_NE(sample.Status, 0);
    ExpectVictimIntact();
}

TEST_F(CliTempFolderTest, PlantedScratchFoldersAreNeverUsed) {
    PlantScratchLinks("quillon-cli-", 2000);
    PlantScratchLinks("quillon-sample-config-", 2000);
    const TRun made = Cli({"new-project", Root, "P", "Test"});
    EXPECT_EQ(made.Status, 0) << made.Err;
    EXPECT_TRUE(fs::is_regular_file(Root + "P/Map0001.kmu"));
    const TRun sample = Sample(Root + "S");
    EXPECT_EQ(sample.Status, 0) << sample.Err;
    EXPECT_TRUE(fs::is_regular_file(Root + "S/GMK_RT.kdb"));
    ExpectVictimIntact();
    // The tools clean up their own scratch folders and leave the planted links alone.
    for (const auto& entry : fs::directory_iterator(Root + "tmp"))
        if (entry.path().filename().string().rfind("quillon-", 0) == 0)
            EXPECT_TRUE(entry.is_symlink()) << entry.path();
}
