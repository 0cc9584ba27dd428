// The battle as the player sees it (front view, 320 x 240): the backdrop, the troop's monsters at
// their places with their hue and transparency, the party's status window, the party's and each
// hero's commands with the choice of target, the battle's messages one by one, the animations of
// the blows and skills, and the troop's battle event pages run as they come due. RunToEnd plays a
// whole battle on "Auto" without frames (the battle lab).
#pragma once

#include "runtime/GameBattle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
class TOrlenBoard;
class TOrlenSheet;
}  // namespace quillon

namespace quillon::runtime {

class TGameSession;
class TGameInput;
class TGameCommandWindow;
class TInterpreter;
class TGameAnimation;

// Frames a battle message stays before the next one (decide shows the next one at once).
inline constexpr int kBattleMessageFrames = 40;
// Steps a battle event page may take in the lab before it counts as endless.
inline constexpr int kFastPageSteps = 100;

class TBattleScene {
public:
    TBattleScene(TGameSession& session, const TBattleSetup& setup, const std::string& backdrop);
    ~TBattleScene();

    TGameBattle& Battle() { return *mBattle; }
    const TGameBattle& Battle() const { return *mBattle; }
    // The battle and its last messages are over.
    bool Finished() const { return mFinished; }

    void Step(const TGameInput& input);
    void Draw(TOrlenBoard& screen);
    // Plays the rest of the battle on "Auto" at once: pages run, their messages close by themselves.
    void RunToEnd();

    // The battle commands that change the scene.
    void SetBackdrop(const std::string& name);
    void ShowAnimation(std::int32_t animationId, int monsterIndex, bool wait);
    // Plays an animation on a side: on one member, or on the whole side (target -1). The
    // battle's blows and skills come here.
    void StartAnimation(std::int32_t animationId, bool onHeroes, int target);
    bool AnimationRunning() const;
    int AnimationFramesLeft() const;

private:
    enum class TStage { Messages, PartyCommand, HeroCommand, Skills, Items, Target, Acting, Ending };
    struct TMonsterImage;

    void Continue();
    bool StartDuePage();
    void OpenPartyCommands();
    void OpenHeroCommands();
    void NextHero(bool forward);
    void Commit();
    void StepCommands(const TGameInput& input);
    void PlayCues();
    // Where the running animation is drawn (one point, or one per member it strikes).
    std::vector<std::pair<int, int>> AnimationPoints() const;
    bool AnimationStrikes(int index) const;
    void LoadMonsterImages();
    void DrawStatus(TOrlenBoard& screen);
    void DrawMessage(TOrlenBoard& screen);

    TGameSession& mSession;
    std::unique_ptr<TGameBattle> mBattle;
    std::unique_ptr<TInterpreter> mPages;
    std::unique_ptr<TOrlenSheet> mBackdrop;
    std::vector<std::unique_ptr<TMonsterImage>> mImages;
    std::unique_ptr<TGameCommandWindow> mMenu;
    std::unique_ptr<TGameAnimation> mAnimation;
    bool mAnimationOnHeroes = false;  // the side it plays on
    int mAnimationTarget = -1;        // the member it strikes, -1 the whole side
    std::vector<TBattleCue> mCues;         // animations still to play, in order
    TStage mStage = TStage::Messages;
    std::size_t mShown = 0;      // log lines shown so far
    int mMessageFrames = 0;
    int mHero = 0;               // the hero choosing a command
    std::vector<TBattleAction> mActions;
    std::vector<std::int32_t> mChoices;  // the skills or items of the open list
    int mTarget = 0;
    bool mTargetHeroes = false;
    bool mFinished = false;
    std::int64_t mFrame = 0;
};

}  // namespace quillon::runtime
