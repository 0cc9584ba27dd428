// The interpreter's blocks and each command it runs, on their edge cases, in a game of the
// fixture project.
#include "runtime/GameFixture.h"

#include "data/LD_CmnEvent.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <gtest/gtest.h>

namespace quillon::runtime::test {
namespace {

class InterpreterTest : public TGameTest {
protected:
    void SetUp() override {
        auto database = Project.Database();
        TKelCommonEventItem& common = database->CommonEvent.Obtain(1);
        FillScript(common.Script, {{TC::ChangeVariable, 0, "", {0, 3, 0, 0, 0, 7, 0}}});
        TKelCommonEventItem& recursive = database->CommonEvent.Obtain(2);
        FillScript(recursive.Script, {{TC::ChangeVariable, 0, "", {0, 4, 0, 1, 0, 1, 0}}, {TC::CallEvent, 0, "", {0, 2}}});
        Project.WriteDatabase(*database);
        OpenGame();
    }

    // Runs a script to its end (at most `steps` steps), with the buttons of each step for the
    // message window; answers the steps it took.
    int Run(const std::vector<TLine>& lines, int steps = 200, std::int32_t eventId = 0,
            std::vector<std::uint32_t> buttons = {}) {
        return RunScript(Session(), Script, lines, steps, eventId, buttons, &Running);
    }
};

TEST_F(InterpreterTest, ForkTakesThenOrElse) {
    for (const bool on : {true, false}) {
        State().SetSwitch(5, on);
        Run({{TC::ConditionalBranch, 0, "", {0, 5, 0, 0, 0, 1}},
             {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 1, 0}},
             {TC::Empty, 1, "", {}},
             {TC::BranchElse, 0, "", {}},
             {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 2, 0}},
             {TC::Empty, 1, "", {}},
             {TC::BranchEnd, 0, "", {}},
             {TC::ChangeVariable, 0, "", {0, 2, 0, 1, 0, 1, 0}}});
        EXPECT_EQ(State().Variable(1), on ? 1 : 2);
    }
    EXPECT_EQ(State().Variable(2), 2);  // the line after the block ran both times
}

TEST_F(InterpreterTest, ForkConditionKinds) {
    State().SetVariable(1, 10);
    State().SetVariable(2, 10);
    State().SetMoney(500);
    State().SetItemCount(1, 2);
    struct TCase {
        std::vector<std::int32_t> Params;
        std::string Text;
        bool Expected;
    } cases[] = {
        {{1, 1, 0, 10, 0}, "", true},   // variable = 10
        {{1, 1, 0, 10, 5}, "", false},  // variable != 10
        {{1, 1, 1, 2, 1}, "", true},    // variable >= variable 2
        {{1, 1, 0, 11, 4}, "", true},   // variable < 11
        {{1, 1, 0, 10, 3}, "", false},  // variable > 10
        {{3, 500, 0}, "", true},        // money at least 500
        {{3, 499, 1}, "", false},       // money at most 499
        {{4, 1, 0}, "", true},          // has item 1
        {{4, 2, 0}, "", false},         // has item 2
        {{4, 2, 1}, "", true},          // does not have item 2
        {{5, 1, 0}, "", true},          // hero 1 in the party
        {{5, 2, 0}, "", false},
        {{5, 1, 1}, "Aldric", true},    // hero 1's name
        {{5, 1, 2, 2}, "", false},      // hero 1's level at least 2
        {{6, 10001, 2}, "", true},      // the hero faces down
        {{8}, "", false},               // not started by the decide key
    };
    for (const TCase& c : cases) {
        State().SetSwitch(9, false);
        std::vector<std::int32_t> params = c.Params;
        params.resize(6);
        Run({{TC::ConditionalBranch, 0, c.Text, params},
             {TC::ChangeSwitch, 1, "", {0, 9, 0, 0}},
             {TC::Empty, 1, "", {}},
             {TC::BranchEnd, 0, "", {}}});
        EXPECT_EQ(State().Switch(9), c.Expected) << "kind " << c.Params[0] << " " << c.Params.size();
    }
}

TEST_F(InterpreterTest, MusicHasPlayedOnceAfterItsRound) {
    // Headless, a music's round is the assumed minute of play since it began (the start map's
    // "Town" began as the game opened).
    const auto playedOnce = [&] {
        State().SetSwitch(9, false);
        Run({{TC::ConditionalBranch, 0, "", {9, 0, 0, 0, 0, 0}},
             {TC::ChangeSwitch, 1, "", {0, 9, 0, 0}},
             {TC::Empty, 1, "", {}},
             {TC::BranchEnd, 0, "", {}}});
        return State().Switch(9);
    };
    TRun run(*Game);
    run.Wait(TRecordingGameAudio::kAssumedMusicSteps - 1);
    EXPECT_FALSE(playedOnce());
    run.Wait(1);
    EXPECT_TRUE(playedOnce());
    // The same music asked for again plays on; another one starts its round afresh.
    Run({{TC::PlayBgm, 0, "Town", {0, 100, 100, 50}}});
    EXPECT_TRUE(playedOnce());
    Run({{TC::PlayBgm, 0, "Battle", {0, 100, 100, 50}}});
    EXPECT_FALSE(playedOnce());
    run.Wait(TRecordingGameAudio::kAssumedMusicSteps);
    EXPECT_TRUE(playedOnce());
    Run({{TC::FadeOutBgm, 0, "", {1}}});
    EXPECT_FALSE(playedOnce()) << "no music, no round";
}

TEST_F(InterpreterTest, LoopBreaksAndLabelsJump) {
    Run({{TC::Loop, 0, "", {}},
         {TC::ChangeVariable, 1, "", {0, 1, 0, 1, 0, 1, 0}},
         {TC::ConditionalBranch, 1, "", {1, 1, 0, 3, 1, 0}},
         {TC::BreakLoop, 2, "", {}},
         {TC::Empty, 2, "", {}},
         {TC::BranchEnd, 1, "", {}},
         {TC::Empty, 1, "", {}},
         {TC::LoopEnd, 0, "", {}},
         {TC::JumpToLabel, 0, "", {4}},
         {TC::ChangeVariable, 0, "", {0, 2, 0, 0, 0, 99, 0}},
         {TC::Label, 0, "", {4}},
         {TC::ChangeVariable, 0, "", {0, 3, 0, 0, 0, 1, 0}}});
    EXPECT_EQ(State().Variable(1), 3);
    EXPECT_EQ(State().Variable(2), 0);  // jumped over
    EXPECT_EQ(State().Variable(3), 1);
}

TEST_F(InterpreterTest, ALoopThatNeverWaitsYieldsEveryStep) {
    Run({{TC::Loop, 0, "", {}}, {TC::ChangeVariable, 1, "", {0, 1, 0, 1, 0, 1, 0}}, {TC::LoopEnd, 0, "", {}}}, 3);
    EXPECT_TRUE(Running);
    // Three steps of a bounded number of lines each (two lines a round).
    EXPECT_EQ(State().Variable(1), 3 * kLinesPerStep / 2);
}

TEST_F(InterpreterTest, ChangeVariableOperationsAndOperands) {
    struct TCase {
        std::int32_t Start;
        std::int32_t Operation;
        std::int32_t Operand;
        std::int32_t Expected;
    } cases[] = {
        {5, 0, 3, 3},   {5, 1, 3, 8},     {5, 2, 8, -3},     {5, 3, -4, -20}, {7, 4, 2, 3},
        {-7, 4, 2, -3}, {7, 5, 3, 1},     {-7, 5, 3, -1},    {7, 4, 0, 7},    {7, 5, 0, 7},
        {9999990, 1, 100, kMaxVariable},  {-9999990, 2, 100, -kMaxVariable},
    };
    for (const TCase& c : cases) {
        State().SetVariable(1, c.Start);
        Run({{TC::ChangeVariable, 0, "", {0, 1, 0, c.Operation, 0, c.Operand, 0}}});
        EXPECT_EQ(State().Variable(1), c.Expected) << c.Start << " op " << c.Operation << " " << c.Operand;
    }
    // Operands: another variable, a variable by index, money, party size, the hero's X.
    State().SetVariable(2, 3);
    State().SetVariable(3, 44);
    State().SetMoney(250);
    const std::pair<std::vector<std::int32_t>, std::int32_t> operands[] = {
        {{1, 2, 0}, 3}, {{2, 2, 0}, 44}, {{7, 0, 0}, 250}, {{7, 2, 0}, 1}, {{6, 10001, 1}, 10}, {{5, 1, 0}, 1},
    };
    for (const auto& [operand, expected] : operands) {
        Run({{TC::ChangeVariable, 0, "", {0, 1, 0, 0, operand[0], operand[1], operand[2]}}});
        EXPECT_EQ(State().Variable(1), expected) << "operand " << operand[0];
    }
    // A range, each with its own random number within the bounds.
    Run({{TC::ChangeVariable, 0, "", {1, 10, 19, 0, 3, -5, 5}}});
    for (int id = 10; id <= 19; ++id) {
        EXPECT_GE(State().Variable(id), -5);
        EXPECT_LE(State().Variable(id), 5);
    }
}

TEST_F(InterpreterTest, SwitchesMoneyAndItems) {
    State().SetVariable(1, 7);
    Run({{TC::ChangeSwitch, 0, "", {1, 3, 5, 0}},   // 3..5 on
         {TC::ChangeSwitch, 0, "", {0, 4, 0, 2}},   // 4 toggled off
         {TC::ChangeSwitch, 0, "", {2, 1, 0, 0}},   // switch #variable 1 (7) on
         {TC::ChangeMoney, 0, "", {0, 0, 100}},
         {TC::ChangeMoney, 0, "", {1, 1, 1}},        // minus variable 1
         {TC::ChangeItemAmount, 0, "", {0, 0, 2, 0, 150}}, // capped at 99
         {TC::ChangeItemAmount, 0, "", {0, 0, 3, 0, 2}},
         {TC::ChangeItemAmount, 0, "", {1, 0, 3, 0, 5}},   // not below 0
         {TC::ChangeItemAmount, 0, "", {0, 0, 9999, 0, 1}}});  // no such item
    EXPECT_EQ(State().Switches(), (std::set<int>{3, 5, 7}));
    EXPECT_EQ(State().Money(), 93);
    EXPECT_EQ(State().ItemCount(2), kMaxItemCount);
    EXPECT_EQ(State().ItemCount(3), 0);
    EXPECT_EQ(State().ItemCount(9999), 0);
    Run({{TC::ChangeMoney, 0, "", {1, 0, 1000}}});
    EXPECT_EQ(State().Money(), 0);
}

TEST_F(InterpreterTest, CallsAreBoundedAndMissingTargetsSkipped) {
    Run({{TC::CallEvent, 0, "", {0, 1}}, {TC::CallEvent, 0, "", {0, 77}}, {TC::CallEvent, 0, "", {1, 99, 1}}});
    EXPECT_EQ(State().Variable(3), 7);
    // A common event that calls itself stops at the depth limit.
    const int steps = Run({{TC::CallEvent, 0, "", {0, 2}}});
    EXPECT_FALSE(Running);
    EXPECT_LT(steps, 5);
    EXPECT_EQ(State().Variable(4), kMaxCallDepth - 1);
}

TEST_F(InterpreterTest, EraseTeleportWaitAndUnknownCommands) {
    Run({{TC::EraseEvent, 0, "", {}}}, 10, 4);
    EXPECT_TRUE(Session().World().EventById(4)->Erased);
    EXPECT_EQ(Session().World().EventById(4)->PageId(), 0);
    // Missing map, a cell outside the map: skipped; the game stays.
    Run({{TC::Teleport, 0, "", {42, 1, 1}}, {TC::Teleport, 0, "", {2, 20, 1}}, {TC::Teleport, 0, "", {2, -1, 1}}});
    EXPECT_EQ(Session().World().MapId(), 1);
    EXPECT_EQ(Run({{TC::Wait, 0, "", {5}}}), 1 + 30 + 1);  // the wait, half a second, the end
    EXPECT_EQ(Run({{ToCommandCode(99999), 0, "", {1, 2}}, {TC::ChangeVariable, 0, "", {0, 1, 0, 0, 0, 8, 0}}}), 1);
    EXPECT_EQ(State().Variable(1), 8);
    // A route whose bytes end inside a command is refused; the hero stays.
    std::vector<std::int32_t> params{10001, 8, 0, 0, 35, 5};  // "Play SE " with a name cut short
    Run({{TC::SetMoveRoute, 0, "", params}});
    EXPECT_FALSE(Session().World().Hero().Moving());
}

TEST_F(InterpreterTest, MoveRouteAndWaitUntilMoved) {
    // Skippable: the second step, into the talker at (12, 10), is left out.
    std::vector<std::int32_t> params{10001, 8, 0, 1};
    for (const std::int32_t byte : RouteParams({1, 1, 2, mcSwitchOn}))
        params.push_back(byte);
    const int steps = Run({{TC::SetMoveRoute, 0, "", params}, {TC::WaitUntilMoved, 0, "", {}}}, 200);
    // The script waited for the route; the hero's steps are moved by the world.
    EXPECT_TRUE(Running);
    EXPECT_EQ(steps, 200);
    TGameWorld& world = Session().World();
    for (int i = 0; i < 100; ++i)
        world.Update(TGameInput(), false);
    EXPECT_EQ(world.Hero().X, 11);
    EXPECT_EQ(world.Hero().Y, 11);
    EXPECT_TRUE(State().Switch(3));
    EXPECT_FALSE(world.AnyForcedRoute());
}

TEST_F(InterpreterTest, ChoicesAnswerTheirCasesAndCancel) {
    const std::vector<TLine> script{{TC::ShowChoices, 0, "A/B", {5}},
                                    {TC::ChoiceCase, 0, "A", {0}},
                                    {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 1, 0}},
                                    {TC::Empty, 1, "", {}},
                                    {TC::ChoiceCase, 0, "B", {1}},
                                    {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 2, 0}},
                                    {TC::Empty, 1, "", {}},
                                    {TC::ChoiceCase, 0, "", {4}},
                                    {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 3, 0}},
                                    {TC::Empty, 1, "", {}},
                                    {TC::ChoiceEnd, 0, "", {}},
                                    {TC::InputNumber, 0, "", {2, 6}}};
    // Down then decide: "B"; then the number input: up (1) and decide twice.
    std::vector<std::uint32_t> buttons(20, 0);
    buttons[2] = gbDown;
    buttons[5] = gbDecide;
    buttons[9] = gbUp;
    buttons[12] = gbRight;
    buttons[14] = gbUp;
    buttons[16] = gbDecide;
    Run(script, 40, 0, buttons);
    EXPECT_EQ(State().Variable(1), 2);
    EXPECT_FALSE(Running);
    EXPECT_GT(State().Variable(6), 0);
    buttons.assign(20, 0);
    buttons[3] = gbCancel;
    buttons[10] = gbDecide;
    Run(script, 40, 0, buttons);
    EXPECT_EQ(State().Variable(1), 3);
}

}  // namespace
}  // namespace quillon::runtime::test
