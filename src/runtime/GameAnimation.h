// A battle animation as the game plays it: an animation record drawn frame by frame at a point of
// a board (or over the whole screen), its sound cues played when their frame comes, and the
// target and screen flashes of the current frame for the owner to show. The map's "Show Battle
// Animation" and the battles use it alike.
#pragma once

#include "graphics/GR_Animation.h"

#include <cstdint>
#include <memory>

namespace quillon {
class TOrlenBoard;
class TOrlenSheet;
class TKelAnimationItem;
}  // namespace quillon

namespace quillon::runtime {

// Game frames (60 a second) per animation frame: the editor's preview pace of 33 ms.
inline constexpr int kGameFramesPerAnimationFrame = 2;

// Where an animation stands on a target of `height` pixels whose feet are at feetY: its record's
// "Y coord. line" (head, centre or feet).
int AnimationAnchorY(const TKelAnimationItem& animation, int feetY, int height);

class TGameAnimation {
public:
    TGameAnimation(TImageFinder find, TKelAnimationGraphic::TSoundPlayer playSound);
    ~TGameAnimation();
    TGameAnimation(const TGameAnimation&) = delete;
    TGameAnimation& operator=(const TGameAnimation&) = delete;

    // Starts the record from its first frame (null: nothing runs). The record must outlive the run.
    void Start(const TKelAnimationItem* animation);
    void Stop();
    bool Running() const { return mAnimation != nullptr; }
    const TKelAnimationItem* Animation() const { return mAnimation; }
    // The game frames a whole run lasts: its frames, and after them the fading of a flash cued
    // near the end.
    int Duration() const;
    // One game frame: a new animation frame every kGameFramesPerAnimationFrame frames, whose sound
    // cues play as it begins; when the last flash has faded the run ends.
    void Update();
    // The animation frame shown now (0-based), -1 when nothing runs.
    int FrameIndex() const { return mAnimation ? mTick / kGameFramesPerAnimationFrame : -1; }
    // The current frame's cells centred on (x, y).
    void Draw(TOrlenBoard& board, int x, int y);
    // The flashes of the current frame (red, green, blue, strength in 5-bit units; all zero when none).
    TAnimationFlash TargetFlash() const;
    TAnimationFlash ScreenFlash() const;
    // Tints a target's sheet with the current frame's target flash (its primary colour control);
    // with nothing running, or a frame without a flash, the tint is taken off again.
    void ApplyTargetFlash(TOrlenSheet& sheet) const;

private:
    std::unique_ptr<TKelAnimationGraphic> mGraphic;
    const TKelAnimationItem* mAnimation = nullptr;
    int mTick = 0;
    int mFrames = 0;  // animation frames the run lasts, the flash's fading included
};

}  // namespace quillon::runtime
