#include "data/LD_Player.h"

namespace quillon {

const std::array<std::uint16_t, 50> kHeroCurveA = {
    40,  43,  49,  55,  60,  66,  72,  79,  85,  92,  98,  105, 112, 120, 127, 135, 143,
    151, 160, 168, 177, 186, 195, 205, 215, 225, 236, 247, 258, 269, 281, 293, 305, 318,
    331, 345, 359, 373, 388, 404, 419, 436, 453, 471, 489, 508, 527, 547, 568, 600};
const std::array<std::uint16_t, 50> kHeroCurveB = {
    15, 16, 18, 19, 20, 22, 23, 25, 26, 28, 30, 31,  33,  35,  37,  38,  40,  42,  44,  47,  49,  51,  53,  55,  58,
    60, 63, 65, 68, 71, 74, 77, 80, 83, 86, 89, 93, 96, 100, 103, 107, 111, 115, 119, 124, 128, 133, 138, 143, 150};
const std::array<std::uint16_t, 50> kHeroCurveC = {
    20,  22,  25,  28,  31,  34,  37,  40,  43,  46,  50,  53,  57,  61,  64,  68,  72,
    76,  81,  85,  89,  94,  98,  103, 108, 113, 119, 124, 129, 135, 141, 147, 153, 160,
    166, 173, 180, 187, 194, 202, 210, 218, 227, 236, 245, 254, 264, 274, 284, 300};

// --- learned skills ---

void TKelPlayerLearningItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetIntField(d, &Level, 1, "Level"); break;
    case 2: SetIntField(d, &SkillId, 1, "SkillId"); break;
    default: break;
    }
}

void TKelPlayerLearningItem::Reset() {
    Level = 1;
    SkillId = 1;
}

// --- hero ---

void TKelPlayerItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetStringField(d, &Degree, true, "Degree"); break;
    case 3: SetStringField(d, &CharSetName, true, "CharSetName"); break;
    case 4: SetIntField(d, &CharSetIndex, 0, "CharSetIndex"); break;
    case 5: SetByteField(d, &CharSetTransparent, 0, "CharSetTransparent"); break;
    case 7: SetIntField(d, &InitialLevel, 1, "InitialLevel"); break;
    case 8: SetIntField(d, &MaxLevel, 50, "MaxLevel"); break;
    case 9: SetByteField(d, &CriticalEnabled, 1, "CriticalEnabled"); break;
    case 10: SetIntField(d, &CriticalChance, 30, "CriticalChance"); break;
    case 15: SetStringField(d, &FaceName, true, "FaceName"); break;
    case 16: SetIntField(d, &FaceIndex, 0, "FaceIndex"); break;
    case 21: SetByteField(d, &TwoSwords, 0, "TwoSwords"); break;
    case 22: SetByteField(d, &EquipmentFixed, 0, "EquipmentFixed"); break;
    case 23: SetByteField(d, &AiControl, 0, "AiControl"); break;
    case 24: SetByteField(d, &StrongDefense, 0, "StrongDefense"); break;
    case 31: SetBufferField(d, Parameters.data(), static_cast<std::int32_t>(Parameters.size()), "Parameters"); break;
    case 41: SetIntField(d, &ExpStandard, 30, "ExpStandard"); break;
    case 42: SetIntField(d, &ExpAdditional, 30, "ExpAdditional"); break;
    case 43: SetIntField(d, &ExpCorrection, 0, "ExpCorrection"); break;
    case 51:
        SetBufferField(d, InitialEquipment.data(), static_cast<std::int32_t>(InitialEquipment.size()),
                       "InitialEquipment");
        break;
    case 56: SetIntField(d, &UnarmedAnimationId, 1, "UnarmedAnimationId"); break;
    case 63: SetListField(d, &Learning, "Learning"); break;
    case 66: SetByteField(d, &CustomSkillName, 0, "CustomSkillName"); break;
    case 67: SetStringField(d, &SkillCommandName, true, "SkillCommandName"); break;
    case 71: SetIntField(d, &ConditionRankCount, 0, "ConditionRankCount"); break;
    case 72: SetDynamicField(d, &ConditionRanks, ConditionRankCount, "ConditionRanks"); break;
    case 73: SetIntField(d, &AttributeRankCount, 0, "AttributeRankCount"); break;
    case 74: SetDynamicField(d, &AttributeRanks, AttributeRankCount, "AttributeRanks"); break;
    default: break;
    }
}

void TKelPlayerItem::Reset() {
    Name.clear();
    Degree.clear();
    CharSetName.clear();
    CharSetIndex = 0;
    CharSetTransparent = 0;
    InitialLevel = 1;
    MaxLevel = 50;
    CriticalEnabled = 1;
    CriticalChance = 30;
    FaceName.clear();
    FaceIndex = 0;
    TwoSwords = EquipmentFixed = AiControl = StrongDefense = 0;
    // Every new or loaded hero starts from the same curves: lay them out once.
    static const auto defaultParameters = [] {
        decltype(Parameters) laidOut{};
        const std::array<const std::array<std::uint16_t, 50>*, kParameterKinds> curves = {
            &kHeroCurveA, &kHeroCurveA, &kHeroCurveB, &kHeroCurveB, &kHeroCurveC, &kHeroCurveC};
        for (std::size_t p = 0; p < kParameterKinds; ++p)
            for (std::size_t level = 0; level < kMaxLevel; ++level) {
                const std::uint16_t value = (*curves[p])[level];
                const std::size_t at = 2 * (kMaxLevel * p + level);  // as SetParameter lays it out
                laidOut[at] = static_cast<std::uint8_t>(value);
                laidOut[at + 1] = static_cast<std::uint8_t>(value >> 8);
            }
        return laidOut;
    }();
    Parameters = defaultParameters;
    ExpStandard = 30;
    ExpAdditional = 30;
    ExpCorrection = 0;
    InitialEquipment.fill(0);
    UnarmedAnimationId = 1;
    Learning.Clear();
    CustomSkillName = 0;
    SkillCommandName.clear();
    ConditionRankCount = 0;
    ConditionRanks.clear();
    AttributeRankCount = 0;
    AttributeRanks.clear();
}

void TKelPlayerItem::MatchArrays() {
    MatchIdArray(ConditionRankCount, ConditionRanks);
    MatchIdArray(AttributeRankCount, AttributeRanks);
}

void TKelPlayerItem::TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) {
    TrimIdArray(ConditionRankCount, ConditionRanks, kDefaultRank, conditionLimit);
    TrimIdArray(AttributeRankCount, AttributeRanks, kDefaultRank, attributeLimit);
}

std::int32_t TKelPlayerItem::Parameter(int parameter, int level) const {
    if (parameter < 0 || parameter >= kParameterKinds || level < 1 || level > kMaxLevel)
        return 0;
    const auto at = static_cast<std::size_t>(2 * (kMaxLevel * parameter + level - 1));
    return Parameters[at] | (Parameters[at + 1] << 8);
}

void TKelPlayerItem::SetParameter(int parameter, int level, std::int32_t value) {
    if (parameter < 0 || parameter >= kParameterKinds || level < 1 || level > kMaxLevel)
        return;
    const auto at = static_cast<std::size_t>(2 * (kMaxLevel * parameter + level - 1));
    Parameters[at] = static_cast<std::uint8_t>(value);
    Parameters[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::int32_t TKelPlayerItem::Equipment(int slot) const {
    if (slot < 0 || slot >= kEquipmentSlots)
        return 0;
    const auto at = static_cast<std::size_t>(2 * slot);
    return InitialEquipment[at] | (InitialEquipment[at + 1] << 8);
}

void TKelPlayerItem::SetEquipment(int slot, std::int32_t itemId) {
    if (slot < 0 || slot >= kEquipmentSlots)
        return;
    const auto at = static_cast<std::size_t>(2 * slot);
    InitialEquipment[at] = static_cast<std::uint8_t>(itemId);
    InitialEquipment[at + 1] = static_cast<std::uint8_t>(itemId >> 8);
}

}  // namespace quillon
