// The system record of the database, the music and sound settings embedded in many records,
// and the battle-test party.
#pragma once

#include "data/Catalog.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

// Name of the music or sound setting that plays nothing.
inline constexpr const char* kSoundOff = "(OFF)";

// A background-music setting.
class TKelMusic : public TCatalogBaseItem {
public:
    std::string Name = kSoundOff;
    std::int32_t FadeIn = 0;    // milliseconds, 0..10000 in steps of 1000
    std::int32_t Volume = 100;  // percent
    std::int32_t Tempo = 100;   // percent, 50..150
    std::int32_t Balance = 50;  // 0 left, 50 middle, 100 right

    TKelMusic() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 5; }
    void Reset() override;
    // Field by field; nothing happens unless the source is a TKelMusic too.
    void Assign(const TCatalogBaseItem& source) override;
};

// A sound-effect setting: a music setting without fade-in.
class TKelSound : public TCatalogBaseItem {
public:
    std::string Name = kSoundOff;
    std::int32_t Volume = 100;
    std::int32_t Tempo = 100;
    std::int32_t Balance = 50;

    TKelSound() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 5; }
    void Reset() override;
    // Field by field; nothing happens unless the source is a TKelSound too.
    void Assign(const TCatalogBaseItem& source) override;
};

// One party member of the battle test.
class TKelTestPlayerItem : public TCatalogItem {
public:
    static constexpr int kEquipmentSlots = 5;  // weapon, shield, armor, helmet, accessory

    std::int32_t HeroId = 1;
    std::int32_t Level = 1;

    TKelTestPlayerItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;

    // Equipment item IDs by slot 0..4; other slots read 0 and write nothing.
    std::int32_t Equipment(int slot) const;
    void SetEquipment(int slot, std::int32_t itemId);

private:
    // Five 16-bit item IDs and a sixth word that no accessor reaches, little-endian. Each
    // equipment field is stored as the 32-bit word that starts at its slot.
    std::array<std::uint8_t, 12> mEquipment{};
};

class TKelTestPlayer : public TKelList<TKelTestPlayerItem> {
public:
    TKelTestPlayer() : TKelList(nullptr) {}
};

// The system record (database section 22).
class TKelSystem : public TCatalogBaseItem {
public:
    std::string BoatGraphic, ShipGraphic, AirshipGraphic;
    std::int32_t BoatIndex = 0, ShipIndex = 0, AirshipIndex = 0;
    std::string TitleGraphic, GameOverGraphic, SystemGraphic;
    std::int32_t PartySize = 1;
    TDynamicBuffer Party;  // PartySize 16-bit hero IDs, little-endian
    // Music: title, battle, battle end, inn, boat, ship, airship, game over.
    std::array<TKelMusic, 8> Music;
    // Sounds: cursor, decision, cancel, buzzer, battle start, escape, enemy attack, enemy damaged,
    // ally damaged, evasion, enemy dies, item use.
    std::array<TKelSound, 12> Sound;
    // Screen transitions: teleport erase/show, battle start erase/show, battle end erase/show.
    std::array<std::uint8_t, 6> Transition{};
    std::int32_t Wallpaper = 0;
    std::int32_t Font = 0;
    std::int32_t TestVictim = 1;     // animation editor's test target, 1-based
    std::uint8_t SnapTo = 1;         // animation editor's snap to 8 pixels
    std::string BattleTestBackdrop;
    TKelTestPlayer TestPlayer;
    std::int32_t SaveCount = 0;

    TKelSystem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
    void LoadFromStream(TStream& stream) override;
    // Counts the save, then saves.
    void SaveToStream(TStream& stream) override;
    // A copy does not count as a save of either record.
    void Assign(const TCatalogBaseItem& source) override;

    void SetPartySize(std::int32_t size);
    // Hero ID of party entry i (0-based), 0 outside the party.
    std::int32_t PartyMember(int index) const;
    // Stores a hero ID in entry i; storing 0 cuts the party to i members.
    void SetPartyMember(int index, std::int32_t heroId);
};

// Names of the screen transitions, by index.
extern const char* const kEraseTransitionNames[21];
extern const char* const kShowTransitionNames[20];

}  // namespace quillon
