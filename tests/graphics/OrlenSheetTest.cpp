#include "graphics/DrawUtils.h"
#include "graphics/HighColorDIB.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace quillon;

namespace {

// A sheet whose colour table maps index c to 0x100 + c, pixels given row by row.
void Fill(TOrlenSheet& sheet, const std::vector<std::vector<int>>& rows) {
    sheet.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x)
            sheet.ScanLine(y)[x] = static_cast<std::uint8_t>(rows[y][x]);
    for (int c = 0; c < 256; ++c)
        sheet.ColorTable[c] = static_cast<std::uint16_t>(0x100 + c);
}

void Paint(TOrlenBoard& board, int width, int height, std::uint16_t colour) {
    board.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            board.ScanLine(y)[x] = colour;
}

// The board as rows of values, with the untouched colour written as -1.
std::vector<std::vector<int>> Rows(const TOrlenBoard& board, std::uint16_t untouched) {
    std::vector<std::vector<int>> rows(board.Height());
    for (int y = 0; y < board.Height(); ++y)
        for (int x = 0; x < board.Width(); ++x) {
            const std::uint16_t v = board.ScanLine(y)[x];
            rows[y].push_back(v == untouched ? -1 : v - 0x100);
        }
    return rows;
}

std::uint16_t TableOf(void (*setup)(TOrlenSheet&)) {
    TOrlenSheet sheet;
    sheet.Palette[1] = {200, 100, 50, 0};
    setup(sheet);
    sheet.UpdateColorTable();
    return sheet.ColorTable[1];
}

}  // namespace

// Expected entries worked out by hand for the colour (200, 100, 50): R 25, G 25, B 6, grey 15.
TEST(ColorTable, EveryEffectWithIntegerArithmetic) {
    EXPECT_EQ(TableOf([](TOrlenSheet&) {}), 25 * 2048 + 25 * 32 + 6);
    EXPECT_EQ(TableOf([](TOrlenSheet& s) { s.PrimaryControl().SetColor(100, 100, 100, 50, false); }),
              20 * 2048 + 27 * 32 + 10);
    // Primary 150 and secondary 100 combine to 150; oversaturation clamps red and blue.
    EXPECT_EQ(TableOf([](TOrlenSheet& s) { s.PrimaryControl().SetColor(100, 100, 100, 150, false); }),
              31 * 2048 + 20 * 32 + 0);
    EXPECT_EQ(TableOf([](TOrlenSheet& s) {
                  s.PrimaryControl().SetColor(150, 50, 100, 100, false);
                  s.SecondaryControl().SetColor(120, 100, 100, 100, false);
              }),
              29 * 2048 + 12 * 32 + 6);
    EXPECT_EQ(TableOf([](TOrlenSheet& s) {
                  s.PrimaryControl().SetTone(31, 0, 16, 16, false);
                  s.SecondaryControl().SetTone(0, 31, 0, 8, false);
              }),
              21 * 2048 + 24 * 32 + 8);
    EXPECT_EQ(TableOf([](TOrlenSheet& s) { s.Brightness = 50; }), 12 * 2048 + 12 * 32 + 3);
    EXPECT_EQ(TableOf([](TOrlenSheet& s) { s.Brightness = 150; }), 28 * 2048 + 44 * 32 + 18);
    // Out-of-range brightness saturates instead of spilling into the next channel.
    EXPECT_EQ(TableOf([](TOrlenSheet& s) { s.Brightness = 1000; }), 0xFFFF);
}

TEST(ColorTable, SettersRebuildOnlyOnChange) {
    TOrlenSheet sheet;
    sheet.Palette[5] = {255, 255, 255, 0};
    sheet.PrimaryControl().SetColor(100, 100, 100, 100, true);  // unchanged: no rebuild
    EXPECT_EQ(sheet.ColorTable[5], 0);
    sheet.PrimaryControl().SetColor(50, 100, 100, 100, false);  // changed, but not asked to rebuild
    EXPECT_EQ(sheet.ColorTable[5], 0);
    sheet.PrimaryControl().Reset(true);
    EXPECT_EQ(sheet.ColorTable[5], 0xFFFF);
    EXPECT_EQ(sheet.PrimaryControl().RedPercent(), 100);
}

TEST(ShiftHue, RotatesEntriesAfterTheFirstAndAlwaysRebuilds) {
    TOrlenSheet sheet;
    sheet.Palette[0] = {255, 0, 0, 7};
    sheet.Palette[1] = {255, 0, 0, 7};
    sheet.Palette[2] = {200, 100, 50, 0};
    sheet.Palette[3] = {90, 90, 90, 0};
    const TPalette256 before = sheet.Palette;
    sheet.ShiftHue(0);
    EXPECT_EQ(sheet.Palette, before);
    EXPECT_EQ(sheet.ColorTable[2], 25 * 2048 + 25 * 32 + 6);
    sheet.ShiftHue(120);
    EXPECT_EQ(sheet.Palette[0], (TPaletteEntry{255, 0, 0, 7}));
    EXPECT_EQ(sheet.Palette[1], (TPaletteEntry{0, 255, 0, 7}));
    EXPECT_EQ(sheet.Palette[3], (TPaletteEntry{90, 90, 90, 0}));
    EXPECT_EQ(sheet.ColorTable[1], 63 * 32);
    sheet.ShiftHue(240);  // back to the start for pure colours
    EXPECT_EQ(sheet.Palette[1], (TPaletteEntry{255, 0, 0, 7}));
    TOrlenSheet other;
    other.Palette[1] = {200, 100, 50, 0};
    other.ShiftHue(30);  // hue 20 → 50, chroma 149.8, M = 125
    EXPECT_EQ(other.Palette[1], (TPaletteEntry{200, 175, 50, 0}));
}

TEST(DrawSheet, OpacityAndTransparencyRules) {
    TOrlenSheet sheet;
    Fill(sheet, {{0, 1}});
    sheet.ColorTable[0] = 0x07E0;
    sheet.ColorTable[1] = 0xF800;
    struct TCase {
        int Opacity;
        bool Transparent;
        std::uint16_t First, Second;
    };
    // Blends: (31 × 129 + 0 × 128) >> 8 = 15 red, (0 × 129 + 31 × 128) >> 8 = 15 blue, and so on.
    for (const TCase& c : {TCase{255, false, 0x07E0, 0xF800}, TCase{255, true, 0x001F, 0xF800},
                           TCase{128, false, 31 << 5 | 15, 15 << 11 | 15}, TCase{128, true, 0x001F, 15 << 11 | 15},
                           TCase{0, true, 0x001F, 0x001F}}) {
        TOrlenBoard board;
        Paint(board, 2, 1, 0x001F);
        sheet.Opacity = c.Opacity;
        sheet.Transparent = c.Transparent;
        board.DrawSheet(0, 0, sheet.BoundsRect(), sheet);
        EXPECT_EQ(board.ScanLine(0)[0], c.First) << c.Opacity << c.Transparent;
        EXPECT_EQ(board.ScanLine(0)[1], c.Second) << c.Opacity << c.Transparent;
    }
}

TEST(DrawSheet, ClipsToSheetAndBoardAndTakesOverBrightness) {
    TOrlenSheet sheet;
    Fill(sheet, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
    TOrlenBoard board;
    Paint(board, 5, 5, 0xAAAA);
    board.DrawSheet(-1, 3, TRect{-1, 0, 3, 3}, sheet);  // one column off the sheet, one row off the board
    board.DrawSheet(3, -1, TRect{2, 0, 9, 2}, sheet);
    board.DrawSheet(10, 0, sheet.BoundsRect(), sheet);
    board.DrawSheet(0, 0, TRect{4, 0, 8, 3}, sheet);
    const std::vector<std::vector<int>> expected = {
        {-1, -1, -1, 7, 8}, {-1, -1, -1, -1, -1}, {-1, -1, -1, -1, -1}, {1, 2, 3, -1, -1}, {5, 6, 7, -1, -1}};
    EXPECT_EQ(Rows(board, 0xAAAA), expected);

    sheet.Palette[1] = {200, 100, 50, 0};
    board.Brightness = 50;
    board.DrawSheet(0, 0, TRect{0, 0, 1, 1}, sheet);
    EXPECT_EQ(sheet.Brightness, 50);
    EXPECT_EQ(board.ScanLine(0)[0], 12 * 2048 + 12 * 32 + 3);
}

TEST(StretchDrawSheet, NearestNeighbourWithoutShiftingWhenClipped) {
    TOrlenSheet sheet;
    Fill(sheet, {{1, 2}, {3, 4}});
    TOrlenBoard board;
    Paint(board, 4, 4, 0xAAAA);
    board.StretchDrawSheet(TRect{0, 0, 4, 4}, sheet, sheet.BoundsRect());
    EXPECT_EQ(Rows(board, 0xAAAA), (std::vector<std::vector<int>>{{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}}));
    // Cut by the board: the visible quarter still shows the source's last pixel.
    Paint(board, 4, 4, 0xAAAA);
    board.StretchDrawSheet(TRect{-2, -2, 2, 2}, sheet, sheet.BoundsRect());
    EXPECT_EQ(Rows(board, 0xAAAA)[0], (std::vector<int>{4, 4, -1, -1}));
    // A source partly off the sheet leaves the pixels it would map there alone.
    Paint(board, 4, 4, 0xAAAA);
    board.StretchDrawSheet(TRect{0, 0, 4, 4}, sheet, TRect{1, -1, 3, 1});
    EXPECT_EQ(Rows(board, 0xAAAA), (std::vector<std::vector<int>>{
                                        {-1, -1, -1, -1}, {-1, -1, -1, -1}, {2, 2, -1, -1}, {2, 2, -1, -1}}));
    // Equal sizes draw 1:1 at the destination's corner; zoom 1 rounds halves to even.
    Paint(board, 4, 4, 0xAAAA);
    board.StretchDrawSheet(TRect{2, 2, 4, 4}, sheet, sheet.BoundsRect());
    board.DrawSheetZoomed(3.5, 1.5, 1.0, 1.0, 1.0, sheet.BoundsRect(), sheet);  // at (2, 0)
    EXPECT_EQ(Rows(board, 0xAAAA), (std::vector<std::vector<int>>{
                                        {-1, -1, 1, 2}, {-1, -1, 3, 4}, {-1, -1, 1, 2}, {-1, -1, 3, 4}}));
    Paint(board, 4, 4, 0xAAAA);
    board.DrawSheetZoomed(2.0, 2.0, 2.0, 1.0, 1.0, sheet.BoundsRect(), sheet);
    EXPECT_EQ(Rows(board, 0xAAAA)[3], (std::vector<int>{3, 3, 4, 4}));
}

TEST(Board, SizePitchClearAndCopy) {
    TOrlenBoard board;
    Paint(board, 3, 1, 0x1234);
    EXPECT_EQ(board.Pitch(), 0);
    EXPECT_EQ(board.RowBytes(), 8);
    board.Clear();  // also with Pitch 0
    EXPECT_EQ(board.ScanLine(0)[2], 0);
    Paint(board, 3, 2, 0x1234);
    EXPECT_EQ(board.Pitch(), 8);
    board.SetWidth(5);  // keeps what stays inside
    EXPECT_EQ(board.ScanLine(1)[2], 0x1234);
    EXPECT_EQ(board.ScanLine(1)[3], 0);

    // Copying a board onto itself one row down has to work from the bottom up.
    Paint(board, 2, 4, 0);
    for (int y = 0; y < 4; ++y)
        board.ScanLine(y)[0] = static_cast<std::uint16_t>(0x100 + y);
    board.CopyFrom(0, 1, TRect{0, 0, 1, 4}, board);
    TOrlenBoard other;
    Paint(other, 2, 2, 0xAAAA);
    other.CopyFrom(-1, 1, TRect{0, 0, 2, 4}, board);
    EXPECT_EQ(Rows(board, 0)[3], (std::vector<int>{2, -1}));
    EXPECT_EQ(Rows(board, 0)[1], (std::vector<int>{0, -1}));
    EXPECT_EQ(Rows(other, 0xAAAA), (std::vector<std::vector<int>>{{-1, -1}, {-0x100, -1}}));
}

TEST(Sheet, LoadFromBitmapAndFile) {
    TBitmap bitmap(4, 3, TPixelFormat::pf8bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(10 * y + x);
    bitmap.Palette()[11] = {255, 255, 255, 0};
    TOrlenSheet sheet;
    sheet.SetSize(2, 2);
    sheet.LoadFromBitmap(bitmap, TPoint{1, 1});  // only the part that fits
    EXPECT_EQ(sheet.ScanLine(0)[0], 11);
    EXPECT_EQ(sheet.ScanLine(1)[1], 22);
    EXPECT_EQ(sheet.ColorTable[11], 0xFFFF);
    TBitmap colour(1, 1, TPixelFormat::pf24bit);
    try {
        sheet.LoadFromBitmap(colour);
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), kIllegalImageFormatText);
    }
    EXPECT_EQ(sheet.ScanLine(0)[0], 11);

    const auto folder = std::filesystem::temp_directory_path() / "quillon-sheet-test";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "s.png").string();
    SavePicture(bitmap, file);
    TOrlenSheet loaded;
    loaded.AutoSize = true;
    loaded.LoadFromFile(file, false);
    EXPECT_EQ(loaded.Width(), 4);
    EXPECT_EQ(loaded.ScanLine(2)[3], 23);
    loaded.LoadFromFile((folder / "missing.png").string(), false);  // swallowed; cleared
    EXPECT_EQ(loaded.ScanLine(2)[3], 0);
    EXPECT_EQ(loaded.Palette[11], TPaletteEntry{});
    EXPECT_THROW(loaded.LoadFromFile((folder / "missing.png").string(), true), EFileError);
    std::filesystem::remove_all(folder);
}

TEST(Sheet, AreasAndMirror) {
    TOrlenSheet sheet;
    Fill(sheet, {{1, 2, 1, 2}, {0, 0, 3, 4}});
    EXPECT_TRUE(sheet.SameArea(TRect{0, 0, 2, 1}, TRect{2, 0, 4, 1}));
    EXPECT_FALSE(sheet.SameArea(TRect{0, 0, 2, 2}, TRect{2, 0, 4, 2}));
    EXPECT_FALSE(sheet.SameArea(TRect{0, 0, 2, 1}, TRect{0, 0, 3, 1}));
    EXPECT_TRUE(sheet.SameArea(TRect{0, 0, 2, 0}, TRect{9, 9, 11, 9}));
    EXPECT_FALSE(sheet.SameArea(TRect{0, 0, 2, 1}, TRect{3, 0, 5, 1}));  // reaches off the sheet
    EXPECT_TRUE(sheet.IsAreaEmpty(TRect{0, 1, 2, 2}));
    EXPECT_FALSE(sheet.IsAreaEmpty(TRect{0, 1, 3, 2}));
    EXPECT_TRUE(sheet.IsAreaFull(TRect{0, 0, 4, 1}));
    EXPECT_FALSE(sheet.IsAreaFull(TRect{0, 0, 4, 2}));
    EXPECT_TRUE(sheet.IsAreaEmpty(TRect{1, 1, 1, 2}));
    EXPECT_TRUE(sheet.IsAreaFull(TRect{1, 1, 1, 2}));
    sheet.MirrorHorizontal();
    EXPECT_EQ(sheet.ScanLine(1)[0], 4);
    EXPECT_EQ(sheet.ScanLine(1)[3], 0);
}

TEST(HighColorDIB, PaddedRowsAndRangeChecks) {
    THighColorDIB dib;
    dib.SetSize(3, 2);
    EXPECT_EQ(dib.Pitch(), 8);
    EXPECT_EQ(dib.NegPitch(), -8);
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(dib.ScanLine(1)) - reinterpret_cast<std::uint8_t*>(dib.ScanLine(0)), 8);
    dib.ScanLine(1)[2] = 0x7FFF;
    dib.Clear();
    EXPECT_EQ(dib.ScanLine(1)[2], 0);
    for (const int y : {-1, 2}) {
        try {
            dib.ScanLine(y);
            ADD_FAILURE() << y;
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_STREQ(e.what(), kScanLineRangeText);
        }
    }
    EXPECT_THROW(dib.SetSize(-1, 2), EOutOfResources);
    EXPECT_EQ(dib.Width(), 0);
    dib.SetSize(4, 0);
    EXPECT_THROW(dib.ScanLine(0), EInvalidGraphicOperation);
}

TEST(DrawUtils, Geometry) {
    EXPECT_EQ(FitRect(TRect{0, 0, 100, 50}, 200, 50), (TRect{0, 12, 100, 37}));
    EXPECT_EQ(FitRect(TRect{0, 0, 100, 50}, 40, 100), (TRect{40, 0, 60, 50}));
    EXPECT_EQ(FitRect(TRect{0, 0, 100, 50}, 10, 10), (TRect{45, 20, 55, 30}));
    EXPECT_EQ(FitRect(TRect{0, 0, 0, 0}, 0, 10), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(RectFromCells(TPoint{3, 1}, TPoint{1, 4}), (TRect{1, 1, 4, 5}));
    EXPECT_EQ(ScaleRect(TRect{1, 2, 3, 4}, 16), (TRect{16, 32, 48, 64}));
    EXPECT_EQ(EdgeScrollStep(-5), 0);
    EXPECT_EQ(EdgeScrollStep(7), 3);
    EXPECT_EQ(EdgeScrollStep(100), 20);
    EXPECT_EQ(RangeText(3, 3), "3");
    EXPECT_EQ(RangeText(3, 15), "3-15");
}
