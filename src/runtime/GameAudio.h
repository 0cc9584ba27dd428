// What the game asks of its sound: music and sound effects by their settings. The player's
// implementation plays them through the mixer; headless runs and tests record the requests.
#pragma once

#include "data/LD_System.h"

#include <string>
#include <vector>

namespace quillon::runtime {

// The system record's music and sounds, by their place in its lists.
enum TSystemMusic : int {
    smTitle = 0, smBattle = 1, smVictory = 2, smInn = 3, smBoat = 4, smShip = 5, smAirship = 6, smGameOver = 7
};
enum TSystemSound : int {
    ssCursor = 0, ssDecide = 1, ssCancel = 2, ssBuzzer = 3, ssBattleStart = 4, ssEscape = 5, ssMonsterAttack = 6,
    ssMonsterDamaged = 7, ssHeroDamaged = 8, ssEvasion = 9, ssMonsterDies = 10, ssItemUse = 11
};

class IGameAudio {
public:
    virtual ~IGameAudio() = default;
    // Plays the music (looping) unless the same name is already playing with the same settings;
    // "(OFF)" stops it.
    virtual void PlayMusic(const TKelMusic& music) = 0;
    virtual void FadeOutMusic(int milliseconds) = 0;
    virtual void StopMusic() = 0;
    // Plays a sound effect once; "(OFF)" plays nothing.
    virtual void PlaySound(const TKelSound& sound) = 0;
    virtual void StopAllSounds() = 0;
    // The name of the music now playing ("" when none).
    virtual std::string CurrentMusic() const = 0;
    // Called once a logic step, for fades.
    virtual void Step() {}
    // Whether the music now playing has played through to its end at least once since it began
    // (false while none plays).
    virtual bool MusicPlayedOnce() const { return false; }
};

// Plays nothing; remembers the requests (headless runs, tests). Without a sound there is no
// length to play through: a music counts as played once after kAssumedMusicSteps steps (one
// minute) of play, so a script waiting for it goes on in every run at the same frame.
class TRecordingGameAudio : public IGameAudio {
public:
    static constexpr int kAssumedMusicSteps = 60 * 60;

    void PlayMusic(const TKelMusic& music) override {
        const std::string name = music.Name == kSoundOff ? std::string() : music.Name;
        if (name != mMusic)
            mMusicSteps = 0;  // the same music asked for again plays on
        mMusic = name;
        Requests.push_back("music " + music.Name);
    }
    void FadeOutMusic(int) override { mMusic.clear(); Requests.push_back("fade"); }
    void StopMusic() override { mMusic.clear(); Requests.push_back("stop"); }
    void PlaySound(const TKelSound& sound) override { Requests.push_back("sound " + sound.Name); }
    void StopAllSounds() override { Requests.push_back("stop sounds"); }
    std::string CurrentMusic() const override { return mMusic; }
    void Step() override {
        if (!mMusic.empty() && mMusicSteps < kAssumedMusicSteps)
            ++mMusicSteps;
    }
    bool MusicPlayedOnce() const override { return !mMusic.empty() && mMusicSteps >= kAssumedMusicSteps; }

    std::vector<std::string> Requests;

private:
    std::string mMusic;
    int mMusicSteps = 0;
};

}  // namespace quillon::runtime
