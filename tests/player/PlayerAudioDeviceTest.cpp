// The sound device under the mixer: SDL's file-writing audio driver stands in for a sound card,
// so what the callback pulls from the mixer can be read back; without a usable driver the device
// is silent and says why.
#include "player/PlayerAudioDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace quillon::player {
namespace {

namespace fs = std::filesystem;

std::shared_ptr<audio::TAudioMixer> Mixer() { return std::make_shared<audio::TAudioMixer>(); }

TEST(PlayerAudioDevice, NoUsableDriverMeansASilentOutput) {
    for (const char* driver : {"dummy", "no-such-driver"}) {
        ::setenv("SDL_AUDIODRIVER", driver, 1);
        {
            TPlayerAudioDevice device(Mixer());
            EXPECT_FALSE(device.HasDevice()) << driver;
            EXPECT_FALSE(device.Problem().empty()) << driver;
        }
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the audio subsystem is released";
    }
    ::unsetenv("SDL_AUDIODRIVER");
}

TEST(PlayerAudioDevice, TheCallbackPullsTheMixIntoTheDevice) {
    const fs::path file = fs::temp_directory_path() / ("quillon-player-audio-" + std::to_string(::getpid()) + ".raw");
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", "1", 1);
    std::shared_ptr<audio::TAudioMixer> mixer = Mixer();
    auto samples = std::make_shared<audio::TPcmSamples>();
    samples->Channels = 1;
    samples->SampleRate = mixer->OutputRate();
    samples->Samples.assign(4096, 12000);
    audio::TMixerVoice voice(mixer, samples);
    voice.Play(true);
    {
        TPlayerAudioDevice device(mixer);
        ASSERT_TRUE(device.HasDevice()) << device.Problem();
        // Wait (bounded) until the driver has written a few blocks.
        std::error_code error;
        for (int i = 0; i < 500 && fs::file_size(file, error) < 16384; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(file, std::ios::binary);
    std::vector<std::int16_t> written(fs::file_size(file) / 2);
    in.read(reinterpret_cast<char*>(written.data()), static_cast<std::streamsize>(written.size() * 2));
    // The driver's thread may write silence while the device is still paused; the mix follows it.
    const auto first = std::find_if(written.begin(), written.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_GE(written.end() - first, 4096) << "the driver wrote too little of the mix";
    // The looping voice at full volume, centred: every sample of both channels is its value.
    EXPECT_EQ(std::count(first, first + 4096, std::int16_t(12000)), 4096);
    fs::remove(file);
    for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"})
        ::unsetenv(name);
}

}  // namespace
}  // namespace quillon::player
