// Items and skills used from the menu: every kind of effect, on one hero and on the party, and the
// uses that are refused without costing anything.
#include "data/LD_DataBase.h"
#include "runtime/GameHero.h"
#include "runtime/GameItemUse.h"
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
        {"a teleport skill waits for the map's rules", [](TKelSkillItem& s) { s.Kind = TKelSkillItem::skTeleport; },
         TMenuUse::Refused, 10, false, false, {}},
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
