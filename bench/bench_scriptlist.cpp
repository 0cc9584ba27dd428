// The command list of an event page on a script of 10,000 lines (offscreen platform): pasting
// 1,000 copied lines, deleting them again, and a full repaint of the list window. Each reports
// milliseconds and its ratio to the reference measured in the same run: rendering the texts of
// the 1,000 lines, the least any paste has to do.
#include "events/EventScript.h"
#include "events/ScriptList.h"
#include "events/ScriptList_qt.h"
#include "platform/Clipboard.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <chrono>
#include <memory>
#include <string>

using namespace quillon;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_scriptlist";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

constexpr int kLines = 10000;
constexpr int kPasted = 1000;

// A script of messages, variable changes and forks with their bodies, ending in the closing line.
void FillScript(TKelEventScriptList& script, int lines) {
    script.Clear();
    while (script.Count() < lines - 1) {
        const int kind = script.Count() % 7;
        if (kind == 0 && script.Count() + 4 < lines - 1) {
            auto& fork = script.Add();
            fork.Code = ToInt(TCommandCode::ConditionalBranch);
            fork.SetParamCount(6);
            fork.SetParam(1, 3);
            auto& inner = script.Add();
            inner.Code = ToInt(TCommandCode::ShowMessage);
            inner.Indent = 1;
            inner.Text = "Inside the fork";
            auto& empty = script.Add();
            empty.Code = ToInt(TCommandCode::Empty);
            empty.Indent = 1;
            auto& end = script.Add();
            end.Code = ToInt(TCommandCode::BranchEnd);
            continue;
        }
        auto& line = script.Add();
        if (kind % 2 == 0) {
            line.Code = ToInt(TCommandCode::ShowMessage);
            line.Text = "A line of a message " + std::to_string(script.Count());
        } else {
            line.Code = ToInt(TCommandCode::ChangeVariable);
            line.SetParamCount(7);
            line.SetParam(1, 3);
            line.SetParam(3, 1);
            line.SetParam(5, script.Count());
        }
    }
    script.Add();  // the closing line
}

struct TListFixture {
    TKelEventScriptList Script;
    TEventScriptConverter Converter;
    TMemoryClipboard Board;
    std::unique_ptr<TScriptListBox> Box;

    TListFixture() {
        App();
        FillScript(Script, kLines);
        Box = std::make_unique<TScriptListBox>();
        Box->resize(480, 640);
        Box->Model().SetRenderer([this](const TKelEventScriptLine& l) { return Converter.RenderSafely(l); });
        Box->Model().SetClipboard(&Board);
        Box->Model().SetScript(&Script);
        Box->show();
        // Copy 1,000 lines from the middle (whole commands) once.
        Box->Model().SetItemIndex(kLines / 2);
        const int first = Box->Model().SelStart();
        Box->Model().SetItemIndex(first + kPasted - 1, true);
        Box->Model().Copy();
    }
};

void BM_ReferenceRenderLines(benchmark::State& state) {
    TListFixture f;
    for (auto _ : state) {
        for (int i = 0; i < kPasted; ++i)
            benchmark::DoNotOptimize(f.Converter.RenderSafely(*f.Script.Lines(i)));
    }
}

void BM_PasteThousandLines(benchmark::State& state) {
    TListFixture f;
    for (auto _ : state) {
        f.Box->Model().SetItemIndex(kLines / 4);
        const auto start = std::chrono::steady_clock::now();
        f.Box->Model().Paste();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
        state.PauseTiming();
        FillScript(f.Script, kLines);
        f.Box->Model().SetScript(&f.Script);
        state.ResumeTiming();
    }
}

void BM_DeleteThousandLines(benchmark::State& state) {
    TListFixture f;
    for (auto _ : state) {
        f.Box->Model().SetItemIndex(kLines / 4);
        f.Box->Model().Paste();
        // Select the pasted block again (the cursor stayed on the line after it).
        const int last = f.Box->Model().ItemIndex() - 1;
        f.Box->Model().SetItemIndex(kLines / 4);
        f.Box->Model().SetItemIndex(last, true);
        const auto start = std::chrono::steady_clock::now();
        f.Box->Model().Delete();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
}

void BM_FullRepaint(benchmark::State& state) {
    TListFixture f;
    f.Box->Model().SetTopIndex(kLines / 2);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(f.Box->grab());
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
}

}  // namespace

BENCHMARK(BM_ReferenceRenderLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteThousandLines)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteThousandLines)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
