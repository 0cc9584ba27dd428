#include "project/SelMusic.h"

#include "audio/AudioHarmony.h"
#include "controls/LastUsed.h"

#include <algorithm>
#include <memory>

namespace quillon {

namespace {

int NearestStep(int value, int base, int step) {
    const int offset = value - base;
    const int p = offset >= 0 ? (offset + step / 2) / step : -((-offset + step / 2) / step);
    return std::clamp(p, 0, 10);
}

int ClampPosition(int p) { return std::clamp(p, 0, 10); }

}  // namespace

int PositionOfFadeIn(int millis) { return NearestStep(millis, 0, 1000); }
int PositionOfVolume(int value) { return NearestStep(value, 0, 10); }
int PositionOfTempo(int value) { return NearestStep(value, 50, 10); }
int PositionOfBalance(int value) { return NearestStep(value, 0, 10); }

TKelMusic& CurrentMusicSettings() {
    // Records are not copied: the last-used settings live behind a pointer.
    auto& current = TLastUsed::Value<std::shared_ptr<TKelMusic>>("SelMusic.Current");
    if (!current)
        current = std::make_shared<TKelMusic>();
    return *current;
}

void ResetCurrentMusicSettings() {
    TKelMusic& current = CurrentMusicSettings();
    current.Name = kSoundOff;
    current.FadeIn = 0;
    current.Volume = 100;
    current.Tempo = 100;
    current.Balance = 50;
}

TSelMusicModel::TSelMusicModel(bool listenOnly) : TSelListModel(TSelKind::Music), mListenOnly(listenOnly) {
    SetRows({});
}

void TSelMusicModel::Open(const TKelMusic& music) {
    mSettings.FadeIn = music.FadeIn;
    mSettings.Volume = music.Volume;
    mSettings.Tempo = music.Tempo;
    mSettings.Balance = music.Balance;
    TSelListModel::Open(music.Name);
}

void TSelMusicModel::OpenCurrent() { Open(CurrentMusicSettings()); }

void TSelMusicModel::GetMusic(TKelMusic& music) const {
    music.Name = Name();
    music.FadeIn = mSettings.FadeIn;
    music.Volume = mSettings.Volume;
    music.Tempo = mSettings.Tempo;
    music.Balance = mSettings.Balance;
}

bool TSelMusicModel::SelectedIsPlaying() const {
    const TKelMusic& current = CurrentMusicSettings();
    return !IsOff() && current.Name != kSoundOff && current.Name == Name();
}

void TSelMusicModel::SetFadeInPosition(int p) {
    mSettings.FadeIn = FadeInOfPosition(ClampPosition(p));
    CurrentMusicSettings().FadeIn = mSettings.FadeIn;
}

void TSelMusicModel::SetVolumePosition(int p) {
    mSettings.Volume = VolumeOfPosition(ClampPosition(p));
    CurrentMusicSettings().Volume = mSettings.Volume;
    if (SelectedIsPlaying())
        audio::AudioSetVolume(mSettings.Volume);
}

void TSelMusicModel::SetTempoPosition(int p) {
    mSettings.Tempo = TempoOfPosition(ClampPosition(p));
    CurrentMusicSettings().Tempo = mSettings.Tempo;
    if (SelectedIsPlaying())
        audio::AudioSetTempo(mSettings.Tempo);
}

void TSelMusicModel::SetBalancePosition(int p) {
    mSettings.Balance = BalanceOfPosition(ClampPosition(p));
    CurrentMusicSettings().Balance = mSettings.Balance;
    if (SelectedIsPlaying())
        audio::AudioSetBalance(mSettings.Balance);
}

bool TSelMusicModel::Play() {
    if (IsOff()) {
        Stop(false);
        return false;
    }
    audio::AudioStopMusic();
    audio::AudioOpenMidi();
    const bool playing = audio::AudioPlayMusic(FileName());
    audio::AudioFadeIn(mSettings.FadeIn);
    audio::AudioSetVolume(mSettings.Volume);
    audio::AudioSetTempo(mSettings.Tempo);
    audio::AudioSetBalance(mSettings.Balance);
    TKelMusic& current = CurrentMusicSettings();
    current.Name = Name();
    current.FadeIn = mSettings.FadeIn;
    current.Volume = mSettings.Volume;
    current.Tempo = mSettings.Tempo;
    current.Balance = mSettings.Balance;
    return playing;
}

void TSelMusicModel::Stop(bool shift) {
    if (shift) {
        audio::AudioFadeOut(kMusicFadeOutMillis);
        return;
    }
    audio::AudioStopMusic();
    audio::AudioCloseMidi();
    ResetCurrentMusicSettings();
}

TSelSoundModel::TSelSoundModel() : TSelListModel(TSelKind::Sound) { SetRows({}); }

void TSelSoundModel::Open(const TKelSound& sound) {
    mSettings.Volume = sound.Volume;
    mSettings.Tempo = sound.Tempo;
    mSettings.Balance = sound.Balance;
    TSelListModel::Open(sound.Name);
}

void TSelSoundModel::GetSound(TKelSound& sound) const {
    sound.Name = Name();
    sound.Volume = mSettings.Volume;
    sound.Tempo = mSettings.Tempo;
    sound.Balance = mSettings.Balance;
}

bool TSelSoundModel::Play() {
    if (IsOff()) {
        Stop();
        return false;
    }
    audio::AudioOpenWave();
    return audio::AudioPlaySound(FileName(), mSettings.Volume, mSettings.Tempo, mSettings.Balance);
}

void TSelSoundModel::Stop() { audio::AudioStopSounds(); }

}  // namespace quillon
