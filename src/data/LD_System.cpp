#include "data/LD_System.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

const char* const kEraseTransitionNames[21] = {
    "Fade-out",      "Whole Random Blocks",   "Random Block Up",     "Random Block Down",
    "Blind Close",   "Hi-Low Stripe",         "Left-Right Stripe",   "Outside-Inside",
    "Inside-Outside", "Scroll Up",            "Scroll Down",         "Scroll Left",
    "Scroll Right",  "High and Low Division", "Left-Right Division", "Hi-Low + Left-Right Division",
    "Zoom In",       "Mosaic",                "Roster Scroll",       "Instant Erase",
    "Do Not Erase",
};

const char* const kShowTransitionNames[20] = {
    "Fade-In",        "Whole Random Blocks", "Random Block Up",    "Random Block Down",
    "Blind Open",     "Hi-Low Stripe",       "Left-Right Stripe",  "Outside-Inside",
    "Inside-Outside", "Scroll Down",         "Scroll Up",          "Scroll Right",
    "Scroll Left",    "Hi-Low Combine",      "Left-Right Combine", "Hi-Low + Left-Right Combine",
    "Zoom Out",       "Mosaic",              "Roster Scroll",      "Instant Display",
};

// --- music and sound ---

void TKelMusic::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, false, "Name"); break;
    case 2: SetIntField(d, &FadeIn, 0, "FadeIn"); break;
    case 3: SetIntField(d, &Volume, 100, "Volume"); break;
    case 4: SetIntField(d, &Tempo, 100, "Tempo"); break;
    case 5: SetIntField(d, &Balance, 50, "Balance"); break;
    default: break;
    }
}

void TKelMusic::Reset() {
    Name = kSoundOff;
    FadeIn = 0;
    Volume = 100;
    Tempo = 100;
    Balance = 50;
}

void TKelMusic::Assign(const TCatalogBaseItem& source) {
    const auto* music = dynamic_cast<const TKelMusic*>(&source);
    if (!music || music == this)
        return;
    Name = music->Name;
    FadeIn = music->FadeIn;
    Volume = music->Volume;
    Tempo = music->Tempo;
    Balance = music->Balance;
}

void TKelSound::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, false, "Name"); break;
    case 3: SetIntField(d, &Volume, 100, "Volume"); break;
    case 4: SetIntField(d, &Tempo, 100, "Tempo"); break;
    case 5: SetIntField(d, &Balance, 50, "Balance"); break;
    default: break;
    }
}

void TKelSound::Reset() {
    Name = kSoundOff;
    Volume = 100;
    Tempo = 100;
    Balance = 50;
}

void TKelSound::Assign(const TCatalogBaseItem& source) {
    const auto* sound = dynamic_cast<const TKelSound*>(&source);
    if (!sound || sound == this)
        return;
    Name = sound->Name;
    Volume = sound->Volume;
    Tempo = sound->Tempo;
    Balance = sound->Balance;
}

// --- battle-test party ---

void TKelTestPlayerItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    static const char* const kSlotNames[] = {"Weapon", "Shield", "Armor", "Helmet", "Accessory"};
    switch (fieldNumber) {
    case 1: SetIntField(d, &HeroId, 1, "HeroId"); break;
    case 2: SetIntField(d, &Level, 1, "Level"); break;
    case 11: case 12: case 13: case 14: case 15: {
        const int slot = fieldNumber - 11;
        SetIntField(d, &mEquipment[static_cast<std::size_t>(2 * slot)], 0, kSlotNames[slot]);
        break;
    }
    default: break;
    }
}

void TKelTestPlayerItem::Reset() {
    HeroId = 1;
    Level = 1;
    mEquipment.fill(0);
}

std::int32_t TKelTestPlayerItem::Equipment(int slot) const {
    if (slot < 0 || slot >= kEquipmentSlots)
        return 0;
    const auto at = static_cast<std::size_t>(2 * slot);
    return mEquipment[at] | (mEquipment[at + 1] << 8);
}

void TKelTestPlayerItem::SetEquipment(int slot, std::int32_t itemId) {
    if (slot < 0 || slot >= kEquipmentSlots)
        return;
    const auto at = static_cast<std::size_t>(2 * slot);
    mEquipment[at] = static_cast<std::uint8_t>(itemId);
    mEquipment[at + 1] = static_cast<std::uint8_t>(itemId >> 8);
}

// --- system ---

void TKelSystem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    static const char* const kMusicNames[] = {"TitleMusic", "BattleMusic", "BattleEndMusic", "InnMusic",
                                              "BoatMusic",  "ShipMusic",   "AirshipMusic",   "GameOverMusic"};
    static const char* const kSoundNames[] = {
        "CursorSound",      "DecisionSound",     "CancelSound",      "BuzzerSound",
        "BattleStartSound", "EscapeSound",       "EnemyAttackSound", "EnemyDamagedSound",
        "AllyDamagedSound", "EvasionSound",      "EnemyDiesSound",   "ItemUseSound"};
    static const char* const kTransitionNames[] = {"TeleportErase",    "TeleportShow",  "BattleStartErase",
                                                   "BattleStartShow",  "BattleEndErase", "BattleEndShow"};
    if (fieldNumber >= 31 && fieldNumber <= 38) {
        const auto i = static_cast<std::size_t>(fieldNumber - 31);
        SetRecordField(d, &Music[i], kMusicNames[i]);
        return;
    }
    if (fieldNumber >= 41 && fieldNumber <= 52) {
        const auto i = static_cast<std::size_t>(fieldNumber - 41);
        SetRecordField(d, &Sound[i], kSoundNames[i]);
        return;
    }
    if (fieldNumber >= 61 && fieldNumber <= 66) {
        const auto i = static_cast<std::size_t>(fieldNumber - 61);
        SetBufferField(d, &Transition[i], 1, kTransitionNames[i]);
        return;
    }
    switch (fieldNumber) {
    case 11: SetStringField(d, &BoatGraphic, true, "BoatGraphic"); break;
    case 12: SetStringField(d, &ShipGraphic, true, "ShipGraphic"); break;
    case 13: SetStringField(d, &AirshipGraphic, true, "AirshipGraphic"); break;
    case 14: SetIntField(d, &BoatIndex, 0, "BoatIndex"); break;
    case 15: SetIntField(d, &ShipIndex, 0, "ShipIndex"); break;
    case 16: SetIntField(d, &AirshipIndex, 0, "AirshipIndex"); break;
    case 17: SetStringField(d, &TitleGraphic, true, "TitleGraphic"); break;
    case 18: SetStringField(d, &GameOverGraphic, true, "GameOverGraphic"); break;
    case 19: SetStringField(d, &SystemGraphic, true, "SystemGraphic"); break;
    case 21: SetIntField(d, &PartySize, 1, "PartySize"); break;
    case 22: {
        // Two bytes a member; a size read from a file may be any number, and a load makes it
        // agree with the stored members afterwards.
        const std::int64_t bytes = std::clamp<std::int64_t>(2 * std::int64_t{PartySize}, 0, INT32_MAX);
        SetDynamicField(d, &Party, static_cast<std::int32_t>(bytes), "Party");
        break;
    }
    case 71: SetIntField(d, &Wallpaper, 0, "Wallpaper"); break;
    case 72: SetIntField(d, &Font, 0, "Font"); break;
    case 81: SetIntField(d, &TestVictim, 1, "TestVictim"); break;
    case 82: SetBufferField(d, &SnapTo, 1, "SnapTo"); break;
    case 84: SetStringField(d, &BattleTestBackdrop, true, "BattleTestBackdrop"); break;
    case 85: SetListField(d, &TestPlayer, "TestPlayer"); break;
    case 91: SetIntField(d, &SaveCount, 0, "SaveCount"); break;
    default: break;
    }
}

void TKelSystem::Reset() {
    BoatGraphic.clear();
    ShipGraphic.clear();
    AirshipGraphic.clear();
    BoatIndex = ShipIndex = AirshipIndex = 0;
    TitleGraphic.clear();
    GameOverGraphic.clear();
    SystemGraphic.clear();
    PartySize = 1;
    Party.assign({1, 0});
    for (auto& music : Music)
        music.Reset();
    for (auto& sound : Sound)
        sound.Reset();
    Transition.fill(0);
    Wallpaper = 0;
    Font = 0;
    TestVictim = 1;
    SnapTo = 1;
    BattleTestBackdrop.clear();
    TestPlayer.Clear();
    SaveCount = 0;
}

void TKelSystem::LoadFromStream(TStream& stream) {
    // Party size and party buffer come from two chunks; after every load, also one that failed
    // part-way, they agree, bounded by the bytes that were actually stored (a save writes as
    // many bytes as the size says).
    const auto matchParty = [this] {
        const auto stored = static_cast<std::int32_t>(Party.size() / 2);
        PartySize = std::clamp(PartySize, 0, stored);
        Party.resize(2 * static_cast<std::size_t>(PartySize));
    };
    try {
        TCatalogBaseItem::LoadFromStream(stream);
    } catch (...) {
        matchParty();
        throw;
    }
    matchParty();
}

void TKelSystem::SaveToStream(TStream& stream) {
    ++SaveCount;
    TCatalogBaseItem::SaveToStream(stream);
}

void TKelSystem::Assign(const TCatalogBaseItem& source) {
    auto* system = const_cast<TKelSystem*>(dynamic_cast<const TKelSystem*>(&source));
    if (!system) {
        TCatalogBaseItem::Assign(source);
        return;
    }
    if (system == this)
        return;
    const std::int32_t count = system->SaveCount;
    TCatalogBaseItem::Assign(source);
    system->SaveCount = count;
    SaveCount = count;
}

void TKelSystem::SetPartySize(std::int32_t size) {
    PartySize = std::max(size, 0);
    Party.resize(2 * static_cast<std::size_t>(PartySize), 0);
}

std::int32_t TKelSystem::PartyMember(int index) const {
    if (index < 0 || index >= PartySize || static_cast<std::size_t>(2 * index + 1) >= Party.size())
        return 0;
    const auto at = static_cast<std::size_t>(2 * index);
    return Party[at] | (Party[at + 1] << 8);
}

void TKelSystem::SetPartyMember(int index, std::int32_t heroId) {
    if (index < 0 || index >= PartySize)
        return;
    if (heroId == 0) {
        SetPartySize(index);
        return;
    }
    const auto at = static_cast<std::size_t>(2 * index);
    Party[at] = static_cast<std::uint8_t>(heroId);
    Party[at + 1] = static_cast<std::uint8_t>(heroId >> 8);
}

}  // namespace quillon
