// Monsters' choice of action: which of a monster's action patterns apply now (their conditions),
// and one of them picked by the ratings (priorities).
#pragma once

#include <cstdint>
#include <functional>

namespace quillon {
class TKelMonsterAct;
class TKelMonsterActItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameRandom;

// Turn a x + b: with a = 0 only turn b; else turns b, b + a, b + 2a ...
bool TurnMatches(std::int32_t turn, std::int32_t a, std::int32_t b);

// What a monster's pattern conditions look at.
struct TAiView {
    std::int32_t Turn = 1;
    int Monsters = 1;             // monsters still standing
    int HpPercent = 100;          // the monster's own
    int MpPercent = 100;
    int HeroAverageLevel = 1;
    int HeroExhaustion = 0;       // percent of the party's HP lost
    std::function<bool(std::int32_t)> Switch;  // null: every switch off
};

bool PatternApplies(const TKelMonsterActItem& pattern, const TAiView& view);

// Ratings: of the patterns that apply, those rated within 10 of the best one take part, each with
// the weight (rating - (best - 10)). Answers the pattern's index in the list, or -1 when no
// pattern applies or the best rating is 0 or less (the monster then does nothing).
int ChoosePattern(const TKelMonsterAct& patterns, const TAiView& view, TGameRandom& random);

}  // namespace quillon::runtime
