// Wave file reader: any input is read or refused with the reader's errors; what is read has
// whole frames, grows by no more than the ADPCM expansion and mixes without fault.
#include "audio/AudioErrors.h"
#include "audio/AudioMixer.h"
#include "audio/WaveFile.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon::audio;
    TWaveData wave;
    try {
        wave = ReadWave(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EInvalidWaveFile&) {
        return 0;
    } catch (const EAcmError&) {
        return 0;
    } catch (const EDirectSoundError&) {
        return 0;
    }
    const TPcmSamples& pcm = wave.Pcm;
    if (pcm.Channels < 1 || pcm.Channels > 2 || pcm.Samples.empty() || pcm.Samples.size() % pcm.Channels != 0)
        std::abort();
    // At most two samples a byte (8-bit PCM) or four (ADPCM nibbles and block headers).
    if (pcm.Samples.size() > 4 * size + 4)
        std::abort();
    auto mixer = std::make_shared<TAudioMixer>();
    TMixerVoice voice(mixer, std::make_shared<TPcmSamples>(pcm));
    voice.SetFrequency(static_cast<int>(size % 200000));
    voice.SetPan(static_cast<int>(size % 6001) - 3000);
    voice.Play(size % 2 == 0);
    mixer->Render(512);
    return 0;
}
