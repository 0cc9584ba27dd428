// quillon-player: the game runtime. Without --headless it plays the project of the working
// directory in a window; with it, it runs the game as fast as it can for tests and checks.
#include "player/PlayerWindow.h"
#include "runtime/CommandLine.h"
#include "runtime/HeadlessDriver.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
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
    if (commandLine.Headless)
        return runtime::RunHeadless(commandLine);
    return player::RunPlayerWindow(commandLine.Game);
}
