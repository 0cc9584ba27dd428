// What the map commands remember beyond switches and variables: the memorized place, what the
// player may do (save, open the menu, escape, teleport), the encounter rate, the teleport places
// and the escape place, the music playing and the one memorized, and whether the map's parallel
// events were stopped.
#pragma once

#include "data/LD_System.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace quillon::runtime {

class IGameAudio;

// A cell of a map.
struct TMapPlace {
    std::int32_t MapId = 0;
    int X = 0;
    int Y = 0;
    bool operator==(const TMapPlace&) const = default;
};

// A music setting held by value (the records themselves are not copied).
struct TMusicSettings {
    std::string Name = kSoundOff;
    std::int32_t FadeIn = 0;
    std::int32_t Volume = 100;
    std::int32_t Tempo = 100;
    std::int32_t Balance = 50;
    static TMusicSettings Of(const TKelMusic& music);
    void To(TKelMusic& music) const;
    // A sound effect's settings (it has no fade-in).
    static TMusicSettings Of(const TKelSound& sound);
    void To(TKelSound& sound) const;
    bool operator==(const TMusicSettings&) const = default;
};

// A place a teleport skill or item may lead to, and the switch it turns on.
struct TTeleportPlace {
    TMapPlace Place;
    std::int32_t SwitchId = 0;  // 0: none
};

struct TGameMapState {
    std::optional<TMapPlace> Memorized;
    bool SaveEnabled = true;
    bool MenuEnabled = true;
    bool EscapeEnabled = true;
    bool TeleportEnabled = true;
    std::int32_t EncounterSteps = 0;  // 0: the map's own rate
    std::map<std::int32_t, TTeleportPlace> TeleportPlaces;  // by map
    std::optional<TTeleportPlace> EscapePlace;
    // The music last started with its settings, and the one "Memorize BGM" kept.
    TMusicSettings Playing;
    std::optional<TMusicSettings> MemorizedMusic;
    // The music to go back to when the hero leaves a vehicle.
    TMusicSettings BeforeRide;
    // "Stop Parallel Events": the map's parallel events rest until a map is entered.
    bool ParallelsStopped = false;

    // Plays music and remembers it.
    void PlayMusic(IGameAudio& audio, const TKelMusic& music);
    void PlayMusic(IGameAudio& audio, const TMusicSettings& music);
    // The music playing now: its settings when it is the one last started here, else its name alone.
    TMusicSettings NowPlaying(const IGameAudio& audio) const;
};

}  // namespace quillon::runtime
