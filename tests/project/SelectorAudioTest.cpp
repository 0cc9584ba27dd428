// The music and sound selectors playing the starter run-time package through the audio front,
// rendered offline into a buffer: audible music, live volume, fade-out on Shift+Stop, and sounds.
#include "SelTestKit.h"

#include "audio/AudioHarmony.h"
#include "audio/AudioRender.h"
#include "project/SelMusic.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillon;
using namespace quillon::seltest;

namespace {

double Rms(const std::vector<std::int16_t>& samples, std::size_t first = 0, std::size_t count = SIZE_MAX) {
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = first; i < samples.size() && n < count; ++i, ++n)
        sum += double(samples[i]) * samples[i];
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

class SelectorAudio : public SelSandbox {
protected:
    void SetUp() override {
        SelSandbox::SetUp();
        SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
        ASSERT_TRUE(audio::AudioCreateWith(audio::OfflineAudioServices(mClock)));
        ASSERT_TRUE(audio::AudioOpenWave());
        mRenderer = std::make_unique<audio::TOfflineRenderer>(*audio::AudioFront(), mClock);
        ResetCurrentMusicSettings();
    }
    void TearDown() override {
        mRenderer.reset();
        audio::AudioFree();
        ResetCurrentMusicSettings();
        SelSandbox::TearDown();
    }
    // RMS of the next `millis` of the mix.
    double Listen(int millis) {
        std::vector<std::int16_t> mix;
        mRenderer->Render(millis, mix);
        return Rms(mix);
    }

    std::shared_ptr<audio::TManualClock> mClock = std::make_shared<audio::TManualClock>(1000);
    std::unique_ptr<audio::TOfflineRenderer> mRenderer;
};

TEST_F(SelectorAudio, StarterTunePlaysAudiblyAndFadesOutOnShiftStop) {
    TSelMusicModel music;
    music.Fill();
    TKelMusic town;
    town.Name = "Town";
    music.Open(town);
    ASSERT_EQ(music.Rows()[static_cast<std::size_t>(music.ItemIndex())], "Town <RTP>");
    EXPECT_LT(Listen(500), 1.0);  // nothing before Play

    ASSERT_TRUE(music.Play());
    EXPECT_EQ(CurrentMusicSettings().Name, "Town");
    EXPECT_TRUE(music.SelectedIsPlaying());
    const double playing = Listen(3000);
    EXPECT_GT(playing, 200.0);

    music.Stop(true);  // Shift+Stop: five seconds of fading
    ASSERT_NE(audio::AudioFront()->Midi(), nullptr);
    Listen(2500);
    const int halfway = audio::AudioFront()->Midi()->FadeLevel();
    EXPECT_GT(halfway, 20);
    EXPECT_LT(halfway, 80);
    Listen(3000);
    EXPECT_EQ(audio::AudioFront()->Midi()->FadeLevel(), 0);
    EXPECT_LT(Listen(1000), playing / 20);
    // A fade keeps the program-wide music; only a plain Stop forgets it.
    EXPECT_EQ(CurrentMusicSettings().Name, "Town");
    music.Stop(false);
    EXPECT_EQ(CurrentMusicSettings().Name, "(OFF)");
    EXPECT_EQ(audio::AudioFront()->Midi(), nullptr);
}

TEST_F(SelectorAudio, SlidersChangeOnlyTheMusicThatPlays) {
    TSelMusicModel music;
    music.Fill();
    TKelMusic town;
    town.Name = "Town";
    town.Tempo = 120;
    town.Balance = 30;
    music.Open(town);
    ASSERT_TRUE(music.Play());
    audio::TMidiPlayer* midi = audio::AudioFront()->Midi();
    ASSERT_NE(midi, nullptr);
    EXPECT_EQ(midi->TempoPercent(), 120);
    EXPECT_EQ(midi->PanOffset(), 30);
    const double loud = Listen(2000);

    music.SetVolumePosition(2);
    EXPECT_EQ(midi->Volume(), 20);
    EXPECT_LT(Listen(1500), loud);

    // Another row selected: the sliders no longer reach the playing music.
    music.SelectRow(music.ItemIndex() + 1 < music.RowCount() ? music.ItemIndex() + 1 : 1);
    ASSERT_NE(music.Name(), "Town");
    music.SetVolumePosition(10);
    EXPECT_EQ(midi->Volume(), 20);
    EXPECT_EQ(CurrentMusicSettings().Volume, 100);  // but the program-wide settings follow

    // "(OFF)" plays as Stop.
    music.SelectRow(0);
    EXPECT_FALSE(music.Play());
    EXPECT_EQ(audio::AudioFront()->Midi(), nullptr);
    EXPECT_LT(Listen(500), 1.0);
}

TEST_F(SelectorAudio, SoundPlaysOnceWithItsSettings) {
    TSelSoundModel sound;
    sound.Fill();
    TKelSound effect;
    effect.Name = "Decision";
    sound.Open(effect);
    ASSERT_EQ(sound.Name(), "Decision");
    ASSERT_TRUE(sound.Play());
    EXPECT_GT(Listen(200), 100.0);
    Listen(3000);
    EXPECT_LT(Listen(200), 1.0);  // once, no loop

    sound.Play();
    sound.SelectRow(0);
    EXPECT_FALSE(sound.Play());  // "(OFF)" stops the sounds
    EXPECT_LT(Listen(200), 1.0);
}

}  // namespace
