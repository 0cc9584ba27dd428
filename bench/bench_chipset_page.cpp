// The chipset page's grids (offscreen platform): a whole repaint of the lower grid (162 cells)
// and of the upper grid (144 cells) with the marks of each mode, from the page's own paint
// routine. Target: under 5 ms a grid. The reference, measured in the same run, draws the grid's
// tile picture alone (one image of the same size), the floor any repaint pays.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "database/ED_ChipSet_qt.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>

using namespace quillon;

namespace {

QApplication& App() { return benchkit::App("bench_chipset_page"); }

struct TFixture {
    TEditorModeScope EditorMode{true};
    TKelDataBase DataBase;
    TDataBaseContext Context;
    std::unique_ptr<TFormEDChipSet> Page;

    TFixture() {
        App();
        for (int id = 1; id <= 8; ++id)
            DataBase.Ground.Obtain(id).Name = "Terrain";
        TKelChipSetItem& chips = DataBase.ChipSet.Obtain(1);
        // Every mark kind and terrain number shows somewhere.
        for (int i = 0; i < TKelChipSetItem::kLowerChips; ++i) {
            chips.SetTerrainId(i, 1 + i % 8);
            chips.SetLowerFlags(i, static_cast<std::uint8_t>((i * 37) & 0x3F));
        }
        for (int i = 1; i < TKelChipSetItem::kUpperChips; ++i)
            chips.SetUpperFlags(i, static_cast<std::uint8_t>((i * 53) & 0x5F));
        Context.DataBase = &DataBase;
        Page = std::make_unique<TFormEDChipSet>(Context);
        Page->resize(760, 600);
        Page->show();
        Page->Start();
        QApplication::processEvents();
    }
};

TFixture& Fixture() {
    static TFixture* fixture = new TFixture();
    return *fixture;
}

using TClock = std::chrono::steady_clock;

template <class F>
double MeanSeconds(F&& run, int times) {
    const auto start = TClock::now();
    for (int i = 0; i < times; ++i)
        run();
    return std::chrono::duration<double>(TClock::now() - start).count() / times;
}

// Mode 0 terrain, 1 passage, 2 directions (lower grid); 3 passage, 4 directions, 5 counter (upper).
void BM_GridRepaint(benchmark::State& state) {
    TFixture& f = Fixture();
    const int which = static_cast<int>(state.range(0));
    const int grid = which < 3 ? cgLower : cgUpper;
    const TChipSetMode modes[] = {TChipSetMode::Terrain,  TChipSetMode::Passage,   TChipSetMode::Direction,
                                  TChipSetMode::Passage,  TChipSetMode::Direction, TChipSetMode::Counter};
    f.Page->Model().SetGrid(grid);
    f.Page->Model().SetMode(grid, modes[which]);
    TChipSetGridView* view = f.Page->GridView(grid);
    const QRect area(0, 0, kChipGridWidth, ChipGridRows(grid) * kChipGridCell);
    QImage target(area.size(), QImage::Format_RGB32);
    const QImage tiles = view->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    const double reference = MeanSeconds(
        [&] {
            QPainter p(&target);
            p.drawImage(0, 0, tiles);
        },
        200);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = TClock::now();
        {
            QPainter p(&target);
            view->PaintGrid(p, area);
        }
        total += std::chrono::duration<double>(TClock::now() - start).count();
        ++runs;
    }
    const double seconds = total / std::max(runs, 1);
    benchkit::ReportRatio(state, seconds, reference, 5);
}
BENCHMARK(BM_GridRepaint)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
