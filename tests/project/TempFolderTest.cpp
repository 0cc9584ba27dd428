// Deleting folder trees and making scratch folders where others may plant links.
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "project/PathUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-tempfolder-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern + "/";
        Victim = Root + "victim/";
        fs::create_directories(Victim + "inner");
        WriteFileAtomic(Victim + "Map0001.kmu", "victim map");
        WriteFileAtomic(Victim + "inner/deep.txt", "victim deep");
        if (const char* old = std::getenv("TMPDIR"))
            mOldTmpDir = old;
        fs::create_directories(Root + "tmp");
        ::setenv("TMPDIR", (Root + "tmp").c_str(), 1);
    }
    void TearDown() override {
        if (mOldTmpDir)
            ::setenv("TMPDIR", mOldTmpDir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ignored;
        fs::permissions(Root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Root, ignored);
    }
    void ExpectVictimIntact() {
        EXPECT_EQ(ReadWholeFile(Victim + "Map0001.kmu"), "victim map");
        EXPECT_EQ(ReadWholeFile(Victim + "inner/deep.txt"), "victim deep");
    }

    std::string Root;
    std::string Victim;

private:
    std::optional<std::string> mOldTmpDir;
};

}  // namespace

TEST_F(TempFolderTest, DeletingALinkRemovesTheLinkAndNotItsTarget) {
    fs::create_directory_symlink(Victim, Root + "planted");
    DeleteFolderTree(Root + "planted");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Root + "planted")));
    ExpectVictimIntact();

    // Written as a folder path, with the trailing delimiter that makes the system follow it.
    fs::create_directory_symlink(Victim, Root + "planted");
    DeleteFolderTree(Root + "planted/");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Root + "planted")));
    ExpectVictimIntact();
}

TEST_F(TempFolderTest, LinksInsideTheTreeAreRemovedAndReadOnlyEntriesGo) {
    const std::string tree = Root + "tree/";
    fs::create_directories(tree + "sub/locked");
    WriteFileAtomic(tree + "a.txt", "a");
    WriteFileAtomic(tree + "sub/locked/b.txt", "b");
    fs::permissions(tree + "a.txt", fs::perms::owner_read);
    fs::create_directory_symlink(Victim, tree + "sub/to-folder");
    fs::create_symlink(Victim + "Map0001.kmu", tree + "to-file");
    fs::permissions(tree + "sub/locked", fs::perms::owner_read | fs::perms::owner_exec);

    DeleteFolderTree(tree);
    EXPECT_FALSE(fs::exists(tree));
    ExpectVictimIntact();

    // A path that is a plain file is not a folder tree: it stays.
    WriteFileAtomic(Root + "file", "x");
    DeleteFolderTree(Root + "file");
    EXPECT_TRUE(FileExists(Root + "file"));
}

TEST_F(TempFolderTest, ScratchFoldersArePrivateAndNewEveryTime) {
    const std::string first = MakeScratchFolder("quillon-cli-");
    const std::string second = MakeScratchFolder("quillon-cli-");
    EXPECT_NE(first, second);
    for (const std::string& folder : {first, second}) {
        EXPECT_EQ(folder.rfind(Root + "tmp/quillon-cli-", 0), 0u) << folder;
        EXPECT_EQ(folder.back(), '/');
        struct stat st {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
    // A temporary folder that cannot hold one is an error, not a silent fallback.
    ::setenv("TMPDIR", (Root + "missing").c_str(), 1);
    EXPECT_THROW(MakeScratchFolder("quillon-cli-"), EFileError);
}

TEST_F(TempFolderTest, PrivateWorkFolderRefusesAPlantedLink) {
    const std::string work = Root + "tmp/GMK_TEMP-" + std::to_string(::geteuid());
    fs::create_directory_symlink(Victim, work);
    EXPECT_THROW(PrivateWorkFolder(), EFileError);
    EXPECT_THROW(CheckPrivateFolder(work + "/"), EFileError);
    ExpectVictimIntact();
    fs::remove(work);
    EXPECT_EQ(PrivateWorkFolder(), work + "/");
    EXPECT_NO_THROW(CheckPrivateFolder(work));
}
