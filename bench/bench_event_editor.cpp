// The event editor (offscreen platform) on an event of 100 pages of 5,000 command lines each:
// opening the model and the window until the first page is painted, and switching to the next
// page until it is painted. Opening is compared with loading the event record from its bytes,
// switching with rendering one page's lines; both references are measured in the same run.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/StreamUtils.h"
#include "events/ED_Event_qt.h"
#include "events/EventScript.h"
#include "events/ScriptList_qt.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabBar>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

using namespace quillon;

namespace {

using benchkit::BestSeconds;
using benchkit::TClock;
using benchkit::Since;

constexpr int kPages = 100;
constexpr int kLines = 5000;

QApplication& App() { return benchkit::App("bench_event_editor"); }

// A page script of messages, switch and variable changes and waits, some inside forks.
void FillScript(TKelEventScriptList& script, int page) {
    script.Clear();
    int made = 0;
    const auto add = [&](TCommandCode code, std::int32_t indent, std::initializer_list<std::int32_t> params,
                         std::string text = {}) {
        TKelEventScriptLine& line = script.Add();
        line.Code = ToInt(code);
        line.Indent = indent;
        line.Text = std::move(text);
        line.SetParamCount(static_cast<int>(params.size()));
        int i = 0;
        for (std::int32_t p : params)
            line.SetParam(i++, p);
        ++made;
    };
    while (made < kLines - 6) {
        add(TCommandCode::ShowMessage, 0, {}, "Page " + std::to_string(page) + ", line " + std::to_string(made));
        add(TCommandCode::ChangeSwitch, 0, {0, made % 50 + 1, made % 50 + 1, 0});
        add(TCommandCode::ConditionalBranch, 0, {0, made % 20 + 1, 0, 0, 0, 1});
        add(TCommandCode::ChangeVariable, 1, {0, 3, 3, 0, 0, made});
        add(TCommandCode::Empty, 1, {});
        add(TCommandCode::BranchEnd, 0, {});
        add(TCommandCode::Wait, 0, {made % 10});
    }
    while (made < kLines - 1)
        add(TCommandCode::ShowMessage, 0, {}, "tail");
    add(TCommandCode::End, 0, {});
}

struct TFixture {
    TEditorModeScope EditorMode{true};
    TKelDataBase DataBase;
    TKelMap Map;
    TKelEventItem Event;
    std::string Bytes;

    TFixture() {
        App();
        for (int id = 1; id <= 50; ++id)
            DataBase.Switch.Obtain(id).Name = "Switch " + std::to_string(id);
        Event.Name = "Crowd";
        Event.Pages.Clear();
        for (int n = 1; n <= kPages; ++n) {
            TKelEventPageItem& page = Event.Pages.Obtain(n);
            page.GraphicIndex = n % 48;
            FillScript(page.Script, n);
        }
        TMemoryStream stream;
        Event.SaveToStream(stream);
        Bytes = stream.Bytes();
    }
    TEventEditorContext Context() {
        TEventEditorContext context;
        context.Map = &Map;
        context.DataBase = &DataBase;
        return context;
    }
};

TFixture& Fixture() {
    static TFixture* fixture = new TFixture();
    return *fixture;
}

// Shows the window and paints it, as its first exposure does.
void Paint(TFormEDEvent& form) {
    form.show();
    form.repaint();
    QApplication::processEvents();
}

void BM_OpenEventEditor(benchmark::State& state) {
    TFixture& f = Fixture();
    const double reference = BestSeconds([&] {
        TKelEventItem loaded;
        TByteViewStream stream(f.Bytes);
        loaded.LoadFromStream(stream);
        benchmark::DoNotOptimize(loaded.Pages.Count());
    });
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TKelEventItem copy;
        copy.Assign(f.Event);
        state.ResumeTiming();
        const auto start = TClock::now();
        {
            TEventEditorModel model(copy, 1, false, TEventEditorHooks{&f.DataBase});
            TFormEDEvent form(model, f.Context());
            Paint(form);
            total += Since(start);
            if (form.Tabs().count() != kPages || form.CommandList().Model().Count() != kLines)
                state.SkipWithError("the editor did not show the event");
            state.PauseTiming();
        }
        QApplication::processEvents();
        state.ResumeTiming();
        ++runs;
    }
    benchkit::ReportRatio(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_OpenEventEditor)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SwitchPage(benchmark::State& state) {
    TFixture& f = Fixture();
    TEventScriptConverter converter;
    converter.DataBase = &f.DataBase;
    converter.EventItem = &f.Event;
    const double reference = BestSeconds([&] {
        benchmark::DoNotOptimize(RenderScript(converter, f.Event.Pages.Items(1)->Script));
    });
    TKelEventItem copy;
    copy.Assign(f.Event);
    TEventEditorModel model(copy, 1, false, TEventEditorHooks{&f.DataBase});
    TFormEDEvent form(model, f.Context());
    Paint(form);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const int next = (form.Tabs().currentIndex() + 1) % kPages;
        const auto start = TClock::now();
        form.Tabs().setCurrentIndex(next);
        form.repaint();
        QApplication::processEvents();
        total += Since(start);
        ++runs;
        if (model.CurrentIndex() != next)
            state.SkipWithError("the page did not change");
    }
    benchkit::ReportRatio(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_SwitchPage)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
