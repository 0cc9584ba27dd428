// IMA ADPCM decoding against known vectors: three blocks that walk the step index over its whole
// range (up by one per nibble pair, then down from the top with two nibble patterns), so that
// every entry of the step and index tables shows in the decoded samples. The expected samples
// follow the published IMA ADPCM algorithm (step table of 89 entries from 7 to 32767).
#include "audio/Adpcm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon::audio {
namespace {

// One mono block: predictor, step index, and nibbles (low nibble of each byte first).
std::string ImaBlock(std::int16_t predictor, std::uint8_t index, const std::vector<int>& pattern, int repeats) {
    std::string block;
    block += static_cast<char>(predictor & 0xFF);
    block += static_cast<char>((predictor >> 8) & 0xFF);
    block += static_cast<char>(index);
    block += '\0';
    std::vector<int> nibbles;
    for (int r = 0; r < repeats; ++r)
        nibbles.insert(nibbles.end(), pattern.begin(), pattern.end());
    for (std::size_t i = 0; i + 1 < nibbles.size(); i += 2)
        block += static_cast<char>(nibbles[i] | (nibbles[i + 1] << 4));
    return block;
}

const std::vector<std::int16_t> kExpected = {
0, 7, 6, -3, -2, 8, 7, -4, -3, 9, 8, -5,
    -4, 10, 8, -7, -5, 13, 11, -8, -6, 15, 13, -10,
    -7, 18, 15, -13, -10, 21, 17, -17, -13, 25, 20, -21,
    -16, 30, 24, -26, -20, 36, 29, -32, -24, 43, 34, -40,
    -30, 52, 41, -49, -37, 62, 49, -60, -46, 74, 58, -74,
    -57, 89, 70, -90, -69, 107, 84, -110, -84, 129, 101, -134,
    -103, 155, 121, -163, -125, 188, 146, -199, -153, 226, 175, -242,
    -186, 273, 212, -293, -225, 330, 256, -356, -274, 398, 308, -432,
    -333, 481, 372, -523, -403, 582, 450, -633, -488, 704, 544, -767,
    -591, 851, 657, -930, -717, 1029, 795, -1125, -867, 1245, 961, -1363,
    -1051, 1505, 1162, -1649, -1271, 1821, 1406, -1996, -1539, 2203, 1700, -2417,
    -1864, 2665, 2057, -2924, -2255, 3224, 2488, -3539, -2729, 3901, 3010, -4284,
    -3304, 4719, 3641, -5184, -3998, 5710, 4405, -6274, -4839, 6908, 5329, -7593,
    -5856, 8358, 6447, -9189, -7087, 10113, 7801, -11119, -8576, 12236, 9438, -13455,
    -10378, 14805, 11420, -16280, -12556, 17915, 13820, -19698, -15603, 17915, 13820, -19698,
    -15603, 17915, 13820, -19698, -15603, 17915, 13820, -19698, -15603, 17915, 13820, -19698,
    -15603, 17915, 13820, -19698, -15603, 17915, 13820, -19698, -15603, 0, 4095, 371,
    3756, 679, 3477, 934, 3246, 1144, 3055, 1318, 2897, 1462, 2767, 1581,
    2659, 1679, 2570, 1760, 2496, 1827, 2435, 1882, 2385, 1928, 2343, 1965,
    2308, 1996, 2280, 2022, 2256, 2043, 2237, 2061, 2221, 2076, 2208, 2088,
    2197, 2098, 2188, 2106, 2180, 2112, 2173, 2117, 2168, 2122, 2164, 2126,
    2160, 2129, 2157, 2131, 2154, 2133, 2152, 2135, 2151, 2137, 2150, 2138,
    2149, 2139, 2148, 2140, 2147, 2141, 2147, 2142, 2147, 2143, 2147, 2144,
    2147, 2144, 2146, 2144, 2146, 2144, 2146, 2145, 2146, 2145, 2146, 2145,
    2146, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145, 2145,
    2145, 2145, 2145, 2145, 2145, 2145, 0, 28669, 2600, 26299, 4756, 24342,
    6537, 22724, 8009, 21386, 9226, 20280, 10231, 19367, 11062, 18612, 11749, 17989,
    12316, 17472, 12785, 17045, 13171, 16693, 13491, 16400, 13754, 16158, 13973, 15961,
    14154, 15796, 14304, 15662, 14429, 15550, 14531, 15458, 14617, 15383, 14687, 15320,
    14745, 15267, 14791, 15222, 14830, 15187, 14864, 15158, 14891, 15133, 14913, 15113,
    14931, 15096, 14946, 15082, 14959, 15072, 14970, 15062, 14978, 15055, 14985, 15048,
    14991, 15043, 14997, 15040, 15002, 15037, 15006, 15035, 15010, 15034, 15013, 15031,
    15014, 15029, 15015, 15029, 15018, 15028, 15018, 15026, 15018, 15025, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022, 15018, 15022,
    15018, 15022, 15018,
};

TEST(ImaAdpcmVectors, StepAndIndexTablesOverTheirWholeRange) {
    const std::string data = ImaBlock(0, 0, {4, 8, 12, 0}, 50) + ImaBlock(0, 88, {0, 8}, 100) + ImaBlock(0, 88, {3, 11}, 100);
    ASSERT_EQ(data.size(), 3u * 104u);
    const TAdpcmFormat format = ReadImaAdpcmFormat(1, 104, std::string("\x02\x00\xC9\x00", 4));
    EXPECT_EQ(format.SamplesPerBlock, 201);
    const std::vector<std::int16_t> decoded = DecodeImaAdpcm(format, data);
    ASSERT_EQ(decoded.size(), kExpected.size());
    for (std::size_t i = 0; i < decoded.size(); ++i)
        ASSERT_EQ(decoded[i], kExpected[i]) << "sample " << i << " (block " << i / 201 << ")";
}

// The same nibbles in a stereo block: the channels' 4-byte groups alternate, and each channel
// decodes as the mono block did.
TEST(ImaAdpcmVectors, StereoGroupsAlternate) {
    const std::string left = ImaBlock(0, 0, {4, 8, 12, 0}, 50);
    const std::string right = ImaBlock(0, 88, {3, 11}, 100);
    std::string block = left.substr(0, 4) + right.substr(0, 4);
    for (std::size_t g = 4; g < left.size(); g += 4)
        block += left.substr(g, 4) + right.substr(g, 4);
    const TAdpcmFormat format = ReadImaAdpcmFormat(2, 208, {});
    const std::vector<std::int16_t> decoded = DecodeImaAdpcm(format, block);
    ASSERT_EQ(decoded.size(), 402u);
    for (std::size_t s = 0; s < 201; ++s) {
        ASSERT_EQ(decoded[2 * s], kExpected[s]) << "left sample " << s;
        ASSERT_EQ(decoded[2 * s + 1], kExpected[402 + s]) << "right sample " << s;
    }
}

// Microsoft ADPCM: a run of extreme nibbles keeps growing the step by ×2.4 and ×3. Past full
// scale the step stops growing, so the samples swing exactly between the two limits however long
// the run is (a step that overflowed would fall back to the smallest step and show smaller
// swings), and nibbles from the file's own coefficient table at full scale stay within range.
TEST(MsAdpcmVectors, ExtremeNibblesSaturateInsteadOfOverflowing) {
    const int blockAlign = 1024;
    std::string block;
    block += '\0';                    // predictor pair 0: (256, 0)
    block += std::string("\x10\x00", 2);  // step 16
    block += std::string(4, '\0');    // both header samples 0
    block += std::string(blockAlign - 7, '\x78');  // +7 then -8, over and over
    const TAdpcmFormat standard = ReadMsAdpcmFormat(1, blockAlign, {});
    const std::vector<std::int16_t> decoded = DecodeMsAdpcm(standard, block);
    ASSERT_EQ(decoded.size(), static_cast<std::size_t>(standard.SamplesPerBlock));
    // The step passes 8192 within the first 20 nibbles; from then on every +7 hits the top and
    // every -8 the bottom.
    for (std::size_t i = 2 + 20; i < decoded.size(); ++i)
        ASSERT_EQ(decoded[i], (i % 2 == 0) ? 32767 : -32768) << "sample " << i;

    // A coefficient table of its own with the most negative pairs: the prediction of two
    // full-scale samples must not overflow either.
    std::string extra("\x20\x00", 2);
    extra += std::string("\xF4\x07\x01\x00", 4);  // samples per block 2036, one pair
    extra += std::string("\x00\x80\x00\x80", 4);  // (-32768, -32768)
    const TAdpcmFormat own = ReadMsAdpcmFormat(1, blockAlign, extra);
    std::string loud = block;
    loud.replace(3, 4, std::string("\x00\x80\x00\x80", 4));  // both header samples -32768
    const std::vector<std::int16_t> again = DecodeMsAdpcm(own, loud);
    ASSERT_EQ(again.size(), 2036u);
    // (-32768 × -32768 twice) / 256 is far above full scale: the first decoded sample clips.
    EXPECT_EQ(again[2], 32767);
}

}  // namespace
}  // namespace quillon::audio
