// The image selectors: a resource list with a preview of the chosen image, the face and walk
// graphic pickers that choose a cell of the image, and the monster graphic with its hue.
#pragma once

#include "graphics/OrlenSheet.h"
#include "project/SelBase.h"

#include <string>

namespace quillon {

class TSelImageModel : public TSelListModel {
public:
    // Any list-based kind but music, sound and event graphics.
    explicit TSelImageModel(TSelKind kind);

    // Selects the row of the name and, for the face and walk graphics, the cell `index`
    // (an index outside the grid becomes 0).
    void Open(const std::string& name, int index = 0);
    // Selecting a row loads its image (a missing or damaged file shows an empty preview).
    void SelectRow(int row) override;

    // The cell grid of the face and walk graphic previews; null for the others.
    const TSelGrid* Grid() const;
    int Index() const { return mIndex; }
    // A click in the preview chooses the cell under it; clicks outside the grid change nothing.
    // Answers whether a cell was chosen.
    bool ClickAt(int x, int y);

    // The preview as drawn after the last change (no pixels for movies).
    const TOrlenBoard& Preview() const { return mPreview; }
    TOrlenBoard& Preview() { return mPreview; }
    const TOrlenSheet& Sheet() const { return mSheet; }
    bool HasImage() const { return mSheet.Width() > 0 && mSheet.Height() > 0; }

protected:
    virtual void LoadImage();
    virtual void Render();

    TOrlenSheet mSheet;
    TOrlenBoard mPreview;
    int mIndex = 0;
};

class TSelMonsterModel : public TSelImageModel {
public:
    static constexpr int kSliderMax = 36;
    static constexpr int kSliderMiddle = 18;

    TSelMonsterModel();

    // Hue in degrees; any integer is taken modulo 360 into 0..359.
    void Open(const std::string& name, int hue);
    // Another image resets the hue to 0 (slider 18).
    void SelectRow(int row) override;
    int Hue() const { return mHue; }
    int SliderPosition() const { return mSlider; }
    // Moving the slider (clamped to 0..36) sets hue = (10 × position + 180) mod 360.
    void SetSliderPosition(int position);

    static int NormaliseHue(int hue);
    static int SliderOfHue(int hue) { return (NormaliseHue(hue) + 180) % 360 / 10; }
    static int HueOfSlider(int position) { return (10 * position + 180) % 360; }

protected:
    void LoadImage() override;
    void Render() override;

private:
    void ApplyHue();

    TPalette256 mOriginalPalette{};
    int mHue = 0;
    int mSlider = kSliderMiddle;
    bool mOpening = false;
};

}  // namespace quillon
