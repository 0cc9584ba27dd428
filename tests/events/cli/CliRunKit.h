// Runs quillon-cli as a separate process for the command-line tests: its standard output and
// exit status (-1 when it did not end normally).
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

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

}  // namespace quillon::clikit
