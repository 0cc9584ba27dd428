#include "data/LD_Item.h"

namespace quillon {

void TKelItemItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetStringField(d, &Description, true, "Description"); break;
    case 3: SetBufferField(d, &Kind, 1, "Kind"); break;
    case 5: SetIntField(d, &Price, 0, "Price"); break;
    case 6: SetIntField(d, &UseCount, 1, "UseCount"); break;
    case 11: SetIntField(d, &AttackChange, 0, "AttackChange"); break;
    case 12: SetIntField(d, &DefenseChange, 0, "DefenseChange"); break;
    case 13: SetIntField(d, &MindChange, 0, "MindChange"); break;
    case 14: SetIntField(d, &AgilityChange, 0, "AgilityChange"); break;
    case 15: SetBufferField(d, &TwoHanded, 1, "TwoHanded"); break;
    case 16: SetIntField(d, &MpCost, 0, "MpCost"); break;
    case 17: SetIntField(d, &HitChance, 90, "HitChance"); break;
    case 18: SetIntField(d, &CriticalChance, 0, "CriticalChance"); break;
    case 20: SetIntField(d, &AnimationId, 1, "AnimationId"); break;
    case 21: SetByteField(d, &Preemptive, 0, "Preemptive"); break;
    case 22: SetByteField(d, &AttackTwice, 0, "AttackTwice"); break;
    case 23: SetByteField(d, &AttackAll, 0, "AttackAll"); break;
    case 24: SetByteField(d, &IgnoreEvasion, 0, "IgnoreEvasion"); break;
    case 25: SetByteField(d, &PreventCritical, 0, "PreventCritical"); break;
    case 26: SetByteField(d, &RaiseEvasion, 0, "RaiseEvasion"); break;
    case 27: SetByteField(d, &HalfMp, 0, "HalfMp"); break;
    case 28: SetByteField(d, &NoTerrainDamage, 0, "NoTerrainDamage"); break;
    case 31: SetBufferField(d, &EffectRange, 1, "EffectRange"); break;
    case 32: SetIntField(d, &HpRecoveryRate, 0, "HpRecoveryRate"); break;
    case 33: SetIntField(d, &HpRecoveryPoints, 0, "HpRecoveryPoints"); break;
    case 34: SetIntField(d, &MpRecoveryRate, 0, "MpRecoveryRate"); break;
    case 35: SetIntField(d, &MpRecoveryPoints, 0, "MpRecoveryPoints"); break;
    case 37: SetByteField(d, &FieldOnly, 0, "FieldOnly"); break;
    case 38: SetByteField(d, &OnlyUnconscious, 0, "OnlyUnconscious"); break;
    case 41: SetIntField(d, &MaxHpUp, 0, "MaxHpUp"); break;
    case 42: SetIntField(d, &MaxMpUp, 0, "MaxMpUp"); break;
    case 43: SetIntField(d, &AttackUp, 0, "AttackUp"); break;
    case 44: SetIntField(d, &DefenseUp, 0, "DefenseUp"); break;
    case 45: SetIntField(d, &MindUp, 0, "MindUp"); break;
    case 46: SetIntField(d, &AgilityUp, 0, "AgilityUp"); break;
    case 51: SetBufferField(d, &UsingMessage, 1, "UsingMessage"); break;
    case 53: SetIntField(d, &SkillId, 1, "SkillId"); break;
    case 55: SetIntField(d, &SwitchId, 1, "SwitchId"); break;
    case 57: SetByteField(d, &UsableInField, 1, "UsableInField"); break;
    case 58: SetByteField(d, &UsableInBattle, 0, "UsableInBattle"); break;
    case 61: SetIntField(d, &HeroUsableCount, 0, "HeroUsableCount"); break;
    case 62: SetDynamicField(d, &HeroUsable, HeroUsableCount, "HeroUsable"); break;
    case 63: SetIntField(d, &ConditionCount, 0, "ConditionCount"); break;
    case 64: SetDynamicField(d, &Conditions, ConditionCount, "Conditions"); break;
    case 65: SetIntField(d, &AttributeCount, 0, "AttributeCount"); break;
    case 66: SetDynamicField(d, &Attributes, AttributeCount, "Attributes"); break;
    case 67: SetIntField(d, &ConditionProbability, 0, "ConditionProbability"); break;
    default: break;
    }
}

void TKelItemItem::Reset() {
    Name.clear();
    Description.clear();
    Kind = ikCommon;
    Price = 0;
    UseCount = 1;
    AttackChange = DefenseChange = MindChange = AgilityChange = 0;
    TwoHanded = 0;
    MpCost = 0;
    HitChance = 90;
    CriticalChance = 0;
    AnimationId = 1;
    Preemptive = AttackTwice = AttackAll = IgnoreEvasion = 0;
    PreventCritical = RaiseEvasion = HalfMp = NoTerrainDamage = 0;
    EffectRange = 0;
    HpRecoveryRate = HpRecoveryPoints = MpRecoveryRate = MpRecoveryPoints = 0;
    FieldOnly = 0;
    OnlyUnconscious = 0;
    MaxHpUp = MaxMpUp = AttackUp = DefenseUp = MindUp = AgilityUp = 0;
    UsingMessage = 0;
    SkillId = 1;
    SwitchId = 1;
    UsableInField = 1;
    UsableInBattle = 0;
    HeroUsableCount = 0;
    HeroUsable.clear();
    ClearMarks();
    ConditionProbability = 0;
}

void TKelItemItem::MatchArrays() {
    MatchIdArray(HeroUsableCount, HeroUsable);
    TKelMarkedItem::MatchArrays();
}

}  // namespace quillon
