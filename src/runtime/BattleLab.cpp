#include "runtime/BattleLab.h"

#include "data/KelDump.h"
#include "platform/TextCodec.h"
#include "runtime/BattleScene.h"
#include "runtime/GameSession.h"

#include <cstdio>
#include <map>
#include <vector>

namespace quillon::runtime {

namespace {

std::string Mean(std::int64_t sum, int runs) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", runs > 0 ? static_cast<double>(sum) / runs : 0.0);
    return text;
}

struct THeroTotals {
    std::string Name;
    std::int64_t Dealt = 0, Taken = 0;
};

}  // namespace

std::string RunBattleLab(TGameSession& session, std::int32_t troopId, int runs, std::string& error) {
    int wins = 0, losses = 0, escapes = 0, interrupted = 0;
    std::int64_t turns = 0;
    std::vector<std::int32_t> order;
    std::map<std::int32_t, THeroTotals> heroes;
    for (int run = 0; run < runs; ++run) {
        if (!session.StartBattleTest(troopId, error))
            return {};
        TBattleScene& scene = *session.Battle();
        scene.RunToEnd();
        const TGameBattle& battle = scene.Battle();
        switch (battle.Result()) {
        case TBattleResult::Victory: ++wins; break;
        case TBattleResult::Defeat: ++losses; break;
        case TBattleResult::Escape: ++escapes; break;
        default: ++interrupted; break;
        }
        turns += battle.Turn();
        for (const TBattler& hero : battle.Heroes()) {
            if (heroes.count(hero.Id) == 0)
                order.push_back(hero.Id);
            THeroTotals& totals = heroes[hero.Id];
            totals.Name = hero.Name;
            totals.Dealt += hero.Dealt;
            totals.Taken += hero.Taken;
        }
    }
    std::string list;
    for (const std::int32_t id : order) {
        const THeroTotals& totals = heroes[id];
        list += std::string(list.empty() ? "" : ",") + "\n    {\"id\": " + std::to_string(id) + ", \"name\": " +
                JsonQuoted(Cp932ToUtf8(totals.Name)) + ", \"mean_damage_dealt\": " + Mean(totals.Dealt, runs) +
                ", \"mean_damage_taken\": " + Mean(totals.Taken, runs) + "}";
    }
    return "{\n  \"troop\": " + std::to_string(troopId) + ",\n  \"runs\": " + std::to_string(runs) +
           ",\n  \"wins\": " + std::to_string(wins) + ",\n  \"losses\": " + std::to_string(losses) +
           ",\n  \"escapes\": " + std::to_string(escapes) + ",\n  \"interrupted\": " + std::to_string(interrupted) +
           ",\n  \"mean_turns\": " + Mean(turns, runs) + ",\n  \"heroes\": [" + list + "]\n}\n";
}

}  // namespace quillon::runtime
