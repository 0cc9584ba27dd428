// MP3 stream decoding: any input decodes to whole frames of 16-bit samples or is refused.
#include "audio/AudioErrors.h"
#include "audio/MP3Player.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon::audio;
    try {
        const TPcmSamples pcm = DecodeMp3(std::string_view(reinterpret_cast<const char*>(data), size));
        if (pcm.Channels < 1 || pcm.Channels > 2 || pcm.Samples.empty() || pcm.Samples.size() % pcm.Channels != 0 ||
            pcm.SampleRate < 8000 || pcm.SampleRate > 48000)
            std::abort();
    } catch (const EDirectShowError&) {
    }
    return 0;
}
