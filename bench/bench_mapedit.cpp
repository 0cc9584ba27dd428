// The map edit model: a seed fill of a 999 x 999 lower layer with a ground autotile (every cell
// resolved), a pen stroke across a 500 x 500 map and building the event map of 2,000 events. Each
// reports milliseconds per operation and a ratio against a plain loop writing the same cells,
// measured in the same run.
#include "mapedit/MapEditUtils.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace quillon;

namespace {

constexpr std::uint16_t kPlain = 5000;
constexpr std::uint16_t kGrass = 4000;

template <class F>
double BestSeconds(F&& run, int batches = 5) {
    double best = 1e9;
    for (int batch = 0; batch < batches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

std::unique_ptr<TKelMap> MakeMap(std::int32_t size) {
    auto map = std::make_unique<TKelMap>();
    map->SetWidth(size);
    map->SetHeight(size);
    std::fill(map->LowerLayer.CellData(), map->LowerLayer.CellData() + map->LowerLayer.Cells().size(), kPlain);
    return map;
}

// Writes every listed cell of the layer through its own write call: what the edit costs without
// resolution, neighbours or snapshots.
void PlainWrites(TKelMapLayer& layer, const std::vector<TPoint>& cells, std::uint16_t id) {
    for (const TPoint& p : cells)
        layer.SetCell(p.X, p.Y, id);
    benchmark::DoNotOptimize(layer.CellData());
}

void Report(benchmark::State& state, double seconds, double referenceSeconds) {
    state.counters["ms"] = seconds * 1e3;
    state.counters["reference_ms"] = referenceSeconds * 1e3;
    state.counters["ratio"] = referenceSeconds > 0 ? seconds / referenceSeconds : 0;
}

void BM_SeedFill999(benchmark::State& state) {
    auto map = MakeMap(999);
    const TKelMapLayer blank = map->LowerLayer;
    TKelMapEditModel model;
    model.LoadMap(map.get());
    model.Pattern().SetSingle(kGrass + 49);
    std::vector<TPoint> cells;
    for (int y = 0; y < 999; ++y)
        for (int x = 0; x < 999; ++x)
            cells.push_back(TPoint{x, y});
    const double reference = BestSeconds([&] { PlainWrites(map->LowerLayer, cells, kGrass); });
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        map->LowerLayer.Assign(blank);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        model.ApplySeedFill(TPoint{500, 500}, {});
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    if (map->LowerLayer.Cell(0, 0) != kGrass || map->LowerLayer.Cell(998, 998) != kGrass)
        state.SkipWithError("the fill did not cover the map");
    Report(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_SeedFill999)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PenStroke500(benchmark::State& state) {
    auto map = MakeMap(500);
    const TKelMapLayer blank = map->LowerLayer;
    TKelMapEditModel model;
    model.LoadMap(map.get());
    model.Pattern().SetSingle(kGrass);
    // A mouse path across the map: a zigzag sampled every 7 cells.
    std::vector<TPoint> path;
    for (int x = 0; x < 500; x += 7)
        path.push_back(TPoint{x, 250 + ((x / 7) % 2 ? 40 : -40)});
    std::vector<TPoint> cells;
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        ForEachLineCell(path[i], path[i + 1], TRect{0, 0, 500, 500}, [&](TPoint p) { cells.push_back(p); });
    const double reference = BestSeconds([&] {
        for (int repeat = 0; repeat < 100; ++repeat)
            PlainWrites(map->LowerLayer, cells, kGrass);
    }) / 100;
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        map->LowerLayer.Assign(blank);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        model.ApplyPenStroke(path, {});
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    state.counters["cells"] = static_cast<double>(cells.size());
    Report(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_PenStroke500)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_EventMapBuild2000(benchmark::State& state) {
    auto map = MakeMap(500);
    TKelMapTree tree;
    tree.CurrentMapId = 1;
    map->ID = 1;
    tree.StartPosition.PartyMapId = 1;
    std::vector<TPoint> cells;
    for (int id = 1; id <= 2000; ++id) {
        TKelEventItem& event = map->Events.Obtain(id);
        event.X = (id * 37) % 500;
        event.Y = (id - 1) / 4;  // four events a row, all in different cells
        cells.push_back(TPoint{event.X, event.Y});
    }
    // The reference clears a grid of the same size and writes the same 2,000 cells.
    std::vector<std::uint16_t> grid;
    const double reference = BestSeconds([&] {
        grid.assign(500 * 500, 0);
        for (std::size_t i = 0; i < cells.size(); ++i)
            grid[static_cast<std::size_t>(cells[i].X + cells[i].Y * 500)] = static_cast<std::uint16_t>(i + 1);
        benchmark::DoNotOptimize(grid.data());
    });
    TKelEventMap events;
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        events.Build(tree, *map);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    const auto occupied = std::count_if(events.Cells().begin(), events.Cells().end(), [](std::uint16_t c) { return c != 0; });
    if (occupied < 1000 || events.GetAt(0, 0) != kEventCodeParty)
        state.SkipWithError("the event map misses events");
    Report(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_EventMapBuild2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
