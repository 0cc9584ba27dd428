// Saving the database and the map tree (with the maps' working copies) together: all files or
// none, also when the disk fills part way.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "platform/FileUtils.h"
#include "project/ProjectFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class SaveTogetherTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-together-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern + "/";
        Project = Root + "project/";
        fs::create_directories(Project);
        fs::create_directories(Root + "tmp");
        if (const char* old = std::getenv("TMPDIR"))
            mOldTmpDir = old;
        ::setenv("TMPDIR", (Root + "tmp").c_str(), 1);

        // A project of a small database, a tree with two maps, and a big edited map 2 waiting
        // in the working folder.
        Database = std::make_unique<TKelDataBase>();
        Database->SaveToFile(Project + TKelDataBase::kFileName);
        TKelMap map;
        Tree.NewProject(Project, "Title", map);
        TKelMapTreeItem& second = Tree.AddItem(0, 2);
        second.Kind = TKelMapTreeItem::mkMap;
        TKelMap big;
        big.SetWidth(300);
        big.SetHeight(300);
        big.LowerLayer.SetCell(5, 5, 4000);
        big.SaveToWork(2);
        second.Modified = true;
    }
    void TearDown() override {
        if (mOldTmpDir)
            ::setenv("TMPDIR", mOldTmpDir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        fs::remove_all(Root);
    }

    std::string Root;
    std::string Project;
    std::unique_ptr<TKelDataBase> Database;
    TKelMapTree Tree;

private:
    std::optional<std::string> mOldTmpDir;
};

}  // namespace

TEST_F(SaveTogetherTest, AFullDiskPartWayChangesNothing) {
    const std::string database = ReadWholeFile(Project + TKelDataBase::kFileName);
    const std::string tree = ReadWholeFile(Project + TKelMapTree::kFileName);
    const std::string work = ReadWholeFile(MapWorkFolder() + "Map0002.kmu");
    ASSERT_LT(database.size(), 100000u);
    ASSERT_GT(work.size(), 100000u);

    // In a child whose files cannot grow past 100,000 bytes, as on a disk that is full.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit size{100000, 100000};
        ::setrlimit(RLIMIT_FSIZE, &size);
        ::signal(SIGXFSZ, SIG_IGN);
        Database->System.SaveCount = 41;
        try {
            SaveProjectTogether(Project, Database.get(), &Tree);
        } catch (const EFileError&) {
            ::_exit(Database->System.SaveCount == 41 && Tree.FindByID(2)->Modified ? 0 : 3);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success; 3: the failed save was counted";

    EXPECT_EQ(ReadWholeFile(Project + TKelDataBase::kFileName), database);
    EXPECT_EQ(ReadWholeFile(Project + TKelMapTree::kFileName), tree);
    EXPECT_FALSE(FileExists(Project + "Map0002.kmu"));
    EXPECT_EQ(ReadWholeFile(MapWorkFolder() + "Map0002.kmu"), work);
    EXPECT_EQ(ListSaveTempFiles(Project), std::vector<std::string>{});
}

TEST_F(SaveTogetherTest, ASuccessfulSaveCommitsEverything) {
    Database->System.SaveCount = 41;
    SaveProjectTogether(Project, Database.get(), &Tree);
    EXPECT_EQ(Database->System.SaveCount, 42);
    TKelDataBase reloaded;
    reloaded.LoadFromFile(Project + TKelDataBase::kFileName);
    EXPECT_EQ(reloaded.System.SaveCount, 42);
    TKelMap map;
    map.LoadFromProject(Project, 2);
    EXPECT_EQ(map.Width(), 300);
    EXPECT_EQ(map.LowerLayer.Cell(5, 5), 4000);
    EXPECT_FALSE(FileExists(MapWorkFolder() + "Map0002.kmu"));
    EXPECT_FALSE(Tree.FindByID(2)->Modified);
    TKelMapTree tree;
    tree.Load(Project);
    EXPECT_NE(tree.FindByID(2), nullptr);
    EXPECT_EQ(ListSaveTempFiles(Project), std::vector<std::string>{});
}
