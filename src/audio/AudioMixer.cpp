#include "audio/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace quillon::audio {

namespace {

// Amplitude factor of an attenuation in hundredths of a decibel; -10000 and below is silence.
float Gain(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= -10000)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

constexpr std::size_t kMixBlock = 1024;

}  // namespace

struct TAudioMixer::TVoiceState {
    std::shared_ptr<const TPcmSamples> Data;
    int Volume = 0;
    int Pan = 0;
    int Frequency = 22050;
    bool Playing = false;
    bool Looping = false;
    double Position = 0.0;  // in source frames
    std::uint32_t Loops = 0;
    float LeftGain = 1.0f;
    float RightGain = 1.0f;

    void UpdateGains() {
        const float gain = Gain(Volume);
        LeftGain = gain * (Pan > 0 ? Gain(-Pan) : 1.0f);
        RightGain = gain * (Pan < 0 ? Gain(Pan) : 1.0f);
    }
};

TAudioMixer::TAudioMixer(int outputRate) : mRate(outputRate > 0 ? outputRate : kMixRate) {
    mScratch.resize(kMixBlock * 2);
}

void TAudioMixer::Attach(TVoiceState* voice) {
    std::lock_guard lock(mLock);
    mVoices.push_back(voice);
}

void TAudioMixer::Detach(TVoiceState* voice) {
    std::lock_guard lock(mLock);
    std::erase(mVoices, voice);
}

void TAudioMixer::AddSource(IMixerSource* source) {
    std::lock_guard lock(mLock);
    mSources.push_back(source);
}

void TAudioMixer::RemoveSource(IMixerSource* source) {
    std::lock_guard lock(mLock);
    std::erase(mSources, source);
}

std::size_t TAudioMixer::VoiceCount() const {
    std::lock_guard lock(mLock);
    return mVoices.size();
}

void TAudioMixer::MixVoice(TVoiceState& v, float* stereo, std::size_t frames) const {
    const TPcmSamples& data = *v.Data;
    const std::size_t length = data.Frames();
    if (length == 0) {
        v.Playing = false;
        return;
    }
    const double step = static_cast<double>(v.Frequency) / mRate;
    const bool audible = v.LeftGain > 0.0f || v.RightGain > 0.0f;
    const float scale = 1.0f / 32768.0f;
    const std::int16_t* s = data.Samples.data();
    const int channels = data.Channels;
    for (std::size_t f = 0; f < frames; ++f) {
        if (audible) {
            const auto index = static_cast<std::size_t>(v.Position);
            const float frac = static_cast<float>(v.Position - static_cast<double>(index));
            std::size_t next = index + 1;
            if (next >= length)
                next = v.Looping ? 0 : index;
            if (channels == 2) {
                const float l = s[index * 2] + (s[next * 2] - s[index * 2]) * frac;
                const float r = s[index * 2 + 1] + (s[next * 2 + 1] - s[index * 2 + 1]) * frac;
                stereo[f * 2] += l * scale * v.LeftGain;
                stereo[f * 2 + 1] += r * scale * v.RightGain;
            } else {
                const float m = s[index] + (s[next] - s[index]) * frac;
                stereo[f * 2] += m * scale * v.LeftGain;
                stereo[f * 2 + 1] += m * scale * v.RightGain;
            }
        }
        v.Position += step;
        if (v.Position >= static_cast<double>(length)) {
            if (!v.Looping) {
                v.Playing = false;
                v.Position = static_cast<double>(length);
                return;
            }
            v.Position = std::fmod(v.Position, static_cast<double>(length));
            ++v.Loops;
        }
    }
}

void TAudioMixer::Render(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mLock);
    while (frames > 0) {
        const std::size_t block = std::min(frames, kMixBlock);
        float* mix = mScratch.data();
        std::fill(mix, mix + block * 2, 0.0f);
        for (TVoiceState* voice : mVoices)
            if (voice->Playing)
                MixVoice(*voice, mix, block);
        for (IMixerSource* source : mSources)
            source->MixInto(mix, block);
        for (std::size_t i = 0; i < block * 2; ++i) {
            const float value = std::clamp(mix[i] * 32768.0f, -32768.0f, 32767.0f);
            out[i] = static_cast<std::int16_t>(std::lrint(value));
        }
        out += block * 2;
        frames -= block;
    }
}

std::vector<std::int16_t> TAudioMixer::Render(std::size_t frames) {
    std::vector<std::int16_t> out(frames * 2);
    Render(out.data(), frames);
    return out;
}

TMixerVoice::TMixerVoice(std::shared_ptr<TAudioMixer> mixer, std::shared_ptr<const TPcmSamples> data)
    : mMixer(std::move(mixer)), mData(std::move(data)), mState(std::make_unique<TAudioMixer::TVoiceState>()) {
    if (!mData)
        mData = std::make_shared<TPcmSamples>();
    mState->Data = mData;
    mState->Frequency = std::clamp(mData->SampleRate, 100, 200000);
    mMixer->Attach(mState.get());
}

TMixerVoice::~TMixerVoice() { mMixer->Detach(mState.get()); }

std::unique_ptr<TMixerVoice> TMixerVoice::Duplicate() const {
    return std::make_unique<TMixerVoice>(mMixer, mData);
}

void TMixerVoice::SetVolume(int value) {
    std::lock_guard lock(mMixer->mLock);
    mState->Volume = std::clamp(value, -10000, 0);
    mState->UpdateGains();
}

void TMixerVoice::SetPan(int value) {
    std::lock_guard lock(mMixer->mLock);
    mState->Pan = std::clamp(value, -10000, 10000);
    mState->UpdateGains();
}

void TMixerVoice::SetFrequency(int hertz) {
    std::lock_guard lock(mMixer->mLock);
    mState->Frequency = std::clamp(hertz, 100, 200000);
}

void TMixerVoice::Play(bool loop) {
    std::lock_guard lock(mMixer->mLock);
    if (mState->Position >= static_cast<double>(mData->Frames()))
        mState->Position = 0.0;
    mState->Looping = loop;
    mState->Playing = mData->Frames() > 0;
    mState->Loops = 0;
}

void TMixerVoice::Stop() {
    std::lock_guard lock(mMixer->mLock);
    mState->Playing = false;
}

void TMixerVoice::SetPosition(std::size_t frame) {
    std::lock_guard lock(mMixer->mLock);
    mState->Position = static_cast<double>(std::min(frame, mData->Frames()));
}

bool TMixerVoice::IsPlaying() const {
    std::lock_guard lock(mMixer->mLock);
    return mState->Playing;
}

int TMixerVoice::Volume() const {
    std::lock_guard lock(mMixer->mLock);
    return mState->Volume;
}

int TMixerVoice::Pan() const {
    std::lock_guard lock(mMixer->mLock);
    return mState->Pan;
}

int TMixerVoice::Frequency() const {
    std::lock_guard lock(mMixer->mLock);
    return mState->Frequency;
}

std::size_t TMixerVoice::Position() const {
    std::lock_guard lock(mMixer->mLock);
    return static_cast<std::size_t>(mState->Position);
}

std::uint32_t TMixerVoice::LoopCount() const {
    std::lock_guard lock(mMixer->mLock);
    return mState->Loops;
}

}  // namespace quillon::audio
