#include "player/FramePacer.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace quillon::player {
namespace {

constexpr std::int64_t kMs = 1'000'000;

// Runs the pacer over a simulated clock that advances by the given ticks up to `until`, where it
// looks once more; answers the steps run.
template <class Advance> std::int64_t Drive(TFramePacer& pacer, std::int64_t& now, std::int64_t until, Advance advance) {
    std::int64_t steps = 0;
    while (now < until) {
        steps += pacer.StepsDue(now);
        now += advance(pacer, now);
    }
    return steps + pacer.StepsDue(until);
}

TEST(FramePacer, SixtyStepsASecondWhateverTheWakeUps) {
    std::mt19937 random(7);
    struct TCase {
        const char* Name;
        std::function<std::int64_t(TFramePacer&, std::int64_t)> Advance;
    };
    const TCase cases[] = {
        {"every millisecond", [](TFramePacer&, std::int64_t) { return kMs; }},
        {"sleeping out each frame", [](TFramePacer& p, std::int64_t now) { return std::max<std::int64_t>(1, p.UntilNext(now)); }},
        {"late by up to 20 ms", [&](TFramePacer&, std::int64_t) { return std::int64_t(1 + random() % (20 * kMs)); }},
        {"at 144 Hz", [](TFramePacer&, std::int64_t) { return TFramePacer::kSecond / 144; }},
    };
    for (const TCase& c : cases) {
        std::int64_t now = 5 * TFramePacer::kSecond;
        TFramePacer pacer(now);
        // Ten seconds: steps 0..599 are due before the end, step 600 at it.
        EXPECT_EQ(Drive(pacer, now, 15 * TFramePacer::kSecond, c.Advance), 601) << c.Name;
    }
}

TEST(FramePacer, SleepsUntilTheNextStepAndDoesNotDrift) {
    TFramePacer pacer(0);
    EXPECT_EQ(pacer.StepsDue(0), 1);  // the first step at once
    EXPECT_EQ(pacer.StepsDue(0), 0);
    EXPECT_EQ(pacer.UntilNext(0), 16'666'666);
    EXPECT_EQ(pacer.UntilNext(10 * kMs), 6'666'666);
    EXPECT_EQ(pacer.StepsDue(16'666'665), 0);
    EXPECT_EQ(pacer.StepsDue(16'666'666), 1);
    // Step 60 is due at exactly one second, not at 60 rounded periods.
    int steps = 0;
    for (std::int64_t now = 17 * kMs; now < TFramePacer::kSecond; now += kMs / 4)
        steps += pacer.StepsDue(now);
    EXPECT_EQ(steps, 58);
    EXPECT_EQ(pacer.StepsDue(TFramePacer::kSecond - 1), 0);
    EXPECT_EQ(pacer.UntilNext(TFramePacer::kSecond - 1), 1);
    EXPECT_EQ(pacer.StepsDue(TFramePacer::kSecond), 1);
}

TEST(FramePacer, AShortStallCatchesUpALongOneStartsAgain) {
    TFramePacer pacer(0);
    EXPECT_EQ(pacer.StepsDue(0), 1);
    // 4 steps late: all run at once.
    EXPECT_EQ(pacer.StepsDue(4 * TFramePacer::kSecond / 60), 4);
    EXPECT_EQ(pacer.StepsDue(4 * TFramePacer::kSecond / 60), 0);
    // Two seconds asleep: a few steps, then the schedule starts again from now.
    const std::int64_t wake = 2 * TFramePacer::kSecond + 5 * kMs;
    EXPECT_EQ(pacer.StepsDue(wake), TFramePacer::kMaxCatchUp);
    EXPECT_EQ(pacer.StepsDue(wake), 0);
    EXPECT_EQ(pacer.UntilNext(wake), 16'666'666);
    std::int64_t now = wake;
    const std::int64_t steps = Drive(pacer, now, wake + TFramePacer::kSecond, [](TFramePacer&, std::int64_t) { return kMs; });
    EXPECT_EQ(steps, 60);
}

}  // namespace
}  // namespace quillon::player
