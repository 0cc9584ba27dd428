#include "database/ED_Item.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"

namespace quillon {

namespace {

bool Between(std::uint8_t kind, int from, int to) { return kind >= from && kind <= to; }

}  // namespace

TItemPageModel::TItemPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TMarkedPageModel(context, dtItems, context.DataBase->Item, choosers) {}

bool TItemPageModel::Shown(TItemGroup group) const {
    const std::uint8_t kind = Item().Kind;
    switch (group) {
    case TItemGroup::Uses: return Between(kind, TKelItemItem::ikMedicine, TKelItemItem::ikSwitch);
    case TItemGroup::Heroes: return Between(kind, TKelItemItem::ikWeapon, TKelItemItem::ikUnique);
    case TItemGroup::Equip:
    case TItemGroup::Conditions: return Between(kind, TKelItemItem::ikWeapon, TKelItemItem::ikAccessory);
    case TItemGroup::Weapon: return kind == TKelItemItem::ikWeapon;
    case TItemGroup::Armour: return IsArmour();
    case TItemGroup::Medicine: return kind == TKelItemItem::ikMedicine;
    case TItemGroup::Book: return kind == TKelItemItem::ikBook;
    case TItemGroup::Material: return kind == TKelItemItem::ikMaterial;
    case TItemGroup::Unique: return kind == TKelItemItem::ikUnique;
    case TItemGroup::Switch: return kind == TKelItemItem::ikSwitch;
    }
    return false;
}

std::string TItemPageModel::HeroCaption() const {
    return Between(Item().Kind, TKelItemItem::ikWeapon, TKelItemItem::ikAccessory) ? "The hero who can equip it"
                                                                                   : "The hero who can use it";
}

std::string TItemPageModel::AttributeCaption() const { return IsWeapon() ? "Attack Attribute" : "Defense Attribute"; }
std::string TItemPageModel::ConditionCaption() const { return "Change to condition"; }
std::string TItemPageModel::ProbabilityCaption() const { return AttributeCaption(); }

void TItemPageModel::SetKind(std::int32_t kind) {
    if (kind < TKelItemItem::ikCommon || kind > TKelItemItem::ikSwitch || kind == Item().Kind)
        return;
    Item().Kind = static_cast<std::uint8_t>(kind);
    Modify();
    // The groups follow at once: the whole entry is shown again.
    CurrentChanged.Emit();
}

std::vector<TFieldChoice> TItemPageModel::SkillChoices() const { return PositionChoices(&DataBase().Skill); }
std::int32_t TItemPageModel::SkillShown() const { return ShownPosition(&DataBase().Skill, Item().SkillId); }

void TItemPageModel::SetSkill(std::int32_t id) {
    if (StorePosition(&DataBase().Skill, Item().SkillId, id))
        Modify();
}

std::vector<std::string> TItemPageModel::HeroNames() const { return CatalogNames(&DataBase().Player); }

std::vector<bool> TItemPageModel::HeroMarks() const {
    return MarkRows(DataBase().Player.Count(), [this](std::int32_t id) { return Item().HeroCanUse(id); });
}

bool TItemPageModel::SetHeroMark(std::int32_t heroId, bool on) {
    TKelItemItem& item = Item();
    const TIdArrayAccess array{item.HeroUsableCount, [&](std::int32_t i) { return std::int32_t{item.HeroCanUse(i)}; },
                               [&](std::int32_t n) { item.SetHeroUsableCount(n); },
                               [&](std::int32_t i, std::int32_t v) { item.SetHeroCanUse(i, static_cast<std::uint8_t>(v)); }};
    if (!StoreShownEntry(array, DataBase().Player.Count(), heroId, on ? 1 : 0))
        return false;
    Modify();
    return true;
}

std::vector<std::string> ItemGroupWidgets(TItemGroup group) {
    switch (group) {
    case TItemGroup::Uses: return {"GroupUses"};
    case TItemGroup::Heroes: return {"GroupHeroes"};
    case TItemGroup::Equip: return {"GroupEquip"};
    case TItemGroup::Weapon: return {"GroupWeapon", "GroupWeaponAttributes"};
    case TItemGroup::Armour: return {"GroupOptions", "GroupArmourAttributes"};
    case TItemGroup::Conditions: return {"GroupConditions", "GroupProbability"};
    case TItemGroup::Medicine: return {"GroupMedicine", "GroupCure"};
    case TItemGroup::Book: return {"GroupBook"};
    case TItemGroup::Material: return {"GroupMaterial"};
    case TItemGroup::Unique: return {"GroupUnique"};
    case TItemGroup::Switch: return {"GroupSwitch"};
    }
    return {};
}

namespace {

using TForm = TFieldFormBuilder<TItemPageModel>;

void Number(TForm& form, const char* widget, const char* label, std::int32_t TKelItemItem::*member, std::int32_t min,
            std::int32_t max, const char* key) {
    ItemField(form, TFieldKind::Number, widget, label, member).Range(min, max).Key(key);
}

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TItemPageModel::Name, &TItemPageModel::SetName)
        .Bytes(TKelItemItem::kNameMaxBytes)
        .Key("name");
    form.Field(TFieldKind::DropDown, "ComboKind", "&Classification:", &TItemPageModel::Kind, &TItemPageModel::SetKind)
        .Choices({"Common Goods", "Arms", "Shield", "Armor", "Helmet", "Other", "Medicine", "Book", "Material", "Unique",
                  "Switch"})
        .Key("kind");
    Number(form, "EditPrice", "&Price:", &TKelItemItem::Price, 0, kItemPriceMax, "price");
    ItemField(form, TFieldKind::Text, "EditExplanation", "E&xplanation:", &TKelItemItem::Description)
        .Bytes(TKelItemItem::kDescriptionMaxBytes)
        .Key("explanation");

    ItemField(form, TFieldKind::DropDown, "ComboUses", "Uses:", &TKelItemItem::UseCount)
        .Choices({"Limitless", "1 (Normal)", "2", "3", "4", "5"})
        .Key("uses");

    Number(form, "EditAttack", "Attack:", &TKelItemItem::AttackChange, kItemNumberMin, kItemNumberMax, "attack");
    Number(form, "EditMind", "Mind:", &TKelItemItem::MindChange, kItemNumberMin, kItemNumberMax, "mind");
    Number(form, "EditDefense", "Defense:", &TKelItemItem::DefenseChange, kItemNumberMin, kItemNumberMax, "defense");
    Number(form, "EditAgility", "Agility:", &TKelItemItem::AgilityChange, kItemNumberMin, kItemNumberMax, "agility");

    form.Field(TFieldKind::IdList, "ComboAnimation", "Battle &Animation:", &TItemPageModel::AnimationShown,
               &TItemPageModel::SetAnimation)
        .ItemsFrom([](const TItemPageModel& m) { return m.AnimationChoices(); })
        .Key("animation");
    ItemField(form, TFieldKind::DropDown, "ComboHand", "Equip &hand:", &TKelItemItem::TwoHanded)
        .Choices({"One", "Both"})
        .Key("hand");
    Number(form, "EditMpCost", "MP Cost:", &TKelItemItem::MpCost, 0, kItemNumberMax, "mp-cost");
    Number(form, "EditHitChance", "Hit Chance (%):", &TKelItemItem::HitChance, 0, kItemPercentMax, "hit-chance");
    Number(form, "EditCritical", "Critical Hit Chance (%):", &TKelItemItem::CriticalChance, 0, kItemPercentMax,
           "critical");
    CheckField(form, "CheckPreemptive", "Preemptive Attack", &TKelItemItem::Preemptive, "preemptive");
    CheckField(form, "CheckAttackTwice", "Attack Twice", &TKelItemItem::AttackTwice, "attack-twice");
    CheckField(form, "CheckAttackAll", "Attack All Enemies", &TKelItemItem::AttackAll, "attack-all");
    CheckField(form, "CheckIgnoreEvasion", "Ignore Monst.Evasion", &TKelItemItem::IgnoreEvasion, "ignore-evasion");

    CheckField(form, "CheckPreventCritical", "Prevent Critical Hit", &TKelItemItem::PreventCritical, "prevent-critical");
    CheckField(form, "CheckRaiseEvasion", "Rise Avoid of Phys.Attack", &TKelItemItem::RaiseEvasion, "raise-evasion");
    CheckField(form, "CheckHalfMp", "Half MP", &TKelItemItem::HalfMp, "half-mp");
    CheckField(form, "CheckNoTerrainDamage", "No Terrain Damage", &TKelItemItem::NoTerrainDamage, "no-terrain-damage");

    Number(form, "EditProbability", "Probability (%):", &TKelItemItem::ConditionProbability, 0, kItemPercentMax,
           "probability");

    ItemField(form, TFieldKind::DropDown, "ComboRange", "Effect &Range:", &TKelItemItem::EffectRange)
        .Choices({"Single Ally", "Whole Party"})
        .Key("range");
    Number(form, "EditHpRate", "HP Recovery (%):", &TKelItemItem::HpRecoveryRate, 0, kItemPercentMax, "hp-rate");
    Number(form, "EditHpPoints", "HP Recovery (points):", &TKelItemItem::HpRecoveryPoints, 0, kItemNumberMax,
           "hp-points");
    Number(form, "EditMpRate", "MP Recovery (%):", &TKelItemItem::MpRecoveryRate, 0, kItemPercentMax, "mp-rate");
    Number(form, "EditMpPoints", "MP Recovery (points):", &TKelItemItem::MpRecoveryPoints, 0, kItemNumberMax,
           "mp-points");
    CheckField(form, "CheckFieldOnly", "Only use in field (menu screen).", &TKelItemItem::FieldOnly, "field-only");
    CheckField(form, "CheckUnconscious", "Effective only on unconscious heroes", &TKelItemItem::OnlyUnconscious,
          "unconscious");

    form.Field(TFieldKind::IdList, "ComboLearnSkill", "Skill:", &TItemPageModel::SkillShown, &TItemPageModel::SetSkill)
        .ItemsFrom([](const TItemPageModel& m) { return m.SkillChoices(); })
        .Key("skill");

    Number(form, "EditMaxHpUp", "Max HP:", &TKelItemItem::MaxHpUp, kItemNumberMin, kItemNumberMax, "max-hp-up");
    Number(form, "EditMaxMpUp", "Max MP:", &TKelItemItem::MaxMpUp, kItemNumberMin, kItemNumberMax, "max-mp-up");
    Number(form, "EditAttackUp", "Attack:", &TKelItemItem::AttackUp, kItemNumberMin, kItemNumberMax, "attack-up");
    Number(form, "EditDefenseUp", "Defense:", &TKelItemItem::DefenseUp, kItemNumberMin, kItemNumberMax, "defense-up");
    Number(form, "EditMindUp", "Mind:", &TKelItemItem::MindUp, kItemNumberMin, kItemNumberMax, "mind-up");
    Number(form, "EditAgilityUp", "Agility:", &TKelItemItem::AgilityUp, kItemNumberMin, kItemNumberMax, "agility-up");

    form.Field(TFieldKind::IdList, "ComboInvokeSkill", "Skill:", &TItemPageModel::SkillShown,
               &TItemPageModel::SetSkill)
        .ItemsFrom([](const TItemPageModel& m) { return m.SkillChoices(); });
    ItemField(form, TFieldKind::DropDown, "ComboUsingMessage", "Using Message:", &TKelItemItem::UsingMessage)
        .Choices({"Common Item", "Based on setup of special skill"})
        .Key("using-message");

    form.Resource("DashSwitch", "&ON Switch:", &TItemPageModel::SwitchText, &TItemPageModel::ChooseSwitch);
    CheckField(form, "CheckField", "&Field", &TKelItemItem::UsableInField, "field");
    CheckField(form, "CheckBattle", "&Battle", &TKelItemItem::UsableInBattle, "battle");
    return form.Build();
}

}  // namespace

const TFieldForm& ItemPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
