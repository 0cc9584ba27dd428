// MP3 playback of the music preview. The file is decoded to 16-bit samples and played as one
// looping mixer voice; tempo sets the voice's playback rate.
#pragma once

#include "audio/AudioClock.h"
#include "audio/AudioMixer.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillon::audio {

// Decodes an MP3 stream. Raises EDirectShowError when nothing in it can be decoded. Audio past
// kMaxMp3Seconds is dropped.
inline constexpr int kMaxMp3Seconds = 30 * 60;
TPcmSamples DecodeMp3(std::string_view bytes);

class TMP3Player {
public:
    // Raises EDirectShowError when the decoder library cannot be set up.
    TMP3Player(std::shared_ptr<TAudioMixer> mixer, std::shared_ptr<IAudioClock> clock);
    ~TMP3Player();

    void Play(const std::string& fileName);
    void PlayMemory(std::string_view bytes);
    void Stop();
    void FadeIn(int millis);
    void FadeOut(int millis);
    void SetBalance(int value);
    void SetVolume(int value);
    void SetTempo(int value);
    // The 50 ms update: fade level and volume, and noting that the stream has looped.
    void Timer();

    bool Loaded() const { return mLoaded; }
    bool Looped() const { return mLooped; }
    int FadeLevel() const { return mFadeLevel; }
    const TMixerVoice* Voice() const { return mVoice.get(); }

private:
    std::shared_ptr<TAudioMixer> mMixer;
    std::shared_ptr<IAudioClock> mClock;
    std::unique_ptr<TMixerVoice> mVoice;
    bool mLoaded = false;
    bool mLooped = false;
    int mBalance = 50;
    int mVolume = 100;
    int mTempo = 100;
    bool mFadingIn = false;
    bool mFadingOut = false;
    std::int64_t mFadeMillis = 0;
    int mFadeLevel = 100;
    std::int64_t mFadeStart = 0;
};

}  // namespace quillon::audio
