// Places, characters and vehicles: memorized places, events put on cells and swapped, what a cell
// holds, flashes and transparency, every move command of a route, and the vehicles with their
// terrain, boarding, leaving and music.
#include "runtime/GameFixture.h"

#include "data/LD_ChipSet.h"
#include "data/LD_Ground.h"
#include "data/LD_MoveRoute.h"
#include "data/StreamUtils.h"
#include "runtime/GameAudio.h"
#include "runtime/GameMapState.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillon::runtime::test {
namespace {

// Terrains of the fixture: 1 grass, 2 shallow water (boat and ship), 3 deep water (ship), 4 a
// forest the airship may cross but not land in.
constexpr std::uint16_t kShallow = MakeWaterTile(0, 0, 0);
constexpr std::uint16_t kDeep = MakeWaterTile(1, 0, 0);
constexpr std::uint16_t kForest = kTileLowerFirst + 2;
constexpr int kShallowRow = 12;  // rows 12 and 13 shallow, 14 deep, from column 6 to 14
constexpr int kDeepRow = 14;
constexpr std::int32_t kStill = 6;  // an event that stays at (3, 3)

class PlaceCommandTest : public TGameTest {
protected:
    void SetUp() override {
        auto database = Project.Database();
        TKelChipSetItem& chips = database->ChipSet.Obtain(1);
        chips.SetTerrainId(LowerTableIndex(kShallow), 2);
        chips.SetTerrainId(LowerTableIndex(kDeep), 3);
        chips.SetTerrainId(LowerTableIndex(kForest), 4);
        chips.SetLowerFlags(LowerTableIndex(kShallow), 0);
        chips.SetLowerFlags(LowerTableIndex(kDeep), 0);
        for (int id = 1; id <= 4; ++id)
            database->Ground.Obtain(id);
        database->Ground.FindByID(2)->BoatPassable = 1;
        database->Ground.FindByID(2)->ShipPassable = 1;
        database->Ground.FindByID(3)->ShipPassable = 1;
        database->Ground.FindByID(4)->AirshipLanding = 0;
        database->System.Music[4].Name = "Sail";
        database->System.Music[6].Name = "Fly";
        Project.WriteDatabase(*database);

        auto map = TProjectFolder::MakeMap1();
        for (int x = 6; x <= 14; ++x) {
            map->LowerLayer.SetCell(x, kShallowRow, kShallow);
            map->LowerLayer.SetCell(x, kShallowRow + 1, kShallow);
            map->LowerLayer.SetCell(x, kDeepRow, kDeep);
        }
        map->LowerLayer.SetCell(9, 9, kForest);
        AddEvent(*map, kStill, 3, 3).GraphicName = "People";
        Project.WriteMap(*map, 1);
        OpenGame();
    }
    TGameWorld& World() { return Session().World(); }
    TGameCharacter& Still() { return *World().EventById(kStill); }
    int Run(const std::vector<TLine>& lines, std::int32_t eventId = 0, int steps = 200) {
        return RunScript(*Game, Script, lines, steps, eventId, {}, Running);
    }
    // Runs a script and answers what it wrote on standard error.
    std::string RunReporting(const std::vector<TLine>& lines) {
        ::testing::internal::CaptureStderr();
        Run(lines);
        return ::testing::internal::GetCapturedStderr();
    }
    void PutHero(int x, int y, int direction) {
        World().PlaceCharacter(World().Hero(), x, y);
        World().Hero().Direction = direction;
    }
};

TEST_F(PlaceCommandTest, MemorizedPlaceLeadsBackAcrossMaps) {
    Run({{TC::MemorizePlace, 0, "", {1, 2, 3}}, {TC::Teleport, 0, "", {2, 3, 4}}});
    EXPECT_EQ(State().Variable(1), 1);
    EXPECT_EQ(State().Variable(2), 10);
    EXPECT_EQ(State().Variable(3), 10);
    ASSERT_EQ(World().MapId(), 2);
    Run({{TC::GoToMemorizedPlace, 0, "", {1, 2, 3}}});
    EXPECT_EQ(World().MapId(), 1);
    EXPECT_EQ(World().Hero().X, 10);
    EXPECT_EQ(World().Hero().Y, 10);
    EXPECT_NE(Game->StateJson().find("\"memorized\": {\"map\": 1, \"x\": 10, \"y\": 10}"), std::string::npos);
}

TEST_F(PlaceCommandTest, PlacesOnMissingMapsOrOutsideAreRefusedWithALine) {
    State().SetVariable(1, 99);  // no such map
    State().SetVariable(2, 1);
    State().SetVariable(3, 30);  // beyond the map's 20 rows
    struct TCase {
        TLine Line;
        const char* Said;
    } cases[] = {
        {{TC::GoToMemorizedPlace, 0, "", {1, 2, 2}}, "Map0099"},
        {{TC::GoToMemorizedPlace, 0, "", {2, 2, 3}}, "outside the map"},
        {{TC::SetVehiclePlace, 0, "", {0, 0, 99, 1, 1}}, "Map0099"},
        {{TC::SetVehiclePlace, 0, "", {1, 1, 2, 2, 3}}, "outside the map"},  // by variables: map 1, (1, 30)
        {{TC::SetVehiclePlace, 0, "", {2, 0, 2, 20, 0}}, "outside the map"},  // map 2 is 20 wide
        {{TC::SetEventPlace, 0, "", {kStill, 0, 25, 0}}, "outside the map"},
        {{TC::SetEventPlace, 0, "", {10001, 1, 2, 3}}, "outside the map"},
    };
    for (const TCase& c : cases) {
        const std::string said = RunReporting({c.Line});
        EXPECT_NE(said.find(c.Said), std::string::npos) << ToInt(c.Line.Code) << ": " << said;
        EXPECT_EQ(World().MapId(), 1);
        EXPECT_EQ(World().Hero().X, 10);
        EXPECT_EQ(Still().X, 3);
        for (int kind = 0; kind < kVehicleCount; ++kind)
            EXPECT_EQ(World().Vehicle(kind).MapId, 0);
    }
}

TEST_F(PlaceCommandTest, MissingCharactersMakeTheCommandsDoNothing) {
    World().EventById(1)->Erased = true;
    for (const std::int32_t missing : {77, 10002, 1}) {  // no event, a vehicle on no map, an erased event
        const std::string said = RunReporting({{TC::SetEventPlace, 0, "", {missing, 0, 4, 4}},
                                               {TC::SwapEvents, 0, "", {missing, kStill}},
                                               {TC::SwapEvents, 0, "", {kStill, missing}},
                                               {TC::FlashEvent, 0, "", {missing, 31, 0, 0, 31, 10, 1}},
                                               {TC::SetMoveRoute, 0, "", {missing, 0, 0, 0, 1}},
                                               {TC::ChangeVariable, 0, "", {0, 9, 0, 0, 0, 1, 0}}});
        EXPECT_EQ(State().Variable(9), 1) << missing;  // went on at once: the flash did not wait
        EXPECT_TRUE(said.empty()) << said;
        EXPECT_EQ(Still().X, 3);
        EXPECT_EQ(Still().Y, 3);
        State().SetVariable(9, 0);
    }
    EXPECT_EQ(World().EventById(1)->X, 12);
}

TEST_F(PlaceCommandTest, EventsMoveByNumbersOrVariablesAndCellsAreRead) {
    State().SetVariable(11, 7);
    State().SetVariable(12, 8);
    Run({{TC::SetEventPlace, 0, "", {kStill, 1, 11, 12}},          // to (7, 8) by variables
         {TC::GetEventId, 0, "", {1, 11, 12, 21}},                 // who stands at (7, 8)
         {TC::GetEventId, 0, "", {0, 3, 3, 22}},                   // nobody at (3, 3) now
         {TC::SwapEvents, 0, "", {kStill, 5}},                     // with the shopkeeper at (18, 4)
         {TC::GetEventId, 0, "", {0, 18, 4, 23}},
         {TC::GetTerrainId, 0, "", {0, 8, kDeepRow, 24}},
         {TC::GetTerrainId, 0, "", {0, 9, 9, 25}},
         {TC::GetTerrainId, 0, "", {0, 40, 9, 26}},                 // outside the map: 0
         {TC::SetEventPlace, 0, "", {10005, 0, 2, 2}}},             // "this event": the shopkeeper
        5);
    EXPECT_EQ(State().Variable(21), kStill);
    EXPECT_EQ(State().Variable(22), 0);
    EXPECT_EQ(State().Variable(23), kStill);
    EXPECT_EQ(State().Variable(24), 3);
    EXPECT_EQ(State().Variable(25), 4);
    EXPECT_EQ(State().Variable(26), 0);
    EXPECT_EQ(Still().X, 18);
    EXPECT_EQ(World().EventById(5)->X, 2);
    EXPECT_EQ(World().EventsAt(18, 4).size(), 1u);  // filed under the cells they moved to
    EXPECT_TRUE(World().EventsAt(7, 8).empty());
}

TEST_F(PlaceCommandTest, FlashWaitsForItsTimeAndTheHeroTurnsTranslucent) {
    const int steps = Run({{TC::FlashEvent, 0, "", {10001, 31, 31, 0, 31, 5, 1}}, {TC::SetHeroTranslucency, 0, "", {0}}});
    EXPECT_EQ(steps, 5 * kStepsPerTenth + 2);  // the flash, its 30 frames, the next line
    EXPECT_EQ(World().Hero().FlashTotal, 30);
    EXPECT_EQ(World().Hero().FlashStrength(), 32);  // the world did not step: still at full power
    EXPECT_EQ(World().Hero().Opacity, kTranslucentOpacity);
    Run({{TC::SetHeroTranslucency, 0, "", {1}}});
    EXPECT_EQ(World().Hero().Opacity, 255);
}

// Each move command of a route, run by "Move Character" on the hero or on the still event.
TEST_F(PlaceCommandTest, EveryMoveCommandOfARoute) {
    struct TCase {
        std::int32_t Who;
        std::vector<std::int32_t> Route;
        std::function<void(const TGameCharacter&)> Check;
    };
    const auto at = [](int x, int y) {
        return [x, y](const TGameCharacter& c) {
            EXPECT_EQ(c.X, x);
            EXPECT_EQ(c.Y, y);
        };
    };
    const auto facing = [](int direction) {
        return [direction](const TGameCharacter& c) { EXPECT_EQ(c.Direction, direction); };
    };
    const std::vector<TCase> cases = {
        {10001, {0}, at(10, 9)},      {10001, {1}, at(11, 10)},     {10001, {2}, at(10, 11)},
        {10001, {3}, at(9, 10)},      {10001, {4}, at(11, 9)},      {10001, {5}, at(11, 11)},
        {10001, {6}, at(9, 11)},      {10001, {7}, at(9, 9)},       {10001, {11}, at(10, 11)},
        {10001, {8}, [](const TGameCharacter& c) { EXPECT_EQ(std::abs(c.X - 10) + std::abs(c.Y - 10), 1); }},
        {kStill, {9}, at(4, 3)},      {kStill, {10}, at(2, 3)},     {kStill, {21}, facing(dRight)},
        {kStill, {22}, facing(dLeft)},
        {10001, {12}, facing(dUp)},   {10001, {13}, facing(dRight)}, {10001, {15}, facing(dLeft)},
        {10001, {16}, facing(dLeft)}, {10001, {17}, facing(dRight)}, {10001, {18}, facing(dUp)},
        {10001, {19}, [](const TGameCharacter& c) { EXPECT_EQ(c.Direction % 2, 1); }},
        {10001, {20}, [](const TGameCharacter& c) { EXPECT_EQ(c.X, 10); }},
        {10001, {23, 0}, at(10, 9)},
        {10001, {24, 1, 1, 0, 25}, at(12, 9)},
        {10001, {26, 12}, facing(dDown)},
        {10001, {26, 27, 12}, facing(dUp)},
        {10001, {28}, [](const TGameCharacter& c) { EXPECT_EQ(c.Speed, 5); }},
        {10001, {29, 29}, [](const TGameCharacter& c) { EXPECT_EQ(c.Speed, 2); }},
        {10001, {30}, [](const TGameCharacter& c) { EXPECT_EQ(c.Frequency, 7); }},
        {10001, {31}, [](const TGameCharacter& c) { EXPECT_EQ(c.Frequency, 5); }},
        {kStill, {36}, [](const TGameCharacter& c) { EXPECT_TRUE(c.Through); }},
        {kStill, {36, 37}, [](const TGameCharacter& c) { EXPECT_FALSE(c.Through); }},
        {10001, {38}, [](const TGameCharacter& c) { EXPECT_TRUE(c.AnimationStopped); }},
        {10001, {38, 39}, [](const TGameCharacter& c) { EXPECT_FALSE(c.AnimationStopped); }},
        {10001, {40}, [](const TGameCharacter& c) { EXPECT_EQ(c.Opacity, 255 - 32); }},
        {10001, {40, 40, 41}, [](const TGameCharacter& c) { EXPECT_EQ(c.Opacity, 255 - 32); }},
    };
    for (const TCase& c : cases) {
        SetUp();
        std::vector<std::int32_t> params = {c.Who, 0, 0, 0};
        for (const std::int32_t code : c.Route)
            params.push_back(code);
        Run({{TC::SetMoveRoute, 0, "", params}});
        TRun(*Game).Wait(200);
        TGameCharacter& who = c.Who == 10001 ? World().Hero() : Still();
        SCOPED_TRACE("route starting with " + std::to_string(c.Route.front()));
        EXPECT_FALSE(who.ForcedRouteRunning());
        c.Check(who);
    }
}

TEST_F(PlaceCommandTest, RouteCommandsWithPayloadsAndFlags) {
    std::vector<TKelMoveRouteItem> items(4);
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i].Code = 32 + static_cast<std::int32_t>(i);
    items[0].SwitchId = 7;
    items[1].SwitchId = 8;
    items[2].GraphicName = "Hero2";
    items[2].GraphicIndex = 3;
    items[3].SoundName = "Knock";
    TMemoryStream stream;
    SaveMoveRouteItems(stream, items);
    std::vector<std::int32_t> params = {10001, 0, 0, 0};
    for (const char byte : stream.Bytes())
        params.push_back(static_cast<unsigned char>(byte));
    State().SetSwitch(8, true);
    Run({{TC::SetMoveRoute, 0, "", params}});
    TRun(*Game).Wait(10);
    EXPECT_TRUE(State().Switch(7));
    EXPECT_FALSE(State().Switch(8));
    EXPECT_EQ(World().Hero().CharSet, "Hero2");
    EXPECT_EQ(World().Hero().CharIndex, 3);
    EXPECT_EQ(Audio.Requests.back(), "sound Knock");

    // A step into the wall (column 15) holds the route unless it is skippable.
    for (const bool skippable : {false, true}) {
        SetUp();
        PutHero(14, 10, dDown);
        Run({{TC::SetMoveRoute, 0, "", {10001, 0, 0, skippable ? 1 : 0, 1, 12}}});
        TRun(*Game).Wait(300);
        EXPECT_EQ(World().Hero().ForcedRouteRunning(), !skippable);
        EXPECT_EQ(World().Hero().X, 14);
        EXPECT_EQ(World().Hero().Direction, skippable ? dUp : dRight) << skippable;
    }
    // A repeating route runs until "Stop All Movement".
    Run({{TC::SetMoveRoute, 0, "", {kStill, 0, 1, 0, 16}}});
    TRun(*Game).Wait(300);
    EXPECT_TRUE(Still().ForcedRouteRunning());
    Run({{TC::StopAllMovement, 0, "", {}}});
    EXPECT_FALSE(Still().ForcedRouteRunning());
    EXPECT_FALSE(World().Hero().ForcedRouteRunning());
}

TEST_F(PlaceCommandTest, EachVehicleCrossesItsOwnTerrain) {
    struct TCase {
        int Kind;
        int FromY;   // from column 10
        int Dy;
        bool Passes;
    } cases[] = {
        {vkBoat, kShallowRow, 1, true},       {vkBoat, kShallowRow + 1, 1, false},  // shallow, not deep
        {vkBoat, kShallowRow, -1, false},     // not onto land
        {vkShip, kShallowRow + 1, 1, true},   {vkShip, kDeepRow, 1, false},
        {vkAirship, kShallowRow, -1, true},   {vkAirship, kDeepRow, 1, true},
    };
    for (const TCase& c : cases) {
        SetUp();
        TGameVehicle& vehicle = World().Vehicle(c.Kind);
        vehicle.MapId = 1;
        vehicle.PlaceAt(10, c.FromY);
        ASSERT_TRUE(World().Board(c.Kind));
        EXPECT_EQ(World().CanStep(World().Hero(), 10, c.FromY, 0, c.Dy), c.Passes) << c.Kind << " from " << c.FromY;
    }
    // The airship flies over the wall and over events.
    SetUp();
    World().Vehicle(vkAirship).MapId = 1;
    World().Vehicle(vkAirship).PlaceAt(14, 4);
    ASSERT_TRUE(World().Board(vkAirship));
    EXPECT_TRUE(World().CanStep(World().Hero(), 14, 4, 1, 0));
    World().PlaceCharacter(World().Hero(), 17, 4);
    EXPECT_TRUE(World().CanStep(World().Hero(), 17, 4, 1, 0));  // the shopkeeper at (18, 4)
}

TEST_F(PlaceCommandTest, TheHeroBoardsByDecideSailsAndLeavesOntoLand) {
    Run({{TC::SetVehiclePlace, 0, "", {vkBoat, 0, 1, 10, kShallowRow}}});
    PutHero(10, kShallowRow - 1, dDown);
    TRun run(*Game);
    run.Tap(gbDecide);
    ASSERT_EQ(World().Riding(), vkBoat);
    EXPECT_EQ(Audio.CurrentMusic(), "Sail");
    run.Hold(gbDown, 60);
    EXPECT_EQ(World().Hero().Y, kShallowRow + 1);  // the deep row stops the boat
    run.Tap(gbDecide);                              // deep water ahead: he stays aboard
    EXPECT_EQ(World().Riding(), vkBoat);
    EXPECT_NE(Game->StateJson().find("\"riding\": \"boat\""), std::string::npos);
    run.Hold(gbUp, 20);
    run.Tap(gbDecide);
    EXPECT_EQ(World().Riding(), -1);
    EXPECT_EQ(World().Hero().Y, kShallowRow - 1);
    EXPECT_EQ(World().Vehicle(vkBoat).Y, kShallowRow);
    EXPECT_EQ(Audio.CurrentMusic(), "Town");
    EXPECT_NE(Game->StateJson().find("\"boat\": {\"map\": 1, \"x\": 10, \"y\": 12}"), std::string::npos);
}

TEST_F(PlaceCommandTest, TheAirshipLandsOnlyWhereTheTerrainAllows) {
    Run({{TC::SetVehiclePlace, 0, "", {vkAirship, 0, 1, 10, 9}}, {TC::ChangeVehicleGraphic, 0, "Ships", {vkAirship, 2}}});
    EXPECT_EQ(World().Vehicle(vkAirship).CharSet, "Ships");
    EXPECT_EQ(World().Vehicle(vkAirship).CharIndex, 2);
    PutHero(10, 10, dUp);
    Run({{TC::RideVehicle, 0, "", {}}});
    ASSERT_EQ(World().Riding(), vkAirship);
    EXPECT_EQ(Audio.CurrentMusic(), "Fly");
    struct TCase {
        int X, Y;
        bool Lands;
    } cases[] = {{9, 9, false}, {15, 9, false}, {10, kShallowRow, false}, {12, 10, false}, {11, 9, true}};
    for (const TCase& c : cases) {  // forest, wall, water, an event (the talker), grass
        World().PlaceCharacter(World().Hero(), c.X, c.Y);
        Run({{TC::RideVehicle, 0, "", {}}});
        EXPECT_EQ(World().Riding() < 0, c.Lands) << c.X << "," << c.Y;
    }
    EXPECT_EQ(World().Vehicle(vkAirship).X, 11);
    EXPECT_EQ(Audio.CurrentMusic(), "Town");
    Run({{TC::ConditionalBranch, 0, "", {7, vkAirship, 0, 0, 0, 0}},
         {TC::ChangeSwitch, 1, "", {0, 9, 0, 0}},
         {TC::Empty, 1, "", {}},
         {TC::BranchEnd, 0, "", {}}});
    EXPECT_FALSE(State().Switch(9));  // no longer riding
}

}  // namespace
}  // namespace quillon::runtime::test
