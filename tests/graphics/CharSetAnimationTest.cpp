#include "ChipSetTestUtil.h"

#include "data/EditorMode.h"
#include "data/LD_Animation.h"
#include "graphics/GR_Animation.h"
#include "graphics/GR_CharSet.h"
#include "graphics/StartPos.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using namespace chiptest;

TEST(CharSetGraphic, CacheLookUpIgnoresCaseAndLoadsFromTheFolder) {
    TEditorModeScope mode(true);
    const auto folder = TempFolder("charset");
    TBitmap image(288, 256, TPixelFormat::pf8bit);
    image.ScanLine(130)[75] = 7;
    image.Palette()[7] = {255, 0, 0, 0};
    WriteResource(folder, "CharSet", "Hero", image);
    TKelCharSetGraphic cache(FolderImageFinder({folder.string()}));
    EXPECT_EQ(cache.Load("Hero"), 0);
    EXPECT_EQ(cache.Load("HERO"), 0);
    EXPECT_EQ(cache.Load("Missing"), 1);  // blank, no report in the editor
    EXPECT_EQ(cache.IndexOf("hero"), 0);
    EXPECT_EQ(cache.IndexOf("Other"), -1);
    ASSERT_NE(cache.SheetAt(0), nullptr);
    EXPECT_EQ(cache.SheetAt(0)->Width(), 288);
    EXPECT_EQ(cache.SheetAt(0)->ScanLine(130)[75], 7);
    EXPECT_EQ(cache.SheetAt(1)->ScanLine(130)[75], 0);
    EXPECT_EQ(cache.SheetAt(2), nullptr);
    EXPECT_EQ(cache.SheetAt(-1), nullptr);
    // Character 5, pattern 1, direction 2 begins at (72 + 24, 128 + 64).
    EXPECT_EQ(CharFrameOrigin(5, 1, 2), (TPoint{96, 192}));
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);

    TEditorModeScope strict(false);
    EXPECT_THROW(cache.Load("Missing"), std::exception);
}

TEST(CharSetGraphic, EndUseTrimsUnusedEntriesFromTheFrontOfALargeCache) {
    TKelCharSetGraphic cache;  // no finder: every sheet stays blank
    TEditorModeScope mode(true);
    for (int i = 0; i < 25; ++i)
        cache.Load("Set" + std::to_string(i));
    cache.BeginUse();
    for (int i = 3; i < 25; ++i)
        cache.Load("Set" + std::to_string(i));
    cache.EndUse();
    ASSERT_EQ(cache.Count(), 22);
    EXPECT_EQ(cache.Names().front(), "Set3");

    // Below 20 names nothing goes.
    TKelCharSetGraphic small;
    for (int i = 0; i < 15; ++i)
        small.Load("Set" + std::to_string(i));
    small.BeginUse();
    small.EndUse();
    EXPECT_EQ(small.Count(), 15);

    // Trimming stops once fewer than 20 remain, and never takes the last entry.
    TKelCharSetGraphic edge;
    for (int i = 0; i < 21; ++i)
        edge.Load("Set" + std::to_string(i));
    edge.BeginUse();
    edge.EndUse();
    EXPECT_EQ(edge.Count(), 19);
    EXPECT_EQ(edge.Names().front(), "Set2");
    EXPECT_FALSE(edge.InUse(0));
}

namespace {

TKelAnimationTimingItem& AddCue(TKelAnimationItem& animation, int frame, int range, int power) {
    TKelAnimationTimingItem& cue = animation.Timing.Append();
    cue.Frame = frame;
    cue.FlashRange = static_cast<std::uint8_t>(range);
    cue.FlashPower = power;
    cue.FlashRed = 10;
    cue.FlashGreen = 20;
    cue.FlashBlue = 30;
    return cue;
}

}  // namespace

TEST(AnimationGraphic, FlashTablesFadeOverSixFramesAndLaterCuesWin) {
    TKelAnimationItem animation;
    animation.SetFrameCount(8);
    AddCue(animation, 1, TKelAnimationTimingItem::frTarget, 31);
    AddCue(animation, 17, TKelAnimationTimingItem::frScreen, 12);  // runs off the end of the table
    AddCue(animation, 3, TKelAnimationTimingItem::frNone, 31);
    AddCue(animation, 2147483647, TKelAnimationTimingItem::frTarget, 31);  // would overflow: skipped
    TKelAnimationGraphic graphic;
    graphic.SetAnimation(&animation, false);
    ASSERT_EQ(graphic.TargetFlash().size(), 18u);
    const int strengths[6] = {31, 31, 25, 20, 15, 10};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(graphic.TargetFlash()[k], (TAnimationFlash{10, 20, 30, strengths[k]})) << k;
    EXPECT_EQ(graphic.TargetFlash()[6], TAnimationFlash{});
    EXPECT_EQ(graphic.ScreenFlash()[16], (TAnimationFlash{10, 20, 30, 14}));
    EXPECT_EQ(graphic.ScreenFlash()[17], (TAnimationFlash{10, 20, 30, 12}));

    // A later cue overwrites the frames it reaches.
    AddCue(animation, 2, TKelAnimationTimingItem::frTarget, 6);
    graphic.SetAnimation(&animation, false);
    EXPECT_EQ(graphic.TargetFlash()[0][3], 31);
    EXPECT_EQ(graphic.TargetFlash()[1][3], 7);
    EXPECT_EQ(graphic.TargetFlash()[6][3], 2);

    graphic.SetAnimation(&animation, true);
    for (const TAnimationFlash& entry : graphic.TargetFlash())
        EXPECT_EQ(entry, TAnimationFlash{});

    // Applying a flash sets the tone; a frame outside the table resets the control.
    graphic.SetAnimation(&animation, false);
    TOrlenSheet victim;
    graphic.ApplyTargetFlash(victim, 0);
    EXPECT_EQ(victim.PrimaryControl().ToneStrength(), 31);
    EXPECT_EQ(victim.PrimaryControl().ToneBlue(), 30);
    graphic.ApplyTargetFlash(victim, 18);
    EXPECT_EQ(victim.PrimaryControl().ToneStrength(), 0);
    graphic.ApplyScreenFlash(victim, 17);
    EXPECT_EQ(victim.SecondaryControl().ToneStrength(), 12);
    graphic.ApplyScreenFlash(victim, -1);
    EXPECT_EQ(victim.SecondaryControl().ToneStrength(), 0);
}

TEST(AnimationGraphic, CellsAreCentredScaledTintedAndFaded) {
    TEditorModeScope mode(true);
    const auto folder = TempFolder("battle");
    TBitmap image(480, 192, TPixelFormat::pf8bit);
    // Pattern 6 (row 1, column 1) holds index 1 at its top-left pixel and index 2 at its bottom-right.
    image.ScanLine(96)[96] = 1;
    image.ScanLine(191)[191] = 2;
    image.Palette()[1] = {248, 0, 0, 0};
    image.Palette()[2] = {0, 0, 248, 0};
    WriteResource(folder, "Battle", "Blast", image);

    TKelAnimationItem animation;
    animation.FileName = "Blast";
    animation.SetFrameCount(2);
    TKelAnimationCellItem& cell = animation.Frames.Items(0)->Cells.Append();
    cell.Pattern = 6;
    cell.X = 10;
    cell.Y = -5;
    TKelAnimationCellItem& hidden = animation.Frames.Items(0)->Cells.Append();
    hidden.Visible = 0;
    hidden.Pattern = 6;
    hidden.X = 200;

    std::vector<std::string> played;
    TKelAnimationGraphic graphic(FolderImageFinder({folder.string()}),
                                 [&](const TKelSound& sound) { played.push_back(sound.Name); });
    graphic.SetAnimation(&animation, false);
    EXPECT_EQ(graphic.Sheet().Width(), 480);
    EXPECT_TRUE(graphic.Sheet().Transparent);

    TOrlenBoard board;
    board.SetSize(400, 200);
    graphic.DrawFrame(board, 100, 0, 100);
    // Magnification 100: the pattern's top-left lands at (X + x - 48, Y + y - 48).
    EXPECT_EQ(board.ScanLine(47)[62], 0xF800);
    EXPECT_EQ(board.ScanLine(47 + 95)[62 + 95], 0x001F);
    // The hidden cell is not drawn by DrawFrame.
    EXPECT_EQ(board.ScanLine(52)[252], 0);

    // Magnification 200 doubles around the centre; transparency 50 blends; red 0 removes red.
    cell.Magnification = 200;
    cell.Transparency = 50;
    board.Clear();
    graphic.DrawCell(board, 100, false, 0, 0, 100);
    EXPECT_EQ(graphic.Sheet().Opacity, 127);
    // Centre (110, 95), half size 96: the source's top-left pixel covers (14..15, -1..0).
    EXPECT_EQ(board.ScanLine(0)[14], (31 * 128 / 256) << 11);
    EXPECT_EQ(board.ScanLine(0)[15], (31 * 128 / 256) << 11);
    EXPECT_EQ(board.ScanLine(1)[14], 0);
    cell.Red = 0;
    cell.Transparency = 0;
    board.Clear();
    graphic.DrawCell(board, 100, false, 0, 0, 100);
    EXPECT_EQ(board.ScanLine(0)[14], 0) << "red removed";
    EXPECT_EQ(board.ScanLine(190)[205], 0x001F);
    EXPECT_EQ(board.ScanLine(189)[204], 0x001F);
    EXPECT_EQ(board.ScanLine(188)[205], 0);

    // Cells and frames that do not exist draw nothing and do not throw.
    board.Clear();
    graphic.DrawCell(board, 100, true, 5, 0, 100);
    graphic.DrawCell(board, 100, true, 0, 7, 100);
    graphic.DrawFrame(board, 100, -1, 100);

    // Sound cues of frame index + 1, except "(OFF)".
    TKelAnimationTimingItem& cue = AddCue(animation, 2, TKelAnimationTimingItem::frNone, 0);
    cue.Sound.Name = "Boom";
    AddCue(animation, 2, TKelAnimationTimingItem::frNone, 0);
    graphic.PlayFrameSounds(0);
    EXPECT_TRUE(played.empty());
    graphic.PlayFrameSounds(1);
    EXPECT_EQ(played, std::vector<std::string>{"Boom"});

    EXPECT_EQ(graphic.BackgroundColor(), 0u);
    graphic.ResetEffects();
    EXPECT_EQ(graphic.Sheet().Opacity, 255);
    EXPECT_EQ(graphic.Sheet().PrimaryControl().RedPercent(), 100);
}

TEST(StartPosMark, FiveDistinctMarksPerCellSizeDrawnOpaqueOrHalfTransparent) {
    TStartPosMark marks;
    for (int size : {32, 16, 8, 4}) {
        const TOrlenSheet* strip = marks.Strip(size);
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->Width(), 5 * size);
        EXPECT_EQ(strip->Height(), size);
        std::set<std::vector<std::uint8_t>> seen;
        for (int mark = 0; mark < 5; ++mark) {
            std::vector<std::uint8_t> cells;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    cells.push_back(strip->ScanLine(y)[mark * size + x]);
            EXPECT_GT(std::count_if(cells.begin(), cells.end(), [](std::uint8_t c) { return c != 0; }), size * size / 4)
                << "size " << size << " mark " << mark;
            seen.insert(cells);
        }
        EXPECT_EQ(seen.size(), 5u) << "size " << size;
    }
    EXPECT_EQ(marks.Strip(12), nullptr);

    TOrlenBoard board;
    board.SetSize(32, 32);
    const std::uint16_t background = 0x07E0;
    for (int y = 0; y < 32; ++y)
        std::fill(board.ScanLine(y), board.ScanLine(y) + 32, background);
    marks.Draw(board, 0, 0, 16, TStartPosMark::smParty, false);
    marks.Draw(board, 16, 0, 16, TStartPosMark::smParty, true);
    const TOrlenSheet& strip = *marks.Strip(16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int index = strip.ScanLine(y)[x];
            const std::uint16_t opaque = index ? strip.ColorTable[index] : background;
            ASSERT_EQ(board.ScanLine(y)[x], opaque);
            // Half: each channel (colour x 129 + background x 128) div 256.
            const auto mix = [&](int shift, int mask) {
                return (((opaque >> shift) & mask) * 129 + ((background >> shift) & mask) * 128) / 256;
            };
            const std::uint16_t half =
                index ? static_cast<std::uint16_t>(mix(11, 31) << 11 | mix(5, 63) << 5 | mix(0, 31)) : background;
            ASSERT_EQ(board.ScanLine(y)[16 + x], half) << x << "," << y;
        }
    // Other sizes and indexes draw nothing.
    marks.Draw(board, 0, 16, 12, 0, false);
    marks.Draw(board, 0, 16, 16, 5, false);
    marks.Draw(board, 0, 16, 16, -1, false);
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(board.ScanLine(y)[x], background);
}

// Values a damaged file may hold draw nothing sensible but never reach outside any buffer.
TEST(AnimationGraphic, WildCellAndCharacterValuesStayHarmless) {
    TKelAnimationItem animation;
    animation.SetFrameCount(1);
    for (const std::int32_t wild : {-2147483647 - 1, -1, 2147483647}) {
        TKelAnimationCellItem& cell = animation.Frames.Items(0)->Cells.Append();
        cell.Pattern = wild;
        cell.X = wild;
        cell.Y = -wild / 2;
        cell.Magnification = wild;
        cell.Red = cell.Chroma = cell.Transparency = wild;
        TKelAnimationTimingItem& cue = AddCue(animation, wild, TKelAnimationTimingItem::frScreen, wild);
        cue.FlashRed = wild;
    }
    TKelAnimationGraphic graphic;
    graphic.SetAnimation(&animation, false);
    graphic.Sheet().SetSize(480, 192);
    TOrlenBoard board;
    board.SetSize(64, 64);
    graphic.DrawFrame(board, 10, 0, 10);
    for (const TAnimationFlash& entry : graphic.ScreenFlash())
        for (std::int32_t value : entry)
            EXPECT_TRUE(value >= 0 && value <= 31);
    for (const int wild : {-2147483647 - 1, 2147483647}) {
        const TPoint origin = CharFrameOrigin(wild, wild, 255);
        EXPECT_LE(std::abs(origin.X), 65536);
        EXPECT_LE(std::abs(origin.Y), 65536);
    }
}
