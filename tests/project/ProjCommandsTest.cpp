// The project commands: the proposed folder, folder-name rules, the project list, rename without
// replacing, delete of a linked project, and the path dialogs' OK rules.
#include "project/ProjNew.h"
#include "project/ProjOpen.h"
#include "project/ProjPath.h"
#include "project/ProjRename.h"

#include "platform/MessageBox.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class TRecordingBox final : public IMessageBox {
public:
    std::vector<std::string> Texts;
    std::deque<int> Answers;
    TRecordingBox() { mPrevious = SetMessageBox(this); }
    ~TRecordingBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int, const void*) override {
        Texts.push_back(text);
        if (Answers.empty())
            return mrYes;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

class ProjCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-projcmd-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        Base = Root + "base/";
        fs::create_directories(Base);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }
    void MakeProject(const std::string& name, const char* runtime = "GMK_RT.exe") {
        fs::create_directories(Base + name);
        std::ofstream(Base + name + "/" + runtime) << "x";
    }
    static void Touch(const std::string& path) { std::ofstream(path) << "x"; }

    std::string Root;
    std::string Base;
    TRecordingBox Box;
};

TEST_F(ProjCommandsTest, ProposesTheSmallestFreeProjectNumberCountingEveryKindOfEntry) {
    EXPECT_EQ(ProposeProjectFolder(Base), "Project1");
    fs::create_directories(Base + "Project1");
    fs::create_directories(Base + "Project2");
    EXPECT_EQ(ProposeProjectFolder(Base), "Project3");
    fs::remove(Base + "Project1");
    EXPECT_EQ(ProposeProjectFolder(Base), "Project1");
    Touch(Base + "Project1");                                        // a file
    fs::create_symlink(Root + "nowhere", Base + "Project3");         // a dangling link
    EXPECT_EQ(ProposeProjectFolder(Base), "Project4");

    TProjectNewModel model;
    model.BasePath = Base;
    model.Show();
    EXPECT_EQ(model.FolderName, "Project4");
    EXPECT_EQ(model.GameTitle, "Untitled");
}

TEST_F(ProjCommandsTest, NewProjectRefusesForbiddenCharactersEmptyAndExistingNames) {
    TProjectNewModel model;
    model.BasePath = Base;
    std::string stored;
    model.StoreBasePath = [&](const std::string& path) { stored = path; };
    for (const char* name : {"A:B", "Say\"Hi\"", "a/b", "a\\b", "why?", "x*", "<x>", "p|q"}) {
        model.FolderName = name;
        EXPECT_FALSE(model.Ok()) << name;
        EXPECT_EQ(Box.Texts.back(), kForbiddenCharMessage) << name;
    }
    for (const char* name : {"", ".", ".."}) {
        model.FolderName = name;
        EXPECT_FALSE(model.Ok()) << name;
        EXPECT_EQ(Box.Texts.back(), kFolderNotMadeMessage);
    }
    fs::create_directories(Base + "Taken");
    model.FolderName = "Taken";
    EXPECT_FALSE(model.Ok());
    EXPECT_EQ(Box.Texts.back(), kFolderNotMadeMessage);
    model.FolderName = std::string(41, 'x');  // 41 characters
    EXPECT_FALSE(model.Ok());
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(fs::directory_iterator(Base)->path().filename(), "Taken");

    // 40 characters, some of them two bytes long in UTF-8, are fine; the title is cut in CP932 bytes.
    model.FolderName = std::string(38, 'x') + "\xC3\xA9\xC3\xA9";
    model.GameTitle = std::string(39, 't') + "\x93\xFA";
    ASSERT_TRUE(model.Ok());
    EXPECT_TRUE(fs::is_directory(Base + model.FolderName));
    EXPECT_EQ(model.GameTitle, std::string(39, 't'));
    EXPECT_EQ(stored, Base);
}

TEST_F(ProjCommandsTest, ListHoldsFoldersWithTheRuntimeInAnyCaseSortedAndNeverHidden) {
    MakeProject("beta");
    MakeProject("Alpha", "gmk_rt.EXE");
    MakeProject(".hidden");
    MakeProject("gamma");
    WriteGameTitle(Base + "gamma/", "Quest");
    fs::create_directories(Base + "NoRuntime");
    fs::create_directories(Base + "FolderNamedRuntime/GMK_RT.exe");  // a folder, not a file
    Touch(Base + "plainfile");
    fs::create_directory_symlink(Base + "beta", Base + "linked");
    const std::vector<TProjectRow> rows = ListProjects(Base);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].FolderName, "Alpha");
    EXPECT_EQ(rows[1].FolderName, "beta");
    EXPECT_EQ(rows[2], (TProjectRow{"gamma", "Quest"}));
    EXPECT_EQ(rows[3].FolderName, "linked");
    EXPECT_EQ(rows[0].GameTitle, "Untitled");

    TProjectOpenModel model;
    model.BasePath = Base;
    model.Refresh();
    EXPECT_EQ(model.Selected(), 0);
    std::string chosen;
    model.Select(2);
    ASSERT_TRUE(model.Open(chosen));
    EXPECT_EQ(chosen, "gamma");
    model.Select(9);
    EXPECT_FALSE(model.Open(chosen));
}

TEST_F(ProjCommandsTest, RenameMovesThenWritesTheTitleAndNeverReplacesAnExistingFolder) {
    MakeProject("Old");
    fs::create_directories(Base + "Empty");
    TProjectRenameModel model;
    model.BasePath = Base;
    model.Show("Old", "Title");
    model.FolderName = "Empty";  // an empty folder is still there
    EXPECT_FALSE(model.Ok());
    EXPECT_EQ(Box.Texts.back(), kRenameFailedMessage);
    EXPECT_TRUE(fs::exists(Base + "Old/GMK_RT.exe"));
    EXPECT_TRUE(fs::is_empty(Base + "Empty"));
    Touch(Base + "File");
    model.FolderName = "File";
    EXPECT_FALSE(model.Ok());
    EXPECT_TRUE(fs::is_regular_file(Base + "File"));
    model.FolderName = "Bad:Name";
    EXPECT_FALSE(model.Ok());
    EXPECT_EQ(Box.Texts.back(), kForbiddenCharMessage);

    model.FolderName = "New";
    model.GameTitle = "Quest";
    ASSERT_TRUE(model.Ok());
    EXPECT_FALSE(fs::exists(Base + "Old"));
    EXPECT_TRUE(fs::exists(Base + "New/GMK_RT.exe"));
    EXPECT_EQ(ReadGameTitle(Base + "New/"), "Quest");

    // The same name only rewrites the title.
    TProjectRenameModel same;
    same.BasePath = Base;
    same.Show("New", "Quest");
    same.GameTitle = "Quest II";
    ASSERT_TRUE(same.Ok());
    EXPECT_EQ(ReadGameTitle(Base + "New/"), "Quest II");

    // The open dialog selects the renamed row afterwards.
    MakeProject("Aaa");
    TProjectOpenModel open;
    open.BasePath = Base;
    open.Refresh();
    open.Renamed("New");
    EXPECT_EQ(open.Rows()[static_cast<std::size_t>(open.Selected())].FolderName, "New");
}

TEST_F(ProjCommandsTest, ARenameWhoseTitleCannotBeWrittenPutsTheFolderBack) {
    MakeProject("Old");
    fs::create_directories(Base + "Old/GMK_RT.ini");  // a folder where the settings file belongs
    TProjectRenameModel model;
    model.BasePath = Base;
    model.Show("Old", "Title");
    model.FolderName = "New";
    EXPECT_FALSE(model.Ok());
    EXPECT_EQ(Box.Texts.back(), kRenameFailedMessage);
    EXPECT_TRUE(fs::exists(Base + "Old/GMK_RT.exe"));
    EXPECT_FALSE(fs::exists(Base + "New"));
}

TEST_F(ProjCommandsTest, DeleteAsksAndRemovesOnlyTheLinkOfALinkedProject) {
    fs::create_directories(Root + "elsewhere");
    std::ofstream(Root + "elsewhere/GMK_RT.exe") << "x";
    fs::create_directory_symlink(Root + "elsewhere", Base + "Linked");
    MakeProject("Real");
    TProjectOpenModel model;
    model.BasePath = Base;
    model.Refresh();
    ASSERT_EQ(model.Rows().size(), 2u);
    ASSERT_EQ(model.Rows()[0].FolderName, "Linked");
    Box.Answers = {mrNo};
    EXPECT_FALSE(model.Delete());
    EXPECT_EQ(Box.Texts.back(), "Delete 'Linked'. A deleted project can't be restored again. Delete it?");
    EXPECT_TRUE(fs::is_symlink(Base + "Linked"));
    ASSERT_TRUE(model.Delete());
    EXPECT_FALSE(fs::exists(fs::symlink_status(Base + "Linked")));
    EXPECT_TRUE(fs::exists(Root + "elsewhere/GMK_RT.exe"));
    ASSERT_EQ(model.Rows().size(), 1u);
    ASSERT_TRUE(model.Delete());
    EXPECT_FALSE(fs::exists(Base + "Real"));
    EXPECT_TRUE(model.Rows().empty());
    EXPECT_FALSE(model.Delete());

    // Names that are not a plain folder delete nothing.
    for (const char* name : {"", ".", "..", "../base"})
        EXPECT_FALSE(DeleteProject(Base, name)) << name;
    EXPECT_TRUE(fs::is_directory(Base));
}

TEST_F(ProjCommandsTest, PathsAreCleanedAsStringsWithoutFollowingLinks) {
    EXPECT_EQ(CleanAbsolutePath("/a//b/./c/../d/"), "/a/b/d");
    EXPECT_EQ(CleanAbsolutePath("/.."), "/");
    EXPECT_EQ(CleanAbsolutePath("/"), "/");
    EXPECT_EQ(CleanAbsolutePath("relative/path"), "");
    fs::create_directories(Root + "real/inner");
    fs::create_directory_symlink(Root + "real/inner", Root + "link");
    // link/.. names Root by its text, not real/.
    EXPECT_EQ(CleanAbsolutePath(Root + "link/.."), CleanAbsolutePath(Root));
}

TEST_F(ProjCommandsTest, BasePathOkNeedsAnExistingAbsoluteFolderAndEndsInASeparator) {
    TProjectPathModel model(TPathDialogKind::BasePath);
    model.Path = "";
    EXPECT_FALSE(model.OkEnabled());
    model.Path = "base";
    EXPECT_FALSE(model.OkEnabled());
    model.Path = Root + "missing";
    EXPECT_FALSE(model.OkEnabled());
    EXPECT_FALSE(model.Ok());
    Touch(Root + "file");
    model.Path = Root + "file";
    EXPECT_FALSE(model.OkEnabled());
    model.Path = Root + "base//.";
    ASSERT_TRUE(model.OkEnabled());
    ASSERT_TRUE(model.Ok());
    EXPECT_EQ(model.Path, Base);
}

TEST_F(ProjCommandsTest, DiskPathMayNameAMissingFolderWhichIsCreatedAfterAsking) {
    TProjectPathModel model(TPathDialogKind::DiskPath);
    model.Path = "disk";
    EXPECT_FALSE(model.OkEnabled());
    model.Path = Root + "out/game";
    ASSERT_TRUE(model.OkEnabled());
    Box.Answers = {mrNo};
    EXPECT_FALSE(model.Ok());
    EXPECT_EQ(Box.Texts.back(), kCreateFolderQuestion);
    EXPECT_FALSE(fs::exists(Root + "out"));
    EXPECT_EQ(model.Path, Root + "out/game");  // the text stays as typed
    ASSERT_TRUE(model.Ok());  // Yes
    EXPECT_TRUE(fs::is_directory(Root + "out/game"));
    EXPECT_EQ(model.Path, Root + "out/game/");

    // A file where the folder should be: it cannot be made.
    Touch(Root + "blocker");
    model.Path = Root + "blocker/sub";
    EXPECT_FALSE(model.Ok());
    EXPECT_EQ(Box.Texts.back(), kFolderNotCreatedMessage);
}

}  // namespace
}  // namespace quillon
