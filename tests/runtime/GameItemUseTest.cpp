// Items and skills used from the menu: every kind of effect, on one hero and on the party, and the
// uses that are refused without costing anything.
#include "data/LD_DataBase.h"
#include "runtime/GameHero.h"
#include "data/LD_MapTree.h"
#include "runtime/GameItemUse.h"
#include "runtime/GameMapState.h"
#include "runtime/GameShopScene.h"
#include "runtime/GameState.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillon::runtime {
namespace {

constexpr std::int32_t kItem = 1, kHeal = 1, kPoison = 2;

class ItemUseTest : public ::testing::Test {
public:
    ItemUseTest() {
        db.Player.Obtain(1);  // the built-in curves: Max HP 40 at level 1
        db.Player.Obtain(2);
        db.System.SetPartySize(2);
        db.System.SetPartyMember(1, 2);
        db.Status.Obtain(1);
        db.Status.Obtain(2);
        MakeHeal(db.Skill.Obtain(kHeal));
    }
    static void MakeHeal(TKelSkillItem& heal) {
        heal.Reset();
        heal.EffectRange = TKelSkillItem::srSingleAlly;
        heal.AffectsHp = 1;
        heal.BaseEffect = 10;
        heal.MindInfluence = 4;  // mind 20 at level 1: 20 * 4 / 20 = 4 more
        heal.MpCost = 3;
    }
    // A fresh game holding three of the item, hero 1 at HP 5 (of 40) and MP 1.
    void Fresh() {
        state = std::make_unique<TGameState>(db);
        state->SetItemCount(kItem, 3);
        SetHeroHp(db, Hero(1), 5, false);
        SetHeroMp(db, Hero(1), 1);
    }
    THeroState& Hero(std::int32_t id) { return *state->Hero(id); }
    TKelItemItem& Item(std::uint8_t kind) {
        TKelItemItem& item = db.Item.Obtain(kItem);
        item.Reset();
        item.Kind = kind;
        return item;
    }

    TKelDataBase db;
    std::unique_ptr<TGameState> state;
};

TEST_F(ItemUseTest, EveryItemKind) {
    struct TCase {
        const char* Name;
        std::function<void(TKelItemItem&)> Make;
        std::function<void(ItemUseTest&)> Before;  // may be empty
        bool OnParty;
        bool Used;
        int Left;
        std::function<bool(ItemUseTest&)> Check;
    } cases[] = {
        {"medicine: a share and points",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.HpRecoveryRate = 50; i.HpRecoveryPoints = 3; i.MpRecoveryPoints = 2; },
         {}, false, true, 2, [](ItemUseTest& t) { return t.Hero(1).Hp == 5 + 20 + 3 && t.Hero(1).Mp == 3; }},
        {"medicine beyond the maximum stops there",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.HpRecoveryPoints = 500; },
         {}, false, true, 2, [](ItemUseTest& t) { return t.Hero(1).Hp == 40; }},
        {"medicine on a hero it cannot help",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.HpRecoveryPoints = 5; },
         [](ItemUseTest& t) { RecoverHero(t.db, t.Hero(1)); }, false, false, 3, {}},
        {"medicine does not wake the unconscious",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.HpRecoveryPoints = 5; },
         [](ItemUseTest& t) { SetHeroHp(t.db, t.Hero(1), 0, true); }, false, false, 3,
         [](ItemUseTest& t) { return t.Hero(1).Hp == 0; }},
        {"a revival medicine wakes them",
         [](TKelItemItem& i) {
             i.Kind = TKelItemItem::ikMedicine; i.OnlyUnconscious = 1; i.HpRecoveryRate = 25;
             i.SetConditionCount(1); i.SetCondition(kConditionUnconscious, 1);
         },
         [](ItemUseTest& t) { SetHeroHp(t.db, t.Hero(1), 0, true); }, false, true, 2,
         [](ItemUseTest& t) { return !HeroUnconscious(t.Hero(1)) && t.Hero(1).Hp == 1 + 10; }},
        {"a revival medicine is for the unconscious alone",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.OnlyUnconscious = 1; i.HpRecoveryRate = 25; },
         {}, false, false, 3, {}},
        {"a cure heals its condition",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.SetConditionCount(2); i.SetCondition(kPoison, 1); },
         [](ItemUseTest& t) { SetHeroCondition(t.db, t.Hero(1), kPoison, true); }, false, true, 2,
         [](ItemUseTest& t) { return t.Hero(1).Conditions.empty(); }},
        {"medicine for the whole party costs one",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.EffectRange = 1; i.HpRecoveryPoints = 10; },
         [](ItemUseTest& t) { SetHeroHp(t.db, t.Hero(2), 1, false); }, true, true, 2,
         [](ItemUseTest& t) { return t.Hero(1).Hp == 15 && t.Hero(2).Hp == 11; }},
        {"limitless uses are never used up",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMedicine; i.UseCount = 0; i.HpRecoveryPoints = 1; },
         {}, false, true, 3, {}},
        {"a seed raises parameters for good",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikMaterial; i.MaxHpUp = 10; i.AgilityUp = 2; },
         {}, false, true, 2,
         [](ItemUseTest& t) { return HeroMaxHp(t.db, t.Hero(1)) == 50 && HeroParameter(t.db, t.Hero(1), hpAgility) == 22; }},
        {"a book teaches its skill",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikBook; i.SkillId = kHeal; },
         {}, false, true, 2, [](ItemUseTest& t) { return t.Hero(1).Skills.count(kHeal) == 1; }},
        {"a book whose skill is known already",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikBook; i.SkillId = kHeal; },
         [](ItemUseTest& t) { SetHeroSkill(t.db, t.Hero(1), kHeal, true); }, false, false, 3, {}},
        {"a switch item",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikSwitch; i.SwitchId = 7; },
         {}, true, true, 2, [](ItemUseTest& t) { return t.state->Switch(7); }},
        {"a switch item for the battle only",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikSwitch; i.SwitchId = 7; i.UsableInField = 0; i.UsableInBattle = 1; },
         {}, true, false, 3, [](ItemUseTest& t) { return !t.state->Switch(7); }},
        {"a unique item invokes its skill",
         [](TKelItemItem& i) { i.Kind = TKelItemItem::ikUnique; i.SkillId = kHeal; },
         {}, false, true, 2, [](ItemUseTest& t) { return t.Hero(1).Hp == 5 + 10 + 4 && t.Hero(1).Mp == 1; }},
        {"equipment is worn, not used", [](TKelItemItem& i) { i.Kind = TKelItemItem::ikWeapon; }, {}, false, false, 3, {}},
        {"goods are only carried", [](TKelItemItem& i) { i.Kind = TKelItemItem::ikCommon; }, {}, false, false, 3, {}},
    };
    for (const TCase& c : cases) {
        TKelItemItem& item = Item(TKelItemItem::ikCommon);
        c.Make(item);
        Fresh();
        if (c.Before)
            c.Before(*this);
        const bool refused = item.Kind == TKelItemItem::ikWeapon || item.Kind == TKelItemItem::ikCommon ||
                             (item.Kind == TKelItemItem::ikSwitch && !item.UsableInField);
        EXPECT_EQ(ItemMenuUse(db, item) == TMenuUse::Refused, refused) << c.Name;
        EXPECT_EQ(UseItem(*state, item, c.OnParty ? nullptr : &Hero(1)), c.Used) << c.Name;
        EXPECT_EQ(state->ItemCount(kItem), c.Left) << c.Name;
        if (c.Check)
            EXPECT_TRUE(c.Check(*this)) << c.Name;
    }
}

TEST_F(ItemUseTest, SkillsFromTheMenu) {
    struct TCase {
        const char* Name;
        std::function<void(TKelSkillItem&)> Make;
        TMenuUse Use;
        std::int32_t UserMp;
        bool OnParty;
        bool Used;
        std::function<bool(ItemUseTest&)> Check;
    } cases[] = {
        {"a healing skill on an ally", [](TKelSkillItem&) {}, TMenuUse::OnHero, 10, false, true,
         [](ItemUseTest& t) { return t.Hero(2).Hp == 40 - 20 + 14 && t.Hero(1).Mp == 7; }},
        {"not enough MP", [](TKelSkillItem&) {}, TMenuUse::OnHero, 2, false, false,
         [](ItemUseTest& t) { return t.Hero(2).Hp == 20 && t.Hero(1).Mp == 2; }},
        {"healing the whole party", [](TKelSkillItem& s) { s.EffectRange = TKelSkillItem::srWholeParty; },
         TMenuUse::OnParty, 10, true, true, [](ItemUseTest& t) { return t.Hero(1).Hp == 19 && t.Hero(2).Hp == 34; }},
        {"a switch skill", [](TKelSkillItem& s) { s.Kind = TKelSkillItem::skSwitch; s.SwitchId = 9; },
         TMenuUse::Switch, 10, true, true, [](ItemUseTest& t) { return t.state->Switch(9) && t.Hero(1).Mp == 7; }},
        {"a skill for the battle only", [](TKelSkillItem& s) { s.UsableInField = 0; }, TMenuUse::Refused, 10, false,
         false, {}},
        {"a skill aimed at enemies", [](TKelSkillItem& s) { s.EffectRange = TKelSkillItem::srAllEnemies; },
         TMenuUse::Refused, 10, false, false, {}},
        {"a teleport skill: paid here, the menu moves the party", [](TKelSkillItem& s) { s.Kind = TKelSkillItem::skTeleport; },
         TMenuUse::Teleport, 10, true, true, [](ItemUseTest& t) { return t.Hero(1).Mp == 7; }},
        {"an escape skill", [](TKelSkillItem& s) { s.Kind = TKelSkillItem::skEscape; }, TMenuUse::Escape, 10, true, true,
         [](ItemUseTest& t) { return t.Hero(1).Mp == 7; }},
        {"an escape skill without the MP", [](TKelSkillItem& s) { s.Kind = TKelSkillItem::skEscape; }, TMenuUse::Escape,
         2, true, false, [](ItemUseTest& t) { return t.Hero(1).Mp == 2; }},
    };
    for (const TCase& c : cases) {
        TKelSkillItem& skill = db.Skill.Obtain(kHeal + 1);
        MakeHeal(skill);
        c.Make(skill);
        Fresh();
        SetHeroMp(db, Hero(1), c.UserMp);
        SetHeroHp(db, Hero(2), 20, false);
        EXPECT_EQ(SkillMenuUse(db, skill), c.Use) << c.Name;
        EXPECT_EQ(UseSkill(*state, Hero(1), skill, c.OnParty ? nullptr : &Hero(2)), c.Used) << c.Name;
        if (c.Check)
            EXPECT_TRUE(c.Check(*this)) << c.Name;
    }
}

TEST_F(ItemUseTest, ItemsOfSeveralUsesCountDownOnThePartlyUsedOne) {
    struct TCase {
        const char* Name;
        std::int32_t UseCount;
        int Held, Uses;
        int Count, Left;  // afterwards
    } cases[] = {
        {"limitless", 0, 3, 4, 3, 0},
        {"one use each", 1, 3, 2, 1, 0},
        {"three uses: the first starts one", 3, 3, 1, 3, 2},
        {"three uses: the first used up", 3, 3, 3, 2, 0},
        {"three uses: seven spent", 3, 3, 7, 1, 2},
        {"five uses of the last one", 5, 1, 5, 0, 0},
        {"more uses than the record allows count as five", 9, 1, 4, 1, 1},
    };
    for (const TCase& c : cases) {
        TKelItemItem& item = Item(TKelItemItem::ikSwitch);
        item.UseCount = c.UseCount;
        item.SwitchId = 4;
        Fresh();
        state->SetItemCount(kItem, c.Held);
        for (int i = 0; i < c.Uses; ++i)
            ASSERT_TRUE(UseItem(*state, item, nullptr)) << c.Name << ", use " << i + 1;
        EXPECT_EQ(state->ItemCount(kItem), c.Count) << c.Name;
        EXPECT_EQ(state->ItemUsesLeft(kItem), c.Left) << c.Name;
    }
    // A shop buys the whole ones first: the partly used one stays until the last is sold.
    TKelItemItem& item = Item(TKelItemItem::ikSwitch);
    item.UseCount = 3;
    item.Price = 10;
    Fresh();
    ASSERT_TRUE(UseItem(*state, item, nullptr));
    TShopDeal deal(db, *state);
    ASSERT_TRUE(deal.Sell(kItem, 2));
    EXPECT_EQ(state->ItemUsesLeft(kItem), 2);
    ASSERT_TRUE(deal.Sell(kItem, 1));
    EXPECT_EQ(state->ItemUsesLeft(kItem), 0);
    state->SetItemCount(kItem, 1);
    EXPECT_EQ(state->ItemUsesLeft(kItem), 0) << "an item bought again starts whole";
}

TEST(LeavingTheMap, PermissionsUpTheTreeAndTheCommands) {
    // Root 0; map 1 under it permits by its parent; map 2 under 1 forbids escapes; map 3 under 2
    // inherits that; map 4 under 2 permits again; map 5 names a parent that does not exist.
    TKelMapTree tree;
    tree.Obtain(0).Kind = TKelMapTreeItem::mkRoot;
    const auto map = [&](std::int32_t id, std::int32_t parent, std::uint8_t escape, std::uint8_t teleport) {
        TKelMapTreeItem& item = tree.Obtain(id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.ParentId = parent;
        item.EscapePermission = escape;
        item.TeleportPermission = teleport;
    };
    using T = TKelMapTreeItem;
    map(1, 0, T::ppParent, T::ppDisable);
    map(2, 1, T::ppDisable, T::ppEnable);
    map(3, 2, T::ppParent, T::ppParent);
    map(4, 2, T::ppEnable, T::ppParent);
    map(5, 77, T::ppParent, T::ppParent);
    const struct {
        std::int32_t Map;
        bool Escape, Teleport;
    } cases[] = {{1, true, false}, {2, false, true}, {3, false, true}, {4, true, true}, {5, true, true}, {99, true, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(MapPermits(tree, c.Map, false), c.Escape) << "escape from map " << c.Map;
        EXPECT_EQ(MapPermits(tree, c.Map, true), c.Teleport) << "teleport from map " << c.Map;
    }
    tree.Obtain(6).ParentId = 6;  // a node that is its own parent ends the walk
    EXPECT_TRUE(MapPermits(tree, 6, false));

    TGameMapState state;
    EXPECT_TRUE(LeavingPlaces(TMenuUse::Escape, tree, 4, state).empty()) << "no escape place set";
    EXPECT_TRUE(LeavingPlaces(TMenuUse::Teleport, tree, 4, state).empty()) << "no teleport place set";
    state.EscapePlace = TTeleportPlace{{1, 2, 3}, 5};
    state.TeleportPlaces[3] = TTeleportPlace{{3, 1, 1}, 0};
    state.TeleportPlaces[1] = TTeleportPlace{{1, 4, 4}, 0};
    const std::vector<TTeleportPlace> escape = LeavingPlaces(TMenuUse::Escape, tree, 4, state);
    ASSERT_EQ(escape.size(), 1u);
    EXPECT_EQ(escape[0].Place, (TMapPlace{1, 2, 3}));
    EXPECT_EQ(escape[0].SwitchId, 5);
    const std::vector<TTeleportPlace> teleport = LeavingPlaces(TMenuUse::Teleport, tree, 4, state);
    ASSERT_EQ(teleport.size(), 2u);
    EXPECT_EQ(teleport[0].Place.MapId, 1) << "in map ID order";
    EXPECT_TRUE(LeavingPlaces(TMenuUse::Escape, tree, 3, state).empty()) << "the map forbids it";
    EXPECT_TRUE(LeavingPlaces(TMenuUse::Teleport, tree, 1, state).empty()) << "the map forbids it";
    state.EscapeEnabled = state.TeleportEnabled = false;
    EXPECT_TRUE(LeavingPlaces(TMenuUse::Escape, tree, 4, state).empty()) << "a command forbids it";
    EXPECT_TRUE(LeavingPlaces(TMenuUse::Teleport, tree, 4, state).empty()) << "a command forbids it";
    EXPECT_TRUE(LeavingPlaces(TMenuUse::OnHero, tree, 4, state).empty());
}

TEST_F(ItemUseTest, TheInnRecoversTheWholeParty) {
    Fresh();
    SetHeroCondition(db, Hero(1), kPoison, true);
    SetHeroHp(db, Hero(2), 0, true);
    RecoverParty(*state);
    for (const std::int32_t id : {1, 2}) {
        EXPECT_EQ(Hero(id).Hp, HeroMaxHp(db, Hero(id))) << id;
        EXPECT_EQ(Hero(id).Mp, HeroMaxMp(db, Hero(id))) << id;
        EXPECT_TRUE(Hero(id).Conditions.empty()) << id;
    }
}

}  // namespace
}  // namespace quillon::runtime
