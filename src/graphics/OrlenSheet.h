// Image sheets (8-bit paletted pixels whose colour effects live in a 256-entry 16-bit colour
// table), their colour controls, and the 16-bit 5-6-5 drawing boards they are drawn onto.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/GraphicsTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

inline constexpr const char* kIllegalImageFormatText = "An image format is illegal";

class TOrlenSheet;

// One set of colour adjustments of a sheet. Every setter compares first and does nothing when
// the values are unchanged; otherwise it stores them and, when update is true, rebuilds the
// owner's colour table.
class TOrlenColorControl {
public:
    explicit TOrlenColorControl(TOrlenSheet& sheet) : mSheet(sheet) {}
    TOrlenColorControl(const TOrlenColorControl&) = delete;
    TOrlenColorControl& operator=(const TOrlenColorControl&) = delete;

    TOrlenSheet& Sheet() const { return mSheet; }
    int RedPercent() const { return mRedPercent; }
    int GreenPercent() const { return mGreenPercent; }
    int BluePercent() const { return mBluePercent; }
    int SaturationPercent() const { return mSaturationPercent; }
    int ToneRed() const { return mToneRed; }
    int ToneGreen() const { return mToneGreen; }
    int ToneBlue() const { return mToneBlue; }
    int ToneStrength() const { return mToneStrength; }

    void Reset(bool update);
    // Percents 0..200 (100 leaves the colour as it is).
    void SetColor(int red, int green, int blue, int saturation, bool update);
    // Tone colour in 5-bit units (0..31) and its strength 0..32 (32: the tone colour alone).
    void SetTone(int red, int green, int blue, int strength, bool update);
    void SetAll(int red, int green, int blue, int saturation, int toneRed, int toneGreen, int toneBlue,
                int toneStrength, bool update);

private:
    TOrlenSheet& mSheet;
    int mRedPercent = 100;
    int mGreenPercent = 100;
    int mBluePercent = 100;
    int mSaturationPercent = 100;
    int mToneRed = 0;
    int mToneGreen = 0;
    int mToneBlue = 0;
    int mToneStrength = 0;
};

// An 8-bit paletted picture: Width × Height palette indices, top row first, no row padding.
class TOrlenSheet {
public:
    TOrlenSheet() = default;
    TOrlenSheet(const TOrlenSheet&) = delete;
    TOrlenSheet& operator=(const TOrlenSheet&) = delete;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    std::uint8_t* Pixels() { return mPixels.data(); }
    const std::uint8_t* Pixels() const { return mPixels.data(); }
    TOrlenColorControl& PrimaryControl() { return mPrimaryControl; }
    TOrlenColorControl& SecondaryControl() { return mSecondaryControl; }
    const TOrlenColorControl& PrimaryControl() const { return mPrimaryControl; }
    const TOrlenColorControl& SecondaryControl() const { return mSecondaryControl; }

    // No effect when the size is unchanged; otherwise all pixels become 0. Raises
    // EInvalidGraphicOperation for a negative size or a side above kMaxPictureSide.
    void SetSize(int width, int height);
    void FreeImage();
    // Zeroes the pixels, the palette and the colour table.
    void Clear();
    // Rebuilds ColorTable from Palette, both colour controls and Brightness.
    void UpdateColorTable();
    // Rotates the hue of palette entries 1..255 (entry 0 never changes), then rebuilds the table.
    void ShiftHue(int degrees);
    TRect BoundsRect() const { return TRect{0, 0, mWidth, mHeight}; }
    // Row y; not range-checked.
    std::uint8_t* ScanLine(int y) { return mPixels.data() + static_cast<std::ptrdiff_t>(y) * mWidth; }
    const std::uint8_t* ScanLine(int y) const {
        return mPixels.data() + static_cast<std::ptrdiff_t>(y) * mWidth;
    }

    // Copies an 8-bit bitmap from origin on into the sheet (resizing it first when AutoSize is
    // set) and takes over its palette. Raises EInvalidGraphic "An image format is illegal" for
    // another pixel format, leaving the sheet as it was. A negative origin counts as 0.
    void LoadFromBitmap(const TBitmap& bitmap, TPoint origin = {});
    // Clears the sheet, then loads the file through LoadPicture; failures are swallowed (the sheet
    // stays cleared) unless raiseErrors is set.
    void LoadFromFile(const std::string& fileName, TPoint origin, bool raiseErrors);
    void LoadFromFile(const std::string& fileName, bool raiseErrors) { LoadFromFile(fileName, {}, raiseErrors); }

    void MirrorHorizontal();
    // Whether two areas of the sheet hold the same pixels: false for different sizes, true without
    // rows, false when either reaches outside the sheet.
    bool SameArea(const TRect& a, const TRect& b) const;
    // Whether every pixel of the area (cut to the sheet) is index 0 / no pixel is index 0; an area
    // without rows or columns is both.
    bool IsAreaEmpty(const TRect& rect) const;
    bool IsAreaFull(const TRect& rect) const;

    TPalette256 Palette{};
    std::array<std::uint16_t, 256> ColorTable{};
    bool Transparent = false;  // index 0 is never drawn
    int Opacity = 255;         // 255 opaque; lower values blend with the destination
    bool AutoSize = false;     // LoadFromBitmap takes the bitmap's size
    int Brightness = 100;      // the brightness ColorTable was last built with

private:
    std::vector<std::uint8_t> mPixels;
    int mWidth = 0;
    int mHeight = 0;
    TOrlenColorControl mPrimaryControl{*this};
    TOrlenColorControl mSecondaryControl{*this};
};

// A 16-bit 5-6-5 drawing board (red in bits 15-11, green 10-5, blue 4-0). Rows are stored top row
// first, each padded to a multiple of 4 bytes, so the memory can be shown as it is.
class TOrlenBoard {
public:
    TOrlenBoard() = default;
    TOrlenBoard(const TOrlenBoard&) = delete;
    TOrlenBoard& operator=(const TOrlenBoard&) = delete;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // Changing one side keeps the pixels that stay inside; new pixels are black. Negative sizes
    // count as 0; raises EOutOfResources when the memory cannot be had.
    void SetWidth(int width);
    void SetHeight(int height);
    // Clears; when the size changes the board is made anew.
    void SetSize(int width, int height);
    // Byte distance from row 0 to row 1 (0 while Height < 2).
    int Pitch() const { return mHeight < 2 ? 0 : mRowBytes; }
    // Bytes of one stored row, padding included.
    int RowBytes() const { return mRowBytes; }
    void Clear();
    std::uint16_t* ScanLine(int y) {
        return reinterpret_cast<std::uint16_t*>(Bits() + static_cast<std::ptrdiff_t>(y) * Pitch());
    }
    const std::uint16_t* ScanLine(int y) const {
        return reinterpret_cast<const std::uint16_t*>(Bits() + static_cast<std::ptrdiff_t>(y) * Pitch());
    }
    std::uint8_t* Bits() { return reinterpret_cast<std::uint8_t*>(mPixels.data()); }
    const std::uint8_t* Bits() const { return reinterpret_cast<const std::uint8_t*>(mPixels.data()); }

    // Copies pixels of another board (or of this one) without colour effects, clipped to both.
    void CopyFrom(int destX, int destY, const TRect& sourceRect, const TOrlenBoard& source);
    // Draws an area of the sheet 1:1 through its colour table, clipped to the sheet and the board.
    void DrawSheet(int destX, int destY, const TRect& sourceRect, TOrlenSheet& sheet);
    // Draws an area of the sheet scaled by nearest neighbour into destRect.
    void StretchDrawSheet(const TRect& destRect, TOrlenSheet& sheet, const TRect& sourceRect);
    // Draws an area centred on (centerX, centerY) scaled by zoom.
    void DrawSheetZoomed(double centerX, double centerY, double zoom, double halfWidth, double halfHeight,
                         const TRect& sourceRect, TOrlenSheet& sheet);

    int Brightness = 100;

private:
    void Resize(int width, int height);
    void PrepareSheet(TOrlenSheet& sheet) const;

    std::vector<std::uint16_t> mPixels;
    int mWidth = 0;
    int mHeight = 0;
    int mRowBytes = 0;
};

// Rounds to the nearest integer, halves to even.
int RoundHalfEven(double value);

}  // namespace quillon
