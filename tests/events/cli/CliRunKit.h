// Runs quillon-cli as a separate process for the command-line tests: its standard output and
// exit status (-1 when it did not end normally); and a test folder of its own for a database
// file the tool reads and writes.
#pragma once

#include "data/LD_DataBase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon::clikit {

struct TCliRun {
    int Status = -1;
    std::string Out;
};

// `arguments` as they go on a shell command line after the tool's path; standard error goes to
// `errorFile` (empty: discarded).
inline TCliRun RunCli(const std::string& arguments, const std::string& errorFile = {}) {
    const std::string command = std::string("'") + QUILLON_CLI + "' " + arguments +
                                (errorFile.empty() ? " 2>/dev/null" : " 2>'" + errorFile + "'");
    TCliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Out.append(buffer, n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A path in single quotes, for a shell command line.
inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// A test with a folder of its own under the build tree ("test-<tag>-<process>"), empty at the
// start and removed at the end, for the database file "GMK_RT.kdb" in it.
class TCliFolderTest : public ::testing::Test {
protected:
    explicit TCliFolderTest(const std::string& tag)
        : folder(std::filesystem::path(QUILLON_BINARY_DIR) / ("test-" + tag + "-" + std::to_string(getpid()))) {}
    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string File() const { return (folder / "GMK_RT.kdb").string(); }

    // Runs the tool; its standard output goes to `out` when given.
    static int Run(const std::string& arguments, std::string* out = nullptr) {
        TCliRun run = RunCli(arguments);
        if (out)
            *out = std::move(run.Out);
        return run.Status;
    }
    // The database file as the tool left it.
    std::unique_ptr<TKelDataBase> Saved() const {
        auto db = std::make_unique<TKelDataBase>();
        db->LoadFromFile(File());
        return db;
    }

    const std::filesystem::path folder;
};

}  // namespace quillon::clikit
