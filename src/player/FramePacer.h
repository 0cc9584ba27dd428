// The fixed 60 Hz schedule of the game's logic steps against a clock in nanoseconds: how many
// steps are due now and how long the window may sleep before the next. Step k of a run is due at
// its start plus k/60 s exactly, so the pace does not drift; after a stall of more than a few
// steps the schedule starts again from the present instead of racing to catch up.
#pragma once

#include <cstdint>

namespace quillon::player {

class TFramePacer {
public:
    static constexpr std::int64_t kSecond = 1'000'000'000;
    static constexpr int kMaxCatchUp = 5;  // steps run at once after a short stall

    explicit TFramePacer(std::int64_t now, int stepsPerSecond = 60);

    // The steps due by now (0 while the next lies ahead); counts them as run.
    int StepsDue(std::int64_t now);
    // Nanoseconds from now until the next step is due (0 when it is due).
    std::int64_t UntilNext(std::int64_t now) const;

private:
    std::int64_t Due(std::int64_t step) const { return mOrigin + step * kSecond / mRate; }

    int mRate;
    std::int64_t mOrigin;
    std::int64_t mNext = 0;  // the index of the next step
};

}  // namespace quillon::player
