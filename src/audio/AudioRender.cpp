#include "audio/AudioRender.h"

#include "audio/FluidSynthOut.h"

namespace quillon::audio {

TAudioServices OfflineAudioServices(std::shared_ptr<TManualClock> clock) {
    TAudioServices services = DefaultAudioServices();
    services.Clock = std::move(clock);
    services.RunMidiTimer = false;
    return services;
}

TOfflineRenderer::TOfflineRenderer(TAudioHarmony& front, std::shared_ptr<TManualClock> clock)
    : mFront(front), mClock(std::move(clock)) {}

void TOfflineRenderer::Render(std::int64_t millis, std::vector<std::int16_t>& out) {
    const std::int64_t rate = mFront.Mixer()->OutputRate();
    for (std::int64_t i = 0; i < millis; ++i) {
        mClock->Advance(1);
        ++mElapsed;
        mFront.StepMidi();
        if (mElapsed % 50 == 0)
            mFront.Timer();
        const std::int64_t target = mElapsed * rate / 1000;
        const auto frames = static_cast<std::size_t>(target - mFrames);
        mFrames = target;
        const std::size_t base = out.size();
        out.resize(base + frames * 2);
        mFront.Mixer()->Render(out.data() + base, frames);
    }
}

namespace {

void Put16(std::string& s, std::uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

std::string MakeWaveFile(const std::vector<std::int16_t>& samples, int channels, int sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string file;
    file.reserve(44 + dataBytes);
    file += "RIFF";
    Put32(file, 36 + dataBytes);
    file += "WAVEfmt ";
    Put32(file, 16);
    Put16(file, 1);
    Put16(file, static_cast<std::uint32_t>(channels));
    Put32(file, static_cast<std::uint32_t>(sampleRate));
    Put32(file, static_cast<std::uint32_t>(sampleRate * channels * 2));
    Put16(file, static_cast<std::uint32_t>(channels * 2));
    Put16(file, 16);
    file += "data";
    Put32(file, dataBytes);
    for (const std::int16_t sample : samples)
        Put16(file, static_cast<std::uint16_t>(sample));
    return file;
}

}  // namespace quillon::audio
