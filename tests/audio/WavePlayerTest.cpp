// Wave reading, ADPCM decoding, the mixer's value mappings and the wave buffers, measured on
// what comes out of the mix.
#include "AudioTestSupport.h"

#include "audio/Adpcm.h"
#include "audio/AudioErrors.h"
#include "audio/AudioMixer.h"
#include "audio/WaveFile.h"
#include "audio/WavePlayer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace quillon::audio {
namespace {

using test::MakePcm16Wave;
using test::MakeWave;
using test::PcmFormatBody;
using test::PutLittle;
using test::Rms;
using test::Sine;

// ---- Encoders for the round trips (a straightforward encoder of each kind) -------------------

constexpr std::array<int, 16> kMsAdaptation = {230, 230, 230, 230, 307, 409, 512, 614,
                                               768, 614, 512, 409, 307, 230, 230, 230};

// Microsoft ADPCM with predictor 1 (512, -256) on every block, mono or stereo.
std::string EncodeMsAdpcm(const std::vector<std::int16_t>& pcm, int channels, int blockAlign, int& samplesPerBlock) {
    samplesPerBlock = (blockAlign - 7 * channels) * 2 / channels + 2;
    const std::size_t frames = pcm.size() / channels;
    std::string out;
    for (std::size_t start = 0; start < frames; start += samplesPerBlock) {
        auto at = [&](std::size_t f, int c) -> int {
            return f < frames ? pcm[f * channels + c] : 0;
        };
        std::array<int, 2> s1{}, s2{}, delta{};
        for (int c = 0; c < channels; ++c)
            out.push_back(1);
        for (int c = 0; c < channels; ++c) {
            delta[c] = std::max(16, std::abs(at(start + 2, c) - at(start + 1, c)) / 4);
            PutLittle(out, static_cast<std::uint16_t>(delta[c]), 2);
        }
        for (int c = 0; c < channels; ++c) {
            s1[c] = at(start + 1, c);
            PutLittle(out, static_cast<std::uint16_t>(s1[c]), 2);
        }
        for (int c = 0; c < channels; ++c) {
            s2[c] = at(start, c);
            PutLittle(out, static_cast<std::uint16_t>(s2[c]), 2);
        }
        int pending = -1;
        for (int f = 2; f < samplesPerBlock; ++f) {
            for (int c = 0; c < channels; ++c) {
                const int predicted = (s1[c] * 512 + s2[c] * -256) / 256;
                const double ideal = static_cast<double>(at(start + f, c) - predicted) / delta[c];
                const int code = std::clamp(static_cast<int>(std::lround(ideal)), -8, 7);
                const int sample = std::clamp(predicted + code * delta[c], -32768, 32767);
                s2[c] = s1[c];
                s1[c] = sample;
                delta[c] = std::max(16, kMsAdaptation[code & 0xF] * delta[c] / 256);
                if (pending < 0) {
                    pending = (code & 0xF) << 4;
                } else {
                    out.push_back(static_cast<char>(pending | (code & 0xF)));
                    pending = -1;
                }
            }
        }
    }
    return out;
}

constexpr std::array<int, 89> kImaStep = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

std::string EncodeImaAdpcm(const std::vector<std::int16_t>& pcm, int channels, int blockAlign, int& samplesPerBlock) {
    samplesPerBlock = (blockAlign - 4 * channels) * 2 / channels + 1;
    const std::size_t frames = pcm.size() / channels;
    std::string out;
    std::array<int, 2> index{20, 20};
    for (std::size_t start = 0; start < frames; start += samplesPerBlock) {
        auto at = [&](std::size_t f, int c) -> int { return f < frames ? pcm[f * channels + c] : 0; };
        std::array<int, 2> predictor{};
        for (int c = 0; c < channels; ++c) {
            predictor[c] = at(start, c);
            PutLittle(out, static_cast<std::uint16_t>(predictor[c]), 2);
            out.push_back(static_cast<char>(index[c]));
            out.push_back(0);
        }
        std::array<std::vector<int>, 2> codes;
        for (int f = 1; f < samplesPerBlock; ++f) {
            for (int c = 0; c < channels; ++c) {
                const int step = kImaStep[index[c]];
                int diff = at(start + f, c) - predictor[c];
                int code = 0;
                if (diff < 0) {
                    code = 8;
                    diff = -diff;
                }
                int delta = step >> 3;
                if (diff >= step) { code |= 4; diff -= step; delta += step; }
                if (diff >= step >> 1) { code |= 2; diff -= step >> 1; delta += step >> 1; }
                if (diff >= step >> 2) { code |= 1; delta += step >> 2; }
                predictor[c] = std::clamp(code & 8 ? predictor[c] - delta : predictor[c] + delta, -32768, 32767);
                static constexpr int kIndexStep[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
                index[c] = std::clamp(index[c] + kIndexStep[code & 7], 0, 88);
                codes[c].push_back(code);
            }
        }
        for (std::size_t group = 0; group * 8 < codes[0].size(); ++group)
            for (int c = 0; c < channels; ++c)
                for (std::size_t k = group * 8; k < group * 8 + 8; k += 2)
                    out.push_back(static_cast<char>(codes[c][k] | (codes[c][k + 1] << 4)));
    }
    return out;
}

std::string AdpcmWave(int tag, const std::vector<std::int16_t>& pcm, int channels, int rate, int blockAlign) {
    int samplesPerBlock = 0;
    const std::string data = tag == 2 ? EncodeMsAdpcm(pcm, channels, blockAlign, samplesPerBlock)
                                      : EncodeImaAdpcm(pcm, channels, blockAlign, samplesPerBlock);
    std::string fmt = PcmFormatBody(tag, channels, rate, 4, blockAlign);
    if (tag == 2) {
        PutLittle(fmt, 32, 2);
        PutLittle(fmt, static_cast<std::uint32_t>(samplesPerBlock), 2);
        PutLittle(fmt, 7, 2);
        for (auto [a, b] : std::array<std::pair<int, int>, 7>{
                 {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}}) {
            PutLittle(fmt, static_cast<std::uint16_t>(a), 2);
            PutLittle(fmt, static_cast<std::uint16_t>(b), 2);
        }
    } else {
        PutLittle(fmt, 2, 2);
        PutLittle(fmt, static_cast<std::uint32_t>(samplesPerBlock), 2);
    }
    return MakeWave(fmt, data);
}

// A chord of two sines, interleaved for the given channel count.
std::vector<std::int16_t> Music(std::size_t frames, int channels) {
    const auto a = Sine(frames, 440, 22050, 9000);
    const auto b = Sine(frames, 1234, 22050, 5000);
    std::vector<std::int16_t> out;
    for (std::size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<std::int16_t>(a[f] + (c ? -b[f] : b[f])));
    return out;
}

// Root mean square of the difference, relative to the signal's.
double RelativeError(const std::vector<std::int16_t>& decoded, const std::vector<std::int16_t>& original) {
    double error = 0, signal = 0;
    for (std::size_t i = 0; i < original.size(); ++i) {
        const double d = decoded[i] - original[i];
        error += d * d;
        signal += static_cast<double>(original[i]) * original[i];
    }
    return std::sqrt(error / signal);
}

TEST(WaveFileTest, ReadsPcmOf8And16Bits) {
    const TWaveData wave16 = ReadWave(MakePcm16Wave({1, -2, 300, -32768}, 2, 11025));
    EXPECT_EQ(wave16.Pcm.Channels, 2);
    EXPECT_EQ(wave16.Pcm.SampleRate, 11025);
    EXPECT_EQ(wave16.Pcm.Samples, (std::vector<std::int16_t>{1, -2, 300, -32768}));
    EXPECT_EQ(wave16.PcmFormat.BlockAlign, 4);

    // A chunk of odd size before the data is skipped with its pad byte.
    std::string eight = "RIFF";
    PutLittle(eight, 0, 4);
    eight += "WAVEfmt ";
    PutLittle(eight, 16, 4);
    eight += PcmFormatBody(1, 1, 8000, 8);
    eight += "note";
    PutLittle(eight, 3, 4);
    eight += std::string("abc\0", 4);
    eight += "data";
    PutLittle(eight, 3, 4);
    eight += std::string("\x80\xFF\x00", 3);
    const TWaveData wave8 = ReadWave(eight);
    EXPECT_EQ(wave8.Pcm.Samples, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256}));
}

TEST(WaveFileTest, RefusesWhatItCannotPlay) {
    const std::string good = MakePcm16Wave({1, 2, 3, 4}, 1, 22050);
    auto invalid = [](const std::string& file) {
        try {
            ReadWave(file);
            return std::string("read");
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
    };
    EXPECT_EQ(invalid(""), "Invalid wave file");
    EXPECT_EQ(invalid("RIFX" + good.substr(4)), "Invalid wave file");
    EXPECT_EQ(invalid(good.substr(0, 8) + "AVI " + good.substr(12)), "Invalid wave file");
    EXPECT_EQ(invalid(good.substr(0, good.size() - 1)), "Invalid wave file");    // data cut short
    EXPECT_EQ(invalid(good.substr(0, 36)), "Invalid wave file");                  // no data chunk
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(0x55, 1, 22050, 0), "xx")), "Invalid wave file");  // MP3 in RIFF
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(1, 1, 22050, 16).substr(0, 14), "xx")), "Invalid wave file");
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(1, 1, 22050, 24), "xxxxxx")), "DirectSound Error(DSERR_BADFORMAT)");
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(1, 6, 22050, 16), std::string(24, 'x'))),
              "DirectSound Error(DSERR_BADFORMAT)");
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(1, 1, 22050, 16), "")), "DirectSound Error(DSERR_INVALIDPARAM)");
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(2, 1, 22050, 4, 3), "xxxx")), "ACM Error(ACMERR_NOTPOSSIBLE)");
    EXPECT_EQ(invalid(MakeWave(PcmFormatBody(0x11, 3, 22050, 4, 256), "xxxx")), "ACM Error(ACMERR_NOTPOSSIBLE)");
}

TEST(WaveFileTest, AdpcmDecodesToTheOriginalWithinTheCodecsError) {
    for (const int tag : {2, 0x11}) {
        for (const int channels : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "tag " << tag << ", channels " << channels);
            const int blockAlign = 256 * channels;
            const std::vector<std::int16_t> original = Music(5000, channels);
            const TWaveData wave = ReadWave(AdpcmWave(tag, original, channels, 22050, blockAlign));
            EXPECT_EQ(wave.SourceFormat.FormatTag, tag);
            EXPECT_EQ(wave.PcmFormat.FormatTag, 1);
            EXPECT_EQ(wave.PcmFormat.BitsPerSample, 16);
            EXPECT_EQ(wave.Pcm.Channels, channels);
            // Whole blocks: the last one is padded, so at least the original's length comes out.
            ASSERT_GE(wave.Pcm.Samples.size(), original.size());
            EXPECT_LT(RelativeError(wave.Pcm.Samples, original), 0.05);
            // The block headers carry exact samples.
            EXPECT_EQ(wave.Pcm.Samples[0], original[0]);
        }
    }
}

TEST(WaveFileTest, DamagedAdpcmDecodesAsFarAsItIsSound) {
    const std::vector<std::int16_t> original = Music(2000, 1);
    std::string file = AdpcmWave(2, original, 1, 22050, 256);
    // Block 3 names predictor 9 of 7: decoding ends before it.
    const std::size_t dataStart = file.find("data") + 8;
    file[dataStart + 2 * 256] = 9;
    const TWaveData wave = ReadWave(file);
    EXPECT_EQ(wave.Pcm.Samples.size(), 2u * 500u);
    // A short last block gives the samples it holds.
    const std::string imaFile = AdpcmWave(0x11, original, 1, 22050, 256);
    const TWaveData cut = ReadWave(MakeWave(imaFile.substr(20, 20), imaFile.substr(imaFile.find("data") + 8, 256 + 4 + 8)));
    EXPECT_EQ(cut.Pcm.Samples.size(), 505u + 1u + 16u);
}

// ---- Mixer ----------------------------------------------------------------------------------

std::shared_ptr<TPcmSamples> Constant(std::size_t frames, std::int16_t value, int rate = kMixRate) {
    auto data = std::make_shared<TPcmSamples>();
    data->Channels = 1;
    data->SampleRate = rate;
    data->Samples.assign(frames, value);
    return data;
}

TEST(AudioMixerTest, VolumeAndPanFollowTheDecibelScale) {
    auto mixer = std::make_shared<TAudioMixer>();
    TMixerVoice voice(mixer, Constant(44100, 10000));
    voice.Play(true);
    const double full = Rms(mixer->Render(4410), 0);
    voice.SetVolume(-600);
    const double reduced = Rms(mixer->Render(4410), 0);
    EXPECT_NEAR(reduced / full, 0.5, 0.005);
    voice.SetVolume(0);
    voice.SetPan(-3000);
    const auto panned = mixer->Render(4410);
    EXPECT_NEAR(20 * std::log10(Rms(panned, 1) / Rms(panned, 0)), -30.0, 0.1);
    EXPECT_NEAR(Rms(panned, 0), full, 1.0);
    voice.SetPan(3000);
    const auto right = mixer->Render(4410);
    EXPECT_NEAR(20 * std::log10(Rms(right, 0) / Rms(right, 1)), -30.0, 0.1);
    voice.SetVolume(-10000);
    EXPECT_EQ(Rms(mixer->Render(4410), 0), 0.0);
    EXPECT_TRUE(voice.IsPlaying());
}

TEST(AudioMixerTest, FrequencyResamplesAndNonLoopingVoicesEnd) {
    auto mixer = std::make_shared<TAudioMixer>();
    TMixerVoice voice(mixer, Constant(22050, 1000, 22050));
    voice.Play(false);
    std::size_t frames = 0;
    while (voice.IsPlaying() && frames < 200000) {
        mixer->Render(100);
        frames += 100;
    }
    EXPECT_NEAR(static_cast<double>(frames), 44100, 100);
    voice.SetFrequency(44100);
    voice.SetPosition(0);
    voice.Play(true);
    mixer->Render(22050 * 3 + 10);
    EXPECT_EQ(voice.LoopCount(), 3u);
    EXPECT_TRUE(voice.IsPlaying());
    EXPECT_EQ(mixer->VoiceCount(), 1u);
    {
        auto copy = voice.Duplicate();
        EXPECT_EQ(copy->Data(), voice.Data());
        EXPECT_FALSE(copy->IsPlaying());
        EXPECT_EQ(mixer->VoiceCount(), 2u);
    }
    EXPECT_EQ(mixer->VoiceCount(), 1u);
}

TEST(AudioUnitsTest, MapVolumeBalanceAndTempoToVoiceSettings) {
    EXPECT_EQ(VolumeToAttenuation(0, 100), -10000);
    EXPECT_EQ(VolumeToAttenuation(100, 0), -10000);
    EXPECT_EQ(VolumeToAttenuation(100, 100), 0);
    EXPECT_EQ(VolumeToAttenuation(1, 100), -3465);
    EXPECT_EQ(VolumeToAttenuation(50, 50), -2625);  // (2500 / 100) * 35 - 3500
    EXPECT_EQ(BalanceToPan(0), -3000);
    EXPECT_EQ(BalanceToPan(50), 0);
    EXPECT_EQ(BalanceToPan(100), 3000);
    EXPECT_EQ(TempoToFrequency(150, 22050), 33075);
    EXPECT_EQ(TempoToFrequency(10000, 44100), 100000);
    EXPECT_EQ(TempoToFrequency(1, 8000), 100);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(101, 50, 100), 51);
}

// ---- Wave buffers ---------------------------------------------------------------------------

class WaveBufferTest : public ::testing::Test {
protected:
    std::shared_ptr<TManualClock> mClock = std::make_shared<TManualClock>(5000);
    std::shared_ptr<TAudioMixer> mMixer = std::make_shared<TAudioMixer>();
    TWavePlayer mPlayer{mMixer, mClock};

    // Renders millis of mix, running the 50 ms timer as time goes.
    std::vector<std::int16_t> Run(int millis) {
        std::vector<std::int16_t> out;
        for (int done = 0; done < millis; done += 50) {
            mClock->Advance(50);
            mPlayer.Timer();
            const auto block = mMixer->Render(kMixRate / 20);
            out.insert(out.end(), block.begin(), block.end());
        }
        return out;
    }
};

TEST_F(WaveBufferTest, TempoSetsThePlaybackFrequency) {
    TWaveBuffer& buffer = mPlayer.Music();
    buffer.LoadFromMemory(MakePcm16Wave(std::vector<std::int16_t>(22050, 500), 1, 22050), "a.wav");
    buffer.Play(100, 200, false, 50);
    EXPECT_EQ(buffer.Voice(0)->Frequency(), 44100);
    int blocks = 0;
    while (buffer.IsPlaying() && blocks < 100) {
        Run(50);
        ++blocks;
    }
    EXPECT_EQ(blocks, 10);  // one second of sound at double speed: half a second
    buffer.Play(100, 100, false, 50);
    blocks = 0;
    while (buffer.IsPlaying() && blocks < 100) {
        Run(50);
        ++blocks;
    }
    EXPECT_EQ(blocks, 20);
    buffer.SetTempo(TWaveBuffer::kAllVoices, 150);
    EXPECT_EQ(buffer.Voice(3)->Frequency(), 33075);
}

TEST_F(WaveBufferTest, FadeInRisesOverItsDuration) {
    TWaveBuffer& buffer = mPlayer.Music();
    buffer.LoadFromMemory(MakePcm16Wave(std::vector<std::int16_t>(22050, 8000), 1, 22050), "a.wav");
    buffer.Play(100, 100, true, 50);
    buffer.FadeIn(1000);
    EXPECT_EQ(buffer.FadeLevel(0), 0);
    EXPECT_EQ(buffer.Voice(0)->Volume(), -10000);
    auto mix = Run(600);
    const int halfway = buffer.FadeLevel(0);
    EXPECT_EQ(halfway, 60);
    buffer.FadeIn(5000);  // ignored while the fade runs
    EXPECT_EQ(buffer.FadeLevel(0), halfway);
    const auto rest = Run(600);
    mix.insert(mix.end(), rest.begin(), rest.end());
    std::vector<double> levels;
    for (std::size_t block = 0; block < 24; ++block)
        levels.push_back(Rms(mix, 0, 2, block * 2205, 2205));
    for (std::size_t i = 1; i < levels.size(); ++i)
        EXPECT_GE(levels[i], levels[i - 1]);
    EXPECT_LT(levels[0], levels[10] / 2);
    EXPECT_NEAR(levels[23], 8000, 10);
    EXPECT_NEAR(levels[19], 8000, 10);  // full from one second on
    EXPECT_LT(levels[17], 7999);
    // A fade-out runs down to silence.
    buffer.FadeOut(500);
    Run(500);
    EXPECT_EQ(buffer.FadeLevel(2), 0);
    EXPECT_EQ(Rms(Run(100), 0), 0.0);
}

TEST_F(WaveBufferTest, ASoundOverlapsItselfUpToFourTimes) {
    TWaveBuffer& buffer = mPlayer.Music();
    buffer.LoadFromMemory(MakePcm16Wave(std::vector<std::int16_t>(22050, 1000), 1, 22050), "a.wav");
    std::vector<double> levels;
    for (int play = 0; play < 5; ++play) {
        EXPECT_EQ(buffer.NextVoice(), play % 4);
        buffer.Play(100, 100, false, 50);
        levels.push_back(Rms(Run(50), 0));
    }
    EXPECT_NEAR(levels[0], 1000, 2);
    EXPECT_NEAR(levels[1], 2000, 4);
    EXPECT_NEAR(levels[3], 4000, 8);
    EXPECT_NEAR(levels[4], 4000, 8);  // the fifth play restarted the oldest voice
    EXPECT_LT(buffer.Voice(0)->Position(), buffer.Voice(3)->Position());
    buffer.Stop();
    EXPECT_FALSE(buffer.IsPlaying());
}

TEST_F(WaveBufferTest, VolumeAndBalanceReachTheVoices) {
    TWaveBuffer& buffer = mPlayer.Music();
    buffer.LoadFromMemory(MakePcm16Wave(std::vector<std::int16_t>(22050, 1000), 1, 22050), "a.wav");
    buffer.Play(0, 100, true, 0);
    EXPECT_EQ(buffer.Voice(0)->Volume(), -10000);
    EXPECT_EQ(buffer.Voice(0)->Pan(), -3000);
    buffer.SetVolume(TWaveBuffer::kAllVoices, 1);
    buffer.SetBalance(1, 100);
    EXPECT_EQ(buffer.Voice(0)->Volume(), -3465);
    EXPECT_EQ(buffer.Voice(1)->Volume(), -3465);
    EXPECT_EQ(buffer.Voice(0)->Pan(), -3000);
    EXPECT_EQ(buffer.Voice(1)->Pan(), 3000);
    buffer.Unload();
    EXPECT_FALSE(buffer.Loaded());
    EXPECT_EQ(buffer.FileName(), "");
    buffer.Play(100, 100, false, 50);  // nothing loaded: nothing happens
    EXPECT_FALSE(buffer.IsPlaying());
}

TEST_F(WaveBufferTest, SoundCountGrowsAndShrinks) {
    mPlayer.SetSoundCount(16);
    EXPECT_EQ(mPlayer.SoundCount(), 16);
    mPlayer.Sounds(3).LoadFromMemory(MakePcm16Wave({1, 2}, 1, 22050), "x.wav");
    mPlayer.SetSoundCount(4);
    EXPECT_EQ(mPlayer.SoundCount(), 4);
    EXPECT_EQ(mPlayer.Sounds(3).FileName(), "x.wav");
    mPlayer.SetSoundCount(2);
    EXPECT_THROW(mPlayer.Sounds(3), std::out_of_range);
    EXPECT_THROW(TWavePlayer(nullptr, mClock), EDirectSoundError);
}

}  // namespace
}  // namespace quillon::audio
