// The database list of heroes.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Status.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

// A skill that a hero learns on reaching a level; its ID is its place in the hero's list.
class TKelPlayerLearningItem : public TCatalogItem {
public:
    std::int32_t Level = 1;
    std::int32_t SkillId = 1;

    TKelPlayerLearningItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 2; }
    void Reset() override;
};

class TKelPlayerLearning : public TCatalogOf<TKelPlayerLearningItem> {};

class TKelPlayerItem : public TKelTrimmedItem {
public:
    static constexpr int kClipboardFormat = 574;
    // Longest texts the hero page accepts, in bytes (the record stores any length).
    static constexpr int kNameMaxBytes = 50;
    static constexpr int kDegreeMaxBytes = 12;
    static constexpr int kSkillCommandNameMaxBytes = 10;
    static constexpr int kParameterKinds = 6;  // max HP, max MP, attack, defense, mind, agility
    static constexpr int kMaxLevel = 50;
    static constexpr int kEquipmentSlots = 5;  // weapon, shield, armor, helmet, accessory
    // Rank of a condition or attribute that the hero has no entry for: the middle rate.
    static constexpr std::uint8_t kDefaultRank = 2;

    std::string Degree;           // title shown with the name
    std::string CharSetName;      // walking graphic
    std::int32_t CharSetIndex = 0;
    std::uint8_t CharSetTransparent = 0;
    std::int32_t InitialLevel = 1;
    std::int32_t MaxLevel = 50;
    std::uint8_t CriticalEnabled = 1;
    std::int32_t CriticalChance = 30;  // once every n attacks
    std::string FaceName;
    std::int32_t FaceIndex = 0;
    std::uint8_t TwoSwords = 0;
    std::uint8_t EquipmentFixed = 0;
    std::uint8_t AiControl = 0;
    std::uint8_t StrongDefense = 0;
    // Six curves of 50 levels each, 16-bit little-endian; see Parameter.
    std::array<std::uint8_t, 2 * kParameterKinds * kMaxLevel> Parameters{};
    std::int32_t ExpStandard = 30;    // experience curve: standard increase
    std::int32_t ExpAdditional = 30;  // additional increase
    std::int32_t ExpCorrection = 0;   // correction
    // Item IDs of the five equipment slots, 16-bit little-endian; 0 = none.
    std::array<std::uint8_t, 2 * kEquipmentSlots> InitialEquipment{};
    std::int32_t UnarmedAnimationId = 1;
    TKelPlayerLearning Learning;
    std::uint8_t CustomSkillName = 0;  // the skill command shows SkillCommandName
    std::string SkillCommandName;
    std::int32_t ConditionRankCount = 0;
    TDynamicBuffer ConditionRanks;  // rank 0..4 per condition ID
    std::int32_t AttributeRankCount = 0;
    TDynamicBuffer AttributeRanks;  // rank 0..4 per attribute ID

    TKelPlayerItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 74; }
    void Reset() override;

    // Value of parameter 0..5 at level 1..50; 0 elsewhere, where writes are ignored.
    std::int32_t Parameter(int parameter, int level) const;
    void SetParameter(int parameter, int level, std::int32_t value);
    // Initial equipment by slot 0..4; other slots read 0 and write nothing.
    std::int32_t Equipment(int slot) const;
    void SetEquipment(int slot, std::int32_t itemId);

    void SetConditionRankCount(std::int32_t count) {
        ResizeIdArray(ConditionRankCount, ConditionRanks, count, kDefaultRank);
    }
    std::uint8_t ConditionRank(std::int32_t id) const {
        return IdArrayEntry(ConditionRankCount, ConditionRanks, id, kDefaultRank);
    }
    void SetConditionRank(std::int32_t id, std::uint8_t rank) {
        SetIdArrayEntry(ConditionRankCount, ConditionRanks, id, rank);
    }
    void SetAttributeRankCount(std::int32_t count) {
        ResizeIdArray(AttributeRankCount, AttributeRanks, count, kDefaultRank);
    }
    std::uint8_t AttributeRank(std::int32_t id) const {
        return IdArrayEntry(AttributeRankCount, AttributeRanks, id, kDefaultRank);
    }
    void SetAttributeRank(std::int32_t id, std::uint8_t rank) {
        SetIdArrayEntry(AttributeRankCount, AttributeRanks, id, rank);
    }

    // Drops trailing middle ranks, and ranks beyond the given numbers of conditions and
    // attributes (no bound when negative).
    void TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) override;

private:
    void MatchArrays() override;
};

class TKelPlayer : public TKelTrimmedList<TKelPlayerItem> {
public:
    TKelPlayer() : TKelTrimmedList("Invalid Hero") {}
};

// The built-in parameter curves a new hero starts with, levels 1..50: table A for max HP and MP,
// B for attack and defense, C for mind and agility.
extern const std::array<std::uint16_t, 50> kHeroCurveA;
extern const std::array<std::uint16_t, 50> kHeroCurveB;
extern const std::array<std::uint16_t, 50> kHeroCurveC;

}  // namespace quillon
