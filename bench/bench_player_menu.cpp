// The game's menu: opening it and drawing its first frame, and a step and drawing of the item list
// with 5,000 items defined and all of them in the bag (the cursor moving and scrolling). Target:
// under 2 ms a frame each; the reference, measured in the same run, is a memcpy of a 800 x 600
// board.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "graphics/OrlenSheet.h"
#include "platform/FileUtils.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
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

constexpr int kItems = 5000;

// A project of the starter database with 5,000 items and one small map, with its run-time package.
const std::string& MenuProject() {
    static const std::string folder = [] {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / "quillon-bench-player-menu";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        const std::string root = path.string() + "/";
        for (const char* kind : {"CharSet", "ChipSet", "FaceSet", "GameOver", "Panorama", "System", "Title",
                                 "Backdrop", "Battle", "Monster", "Picture"})
            std::filesystem::create_directories(root + kind);
        WriteRtpImages(root);
        TKelDataBase database;
        MakeStarterDataBase(database);
        for (int id = database.Item.Count() + 1; id <= kItems; ++id) {
            TKelItemItem& item = database.Item.Obtain(id);
            item.Name = "Item " + std::to_string(id);
            item.Description = "A thing among many.";
            item.Kind = static_cast<std::uint8_t>(id % 11);
        }
        database.SaveToFile(root + TKelDataBase::kFileName);
        TKelMap map;
        map.SetWidth(20);
        map.SetHeight(15);
        map.SaveToFile(root + MapFileName(1));
        TKelMapTree tree;
        tree.AddItem(0, 0);
        tree.AddItem(0, 1).Kind = TKelMapTreeItem::mkMap;
        tree.StartPosition.PartyMapId = 1;
        tree.StartPosition.PartyX = 10;
        tree.StartPosition.PartyY = 7;
        TMemoryStream stream;
        tree.SaveTreeToStream(stream);
        WriteFileAtomic(root + TKelMapTree::kFileName, stream.Bytes());
        return root;
    }();
    return folder;
}

std::unique_ptr<TGame> OpenGame(benchmark::State& state, IGameAudio& audio) {
    TGameOptions options;
    options.ProjectDir = MenuProject();
    options.RtpDir = MenuProject();
    options.ShowTitle = false;
    std::string error;
    auto game = TGame::Open(options, audio, error);
    if (!game) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    for (int id = 1; id <= kItems; ++id)
        game->Session().State().SetItemCount(id, id % 99 + 1);
    return game;
}

// Seconds of one step and drawing, the step's keys from keys(input), after the opening keys.
template <class TKeys>
void MeasureFrames(benchmark::State& state, std::initializer_list<std::uint32_t> opening, int steps, TKeys keys) {
    TRecordingGameAudio audio;
    auto game = OpenGame(state, audio);
    if (!game)
        return;
    TOrlenBoard screen;
    TGameInput input;
    for (const std::uint32_t key : opening) {
        input = input.Next(key);
        game->Step(input);
    }
    if (opening.size() > 0 && game->Session().SceneName() != "menu")
        state.SkipWithError("the menu did not open");
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::SecondsPerCall(steps, [&] {
            input = input.Next(keys(input));
            game->Step(input);
            game->Draw(screen);
            benchmark::DoNotOptimize(screen.Bits());
        });
    }
    benchkit::ReportRatio(state, seconds, benchkit::MemcpySeconds(), 2);
}

void BM_OpenMenu(benchmark::State& state) {
    // Cancel opens the menu in one step, the next press of cancel closes it again.
    MeasureFrames(state, {}, 200, [](const TGameInput& input) { return input.Held(gbCancel) ? 0u : std::uint32_t{gbCancel}; });
}
BENCHMARK(BM_OpenMenu)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ItemListOf5000(benchmark::State& state) {
    // The menu, then Item; the cursor held down repeats down the list.
    MeasureFrames(state, {gbCancel, 0, gbDecide, 0}, 400, [](const TGameInput&) { return std::uint32_t{gbDown}; });
}
BENCHMARK(BM_ItemListOf5000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
