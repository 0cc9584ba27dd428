// The check for resources a project names but nobody has: every kind it looks at, case-blind
// look-up in the project and the run-time package, "(OFF)" and empty names, one report per name;
// and the sample project, which must name nothing that is missing. (A new script holds its
// closing line first, so an added command is line 2.)
#include "project/MissingResources.h"

#include "data/LD_CmnEvent.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MoveRoute.h"
#include "project/PathUtils.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "tools/lib/SampleProject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "x";
}

class MissingResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-missing-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        if (const char* old = std::getenv("QUILLON_CONFIG_DIR"))
            mOldConfig = old;
        ::setenv("QUILLON_CONFIG_DIR", (Root + "config").c_str(), 1);
        ReopenSettingsStores();
        SetRtpPath(Root + "rtp/");
        Project = Root + "project/";
        fs::create_directories(Project);
    }
    void TearDown() override {
        ::setenv("QUILLON_CONFIG_DIR", mOldConfig.c_str(), 1);
        if (mOldConfig.empty())
            ::unsetenv("QUILLON_CONFIG_DIR");
        ReopenSettingsStores();
        fs::remove_all(Root);
    }
    std::vector<std::string> Report() const {
        std::vector<std::string> lines;
        for (const TMissingResource& missing : FindMissingResources(Project))
            lines.push_back(missing.Kind + " " + missing.Name + " @ " + missing.Where);
        return lines;
    }
    std::string Root, Project;

private:
    std::string mOldConfig;
};

TEST_F(MissingResourcesTest, ReportsEachMissingNameOfEveryKindOnce) {
    // What exists: in the project (any letter case) and in the run-time package.
    Touch(Project + "charset/HERO.png");
    Touch(Root + "rtp/FaceSet/Faces.bmp");
    Touch(Root + "rtp/Music/Town.mid");
    Touch(Project + "Sound/Cursor.wav");
    Touch(Project + "ChipSet/World.png");

    TKelDataBase db;
    db.ChipSet.Obtain(1).FileName = "World";
    db.ChipSet.Obtain(2).FileName = "Gone";
    TKelPlayerItem& hero = db.Player.Obtain(1);
    hero.CharSetName = "Hero";
    hero.FaceName = "Faces";
    db.Player.Obtain(2).CharSetName = "Nobody";
    db.Skill.Obtain(1).Sound.Name = "(OFF)";
    db.System.Music[0].Name = "Town";
    db.System.Music[1].Name = "Lost";
    db.System.Sound[0].Name = "Cursor";
    db.System.Sound[1].Name = "cursor.wav";  // a name with an extension names no resource
    TKelEventScriptLine& play = db.CommonEvent.Obtain(1).Script.Add();
    play.Code = 11550;
    play.Text = "Boom";
    db.SaveToFile(Project + "GMK_RT.kdb");

    TKelMapTree tree;
    tree.AddItem(0, 0);
    TKelMapTreeItem& item = tree.AddItem(0, 1);
    item.Kind = TKelMapTreeItem::mkMap;
    item.MusicType = TKelMapTreeItem::mtSetTo;
    item.Music.Name = "Lost";  // already reported for the system music
    TKelMap map;
    map.SetWidth(5);
    map.SetHeight(5);
    map.PanoramaEnabled = 1;
    map.PanoramaName = "NoSky";
    TKelEventPageItem& page = map.Events.Obtain(3).Pages.Obtain(1);
    page.GraphicName = "Ghost";
    TKelMoveRouteItem step;
    step.Code = mcPlaySound;
    step.SoundName = "Silence";
    page.MoveRoute.Add(step);
    TKelEventScriptLine& face = page.Script.Add();
    face.Code = 10130;
    face.Text = "Nope";
    map.SaveToProject(Project, 1);
    tree.Save(Project);

    const std::vector<std::string> expected = {
        "ChipSet Gone @ chipset 2",
        "CharSet Nobody @ hero 2",
        "Music Lost @ system music 2",
        "Sound cursor.wav @ system sound 2",
        "Sound Boom @ common event 1 line 2",
        "Panorama NoSky @ map 1",
        "CharSet Ghost @ map 1 event 3 page 1",
        "Sound Silence @ map 1 event 3 page 1 move route",
        "FaceSet Nope @ map 1 event 3 page 1 line 2",
    };
    EXPECT_EQ(Report(), expected);
}

TEST_F(MissingResourcesTest, ThePanoramaOfAMapWithoutOneIsNotLookedFor) {
    TKelMapTree tree;
    tree.AddItem(0, 0);
    tree.AddItem(0, 1).Kind = TKelMapTreeItem::mkMap;
    TKelMap map;
    map.PanoramaName = "NoSky";
    map.SaveToProject(Project, 1);
    tree.Save(Project);
    EXPECT_TRUE(Report().empty());
}

// The sample project that a new user sees first names only what the starter package holds.
TEST(SampleResources, TheSampleNamesNoMissingResource) {
    std::string pattern = (fs::temp_directory_path() / "quillon-sample-XXXXXX").string();
    const std::string root = std::string(::mkdtemp(pattern.data())) + "/";
    // Settings of its own, naming the starter package the build wrote: tests running beside this
    // one may point the shared test settings at run-time packages of theirs.
    std::string oldConfig;
    if (const char* old = std::getenv("QUILLON_CONFIG_DIR"))
        oldConfig = old;
    ::setenv("QUILLON_CONFIG_DIR", (root + "config").c_str(), 1);
    ReopenSettingsStores();
    SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP/");
    MakeSampleProject(root + "Sample");
    const std::vector<TMissingResource> missing = FindMissingResources(root + "Sample/");
    for (const TMissingResource& resource : missing)
        ADD_FAILURE() << resource.Kind << " \"" << resource.Name << "\" (" << resource.Where << ")";
    EXPECT_TRUE(missing.empty());
    if (oldConfig.empty())
        ::unsetenv("QUILLON_CONFIG_DIR");
    else
        ::setenv("QUILLON_CONFIG_DIR", oldConfig.c_str(), 1);
    ReopenSettingsStores();
    fs::remove_all(root);
}

}  // namespace
}  // namespace quillon
