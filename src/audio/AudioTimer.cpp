#include "audio/AudioTimer.h"

#include <algorithm>
#include <chrono>

namespace quillon::audio {

TPeriodicThread::TPeriodicThread(int periodMillis, std::function<void()> step)
    : mPeriod(periodMillis > 0 ? periodMillis : 1), mStep(std::move(step)) {
    mThread = std::thread([this] { Run(); });
}

TPeriodicThread::~TPeriodicThread() { Stop(); }

void TPeriodicThread::Stop() {
    {
        std::lock_guard lock(mLock);
        mStopping = true;
    }
    mWake.notify_all();
    if (mThread.joinable())
        mThread.join();
}

void TPeriodicThread::Run() {
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(mPeriod);
    const int maxCatchUp = std::max(1, 50 / mPeriod);
    auto next = clock::now() + period;
    std::unique_lock lock(mLock);
    while (!mStopping) {
        if (mWake.wait_until(lock, next, [this] { return mStopping; }))
            break;
        lock.unlock();
        int steps = 0;
        while (clock::now() >= next && steps < maxCatchUp) {
            mStep();
            next += period;
            ++steps;
        }
        if (steps == maxCatchUp)
            next = clock::now() + period;
        lock.lock();
    }
}

}  // namespace quillon::audio
