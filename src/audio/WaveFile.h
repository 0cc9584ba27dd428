// Reading a RIFF wave file into 16-bit samples that the mixer can play.
#pragma once

#include "audio/AudioMixer.h"

#include <cstdint>
#include <string_view>

namespace quillon::audio {

struct TWaveFormat {
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
};

struct TWaveData {
    TWaveFormat SourceFormat;  // as the file gives it
    TWaveFormat PcmFormat;     // what is played: PCM, the file's format or the decoder's
    TPcmSamples Pcm;           // 16-bit samples of PcmFormat's channels and rate
};

// Parses the whole file. Raises EInvalidWaveFile ("Invalid wave file") for a file that is not
// RIFF/WAVE, lacks its "fmt " or "data" chunk, is shorter than its chunks declare, or is
// compressed other than with Microsoft or IMA ADPCM; EAcmError when the ADPCM layout cannot be
// decoded; EDirectSoundError when the PCM format is one a voice cannot play (not 8 or 16 bits,
// not mono or stereo, an unplayable rate or no samples).
TWaveData ReadWave(std::string_view file);

}  // namespace quillon::audio
