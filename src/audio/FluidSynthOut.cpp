#include "audio/FluidSynthOut.h"

#include "audio/MidiPlay.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <filesystem>

namespace quillon::audio {

std::string FindGeneralMidiSoundFont() {
    if (const char* chosen = std::getenv("QUILLON_SOUNDFONT"); chosen && *chosen)
        return chosen;
    for (const char* candidate : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return {};
}

struct TFluidSynthOut::TSynth {
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    ~TSynth() {
        if (Synth)
            delete_fluid_synth(Synth);
        if (Settings)
            delete_fluid_settings(Settings);
    }
};

namespace {

// The synthesizer's messages are not for the user; errors surface through our own checks.
void QuietLog(int, const char*, void*) {}

}  // namespace

TFluidSynthOut::TFluidSynthOut(std::shared_ptr<TAudioMixer> mixer, const std::string& soundFont)
    : mMixer(std::move(mixer)), mSynth(std::make_unique<TSynth>()) {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, QuietLog, nullptr);
    mSynth->Settings = new_fluid_settings();
    if (!mSynth->Settings)
        throw EMidiError("The MIDI synthesizer could not be set up");
    fluid_settings_setnum(mSynth->Settings, "synth.sample-rate", mMixer->OutputRate());
    fluid_settings_setnum(mSynth->Settings, "synth.gain", 0.5);
    fluid_settings_setint(mSynth->Settings, "synth.chorus.active", 0);
    mSynth->Synth = new_fluid_synth(mSynth->Settings);
    if (!mSynth->Synth)
        throw EMidiError("The MIDI synthesizer could not be set up");
    if (!soundFont.empty())
        mSoundFontId = fluid_synth_sfload(mSynth->Synth, soundFont.c_str(), 1);
    if (mSoundFontId == FLUID_FAILED)
        mSoundFontId = -1;
    mMixer->AddSource(this);
}

TFluidSynthOut::~TFluidSynthOut() { mMixer->RemoveSource(this); }

void TFluidSynthOut::SendShort(std::uint32_t message) {
    fluid_synth_t* synth = mSynth->Synth;
    const int channel = static_cast<int>(message & 0x0F);
    const int first = static_cast<int>((message >> 8) & 0x7F);
    const int second = static_cast<int>((message >> 16) & 0x7F);
    switch (message & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth, channel, first); break;
    case 0x90:
        if (second == 0)
            fluid_synth_noteoff(synth, channel, first);
        else
            fluid_synth_noteon(synth, channel, first, second);
        break;
    case 0xA0: fluid_synth_key_pressure(synth, channel, first, second); break;
    case 0xB0: fluid_synth_cc(synth, channel, first, second); break;
    case 0xC0: fluid_synth_program_change(synth, channel, first); break;
    case 0xD0: fluid_synth_channel_pressure(synth, channel, first); break;
    case 0xE0: fluid_synth_pitch_bend(synth, channel, first | (second << 7)); break;
    default: break;
    }
}

void TFluidSynthOut::SendLong(std::string_view message) {
    // The synthesizer takes the bytes between F0 and F7.
    if (!message.empty() && static_cast<std::uint8_t>(message.front()) == 0xF0)
        message.remove_prefix(1);
    if (!message.empty() && static_cast<std::uint8_t>(message.back()) == 0xF7)
        message.remove_suffix(1);
    if (message.empty() || message.size() > 65536)
        return;
    fluid_synth_sysex(mSynth->Synth, message.data(), static_cast<int>(message.size()), nullptr, nullptr, nullptr, 0);
}

void TFluidSynthOut::Reset() { fluid_synth_all_sounds_off(mSynth->Synth, -1); }

void TFluidSynthOut::MixInto(float* stereo, std::size_t frames) {
    if (mLeft.size() < frames) {
        mLeft.resize(frames);
        mRight.resize(frames);
    }
    std::fill(mLeft.begin(), mLeft.begin() + static_cast<std::ptrdiff_t>(frames), 0.0f);
    std::fill(mRight.begin(), mRight.begin() + static_cast<std::ptrdiff_t>(frames), 0.0f);
    fluid_synth_write_float(mSynth->Synth, static_cast<int>(frames), mLeft.data(), 0, 1, mRight.data(), 0, 1);
    for (std::size_t f = 0; f < frames; ++f) {
        stereo[f * 2] += mLeft[f];
        stereo[f * 2 + 1] += mRight[f];
    }
}

}  // namespace quillon::audio
