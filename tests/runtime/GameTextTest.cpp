#include "runtime/GameText.h"

#include "TextFixture.h"
#include "runtime/GameCommandWindow.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

using test::Press;
using test::Tap;

class GameText : public ::testing::Test {
protected:
    void SetUp() override {
        mSheet = mFolder.SystemSheet();
        ASSERT_EQ(mSheet->Width(), skin::kSheetWidth);
        mBoard.SetSize(320, 240);
    }
    std::uint16_t SheetColour(int x, int y) const { return mSheet->ColorTable[mSheet->ScanLine(y)[x]]; }
    std::uint16_t Pixel(int x, int y) const { return mBoard.ScanLine(y)[x]; }

    test::TSkinFolder mFolder;
    std::unique_ptr<TOrlenSheet> mSheet;
    TOrlenBoard mBoard;
    test::TFakeSource mSource;
};

// The starter package's system graphic has the parts where the windows read them.
TEST_F(GameText, StarterSystemGraphicFollowsTheLayout) {
    const TOrlenSheet& s = *mSheet;
    EXPECT_TRUE(s.IsAreaFull(skin::kBackground));
    const TRect frameMiddle{skin::kFrame.Left + 8, 8, skin::kFrame.Right - 8, 24};
    EXPECT_TRUE(s.IsAreaEmpty(frameMiddle)) << "the frame's middle lets the background show";
    EXPECT_TRUE(s.IsAreaFull(MakeBounds(skin::kFrame.Left, 0, 8, 2))) << "the frame's corner";
    EXPECT_TRUE(s.IsAreaFull(skin::kCursor[0]));
    EXPECT_TRUE(s.IsAreaFull(skin::kCursor[1]));
    EXPECT_FALSE(s.SameArea(skin::kCursor[0], skin::kCursor[1])) << "the two looks of the blink differ";
    for (const TRect& piece : {skin::kUpArrow, skin::kDownArrow, skin::kPause})
        EXPECT_FALSE(s.IsAreaEmpty(piece));
    // Up arrow: its point on top; down arrow and pause mark: the point at the bottom.
    auto width = [&](int y, const TRect& piece) {
        int n = 0;
        for (int x = piece.Left; x < piece.Right; ++x)
            n += s.ScanLine(y)[x] != 0;
        return n;
    };
    EXPECT_LT(width(1, skin::kUpArrow), width(7, skin::kUpArrow));
    EXPECT_GT(width(8, skin::kDownArrow), width(14, skin::kDownArrow));
    EXPECT_GT(width(7, skin::kPause), width(10, skin::kPause));
    // Text colour 0 is light and the shadow dark.
    auto brightness = [&](std::uint8_t index) {
        const TPaletteEntry& e = s.Palette[index];
        return e.Red + e.Green + e.Blue;
    };
    EXPECT_GT(brightness(s.ScanLine(skin::kSwatchOrigin.Y + 8)[8]), 600);
    EXPECT_LT(brightness(s.ScanLine(skin::kShadow.Y)[skin::kShadow.X]), 100);
    for (int c = 0; c < skin::kTextColours; ++c)
        EXPECT_TRUE(s.IsAreaFull(MakeBounds(skin::kSwatchOrigin.X + (c % 10) * 16, skin::kSwatchOrigin.Y + (c / 10) * 16,
                                            16, 16)))
            << "colour " << c;
}

TEST_F(GameText, WindowTiledBackgroundAndFrame) {
    TGameSkin skin(mFolder.Finder(), "System", wpTile, TGameFont::Shared(0));
    ASSERT_TRUE(skin.HasSystemGraphic());
    const TRect rect = MakeBounds(10, 20, 100, 60);
    skin.DrawWindow(mBoard, rect);
    // The frame's corners 1:1.
    EXPECT_EQ(Pixel(10, 20), SheetColour(32, 0));
    EXPECT_EQ(Pixel(109, 79), SheetColour(63, 31));
    EXPECT_EQ(Pixel(11, 21), SheetColour(33, 1));
    // The background tiled from 2 pixels inside the window, where the frame is transparent.
    for (const TPoint p : {TPoint{50, 50}, TPoint{80, 70}, TPoint{45, 33}})
        EXPECT_EQ(Pixel(p.X, p.Y), SheetColour((p.X - 12) % 32, (p.Y - 22) % 32)) << p.X << "," << p.Y;
    // Nothing outside the rectangle.
    EXPECT_EQ(Pixel(9, 20), 0);
    EXPECT_EQ(Pixel(110, 50), 0);
}

TEST_F(GameText, TextWithShadow) {
    const TGameFont* font = test::SystemFontOrSkip();
    if (!font)
        GTEST_SKIP() << "the package xfonts-shinonome is not installed";
    TGameSkin skin(mFolder.Finder(), "System", wpStretch, *font);
    for (int colour : {0, 2, 13}) {
        mBoard.Clear();
        const int end = skin.DrawText(mBoard, 100, 100, "A\x88\x9F", colour);
        EXPECT_EQ(end, 118);
        int drawn = 0;
        for (const auto& [x0, text] : {std::pair{100, "A"}, std::pair{106, "\x88\x9F"}}) {
            const TCp932Char c = DecodeCp932(text, 0);
            const TGlyphRows rows = font->Glyph(c);
            auto set = [&](int gx, int gy) {
                return gx >= 0 && gy >= 0 && gx < c.Width && gy < kGlyphHeight &&
                       (rows[static_cast<std::size_t>(gy)] & (0x8000u >> gx)) != 0;
            };
            for (int gy = 0; gy < kGlyphHeight; ++gy)
                for (int gx = 0; gx < c.Width; ++gx) {
                    if (set(gx, gy)) {
                        ++drawn;
                        ASSERT_EQ(Pixel(x0 + gx, 100 + gy), skin.TextColour(colour, gx, gy)) << colour;
                    } else if (set(gx - 1, gy - 1)) {
                        ASSERT_EQ(Pixel(x0 + gx, 100 + gy), skin.ShadowColour()) << colour;
                    }
                }
        }
        EXPECT_GT(drawn, 20);
    }
    // The text colours are the swatches' own.
    EXPECT_EQ(skin.TextColour(2, 0, 0), SheetColour(16 * 2 + 2, 48 + 2));
    EXPECT_EQ(skin.TextColour(13, 5, 7), SheetColour(16 * 3 + 2 + 5, 64 + 2 + 7));
}

TEST_F(GameText, FacesPlainAndMirrored) {
    TGameSkin skin(mFolder.Finder(), "System", wpStretch, TGameFont::Shared(0));
    TOrlenSheet faces;
    faces.AutoSize = true;
    faces.LoadFromBitmap(rtp::MakeRtpFaceSet(0));
    const int index = 5;  // column 1, row 1
    skin.DrawFace(mBoard, 10, 10, "Faces", index, false);
    skin.DrawFace(mBoard, 100, 10, "Faces", index, true);
    int compared = 0;
    for (int y = 0; y < kFaceSize; ++y)
        for (int x = 0; x < kFaceSize; ++x) {
            const std::uint8_t c = faces.ScanLine(48 + y)[48 + x];
            if (c == 0)
                continue;
            ++compared;
            ASSERT_EQ(Pixel(10 + x, 10 + y), faces.ColorTable[c]);
            ASSERT_EQ(Pixel(100 + kFaceSize - 1 - x, 10 + y), faces.ColorTable[c]);
        }
    EXPECT_GT(compared, 500);
    // An index off the sheet draws nothing.
    mBoard.Clear();
    skin.DrawFace(mBoard, 10, 10, "Faces", 16, false);
    skin.DrawFace(mBoard, 10, 10, "Faces", -1, true);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(Pixel(x, y), 0);
    // A missing sheet draws a checkerboard of the face's size, and says so once.
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i)
        skin.DrawFace(mBoard, 10, 10, "Nobody", 0, false);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "quillon-player: face set \"Nobody\" cannot be read; a checkerboard stands in\n");
    EXPECT_EQ(Pixel(10, 10), 0);
    EXPECT_EQ(Pixel(14, 10), 0xF81F);
    EXPECT_EQ(Pixel(10 + kFaceSize - 1, 10 + kFaceSize - 5), 0xF81F);
    EXPECT_EQ(Pixel(10 + kFaceSize, 14), 0);
}

TEST_F(GameText, WithoutASoundSystemGraphicThePlainLook) {
    test::WritePicture(mFolder.Root() / "System" / "Small.png", rtp::MakeRtpMonster(0));
    test::WriteFile(mFolder.Root() / "System" / "Broken.png", "\x89PNG\r\n\x1a\n broken");
    for (const char* name : {"Missing", "Small", "Broken", ""}) {
        TGameSkin skin(mFolder.Finder(), name, wpStretch, TGameFont::Shared(0));
        EXPECT_FALSE(skin.HasSystemGraphic()) << name;
        mBoard.Clear();
        skin.DrawWindow(mBoard, MakeBounds(0, 0, 100, 50));
        skin.DrawCursor(mBoard, MakeBounds(10, 10, 40, 16), 0);
        EXPECT_EQ(Pixel(1, 1), 0xFFFF) << name;    // the white frame
        EXPECT_EQ(Pixel(50, 25), 0x0010) << name;  // the dark blue background
        EXPECT_EQ(Pixel(10, 10), 0xFFFF) << name;  // the cursor's frame
        EXPECT_EQ(skin.TextColour(3, 0, 0), 0xFFFF) << name;
        EXPECT_EQ(skin.ShadowColour(), 0x0000) << name;
    }
}

// Draws the message window and the title's command window as the game shows them and saves them
// under the build folder (test-shots/) for a look.
TEST_F(GameText, DrawsAMessageWithFaceAndChoices) {
    TGameSkin skin(mFolder.Finder(), "System", wpStretch, TGameFont::Shared(0));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            mBoard.ScanLine(y)[x] = ((x / 16 + y / 16) % 2) ? 0x4A69 : 0x3186;
    TGameMessageWindow window(skin);
    window.SetFace({"Faces", 1, false, true});
    window.ShowMessage({"\\N[0]: Hello! You have \\C[4]\\$\\C[0].",
                        "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2\x8A\x45\x81\x42 \xBA\xDD\xC6\xC1\xCA"},
                       mSource);
    window.ShowChoices({"Yes, please", "\\C[2]No"}, 1, mSource);
    TGameInput input;
    Tap(window, input, gbDecide);
    Tap(window, input, gbDown);
    window.Draw(mBoard);
    const std::filesystem::path shots = std::filesystem::path(QUILLON_BINARY_DIR) / "test-shots";
    test::SaveBoardPng(mBoard, shots / "message-window.png");
    // The frame's top-left corner at the window's, the face's mirrored pixels beside the text.
    EXPECT_EQ(Pixel(0, 160), SheetColour(32, 0));
    EXPECT_TRUE(window.Busy());

    // A number input under a message in the middle, and a transparent message waiting at the top.
    TGameMessageWindow number(skin);
    number.SetOptions({false, 1, false, false});
    number.ShowMessage({"How many? \\V[1]"}, mSource);
    number.InputNumber(4);
    Tap(number, input, gbDecide);
    Tap(number, input, gbRight);
    Tap(number, input, gbUp);
    number.Draw(mBoard);
    TGameMessageWindow waiting(skin);
    waiting.SetOptions({true, 0, false, false});
    waiting.ShowMessage({"\\C[1]Transparent\\C[0] and waiting."}, mSource);
    Tap(waiting, input, gbDecide);
    waiting.Draw(mBoard);
    EXPECT_EQ(Pixel(0, 0), 0x3186) << "a transparent window leaves the screen under it";

    TGameCommandWindow title(skin, {"New Game", "Continue", "Shutdown"});
    title.SetEnabled(1, false);
    title.CentreAt(320, 140);
    title.Draw(mBoard);
    test::SaveBoardPng(mBoard, shots / "title-commands.png");
    EXPECT_TRUE(std::filesystem::exists(shots / "title-commands.png"));
}

}  // namespace
}  // namespace quillon::runtime
