// The game's sound through the audio front: music by name from the project's "Music" folder or
// the RTP (MIDI through the synthesizer, wave and MP3 through their players), sound effects from
// "Sound", each with its fade-in, volume, tempo and balance. A missing or damaged file plays
// silence and says so in one line (once per name). The mix goes to whatever output pulls the
// front's mixer: the player's sound device or a silent output.
#pragma once

#include "audio/AudioHarmony.h"
#include "runtime/GameAudio.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace quillon::runtime {

class TMixerGameAudio : public IGameAudio {
public:
    // Where the lines about missing and damaged files go (standard error by default).
    using TWarn = std::function<void(const std::string&)>;

    explicit TMixerGameAudio(audio::TAudioServices services, TWarn warn = {});
    ~TMixerGameAudio() override;

    void PlayMusic(const TKelMusic& music) override;
    void FadeOutMusic(int milliseconds) override;
    void StopMusic() override;
    void PlaySound(const TKelSound& sound) override;
    void StopAllSounds() override;
    std::string CurrentMusic() const override;
    // Every third step (50 ms) updates the wave and MP3 players' fades, and notes a music that
    // has come to its end (its loop began again).
    void Step() override;
    bool MusicPlayedOnce() const override { return mHasMusic && mPlayedOnce; }

    audio::TAudioHarmony& Front() { return *mFront; }
    const std::shared_ptr<audio::TAudioMixer>& Mixer() const { return mFront->Mixer(); }

private:
    void Warn(const std::string& kind, const std::string& name, const std::string& problem);

    std::unique_ptr<audio::TAudioHarmony> mFront;
    TWarn mWarn;
    // The music asked for last.
    struct TMusicRequest {
        std::string Name;
        int FadeIn = 0, Volume = 100, Tempo = 100, Balance = 50;
        bool operator==(const TMusicRequest&) const = default;
    };
    TMusicRequest mMusic;
    bool mHasMusic = false;
    bool mPlayedOnce = false;  // the music asked for last has played to its end
    int mSteps = 0;
    std::set<std::string> mWarned;  // kind and name of every file already reported
};

}  // namespace quillon::runtime
