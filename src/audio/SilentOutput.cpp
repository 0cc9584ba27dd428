#include "audio/SilentOutput.h"

#include "audio/AudioTimer.h"

namespace quillon::audio {

TSilentOutput::TSilentOutput(std::shared_ptr<TAudioMixer> mixer) : mMixer(std::move(mixer)) {
    const int period = 10;
    const auto frames = static_cast<std::size_t>(mMixer->OutputRate() * period / 1000);
    mScratch.resize(frames * 2);
    mThread = std::make_unique<TPeriodicThread>(period, [this, frames] { mMixer->Render(mScratch.data(), frames); });
}

TSilentOutput::~TSilentOutput() { mThread.reset(); }

}  // namespace quillon::audio
