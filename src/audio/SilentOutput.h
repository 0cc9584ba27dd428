// An output without a sound card: pulls the mix in real time and drops it, so voices still
// advance and end and the players' state stays what it would be with sound.
#pragma once

#include "audio/AudioMixer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillon::audio {

class TPeriodicThread;

class TSilentOutput {
public:
    explicit TSilentOutput(std::shared_ptr<TAudioMixer> mixer);
    ~TSilentOutput();
    TSilentOutput(const TSilentOutput&) = delete;
    TSilentOutput& operator=(const TSilentOutput&) = delete;

private:
    std::shared_ptr<TAudioMixer> mMixer;
    std::vector<std::int16_t> mScratch;
    std::unique_ptr<TPeriodicThread> mThread;
};

}  // namespace quillon::audio
