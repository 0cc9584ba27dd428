// Battles: one frame of a battle of 8 monsters against 4 heroes with an animation playing (logic
// and drawing), against the memcpy of a 800 x 600 board; and the battle lab's 1,000 battles of a
// sample troop, against 1,000 such memcpys per battle turn.
#include "data/LD_DataBase.h"
#include "graphics/OrlenSheet.h"
#include "runtime/BattleLab.h"
#include "runtime/BattleScene.h"
#include "runtime/Game.h"
#include "runtime/GameAudio.h"
#include "runtime/GameSession.h"
#include "tools/lib/StarterDataBase.h"

#include "BenchKit.h"
#include "PlayerBenchKit.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace quillon;
using namespace quillon::runtime;

namespace {

constexpr std::int32_t kBigTroop = 30;

// A project with the starter database, its run-time package's images, a troop of 8 monsters and
// a test party of 4 heroes of level 20.
const std::string& Project() {
    static const std::string folder = [] {
        const std::string path = benchkit::FreshFolder("quillon-bench-battle");
        benchkit::WriteRuntimePackage(path);
        TKelDataBase database;
        MakeStarterDataBase(database);
        TKelMonGroupItem& troop = database.MonGroup.Obtain(kBigTroop);
        for (int i = 0; i < 8; ++i) {
            TKelMonGroupMonsterItem& member = troop.Members.Obtain(i + 1);
            member.MonsterId = 9 + i % 4;
            member.X = 40 + 34 * i;
            member.Y = 60 + 30 * (i % 2);
        }
        database.System.TestPlayer.Clear();
        for (int i = 0; i < 4; ++i) {
            TKelTestPlayerItem& hero = database.System.TestPlayer.Obtain(i + 1);
            hero.HeroId = i + 1;
            hero.Level = 20;
        }
        benchkit::WriteGameProject(path, database);
        return path;
    }();
    return folder;
}

std::unique_ptr<TGame> OpenBattle(benchmark::State& state, IGameAudio& audio, std::int32_t troop) {
    TGameOptions options;
    options.ProjectDir = Project();
    options.BattleTest = true;
    options.BattleTroop = troop;
    return benchkit::OpenGame(state, options, audio);
}

void BM_BattleFrameWithAnimation(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenBattle(state, audio, kBigTroop);
    if (!game)
        return;
    TGameSession& session = game->Session();
    benchkit::MeasureGameFrames(state, *game, TGameInput(), 300, 3, [&](std::int64_t frame, const TGameInput&) {
        if (session.Battle()->Finished()) {
            std::string error;
            session.StartBattleTest(kBigTroop, error);
        }
        if (!session.Battle()->AnimationRunning())
            session.Battle()->ShowAnimation(1 + static_cast<int>(frame % 3), static_cast<int>(frame % 8), false);
        // Decide every other frame: the party fights on.
        return frame % 2 == 0 ? std::uint32_t{gbDecide} : 0u;
    });
}
BENCHMARK(BM_BattleFrameWithAnimation)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BattleLabThousandBattles(benchmark::State& state) {
    TRecordingGameAudio audio;
    auto game = OpenBattle(state, audio, 3);
    if (!game)
        return;
    double seconds = 0;
    for (auto _ : state) {
        seconds = benchkit::BestSeconds(
            [&] {
                std::string error;
                const std::string json = RunBattleLab(game->Session(), 3, 1000, error);
                benchmark::DoNotOptimize(json.data());
            },
            1);
    }
    benchkit::ReportRatio(state, seconds, 1000 * benchkit::MemcpySeconds(), 10000);
}
BENCHMARK(BM_BattleLabThousandBattles)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
