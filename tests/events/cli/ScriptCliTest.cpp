// quillon-cli script: a project with known scripts, printed through the built tool.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/EventScript.h"
#include "platform/FileUtils.h"

#include "CliRunKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

void AddLine(TKelEventScriptList& script, std::int32_t code, std::int32_t indent,
             std::initializer_list<std::int32_t> params, const std::string& text = {}) {
    auto line = std::make_unique<TKelEventScriptLine>();
    line->Code = code;
    line->Indent = indent;
    line->Text = text;
    line->SetParamCount(static_cast<int>(params.size()));
    int i = 0;
    for (std::int32_t value : params)
        line->SetParam(i++, value);
    script.Add(std::move(line));
}

// "◆" in code page 932, and the erase transition whose name ends in a lone lead byte.
const std::string kDiamond = "\x81\x9f";
const std::string kDamageMark = "DAMAGEMARK";

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

class ScriptCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // One folder per process: CTest runs each test case in a process of its own, in parallel.
        folder = fs::path(QUILLON_BINARY_DIR) / ("test-script-cli-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "project");
        const std::string project = (folder / "project").string() + "/";

        TKelDataBase db;
        db.Switch.Obtain(1).Name = "Door";
        db.Monster.Obtain(1).Name = "Slime";
        db.CommonEvent.Obtain(1).Name = "Common";
        TKelEventScriptList& common = db.CommonEvent.Obtain(1).Script;
        common.Clear();
        AddLine(common, 10870, 0, {1, 10005});
        AddLine(common, 0, 0, {});
        TKelEventScriptList& damaged = db.CommonEvent.Obtain(2).Script;
        damaged.Clear();
        AddLine(damaged, 12410, 0, {}, kDamageMark);
        AddLine(damaged, 0, 0, {});
        TKelMonGroupItem& troop = db.MonGroup.Obtain(1);
        troop.Members.Obtain(1).MonsterId = 1;
        TKelEventScriptList& battle = troop.Pages.Obtain(1).Script;
        battle.Clear();
        AddLine(battle, 13150, 0, {0});
        AddLine(battle, 13110, 0, {1, 0, 0, 5});
        AddLine(battle, 10860, 0, {1, 0, 2, 3});
        AddLine(battle, 0, 0, {});
        db.SaveToFile(project + TKelDataBase::kFileName);

        // Damage the second common event's script: its comment line claims five parameters
        // where the buffer ends after four bytes.
        std::string bytes = ReadWholeFile(project + TKelDataBase::kFileName);
        const std::size_t at = bytes.find(kDamageMark);
        ASSERT_NE(at, std::string::npos);
        ASSERT_EQ(bytes[at + kDamageMark.size()], '\0');
        bytes[at + kDamageMark.size()] = 5;
        WriteFileAtomic(project + TKelDataBase::kFileName, bytes);

        TKelMapTree tree;
        tree.AddItem(0, 0).Name = "Game";
        TKelMapTreeItem& town = tree.AddItem(0, 1);
        town.Name = "Town";
        town.Kind = TKelMapTreeItem::mkMap;
        TMemoryStream image;
        tree.SaveTreeToStream(image);
        WriteFileAtomic(project + TKelMapTree::kFileName, image.Bytes());

        TKelMap map;
        map.Events.Obtain(1).Name = "Door";
        TKelEventItem& guard = map.Events.Obtain(2);
        guard.Name = "Guard";
        TKelEventScriptList& script = guard.Pages.Obtain(1).Script;
        script.Clear();
        AddLine(script, 10110, 0, {}, kDiamond + "Hi");
        AddLine(script, 12010, 0, {0, 1, 0, 0, 0, 0});
        AddLine(script, 10870, 1, {2, 1});
        AddLine(script, 10, 1, {});
        AddLine(script, 22011, 0, {});
        AddLine(script, 10810, 0, {1, 2, 3});
        AddLine(script, 11010, 0, {13});
        AddLine(script, 11330, 0, {10005, 0, 0, 0, 35, 3});  // route cut short
        AddLine(script, 0, 0, {});
        map.SaveToProject(project, 1);
    }

    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    static std::string Project() { return (folder / "project").string(); }

    // Runs the tool; stdout and stderr are captured separately.
    static TRun Run(const std::string& arguments) {
        const std::string errFile = (folder / "stderr.txt").string();
        const clikit::TCliRun ran = clikit::RunCli("script " + arguments, errFile);
        TRun run{ran.Status, ran.Out, FileExists(errFile) ? ReadWholeFile(errFile) : ""};
        return run;
    }

    static fs::path folder;
};

fs::path ScriptCli::folder;

TEST_F(ScriptCli, RendersAMapEventPageAsUtf8AndAsBytes) {
    const TRun utf8 = Run("render '" + Project() + "' 1 2 1");
    EXPECT_EQ(utf8.Status, 0) << utf8.Err;
    EXPECT_EQ(utf8.Out,
              "<>Message: \xE2\x97\x86Hi\n"
              "<>If Switch(0001:Door) is ON\n"
              "  <>Swap Events: Guard Door\n"
              "  <>\n"
              ":End Case\n"
              "<>Teleport: 0001:Town (002,003)\n"
              "<>Erase Screen: Hi-LowDiv\xEF\xBF\xBD\n"
              "\xE2\x97\x86\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\xE3\x81\x8C\xE5\xA3\x8A\xE3\x82\x8C\xE3\x81\xA6"
              "\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x99\n"
              "<>\n");
    EXPECT_EQ(utf8.Err, "");

    const TRun raw = Run("render '" + Project() + "' 1 2 1 --cp932");
    EXPECT_EQ(raw.Status, 0) << raw.Err;
    EXPECT_EQ(raw.Out,
              "<>Message: " + kDiamond + "Hi\n"
              "<>If Switch(0001:Door) is ON\n"
              "  <>Swap Events: Guard Door\n"
              "  <>\n"
              ":End Case\n"
              "<>Teleport: 0001:Town (002,003)\n"
              "<>Erase Screen: Hi-LowDiv\x84\n" +
                  std::string(kCorruptScriptLineText) + "\n<>\n");
}

TEST_F(ScriptCli, CommonEventsAndTroopPagesHaveNoEventOfTheirOwn) {
    TRun run = Run("render-common '" + Project() + "' 1");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "<>Swap Events: ? This Event \n<>\n");
    run = Run("render-common '" + Project() + "' 1 --map 1");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "<>Swap Events: Door This Event \n<>\n");

    run = Run("render-battle '" + Project() + "' 1 1");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "<>Enemy Appears:  1:Slime\n"
              "<>Change Enemy's HP:  2:?'s HP 5 (Add)\n"
              "<>Teleport Event: ? (002,003)\n"
              "<>\n");
    run = Run("render-battle '" + Project() + "' 1 1 --map 1 --cp932");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "<>Enemy Appears:  1:Slime\n"
              "<>Change Enemy's HP:  2:?'s HP 5 (Add)\n"
              "<>Teleport Event: Door (002,003)\n"
              "<>\n");
}

TEST_F(ScriptCli, MissingThingsFailWithAMessage) {
    const std::string p = "'" + Project() + "' ";
    for (const std::string& arguments :
         {"render " + p + "2 1 1",              // no such map
          "render " + p + "1 3 1",              // no such event
          "render " + p + "1 2 2",              // no such page
          "render " + p + "1 2 0",
          "render-common " + p + "9",           // no such common event
          "render-common " + p + "2",           // a script buffer that cannot be parsed
          "render-common " + p + "1 --map 4",   // no such map
          "render-battle " + p + "2 1",         // no such troop
          "render-battle " + p + "1 2",         // no such page
          "render " + p + "1 two 1",            // not a number
          "render " + p + "1 2",                // too few arguments
          "render-common " + p + "1 --bogus",
          "render-common '" + (folder / "nowhere").string() + "' 1",
          std::string("unknown")}) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.Status, 1) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
        EXPECT_NE(run.Err, "") << arguments;
    }
}

TEST_F(ScriptCli, MissingDatabaseAndTreeAndDamagedDatabase) {
    const fs::path copy = folder / "copy";
    fs::remove_all(copy);
    fs::copy(folder / "project", copy, fs::copy_options::recursive);
    fs::remove(copy / TKelDataBase::kFileName);
    fs::remove(copy / TKelMapTree::kFileName);
    // The reset database: its switch 1 has no name; no tree: maps are "?".
    TRun run = Run("render '" + copy.string() + "' 1 2 1");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("<>If Switch(0001) is ON\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("<>Teleport: 0001:? (002,003)\n"), std::string::npos) << run.Out;
    run = Run("render-common '" + copy.string() + "' 1");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "<>\n");

    // A database that cannot be read fails, and so does a damaged map.
    WriteFileAtomic((copy / TKelDataBase::kFileName).string(), "not a database");
    run = Run("render-common '" + copy.string() + "' 1");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    fs::remove(copy / TKelDataBase::kFileName);
    WriteFileAtomic((copy / "Map0001.kmu").string(), std::string("\x0a" "KelMapUnit" "\x01", 12));
    run = Run("render '" + copy.string() + "' 1 2 1");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
}

}  // namespace
}  // namespace quillon
