#include "runtime/GameWeather.h"

#include "graphics/OrlenSheet.h"
#include "runtime/Game.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kRainLength = 8;
constexpr std::uint16_t kRainColor = 0xBE1F;  // pale blue
constexpr std::uint16_t kSnowColor = 0xFFFF;

// Half the colour over half the destination.
std::uint16_t Half(std::uint16_t a, std::uint16_t b) {
    return static_cast<std::uint16_t>(((a & 0xF7DE) >> 1) + ((b & 0xF7DE) >> 1));
}

}  // namespace

void TGameWeather::Set(int kind, int strength) {
    kind = kind == wkRain || kind == wkSnow ? kind : wkNone;
    strength = std::clamp(strength, 0, 2);
    if (kind != mKind)
        mDrops.clear();
    mKind = kind;
    mStrength = strength;
}

std::vector<int> TGameWeather::DropValues() const {
    std::vector<int> values;
    for (const TDrop& drop : mDrops)
        values.insert(values.end(), {drop.X, drop.Y, drop.Life});
    return values;
}

void TGameWeather::RestoreDrops(const std::vector<int>& values) {
    mDrops.clear();
    const std::size_t count = std::min(values.size() / 3, static_cast<std::size_t>(DropCount()));
    // Drops stay near the screen and live a while, whatever a damaged save says.
    for (std::size_t i = 0; i < count; ++i)
        mDrops.push_back(TDrop{std::clamp(values[i * 3], -kScreenWidth, 2 * kScreenWidth),
                               std::clamp(values[i * 3 + 1], -kScreenHeight, 2 * kScreenHeight),
                               std::clamp(values[i * 3 + 2], 0, 1000)});
}

int TGameWeather::DropCount() const {
    if (mKind == wkNone)
        return 0;
    const int base = mKind == wkRain ? 40 : 30;
    return base << mStrength;
}

void TGameWeather::Spawn(TDrop& drop, TGameRandom& random, bool anywhere) const {
    // Rain falls slanted to the left, so it may start right of the screen.
    drop.X = random.Below(kScreenWidth + (mKind == wkRain ? kScreenHeight / 4 : 0));
    drop.Y = anywhere ? random.Below(kScreenHeight) : -random.Below(kScreenHeight / 4) - 2;
    drop.Life = mKind == wkRain ? 20 + random.Below(20) : 120 + random.Below(120);
}

void TGameWeather::Update(TGameRandom& random) {
    const std::size_t count = static_cast<std::size_t>(DropCount());
    // New weather fills the whole screen at once; a stronger one adds drops anywhere.
    while (mDrops.size() < count) {
        mDrops.emplace_back();
        Spawn(mDrops.back(), random, true);
    }
    mDrops.resize(count);
    for (TDrop& drop : mDrops) {
        if (mKind == wkRain) {
            drop.X -= 2;
            drop.Y += 8;
        } else {
            drop.Y += 1;
            drop.X += random.Below(3) - 1;
        }
        if (--drop.Life <= 0 || drop.Y >= kScreenHeight || drop.X < -kRainLength)
            Spawn(drop, random, false);
    }
}

void TGameWeather::Draw(TOrlenBoard& board) const {
    const auto put = [&board](int x, int y, std::uint16_t color) {
        if (x >= 0 && y >= 0 && x < board.Width() && y < board.Height()) {
            std::uint16_t& p = board.ScanLine(y)[x];
            p = Half(p, color);
        }
    };
    for (const TDrop& drop : mDrops) {
        if (mKind == wkRain) {
            for (int i = 0; i < kRainLength; ++i)
                put(drop.X - i / 4, drop.Y + i, kRainColor);
        } else {
            for (int i = 0; i < 4; ++i)
                put(drop.X + i % 2, drop.Y + i / 2, kSnowColor);
        }
    }
}

const char* TGameWeather::KindName() const {
    return mKind == wkRain ? "rain" : mKind == wkSnow ? "snow" : "none";
}

const char* TGameWeather::StrengthName() const {
    return mStrength == 0 ? "low" : mStrength == 1 ? "medium" : "high";
}

}  // namespace quillon::runtime
