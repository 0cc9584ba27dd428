// Audio preview costs as multiples of real time on one core (counter x_realtime: seconds of
// audio made per second of processor time; 20x real time is 5 % of one core). Parsing is
// measured against the length of the song it parses.
#include "audio/AudioHarmony.h"
#include "audio/AudioRender.h"
#include "audio/FluidSynthOut.h"
#include "audio/MidiPlay.h"
#include "platform/FileUtils.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

using namespace quillon::audio;

// The largest MIDI file that Debian's music packages installed.
std::string LargestMidiFile() {
    std::string best;
    std::uintmax_t bestSize = 0;
    for (const char* folder : {"/usr/share/planetblupi/music", "/usr/share/games/openttd/baseset/openmsx"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".mid")
                continue;
            const std::uintmax_t size = entry.file_size(error);
            if (size > bestSize) {
                bestSize = size;
                best = entry.path().string();
            }
        }
    }
    return best;
}

class TNullOut final : public IMidiOut {
public:
    void SendShort(std::uint32_t) override {}
    void SendLong(std::string_view) override {}
    void Reset() override {}
};

void BM_ParseLargestMidiFile(benchmark::State& state) {
    const std::string file = LargestMidiFile();
    if (file.empty()) {
        state.SkipWithError("no MIDI files installed (planetblupi-music-midi, openttd-openmsx)");
        return;
    }
    const std::string bytes = quillon::ReadWholeFile(file);
    TMidiPlayerSetup setup;
    setup.Out = std::make_unique<TNullOut>();
    setup.RunTimer = false;
    TMidiPlayer player(std::move(setup));
    for (auto _ : state)
        player.LoadFromMemory(bytes, file);
    // The song's length in seconds at its first tempo.
    std::int64_t tempo = 500000;
    for (std::size_t i = 0; i < player.EventCount(); ++i)
        if (player.Event(i).IsSetTempo()) {
            tempo = player.Event(i).Tempo;
            break;
        }
    const double songSeconds = static_cast<double>(player.SongLength()) * tempo / std::max(1, player.Division()) / 1e6;
    state.counters["events"] = static_cast<double>(player.EventCount());
    state.counters["x_realtime"] = benchmark::Counter(songSeconds, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(std::filesystem::path(file).filename().string());
}
BENCHMARK(BM_ParseLargestMidiFile)->Unit(benchmark::kMillisecond);

std::shared_ptr<TPcmSamples> Tone(int rate, double hz, int channels) {
    auto data = std::make_shared<TPcmSamples>();
    data->Channels = channels;
    data->SampleRate = rate;
    for (int i = 0; i < rate; ++i)
        for (int c = 0; c < channels; ++c)
            data->Samples.push_back(static_cast<std::int16_t>(3000 * std::sin(2 * M_PI * hz * i / rate)));
    return data;
}

// 16 looping voices at assorted rates, volumes and pans.
std::vector<std::unique_ptr<TMixerVoice>> SixteenVoices(const std::shared_ptr<TAudioMixer>& mixer) {
    std::vector<std::unique_ptr<TMixerVoice>> voices;
    for (int i = 0; i < 16; ++i) {
        auto voice = std::make_unique<TMixerVoice>(mixer, Tone(i % 2 ? 22050 : 44100, 220.0 + 40 * i, 1 + i % 2));
        voice->SetVolume(-100 * i);
        voice->SetPan(-3000 + 400 * i);
        voice->SetFrequency(voice->Data()->SampleRate * (80 + 3 * i) / 100);
        voice->Play(true);
        voices.push_back(std::move(voice));
    }
    return voices;
}

constexpr std::size_t kBlockFrames = kMixRate / 10;  // 100 ms

void BM_MixSixteenVoices(benchmark::State& state) {
    auto mixer = std::make_shared<TAudioMixer>();
    auto voices = SixteenVoices(mixer);
    std::vector<std::int16_t> out(kBlockFrames * 2);
    for (auto _ : state) {
        mixer->Render(out.data(), kBlockFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(0.1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MixSixteenVoices)->Unit(benchmark::kMicrosecond);

// The MIDI song through the player and the synthesizer, with or without 16 wave voices.
void RenderSong(benchmark::State& state, bool withVoices) {
    const std::string file = LargestMidiFile();
    if (file.empty() || FindGeneralMidiSoundFont().empty()) {
        state.SkipWithError("needs installed MIDI files and timgm6mb-soundfont");
        return;
    }
    auto clock = std::make_shared<TManualClock>();
    TAudioHarmony front(OfflineAudioServices(clock));
    front.OpenMidi();
    front.PlayMusic(file);
    auto voices = withVoices ? SixteenVoices(front.Mixer()) : std::vector<std::unique_ptr<TMixerVoice>>{};
    TOfflineRenderer renderer(front, clock);
    std::vector<std::int16_t> out;
    out.reserve(kBlockFrames * 2 + 16);
    renderer.Render(1000, out);  // past the start stages
    for (auto _ : state) {
        out.clear();
        renderer.Render(100, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(0.1, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MidiSongThroughSynthesizer(benchmark::State& state) { RenderSong(state, false); }
BENCHMARK(BM_MidiSongThroughSynthesizer)->Unit(benchmark::kMillisecond);

void BM_MidiSongAndSixteenVoices(benchmark::State& state) { RenderSong(state, true); }
BENCHMARK(BM_MidiSongAndSixteenVoices)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
