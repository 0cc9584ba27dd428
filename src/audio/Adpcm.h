// Decoders for the two ADPCM wave encodings that sound effects come in: Microsoft ADPCM
// (format tag 2) and IMA ADPCM (format tag 0x11). Both decode to 16-bit samples, interleaved.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::audio {

inline constexpr std::uint16_t kWaveFormatPcm = 1;
inline constexpr std::uint16_t kWaveFormatMsAdpcm = 2;
inline constexpr std::uint16_t kWaveFormatImaAdpcm = 0x11;

struct TAdpcmFormat {
    int Channels = 1;
    int BlockAlign = 0;
    int SamplesPerBlock = 0;
    std::vector<std::pair<int, int>> Coefficients;  // Microsoft ADPCM predictor pairs
};

// Reads the extra bytes of a "fmt " chunk after its 16 common bytes; raises EAcmError for a
// layout the decoder cannot convert.
TAdpcmFormat ReadMsAdpcmFormat(int channels, int blockAlign, std::string_view extra);
TAdpcmFormat ReadImaAdpcmFormat(int channels, int blockAlign, std::string_view extra);

// Decodes whole blocks, and a final short block as far as it holds samples. Decoding stops at
// a block that names a predictor the format does not have.
std::vector<std::int16_t> DecodeMsAdpcm(const TAdpcmFormat& format, std::string_view data);
std::vector<std::int16_t> DecodeImaAdpcm(const TAdpcmFormat& format, std::string_view data);

}  // namespace quillon::audio
