#include "audio/Adpcm.h"

#include "audio/AudioErrors.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace quillon::audio {

namespace {

constexpr const char* kNotPossible = "ACMERR_NOTPOSSIBLE";

constexpr std::array<int, 16> kMsAdaptation = {230, 230, 230, 230, 307, 409, 512, 614,
                                               768, 614, 512, 409, 307, 230, 230, 230};
// The largest step whose next adaptation (at most ×768/256) still fits an int.
constexpr int kMsMaxDelta = std::numeric_limits<int>::max() / 768;
constexpr std::array<std::pair<int, int>, 7> kMsStandardCoefficients = {
    {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}};

constexpr std::array<int, 89> kImaStep = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kImaIndexStep = {-1, -1, -1, -1, 2, 4, 6, 8};

int U8(std::string_view s, std::size_t pos) { return static_cast<std::uint8_t>(s[pos]); }
int S16(std::string_view s, std::size_t pos) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(U8(s, pos) | (U8(s, pos + 1) << 8)));
}
int U16(std::string_view s, std::size_t pos) { return U8(s, pos) | (U8(s, pos + 1) << 8); }

std::int16_t Clamp16(int value) { return static_cast<std::int16_t>(std::clamp(value, -32768, 32767)); }

void CheckCommon(int channels, int blockAlign) {
    if (channels < 1 || channels > 2 || blockAlign <= 0)
        throw EAcmError::FromCode(kNotPossible);
}

}  // namespace

TAdpcmFormat ReadMsAdpcmFormat(int channels, int blockAlign, std::string_view extra) {
    CheckCommon(channels, blockAlign);
    TAdpcmFormat format;
    format.Channels = channels;
    format.BlockAlign = blockAlign;
    if (blockAlign < 7 * channels)
        throw EAcmError::FromCode(kNotPossible);
    const int expected = (blockAlign - 7 * channels) * 2 / channels + 2;
    format.SamplesPerBlock = expected;
    // cbSize, samples per block, coefficient count and the pairs; older writers leave them out.
    if (extra.size() >= 6) {
        const int samplesPerBlock = U16(extra, 2);
        const int count = U16(extra, 4);
        if (samplesPerBlock < 2 || samplesPerBlock > expected)
            throw EAcmError::FromCode(kNotPossible);
        format.SamplesPerBlock = samplesPerBlock;
        if (count < 1 || count > 256 || extra.size() < 6 + static_cast<std::size_t>(count) * 4)
            throw EAcmError::FromCode(kNotPossible);
        for (int i = 0; i < count; ++i)
            format.Coefficients.emplace_back(S16(extra, 6 + i * 4), S16(extra, 8 + i * 4));
    } else {
        format.Coefficients.assign(kMsStandardCoefficients.begin(), kMsStandardCoefficients.end());
    }
    return format;
}

TAdpcmFormat ReadImaAdpcmFormat(int channels, int blockAlign, std::string_view extra) {
    CheckCommon(channels, blockAlign);
    TAdpcmFormat format;
    format.Channels = channels;
    format.BlockAlign = blockAlign;
    // Each channel's block part is a 4-byte header and then groups of 4 bytes.
    if (blockAlign < 4 * channels || (blockAlign - 4 * channels) % (4 * channels) != 0)
        throw EAcmError::FromCode(kNotPossible);
    const int expected = (blockAlign - 4 * channels) * 2 / channels + 1;
    format.SamplesPerBlock = expected;
    if (extra.size() >= 4) {
        const int samplesPerBlock = U16(extra, 2);
        if (samplesPerBlock < 1 || samplesPerBlock > expected)
            throw EAcmError::FromCode(kNotPossible);
        format.SamplesPerBlock = samplesPerBlock;
    }
    return format;
}

std::vector<std::int16_t> DecodeMsAdpcm(const TAdpcmFormat& format, std::string_view data) {
    const int channels = format.Channels;
    const auto blockAlign = static_cast<std::size_t>(format.BlockAlign);
    const auto headerSize = static_cast<std::size_t>(7 * channels);
    std::vector<std::int16_t> out;
    out.reserve(data.size() / blockAlign * static_cast<std::size_t>(format.SamplesPerBlock * channels) +
                static_cast<std::size_t>(format.SamplesPerBlock * channels));
    for (std::size_t start = 0; start + headerSize <= data.size(); start += blockAlign) {
        const std::string_view block = data.substr(start, std::min(blockAlign, data.size() - start));
        std::array<int, 2> coef1{}, coef2{}, delta{}, sample1{}, sample2{};
        bool sound = true;
        for (int c = 0; c < channels; ++c) {
            const auto predictor = static_cast<std::size_t>(U8(block, c));
            if (predictor >= format.Coefficients.size()) {
                sound = false;
                break;
            }
            coef1[c] = format.Coefficients[predictor].first;
            coef2[c] = format.Coefficients[predictor].second;
            delta[c] = S16(block, channels + c * 2);
            sample1[c] = S16(block, channels * 3 + c * 2);
            sample2[c] = S16(block, channels * 5 + c * 2);
        }
        if (!sound)
            break;
        for (int c = 0; c < channels; ++c)
            out.push_back(Clamp16(sample2[c]));
        for (int c = 0; c < channels; ++c)
            out.push_back(Clamp16(sample1[c]));
        // Two header samples, then one nibble per sample, high nibble first, channels alternating.
        const std::size_t nibbleCount = std::min<std::size_t>(
            (block.size() - headerSize) * 2, static_cast<std::size_t>((format.SamplesPerBlock - 2) * channels));
        for (std::size_t n = 0; n < nibbleCount; ++n) {
            const int byte = U8(block, headerSize + n / 2);
            const int nibble = (n % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
            const int c = static_cast<int>(n % static_cast<std::size_t>(channels));
            const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
            // Coefficients come from the file: two full-scale products overflow 32 bits.
            const auto predicted = static_cast<int>(
                (std::int64_t{sample1[c]} * coef1[c] + std::int64_t{sample2[c]} * coef2[c]) / 256);
            const std::int16_t sample = Clamp16(predicted + signedNibble * delta[c]);
            out.push_back(sample);
            sample2[c] = sample1[c];
            sample1[c] = sample;
            // A run of large nibbles keeps tripling the step; past this bound the samples are
            // clipped anyway, and the next step must not overflow.
            delta[c] = std::clamp(kMsAdaptation[nibble] * delta[c] / 256, 16, kMsMaxDelta);
        }
    }
    return out;
}

std::vector<std::int16_t> DecodeImaAdpcm(const TAdpcmFormat& format, std::string_view data) {
    const int channels = format.Channels;
    const auto blockAlign = static_cast<std::size_t>(format.BlockAlign);
    const auto headerSize = static_cast<std::size_t>(4 * channels);
    std::vector<std::int16_t> out;
    out.reserve(data.size() / blockAlign * static_cast<std::size_t>(format.SamplesPerBlock * channels) +
                static_cast<std::size_t>(format.SamplesPerBlock * channels));
    for (std::size_t start = 0; start + headerSize <= data.size(); start += blockAlign) {
        const std::string_view block = data.substr(start, std::min(blockAlign, data.size() - start));
        std::array<int, 2> predictor{}, index{};
        for (int c = 0; c < channels; ++c) {
            predictor[c] = S16(block, static_cast<std::size_t>(c) * 4);
            index[c] = std::clamp(U8(block, static_cast<std::size_t>(c) * 4 + 2), 0, 88);
        }
        // Samples of this block, channel by channel, then interleaved into out.
        const std::size_t bodyBytes = block.size() - headerSize;
        // Body: groups of 4 bytes (8 samples) per channel, channels alternating.
        const std::size_t groups = bodyBytes / (4 * static_cast<std::size_t>(channels));
        const std::size_t samples =
            std::min<std::size_t>(1 + groups * 8, static_cast<std::size_t>(format.SamplesPerBlock));
        const std::size_t base = out.size();
        out.resize(base + samples * static_cast<std::size_t>(channels));
        for (int c = 0; c < channels; ++c) {
            out[base + static_cast<std::size_t>(c)] = Clamp16(predictor[c]);
            for (std::size_t s = 1; s < samples; ++s) {
                const std::size_t k = s - 1;  // nibble number within the channel
                const std::size_t group = k / 8;
                const std::size_t byteInGroup = (k % 8) / 2;
                const std::size_t pos =
                    headerSize + (group * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)) * 4 + byteInGroup;
                const int byte = U8(block, pos);
                const int nibble = (k % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
                const int step = kImaStep[static_cast<std::size_t>(index[c])];
                int diff = step >> 3;
                if (nibble & 4)
                    diff += step;
                if (nibble & 2)
                    diff += step >> 1;
                if (nibble & 1)
                    diff += step >> 2;
                predictor[c] = std::clamp((nibble & 8) ? predictor[c] - diff : predictor[c] + diff, -32768, 32767);
                index[c] = std::clamp(index[c] + kImaIndexStep[static_cast<std::size_t>(nibble & 7)], 0, 88);
                out[base + s * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                    static_cast<std::int16_t>(predictor[c]);
            }
        }
    }
    return out;
}

}  // namespace quillon::audio
