// The game's menu: opening it and drawing its first frame, and a step and drawing of the item list
// with 5,000 items defined and all of them in the bag (the cursor moving and scrolling). Target:
// under 2 ms a frame each; the reference, measured in the same run, is a memcpy of a 800 x 600
// board.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "graphics/OrlenSheet.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "tools/lib/StarterDataBase.h"

#include "BenchKit.h"
#include "PlayerBenchKit.h"

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
        const std::string root = benchkit::FreshFolder("quillon-bench-player-menu");
        benchkit::WriteRuntimePackage(root);
        TKelDataBase database;
        MakeStarterDataBase(database);
        for (int id = database.Item.Count() + 1; id <= kItems; ++id) {
            TKelItemItem& item = database.Item.Obtain(id);
            item.Name = "Item " + std::to_string(id);
            item.Description = "A thing among many.";
            item.Kind = static_cast<std::uint8_t>(id % 11);
        }
        TKelMap map;
        map.SetWidth(20);
        map.SetHeight(15);
        benchkit::WriteGameProject(root, database, &map, 10, 7);
        return root;
    }();
    return folder;
}

std::unique_ptr<TGame> OpenGame(benchmark::State& state, IGameAudio& audio) {
    TGameOptions options;
    options.ProjectDir = MenuProject();
    options.RtpDir = MenuProject();
    options.ShowTitle = false;
    auto game = benchkit::OpenGame(state, options, audio);
    if (!game)
        return nullptr;
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
    TGameInput input;
    for (const std::uint32_t key : opening) {
        input = input.Next(key);
        game->Step(input);
    }
    if (opening.size() > 0 && game->Session().SceneName() != "menu")
        state.SkipWithError("the menu did not open");
    benchkit::MeasureGameFrames(state, *game, input, steps,
                                2, [&](std::int64_t, const TGameInput& held) { return keys(held); });
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
