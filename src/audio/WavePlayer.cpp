#include "audio/WavePlayer.h"

#include "audio/AudioErrors.h"
#include "platform/FileUtils.h"

#include <algorithm>

namespace quillon::audio {

TWaveBuffer::TWaveBuffer(TWavePlayer& owner) : mOwner(owner) {}

template <typename F> void TWaveBuffer::ForVoices(int voice, F&& apply) {
    for (int i = 0; i < kVoiceCount; ++i)
        if (voice == kAllVoices || voice == i)
            apply(mVoices[static_cast<std::size_t>(i)]);
}

void TWaveBuffer::LoadFromFile(const std::string& fileName) {
    Unload();
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName, kSoundFileLimit);
    } catch (const std::exception&) {
        throw EInvalidWaveFile();
    }
    LoadFromMemory(bytes, fileName);
}

void TWaveBuffer::LoadFromMemory(std::string_view bytes, const std::string& fileName) {
    Unload();
    TWaveData wave = ReadWave(bytes);
    auto samples = std::make_shared<TPcmSamples>(std::move(wave.Pcm));
    mVoices[0].Buffer = std::make_unique<TMixerVoice>(mOwner.Mixer(), samples);
    for (std::size_t i = 1; i < kVoiceCount; ++i)
        mVoices[i].Buffer = mVoices[0].Buffer->Duplicate();
    mFormat = wave.PcmFormat;
    mBaseRate = static_cast<int>(mFormat.SamplesPerSec);
    for (TVoice& voice : mVoices) {
        voice.Balance = 50;
        voice.Volume = 100;
        voice.Tempo = 100;
        voice.Buffer->SetPan(BalanceToPan(voice.Balance));
        voice.Buffer->SetFrequency(TempoToFrequency(voice.Tempo, mBaseRate));
        voice.Buffer->SetVolume(VolumeToAttenuation(voice.Volume, voice.FadeLevel));
    }
    mFileName = fileName;
}

void TWaveBuffer::Unload() {
    Stop();
    for (TVoice& voice : mVoices)
        voice.Buffer.reset();
    mFileName.clear();
}

void TWaveBuffer::Play(int volume, int tempo, bool loop, int balance) {
    if (!Loaded())
        return;
    const int index = mNextVoice;
    TVoice& voice = mVoices[static_cast<std::size_t>(index)];
    voice.FadingIn = false;
    voice.FadingOut = false;
    voice.FadeLevel = 100;
    SetVolume(index, volume);
    SetTempo(index, tempo);
    SetBalance(index, balance);
    voice.Buffer->Stop();
    voice.Buffer->SetPosition(0);
    voice.Buffer->Play(loop);
    mNextVoice = (mNextVoice + 1) % kVoiceCount;
}

void TWaveBuffer::Stop() {
    for (TVoice& voice : mVoices)
        if (voice.Buffer)
            voice.Buffer->Stop();
}

void TWaveBuffer::FadeIn(int millis) {
    if (mVoices[0].FadingIn)
        return;
    const std::int64_t now = mOwner.Now();
    for (TVoice& voice : mVoices) {
        voice.FadingIn = millis > 0;
        voice.FadingOut = false;
        voice.FadeMillis = std::max(0, millis);
        voice.FadeLevel = millis > 0 ? 0 : 100;
        voice.FadeStart = now;
    }
    Update();
}

void TWaveBuffer::FadeOut(int millis) {
    if (mVoices[0].FadingOut)
        return;
    const std::int64_t now = mOwner.Now();
    for (TVoice& voice : mVoices) {
        voice.FadingOut = millis > 0;
        voice.FadingIn = false;
        voice.FadeMillis = std::max(0, millis);
        voice.FadeLevel = millis > 0 ? 100 : 0;
        voice.FadeStart = now;
    }
    Update();
}

void TWaveBuffer::SetBalance(int voice, int value) {
    value = std::clamp(value, 0, 100);
    ForVoices(voice, [value](TVoice& v) {
        v.Balance = value;
        if (v.Buffer)
            v.Buffer->SetPan(BalanceToPan(value));
    });
    Update();
}

void TWaveBuffer::SetVolume(int voice, int value) {
    value = std::clamp(value, 0, 100);
    ForVoices(voice, [value](TVoice& v) { v.Volume = value; });
    Update();
}

void TWaveBuffer::SetTempo(int voice, int value) {
    value = std::clamp(value, 1, 10000);
    const int rate = mBaseRate;
    ForVoices(voice, [value, rate](TVoice& v) {
        v.Tempo = value;
        if (v.Buffer)
            v.Buffer->SetFrequency(TempoToFrequency(value, rate));
    });
    Update();
}

bool TWaveBuffer::IsPlaying() const {
    return std::any_of(mVoices.begin(), mVoices.end(),
                       [](const TVoice& v) { return v.Buffer && v.Buffer->IsPlaying(); });
}

void TWaveBuffer::Update() {
    const std::int64_t now = mOwner.Now();
    for (TVoice& voice : mVoices) {
        if (!voice.Buffer)
            continue;
        if (voice.FadingIn) {
            const std::int64_t level = MulDiv(now - voice.FadeStart, 100, std::max<std::int64_t>(1, voice.FadeMillis));
            voice.FadeLevel = static_cast<int>(std::clamp<std::int64_t>(level, 0, 100));
            if (level >= 100)
                voice.FadingIn = false;
        } else if (voice.FadingOut) {
            const std::int64_t level =
                100 - MulDiv(now - voice.FadeStart, 100, std::max<std::int64_t>(1, voice.FadeMillis));
            voice.FadeLevel = static_cast<int>(std::clamp<std::int64_t>(level, 0, 100));
            if (level <= 0)
                voice.FadingOut = false;
        }
        voice.Buffer->SetVolume(VolumeToAttenuation(voice.Volume, voice.FadeLevel));
    }
}

// ---------------------------------------------------------------------------------------------

TWavePlayer::TWavePlayer(std::shared_ptr<TAudioMixer> mixer, std::shared_ptr<IAudioClock> clock)
    : mMixer(std::move(mixer)), mClock(std::move(clock)) {
    if (!mMixer)
        throw EDirectSoundError(kNoDirectSoundText);
    if (!mClock)
        mClock = std::make_shared<TSteadyClock>();
    // Keeps the output stream running between sounds: 22050 Hz, stereo, 8 bits, silent, looping.
    auto silence = std::make_shared<TPcmSamples>();
    silence->Channels = 2;
    silence->SampleRate = 22050;
    silence->Samples.assign(22050, 0);
    mKeepAlive = std::make_unique<TMixerVoice>(mMixer, silence);
    mKeepAlive->SetVolume(kSilentAttenuation);
    mKeepAlive->Play(true);
    mMusic = std::make_unique<TWaveBuffer>(*this);
}

void TWavePlayer::SetSoundCount(int count) {
    count = std::max(0, count);
    while (static_cast<int>(mSounds.size()) < count)
        mSounds.push_back(std::make_unique<TWaveBuffer>(*this));
    mSounds.resize(static_cast<std::size_t>(count));
}

void TWavePlayer::Timer() {
    mMusic->Update();
    for (const std::unique_ptr<TWaveBuffer>& sound : mSounds)
        sound->Update();
}

}  // namespace quillon::audio
