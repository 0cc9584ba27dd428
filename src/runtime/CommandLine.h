// The player's command line: the words the editor's test play passes ("TestPlay", "BattleTest",
// "ShowTitle"/"HideTitle", "FullScreen"/"Window"), the player's own options and the headless
// mode's. The project folder is the working directory unless the headless mode names one.
#pragma once

#include "runtime/Game.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillon::runtime {

// The battle lab plays at most this many battles.
inline constexpr int kMaxLabRuns = 100000;

struct TPlayerCommandLine {
    TGameOptions Game;
    bool Help = false;
    bool Version = false;
    bool Headless = false;
    // Headless options.
    std::string InputFile;                                // --input FILE
    long long Frames = -1;                                // --frames N (-1: the input's length)
    std::vector<std::pair<long long, std::string>> Shots;  // --shot FRAME:FILE.png
    std::string StateFile;                                // --state FILE.json
    std::int32_t LabTroop = 0;                            // --battle-lab TROOP
    int LabRuns = 100;                                    // --runs N
};

// Reads the arguments (argv[1..]). On a usage error answers false and sets error to one line.
bool ParseCommandLine(const std::vector<std::string>& args, TPlayerCommandLine& out, std::string& error);
// The --help text.
std::string CommandLineHelp();
// The --version text (one line).
std::string PlayerVersion();

}  // namespace quillon::runtime
