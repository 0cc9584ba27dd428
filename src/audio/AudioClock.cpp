#include "audio/AudioClock.h"

#include <chrono>

namespace quillon::audio {

std::int64_t TSteadyClock::Now() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace quillon::audio
