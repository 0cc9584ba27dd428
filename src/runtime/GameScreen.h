// The screen's effects over the map scene: the colour tone, flashes, shaking, panning, weather,
// the pictures, a battle animation shown on a character or the whole screen, and the erase and
// show transitions with the transitions chosen for teleports and battles. Everything advances by
// 60 Hz frames; Draw lays the effects over the drawn map in their order.
#pragma once

#include "graphics/GR_Animation.h"
#include "runtime/GameAnimation.h"
#include "runtime/GamePictures.h"
#include "runtime/GameRandom.h"
#include "runtime/GameTransition.h"
#include "runtime/GameWeather.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {
class TOrlenBoard;
class TKelSystemItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameCharacter;
class TGameWorld;
struct TSavedEffects;

// A colour tone in the command's units: percents 0..200 of red, green, blue and gray (100 leaves
// the screen as it is; gray 0 takes the colour out).
struct TScreenTone {
    int Red = 100;
    int Green = 100;
    int Blue = 100;
    int Gray = 100;
    bool operator==(const TScreenTone&) const = default;
};

// The six transitions the system record chooses (teleport, battle start, battle end; erase and show).
enum TTransitionSlot : int {
    tsTeleportErase = 0,
    tsTeleportShow = 1,
    tsBattleStartErase = 2,
    tsBattleStartShow = 3,
    tsBattleEndErase = 4,
    tsBattleEndShow = 5,
};
inline constexpr int kTransitionSlots = 6;

// The 5-6-5 colour table of a tone: entry c is colour c toned.
void BuildToneTable(const TScreenTone& tone, std::vector<std::uint16_t>& table);
// A 16-bit colour blended toward a 5-bit colour by strength / 31 (a flash).
std::uint16_t BlendColor(std::uint16_t dest, int red5, int green5, int blue5, int strength31);

class TGameScreen {
public:
    TGameScreen(TGameRandom& random, TImageFinder find, TKelAnimationGraphic::TSoundPlayer playSound,
                TGamePictures::TReporter report);
    ~TGameScreen();
    TGameScreen(const TGameScreen&) = delete;
    TGameScreen& operator=(const TGameScreen&) = delete;

    // The system record's transitions; Change Screen Transition sets one slot.
    void SetTransitions(const std::array<int, kTransitionSlots>& transitions) { mTransitions = transitions; }
    void SetTransition(int slot, int type);
    int Transition(int slot) const;
    // A teleport command erases a shown screen first with the teleport's erase transition (the
    // answer: frames to wait before it teleports; 0 at once), and after it shows the screen with
    // the teleport's show transition when it was the one that erased it.
    int BeginTeleport();
    void EndTeleport();
    TGameTransition& Transitions() { return mTransition; }
    const TGameTransition& Transitions() const { return mTransition; }

    // Tone: reaches `tone` (clamped to 0..200) in `frames` frames (0: at once).
    void SetTone(const TScreenTone& tone, int frames);
    TScreenTone Tone() const;  // now, rounded
    const TScreenTone& ToneTarget() const { return mToneTarget; }
    int ToneFramesLeft() const { return mToneFrames; }
    // The tone now, unrounded (red, green, blue, gray), and a tone change put back as it stood.
    const std::array<double, 4>& ToneNow() const { return mToneNow; }
    void RestoreTone(const std::array<double, 4>& now, const TScreenTone& target, int frames);

    // Flash: a colour (5-bit units) at strength 0..31 fading out over `frames` frames.
    void Flash(int red, int green, int blue, int strength, int frames);
    // The flash over the screen now: red, green, blue, strength.
    TAnimationFlash FlashNow() const;

    // Shake: power and speed 1..9 for `frames` frames; the screen's sideways offset now.
    void Shake(int power, int speed, int frames);
    int ShakeOffset() const;
    int ShakeFramesLeft() const { return mShakeFrames; }

    // Pan: fix the screen where it is, release it to the hero, move it by cells in a direction
    // (0 up, 1 right, 2 down, 3 left) at speed 1..6, or return it to the hero. Answers the frames
    // the movement takes.
    void PanFix(TGameWorld& world);
    void PanRelease(TGameWorld& world);
    int PanMove(TGameWorld& world, int direction, int cells, int speed);
    int PanReturn(TGameWorld& world, int speed);
    // The flash, shake and pan under way as a save keeps them, and put back (each value within
    // its bounds; the world's camera held again where it was).
    TSavedEffects SavedEffects(const TGameWorld& world) const;
    void RestoreEffects(const TSavedEffects& effects, TGameWorld& world);

    TGameWeather& Weather() { return mWeather; }
    const TGameWeather& Weather() const { return mWeather; }
    TGamePictures& Pictures() { return *mPictures; }
    const TGamePictures& Pictures() const { return *mPictures; }

    // Show Battle Animation: on the hero or an event (characterId as the commands give it, the
    // event already resolved) or, with characterId 0, centred on the screen. An animation of the
    // "All" scope stands centred on the screen whatever its target; one of the "Single" scope
    // stands on its character at the record's "Y coord. line". The target character shows the
    // animation's target flashes. Answers its frames.
    int ShowAnimation(const TKelAnimationItem* animation, std::int32_t characterId);
    bool AnimationRunning() const { return mAnimation->Running(); }

    // A map was left: the camera follows the hero again and the animation stops.
    void MapChanged(TGameWorld& world);

    // One frame of every effect.
    void Update(TGameWorld& world);
    // Over the map just drawn: animation, pictures, weather, tone, flash, shake, transition.
    void Draw(TOrlenBoard& board, TGameWorld& world);
    // Mixes what the effects add to a frame into a hash of the picture: anything that moves from
    // frame to frame mixes the frame number, so such frames always count as changed.
    void HashDrawn(std::uint64_t& hash, std::int64_t frame) const;

private:
    void UpdatePan(TGameWorld& world);
    void ApplyTone(TOrlenBoard& board);
    // The character the running animation is shown on; null for the whole screen or a gone one.
    TGameCharacter* AnimationTarget(TGameWorld& world) const;

    TGameRandom& mRandom;
    std::array<int, kTransitionSlots> mTransitions{};
    TGameTransition mTransition;
    bool mTeleportErased = false;
    // Tone: now (as doubles while it changes) and its target.
    std::array<double, 4> mToneNow{100, 100, 100, 100};
    TScreenTone mToneTarget;
    int mToneFrames = 0;
    std::vector<std::uint16_t> mToneTable;
    TScreenTone mToneTableFor;
    // Flash.
    TAnimationFlash mFlash{};
    int mFlashFrames = 0;
    int mFlashTotal = 0;
    // Shake.
    int mShakePower = 0;
    int mShakeSpeed = 0;
    int mShakeFrames = 0;
    double mShakePosition = 0;
    int mShakeDirection = 1;
    // Pan: the held camera moves toward its target at mPanSpeed pixels (16ths) a frame.
    bool mPanFixed = false;
    bool mPanMoving = false;
    bool mPanReturning = false;
    int mPanX = 0;  // 16ths of a pixel
    int mPanY = 0;
    int mPanTargetX = 0;
    int mPanTargetY = 0;
    int mPanSpeed = 0;
    TGameWeather mWeather;
    std::unique_ptr<TGamePictures> mPictures;
    std::unique_ptr<TGameAnimation> mAnimation;
    std::int32_t mAnimationTarget = 0;
};

}  // namespace quillon::runtime
