// The screen commands in a game of the fixture project: their parameters, waits, by-variable
// operands, missing characters and records, and what the state JSON shows of them.
#include "runtime/GameFixture.h"
#include "runtime/ScreenFixture.h"

#include "data/LD_Animation.h"
#include "runtime/GameAudio.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <gtest/gtest.h>

namespace quillon::runtime::test {
namespace {

class RtCmdScreenTest : public TGameTest {
protected:
    void SetUp() override {
        auto database = Project.Database();
        // Animation 1: two frames, a sound at the second.
        TKelAnimationItem& animation = database->Animation.Obtain(1);
        animation.FileName = "NoSuchBattleImage";
        animation.SetFrameCount(2);
        TKelAnimationTimingItem& cue = animation.Timing.Obtain(1);
        cue.Frame = 2;
        cue.Sound.Name = "Bang";
        database->System.Transition[0] = ttMosaic;  // teleport: erase
        database->System.Transition[1] = ttInstant;  // teleport: show
        Project.WriteDatabase(*database);
        OpenGame();
    }
    TGameScreen& Screen() { return Session().Screen(); }

    // Runs a script to its end with the screen's effects advancing; answers the steps it took.
    int Run(const std::vector<TLine>& lines, int steps = 600, std::int32_t eventId = 0) {
        FillScript(Script, lines);
        TInterpreter in(Session(), false);
        in.Start(Script, eventId, Session().World().MapId());
        int step = 0;
        for (; step < steps && in.Running(); ++step) {
            in.Update();
            Screen().Update(Session().World());
        }
        return step;
    }
    void Advance(int frames) {
        for (int i = 0; i < frames; ++i)
            Screen().Update(Session().World());
    }
    std::string Json() { return Session().StateJson(); }
    // Copies a folder of the screen fixture's images ("Battle", "Picture") into the project.
    void UseScreenImages(const std::string& kind) {
        const TScreenFolder images;
        std::filesystem::copy(images.Root() / kind, Project.Root() / kind,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
};

// Timed commands with and without their wait flag: tenths of a second become 6 frames each, and a
// waiting script goes on in the step after the effect's last frame.
TEST_F(RtCmdScreenTest, TimedEffectsWaitOnlyWhenAsked) {
    const struct {
        TLine line;
        int steps;
    } cases[] = {
        {{TC::SetScreenTone, 0, "", {200, 50, 50, 0, 10, 1}}, 61},
        {{TC::SetScreenTone, 0, "", {100, 100, 100, 100, 10, 0}}, 1},
        {{TC::FlashScreen, 0, "", {31, 31, 31, 31, 5, 1}}, 31},
        {{TC::ShakeScreen, 0, "", {5, 5, 20, 1}}, 121},
        {{TC::ShakeScreen, 0, "", {5, 5, 20, 0}}, 1},
        {{TC::SetScreenTone, 0, "", {100, 100, 100, 100, 99999, 1}}, 600},  // bounded: 100 s, cut by the run
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run({c.line}), c.steps) << static_cast<int>(c.line.Code);
}

TEST_F(RtCmdScreenTest, ToneReachesItsTargetAndTheStateShowsTheTarget) {
    Run({{TC::SetScreenTone, 0, "", {200, 0, 300, -4, 10, 0}}});
    // The JSON shows the target, clamped, while the change runs.
    EXPECT_NE(Json().find("\"tone\": {\"r\": 200, \"g\": 0, \"b\": 200, \"gray\": 0}"), std::string::npos) << Json();
    Advance(29);  // the step that ran the command was the change's first frame
    EXPECT_EQ(Screen().Tone(), (TScreenTone{150, 50, 150, 50}));
    Advance(30);
    EXPECT_EQ(Screen().Tone(), (TScreenTone{200, 0, 200, 0}));
}

TEST_F(RtCmdScreenTest, PicturesByPositionAndByVariableInTheStateJson) {
    Session().State().SetVariable(7, 33);
    Session().State().SetVariable(8, -44);
    Run({{TC::ShowPicture, 0, "Ball", {2, 0, 100, 50, 0, 150, 25, 1, 100, 100, 100, 100, 0, 0}},
         {TC::ShowPicture, 0, "Sun", {9, 1, 7, 8, 1, 100, 0, 0, 100, 100, 100, 100, 1, 3}},
         {TC::MovePicture, 0, "", {2, 0, 200, 150, 0, 50, 75, 0, 100, 100, 100, 100, 0, 0, 10, 1}},
         {TC::MovePicture, 0, "", {30, 0, 1, 1, 0, 100, 0, 0, 100, 100, 100, 100, 0, 0, 10, 1}},  // not shown: no wait
         {TC::ErasePicture, 0, "", {40}}});
    const std::string json = Json();
    EXPECT_NE(json.find("\"pictures\": [{\"number\": 2, \"name\": \"Ball\", \"x\": 200, \"y\": 150, "
                        "\"magnification\": 50, \"transparency\": 75},{\"number\": 9, \"name\": \"Sun\", \"x\": 33, "
                        "\"y\": -44, \"magnification\": 100, \"transparency\": 0}]"),
              std::string::npos)
        << json;
    Run({{TC::ErasePicture, 0, "", {2}}, {TC::ErasePicture, 0, "", {9}}});
    EXPECT_NE(Json().find("\"pictures\": []"), std::string::npos);
}

TEST_F(RtCmdScreenTest, EraseAndShowScreenUseTheChosenTransitions) {
    // -1: the system record's teleport transitions (mosaic, then instant).
    EXPECT_EQ(Run({{TC::EraseScreen, 0, "", {-1}}}), kTransitionFrames + 1);
    EXPECT_TRUE(Screen().Transitions().Erased());
    EXPECT_EQ(Run({{TC::ShowScreen, 0, "", {-1}}}), 1);
    EXPECT_FALSE(Screen().Transitions().Erased());
    Run({{TC::ChangeScreenTransition, 0, "", {0, ttInstant}}, {TC::ChangeScreenTransition, 0, "", {9, 3}}});
    EXPECT_EQ(Screen().Transition(tsTeleportErase), ttInstant);
    EXPECT_EQ(Run({{TC::EraseScreen, 0, "", {-1}}}), 1);
    EXPECT_EQ(Run({{TC::ShowScreen, 0, "", {ttFade}}}), kTransitionFrames + 1);
}

TEST_F(RtCmdScreenTest, TeleportsEraseAndShowWithTheTeleportTransitions) {
    // Erase by mosaic (30 frames), teleport, then the instant show: the line after runs in the next step.
    EXPECT_EQ(Run({{TC::Teleport, 0, "", {2, 1, 1}}, {TC::ChangeVariable, 0, "", {0, 1, 0, 0, 0, 5, 0}}}),
              kTransitionFrames + 2);
    EXPECT_EQ(Session().World().MapId(), 2);
    EXPECT_FALSE(Screen().Transitions().Erased());
    EXPECT_EQ(Session().State().Variable(1), 5);
    // A script that erased the screen itself shows it itself; a missing map erases nothing.
    Run({{TC::EraseScreen, 0, "", {ttInstant}}, {TC::Teleport, 0, "", {1, 2, 2}}});
    EXPECT_EQ(Session().World().MapId(), 1);
    EXPECT_TRUE(Screen().Transitions().Erased());
    Run({{TC::ShowScreen, 0, "", {ttInstant}}});
    EXPECT_EQ(Run({{TC::Teleport, 0, "", {42, 1, 1}}}), 2);  // the teleport's step, and the end
    EXPECT_FALSE(Screen().Transitions().Erased());
    // "Do Not Erase": the teleport is at once.
    Run({{TC::ChangeScreenTransition, 0, "", {0, ttNone}}});
    EXPECT_EQ(Run({{TC::Teleport, 0, "", {2, 1, 1}}}), 2);
    EXPECT_EQ(Session().World().MapId(), 2);
}

TEST_F(RtCmdScreenTest, WeatherKindsAndStrengthsInTheStateJson) {
    const struct {
        int kind;
        int strength;
        const char* json;
    } cases[] = {
        {1, 2, "\"weather\": {\"kind\": \"rain\", \"strength\": \"high\"}"},
        {2, 0, "\"weather\": {\"kind\": \"snow\", \"strength\": \"low\"}"},
        {5, 1, "\"weather\": {\"kind\": \"none\", \"strength\": \"medium\"}"},
    };
    for (const auto& c : cases) {
        Run({{TC::WeatherEffects, 0, "", {c.kind, c.strength}}});
        EXPECT_NE(Json().find(c.json), std::string::npos) << Json();
    }
}

TEST_F(RtCmdScreenTest, BattleAnimationOnCharactersWaitsAndSounds) {
    const struct {
        std::int32_t character;
        int fullScreen;
        int wait;
        int steps;
        bool sounds;
    } cases[] = {
        {kCharacterHero, 0, 1, 15, true},  // its flash fades out after the last frame
        {kCharacterHero, 0, 0, 1, true},
        {9999, 0, 1, 1, false},  // no such event: nothing
        {9999, 1, 1, 15, true},  // the whole screen needs no character
    };
    for (const auto& c : cases) {
        Audio.Requests.clear();
        EXPECT_EQ(Run({{TC::ShowBattleAnimation, 0, "", {1, c.character, c.wait, c.fullScreen}}}), c.steps);
        Advance(4);
        EXPECT_EQ(!Audio.Requests.empty() && Audio.Requests.back() == "sound Bang", c.sounds) << c.character;
    }
    // A missing record runs nothing and does not wait.
    EXPECT_EQ(Run({{TC::ShowBattleAnimation, 0, "", {77, kCharacterHero, 1, 0}}}), 1);
    EXPECT_FALSE(Screen().AnimationRunning());
}

// An animation record of the fixture's "Burst" image: four frames of pattern 0 (a 48-pixel
// square in a 96-pixel cell), a red target flash from the second frame.
TKelAnimationItem& BurstAnimation(TGameSession& session, std::int32_t id, int scope, int yLine, bool flash) {
    TKelAnimationItem& animation = session.Project().Database().Animation.Obtain(id);
    animation.FileName = "Burst";
    animation.Scope = static_cast<std::uint8_t>(scope);
    animation.YLine = static_cast<std::uint8_t>(yLine);
    animation.SetFrameCount(4);
    for (int f = 1; f <= 4; ++f)
        animation.Frames.Obtain(f).Cells.Obtain(1).Pattern = f == 4 ? 1 : 0;
    if (flash) {
        TKelAnimationTimingItem& cue = animation.Timing.Obtain(1);
        cue.Frame = 2;
        cue.FlashRange = TKelAnimationTimingItem::frTarget;
        cue.FlashRed = 31;
        cue.FlashGreen = 4;
        cue.FlashBlue = 4;
        cue.FlashPower = 28;
    }
    return animation;
}

// Where the animation stands: the centre of what it adds to the frame.
TEST_F(RtCmdScreenTest, BattleAnimationStandsByItsScopeAndYLine) {
    UseScreenImages("Battle");
    TGameWorld& world = Session().World();
    const TGameCharacter& hero = world.Hero();
    const TGameCharacter& talker = *world.EventById(1);
    const auto centreX = [&](const TGameCharacter& c) { return c.PixelX() - world.CameraX() + 8; };
    const auto feet = [&](const TGameCharacter& c) { return c.PixelY() - world.CameraY() + 16; };
    using A = TKelAnimationItem;
    const struct {
        int scope, yLine;
        std::int32_t character;
        int fullScreen;
        int x, y;
    } cases[] = {
        {A::asSingle, A::ylHead, kCharacterHero, 0, centreX(hero), feet(hero) - 32},
        {A::asSingle, A::ylCenter, kCharacterHero, 0, centreX(hero), feet(hero) - 16},
        {A::asSingle, A::ylFeet, 1, 0, centreX(talker), feet(talker)},
        {A::asAll, A::ylHead, kCharacterHero, 0, 160, 120},  // "All": the screen's centre
        {A::asSingle, A::ylHead, kCharacterHero, 1, 160, 120},  // the whole screen
    };
    for (const auto& c : cases) {
        BurstAnimation(Session(), 2, c.scope, c.yLine, false);
        Run({{TC::ShowBattleAnimation, 0, "", {2, c.character, 0, c.fullScreen}}});
        TOrlenBoard with;
        TOrlenBoard without;
        Session().Draw(with);
        Screen().ShowAnimation(nullptr, 0);
        Session().Draw(without);
        int left = 320, top = 240, right = -1, bottom = -1;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                if (Pixel(with, x, y) != Pixel(without, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        const std::string label = "scope " + std::to_string(c.scope) + " line " + std::to_string(c.yLine);
        EXPECT_GT(right - left, 30) << label;  // the square, whole
        EXPECT_EQ(right - left, bottom - top) << label;
        EXPECT_EQ((left + right + 1) / 2, c.x) << label;
        EXPECT_EQ((top + bottom + 1) / 2, c.y) << label;
    }
}

// The target flashes with the animation's cue, on its sprite only, and stops with it.
TEST_F(RtCmdScreenTest, BattleAnimationFlashesItsTarget) {
    UseScreenImages("Battle");
    TKelAnimationItem& animation =
        BurstAnimation(Session(), 2, TKelAnimationItem::asSingle, TKelAnimationItem::ylHead, true);
    for (int f = 1; f <= 4; ++f)
        animation.Frames.Obtain(f).Cells.Obtain(1).Y = -40;  // above the head: the sprite shows
    const TGameCharacter& hero = Session().World().Hero();
    const TGameCharacter& talker = *Session().World().EventById(1);
    Run({{TC::ShowBattleAnimation, 0, "", {2, kCharacterHero, 0, 0}}});
    EXPECT_EQ(hero.FlashStrength(), 0);  // the first frame has no cue
    Advance(2);
    EXPECT_GT(hero.FlashStrength(), 0);
    EXPECT_EQ(talker.FlashStrength(), 0);
    TOrlenBoard board;
    Session().Draw(board);
    ExpectGolden(board, "battle-animation-on-hero.png");
    Advance(2 * 6);  // the flash cued on frame 2 fades out through frame 7, after the last cell
    Session().World().Update(TGameInput(), false, true);
    EXPECT_FALSE(Screen().AnimationRunning());
    EXPECT_EQ(hero.FlashStrength(), 0);
    // On the whole screen nobody flashes.
    Run({{TC::ShowBattleAnimation, 0, "", {2, kCharacterHero, 0, 1}}});
    Advance(2);
    EXPECT_EQ(hero.FlashStrength(), 0);
}

// Map to title and back: the teleport's transitions of the system record carry both ways.
TEST_F(RtCmdScreenTest, TheTitleComesAndGoesByTheTeleportTransitions) {
    Screen().SetTransition(tsTeleportShow, ttFade);
    const auto meanLevel = [&] {
        TOrlenBoard board;
        Session().Draw(board);
        long sum = 0;
        for (int y = 0; y < 240; y += 8)
            for (int x = 0; x < 320; x += 8)
                sum += Pixel(board, x, y) & 0x1F;
        return sum;
    };
    // "Go to Title Screen" waits for the map's erase (mosaic) before the title comes.
    EXPECT_EQ(Run({{TC::GoToTitleScreen, 0, "", {}}}), kTransitionFrames + 1);
    EXPECT_EQ(Session().SceneName(), "title");
    // The title fades in from black.
    const long first = meanLevel();
    TRun run(*Game);
    run.Wait(kTransitionFrames / 2);
    const long half = meanLevel();
    run.Wait(kTransitionFrames);
    const long whole = meanLevel();
    EXPECT_LT(first * 10, whole);
    EXPECT_GT(half, first);
    EXPECT_GT(whole, half);
    // "New Game": the map comes in by the teleport's show transition (its fade, from the system
    // record again, as the new game's screen starts afresh).
    Session().Project().Database().System.Transition[1] = ttFade;
    run.Tap(gbDecide);
    ASSERT_EQ(Session().SceneName(), "map");
    EXPECT_TRUE(Screen().Transitions().Running());
    EXPECT_FALSE(Screen().Transitions().Erased());
}

TEST_F(RtCmdScreenTest, PanMovesReturnsAndReleasesTheCamera) {
    TGameWorld& world = Session().World();
    const int startX = world.CameraX();
    const int startY = world.CameraY();
    // Two cells right at speed 4 (a pixel a frame), waiting.
    EXPECT_EQ(Run({{TC::PanScreen, 0, "", {2, 1, 2, 4, 1}}}), 33);
    EXPECT_EQ(world.CameraX(), std::min(startX + 32, world.Map().Width() * 16 - 320));
    EXPECT_TRUE(world.CameraHeld());
    Run({{TC::PanScreen, 0, "", {3, 0, 0, 6, 1}}});
    EXPECT_EQ(world.CameraX(), startX);
    EXPECT_EQ(world.CameraY(), startY);
    EXPECT_FALSE(world.CameraHeld());  // back at the hero, it follows him again
    Run({{TC::PanScreen, 0, "", {0, 0, 0, 0, 0}}});
    EXPECT_TRUE(world.CameraHeld());
    Run({{TC::PanScreen, 0, "", {1, 0, 0, 0, 0}}});
    EXPECT_FALSE(world.CameraHeld());
}

TEST_F(RtCmdScreenTest, ChangeSystemGraphicsChangesTheSkin) {
    const std::string before = Session().Skin().SystemGraphic();
    Run({{TC::ChangeSystemGraphic, 0, "Other", {1, 1}}});
    EXPECT_EQ(Session().Skin().SystemGraphic(), "Other");
    std::string error;
    ASSERT_TRUE(Session().NewGame(error)) << error;
    EXPECT_EQ(Session().Skin().SystemGraphic(), before) << "a new game has the database's own";
}

TEST_F(RtCmdScreenTest, ScreenCommandsAreNotSkipped) {
    testing::internal::CaptureStderr();
    Run({{TC::ChangeScreenTransition, 0, "", {1, 2}},
         {TC::WeatherEffects, 0, "", {0, 0}},
         {TC::FlashScreen, 0, "", {1, 2, 3, 4, 0, 0}},
         {TC::ShakeScreen, 0, "", {1, 1, 0, 0}},
         {TC::ErasePicture, 0, "", {1}}});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The effects together over the fixture's map: two pictures (rippling and turning), rain, a warm
// screen tone and a shake.
TEST_F(RtCmdScreenTest, GoldenFrameOfTheEffectsOverTheMap) {
    UseScreenImages("Picture");
    Run({{TC::ShowPicture, 0, "Ball", {1, 0, 250, 60, 0, 150, 20, 1, 100, 100, 160, 100, 2, 4}},
         {TC::ShowPicture, 0, "Ball", {2, 0, 60, 180, 1, 100, 0, 1, 100, 100, 100, 0, 1, 3}},
         {TC::WeatherEffects, 0, "", {1, 1}},
         {TC::SetScreenTone, 0, "", {140, 110, 80, 60, 10, 0}},
         {TC::ShakeScreen, 0, "", {6, 6, 10, 0}}});
    Advance(20);
    TOrlenBoard board;
    Session().Draw(board);
    ExpectGolden(board, "screen-effects-over-map.png");
}

}  // namespace
}  // namespace quillon::runtime::test
