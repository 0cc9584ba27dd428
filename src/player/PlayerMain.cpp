// quillon-player: the game runtime. Without --headless it plays the project of the working
// directory in a window; with it, it runs the game as fast as it can for tests and checks.
#include "player/PlayerWindow.h"
#include "project/ProjectSettings.h"
#include "runtime/CommandLine.h"
#include "runtime/HeadlessDriver.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

int Run(int argc, char** argv) {
    using namespace quillon;
    const std::vector<std::string> args(argv + 1, argv + argc);
    runtime::TPlayerCommandLine commandLine;
    std::string error;
    if (!runtime::ParseCommandLine(args, commandLine, error)) {
        std::fprintf(stderr, "quillon-player: %s\n%s", error.c_str(), runtime::CommandLineHelp().c_str());
        return 2;
    }
    if (commandLine.Help) {
        std::fputs(runtime::CommandLineHelp().c_str(), stdout);
        return 0;
    }
    if (commandLine.Version) {
        std::printf("quillon-player %s\n", QUILLON_VERSION);
        return 0;
    }
    // Resources the project does not hold come from the run-time package, as in the editor.
    if (commandLine.Game.RtpDir.empty()) {
        try {
            commandLine.Game.RtpDir = GetRtpPath();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "quillon-player: the settings cannot be read (%s): no run-time package\n", error.what());
        }
    }
    if (commandLine.Headless)
        return runtime::RunHeadless(commandLine);
    return player::RunPlayerWindow(commandLine.Game);
}

}  // namespace

int main(int argc, char** argv) {
    // Whatever escapes the game ends it with a message, never with a crash.
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("quillon-player: out of memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillon-player: %s\n", error.what());
    }
    return 1;
}
