#include "runtime/CommandLine.h"

#include "runtime/GameSave.h"

#include <charconv>
#include <cstdint>

namespace quillon::runtime {

namespace {

template <class T>
bool ParseNumber(const std::string& text, T& value) {
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// MAP,X,Y
bool ParseStart(const std::string& text, TStartPlace& place) {
    const std::size_t first = text.find(',');
    const std::size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos)
        return false;
    return ParseNumber(text.substr(0, first), place.MapId) &&
           ParseNumber(text.substr(first + 1, second - first - 1), place.X) &&
           ParseNumber(text.substr(second + 1), place.Y) && place.MapId >= 1 && place.X >= 0 && place.Y >= 0;
}

// FRAME:FILE
bool ParseShot(const std::string& text, std::pair<long long, std::string>& shot) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size())
        return false;
    shot.second = text.substr(colon + 1);
    return ParseNumber(text.substr(0, colon), shot.first) && shot.first >= 0;
}

}  // namespace

std::string PlayerVersion() { return "quillon-player 0.1"; }

std::string CommandLineHelp() {
    return "usage: quillon-player [TestPlay] [BattleTest [TROOP]] [ShowTitle|HideTitle] [FullScreen|Window]\n"
           "                      [--seed N] [--start MAP,X,Y] [--load N]\n"
           "       quillon-player --headless [PROJECT] [the words above] [--seed N] [--input FILE]\n"
           "                      [--frames N] [--shot FRAME:FILE.png]... [--state FILE.json] [--start MAP,X,Y]\n"
           "                      [--load N]\n"
           "       quillon-player --headless [PROJECT] --battle-lab TROOP [--runs N] [--seed S]\n"
           "       quillon-player --help | --version\n"
           "\n"
           "Plays the game of the project in the working folder (or PROJECT in the headless mode).\n"
           "  TestPlay         a test play: Ctrl walks through walls, F3 runs the game four times as fast\n"
           "  BattleTest TROOP a battle test: the editor's test party fights the troop, then the game ends\n"
           "  ShowTitle        start at the title screen (the default); HideTitle starts the game at once\n"
           "  FullScreen       start in full screen; Window in a window (the default)\n"
           "  --seed N         the random source's seed (0 by default)\n"
           "  --start MAP,X,Y  start the party on that map and cell\n"
           "  --load N         continue from save slot N (1 to 15, \"Save01.ksv\" ... in the project)\n"
           "  --headless       no window and no sound; run as fast as possible\n"
           "  --input FILE     lines \"COUNT KEYS\": hold KEYS (- or up+down+left+right+decide+cancel+shift)\n"
           "                   for COUNT frames; # starts a comment\n"
           "  --frames N       frames to run (default: the input's length)\n"
           "  --shot F:FILE    write the 320 x 240 screen after frame F as PNG (repeatable)\n"
           "  --state FILE     write the game's state as JSON at the end\n"
           "  --battle-lab T   play --runs N battles (100 by default) of troop T with the test party on Auto\n"
           "                   and print JSON: wins, losses, escapes, mean turns, damage per hero\n"
           "Exit status: 0, 1 for a project error, 2 for a usage error.\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, TPlayerCommandLine& out, std::string& error) {
    out = TPlayerCommandLine{};
    bool projectGiven = false;
    bool headlessOption = false;
    std::string headlessOptionName;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& text) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            text = args[++i];
            return true;
        };
        std::string text;
        if (arg == "TestPlay") {
            out.Game.TestPlay = true;
        } else if (arg == "BattleTest") {
            out.Game.BattleTest = true;
        } else if (arg == "ShowTitle" || arg == "HideTitle") {
            out.Game.ShowTitle = arg == "ShowTitle";
        } else if (arg == "FullScreen" || arg == "Window") {
            out.Game.FullScreen = arg == "FullScreen";
        } else if (arg == "--help" || arg == "-h") {
            out.Help = true;
        } else if (arg == "--version") {
            out.Version = true;
        } else if (arg == "--headless") {
            out.Headless = true;
        } else if (arg == "--seed") {
            if (!value(text) || !ParseNumber(text, out.Game.Seed)) {
                error = "--seed needs a number from 0 to 4294967295";
                return false;
            }
        } else if (arg == "--start") {
            TStartPlace place;
            if (!value(text) || !ParseStart(text, place)) {
                error = "--start needs MAP,X,Y (a map ID and a cell)";
                return false;
            }
            out.Game.Start = place;
        } else if (arg == "--load") {
            if (!value(text) || !ParseNumber(text, out.Game.LoadSlot) || out.Game.LoadSlot < 1 ||
                out.Game.LoadSlot > kSaveSlots) {
                error = "--load needs a save slot from 1 to " + std::to_string(kSaveSlots);
                return false;
            }
        } else if (arg == "--input") {
            if (!value(out.InputFile))
                return false;
            headlessOption = true;
            headlessOptionName = arg;
        } else if (arg == "--frames") {
            if (!value(text) || !ParseNumber(text, out.Frames) || out.Frames < 0) {
                error = "--frames needs a number of frames";
                return false;
            }
            headlessOption = true;
            headlessOptionName = arg;
        } else if (arg == "--shot") {
            std::pair<long long, std::string> shot;
            if (!value(text) || !ParseShot(text, shot)) {
                error = "--shot needs FRAME:FILE.png";
                return false;
            }
            out.Shots.push_back(shot);
            headlessOption = true;
            headlessOptionName = arg;
        } else if (arg == "--battle-lab") {
            if (!value(text) || !ParseNumber(text, out.LabTroop) || out.LabTroop < 1) {
                error = "--battle-lab needs a troop ID";
                return false;
            }
            headlessOption = true;
            headlessOptionName = arg;
        } else if (arg == "--runs") {
            if (!value(text) || !ParseNumber(text, out.LabRuns) || out.LabRuns < 1 || out.LabRuns > kMaxLabRuns) {
                error = "--runs needs a number from 1 to " + std::to_string(kMaxLabRuns);
                return false;
            }
            headlessOption = true;
            headlessOptionName = arg;
        } else if (arg == "--state") {
            if (!value(out.StateFile))
                return false;
            headlessOption = true;
            headlessOptionName = arg;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            // The battle test's troop follows the words; the headless mode may name the project.
            if (out.Game.BattleTest && out.Game.BattleTroop == 0 && ParseNumber(arg, out.Game.BattleTroop))
                continue;
            if (projectGiven) {
                error = "unexpected argument " + arg;
                return false;
            }
            projectGiven = true;
            out.Game.ProjectDir = arg;
        }
    }
    if (headlessOption && !out.Headless) {
        error = headlessOptionName + " is an option of the headless mode (--headless)";
        return false;
    }
    if (projectGiven && !out.Headless) {
        error = "the project is the working folder; only the headless mode names one";
        return false;
    }
    return true;
}

}  // namespace quillon::runtime
