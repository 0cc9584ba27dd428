// Weather over the map: none, rain or snow at a low, medium or high strength. The drops are
// placed by the session's random source, so a run with the same seed shows the same weather.
#pragma once

#include "runtime/GameRandom.h"

#include <vector>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

enum TWeatherKind : int { wkNone = 0, wkRain = 1, wkSnow = 2 };

class TGameWeather {
public:
    // kind 0 none, 1 rain, 2 snow; strength 0 low, 1 medium, 2 high (others clamped).
    void Set(int kind, int strength);
    int Kind() const { return mKind; }
    int Strength() const { return mStrength; }
    // How many drops the weather keeps on the screen.
    int DropCount() const;
    void Update(TGameRandom& random);
    void Draw(TOrlenBoard& board) const;
    // The state JSON's words: "none", "rain" or "snow", and "low", "medium" or "high".
    const char* KindName() const;
    const char* StrengthName() const;
    // The drops as x, y, life triples, and drops put back from such triples (as many as the
    // weather keeps; more are left out; places far off the screen are brought near it).
    std::vector<int> DropValues() const;
    void RestoreDrops(const std::vector<int>& values);

private:
    struct TDrop {
        int X = 0;
        int Y = 0;
        int Life = 0;
    };
    void Spawn(TDrop& drop, TGameRandom& random, bool anywhere) const;

    int mKind = wkNone;
    int mStrength = 0;
    std::vector<TDrop> mDrops;
};

}  // namespace quillon::runtime
