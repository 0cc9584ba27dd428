#include "runtime/MixerGameAudio.h"

#include "platform/TextCodec.h"
#include "project/Resources.h"

#include <cstdio>

namespace quillon::runtime {

namespace {

constexpr int kStepsPerUpdate = 3;  // the players' 50 ms update at 60 steps a second

}  // namespace

TMixerGameAudio::TMixerGameAudio(audio::TAudioServices services, TWarn warn)
    : mFront(std::make_unique<audio::TAudioHarmony>(std::move(services))), mWarn(std::move(warn)) {
    if (!mWarn)
        mWarn = [](const std::string& line) { std::fprintf(stderr, "quillon-player: %s\n", line.c_str()); };
    try {
        mFront->OpenWave();
    } catch (const std::exception& error) {
        Warn("sound", "", error.what());  // no wave output: every wave plays silence
    }
}

TMixerGameAudio::~TMixerGameAudio() = default;

void TMixerGameAudio::Warn(const std::string& kind, const std::string& name, const std::string& problem) {
    if (mWarned.insert(kind + '\n' + name).second)
        mWarn(name.empty() ? kind + ": " + problem : kind + " \"" + Cp932ToUtf8(name) + "\": " + problem);
}

void TMixerGameAudio::PlayMusic(const TKelMusic& music) {
    if (music.Name == kSoundOff || music.Name.empty()) {
        StopMusic();
        return;
    }
    const TMusicRequest request{music.Name, music.FadeIn, music.Volume, music.Tempo, music.Balance};
    if (mHasMusic && request == mMusic)
        return;
    mFront->StopMusic();
    mMusic = request;
    mHasMusic = true;
    mPlayedOnce = false;
    const std::string file = LocateResourceFile(music.Name, "Music", MusicExtensions);
    if (file.empty()) {
        Warn("music", music.Name, "no such file in the project's Music folder or the RTP");
        return;
    }
    // The editor's order: open the synthesizer, play, then fade-in, volume, tempo and balance.
    try {
        mFront->OpenMidi();
    } catch (const std::exception& error) {
        Warn("MIDI", "", error.what());
    }
    try {
        mFront->PlayMusic(file);
        mFront->FadeIn(music.FadeIn);
        mFront->SetVolume(music.Volume);
        mFront->SetTempo(music.Tempo);
        mFront->SetBalance(music.Balance);
    } catch (const std::exception& error) {
        mFront->StopMusic();
        Warn("music", music.Name, file + ": " + error.what());
    }
}

void TMixerGameAudio::FadeOutMusic(int milliseconds) {
    try {
        mFront->FadeOut(milliseconds);
    } catch (const std::exception&) {
        mFront->StopMusic();
    }
    mHasMusic = false;
}

void TMixerGameAudio::StopMusic() {
    mFront->StopMusic();
    mFront->CloseMidi();  // no synthesizer thread while no music plays
    mHasMusic = false;
}

void TMixerGameAudio::PlaySound(const TKelSound& sound) {
    if (sound.Name == kSoundOff || sound.Name.empty())
        return;
    const std::string file = LocateResourceFile(sound.Name, "Sound", SoundExtensions);
    if (file.empty()) {
        Warn("sound", sound.Name, "no such file in the project's Sound folder or the RTP");
        return;
    }
    try {
        mFront->PlaySound(file, sound.Volume, sound.Tempo, sound.Balance);
    } catch (const std::exception& error) {
        Warn("sound", sound.Name, file + ": " + error.what());
    }
}

void TMixerGameAudio::StopAllSounds() { mFront->StopSounds(); }

std::string TMixerGameAudio::CurrentMusic() const { return mHasMusic ? mMusic.Name : std::string(); }

void TMixerGameAudio::Step() {
    if (++mSteps % kStepsPerUpdate == 0)
        mFront->Timer();
    if (!mHasMusic || mPlayedOnce)
        return;
    // Whichever player holds the music: MIDI reached its end, the wave's voice wrapped, the MP3
    // stream looped.
    const audio::TMidiPlayer* midi = mFront->Midi();
    audio::TWavePlayer* wavePlayer = mFront->Wave();
    const audio::TMixerVoice* wave =
        wavePlayer != nullptr && wavePlayer->Music().IsPlaying() ? wavePlayer->Music().Voice(0) : nullptr;
    const audio::TMP3Player* mp3 = mFront->MP3();
    mPlayedOnce = (midi != nullptr && midi->IsFinished()) || (wave != nullptr && wave->LoopCount() > 0) ||
                  (mp3 != nullptr && mp3->Loaded() && mp3->Looped());
}

}  // namespace quillon::runtime
