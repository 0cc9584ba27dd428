#include "player/FramePacer.h"

#include <algorithm>

namespace quillon::player {

TFramePacer::TFramePacer(std::int64_t now, int stepsPerSecond) : mRate(std::max(1, stepsPerSecond)), mOrigin(now) {}

int TFramePacer::StepsDue(std::int64_t now) {
    int due = 0;
    while (Due(mNext) <= now) {
        ++mNext;
        if (++due == kMaxCatchUp) {
            if (Due(mNext) <= now) {  // a long stall: start the schedule again from now
                mOrigin = now;
                mNext = 1;
            }
            break;
        }
    }
    return due;
}

std::int64_t TFramePacer::UntilNext(std::int64_t now) const { return std::max<std::int64_t>(0, Due(mNext) - now); }

}  // namespace quillon::player
