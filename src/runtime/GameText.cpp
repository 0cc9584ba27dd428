#include "runtime/GameText.h"

#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "project/Resources.h"

#include <algorithm>
#include <cstdio>

namespace quillon::runtime {

namespace {

// The look without a system graphic: a dark blue window, a white frame, white text, black shadow.
constexpr std::uint16_t kPlainBackground = 0x0010;
constexpr std::uint16_t kWhite = 0xFFFF;
constexpr std::uint16_t kBlack = 0x0000;

std::uint16_t Blend(std::uint16_t over, std::uint16_t under, int opacity) {
    if (opacity >= 255)
        return over;
    const unsigned wa = static_cast<unsigned>(opacity) + 1, wb = 256 - static_cast<unsigned>(opacity);
    const unsigned r = (((over >> 11) & 31u) * wa + ((under >> 11) & 31u) * wb) >> 8;
    const unsigned g = (((over >> 5) & 63u) * wa + ((under >> 5) & 63u) * wb) >> 8;
    const unsigned b = ((over & 31u) * wa + (under & 31u) * wb) >> 8;
    return static_cast<std::uint16_t>(r << 11 | g << 5 | b);
}

void Put(TOrlenBoard& board, int x, int y, std::uint16_t colour, int opacity) {
    if (x < 0 || y < 0 || x >= board.Width() || y >= board.Height() || opacity <= 0)
        return;
    std::uint16_t& pixel = board.ScanLine(y)[x];
    pixel = Blend(colour, pixel, opacity);
}

void FillRect(TOrlenBoard& board, const TRect& rect, std::uint16_t colour, int opacity) {
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x)
            Put(board, x, y, colour, opacity);
}

void FrameRect(TOrlenBoard& board, const TRect& rect, std::uint16_t colour) {
    for (int x = rect.Left; x < rect.Right; ++x) {
        Put(board, x, rect.Top, colour, 255);
        Put(board, x, rect.Bottom - 1, colour, 255);
    }
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        Put(board, rect.Left, y, colour, 255);
        Put(board, rect.Right - 1, y, colour, 255);
    }
}

TRect Inset(const TRect& r, int d) { return TRect{r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

// Draws source tiled over dest (each tile cut at dest's right and bottom edges).
void TileSheet(TOrlenBoard& board, const TRect& dest, TOrlenSheet& sheet, const TRect& source) {
    if (source.Width() <= 0 || source.Height() <= 0)
        return;
    for (int y = dest.Top; y < dest.Bottom; y += source.Height())
        for (int x = dest.Left; x < dest.Right; x += source.Width()) {
            const int w = std::min(source.Width(), dest.Right - x), h = std::min(source.Height(), dest.Bottom - y);
            board.DrawSheet(x, y, MakeBounds(source.Left, source.Top, w, h), sheet);
        }
}

// Draws a piece of the sheet over a rectangle as nine parts: the corners 1:1, the edges and the
// middle stretched (or, with tile set, the edges tiled and the middle left out).
void DrawNinePart(TOrlenBoard& board, const TRect& dest, TOrlenSheet& sheet, const TRect& piece, int corner,
                  bool tile) {
    const int cx = std::min(corner, dest.Width() / 2), cy = std::min(corner, dest.Height() / 2);
    const int pw = piece.Width() - 2 * corner, ph = piece.Height() - 2 * corner;
    const int dw = dest.Width() - 2 * cx, dh = dest.Height() - 2 * cy;
    // Columns and rows of the parts: (source start, source size, destination start, destination size).
    struct TSpan {
        int Source, SourceSize, Dest, DestSize;
    };
    const TSpan columns[3] = {{piece.Left, cx, dest.Left, cx},
                              {piece.Left + corner, pw, dest.Left + cx, dw},
                              {piece.Right - cx, cx, dest.Right - cx, cx}};
    const TSpan rows[3] = {{piece.Top, cy, dest.Top, cy},
                           {piece.Top + corner, ph, dest.Top + cy, dh},
                           {piece.Bottom - cy, cy, dest.Bottom - cy, cy}};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const TSpan& c = columns[i];
            const TSpan& r = rows[j];
            if (c.DestSize <= 0 || r.DestSize <= 0 || c.SourceSize <= 0 || r.SourceSize <= 0)
                continue;
            const TRect source = MakeBounds(c.Source, r.Source, c.SourceSize, r.SourceSize);
            const TRect target = MakeBounds(c.Dest, r.Dest, c.DestSize, r.DestSize);
            if (i == 1 && j == 1 && tile)
                continue;
            if (tile && (i == 1 || j == 1))
                TileSheet(board, target, sheet, source);
            else
                board.StretchDrawSheet(target, sheet, source);
        }
}

}  // namespace

TGameSkin::TGameSkin(TImageFinder finder, const std::string& systemGraphic, int wallpaper, int fontStyle)
    : TGameSkin(std::move(finder), systemGraphic, wallpaper, TGameFont::Shared(fontStyle)) {
    mFontStyle = fontStyle;
}

TGameSkin::TGameSkin(TImageFinder finder, const std::string& systemGraphic, int wallpaper, const TGameFont& font)
    : mFinder(std::move(finder)), mFont(&font), mSystem(std::make_unique<TOrlenSheet>()) {
    mSystem->AutoSize = true;
    mSystem->Transparent = true;
    SetSystemGraphic(systemGraphic, wallpaper, -1);
}

TGameSkin::~TGameSkin() = default;

void TGameSkin::SetSystemGraphic(const std::string& systemGraphic, int wallpaper, int fontStyle) {
    mSystemGraphic = systemGraphic;
    mWallpaper = wallpaper == wpTile ? wpTile : wpStretch;
    if (fontStyle >= 0) {
        mFont = &TGameFont::Shared(fontStyle);
        mFontStyle = fontStyle;
    }
    mSystem->FreeImage();
    LoadSheetResource(*mSystem, mFinder, "System", systemGraphic, false);
}

bool TGameSkin::HasSystemGraphic() const {
    return mSystem->Width() >= skin::kSheetWidth && mSystem->Height() >= skin::kSheetHeight;
}

std::uint16_t TGameSkin::TextColour(int colour, int x, int y) const {
    if (!HasSystemGraphic())
        return kWhite;
    if (colour < 0 || colour >= skin::kTextColours)
        colour = 0;
    const int sx = skin::kSwatchOrigin.X + (colour % 10) * skin::kSwatch + 2 + (x % 12 + 12) % 12;
    const int sy = skin::kSwatchOrigin.Y + (colour / 10) * skin::kSwatch + 2 + std::clamp(y, 0, kGlyphHeight - 1);
    const std::uint8_t index = mSystem->ScanLine(sy)[sx];
    return index == 0 ? kWhite : mSystem->ColorTable[index];
}

std::uint16_t TGameSkin::ShadowColour() const {
    if (!HasSystemGraphic())
        return kBlack;
    const std::uint8_t index = mSystem->ScanLine(skin::kShadow.Y)[skin::kShadow.X];
    return index == 0 ? kBlack : mSystem->ColorTable[index];
}

int TGameSkin::DrawChar(TOrlenBoard& board, int x, int y, const TCp932Char& c, int colour, int opacity) {
    if (mSystem->Brightness != board.Brightness) {
        mSystem->Brightness = board.Brightness;
        mSystem->UpdateColorTable();
    }
    const TGlyphRows rows = mFont->Glyph(c);
    const std::uint16_t shadow = ShadowColour();
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        for (int gy = 0; gy < kGlyphHeight; ++gy) {
            const std::uint16_t row = rows[static_cast<std::size_t>(gy)];
            for (int gx = 0; row != 0 && gx < c.Width; ++gx)
                if (row & (0x8000u >> gx))
                    Put(board, x + gx + d, y + gy + d, pass == 0 ? shadow : TextColour(colour, gx, gy), opacity);
        }
    }
    return c.Width;
}

int TGameSkin::DrawText(TOrlenBoard& board, int x, int y, std::string_view text, int colour, int opacity) {
    for (std::size_t pos = 0; pos < text.size();) {
        const TCp932Char c = DecodeCp932(text, pos);
        x += DrawChar(board, x, y, c, colour, opacity);
        pos += c.Length;
    }
    return x;
}

void TGameSkin::DrawPlainWindow(TOrlenBoard& board, const TRect& rect, int backgroundOpacity) {
    FillRect(board, Inset(rect, 2), kPlainBackground, backgroundOpacity);
    FrameRect(board, Inset(rect, 1), kWhite);
}

void TGameSkin::DrawWindow(TOrlenBoard& board, const TRect& rect, int backgroundOpacity) {
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    if (!HasSystemGraphic()) {
        DrawPlainWindow(board, rect, backgroundOpacity);
        return;
    }
    if (backgroundOpacity > 0) {
        mSystem->Opacity = std::min(backgroundOpacity, 255);
        const TRect inner = Inset(rect, 2);
        if (mWallpaper == wpTile)
            TileSheet(board, inner, *mSystem, skin::kBackground);
        else
            board.StretchDrawSheet(inner, *mSystem, skin::kBackground);
        mSystem->Opacity = 255;
    }
    DrawNinePart(board, rect, *mSystem, skin::kFrame, skin::kFrameCorner, true);
}

void TGameSkin::DrawCursor(TOrlenBoard& board, const TRect& rect, std::int64_t step) {
    if (!HasSystemGraphic()) {
        FrameRect(board, rect, kWhite);
        return;
    }
    const int look = static_cast<int>((step / skin::kBlinkSteps) % 2);
    DrawNinePart(board, rect, *mSystem, skin::kCursor[look], skin::kCursorCorner, false);
}

void TGameSkin::DrawArrow(TOrlenBoard& board, int centerX, int y, bool up) {
    const TRect& piece = up ? skin::kUpArrow : skin::kDownArrow;
    if (HasSystemGraphic()) {
        board.DrawSheet(centerX - piece.Width() / 2, y, piece, *mSystem);
        return;
    }
    for (int i = 0; i < 4; ++i)
        FillRect(board, MakeBounds(centerX - i - 1, y + 2 + (up ? i : 3 - i), 2 * i + 2, 1), kWhite, 255);
}

void TGameSkin::DrawPause(TOrlenBoard& board, int x, int y, std::int64_t step) {
    if ((step / skin::kBlinkSteps) % 2 != 0)
        return;
    if (HasSystemGraphic())
        board.DrawSheet(x, y, skin::kPause, *mSystem);
    else
        DrawArrow(board, x + skin::kPause.Width() / 2, y + 4, false);
}

void DrawCheckerboard(TOrlenBoard& board, int x, int y, int width, int height) {
    for (int row = 0; row < height; row += 4)
        for (int column = 0; column < width; column += 4)
            FillBoardRect(board, TRect{x + column, y + row, x + std::min(column + 4, width), y + std::min(row + 4, height)},
                          ((row + column) / 4) % 2 ? 0xF81F : 0x0000);
}

TOrlenSheet* TGameSkin::FaceSheet(const std::string& faceSet, bool mirror) {
    const std::string key = faceSet + (mirror ? "|mirror" : "|");
    auto found = mFaces.find(key);
    if (found == mFaces.end()) {
        auto sheet = std::make_unique<TOrlenSheet>();
        sheet->AutoSize = true;
        sheet->Transparent = true;
        LoadSheetResource(*sheet, mFinder, "FaceSet", faceSet, false);
        if (sheet->Width() == 0)
            std::fprintf(stderr, "quillon-player: face set \"%s\" cannot be read; a checkerboard stands in\n",
                         faceSet.c_str());
        if (mirror)
            sheet->MirrorHorizontal();
        found = mFaces.emplace(key, std::move(sheet)).first;
    }
    return found->second.get();
}

void TGameSkin::DrawFace(TOrlenBoard& board, int x, int y, const std::string& faceSet, int index, bool mirror) {
    if (faceSet.empty() || index < 0 || index >= kFaceCount)
        return;
    TOrlenSheet* sheet = FaceSheet(faceSet, mirror);
    if (sheet->Width() == 0) {
        DrawCheckerboard(board, x, y, kFaceSize, kFaceSize);
        return;
    }
    if (sheet->Width() < kFaceSize * kFacesPerRow || sheet->Height() < kFaceSize)
        return;
    int column = index % kFacesPerRow;
    const int row = index / kFacesPerRow;
    // A mirrored sheet holds its columns in reverse order.
    if (mirror)
        column = kFacesPerRow - 1 - column;
    const int left = mirror ? sheet->Width() - kFaceSize * kFacesPerRow + column * kFaceSize : column * kFaceSize;
    board.DrawSheet(x, y, MakeBounds(left, row * kFaceSize, kFaceSize, kFaceSize), *sheet);
}

TImageFinder ProjectImageFinder() {
    return [](const std::string& kindFolder, const std::string& name) {
        return FindResourceFile(name, kindFolder, ImageExtensions);
    };
}

}  // namespace quillon::runtime
