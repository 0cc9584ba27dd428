// The map world: page selection, passability, movement and its timing, movement types, triggers,
// the camera, and the first frame drawn exactly as the editor draws the map.
#include "runtime/GameFixture.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "runtime/GameAudio.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"

#include <gtest/gtest.h>

namespace quillon::runtime::test {
namespace {

TEST(EventPageTest, TheHighestPageWhoseConditionsHoldIsActive) {
    TKelDataBase database;
    database.Item.Obtain(3);
    TGameState state(database);
    TKelEventItem event;
    TKelEventPageItem& second = event.Pages.Obtain(2);
    TKelEventPageItem& third = event.Pages.Obtain(3);
    second.Condition.Flags = TKelEventCondition::cfSwitchA | TKelEventCondition::cfSwitchB;
    second.Condition.SwitchAId = 1;
    second.Condition.SwitchBId = 2;
    third.Condition.Flags = TKelEventCondition::cfVariable | TKelEventCondition::cfItem;
    third.Condition.VariableId = 4;
    third.Condition.VariableValue = 10;
    third.Condition.ItemId = 3;
    EXPECT_EQ(ActivePage(event, state)->ID, 1);
    state.SetSwitch(1, true);
    EXPECT_EQ(ActivePage(event, state)->ID, 1);  // switch B still off
    state.SetSwitch(2, true);
    EXPECT_EQ(ActivePage(event, state)->ID, 2);
    state.SetVariable(4, 10);
    EXPECT_EQ(ActivePage(event, state)->ID, 2);  // no item yet
    state.SetItemCount(3, 1);
    EXPECT_EQ(ActivePage(event, state)->ID, 3);
    state.SetVariable(4, 9);
    EXPECT_EQ(ActivePage(event, state)->ID, 2);

    event.Pages.Items(0)->Condition.Flags = TKelEventCondition::cfHero | TKelEventCondition::cfTimer;
    event.Pages.Items(0)->Condition.HeroId = 1;
    event.Pages.Items(0)->Condition.TimerSeconds = 30;
    state.SetSwitch(1, false);
    state.SetItemCount(3, 0);
    EXPECT_EQ(ActivePage(event, state), nullptr);  // the timer does not run
    state.TimerRunning = true;
    state.TimerFrames = 31 * 60;
    EXPECT_EQ(ActivePage(event, state), nullptr);
    state.TimerFrames = 30 * 60;
    EXPECT_EQ(ActivePage(event, state) != nullptr, state.InParty(1));
}

class GameWorldTest : public ::testing::Test {
protected:
    void Open(TStartPlace start = {1, 10, 10}) {
        TGameOptions options = Project.Options();
        options.Start = start;
        std::string error;
        Game = TGame::Open(options, Audio, error);
        ASSERT_TRUE(Game) << error;
    }
    TGameWorld& World() { return Game->Session().World(); }
    TGameHero& Hero() { return World().Hero(); }

    TProjectFolder Project;
    TRecordingGameAudio Audio;
    std::unique_ptr<TGame> Game;
};

TEST_F(GameWorldTest, PassabilityOfTilesAndCharacters) {
    Open();
    TGameWorld& world = World();
    const struct {
        int X, Y, Dx, Dy;
        bool Expected;
    } cases[] = {
        {14, 10, 1, 0, false},  // into the wall
        {16, 10, -1, 0, false}, // into the wall from the other side
        {14, 10, 0, 1, true},   // along it
        {8, 7, 0, 1, true},     // under the star tile
        {18, 6, 0, -1, false},  // into the counter
        {11, 10, 1, 0, false},  // into the talker (same level)
        {6, 10, -1, 0, true},   // onto the door (below the hero)
        {0, 0, -1, 0, false},   // off the map
        {24, 19, 0, 1, false},
    };
    for (const auto& c : cases) {
        Hero().PlaceAt(c.X, c.Y);
        EXPECT_EQ(world.CanStep(Hero(), c.X, c.Y, c.Dx, c.Dy), c.Expected) << c.X << "," << c.Y << " " << c.Dx << "," << c.Dy;
    }
    Hero().Through = true;
    EXPECT_TRUE(world.CanStep(Hero(), 14, 10, 1, 0));
    EXPECT_FALSE(world.CanStep(Hero(), 0, 0, -1, 0));  // never off the map
}

TEST_F(GameWorldTest, TheHeroTakesSixteenStepsACellAndTheCameraFollows) {
    Open({1, 20, 15});
    TRun run(*Game);
    run.Hold(gbRight, 15);
    EXPECT_TRUE(Hero().Moving());
    EXPECT_EQ(Hero().X, 21);
    run.Hold(0);
    EXPECT_FALSE(Hero().Moving());
    EXPECT_EQ(Hero().PixelX(), 21 * 16);
    // Near the map's bottom-right corner the camera stops at the edges.
    EXPECT_EQ(World().CameraX(), 25 * 16 - 320);
    EXPECT_EQ(World().CameraY(), 20 * 16 - 240);
    Open({1, 12, 8});
    EXPECT_EQ(World().CameraX(), 12 * 16 - 160);
    EXPECT_EQ(World().CameraY(), 8 * 16 - 112);
}

TEST_F(GameWorldTest, MovementTypes) {
    auto map = TProjectFolder::MakeMap1();
    TKelEventPageItem& upDown = AddEvent(*map, 6, 3, 2);
    upDown.MoveType = mtCycleUpDown;
    upDown.MoveFrequency = 8;
    upDown.MoveSpeed = 6;
    upDown.Priority = 1;
    upDown.GraphicName = "People";
    map->LowerLayer.SetCell(3, 5, kWall);  // it turns at the wall below (3, 4) and at the top edge
    TKelEventPageItem& toward = AddEvent(*map, 7, 2, 15);
    toward.MoveType = mtTowardHero;
    toward.MoveFrequency = 8;
    toward.MoveSpeed = 6;
    toward.Priority = 1;
    Project.WriteMap(*map, 1);
    Open({1, 2, 18});
    TGameWorld& world = World();
    std::set<int> rows;
    for (int i = 0; i < 400; ++i) {
        world.Update(TGameInput(), false);
        rows.insert(world.EventById(6)->Y);
        EXPECT_EQ(world.EventById(6)->X, 3);
    }
    EXPECT_EQ(rows, (std::set<int>{0, 1, 2, 3, 4}));
    // The follower walks up to the hero and stops beside him.
    EXPECT_EQ(world.EventById(7)->X, 2);
    EXPECT_EQ(world.EventById(7)->Y, 17);
    // The wanderer stays on the map and off the wall.
    const TGameEvent& wanderer = *world.EventById(4);
    EXPECT_TRUE(world.InMap(wanderer.X, wanderer.Y));
    EXPECT_NE(wanderer.X, 15);
}

TEST_F(GameWorldTest, TriggersStartTheirEvents) {
    Open({1, 11, 10});
    TGameWorld& world = World();
    // Push key: the talker in front; across the counter: the keeper.
    Hero().Direction = dRight;
    world.CheckPushKey();
    auto starts = world.TakeStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].EventId, 1);
    Hero().PlaceAt(18, 6);
    Hero().Direction = dUp;
    world.CheckPushKey();
    starts = world.TakeStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].EventId, 5);
    // Hero touch: arriving on the door below him.
    Hero().PlaceAt(6, 10);
    TGameInput input;
    for (int i = 0; i < 16; ++i) {
        input = input.Next(gbLeft);
        world.Update(input, true);
    }
    world.Update(input.Next(0), true);
    starts = world.TakeStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].EventId, 2);
    // Parallel pages run beside the game while their switch is on.
    Game->Session().State().SetSwitch(2, true);
    TRun run(*Game);
    run.Wait(30);
    EXPECT_GE(Game->Session().State().Variable(2), 4);
}

TEST_F(GameWorldTest, TheFirstFrameIsTheEditorsPictureOfTheMap) {
    TProjectFolder project(false);
    TGameOptions options = project.Options();
    options.TestPlay = false;
    options.Start = TStartPlace{2, 10, 7};
    std::string error;
    auto game = TGame::Open(options, Audio, error);
    ASSERT_TRUE(game) << error;
    TOrlenBoard frame;
    game->Draw(frame);

    // The editor's picture of the same map: the map viewer's drawing at 16 pixels a cell.
    auto gameProject = TGameProject::Open(project.Root().string(), RtpFolder(), error);
    ASSERT_TRUE(gameProject) << error;
    auto map = gameProject->LoadMap(2, error);
    ASSERT_TRUE(map) << error;
    TEditorModeScope editor(true);
    TKelChipSetGraphic chips(gameProject->Images());
    chips.SetChipSet(gameProject->Database().ChipSet.FindByID(map->ChipSetId));
    TOrlenBoard editorPicture;
    TMapRenderOptions renderOptions;
    renderOptions.CellSize = 16;
    RenderMap(editorPicture, *map, chips, renderOptions);
    ASSERT_EQ(editorPicture.Width(), frame.Width());
    ASSERT_EQ(editorPicture.Height(), frame.Height());
    int differing = 0;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            differing += frame.ScanLine(y)[x] != editorPicture.ScanLine(y)[x];
    EXPECT_EQ(differing, 0);
    // Not a blank picture that would match anything.
    std::set<std::uint16_t> colours;
    for (int x = 0; x < frame.Width(); ++x)
        colours.insert(frame.ScanLine(100)[x]);
    EXPECT_GT(colours.size(), 8u);
}

// A 16 x 16 block of a frame, for comparing cells drawn at different places.
std::vector<std::uint16_t> Block(TOrlenBoard& frame, int left, int top) {
    std::vector<std::uint16_t> block;
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + 16; ++x)
            block.push_back(frame.ScanLine(y)[x]);
    return block;
}

TEST_F(GameWorldTest, LoopingMapsWrapOnBothAxes) {
    auto map = TProjectFolder::MakeMap1();
    map->SetScrollType(TKelMap::stBothLoop);
    map->LowerLayer.SetCell(24, 19, MakeLowerTile(3));  // a mark in the far corner
    Project.WriteMap(*map, 1);
    Open({1, 0, 0});
    EXPECT_EQ(World().CameraX(), -160);  // not held at the edges
    EXPECT_EQ(World().CameraY(), -112);
    TOrlenBoard corner;
    Game->Draw(corner);
    TRun run(*Game);
    run.Hold(gbLeft, 16);
    EXPECT_EQ(Hero().X, 24);
    run.Hold(gbUp, 16);
    EXPECT_EQ(Hero().Y, 19);
    EXPECT_TRUE(World().CanStep(Hero(), 24, 19, 1, 0));  // back across both edges
    EXPECT_TRUE(World().CanStep(Hero(), 24, 19, 0, 1));

    // The corner cell drawn up-left of the hero at (0, 0) is the one drawn where it lies.
    Open({1, 20, 15});
    TOrlenBoard inside;
    Game->Draw(inside);
    const std::vector<std::uint16_t> mark = Block(inside, 24 * 16 - World().CameraX(), 19 * 16 - World().CameraY());
    EXPECT_EQ(Block(corner, 144, 96), mark);
    EXPECT_NE(Block(corner, 128, 96), mark);  // its grass neighbour differs
}

TEST_F(GameWorldTest, PanoramaScrollsByItselfAndFollowsTheCamera) {
    struct TCase {
        bool Pan;
        bool Auto;
        std::uint32_t Walk;
        int Shift;
    } cases[] = {{false, true, 0, 64 * 4 / 8}, {true, false, gbRight, 4 * 16 / 2}};
    for (const TCase& c : cases) {
        TKelMap map;
        map.SetWidth(40);
        map.SetHeight(15);
        map.ChipSetId = 2;  // a chipset whose picture is missing: only the panorama shows
        map.PanoramaEnabled = 1;
        map.PanoramaName = "Sky";
        map.PanoramaHorizontalPan = c.Pan;
        map.PanoramaHorizontalAuto = c.Auto;
        map.PanoramaHorizontalSpeed = 4;
        TProjectFolder project(false);
        project.WriteMap(map, 1);
        auto database = project.Database();
        TKelChipSetItem& chips = database->ChipSet.Obtain(2);
        chips.FileName = "Missing";
        for (int chip = 0; chip < TKelChipSetItem::kLowerChips; ++chip)
            chips.SetLowerFlags(chip, TKelChipSetItem::kDefaultFlags);
        project.WriteDatabase(*database);
        TGameOptions options = project.Options();
        options.TestPlay = false;
        options.Start = TStartPlace{1, 10, 7};
        std::string error;
        auto game = TGame::Open(options, Audio, error);
        ASSERT_TRUE(game) << error;
        TOrlenBoard before;
        game->Draw(before);
        TRun run(*game);
        run.Hold(c.Walk, 16 * 4);  // four cells (or four cells' time)
        TOrlenBoard after;
        game->Draw(after);
        int differing = 0;
        for (int y = 0; y < 240; y += 7)
            for (int x = 0; x < 320; ++x)
                differing += after.ScanLine(y)[x] != before.ScanLine(y)[(x + c.Shift) % 320];
        EXPECT_EQ(differing, 0) << c.Pan;
        EXPECT_NE(std::vector<std::uint16_t>(before.ScanLine(120), before.ScanLine(120) + 320),
                  std::vector<std::uint16_t>(after.ScanLine(120), after.ScanLine(120) + 320));
    }
}

TEST_F(GameWorldTest, UnchangedAnswersWhetherTheFrameWouldDifferFromTheLastDrawn) {
    Open({2, 10, 7});  // a map without events
    TOrlenBoard frame;
    EXPECT_FALSE(Game->Unchanged());  // nothing drawn yet
    Game->Draw(frame);
    EXPECT_TRUE(Game->Unchanged());
    TRun run(*Game);
    run.Wait(1);
    EXPECT_TRUE(Game->Unchanged());
    run.Hold(gbRight);
    EXPECT_FALSE(Game->Unchanged());  // the hero set off
    Game->Draw(frame);
    EXPECT_TRUE(Game->Unchanged());
    run.Wait(7);  // he walks on
    EXPECT_FALSE(Game->Unchanged());
    Game->Draw(frame);
    Game->Session().World().Hero().Opacity = 100;
    EXPECT_FALSE(Game->Unchanged());
}

}  // namespace
}  // namespace quillon::runtime::test
