// The game player's window loop idling on a quiet map: the processor share of quillon-player (all
// its threads, from the kernel's per-thread run times) while it stands on the first map of a new
// project (water and the hero, no events, no music) with nobody pressing a key, against a reference measured in the same run: a thread that only wakes
// 60 times a second, the least any 60 Hz loop costs. The window is SDL's dummy one unless a
// display is set (run under Xvfb for the cost of real presenting). Target: under 2 % of one core.
#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr double kMeasureSeconds = 4.0;

std::string BesideMe(const char* program) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (self.parent_path() / program).string();
}

// Run time of every thread of a process, in seconds.
double ProcessCpuSeconds(pid_t pid) {
    double total = 0;
    std::error_code error;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream stat(task.path() / "schedstat");
        unsigned long long ns = 0;
        if (stat >> ns)
            total += static_cast<double>(ns) * 1e-9;
    }
    return total;
}

// The processor share of the player idling on the project's first map, or -1 when it did not run.
double PlayerIdleShare(const std::string& project) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(project.c_str()) != 0)
            ::_exit(127);
        if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY"))
            ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        const std::string player = BesideMe("quillon-player");
        ::execl(player.c_str(), player.c_str(), "HideTitle", "Window", "--start", "1,10,7", nullptr);
        ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // start-up and the first frames
    int status = 0;
    double share = -1;
    if (::waitpid(child, &status, WNOHANG) == 0) {
        const double cpuStart = ProcessCpuSeconds(child);
        const auto wallStart = benchkit::TClock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(kMeasureSeconds));
        share = (ProcessCpuSeconds(child) - cpuStart) / benchkit::Since(wallStart);
    }
    ::kill(child, SIGTERM);
    ::waitpid(child, &status, 0);
    return share;
}

// The share of a thread that wakes 60 times a second and does nothing else.
double WakeUpShare() {
    const double cpuStart = benchkit::CpuSeconds();
    const auto wallStart = benchkit::TClock::now();
    auto next = wallStart;
    while (benchkit::Since(wallStart) < kMeasureSeconds) {
        next += std::chrono::nanoseconds(1'000'000'000 / 60);
        std::this_thread::sleep_until(next);
    }
    return (benchkit::CpuSeconds() - cpuStart) / benchkit::Since(wallStart);
}

void BM_PlayerIdleOnAQuietMap(benchmark::State& state) {
    const fs::path base = fs::temp_directory_path() / "quillon-bench-player-idle";
    fs::remove_all(base);
    fs::create_directories(base);
    const fs::path project = base / "Quiet";
    const std::string command = BesideMe("quillon-cli") + " new-project " + base.string() + " Quiet Quiet > /dev/null";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("quillon-cli new-project failed");
        return;
    }
    for (auto _ : state) {
        const double share = PlayerIdleShare(project.string());
        if (share < 0) {
            state.SkipWithError("quillon-player did not keep running on the new project");
            break;
        }
        const double reference = WakeUpShare();
        state.counters["idle_percent"] = share * 100;
        state.counters["reference_percent"] = reference * 100;
        state.counters["ratio"] = reference > 0 ? share / reference : 0;
        state.counters["target_percent"] = 2;
    }
    fs::remove_all(base);
}
BENCHMARK(BM_PlayerIdleOnAQuietMap)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
