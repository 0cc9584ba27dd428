// Map drawing: maps drawn whole at every zoom (a 500 × 500 map at 1/8 makes a 2000 × 2000 board,
// smaller maps the same at the other zooms) and the 800 × 600 window
// of a map at 1/1, the way the map viewer repaints: lower layer, upper layer, event marks. Each
// reports milliseconds per picture, destination pixels per second and its time as a ratio to a
// memcpy of the same number of destination bytes in the same run.
#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

using namespace quillon;

namespace {

using benchkit::CpuSeconds;
using benchkit::SecondsPerCall;

std::string ChipSetFolder() {
    static const std::string folder = benchkit::ChipSetFolder("quillon-bench-maprender");
    return folder;
}

// A map whose lower layer mixes water, animated tiles, autotiles and plain tiles, with upper tiles
// on a quarter of the cells and an event every 50 cells.
std::unique_ptr<TKelMap> MakeMap(int width, int height) {
    auto map = std::make_unique<TKelMap>();
    map->SetWidth(width);
    map->SetHeight(height);
    map->ID = 1;
    std::mt19937 random(11);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint16_t lower = benchkit::RandomLowerTile(random);
            map->LowerLayer.SetCell(x, y, lower);
            map->UpperLayer.SetCell(x, y, benchkit::RandomUpperTile(random));
        }
    for (int i = 0; i < width * height / 50; ++i) {
        TKelEventItem& event = map->Events.Obtain(i + 1);
        event.X = static_cast<std::int32_t>(random() % width);
        event.Y = static_cast<std::int32_t>(random() % height);
        event.Pages.Obtain(1).GraphicIndex = 5;
    }
    return map;
}

void Run(benchmark::State& state, int mapSize, int cellSize, int viewWidth, int viewHeight) {
    TEditorModeScope mode(true);
    const std::unique_ptr<TKelMap> map = MakeMap(mapSize, mapSize);
    TKelChipSetGraphic chips(FolderImageFinder({ChipSetFolder()}));
    chips.LoadGraphic("Bench");
    TKelMapTree tree;
    TKelCharSetGraphic charSets;
    TStartPosMark marks;
    TMapEventLayer events(&tree, charSets, marks);
    TMapRenderOptions options;
    options.CellSize = cellSize;
    options.Events = true;
    TOrlenBoard board;
    board.SetSize(viewWidth, viewHeight);
    int frame = 0;
    const auto draw = [&] {
        options.AnimCounter = frame++;
        board.Clear();
        RenderMapView(board, *map, chips, options, 3 * cellSize, 5 * cellSize, &events);
        benchmark::DoNotOptimize(board.Bits());
    };
    const std::size_t bytes = static_cast<std::size_t>(board.RowBytes()) * static_cast<std::size_t>(viewHeight);
    std::vector<std::uint8_t> source(bytes, 1);
    std::vector<std::uint8_t> target(bytes);
    const auto copy = [&] {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    };
    const std::int64_t calls = cellSize == 4 ? 3 : 40;
    double ours = 0;
    double reference = 0;
    for (auto _ : state) {
        ours = SecondsPerCall(calls, draw);
        reference = SecondsPerCall(calls * 20, copy);
    }
    const double pixels = static_cast<double>(viewWidth) * viewHeight;
    state.counters["ms"] = ours * 1e3;
    state.counters["Mpixel/s"] = pixels / ours / 1e6;
    state.counters["vs_memcpy"] = ours / reference;
}

// The whole 500 × 500 map at 1/8: a 2000 × 2000 picture.
void BM_RenderWholeMapOneEighth(benchmark::State& state) { Run(state, 500, 4, 2000, 2000); }
// Whole maps at the other zooms, also about 2000 × 2000 pictures.
void BM_RenderWholeMapOneQuarter(benchmark::State& state) { Run(state, 250, 8, 2000, 2000); }
void BM_RenderWholeMapOneHalf(benchmark::State& state) { Run(state, 125, 16, 2000, 2000); }
void BM_RenderWholeMapOneToOne(benchmark::State& state) { Run(state, 63, 32, 2016, 2016); }
// An 800 × 600 window of the same map at 1/1: 25 × 19 cells.
void BM_RenderWindowOneToOne(benchmark::State& state) { Run(state, 500, 32, 800, 600); }

}  // namespace

BENCHMARK(BM_RenderWholeMapOneEighth)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RenderWholeMapOneQuarter)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RenderWholeMapOneHalf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RenderWholeMapOneToOne)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RenderWindowOneToOne)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
