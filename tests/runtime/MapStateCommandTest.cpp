// Map state and music commands: permissions into the state JSON, password keys, chips, chipsets
// and panoramas, teleport and escape places, parallel events stopped, the scenes still to come,
// and the music memorized, faded and changed.
#include "runtime/GameFixture.h"

#include "data/LD_ChipSet.h"
#include "runtime/GameAudio.h"
#include "runtime/GameInput.h"
#include "runtime/GameMapState.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillon::runtime::test {
namespace {

class MapStateCommandTest : public TGameTest {
protected:
    void SetUp() override {
        OpenGame();
    }
    TGameMapState& MapState() { return Session().MapState(); }
    int Run(const std::vector<TLine>& lines, std::vector<std::uint32_t> buttons = {}, int steps = 200) {
        return RunScript(*Game, Script, lines, steps, 0, buttons, Running);
    }
};

TEST_F(MapStateCommandTest, PermissionsShowInTheStateJson) {
    EXPECT_NE(Game->StateJson().find("\"flags\": {\"save\": true, \"menu\": true, \"escape\": true, \"teleport\": true}"),
              std::string::npos);
    Run({{TC::EnableSave, 0, "", {0}}, {TC::EnableSystemMenu, 0, "", {0}}, {TC::EnableEscape, 0, "", {0}},
         {TC::EnableTeleport, 0, "", {0}}, {TC::EnableEscape, 0, "", {1}}});
    EXPECT_NE(Game->StateJson().find("\"flags\": {\"save\": false, \"menu\": false, \"escape\": true, \"teleport\": false}"),
              std::string::npos);
    EXPECT_NE(Game->StateJson().find("\"riding\": null"), std::string::npos);
    EXPECT_NE(Game->StateJson().find("\"memorized\": null"), std::string::npos);
    EXPECT_NE(Game->StateJson().find("\"bgm\": \"Town\""), std::string::npos);
}

TEST_F(MapStateCommandTest, PasswordTakesOnlyAcceptedKeysAndWaitsWhenAsked) {
    // Flags 3..9: decide, cancel, shift, down, left, right, up.
    const std::vector<std::int32_t> arrowsOnly = {7, 1, 0, 0, 0, 0, 1, 1, 1, 1};
    const std::vector<std::int32_t> noWait = {7, 0, 0, 1, 1, 1, 1, 1, 1, 1};
    struct TCase {
        std::vector<std::int32_t> Params;
        std::vector<std::uint32_t> Buttons;
        std::int32_t Key;
        int Steps;
    } cases[] = {
        {arrowsOnly, {gbDecide, 0, gbDecide, 0, gbLeft}, 2, 5},  // decide is not accepted
        {arrowsOnly, {gbUp}, -1, 20},                             // pressed in the first step: not an answer
        {arrowsOnly, {0, gbRight}, 3, 2},
        {noWait, {gbShift}, 7, 1},
        {noWait, {0}, 0, 1},
    };
    for (const TCase& c : cases) {
        State().SetVariable(7, -1);
        const int steps = Run({{TC::EnterPassword, 0, "", c.Params}}, c.Buttons, 20);
        EXPECT_EQ(State().Variable(7), c.Key) << c.Buttons.size();
        EXPECT_EQ(steps, c.Steps) << c.Buttons.size();
    }
}

TEST_F(MapStateCommandTest, ChipsChipSetAndPanoramaChange) {
    TGameWorld& world = Session().World();
    ::testing::internal::CaptureStderr();
    Run({{TC::ChangeChip, 0, "", {0, LowerTableIndex(kWall), LowerTableIndex(kGrass)}},
         {TC::ChangeChip, 0, "", {1, UpperTileIndex(kStar), UpperTileIndex(kCounter)}},
         {TC::ChangeChip, 0, "", {0, 500, 1}},  // no such chip: nothing
         {TC::ChangeChipSet, 0, "", {42}},
         {TC::ChangePanorama, 0, "Sky", {1, 0, 1, -3, 0, 9}},
         {TC::ChangeEncounterRate, 0, "", {25}}});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Change ChipSet: there is no chipset 42"), std::string::npos) << said;
    EXPECT_EQ(world.Map().LowerLayer.Cell(15, 3), kGrass);  // the wall column is gone
    EXPECT_TRUE(world.TilePassable(15, 3, dLeft));
    EXPECT_EQ(world.Map().UpperLayer.Cell(8, 8), kCounter);
    EXPECT_TRUE(world.IsCounter(8, 8));
    EXPECT_EQ(world.Map().ChipSetId, 1);
    EXPECT_TRUE(world.Map().PanoramaEnabled);
    EXPECT_EQ(world.Map().PanoramaName, "Sky");
    EXPECT_EQ(world.Map().PanoramaHorizontalSpeed, -3);
    EXPECT_EQ(world.Map().PanoramaVerticalSpeed, 8);  // kept within -8..8
    EXPECT_EQ(MapState().EncounterSteps, 25);

    // A new visit reads the map file again.
    std::string error;
    ASSERT_TRUE(Session().Teleport(2, 1, 1, error));
    ASSERT_TRUE(Session().Teleport(1, 10, 10, error));
    EXPECT_EQ(world.Map().LowerLayer.Cell(15, 3), kWall);
}

TEST_F(MapStateCommandTest, WaterKeepsItsShapeWhenItsChipChanges) {
    std::string error;
    ASSERT_TRUE(Session().Teleport(2, 1, 1, error));
    const TKelMapLayer& lower = Session().World().Map().LowerLayer;
    const std::int32_t before = lower.Cell(5, 3);  // water of kind 0 with shape 5
    Run({{TC::ChangeChip, 0, "", {0, 0, 1}}, {TC::ChangeChip, 0, "", {0, TileToChip(MakeGroundTile(2, 0)), 40}}});
    EXPECT_EQ(lower.Cell(5, 3), before + 1000);  // kind 1, same corners and shape
    EXPECT_EQ(lower.Cell(2, 6), ChipToTile(40));  // an autotile becomes a plain tile
}

TEST_F(MapStateCommandTest, TeleportAndEscapePlacesAreCheckedAndKept) {
    ::testing::internal::CaptureStderr();
    Run({{TC::SetTeleportPlace, 0, "", {0, 2, 3, 4, 1, 12}},
         {TC::SetTeleportPlace, 0, "", {0, 1, 2, 2, 0, 0}},
         {TC::SetTeleportPlace, 0, "", {0, 7, 1, 1, 0, 0}},   // no map 7
         {TC::SetTeleportPlace, 0, "", {1, 1, 0, 0, 0, 0}},   // remove map 1's
         {TC::SetEscapePlace, 0, "", {2, 30, 3, 0, 0}},       // outside map 2
         {TC::SetEscapePlace, 0, "", {1, 4, 5, 1, 9}}});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Place of Teleport: Map0007"), std::string::npos) << said;
    EXPECT_NE(said.find("Place Escape Area: Map0002.kmu: the cell (30, 3)"), std::string::npos) << said;
    ASSERT_EQ(MapState().TeleportPlaces.size(), 1u);
    EXPECT_EQ(MapState().TeleportPlaces.at(2).Place, (TMapPlace{2, 3, 4}));
    EXPECT_EQ(MapState().TeleportPlaces.at(2).SwitchId, 12);
    ASSERT_TRUE(MapState().EscapePlace);
    EXPECT_EQ(MapState().EscapePlace->Place, (TMapPlace{1, 4, 5}));
    EXPECT_EQ(MapState().EscapePlace->SwitchId, 9);
}

TEST_F(MapStateCommandTest, StoppedParallelEventsRestUntilAMapIsEntered) {
    State().SetSwitch(2, true);  // event 3 counts in variable 2 while it is on
    TRun run(*Game);
    run.Wait(30);
    const std::int32_t counted = State().Variable(2);
    EXPECT_GT(counted, 0);
    Run({{TC::StopParallelEvents, 0, "", {}}});
    run.Wait(30);
    EXPECT_EQ(State().Variable(2), counted);
    std::string error;
    ASSERT_TRUE(Session().Teleport(2, 1, 1, error));
    ASSERT_TRUE(Session().Teleport(1, 10, 10, error));
    run.Wait(30);
    EXPECT_GT(State().Variable(2), counted);
}

TEST_F(MapStateCommandTest, GameOverAndTitleEndTheScript) {
    Run({{TC::GameOver, 0, "", {}}, {TC::ChangeVariable, 0, "", {0, 1, 0, 0, 0, 1, 0}}});
    EXPECT_EQ(Session().SceneName(), "gameover");
    EXPECT_EQ(State().Variable(1), 0);
    // The map leaves by the teleport's erase; an instant one takes no frames (the screen does not
    // step here).
    Session().Screen().SetTransition(tsTeleportErase, ttInstant);
    Run({{TC::GoToTitleScreen, 0, "", {}}});
    EXPECT_EQ(Session().SceneName(), "title");
}

TEST_F(MapStateCommandTest, MusicIsMemorizedFadedAndPlayedAgain) {
    ::testing::internal::CaptureStderr();
    Run({{TC::PlayBgm, 0, "Dungeon", {2000, 80, 120, 30}},
         {TC::MemorizeBgm, 0, "", {}},
         {TC::PlayBgm, 0, "Field", {0, 100, 100, 50}},
         {TC::FadeOutBgm, 0, "", {3}},
         {TC::PlayMovie, 0, "Intro", {0, 0, 0, 320, 240}},
         {TC::PlayMemorizedBgm, 0, "", {}},
         {TC::ChangeSystemMusic, 0, "Sail", {3, 0, 90, 100, 50}},
         {TC::ChangeSystemSound, 0, "Ping", {1, 70, 110, 40}}});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Play Movie: \"Intro\""), std::string::npos);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
    const std::vector<std::string> expected = {"music Dungeon", "music Field", "fade", "music Dungeon"};
    ASSERT_GE(Audio.Requests.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), Audio.Requests.end() - 4));
    EXPECT_EQ(MapState().Playing.Volume, 80);  // with its own settings
    EXPECT_EQ(MapState().Playing.Tempo, 120);
    const TKelSystem& system = Session().Project().Database().System;
    EXPECT_EQ(system.Music[4].Name, "Sail");  // kind 3, the boat's
    EXPECT_EQ(system.Music[4].Volume, 90);
    EXPECT_EQ(system.Sound[1].Name, "Ping");
    EXPECT_EQ(system.Sound[1].Balance, 40);
    // A new game starts from the database's own system music and sounds.
    std::string error;
    ASSERT_TRUE(Session().NewGame(error)) << error;
    EXPECT_NE(system.Music[4].Name, "Sail");
    EXPECT_NE(system.Sound[1].Name, "Ping");
}

TEST_F(MapStateCommandTest, EventsMoveDuringMessagesOnlyWhenTheOptionsSaySo) {
    for (const int meanwhile : {0, 1}) {
        SetUp();
        TGameWorld& world = Session().World();
        Run({{TC::MessageOptions, 0, "", {0, 2, 0, meanwhile}},
             {TC::SetMoveRoute, 0, "", {5, 0, 1, 1, 3}}});  // the shopkeeper walks left, again and again
        Session().Messages().ShowMessage({"Hold on"}, Session());
        TRun(*Game).Wait(60);
        ASSERT_TRUE(Session().MessageBusy());
        EXPECT_EQ(world.EventById(5)->X < 18, meanwhile == 1) << meanwhile;
    }
}

}  // namespace
}  // namespace quillon::runtime::test
