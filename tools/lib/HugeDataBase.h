// A database whose first records hold far more than any page of the database window lets the
// user make (a battle animation of 100,000 frames, a hero who learns 200,000 skills ...): what
// the window must open, show and leave unchanged in bounded time. Built through the data model,
// for the window's tests, its benchmark and the end-to-end test's project.
#pragma once

#include <cstdint>

namespace quillon {

class TKelDataBase;

struct THugeCounts {
    std::int32_t Frames = 100000;       // animation 1: frames, with a cell on every seventh
    std::int32_t Timings = 100000;      // animation 1: sound and flash cues
    std::int32_t Learnings = 200000;    // hero 1: skills learned by level
    std::int32_t Actions = 100000;      // monster 1: action patterns
    std::int32_t Members = 100000;      // troop 1: monsters
    std::int32_t TroopPages = 100000;   // troop 1: battle event pages
    std::int32_t ScriptLines = 100000;  // common event 1 and troop 1's first page: script lines
    std::int32_t PartySize = 100000;    // system: party members and battle-test heroes
    // Entries of every list (heroes, skills ... common events), switches and variables; 0 keeps
    // the lists as they are.
    std::int32_t Entries = 0;
};

// Makes record 1 of each list (and the system record) huge as `counts` says, keeping the rest.
void MakeHugeDataBase(TKelDataBase& database, const THugeCounts& counts = {});

}  // namespace quillon
