#include "graphics/OrlenSheet.h"

#include "graphics/PictureFile.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstring>
#include <new>

namespace quillon {

int RoundHalfEven(double value) {
    // nearbyint rounds in the current mode; the default mode is to nearest with halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0)
        return 2147483647;
    if (rounded <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(rounded);
}

// --- TOrlenColorControl ---

void TOrlenColorControl::Reset(bool update) { SetAll(100, 100, 100, 100, 0, 0, 0, 0, update); }

void TOrlenColorControl::SetColor(int red, int green, int blue, int saturation, bool update) {
    SetAll(red, green, blue, saturation, mToneRed, mToneGreen, mToneBlue, mToneStrength, update);
}

void TOrlenColorControl::SetTone(int red, int green, int blue, int strength, bool update) {
    SetAll(mRedPercent, mGreenPercent, mBluePercent, mSaturationPercent, red, green, blue, strength, update);
}

void TOrlenColorControl::SetAll(int red, int green, int blue, int saturation, int toneRed, int toneGreen,
                                int toneBlue, int toneStrength, bool update) {
    if (red == mRedPercent && green == mGreenPercent && blue == mBluePercent && saturation == mSaturationPercent &&
        toneRed == mToneRed && toneGreen == mToneGreen && toneBlue == mToneBlue && toneStrength == mToneStrength)
        return;
    mRedPercent = red;
    mGreenPercent = green;
    mBluePercent = blue;
    mSaturationPercent = saturation;
    mToneRed = toneRed;
    mToneGreen = toneGreen;
    mToneBlue = toneBlue;
    mToneStrength = toneStrength;
    if (update)
        mSheet.UpdateColorTable();
}

// --- TOrlenSheet ---

void TOrlenSheet::SetSize(int width, int height) {
    if (width == mWidth && height == mHeight)
        return;
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw EInvalidGraphicOperation("Invalid image size");
    mPixels.clear();
    mPixels.shrink_to_fit();
    mWidth = width;
    mHeight = height;
    mPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void TOrlenSheet::FreeImage() {
    mPixels.clear();
    mPixels.shrink_to_fit();
    mWidth = 0;
    mHeight = 0;
}

void TOrlenSheet::Clear() {
    std::fill(mPixels.begin(), mPixels.end(), 0);
    Palette.fill(TPaletteEntry{});
    ColorTable.fill(0);
}

namespace {

// Wide arithmetic: percents read from a file may be anything.
int CombinedPercent(int a, int b) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b - 100, 0, 200));
}

int ApplyPercent(int channel, int percent, int maximum) {
    if (percent > 100)
        return channel + (percent - 100) * (maximum - channel) / 100;
    if (percent < 100)
        return percent * channel / 100;
    return channel;
}

void ApplyTone(const TOrlenColorControl& control, int& r, int& g, int& b) {
    const int t = control.ToneStrength();
    // The products are not negative within the ranges, where / 32 equals >> 5; / keeps the
    // truncation toward zero for values outside them.
    r = (t * control.ToneRed() + (32 - t) * r) / 32;
    g = (t * 2 * control.ToneGreen() + (32 - t) * g) / 32;
    b = (t * control.ToneBlue() + (32 - t) * b) / 32;
}

}  // namespace

void TOrlenSheet::UpdateColorTable() {
    const int redPercent = CombinedPercent(mPrimaryControl.RedPercent(), mSecondaryControl.RedPercent());
    const int greenPercent = CombinedPercent(mPrimaryControl.GreenPercent(), mSecondaryControl.GreenPercent());
    const int bluePercent = CombinedPercent(mPrimaryControl.BluePercent(), mSecondaryControl.BluePercent());
    const int saturation =
        CombinedPercent(mPrimaryControl.SaturationPercent(), mSecondaryControl.SaturationPercent());
    const int brightness = Brightness;
    for (int i = 0; i < 256; ++i) {
        int r = Palette[i].Red >> 3;
        int g = Palette[i].Green >> 2;
        int b = Palette[i].Blue >> 3;
        const int grey = (3 * r + 3 * g + b) / 10;
        if (saturation < 100) {
            const int s = saturation;
            r = (grey * (100 - s) + s * r) / 100;
            g = ((100 - s) * 2 * grey + s * g) / 100;
            b = (grey * (100 - s) + s * b) / 100;
        } else if (saturation > 100) {
            const int w = 200 - saturation;
            const int a = saturation - 100;
            r = std::clamp((w * r + a * (3 * r - 2 * grey)) / 100, 0, 31);
            g = std::clamp((w * g + a * (3 * g - 4 * grey)) / 100, 0, 63);
            b = std::clamp((w * b + a * (3 * b - 2 * grey)) / 100, 0, 31);
        }
        r = ApplyPercent(r, redPercent, 31);
        g = ApplyPercent(g, greenPercent, 63);
        b = ApplyPercent(b, bluePercent, 31);
        if (mPrimaryControl.ToneStrength() > 0)
            ApplyTone(mPrimaryControl, r, g, b);
        if (mSecondaryControl.ToneStrength() >= 1)
            ApplyTone(mSecondaryControl, r, g, b);
        r = ApplyPercent(r, brightness, 31);
        g = ApplyPercent(g, brightness, 63);
        b = ApplyPercent(b, brightness, 31);
        // Within the documented ranges every channel already fits; out-of-range brightness or tone
        // values must not spill into the neighbouring channel.
        r = std::clamp(r, 0, 31);
        g = std::clamp(g, 0, 63);
        b = std::clamp(b, 0, 31);
        ColorTable[i] = static_cast<std::uint16_t>(r * 2048 + g * 32 + b);
    }
}

void TOrlenSheet::ShiftHue(int degrees) {
    if (degrees != 0) {
        for (int i = 1; i < 256; ++i) {
            TPaletteEntry& e = Palette[i];
            const int r = e.Red, g = e.Green, b = e.Blue;
            const int v = std::max({r, g, b});
            const int d = v - std::min({r, g, b});
            const int s = v == 0 ? 0 : d * 255 / v;
            double hue = 0;
            if (s != 0) {
                if (r == v)
                    hue = static_cast<double>(g - b) / d * 60;
                else if (g == v)
                    hue = (static_cast<double>(b - r) / d + 2) * 60;
                else
                    hue = (static_cast<double>(r - g) / d + 4) * 60;
                if (hue < 0)
                    hue += 360;
            }
            int newHue = RoundHalfEven(hue + degrees) % 360;
            if (newHue < 0)
                newHue += 360;
            double nr = v, ng = v, nb = v;
            if (s > 0) {
                const int sector = newHue / 60;
                const double f = newHue / 60.0 - sector;
                const double c = s * v / 255.0;
                const double m = RoundHalfEven(f * c);
                const double low = v - c;
                switch (sector) {
                case 0: nr = v; ng = low + m; nb = low; break;
                case 1: nr = v - m; ng = v; nb = low; break;
                case 2: nr = low; ng = v; nb = low + m; break;
                case 3: nr = low; ng = v - m; nb = v; break;
                case 4: nr = low + m; ng = low; nb = v; break;
                case 5: nr = v; ng = low; nb = v - m; break;
                default: break;
                }
            }
            e.Red = static_cast<std::uint8_t>(std::clamp(RoundHalfEven(nr), 0, 255));
            e.Green = static_cast<std::uint8_t>(std::clamp(RoundHalfEven(ng), 0, 255));
            e.Blue = static_cast<std::uint8_t>(std::clamp(RoundHalfEven(nb), 0, 255));
        }
    }
    UpdateColorTable();
}

void TOrlenSheet::LoadFromBitmap(const TBitmap& bitmap, TPoint origin) {
    if (bitmap.PixelFormat() != TPixelFormat::pf8bit)
        throw EInvalidGraphic(kIllegalImageFormatText);
    if (AutoSize)
        SetSize(bitmap.Width(), bitmap.Height());
    origin.X = std::max(origin.X, 0);
    origin.Y = std::max(origin.Y, 0);
    const int columns = std::min(bitmap.Width() - origin.X, mWidth);
    const int rows = std::min(bitmap.Height() - origin.Y, mHeight);
    if (columns > 0)
        for (int row = 0; row < rows; ++row)
            std::memcpy(ScanLine(row), bitmap.ScanLine(origin.Y + row) + origin.X, static_cast<std::size_t>(columns));
    Palette = bitmap.Palette();
    UpdateColorTable();
}

void TOrlenSheet::LoadFromFile(const std::string& fileName, TPoint origin, bool raiseErrors) {
    Clear();
    if (fileName.empty())
        return;
    try {
        TBitmap bitmap;
        LoadPicture(bitmap, fileName);
        LoadFromBitmap(bitmap, origin);
    } catch (const std::exception&) {
        if (raiseErrors)
            throw;
    }
}

void TOrlenSheet::MirrorHorizontal() {
    for (int y = 0; y < mHeight; ++y) {
        std::uint8_t* row = ScanLine(y);
        std::reverse(row, row + mWidth);
    }
}

namespace {

bool Inside(const TRect& r, int width, int height) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= width && r.Bottom <= height;
}

TRect CutTo(const TRect& r, int width, int height) {
    return TRect{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, width), std::min(r.Bottom, height)};
}

}  // namespace

bool TOrlenSheet::SameArea(const TRect& a, const TRect& b) const {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    if (a.Height() <= 0)
        return true;
    if (a.Width() <= 0)
        return true;
    if (!Inside(a, mWidth, mHeight) || !Inside(b, mWidth, mHeight))
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(ScanLine(a.Top + y) + a.Left, ScanLine(b.Top + y) + b.Left,
                        static_cast<std::size_t>(a.Width())) != 0)
            return false;
    return true;
}

bool TOrlenSheet::IsAreaEmpty(const TRect& rect) const {
    const TRect r = CutTo(rect, mWidth, mHeight);
    for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint8_t* row = ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x)
            if (row[x] != 0)
                return false;
    }
    return true;
}

bool TOrlenSheet::IsAreaFull(const TRect& rect) const {
    const TRect r = CutTo(rect, mWidth, mHeight);
    for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint8_t* row = ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x)
            if (row[x] == 0)
                return false;
    }
    return true;
}

// --- TOrlenBoard ---

void TOrlenBoard::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * 2 + 3) & ~std::int64_t{3};
    if (rowBytes * height > (std::int64_t{1} << 30))
        throw EOutOfResources("It is short of system resource");
    std::vector<std::uint16_t> pixels;
    try {
        pixels.assign(static_cast<std::size_t>(rowBytes / 2 * height), 0);
    } catch (const std::bad_alloc&) {
        throw EOutOfResources("It is short of system resource");
    }
    const int keepRows = std::min(height, mHeight);
    const int keepBytes = std::min(width, mWidth) * 2;
    for (int y = 0; y < keepRows && keepBytes > 0; ++y)
        std::memcpy(reinterpret_cast<std::uint8_t*>(pixels.data()) + y * rowBytes,
                    Bits() + static_cast<std::ptrdiff_t>(y) * mRowBytes, static_cast<std::size_t>(keepBytes));
    mPixels = std::move(pixels);
    mWidth = width;
    mHeight = height;
    mRowBytes = static_cast<int>(rowBytes);
}

void TOrlenBoard::SetWidth(int width) {
    if (width != mWidth)
        Resize(width, mHeight);
}

void TOrlenBoard::SetHeight(int height) {
    if (height != mHeight)
        Resize(mWidth, height);
}

void TOrlenBoard::SetSize(int width, int height) {
    if (width != mWidth || height != mHeight) {
        Resize(0, 0);
        Resize(width, height);
    }
    Clear();
}

void TOrlenBoard::Clear() {
    // Every stored row, also while Pitch is 0 for a board of one row.
    std::fill(mPixels.begin(), mPixels.end(), 0);
}

namespace {

// One 1:1 copy area after clipping: destination, source and extent.
struct TBlitArea {
    int DestX, DestY, SourceX, SourceY, Width, Height;
};

// Clips against the source horizontally and vertically, then against the destination; false
// when nothing is left.
bool ClipBlit(std::int64_t destX, std::int64_t destY, const TRect& source, int sourceWidth, int sourceHeight,
              int destWidth, int destHeight, TBlitArea& area) {
    std::int64_t w = static_cast<std::int64_t>(source.Right) - source.Left;
    std::int64_t h = static_cast<std::int64_t>(source.Bottom) - source.Top;
    std::int64_t sx = source.Left, sy = source.Top;
    if (sx < 0) {
        w += sx;
        destX -= sx;
        sx = 0;
    }
    if (sx + w > sourceWidth)
        w = sourceWidth - sx;
    if (sy < 0) {
        h += sy;
        destY -= sy;
        sy = 0;
    }
    if (sy + h > sourceHeight)
        h = sourceHeight - sy;
    if (destX < 0) {
        w += destX;
        sx -= destX;
        destX = 0;
    }
    if (destX + w > destWidth)
        w = destWidth - destX;
    if (destY < 0) {
        h += destY;
        sy -= destY;
        destY = 0;
    }
    if (destY + h > destHeight)
        h = destHeight - destY;
    if (w <= 0 || h <= 0)
        return false;
    area = {static_cast<int>(destX), static_cast<int>(destY), static_cast<int>(sx), static_cast<int>(sy),
            static_cast<int>(w), static_cast<int>(h)};
    return true;
}

// Each 5-6-5 channel in its own 16-bit lane, so that one multiplication weighs all three: a lane
// holds at most 63 × 257 after the two weighted terms are added, which never carries over.
inline std::uint64_t Spread(std::uint16_t c) {
    return static_cast<std::uint64_t>(c >> 11) << 32 | static_cast<std::uint64_t>((c >> 5) & 63) << 16 | (c & 31);
}

// (channel of source × wa + channel of dest × wb) div 256 for every channel.
inline std::uint16_t Blend(std::uint16_t source, std::uint16_t dest, int wa, int wb) {
    const std::uint64_t sum = Spread(source) * static_cast<std::uint64_t>(wa) + Spread(dest) * static_cast<std::uint64_t>(wb);
    return static_cast<std::uint16_t>(((sum >> 40) & 31) << 11 | ((sum >> 24) & 63) << 5 | ((sum >> 8) & 31));
}

// Writes count pixels of one row through the colour table by the sheet's opacity and
// transparency; at(i) is the source index of destination pixel i.
template <typename Fetch>
void DrawRowWith(std::uint16_t* dest, int count, const TOrlenSheet& sheet, Fetch at) {
    const std::uint16_t* table = sheet.ColorTable.data();
    const int opacity = std::clamp(sheet.Opacity, 0, 255);
    if (opacity == 255) {
        if (!sheet.Transparent) {
            for (int i = 0; i < count; ++i)
                dest[i] = table[at(i)];
        } else {
            for (int i = 0; i < count; ++i) {
                const std::uint8_t c = at(i);
                if (c != 0)
                    dest[i] = table[c];
            }
        }
        return;
    }
    const int wa = opacity + 1;
    const int wb = 256 - opacity;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t c = at(i);
        if (c == 0 && sheet.Transparent)
            continue;
        dest[i] = Blend(table[c], dest[i], wa, wb);
    }
}

void DrawRow(std::uint16_t* dest, const std::uint8_t* source, int count, const TOrlenSheet& sheet) {
    DrawRowWith(dest, count, sheet, [source](int i) { return source[i]; });
}

void DrawRowMapped(std::uint16_t* dest, const std::uint8_t* source, const int* columns, int count,
                   const TOrlenSheet& sheet) {
    DrawRowWith(dest, count, sheet, [source, columns](int i) { return source[columns[i]]; });
}

}  // namespace

void TOrlenBoard::PrepareSheet(TOrlenSheet& sheet) const {
    if (sheet.Brightness != Brightness) {
        sheet.Brightness = Brightness;
        sheet.UpdateColorTable();
    }
}

void TOrlenBoard::CopyFrom(int destX, int destY, const TRect& sourceRect, const TOrlenBoard& source) {
    TBlitArea a;
    if (!ClipBlit(destX, destY, sourceRect, source.Width(), source.Height(), mWidth, mHeight, a))
        return;
    const std::size_t bytes = static_cast<std::size_t>(a.Width) * 2;
    // Copying within one board downward has to go from the bottom row up.
    const bool upward = &source == this && a.DestY > a.SourceY;
    for (int i = 0; i < a.Height; ++i) {
        const int y = upward ? a.Height - 1 - i : i;
        std::memmove(ScanLine(a.DestY + y) + a.DestX, source.ScanLine(a.SourceY + y) + a.SourceX, bytes);
    }
}

void TOrlenBoard::DrawSheet(int destX, int destY, const TRect& sourceRect, TOrlenSheet& sheet) {
    TBlitArea a;
    if (!ClipBlit(destX, destY, sourceRect, sheet.Width(), sheet.Height(), mWidth, mHeight, a))
        return;
    PrepareSheet(sheet);
    for (int y = 0; y < a.Height; ++y)
        DrawRow(ScanLine(a.DestY + y) + a.DestX, sheet.ScanLine(a.SourceY + y) + a.SourceX, a.Width, sheet);
}

namespace {

// Maps every destination position of [first, last) to its source position and keeps the longest
// run that lands inside [0, limit): the mapping is monotonic, so that run is all there is.
void MapAxis(std::int64_t first, std::int64_t last, std::int64_t destStart, std::int64_t destExtent,
             std::int64_t sourceStart, std::int64_t sourceExtent, int limit, std::int64_t& runStart,
             std::vector<int>& map) {
    map.clear();
    runStart = first;
    // s = (i - destStart) * sourceExtent / destExtent + sourceStart, stepped without dividing
    // when both extents are positive (first >= destStart always holds).
    const bool stepped = sourceExtent > 0 && destExtent > 0 && first >= destStart;
    std::int64_t quotient = 0, remainder = 0;
    if (stepped) {
        const std::int64_t product = (first - destStart) * sourceExtent;
        quotient = product / destExtent;
        remainder = product % destExtent;
    }
    for (std::int64_t i = first; i < last; ++i) {
        std::int64_t s;
        if (stepped) {
            s = quotient + sourceStart;
            remainder += sourceExtent;
            if (remainder >= destExtent) {
                quotient += remainder / destExtent;
                remainder %= destExtent;
            }
        } else {
            s = (i - destStart) * sourceExtent / destExtent + sourceStart;
        }
        if (s < 0 || s >= limit) {
            if (map.empty()) {
                runStart = i + 1;
                continue;
            }
            break;
        }
        map.push_back(static_cast<int>(s));
    }
}

}  // namespace

void TOrlenBoard::StretchDrawSheet(const TRect& destRect, TOrlenSheet& sheet, const TRect& sourceRect) {
    if (destRect.Width() == sourceRect.Width() && destRect.Height() == sourceRect.Height()) {
        DrawSheet(destRect.Left, destRect.Top, sourceRect, sheet);
        return;
    }
    const std::int64_t destWidth = static_cast<std::int64_t>(destRect.Right) - destRect.Left;
    const std::int64_t destHeight = static_cast<std::int64_t>(destRect.Bottom) - destRect.Top;
    const std::int64_t sourceWidth = static_cast<std::int64_t>(sourceRect.Right) - sourceRect.Left;
    const std::int64_t sourceHeight = static_cast<std::int64_t>(sourceRect.Bottom) - sourceRect.Top;
    // The destination clipped to the board.
    const std::int64_t left = std::max<std::int64_t>(destRect.Left, 0);
    const std::int64_t top = std::max<std::int64_t>(destRect.Top, 0);
    const std::int64_t right = std::min<std::int64_t>(destRect.Right, mWidth);
    const std::int64_t bottom = std::min<std::int64_t>(destRect.Bottom, mHeight);
    if (destWidth <= 0 || destHeight <= 0 || sourceWidth < 0 || sourceHeight == 0 || right <= left || bottom <= top)
        return;
    // Source positions come from the unclipped rectangles, so clipping never shifts the picture;
    // destination pixels whose source lies outside the sheet are left alone.
    // Reused from call to call: tiles are drawn by the thousand.
    thread_local std::vector<int> columns, rows;
    std::int64_t firstColumn = 0, firstRow = 0;
    MapAxis(left, right, destRect.Left, destWidth, sourceRect.Left, sourceWidth, sheet.Width(), firstColumn, columns);
    MapAxis(top, bottom, destRect.Top, destHeight, sourceRect.Top, sourceHeight, sheet.Height(), firstRow, rows);
    if (columns.empty() || rows.empty())
        return;
    PrepareSheet(sheet);
    for (std::size_t j = 0; j < rows.size(); ++j)
        DrawRowMapped(ScanLine(static_cast<int>(firstRow + static_cast<std::int64_t>(j))) + firstColumn,
                sheet.ScanLine(rows[j]), columns.data(), static_cast<int>(columns.size()), sheet);
}

void TOrlenBoard::DrawSheetZoomed(double centerX, double centerY, double zoom, double halfWidth, double halfHeight,
                                  const TRect& sourceRect, TOrlenSheet& sheet) {
    if (zoom == 1.0) {
        DrawSheet(RoundHalfEven(centerX - halfWidth), RoundHalfEven(centerY - halfHeight), sourceRect, sheet);
        return;
    }
    StretchDrawSheet(TRect{RoundHalfEven(centerX - zoom * halfWidth), RoundHalfEven(centerY - zoom * halfHeight),
                           RoundHalfEven(centerX + zoom * halfWidth), RoundHalfEven(centerY + zoom * halfHeight)},
                     sheet, sourceRect);
}

}  // namespace quillon
