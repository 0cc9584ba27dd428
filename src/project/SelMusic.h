// The music and sound selectors: a list with "(OFF)" first, playback through the audio front, and
// sliders on a grid of ten steps. The music selector keeps the music now playing and its
// settings for the whole run; its next opening starts from them when it is opened only to listen.
#pragma once

#include "data/LD_System.h"
#include "project/SelBase.h"

#include <string>

namespace quillon {

// Slider positions 0..10 and the values they stand for.
inline int FadeInOfPosition(int p) { return 1000 * p; }
inline int VolumeOfPosition(int p) { return 10 * p; }
inline int TempoOfPosition(int p) { return 10 * p + 50; }
inline int BalanceOfPosition(int p) { return 10 * p; }
// The nearest position of a value, clamped to 0..10 (a value off the grid is shown there but kept
// until the slider moves).
int PositionOfFadeIn(int millis);
int PositionOfVolume(int value);
int PositionOfTempo(int value);
int PositionOfBalance(int value);

inline constexpr int kMusicFadeOutMillis = 5000;

// The music now playing (name "(OFF)" when none) with its settings, program-wide for the run.
TKelMusic& CurrentMusicSettings();
// Back to "(OFF)", fade-in 0, volume 100, tempo 100, balance 50.
void ResetCurrentMusicSettings();

class TSelMusicModel : public TSelListModel {
public:
    // listenOnly: opened from the main window only to listen ("&Ok" hidden).
    explicit TSelMusicModel(bool listenOnly = false);

    bool ListenOnly() const { return mListenOnly; }
    // Selects the music's row and takes its settings.
    void Open(const TKelMusic& music);
    // Opens on the program-wide current music and settings.
    void OpenCurrent();
    // The chosen name with the settings.
    void GetMusic(TKelMusic& music) const;

    int FadeIn() const { return mSettings.FadeIn; }
    int Volume() const { return mSettings.Volume; }
    int Tempo() const { return mSettings.Tempo; }
    int Balance() const { return mSettings.Balance; }
    // Slider moves: store the value, update the program-wide settings, and change the playback at
    // once (volume, tempo, balance) when the selected music is the one playing.
    void SetFadeInPosition(int p);
    void SetVolumePosition(int p);
    void SetTempoPosition(int p);
    void SetBalancePosition(int p);

    // "Play" (also Enter or a double click on the list): "(OFF)" stops; otherwise the selected
    // music restarts with its fade-in, volume, tempo and balance. Answers whether it plays.
    bool Play();
    // "Stop": with Shift the music fades out over 5000 ms; otherwise it stops at once and the
    // program-wide settings go back to "(OFF)".
    void Stop(bool shift);
    // Whether the selected music is the one the program plays now.
    bool SelectedIsPlaying() const;

private:
    TKelMusic mSettings;  // name unused: the list holds it
    bool mListenOnly;
};

class TSelSoundModel : public TSelListModel {
public:
    TSelSoundModel();
    void Open(const TKelSound& sound);
    // The chosen name with the settings.
    void GetSound(TKelSound& sound) const;
    int Volume() const { return mSettings.Volume; }
    int Tempo() const { return mSettings.Tempo; }
    int Balance() const { return mSettings.Balance; }
    void SetVolumePosition(int p) { mSettings.Volume = VolumeOfPosition(Clamp(p)); }
    void SetTempoPosition(int p) { mSettings.Tempo = TempoOfPosition(Clamp(p)); }
    void SetBalancePosition(int p) { mSettings.Balance = BalanceOfPosition(Clamp(p)); }

    // "Play": the selected sound once with its settings; "(OFF)" stops the sounds.
    bool Play();
    void Stop();

private:
    static int Clamp(int p) { return p < 0 ? 0 : p > 10 ? 10 : p; }
    TKelSound mSettings;
};

}  // namespace quillon
