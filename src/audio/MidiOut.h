// What the MIDI player sends its messages to, and how it hands work to the thread that made it.
#pragma once

#include <cstdint>
#include <atomic>
#include <functional>
#include <string_view>

namespace quillon::audio {

// A MIDI output device.
class IMidiOut {
public:
    virtual ~IMidiOut() = default;
    // A channel message: status in bits 0-7, first data byte in bits 8-15, second in 16-23.
    virtual void SendShort(std::uint32_t message) = 0;
    // A system-exclusive message, from its F0 to its closing F7.
    virtual void SendLong(std::string_view message) = 0;
    // Silences every channel at once.
    virtual void Reset() = 0;
};

// Runs calls on the thread that owns the player (the user-interface thread).
class IMidiMessageWindow {
public:
    virtual ~IMidiMessageWindow() = default;
    // Runs the call on the owning thread and returns when it has run (or was dropped by Close).
    virtual void Send(std::function<void()> call) = 0;
    // Runs the call on the owning thread later.
    virtual void Post(std::function<void()> call) = 0;
    // Drops every call that has not run yet, releases a waiting Send and ignores later calls.
    virtual void Close() = 0;
};

// Runs every call at once on the calling thread: for a player without an event loop (the
// command-line tool, tests), where the player's own lock keeps the threads apart.
class TDirectMessageWindow final : public IMidiMessageWindow {
public:
    void Send(std::function<void()> call) override {
        if (!mClosed)
            call();
    }
    void Post(std::function<void()> call) override {
        if (!mClosed)
            call();
    }
    void Close() override { mClosed = true; }

private:
    std::atomic<bool> mClosed = false;
};

}  // namespace quillon::audio
