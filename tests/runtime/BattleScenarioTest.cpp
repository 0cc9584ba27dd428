// Battles in whole games on the fixture project: the battle test of a troop, Start Battle with its
// cases, a page that interrupts the battle, a random encounter, the battle lab, and a golden frame
// of the battle scene with an animation.
#include "runtime/GameFixture.h"
#include "runtime/ScreenFixture.h"

#include "data/LD_MapTree.h"
#include "graphics/OrlenSheet.h"
#include "platform/FileUtils.h"
#include "runtime/BattleLab.h"
#include "runtime/BattleScene.h"
#include "runtime/GameAudio.h"
#include "runtime/GameMapState.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameTransition.h"
#include "runtime/GameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillon::runtime::test {
namespace {

class BattleScenarioTest : public ::testing::Test {
protected:
    BattleScenarioTest() : mDatabase(Project.Database()) {
        // The test party: one hero of level `kLevel`.
        mDatabase->System.TestPlayer.Clear();
        TKelTestPlayerItem& member = mDatabase->System.TestPlayer.Obtain(1);
        member.HeroId = 1;
        member.Level = 12;
        mDatabase->System.Sound[ssMonsterDamaged].Name = "MonsterHit";
        mDatabase->System.Sound[ssMonsterDies].Name = "MonsterFalls";
    }
    std::unique_ptr<TGame> Open(bool battleTest, std::int32_t troop = 1) {
        Project.WriteDatabase(*mDatabase);
        TGameOptions options = Project.Options();
        options.BattleTest = battleTest;
        options.BattleTroop = troop;
        std::string error;
        auto game = TGame::Open(options, mAudio, error);
        EXPECT_TRUE(game) << error;
        return game;
    }
    // Decide again and again (Fight, Attack, the first target ...) until the battle is over.
    static void FightThrough(TGame& game) {
        TRun run(game);
        for (int i = 0; i < 5000 && (game.Session().InBattle()); ++i)
            run.Tap(gbDecide);
    }
    // Opens the game on the map and runs its event 6 (which starts a battle) for one step.
    std::unique_ptr<TGame> StartFromMap(TKelMap& map) {
        Project.WriteMap(map, 1);
        auto game = Open(false);
        if (!game)
            return game;
        // The starting hero is level 1 alone: strong against slimes only when levelled up.
        SetHeroLevel(*mDatabase, *game->Session().State().Hero(1), 20);
        RecoverHero(*mDatabase, *game->Session().State().Hero(1));
        game->Session().StartEvent(6, true);
        TRun(*game).Wait(1);
        return game;
    }
    // A battle event page of the troop that loops for ever from its first turn, counting in variable 3.
    void AddLoopingPage(std::int32_t troop) {
        TKelBattleEventPageItem& page = mDatabase->MonGroup.ItemById(troop)->Pages.Obtain(1);
        page.Trigger.Flags = 0x08;
        page.Trigger.TurnB = 1;
        FillScript(page.Script, {{TC::Loop, 0, "", {}},
                                 {TC::ChangeVariable, 1, "", {0, 3, 0, 1, 0, 1, 0}},
                                 {TC::Empty, 1, "", {}},
                                 {TC::LoopEnd, 0, "", {}}});
    }
    // Waits for the party's commands, then chooses Escape (the third) until the battle is over.
    static void EscapeThrough(TGame& game) {
        TRun run(game);
        for (int i = 0; i < 20 && game.Session().InBattle(); ++i) {
            run.Wait(kTransitionFrames + 4 * kBattleMessageFrames);
            run.Tap(gbDown);
            run.Tap(gbDown);
            run.Tap(gbDecide);
        }
        run.Wait(kTransitionFrames + 4 * kBattleMessageFrames);
    }
    static TBattleScene& BattleScene(TGame& game) { return *game.Session().Battle(); }
    static std::string BattleJson(TGame& game) {
        const std::string state = game.StateJson();
        const std::size_t at = state.find("\"battle\": ");
        return at == std::string::npos ? std::string() : state.substr(at, state.find("\n  \"messages\"", at) - at);
    }

    TProjectFolder Project;
    std::unique_ptr<TKelDataBase> mDatabase;
    TRecordingGameAudio mAudio;
};

TEST_F(BattleScenarioTest, TheBattleTestOfATroopIsWonAndEndsTheGame) {
    auto game = Open(true, 1);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->Session().SceneName(), "battle");
    EXPECT_NE(BattleJson(*game).find("\"result\": \"none\""), std::string::npos);
    FightThrough(*game);
    EXPECT_TRUE(game->Ended());
    const std::string battle = BattleJson(*game);
    EXPECT_NE(battle.find("\"troop\": 1, \"turn\": "), std::string::npos) << battle;
    EXPECT_NE(battle.find("\"result\": \"victory\""), std::string::npos) << battle;
    EXPECT_NE(battle.find("\"hp\": 0, \"mp\": 0, \"conditions\": [1], \"visible\": true"), std::string::npos) << battle;
    EXPECT_NE(battle.find("\"Victory!\""), std::string::npos) << battle;
    EXPECT_NE(game->StateJson().find("\"scene\": \"ended\""), std::string::npos);
    // The battle's sounds: the monsters hit and falling.
    for (const int sound : {ssMonsterDamaged, ssMonsterDies}) {
        const std::string request = "sound " + mDatabase->System.Sound[static_cast<std::size_t>(sound)].Name;
        EXPECT_NE(std::find(mAudio.Requests.begin(), mAudio.Requests.end(), request), mAudio.Requests.end()) << request;
    }
}

TEST_F(BattleScenarioTest, APageInterruptsTheBattleAtItsTurn) {
    TKelBattleEventPageItem& page = mDatabase->MonGroup.ItemById(1)->Pages.Obtain(1);
    page.Trigger.Flags = 0x08;
    page.Trigger.TurnB = 1;
    // A message, the screen's tone and a shake on the way (the battle test has no map).
    FillScript(page.Script, {{TC::ShowMessage, 0, "Halt!", {}},
                             {TC::SetScreenTone, 0, "", {50, 50, 50, 100, 10, 0}},
                             {TC::ShakeScreen, 0, "", {3, 3, 10, 0}},
                             {TC::WaitUntilMoved, 0, "", {}},
                             {TC::ChangeSwitch, 0, "", {0, 7, 0, 0}},
                             {TC::StopBattle, 0, "", {}}});
    auto game = Open(true, 1);
    ASSERT_TRUE(game);
    FightThrough(*game);
    EXPECT_NE(BattleJson(*game).find("\"turn\": 1, \"result\": \"interrupted\""), std::string::npos) << BattleJson(*game);
    EXPECT_TRUE(game->Session().State().Switch(7));
    EXPECT_NE(game->StateJson().find("\"messages\": [\"Halt!\"]"), std::string::npos) << game->StateJson();
}

TEST_F(BattleScenarioTest, StartBattleTakesTheCaseOfItsResult) {
    struct TCase {
        std::int32_t Troop;
        std::int32_t Defeat;  // 1: "Add Case", 0: game over
        bool Flee;            // the party escapes (with a first strike, surely)
        const char* Scene;
        int Switch;           // the case's switch, 0 for none
    };
    const TCase cases[] = {
        {1, 1, false, "map", 11}, {10, 1, true, "map", 12}, {10, 1, false, "map", 13}, {10, 0, false, "gameover", 0}};
    mDatabase->System.Transition[tsBattleEndErase] = ttBlinds;
    for (const TCase& c : cases) {
        auto map = TProjectFolder::MakeMap1();
        TKelEventPageItem& fighter = AddEvent(*map, 6, 3, 3);
        FillScript(fighter.Script, {{TC::StartBattle, 0, "", {0, c.Troop, 0, 2, c.Defeat, c.Flee ? 1 : 0}},
                                    {TC::BattleVictory, 0, "", {}},
                                    {TC::ChangeSwitch, 1, "", {0, 11, 0, 0}},
                                    {TC::Empty, 1, "", {}},
                                    {TC::BattleEscape, 0, "", {}},
                                    {TC::ChangeSwitch, 1, "", {0, 12, 0, 0}},
                                    {TC::Empty, 1, "", {}},
                                    {TC::BattleDefeat, 0, "", {}},
                                    {TC::ChangeSwitch, 1, "", {0, 13, 0, 0}},
                                    {TC::Empty, 1, "", {}},
                                    {TC::BattleEnd, 0, "", {}},
                                    {TC::ChangeVariable, 0, "", {0, 1, 0, 0, 0, 5, 0}}});
        auto game = StartFromMap(*map);
        ASSERT_TRUE(game);
        ASSERT_TRUE(game->Session().InBattle()) << c.Troop;
        if (c.Flee)
            EscapeThrough(*game);
        else
            FightThrough(*game);
        TRun(*game).Wait(2);
        EXPECT_NE(BattleJson(*game).find(c.Flee ? "\"result\": \"escape\"" : "\"result\": \""), std::string::npos);
        EXPECT_EQ(game->Session().SceneName(), c.Scene) << c.Troop;
        EXPECT_FALSE(game->Session().Screen().Transitions().Erased()) << "the next scene shows after the battle's erase";
        for (const int id : {11, 12, 13})
            EXPECT_EQ(game->Session().State().Switch(id), id == c.Switch) << c.Troop << " switch " << id;
        EXPECT_EQ(game->Session().State().Variable(1), c.Switch ? 5 : 0) << "the script goes on after the block";
    }
}

TEST_F(BattleScenarioTest, ARandomEncounterComesAfterTheMapsStepsWithItsEscapeRule) {
    struct TCase {
        std::uint8_t Permission;  // the map's escape permission
        bool EscapeEnabled;       // "Enable/Disable Escape"
        bool Allowed;
    };
    const TCase cases[] = {
        {TKelMapTreeItem::ppParent, true, true},
        {TKelMapTreeItem::ppDisable, true, false},
        {TKelMapTreeItem::ppEnable, false, false},
    };
    for (const TCase& c : cases) {
        TKelMapTree tree;
        {
            TMemoryStream stream(ReadWholeFile(Project.Path(TKelMapTree::kFileName)));
            tree.LoadTreeFromStream(stream);
        }
        TKelMapTreeItem& item = *tree.FindByID(1);
        item.EncounterSteps = 1;
        item.Encounters.Clear();
        item.Encounters.Obtain(1).MonsterGroupId = 2;
        item.EscapePermission = c.Permission;
        TMemoryStream stream;
        tree.SaveTreeToStream(stream);
        WriteFileAtomic(Project.Path(TKelMapTree::kFileName), stream.Bytes());
        auto game = Open(false);
        ASSERT_TRUE(game);
        game->Session().MapState().EscapeEnabled = c.EscapeEnabled;
        TRun run(*game);
        for (int i = 0; i < 200 && !game->Session().InBattle(); ++i)
            run.Hold(gbDown);
        ASSERT_TRUE(game->Session().InBattle());
        EXPECT_NE(BattleJson(*game).find("\"troop\": 2"), std::string::npos);
        EXPECT_LE(game->Session().World().Hero().Y, 12) << "within 150 % of one step";
        EXPECT_EQ(game->Session().Battle()->Battle().Setup().EscapeAllowed, c.Allowed) << int(c.Permission);
        if (!c.Allowed) {
            // The Escape command is refused: the party fights on.
            EscapeThrough(*game);
            EXPECT_EQ(BattleJson(*game).find("\"result\": \"escape\""), std::string::npos);
        }
    }
}

TEST_F(BattleScenarioTest, StartBattleSetsItsOwnEscapeRule) {
    // "NO Escape", "Allow Escape", "Add Case"; the map's permission is for random encounters only.
    for (const auto [handling, allowed] : {std::pair{0, false}, std::pair{1, true}, std::pair{2, true}}) {
        auto map = TProjectFolder::MakeMap1();
        FillScript(AddEvent(*map, 6, 3, 3).Script,
                   {{TC::EnableEscape, 0, "", {0}}, {TC::StartBattle, 0, "", {0, 1, 0, handling, 0, 0}}});
        auto game = StartFromMap(*map);
        ASSERT_TRUE(game);
        EXPECT_FALSE(game->Session().MapState().EscapeEnabled);
        ASSERT_TRUE(game->Session().InBattle());
        EXPECT_EQ(game->Session().Battle()->Battle().Setup().EscapeAllowed, allowed) << handling;
    }
}

TEST_F(BattleScenarioTest, TheMapIsErasedBeforeTheBattleShowsAndAfterItEnds) {
    struct TCase {
        int Erase;  // the system record's battle-start and battle-end erase
        bool Entering;
    };
    for (const TCase c : {TCase{ttBlinds, true}, TCase{ttNone, false}}) {
        mDatabase->System.Transition[tsBattleStartErase] = static_cast<std::uint8_t>(c.Erase);
        mDatabase->System.Transition[tsBattleEndErase] = static_cast<std::uint8_t>(c.Erase);
        auto map = TProjectFolder::MakeMap1();
        FillScript(AddEvent(*map, 6, 3, 3).Script, {{TC::StartBattle, 0, "", {0, 1, 0, 1, 0, 0}}});
        auto game = StartFromMap(*map);
        ASSERT_TRUE(game);
        TRun run(*game);
        ASSERT_TRUE(game->Session().InBattle());
        const TGameTransition& transition = game->Session().Screen().Transitions();
        // Entering: the erase runs over the map, then the battle shows with the show transition.
        EXPECT_EQ(transition.Erased(), c.Entering) << c.Erase;
        if (c.Entering) {
            // Half way: the blinds close over the map, not yet the battle.
            run.Wait(kTransitionFrames / 2);
            TOrlenBoard board;
            game->Draw(board);
            ExpectGolden(board, "battle-start-erase.png");
        }
        run.Wait(kTransitionFrames);
        EXPECT_FALSE(transition.Erased()) << c.Erase;
        // Leaving: the battle is erased while the scene is still the battle, then the map shows.
        bool erasedInBattle = false;
        for (int i = 0; i < 5000 && game->Session().InBattle(); ++i) {
            erasedInBattle = erasedInBattle || (game->Session().Battle()->Finished() && transition.Erased());
            run.Tap(gbDecide);
        }
        EXPECT_EQ(erasedInBattle, c.Entering) << c.Erase;
        EXPECT_EQ(game->Session().SceneName(), "map");
        EXPECT_FALSE(transition.Erased());
    }
}

TEST_F(BattleScenarioTest, TheLabSumsUpManyBattles) {
    auto game = Open(true, 1);
    ASSERT_TRUE(game);
    std::string error;
    const std::string json = RunBattleLab(game->Session(), 1, 20, error);
    EXPECT_NE(json.find("\"runs\": 20,\n  \"wins\": 20,\n  \"losses\": 0"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"id\": 1, \"name\": \"Aldric\", \"mean_damage_dealt\": 40.00"), std::string::npos)
        << "two slimes of 20 HP each, all dealt by the one hero\n" << json;
    // A page that loops for ever in its first turn: every battle still ends.
    AddLoopingPage(2);
    auto looping = Open(true, 2);
    ASSERT_TRUE(looping);
    const std::string bats = RunBattleLab(looping->Session(), 2, 3, error);
    EXPECT_NE(bats.find("\"wins\": 3"), std::string::npos) << bats;
    EXPECT_GT(looping->Session().State().Variable(3), 0) << "the page ran";
    EXPECT_EQ(RunBattleLab(game->Session(), 999, 1, error), "");
    EXPECT_NE(error.find("troop 999 does not exist"), std::string::npos) << error;
}

TEST_F(BattleScenarioTest, GoldenFrameOfABattleWithAnAnimation) {
    auto game = Open(true, 3);
    ASSERT_TRUE(game);
    TRun run(*game);
    run.Wait(3 * kBattleMessageFrames);  // the monsters' names
    game->Session().Battle()->ShowAnimation(1, 1, false);
    run.Wait(6);
    TOrlenBoard board;
    game->Draw(board);
    ExpectGolden(board, "battle-frame.png");
    // A page's flash and shake show over the battle too.
    game->Session().Screen().Flash(31, 0, 0, 16, 30);
    game->Session().Screen().Shake(5, 5, 30);
    run.Wait(4);
    game->Draw(board);
    ExpectGolden(board, "battle-frame-flash.png");
}

TEST_F(BattleScenarioTest, GoldenFramesOfTargetFlashesOnAMonsterAndAHero) {
    auto game = Open(true, 3);
    ASSERT_TRUE(game);
    TRun run(*game);
    run.Wait(3 * kBattleMessageFrames);
    // The starter animations flash their target white at their first frame, fading after it.
    BattleScene(*game).ShowAnimation(1, 0, false);
    run.Wait(2);
    TOrlenBoard board;
    game->Draw(board);
    ExpectGolden(board, "battle-target-flash-monster.png");
    // A hero's place is his row of the status window: the row flashes, the cells play over it.
    BattleScene(*game).StartAnimation(1, true, 0);
    run.Wait(6);  // the flash has faded to half: the row's text shows through
    game->Draw(board);
    ExpectGolden(board, "battle-target-flash-hero.png");
}

TEST_F(BattleScenarioTest, APageLoopingForEverLetsTheBattleSceneGoOn) {
    AddLoopingPage(1);
    auto game = Open(true, 1);
    ASSERT_TRUE(game);
    TRun run(*game);
    run.Wait(kTransitionFrames + 4 * kBattleMessageFrames);
    run.Tap(gbDecide);  // Fight
    run.Tap(gbDecide);  // Attack
    run.Tap(gbDecide);  // the first slime
    run.Wait(600);
    const std::int32_t counted = game->Session().State().Variable(3);
    EXPECT_GT(counted, 0) << "the page runs";
    run.Wait(10);
    EXPECT_GT(game->Session().State().Variable(3), counted) << "a little every frame";
    EXPECT_EQ(game->Session().SceneName(), "battle");
}

TEST_F(BattleScenarioTest, AnimationsWithoutFramesShowNothingAndTheBattleGoesOn) {
    for (int i = 0; i < mDatabase->Animation.Count(); ++i)
        mDatabase->Animation.Items(i)->SetFrameCount(0);
    auto game = Open(true, 1);
    ASSERT_TRUE(game);
    BattleScene(*game).ShowAnimation(1, 0, true);
    EXPECT_FALSE(BattleScene(*game).AnimationRunning());
    EXPECT_EQ(BattleScene(*game).AnimationFramesLeft(), 0);
    FightThrough(*game);
    EXPECT_NE(BattleJson(*game).find("\"result\": \"victory\""), std::string::npos) << BattleJson(*game);
}

}  // namespace
}  // namespace quillon::runtime::test
