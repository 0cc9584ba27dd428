// The software mixer that stands in for the sound card's buffers: voices of 16-bit sample data
// with a volume in hundredths of a decibel (-10000 silence .. 0), a pan (-3000 .. 3000, the far
// side attenuated by the pan value), a playback frequency (resampled to the output rate),
// play/stop/loop and a position; plus streaming sources (the MIDI synthesizer) mixed in as they
// render. Everything is mixed into one interleaved 16-bit stereo stream that an output pulls.
// All operations are safe to call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace quillon::audio {

inline constexpr int kMixRate = 44100;

// Sample data of one sound, shared by every voice that plays it.
struct TPcmSamples {
    int Channels = 1;  // 1 or 2
    int SampleRate = 22050;
    std::vector<std::int16_t> Samples;  // interleaved
    std::size_t Frames() const { return Channels > 0 ? Samples.size() / Channels : 0; }
};

// Something that renders straight into the mix (the MIDI synthesizer, for one).
class IMixerSource {
public:
    virtual ~IMixerSource() = default;
    // Adds frames of interleaved stereo audio (full scale +-1.0) to mix.
    virtual void MixInto(float* stereo, std::size_t frames) = 0;
};

class TMixerVoice;

class TAudioMixer : public std::enable_shared_from_this<TAudioMixer> {
public:
    explicit TAudioMixer(int outputRate = kMixRate);
    TAudioMixer(const TAudioMixer&) = delete;
    TAudioMixer& operator=(const TAudioMixer&) = delete;

    int OutputRate() const { return mRate; }

    // Renders frames of interleaved 16-bit stereo into out (2 * frames values) and advances
    // every playing voice.
    void Render(std::int16_t* out, std::size_t frames);
    std::vector<std::int16_t> Render(std::size_t frames);

    void AddSource(IMixerSource* source);
    void RemoveSource(IMixerSource* source);

    std::size_t VoiceCount() const;

private:
    friend class TMixerVoice;
    struct TVoiceState;
    void Attach(TVoiceState* voice);
    void Detach(TVoiceState* voice);
    void MixVoice(TVoiceState& voice, float* stereo, std::size_t frames) const;

    const int mRate;
    mutable std::mutex mLock;
    std::vector<TVoiceState*> mVoices;
    std::vector<IMixerSource*> mSources;
    std::vector<float> mScratch;
};

// One voice of the mixer; it leaves the mix when destroyed.
class TMixerVoice {
public:
    TMixerVoice(std::shared_ptr<TAudioMixer> mixer, std::shared_ptr<const TPcmSamples> data);
    ~TMixerVoice();
    TMixerVoice(const TMixerVoice&) = delete;
    TMixerVoice& operator=(const TMixerVoice&) = delete;

    // A new voice over the same sample data, at the data's own rate, stopped, full volume.
    std::unique_ptr<TMixerVoice> Duplicate() const;

    void SetVolume(int hundredthsOfDecibel);  // -10000 .. 0
    void SetPan(int pan);                     // -3000 .. 3000
    void SetFrequency(int hertz);             // 100 .. 200000
    void Play(bool loop);
    void Stop();
    void SetPosition(std::size_t frame);

    bool IsPlaying() const;
    int Volume() const;
    int Pan() const;
    int Frequency() const;
    std::size_t Position() const;
    std::uint32_t LoopCount() const;  // times a looping voice has wrapped since Play
    const std::shared_ptr<const TPcmSamples>& Data() const { return mData; }

private:
    std::shared_ptr<TAudioMixer> mMixer;
    std::shared_ptr<const TPcmSamples> mData;
    std::unique_ptr<TAudioMixer::TVoiceState> mState;
};

}  // namespace quillon::audio
