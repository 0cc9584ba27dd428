// Wave playback of the music and sound previews: wave buffers of four voices each (a sound can
// overlap itself up to four times), one music buffer and a list of sound-effect buffers, all
// updated by a 50 ms timer on the user-interface thread.
#pragma once

#include "audio/AudioClock.h"
#include "audio/AudioMixer.h"
#include "audio/WaveFile.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::audio {

class TWavePlayer;

class TWaveBuffer {
public:
    static constexpr int kVoiceCount = 4;
    static constexpr int kAllVoices = -1;

    explicit TWaveBuffer(TWavePlayer& owner);
    TWaveBuffer(const TWaveBuffer&) = delete;
    TWaveBuffer& operator=(const TWaveBuffer&) = delete;

    void LoadFromFile(const std::string& fileName);
    // Loads file bytes as LoadFromFile does; fileName is only remembered.
    void LoadFromMemory(std::string_view bytes, const std::string& fileName);
    void Play(int volume, int tempo, bool loop, int balance);
    void Stop();
    void Unload();
    void FadeIn(int millis);
    void FadeOut(int millis);
    void SetBalance(int voice, int value);
    void SetVolume(int voice, int value);
    void SetTempo(int voice, int value);
    bool IsPlaying() const;
    void Update();

    const std::string& FileName() const { return mFileName; }
    bool Loaded() const { return mVoices[0].Buffer != nullptr; }
    int NextVoice() const { return mNextVoice; }
    const TWaveFormat& PcmFormat() const { return mFormat; }
    // The mixer voice of voice i (null when nothing is loaded) and its fade level.
    const TMixerVoice* Voice(int i) const { return mVoices.at(static_cast<std::size_t>(i)).Buffer.get(); }
    int FadeLevel(int i) const { return mVoices.at(static_cast<std::size_t>(i)).FadeLevel; }

private:
    struct TVoice {
        std::unique_ptr<TMixerVoice> Buffer;
        int Balance = 50;
        int Volume = 100;
        int Tempo = 100;
        bool FadingIn = false;
        bool FadingOut = false;
        std::int64_t FadeMillis = 0;
        int FadeLevel = 100;
        std::int64_t FadeStart = 0;
    };
    template <typename F> void ForVoices(int voice, F&& apply);

    TWavePlayer& mOwner;
    std::array<TVoice, kVoiceCount> mVoices;
    std::string mFileName;
    int mNextVoice = 0;
    TWaveFormat mFormat;
    int mBaseRate = 0;
};

class TWavePlayer {
public:
    // Raises EDirectSoundError "Unable to use DirectSound" without a mixer.
    TWavePlayer(std::shared_ptr<TAudioMixer> mixer, std::shared_ptr<IAudioClock> clock);
    TWavePlayer(const TWavePlayer&) = delete;  // its buffers refer to it
    TWavePlayer& operator=(const TWavePlayer&) = delete;

    void SetSoundCount(int count);
    int SoundCount() const { return static_cast<int>(mSounds.size()); }
    TWaveBuffer& Sounds(int index) { return *mSounds.at(static_cast<std::size_t>(index)); }
    TWaveBuffer& Music() { return *mMusic; }

    // The 50 ms update of the music buffer and every sound-effect buffer.
    void Timer();

    const std::shared_ptr<TAudioMixer>& Mixer() const { return mMixer; }
    std::int64_t Now() const { return mClock->Now(); }

private:
    std::shared_ptr<TAudioMixer> mMixer;
    std::shared_ptr<IAudioClock> mClock;
    std::unique_ptr<TMixerVoice> mKeepAlive;
    std::unique_ptr<TWaveBuffer> mMusic;
    std::vector<std::unique_ptr<TWaveBuffer>> mSounds;
};

}  // namespace quillon::audio
