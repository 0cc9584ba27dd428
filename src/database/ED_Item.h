// The item page ("Items"): every field of the current item. The classification decides which
// groups of controls the page shows and how some are captioned; the hero, condition and
// attribute mark lists and the animation preview are the widget's, over the operations here.
// The attribute marks and the condition marks are each shown in two places (one array each),
// and "Learn Tech Skill" and "Invoke Tech Skill" show the one skill field.
#pragma once

#include "data/LD_Item.h"
#include "database/MarkedPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

inline constexpr std::int32_t kItemPriceMax = 999999;
inline constexpr std::int32_t kItemNumberMax = 999;     // bonuses, costs, recovery points
inline constexpr std::int32_t kItemNumberMin = -999;    // bonuses may lower a value
inline constexpr std::int32_t kItemPercentMax = 100;
inline constexpr int kItemHelpContext = 4;

// The groups of controls that only some classifications show.
enum class TItemGroup {
    Uses,       // "Use number of times" (6..10)
    Heroes,     // the hero list (1..9)
    Equip,      // "Change Ability value" bonuses (1..5)
    Weapon,     // animation, hand, costs, weapon options and the weapon's attribute list (1)
    Armour,     // "Options" and the armour's attribute list (2..5)
    Conditions, // "Change to" with "Probability" (1..5)
    Medicine,   // range, cured conditions, recovery, use rules (6)
    Book,       // "Learn Tech Skill" (7)
    Material,   // permanent ability gains (8)
    Unique,     // "Invoke Tech Skill", "Using Message" (9)
    Switch,     // "ON Switch", "Available at" (10)
};

class TItemPageModel : public TMarkedPageModel<TKelItemItem> {
public:
    TItemPageModel(const TDataBaseContext& context, IEventChoosers* choosers);

    // Whether the current item's classification shows a group (an unknown one shows none).
    bool Shown(TItemGroup group) const;
    bool IsWeapon() const { return Item().Kind == TKelItemItem::ikWeapon; }
    bool IsArmour() const { return Item().Kind >= TKelItemItem::ikShield && Item().Kind <= TKelItemItem::ikAccessory; }
    // Captions that follow the classification.
    std::string HeroCaption() const;
    std::string AttributeCaption() const;
    std::string ConditionCaption() const;
    std::string ProbabilityCaption() const;

    // The classification: stored, the whole entry shown again.
    std::int32_t Kind() const { return Item().Kind; }
    void SetKind(std::int32_t kind);

    // The skill of books and unique items: by position, the stored ID while it names a row,
    // else 1 (shown, not stored).
    std::vector<TFieldChoice> SkillChoices() const;
    std::int32_t SkillShown() const;
    void SetSkill(std::int32_t id);

    // The hero list: one row per hero of the database.
    std::vector<std::string> HeroNames() const;
    std::vector<bool> HeroMarks() const;
    // A hero list shorter than the number of heroes is made as long first, keeping every mark
    // shown (heroes beyond it could use the item).
    bool SetHeroMark(std::int32_t heroId, bool on);
};

// The fields, by the names of their widgets in the page's form: EditName, ComboKind, EditPrice,
// EditExplanation; in the group boxes GroupUses (ComboUses); GroupHeroes; GroupEquip (EditAttack ..
// EditAgility); GroupWeapon (ComboAnimation, ComboHand, EditMpCost, EditHitChance, EditCritical,
// CheckPreemptive .. CheckIgnoreEvasion); GroupWeaponAttributes; GroupOptions (CheckPreventCritical
// .. CheckNoTerrainDamage); GroupArmourAttributes; GroupConditions; GroupProbability
// (EditProbability); GroupMedicine (ComboRange, EditHpRate, EditHpPoints, EditMpRate, EditMpPoints,
// CheckFieldOnly, CheckUnconscious); GroupCure; GroupBook (ComboLearnSkill); GroupMaterial
// (EditMaxHpUp .. EditAgilityUp); GroupUnique (ComboInvokeSkill, ComboUsingMessage); GroupSwitch
// (DashSwitch, CheckField, CheckBattle).
const TFieldForm& ItemPageForm();

// The group boxes of a group, by widget name.
std::vector<std::string> ItemGroupWidgets(TItemGroup group);

}  // namespace quillon
