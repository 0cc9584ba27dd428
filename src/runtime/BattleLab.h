// The battle lab: many battles of one troop with the test party on "Auto", summed up as JSON
// (wins, losses, escapes, the mean number of turns, each hero's mean damage dealt and taken), so
// that a designer balances a troop in seconds.
#pragma once

#include <cstdint>
#include <string>

namespace quillon::runtime {

class TGameSession;

// Plays `runs` battles of the troop one after the other (the session's random source goes on from
// battle to battle). Answers the JSON, or "" with error when the troop does not exist.
std::string RunBattleLab(TGameSession& session, std::int32_t troopId, int runs, std::string& error);

}  // namespace quillon::runtime
