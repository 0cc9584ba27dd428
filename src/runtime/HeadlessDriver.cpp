#include "runtime/HeadlessDriver.h"

#include "runtime/BattleLab.h"

#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"
#include "project/ProjectSettings.h"
#include "runtime/GameAudio.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <limits>
#include <sstream>

namespace quillon::runtime {

namespace {

// The longest input script a run takes: about a day of frames.
constexpr long long kMaxScriptFrames = 6'000'000;

bool ParseKeys(const std::string& text, std::uint32_t& held) {
    held = 0;
    if (text == "-")
        return true;
    static constexpr struct {
        const char* Name;
        TGameButton Button;
    } kKeys[] = {{"up", gbUp},         {"down", gbDown},     {"left", gbLeft},  {"right", gbRight},
                 {"decide", gbDecide}, {"cancel", gbCancel}, {"shift", gbShift}};
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('+', start), text.size());
        const std::string key = text.substr(start, end - start);
        bool known = false;
        for (const auto& k : kKeys)
            if (key == k.Name) {
                held |= k.Button;
                known = true;
            }
        if (!known)
            return false;
        start = end + 1;
    }
    return true;
}

bool WriteShot(TOrlenBoard& screen, const std::string& file) {
    try {
        SavePicture(BoardToBitmap(screen), file);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-player: %s: %s\n", file.c_str(), e.what());
        return false;
    }
    return true;
}

}  // namespace

bool ReadInputScript(std::istream& in, std::vector<std::uint32_t>& frames, std::string& error) {
    frames.clear();
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string countText;
        std::string keys;
        std::string extra;
        if (!(words >> countText))
            continue;  // blank or comment
        long long count = 0;
        std::uint32_t held = 0;
        if (!(words >> keys) || (words >> extra)) {
            error = "line " + std::to_string(number) + ": expected \"COUNT KEYS\"";
            return false;
        }
        try {
            std::size_t used = 0;
            count = std::stoll(countText, &used);
            if (used != countText.size() || count < 0)
                throw std::invalid_argument("count");
        } catch (const std::exception&) {
            error = "line " + std::to_string(number) + ": \"" + countText + "\" is not a frame count";
            return false;
        }
        if (!ParseKeys(keys, held)) {
            error = "line " + std::to_string(number) + ": unknown keys \"" + keys +
                    "\" (- or up, down, left, right, decide, cancel, shift joined by +)";
            return false;
        }
        if (static_cast<long long>(frames.size()) + count > kMaxScriptFrames) {
            error = "line " + std::to_string(number) + ": the script is longer than " +
                    std::to_string(kMaxScriptFrames) + " frames";
            return false;
        }
        frames.insert(frames.end(), static_cast<std::size_t>(count), held);
    }
    return true;
}

int RunHeadless(const TPlayerCommandLine& commandLine) {
    std::vector<std::uint32_t> script;
    if (!commandLine.InputFile.empty()) {
        std::ifstream in(commandLine.InputFile);
        if (!in) {
            std::fprintf(stderr, "quillon-player: %s: the input script cannot be read\n", commandLine.InputFile.c_str());
            return 2;
        }
        std::string error;
        if (!ReadInputScript(in, script, error)) {
            std::fprintf(stderr, "quillon-player: %s: %s\n", commandLine.InputFile.c_str(), error.c_str());
            return 2;
        }
    }
    const long long frames = commandLine.Frames >= 0 ? commandLine.Frames : static_cast<long long>(script.size());

    // The run-time package: the one the options name, else the one the settings know.
    TGameOptions options = commandLine.Game;
    if (options.RtpDir.empty())
        options.RtpDir = GetRtpPath();
    TRecordingGameAudio audio;
    std::string error;
    if (commandLine.LabTroop > 0) {
        // The battle lab: the project opens on the troop's battle test, then plays it again and again.
        options.BattleTest = true;
        options.BattleTroop = commandLine.LabTroop;
        std::unique_ptr<TGame> lab = TGame::Open(options, audio, error);
        const std::string json = lab ? RunBattleLab(lab->Session(), commandLine.LabTroop, commandLine.LabRuns, error) : "";
        if (json.empty()) {
            std::fprintf(stderr, "quillon-player: %s\n", error.c_str());
            return 1;
        }
        std::fputs(json.c_str(), stdout);
        return 0;
    }
    std::unique_ptr<TGame> game = TGame::Open(options, audio, error);
    if (!game) {
        std::fprintf(stderr, "quillon-player: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::pair<long long, std::string>> shots = commandLine.Shots;
    std::stable_sort(shots.begin(), shots.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t nextShot = 0;
    TOrlenBoard screen;
    bool written = true;
    const auto takeShots = [&](long long frame) {
        while (nextShot < shots.size() && shots[nextShot].first <= frame) {
            game->Draw(screen);
            written = WriteShot(screen, shots[nextShot].second) && written;
            ++nextShot;
        }
    };
    takeShots(0);
    TGameInput input;
    for (long long frame = 1; frame <= frames && !game->Ended(); ++frame) {
        const std::uint32_t held = frame <= static_cast<long long>(script.size()) ? script[frame - 1] : 0;
        input = input.Next(held);
        game->Step(input);
        takeShots(frame);
    }
    // Shots after the end show the last frame.
    takeShots(std::numeric_limits<long long>::max());
    if (!commandLine.StateFile.empty()) {
        try {
            WriteFileAtomic(commandLine.StateFile, game->StateJson());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quillon-player: %s: %s\n", commandLine.StateFile.c_str(), e.what());
            return 2;
        }
    }
    if (!written)
        return 2;
    return game->ExitCode();
}

}  // namespace quillon::runtime
