// Real MIDI and wave files that Debian packages install, and ADPCM files written by an
// independent encoder. Skipped when the packages are not there.
#include "AudioTestSupport.h"

#include "audio/MidiPlay.h"
#include "audio/WaveFile.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace quillon::audio {
namespace {

std::vector<std::string> FilesIn(const std::vector<std::string>& folders, const std::string& extension) {
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.path().extension() == extension)
                files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(RealFilesTest, DebianMidiFilesParseAndPlay) {
    const auto files = FilesIn({"/usr/share/planetblupi/music", "/usr/share/games/openttd/baseset/openmsx"}, ".mid");
    if (files.empty())
        GTEST_SKIP() << "install planetblupi-music-midi or openttd-openmsx";
    auto clock = std::make_shared<TManualClock>();
    auto sent = std::make_shared<std::vector<test::TSent>>();
    TMidiPlayerSetup setup;
    setup.Out = std::make_unique<test::TRecordingOut>(sent, clock);
    setup.Clock = clock;
    setup.RunTimer = false;
    TMidiPlayer player(std::move(setup));
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        player.LoadFromFile(file);
        EXPECT_GT(player.EventCount(), 10u);
        EXPECT_GT(player.SongLength(), 0u);
        player.Play();
        sent->clear();
        for (int i = 0; i < 3000; ++i) {
            clock->Advance(1);
            player.TimerStep();
        }
        const auto notes = std::count_if(sent->begin(), sent->end(),
                                         [](const test::TSent& s) { return (s.Message & 0xF0) == 0x90; });
        EXPECT_GT(notes, 0);
    }
}

TEST(RealFilesTest, DebianWaveFilesRead) {
    const auto files = FilesIn({"/usr/share/sounds/alsa"}, ".wav");
    if (files.empty())
        GTEST_SKIP() << "install alsa-utils";
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const TWaveData wave = ReadWave(ReadWholeFile(file));
        EXPECT_GT(wave.Pcm.Frames(), 1000u);
        EXPECT_EQ(wave.Pcm.SampleRate, static_cast<int>(wave.SourceFormat.SamplesPerSec));
    }
}

// Our decoding of ADPCM files that sox wrote matches sox's own decoding of them. sox runs
// without dithering and with its fixed random seed (-D, -R), so that every run compares the
// same samples.
TEST(RealFilesTest, AdpcmFromAnIndependentEncoderDecodesAsItsEncoderDecodesIt) {
    if (std::system("command -v sox >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "install sox";
    test::TTempFolder folder;
    std::vector<std::int16_t> stereo;
    const auto a = test::Sine(20000, 440, 22050, 12000);
    const auto b = test::Sine(20000, 97, 22050, 7000);
    for (std::size_t i = 0; i < a.size(); ++i) {
        stereo.push_back(static_cast<std::int16_t>(a[i] + b[i] / 2));
        stereo.push_back(static_cast<std::int16_t>(b[i] - a[i] / 3));
    }
    const std::string source = folder.Write("source.wav", test::MakePcm16Wave(stereo, 2, 22050));
    for (const std::string encoding : {"ms-adpcm", "ima-adpcm"}) {
        for (const std::string channels : {"1", "2"}) {
            SCOPED_TRACE(encoding + " " + channels);
            const std::string coded = folder.Path(encoding + channels + ".wav");
            const std::string decoded = folder.Path(encoding + channels + "-pcm.wav");
            const std::string encode = "sox -q -R -D " + source + " -c " + channels + " -e " + encoding + " " + coded;
            const std::string decode = "sox -q -R -D " + coded + " -e signed-integer -b 16 " + decoded;
            ASSERT_EQ(std::system(encode.c_str()), 0);
            ASSERT_EQ(std::system(decode.c_str()), 0);
            const TWaveData ours = ReadWave(ReadWholeFile(coded));
            const TWaveData theirs = ReadWave(ReadWholeFile(decoded));
            EXPECT_EQ(ours.Pcm.Channels, theirs.Pcm.Channels);
            ASSERT_GE(ours.Pcm.Samples.size(), theirs.Pcm.Samples.size());
            // IMA ADPCM decodes bit for bit. Microsoft ADPCM decoders differ in how they round a
            // negative prediction (truncating, as here, or flooring), which may drift a few steps.
            const int tolerance = encoding == "ima-adpcm" ? 0 : 64;
            double error = 0, signal = 0;
            std::size_t differing = 0;
            for (std::size_t i = 0; i < theirs.Pcm.Samples.size(); ++i) {
                const int d = ours.Pcm.Samples[i] - theirs.Pcm.Samples[i];
                error += static_cast<double>(d) * d;
                signal += static_cast<double>(theirs.Pcm.Samples[i]) * theirs.Pcm.Samples[i];
                if (std::abs(d) > tolerance && differing++ < 5)
                    ADD_FAILURE() << "sample " << i << ": " << ours.Pcm.Samples[i] << " against "
                                  << theirs.Pcm.Samples[i];
            }
            EXPECT_EQ(differing, 0u);
            EXPECT_LT(std::sqrt(error / signal), 0.002);
        }
    }
}

}  // namespace
}  // namespace quillon::audio
