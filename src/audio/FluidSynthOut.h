// The MIDI output of the music preview: a General MIDI software synthesizer that renders into
// the mixer.
#pragma once

#include "audio/AudioMixer.h"
#include "audio/MidiOut.h"

#include <memory>
#include <string>

namespace quillon::audio {

// The installed General MIDI sound font: $QUILLON_SOUNDFONT when set, else Debian's default
// (default-GM.sf2, normally a link to TimGM6mb.sf2); empty when none is installed.
std::string FindGeneralMidiSoundFont();

class TFluidSynthOut final : public IMidiOut, public IMixerSource {
public:
    // Raises EMidiError when the synthesizer cannot be made. Without a sound font it stays silent.
    explicit TFluidSynthOut(std::shared_ptr<TAudioMixer> mixer, const std::string& soundFont = FindGeneralMidiSoundFont());
    ~TFluidSynthOut() override;
    TFluidSynthOut(const TFluidSynthOut&) = delete;
    TFluidSynthOut& operator=(const TFluidSynthOut&) = delete;

    void SendShort(std::uint32_t message) override;
    void SendLong(std::string_view message) override;
    void Reset() override;
    void MixInto(float* stereo, std::size_t frames) override;

    bool HasSoundFont() const { return mSoundFontId >= 0; }

private:
    struct TSynth;
    std::shared_ptr<TAudioMixer> mMixer;
    std::unique_ptr<TSynth> mSynth;
    int mSoundFontId = -1;
    std::vector<float> mLeft;
    std::vector<float> mRight;
};

}  // namespace quillon::audio
