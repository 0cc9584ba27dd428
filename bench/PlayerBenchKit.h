// What the game runtime's benchmarks share: a fresh project folder with the run-time package's
// images, a project written from a database and (optionally) one map the party starts on, and a
// game opened on it that skips the benchmark with the reason when it cannot start.
#pragma once

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
#include "runtime/GameInput.h"
#include "graphics/OrlenSheet.h"
#include "tools/lib/RtpImages.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <cstdint>

#include <filesystem>
#include <memory>
#include <string>

namespace benchkit {

// An empty folder of that name in the temporary directory; its path ends in '/'.
inline std::string FreshFolder(const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string() + "/";
}

// The material folders of a project, with the run-time package's images in them.
inline void WriteRuntimePackage(const std::string& folder) {
    for (const char* kind : {"CharSet", "ChipSet", "FaceSet", "GameOver", "Panorama", "System", "Title", "Backdrop",
                             "Battle", "Monster", "Picture"})
        std::filesystem::create_directories(folder + kind);
    quillon::WriteRtpImages(folder);
}

// Writes the database and a map tree; with a map, it is map 1 and the party starts on it at (x, y).
inline void WriteGameProject(const std::string& folder, quillon::TKelDataBase& database,
                             quillon::TKelMap* map = nullptr, int x = 0, int y = 0) {
    using namespace quillon;
    database.SaveToFile(folder + TKelDataBase::kFileName);
    TKelMapTree tree;
    tree.AddItem(0, 0);
    if (map) {
        map->SaveToFile(folder + MapFileName(1));
        tree.AddItem(0, 1).Kind = TKelMapTreeItem::mkMap;
        tree.StartPosition.PartyMapId = 1;
        tree.StartPosition.PartyX = x;
        tree.StartPosition.PartyY = y;
    }
    TMemoryStream stream;
    tree.SaveTreeToStream(stream);
    WriteFileAtomic(folder + TKelMapTree::kFileName, stream.Bytes());
}

// A game with those options; null, and the benchmark skipped with the reason, when it cannot start.
inline std::unique_ptr<quillon::runtime::TGame> OpenGame(benchmark::State& state,
                                                         const quillon::runtime::TGameOptions& options,
                                                         quillon::runtime::IGameAudio& audio) {
    std::string error;
    auto game = quillon::runtime::TGame::Open(options, audio, error);
    if (!game)
        state.SkipWithError(error.c_str());
    return game;
}

// Reports the CPU time of one logic step and one drawn frame (batches of `steps`) against the
// memcpy of a board, with the target in milliseconds. Before each step keys(frame, input) sets up
// what the frame needs and answers the buttons held in it; input goes on from `input`.
template <typename Keys>
void MeasureGameFrames(benchmark::State& state, quillon::runtime::TGame& game, quillon::runtime::TGameInput input,
                       std::int64_t steps, double targetMs, Keys keys) {
    quillon::TOrlenBoard board;
    std::int64_t frame = 0;
    double seconds = 0;
    for (auto _ : state) {
        seconds = SecondsPerCall(steps, [&] {
            input = input.Next(keys(frame++, input));
            game.Step(input);
            game.Draw(board);
            benchmark::DoNotOptimize(board.Bits());
        });
    }
    ReportRatio(state, seconds, MemcpySeconds(), targetMs);
}

}  // namespace benchkit
