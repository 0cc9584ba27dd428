#include "graphics/GR_Animation.h"

#include "data/EditorMode.h"
#include "data/LD_Animation.h"

#include <algorithm>
#include <limits>

namespace quillon {

TRect AnimationPatternRect(int pattern) {
    // Patterns far beyond any image (or negative) give a rectangle outside it, without overflow.
    const int row = std::clamp(pattern / kAnimationPatternsPerRow, -1, 65536 / kAnimationPatternSize);
    return MakeBounds((pattern % kAnimationPatternsPerRow) * kAnimationPatternSize, row * kAnimationPatternSize,
                      kAnimationPatternSize, kAnimationPatternSize);
}

TKelAnimationGraphic::TKelAnimationGraphic(TImageFinder find, TSoundPlayer playSound)
    : mFind(std::move(find)), mPlaySound(std::move(playSound)), mSheet(std::make_unique<TOrlenSheet>()) {
    mSheet->AutoSize = true;
    mSheet->Transparent = true;
}

void TKelAnimationGraphic::SetAnimation(const TKelAnimationItem* animation, bool withoutFlash) {
    mAnimation = animation;
    LoadGraphic(animation ? animation->FileName : std::string());
    BuildFlash(withoutFlash);
}

void TKelAnimationGraphic::LoadGraphic(const std::string& name) {
    if (name == mFileName)
        return;
    mFileName = name;
    mSheet->Clear();
    LoadSheetResource(*mSheet, mFind, "Battle", name, !EditorMode());
}

void TKelAnimationGraphic::BuildFlash(bool withoutFlash) {
    const int frames = mAnimation ? mAnimation->FrameCount() : 0;
    const std::size_t size = static_cast<std::size_t>(frames) + 10;
    mTargetFlash.assign(size, TAnimationFlash{});
    mScreenFlash.assign(size, TAnimationFlash{});
    if (withoutFlash || !mAnimation)
        return;
    const TKelAnimationTiming& timing = mAnimation->Timing;
    for (int t = 0; t < timing.Count(); ++t) {
        const TKelAnimationTimingItem* cue = timing.Items(t);
        if (cue->FlashRange != TKelAnimationTimingItem::frTarget && cue->FlashRange != TKelAnimationTimingItem::frScreen)
            continue;
        if (cue->Frame > std::numeric_limits<std::int32_t>::max() - 4)
            continue;
        std::vector<TAnimationFlash>& table =
            cue->FlashRange == TKelAnimationTimingItem::frTarget ? mTargetFlash : mScreenFlash;
        for (int k = 0; k <= 5; ++k) {
            const std::int64_t j = static_cast<std::int64_t>(cue->Frame) - 1 + k;
            if (j < 0 || j >= static_cast<std::int64_t>(size))
                continue;
            const std::int64_t strength = static_cast<std::int64_t>(cue->FlashPower) * (7 - k) / 6;
            // Colours as the tone takes them (5-bit units), whatever the file held.
            table[static_cast<std::size_t>(j)] = TAnimationFlash{
                std::clamp(cue->FlashRed, 0, 31), std::clamp(cue->FlashGreen, 0, 31), std::clamp(cue->FlashBlue, 0, 31),
                static_cast<std::int32_t>(std::clamp<std::int64_t>(strength, 0, 31))};
        }
    }
}

std::uint32_t TKelAnimationGraphic::BackgroundColor() const {
    const TPaletteEntry& entry = mSheet->Palette[0];
    return entry.Red | (static_cast<std::uint32_t>(entry.Green) << 8) | (static_cast<std::uint32_t>(entry.Blue) << 16);
}

void TKelAnimationGraphic::ResetEffects() {
    mSheet->Opacity = 255;
    mSheet->PrimaryControl().Reset(false);
    mSheet->SecondaryControl().Reset(false);
    mSheet->UpdateColorTable();
}

void TKelAnimationGraphic::DrawPattern(TOrlenBoard& board, int x, int pattern, int y) {
    board.DrawSheet(x, y, AnimationPatternRect(pattern), *mSheet);
}

namespace {

void ApplyFlash(TOrlenColorControl& control, const std::vector<TAnimationFlash>& table, int frameIndex) {
    if (frameIndex >= 0 && static_cast<std::size_t>(frameIndex) < table.size()) {
        const TAnimationFlash& flash = table[static_cast<std::size_t>(frameIndex)];
        control.SetTone(flash[0], flash[1], flash[2], flash[3], true);
    } else {
        control.Reset(true);
    }
}

}  // namespace

void TKelAnimationGraphic::ApplyTargetFlash(TOrlenSheet& sheet, int frameIndex) const {
    ApplyFlash(sheet.PrimaryControl(), mTargetFlash, frameIndex);
}

void TKelAnimationGraphic::ApplyScreenFlash(TOrlenSheet& sheet, int frameIndex) const {
    ApplyFlash(sheet.SecondaryControl(), mScreenFlash, frameIndex);
}

void TKelAnimationGraphic::DrawCell(TOrlenBoard& board, int x, bool withScreenFlash, int cellIndex, int frameIndex,
                                    int y) {
    if (!mAnimation)
        return;
    const TKelAnimationPatternItem* frame = mAnimation->Frames.Items(frameIndex);
    const TKelAnimationCellItem* cell = frame ? frame->Cells.Items(cellIndex) : nullptr;
    if (!cell)
        return;
    if (withScreenFlash)
        ApplyScreenFlash(*mSheet, frameIndex);
    else
        mSheet->SecondaryControl().Reset(true);
    mSheet->PrimaryControl().SetColor(cell->Red, cell->Green, cell->Blue, cell->Chroma, true);
    mSheet->Opacity = static_cast<int>(std::clamp<std::int64_t>((100 - static_cast<std::int64_t>(cell->Transparency)) * 255 / 100, 0, 255));
    // Positions and magnifications read from a file are kept where the drawing arithmetic stays exact.
    const double centerX = std::clamp(static_cast<double>(x) + cell->X, -1e6, 1e6);
    const double centerY = std::clamp(static_cast<double>(y) + cell->Y, -1e6, 1e6);
    const double zoom = std::clamp(cell->Magnification, 0, 10000) / 100.0;
    board.DrawSheetZoomed(centerX, centerY, zoom, 48, 48, AnimationPatternRect(cell->Pattern), *mSheet);
}

void TKelAnimationGraphic::DrawFrame(TOrlenBoard& board, int x, int frameIndex, int y) {
    if (!mAnimation)
        return;
    const TKelAnimationPatternItem* frame = mAnimation->Frames.Items(frameIndex);
    if (!frame)
        return;
    for (int i = 0; i < frame->Cells.Count(); ++i)
        if (frame->Cells.Items(i)->Visible)
            DrawCell(board, x, true, i, frameIndex, y);
}

void TKelAnimationGraphic::PlayFrameSounds(int frameIndex) const {
    if (!mAnimation || !mPlaySound)
        return;
    const TKelAnimationTiming& timing = mAnimation->Timing;
    for (int t = 0; t < timing.Count(); ++t) {
        const TKelAnimationTimingItem* cue = timing.Items(t);
        if (static_cast<std::int64_t>(cue->Frame) == static_cast<std::int64_t>(frameIndex) + 1 &&
            cue->Sound.Name != kSoundOff)
            mPlaySound(cue->Sound);
    }
}

}  // namespace quillon
