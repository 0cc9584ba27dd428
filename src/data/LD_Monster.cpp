#include "data/LD_Monster.h"

namespace quillon {

// --- action patterns ---

void TKelMonsterActItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetBufferField(d, &Kind, 1, "Kind"); break;
    case 2: SetBufferField(d, &Behavior, 1, "Behavior"); break;
    case 3: SetIntField(d, &SkillId, 1, "SkillId"); break;
    case 4: SetIntField(d, &TransformId, 1, "TransformId"); break;
    case 5: SetBufferField(d, &ConditionType, 1, "ConditionType"); break;
    case 6: SetIntField(d, &ConditionA, 0, "ConditionA"); break;
    case 7: SetIntField(d, &ConditionB, 0, "ConditionB"); break;
    case 8: SetIntField(d, &ConditionSwitchId, 1, "ConditionSwitchId"); break;
    case 9: SetByteField(d, &SwitchOn, 0, "SwitchOn"); break;
    case 10: SetIntField(d, &SwitchOnId, 1, "SwitchOnId"); break;
    case 11: SetByteField(d, &SwitchOff, 0, "SwitchOff"); break;
    case 12: SetIntField(d, &SwitchOffId, 1, "SwitchOffId"); break;
    case 13: SetIntField(d, &Priority, 50, "Priority"); break;
    default: break;
    }
}

void TKelMonsterActItem::Reset() {
    Kind = akBehavior;
    Behavior = abNormalHit;
    SkillId = 1;
    TransformId = 1;
    ConditionType = acAlways;
    ConditionA = 0;
    ConditionB = 0;
    ConditionSwitchId = 1;
    SwitchOn = 0;
    SwitchOnId = 1;
    SwitchOff = 0;
    SwitchOffId = 1;
    Priority = 50;
}

// --- monster ---

void TKelMonsterItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetStringField(d, &GraphicName, true, "GraphicName"); break;
    case 3: SetIntField(d, &Hue, 0, "Hue"); break;
    case 4: SetIntField(d, &MaxHp, 10, "MaxHp"); break;
    case 5: SetIntField(d, &MaxMp, 10, "MaxMp"); break;
    case 6: SetIntField(d, &Attack, 10, "Attack"); break;
    case 7: SetIntField(d, &Defense, 10, "Defense"); break;
    case 8: SetIntField(d, &Mind, 10, "Mind"); break;
    case 9: SetIntField(d, &Agility, 10, "Agility"); break;
    case 10: SetByteField(d, &Transparent, 0, "Transparent"); break;
    case 11: SetIntField(d, &Exp, 0, "Exp"); break;
    case 12: SetIntField(d, &Money, 0, "Money"); break;
    case 13: SetIntField(d, &ItemId, 0, "ItemId"); break;
    case 14: SetIntField(d, &DropRate, 100, "DropRate"); break;
    case 21: SetByteField(d, &CriticalEnabled, 0, "CriticalEnabled"); break;
    case 22: SetIntField(d, &CriticalChance, 30, "CriticalChance"); break;
    case 26: SetByteField(d, &UsuallyMiss, 0, "UsuallyMiss"); break;
    case 28: SetByteField(d, &Flying, 0, "Flying"); break;
    case 31: SetIntField(d, &ConditionRankCount, 0, "ConditionRankCount"); break;
    case 32: SetDynamicField(d, &ConditionRanks, ConditionRankCount, "ConditionRanks"); break;
    case 33: SetIntField(d, &AttributeRankCount, 0, "AttributeRankCount"); break;
    case 34: SetDynamicField(d, &AttributeRanks, AttributeRankCount, "AttributeRanks"); break;
    case 42: SetListField(d, &Actions, "Actions"); break;
    default: break;
    }
}

void TKelMonsterItem::Reset() {
    Name.clear();
    GraphicName.clear();
    Hue = 0;
    MaxHp = MaxMp = Attack = Defense = Mind = Agility = 10;
    Transparent = 0;
    Exp = 0;
    Money = 0;
    ItemId = 0;
    DropRate = 100;
    CriticalEnabled = 0;
    CriticalChance = 30;
    UsuallyMiss = 0;
    Flying = 0;
    ConditionRankCount = 0;
    ConditionRanks.clear();
    AttributeRankCount = 0;
    AttributeRanks.clear();
    Actions.Clear();
    Actions.Obtain(1);
}

void TKelMonsterItem::MatchArrays() {
    MatchIdArray(ConditionRankCount, ConditionRanks);
    MatchIdArray(AttributeRankCount, AttributeRanks);
}

void TKelMonsterItem::TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) {
    TrimIdArray(ConditionRankCount, ConditionRanks, kDefaultConditionRank, conditionLimit);
    TrimIdArray(AttributeRankCount, AttributeRanks, kDefaultAttributeRank, attributeLimit);
}

}  // namespace quillon
