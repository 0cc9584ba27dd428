// The game's random source: a small generator of our own (64-bit state, xorshift-multiply
// output), so that the same seed gives the same numbers on every library and machine.
#pragma once

#include <cstdint>

namespace quillon::runtime {

class TGameRandom {
public:
    explicit TGameRandom(std::uint64_t seed = 0) { Seed(seed); }
    void Seed(std::uint64_t seed) { mState = seed * 0x9E3779B97F4A7C15ull + 0x6A09E667F3BCC909ull; }
    std::uint64_t Next() {
        mState += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = mState;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number from low to high, both included (the bounds may come in either order).
    std::int32_t Between(std::int32_t low, std::int32_t high) {
        if (high < low)
            swap(low, high);
        const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
        return static_cast<std::int32_t>(low + static_cast<std::int64_t>(Next() % span));
    }
    // Where the generator stands, to go on from there later (a saved game).
    std::uint64_t Position() const { return mState; }
    void SetPosition(std::uint64_t position) { mState = position; }
    // 0 .. count - 1 (0 when count < 1).
    int Below(int count) { return count < 1 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(count)); }

private:
    template <class T>
    static void swap(T& a, T& b) { T t = a; a = b; b = t; }
    std::uint64_t mState = 0;
};

}  // namespace quillon::runtime
