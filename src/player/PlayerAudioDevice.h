// The sound card under the game's mixer: SDL's audio callback pulls the mix on SDL's own thread,
// so the game never waits for the device. Without a device (none present, or SDL's dummy driver)
// the mix is pulled in real time and dropped, so voices still advance and end.
#pragma once

#include "audio/AudioMixer.h"

#include <SDL.h>

#include <memory>
#include <string>

namespace quillon::audio {
class TSilentOutput;
}

namespace quillon::player {

class TPlayerAudioDevice {
public:
    explicit TPlayerAudioDevice(std::shared_ptr<audio::TAudioMixer> mixer);
    ~TPlayerAudioDevice();
    TPlayerAudioDevice(const TPlayerAudioDevice&) = delete;
    TPlayerAudioDevice& operator=(const TPlayerAudioDevice&) = delete;

    bool HasDevice() const { return mDevice != 0; }
    // Why there is no device ("" when there is one).
    const std::string& Problem() const { return mProblem; }

private:
    static void Callback(void* self, Uint8* stream, int bytes);

    std::shared_ptr<audio::TAudioMixer> mMixer;
    SDL_AudioDeviceID mDevice = 0;
    bool mSubsystem = false;
    std::string mProblem;
    std::unique_ptr<audio::TSilentOutput> mSilent;
};

}  // namespace quillon::player
