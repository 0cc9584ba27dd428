// The screens over the map: the shop's limits and deals, the inn's price and night, the name
// entry's byte limit, the menu's commands, and the commands that open them with their branches.
// The menu and the shop are also compared with golden pictures (QUILLON_UPDATE_GOLDEN=1 writes
// them anew; look at them before committing).
#include "runtime/GameFixture.h"
#include "TextFixture.h"

#include "data/LD_CmnEvent.h"
#include "runtime/GameAudio.h"
#include "runtime/GameHero.h"
#include "runtime/GameMapState.h"
#include "runtime/GameProject.h"
#include "runtime/GameInnScene.h"
#include "runtime/GameNameScene.h"
#include "runtime/GameSession.h"
#include "runtime/GameShopScene.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace quillon::runtime::test {
namespace {

// Starter items: 1 Potion (20), 8 Short Sword (60), 10 Great Axe (700), 38 Letter (no price).
constexpr std::int32_t kPotion = 1, kShortSword = 8, kGreatAxe = 10, kLetter = 38;

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class SceneTest : public ::testing::Test {
protected:
    // Starts a game whose auto-start common event runs the lines once (while switch 1 is on);
    // change edits the database first.
    void Start(std::vector<TLine> lines, const std::function<void(TKelDataBase&)>& change = {}) {
        auto database = Project.Database();
        TKelCommonEventItem& common = database->CommonEvent.Obtain(1);
        common.Trigger = TKelCommonEventItem::ctAutoStart;
        common.SwitchCondition = 1;
        common.SwitchId = 1;
        lines.push_back({TC::ChangeSwitch, 0, "", {0, 1, 0, 1}});
        FillScript(common.Script, lines);
        if (change)
            change(*database);
        Project.WriteDatabase(*database);
        std::string error;
        Game = TGame::Open(Project.Options(), Audio, error);
        ASSERT_TRUE(Game) << error;
        Run = std::make_unique<TRun>(*Game);
        State().SetSwitch(1, true);
        Run->Wait(2);
    }
    TGameSession& Session() { return Game->Session(); }
    TGameState& State() { return Session().State(); }
    std::string Scene() { return Session().SceneName(); }
    void Taps(std::initializer_list<std::uint32_t> keys) {
        for (const std::uint32_t key : keys)
            Run->Tap(key);
    }
    // The game's frame compared with a golden picture of the same name.
    void ExpectGolden(const std::string& name) {
        TOrlenBoard board;
        Game->Draw(board);
        const std::filesystem::path shots = std::filesystem::path(QUILLON_BINARY_DIR) / "test-shots";
        SaveBoardPng(board, shots / (name + ".png"));
        const std::filesystem::path golden =
            std::filesystem::path(QUILLON_SOURCE_DIR) / "tests" / "runtime" / "golden" / (name + ".png");
        if (std::getenv("QUILLON_UPDATE_GOLDEN") != nullptr)
            SaveBoardPng(board, golden);
        ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
        EXPECT_TRUE(ReadBytes(golden) == ReadBytes(shots / (name + ".png")))
            << name << " differs from its golden picture; see " << shots.string();
    }

    // The frame saved under the build folder for a look.
    void Shoot(const std::string& name) {
        TOrlenBoard board;
        Game->Draw(board);
        SaveBoardPng(board, std::filesystem::path(QUILLON_BINARY_DIR) / "test-shots" / (name + ".png"));
    }

    TProjectFolder Project;
    TRecordingGameAudio Audio;
    std::unique_ptr<TGame> Game;
    std::unique_ptr<TRun> Run;
};

// A shop line with its two cases: the success case sets variable 1 to 1, the failure case to 2.
std::vector<TLine> ShopLines(int type, std::vector<std::int32_t> goods) {
    std::vector<std::int32_t> params{type, 0, 1, 0};
    params.insert(params.end(), goods.begin(), goods.end());
    return {{TC::CallShop, 0, "", params},
            {TC::ShopSuccess, 0, "", {}},
            {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 1, 0}},
            {TC::Empty, 1, "", {}},
            {TC::ShopFailure, 0, "", {}},
            {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 2, 0}},
            {TC::Empty, 1, "", {}},
            {TC::ShopEnd, 0, "", {}}};
}

TEST(ShopDeal, BuyAndSellLimits) {
    TKelDataBase database;
    database.Item.Obtain(1).Price = 30;
    database.Item.Obtain(2).Price = 0;
    database.Item.Obtain(3).Price = 7;
    struct TCase {
        const char* Name;
        std::int32_t Money;
        int Owned;
        std::int32_t Item;
        int MaxBuy, MaxSell;
    } cases[] = {
        {"the money limits", 100, 0, 1, 3, 0},
        {"the bag limits", 100000, 95, 1, 4, 95},
        {"a full bag takes none", 100000, 99, 1, 0, 99},
        {"no money, no deal", 29, 0, 1, 0, 0},
        {"a free item up to the bag's limit", 0, 10, 2, 89, 0},
        {"a free item is not bought back", 0, 10, 2, 89, 0},
        {"an odd price pays half, rounded down", 0, 5, 3, 0, 5},
        {"an item the database lacks", 1000, 0, 9, 0, 0},
    };
    for (const TCase& c : cases) {
        TGameState state(database);
        state.SetMoney(c.Money);
        state.SetItemCount(c.Item, c.Owned);
        TShopDeal deal(database, state);
        EXPECT_EQ(deal.MaxBuy(c.Item), c.MaxBuy) << c.Name;
        EXPECT_EQ(deal.MaxSell(c.Item), c.MaxSell) << c.Name;
        EXPECT_FALSE(deal.Buy(c.Item, c.MaxBuy + 1)) << c.Name;
        EXPECT_FALSE(deal.Sell(c.Item, c.MaxSell + 1)) << c.Name;
        EXPECT_EQ(state.Money(), c.Money) << c.Name << ": a refused deal changes nothing";
    }
    TGameState state(database);
    state.SetMoney(100);
    TShopDeal deal(database, state);
    ASSERT_TRUE(deal.Buy(1, 3));
    EXPECT_EQ(state.Money(), 10);
    EXPECT_EQ(state.ItemCount(1), 3);
    state.SetItemCount(3, 3);
    ASSERT_TRUE(deal.Sell(3, 2));
    EXPECT_EQ(state.Money(), 10 + 2 * 3);
    EXPECT_EQ(state.ItemCount(3), 1);
    EXPECT_FALSE(deal.Buy(1, 0));
}

TEST_F(SceneTest, ShopBuysAndSellsAndTakesItsCases) {
    Start(ShopLines(stBuyAndSell, {kPotion, kGreatAxe, 9999}));
    State().SetMoney(100);
    ASSERT_EQ(Scene(), "shop");
    Taps({gbDecide, gbDecide, gbUp, gbUp, gbDecide});  // Buy, Potion, 3 of them
    EXPECT_EQ(State().ItemCount(kPotion), 3);
    EXPECT_EQ(State().Money(), 40);
    Taps({gbDown, gbDecide});  // the Great Axe is beyond the money: refused
    EXPECT_EQ(Audio.Requests.back(), "sound " + Project.Database()->System.Sound[ssBuzzer].Name);
    EXPECT_EQ(State().ItemCount(kGreatAxe), 0);
    Taps({gbCancel, gbDown, gbDecide, gbDecide, gbRight, gbDecide});  // Sell the potions: 1 + 10, cut to 3
    EXPECT_EQ(State().ItemCount(kPotion), 0);
    EXPECT_EQ(State().Money(), 40 + 3 * 10);
    Taps({gbCancel, gbCancel});
    Run->Wait(2);
    EXPECT_EQ(Scene(), "map");
    EXPECT_EQ(State().Variable(1), 1);
}

TEST_F(SceneTest, ShopLeftWithoutADealTakesTheFailureCase) {
    Start(ShopLines(stBuyOnly, {kPotion}));
    ASSERT_EQ(Scene(), "shop");
    Taps({gbDown, gbDecide});  // "Sell" is greyed in a shop that only sells to the party
    EXPECT_EQ(Scene(), "shop");
    Taps({gbDown, gbDecide});  // Leave
    Run->Wait(2);
    EXPECT_EQ(Scene(), "map");
    EXPECT_EQ(State().Variable(1), 2);
}

TEST_F(SceneTest, ShopLooksAsItsGoldenPicture) {
    if (SystemFontOrSkip() == nullptr)
        GTEST_SKIP() << "the game font is not installed";
    Start(ShopLines(stBuyAndSell, {kPotion, kShortSword, kGreatAxe, kLetter}));
    State().SetMoney(250);
    State().SetItemCount(kShortSword, 2);
    Taps({gbDecide, gbDown});
    ExpectGolden("shop");
}

TEST(Inn, QuestionAndPayment) {
    TKelDataBase database;
    database.Vocabulary.Inn(1).Text = {"Rest for ", " tonight.", "Stay?", "Yes", "No"};
    *database.Vocabulary.Text(95) = "GP";
    EXPECT_EQ(InnQuestion(database, 1, 25), (std::vector<std::string>{"Rest for 25GP tonight.", "Stay?"}));
    EXPECT_EQ(InnQuestion(database, 7, 0)[1], "Stay?") << "a style out of range takes the last one";
    struct TCase {
        std::int32_t Money, Price;
        bool Paid;
        std::int32_t Left;
    } cases[] = {{100, 30, true, 70}, {30, 30, true, 0}, {29, 30, false, 29}, {0, 0, true, 0}, {50, -5, false, 50}};
    for (const TCase& c : cases) {
        TGameState state(database);
        state.SetMoney(c.Money);
        EXPECT_EQ(PayInn(state, c.Price), c.Paid) << c.Money << " for " << c.Price;
        EXPECT_EQ(state.Money(), c.Left) << c.Money << " for " << c.Price;
    }
}

std::vector<TLine> InnLines(std::int32_t price) {
    return {{TC::CallInn, 0, "", {0, price, 1}},
            {TC::InnRest, 0, "", {}},
            {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 1, 0}},
            {TC::Empty, 1, "", {}},
            {TC::InnCancel, 0, "", {}},
            {TC::ChangeVariable, 1, "", {0, 1, 0, 0, 0, 2, 0}},
            {TC::Empty, 1, "", {}},
            {TC::InnEnd, 0, "", {}}};
}

TEST_F(SceneTest, InnRestsThePartyForItsPrice) {
    Start(InnLines(30), [](TKelDataBase& db) { db.System.Music[3].Name = "Inn"; });
    State().SetMoney(100);
    THeroState& hero = *State().Hero(State().Party().front());
    const std::int32_t full = hero.Hp;
    hero.Hp = 1;
    ASSERT_EQ(Scene(), "inn");
    EXPECT_EQ(Session().Messages().ShownTexts().back(), "A night costs 30G for everyone.\nWill you stay?");
    Taps({gbDecide, gbDecide});  // the message's last letters, then "Stay"
    EXPECT_EQ(State().Money(), 70);
    EXPECT_EQ(Audio.CurrentMusic(), "Inn");
    Run->Wait(TGameInnScene::kFadeSteps * 2 + TGameInnScene::kNightSteps + 2);
    EXPECT_EQ(hero.Hp, full);
    EXPECT_EQ(Audio.CurrentMusic(), "Town") << "the map's music comes back";
    EXPECT_EQ(Scene(), "map");
    EXPECT_EQ(State().Variable(1), 1);
}

TEST_F(SceneTest, InnWithoutTheMoneyAsksAgainAndCancels) {
    Start(InnLines(30));
    State().SetMoney(10);
    Taps({gbDecide, gbDecide});
    EXPECT_EQ(Scene(), "inn") << "the stay refused, the question asked again";
    EXPECT_EQ(State().Money(), 10);
    Taps({gbDecide, gbCancel});
    Run->Wait(2);
    EXPECT_EQ(Scene(), "map");
    EXPECT_EQ(State().Variable(1), 2);
}

TEST(NameEntry, CountsCodePage932Bytes) {
    const std::string wide = "\x81\x9A";   // a two-byte star
    const std::string tricky = "\x81\x81";  // its trail byte is a lead byte too
    struct TCase {
        const char* Name;
        std::string Initial;
        int Limit;
        std::string Expected;
    } cases[] = {
        {"kept whole", "Alex", 6, "Alex"},
        {"cut at the limit", "Alexander", 4, "Alex"},
        {"a two-byte character is not split", "ab" + wide + wide, 5, "ab" + wide},
        {"a lone lead byte at the end is dropped", "ab\x81", 10, "ab"},
        {"no room at all", "abc", 0, ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TNameEntry(c.Initial, c.Limit).Name(), c.Expected) << c.Name;

    TNameEntry entry("", 4);
    EXPECT_TRUE(entry.Add(tricky));
    EXPECT_TRUE(entry.Add("a"));
    EXPECT_FALSE(entry.Add(wide)) << "5 bytes pass the limit of 4";
    EXPECT_TRUE(entry.Add("b"));
    EXPECT_FALSE(entry.Add("c"));
    EXPECT_TRUE(entry.Erase());
    EXPECT_TRUE(entry.Erase());
    EXPECT_EQ(entry.Name(), tricky);
    EXPECT_TRUE(entry.Erase()) << "the two-byte character goes whole";
    EXPECT_EQ(entry.Name(), "");
    EXPECT_FALSE(entry.Erase());
}

TEST_F(SceneTest, EnterHeroNameOnEitherPage) {
    struct TCase {
        int Mode;
        bool ShowInitial;
        std::string Expected;
    } cases[] = {{0, false, "A"}, {1, false, "!"}, {0, true, ""}};
    for (const TCase& c : cases) {
        Start({{TC::EnterHeroName, 0, "", {1, c.Mode, c.ShowInitial ? 1 : 0}}});
        const std::string before = State().Hero(1)->Name;
        ASSERT_EQ(Scene(), "name");
        Taps({gbDecide, gbLeft, gbDecide});  // the first character, then "OK" (the last cell)
        Run->Wait(2);
        EXPECT_EQ(Scene(), "map");
        EXPECT_EQ(State().Hero(1)->Name, c.ShowInitial ? before + "A" : c.Expected) << c.Mode;
    }
}

TEST_F(SceneTest, MenuOpensWithCancelUnlessDisabled) {
    Start({});
    Run->Tap(gbCancel);
    EXPECT_EQ(Scene(), "menu");
    Run->Tap(gbCancel);
    EXPECT_EQ(Scene(), "map");
    Start({{TC::EnableSystemMenu, 0, "", {0}}});
    Run->Tap(gbCancel);
    EXPECT_EQ(Scene(), "map");
    Start({{TC::EnableSystemMenu, 0, "", {0}}, {TC::CallSystemMenu, 0, "", {}}});
    EXPECT_EQ(Scene(), "menu") << "the command opens it all the same";
}

TEST_F(SceneTest, MenuEndGameAsksFirst) {
    Start({});
    Session().MapState().SaveEnabled = false;
    Taps({gbCancel, gbDown, gbDown, gbDown, gbDecide});
    EXPECT_EQ(Scene(), "menu") << "Save is greyed";
    Taps({gbDown, gbDecide, gbDecide});  // End Game, then "No"
    EXPECT_EQ(Scene(), "menu");
    Taps({gbDecide, gbUp, gbDecide});  // End Game, then "Yes"
    EXPECT_EQ(Scene(), "title");
}

TEST_F(SceneTest, MenuUsesAnItemAndWearsEquipment) {
    Start({});
    TKelDataBase& db = Session().Project().Database();
    THeroState& hero = *State().Hero(State().Party().front());
    std::int32_t weapon = 0;
    for (std::int32_t id = 1; id <= db.Item.Count() && weapon == 0; ++id)
        if (id != hero.Equipment[0] && HeroMayEquip(db, hero, 0, id))
            weapon = id;
    ASSERT_NE(weapon, 0);
    State().SetItemCount(kPotion, 2);
    State().SetItemCount(weapon, 1);
    SetHeroHp(db, hero, 1, false);
    const std::int32_t worn = hero.Equipment[0];
    Taps({gbCancel, gbDecide, gbDecide});  // the menu, Item, the Potion (the first row)
    Shoot("menu-item-target");
    Run->Tap(gbDecide);  // on the first hero
    EXPECT_GT(hero.Hp, 1);
    EXPECT_EQ(State().ItemCount(kPotion), 1);
    Taps({gbCancel, gbCancel, gbDown, gbDown, gbDecide, gbDecide, gbDecide});  // Equipment, the hero, the weapon slot
    for (const auto& [id, count] : State().Items())
        if (id < weapon && HeroMayEquip(db, hero, 0, id))
            Run->Tap(gbRight);  // the rows before the weapon
    Shoot("menu-equipment");
    Run->Tap(gbDecide);
    EXPECT_EQ(hero.Equipment[0], weapon);
    EXPECT_EQ(State().ItemCount(weapon), 0);
    if (worn != 0)
        EXPECT_EQ(State().ItemCount(worn), 1) << "the weapon worn before goes back to the bag";
    Taps({gbCancel, gbCancel, gbRight, gbDecide});  // the status of the first hero
    Shoot("menu-status");
    EXPECT_EQ(Scene(), "menu");
}

// The first hero escapes (skill 90) and teleports (skill 91) from the menu's skill list.
TEST_F(SceneTest, MenuTeleportAndEscapeSkillsWhereTheMapAllows) {
    static constexpr std::int32_t kEscape = 90, kTeleport = 91, kWing = 95;
    Start({}, [](TKelDataBase& db) {
        for (const std::int32_t id : {kEscape, kTeleport}) {
            TKelSkillItem& skill = db.Skill.Obtain(id);
            skill.Name = id == kEscape ? "Escape" : "Teleport";
            skill.Kind = id == kEscape ? TKelSkillItem::skEscape : TKelSkillItem::skTeleport;
            skill.MpCost = 2;
        }
        TKelItemItem& wing = db.Item.Obtain(kWing);  // a unique item that escapes
        wing.Name = "Wing";
        wing.Kind = TKelItemItem::ikUnique;
        wing.SkillId = kEscape;
    });
    TKelDataBase& db = Session().Project().Database();
    THeroState& hero = *State().Hero(State().Party().front());
    SetHeroSkill(db, hero, kEscape, true);
    SetHeroSkill(db, hero, kTeleport, true);
    SetHeroMp(db, hero, 10);
    const std::int32_t mp = hero.Mp;
    TGameMapState& map = Session().MapState();
    map.EscapePlace = TTeleportPlace{{2, 3, 4}, 6};
    map.TeleportPlaces[2] = TTeleportPlace{{2, 5, 5}, 0};
    map.TeleportPlaces[1] = TTeleportPlace{{1, 3, 3}, 0};
    // The menu's skill list of the first hero, the cursor on a skill.
    const auto openSkill = [&](std::int32_t skill) {
        Taps({gbCancel, gbDown, gbDecide, gbDecide});
        for (const std::int32_t known : hero.Skills)
            if (known < skill)
                Run->Tap(gbRight);
    };
    const auto closeMenu = [&] {
        Taps({gbCancel, gbCancel, gbCancel});
        Run->Wait(2);
        ASSERT_EQ(Scene(), "map");
    };
    const std::string buzzer = "sound " + db.System.Sound[ssBuzzer].Name;

    map.EscapeEnabled = false;
    openSkill(kEscape);
    Run->Tap(gbDecide);
    EXPECT_EQ(Audio.Requests.back(), buzzer) << "escapes are disabled: greyed";
    EXPECT_EQ(hero.Mp, mp);
    closeMenu();

    map.EscapeEnabled = true;
    openSkill(kEscape);
    Run->Tap(gbDecide);
    Run->Wait(2);
    EXPECT_EQ(Scene(), "map");
    EXPECT_EQ(Session().World().MapId(), 2);
    EXPECT_EQ(Session().World().Hero().X, 3);
    EXPECT_EQ(Session().World().Hero().Y, 4);
    EXPECT_TRUE(State().Switch(6));
    EXPECT_EQ(hero.Mp, mp - 2);

    openSkill(kTeleport);
    Run->Tap(gbDecide);
    Shoot("menu-teleport");
    EXPECT_EQ(Scene(), "menu") << "the places to choose from";
    Run->Tap(gbCancel);
    EXPECT_EQ(hero.Mp, mp - 2) << "a teleport cancelled costs nothing";
    Taps({gbDecide, gbDecide});  // the first place: map 1
    Run->Wait(2);
    EXPECT_EQ(Session().World().MapId(), 1);
    EXPECT_EQ(Session().World().Hero().X, 3);
    EXPECT_EQ(hero.Mp, mp - 4);

    map.TeleportEnabled = false;
    openSkill(kTeleport);
    Run->Tap(gbDecide);
    EXPECT_EQ(Audio.Requests.back(), buzzer) << "teleports are disabled: greyed";
    EXPECT_EQ(hero.Mp, mp - 4);
    closeMenu();

    // The item escapes as its skill does, and is used up.
    State().SetItemCount(kWing, 1);
    Taps({gbCancel, gbDecide});
    for (const auto& [id, count] : State().Items())
        if (id < kWing)
            Run->Tap(gbRight);
    Run->Tap(gbDecide);
    Run->Wait(2);
    EXPECT_EQ(Session().World().MapId(), 2);
    EXPECT_EQ(State().ItemCount(kWing), 0);
    EXPECT_EQ(hero.Mp, mp - 4) << "the item costs no MP";
}

TEST_F(SceneTest, MenuLooksAsItsGoldenPicture) {
    if (SystemFontOrSkip() == nullptr)
        GTEST_SKIP() << "the game font is not installed";
    Start({}, [](TKelDataBase& db) {
        db.System.SetPartySize(3);
        db.System.SetPartyMember(1, 2);
        db.System.SetPartyMember(2, 4);
    });
    State().SetMoney(1234);
    Run->Tap(gbCancel);
    ExpectGolden("menu");
}

}  // namespace
}  // namespace quillon::runtime::test
