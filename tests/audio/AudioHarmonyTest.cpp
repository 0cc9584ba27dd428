// The audio front and its flat functions over the program-wide instance.
#include "AudioTestSupport.h"

#include "audio/AudioErrors.h"
#include "audio/AudioHarmony.h"
#include "audio/AudioRender.h"
#include "audio/FluidSynthOut.h"
#include "audio/MP3Player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace quillon::audio {
namespace {

using test::MakePcm16Wave;
using test::MakeSmf;
using test::TSmfTrack;

// An MPEG-1 Layer III stream of silent mono frames (128 kbit/s, 44.1 kHz): headers and zeros.
std::string SilentMp3(int frames) {
    std::string stream;
    for (int i = 0; i < frames; ++i) {
        std::string frame(417, '\0');
        frame[0] = static_cast<char>(0xFF);
        frame[1] = static_cast<char>(0xFB);
        frame[2] = static_cast<char>(0x90);
        frame[3] = static_cast<char>(0xC0);
        stream += frame;
    }
    return stream;
}

std::string Song() {
    TSmfTrack track;
    track.Event(0, {0x90, 60, 100}).Event(480, {0x80, 60, 0}).End();
    return MakeSmf(480, {track});
}

class AudioFrontTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAudioServices services;
        services.Clock = mClock;
        services.Mixer = std::make_shared<TAudioMixer>();
        services.MakeMidiOut = [this] { return std::make_unique<test::TRecordingOut>(mSent, mClock); };
        services.RunMidiTimer = false;
        ASSERT_TRUE(AudioCreateWith(std::move(services)));
        ASSERT_TRUE(AudioOpenWave());
        ASSERT_TRUE(AudioOpenMidi());
        mFront = AudioFront();
    }
    void TearDown() override { EXPECT_TRUE(AudioFree()); }

    // A second of a constant, at 22050 Hz.
    std::string Wave(std::int16_t value = 1000) {
        return MakePcm16Wave(std::vector<std::int16_t>(22050, value), 1, 22050);
    }

    std::shared_ptr<TManualClock> mClock = std::make_shared<TManualClock>(100);
    std::shared_ptr<std::vector<test::TSent>> mSent = std::make_shared<std::vector<test::TSent>>();
    TAudioHarmony* mFront = nullptr;
    test::TTempFolder mFolder;
};

TEST_F(AudioFrontTest, TheContentOfAMusicFileChoosesItsPlayer) {
    const std::string waveNamedMidi = mFolder.Write("tune.mid", Wave());
    ASSERT_TRUE(AudioPlayMusic(waveNamedMidi));
    EXPECT_TRUE(mFront->Wave()->Music().IsPlaying());
    EXPECT_FALSE(mFront->Midi()->IsPlaying());
    EXPECT_EQ(mFront->Wave()->Music().FileName(), waveNamedMidi);

    const std::string midiNamedWave = mFolder.Write("tune.wav", Song());
    ASSERT_TRUE(AudioPlayMusic(midiNamedWave));
    EXPECT_FALSE(mFront->Wave()->Music().IsPlaying());
    EXPECT_TRUE(mFront->Midi()->IsPlaying());

    // MP3 is recognised by the extension alone, in any letter case.
    ASSERT_NE(mFront->MP3(), nullptr);
    const std::string mp3 = mFolder.Write("tune.MP3", SilentMp3(40));
    ASSERT_TRUE(AudioPlayMusic(mp3));
    EXPECT_TRUE(mFront->MP3()->Loaded());
    EXPECT_FALSE(mFront->Midi()->IsPlaying());
    const std::string mp3Named = mFolder.Write("tune.dat", SilentMp3(40));
    EXPECT_FALSE(AudioPlayMusic(mp3Named));
    EXPECT_FALSE(mFront->MP3()->Loaded());

    EXPECT_FALSE(AudioPlayMusic(mFolder.Write("junk.mp3", "not a stream at all")));
    EXPECT_FALSE(AudioPlayMusic(mFolder.Path("missing.mid")));
}

TEST_F(AudioFrontTest, MusicSettingsReachEveryPlayer) {
    ASSERT_TRUE(AudioPlayMusic(mFolder.Write("tune.wav", Wave())));
    ASSERT_TRUE(AudioSetVolume(50));
    ASSERT_TRUE(AudioSetTempo(200));
    ASSERT_TRUE(AudioSetBalance(100));
    const TWaveBuffer& music = mFront->Wave()->Music();
    for (int voice = 0; voice < TWaveBuffer::kVoiceCount; ++voice) {
        EXPECT_EQ(music.Voice(voice)->Volume(), VolumeToAttenuation(50, 100));
        EXPECT_EQ(music.Voice(voice)->Frequency(), 44100);
        EXPECT_EQ(music.Voice(voice)->Pan(), 3000);
    }
    EXPECT_EQ(mFront->Midi()->TempoPercent(), 200);
    EXPECT_EQ(mFront->Midi()->PanOffset(), 100);
    ASSERT_TRUE(AudioFadeOut(0));
    EXPECT_EQ(music.FadeLevel(0), 0);
    EXPECT_EQ(mFront->Midi()->FadeLevel(), 0);
    ASSERT_TRUE(AudioStopMusic());
    EXPECT_FALSE(music.IsPlaying());
}

TEST_F(AudioFrontTest, TheSameSoundPlayedFiveTimesRestartsItsOldestVoice) {
    const std::string sound = mFolder.Write("hit.wav", Wave());
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(AudioPlaySound(sound, 100, 100, 50));
    const TWaveBuffer& buffer = mFront->Wave()->Sounds(0);
    EXPECT_EQ(buffer.FileName(), sound);
    EXPECT_EQ(buffer.NextVoice(), 1);
    EXPECT_EQ(mFront->Wave()->Sounds(1).FileName(), "");
    for (int voice = 0; voice < 4; ++voice)
        EXPECT_TRUE(buffer.Voice(voice)->IsPlaying());
}

TEST_F(AudioFrontTest, WithAllSixteenBuffersBusyTheNextSoundReplacesTheOneAfterTheLastChosen) {
    std::vector<std::string> sounds;
    for (int i = 0; i < 19; ++i)
        sounds.push_back(mFolder.Write("s" + std::to_string(i) + ".wav", Wave()));
    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(AudioPlaySound(sounds[i], 100, 100, 50));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(mFront->Wave()->Sounds(i).FileName(), sounds[i]);
    ASSERT_TRUE(AudioPlaySound(sounds[16], 100, 100, 50));
    EXPECT_EQ(mFront->Wave()->Sounds(0).FileName(), sounds[16]);
    ASSERT_TRUE(AudioPlaySound(sounds[17], 100, 100, 50));
    EXPECT_EQ(mFront->Wave()->Sounds(1).FileName(), sounds[17]);
    // A free buffer is taken first, whatever the rotation says.
    mFront->Wave()->Sounds(9).Stop();
    ASSERT_TRUE(AudioPlaySound(sounds[18], 100, 100, 50));
    EXPECT_EQ(mFront->Wave()->Sounds(9).FileName(), sounds[18]);
    EXPECT_EQ(mFront->LastSoundIndex(), 1);
    ASSERT_TRUE(AudioStopSounds());
    for (int i = 0; i < 16; ++i)
        EXPECT_FALSE(mFront->Wave()->Sounds(i).IsPlaying());
}

TEST_F(AudioFrontTest, FailuresAnswerFalseAndNeverRaise) {
    EXPECT_FALSE(AudioPlaySound(mFolder.Path("missing.wav"), 100, 100, 50));
    EXPECT_FALSE(AudioPlaySound(mFolder.Write("bad.wav", "RIFF....WAVEjunk"), 100, 100, 50));
    EXPECT_FALSE(AudioPlayMusic(mFolder.Write("bad.mid", std::string("MThd\0\0\0\x07", 8))));
    ASSERT_TRUE(AudioCloseMidi());
    EXPECT_EQ(mFront->Midi(), nullptr);
    EXPECT_FALSE(AudioPlayMusic(mFolder.Write("song.mid", Song())));  // no MIDI player open
    ASSERT_TRUE(AudioFree());
    EXPECT_EQ(AudioFront(), nullptr);
    EXPECT_FALSE(AudioPlaySound("x.wav", 100, 100, 50));
    EXPECT_FALSE(AudioSetVolume(10));
    EXPECT_FALSE(AudioStopMusic());
    EXPECT_FALSE(AudioOpenWave());
    EXPECT_TRUE(AudioFree());
    // Set up again for TearDown.
    TAudioServices services;
    services.Mixer = std::make_shared<TAudioMixer>();
    EXPECT_TRUE(AudioCreateWith(std::move(services)));
    EXPECT_FALSE(AudioOpenMidi());  // no MIDI output to open
}

TEST(AudioDefaultFrontTest, PullsItsOwnMixWithoutASoundCard) {
    ASSERT_EQ(AudioFront(), nullptr);
    ASSERT_TRUE(AudioCreate());
    ASSERT_TRUE(AudioOpenWave());
    test::TTempFolder folder;
    const std::string sound =
        folder.Write("blip.wav", MakePcm16Wave(std::vector<std::int16_t>(1102, 3000), 1, 22050));  // 50 ms
    ASSERT_TRUE(AudioPlaySound(sound, 100, 100, 50));
    const TWaveBuffer& buffer = AudioFront()->Wave()->Sounds(0);
    EXPECT_TRUE(buffer.IsPlaying());
    // Nobody renders here: the front's own silent output plays the sound to its end.
    for (int i = 0; i < 1000 && buffer.IsPlaying(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(buffer.IsPlaying());
    EXPECT_TRUE(AudioFree());
}

TEST(MP3PlayerTest, DecodesAndLoopsForever) {
    auto clock = std::make_shared<TManualClock>();
    auto mixer = std::make_shared<TAudioMixer>();
    TMP3Player player(mixer, clock);
    player.PlayMemory(SilentMp3(40));
    ASSERT_TRUE(player.Loaded());
    const auto& data = *player.Voice()->Data();
    EXPECT_EQ(data.SampleRate, 44100);
    EXPECT_EQ(data.Channels, 1);
    EXPECT_GE(data.Frames(), 30u * 1152u);
    player.SetTempo(200);
    EXPECT_EQ(player.Voice()->Frequency(), 88200);
    player.SetBalance(0);
    EXPECT_EQ(player.Voice()->Pan(), -3000);
    player.FadeIn(1000);
    EXPECT_EQ(player.Voice()->Volume(), -10000);
    clock->Advance(500);
    player.Timer();
    EXPECT_EQ(player.FadeLevel(), 50);
    mixer->Render(data.Frames());  // at double speed: twice through
    player.Timer();
    EXPECT_TRUE(player.Looped());
    EXPECT_TRUE(player.Voice()->IsPlaying());
    player.Stop();
    EXPECT_FALSE(player.Loaded());
    EXPECT_FALSE(player.Looped());
    EXPECT_THROW(player.PlayMemory(std::string(5000, '\x55')), EDirectShowError);
}

TEST(OfflineRenderTest, AMidiSongSoundsThroughTheSynthesizer) {
    if (FindGeneralMidiSoundFont().empty())
        GTEST_SKIP() << "no General MIDI sound font installed";
    auto clock = std::make_shared<TManualClock>();
    TAudioHarmony front(OfflineAudioServices(clock));
    front.OpenMidi();
    front.OpenWave();
    test::TTempFolder folder;
    front.PlayMusic(folder.Write("song.mid", Song()));
    TOfflineRenderer renderer(front, clock);
    std::vector<std::int16_t> mix;
    renderer.Render(140, mix);
    EXPECT_EQ(mix.size(), 2u * 140u * 441u / 10u);
    EXPECT_LT(test::Rms(mix, 0), 1.0);  // the start stages are silent
    mix.clear();
    renderer.Render(500, mix);
    EXPECT_GT(test::Rms(mix, 0), 100.0);
    front.FadeOut(0);
    renderer.Render(500, mix);  // let the note's release die away
    mix.clear();
    renderer.Render(200, mix);
    EXPECT_LT(test::Rms(mix, 0), 1.0);
}

TEST(OfflineRenderTest, MakesAPlayableWaveFile) {
    const std::vector<std::int16_t> samples{1, -1, 300, -300};
    const std::string file = MakeWaveFile(samples, 2, 44100);
    EXPECT_EQ(file.size(), 44u + 8u);
    const TWaveData wave = ReadWave(file);
    EXPECT_EQ(wave.Pcm.Samples, samples);
    EXPECT_EQ(wave.Pcm.Channels, 2);
    EXPECT_EQ(wave.Pcm.SampleRate, 44100);
}

}  // namespace
}  // namespace quillon::audio
