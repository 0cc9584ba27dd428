// Saving and loading a game of the fixture project: round trips, a save made inside an event
// resuming there, every kind of unusable save file, a failed write, the save and load screens,
// the game over screen, and the save list against its golden picture.
#include "runtime/GameFixture.h"

#include "data/LD_CmnEvent.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"
#include "project/ProjectSettings.h"
#include "runtime/GameAudio.h"
#include "runtime/GameFont.h"
#include "runtime/GameMapState.h"
#include "runtime/GameProject.h"
#include "runtime/GameSave.h"
#include "runtime/GameSaveScene.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameShopScene.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"
#include "runtime/GameWorld.h"
#include "runtime/HeadlessDriver.h"
#include "runtime/Interpreter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace quillon::runtime::test {
namespace {

constexpr const char* kTitle = "Saving Quest";

// The rows of two pictures of one size that differ.
int DifferingRows(const TBitmap& a, const TBitmap& b) {
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        differing += !std::equal(a.ScanLine(y), a.ScanLine(y) + a.RowBytes(), b.ScanLine(y));
    return differing;
}

class GameSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteGameTitle(Project.Root().string(), kTitle);
        // Event 9 counts, opens the save screen, then sets variable 11: a save made there
        // resumes after the save command.
        auto map = TProjectFolder::MakeMap1();
        TKelEventPageItem& saver = AddEvent(*map, 9, 10, 11);
        saver.Priority = 1;  // below the hero's start, facing him
        FillScript(saver.Script, {{TC::ChangeVariable, 0, "", {0, 10, 0, 1, 0, 1, 0}},
                                  {TC::CallSaveMenu, 0, "", {}},
                                  {TC::ChangeVariable, 0, "", {0, 11, 0, 0, 0, 7, 0}}});
        Project.WriteMap(*map, 1);
        // A parallel common event under switch 20 that waits long, then counts in variable 12.
        auto database = Project.Database();
        TKelCommonEventItem& parallel = database->CommonEvent.Obtain(1);
        parallel.Trigger = TKelCommonEventItem::ctParallel;
        parallel.SwitchCondition = true;
        parallel.SwitchId = 20;
        FillScript(parallel.Script, {{TC::Wait, 0, "", {100}}, {TC::ChangeVariable, 0, "", {0, 12, 0, 1, 0, 1, 0}}});
        Project.WriteDatabase(*database);
        Open();
    }
    void Open(TGameOptions options) {
        std::string error;
        Game = TGame::Open(options, Audio, error);
        ASSERT_TRUE(Game) << error;
        Run = std::make_unique<TRun>(*Game);
    }
    void Open() { Open(Project.Options()); }
    TGameSession& Session() { return Game->Session(); }
    TGameState& State() { return Session().State(); }
    std::string SavePath(int slot) const { return Project.Path(SaveFileName(slot)); }
    std::string SaveBytes(int slot) const { return ReadWholeFile(SavePath(slot)); }
    void Save(int slot) {
        std::string error;
        ASSERT_TRUE(Session().SaveGame(slot, error)) << error;
    }
    // The state JSON without its frame count.
    std::string StateWithoutFrame() const {
        std::string json = Game->StateJson();
        const std::size_t at = json.find("\"frame\"");
        return json.erase(at, json.find('\n', at) - at);
    }
    // Steps until the parallel common event has counted once.
    int StepsUntilCounted() {
        int steps = 0;
        while (State().Variable(12) == 0 && steps < 10000) {
            Run->Wait(1);
            ++steps;
        }
        return steps;
    }
    // A game far from its start: every part of the state changed.
    void Play() {
        State().SetSwitch(3, true);
        State().SetSwitch(20, true);
        State().SetVariable(4, -1234567);
        State().SetMoney(4321);
        State().SetItemCount(1, 12);
        State().TimerFrames = 600;
        State().TimerRunning = true;
        Session().MapState().SaveEnabled = false;
        THeroState& hero = *State().Hero(1);
        hero.Hp = 3;
        hero.Name = "\x83\x41\x83\x8B";  // code page 932 bytes
        hero.Equipment[2] = 7;
        State().ReplaceParty({2, 1});
        TGameEvent& talker = *Session().World().EventById(1);
        const int oldX = talker.X;
        const int oldY = talker.Y;
        talker.PlaceAt(13, 4);
        talker.Direction = dLeft;
        Session().World().CharacterMoved(talker, oldX, oldY);
        Session().World().EventById(2)->Erased = true;
        State().Touch();  // as the erase command leaves it: no page from the next frame on
        State().SetItemUsesLeft(1, 2);
        State().TimerShown = State().TimerInBattle = true;
        PlayScreen();
        PlayMapCommands();
        PlayUnderWay();
        Run->Wait(30);  // the parallel common event starts and waits
    }
    // Pictures with moves and effects under way, a tone change under way, snow, a changed
    // transition.
    void PlayScreen() {
        TGameScreen& screen = Session().Screen();
        screen.SetTone({40, 160, 90, 20}, 200);
        screen.Weather().Set(wkSnow, 1);
        screen.SetTransition(tsTeleportErase, 5);
        TGamePictures& pictures = screen.Pictures();
        pictures.Show(3, "Sun", TPictureValues{40, 50, 150, 10, 90, 100, 110, 50}, true, true, peRotation, 4, 16, 32);
        pictures.Move(3, TPictureValues{200, 10, 50, 60, 100, 100, 100, 100}, peRotation, 4, 300);
        pictures.Show(50, "Moon", TPictureValues{}, false, false, peRipple, 9, 0, 0);
    }
    // What the map commands remember: places, permissions, music, vehicles, the system's sounds
    // and look.
    void PlayMapCommands() {
        TGameMapState& map = Session().MapState();
        map.Memorized = TMapPlace{2, 3, 4};
        map.MenuEnabled = map.EscapeEnabled = map.TeleportEnabled = false;
        map.EncounterSteps = 40;
        map.TeleportPlaces[2] = TTeleportPlace{{2, 5, 6}, 8};
        map.TeleportPlaces[1] = TTeleportPlace{{1, 1, 1}, 0};
        map.EscapePlace = TTeleportPlace{{1, 2, 3}, 9};
        map.MemorizedMusic = TMusicSettings{"Field", 1000, 80, 90, 40};
        map.BeforeRide = TMusicSettings{"Town", 0, 70, 100, 50};
        map.PlayMusic(Audio, TMusicSettings{"Dungeon", 0, 60, 110, 30});
        TGameWorld& world = Session().World();
        TGameVehicle& ship = world.Vehicle(vkShip);
        ship.MapId = 2;
        ship.PlaceAt(7, 8);
        ship.CharSet = "Ship2";
        ship.CharIndex = 5;
        TGameVehicle& airship = world.Vehicle(vkAirship);
        airship.MapId = 1;
        airship.PlaceAt(world.Hero().X, world.Hero().Y);
        ASSERT_TRUE(world.Board(vkAirship));
        TKelSystem& system = Session().Project().Database().System;
        system.Music[2].Name = "Fanfare2";
        system.Sound[5].Volume = 45;
        Session().Skin().SetSystemGraphic(Session().Skin().SystemGraphic(), wpTile, -1);
        for (int i = 0; i < 5; ++i)
            Session().Random().Next();
    }

    // The map's look changed, a route a script set on the talker, a flash, a shake and a pan: all
    // still under way when the game is saved.
    void PlayUnderWay() {
        TGameWorld& world = Session().World();
        ASSERT_TRUE(world.ChangeChipSet(kOtherChipSet));
        world.ChangePanorama("Sky", true, false, true, 3, false, -2);
        world.SubstituteChip(true, LowerTableIndex(kWall), LowerTableIndex(kGrass));
        world.SubstituteChip(false, UpperTileIndex(kStar), UpperTileIndex(kCounter));
        std::vector<TKelMoveRouteItem> route(6);
        for (TKelMoveRouteItem& item : route)
            item.Code = 2;  // down, again and again
        TGameEvent* saver = world.EventById(9);
        ASSERT_NE(saver, nullptr);
        saver->StartRoute(std::move(route), true, false, true, 7);
        TGameScreen& screen = Session().Screen();
        screen.Flash(31, 4, 10, 25, 300);
        screen.Shake(5, 6, 400);
        screen.PanMove(world, dRight, 4, 1);
    }

    static constexpr std::int32_t kOtherChipSet = 2;
    TProjectFolder Project;
    TRecordingGameAudio Audio;
    std::unique_ptr<TGame> Game;
    std::unique_ptr<TRun> Run;
};

TEST_F(GameSaveTest, SaveLoadSaveGivesTheSameBytesAndState) {
    Play();
    Save(1);
    const std::string played = StateWithoutFrame();
    const std::int32_t timer = State().TimerFrames;
    TGameRandom random = Session().Random();
    const std::array<double, 4> tone = Session().Screen().ToneNow();
    const TGamePicture& shown = *Session().Screen().Pictures().Picture(3);
    const int sunFramesLeft = shown.FramesLeft;
    const double sunAngle = shown.Angle;
    const TSavedMapLook look = Session().World().SavedLook();
    const TSavedEffects effects = Session().Screen().SavedEffects(Session().World());
    const TRouteRun route = Session().World().EventById(9)->Route();
    const int stepsToCount = StepsUntilCounted();
    TGameOptions options = Project.Options();
    options.LoadSlot = 1;
    Open(options);
    EXPECT_EQ(StateWithoutFrame(), played);
    // The map's look, the saver's route and the screen's effects, as they stood.
    EXPECT_EQ(Session().World().SavedLook(), look);
    EXPECT_EQ(Session().Screen().SavedEffects(Session().World()), effects);
    const TRouteRun& loadedRoute = Session().World().EventById(9)->Route();
    EXPECT_TRUE(loadedRoute.Active && loadedRoute.Forced && loadedRoute.Repeat);
    EXPECT_EQ(loadedRoute.Index, route.Index);
    EXPECT_EQ(loadedRoute.Items, route.Items);
    EXPECT_EQ(loadedRoute.Frequency, 7);
    Save(2);
    EXPECT_EQ(SaveBytes(2), SaveBytes(1));
    // What the JSON does not show came back too.
    EXPECT_EQ(State().TimerFrames, timer);
    EXPECT_TRUE(State().TimerRunning);
    EXPECT_FALSE(Session().SaveAllowed());
    EXPECT_EQ(State().Hero(1)->Equipment[2], 7);
    EXPECT_EQ(Session().World().EventById(1)->Direction, dLeft);
    EXPECT_EQ(Session().LastSaveSlot(), 2);
    // The screen's changes under way, the map commands' state and the random source.
    EXPECT_EQ(Session().Screen().ToneNow(), tone);
    EXPECT_EQ(Session().Screen().ToneFramesLeft(), 200 - 30);
    const TGamePicture& loadedSun = *Session().Screen().Pictures().Picture(3);
    EXPECT_EQ(loadedSun.FramesLeft, sunFramesLeft);
    EXPECT_EQ(loadedSun.Target.X, 200.0);
    EXPECT_EQ(loadedSun.Angle, sunAngle);
    EXPECT_TRUE(loadedSun.MoveWithMap && loadedSun.TransparentColor);
    EXPECT_EQ(Session().Screen().Transition(tsTeleportErase), 5);
    EXPECT_EQ(Session().Screen().Weather().DropValues().size(), static_cast<std::size_t>(3 * Session().Screen().Weather().DropCount()));
    const TGameMapState& map = Session().MapState();
    EXPECT_EQ(map.TeleportPlaces.size(), 2u);
    EXPECT_EQ(map.TeleportPlaces.at(2).SwitchId, 8);
    ASSERT_TRUE(map.EscapePlace && map.MemorizedMusic);
    EXPECT_EQ(map.EscapePlace->Place, (TMapPlace{1, 2, 3}));
    EXPECT_EQ(*map.MemorizedMusic, (TMusicSettings{"Field", 1000, 80, 90, 40}));
    EXPECT_EQ(map.BeforeRide.Volume, 70);
    EXPECT_EQ(map.EncounterSteps, 40);
    EXPECT_EQ(Audio.Requests.back(), "music Dungeon") << "the music playing at the save, not the map's";
    EXPECT_EQ(Session().World().Vehicle(vkShip).CharSet, "Ship2");
    EXPECT_EQ(Session().Project().Database().System.Sound[5].Volume, 45);
    EXPECT_EQ(Session().Skin().Wallpaper(), wpTile);
    EXPECT_TRUE(State().TimerShown && State().TimerInBattle);
    EXPECT_EQ(State().ItemUsesLeft(1), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Session().Random().Next(), random.Next()) << "the loaded game rolls as the saved one would";
    // The parallel common event goes on waiting where it was.
    EXPECT_EQ(StepsUntilCounted(), stepsToCount);
}

// A save made before the screen, the vehicles and the map commands' state were saved: it loads,
// and those parts start as in a new game (but the save flag it did hold).
TEST_F(GameSaveTest, AnOlderSaveWithoutTheLaterSectionsLoads) {
    Play();
    Save(1);
    TSaveRead read = ReadSaveGame(SaveBytes(1), kTitle, DatabaseCheck(*Project.Database()));
    ASSERT_EQ(read.Problem, TSaveProblem::None) << read.Message;
    std::erase_if(read.Game.Sections, [](int section) { return section >= kFirstLaterSection; });
    const std::string older = WriteSaveGame(read.Game);
    EXPECT_LT(older.size(), SaveBytes(1).size());
    WriteFileAtomic(SavePath(3), older);
    std::string error;
    ASSERT_TRUE(Session().LoadGame(3, error)) << error;
    EXPECT_EQ(State().Money(), 4321);
    EXPECT_EQ(Session().World().Riding(), -1);
    EXPECT_EQ(Session().World().Vehicle(vkShip).CharSet, Project.Database()->System.ShipGraphic);
    EXPECT_TRUE(Session().MapState().MenuEnabled);
    EXPECT_FALSE(Session().SaveAllowed());
    EXPECT_EQ(Session().Screen().Pictures().Picture(3), nullptr);
    EXPECT_EQ(State().ItemUsesLeft(1), 0);
    // Read and written again, it keeps its bytes.
    EXPECT_EQ(WriteSaveGame(ReadSaveGame(older, kTitle, DatabaseCheck(*Project.Database())).Game), older);
}

TEST_F(GameSaveTest, ASaveMadeInsideAnEventResumesThere) {
    Session().StartEvent(9, false);
    Run->Wait(1);
    ASSERT_EQ(Session().SceneName(), "save");
    EXPECT_EQ(Session().SaveScene()->Slot(), 1) << "a new game's cursor starts on slot 1";
    Run->Tap(gbDown);
    Run->Tap(gbDecide);  // slot 2: saved at once, the screen closes
    ASSERT_TRUE(FileExists(SavePath(2)));
    Run->Wait(2);
    EXPECT_EQ(State().Variable(11), 7) << "the script went on after the screen closed";

    std::string error;
    ASSERT_TRUE(Session().LoadGame(2, error)) << error;
    EXPECT_EQ(State().Variable(10), 1);
    EXPECT_EQ(State().Variable(11), 0);
    EXPECT_TRUE(Session().MainRunning());
    Run->Wait(2);
    EXPECT_EQ(State().Variable(11), 7);
    EXPECT_EQ(State().Variable(10), 1) << "the lines before the save did not run again";
    // The save screen opens on the slot used last.
    Session().OpenSaveScreen();
    EXPECT_EQ(Session().SaveScene()->Slot(), 2);
    Run->Tap(gbCancel);
    EXPECT_EQ(Session().SceneName(), "map");
}

// A script moves the hero and waits for him, while a flash fades, the screen shakes and pans and
// the chips are changed: a save made on the way goes on as the game would have, and the map's
// changes end when the party leaves the map.
TEST_F(GameSaveTest, WhatIsUnderWayGoesOnAfterALoad) {
    auto map = TProjectFolder::MakeMap1();
    AddEvent(*map, 9, 10, 11);  // walks down under a route of its own
    TKelEventPageItem& walker = AddEvent(*map, 10, 3, 3);
    std::vector<std::int32_t> route{kCharacterHero, 8, 0, 0};
    for (const std::int32_t byte : RouteParams({3, 3, 3}))  // left three times
        route.push_back(byte);
    FillScript(walker.Script, {{TC::SetMoveRoute, 0, "", route},
                               {TC::WaitUntilMoved, 0, "", {}},
                               {TC::ChangeVariable, 0, "", {0, 13, 0, 0, 0, 5, 0}}});
    Project.WriteMap(*map, 1);
    Open();
    PlayUnderWay();
    Session().StartEvent(10, false);
    Run->Wait(20);
    ASSERT_TRUE(Session().World().Hero().ForcedRouteRunning());
    Save(1);
    TOrlenBoard board;
    Game->Draw(board);
    const TBitmap saved = BoardToBitmap(board);
    // What the game shows frame by frame from here on: where the hero and the camera are, the
    // flash and the shake, and when the script is done waiting.
    const auto trace = [&] {
        std::vector<int> seen;
        for (int frame = 0; frame < 160; ++frame) {
            const TGameWorld& world = Session().World();
            const TAnimationFlash flash = Session().Screen().FlashNow();
            seen.insert(seen.end(), {world.Hero().RealX, world.CameraX(), flash[3], Session().Screen().ShakeOffset(),
                                     State().Variable(13)});
            Run->Wait(1);
        }
        return seen;
    };
    const std::vector<int> played = trace();
    ASSERT_EQ(State().Variable(13), 5);
    EXPECT_EQ(Session().World().Hero().X, 7);
    std::string error;
    ASSERT_TRUE(Session().LoadGame(1, error)) << error;
    EXPECT_EQ(State().Variable(13), 0);
    // The loaded game looks as the saved one did: changed chips, flash, shake and pan (a shot
    // under the build folder, test-shots/, for a look).
    Game->Draw(board);
    const TBitmap loaded = BoardToBitmap(board);
    const std::filesystem::path shots = std::filesystem::path(QUILLON_BINARY_DIR) / "test-shots";
    std::filesystem::create_directories(shots);
    SavePicture(loaded, (shots / "loaded-under-way.png").string());
    ASSERT_EQ(loaded.Height(), saved.Height());
    EXPECT_EQ(DifferingRows(loaded, saved), 0) << "rows that differ from the frame saved";
    EXPECT_EQ(trace(), played);
    ASSERT_TRUE(Session().LoadGame(1, error)) << error;
    Save(2);
    EXPECT_EQ(SaveBytes(2), SaveBytes(1));

    // Another map and back: the map's own chips, chipset and panorama again.
    const TSavedMapLook changed = Session().World().SavedLook();
    EXPECT_EQ(changed.ChipSetId, kOtherChipSet);
    EXPECT_EQ(changed.Lower.size(), 25u * 20u);
    ASSERT_TRUE(Session().Teleport(2, 1, 1, error)) << error;
    ASSERT_TRUE(Session().Teleport(1, 10, 10, error)) << error;
    const TSavedMapLook fresh = Session().World().SavedLook();
    EXPECT_EQ(fresh.ChipSetId, 0) << "the map's own chipset";
    EXPECT_TRUE(fresh.Lower.empty() && fresh.Upper.empty());
    EXPECT_FALSE(fresh.PanoramaChanged || fresh.PanoramaAutoX);
    EXPECT_EQ(Session().World().Map().ChipSetId, 1);
}

// Bytes of a save with one byte set, and the check sum made right again.
std::string Patched(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    const std::uint32_t crc = SaveCrc(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int b = 0; b < 4; ++b)
        bytes[bytes.size() - 4 + static_cast<std::size_t>(b)] = static_cast<char>(crc >> (8 * b));
    return bytes;
}

TEST_F(GameSaveTest, UnusableSavesAreListedAndNeverLoaded) {
    Save(1);
    const std::string good = SaveBytes(1);
    // The header's version chunk follows the counted signature: field 1, length 1, the value.
    const std::size_t versionAt = 1 + std::string(kSaveSignature).size() + 2;
    ASSERT_EQ(good[versionAt], kSaveFormatVersion);
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    auto database = Project.Database();
    const std::uint32_t otherCheck = DatabaseCheck(*database) ^ 1;
    TSaveGame other = ReadSaveGame(good, kTitle, DatabaseCheck(*database)).Game;
    other.Title = "Another Quest";
    TSaveGame otherDatabase = ReadSaveGame(good, kTitle, DatabaseCheck(*database)).Game;
    otherDatabase.DatabaseCheck = otherCheck;
    const struct {
        const char* Name;
        std::string Bytes;
        TSaveProblem Problem;
    } cases[] = {
        {"cut short", good.substr(0, good.size() / 2), TSaveProblem::Damaged},
        {"a byte changed", flipped, TSaveProblem::Damaged},
        {"empty", "", TSaveProblem::Damaged},
        {"foreign", "GIF89a and so on, nothing of a save", TSaveProblem::Damaged},
        {"a database", ReadWholeFile(Project.Path("GMK_RT.kdb")), TSaveProblem::Damaged},
        {"no check sum", good.substr(0, good.size() - 4), TSaveProblem::Damaged},
        {"newer format", Patched(good, versionAt, kSaveFormatVersion + 1), TSaveProblem::Newer},
        {"another game", WriteSaveGame(other), TSaveProblem::OtherGame},
        {"another database", WriteSaveGame(otherDatabase), TSaveProblem::OtherGame},
    };
    State().SetMoney(77);
    for (const auto& c : cases) {
        WriteFileAtomic(SavePath(3), c.Bytes);
        const std::vector<TSaveSlot> slots =
            ListSaveSlots(Project.Root().string() + "/", kTitle, DatabaseCheck(*database));
        EXPECT_EQ(slots[0].Problem, TSaveProblem::None) << c.Name;
        EXPECT_EQ(slots[1].Problem, TSaveProblem::Missing) << c.Name;
        EXPECT_EQ(slots[2].Problem, c.Problem) << c.Name;
        std::string error;
        EXPECT_FALSE(Session().LoadGame(3, error)) << c.Name;
        EXPECT_NE(error.find("Save03.ksv: "), std::string::npos) << c.Name << ": " << error;
        if (c.Problem == TSaveProblem::Newer) {
            EXPECT_NE(error.find("newer"), std::string::npos) << error;
        }
        EXPECT_EQ(State().Money(), 77) << c.Name << ": the game went on as it was";
    }
    // On the load screen an unreadable slot only buzzes.
    Session().OpenLoadScreen();
    Run->Tap(gbDown);
    Run->Tap(gbDown);
    Audio.Requests.clear();
    Run->Tap(gbDecide);
    EXPECT_EQ(Session().SceneName(), "load");
    ASSERT_FALSE(Audio.Requests.empty());
    EXPECT_EQ(Audio.Requests.back(), "sound " + Project.Database()->System.Sound[3].Name);

    // A sound save of a map the game no longer has: listed, but loading it fails and says so.
    TSaveGame lost = ReadSaveGame(good, kTitle, DatabaseCheck(*database)).Game;
    lost.MapId = 7;
    WriteFileAtomic(SavePath(2), WriteSaveGame(lost));
    std::string error;
    EXPECT_FALSE(Session().LoadGame(2, error));
    EXPECT_NE(error.find("Save02.ksv: Map0007"), std::string::npos) << error;
    Run->Tap(gbUp);
    Run->Tap(gbDecide);
    EXPECT_EQ(Session().SceneName(), "load");
    EXPECT_EQ(Session().SaveScene()->Slot(), 2);
    EXPECT_EQ(State().Money(), 77);
}

TEST_F(GameSaveTest, SectionsOfANewerPlayerAreSkippedAndABadSectionIsLeftOut) {
    Play();
    Save(1);
    const TSaveGame saved = ReadSaveGame(SaveBytes(1), kTitle, DatabaseCheck(*Project.Database())).Game;
    // The file again with an unknown section 60 and a switches section that is not sound (its
    // record claims more bytes than it holds), both before the end mark.
    std::string bytes = SaveBytes(1);
    bytes.resize(bytes.size() - 5);  // the end mark and the check sum
    // A second effects section, sound up to its shake position, which is not a number: nothing of
    // it may stay, or the game would be saved with a value no reader takes.
    const std::string badEffects("\x13\x1e\x01\x01\x1f\x04\x01\x19\x05\x01\x64\x06\x02\x82\x2c\x07\x01\x05"
                                 "\x08\x01\x06\x0a\x08\x4b\x04\x00\x00\x00\xfb\xff\xff\x00",
                                 32);
    const std::string extra = std::string("\x3C\x03\x01\x01\x05", 5) + std::string("\x02\x03\x01\x09\x00", 5) + badEffects;
    bytes += extra + '\0';
    const std::uint32_t crc = SaveCrc(bytes);
    for (int b = 0; b < 4; ++b)
        bytes += static_cast<char>(crc >> (8 * b));
    const TSaveRead read = ReadSaveGame(bytes, kTitle, DatabaseCheck(*Project.Database()));
    ASSERT_EQ(read.Problem, TSaveProblem::None) << read.Message;
    EXPECT_EQ(read.Game.Money, 4321);
    // The second switches section was left out; the first one stands.
    EXPECT_EQ(read.Game.Switches, saved.Switches);
    EXPECT_FALSE(read.Game.Has(60));
    EXPECT_EQ(read.Game.Effects.ShakePosition, saved.Effects.ShakePosition);
    EXPECT_EQ(read.Game.Effects.FlashColor, saved.Effects.FlashColor);
    EXPECT_EQ(ReadSaveGame(WriteSaveGame(read.Game), kTitle, DatabaseCheck(*Project.Database())).Problem,
              TSaveProblem::None);

    // A route longer than any command line holds is left out with its section.
    TSaveGame longRoute = saved;
    longRoute.Routes.push_back(TSavedRoute{0, std::string(70000, '\x01'), 0, false, false, 8});
    const TSaveRead cut = ReadSaveGame(WriteSaveGame(longRoute), kTitle, DatabaseCheck(*Project.Database()));
    ASSERT_EQ(cut.Problem, TSaveProblem::None) << cut.Message;
    EXPECT_FALSE(cut.Game.Has(kSectionRoutes));
    EXPECT_TRUE(cut.Game.Routes.empty());
    EXPECT_TRUE(cut.Game.Has(kSectionEffects));
}

TEST_F(GameSaveTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    Save(1);
    const std::string before = SaveBytes(1);
    State().SetMoney(999);
    // A disk that is full: writes past a few bytes fail.
    IgnoreFileSizeLimitSignal();
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool saved = Session().SaveGame(1, error);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_NE(error.find("Save01.ksv: the game could not be saved"), std::string::npos) << error;
    EXPECT_EQ(SaveBytes(1), before);
    EXPECT_TRUE(ListSaveTempFiles(Project.Root().string()).empty());
    // The save screen says so and stays open.
    Session().OpenSaveScreen();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Run->Tap(gbDecide);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(Session().SceneName(), "save");
    EXPECT_EQ(SaveBytes(1), before);
}

TEST_F(GameSaveTest, TitleContinueLoadsAndSaveCommandsWork) {
    // Without a save "Continue" is greyed: decide on it buzzes.
    Open(Project.Options(true));
    Run->Tap(gbDown);
    Run->Tap(gbDecide);
    EXPECT_EQ(Session().SceneName(), "title");
    // Enable/Disable Save.
    Run->Tap(gbUp);
    Run->Tap(gbDecide);
    ASSERT_EQ(Session().SceneName(), "map");
    TKelEventScriptList script;
    FillScript(script, {{TC::EnableSave, 0, "", {0}}});
    TInterpreter in(Session(), false);
    in.Start(script, 0, 1);
    in.Update();
    EXPECT_FALSE(Session().SaveAllowed());
    FillScript(script, {{TC::EnableSave, 0, "", {1}}});
    in.Start(script, 0, 1);
    in.Update();
    EXPECT_TRUE(Session().SaveAllowed());
    State().SetMoney(55);
    Run->Wait(120);
    Save(4);
    // Continue: the load screen, slot 4 chosen, the game as saved.
    Open(Project.Options(true));
    Run->Tap(gbDown);
    Run->Tap(gbDecide);
    ASSERT_EQ(Session().SceneName(), "load");
    EXPECT_NE(Game->StateJson().find("\"scene\": \"load\""), std::string::npos);
    for (int i = 0; i < 3; ++i)
        Run->Tap(gbDown);
    Run->Tap(gbDecide);
    EXPECT_EQ(Session().SceneName(), "map");
    EXPECT_EQ(State().Money(), 55);
    EXPECT_GE(Session().PlayFrames(), 120);
    EXPECT_NE(Game->StateJson().find("\"playtime\": " + std::to_string(Session().PlayFrames())), std::string::npos);
}

TEST_F(GameSaveTest, GameOverShowsItsMusicThenTheTitle) {
    Open(Project.Options(true));
    Run->Tap(gbDecide);  // New Game
    TKelEventScriptList script;
    FillScript(script, {{TC::GameOver, 0, "", {}}});
    TInterpreter in(Session(), false);
    in.Start(script, 0, 1);
    Audio.Requests.clear();
    in.Update();
    EXPECT_EQ(Session().SceneName(), "gameover");
    ASSERT_FALSE(Audio.Requests.empty());
    EXPECT_EQ(Audio.Requests.back(), "music " + Project.Database()->System.Music[7].Name);
    Run->Wait(10);
    EXPECT_EQ(Session().SceneName(), "gameover");
    Run->Tap(gbDecide);
    EXPECT_EQ(Session().SceneName(), "title");
}

// The save list with two saves, an unreadable one and the cursor on slot 2, against tests/runtime/golden/save-list.png
// (QUILLON_UPDATE_GOLDEN=1 writes it anew: look at it before committing).
TEST_F(GameSaveTest, SaveListMatchesItsGoldenPicture) {
    if (!std::filesystem::exists(std::string(TGameFont::SystemFolder()) + "/shnmk12.pcf.gz"))
        GTEST_SKIP() << "the game font is not installed";
    Run->Wait(75 * 60);  // 0:01:15 played
    Save(1);
    State().Hero(1)->Level = 12;
    State().Hero(1)->Hp = 345;
    Save(2);
    WriteFileAtomic(SavePath(3), "no save");
    Session().OpenSaveScreen();
    TOrlenBoard screen;
    Game->Draw(screen);
    const TBitmap picture = BoardToBitmap(screen);
    // The load screen of the same slots, under the build folder (test-shots/) for a look: the
    // unreadable slot greyed.
    Session().OpenLoadScreen();
    Game->Draw(screen);
    const std::filesystem::path shots = std::filesystem::path(QUILLON_BINARY_DIR) / "test-shots";
    std::filesystem::create_directories(shots);
    SavePicture(BoardToBitmap(screen), (shots / "load-list.png").string());
    const std::filesystem::path golden = std::filesystem::path(QUILLON_SOURCE_DIR) / "tests/runtime/golden/save-list.png";
    if (std::getenv("QUILLON_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(golden.parent_path());
        SavePicture(picture, golden.string());
        return;
    }
    TBitmap expected;
    ASSERT_NO_THROW(LoadPicture(expected, golden.string())) << golden;
    ASSERT_EQ(expected.Height(), picture.Height());
    EXPECT_EQ(DifferingRows(picture, expected), 0) << "rows that differ from the golden picture";
}

// Headless: the hero speaks to the saving event, saves in slot 2; a second run starts with
// --load 2 and shows the same state.
TEST_F(GameSaveTest, HeadlessSaveThenLoadGivesTheSameState) {
    const auto headless = [&](const std::string& script, std::vector<std::string> extra) {
        EXPECT_EQ(Headless(Project, script, std::move(extra)), 0);
        std::string json = ReadWholeFile(Project.Path("state.json"));
        const std::size_t at = json.find("\"frame\"");
        return json.erase(at, json.find('\n', at) - at);
    };
    const std::string saved = headless("5 -\n1 decide\n5 -\n1 down\n1 -\n1 decide\n", {});
    EXPECT_NE(saved.find("\"variables\": {\"10\": 1}"), std::string::npos) << saved;
    ASSERT_TRUE(FileExists(SavePath(2)));
    const std::string loaded = headless("", {"--load", "2"});
    EXPECT_EQ(loaded, saved);
    // A slot without a save: exit status 1.
    EXPECT_EQ(Headless(Project, "", {"--load", "5"}), 1);
}

// A save whose later sections hold values no game makes: it loads, and what it puts back stays
// within the game's bounds.
TEST_F(GameSaveTest, HostileValuesInASaveAreBounded) {
    Play();
    Save(1);
    TSaveRead read = ReadSaveGame(SaveBytes(1), kTitle, DatabaseCheck(*Project.Database()));
    ASSERT_EQ(read.Problem, TSaveProblem::None) << read.Message;
    TSaveGame& game = read.Game;
    game.Screen.ToneNow = {-1e300, 1e300, 50, 50};
    game.Screen.ToneFrames = 2147483647;
    game.Screen.WeatherDrops.assign(3 * 1000, 2147483647);
    game.Pictures.push_back(TSavedPicture{0, "Lost", false, false, {}, {}, 0, 0, 0, 0, 0, 0, 0});
    TSavedPicture& sun = game.Pictures.front();
    sun.CameraX = -2147483647 - 1;
    sun.FramesLeft = -5;
    sun.Angle = 1e300;
    sun.Target[2] = 1e9;  // magnification
    game.Vehicles[vkShip].MapId = 2;
    game.Vehicles[vkShip].X = 5000;
    game.MapState.EncounterSteps = -3;
    game.EncounterLeft = 2147483647;
    game.System.FontStyle = 40;
    game.ItemUses.emplace_back(1, 1000);
    game.ItemUses.emplace_back(77, 3);  // an item the party lacks
    game.HeroMotion.assign(17, 2147483647);
    for (TSavedEvent& event : game.Events)
        event.Motion.assign(17, -2147483647 - 1);
    game.Routes.push_back(TSavedRoute{0, std::string("\x01\x01", 2), 2147483647, false, false, 99});
    game.Routes.push_back(TSavedRoute{0, std::string("\x23\x05", 2), 0, false, false, 8});  // cut short
    game.Routes.push_back(TSavedRoute{777, std::string("\x01", 1), 0, false, false, 8});     // no such event
    game.Effects = TSavedEffects{{99, -4, 31, 2147483647}, 2147483647, -5,  9999, -3, 2147483647, 1e300, 0,
                                 true, true, false, 2147483647, -2147483647 - 1, 7, 7, 0, true, 2147483647, -9};
    game.MapLook.ChipSetId = 9999;
    game.MapLook.PanoramaChanged = true;
    game.MapLook.PanoramaSpeedX = 2147483647;
    game.MapLook.Lower.assign(7, 1);  // not the map's size
    game.MapLook.Upper.assign(7, 1);
    WriteFileAtomic(SavePath(4), WriteSaveGame(game));
    std::string error;
    ASSERT_TRUE(Session().LoadGame(4, error)) << error;
    const TGameScreen& screen = Session().Screen();
    EXPECT_EQ(screen.ToneNow()[0], 0);
    EXPECT_EQ(screen.ToneNow()[1], 200);
    EXPECT_LE(screen.ToneFramesLeft(), 100 * 60);
    const std::vector<int> drops = screen.Weather().DropValues();
    EXPECT_EQ(drops.size(), static_cast<std::size_t>(3 * screen.Weather().DropCount()));
    for (std::size_t i = 0; i + 2 < drops.size(); i += 3)
        ASSERT_TRUE(drops[i] <= 2 * 320 && drops[i + 1] <= 2 * 240 && drops[i + 2] <= 1000) << "drop " << i / 3;
    const TGamePicture& picture = *screen.Pictures().Picture(3);
    EXPECT_GE(picture.CameraX, -999 * 16);
    EXPECT_EQ(picture.FramesLeft, 0);
    EXPECT_LE(std::abs(picture.Angle), 7.0);
    EXPECT_LE(picture.Target.Magnification, 2000);
    EXPECT_EQ(screen.Pictures().Picture(0), nullptr);
    EXPECT_EQ(Session().World().Vehicle(vkShip).MapId, 0) << "a ship off its map stays at its start place (none here)";
    EXPECT_EQ(Session().MapState().EncounterSteps, 0);
    EXPECT_EQ(State().ItemUsesLeft(1), kMaxItemUses);
    EXPECT_EQ(State().ItemUsesLeft(77), 0);
    const TGameHero& hero = Session().World().Hero();
    EXPECT_LE(std::abs(hero.RealX - hero.X * kCellUnits), 16 * kCellUnits) << "a step or jump near its cell";
    EXPECT_LE(hero.Route().Index, hero.Route().Items.size());
    EXPECT_LE(hero.Route().Frequency, 8);
    const TSavedEffects effects = screen.SavedEffects(Session().World());
    EXPECT_LE(effects.FlashColor[0], 31);
    EXPECT_GE(effects.FlashTotal, 1);
    EXPECT_LE(effects.FlashFrames, effects.FlashTotal);
    EXPECT_LE(effects.ShakePower, 9);
    EXPECT_LE(std::abs(effects.ShakePosition), 18.0);
    EXPECT_GT(effects.PanSpeed, 0) << "a pan under way arrives";
    EXPECT_LE(effects.PanX, 2000 * 16 * 16);
    const TSavedMapLook look = Session().World().SavedLook();
    EXPECT_EQ(Session().World().Map().ChipSetId, 1) << "a chipset the database lacks is not taken";
    EXPECT_LE(look.PanoramaSpeedX, 8);
    EXPECT_TRUE(look.Lower.empty()) << "layers of another size are not taken";
    Run->Wait(5);  // the screen's effects and the steps run on what was put back
    EXPECT_EQ(Session().SceneName(), "map");
}

// The state JSON of a headless run without what belongs to the run rather than to the game: its
// frame count and play time, and the messages and choices it showed.
std::string GameStateOf(std::string json) {
    for (const char* key : {"\"frame\"", "\"playtime\"", "\"messages\"", "\"choices\""}) {
        std::size_t at = json.find(key);
        if (at == std::string::npos)
            continue;
        at = json.rfind('\n', at) + 1;
        json.erase(at, json.find('\n', at) + 1 - at);
    }
    return json;
}

// A player's evening: a shop left of the start sells a weapon, the menu puts it on, an inn above
// the start takes its price and heals the party, the menu saves in slot 1. A second run continues
// from slot 1: the same frames later it stands where the first did, the town's wanderer too.
TEST_F(GameSaveTest, HeadlessShopEquipInnSaveThenLoad) {
    auto database = Project.Database();
    const TGameState fresh(*database);
    const THeroState& leader = *fresh.Hero(fresh.Party().front());
    std::int32_t weapon = 0, price = 0;
    for (int i = 0; i < database->Item.Count() && weapon == 0; ++i) {
        const TKelItemItem& item = *database->Item.Items(i);
        if (item.ID != leader.Equipment[0] && item.Price > 0 && item.Price <= 500 && HeroMayEquip(*database, leader, 0, item.ID))
            weapon = item.ID, price = item.Price;
    }
    ASSERT_NE(weapon, 0);
    auto map = TProjectFolder::MakeMap1();
    TKelEventPageItem& shop = AddEvent(*map, 10, 9, 10);
    shop.Priority = 1;
    FillScript(shop.Script, {{TC::ChangeMoney, 0, "", {0, 0, 500}}, {TC::CallShop, 0, "", {stBuyOnly, 0, 0, 0, weapon}}});
    TKelEventPageItem& inn = AddEvent(*map, 11, 10, 9);
    inn.Priority = 1;
    FillScript(inn.Script, {{TC::ChangeHp, 0, "", {0, 0, 1, 0, 9999, 0}}, {TC::CallInn, 0, "", {0, 30, 0}}});
    Project.WriteMap(*map, 1);

    const std::string evening =
        "1 left\n5 -\n1 decide\n5 -\n"                      // face the shop, talk
        "1 decide\n1 -\n1 decide\n1 -\n1 decide\n5 -\n"     // Buy, the weapon, one of it
        "1 cancel\n1 -\n1 cancel\n5 -\n"                    // out of the list, out of the shop
        "1 cancel\n1 -\n1 down\n1 -\n1 down\n1 -\n"         // the menu, Equipment
        "1 decide\n1 -\n1 decide\n1 -\n1 decide\n1 -\n1 decide\n5 -\n"  // the hero, the weapon slot, the weapon
        "1 cancel\n1 -\n1 cancel\n1 -\n1 cancel\n5 -\n"     // back to the map
        "1 up\n5 -\n1 decide\n5 -\n1 decide\n1 -\n1 decide\n320 -\n"  // the inn: talk, the text, Stay, the night
        "1 cancel\n1 -\n1 down\n1 -\n1 down\n1 -\n1 down\n1 -\n1 decide\n5 -\n1 decide\n"  // Save, slot 1
        "90 -\n";  // the town goes on: the wanderer walks
    ASSERT_EQ(Headless(Project, evening), 0);
    const std::string saved = ReadWholeFile(Project.Path("state.json"));
    ASSERT_TRUE(FileExists(SavePath(1))) << saved;
    EXPECT_NE(saved.find("\"scene\": \"map\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"money\": " + std::to_string(500 - price - 30) + ","), std::string::npos)
        << "the weapon's price and the inn's 30 paid: " << saved;
    EXPECT_NE(saved.find("\"equipment\": [" + std::to_string(weapon) + ","), std::string::npos) << saved;
    EXPECT_EQ(saved.find("\"hp\": 1,"), std::string::npos) << "the inn healed the party: " << saved;

    ASSERT_EQ(Headless(Project, "90 -\n", {"--load", "1"}), 0);
    EXPECT_EQ(GameStateOf(ReadWholeFile(Project.Path("state.json"))), GameStateOf(saved));
}

// A seed of the save reader's fuzz target with the check sum it lacks.
std::string SeedSave(const char* name) {
    std::string bytes = ReadWholeFile(std::string(QUILLON_SOURCE_DIR) + "/tests/fuzz/corpus_savegame/" + name);
    const std::uint32_t crc = SaveCrc(bytes);
    for (int b = 0; b < 4; ++b)
        bytes += static_cast<char>(crc >> (8 * b));
    return bytes;
}

// The format byte by byte: the fuzz target's seed (title "", database check 0) reads as below and
// is written again to the same bytes. A change here breaks the saves players have.
TEST(SaveFormat, ASmallSaveReadsAndWritesByteForByte) {
    const std::string bytes = SeedSave("seed-small");
    const TSaveRead read = ReadSaveGame(bytes, "", 0);
    ASSERT_EQ(read.Problem, TSaveProblem::None) << read.Message;
    const TSaveGame& game = read.Game;
    EXPECT_EQ(game.Money, 5);
    EXPECT_TRUE(game.TimerRunning);
    EXPECT_EQ(game.Switches, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(game.Variables, (std::vector<std::pair<std::int32_t, std::int32_t>>{{4, -1}}));
    ASSERT_EQ(game.Heroes.size(), 1u);
    EXPECT_EQ(game.Heroes[0].Id, 1);
    EXPECT_EQ(game.Heroes[0].Name, "AB");
    EXPECT_EQ(game.Heroes[0].Level, 7);
    EXPECT_EQ(game.Heroes[0].Equipment[0], 3);
    EXPECT_EQ(game.Party, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(game.MapId, 1);
    EXPECT_EQ(game.HeroX, 3);
    EXPECT_EQ(game.HeroY, 4);
    EXPECT_EQ(game.HeroDirection, 2);
    EXPECT_EQ(game.Events, (std::vector<TSavedEvent>{{1, 2, 0, 2, true}, {5, 0, 0, 1, false}}));
    ASSERT_EQ(game.Scripts.size(), 1u);
    EXPECT_EQ(game.Scripts[0].Kind, skEventParallel);
    EXPECT_EQ(game.Scripts[0].Frames, (std::vector<TSavedFrame>{{0, 0, 0, 1, 2}}));
    EXPECT_EQ(WriteSaveGame(game), bytes);
}

// The map's look, a route and the screen's effects byte by byte: the fuzz target's second seed
// (the small save with those three sections after it) reads as below and is written again to the
// same bytes.
TEST(SaveFormat, TheMapRouteAndEffectSectionsReadAndWriteByteForByte) {
    const std::string bytes = SeedSave("seed-map-route-effects");
    const TSaveRead read = ReadSaveGame(bytes, "", 0);
    ASSERT_EQ(read.Problem, TSaveProblem::None) << read.Message;
    const TSaveGame& game = read.Game;
    ASSERT_TRUE(game.Has(kSectionMapLook) && game.Has(kSectionRoutes) && game.Has(kSectionEffects));
    const TSavedMapLook& look = game.MapLook;
    EXPECT_EQ(look.ChipSetId, 2);
    EXPECT_TRUE(look.PanoramaChanged && look.PanoramaEnabled && look.PanoramaPanX && look.PanoramaAutoX);
    EXPECT_FALSE(look.PanoramaPanY || look.PanoramaAutoY);
    EXPECT_EQ(look.PanoramaName, "Sky");
    EXPECT_EQ(look.PanoramaSpeedX, 3);
    EXPECT_EQ(look.PanoramaOffsetX, 90);
    EXPECT_EQ(look.Lower, (std::vector<std::uint16_t>{1, 2}));
    EXPECT_EQ(look.Upper, (std::vector<std::uint16_t>{10000, 10006}));
    EXPECT_EQ(game.Routes, (std::vector<TSavedRoute>{{0, std::string("\x03\x03\x02", 3), 1, true, false, 7}}));
    const TSavedEffects& e = game.Effects;
    EXPECT_EQ(e.FlashColor, (std::array<std::int32_t, 4>{31, 0, 0, 25}));
    EXPECT_EQ(e.FlashFrames, 100);
    EXPECT_EQ(e.FlashTotal, 300);
    EXPECT_EQ(e.ShakePower, 5);
    EXPECT_EQ(e.ShakeSpeed, 6);
    EXPECT_EQ(e.ShakePosition, 3.5);
    EXPECT_EQ(e.ShakeDirection, 1);
    EXPECT_TRUE(e.PanFixed && e.PanMoving && !e.PanReturning && e.CameraHeld);
    EXPECT_EQ(e.PanX, 768);
    EXPECT_EQ(e.PanSpeed, 2);
    EXPECT_EQ(e.HeldX, 3);
    EXPECT_EQ(WriteSaveGame(game), bytes);
}

TEST(SavePlayTime, Formats) {
    const struct {
        std::int64_t Frames;
        const char* Text;
    } cases[] = {{0, "0:00:00"}, {59, "0:00:00"}, {60, "0:00:01"}, {60 * 61, "0:01:01"},
                 {60 * 3600 * 12 + 60 * 59, "12:00:59"}, {-5, "0:00:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatPlayTime(c.Frames), c.Text) << c.Frames;
}

}  // namespace
}  // namespace quillon::runtime::test
