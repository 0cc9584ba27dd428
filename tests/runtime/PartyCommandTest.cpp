// The timer, party and hero commands in a game of the fixture project (the starter heroes:
// Aldric, Brenna, Corin ...; the party is Aldric and Brenna): the three target forms, operands
// by variable, the ranges of levels, HP and MP, a missing hero, the level-up message, the timer
// on the screen and in the state JSON.
#include "runtime/GameFixture.h"
#include "runtime/TextFixture.h"

#include "data/HeroEquipment.h"
#include "graphics/OrlenSheet.h"
#include "runtime/GameAudio.h"
#include "runtime/GameHero.h"
#include "runtime/GameMessage.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"

#include <gtest/gtest.h>

namespace quillon::runtime::test {
namespace {

constexpr std::int32_t kAldric = 1, kBrenna = 2, kCorin = 3, kNobody = 99;

class PartyCommandTest : public TGameTest {
protected:
    void SetUp() override {
        auto database = Project.Database();
        database->System.SetPartySize(2);
        database->System.SetPartyMember(1, kBrenna);
        TKelPlayerItem& aldric = *database->Player.FindByID(kAldric);
        aldric.MaxLevel = 20;
        aldric.ExpStandard = 30;  // totals 0, 30, 84, 172 ...
        aldric.ExpAdditional = 30;
        aldric.ExpCorrection = 0;
        Project.WriteDatabase(*database);
        OpenGame();
    }
    const TKelDataBase& Db() { return State().Database(); }
    THeroState& Hero(std::int32_t id) { return *State().Hero(id); }
    void Run(const std::vector<TLine>& lines, int steps = 50, const std::vector<std::uint32_t>& buttons = {}) {
        RunScript(Session(), Script, lines, steps, 0, buttons, &Running);
    }
    // The HP of Aldric, Brenna and Corin.
    std::array<std::int32_t, 3> Hps() { return {Hero(kAldric).Hp, Hero(kBrenna).Hp, Hero(kCorin).Hp}; }
};

TEST_F(PartyCommandTest, TargetFormsNameThePartyAHeroOrAVariablesHero) {
    State().SetVariable(5, kCorin);
    State().SetVariable(6, kNobody);
    State().SetVariable(7, 4);
    struct Case {
        std::int32_t Who, Hero;
        std::int32_t AmountKind, Amount;
        std::array<std::int32_t, 3> Lost;  // HP lost by Aldric, Brenna, Corin
    } cases[] = {
        {0, 0, 0, 3, {3, 3, 0}},       // the party
        {1, kCorin, 0, 3, {0, 0, 3}},  // a hero outside the party
        {2, 5, 1, 7, {0, 0, 4}},       // the hero variable 5 names, by variable 7's amount
        {1, kNobody, 0, 3, {0, 0, 0}},
        {2, 6, 0, 3, {0, 0, 0}},
        {7, kAldric, 0, 3, {0, 0, 0}},  // no such form
    };
    for (const Case& c : cases) {
        const std::array<std::int32_t, 3> before = Hps();
        Run({{TC::ChangeHp, 0, "", {c.Who, c.Hero, 1, c.AmountKind, c.Amount, 0}}});
        const std::array<std::int32_t, 3> after = Hps();
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(before[i] - after[i], c.Lost[i]) << "form " << c.Who << " hero " << i + 1;
    }
}

TEST_F(PartyCommandTest, DeathNeedsTheFlagAndAFallenPartyEndsTheGame) {
    Run({{TC::ChangeHp, 0, "", {1, kAldric, 1, 0, 9999, 0}}, {TC::ChangeMp, 0, "", {1, kAldric, 1, 0, 9999}}});
    EXPECT_EQ(Hero(kAldric).Hp, 1);
    EXPECT_EQ(Hero(kAldric).Mp, 0);
    Run({{TC::ChangeHp, 0, "", {1, kAldric, 0, 0, 9999, 1}}});  // the flag counts for a decrease only
    EXPECT_EQ(Hero(kAldric).Hp, HeroMaxHp(Db(), Hero(kAldric)));
    Run({{TC::ChangeHp, 0, "", {1, kAldric, 1, 0, 9999, 1}}});
    EXPECT_EQ(Hero(kAldric).Hp, 0);
    EXPECT_TRUE(HeroUnconscious(Hero(kAldric)));
    EXPECT_EQ(Session().Scene(), TScene::Map) << "Brenna still stands";
    Run({{TC::ChangeHp, 0, "", {1, kAldric, 0, 0, 50, 0}}});
    EXPECT_EQ(Hero(kAldric).Hp, 0) << "HP does not wake the unconscious";
    Run({{TC::FullRecovery, 0, "", {1, kAldric}}});
    EXPECT_EQ(Hero(kAldric).Hp, HeroMaxHp(Db(), Hero(kAldric)));
    Run({{TC::ChangeHp, 0, "", {0, 0, 1, 0, 9999, 1}}, {TC::ChangeVariable, 0, "", {0, 1, 0, 0, 0, 1, 0}}});
    EXPECT_EQ(Session().Scene(), TScene::GameOver);
    EXPECT_EQ(State().Variable(1), 0) << "the script ends with the game";
}

TEST_F(PartyCommandTest, LevelsAndExperienceMoveTogetherWithinTheMaximum) {
    struct Case {
        TCommandCode Code;
        std::int32_t Operation, Amount;
        std::int32_t Level;
    } cases[] = {
        {TC::ChangeLevel, 0, 50, 20},  // Aldric's maximum
        {TC::ChangeLevel, 1, 99, 1},
        {TC::ChangeExp, 0, 172, 4},
        {TC::ChangeExp, 1, 100, 2},
    };
    for (const Case& c : cases) {
        Run({{c.Code, 0, "", {1, kAldric, c.Operation, 0, c.Amount, 0}}});
        EXPECT_EQ(Hero(kAldric).Level, c.Level) << ToInt(c.Code) << " " << c.Operation << " " << c.Amount;
    }
    EXPECT_EQ(Hero(kAldric).Exp, 72);
    EXPECT_EQ(Hero(kAldric).Skills, (std::set<std::int32_t>{9, 10, 11})) << "levels 1, 7 and 13 taught";
}

TEST_F(PartyCommandTest, TheLevelUpMessageUsesTheVocabularyAndWaits) {
    const TLine setVariable{TC::ChangeVariable, 0, "", {0, 1, 0, 1, 0, 1, 0}};
    Run({{TC::ChangeLevel, 0, "", {1, kCorin, 0, 0, 1, 1}}, setVariable}, 30);
    EXPECT_TRUE(Running);
    EXPECT_EQ(State().Variable(1), 0) << "waiting for the decide key";
    // The whole party rises to 7: Aldric learns skill 10 there, Brenna skill 2; a window each.
    std::vector<std::uint32_t> buttons(100, 0);
    for (std::size_t step = 10; step < buttons.size(); step += 15)
        buttons[step] = gbDecide;
    Run({{TC::ChangeLevel, 0, "", {0, 0, 0, 0, 6, 1}}, setVariable, {TC::ChangeLevel, 0, "", {0, 0, 0, 0, 1, 0}}},
        100, buttons);
    EXPECT_FALSE(Running);
    EXPECT_EQ(State().Variable(1), 1);
    EXPECT_EQ(Session().Messages().ShownTexts(),
              (std::vector<std::string>{"Corin reached level 2",
                                        "Aldric reached level 7\n" + Db().Skill.FindByID(10)->Name + " was learned!",
                                        "Brenna reached level 7\n" + Db().Skill.FindByID(2)->Name + " was learned!"}));
    EXPECT_EQ(Hero(kBrenna).Level, 8) << "no message without the flag";
}

TEST_F(PartyCommandTest, PartyMembersComeAndGo) {
    State().SetVariable(3, kCorin);
    struct Case {
        std::int32_t Operation, Kind, Hero;
        std::vector<std::int32_t> Party;
    } cases[] = {
        {0, 1, 3, {1, 2, 3}},     {0, 0, kCorin, {1, 2, 3}},  // once only
        {0, 0, 4, {1, 2, 3, 4}},  {0, 0, 5, {1, 2, 3, 4}},    // four at most
        {0, 0, kNobody, {1, 2, 3, 4}},
        {1, 0, kAldric, {2, 3, 4}}, {1, 1, 3, {2, 4}},        {1, 0, kAldric, {2, 4}},
    };
    for (const Case& c : cases) {
        Run({{TC::ChangeParty, 0, "", {c.Operation, c.Kind, c.Hero}}});
        EXPECT_EQ(State().Party(), c.Party) << c.Operation << " " << c.Hero;
    }
    EXPECT_EQ(Session().World().Hero().CharIndex, Hero(kBrenna).CharIndex) << "the new leader walks";
}

TEST_F(PartyCommandTest, AbilitiesSkillsAndConditions) {
    State().SetVariable(4, 12);
    const std::int32_t attack = HeroParameter(Db(), Hero(kAldric), hpAttack);
    Run({{TC::ChangeAbility, 0, "", {1, kAldric, 0, hpAttack, 0, 5}},
         {TC::ChangeAbility, 0, "", {1, kAldric, 1, hpMaxMp, 0, 999}},
         {TC::ChangeSkills, 0, "", {1, kAldric, 0, 1, 4}},
         {TC::ChangeSkills, 0, "", {1, kAldric, 1, 0, 9}},
         {TC::ChangeCondition, 0, "", {0, 0, 0, 2}},
         {TC::ChangeCondition, 0, "", {1, kBrenna, 1, 2}}});
    EXPECT_EQ(HeroParameter(Db(), Hero(kAldric), hpAttack), attack + 5);
    EXPECT_EQ(HeroMaxMp(Db(), Hero(kAldric)), 0);
    EXPECT_EQ(Hero(kAldric).Mp, 0);
    EXPECT_EQ(Hero(kAldric).Skills, (std::set<std::int32_t>{12}));
    EXPECT_EQ(Hero(kAldric).Conditions, (std::set<std::int32_t>{2}));
    EXPECT_TRUE(Hero(kBrenna).Conditions.empty());
    // The forks on a learned skill and on a condition.
    for (const auto& [kind, value, expected] :
         {std::tuple{4, 12, true}, std::tuple{4, 9, false}, std::tuple{6, 2, true}, std::tuple{6, 3, false}}) {
        State().SetSwitch(9, false);
        Run({{TC::ConditionalBranch, 0, "", {5, kAldric, kind, value, 0, 0}},
             {TC::ChangeSwitch, 1, "", {0, 9, 0, 0}},
             {TC::Empty, 1, "", {}},
             {TC::BranchEnd, 0, "", {}}});
        EXPECT_EQ(State().Switch(9), expected) << kind << " " << value;
    }
    Run({{TC::FullRecovery, 0, "", {0, 0}}});
    EXPECT_TRUE(Hero(kAldric).Conditions.empty());
}

TEST_F(PartyCommandTest, EquipmentComesFromAndGoesToTheInventory) {
    std::int32_t sword = 0, shield = 0;
    for (int i = 0; i < Db().Item.Count(); ++i) {
        const TKelItemItem* item = Db().Item.Items(i);
        if (item->Kind == TKelItemItem::ikWeapon && !item->TwoHanded && sword == 0)
            sword = item->ID;
        if (item->Kind == TKelItemItem::ikShield && shield == 0)
            shield = item->ID;
    }
    ASSERT_TRUE(sword != 0 && shield != 0);
    Run({{TC::ChangeEquipment, 0, "", {1, kAldric, 1, 5, 0}}});  // everything off first
    State().SetItemCount(sword, 1);
    State().SetItemCount(shield, 2);
    State().SetVariable(8, shield);
    Run({{TC::ChangeEquipment, 0, "", {0, 0, 0, 0, sword}},     // one sword for two: Aldric gets it
         {TC::ChangeEquipment, 0, "", {0, 0, 0, 1, 8}}});       // the shields by variable
    EXPECT_EQ(Hero(kAldric).Equipment[hsWeapon], sword);
    EXPECT_NE(Hero(kBrenna).Equipment[hsWeapon], sword);
    EXPECT_EQ(Hero(kAldric).Equipment[hsShield], shield);
    EXPECT_EQ(State().ItemCount(sword), 0);
    Run({{TC::ChangeEquipment, 0, "", {1, kAldric, 1, hsShield, 0}}});
    EXPECT_EQ(Hero(kAldric).Equipment[hsShield], 0);
    EXPECT_EQ(Hero(kAldric).Equipment[hsWeapon], sword);
    Run({{TC::ChangeEquipment, 0, "", {1, kAldric, 1, 5, 0}}});
    EXPECT_EQ(Hero(kAldric).Equipment, (std::array<std::int32_t, 5>{}));
    EXPECT_EQ(State().ItemCount(sword), 1);
}

TEST_F(PartyCommandTest, DamageFollowsDefenceAndMindAndCanGoToAVariable) {
    const THeroState& aldric = Hero(kAldric);
    const std::int32_t defense = HeroParameter(Db(), aldric, hpDefense);
    const std::int32_t mind = HeroParameter(Db(), aldric, hpMind);
    const std::int32_t hp = aldric.Hp;
    Run({{TC::TakeDamage, 0, "", {1, kAldric, 40, 100, 100, 0, 1, 3}}});
    const std::int32_t expected = std::max(40 - defense / 2 - mind / 4, 0);
    EXPECT_EQ(State().Variable(3), expected);
    EXPECT_EQ(aldric.Hp, std::max(hp - expected, 0));
    // Variance 10: within 50 % either way; no effects: the attack itself.
    for (int i = 0; i < 20; ++i) {
        Run({{TC::FullRecovery, 0, "", {1, kAldric}}, {TC::TakeDamage, 0, "", {1, kAldric, 20, 0, 0, 10, 1, 3}}});
        EXPECT_GE(State().Variable(3), 10);
        EXPECT_LE(State().Variable(3), 30);
    }
    Run({{TC::TakeDamage, 0, "", {1, kAldric, 999999, 0, 0, 0, 0, 0}}});
    EXPECT_EQ(aldric.Hp, 0) << "damage can knock a hero out";
}

TEST_F(PartyCommandTest, NamesDegreesAndGraphics) {
    Run({{TC::ChangeHeroName, 0, "Zed", {kAldric}},
         {TC::ChangeHeroDegree, 0, "Lord", {kAldric}},
         {TC::ChangeHeroWalkGraphic, 0, "Other", {kAldric, 12, 1}},
         {TC::ChangeHeroFaceGraphic, 0, "Faces", {kAldric, 3}},
         {TC::ChangeHeroName, 0, "Ghost", {kNobody}},
         {TC::ShowMessage, 0, "\\N[1]", {}}},
        5);
    const THeroState& aldric = Hero(kAldric);
    EXPECT_EQ(aldric.Name, "Zed");
    EXPECT_EQ(aldric.Degree, "Lord");
    EXPECT_EQ(aldric.CharSet, "Other");
    EXPECT_EQ(aldric.CharIndex, 7) << "kept to the sheet's eight characters";
    EXPECT_TRUE(aldric.CharTransparent);
    EXPECT_EQ(aldric.FaceSet, "Faces");
    EXPECT_EQ(aldric.FaceIndex, 3);
    EXPECT_EQ(Session().World().Hero().CharSet, "Other") << "the leader's look on the map";
    EXPECT_EQ(Session().World().Hero().Opacity, 160);
    ASSERT_FALSE(Session().Messages().ShownTexts().empty());
    EXPECT_EQ(Session().Messages().ShownTexts()[0], "Zed") << "the name code reads the hero's state";
}

TEST_F(PartyCommandTest, TheTimerCountsDownOnScreenAndInTheState) {
    State().SetVariable(2, 7);
    EXPECT_NE(Session().StateJson().find("\"timer\": null"), std::string::npos);
    Run({{TC::TimerOperation, 0, "", {0, 0, 125, 0, 0}}, {TC::TimerOperation, 0, "", {1, 0, 0, 1, 0}}});
    EXPECT_NE(Session().StateJson().find("\"timer\": 125"), std::string::npos);
    TRun run(*Game);
    run.Wait(61);
    EXPECT_EQ(State().TimerSeconds(), 124);
    TOrlenBoard screen;
    Game->Draw(screen);
    SaveBoardPng(screen, std::filesystem::path(QUILLON_BINARY_DIR) / "test-shots" / "timer.png");
    // Text pixels at the top right, none at the top left (the map's plain grass).
    const auto textPixels = [&](int x0) {
        std::set<std::uint16_t> colours;
        for (int y = 8; y < 20; ++y)
            for (int x = x0; x < x0 + 40; ++x)
                colours.insert(screen.ScanLine(y)[x]);
        return colours.size();
    };
    EXPECT_GT(textPixels(320 - 8 - 40), textPixels(8) + 1);
    Run({{TC::TimerOperation, 0, "", {0, 1, 2, 0, 0}}});
    EXPECT_EQ(State().TimerSeconds(), 7) << "set by variable, still running";
    Run({{TC::TimerOperation, 0, "", {0, 0, 999999, 0, 0}}});
    EXPECT_EQ(State().TimerSeconds(), TGameState::kMaxTimerSeconds);
    Run({{TC::TimerOperation, 0, "", {2, 0, 0, 0, 0}}});
    EXPECT_NE(Session().StateJson().find("\"timer\": null"), std::string::npos);
}

}  // namespace
}  // namespace quillon::runtime::test
