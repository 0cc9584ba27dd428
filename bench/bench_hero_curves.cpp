// The hero's curve dialogs (offscreen platform): a stroke across all 50 levels of the large
// graph of "Curve of Abilities", timed per mouse move until the graph is painted again (target:
// 8 ms a move), and the two tables and the graph of "Curve of Experience" filled and painted
// after a change of a box (target: 5 ms). The reference, measured in the same run, is a plain
// label of fifty lines of text set and painted.
#include "database/ED_PlayerExp_qt.h"
#include "database/ED_PlayerGraph_qt.h"
#include "database/ED_PlayerParameter_qt.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSpinBox>

#include <algorithm>
#include <chrono>

using namespace quillon;

namespace {

using benchkit::TClock;
using benchkit::Since;

QApplication& App() { return benchkit::App("bench_hero_curves"); }

// Fifty lines of text set into a label and painted: the best of five.
double ReferenceSeconds() {
    QLabel label;
    label.resize(300, 620);
    label.show();
    QApplication::processEvents();
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = TClock::now();
        QString text;
        for (int line = 1; line <= 50; ++line)
            text += QString::asprintf("L%2d :%7d\n", line, line * 1000 + round);
        label.setText(text);
        label.repaint();
        QApplication::processEvents();
        best = std::min(best, Since(start));
    }
    return best;
}

void Move(QWidget* graph, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), graph->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(graph, &event);
}

void BM_StrokeAcrossFiftyLevels(benchmark::State& state) {
    App();
    const double reference = ReferenceSeconds();
    TParameterCurves curves{};
    for (auto& curve : curves)
        curve.fill(100);
    TPlayerParameterModel model(curves, 0);
    TFormEDPlayerParameter dialog(model);
    dialog.show();
    QApplication::processEvents();
    auto* graph = dialog.findChild<TPlayerParameterGraph*>("Graph");
    double total = 0;
    long moves = 0;
    int stroke = 0;
    for (auto _ : state) {
        ++stroke;
        Move(graph, QEvent::MouseButtonPress, {5, 200}, Qt::LeftButton, Qt::LeftButton);
        // Back and forth: every level once, each move one level on, rising and falling.
        for (int level = 2; level <= 50; ++level) {
            const int x = stroke % 2 ? 10 * level - 5 : 500 - 10 * level + 5;
            const int y = 250 - (level * 37 + stroke * 11) % 240;
            const auto start = TClock::now();
            Move(graph, QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::LeftButton);
            graph->repaint();
            QApplication::processEvents();
            total += Since(start);
            ++moves;
        }
        Move(graph, QEvent::MouseButtonRelease, {250, 100}, Qt::LeftButton, Qt::NoButton);
        if (model.Level() != (stroke % 2 ? 50 : 1))
            state.SkipWithError("the stroke did not reach the last level");
    }
    benchkit::ReportRatio(state, total / std::max(moves, 1L), reference, 8);
}
BENCHMARK(BM_StrokeAcrossFiftyLevels)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ExperienceTables(benchmark::State& state) {
    App();
    const double reference = ReferenceSeconds();
    TPlayerExpModel model(TExpCurve{30, 30, 0});
    TFormEDPlayerExp dialog(model);
    dialog.show();
    QApplication::processEvents();
    auto* total = dialog.findChild<TPlayerExpTable*>("TableTotal");
    auto* next = dialog.findChild<TPlayerExpTable*>("TableNext");
    double seconds = 0;
    int runs = 0;
    for (auto _ : state) {
        const int basic = 10 + runs % 41;
        const auto start = TClock::now();
        model.SetBasic(basic);
        total->repaint();
        next->repaint();
        QApplication::processEvents();
        seconds += Since(start);
        ++runs;
        if (total->Lines().size() != 50 || model.Curve().Basic != basic)
            state.SkipWithError("the tables were not filled");
    }
    benchkit::ReportRatio(state, seconds / std::max(runs, 1), reference, 5);
}
BENCHMARK(BM_ExperienceTables)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
