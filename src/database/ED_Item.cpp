#include "database/ED_Item.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"

#include <functional>

namespace quillon {

namespace {

std::vector<bool> Marks(std::int32_t rows, const std::function<std::uint8_t(std::int32_t)>& get) {
    std::vector<bool> marks;
    for (std::int32_t id = 1; id <= rows; ++id)
        marks.push_back(get(id) != 0);
    return marks;
}

bool Between(std::uint8_t kind, int from, int to) { return kind >= from && kind <= to; }

}  // namespace

TItemPageModel::TItemPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TEntryPageModel(context, dtItems, context.DataBase->Item), mChoosers(choosers) {}

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

std::vector<TFieldChoice> TItemPageModel::AnimationChoices() const { return PositionChoices(&DataBase().Animation); }
std::int32_t TItemPageModel::AnimationShown() const { return ShownPosition(&DataBase().Animation, Item().AnimationId); }

void TItemPageModel::SetAnimation(std::int32_t id) {
    if (id < 1 || id > DataBase().Animation.Count() || id == Item().AnimationId)
        return;
    Item().AnimationId = id;
    Modify();
}

const TKelAnimationItem* TItemPageModel::PreviewAnimation() const {
    return DataBase().Animation.Items(AnimationShown() - 1);
}

std::vector<TFieldChoice> TItemPageModel::SkillChoices() const { return PositionChoices(&DataBase().Skill); }
std::int32_t TItemPageModel::SkillShown() const { return ShownPosition(&DataBase().Skill, Item().SkillId); }

void TItemPageModel::SetSkill(std::int32_t id) {
    if (id < 1 || id > DataBase().Skill.Count() || id == Item().SkillId)
        return;
    Item().SkillId = id;
    Modify();
}

std::vector<std::string> TItemPageModel::HeroNames() const { return CatalogNames(&DataBase().Player); }
std::vector<std::string> TItemPageModel::ConditionNames() const { return CatalogNames(&DataBase().Status); }
std::vector<std::string> TItemPageModel::AttributeNames() const { return CatalogNames(&DataBase().Attrib); }

std::vector<bool> TItemPageModel::HeroMarks() const {
    return Marks(DataBase().Player.Count(), [this](std::int32_t id) { return Item().HeroCanUse(id); });
}
std::vector<bool> TItemPageModel::ConditionMarks() const {
    return Marks(DataBase().Status.Count(), [this](std::int32_t id) { return Item().Condition(id); });
}
std::vector<bool> TItemPageModel::AttributeMarks() const {
    return Marks(DataBase().Attrib.Count(), [this](std::int32_t id) { return Item().Attribute(id); });
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

bool TItemPageModel::SetConditionMark(std::int32_t id, bool on) {
    TKelItemItem& item = Item();
    const TIdArrayAccess array{item.ConditionCount, [&](std::int32_t i) { return std::int32_t{item.Condition(i)}; },
                               [&](std::int32_t n) { item.SetConditionCount(n); },
                               [&](std::int32_t i, std::int32_t v) { item.SetCondition(i, static_cast<std::uint8_t>(v)); }};
    if (!StoreShownEntry(array, DataBase().Status.Count(), id, on ? 1 : 0))
        return false;
    Modify();
    return true;
}

bool TItemPageModel::SetAttributeMark(std::int32_t id, bool on) {
    TKelItemItem& item = Item();
    const TIdArrayAccess array{item.AttributeCount, [&](std::int32_t i) { return std::int32_t{item.Attribute(i)}; },
                               [&](std::int32_t n) { item.SetAttributeCount(n); },
                               [&](std::int32_t i, std::int32_t v) { item.SetAttribute(i, static_cast<std::uint8_t>(v)); }};
    if (!StoreShownEntry(array, DataBase().Attrib.Count(), id, on ? 1 : 0))
        return false;
    Modify();
    return true;
}

std::string TItemPageModel::SwitchText() const {
    const TCatalogItem* item = DataBase().Switch.FindByID(Item().SwitchId);
    return item ? DataBaseRowText(item->ID, item->Name) : std::string{};
}

bool TItemPageModel::NoteAppliedNames() {
    if (mNamesNoted || !mChoosers || !mChoosers->DataBaseChanged())
        return false;
    mNamesNoted = true;
    Modify();
    return true;
}

bool TItemPageModel::ChooseSwitch() {
    if (!mChoosers)
        return false;
    NoteAppliedNames();
    std::int32_t id = Item().SwitchId;
    const bool chosen = mChoosers->ChooseSwitch(id) && id != Item().SwitchId;
    if (chosen) {
        Item().SwitchId = id;
        Modify();
    }
    return NoteAppliedNames() || chosen;
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

void Check(TForm& form, const char* widget, const char* label, std::uint8_t TKelItemItem::*member, const char* key) {
    ItemField(form, TFieldKind::Check, widget, label, member).Key(key);
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

    form.Group("GroupUses", "Use number of times");
    ItemField(form, TFieldKind::DropDown, "ComboUses", "Uses:", &TKelItemItem::UseCount)
        .Choices({"Limitless", "1 (Normal)", "2", "3", "4", "5"})
        .Key("uses");
    form.Group("GroupHeroes", "The hero who can use it");

    form.Group("GroupEquip", "Change Ability value");
    Number(form, "EditAttack", "Attack:", &TKelItemItem::AttackChange, kItemNumberMin, kItemNumberMax, "attack");
    Number(form, "EditMind", "Mind:", &TKelItemItem::MindChange, kItemNumberMin, kItemNumberMax, "mind");
    Number(form, "EditDefense", "Defense:", &TKelItemItem::DefenseChange, kItemNumberMin, kItemNumberMax, "defense");
    Number(form, "EditAgility", "Agility:", &TKelItemItem::AgilityChange, kItemNumberMin, kItemNumberMax, "agility");

    form.Group("GroupWeapon", "Arms");
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
    Check(form, "CheckPreemptive", "Preemptive Attack", &TKelItemItem::Preemptive, "preemptive");
    Check(form, "CheckAttackTwice", "Attack Twice", &TKelItemItem::AttackTwice, "attack-twice");
    Check(form, "CheckAttackAll", "Attack All Enemies", &TKelItemItem::AttackAll, "attack-all");
    Check(form, "CheckIgnoreEvasion", "Ignore Monst.Evasion", &TKelItemItem::IgnoreEvasion, "ignore-evasion");
    form.Group("GroupWeaponAttributes", "Attack Attribute");

    form.Group("GroupOptions", "Options");
    Check(form, "CheckPreventCritical", "Prevent Critical Hit", &TKelItemItem::PreventCritical, "prevent-critical");
    Check(form, "CheckRaiseEvasion", "Rise Avoid of Phys.Attack", &TKelItemItem::RaiseEvasion, "raise-evasion");
    Check(form, "CheckHalfMp", "Half MP", &TKelItemItem::HalfMp, "half-mp");
    Check(form, "CheckNoTerrainDamage", "No Terrain Damage", &TKelItemItem::NoTerrainDamage, "no-terrain-damage");
    form.Group("GroupArmourAttributes", "Defense Attribute");

    form.Group("GroupConditions", "Change to condition");
    form.Group("GroupProbability", "Attack Attribute");
    Number(form, "EditProbability", "Probability (%):", &TKelItemItem::ConditionProbability, 0, kItemPercentMax,
           "probability");

    form.Group("GroupMedicine", "Medicine");
    ItemField(form, TFieldKind::DropDown, "ComboRange", "Effect &Range:", &TKelItemItem::EffectRange)
        .Choices({"Single Ally", "Whole Party"})
        .Key("range");
    Number(form, "EditHpRate", "HP Recovery (%):", &TKelItemItem::HpRecoveryRate, 0, kItemPercentMax, "hp-rate");
    Number(form, "EditHpPoints", "HP Recovery (points):", &TKelItemItem::HpRecoveryPoints, 0, kItemNumberMax,
           "hp-points");
    Number(form, "EditMpRate", "MP Recovery (%):", &TKelItemItem::MpRecoveryRate, 0, kItemPercentMax, "mp-rate");
    Number(form, "EditMpPoints", "MP Recovery (points):", &TKelItemItem::MpRecoveryPoints, 0, kItemNumberMax,
           "mp-points");
    Check(form, "CheckFieldOnly", "Only use in field (menu screen).", &TKelItemItem::FieldOnly, "field-only");
    Check(form, "CheckUnconscious", "Effective only on unconscious heroes", &TKelItemItem::OnlyUnconscious,
          "unconscious");
    form.Group("GroupCure", "Change to");

    form.Group("GroupBook", "Learn Tech Skill");
    form.Field(TFieldKind::IdList, "ComboLearnSkill", "Skill:", &TItemPageModel::SkillShown, &TItemPageModel::SetSkill)
        .ItemsFrom([](const TItemPageModel& m) { return m.SkillChoices(); })
        .Key("skill");

    form.Group("GroupMaterial", "Change Ability value");
    Number(form, "EditMaxHpUp", "Max HP:", &TKelItemItem::MaxHpUp, kItemNumberMin, kItemNumberMax, "max-hp-up");
    Number(form, "EditMaxMpUp", "Max MP:", &TKelItemItem::MaxMpUp, kItemNumberMin, kItemNumberMax, "max-mp-up");
    Number(form, "EditAttackUp", "Attack:", &TKelItemItem::AttackUp, kItemNumberMin, kItemNumberMax, "attack-up");
    Number(form, "EditDefenseUp", "Defense:", &TKelItemItem::DefenseUp, kItemNumberMin, kItemNumberMax, "defense-up");
    Number(form, "EditMindUp", "Mind:", &TKelItemItem::MindUp, kItemNumberMin, kItemNumberMax, "mind-up");
    Number(form, "EditAgilityUp", "Agility:", &TKelItemItem::AgilityUp, kItemNumberMin, kItemNumberMax, "agility-up");

    form.Group("GroupUnique", "Invoke Tech Skill");
    form.Field(TFieldKind::IdList, "ComboInvokeSkill", "Skill:", &TItemPageModel::SkillShown,
               &TItemPageModel::SetSkill)
        .ItemsFrom([](const TItemPageModel& m) { return m.SkillChoices(); });
    ItemField(form, TFieldKind::DropDown, "ComboUsingMessage", "Using Message:", &TKelItemItem::UsingMessage)
        .Choices({"Common Item", "Based on setup of special skill"})
        .Key("using-message");

    form.Group("GroupSwitch", "Available at");
    form.Resource("DashSwitch", "&ON Switch:", &TItemPageModel::SwitchText, &TItemPageModel::ChooseSwitch);
    Check(form, "CheckField", "&Field", &TKelItemItem::UsableInField, "field");
    Check(form, "CheckBattle", "&Battle", &TKelItemItem::UsableInBattle, "battle");
    form.Group("GroupEnd");
    return form.Build();
}

}  // namespace

const TFieldForm& ItemPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
