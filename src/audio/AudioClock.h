// Millisecond clocks for the audio players. The players read the time only through this
// interface, so a test or an offline render can step them by hand.
#pragma once

#include <atomic>
#include <cstdint>

namespace quillon::audio {

class IAudioClock {
public:
    virtual ~IAudioClock() = default;
    // Milliseconds since an arbitrary fixed origin; never goes backwards.
    virtual std::int64_t Now() const = 0;
};

// The real time of the machine's monotonic clock.
class TSteadyClock final : public IAudioClock {
public:
    std::int64_t Now() const override;
};

// A clock that moves only when told to.
class TManualClock final : public IAudioClock {
public:
    explicit TManualClock(std::int64_t start = 0) : mNow(start) {}
    std::int64_t Now() const override { return mNow.load(); }
    void Advance(std::int64_t millis) { mNow.fetch_add(millis); }
    void Set(std::int64_t now) { mNow.store(now); }

private:
    std::atomic<std::int64_t> mNow;
};

}  // namespace quillon::audio
