#include "runtime/GameFixture.h"

#include "runtime/GameSession.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include "data/LD_ChipSet.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"
#include "runtime/GameMessage.h"
#include "runtime/GameSession.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"
#include "runtime/CommandLine.h"
#include "runtime/HeadlessDriver.h"
#include "tools/lib/RtpImages.h"
#include "tools/lib/StarterDataBase.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <unistd.h>

namespace quillon::runtime::test {

namespace {

std::filesystem::path NewTempFolder(const std::string& stem) {
    static std::atomic<int> counter{0};
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       (stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

}  // namespace

void FillScript(TKelEventScriptList& script, const std::vector<TLine>& lines) {
    script.Clear();
    for (const TLine& source : lines) {
        TKelEventScriptLine& line = script.Add();
        line.Code = ToInt(source.Code);
        line.Indent = source.Indent;
        line.Text = source.Text;
        line.SetParamCount(static_cast<int>(source.Params.size()));
        for (std::size_t i = 0; i < source.Params.size(); ++i)
            line.SetParam(static_cast<int>(i), source.Params[i]);
    }
    script.Add();  // the closing line
}

std::vector<std::int32_t> RouteParams(std::initializer_list<std::int32_t> codes) {
    TKelMoveRoute route;
    for (const std::int32_t code : codes) {
        TKelMoveRouteItem item;
        item.Code = code;
        item.SwitchId = code == mcSwitchOn || code == mcSwitchOff ? 3 : 0;
        route.Add(item);
    }
    const TDynamicBuffer bytes = route.PackRoute();
    return std::vector<std::int32_t>(bytes.begin(), bytes.end());
}

int RunScript(TGameSession& session, TKelEventScriptList& script, const std::vector<TLine>& lines, int steps,
              std::int32_t eventId, const std::vector<std::uint32_t>& buttons, bool* running) {
    FillScript(script, lines);
    TInterpreter in(session, false);
    in.Start(script, eventId, session.World().MapId());
    TGameInput input;
    int step = 0;
    for (; step < steps && in.Running(); ++step) {
        input = input.Next(step < static_cast<int>(buttons.size()) ? buttons[static_cast<std::size_t>(step)] : 0);
        session.SetInput(input);
        in.Update();
        session.Messages().Update(input);
    }
    if (running != nullptr)
        *running = in.Running();
    return step;
}

TKelEventPageItem& AddEvent(TKelMap& map, std::int32_t id, int x, int y) {
    TKelEventItem& event = map.Events.Obtain(id);
    event.X = x;
    event.Y = y;
    return event.Pages.Obtain(1);
}

const std::string& RtpFolder() {
    static const std::string folder = [] {
        const std::filesystem::path path = NewTempFolder("quillon-rtp");
        for (const char* kind : {"CharSet", "ChipSet", "FaceSet", "GameOver", "Panorama", "System", "Title", "Backdrop",
                                 "Battle", "Monster", "Picture"})
            std::filesystem::create_directories(path / kind);
        WriteRtpImages(path.string() + "/");
        return path.string();
    }();
    return folder;
}

std::unique_ptr<TKelMap> TProjectFolder::MakeMap1() {
    auto map = std::make_unique<TKelMap>();
    map->SetWidth(25);
    map->SetHeight(20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 25; ++x)
            map->LowerLayer.SetCell(x, y, x == 15 ? kWall : kGrass);
    map->UpperLayer.SetCell(8, 8, kStar);
    map->UpperLayer.SetCell(18, 5, kCounter);

    // 1: speaks, asks, and remembers the answer.
    TKelEventPageItem& talker = AddEvent(*map, 1, 12, 10);
    talker.GraphicName = "People";
    talker.Priority = 1;
    FillScript(talker.Script, {{TC::ShowMessage, 0, "Hello", {}},
                               {TC::MessageLine, 0, "traveller", {}},
                               {TC::ShowChoices, 0, "Yes/No", {5}},
                               {TC::ChoiceCase, 0, "Yes", {0}},
                               {TC::ChangeSwitch, 1, "", {0, 1, 0, 0}},
                               {TC::Empty, 1, "", {}},
                               {TC::ChoiceCase, 0, "No", {1}},
                               {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 5, 0}},
                               {TC::Empty, 1, "", {}},
                               {TC::ChoiceCase, 0, "", {4}},
                               {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 9, 0}},
                               {TC::Empty, 1, "", {}},
                               {TC::ChoiceEnd, 0, "", {}}});
    TKelEventPageItem& thanks = map->Events.FindByID(1)->Pages.Obtain(2);
    thanks.GraphicName = "People";
    thanks.GraphicDirection = 0;
    thanks.Priority = 1;
    thanks.Condition.Flags = TKelEventCondition::cfSwitchA;
    thanks.Condition.SwitchAId = 1;
    FillScript(thanks.Script, {{TC::ShowMessage, 0, "Thanks, \\V[1]", {}}});

    // 2: a door under the hero's feet to map 2.
    TKelEventPageItem& door = AddEvent(*map, 2, 5, 10);
    door.Trigger = 1;
    door.Priority = 0;
    FillScript(door.Script, {{TC::Teleport, 0, "", {2, 3, 4}}});

    // 3: counts while switch 2 is on.
    TKelEventPageItem& counter = AddEvent(*map, 3, 0, 0);
    counter.Trigger = 4;
    counter.Condition.Flags = TKelEventCondition::cfSwitchA;
    counter.Condition.SwitchAId = 2;
    FillScript(counter.Script, {{TC::ChangeVariable, 0, "", {0, 2, 0, 1, 0, 1, 0}}, {TC::Wait, 0, "", {1}}});

    // 4: wanders.
    TKelEventPageItem& wanderer = AddEvent(*map, 4, 20, 15);
    wanderer.GraphicName = "People";
    wanderer.GraphicIndex = 1;
    wanderer.Priority = 1;
    wanderer.MoveType = 1;
    wanderer.MoveFrequency = 8;

    // 5: a shopkeeper behind the counter.
    TKelEventPageItem& keeper = AddEvent(*map, 5, 18, 4);
    keeper.GraphicName = "People";
    keeper.Priority = 1;
    FillScript(keeper.Script, {{TC::ShowMessage, 0, "Over the counter", {}}});
    return map;
}

std::unique_ptr<TKelMap> TProjectFolder::MakeMap2() {
    auto map = std::make_unique<TKelMap>();
    map->SetWidth(20);
    map->SetHeight(15);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            std::uint16_t lower = MakeLowerTile((x * 7 + y * 3) % 40);
            if (y == 3)
                lower = static_cast<std::uint16_t>(MakeWaterTile(0, 0, x % 47));
            else if (y == 6)
                lower = static_cast<std::uint16_t>(MakeGroundTile(x % 12, (x + y) % 47));
            else if (y == 9)
                lower = static_cast<std::uint16_t>(MakeAnimatedTile(x % 3));
            map->LowerLayer.SetCell(x, y, lower);
            if ((x + y) % 5 == 0)
                map->UpperLayer.SetCell(x, y, static_cast<std::uint16_t>(MakeUpperTile((x * 11 + y) % 144)));
        }
    return map;
}

TProjectFolder::TProjectFolder(bool heroVisible) : mRoot(NewTempFolder("quillon-game")) {
    auto database = std::make_unique<TKelDataBase>();
    MakeStarterDataBase(*database);
    TKelChipSetItem& chips = database->ChipSet.Obtain(1);
    for (int chip = 0; chip < TKelChipSetItem::kLowerChips; ++chip)
        chips.SetLowerFlags(chip, TKelChipSetItem::kDefaultFlags);
    chips.SetLowerFlags(LowerTableIndex(kWall), 0);
    for (int chip = 1; chip < TKelChipSetItem::kUpperChips; ++chip)
        chips.SetUpperFlags(chip, TKelChipSetItem::kDefaultFlags);
    chips.SetUpperFlags(UpperTileIndex(kStar), TKelChipSetItem::kDefaultFlags | TKelChipSetItem::cfStar);
    chips.SetUpperFlags(UpperTileIndex(kCounter), TKelChipSetItem::cfCounter);
    database->System.SetPartySize(1);
    database->System.SetPartyMember(0, 1);
    if (!heroVisible)
        database->Player.FindByID(1)->CharSetName.clear();
    WriteDatabase(*database);

    TKelMapTree tree;
    tree.AddItem(0, 0);
    for (int id = 1; id <= 2; ++id) {
        TKelMapTreeItem& item = tree.AddItem(0, id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.Name = "MAP000" + std::to_string(id);
        item.MusicType = TKelMapTreeItem::mtSetTo;
        item.Music.Name = id == 1 ? "Town" : "Battle";
    }
    tree.StartPosition.PartyMapId = 1;
    tree.StartPosition.PartyX = 10;
    tree.StartPosition.PartyY = 10;
    TMemoryStream stream;
    tree.SaveTreeToStream(stream);
    WriteFileAtomic(Path(TKelMapTree::kFileName), stream.Bytes());
    WriteMap(*MakeMap1(), 1);
    WriteMap(*MakeMap2(), 2);
}

TProjectFolder::~TProjectFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mRoot, ignored);
}

void TProjectFolder::WriteMap(TKelMap& map, std::int32_t id) const { map.SaveToFile(Path(MapFileName(id))); }

void TProjectFolder::WriteDatabase(TKelDataBase& database) const { database.SaveToFile(Path(TKelDataBase::kFileName)); }

std::unique_ptr<TKelDataBase> TProjectFolder::Database() const {
    auto database = std::make_unique<TKelDataBase>();
    database->LoadFromFile(Path(TKelDataBase::kFileName));
    return database;
}

TGameOptions TProjectFolder::Options(bool showTitle) const {
    TGameOptions options;
    options.ProjectDir = mRoot.string();
    options.RtpDir = RtpFolder();
    options.ShowTitle = showTitle;
    options.TestPlay = true;
    return options;
}

int RunScript(TGame& game, TKelEventScriptList& script, const std::vector<TLine>& lines, int steps,
              std::int32_t eventId, const std::vector<std::uint32_t>& buttons, bool& running) {
    return RunScript(game.Session(), script, lines, steps, eventId, buttons, &running);
}

int Headless(const TProjectFolder& project, const std::string& script, std::vector<std::string> extra) {
    const std::string input = project.Path("input.txt");
    std::ofstream(input) << script;
    std::vector<std::string> args{"--headless", project.Root().string(), "TestPlay", "HideTitle", "--input", input,
                                  "--state", project.Path("state.json")};
    args.insert(args.end(), extra.begin(), extra.end());
    TPlayerCommandLine commandLine;
    std::string error;
    if (!ParseCommandLine(args, commandLine, error)) {
        ADD_FAILURE() << error;
        return 2;
    }
    commandLine.Game.RtpDir = RtpFolder();
    return RunHeadless(commandLine);
}

void TRun::Hold(std::uint32_t held, int steps) {
    for (int i = 0; i < steps; ++i) {
        mInput = mInput.Next(held);
        mGame.Step(mInput);
    }
}

void TRun::Tap(std::uint32_t button) {
    Hold(button);
    Hold(0);
}

}  // namespace quillon::runtime::test
