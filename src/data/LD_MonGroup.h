// The database list of troops: their monsters, where they are met, and their battle events.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Event.h"
#include "data/LD_Status.h"

#include <cstdint>
#include <string>

namespace quillon {

// One monster of a troop, placed in the battle scene.
class TKelMonGroupMonsterItem : public TCatalogItem {
public:
    std::int32_t MonsterId = 1;
    std::int32_t X = 0;  // pixels
    std::int32_t Y = 0;
    std::uint8_t Hidden = 0;  // hidden at battle start

    TKelMonGroupMonsterItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 4; }
    void Reset() override;
};

class TKelMonGroupMonster : public TCatalogOf<TKelMonGroupMonsterItem> {};

// The start condition of a battle event page.
class TKelBattleEventTrigger : public TCatalogBaseItem {
public:
    // Which conditions are active.
    enum : std::uint8_t {
        btSwitchA = 0x01,
        btSwitchB = 0x02,
        btVariable = 0x04,
        btTurn = 0x08,
        btExhaustion = 0x10,
        btMonsterHp = 0x20,
        btHeroHp = 0x40,
    };

    std::uint8_t Flags = 0;
    std::int32_t SwitchAId = 1;
    std::int32_t SwitchBId = 1;
    std::int32_t VariableId = 1;
    std::int32_t VariableValue = 0;  // met when the variable is at least this
    std::int32_t TurnA = 0;          // turn a*x + b
    std::int32_t TurnB = 0;
    std::int32_t ExhaustionMin = 0;  // percent
    std::int32_t ExhaustionMax = 100;
    std::int32_t MonsterIndex = 0;   // 0-based index of the troop member
    std::int32_t MonsterHpMin = 0;   // percent
    std::int32_t MonsterHpMax = 100;
    std::int32_t HeroId = 1;
    std::int32_t HeroHpMin = 0;      // percent
    std::int32_t HeroHpMax = 100;

    TKelBattleEventTrigger() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 15; }
    void Reset() override;
};

// One battle event page of a troop: a start condition and an event script.
class TKelBattleEventPageItem : public TKelBaseEventPageItem {
public:
    static constexpr int kClipboardFormat = 565;

    TKelBattleEventTrigger Trigger;

    TKelBattleEventPageItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 12; }
    void Reset() override;
};

class TKelBattleEventPage : public TCatalogOf<TKelBattleEventPageItem> {};

class TKelMonGroupItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 578;
    static constexpr int kNameMaxBytes = 20;  // on the troop page; the record stores any length
    // A terrain without an entry: the troop is met there.
    static constexpr std::uint8_t kDefaultTerrain = 1;

    TKelMonGroupMonster Members;
    std::int32_t TerrainCount = 0;
    TDynamicBuffer Terrains;  // per terrain ID: the troop is met there
    TKelBattleEventPage Pages;

    TKelMonGroupItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 11; }
    void Reset() override;
    void LoadFromStream(TStream& stream) override;

    void SetTerrainCount(std::int32_t count) {
        ResizeIdArray(TerrainCount, Terrains, count, kDefaultTerrain);
    }
    std::uint8_t Terrain(std::int32_t id) const {
        return IdArrayEntry(TerrainCount, Terrains, id, kDefaultTerrain);
    }
    void SetTerrain(std::int32_t id, std::uint8_t value) {
        SetIdArrayEntry(TerrainCount, Terrains, id, value);
    }
};

class TKelMonGroup : public TKelList<TKelMonGroupItem> {
public:
    TKelMonGroup() : TKelList("Invalid Monsters Group") {}
};

}  // namespace quillon
