// The dialogs of the battle animation page without a window: the values each offers, their
// limits and their field descriptions. The window binds them with the field binder; OK hands the
// values to the page model (TAnimationPageModel), which runs the tools on a copy.
#pragma once

#include "controls/FieldForm.h"
#include "database/ED_Animation.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

// "Edit Cell": pattern 1..25, magnification 20..800 in steps of 5, transparency 0..100 in steps
// of 5, red, green, blue and chroma 0..200 in steps of 10.
struct TAnimationCellDialog {
    std::int32_t Pattern = 1, Magnification = 100, Transparency = 0;
    std::int32_t Red = 100, Green = 100, Blue = 100, Chroma = 100;

    void Load(const TKelAnimationCellItem& cell);
    // The values on their steps, into a cell.
    void Store(TKelAnimationCellItem& cell) const;

    // Red, green, blue and chroma also stand on a slider 0..20: a tenth of the value on its step.
    static constexpr int kSliderMax = 20;
    static int SliderPosition(std::int32_t value);
    static std::int32_t SliderValue(int position);
};
const TFieldForm& AnimationCellDialogForm();

// "Frame Number": "Max Frame" 1..999.
struct TAnimationFrameMaxDialog {
    std::int32_t Count = 1;
};
const TFieldForm& AnimationFrameMaxDialogForm();

// "Sound Effect and Animation Timing".
struct TAnimationTimingDialog {
    std::int32_t Frame = 1;
    std::int32_t Frames = 1;  // the animation's frames: the frame's limit
    std::string SoundName = kSoundOff;
    std::int32_t SoundVolume = 100, SoundTempo = 100, SoundBalance = 50;
    std::int32_t Range = 0;  // 0 none, 1 target, 2 screen
    std::int32_t Red = 31, Green = 31, Blue = 31, Power = 31;
    TAnimationPageModel* Page = nullptr;  // the sound selector

    void Load(const TKelAnimationTimingItem& timing, std::int32_t frames);
    void Store(TKelAnimationTimingItem& timing) const;
    bool FlashEnabled() const { return Range != 0; }
    // The sample colour as red | green << 8 | blue << 16 (each value times 8).
    std::uint32_t SampleColor() const;
    bool ChooseSound();
    std::string SoundText() const { return SoundName; }
};
const TFieldForm& AnimationTimingDialogForm();

// "Frame Management": a frame range, "Copy Page" or "Clear", "Paste starting at".
struct TAnimationFrameToolDialog {
    std::int32_t Frames = 1;
    std::int32_t From = 1, To = 1, Start = 1;
    std::int32_t Operation = 0;
    bool StartEnabled() const { return Operation == 0; }
};
const TFieldForm& AnimationFrameToolDialogForm();

// "Animation Complement Editor": frames, cell numbers 1..8 and the three items.
struct TAnimationComplementDialog {
    std::int32_t Frames = 1;
    std::int32_t From = 1, To = 1, CellFrom = 1, CellTo = 1;
    std::int32_t Pattern = 1, Motion = 1, Tone = 1;
    TComplementItems Items() const { return {Pattern != 0, Motion != 0, Tone != 0}; }
};
const TFieldForm& AnimationComplementDialogForm();

// "Edit Cells All At Once": the cells and items (the marked frames are a list of their own).
struct TAnimationManyCellsDialog {
    std::array<std::int32_t, kAnimationMaxCells> Cells{};
    std::int32_t SetPattern = 0, Pattern = 1;
    std::int32_t SetMagnification = 0, Magnification = 100;
    std::int32_t SetTransparency = 0, Transparency = 0;
    std::int32_t SetColor = 0, Red = 100, Green = 100, Blue = 100, Chroma = 100;

    void Load(const TManyCellsSettings& settings);
    // Into settings (their frames are left as they are).
    void Store(TManyCellsSettings& settings) const;
};
const TFieldForm& AnimationManyCellsDialogForm();

}  // namespace quillon
