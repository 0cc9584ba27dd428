#include "runtime/GameAnimation.h"

#include "data/EditorMode.h"
#include "data/LD_Animation.h"
#include "graphics/OrlenSheet.h"

namespace quillon::runtime {

int AnimationAnchorY(const TKelAnimationItem& animation, int feetY, int height) {
    switch (animation.YLine) {
    case TKelAnimationItem::ylHead: return feetY - height;
    case TKelAnimationItem::ylCenter: return feetY - height / 2;
    default: return feetY;
    }
}

TGameAnimation::TGameAnimation(TImageFinder find, TKelAnimationGraphic::TSoundPlayer playSound)
    : mGraphic(std::make_unique<TKelAnimationGraphic>(std::move(find), std::move(playSound))) {}

TGameAnimation::~TGameAnimation() = default;

void TGameAnimation::Start(const TKelAnimationItem* animation) {
    // A missing image leaves an empty sheet: the cues still sound and flash.
    TEditorModeScope quiet(true);
    mAnimation = animation && animation->FrameCount() > 0 ? animation : nullptr;
    mGraphic->SetAnimation(mAnimation, false);
    mTick = 0;
    // A flash cued near the end fades out after the last frame: the run lasts until it has.
    mFrames = mAnimation ? mAnimation->FrameCount() : 0;
    for (const std::vector<TAnimationFlash>* table : {&mGraphic->TargetFlash(), &mGraphic->ScreenFlash()})
        for (std::size_t frame = table->size(); frame > static_cast<std::size_t>(mFrames); --frame)
            if ((*table)[frame - 1][3] > 0) {  // its strength
                mFrames = static_cast<int>(frame);
                break;
            }
    if (mAnimation)
        mGraphic->PlayFrameSounds(0);
}

void TGameAnimation::Stop() {
    mAnimation = nullptr;
    mGraphic->SetAnimation(nullptr, true);
}

int TGameAnimation::Duration() const {
    return mAnimation ? mFrames * kGameFramesPerAnimationFrame : 0;
}

void TGameAnimation::Update() {
    if (!mAnimation)
        return;
    ++mTick;
    if (mTick >= Duration()) {
        Stop();
        return;
    }
    if (mTick % kGameFramesPerAnimationFrame == 0 && FrameIndex() < mAnimation->FrameCount())
        mGraphic->PlayFrameSounds(FrameIndex());
}

void TGameAnimation::Draw(TOrlenBoard& board, int x, int y) {
    if (!mAnimation || FrameIndex() >= mAnimation->FrameCount())
        return;  // past the last frame only a flash may still fade
    mGraphic->DrawFrame(board, x, FrameIndex(), y);
    mGraphic->ResetEffects();
}

namespace {

TAnimationFlash FlashAt(const std::vector<TAnimationFlash>& table, int frame) {
    return frame >= 0 && static_cast<std::size_t>(frame) < table.size() ? table[static_cast<std::size_t>(frame)]
                                                                          : TAnimationFlash{};
}

}  // namespace

TAnimationFlash TGameAnimation::TargetFlash() const { return FlashAt(mGraphic->TargetFlash(), FrameIndex()); }
TAnimationFlash TGameAnimation::ScreenFlash() const { return FlashAt(mGraphic->ScreenFlash(), FrameIndex()); }

void TGameAnimation::ApplyTargetFlash(TOrlenSheet& sheet) const { mGraphic->ApplyTargetFlash(sheet, FrameIndex()); }

}  // namespace quillon::runtime
