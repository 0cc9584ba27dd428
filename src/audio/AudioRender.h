// Rendering the front's mix without a sound card: a manual clock stands in for time, the MIDI
// player is stepped every millisecond and the wave and MP3 players every 50 ms, exactly as the
// timers would, and the mix is pulled as it goes.
#pragma once

#include "audio/AudioClock.h"
#include "audio/AudioHarmony.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon::audio {

// Services for an offline front: the given manual clock, a new mixer, the synthesizer, direct
// hand-over and no MIDI timer thread.
TAudioServices OfflineAudioServices(std::shared_ptr<TManualClock> clock);

class TOfflineRenderer {
public:
    TOfflineRenderer(TAudioHarmony& front, std::shared_ptr<TManualClock> clock);

    // Advances time by millis and appends that much interleaved stereo to out.
    void Render(std::int64_t millis, std::vector<std::int16_t>& out);

private:
    TAudioHarmony& mFront;
    std::shared_ptr<TManualClock> mClock;
    std::int64_t mElapsed = 0;  // milliseconds rendered
    std::int64_t mFrames = 0;   // frames rendered
};

// The bytes of a 16-bit PCM wave file holding interleaved samples.
std::string MakeWaveFile(const std::vector<std::int16_t>& samples, int channels, int sampleRate);

}  // namespace quillon::audio

