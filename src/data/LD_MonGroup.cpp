#include "data/LD_MonGroup.h"

namespace quillon {

// --- members ---

void TKelMonGroupMonsterItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetIntField(d, &MonsterId, 1, "MonsterId"); break;
    case 2: SetIntField(d, &X, 0, "X"); break;
    case 3: SetIntField(d, &Y, 0, "Y"); break;
    case 4: SetByteField(d, &Hidden, 0, "Hidden"); break;
    default: break;
    }
}

void TKelMonGroupMonsterItem::Reset() {
    MonsterId = 1;
    X = 0;
    Y = 0;
    Hidden = 0;
}

// --- battle event trigger ---

void TKelBattleEventTrigger::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetBufferField(d, &Flags, 1, "Flags"); break;
    case 2: SetIntField(d, &SwitchAId, 1, "SwitchAId"); break;
    case 3: SetIntField(d, &SwitchBId, 1, "SwitchBId"); break;
    case 4: SetIntField(d, &VariableId, 1, "VariableId"); break;
    case 5: SetIntField(d, &VariableValue, 0, "VariableValue"); break;
    case 6: SetIntField(d, &TurnA, 0, "TurnA"); break;
    case 7: SetIntField(d, &TurnB, 0, "TurnB"); break;
    case 8: SetIntField(d, &ExhaustionMin, 0, "ExhaustionMin"); break;
    case 9: SetIntField(d, &ExhaustionMax, 100, "ExhaustionMax"); break;
    case 10: SetIntField(d, &MonsterIndex, 0, "MonsterIndex"); break;
    case 11: SetIntField(d, &MonsterHpMin, 0, "MonsterHpMin"); break;
    case 12: SetIntField(d, &MonsterHpMax, 100, "MonsterHpMax"); break;
    case 13: SetIntField(d, &HeroId, 1, "HeroId"); break;
    case 14: SetIntField(d, &HeroHpMin, 0, "HeroHpMin"); break;
    case 15: SetIntField(d, &HeroHpMax, 100, "HeroHpMax"); break;
    default: break;
    }
}

void TKelBattleEventTrigger::Reset() {
    Flags = 0;
    SwitchAId = 1;
    SwitchBId = 1;
    VariableId = 1;
    VariableValue = 0;
    TurnA = 0;
    TurnB = 0;
    ExhaustionMin = 0;
    ExhaustionMax = 100;
    MonsterIndex = 0;
    MonsterHpMin = 0;
    MonsterHpMax = 100;
    HeroId = 1;
    HeroHpMin = 0;
    HeroHpMax = 100;
}

// --- battle event page ---

void TKelBattleEventPageItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 2: SetRecordField(d, &Trigger, "Trigger"); break;
    case 11: SetIntField(d, &ScriptSize, 0, "ScriptSize"); break;
    case 12: SetDynamicField(d, &ScriptData, ScriptSize, "ScriptData"); break;
    default: break;
    }
}

void TKelBattleEventPageItem::Reset() {
    Trigger.Reset();
    TKelBaseEventPageItem::Reset();
}

// --- troop ---

void TKelMonGroupItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetListField(d, &Members, "Members"); break;
    case 4: SetIntField(d, &TerrainCount, 0, "TerrainCount"); break;
    case 5: SetDynamicField(d, &Terrains, TerrainCount, "Terrains"); break;
    case 11: SetListField(d, &Pages, "Pages"); break;
    default: break;
    }
}

void TKelMonGroupItem::Reset() {
    Name.clear();
    Members.Clear();
    TerrainCount = 0;
    Terrains.clear();
    Pages.Clear();
    Pages.Obtain(1);
}

void TKelMonGroupItem::LoadFromStream(TStream& stream) {
    try {
        TCatalogItem::LoadFromStream(stream);
    } catch (...) {
        MatchIdArray(TerrainCount, Terrains);
        throw;
    }
    MatchIdArray(TerrainCount, Terrains);
}

}  // namespace quillon
