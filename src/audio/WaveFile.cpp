#include "audio/WaveFile.h"

#include "audio/Adpcm.h"
#include "audio/AudioErrors.h"

namespace quillon::audio {

namespace {

std::uint32_t Little32(std::string_view s, std::size_t pos) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[pos])) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[pos + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[pos + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[pos + 3])) << 24);
}

std::uint16_t Little16(std::string_view s, std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[pos]) |
                                      (static_cast<std::uint8_t>(s[pos + 1]) << 8));
}

// Walks the chunks from pos to the one called id and returns its body; pos moves past it.
std::string_view FindChunk(std::string_view file, std::size_t& pos, std::string_view id) {
    while (true) {
        if (pos > file.size() || file.size() - pos < 8)
            throw EInvalidWaveFile();
        const std::string_view name = file.substr(pos, 4);
        const std::uint32_t size = Little32(file, pos + 4);
        pos += 8;
        if (size > file.size() - pos)
            throw EInvalidWaveFile();
        const std::string_view body = file.substr(pos, size);
        pos += size;
        if (size % 2 != 0 && pos < file.size())
            ++pos;  // chunks are word-aligned
        if (name == id)
            return body;
    }
}

void RequirePlayable(const TWaveFormat& format, std::size_t frames) {
    if (format.Channels < 1 || format.Channels > 2 || (format.BitsPerSample != 8 && format.BitsPerSample != 16))
        throw EDirectSoundError::FromCode("DSERR_BADFORMAT");
    if (format.SamplesPerSec < 100 || format.SamplesPerSec > 200000 || frames == 0)
        throw EDirectSoundError::FromCode("DSERR_INVALIDPARAM");
}

}  // namespace

TWaveData ReadWave(std::string_view file) {
    if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE")
        throw EInvalidWaveFile();
    std::size_t pos = 12;
    const std::string_view fmt = FindChunk(file, pos, "fmt ");
    if (fmt.size() < 16)
        throw EInvalidWaveFile();
    TWaveData wave;
    TWaveFormat& source = wave.SourceFormat;
    source.FormatTag = Little16(fmt, 0);
    source.Channels = Little16(fmt, 2);
    source.SamplesPerSec = Little32(fmt, 4);
    source.AvgBytesPerSec = Little32(fmt, 8);
    source.BlockAlign = Little16(fmt, 12);
    source.BitsPerSample = Little16(fmt, 14);
    if (source.FormatTag != kWaveFormatPcm && source.FormatTag != kWaveFormatMsAdpcm &&
        source.FormatTag != kWaveFormatImaAdpcm)
        throw EInvalidWaveFile();
    const std::string_view data = FindChunk(file, pos, "data");

    TPcmSamples& pcm = wave.Pcm;
    TWaveFormat& played = wave.PcmFormat;
    if (source.FormatTag == kWaveFormatPcm) {
        played = source;
        const std::size_t frameBytes = static_cast<std::size_t>(source.Channels) * (source.BitsPerSample / 8);
        RequirePlayable(played, frameBytes == 0 ? 0 : data.size() / frameBytes);
        const std::size_t count = data.size() / frameBytes * source.Channels;
        pcm.Samples.resize(count);
        if (source.BitsPerSample == 8) {
            for (std::size_t i = 0; i < count; ++i)
                pcm.Samples[i] = static_cast<std::int16_t>((static_cast<std::uint8_t>(data[i]) - 128) * 256);
        } else {
            for (std::size_t i = 0; i < count; ++i)
                pcm.Samples[i] = static_cast<std::int16_t>(Little16(data, i * 2));
        }
    } else {
        // The decoders' suggested format: 16-bit PCM of the same channels and rate.
        const std::string_view extra = fmt.substr(16);
        const TAdpcmFormat adpcm = source.FormatTag == kWaveFormatMsAdpcm
                                       ? ReadMsAdpcmFormat(source.Channels, source.BlockAlign, extra)
                                       : ReadImaAdpcmFormat(source.Channels, source.BlockAlign, extra);
        pcm.Samples = source.FormatTag == kWaveFormatMsAdpcm ? DecodeMsAdpcm(adpcm, data) : DecodeImaAdpcm(adpcm, data);
        played.FormatTag = kWaveFormatPcm;
        played.Channels = source.Channels;
        played.SamplesPerSec = source.SamplesPerSec;
        played.BitsPerSample = 16;
        played.BlockAlign = static_cast<std::uint16_t>(played.Channels * 2);
        played.AvgBytesPerSec = played.SamplesPerSec * played.BlockAlign;
        RequirePlayable(played, pcm.Samples.size() / played.Channels);
    }
    pcm.Channels = played.Channels;
    pcm.SampleRate = static_cast<int>(played.SamplesPerSec);
    return wave;
}

}  // namespace quillon::audio
