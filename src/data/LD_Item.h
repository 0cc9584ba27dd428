// The database list of items.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Status.h"

#include <cstdint>
#include <string>

namespace quillon {

class TKelItemItem : public TKelMarkedItem {
public:
    static constexpr int kClipboardFormat = 576;
    // Longest texts the item page accepts, in bytes (the record stores any length).
    static constexpr int kNameMaxBytes = 20;
    static constexpr int kDescriptionMaxBytes = 50;

    // Classification.
    enum : std::uint8_t {
        ikCommon = 0,
        ikWeapon = 1,
        ikShield = 2,
        ikArmor = 3,
        ikHelmet = 4,
        ikAccessory = 5,
        ikMedicine = 6,
        ikBook = 7,
        ikMaterial = 8,
        ikUnique = 9,
        ikSwitch = 10,
    };

    std::string Description;
    std::uint8_t Kind = ikCommon;
    std::int32_t Price = 0;
    std::int32_t UseCount = 1;  // 0 limitless, 1..5 uses
    // Equipment.
    std::int32_t AttackChange = 0, DefenseChange = 0, MindChange = 0, AgilityChange = 0;
    std::uint8_t TwoHanded = 0;       // "Equip hand": 0 one, 1 both
    std::int32_t MpCost = 0;          // weapon
    std::int32_t HitChance = 90;      // weapon, percent
    std::int32_t CriticalChance = 0;  // weapon, percent
    std::int32_t AnimationId = 1;     // weapon battle animation
    std::uint8_t Preemptive = 0, AttackTwice = 0, AttackAll = 0, IgnoreEvasion = 0;
    std::uint8_t PreventCritical = 0, RaiseEvasion = 0, HalfMp = 0, NoTerrainDamage = 0;
    // Medicine.
    std::uint8_t EffectRange = 0;  // 0 single ally, 1 whole party
    std::int32_t HpRecoveryRate = 0, HpRecoveryPoints = 0;
    std::int32_t MpRecoveryRate = 0, MpRecoveryPoints = 0;
    std::uint8_t FieldOnly = 0;       // only usable in the menu screen
    std::uint8_t OnlyUnconscious = 0; // only on unconscious heroes
    // Permanent changes.
    std::int32_t MaxHpUp = 0, MaxMpUp = 0, AttackUp = 0, DefenseUp = 0, MindUp = 0, AgilityUp = 0;
    std::uint8_t UsingMessage = 0;  // 0 common item, 1 as the skill's own message
    std::int32_t SkillId = 1;       // learned (books) or invoked (unique items)
    std::int32_t SwitchId = 1;      // turned on (switch items)
    std::uint8_t UsableInField = 1;
    std::uint8_t UsableInBattle = 0;
    std::int32_t HeroUsableCount = 0;
    TDynamicBuffer HeroUsable;  // per hero ID; heroes beyond it can use the item
    std::int32_t ConditionProbability = 0;  // percent

    TKelItemItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 67; }
    void Reset() override;

    void SetHeroUsableCount(std::int32_t count) { ResizeIdArray(HeroUsableCount, HeroUsable, count, 0); }
    std::uint8_t HeroCanUse(std::int32_t heroId) const {
        return IdArrayEntry(HeroUsableCount, HeroUsable, heroId, 1);
    }
    void SetHeroCanUse(std::int32_t heroId, std::uint8_t value) {
        SetIdArrayEntry(HeroUsableCount, HeroUsable, heroId, value);
    }

private:
    void MatchArrays() override;
};

class TKelItem : public TKelTrimmedList<TKelItemItem> {
public:
    TKelItem() : TKelTrimmedList("Invalid Item Designed") {}
};

}  // namespace quillon
