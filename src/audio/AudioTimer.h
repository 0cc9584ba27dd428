// A thread that calls a function at a fixed period until it is destroyed. Steps that the thread
// could not run in time are run at once afterwards, up to 50 ms of them, so a song keeps its pace
// through a short stall and merely pauses through a long one.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quillon::audio {

class TPeriodicThread {
public:
    TPeriodicThread(int periodMillis, std::function<void()> step);
    ~TPeriodicThread();
    TPeriodicThread(const TPeriodicThread&) = delete;
    TPeriodicThread& operator=(const TPeriodicThread&) = delete;

    // Ends the thread and waits for it; later calls do nothing.
    void Stop();

private:
    void Run();

    const int mPeriod;
    const std::function<void()> mStep;
    std::mutex mLock;
    std::condition_variable mWake;
    bool mStopping = false;
    std::thread mThread;
};

}  // namespace quillon::audio
