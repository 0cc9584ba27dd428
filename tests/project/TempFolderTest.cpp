// Deleting folder trees and making scratch folders where others may plant links.
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "project/PathUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>
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

TEST_F(TempFolderTest, AnUnusableWorkingFolderGivesWayToAFreshPrivateOne) {
    const std::string uid = std::to_string(::geteuid());
    const std::string temp = Root + "tmp/";
    const std::string usual = temp + "GMK_TEMP-" + uid;
    const std::string runtime = Root + "run/";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    const std::string open = Root + "open/";  // a runtime folder others may enter is passed over
    fs::create_directories(open);
    fs::permissions(open, fs::perms::all, fs::perm_options::replace);

    struct TCase {
        const char* What;
        std::function<void()> Plant;
        std::string Runtime;
        std::string Parent;  // where the fresh folder lands; "" for the usual folder
    };
    const std::vector<TCase> cases = {
        {"usual folder", [] {}, runtime, ""},
        {"link", [&] { fs::create_directory_symlink(Victim, usual); }, runtime, runtime},
        {"file", [&] { WriteFileAtomic(usual, "planted"); }, runtime, runtime},
        {"another user's folder",
         [&] {
             fs::create_directory(usual);
             ASSERT_EQ(::chown(usual.c_str(), 65534, 65534), 0);
         },
         runtime, runtime},
        {"link, no runtime folder", [&] { fs::create_directory_symlink(Victim, usual); }, "", temp},
        {"link, runtime folder open to others", [&] { fs::create_directory_symlink(Victim, usual); }, open, temp},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        c.Plant();
        const TWorkFolderChoice choice = ChooseWorkFolder(temp, c.Runtime);
        if (c.Parent.empty()) {
            EXPECT_EQ(choice.Folder, usual + "/");
            EXPECT_EQ(choice.LockFile, usual + ".lock");
            EXPECT_TRUE(choice.Refusal.empty());
        } else {
            EXPECT_EQ(choice.Folder.rfind(c.Parent + "GMK_TEMP-" + uid + "-", 0), 0u) << choice.Folder;
            EXPECT_FALSE(choice.Refusal.empty());
            // The lock stays put from run to run when there is a private runtime folder.
            EXPECT_EQ(choice.LockFile, c.Parent == runtime ? runtime + "GMK_TEMP-" + uid + ".lock"
                                                           : choice.Folder.substr(0, choice.Folder.size() - 1) + ".lock");
        }
        struct stat st {};
        ASSERT_EQ(::lstat(choice.Folder.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::geteuid());
        // The editor's working copies go there for the rest of the run.
        UseWorkFolder(choice);
        EXPECT_EQ(PrivateWorkFolder(), choice.Folder);
        EXPECT_EQ(WorkFolderLockFile(), choice.LockFile);
        UseWorkFolder({});
        ExpectVictimIntact();
        if (!c.Parent.empty())
            fs::remove(choice.Folder);
        fs::remove_all(usual);
    }
    // Nowhere to make a private folder: the reason, for the editor's error box.
    fs::create_directory_symlink(Victim, usual);
    try {
        ChooseWorkFolder(Root + "missing/", Root + "missing-too/");
        ADD_FAILURE() << "a folder was chosen where none can be made";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("No private working folder"), std::string::npos) << e.what();
    }
    ExpectVictimIntact();
}
