#include "data/LD_Status.h"

#include <algorithm>

namespace quillon {

// --- arrays per ID ---

void ResizeIdArray(std::int32_t& count, TDynamicBuffer& data, std::int32_t size, std::uint8_t fill) {
    MatchIdArray(count, data);
    count = std::max(size, 0);
    data.resize(static_cast<std::size_t>(count), fill);
}

std::uint8_t IdArrayEntry(std::int32_t count, const TDynamicBuffer& data, std::int32_t id,
                          std::uint8_t outside) {
    if (id < 1 || id > count || static_cast<std::size_t>(id) > data.size())
        return outside;
    return data[static_cast<std::size_t>(id - 1)];
}

void SetIdArrayEntry(std::int32_t count, TDynamicBuffer& data, std::int32_t id, std::uint8_t value) {
    if (id < 1 || id > count || static_cast<std::size_t>(id) > data.size())
        return;
    data[static_cast<std::size_t>(id - 1)] = value;
}

void MatchIdArray(std::int32_t& count, TDynamicBuffer& data) {
    count = static_cast<std::int32_t>(std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(data.size())));
    data.resize(static_cast<std::size_t>(count));
}

void TrimIdArray(std::int32_t& count, TDynamicBuffer& data, std::uint8_t fill, std::int32_t limit) {
    MatchIdArray(count, data);
    std::size_t length = data.size();
    while (length > 0 && data[length - 1] == fill)
        --length;
    if (limit >= 0)
        length = std::min(length, static_cast<std::size_t>(limit));
    data.resize(length);
    count = static_cast<std::int32_t>(length);
}

// --- conditions ---

void TKelStatusItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    static const char* const kChanceNames[] = {"ChanceA", "ChanceB", "ChanceC", "ChanceD", "ChanceE"};
    if (fieldNumber >= 11 && fieldNumber <= 15) {
        const auto rank = static_cast<std::size_t>(fieldNumber - 11);
        static constexpr std::int32_t kDefaults[] = {100, 80, 60, 30, 0};
        SetIntField(d, &EffectChance[rank], kDefaults[rank], kChanceNames[rank]);
        return;
    }
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetBufferField(d, &Kind, 1, "Kind"); break;
    case 3: SetIntField(d, &Color, 6, "Color"); break;
    case 4: SetIntField(d, &Priority, 50, "Priority"); break;
    case 5: SetBufferField(d, &Restriction, 1, "Restriction"); break;
    case 21: SetIntField(d, &HealTurns, 0, "HealTurns"); break;
    case 22: SetIntField(d, &HealRate, 0, "HealRate"); break;
    case 23: SetIntField(d, &ShockHealRate, 0, "ShockHealRate"); break;
    case 31: SetByteField(d, &HalveAttack, 0, "HalveAttack"); break;
    case 32: SetByteField(d, &HalveDefense, 0, "HalveDefense"); break;
    case 33: SetByteField(d, &HalveMind, 0, "HalveMind"); break;
    case 34: SetByteField(d, &HalveAgility, 0, "HalveAgility"); break;
    case 35: SetIntField(d, &HitRate, 100, "HitRate"); break;
    case 41: SetByteField(d, &SealByHit, 0, "SealByHit"); break;
    case 42: SetIntField(d, &SealHitLevel, 0, "SealHitLevel"); break;
    case 43: SetByteField(d, &SealByMind, 0, "SealByMind"); break;
    case 44: SetIntField(d, &SealMindLevel, 0, "SealMindLevel"); break;
    case 51: SetStringField(d, &AllyMessage, true, "AllyMessage"); break;
    case 52: SetStringField(d, &EnemyMessage, true, "EnemyMessage"); break;
    case 53: SetStringField(d, &AlreadyMessage, true, "AlreadyMessage"); break;
    case 54: SetStringField(d, &AffectedMessage, true, "AffectedMessage"); break;
    case 55: SetStringField(d, &RecoveryMessage, true, "RecoveryMessage"); break;
    case 61: SetIntField(d, &HpTurnRate, 0, "HpTurnRate"); break;
    case 62: SetIntField(d, &HpTurnPoints, 0, "HpTurnPoints"); break;
    case 63: SetIntField(d, &HpMapSteps, 0, "HpMapSteps"); break;
    case 64: SetIntField(d, &HpMapPoints, 0, "HpMapPoints"); break;
    case 65: SetIntField(d, &MpTurnRate, 0, "MpTurnRate"); break;
    case 66: SetIntField(d, &MpTurnPoints, 0, "MpTurnPoints"); break;
    case 67: SetIntField(d, &MpMapSteps, 0, "MpMapSteps"); break;
    case 68: SetIntField(d, &MpMapPoints, 0, "MpMapPoints"); break;
    default: break;
    }
}

void TKelStatusItem::Reset() {
    const bool incapacitation = ID == kIncapacitationId;
    Name.clear();
    Kind = incapacitation ? skMovement : skCombat;
    Color = incapacitation ? 5 : 6;
    Priority = incapacitation ? 100 : 50;
    Restriction = incapacitation ? slCannotAct : slNone;
    EffectChance = {100, 80, 60, 30, 0};
    HealTurns = 0;
    HealRate = 0;
    ShockHealRate = 0;
    HalveAttack = HalveDefense = HalveMind = HalveAgility = 0;
    HitRate = 100;
    SealByHit = 0;
    SealHitLevel = 0;
    SealByMind = 0;
    SealMindLevel = 0;
    AllyMessage.clear();
    EnemyMessage.clear();
    AlreadyMessage.clear();
    AffectedMessage.clear();
    RecoveryMessage.clear();
    HpTurnRate = HpTurnPoints = HpMapSteps = HpMapPoints = 0;
    MpTurnRate = MpTurnPoints = MpMapSteps = MpMapPoints = 0;
}

void TKelStatusItem::LoadFromStream(TStream& stream) {
    const auto clearMessages = [this] {
        if (ID == kIncapacitationId) {
            AlreadyMessage.clear();
            AffectedMessage.clear();
        }
    };
    try {
        TCatalogItem::LoadFromStream(stream);
    } catch (...) {
        clearMessages();  // also when the record was cut short after them
        throw;
    }
    clearMessages();
}

void TKelMarkedItem::TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) {
    TrimIdArray(ConditionCount, Conditions, 0, conditionLimit);
    TrimIdArray(AttributeCount, Attributes, 0, attributeLimit);
}

void TKelMarkedItem::MatchArrays() {
    MatchIdArray(ConditionCount, Conditions);
    MatchIdArray(AttributeCount, Attributes);
}

void TKelMarkedItem::ClearMarks() {
    ConditionCount = 0;
    Conditions.clear();
    AttributeCount = 0;
    Attributes.clear();
}

}  // namespace quillon
