// The starter package's music and sounds, read back by the editor's own players.
#include "audio/AudioClock.h"
#include "audio/MidiPlay.h"
#include "audio/WaveFile.h"
#include "tools/lib/RtpAudio.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quillon;
using namespace quillon::audio;

namespace {

class TCountingOut final : public IMidiOut {
public:
    void SendShort(std::uint32_t message) override {
        if ((message & 0xF0) == 0x90 && ((message >> 16) & 0xFF) != 0)
            ++NotesOn;
    }
    void SendLong(std::string_view) override {}
    void Reset() override {}
    int NotesOn = 0;
};

}  // namespace

TEST(StarterSounds, TunesParseAndPlayNotes) {
    auto clock = std::make_shared<TManualClock>();
    auto out = std::make_unique<TCountingOut>();
    TCountingOut* counter = out.get();
    TMidiPlayerSetup setup;
    setup.Out = std::move(out);
    setup.Clock = clock;
    setup.RunTimer = false;
    TMidiPlayer player(std::move(setup));
    for (int i = 0; i < 3; ++i) {
        const std::string bytes = MakeRtpTune(i);
        EXPECT_EQ(bytes, MakeRtpTune(i)) << "not deterministic";
        player.LoadFromMemory(bytes, "tune");
        EXPECT_GT(player.EventCount(), 40u) << i;
        EXPECT_EQ(player.Division(), 480);
        counter->NotesOn = 0;
        player.Play();
        for (int ms = 0; ms < 3000; ++ms) {
            clock->Advance(1);
            player.TimerStep();
        }
        EXPECT_GT(counter->NotesOn, 10) << i;
        player.Stop();
    }
}

TEST(StarterSounds, EffectsAreShortMonoPcm) {
    for (int i = 0; i < 6; ++i) {
        const std::string bytes = MakeRtpSound(i);
        const TWaveData wave = ReadWave(bytes);
        EXPECT_EQ(wave.PcmFormat.Channels, 1) << i;
        EXPECT_EQ(wave.PcmFormat.SamplesPerSec, 22050u) << i;
        EXPECT_GT(wave.Pcm.Frames(), 500u) << i;
        EXPECT_LT(wave.Pcm.Frames(), 22050u) << i;
    }
}
