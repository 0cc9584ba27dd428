// Saving and the save list: saving a game with 5,000 switches and 5,000 variables on a map with
// 500 events (target: under 20 ms), and a frame of the save screen over 15 such saves, logic and
// drawing (target: under 2 ms), and opening that screen. Each reports its CPU time against a
// memcpy of a 800 x 600 board measured in the same run.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "graphics/OrlenSheet.h"
#include "platform/FileUtils.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSave.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "tools/lib/RtpImages.h"
#include "tools/lib/StarterDataBase.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace quillon;
using namespace quillon::runtime;

namespace {

constexpr int kStateCount = 5000;
constexpr int kEvents = 500;

std::string MakeFolder(const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string() + "/";
}

// A project with the starter database and run-time package, one 100 x 100 map with 500 events.
const std::string& Project() {
    static const std::string folder = [] {
        const std::string path = MakeFolder("quillon-bench-save");
        for (const char* kind : {"CharSet", "ChipSet", "FaceSet", "GameOver", "Panorama", "System", "Title", "Backdrop",
                                 "Battle", "Monster", "Picture"})
            std::filesystem::create_directories(path + kind);
        WriteRtpImages(path);
        TKelDataBase database;
        MakeStarterDataBase(database);
        database.SaveToFile(path + TKelDataBase::kFileName);
        TKelMap map;
        map.SetWidth(100);
        map.SetHeight(100);
        for (int i = 0; i < kEvents; ++i) {
            TKelEventItem& event = map.Events.Obtain(i + 1);
            event.X = i % 100;
            event.Y = i / 100 * 7;
            TKelEventPageItem& page = event.Pages.Obtain(1);
            page.GraphicName = "People";
            page.MoveType = 1;
        }
        map.SaveToFile(path + MapFileName(1));
        TKelMapTree tree;
        tree.AddItem(0, 0);
        tree.AddItem(0, 1).Kind = TKelMapTreeItem::mkMap;
        tree.StartPosition.PartyMapId = 1;
        tree.StartPosition.PartyX = 50;
        tree.StartPosition.PartyY = 50;
        TMemoryStream stream;
        tree.SaveTreeToStream(stream);
        WriteFileAtomic(path + TKelMapTree::kFileName, stream.Bytes());
        return path;
    }();
    return folder;
}

// A game of that project with every switch and variable up to 5,000 set.
std::unique_ptr<TGame> OpenGame(benchmark::State& state, IGameAudio& audio) {
    TGameOptions options;
    options.ProjectDir = Project();
    options.RtpDir = Project();
    options.ShowTitle = false;
    std::string error;
    auto game = TGame::Open(options, audio, error);
    if (!game) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    TGameState& gameState = game->Session().State();
    for (int id = 1; id <= kStateCount; ++id) {
        gameState.SetSwitch(id, id % 2 == 0);
        gameState.SetVariable(id, id * 1000 - 7);
    }
    return game;
}

void BM_SaveAGameOf5000SwitchesAndVariables(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenGame(state, audio);
    if (!game)
        return;
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::SecondsPerCall(20, [&] {
            std::string error;
            if (!game->Session().SaveGame(1, error))
                state.SkipWithError(error.c_str());
        });
    }
    state.counters["bytes"] = static_cast<double>(ReadWholeFile(Project() + SaveFileName(1)).size());
    benchkit::ReportRatio(state, seconds, benchkit::MemcpySeconds(), 20);
}
BENCHMARK(BM_SaveAGameOf5000SwitchesAndVariables)->Iterations(1)->Unit(benchmark::kMillisecond);

// The save screen over fifteen saves: opening it, and one frame of it (a step and the drawing).
void BM_SaveListOf15Saves(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenGame(state, audio);
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
