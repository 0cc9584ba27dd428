#include "runtime/GameMapState.h"

#include "runtime/GameAudio.h"

namespace quillon::runtime {

TMusicSettings TMusicSettings::Of(const TKelMusic& music) {
    return TMusicSettings{music.Name, music.FadeIn, music.Volume, music.Tempo, music.Balance};
}

void TMusicSettings::To(TKelMusic& music) const {
    music.Name = Name;
    music.FadeIn = FadeIn;
    music.Volume = Volume;
    music.Tempo = Tempo;
    music.Balance = Balance;
}

TMusicSettings TMusicSettings::Of(const TKelSound& sound) {
    return TMusicSettings{sound.Name, 0, sound.Volume, sound.Tempo, sound.Balance};
}

void TMusicSettings::To(TKelSound& sound) const {
    sound.Name = Name;
    sound.Volume = Volume;
    sound.Tempo = Tempo;
    sound.Balance = Balance;
}

void TGameMapState::PlayMusic(IGameAudio& audio, const TKelMusic& music) {
    Playing = TMusicSettings::Of(music);
    audio.PlayMusic(music);
}

void TGameMapState::PlayMusic(IGameAudio& audio, const TMusicSettings& music) {
    TKelMusic record;
    music.To(record);
    PlayMusic(audio, record);
}

TMusicSettings TGameMapState::NowPlaying(const IGameAudio& audio) const {
    const std::string name = audio.CurrentMusic();
    if (name.empty())
        return TMusicSettings{};  // "(OFF)"
    if (name == Playing.Name)
        return Playing;
    TMusicSettings music;
    music.Name = name;
    return music;
}

}  // namespace quillon::runtime
