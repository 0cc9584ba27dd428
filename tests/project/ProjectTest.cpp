#include "platform/FileUtils.h"
#include "platform/ProfileFile.h"
#include "data/LD_DataBase.h"
#include "platform/MessageBox.h"
#include "project/PathUtils.h"
#include "project/SplitFile.h"
#include "project/ProjectData.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

void Touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "x";
}

// A sandbox: a config folder, an editor folder with an RTP, a project base folder, and the
// current directory put back afterwards.
class ProjectSandbox : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-project-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        fs::create_directories(Root + "config");
        fs::create_directories(Root + "editor/RTP");
        fs::create_directories(Root + "base");
        mOldDir = GetCurrentDir();
        ::setenv("QUILLON_CONFIG_DIR", (Root + "config").c_str(), 1);
        ReopenSettingsStores();
        SetAppPath(Root + "editor");
        SetProjectBasePath(Root + "base");
        SetProjectPath("");
    }
    void TearDown() override {
        SetCurrentDir(mOldDir);
        SetProjectPath("");
        SetAppPath("");
        fs::remove_all(Root);
    }
    std::string Root;

private:
    std::string mOldDir;
};

}  // namespace

TEST(ProfileFile, KeepsWhatItDoesNotKnow) {
    TProfileFile ini;
    ini.SetText("; comment\r\n[Other]\r\nA=1\r\n\r\n[gmk_rt]\r\ngametitle=Old\r\nX = y \r\n\r\n[Tail]\r\nB=2");
    EXPECT_EQ(ini.ReadString("GMK_RT", "GameTitle", ""), "Old");
    EXPECT_EQ(ini.ReadString("GMK_RT", "x", ""), "y");
    EXPECT_EQ(ini.ReadInteger("Tail", "B", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Tail", "missing", 7), 7);
    ini.WriteString("GMK_RT", "GameTitle", "New");
    ini.WriteInteger("GMK_RT", "MapEditZoom", 2);
    ini.WriteString("Tail", "C", "3");
    ini.DeleteKey("Other", "A");
    ini.WriteString("Fresh", "K", "v");
    EXPECT_EQ(ini.Text(),
              "; comment\r\n[Other]\r\n\r\n[gmk_rt]\r\ngametitle=New\r\nX = y \r\nMapEditZoom=2\r\n\r\n"
              "[Tail]\r\nB=2\r\nC=3\r\n[Fresh]\r\nK=v\r\n");
    TProfileFile lf;
    lf.SetText("[S]\nk=1\n");
    lf.WriteString("S", "j", "2");
    EXPECT_EQ(lf.Text(), "[S]\nk=1\nj=2\n");
}

// An editor folder the user cannot write (here: one that is gone) is no default for new
// projects: "Quillon Projects" in the home folder is, made when missing, and the dialog says so.
TEST_F(ProjectSandbox, AnEditorFolderNobodyCanWriteIsNoDefaultBasePath) {
    const struct {
        std::string App, Home, Default;
    } cases[] = {
        {Root + "editor", Root + "home", Root + "editor/"},
        {Root + "gone/editor", Root + "home", Root + "home/Quillon Projects/"},
        {Root + "gone/editor", Root + "home/", Root + "home/Quillon Projects/"},
        {Root + "gone/editor", "", Root + "gone/editor/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultProjectBasePath(c.App, c.Home), c.Default) << c.App << " " << c.Home;

    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    ::setenv("HOME", (Root + "home").c_str(), 1);
    fs::create_directories(Root + "home");
    fs::create_directories(Root + "fresh-config");
    ::setenv("QUILLON_CONFIG_DIR", (Root + "fresh-config").c_str(), 1);
    ReopenSettingsStores();  // nothing stored
    SetAppPath(Root + "gone/editor");
    const std::string fallback = Root + "home/Quillon Projects/";
    EXPECT_EQ(GetProjectBasePath(), fallback);
    EXPECT_TRUE(fs::is_directory(fallback));
    EXPECT_NE(ProjectBasePathNote(fallback).find("\"Quillon Projects\" in your home folder"), std::string::npos);
    EXPECT_EQ(ProjectBasePathNote(Root + "base/"), "");
    SetAppPath(Root + "editor");
    EXPECT_EQ(GetProjectBasePath(), Root + "editor/");
    EXPECT_EQ(ProjectBasePathNote(Root + "editor/"), "");
    ::setenv("HOME", oldHome.c_str(), 1);
    ::setenv("QUILLON_CONFIG_DIR", (Root + "config").c_str(), 1);
    ReopenSettingsStores();
}

TEST_F(ProjectSandbox, RtpFallbackIsFoundAndStored) {
    EXPECT_EQ(GetRtpPath(), Root + "editor/RTP/");
    const std::string stored = TProfileFile(Root + "config/Pellor/Quillon.ini").ReadString("", "RuntimePackagePath", "");
    EXPECT_EQ(stored, Root + "editor/RTP");
    // A stored path wins over the folder beside the editor.
    SetRtpPath(Root + "elsewhere");
    EXPECT_EQ(GetRtpPath(), Root + "elsewhere/");
    SetRtpPath("");
    fs::remove_all(Root + "editor/RTP");
    EXPECT_EQ(GetRtpPath(), "");
}

TEST_F(ProjectSandbox, FindResourcePrefersProjectThenExtensionOrder) {
    const std::string project = Root + "base/Game/";
    SetProjectPath(project);
    Touch(project + "CharSet/a.png");
    Touch(Root + "editor/RTP/CharSet/a.bmp");
    Touch(project + "CharSet/b.bmp");
    Touch(project + "CharSet/b.png");
    Touch(Root + "editor/RTP/CharSet/c.zgf");
    Touch(project + "music/Town.MID");  // folder and file in other letter cases
    EXPECT_EQ(FindResourceFile("a", "CharSet", ImageExtensions), project + "CharSet/a.png");
    EXPECT_EQ(FindResourceFile("b", "CharSet", ImageExtensions), project + "CharSet/b.bmp");
    EXPECT_EQ(FindResourceFile("c", "CharSet", ImageExtensions), Root + "editor/RTP/CharSet/c.zgf");
    EXPECT_EQ(FindResourceFile("d", "CharSet", ImageExtensions), "d");
    EXPECT_EQ(FindResourceFile("", "CharSet", ImageExtensions), "");
    EXPECT_EQ(FindResourceFile("town", "Music", MusicExtensions), project + "music/Town.MID");
}

// A resource name is one file-name component: paths never reach files outside the project and
// the RTP, and only regular files are resources.
TEST_F(ProjectSandbox, ResourceNamesThatArePathsOrSpecialFilesAreNotFound) {
    const std::string project = Root + "base/Game/";
    SetProjectPath(project);
    fs::create_directories(project + "CharSet");
    Touch(Root + "base/outside/secret.png");
    Touch(Root + "outside/secret.png");
    Touch(project + "CharSet/..\\..\\outside\\secret.png");  // a backslash is a file-name byte here
    Touch(project + "CharSet/...png");
    Touch(project + "CharSet/\xE3\x82\xBD.png");                // a double-byte name ending in byte 0x5C
    for (const std::string& name : {std::string("../../outside/secret"), Root + "outside/secret",
                                    std::string("..\\..\\outside\\secret"), std::string(".."), std::string("."),
                                    std::string("sub/../a"), std::string("a\0b", 3)}) {
        EXPECT_EQ(FindResourceFile(name, "CharSet", ImageExtensions), "") << name;
        EXPECT_EQ(LocateResourceFile(name, "CharSet", ImageExtensions), "") << name;
        EXPECT_FALSE(IsPlainResourceName(name)) << name;
    }
    EXPECT_EQ(FindResourceFile("\x83\x5C", "CharSet", ImageExtensions), project + "CharSet/\xE3\x82\xBD.png");

    // A pipe or a link to a device in place of an image is no resource file.
    ASSERT_EQ(::mkfifo((project + "CharSet/pipe.png").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", project + "CharSet/zero.png");
    Touch(project + "CharSet/target.png");
    fs::create_symlink(project + "CharSet/target.png", project + "CharSet/link.png");
    EXPECT_EQ(LocateResourceFile("pipe", "CharSet", ImageExtensions), "");
    EXPECT_EQ(LocateResourceFile("zero", "CharSet", ImageExtensions), "");
    EXPECT_EQ(LocateResourceFile("PIPE", "CharSet", ImageExtensions), "");
    EXPECT_EQ(LocateResourceFile("link", "CharSet", ImageExtensions), project + "CharSet/link.png");
    EXPECT_EQ(LocateResourceFile("missing", "CharSet", ImageExtensions), "");
}

TEST_F(ProjectSandbox, ListingOrderCaseRulesAndRtpEntries) {
    const std::string project = Root + "base/Game/";
    SetProjectPath(project);
    Touch(project + "CharSet/Hero1.png");
    Touch(project + "CharSet/hero10.BMP");
    Touch(project + "CharSet/Hero2.png");
    Touch(project + "CharSet/Hero2.bmp");  // one entry for both
    Touch(project + "CharSet/notes.txt");
    Touch(Root + "editor/RTP/CharSet/hero1.png");
    Touch(Root + "editor/RTP/CharSet/Hero3.png");
    Touch(Root + "editor/RTP/CharSet/Guard.zgf");
    std::vector<std::string> list;
    ListResources(list, "CharSet", ImageExtensions);
    EXPECT_EQ(list, (std::vector<std::string>{"Hero1", "Hero2", "hero10", "Guard <RTP>", "Hero3 <RTP>"}));
    EXPECT_TRUE(ResourceNameLess("Chara2", "Chara10"));
    EXPECT_FALSE(ResourceNameLess("hero", "HERO"));
    EXPECT_FALSE(ResourceNameLess("HERO", "hero"));
}

TEST(Resources, RtpSuffix) {
    EXPECT_TRUE(IsRtpEntry("Chara1 <RTP>"));
    EXPECT_EQ(StripRtpSuffix("Chara1 <RTP>"), "Chara1");
    EXPECT_EQ(StripRtpSuffix("Chara1"), "Chara1");
    EXPECT_FALSE(IsRtpEntry("<RTP>"));
    EXPECT_EQ(StripRtpSuffix("<RTP>"), "<RTP>");
}

TEST_F(ProjectSandbox, OpenCloseAndReopen) {
    fs::create_directories(Root + "base/Game");
    TProjectManager manager;
    int loads = 0, closes = 0;
    manager.OnOpenProject = [&](bool& success) {
        ++loads;
        success = true;
    };
    manager.OnCloseProject = [&] { ++closes; };
    manager.OpenProject("Missing");
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_EQ(loads, 0);
    manager.OpenProject("Game");
    ASSERT_TRUE(manager.IsOpen());
    EXPECT_EQ(ProjectPath(), Root + "base/Game/");
    EXPECT_EQ(fs::path(GetCurrentDir()), fs::path(Root + "base/Game"));
    EXPECT_EQ(GetOpenedProjectFolder(), "Game");
    manager.CloseProject();
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(ProjectPath(), "");
    EXPECT_EQ(GetOpenedProjectFolder(), "");
    manager.ReopenLastProject();
    EXPECT_FALSE(manager.IsOpen());

    SetOpenedProjectFolder("Game");
    manager.ReopenLastProject();
    EXPECT_TRUE(manager.IsOpen());
    manager.CloseProject();

    // A loader that raises: the error reaches the caller, the manager stays closed, the current
    // directory goes back to the base; reopening swallows it.
    manager.OnOpenProject = [](bool&) { throw std::runtime_error("158"); };
    EXPECT_THROW(manager.OpenProject("Game"), std::runtime_error);
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_EQ(fs::path(GetCurrentDir()), fs::path(Root + "base"));
    SetOpenedProjectFolder("Game");
    EXPECT_NO_THROW(manager.ReopenLastProject());
}

TEST_F(ProjectSandbox, FailedCreationRemovesTheHalfMadeFolder) {
    fs::create_directories(Root + "base/New/Backdrop");  // a leftover folder
    TProjectManager manager;
    manager.OnNewProject = [&](const std::string&, bool& success) {
        Touch(ProjectPath() + "GMK_RT.kdb");
        if (!fs::create_directory(ProjectPath() + "Backdrop"))
            success = false;
    };
    manager.OnOpenProject = [](bool& success) { success = true; };
    try {
        manager.CreateProject("New", "My Game");
        FAIL();
    } catch (const EProjectError& e) {
        EXPECT_STREQ(e.what(), "Project Making Failure");
    }
    EXPECT_FALSE(fs::exists(Root + "base/New"));
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_EQ(ProjectPath(), "");
    EXPECT_TRUE(fs::exists(Root + "base"));

    fs::create_directories(Root + "base/New");
    manager.CreateProject("New", "My Game");
    EXPECT_TRUE(manager.IsOpen());
    EXPECT_EQ(manager.FolderName(), "New");
}

TEST_F(ProjectSandbox, GameTitleAndFullPackageFlag) {
    const std::string project = Root + "base/Game/";
    fs::create_directories(project);
    EXPECT_EQ(ReadGameTitle(project), "Untitled");
    WriteGameTitle(project, "Quest");
    EXPECT_EQ(ReadGameTitle(Root + "base/Game"), "Quest");
    SetProjectPath(project);
    SetFullPackageFlag(true);
    EXPECT_EQ(TProfileFile(project + "GMK_RT.ini").ReadString("GMK_RT", "FullPackageFlag", ""), "1");
    SetFullPackageFlag(false);
    EXPECT_FALSE(TProfileFile(project + "GMK_RT.ini").ValueExists("GMK_RT", "FullPackageFlag"));
    EXPECT_EQ(ReadGameTitle(project), "Quest");
    EXPECT_NE(ReadWholeFile(project + "GMK_RT.ini").find("\r\n"), std::string::npos);
}

TEST_F(ProjectSandbox, NewProjectFromTheTemplatesOpensAndCloses) {
    // Templates beside the "editor".
    {
        TKelDataBase starter;
        starter.Player.Obtain(1).Name = "Starter hero";
        starter.SaveToFile(Root + "editor/GMK_RT.kdb.dat");
        WriteFileAtomic(Root + "editor/GMK_RT.exe.dat", "#!/bin/sh\nexit 0\n");
    }
    fs::create_directories(Root + "base/Quest");
    TProjectManager manager;
    TProjectData data;
    data.Attach(manager);
    manager.CreateProject("Quest", "The Quest");
    ASSERT_TRUE(manager.IsOpen());
    const std::string project = Root + "base/Quest/";
    for (const char* folder : TProjectData::kResourceFolders)
        EXPECT_TRUE(FolderExists(project + folder)) << folder;
    EXPECT_TRUE(FileExists(project + "GMK_RT.exe"));
    EXPECT_TRUE(FileExists(project + "Map0001.kmu"));
    EXPECT_EQ(ReadGameTitle(project), "The Quest");
    EXPECT_EQ(data.DataBase().Player.ItemById(1)->Name, "Starter hero");
    EXPECT_EQ(data.MapTree().FindByID(0)->Name, "The Quest");
    EXPECT_EQ(data.Map().Width(), 100);
    EXPECT_EQ(GetOpenedProjectFolder(), "Quest");
    manager.CloseProject();
    EXPECT_EQ(data.DataBase().Player.ItemById(1)->Name, "");
    EXPECT_EQ(data.MapTree().Count(), 0);

    // Reopening reads the title into the root; a tree without a root is refused with "158".
    WriteGameTitle(project, "Renamed");
    manager.OpenProject("Quest");
    EXPECT_EQ(data.MapTree().FindByID(0)->Name, "Renamed");
    manager.CloseProject();
    TKelMapTree rootless;
    rootless.AddItem(0, 3).Kind = TKelMapTreeItem::mkMap;
    rootless.Delete(0);
    TMemoryStream image;
    rootless.SaveTreeToStream(image);
    WriteFileAtomic(project + "GMK_RT.kmt", image.Bytes());
    try {
        manager.OpenProject("Quest");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "158");
    }
    EXPECT_FALSE(manager.IsOpen());

    // Without the templates a creation fails and leaves nothing behind.
    fs::remove(Root + "editor/GMK_RT.exe.dat");
    fs::create_directories(Root + "base/Second");
    EXPECT_THROW(manager.CreateProject("Second", "Second"), EProjectError);
    EXPECT_FALSE(fs::exists(Root + "base/Second"));
}

TEST_F(ProjectSandbox, SplitFileNumbersItsPieces) {
    std::string data(2500, 'a');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 26);
    WriteFileAtomic(Root + "game.lzh", data);
    fs::create_directories(Root + "disk");
    EXPECT_EQ(SplitFile(Root + "game.lzh", Root + "disk", 1000, 700), 4);
    EXPECT_EQ(ReadWholeFile(Root + "disk/game.001"), data.substr(0, 1000));
    EXPECT_EQ(ReadWholeFile(Root + "disk/game.002"), data.substr(1000, 700));
    EXPECT_EQ(ReadWholeFile(Root + "disk/game.003"), data.substr(1700, 700));
    EXPECT_EQ(ReadWholeFile(Root + "disk/game.004"), data.substr(2400));
    WriteFileAtomic(Root + "empty.lzh", "");
    EXPECT_EQ(SplitFile(Root + "empty.lzh", Root + "disk", 1000, 700), 0);
    // An exact multiple makes no empty last piece.
    WriteFileAtomic(Root + "even.lzh", std::string(1700, 'x'));
    EXPECT_EQ(SplitFile(Root + "even.lzh", Root + "disk", 1000, 700), 2);
    EXPECT_THROW(SplitFile(Root + "missing.lzh", Root + "disk", 1000, 700), EFileError);
}

TEST(MessageBoxes, AnswersComeFromTheInstalledBox) {
    struct TScripted : IMessageBox {
        std::vector<std::pair<std::string, int>> Seen;
        int Answer = mrNo;
        int Show(const std::string& text, int flags, const void*) override {
            Seen.emplace_back(text, flags);
            return Answer;
        }
    } box;
    EXPECT_EQ(AskYesNo("Delete?"), mrYes);  // nothing installed: a silent yes
    IMessageBox* previous = SetMessageBox(&box);
    EXPECT_EQ(AskYesNo("Delete the map?"), mrNo);
    ShowError("Cannot open");
    ShowInformation("Done");
    SetMessageBox(previous);
    ASSERT_EQ(box.Seen.size(), 3u);
    EXPECT_EQ(box.Seen[0].second, 36);
    EXPECT_EQ(box.Seen[1].second, 16);
    EXPECT_EQ(box.Seen[2].second, 64);
}
