// The battle animation graphic: the image of one battle animation with its flash colours per
// frame, drawing its cells with their magnification, colour and transparency.
#pragma once

#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class TKelAnimationItem;
class TKelSound;

inline constexpr int kAnimationPatternSize = 96;
inline constexpr int kAnimationPatternsPerRow = 5;

// The source rectangle of pattern p in a battle animation image.
TRect AnimationPatternRect(int pattern);

// One flash entry: red, green, blue and strength in 5-bit colour units.
using TAnimationFlash = std::array<std::int32_t, 4>;

class TKelAnimationGraphic {
public:
    // Plays one sound cue: the caller finds the file in the "Sound" folder and hands it to the
    // audio front with the cue's volume, tempo and balance.
    using TSoundPlayer = std::function<void(const TKelSound& sound)>;

    explicit TKelAnimationGraphic(TImageFinder find = {}, TSoundPlayer playSound = {});
    TKelAnimationGraphic(const TKelAnimationGraphic&) = delete;
    TKelAnimationGraphic& operator=(const TKelAnimationGraphic&) = delete;

    const TKelAnimationItem* Animation() const { return mAnimation; }
    const std::string& FileName() const { return mFileName; }
    TOrlenSheet& Sheet() { return *mSheet; }
    const std::vector<TAnimationFlash>& TargetFlash() const { return mTargetFlash; }
    const std::vector<TAnimationFlash>& ScreenFlash() const { return mScreenFlash; }

    // Shows a record (or none): loads its image and builds the flash tables, left all zero when
    // withoutFlash is set.
    void SetAnimation(const TKelAnimationItem* animation, bool withoutFlash);
    // Loads the named image from the "Battle" folder; nothing happens when it is the one loaded.
    void LoadGraphic(const std::string& name);
    // The colour of palette entry 0, as red | green << 8 | blue << 16.
    std::uint32_t BackgroundColor() const;
    // Opacity 255, both colour controls reset, colour table rebuilt.
    void ResetEffects();
    // The pattern's 96 x 96 rectangle 1:1 at (x, y).
    void DrawPattern(TOrlenBoard& board, int x, int pattern, int y);
    // Sets the primary (target) or secondary (screen) control of a sheet to the frame's flash;
    // frames outside the table reset the control.
    void ApplyTargetFlash(TOrlenSheet& sheet, int frameIndex) const;
    void ApplyScreenFlash(TOrlenSheet& sheet, int frameIndex) const;
    // One cell of a frame, centred on (x + cell x, y + cell y). Cells and frames that do not
    // exist draw nothing.
    void DrawCell(TOrlenBoard& board, int x, bool withScreenFlash, int cellIndex, int frameIndex, int y);
    // Every visible cell of the frame in cell order, with the screen flash.
    void DrawFrame(TOrlenBoard& board, int x, int frameIndex, int y);
    // Plays the sound of every cue of frame frameIndex + 1 whose sound is not "(OFF)".
    void PlayFrameSounds(int frameIndex) const;

private:
    void BuildFlash(bool withoutFlash);

    TImageFinder mFind;
    TSoundPlayer mPlaySound;
    const TKelAnimationItem* mAnimation = nullptr;
    std::string mFileName;
    std::unique_ptr<TOrlenSheet> mSheet;
    std::vector<TAnimationFlash> mTargetFlash;
    std::vector<TAnimationFlash> mScreenFlash;
};

}  // namespace quillon
