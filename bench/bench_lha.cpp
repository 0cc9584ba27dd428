// The archiver's -lh5- compression over what a game disk holds: the starter run-time package and
// the sample project, file by file as the archiver packs them. Reported: MB/s, the packed size as
// a share of the original, and both against zlib at level 6 (gzip -6's setting) on the same files
// in the same run (time ratio and size ratio).
#include "platform/LhaArchive.h"
#include "project/PathUtils.h"
#include "tools/lib/SampleProject.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quillon;

namespace {

namespace fs = std::filesystem;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void AddFiles(const fs::path& folder, std::vector<std::string>& files) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.is_symlink())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
}

// The run-time package beside the program and a fresh sample project.
const std::vector<std::string>& GameDiskFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> out;
        AddFiles(GetAppPath() + "RTP", out);
        std::string pattern = (fs::temp_directory_path() / "quillon-bench-lha-XXXXXX").string();
        const std::string root = ::mkdtemp(pattern.data());
        MakeSampleProject(root + "/Sample");
        AddFiles(root + "/Sample", out);
        fs::remove_all(root);
        return out;
    }();
    return files;
}

std::size_t Zlib6(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<Bytef> out(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), 6);
    return size;
}

void BM_LhaCompressGameDisk(benchmark::State& state) {
    const std::vector<std::string>& files = GameDiskFiles();
    std::size_t original = 0, packed = 0, zipped = 0;
    double lhaSeconds = 0, zlibSeconds = 0;
    for (auto _ : state) {
        original = packed = zipped = 0;
        const double t0 = CpuSeconds();
        for (const std::string& file : files) {
            const std::string out = LhaCompress(file);
            packed += std::min(out.size(), file.size());  // stored when it does not shrink
            original += file.size();
        }
        const double t1 = CpuSeconds();
        state.PauseTiming();
        for (const std::string& file : files)
            zipped += std::min(Zlib6(file), file.size());
        const double t2 = CpuSeconds();
        state.ResumeTiming();
        lhaSeconds += t1 - t0;
        zlibSeconds += t2 - t1;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(original) * state.iterations());
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["MB"] = static_cast<double>(original) / 1e6;
    state.counters["lh5_MBps"] = static_cast<double>(original) * iterations / lhaSeconds / 1e6;
    state.counters["zlib6_MBps"] = static_cast<double>(original) * iterations / zlibSeconds / 1e6;
    state.counters["time_vs_zlib6"] = lhaSeconds / zlibSeconds;
    state.counters["lh5_ratio"] = static_cast<double>(packed) / static_cast<double>(original);
    state.counters["zlib6_ratio"] = static_cast<double>(zipped) / static_cast<double>(original);
    state.counters["size_vs_zlib6"] = static_cast<double>(packed) / static_cast<double>(zipped);
}
BENCHMARK(BM_LhaCompressGameDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LhaDecompressGameDisk(benchmark::State& state) {
    const std::vector<std::string>& files = GameDiskFiles();
    std::vector<std::string> packed;
    std::size_t original = 0;
    for (const std::string& file : files) {
        packed.push_back(LhaCompress(file));
        original += file.size();
    }
    for (auto _ : state)
        for (std::size_t i = 0; i < files.size(); ++i)
            benchmark::DoNotOptimize(LhaDecompress(packed[i], files[i].size(), 13));
    state.SetBytesProcessed(static_cast<std::int64_t>(original) * state.iterations());
}
BENCHMARK(BM_LhaDecompressGameDisk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
