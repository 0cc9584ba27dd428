// Peak resident memory of `quillon-cli check`, `quillon-cli dump` and the editor's opening of a
// project whose database holds 100 common events of 100,000 script lines each (about 60 MB), as
// a ratio to the database file's size measured in the same run. Each is run as a child process
// and its peak is read through wait4. The target: every ratio below 4.
#include "data/LD_DataBase.h"
#include "platform/FileUtils.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

constexpr int kEvents = 100;
constexpr int kLinesPerEvent = 100000;

std::string OwnFolder() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path().string();
}

// The common event section of the big database, made one event at a time so that this process
// never holds more than one event's lines.
std::string CommonEventSection() {
    TMemoryStream section;
    WriteVarInt(section, kEvents);
    for (int id = 1; id <= kEvents; ++id) {
        TKelCommonEventItem event;
        event.SetID(id);
        event.Name = "Common event " + std::to_string(id);
        event.Script.Clear();
        for (int i = 0; i + 1 < kLinesPerEvent; ++i) {
            TKelEventScriptLine& line = event.Script.Add();
            line.Code = i % 50 == 0 ? 10110 : 12010;  // a message now and then, switches otherwise
            line.Indent = 0;
            if (i % 50 == 0)
                line.Text = "Line " + std::to_string(i);
            else {
                line.SetParamCount(1);
                line.SetParam(0, i % 100);
            }
        }
        event.Script.Add();  // closing line
        WriteVarInt(section, id);
        event.SaveToStream(section);
    }
    return section.TakeBytes();
}

struct TFixture {
    std::string Base;     // the project base folder
    std::string Project;  // the project folder
    std::string Config;
    std::int64_t FileSize = 0;
    bool Ok = false;

    TFixture() {
        Base = (fs::temp_directory_path() / ("quillon-bench-dbmem-" + std::to_string(getpid()))).string();
        Config = Base + "/config";
        fs::create_directories(Config);
        fs::create_directories(Base + "/tmp");
        fs::permissions(Base + "/tmp", fs::perms::owner_all);
        Project = Base + "/Big";
        const std::string cli = OwnFolder() + "/quillon-cli";
        const std::string make = "'" + cli + "' new-project '" + Base + "' Big Big > /dev/null";
        if (std::system(make.c_str()) != 0)
            return;
        // Every section of a fresh database, but the common events: the big ones.
        auto db = std::make_unique<TKelDataBase>();
        TMemoryStream image;
        WriteString(image, TKelDataBase::kSignature);
        for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n) {
            std::string bytes;
            if (n == 25) {
                bytes = CommonEventSection();
            } else {
                TMemoryStream section;
                const TKelDataBase::TSection s = db->Section(n);
                if (s.List)
                    s.List->SaveToStream(section);
                else
                    s.Record->SaveToStream(section);
                bytes = section.TakeBytes();
            }
            WriteVarInt(image, n);
            WriteVarInt(image, static_cast<std::int32_t>(bytes.size()));
            image.WriteBuffer(bytes.data(), bytes.size());
        }
        WriteFileAtomic(Project + "/" + TKelDataBase::kFileName, image.Bytes());
        FileSize = image.Size();
        Ok = true;
    }
    ~TFixture() {
        std::error_code error;
        fs::remove_all(Base, error);
    }
};

TFixture& Fixture() {
    static TFixture fixture;
    return fixture;
}

struct TRun {
    double PeakMB = 0;
    bool Ok = false;
};

// Runs a program with stdout to /dev/null; with `untilLine`, stops it once its stderr showed a
// line holding that text. Answers its peak resident memory.
TRun RunChild(const std::vector<std::string>& args, const std::string& untilLine = {}) {
    const TFixture& f = Fixture();
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    int errPipe[2];
    if (pipe(errPipe) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("QUILLON_CONFIG_DIR", f.Config.c_str(), 1);
        setenv("TMPDIR", (f.Base + "/tmp").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (f.Base + "/tmp").c_str(), 1);
        setenv("QUILLON_TRACE_STARTUP", "1", 1);
        dup2(errPipe[1], 2);
        close(errPipe[0]);
        close(errPipe[1]);
        if (!freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(errPipe[1]);
    TRun run;
    bool stopped = false;
    std::string err;
    char buffer[4096];
    // Read stderr until the child ends (or shows the line); at most two minutes.
    for (int tenths = 0; tenths < 1200; ++tenths) {
        pollfd p{errPipe[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            const ssize_t n = read(errPipe[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            err.append(buffer, static_cast<std::size_t>(n));
            if (!untilLine.empty() && err.find(untilLine) != std::string::npos) {
                usleep(300000);  // what runs at once after the opening
                kill(pid, SIGTERM);
                stopped = true;
                break;
            }
        }
    }
    if (!stopped && !untilLine.empty())
        kill(pid, SIGKILL);
    close(errPipe[0]);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.PeakMB = static_cast<double>(usage.ru_maxrss) * 1024.0 / 1e6;
    // check answers 1 for the problems it finds in the bare project (no map files need to be
    // sound here); a signal or a crash is a failure.
    run.Ok = stopped || (WIFEXITED(status) && WEXITSTATUS(status) <= 1);
    return run;
}

void Measure(benchmark::State& state, const std::vector<std::string>& args, const std::string& untilLine = {}) {
    const TFixture& f = Fixture();
    if (!f.Ok) {
        state.SkipWithError("the project could not be made (quillon-cli new-project)");
        for (auto _ : state) {
        }
        return;
    }
    TRun run;
    for (auto _ : state) {
        run = RunChild(args, untilLine);
        if (!run.Ok) {
            state.SkipWithError("the child failed");
            break;
        }
    }
    const double fileMB = static_cast<double>(f.FileSize) / 1e6;
    state.counters["file_MB"] = fileMB;
    state.counters["peak_MB"] = run.PeakMB;
    state.counters["x_file_size"] = run.PeakMB / fileMB;
}

void BM_CheckPeakMemory(benchmark::State& state) {
    Measure(state, {OwnFolder() + "/quillon-cli", "check", Fixture().Project});
}

void BM_DumpPeakMemory(benchmark::State& state) {
    Measure(state, {OwnFolder() + "/quillon-cli", "dump", Fixture().Project + "/" + TKelDataBase::kFileName});
}

void BM_EditorOpeningPeakMemory(benchmark::State& state) {
    const std::string editor = OwnFolder() + "/quillon";
    if (access(editor.c_str(), X_OK) != 0) {
        state.SkipWithError("the editor is not built");
        for (auto _ : state) {
        }
        return;
    }
    Measure(state, {editor, Fixture().Project}, "project opened");
}

}  // namespace

BENCHMARK(BM_CheckPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DumpPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EditorOpeningPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
