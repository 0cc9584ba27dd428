// The transparent-colour picker: the picture shown at a zoom of 1 to 4, the picked palette entry
// blinking, and OK moving the picked colour to palette index 0.
#pragma once

#include "graphics/Bitmap.h"
#include "platform/Signal.h"

namespace quillon {

inline constexpr int kPickerMinZoom = 1;
inline constexpr int kPickerMaxZoom = 4;
inline constexpr int kPickerBlinkMillis = 500;

// The colour a blinking palette entry is drawn in: per channel max(0, c - 100) + 80.
TPaletteEntry BlinkColor(const TPaletteEntry& color);

class TTransparentPickerModel {
public:
    // The picture (8 bits per pixel) is changed only by Apply.
    explicit TTransparentPickerModel(TBitmap& picture);

    const TBitmap& Picture() const { return mCopy; }
    int Zoom() const { return mZoom; }
    bool CanZoomIn() const { return mZoom < kPickerMaxZoom; }
    bool CanZoomOut() const { return mZoom > kPickerMinZoom; }
    void ZoomIn();
    void ZoomOut();
    // The painted area: the picture's size times the zoom.
    int ViewWidth() const { return mCopy.Width() * mZoom; }
    int ViewHeight() const { return mCopy.Height() * mZoom; }

    int Selected() const { return mSelected; }
    // A left click at a point of the painted area picks the palette index of the pixel under it
    // (the point divided by the zoom); a point outside the picture picks nothing.
    void PickAt(int x, int y);
    void SetSelected(int index);

    // The blink timer: the phase goes 0, 1, 0, ...
    void Tick();
    int BlinkPhase() const { return mBlink; }
    // The 256 colours to draw with: the palette, with the picked entry in its blink colour in
    // phase 1.
    TPalette256 ColorTable() const;

    // OK: the picked colour becomes index 0 of the picture passed in.
    void Apply();

    // Zoom, pick or blink changed what is shown.
    TSignal<> OnChanged;

private:
    TBitmap& mPicture;
    TBitmap mCopy;
    int mZoom = kPickerMinZoom;
    int mSelected = 0;
    int mBlink = 0;
};

}  // namespace quillon
