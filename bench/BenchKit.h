// What the benchmarks share: thread CPU time and wall time measured as the best of a few
// batches, the memcpy reference of one 800 x 600 board, a chipset image in a temporary project
// folder, the report of a time as a ratio to its reference, and (for the benches that open real
// windows) the application on the offscreen platform.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/PictureFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif

namespace benchkit {

// Thread CPU time: the machine is shared, and other processes must not tilt the ratios.
inline double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds per call of work, the best of three batches of n calls.
template <typename Work>
double SecondsPerCall(std::int64_t n, Work work) {
    double best = 1e9;
    for (int batch = 0; batch < 3; ++batch) {
        const double start = CpuSeconds();
        for (std::int64_t i = 0; i < n; ++i)
            work();
        best = std::min(best, (CpuSeconds() - start) / static_cast<double>(n));
    }
    return best;
}

// CPU seconds of one memcpy of an 800 x 600 board of 16-bit pixels, measured once per run.
inline double MemcpySeconds() {
    static const double seconds = [] {
        std::vector<std::uint16_t> source(800 * 600, 0x1234), target(800 * 600);
        return SecondsPerCall(200, [&] {
            std::memcpy(target.data(), source.data(), target.size() * 2);
            benchmark::DoNotOptimize(target.data());
        });
    }();
    return seconds;
}

// Wall time, for work that waits on the window system.
using TClock = std::chrono::steady_clock;
inline double Since(TClock::time_point start) {
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// Wall seconds of one run, the best of `batches` runs.
template <class F>
double BestSeconds(F&& run, int batches = 5) {
    double best = 1e9;
    for (int i = 0; i < batches; ++i) {
        const auto start = TClock::now();
        run();
        best = std::min(best, Since(start));
    }
    return best;
}

// A time against its reference measured in the same run: ms, reference_ms and their ratio.
inline void ReportRatio(benchmark::State& state, double seconds, double referenceSeconds) {
    state.counters["ms"] = seconds * 1e3;
    state.counters["reference_ms"] = referenceSeconds * 1e3;
    state.counters["ratio"] = referenceSeconds > 0 ? seconds / referenceSeconds : 0;
}

// A 480 x 256 chipset image with every pixel set.
inline quillon::TBitmap ChipSetImage() {
    quillon::TBitmap bitmap(480, 256, quillon::TPixelFormat::pf8bit);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 480; ++x)
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(1 + (x / 8 + y / 8 * 3 + (x ^ y)) % 200);
    for (int i = 0; i < 256; ++i)
        bitmap.Palette()[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 5),
                               static_cast<std::uint8_t>(255 - i), 0};
    return bitmap;
}

// A project folder under the temporary folder holding that image as "ChipSet/Bench.png".
inline std::string ChipSetFolder(const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path / "ChipSet");
    quillon::SavePicture(ChipSetImage(), (path / "ChipSet" / "Bench.png").string());
    return path.string();
}

// The bench maps' tiles: a lower tile mixing water, animated tiles, autotiles and plain tiles,
// and an upper tile on a quarter of the cells (the empty upper tile elsewhere).
inline std::uint16_t RandomLowerTile(std::mt19937& random) {
    switch (random() % 4) {
    case 0: return static_cast<std::uint16_t>(random() % 3000);
    case 1: return static_cast<std::uint16_t>(4000 + random() % 600);
    case 2: return static_cast<std::uint16_t>(3000 + (random() % 3) * 50);
    default: return static_cast<std::uint16_t>(5000 + random() % 144);
    }
}
inline std::uint16_t RandomUpperTile(std::mt19937& random) {
    return static_cast<std::uint16_t>(random() % 4 == 0 ? 10001 + random() % 143 : 10000);
}

// A time against its reference and the target it must keep.
inline void ReportRatio(benchmark::State& state, double seconds, double referenceSeconds, double targetMs) {
    ReportRatio(state, seconds, referenceSeconds);
    state.counters["target_ms"] = targetMs;
}

#ifdef QT_WIDGETS_LIB
// The one application of the run, on the offscreen platform unless another is asked for.
inline QApplication& App(const char* programName) {
    static int argc = 1;
    static std::string name = programName;
    static char* argv[] = {name.data(), nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
#endif

}  // namespace benchkit
