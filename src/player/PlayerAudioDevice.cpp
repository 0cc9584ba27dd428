#include "player/PlayerAudioDevice.h"

#include "audio/SilentOutput.h"

#include <cstring>

namespace quillon::player {

TPlayerAudioDevice::TPlayerAudioDevice(std::shared_ptr<audio::TAudioMixer> mixer) : mMixer(std::move(mixer)) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        mProblem = SDL_GetError();
    } else {
        mSubsystem = true;
        const char* driver = SDL_GetCurrentAudioDriver();
        if (driver && std::strcmp(driver, "dummy") == 0) {
            mProblem = "the dummy audio driver is in use";
        } else {
            SDL_AudioSpec wanted{};
            wanted.freq = mMixer->OutputRate();
            wanted.format = AUDIO_S16SYS;
            wanted.channels = 2;
            wanted.samples = 1024;
            wanted.callback = &TPlayerAudioDevice::Callback;
            wanted.userdata = this;
            SDL_AudioSpec obtained{};
            // The mixer renders exactly this format; SDL converts for the card when it must.
            mDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
            if (mDevice == 0)
                mProblem = SDL_GetError();
            else
                SDL_PauseAudioDevice(mDevice, 0);
        }
    }
    if (mDevice == 0)
        mSilent = std::make_unique<audio::TSilentOutput>(mMixer);
}

TPlayerAudioDevice::~TPlayerAudioDevice() {
    if (mDevice != 0)
        SDL_CloseAudioDevice(mDevice);
    mSilent.reset();
    if (mSubsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TPlayerAudioDevice::Callback(void* self, Uint8* stream, int bytes) {
    auto& device = *static_cast<TPlayerAudioDevice*>(self);
    device.mMixer->Render(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(bytes) / 4);
}

}  // namespace quillon::player
