#include "data/LD_Skill.h"

namespace quillon {

void TKelSkillItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetStringField(d, &Description, true, "Description"); break;
    case 3: SetStringField(d, &UsingMessage1, true, "UsingMessage1"); break;
    case 4: SetStringField(d, &UsingMessage2, true, "UsingMessage2"); break;
    case 7: SetIntField(d, &FailureMessage, 0, "FailureMessage"); break;
    case 8: SetBufferField(d, &Kind, 1, "Kind"); break;
    case 11: SetIntField(d, &MpCost, 0, "MpCost"); break;
    case 12: SetBufferField(d, &EffectRange, 1, "EffectRange"); break;
    case 13: SetIntField(d, &SwitchId, 1, "SwitchId"); break;
    case 14: SetIntField(d, &AnimationId, 1, "AnimationId"); break;
    case 16: SetRecordField(d, &Sound, "Sound"); break;
    case 18: SetByteField(d, &UsableInField, 1, "UsableInField"); break;
    case 19: SetByteField(d, &UsableInBattle, 0, "UsableInBattle"); break;
    case 21: SetIntField(d, &HitInfluence, 0, "HitInfluence"); break;
    case 22: SetIntField(d, &MindInfluence, 3, "MindInfluence"); break;
    case 23: SetIntField(d, &Variance, 4, "Variance"); break;
    case 24: SetIntField(d, &BaseEffect, 0, "BaseEffect"); break;
    case 25: SetIntField(d, &SuccessRate, 100, "SuccessRate"); break;
    case 31: SetByteField(d, &AffectsHp, 0, "AffectsHp"); break;
    case 32: SetByteField(d, &AffectsMp, 0, "AffectsMp"); break;
    case 33: SetByteField(d, &AffectsAttack, 0, "AffectsAttack"); break;
    case 34: SetByteField(d, &AffectsDefense, 0, "AffectsDefense"); break;
    case 35: SetByteField(d, &AffectsMind, 0, "AffectsMind"); break;
    case 36: SetByteField(d, &AffectsAgility, 0, "AffectsAgility"); break;
    case 37: SetByteField(d, &Absorption, 0, "Absorption"); break;
    case 38: SetByteField(d, &IgnoreDefense, 0, "IgnoreDefense"); break;
    case 41: SetIntField(d, &ConditionCount, 0, "ConditionCount"); break;
    case 42: SetDynamicField(d, &Conditions, ConditionCount, "Conditions"); break;
    case 43: SetIntField(d, &AttributeCount, 0, "AttributeCount"); break;
    case 44: SetDynamicField(d, &Attributes, AttributeCount, "Attributes"); break;
    case 45: SetByteField(d, &DefenseFalling, 0, "DefenseFalling"); break;
    default: break;
    }
}

void TKelSkillItem::Reset() {
    Name.clear();
    Description.clear();
    UsingMessage1.clear();
    UsingMessage2.clear();
    FailureMessage = 0;
    Kind = skNormal;
    MpCost = 0;
    EffectRange = srSingleEnemy;
    SwitchId = 1;
    AnimationId = 1;
    Sound.Reset();
    UsableInField = 1;
    UsableInBattle = 0;
    HitInfluence = 0;
    MindInfluence = 3;
    Variance = 4;
    BaseEffect = 0;
    SuccessRate = 100;
    AffectsHp = AffectsMp = AffectsAttack = AffectsDefense = AffectsMind = AffectsAgility = 0;
    Absorption = 0;
    IgnoreDefense = 0;
    ClearMarks();
    DefenseFalling = 0;
}

void TKelSkillItem::SetStandardUsingMessage(TUsingStyle style) {
    // Short names leave room for the padded suffix; longer ones take a shorter one.
    static const char* const kShortSuffix[] = {(" lan\xE7" "ada! "), " atirada! ", " usada!   "};
    static const char* const kLongSuffix[] = {(" lan\xE7" "ada"), " atirada", " usada! "};
    const int index = style == usCast ? 1 : style == usUse ? 2 : 0;
    UsingMessage1 = "= " + Name + (Name.size() <= 18 ? kShortSuffix[index] : kLongSuffix[index]);
    UsingMessage2.clear();
}

}  // namespace quillon
