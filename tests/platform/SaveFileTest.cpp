// Safe saves: temporary files with a recognisable name, stale ones cleared, and several files
// replaced together or not at all.
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-save-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern + "/";
    }
    void TearDown() override { fs::remove_all(Root); }
    // A file as a killed save leaves it, last written `age` seconds ago.
    void Leave(const std::string& name, int age) {
        WriteFileAtomic(Root + name, "half a save");
        const timespec times[2] = {{std::time(nullptr) - age, 0}, {std::time(nullptr) - age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (Root + name).c_str(), times, 0), 0);
    }
    std::string Root;
};

}  // namespace

TEST_F(SaveFileTest, TemporaryNamesAreRecognisable) {
    std::string file;
    EXPECT_TRUE(IsSaveTempName("GMK_RT.kdb.quillon-save-a1B2c3", &file));
    EXPECT_EQ(file, "GMK_RT.kdb");
    EXPECT_FALSE(IsSaveTempName("GMK_RT.kdb.quillon-save-a1B2c"));    // five
    EXPECT_FALSE(IsSaveTempName("GMK_RT.kdb.quillon-save-a1B2c34"));  // seven
    EXPECT_FALSE(IsSaveTempName("GMK_RT.kdb.quillon-save-a1B2c."));
    EXPECT_FALSE(IsSaveTempName(".quillon-save-a1B2c3"));
    EXPECT_FALSE(IsSaveTempName("GMK_RT.kdb.A1B2C3"));

    // A save leaves nothing beside the file, and a failed one neither.
    WriteFileAtomic(Root + "GMK_RT.kdb", "data");
    EXPECT_EQ(ListSaveTempFiles(Root), std::vector<std::string>{});
    EXPECT_THROW(WriteFileAtomic(Root + "missing/GMK_RT.kdb", "data"), EFileError);
    EXPECT_EQ(ListSaveTempFiles(Root), std::vector<std::string>{});
}

TEST_F(SaveFileTest, NextSaveRemovesStaleTemporariesOfThatFileOnly) {
    WriteFileAtomic(Root + "GMK_RT.kdb", "old");
    Leave("GMK_RT.kdb.quillon-save-AAAAAA", 3600);
    Leave("GMK_RT.kdb.quillon-save-BBBBBB", 3600);
    Leave("GMK_RT.kdb.quillon-save-CCCCCC", 0);           // a save in progress, maybe
    Leave("Map0001.kmu.quillon-save-DDDDDD", 3600);       // another file's
    Leave("GMK_RT.kdb.quillon-save-EEEEE", 3600);         // not the pattern
    WriteFileAtomic(Root + "victim", "victim");
    fs::create_symlink(Root + "victim", Root + "GMK_RT.kdb.quillon-save-FFFFFF");
    const timespec old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, (Root + "GMK_RT.kdb.quillon-save-FFFFFF").c_str(), old, AT_SYMLINK_NOFOLLOW);

    EXPECT_EQ(ListSaveTempFiles(Root).size(), 5u);
    WriteFileAtomic(Root + "GMK_RT.kdb", "new");
    EXPECT_EQ(ReadWholeFile(Root + "GMK_RT.kdb"), "new");
    EXPECT_FALSE(fs::exists(Root + "GMK_RT.kdb.quillon-save-AAAAAA"));
    EXPECT_FALSE(fs::exists(Root + "GMK_RT.kdb.quillon-save-BBBBBB"));
    EXPECT_TRUE(fs::exists(Root + "GMK_RT.kdb.quillon-save-CCCCCC"));
    EXPECT_TRUE(fs::exists(Root + "Map0001.kmu.quillon-save-DDDDDD"));
    EXPECT_TRUE(fs::exists(Root + "GMK_RT.kdb.quillon-save-EEEEE"));
    EXPECT_TRUE(fs::is_symlink(Root + "GMK_RT.kdb.quillon-save-FFFFFF"));
    EXPECT_EQ(ReadWholeFile(Root + "victim"), "victim");
}

TEST_F(SaveFileTest, TransactionReplacesAllFilesOrNone) {
    WriteFileAtomic(Root + "a", "old a");
    WriteFileAtomic(Root + "b", "old b");
    {
        TFileTransaction transaction;
        transaction.Stage(Root + "a", "new a");
        EXPECT_THROW(transaction.Stage(Root + "missing/b", "new b"), EFileError);
        EXPECT_EQ(ReadWholeFile(Root + "a"), "old a");
    }  // dropped without Commit
    EXPECT_EQ(ReadWholeFile(Root + "a"), "old a");
    EXPECT_EQ(ListSaveTempFiles(Root), std::vector<std::string>{});

    // A folder in place of one target fails the whole commit before anything is renamed.
    fs::create_directory(Root + "c");
    {
        TFileTransaction transaction;
        transaction.Stage(Root + "a", "new a");
        transaction.Stage(Root + "c", "new c");
        EXPECT_THROW(transaction.Commit(), EFileError);
    }
    EXPECT_EQ(ReadWholeFile(Root + "a"), "old a");
    EXPECT_EQ(ListSaveTempFiles(Root), std::vector<std::string>{});

    TFileTransaction transaction;
    transaction.Stage(Root + "a", "first a");
    transaction.Stage(Root + "b", "new b");
    transaction.Stage(Root + "a", "new a");  // staged again: the newer bytes win
    transaction.Stage(Root + "d", "new d");
    EXPECT_EQ(transaction.StagedCount(), 3u);
    EXPECT_EQ(ReadWholeFile(Root + "b"), "old b");
    transaction.Commit();
    EXPECT_EQ(ReadWholeFile(Root + "a"), "new a");
    EXPECT_EQ(ReadWholeFile(Root + "b"), "new b");
    EXPECT_EQ(ReadWholeFile(Root + "d"), "new d");
    EXPECT_EQ(ListSaveTempFiles(Root), std::vector<std::string>{});
}
