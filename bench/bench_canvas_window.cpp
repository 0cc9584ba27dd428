// The map canvas window painting itself (offscreen platform): an 800 x 600 client over a
// 500 x 500 map with 2,000 events at 1/1 — a full repaint, and a scroll by one 32-pixel strip
// (the window's two boards: the old picture shifted, the strip drawn, the frames composed, the
// picture copied to the window). Each reports milliseconds and its ratio to a memcpy of one
// 800 x 600 board in the same run.
#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/PictureFile.h"
#include "mapedit/MapEditor_qt.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

using namespace quillon;

namespace {

QApplication& App() { return benchkit::App("bench_canvas_window"); }

std::string ChipSetFolder() {
    static const std::string folder = benchkit::ChipSetFolder("quillon-bench-canvas-window");
    return folder;
}

struct TWindowFixture {
    TEditorModeScope EditorMode{true};
    TKelChipSetGraphic Chips{FolderImageFinder({ChipSetFolder()})};
    TKelCharSetGraphic CharSets{FolderImageFinder({ChipSetFolder()})};
    TKelMapTree Tree;
    TKelMap Map;
    std::unique_ptr<TFormMapEditor> Form;

    TWindowFixture() {
        App();
        Chips.LoadGraphic("Bench");
        Map.ID = 1;
        Map.SetWidth(500);
        Map.SetHeight(500);
        std::mt19937 random(7);
        for (int y = 0; y < 500; ++y)
            for (int x = 0; x < 500; ++x) {
                Map.LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(5000 + random() % 144));
                if (random() % 3 == 0)
                    Map.UpperLayer.SetCell(x, y, static_cast<std::uint16_t>(10001 + random() % 143));
            }
        for (int id = 1; id <= 2000; ++id) {
            TKelEventItem& event = Map.Events.Obtain(id);
            event.X = static_cast<std::int32_t>(random() % 500);
            event.Y = static_cast<std::int32_t>(random() % 500);
            event.Pages.Obtain(1).GraphicIndex = static_cast<std::int32_t>(random() % 144);
        }
        Form = std::make_unique<TFormMapEditor>();
        Form->SetSources(&Tree, &Chips, &CharSets, FolderImageFinder({ChipSetFolder()}));
        Form->LoadMap(&Map);
        Form->SetMode(2);
        Form->show();
        for (int i = 0; i < 2; ++i) {
            Form->resize(800 + Form->width() - Form->viewport()->width(),
                         600 + Form->height() - Form->viewport()->height());
            QApplication::processEvents();
        }
        Form->viewport()->repaint();
    }
};

TWindowFixture& Fixture() {
    static TWindowFixture* fixture = new TWindowFixture();
    return *fixture;
}

void BM_Reference_BoardCopy(benchmark::State& state) {
    std::vector<std::uint16_t> from(800 * 600, 0x1234), to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint16_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Reference_BoardCopy)->Unit(benchmark::kMillisecond);

void BM_Window_FullRepaint(benchmark::State& state) {
    TWindowFixture& f = Fixture();
    for (auto _ : state) {
        f.Form->Refresh();
        QApplication::processEvents();  // the window paints what is due, as its event loop would
    }
}
BENCHMARK(BM_Window_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_Window_ScrollOneStrip(benchmark::State& state) {
    TWindowFixture& f = Fixture();
    QScrollBar* bar = f.Form->verticalScrollBar();
    int step = 32;
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < 0)
            step = -step;
        bar->setValue(bar->value() + step);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Window_ScrollOneStrip)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
