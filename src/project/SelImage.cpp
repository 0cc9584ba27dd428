#include "project/SelImage.h"

#include "graphics/GR_CharSet.h"

#include <algorithm>

namespace quillon {

TSelImageModel::TSelImageModel(TSelKind kind) : TSelListModel(kind) {}

void TSelImageModel::Open(const std::string& name, int index) {
    const TSelGrid* grid = Grid();
    mIndex = grid && index >= 0 && index < grid->Count ? index : 0;
    TSelListModel::Open(name);
}

void TSelImageModel::SelectRow(int row) {
    TSelListModel::SelectRow(row);
    LoadImage();
    Render();
}

const TSelGrid* TSelImageModel::Grid() const {
    switch (mKind) {
    case TSelKind::Face:
        return &kFaceGrid;
    case TSelKind::Char:
        return &kCharGrid;
    default:
        return nullptr;
    }
}

bool TSelImageModel::ClickAt(int x, int y) {
    const TSelGrid* grid = Grid();
    if (!grid)
        return false;
    const int cell = grid->CellAt(x, y);
    if (cell < 0)
        return false;
    mIndex = cell;
    Render();
    return true;
}

void TSelImageModel::LoadImage() {
    if (mKind == TSelKind::Movie) {
        mSheet.FreeImage();
        return;
    }
    LoadSelSheet(mSheet, Info().Folder, mItemIndex >= 0 ? Name() : std::string());
}

void TSelImageModel::Render() {
    const TSelKindInfo& info = Info();
    if (mKind == TSelKind::Movie) {
        mPreview.SetSize(0, 0);
        return;
    }
    if (info.PreviewWidth > 0)
        mPreview.SetSize(info.PreviewWidth, info.PreviewHeight);
    else
        mPreview.SetSize(mSheet.Width(), mSheet.Height());
    mPreview.Clear();
    if (!HasImage())
        return;
    switch (mKind) {
    case TSelKind::Char:
        for (int i = 0; i < kCharGrid.Count; ++i) {
            const TPoint origin = CharFrameOrigin(i, 1, 2);
            mPreview.StretchDrawSheet(kCharGrid.CellRect(i), mSheet, MakeBounds(origin.X, origin.Y, kCharWidth, kCharHeight));
        }
        break;
    default:
        if (info.Shrink > 1)
            mPreview.StretchDrawSheet(MakeBounds(0, 0, mSheet.Width() / info.Shrink, mSheet.Height() / info.Shrink),
                                      mSheet, mSheet.BoundsRect());
        else
            mPreview.DrawSheet(0, 0, mSheet.BoundsRect(), mSheet);
        break;
    }
    if (const TSelGrid* grid = Grid())
        DrawSelFrame(mPreview, grid->CellRect(mIndex));
}

TSelMonsterModel::TSelMonsterModel() : TSelImageModel(TSelKind::Monster) {}

int TSelMonsterModel::NormaliseHue(int hue) {
    const int r = hue % 360;
    return r < 0 ? r + 360 : r;
}

void TSelMonsterModel::Open(const std::string& name, int hue) {
    mOpening = true;
    mHue = NormaliseHue(hue);
    mSlider = SliderOfHue(mHue);
    TSelImageModel::Open(name, 0);
    mOpening = false;
}

void TSelMonsterModel::SelectRow(int row) {
    if (!mOpening) {
        mHue = 0;
        mSlider = kSliderMiddle;
    }
    TSelImageModel::SelectRow(row);
}

void TSelMonsterModel::SetSliderPosition(int position) {
    mSlider = std::clamp(position, 0, kSliderMax);
    mHue = HueOfSlider(mSlider);
    ApplyHue();
    Render();
}

void TSelMonsterModel::LoadImage() {
    TSelImageModel::LoadImage();
    mOriginalPalette = mSheet.Palette;
    ApplyHue();
}

void TSelMonsterModel::ApplyHue() {
    if (!HasImage())
        return;
    mSheet.Palette = mOriginalPalette;
    mSheet.ShiftHue(mHue);
}

void TSelMonsterModel::Render() {
    const TSelKindInfo& info = Info();
    mPreview.SetSize(info.PreviewWidth, info.PreviewHeight);
    mPreview.Clear();
    if (!HasImage())
        return;
    FillBoardRect(mPreview, MakeBounds(0, 0, mPreview.Width(), mPreview.Height()), mSheet.ColorTable[0]);
    mPreview.DrawSheet((mPreview.Width() - mSheet.Width()) / 2, (mPreview.Height() - mSheet.Height()) / 2,
                       mSheet.BoundsRect(), mSheet);
}

}  // namespace quillon
