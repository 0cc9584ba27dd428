#include "project/TransparentPicker.h"

#include "project/MaterialBase.h"

#include <algorithm>

namespace quillon {

TPaletteEntry BlinkColor(const TPaletteEntry& color) {
    const auto blink = [](std::uint8_t c) { return static_cast<std::uint8_t>(std::max(0, c - 100) + 80); };
    return TPaletteEntry{blink(color.Red), blink(color.Green), blink(color.Blue), color.Flags};
}

TTransparentPickerModel::TTransparentPickerModel(TBitmap& picture) : mPicture(picture), mCopy(picture) {}

void TTransparentPickerModel::ZoomIn() {
    if (!CanZoomIn())
        return;
    ++mZoom;
    OnChanged.Emit();
}

void TTransparentPickerModel::ZoomOut() {
    if (!CanZoomOut())
        return;
    --mZoom;
    OnChanged.Emit();
}

void TTransparentPickerModel::PickAt(int x, int y) {
    if (x < 0 || y < 0)
        return;
    const int px = x / mZoom;
    const int py = y / mZoom;
    if (px >= mCopy.Width() || py >= mCopy.Height() || mCopy.PixelFormat() != TPixelFormat::pf8bit)
        return;
    SetSelected(mCopy.PixelIndex(px, py));
}

void TTransparentPickerModel::SetSelected(int index) {
    if (index < 0 || index > 255 || index == mSelected)
        return;
    mSelected = index;
    OnChanged.Emit();
}

void TTransparentPickerModel::Tick() {
    mBlink = 1 - mBlink;
    OnChanged.Emit();
}

TPalette256 TTransparentPickerModel::ColorTable() const {
    TPalette256 table = mCopy.Palette();
    if (mBlink == 1) {
        auto& entry = table[static_cast<std::size_t>(mSelected)];
        entry = BlinkColor(entry);
    }
    return table;
}

void TTransparentPickerModel::Apply() {
    mPicture = mCopy;
    SetTransparentIndex(mPicture, mSelected);
}

}  // namespace quillon
