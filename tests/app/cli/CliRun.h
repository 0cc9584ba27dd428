// Runs quillon-cli (and the sample maker) as a user runs them: a child process with its own
// temporary and settings folders, its output caught in files, a memory limit so that a reader
// running away fails instead of swamping the machine, and a guard that ends a hung run.
#pragma once

#include "platform/AddressSpaceLimit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <fcntl.h>
#include <map>
#include <vector>

namespace quillon::clitest {

namespace fs = std::filesystem;

inline std::string CliPath() { return std::string(QUILLON_BINARY_DIR) + "/bin/quillon-cli"; }
inline std::string SamplePath() { return std::string(QUILLON_BINARY_DIR) + "/bin/quillon-make-sample"; }

struct TRun {
    int Status = -1;     // exit status; -1 when killed by a signal
    bool Hung = false;   // ended by the guard
    std::string Out;
    std::string Err;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs program with args; the guard ends it after guardSeconds.
inline TRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& scratch, int guardSeconds = 60, long long fileSizeLimit = 0) {
    const std::string outFile = scratch + "/stdout.txt";
    const std::string errFile = scratch + "/stderr.txt";
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::dup2(in, 0);
        testkit::LimitAddressSpace(2048ull << 20);
        if (fileSizeLimit > 0) {  // writes past it fail as on a full disk
            const rlimit size{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &size);
            ::signal(SIGXFSZ, SIG_IGN);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    TRun run;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(guardSeconds);
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            run.Hung = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = Slurp(outFile);
    run.Err = Slurp(errFile);
    return run;
}

// A fixture with a scratch root: TMPDIR is <root>/tmp and the settings live in <root>/config,
// for this process and every program it runs.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-clitest-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern + "/";
        fs::create_directories(Root + "tmp");
        fs::create_directories(Root + "config");
        fs::create_directories(Root + "run");
        SaveEnv("TMPDIR", Root + "tmp");
        SaveEnv("QUILLON_CONFIG_DIR", Root + "config");
    }
    void TearDown() override {
        for (auto& [name, value] : mSaved) {
            if (value.second)
                ::setenv(name.c_str(), value.first.c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(Root, fs::directory_options::skip_permission_denied, ignored))
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Root, ignored);
    }
    void SaveEnv(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        if (!mSaved.count(name))
            mSaved[name] = {old ? old : "", old != nullptr};
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    TRun Cli(const std::vector<std::string>& args, int guardSeconds = 60) {
        return RunProgram(CliPath(), args, Root + "run", guardSeconds);
    }
    TRun Sample(const std::string& folder) { return RunProgram(SamplePath(), {folder}, Root + "run"); }
    // A new project from the starter content; its folder, ending in '/'.
    std::string NewProject(const std::string& name = "P") {
        const TRun run = Cli({"new-project", Root, name, "Test"});
        EXPECT_EQ(run.Status, 0) << run.Err;
        return Root + name + "/";
    }

    std::string Root;

private:
    std::map<std::string, std::pair<std::string, bool>> mSaved;
};

}  // namespace quillon::clitest
