// Load and save of a large database (5,000 common events of 50 script lines each), in MB/s
// of file bytes and as a ratio to reading the same file into memory, measured in the same run.
#include "data/LD_DataBase.h"
#include "platform/FileUtils.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

using namespace quillon;

namespace {

struct TFixture {
    std::string Folder;
    std::string Path;
    std::int64_t FileSize = 0;
    double ReadSeconds = 0;  // reading the file into memory, per run

    TFixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
        Folder = ::mkdtemp(pattern.data());
        Path = Folder + "/GMK_RT.kdb";
        auto db = std::make_unique<TKelDataBase>();
        for (int id = 1; id <= 5000; ++id) {
            TKelCommonEventItem& event = db->CommonEvent.Obtain(id);
            event.Name = "Common event " + std::to_string(id);
            event.Script.Clear();
            for (int i = 0; i < 49; ++i) {
                TKelEventScriptLine& line = event.Script.Add();
                line.Code = ToInt(TCommandCode::ShowMessage) + 10 * (i % 40);
                line.Indent = i % 3;
                if (i % 4 == 0)
                    line.Text = "Message text of line " + std::to_string(i);
                line.SetParamCount(i % 7);
                for (int p = 0; p < line.ParamCount(); ++p)
                    line.SetParam(p, p * 1000 - 3);
            }
            event.Script.Add();  // closing line
        }
        db->SaveToFile(Path);
        FileSize = db->CachedFileSize;
        // The reference: the best of several batches of reads of the file into memory.
        ReadSeconds = 1e9;
        for (int batch = 0; batch < 10; ++batch) {
            const int runs = 20;
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < runs; ++i)
                benchmark::DoNotOptimize(ReadWholeFile(Path));
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
            ReadSeconds = std::min(ReadSeconds, seconds);
        }
    }
    ~TFixture() { std::filesystem::remove_all(Folder); }
};

TFixture& Fixture() {
    static TFixture fixture;
    return fixture;
}

void Report(benchmark::State& state, double secondsPerRun) {
    const TFixture& f = Fixture();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * f.FileSize);
    state.counters["file_MB"] = static_cast<double>(f.FileSize) / 1e6;
    state.counters["x_read_time"] = secondsPerRun / f.ReadSeconds;
}

void BM_ReadFileIntoMemory(benchmark::State& state) {
    const TFixture& f = Fixture();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadWholeFile(f.Path));
    Report(state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                      static_cast<double>(state.iterations()));
}

void BM_LoadDataBase(benchmark::State& state) {
    const TFixture& f = Fixture();
    auto db = std::make_unique<TKelDataBase>();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        db->LoadFromFile(f.Path);
    Report(state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                      static_cast<double>(state.iterations()));
}

void BM_SaveDataBaseToMemory(benchmark::State& state) {
    const TFixture& f = Fixture();
    auto db = std::make_unique<TKelDataBase>();
    db->LoadFromFile(f.Path);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        TMemoryStream image;
        db->SaveToStream(image);
        benchmark::DoNotOptimize(image.Bytes().data());
    }
    Report(state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                      static_cast<double>(state.iterations()));
}

void BM_SaveDataBaseToFile(benchmark::State& state) {
    const TFixture& f = Fixture();
    auto db = std::make_unique<TKelDataBase>();
    db->LoadFromFile(f.Path);
    const std::string path = f.Folder + "/copy.kdb";
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        db->SaveToFile(path);
    Report(state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                      static_cast<double>(state.iterations()));
}

}  // namespace

BENCHMARK(BM_ReadFileIntoMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDataBase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDataBaseToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDataBaseToFile)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
