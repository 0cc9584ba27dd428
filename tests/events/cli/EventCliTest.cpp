// quillon-cli event: the canvas's event commands on a project the test writes, one run each, the
// clipboard block kept in a file between runs.
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "events/EventManager.h"
#include "platform/FileUtils.h"

#include "CliRunKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quillon {
namespace {

namespace fs = std::filesystem;

using TRun = clikit::TCliRun;

class EventCli : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-event-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        TKelMap map;
        TKelEventItem& door = map.Events.Obtain(3);
        door.Name = "Door";
        door.X = 2;
        door.Y = 2;
        map.SaveToProject(Project(), 1);
        TKelMapTree tree;
        tree.AddItem(0, 0);
        tree.AddItem(0, 1).Kind = TKelMapTreeItem::mkMap;
        TMemoryStream stream;
        tree.SaveTreeToStream(stream);
        WriteFileAtomic(Project() + TKelMapTree::kFileName, stream.Bytes());
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Project() const { return folder.string() + "/"; }
    std::string Clip() const { return Project() + "clip.bin"; }

    TRun Run(const std::string& args) const {
        return clikit::RunCli("event '" + Project() + "' 1 " + args + " --clipboard '" + Clip() + "'");
    }
    std::unique_ptr<TKelMap> Map() const {
        auto map = std::make_unique<TKelMap>();
        map->LoadFromProject(Project(), 1);
        return map;
    }
    std::unique_ptr<TKelMapTree> Tree() const {
        const std::string bytes = ReadWholeFile(Project() + TKelMapTree::kFileName);
        TByteViewStream stream(bytes);
        auto tree = std::make_unique<TKelMapTree>();
        tree->LoadTreeFromStream(stream);
        return tree;
    }

    fs::path folder;
};

TEST_F(EventCli, CommandsRunThroughTheManagerAndAreSaved) {
    struct TStep {
        const char* Args;
        int Status;
        const char* Out;
    };
    const TStep steps[] = {
        {"new 4 5", 0, "new event 0001:EV0001 at (4,5)\n"},
        {"copy 2 2", 0, "copied 0003:Door\n"},
        {"paste 2 2", 1, "refused: paste changed nothing: (2,2) holds 0003:Door\n"},
        {"paste 6 6", 0, "pasted 0002:Door at (6,6)\n"},
        {"party 7 7", 0, "Hero start at map 0001 (7,7)\n"},
        {"vehicle ship 2 2", 1, "refused: vehicle changed nothing: (2,2) holds 0003:Door\n"},
        {"copy 7 7", 0, "copied Hero start\n"},
        {"paste 8 8", 0, "pasted Hero start at (8,8)\n"},
        {"name 8 8", 0, "Hero\n"},
        {"name 7 7", 0, "\n"},
        {"teleport 9 9 2 3 4", 0, "teleport event 0004:EV0004 at (9,9) to map 0002 (3,4)\n"},
        {"route 3 1 add 0 32:5 35:Chime,80,100,50 23", 0,
         "route of 0003 page 1: Up | Switch ON 0005 | Play SE Chime | Wait \n"},
        {"route 3 2 add 0", 1, "refused: event 0003 has no page 2\n"},
        {"page-new 3 1", 0, "new page 2 after page 1 of 0003: 2 pages\n"},
        {"page-delete 3 1", 0, "deleted page 1 of 0003: 1 page\n"},
        {"page-delete 3 1", 1, "refused: the only page of an event cannot be deleted\n"},
        {"page-new 3 2", 1, "refused: event 0003 has no page 2\n"},
        {"delete 6 6", 0, "deleted 0002:Door at (6,6)\n"},
    };
    for (const TStep& step : steps) {
        const TRun run = Run(step.Args);
        EXPECT_EQ(run.Status, step.Status) << step.Args;
        EXPECT_EQ(run.Out, step.Out) << step.Args;
    }

    const std::unique_ptr<TKelMap> saved = Map();
    const TKelMap& map = *saved;
    EXPECT_EQ(map.Events.Count(), 3);  // 1, 3, 4
    ASSERT_NE(map.Events.FindByID(1), nullptr);
    EXPECT_EQ(map.Events.FindByID(2), nullptr);
    const TKelEventPageItem* teleport = map.Events.FindByID(4)->Pages.FindByID(1);
    ASSERT_EQ(teleport->Script.Count(), 4);
    EXPECT_EQ(teleport->Script.Lines(0)->Code, ToInt(TCommandCode::EraseScreen));
    EXPECT_EQ(teleport->Script.Lines(1)->Params(), (std::vector<std::int32_t>{2, 3, 4}));
    EXPECT_EQ(teleport->Script.Lines(2)->Code, ToInt(TCommandCode::ShowScreen));
    EXPECT_EQ(teleport->Trigger, kTriggerHeroTouch);
    // The page made after page 1 took its route over, and is page 1 now.
    ASSERT_EQ(map.Events.FindByID(3)->Pages.Count(), 1);
    const TKelMoveRoute& route = map.Events.FindByID(3)->Pages.FindByID(1)->MoveRoute;
    ASSERT_EQ(route.Count(), 4);
    EXPECT_EQ(route.Items(1).SwitchId, 5);
    EXPECT_EQ(route.Items(2).SoundName, "Chime");
    EXPECT_EQ(route.Items(2).SoundVolume, 80);
    const std::unique_ptr<TKelMapTree> tree = Tree();
    const TKelMapStartPosition& start = tree->StartPosition;
    EXPECT_EQ(start.PartyMapId, 1);
    EXPECT_EQ(start.PartyX, 8);
    EXPECT_EQ(start.PartyY, 8);
    EXPECT_EQ(start.ShipMapId, 0);
}

TEST_F(EventCli, ADamagedClipboardFileChangesNothing) {
    ASSERT_EQ(Run("copy 2 2").Status, 0);
    const std::string block = ReadWholeFile(Clip());
    const std::string before = ReadWholeFile(Project() + MapFileName(1));
    for (const std::string& damaged : {block.substr(0, block.size() - 2), std::string("\x02\0\0\0\x05\x01", 6)}) {
        WriteFileAtomic(Clip(), damaged);
        const TRun run = Run("paste 5 5");
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Out, "refused: the clipboard holds no event block that can be pasted\n");
        EXPECT_EQ(ReadWholeFile(Project() + MapFileName(1)), before);
    }
}

}  // namespace
}  // namespace quillon
