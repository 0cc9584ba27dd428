// The game's sound through the audio front: look-up in the project's Music and Sound folders,
// the music's settings, repeated requests, fades stepped by the game, and missing or damaged files.
#include "runtime/MixerGameAudio.h"

#include "audio/AudioRender.h"
#include "audio/AudioTestSupport.h"
#include "project/ProjectManager.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

using namespace quillon::audio;
using namespace quillon::audio::test;

// Records are not copied: a request is built in place and passed on as the record.
struct Music {
    explicit Music(const std::string& name, int fadeIn = 0, int volume = 100, int tempo = 100, int balance = 50) {
        Value.Name = name;
        Value.FadeIn = fadeIn;
        Value.Volume = volume;
        Value.Tempo = tempo;
        Value.Balance = balance;
    }
    operator const TKelMusic&() const { return Value; }
    TKelMusic Value;
};

struct Sound {
    explicit Sound(const std::string& name) { Value.Name = name; }
    operator const TKelSound&() const { return Value; }
    TKelSound Value;
};

class MixerGameAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(mProject.Path("Music"));
        std::filesystem::create_directories(mProject.Path("Sound"));
        const std::string tone = MakePcm16Wave(Sine(22050, 440, 22050, 8000), 1, 22050);
        mProject.Write("Music/Theme.wav", tone);
        mProject.Write("Sound/Beep.WAV", tone);  // letter case does not matter
        mProject.Write("Music/Broken.wav", "RIFF\x10\0\0\0WAVEjunkjunk");
        TSmfTrack track;
        track.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).End();
        mProject.Write("Music/Tune.mid", MakeSmf(96, {track}));
        mPreviousProject = ProjectPath();
        SetProjectPath(mProject.Path("") );

        TAudioServices services = OfflineAudioServices(mClock);
        services.MakeMidiOut = [this] { return std::make_unique<TRecordingOut>(mMidiLog, mClock); };
        mAudio = std::make_unique<TMixerGameAudio>(std::move(services),
                                                   [this](const std::string& line) { mWarnings.push_back(line); });
    }
    void TearDown() override {
        mAudio.reset();
        SetProjectPath(mPreviousProject);
    }
    TWaveBuffer& MusicBuffer() { return mAudio->Front().Wave()->Music(); }

    TTempFolder mProject;
    std::string mPreviousProject;
    std::shared_ptr<TManualClock> mClock = std::make_shared<TManualClock>();
    std::shared_ptr<std::vector<TSent>> mMidiLog = std::make_shared<std::vector<TSent>>();
    std::vector<std::string> mWarnings;
    std::unique_ptr<TMixerGameAudio> mAudio;
};

TEST_F(MixerGameAudioTest, MusicPlaysFromTheProjectWithItsSettingsAndIsNotRestartedByTheSameRequest) {
    mAudio->PlayMusic(Music("Theme", 0, 80, 150, 0));
    ASSERT_TRUE(MusicBuffer().IsPlaying());
    EXPECT_EQ(mAudio->CurrentMusic(), "Theme");
    const TMixerVoice* voice = MusicBuffer().Voice(0);
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->Frequency(), 33075);  // tempo 150 on 22050 Hz
    EXPECT_EQ(voice->Pan(), -3000);        // balance 0
    EXPECT_EQ(voice->Volume(), 80 * 35 - 3500);

    // Some sound later the same request leaves the music where it is; other settings restart it.
    mAudio->Mixer()->Render(4410);
    const std::size_t position = voice->Position();
    EXPECT_GT(position, 0u);
    mAudio->PlayMusic(Music("Theme", 0, 80, 150, 0));
    EXPECT_EQ(MusicBuffer().Voice(0)->Position(), position);
    mAudio->PlayMusic(Music("Theme", 0, 100, 100, 50));
    ASSERT_NE(MusicBuffer().Voice(0), nullptr);
    EXPECT_EQ(MusicBuffer().Voice(0)->Frequency(), 22050);
    EXPECT_EQ(MusicBuffer().Voice(0)->Volume(), 0);
    EXPECT_TRUE(mWarnings.empty());

    mAudio->PlayMusic(Music(kSoundOff));
    EXPECT_FALSE(MusicBuffer().IsPlaying());
    EXPECT_EQ(mAudio->CurrentMusic(), "");
}

TEST_F(MixerGameAudioTest, MidiMusicGoesToTheSynthesizer) {
    mAudio->PlayMusic(Music("Tune"));
    ASSERT_NE(mAudio->Front().Midi(), nullptr);
    for (int ms = 0; ms < 200; ++ms) {
        mClock->Advance(1);
        mAudio->Front().StepMidi();
    }
    const bool noteOn = std::any_of(mMidiLog->begin(), mMidiLog->end(),
                                    [](const TSent& s) { return s.Status() == 0x90 && s.Data1() == 60; });
    EXPECT_TRUE(noteOn);
    mAudio->StopMusic();
    EXPECT_EQ(mAudio->Front().Midi(), nullptr) << "no synthesizer while no music plays";
}

TEST_F(MixerGameAudioTest, MusicPlayedOnceWhenItsPlayerCameToTheEnd) {
    // The wave theme lasts one second: its voice wraps after a second of mix.
    mAudio->PlayMusic(Music("Theme"));
    mAudio->Mixer()->Render(kMixRate * 9 / 10);
    mAudio->Step();
    EXPECT_FALSE(mAudio->MusicPlayedOnce());
    mAudio->Mixer()->Render(kMixRate / 5);
    mAudio->Step();
    EXPECT_TRUE(mAudio->MusicPlayedOnce());

    // The MIDI tune (one note of a quarter) ends within half a second of its player's steps.
    mAudio->PlayMusic(Music("Tune"));
    mAudio->Step();
    EXPECT_FALSE(mAudio->MusicPlayedOnce()) << "a new music starts its round afresh";
    for (int ms = 0; ms < 1000; ++ms) {
        mClock->Advance(1);
        mAudio->Front().StepMidi();
    }
    mAudio->Step();
    EXPECT_TRUE(mAudio->MusicPlayedOnce());
    mAudio->StopMusic();
    EXPECT_FALSE(mAudio->MusicPlayedOnce());
}

TEST_F(MixerGameAudioTest, FadesFollowTheGameSteps) {
    mAudio->PlayMusic(Music("Theme", 1000));
    EXPECT_EQ(MusicBuffer().FadeLevel(0), 0);
    mClock->Advance(500);
    mAudio->Step();
    mAudio->Step();
    EXPECT_EQ(MusicBuffer().FadeLevel(0), 0) << "the players update every third step";
    mAudio->Step();
    EXPECT_EQ(MusicBuffer().FadeLevel(0), 50);

    mAudio->FadeOutMusic(1000);
    EXPECT_EQ(mAudio->CurrentMusic(), "");
    mClock->Advance(1000);
    for (int i = 0; i < 3; ++i)
        mAudio->Step();
    EXPECT_EQ(MusicBuffer().FadeLevel(0), 0);
}

TEST_F(MixerGameAudioTest, SoundsPlayOnceFromTheSoundFolder) {
    mAudio->PlaySound(Sound("Beep"));
    TWavePlayer& wave = *mAudio->Front().Wave();
    int playing = 0;
    for (int i = 0; i < wave.SoundCount(); ++i)
        playing += wave.Sounds(i).IsPlaying() ? 1 : 0;
    EXPECT_EQ(playing, 1);
    mAudio->PlaySound(Sound(kSoundOff));
    mAudio->StopAllSounds();
    for (int i = 0; i < wave.SoundCount(); ++i)
        EXPECT_FALSE(wave.Sounds(i).IsPlaying());
    EXPECT_TRUE(mWarnings.empty());
}

TEST_F(MixerGameAudioTest, MissingAndDamagedFilesPlaySilenceWithOneLineEach) {
    for (int i = 0; i < 3; ++i) {
        mAudio->PlaySound(Sound("NoSuchSound"));
        mAudio->PlayMusic(Music("Broken"));
        mAudio->PlayMusic(Music("NoSuchSong"));
    }
    EXPECT_EQ(mAudio->CurrentMusic(), "NoSuchSong");  // asked for: the same request stays quiet
    EXPECT_FALSE(MusicBuffer().IsPlaying());
    ASSERT_EQ(mWarnings.size(), 3u);
    EXPECT_NE(mWarnings[0].find("sound \"NoSuchSound\""), std::string::npos) << mWarnings[0];
    EXPECT_NE(mWarnings[1].find("music \"Broken\""), std::string::npos) << mWarnings[1];
    EXPECT_NE(mWarnings[1].find("Broken.wav"), std::string::npos) << mWarnings[1];
    EXPECT_NE(mWarnings[2].find("music \"NoSuchSong\""), std::string::npos) << mWarnings[2];
    // A path instead of a name reaches nothing outside the project and the RTP.
    mAudio->PlayMusic(Music("../Music/Theme"));
    EXPECT_FALSE(MusicBuffer().IsPlaying());
    // The game goes on: a good file plays after the bad ones.
    mAudio->PlayMusic(Music("Theme"));
    EXPECT_TRUE(MusicBuffer().IsPlaying());
}

}  // namespace
}  // namespace quillon::runtime
