#include "database/ED_AnimationDialogs.h"

#include <algorithm>

namespace quillon {

namespace {

// A value on its step within its range (halves go up).
std::int32_t OnStep(std::int32_t value, std::int32_t step, std::int32_t min, std::int32_t max) {
    value = std::clamp(value, min, max);
    return std::clamp((value + step / 2) / step * step, min, max);
}

// A number field over a member, kept within 1 .. the dialog's frames.
template <class D>
void FrameField(TFieldFormBuilder<D>& form, const char* widget, const char* label, std::int32_t D::*member,
                const char* key) {
    form.Field(
            TFieldKind::Number, widget, label, [member](const D& d) { return d.*member; },
            [member](D& d, std::int32_t v) { d.*member = std::clamp(v, 1, std::max(1, d.Frames)); })
        .Range(1, kAnimationMaxFrames)
        .Key(key);
}

}  // namespace

// --- cell ---

void TAnimationCellDialog::Load(const TKelAnimationCellItem& cell) {
    Pattern = std::clamp(cell.Pattern + 1, 1, kAnimationPatternCount);
    Magnification = std::clamp(cell.Magnification, 20, 800);
    Transparency = std::clamp(cell.Transparency, 0, 100);
    Red = std::clamp(cell.Red, 0, 200);
    Green = std::clamp(cell.Green, 0, 200);
    Blue = std::clamp(cell.Blue, 0, 200);
    Chroma = std::clamp(cell.Chroma, 0, 200);
}

void TAnimationCellDialog::Store(TKelAnimationCellItem& cell) const {
    cell.Pattern = std::clamp(Pattern, 1, kAnimationPatternCount) - 1;
    cell.Magnification = OnStep(Magnification, 5, 20, 800);
    cell.Transparency = OnStep(Transparency, 5, 0, 100);
    cell.Red = OnStep(Red, 10, 0, 200);
    cell.Green = OnStep(Green, 10, 0, 200);
    cell.Blue = OnStep(Blue, 10, 0, 200);
    cell.Chroma = OnStep(Chroma, 10, 0, 200);
}

int TAnimationCellDialog::SliderPosition(std::int32_t value) { return OnStep(value, 10, 0, 200) / 10; }

std::int32_t TAnimationCellDialog::SliderValue(int position) { return std::clamp(position, 0, kSliderMax) * 10; }

const TFieldForm& AnimationCellDialogForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TAnimationCellDialog> f;
        using D = TAnimationCellDialog;
        f.Field(TFieldKind::Number, "EditPattern", "&Pattern Number:", &D::Pattern).Range(1, 25).Key("pattern");
        f.Field(TFieldKind::Number, "EditMagnification", "&Magnification:", &D::Magnification)
            .Range(20, 800)
            .Key("magnification");
        f.Field(TFieldKind::Number, "EditTransparency", "&Transparency:", &D::Transparency)
            .Range(0, 100)
            .Key("transparency");
        f.Field(TFieldKind::Number, "EditRed", "&Red:", &D::Red).Range(0, 200).Key("red");
        f.Field(TFieldKind::Number, "EditGreen", "&Green:", &D::Green).Range(0, 200).Key("green");
        f.Field(TFieldKind::Number, "EditBlue", "&Blue:", &D::Blue).Range(0, 200).Key("blue");
        f.Field(TFieldKind::Number, "EditChroma", "&Chroma:", &D::Chroma).Range(0, 200).Key("chroma");
        return f.Build();
    }();
    return form;
}

// --- frame count ---

const TFieldForm& AnimationFrameMaxDialogForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TAnimationFrameMaxDialog> f;
        f.Field(TFieldKind::Number, "EditMaxFrame", "&Max Frame:", &TAnimationFrameMaxDialog::Count)
            .Range(1, kAnimationMaxFrames)
            .Key("count");
        return f.Build();
    }();
    return form;
}

// --- timing ---

void TAnimationTimingDialog::Load(const TKelAnimationTimingItem& timing, std::int32_t frames) {
    Frames = std::max(frames, 1);
    Frame = std::clamp(timing.Frame, 1, Frames);
    SoundName = timing.Sound.Name;
    SoundVolume = timing.Sound.Volume;
    SoundTempo = timing.Sound.Tempo;
    SoundBalance = timing.Sound.Balance;
    Range = std::clamp<std::int32_t>(timing.FlashRange, 0, 2);
    Red = std::clamp(timing.FlashRed, 0, 31);
    Green = std::clamp(timing.FlashGreen, 0, 31);
    Blue = std::clamp(timing.FlashBlue, 0, 31);
    Power = std::clamp(timing.FlashPower, 0, 31);
}

void TAnimationTimingDialog::Store(TKelAnimationTimingItem& timing) const {
    timing.Frame = std::clamp(Frame, 1, std::max(Frames, 1));
    timing.Sound.Name = SoundName;
    timing.Sound.Volume = SoundVolume;
    timing.Sound.Tempo = SoundTempo;
    timing.Sound.Balance = SoundBalance;
    timing.FlashRange = static_cast<std::uint8_t>(std::clamp(Range, 0, 2));
    timing.FlashRed = Red;
    timing.FlashGreen = Green;
    timing.FlashBlue = Blue;
    timing.FlashPower = Power;
}

std::uint32_t TAnimationTimingDialog::SampleColor() const {
    const auto eight = [](std::int32_t v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 31) * 8); };
    return eight(Red) | eight(Green) << 8 | eight(Blue) << 16;
}

bool TAnimationTimingDialog::ChooseSound() {
    if (!Page)
        return false;
    TKelSound sound;
    sound.Name = SoundName;
    sound.Volume = SoundVolume;
    sound.Tempo = SoundTempo;
    sound.Balance = SoundBalance;
    if (!Page->ChooseTimingSound(sound))
        return false;
    SoundName = sound.Name;
    SoundVolume = sound.Volume;
    SoundTempo = sound.Tempo;
    SoundBalance = sound.Balance;
    return true;
}

const TFieldForm& AnimationTimingDialogForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TAnimationTimingDialog> f;
        using D = TAnimationTimingDialog;
        FrameField(f, "EditFrame", "&Frame:", &D::Frame, "frame");
        f.Resource("DashSound", "&Select Sound Effect:", &D::SoundText, &D::ChooseSound).Key("sound");
        f.Field(TFieldKind::RadioGroup, "RadioRange", "Flash &Range", &D::Range)
            .Choices({"None", "Target", "Screen"})
            .Key("range");
        const auto flash = [](const D& d) { return d.FlashEnabled(); };
        f.Field(TFieldKind::Number, "EditRed", "R&ed:", &D::Red).Range(0, 31).EnabledWhen(flash).Key("red");
        f.Field(TFieldKind::Number, "EditGreen", "&Green:", &D::Green).Range(0, 31).EnabledWhen(flash).Key("green");
        f.Field(TFieldKind::Number, "EditBlue", "&Blue:", &D::Blue).Range(0, 31).EnabledWhen(flash).Key("blue");
        f.Field(TFieldKind::Number, "EditPower", "&Power:", &D::Power).Range(0, 31).EnabledWhen(flash).Key("power");
        return f.Build();
    }();
    return form;
}

// --- frame management ---

const TFieldForm& AnimationFrameToolDialogForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TAnimationFrameToolDialog> f;
        using D = TAnimationFrameToolDialog;
        FrameField(f, "EditFrom", "&From frame:", &D::From, "from");
        FrameField(f, "EditTo", "&To frame:", &D::To, "to");
        f.Field(TFieldKind::RadioGroup, "RadioOperation", "Operation", &D::Operation)
            .Choices({"Copy Page", "Clear"})
            .Key("operation");
        f.Field(
                TFieldKind::Number, "EditStart", "Paste &starting at:", [](const D& d) { return d.Start; },
                [](D& d, std::int32_t v) { d.Start = std::clamp(v, 1, std::max(1, d.Frames)); })
            .Range(1, kAnimationMaxFrames)
            .EnabledWhen([](const D& d) { return d.StartEnabled(); })
            .Key("start");
        return f.Build();
    }();
    return form;
}

// --- complement ---

const TFieldForm& AnimationComplementDialogForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TAnimationComplementDialog> f;
        using D = TAnimationComplementDialog;
        FrameField(f, "EditFrom", "&From frame:", &D::From, "from");
        FrameField(f, "EditTo", "&To frame:", &D::To, "to");
        f.Field(TFieldKind::Number, "EditCellFrom", "&Cell Number(s):", &D::CellFrom).Range(1, 8).Key("cell-from");
        f.Field(TFieldKind::Number, "EditCellTo", "t&o cell:", &D::CellTo).Range(1, 8).Key("cell-to");
        f.Field(TFieldKind::Check, "CheckPattern", "&Pattern Number", &D::Pattern).Key("pattern");
        f.Field(TFieldKind::Check, "CheckMagnification", "&Magnification", &D::Motion).Key("motion");
        f.Field(TFieldKind::Check, "CheckTransparency", "T&ransparency", &D::Tone).Key("tone");
        return f.Build();
    }();
    return form;
}

// --- many cells ---

void TAnimationManyCellsDialog::Load(const TManyCellsSettings& s) {
    for (int i = 0; i < kAnimationMaxCells; ++i)
        Cells[static_cast<std::size_t>(i)] = s.Cells[static_cast<std::size_t>(i)] ? 1 : 0;
    SetPattern = s.SetPattern;
    Pattern = std::clamp(s.Pattern, 1, kAnimationPatternCount);
    SetMagnification = s.SetMagnification;
    Magnification = std::clamp(s.Magnification, 20, 800);
    SetTransparency = s.SetTransparency;
    Transparency = std::clamp(s.Transparency, 0, 100);
    SetColor = s.SetColor;
    Red = std::clamp(s.Red, 0, 200);
    Green = std::clamp(s.Green, 0, 200);
    Blue = std::clamp(s.Blue, 0, 200);
    Chroma = std::clamp(s.Chroma, 0, 200);
}

void TAnimationManyCellsDialog::Store(TManyCellsSettings& s) const {
    for (int i = 0; i < kAnimationMaxCells; ++i)
        s.Cells[static_cast<std::size_t>(i)] = Cells[static_cast<std::size_t>(i)] != 0;
    s.SetPattern = SetPattern != 0;
    s.Pattern = Pattern;
    s.SetMagnification = SetMagnification != 0;
    s.Magnification = OnStep(Magnification, 5, 20, 800);
    s.SetTransparency = SetTransparency != 0;
    s.Transparency = OnStep(Transparency, 5, 0, 100);
    s.SetColor = SetColor != 0;
    s.Red = OnStep(Red, 10, 0, 200);
    s.Green = OnStep(Green, 10, 0, 200);
    s.Blue = OnStep(Blue, 10, 0, 200);
    s.Chroma = OnStep(Chroma, 10, 0, 200);
}

const TFieldForm& AnimationManyCellsDialogForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TAnimationManyCellsDialog> f;
        using D = TAnimationManyCellsDialog;
        f.Group("GroupCells", "Cell Number(s)");
        for (int i = 0; i < kAnimationMaxCells; ++i)
            f.Field(
                    TFieldKind::Check, "CheckCell" + std::to_string(i + 1), "&" + std::to_string(i + 1),
                    [i](const D& d) { return d.Cells[static_cast<std::size_t>(i)]; },
                    [i](D& d, std::int32_t v) { d.Cells[static_cast<std::size_t>(i)] = v != 0; })
                .Key("cell" + std::to_string(i + 1));
        f.Group("GroupItems", "Items");
        f.Field(TFieldKind::Check, "CheckPattern", "&Pattern Number", &D::SetPattern).Key("set-pattern");
        f.Field(TFieldKind::Number, "EditPattern", "Pattern:", &D::Pattern)
            .Range(1, 25)
            .EnabledWhen([](const D& d) { return d.SetPattern != 0; })
            .Key("pattern");
        f.Field(TFieldKind::Check, "CheckMagnification", "&Magnification", &D::SetMagnification).Key("set-magnification");
        f.Field(TFieldKind::Number, "EditMagnification", "Magnification:", &D::Magnification)
            .Range(20, 800)
            .EnabledWhen([](const D& d) { return d.SetMagnification != 0; })
            .Key("magnification");
        f.Field(TFieldKind::Check, "CheckTransparency", "&Transparency", &D::SetTransparency).Key("set-transparency");
        f.Field(TFieldKind::Number, "EditTransparency", "Transparency:", &D::Transparency)
            .Range(0, 100)
            .EnabledWhen([](const D& d) { return d.SetTransparency != 0; })
            .Key("transparency");
        f.Field(TFieldKind::Check, "CheckColor", "C&olor", &D::SetColor).Key("set-color");
        const auto color = [](const D& d) { return d.SetColor != 0; };
        f.Field(TFieldKind::Number, "EditRed", "Red:", &D::Red).Range(0, 200).EnabledWhen(color).Key("red");
        f.Field(TFieldKind::Number, "EditGreen", "Green:", &D::Green).Range(0, 200).EnabledWhen(color).Key("green");
        f.Field(TFieldKind::Number, "EditBlue", "Blue:", &D::Blue).Range(0, 200).EnabledWhen(color).Key("blue");
        f.Field(TFieldKind::Number, "EditChroma", "Chroma:", &D::Chroma).Range(0, 200).EnabledWhen(color).Key("chroma");
        f.Group("GroupEnd");
        return f.Build();
    }();
    return form;
}

}  // namespace quillon
