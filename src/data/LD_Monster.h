// The database list of monsters and their action patterns.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Status.h"

#include <cstdint>
#include <string>

namespace quillon {

// One action pattern of a monster.
class TKelMonsterActItem : public TCatalogItem {
public:
    // Clipboard format of one element of a small embedded list.
    static constexpr int kClipboardFormat = 569;

    enum : std::uint8_t { akBehavior = 0, akSkill = 1, akTransform = 2 };
    enum : std::uint8_t {
        abNormalHit = 0,
        abCriticalHit = 1,
        abDefense = 2,
        abWatch = 3,
        abAccumulate = 4,
        abSelfDestruct = 5,
        abEscape = 6,
        abNothing = 7,
    };
    enum : std::uint8_t {
        acAlways = 0,
        acSwitch = 1,
        acTurn = 2,
        acMonsterCount = 3,
        acOwnHp = 4,
        acOwnMp = 5,
        acHeroLevel = 6,
        acHeroExhaustion = 7,
    };

    std::uint8_t Kind = akBehavior;
    std::uint8_t Behavior = abNormalHit;
    std::int32_t SkillId = 1;      // kind akSkill
    std::int32_t TransformId = 1;  // monster to turn into, kind akTransform
    std::uint8_t ConditionType = acAlways;
    std::int32_t ConditionA = 0;   // lower bound, or first turn value
    std::int32_t ConditionB = 0;   // upper bound, or second turn value
    std::int32_t ConditionSwitchId = 1;
    std::uint8_t SwitchOn = 0;     // turns SwitchOnId on after acting
    std::int32_t SwitchOnId = 1;
    std::uint8_t SwitchOff = 0;    // turns SwitchOffId off after acting
    std::int32_t SwitchOffId = 1;
    std::int32_t Priority = 50;

    TKelMonsterActItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 13; }
    void Reset() override;
};

class TKelMonsterAct : public TCatalogOf<TKelMonsterActItem> {};

class TKelMonsterItem : public TKelTrimmedItem {
public:
    static constexpr int kClipboardFormat = 577;
    static constexpr int kNameMaxBytes = 20;  // on the monster page; the record stores any length
    // Ranks of conditions and attributes the monster has no entry for.
    static constexpr std::uint8_t kDefaultConditionRank = 1;
    static constexpr std::uint8_t kDefaultAttributeRank = 2;

    std::string GraphicName;  // battle graphic (folder "Monster")
    std::int32_t Hue = 0;     // colour change: hue rotation in degrees
    std::int32_t MaxHp = 10, MaxMp = 10, Attack = 10, Defense = 10, Mind = 10, Agility = 10;
    std::uint8_t Transparent = 0;
    std::int32_t Exp = 0;
    std::int32_t Money = 0;
    std::int32_t ItemId = 0;      // dropped item, 0 = none
    std::int32_t DropRate = 100;  // percent
    std::uint8_t CriticalEnabled = 0;
    std::int32_t CriticalChance = 30;  // once every n attacks
    std::uint8_t UsuallyMiss = 0;
    std::uint8_t Flying = 0;
    std::int32_t ConditionRankCount = 0;
    TDynamicBuffer ConditionRanks;  // rank 0..4 per condition ID
    std::int32_t AttributeRankCount = 0;
    TDynamicBuffer AttributeRanks;  // rank 0..4 per attribute ID
    TKelMonsterAct Actions;

    TKelMonsterItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 42; }
    void Reset() override;

    void SetConditionRankCount(std::int32_t count) {
        ResizeIdArray(ConditionRankCount, ConditionRanks, count, kDefaultConditionRank);
    }
    std::uint8_t ConditionRank(std::int32_t id) const {
        return IdArrayEntry(ConditionRankCount, ConditionRanks, id, kDefaultConditionRank);
    }
    void SetConditionRank(std::int32_t id, std::uint8_t rank) {
        SetIdArrayEntry(ConditionRankCount, ConditionRanks, id, rank);
    }
    void SetAttributeRankCount(std::int32_t count) {
        ResizeIdArray(AttributeRankCount, AttributeRanks, count, kDefaultAttributeRank);
    }
    std::uint8_t AttributeRank(std::int32_t id) const {
        return IdArrayEntry(AttributeRankCount, AttributeRanks, id, kDefaultAttributeRank);
    }
    void SetAttributeRank(std::int32_t id, std::uint8_t rank) {
        SetIdArrayEntry(AttributeRankCount, AttributeRanks, id, rank);
    }

    // Drops trailing default ranks, and ranks beyond the given numbers of conditions and
    // attributes (no bound when negative).
    void TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) override;

private:
    void MatchArrays() override;
};

class TKelMonster : public TKelTrimmedList<TKelMonsterItem> {
public:
    TKelMonster() : TKelTrimmedList("Invalid Enemy Chara") {}
};

}  // namespace quillon
