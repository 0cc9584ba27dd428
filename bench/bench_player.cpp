// The game runtime: the start of a game on a 500 x 500 map with 2,000 events until its first
// frame is drawn (with the process's peak memory), one step and drawing of that map with every
// event moving, and a headless minute of game (3,600 steps) on the sample project. Each reports
// its time against a reference measured in the same run: reading the same map unit alone, a
// memcpy of a 800 x 600 board, and 3,600 such memcpys. Saving and the save list (below) measure
// against the memcpy too.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
#include "runtime/GameScreen.h"
#include "runtime/GameWorld.h"
#include "runtime/GameSave.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "tools/lib/SampleProject.h"
#include "tools/lib/StarterDataBase.h"

#include "BenchKit.h"
#include "PlayerBenchKit.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <random>

using namespace quillon;
using namespace quillon::runtime;

namespace {

constexpr int kMapSide = 500;
constexpr int kEvents = 2000;

const std::string& RtpFolder() {
    static const std::string folder = [] {
        const std::string path = benchkit::FreshFolder("quillon-bench-player-rtp");
        benchkit::WriteRuntimePackage(path);
        return path;
    }();
    return folder;
}

// A project whose map 1 is side x side with `events` wandering events; the party starts in its middle.
std::string MakeMapProject(const std::string& name, int side, int events) {
    const std::string path = benchkit::FreshFolder(name);
    TKelDataBase database;
    MakeStarterDataBase(database);
    TKelMap map;
    map.SetWidth(side);
    map.SetHeight(side);
    std::mt19937 random(5);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            map.LowerLayer.SetCell(x, y, benchkit::RandomLowerTile(random));
            map.UpperLayer.SetCell(x, y, benchkit::RandomUpperTile(random));
        }
    for (int i = 0; i < events; ++i) {
        TKelEventItem& event = map.Events.Obtain(i + 1);
        // Most of them near the start, so that many are on the screen.
        const int spread = i < events / 4 ? 24 : side;
        event.X = static_cast<std::int32_t>((side / 2 - spread / 2 + random() % spread + side) % side);
        event.Y = static_cast<std::int32_t>((side / 2 - spread / 2 + random() % spread + side) % side);
        TKelEventPageItem& page = event.Pages.Obtain(1);
        page.GraphicName = "People";
        page.GraphicIndex = i % 8;
        page.Priority = 1;
        page.MoveType = 1;
        page.MoveFrequency = 8;
        page.MoveSpeed = 4;
        page.AnimationType = 1;
        // Every event passes: the bench measures the moving, not the blocking.
    }
    benchkit::WriteGameProject(path, database, &map, side / 2, side / 2);
    return path;
}

const std::string& LargeProject() {
    static const std::string folder = MakeMapProject("quillon-bench-player-large", kMapSide, kEvents);
    return folder;
}

TGameOptions Options(const std::string& project) {
    TGameOptions options;
    options.ProjectDir = project;
    options.RtpDir = RtpFolder();
    options.ShowTitle = false;
    return options;
}

// A game of the project at its start; null (the bench skipped) when it cannot start.
std::unique_ptr<TGame> OpenGame(benchmark::State& state, const std::string& project, IGameAudio& audio) {
    return benchkit::OpenGame(state, Options(project), audio);
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_StartToFirstFrame(benchmark::State& state) {
    const std::string project = LargeProject();
    (void)RtpFolder();
    // The reference: reading the same map unit alone.
    const double reference = benchkit::SecondsPerCall(3, [&] {
        const std::string bytes = ReadWholeFile(project + MapFileName(1));
        TByteViewStream stream(bytes);
        ReadSignature(stream, TKelMap::kSignature);
        TKelMap map;
        map.LoadFromStream(stream);
        benchmark::DoNotOptimize(map.Width());
    });
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::BestSeconds(
            [&] {
                TRecordingGameAudio audio;
                auto game = OpenGame(state, project, audio);
                if (!game)
                    return;
                TOrlenBoard screen;
                game->Draw(screen);
                benchmark::DoNotOptimize(screen.Bits());
            },
            3);
    }
    benchkit::ReportRatio(state, seconds, reference, 300);
    state.counters["peak_mb"] = PeakMegabytes();
    state.counters["target_peak_mb"] = 100;
}
BENCHMARK(BM_StartToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FrameWithEveryEventMoving(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenGame(state, LargeProject(), audio);
    if (!game)
        return;
    TGameInput input;
    // Let every event get going first.
    for (int i = 0; i < 60; ++i)
        game->Step(input);
    // The hero walks a square while the events wander.
    benchkit::MeasureGameFrames(state, *game, input, 200, 2, [](std::int64_t frame, const TGameInput&) {
        static constexpr std::uint32_t kWalk[4] = {gbRight, gbDown, gbLeft, gbUp};
        return kWalk[(frame / 64) % 4];
    });
}
BENCHMARK(BM_FrameWithEveryEventMoving)->Iterations(1)->Unit(benchmark::kMillisecond);

// A 40 x 40 map without events, with a 64 x 64 picture of 255 colours.
// "Picture/BenchPicture.png" of a project: 64 x 64, 256 colours.
void WriteBenchPicture(const std::string& path) {
    TBitmap picture(64, 64, TPixelFormat::pf8bit);
    for (int i = 0; i < 256; ++i)
        picture.Palette()[static_cast<std::size_t>(i)] =
            TPaletteEntry{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7), 0};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.ScanLine(y)[x] = static_cast<std::uint8_t>((x * 4 + y) % 256);
    std::filesystem::create_directories(path + "Picture");
    SavePicture(picture, path + "Picture/BenchPicture.png");
}

// All 50 pictures shown, rotating or rippling.
void ShowBenchPictures(TGameScreen& screen) {
    for (int number = 1; number <= kPictureCount; ++number) {
        TPictureValues values;
        values.X = (number % 10) * 32 + 16;
        values.Y = (number / 10) * 48 + 24;
        values.Magnification = 100 + number * 2;
        values.Transparency = number % 3 * 20;
        values.Red = 80 + number;
        screen.Pictures().Show(number, "BenchPicture", values, number % 2 == 0, true,
                               number % 2 ? peRotation : peRipple, 1 + number % 9, 0, 0);
    }
}

const std::string& ScreenProject() {
    static const std::string folder = [] {
        const std::string path = MakeMapProject("quillon-bench-player-screen", 40, 0);
        WriteBenchPicture(path);
        return path;
    }();
    return folder;
}

// The screen at its busiest: 50 pictures rotating or rippling, the strongest rain and a tone change
// running, over a map; one logic step and one drawn frame.
void BM_FrameWithEveryScreenEffect(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenGame(state, ScreenProject(), audio);
    if (!game)
        return;
    TGameScreen& screen = game->Session().Screen();
    ShowBenchPictures(screen);
    screen.Weather().Set(wkRain, 2);
    // A tone that never settles: a new change every second.
    benchkit::MeasureGameFrames(state, *game, TGameInput(), 200, 4, [&](std::int64_t frame, const TGameInput&) {
        if (frame % 60 == 0) {
            const bool warm = frame % 120 == 0;
            screen.SetTone(TScreenTone{warm ? 160 : 60, 90, 120, warm ? 40 : 150}, 60);
        }
        return 0u;
    });
}
BENCHMARK(BM_FrameWithEveryScreenEffect)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HeadlessMinuteOfSample(benchmark::State& state) {
    static const std::string project = [] {
        const std::string path = benchkit::FreshFolder("quillon-bench-player-sample");
        MakeSampleProject(path);
        return path;
    }();
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::BestSeconds(
            [&] {
                TRecordingGameAudio audio;
                auto game = OpenGame(state, project, audio);
                if (!game)
                    return;
                TGameInput input;
                for (int frame = 0; frame < 3600; ++frame) {
                    static constexpr std::uint32_t kKeys[6] = {gbRight, gbDown, gbDecide, gbLeft, gbUp, 0};
                    input = input.Next(kKeys[(frame / 40) % 6]);
                    game->Step(input);
                }
                benchmark::DoNotOptimize(game->Frame());
            },
            2);
    }
    benchkit::ReportRatio(state, seconds, 3600 * benchkit::MemcpySeconds(), 3000);
}
BENCHMARK(BM_HeadlessMinuteOfSample)->Iterations(1)->Unit(benchmark::kMillisecond);

// Saving: a game with 5,000 switches and 5,000 variables on a map with 500 events (target:
// under 20 ms), and a frame of the save screen over 15 such saves, logic and drawing (target:
// under 2 ms), with the opening of that screen.
constexpr int kStateCount = 5000;
constexpr int kSaveBenchEvents = 500;

// A project with the starter database, one 100 x 100 map with 500 events.
const std::string& SaveProject() {
    static const std::string folder = [] {
        const std::string path = benchkit::FreshFolder("quillon-bench-save");
        WriteBenchPicture(path);
        TKelDataBase database;
        MakeStarterDataBase(database);
        TKelMap map;
        map.SetWidth(100);
        map.SetHeight(100);
        for (int i = 0; i < kSaveBenchEvents; ++i) {
            TKelEventItem& event = map.Events.Obtain(i + 1);
            event.X = i % 100;
            event.Y = i / 100 * 7;
            TKelEventPageItem& page = event.Pages.Obtain(1);
            page.GraphicName = "People";
            page.MoveType = 1;
        }
        benchkit::WriteGameProject(path, database, &map, 50, 50);
        return path;
    }();
    return folder;
}

// A game of that project with every switch and variable up to 5,000 set.
std::unique_ptr<TGame> OpenSaveGame(benchmark::State& state, IGameAudio& audio) {
    auto game = OpenGame(state, SaveProject(), audio);
    if (!game)
        return nullptr;
    TGameState& gameState = game->Session().State();
    for (int id = 1; id <= kStateCount; ++id) {
        gameState.SetSwitch(id, id % 2 == 0);
        gameState.SetVariable(id, id * 1000 - 7);
    }
    return game;
}

// 5,000 switches and variables and the 50 pictures.
void BM_SaveAGameOf5000SwitchesAndVariables(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenSaveGame(state, audio);
    if (!game)
        return;
    ShowBenchPictures(game->Session().Screen());
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::SecondsPerCall(20, [&] {
            std::string error;
            if (!game->Session().SaveGame(1, error))
                state.SkipWithError(error.c_str());
        });
    }
    state.counters["bytes"] = static_cast<double>(ReadWholeFile(SaveProject() + SaveFileName(1)).size());
    benchkit::ReportRatio(state, seconds, benchkit::MemcpySeconds(), 20);
}
BENCHMARK(BM_SaveAGameOf5000SwitchesAndVariables)->Iterations(1)->Unit(benchmark::kMillisecond);

// The save screen over fifteen saves: opening it, and one frame of it (a step and the drawing).
void BM_SaveListOf15Saves(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenSaveGame(state, audio);
    if (!game)
        return;
    TGameSession& session = game->Session();
    for (int slot = 1; slot <= kSaveSlots; ++slot) {
        std::string error;
        if (!session.SaveGame(slot, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    const double open = benchkit::SecondsPerCall(5, [&] { session.OpenSaveScreen(); });
    TOrlenBoard screen;
    TGameInput input;
    int frame = 0;
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::SecondsPerCall(200, [&] {
            // The cursor runs down the list and round again.
            input = input.Next(frame++ % 8 == 0 ? static_cast<std::uint32_t>(gbDown) : 0u);
            game->Step(input);
            game->Draw(screen);
            benchmark::DoNotOptimize(screen.Bits());
        });
    }
    state.counters["open_ms"] = open * 1e3;
    benchkit::ReportRatio(state, seconds, benchkit::MemcpySeconds(), 2);
}
BENCHMARK(BM_SaveListOf15Saves)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
