// A whole game whose map and common events hold every command of their palette, played
// headless with buttons from an input script to its end: nothing may be left unrun, and the state
// at the end shows what the commands did.
//
// The game runs twice through its start event. The first time a password key ("decide") takes
// the long branch: every command, the scenes they open (battle, shop, inn, name entry, save,
// menu) driven by the input, a closing message and "Go to Title Screen". From the title a new
// game starts again and the password key ("cancel") takes the short branch: "Game Over". The
// state is read twice: at the closing message (the first run's state) and at the very end.
#include "runtime/GameFixture.h"

#include "data/LD_CmnEvent.h"
#include "events/EventCommands.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace quillon::runtime::test {
namespace {

constexpr std::int32_t kHero = 10001;
constexpr std::int32_t kBoat = 0;
constexpr std::int32_t kTarget = 11;  // the event the character commands work on
constexpr std::int32_t kEraser = 12;  // the event whose page "Call Event" runs: it erases itself
constexpr std::int32_t kSoundEvent = 2;  // the common event of music and sounds

// The long branch: every command once (indent 1).
std::vector<TLine> EveryCommand() {
    std::vector<TLine> lines = {
        // Messages.
        {TC::MessageOptions, 1, "", {0, 2, 0, 0}},
        {TC::SelectFaceGraphic, 1, "Faces1", {0, 0, 0}},
        {TC::ShowMessage, 1, "Welcome, \\N[1].", {}},
        {TC::MessageLine, 1, "Your key was \\V[20].", {}},
        {TC::ShowChoices, 1, "North/South", {2}},
        {TC::ChoiceCase, 1, "North", {0}},
        {TC::ChangeVariable, 2, "", {0, 2, 0, 0, 0, 1, 0}},
        {TC::Empty, 2, "", {}},
        {TC::ChoiceCase, 1, "South", {1}},
        {TC::ChangeVariable, 2, "", {0, 2, 0, 0, 0, 2, 0}},
        {TC::Empty, 2, "", {}},
        {TC::ChoiceEnd, 1, "", {}},
        {TC::InputNumber, 1, "", {2, 14}},
        // Switches, variables, timer, money, items.
        {TC::ChangeSwitch, 1, "", {0, 4, 0, 0}},
        {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 1234, 0}},
        {TC::TimerOperation, 1, "", {0, 0, 90, 0, 0}},
        {TC::TimerOperation, 1, "", {1, 0, 0, 1, 0}},
        {TC::ChangeMoney, 1, "", {0, 0, 500}},
        {TC::ChangeItemAmount, 1, "", {0, 0, 1, 0, 3}},
        {TC::ChangeItemAmount, 1, "", {0, 0, 9, 0, 1}},
        // The party and its heroes.
        {TC::ChangeParty, 1, "", {0, 0, 2}},
        {TC::ChangeExp, 1, "", {0, 0, 0, 0, 50, 0}},
        {TC::ChangeLevel, 1, "", {1, 1, 0, 0, 29, 0}},
        {TC::ChangeAbility, 1, "", {1, 2, 0, 2, 0, 5}},
        {TC::ChangeSkills, 1, "", {1, 2, 0, 0, 9}},
        {TC::ChangeEquipment, 1, "", {1, 1, 0, 0, 9}},
        {TC::ChangeHp, 1, "", {0, 0, 1, 0, 10, 0}},
        {TC::ChangeMp, 1, "", {1, 2, 1, 0, 3}},
        {TC::ChangeCondition, 1, "", {1, 2, 0, 2}},
        {TC::FullRecovery, 1, "", {1, 1}},
        {TC::TakeDamage, 1, "", {1, 2, 20, 50, 0, 0, 1, 6}},
        {TC::ChangeHeroName, 1, "Alden", {1}},
        {TC::ChangeHeroDegree, 1, "Captain", {1}},
        {TC::ChangeHeroWalkGraphic, 1, "Hero", {2, 3, 0}},
        {TC::ChangeHeroFaceGraphic, 1, "Faces2", {2, 3}},
        {TC::ChangeVehicleGraphic, 1, "Vehicle", {2, 1}},
        {TC::ChangeSystemMusic, 1, "Fanfare", {3, 0, 100, 100, 50}},  // the boat's,
        {TC::ChangeSystemSound, 1, "Decision", {1, 100, 100, 50}},
        {TC::ChangeSystemGraphic, 1, "System", {0, 0}},
        {TC::ChangeScreenTransition, 1, "", {0, 1}},
        // Scenes: a battle won, a purchase, a night at the inn, the name, a save, the menu.
        {TC::StartBattle, 1, "", {0, 1, 0, 1, 1, 0}},
        {TC::BattleVictory, 1, "", {}},
        {TC::ChangeVariable, 2, "", {0, 3, 0, 0, 0, 1, 0}},
        {TC::Empty, 2, "", {}},
        {TC::BattleEscape, 1, "", {}},
        {TC::Empty, 2, "", {}},
        {TC::BattleDefeat, 1, "", {}},
        {TC::Empty, 2, "", {}},
        {TC::BattleEnd, 1, "", {}},
        {TC::Wait, 1, "", {20}},  // leftover presses of the scene land here
        {TC::CallShop, 1, "", {0, 0, 1, 0, 1, 8}},
        {TC::ShopSuccess, 1, "", {}},
        {TC::ChangeVariable, 2, "", {0, 3, 0, 1, 0, 10, 0}},
        {TC::Empty, 2, "", {}},
        {TC::ShopFailure, 1, "", {}},
        {TC::Empty, 2, "", {}},
        {TC::ShopEnd, 1, "", {}},
        {TC::Wait, 1, "", {20}},  // leftover presses of the scene land here
        {TC::CallInn, 1, "", {0, 10, 1}},
        {TC::InnRest, 1, "", {}},
        {TC::ChangeVariable, 2, "", {0, 3, 0, 1, 0, 100, 0}},
        {TC::Empty, 2, "", {}},
        {TC::InnCancel, 1, "", {}},
        {TC::Empty, 2, "", {}},
        {TC::InnEnd, 1, "", {}},
        {TC::Wait, 1, "", {20}},  // leftover presses of the scene land here
        {TC::EnterHeroName, 1, "", {2, 0, 1}},
        {TC::Wait, 1, "", {20}},
        {TC::CallSaveMenu, 1, "", {}},
        {TC::Wait, 1, "", {20}},
        {TC::CallSystemMenu, 1, "", {}},
        {TC::Wait, 1, "", {20}},
        // Places: there and back by the memorized place, vehicles, events moved and read.
        {TC::MemorizePlace, 1, "", {7, 8, 9}},
        {TC::Teleport, 1, "", {2, 3, 4}},
        {TC::GoToMemorizedPlace, 1, "", {7, 8, 9}},
        {TC::SetVehiclePlace, 1, "", {1, 0, 2, 5, 6}},
        {TC::SetVehiclePlace, 1, "", {kBoat, 0, 1, 10, 11}},
        {TC::SetEventPlace, 1, "", {kTarget, 0, 16, 12}},
        {TC::SwapEvents, 1, "", {kTarget, 4}},
        {TC::GetTerrainId, 1, "", {0, 10, 10, 11}},
        {TC::GetEventId, 1, "", {0, 12, 10, 12}},
        // The screen.
        {TC::EraseScreen, 1, "", {0}},
        {TC::ShowScreen, 1, "", {0}},
        {TC::SetScreenTone, 1, "", {150, 100, 50, 100, 10, 1}},
        {TC::FlashScreen, 1, "", {31, 31, 31, 20, 5, 0}},
        {TC::ShakeScreen, 1, "", {5, 5, 5, 0}},
        {TC::PanScreen, 1, "", {0, 0, 0, 0, 0}},
        {TC::PanScreen, 1, "", {2, 1, 2, 5, 1}},
        {TC::PanScreen, 1, "", {3, 0, 0, 5, 1}},
        {TC::PanScreen, 1, "", {1, 0, 0, 0, 0}},
        {TC::WeatherEffects, 1, "", {1, 2}},
        {TC::ShowPicture, 1, "Scroll", {1, 0, 160, 120, 0, 100, 0, 1, 100, 100, 100, 100, 1, 4}},
        {TC::MovePicture, 1, "", {1, 0, 200, 100, 0, 150, 30, 0, 100, 100, 100, 100, 1, 4, 10, 1}},
        {TC::ShowPicture, 1, "Scroll", {2, 0, 40, 40, 0, 100, 0, 1, 100, 100, 100, 100, 0, 0}},
        {TC::ErasePicture, 1, "", {2}},
        {TC::ShowBattleAnimation, 1, "", {1, kHero, 1, 0}},
        {TC::SetHeroTranslucency, 1, "", {0}},
        {TC::FlashEvent, 1, "", {kTarget, 31, 0, 0, 31, 5, 0}},
        {TC::SetMoveRoute, 1, "", {}},
        {TC::WaitUntilMoved, 1, "", {}},
        {TC::StopAllMovement, 1, "", {}},
        {TC::Wait, 1, "", {5}},
        // Music and sounds, in a common event.
        {TC::CallEvent, 1, "", {0, kSoundEvent}},
        // The map and the permissions.
        {TC::ChangeChipSet, 1, "", {1}},
        {TC::ChangePanorama, 1, "Sky", {0, 0, 0, 0, 0, 0}},
        {TC::ChangeEncounterRate, 1, "", {25}},
        {TC::ChangeChip, 1, "", {0, 1, 2}},
        {TC::SetTeleportPlace, 1, "", {0, 2, 5, 5, 0, 0}},
        {TC::EnableTeleport, 1, "", {0}},
        {TC::SetEscapePlace, 1, "", {1, 3, 3, 0, 0}},
        {TC::EnableEscape, 1, "", {0}},
        {TC::EnableSave, 1, "", {0}},
        {TC::EnableSystemMenu, 1, "", {0}},
        {TC::StopParallelEvents, 1, "", {}},
        // Steering.
        {TC::JumpToLabel, 1, "", {2}},
        {TC::ChangeVariable, 1, "", {0, 13, 0, 0, 0, 99, 0}},  // jumped over
        {TC::Label, 1, "", {2}},
        {TC::Loop, 1, "", {}},
        {TC::ChangeVariable, 2, "", {0, 13, 0, 1, 0, 1, 0}},
        {TC::ConditionalBranch, 2, "", {1, 13, 0, 3, 1, 0}},
        {TC::BreakLoop, 3, "", {}},
        {TC::Empty, 3, "", {}},
        {TC::BranchEnd, 2, "", {}},
        {TC::Empty, 2, "", {}},
        {TC::LoopEnd, 1, "", {}},
        {TC::CallEvent, 1, "", {1, kEraser, 1}},
        {TC::Comment, 1, "Boarding last: the boat waits below the hero.", {}},
        {TC::RideVehicle, 1, "", {}},
        {TC::ShowMessage, 1, "The end", {}},
        {TC::GoToTitleScreen, 1, "", {}},
    };
    // The target walks right twice and turns up.
    for (TLine& line : lines)
        if (line.Code == TC::SetMoveRoute) {
            line.Params = {kTarget, 8, 0, 1};
            for (const std::int32_t byte : RouteParams({1, 1, 12}))  // right, right, face up
                line.Params.push_back(byte);
        }
    return lines;
}

// The start event's page: the password key chooses the branch.
std::vector<TLine> StartPage() {
    std::vector<TLine> lines = {
        {TC::EnterPassword, 0, "", {20, 1, 0, 1, 1, 0, 0, 0, 0, 0}},
        {TC::ConditionalBranch, 0, "", {1, 20, 0, 6, 0, 1}},
        {TC::GameOver, 1, "", {}},
        {TC::Empty, 1, "", {}},
        {TC::BranchElse, 0, "", {}},
    };
    for (const TLine& line : EveryCommand())
        lines.push_back(line);
    lines.push_back({TC::Empty, 1, "", {}});
    lines.push_back({TC::BranchEnd, 0, "", {}});
    return lines;
}

// The common event of music and sounds: "Battle" memorized, faded, played again.
std::vector<TLine> SoundEvent() {
    return {{TC::PlayBgm, 0, "Battle", {0, 100, 100, 50}},
            {TC::MemorizeBgm, 0, "", {}},
            {TC::FadeOutBgm, 0, "", {1}},
            {TC::PlayMemorizedBgm, 0, "", {}},
            {TC::PlaySoundEffect, 0, "Cursor", {100, 100, 50}},
            {TC::PlayMovie, 0, "Intro", {0, 0, 0, 320, 240}}};
}

// The erasing event's page, which "Call Event" runs.
std::vector<TLine> EraserPage() { return {{TC::EraseEvent, 0, "", {}}}; }

void WriteScenario(const TProjectFolder& project) {
    auto map = TProjectFolder::MakeMap1();
    TKelEventPageItem& start = AddEvent(*map, 10, 0, 19);
    start.Trigger = 3;  // starts by itself
    FillScript(start.Script, StartPage());
    TKelEventPageItem& target = AddEvent(*map, kTarget, 14, 12);
    target.GraphicName = "People";
    target.Priority = 1;
    TKelEventPageItem& eraser = AddEvent(*map, kEraser, 2, 2);
    eraser.GraphicName = "People";
    eraser.Priority = 1;
    FillScript(eraser.Script, EraserPage());
    project.WriteMap(*map, 1);
    auto database = project.Database();
    TKelCommonEventItem& sounds = database->CommonEvent.Obtain(kSoundEvent);
    sounds.Name = "Music and sounds";
    sounds.Trigger = TKelCommonEventItem::ctCall;
    FillScript(sounds.Script, SoundEvent());
    project.WriteDatabase(*database);
}

// The buttons: each scene's keys, then quiet frames that outlast it (the script waits after
// every scene, so a press too many lands on the waiting map).
std::string FirstRound() {
    std::string input =
        "30 -\n1 decide\n"                       // the password key: the long branch
        "60 -\n1 decide\n"                       // the message
        "30 -\n1 up\n5 -\n1 decide\n";           // the first choice, then a number
    for (int i = 0; i < 30; ++i)
        input += "1 decide\n9 -\n";               // the battle: attack until it is won
    input += "150 -\n"
             "1 decide\n20 -\n1 decide\n20 -\n1 decide\n20 -\n1 decide\n20 -\n"  // buy a potion
             "1 cancel\n20 -\n1 cancel\n20 -\n1 cancel\n100 -\n"                  // out of the shop
             "30 -\n1 decide\n30 -\n1 decide\n30 -\n1 decide\n300 -\n"            // a night at the inn
             "100 -\n1 left\n10 -\n1 decide\n200 -\n"                           // the name as it was: "OK"
             "1 decide\n200 -\n"                                                  // save into slot 1
             "1 cancel\n600 -\n";                                                 // the menu closed
    return input;
}

// From the closing message on: the title, a new game, the other password key, game over.
std::string SecondRound() {
    return "1 decide\n60 -\n1 decide\n60 -\n1 cancel\n120 -\n1 decide\n30 -\n";
}

class MapCommandScenarioTest : public ::testing::Test {
protected:
    void SetUp() override { WriteScenario(Project); }
    // Plays the input headless; answers what it wrote on standard error.
    std::string Play(const std::string& input, int& status) {
        ::testing::internal::CaptureStderr();
        status = Headless(Project, input, {"--seed", "5"});
        return ::testing::internal::GetCapturedStderr();
    }
    std::string State() const { return ReadWholeFile(Project.Path("state.json")); }

    TProjectFolder Project;
};

TEST_F(MapCommandScenarioTest, TheScenarioHoldsEveryCommandOfThePalette) {
    std::set<std::int32_t> held;
    for (const auto& page : {StartPage(), EraserPage(), SoundEvent()})
        for (const TLine& line : page)
            held.insert(ToInt(line.Code));
    std::vector<std::string> missing;
    for (const std::int32_t code : NonBattleCommandCodes())
        if (held.count(code) == 0)
            missing.push_back(DescribeCommandCode(code));
    EXPECT_EQ(NonBattleCommandCodes().size(), 90u);
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
}

TEST_F(MapCommandScenarioTest, EveryCommandRunsAndTheGameEnds) {
    int status = -1;
    const std::string firstErrors = Play(FirstRound(), status);
    ASSERT_EQ(status, 0) << firstErrors;
    const std::string state = State();
    const auto has = [&state](const std::string& text) {
        EXPECT_NE(state.find(text), std::string::npos) << text << "\n" << state;
    };
    // At the closing message, after every command of the long branch.
    has("\"scene\": \"message\"");
    has("\"messages\": [\"Welcome, Aldric.\\nYour key was 5.\",\"A night costs 10G for everyone.\\nWill you stay?\",\"The end\"]");
    has("\"map\": 1,\n  \"x\": 10,\n  \"y\": 11");  // aboard the boat below the start cell
    has("\"switches\": [4]");
    // 1: set; 2: the first choice; 3: battle won, goods bought, a night's rest; 6: damage taken;
    // 7-9: the memorized place; 11, 12: terrain and event read; 13: the loop's count (the
    // jumped-over line left it alone); 14: the number entered; 20: the password key.
    has("\"variables\": {\"1\": 1234,\"2\": 1,\"3\": 111,\"6\": 18,\"7\": 1,\"8\": 10,\"9\": 10,\"11\": 1,"
        "\"12\": 1,\"13\": 3,\"14\": 10,\"20\": 5}");
    has("\"money\": 480");                // 500 given, 10 found, 20 for a potion, 10 for the inn
    has("\"items\": {\"1\": 5}");         // potions: three given, one found, one bought
    has("{\"id\": 1, \"name\": \"Alden\", \"level\": 31,");
    has("\"degree\": \"Captain\"");
    has("\"equipment\": [9,0,0,0,0]");
    has("{\"id\": 2, \"name\": \"Brenna\", \"level\": 2,");
    has("\"skills\": [1,9]");
    has("\"timer\": 70");
    has("{\"id\": 12, \"x\": 2, \"y\": 2, \"direction\": 2, \"page\": 0, \"erased\": true}");
    has("\"pictures\": [{\"number\": 1, \"name\": \"Scroll\", \"x\": 200, \"y\": 100, \"magnification\": 150, "
        "\"transparency\": 30}]");
    has("\"tone\": {\"r\": 150, \"g\": 100, \"b\": 50, \"gray\": 100}");
    has("\"weather\": {\"kind\": \"rain\", \"strength\": \"high\"}");
    has("\"result\": \"victory\"");
    has("\"vehicles\": {\"boat\": {\"map\": 1, \"x\": 10, \"y\": 11},\"ship\": {\"map\": 2, \"x\": 5, \"y\": 6},");
    has("\"riding\": \"boat\"");
    has("\"bgm\": \"Fanfare\"");  // the boat's music as changed
    has("\"memorized\": {\"map\": 1, \"x\": 10, \"y\": 10}");
    has("\"flags\": {\"save\": false, \"menu\": false, \"escape\": false, \"teleport\": false}");
    EXPECT_TRUE(std::filesystem::exists(Project.Path("Save01.ksv")));

    // On to the end: the title, a new game and game over.
    const std::string errors = Play(FirstRound() + SecondRound(), status);
    ASSERT_EQ(status, 0) << errors;
    const std::string end = State();
    EXPECT_NE(end.find("\"scene\": \"ended\""), std::string::npos) << end;
    EXPECT_NE(end.find("\"variables\": {\"20\": 6}"), std::string::npos) << end;  // the new game's key
    // Everything ran: no command was skipped or refused, and the movie's note is the only line.
    EXPECT_EQ(errors.find("skipped"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("not run yet"), std::string::npos) << errors;
    EXPECT_EQ(errors, "quillon-player: Play Movie: \"Intro\" is not shown (the player has no movie decoder)\n");
}

}  // namespace
}  // namespace quillon::runtime::test
