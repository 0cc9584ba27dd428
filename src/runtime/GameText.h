// The look of the game's windows and text: the system graphic (a 160 x 80 sheet holding the window
// background, frame, cursor, arrows, pause mark, the text colours and the shadow colour), the
// game's font and the face sheets. Every window draws through one TGameSkin.
//
// The layout of the system graphic (x, y, width, height):
//   (0, 0, 32, 32)     window background, stretched or tiled over the window (the wallpaper mode)
//   (32, 0, 32, 32)    window frame: 8 x 8 corners, the edges between them tiled; the middle unused
//   (64, 0, 32, 32)    selection cursor, first look; (96, 0, 32, 32) second look (the blink):
//                      8 x 8 corners, edges and middle stretched over the cursor's rectangle
//   (128, 0, 16, 8)    up arrow; (128, 8, 16, 8) down arrow (more above / below)
//   (144, 0, 16, 16)   pause mark (the window waits for the decide key)
//   (128, 16, 16, 16)  shadow colour: its top-left pixel
//   (0, 32, 160, 16)   gauges (four of 40 x 16), for the menus
//   (0, 48, 160, 32)   twenty text colours, 16 x 16 each: colour n at (16 (n mod 10), 48 + 16 (n div 10));
//                      a glyph's pixel (x, y) takes the swatch's pixel (2 + x mod 12, 2 + y)
// Palette index 0 is transparent everywhere on the sheet.
#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/ImageResources.h"
#include "runtime/GameFont.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {
class TOrlenBoard;
class TOrlenSheet;
}  // namespace quillon

namespace quillon::runtime {

namespace skin {
inline constexpr int kSheetWidth = 160;
inline constexpr int kSheetHeight = 80;
inline constexpr TRect kBackground{0, 0, 32, 32};
inline constexpr TRect kFrame{32, 0, 64, 32};
inline constexpr int kFrameCorner = 8;
inline constexpr TRect kCursor[2] = {{64, 0, 96, 32}, {96, 0, 128, 32}};
inline constexpr int kCursorCorner = 8;
inline constexpr TRect kUpArrow{128, 0, 144, 8};
inline constexpr TRect kDownArrow{128, 8, 144, 16};
inline constexpr TRect kPause{144, 0, 160, 16};
inline constexpr TPoint kShadow{128, 16};
inline constexpr TRect kGauges{0, 32, 160, 48};
inline constexpr int kTextColours = 20;
inline constexpr int kSwatch = 16;
inline constexpr TPoint kSwatchOrigin{0, 48};
// Steps each look of the cursor and the pause mark stays before the other one shows.
inline constexpr int kBlinkSteps = 16;
}  // namespace skin

// Faces: 48 x 48 pictures, 16 on a 192 x 192 sheet in four rows of four.
inline constexpr int kFaceSize = 48;
inline constexpr int kFacesPerRow = 4;
inline constexpr int kFaceCount = 16;

// The wallpaper modes of the system record.
enum TWallpaper : int { wpStretch = 0, wpTile = 1 };

class TGameSkin {
public:
    // finder looks a resource up (project, then run-time package); systemGraphic is the system
    // record's system graphic, wallpaper and fontStyle its two settings. A missing system graphic
    // draws plain windows (dark blue, a white frame) and white text; the game goes on.
    TGameSkin(TImageFinder finder, const std::string& systemGraphic, int wallpaper, int fontStyle);
    // As above with the font files of a folder instead of the system's (tests, a missing font).
    TGameSkin(TImageFinder finder, const std::string& systemGraphic, int wallpaper, const TGameFont& font);
    ~TGameSkin();
    TGameSkin(const TGameSkin&) = delete;
    TGameSkin& operator=(const TGameSkin&) = delete;

    // Changes the system graphic and its settings (the "Change System Graphics" command).
    void SetSystemGraphic(const std::string& systemGraphic, int wallpaper, int fontStyle);
    bool HasSystemGraphic() const;
    const std::string& SystemGraphic() const { return mSystemGraphic; }
    int Wallpaper() const { return mWallpaper; }
    // The font style last set (-1: the font the skin was made with).
    int FontStyle() const { return mFontStyle; }
    const TGameFont& Font() const { return *mFont; }

    // Text: code page 932 bytes on a 12-pixel line whose top is y, in text colour 0..19 (others
    // draw as 0) with the shadow one pixel right and down. opacity below 255 blends the text with
    // what is under it (128: the greyed text of a disabled command). Answers the x after the text.
    int DrawText(TOrlenBoard& board, int x, int y, std::string_view text, int colour = 0, int opacity = 255);
    // One character; answers its width.
    int DrawChar(TOrlenBoard& board, int x, int y, const TCp932Char& c, int colour = 0, int opacity = 255);
    static int TextWidth(std::string_view text) { return TGameFont::Measure(text); }
    // The 5-6-5 colour of a text colour's glyph pixel (x, y) and of the shadow.
    std::uint16_t TextColour(int colour, int x, int y) const;
    std::uint16_t ShadowColour() const;

    // A window: background (with the opacity, 0..255) and frame over the rectangle.
    void DrawWindow(TOrlenBoard& board, const TRect& rect, int backgroundOpacity = 255);
    // The selection cursor over a rectangle; step (the logic step count) picks the blink's look.
    void DrawCursor(TOrlenBoard& board, const TRect& rect, std::int64_t step);
    // An up or down arrow centred on x with its top at y.
    void DrawArrow(TOrlenBoard& board, int centerX, int y, bool up);
    // The pause mark with its top-left at (x, y), blinking with step.
    void DrawPause(TOrlenBoard& board, int x, int y, std::int64_t step);
    // Face index 0..15 of a face sheet (folder "FaceSet") at (x, y), mirrored left to right when
    // mirror is set. An index outside the sheet draws nothing; a sheet that cannot be read draws a
    // checkerboard (and says so once on standard error).
    void DrawFace(TOrlenBoard& board, int x, int y, const std::string& faceSet, int index, bool mirror);

private:
    TOrlenSheet* FaceSheet(const std::string& faceSet, bool mirror);
    void DrawPlainWindow(TOrlenBoard& board, const TRect& rect, int backgroundOpacity);

    TImageFinder mFinder;
    std::string mSystemGraphic;
    int mWallpaper = wpStretch;
    int mFontStyle = -1;
    const TGameFont* mFont = nullptr;
    std::unique_ptr<TOrlenSheet> mSystem;
    std::map<std::string, std::unique_ptr<TOrlenSheet>> mFaces;  // name + mirror flag
};

// A checkerboard of magenta and black 4-pixel squares in place of a picture that cannot be read.
void DrawCheckerboard(TOrlenBoard& board, int x, int y, int width, int height);

// The image finder of the open project: the project's folder, then the run-time package.
TImageFinder ProjectImageFinder();

}  // namespace quillon::runtime
