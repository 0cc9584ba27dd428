// The "DataBase" window (offscreen platform) on a database whose every list holds 5,000 entries
// (and 5,000 switches and variables): opening until the first page is painted, switching to the
// next tab until it is painted, and F5 to the next entry until the page shows it. Then the same
// lists with huge first records (a battle animation of 100,000 frames, a hero who learns
// 200,000 skills, a monster with 100,000 action patterns, a troop of 100,000 members and pages,
// a common event of 100,000 lines ...): opening the window on each tab, and switching to it from
// the tab before, until painted; each must stay under a second whatever the counts. The
// reference, measured in the same run, is a plain list widget filled with 5,000 rows and painted.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "database/DataBaseForm_qt.h"
#include "database/DataBasePage_qt.h"
#include "tools/lib/HugeDataBase.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTabBar>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

using namespace quillon;

namespace {

using benchkit::BestSeconds;
using benchkit::TClock;
using benchkit::Since;

constexpr int kEntries = 5000;

QApplication& App() { return benchkit::App("bench_database_editor"); }

void FillList(TCatalog& list, const char* prefix) {
    list.Clear();
    for (int id = 1; id <= kEntries; ++id)
        list.Obtain(id).Name = prefix + std::to_string(id);
}

struct TFixture {
    TEditorModeScope EditorMode{true};
    TKelDataBase DataBase;
    TDataBaseContext Context;

    TFixture() {
        App();
        for (int tab = 0; tab < kDataBaseTabCount; ++tab)
            if (TCatalog* list = DataBaseTabList(DataBase, tab))
                FillList(*list, "Entry ");
        FillList(DataBase.Switch, "Switch ");
        FillList(DataBase.Variable, "Variable ");
        Context.DataBase = &DataBase;
        Context.ProjectPath = (std::filesystem::temp_directory_path() / "quillon-bench-db-unused/").string();
    }
};

TFixture& Fixture() {
    static TFixture* fixture = new TFixture();
    return *fixture;
}

// A list widget of 5,000 rows, made, shown and painted.
double ReferenceSeconds() {
    return BestSeconds([] {
        QListWidget list;
        list.resize(200, 400);
        for (int row = 1; row <= kEntries; ++row)
            list.addItem(QString::asprintf("%.4d:Entry %d", row, row));
        list.show();
        list.repaint();
        QApplication::processEvents();
    });
}

void Paint(QWidget& form) {
    form.show();
    form.repaint();
    QApplication::processEvents();
}

void BM_OpenDataBase(benchmark::State& state) {
    TFixture& f = Fixture();
    const double reference = ReferenceSeconds();
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        DataBaseMemory().LastTab = dtHero;
        const auto start = TClock::now();
        {
            TFormDataBase form(f.Context);
            Paint(form);
            total += Since(start);
            if (!form.Page() || form.Page()->PageModel().RowCount() != kEntries)
                state.SkipWithError("the window did not show the heroes");
            state.PauseTiming();
        }
        QApplication::processEvents();
        state.ResumeTiming();
        ++runs;
    }
    benchkit::ReportRatio(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_OpenDataBase)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SwitchTab(benchmark::State& state) {
    TFixture& f = Fixture();
    const double reference = ReferenceSeconds();
    TFormDataBase form(f.Context);
    Paint(form);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const int next = (form.TabControl().currentIndex() + 1) % kDataBaseTabCount;
        const auto start = TClock::now();
        form.TabControl().setCurrentIndex(next);
        form.repaint();
        QApplication::processEvents();
        total += Since(start);
        ++runs;
        if (!form.Page() || form.Model().Tab() != next)
            state.SkipWithError("the tab did not change");
    }
    benchkit::ReportRatio(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_SwitchTab)->Unit(benchmark::kMillisecond)->Iterations(26);

void BM_NextEntry(benchmark::State& state) {
    TFixture& f = Fixture();
    const double reference = ReferenceSeconds();
    DataBaseMemory().LastTab = dtItems;
    TFormDataBase form(f.Context);
    Paint(form);
    TDataBasePage& page = form.Page()->PageModel();
    page.SelectId(1);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const int row = page.CurrentRow();
        const auto start = TClock::now();
        form.SelectNextEntry();
        form.repaint();
        QApplication::processEvents();
        total += Since(start);
        ++runs;
        if (page.CurrentRow() != row + 1)
            state.SkipWithError("F5 did not move to the next entry");
    }
    benchkit::ReportRatio(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_NextEntry)->Unit(benchmark::kMillisecond)->Iterations(200);

// Record 1 of every list far beyond what its page lets the user make.
struct THugeFixture {
    TEditorModeScope EditorMode{true};
    TKelDataBase DataBase;
    TDataBaseContext Context;

    THugeFixture() {
        App();
        THugeCounts counts;
        counts.Entries = kEntries;
        MakeHugeDataBase(DataBase, counts);
        Context.DataBase = &DataBase;
        Context.ProjectPath = (std::filesystem::temp_directory_path() / "quillon-bench-db-unused/").string();
    }
};

THugeFixture& Huge() {
    static THugeFixture* fixture = new THugeFixture();
    return *fixture;
}

constexpr double kHugeTargetMs = 1000;

// The window, entry 1 current, opened on a tab until painted (fromBefore false), or opened on
// the tab before and switched to the tab until painted, the page before going (fromBefore true).
void HugeTab(benchmark::State& state, bool fromBefore) {
    THugeFixture& f = Huge();
    const int tab = static_cast<int>(state.range(0));
    const int opened = fromBefore ? (tab + kDataBaseTabCount - 1) % kDataBaseTabCount : tab;
    const double reference = ReferenceSeconds();
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DataBaseMemory() = {};
        DataBaseMemory().LastTab = opened;
        state.ResumeTiming();
        auto start = TClock::now();
        {
            TFormDataBase form(f.Context);
            Paint(form);
            if (fromBefore) {
                start = TClock::now();
                form.TabControl().setCurrentIndex(tab);
                form.repaint();
                QApplication::processEvents();
            }
            total += Since(start);
            if (!form.Page() || form.Model().Tab() != tab)
                state.SkipWithError("the window does not show the tab");
            state.PauseTiming();
        }
        QApplication::processEvents();
        state.ResumeTiming();
        ++runs;
    }
    state.SetLabel(DataBaseTabInfo(tab).Caption);
    benchkit::ReportRatio(state, total / std::max(runs, 1), reference, kHugeTargetMs);
}

void BM_HugeOpenTab(benchmark::State& state) { HugeTab(state, false); }
BENCHMARK(BM_HugeOpenTab)->DenseRange(0, kDataBaseTabCount - 1)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_HugeSwitchTab(benchmark::State& state) { HugeTab(state, true); }
BENCHMARK(BM_HugeSwitchTab)->DenseRange(0, kDataBaseTabCount - 1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
