// The map canvas's picture as the window paints it, on a 500 × 500 map with 2,000 events: a full
// repaint of an 800 × 600 view at 1/1, a scroll by one strip (the old picture shifted, the exposed
// strip drawn), and a scripted pan over the map at every zoom reporting its worst frame. Each
// reports milliseconds and its time as a ratio to a memcpy of one 800 × 600 board in the same run.
#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/PictureFile.h"
#include "mapedit/MapEditor.h"

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

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

std::string ChipSetFolder() {
    static const std::string folder = benchkit::ChipSetFolder("quillon-bench-canvas");
    return folder;
}

struct TCanvasBench {
    TEditorModeScope EditorMode{true};
    std::unique_ptr<TKelMap> Map = std::make_unique<TKelMap>();
    TKelMapTree Tree;
    TKelChipSetGraphic Chips{FolderImageFinder({ChipSetFolder()})};
    TKelMapEditorModel Canvas;
    TOrlenBoard BoardA, BoardB;
    TOrlenBoard* FrontBoard = &BoardA;
    TOrlenBoard* BackBoard = &BoardB;

    TCanvasBench() {
        Chips.LoadGraphic("Bench");
        Map->SetWidth(500);
        Map->SetHeight(500);
        Map->ID = 1;
        std::mt19937 random(7);
        for (int y = 0; y < 500; ++y)
            for (int x = 0; x < 500; ++x) {
                const std::uint16_t lower = benchkit::RandomLowerTile(random);
                Map->LowerLayer.SetCell(x, y, lower);
                Map->UpperLayer.SetCell(x, y, benchkit::RandomUpperTile(random));
            }
        for (int i = 0; i < 2000; ++i) {
            TKelEventItem& event = Map->Events.Obtain(i + 1);
            event.X = static_cast<std::int32_t>(random() % 500);
            event.Y = static_cast<std::int32_t>(random() % 500);
            event.Pages.Obtain(1).GraphicIndex = 5;
        }
        Tree.AddItem(0, 0);
        Tree.AddItem(0, 1);
        Tree.CurrentMapId = 1;
        Canvas.SetMapTree(&Tree);
        Canvas.SetGraphics(&Chips, nullptr);
        Canvas.SetClientSize(kViewWidth, kViewHeight);
        Canvas.LoadMap(Map.get());
        Canvas.SetMode(TKelEditMode::Events);
        BoardA.SetSize(kViewWidth, kViewHeight);
        BoardB.SetSize(kViewWidth, kViewHeight);
    }
    void FullRepaint() {
        TOrlenBoard& Front = *FrontBoard;
        Front.Clear();
        Canvas.PaintView(Front, MakeBounds(0, 0, Front.Width(), Front.Height()));
        benchmark::DoNotOptimize(Front.Bits());
    }
    // One frame of the window after the offset moved: swap, shift the old picture, draw the strips.
    void ScrollFrame(std::int64_t oldX, std::int64_t oldY) {
        std::swap(FrontBoard, BackBoard);
        TOrlenBoard& Front = *FrontBoard;
        const TOrlenBoard& Back = *BackBoard;
        const int dx = static_cast<int>(Canvas.OffsetX() - oldX), dy = static_cast<int>(Canvas.OffsetY() - oldY);
        const int w = Front.Width(), h = Front.Height();
        if (std::abs(dx) >= w || std::abs(dy) >= h) {
            FullRepaint();
            return;
        }
        Front.CopyFrom(-dx, -dy, MakeBounds(0, 0, w, h), Back);
        if (dy > 0)
            Canvas.PaintView(Front, MakeRect(0, h - dy, w, h));
        else if (dy < 0)
            Canvas.PaintView(Front, MakeRect(0, 0, w, -dy));
        const TRect rows = dy > 0 ? MakeRect(0, 0, w, h - dy) : MakeRect(0, -dy, w, h);
        if (dx > 0)
            Canvas.PaintView(Front, MakeRect(w - dx, rows.Top, w, rows.Bottom));
        else if (dx < 0)
            Canvas.PaintView(Front, MakeRect(0, rows.Top, -dx, rows.Bottom));
        benchmark::DoNotOptimize(Front.Bits());
    }
};

double MemcpyReference() {
    const std::size_t bytes = static_cast<std::size_t>(kViewWidth) * kViewHeight * 2;
    std::vector<std::uint8_t> source(bytes, 1), target(bytes);
    return SecondsPerCall(200, [&] {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    });
}

// Full repaints of the 800 × 600 view at the zoom's cell size (the jump of a pan, a zoom change).
void BM_CanvasFullRepaint(benchmark::State& state) {
    TCanvasBench bench;
    bench.Canvas.SetCellSize(static_cast<int>(state.range(0)));
    bench.Canvas.ScrollTo(300, 400);
    double ours = 0, reference = 0;
    for (auto _ : state) {
        ours = SecondsPerCall(state.range(0) >= 16 ? 30 : 5, [&] { bench.FullRepaint(); });
        reference = MemcpyReference();
    }
    state.counters["ms"] = ours * 1e3;
    state.counters["vs_memcpy"] = ours / reference;
}

void BM_CanvasScrollOneStrip(benchmark::State& state) {
    TCanvasBench bench;
    bench.Canvas.ScrollTo(3000, 4000);
    bench.FullRepaint();
    int direction = 1;
    double ours = 0, reference = 0;
    for (auto _ : state) {
        ours = SecondsPerCall(200, [&] {
            const std::int64_t x = bench.Canvas.OffsetX(), y = bench.Canvas.OffsetY();
            bench.Canvas.ScrollBy(32 * direction, 0);
            direction = -direction;
            bench.ScrollFrame(x, y);
        });
        reference = MemcpyReference();
    }
    state.counters["ms"] = ours * 1e3;
    state.counters["vs_memcpy"] = ours / reference;
}

// A pan along the diagonal in steps of 37 × 23 pixels (CPU time of this thread per frame, worst of
// all frames); the jump back to the start when the pan reaches the map's edge is not a pan frame.
void BM_CanvasPanWorstFrame(benchmark::State& state) {
    TCanvasBench bench;
    bench.Canvas.SetCellSize(static_cast<int>(state.range(0)));
    bench.Canvas.ScrollTo(0, 0);
    bench.FullRepaint();
    double worst = 0, total = 0;
    int frames = 0;
    for (auto _ : state) {
        while (frames < 200) {
            const std::int64_t x = bench.Canvas.OffsetX(), y = bench.Canvas.OffsetY();
            if (!bench.Canvas.ScrollBy(37, 23)) {
                bench.Canvas.ScrollTo(0, 0);
                bench.FullRepaint();
                continue;
            }
            const double start = CpuSeconds();
            bench.ScrollFrame(x, y);
            const double seconds = CpuSeconds() - start;
            worst = std::max(worst, seconds);
            total += seconds;
            ++frames;
        }
    }
    const double reference = MemcpyReference();
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["mean_ms"] = total / frames * 1e3;
    state.counters["worst_vs_memcpy"] = worst / reference;
}

}  // namespace

BENCHMARK(BM_CanvasFullRepaint)->Arg(32)->Arg(16)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CanvasScrollOneStrip)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CanvasPanWorstFrame)->Arg(32)->Arg(16)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
