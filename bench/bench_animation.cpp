// The battle animation page: one playback step (background, victim and eight cells with colour,
// chroma, transparency and magnification under a screen flash) drawn on the 320 x 160 board, and
// one mouse move of a dragged cell with the preview repainted in the real window (offscreen).
// Each reports milliseconds per step and its time as a ratio to a memcpy of one 800 x 600 board
// in the same run. Targets: a step under 5 ms, a drag move under 8 ms.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "database/ED_Animation.h"
#include "database/ED_Animation_qt.h"
#include "graphics/Bitmap.h"
#include "graphics/PictureFile.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

using namespace quillon;

namespace {

using benchkit::CpuSeconds;
using benchkit::SecondsPerCall;
using benchkit::MemcpySeconds;

void WriteImage(const std::filesystem::path& file, int width, int height) {
    std::filesystem::create_directories(file.parent_path());
    TBitmap bitmap(width, height, TPixelFormat::pf8bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>((x / 6 + y / 6) % 3 == 0 ? 0 : 1 + (x * 7 + y) % 250);
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                               static_cast<std::uint8_t>(i * 3), 0};
    SavePicture(bitmap, file.string());
}

// A project with a 480 x 480 animation image and a monster; an animation of eight cells with
// colour effects and a screen flash on every frame.
struct TBenchProject {
    std::string Folder;
    TKelDataBase DataBase;
    TDataBaseContext Context;

    TBenchProject() {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / "quillon-bench-animation";
        Folder = path.string() + "/";
        WriteImage(path / "Battle" / "Bench.png", 480, 480);
        WriteImage(path / "Monster" / "Bench.png", 120, 100);
        DataBase.Monster.Obtain(1).GraphicName = "Bench";
        DataBase.Monster.Obtain(1).Hue = 90;
        TKelAnimationItem& anim = DataBase.Animation.Obtain(1);
        anim.FileName = "Bench";
        for (int f = 0; f < anim.FrameCount(); ++f) {
            for (int i = 0; i < 8; ++i) {
                TKelAnimationCellItem& cell = anim.Frames.Items(f)->Cells.Append();
                cell.Pattern = (f + i) % 25;
                cell.X = -120 + 32 * i;
                cell.Y = -40 + 8 * i;
                cell.Magnification = 80 + 20 * i;
                cell.Red = 50 + 10 * i;
                cell.Green = 150 - 10 * i;
                cell.Blue = 120;
                cell.Chroma = 40 + 20 * i;
                cell.Transparency = 10 * (i % 4);
            }
            TKelAnimationTimingItem& timing = anim.Timing.Append();
            timing.Frame = f + 1;
            timing.FlashRange = TKelAnimationTimingItem::frScreen;
            timing.FlashPower = 20;
        }
        Context.DataBase = &DataBase;
        Context.ProjectPath = Folder;
    }
    TImageFinder Finder() const { return FolderImageFinder({Folder}); }
};

void BM_PlaybackStep(benchmark::State& state) {
    const TEditorModeScope editor(true);
    TBenchProject project;
    TAnimationPageModel page(project.Context, nullptr, project.Finder());
    page.BeginPlayback();
    const std::vector<TPlaybackStep> steps = page.PlaybackSteps();
    TOrlenBoard board;
    std::size_t next = 10;  // the frames' steps
    const auto step = [&] {
        page.DrawPlaybackStep(board, steps[next]);
        next = next + 1 < steps.size() - 10 ? next + 1 : 10;
        benchmark::DoNotOptimize(board.Bits());
    };
    for (auto _ : state)
        step();
    const double ours = SecondsPerCall(100, step);
    state.counters["step_ms"] = ours * 1e3;
    state.counters["time_vs_memcpy"] = ours / MemcpySeconds();
}
BENCHMARK(BM_PlaybackStep)->Unit(benchmark::kMillisecond);

void BM_DragRepaint(benchmark::State& state) {
    const TEditorModeScope editor(true);
    TBenchProject project;
    project.DataBase.System.SnapTo = 0;
    TFormEDAnimation window(project.Context, nullptr, project.Finder());
    window.resize(780, 600);
    window.show();
    window.Start();
    QApplication::processEvents();
    QWidget& area = *window.Area().viewport();
    // Press on the top cell, then move it to and fro.
    const TKelAnimationCellItem& top = *window.Model().Frame().Cells.Items(7);
    QPoint at(160 + top.X, window.Model().OriginY() + top.Y);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), area.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&area, &press);
    int direction = 1;
    const auto move = [&] {
        at.rx() += 3 * direction;
        if (at.x() > 300 || at.x() < 20)
            direction = -direction;
        QMouseEvent event(QEvent::MouseMove, QPointF(at), area.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::LeftButton,
                          {});
        QApplication::sendEvent(&area, &event);  // the drag repaints at once
    };
    for (auto _ : state)
        move();
    const double ours = SecondsPerCall(100, move);
    state.counters["move_ms"] = ours * 1e3;
    state.counters["time_vs_memcpy"] = ours / MemcpySeconds();
}
BENCHMARK(BM_DragRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
