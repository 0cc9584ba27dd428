// The database list of conditions, and the byte arrays that other records keep per condition,
// attribute, hero or terrain ID.
#pragma once

#include "data/Catalog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

// --- arrays of one byte per ID of another list ---
//
// Such an array is two fields of its record: a count and a block of that many bytes; entry i
// (1-based) belongs to ID i of the other list. Outside 1..count an entry reads as a fixed value
// that depends on the array (its "fill value"), and writes there are ignored.

// Resizes to `size` entries (a negative size counts as 0); new entries take `fill`.
void ResizeIdArray(std::int32_t& count, TDynamicBuffer& data, std::int32_t size, std::uint8_t fill);
// Entry `id`, or `outside` when id is not in 1..count (or beyond the block).
std::uint8_t IdArrayEntry(std::int32_t count, const TDynamicBuffer& data, std::int32_t id,
                          std::uint8_t outside);
// Stores entry `id`; ignored outside 1..count.
void SetIdArrayEntry(std::int32_t count, TDynamicBuffer& data, std::int32_t id, std::uint8_t value);
// Makes count and block agree after loading (they come from two chunks): the count is bounded by
// the bytes present and the block cut to the count.
void MatchIdArray(std::int32_t& count, TDynamicBuffer& data);
// Drops trailing entries equal to `fill`, and every entry beyond `limit` (no limit when negative).
void TrimIdArray(std::int32_t& count, TDynamicBuffer& data, std::uint8_t fill, std::int32_t limit);

// The lists whose sizes bound the condition and attribute arrays of records when those are saved
// (entries of conditions or attributes that no longer exist are dropped). Unset: no bound.
struct TKelTrimLimits {
    const TCatalog* Conditions = nullptr;
    const TCatalog* Attributes = nullptr;

    std::int32_t ConditionLimit() const { return Conditions ? Conditions->Count() : -1; }
    std::int32_t AttributeLimit() const { return Attributes ? Attributes->Count() : -1; }
};

// A record with condition and attribute arrays that it shortens before every save: trailing
// entries equal to their fill value are dropped, and so are entries beyond the numbers of
// conditions and attributes that its list's limits name.
class TKelTrimmedItem : public TCatalogItem {
public:
    // Set by the record's list; unset, only trailing fill values are dropped.
    void SetTrimLimits(const TKelTrimLimits* limits) { mTrimLimits = limits; }
    // Drops trailing fill values, and entries beyond the given numbers of conditions and
    // attributes (no bound when negative).
    virtual void TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) = 0;

    void SaveToStream(TStream& stream) override {
        TrimArrays(mTrimLimits ? mTrimLimits->ConditionLimit() : -1,
                   mTrimLimits ? mTrimLimits->AttributeLimit() : -1);
        TCatalogItem::SaveToStream(stream);
    }

    // After every load, also one that failed part-way, each array's count and block agree.
    void LoadFromStream(TStream& stream) override {
        try {
            TCatalogItem::LoadFromStream(stream);
        } catch (...) {
            MatchArrays();
            throw;
        }
        MatchArrays();
    }

protected:
    // Makes each array's count and its block agree, bounded by the bytes the block holds.
    virtual void MatchArrays() = 0;

private:
    const TKelTrimLimits* mTrimLimits = nullptr;
};

// A record with one mark (0 or 1) per condition and per attribute, 0 beyond the arrays: skills
// and items.
class TKelMarkedItem : public TKelTrimmedItem {
public:
    std::int32_t ConditionCount = 0;
    TDynamicBuffer Conditions;  // per condition ID: changes to it
    std::int32_t AttributeCount = 0;
    TDynamicBuffer Attributes;  // per attribute ID: attacks or defends with it

    void SetConditionCount(std::int32_t count) { ResizeIdArray(ConditionCount, Conditions, count, 0); }
    std::uint8_t Condition(std::int32_t id) const { return IdArrayEntry(ConditionCount, Conditions, id, 0); }
    void SetCondition(std::int32_t id, std::uint8_t value) { SetIdArrayEntry(ConditionCount, Conditions, id, value); }
    void SetAttributeCount(std::int32_t count) { ResizeIdArray(AttributeCount, Attributes, count, 0); }
    std::uint8_t Attribute(std::int32_t id) const { return IdArrayEntry(AttributeCount, Attributes, id, 0); }
    void SetAttribute(std::int32_t id, std::uint8_t value) { SetIdArrayEntry(AttributeCount, Attributes, id, value); }

    void TrimArrays(std::int32_t conditionLimit, std::int32_t attributeLimit) override;

protected:
    void MatchArrays() override;
    // Empties both arrays (for Reset).
    void ClearMarks();
};

// A database list of such records; it hands its limits to its elements before they are saved.
template <class T>
class TKelTrimmedList : public TKelList<T> {
public:
    using TKelList<T>::TKelList;

    // The database points these at its condition and attribute lists.
    TKelTrimLimits TrimLimits;

    void SaveItem(int index, TStream& stream) override {
        if (T* item = this->Items(index))
            item->SetTrimLimits(&TrimLimits);
        TKelList<T>::SaveItem(index, stream);
    }
    void SaveToStream(TStream& stream) override {
        for (int i = 0; i < this->Count(); ++i)
            this->Items(i)->SetTrimLimits(&TrimLimits);
        TKelList<T>::SaveToStream(stream);
    }
};

// --- conditions ---

class TKelStatusItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 581;
    // Longest name and messages the condition page accepts, in bytes (the record stores any length).
    static constexpr int kNameMaxBytes = 8;
    static constexpr int kMessageMaxBytes = 30;
    // ID of the incapacitation condition, whose reset values differ from the others'.
    static constexpr std::int32_t kIncapacitationId = 1;

    enum : std::uint8_t { skCombat = 0, skMovement = 1 };
    enum : std::uint8_t { slNone = 0, slCannotAct = 1, slAttackEnemies = 2, slAttackAllies = 3 };

    std::uint8_t Kind = skCombat;      // "Classification"
    std::int32_t Color = 6;            // index of the display colour
    std::int32_t Priority = 50;
    std::uint8_t Restriction = slNone;  // "Action Limitation"
    std::array<std::int32_t, 5> EffectChance{100, 80, 60, 30, 0};  // percent, ranks A..E
    std::int32_t HealTurns = 0;         // natural healing after n turns
    std::int32_t HealRate = 0;          // natural healing probability per turn, percent
    std::int32_t ShockHealRate = 0;     // healing when attacked physically, percent
    std::uint8_t HalveAttack = 0, HalveDefense = 0, HalveMind = 0, HalveAgility = 0;
    std::int32_t HitRate = 100;         // "Hit rate change", percent
    std::uint8_t SealByHit = 0;         // seals skills whose hit influence is at least SealHitLevel
    std::int32_t SealHitLevel = 0;
    std::uint8_t SealByMind = 0;        // seals skills whose mind influence is at least SealMindLevel
    std::int32_t SealMindLevel = 0;
    std::string AllyMessage, EnemyMessage, AlreadyMessage, AffectedMessage, RecoveryMessage;
    std::int32_t HpTurnRate = 0, HpTurnPoints = 0, HpMapSteps = 0, HpMapPoints = 0;
    std::int32_t MpTurnRate = 0, MpTurnPoints = 0, MpMapSteps = 0, MpMapPoints = 0;

    TKelStatusItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 68; }
    // The incapacitation condition (ID 1) resets to movement effect, colour 5, priority 100 and
    // "cannot act".
    void Reset() override;
    // The incapacitation condition never keeps messages 53 and 54.
    void LoadFromStream(TStream& stream) override;
};

// Conditions are created with their ID already set, so that Reset knows the incapacitation
// condition.
template <>
inline std::unique_ptr<TCatalogItem> CreateCatalogItem<TKelStatusItem>(std::int32_t id) {
    auto item = std::make_unique<TKelStatusItem>();
    item->SetID(id);
    item->Reset();
    return item;
}

class TKelStatus : public TKelList<TKelStatusItem> {
public:
    TKelStatus() : TKelList("Invalid Condition State") {}
};

}  // namespace quillon
