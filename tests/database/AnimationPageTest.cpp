// The battle animation page without a window: snapping, complement, frames and their timings,
// cells placed, dragged and pasted on the preview, the timing list, the tools, scope and anchor
// shifts, and that every change reaches the database file.
#include "database/ED_Animation.h"
#include "database/ED_AnimationDialogs.h"

#include "data/LD_DataBase.h"
#include "graphics/Bitmap.h"
#include "graphics/PictureFile.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

namespace quillon {
namespace {

namespace fs = std::filesystem;
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

TEST(AnimationSnapTest, NearestGridLineWithHalvesDownAndClamped) {
    struct TCase {
        std::int32_t Value, Grid, Snapped;
    };
    const TCase cases[] = {
        {4, 8, 0},   {5, 8, 8},     {-4, 8, -8},   {-5, 8, -8},     {-3, 8, 0},        {12, 8, 8},
        {13, 8, 16}, {319, 8, 320}, {330, 8, 320}, {-700, 8, -320}, {kMax32, 8, 320}, {kMin32, 8, -320},
        {3, 1, 3},   {400, 1, 320},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SnapCoordinate(c.Value, c.Grid), c.Snapped) << c.Value << " on grid " << c.Grid;
}

TEST(AnimationComplementTest, ValuesRoundHalfToEvenIn64Bits) {
    struct TCase {
        std::int64_t T;
        std::int32_t R, S;
        std::int64_t N;
        std::int32_t Value;
    };
    const TCase cases[] = {
        {1, 0, 10, 2, 5},  {1, 0, 2, 4, 0},       {2, 0, 2, 4, 1},           {3, 0, 2, 4, 2},
        {1, 0, -2, 4, 0},  {3, 0, -2, 4, -2},     {1, kMax32, kMin32, 2, 0},  // the difference needs 33 bits
        {0, 7, 99, 5, 7},  {3, 0, kMax32, 1, kMax32},                          // saturates
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ComplementValue(c.T, c.R, c.S, c.N), c.Value) << c.T << " of " << c.R << ".." << c.S << " / " << c.N;
}

// A monster image of the given size in <folder>/Monster/<name>.bmp.
void WriteMonsterImage(const std::string& folder, const std::string& name, int width, int height) {
    fs::create_directories(folder + "Monster");
    TBitmap bitmap(width, height, TPixelFormat::pf8bit);
    bitmap.Palette()[1] = TPaletteEntry{200, 40, 40, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.ScanLine(y)[x] = 1;
    SavePicture(bitmap, folder + "Monster/" + name + ".bmp");
}

class AnimationPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mPrevious = SetClipboard(&mClipboard);
        DataBaseMemory() = {};
        AnimationToolMemory() = {};
        std::string pattern = (fs::temp_directory_path() / "quillon-anim-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        mFolder = pattern + "/";
        WriteMonsterImage(mFolder, "Slime", 40, 50);
        WriteMonsterImage(mFolder, "Odd", 30, 51);
        db = std::make_unique<TKelDataBase>();
        db->Monster.Obtain(1).GraphicName = "Slime";
        db->Monster.Obtain(2).GraphicName = "Odd";
        db->Animation.Obtain(1).Name = "Fire";
        db->Animation.Obtain(2).Name = "Ice";
        db->System.TestVictim = 1;
        db->System.SnapTo = 1;
    }
    void TearDown() override {
        model.reset();
        SetClipboard(mPrevious);
        std::error_code ignored;
        fs::remove_all(mFolder, ignored);
    }

    TAnimationPageModel& Page() {
        if (!model) {
            TDataBaseContext context;
            context.DataBase = db.get();
            model = std::make_unique<TAnimationPageModel>(context, nullptr, FolderImageFinder({mFolder}));
        }
        return *model;
    }
    TKelAnimationItem& Anim() { return Page().Item(); }

    // Saves the database and reads the file back in a database of its own.
    std::unique_ptr<TKelDataBase> Reloaded() {
        db->SaveToFile(mFolder + "GMK_RT.kdb");
        auto copy = std::make_unique<TKelDataBase>();
        copy->LoadFromFile(mFolder + "GMK_RT.kdb");
        return copy;
    }
    std::string FileBytes() {
        std::ifstream in(mFolder + "GMK_RT.kdb", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static TKelAnimationCellItem& AddCell(TKelAnimationPatternItem& frame, std::int32_t x, std::int32_t y) {
        TKelAnimationCellItem& cell = frame.Cells.Append();
        cell.X = x;
        cell.Y = y;
        return cell;
    }
    TKelAnimationPatternItem& FrameOf(TKelAnimationItem& anim, int oneBased) { return *anim.Frames.Items(oneBased - 1); }
    // The x of each frame's first cell, 0 for a frame without cells.
    static std::vector<std::int32_t> FirstX(const TKelAnimationItem& anim) {
        std::vector<std::int32_t> xs;
        for (int f = 0; f < anim.FrameCount(); ++f) {
            const TKelAnimationCellItem* cell = anim.Frames.Items(f)->Cells.Items(0);
            xs.push_back(cell ? cell->X : 0);
        }
        return xs;
    }
    static std::vector<std::int32_t> TimingFrames(const TKelAnimationItem& anim) {
        std::vector<std::int32_t> frames;
        for (int t = 0; t < anim.Timing.Count(); ++t)
            frames.push_back(anim.Timing.Items(t)->Frame);
        return frames;
    }
    void AddTiming(int frame, const std::string& sound = kSoundOff) {
        TKelAnimationTimingItem& timing = Anim().Timing.Append();
        timing.Frame = frame;
        timing.Sound.Name = sound;
    }

    TMemoryClipboard mClipboard;
    IClipboard* mPrevious = nullptr;
    std::string mFolder;
    std::unique_ptr<TKelDataBase> db;
    std::unique_ptr<TAnimationPageModel> model;
};

TEST(AnimationCellDialogTest, SlidersStandAtATenthOfTheValueOnItsStep) {
    const struct {
        std::int32_t Value;
        int Position;
    } toSlider[] = {{0, 0}, {4, 0}, {5, 1}, {100, 10}, {135, 14}, {200, 20}, {250, 20}, {-5, 0}, {kMin32, 0}, {kMax32, 20}};
    for (const auto& c : toSlider)
        EXPECT_EQ(TAnimationCellDialog::SliderPosition(c.Value), c.Position) << c.Value;
    const struct {
        int Position;
        std::int32_t Value;
    } fromSlider[] = {{0, 0}, {1, 10}, {13, 130}, {20, 200}, {21, 200}, {-1, 0}};
    for (const auto& c : fromSlider)
        EXPECT_EQ(TAnimationCellDialog::SliderValue(c.Position), c.Value) << c.Position;
    for (int p = 0; p <= TAnimationCellDialog::kSliderMax; ++p)
        EXPECT_EQ(TAnimationCellDialog::SliderPosition(TAnimationCellDialog::SliderValue(p)), p);
}

TEST_F(AnimationPageTest, PreviewViewScrollsBeyondTheScreen) {
    Anim().Scope = TKelAnimationItem::asAll;
    AddCell(FrameOf(Anim(), 1), -250, 0);  // its square spans x -138 .. -43 of the screen
    AddCell(FrameOf(Anim(), 1), 20, 10);
    Page().SelectCell(0);
    TOrlenBoard home, shifted, left;
    Page().DrawPreview(home);
    Page().DrawPreview(shifted, 16, 8);
    int differing = 0;
    for (int y = 0; y + 8 < kAnimationPreviewHeight; ++y)
        for (int x = 0; x + 16 < kAnimationPreviewWidth; ++x)
            differing += shifted.ScanLine(y)[x] != home.ScanLine(y + 8)[x + 16];
    EXPECT_EQ(differing, 0) << "the same picture, moved by the view";
    Page().DrawPreview(left, -160, 0);
    EXPECT_EQ(left.ScanLine(80)[10], 0) << "black beyond the screen";
    EXPECT_EQ(left.ScanLine(80)[22], 0xFFFF) << "the selected cell's frame, off the screen at home";
    EXPECT_EQ(left.ScanLine(80)[170], home.ScanLine(80)[10]);
}

TEST_F(AnimationPageTest, ComplementInterpolatesBetweenTheEndFramesAndLeavesTheLastOne) {
    Anim().SetFrameCount(5);
    TKelAnimationCellItem& r = AddCell(FrameOf(Anim(), 1), 0, 10);
    r.Pattern = 0;
    r.Red = 0;
    TKelAnimationCellItem& s = AddCell(FrameOf(Anim(), 5), 2, 30);
    s.Pattern = 4;
    s.Magnification = 200;
    s.Red = 200;
    // Cell 2 stands in frame 1 but is hidden in frame 5: it is not interpolated.
    AddCell(FrameOf(Anim(), 1), 50, 50);
    AddCell(FrameOf(Anim(), 5), 90, 90).Visible = 0;
    // Cell 3 exists in both; frame 2 has no such cell yet.
    AddCell(FrameOf(Anim(), 1), 0, 0);
    AddCell(FrameOf(Anim(), 5), 0, 0);
    AddCell(FrameOf(Anim(), 1), 0, 0).X = 0;
    AddCell(FrameOf(Anim(), 5), 0, 0).X = 40;
    TComplementItems items;
    items.Pattern = items.Motion = true;
    // Reversed ranges are swapped.
    Page().RunComplement(5, 1, 4, 1, items);
    const auto back = Reloaded();
    const TKelAnimationItem& anim = *back->Animation.FindByID(1);
    EXPECT_EQ(FirstX(anim), (std::vector<std::int32_t>{0, 0, 1, 2, 2}));
    const std::int32_t ys[] = {10, 15, 20, 25, 30};
    const std::int32_t patterns[] = {0, 1, 2, 3, 4};
    const std::int32_t mags[] = {100, 125, 150, 175, 200};
    for (int f = 0; f < 5; ++f) {
        const TKelAnimationCellItem& cell = *anim.Frames.Items(f)->Cells.Items(0);
        EXPECT_EQ(cell.Y, ys[f]) << f;
        EXPECT_EQ(cell.Pattern, patterns[f]) << f;
        EXPECT_EQ(cell.Magnification, mags[f]) << f;
        EXPECT_EQ(cell.Visible, 1) << f;
        EXPECT_EQ(cell.Red, f == 0 ? 0 : f == 4 ? 200 : 100) << "tone was not chosen";
    }
    // Frames 2..4 got cells 1..4: cell 2 appended hidden, cells 3 and 4 made visible.
    const TKelAnimationPatternItem& middle = *anim.Frames.Items(2);
    ASSERT_EQ(middle.Cells.Count(), 4);
    EXPECT_EQ(middle.Cells.Items(1)->Visible, 0);
    EXPECT_EQ(middle.Cells.Items(2)->Visible, 1);
    EXPECT_EQ(middle.Cells.Items(3)->X, 20);
    EXPECT_EQ(anim.Frames.Items(4)->Cells.Items(3)->X, 40);

    // From frame 1 to 3 with 0 and 10: frame 2 gets 5; a = b does nothing.
    Anim().SetFrameCount(3);
    FrameOf(Anim(), 3).Cells.Items(0)->X = 10;
    Page().RunComplement(1, 3, 1, 1, items);
    EXPECT_EQ(FrameOf(Anim(), 2).Cells.Items(0)->X, 5);
    FrameOf(Anim(), 2).Cells.Items(0)->X = 77;
    Page().RunComplement(2, 2, 1, 8, items);
    EXPECT_EQ(FrameOf(Anim(), 2).Cells.Items(0)->X, 77);
}

TEST_F(AnimationPageTest, InsertAndDeleteRenumberTimingsAroundTheCurrentFrame) {
    Anim().SetFrameCount(5);
    for (int f = 1; f <= 5; ++f) {
        AddCell(FrameOf(Anim(), f), f, 0);
        AddTiming(f);
    }
    ASSERT_TRUE(Page().SelectFrame(2));
    ASSERT_TRUE(Page().InsertFrame());
    {
        const auto back = Reloaded();
        const TKelAnimationItem& anim = *back->Animation.FindByID(1);
        EXPECT_EQ(FirstX(anim), (std::vector<std::int32_t>{1, 2, 3, 3, 4, 5}));
        EXPECT_EQ(TimingFrames(anim), (std::vector<std::int32_t>{1, 2, 4, 5, 6}));
    }
    ASSERT_TRUE(Page().DeleteFrame());
    ASSERT_TRUE(Page().DeleteFrame());
    const auto back = Reloaded();
    const TKelAnimationItem& anim = *back->Animation.FindByID(1);
    EXPECT_EQ(FirstX(anim), (std::vector<std::int32_t>{1, 2, 4, 5}));
    // Timings of frame 3 keep their number, later ones move one earlier.
    EXPECT_EQ(TimingFrames(anim), (std::vector<std::int32_t>{1, 2, 3, 3, 4}));

    Page().SetFrameCount(5000);
    EXPECT_EQ(Page().FrameCount(), kAnimationMaxFrames);
    EXPECT_FALSE(Page().InsertFrame());
    EXPECT_EQ(Page().FrameCount(), kAnimationMaxFrames);
    Page().SetFrameCount(0);
    EXPECT_EQ(Page().FrameCount(), 1);
    EXPECT_FALSE(Page().DeleteFrame());
    EXPECT_EQ(Page().FrameCount(), 1);
}

TEST_F(AnimationPageTest, FrameClipboardAndGetPrevious) {
    Anim().SetFrameCount(3);
    AddCell(FrameOf(Anim(), 1), 11, 0);
    AddCell(FrameOf(Anim(), 2), 22, 0);
    EXPECT_FALSE(Page().CanGetPrevious());
    Page().SelectFrame(1);
    ASSERT_TRUE(Page().CutFrame());
    EXPECT_EQ(FrameOf(Anim(), 2).Cells.Count(), 0);
    Page().SelectFrame(2);
    ASSERT_TRUE(Page().PasteFrame());
    Page().SelectFrame(1);
    ASSERT_TRUE(Page().GetPrevious());
    EXPECT_EQ(FirstX(*Reloaded()->Animation.FindByID(1)), (std::vector<std::int32_t>{11, 11, 22}));
    // A damaged block changes nothing.
    mClipboard.SetData(TKelAnimationPatternItem::kClipboardFormat, MakeClipboardBlock(1, "\x01\x7f\x05"));
    EXPECT_FALSE(Page().PasteFrame());
    EXPECT_EQ(FirstX(Anim()), (std::vector<std::int32_t>{11, 11, 22}));
}

TEST_F(AnimationPageTest, CopyPageSkipsOnlyTargetsBeyondTheLastFrame) {
    struct TCase {
        const char* What;
        std::int32_t A, B, C;
        TFrameToolOperation Op;
        std::vector<std::int32_t> Xs;
    };
    using enum TFrameToolOperation;
    const TCase cases[] = {
        {"plain copy", 1, 2, 4, CopyPage, {1, 2, 3, 1, 2}},
        {"the target beyond the end is skipped", 1, 3, 4, CopyPage, {1, 2, 3, 1, 2}},
        {"reversed range, the last frame written", 2, 1, 5, CopyPage, {1, 2, 3, 4, 1}},
        {"overlap towards the end", 1, 3, 2, CopyPage, {1, 1, 2, 3, 5}},
        {"overlap towards the start", 2, 4, 1, CopyPage, {2, 3, 4, 4, 5}},
        {"onto itself", 2, 3, 2, CopyPage, {1, 2, 3, 4, 5}},
        {"clear", 3, 2, 1, Clear, {1, 0, 0, 4, 5}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Anim().Frames.Clear();
        Anim().SetFrameCount(5);
        for (int f = 1; f <= 5; ++f)
            AddCell(FrameOf(Anim(), f), f, 0);
        Page().RunFrameTool(c.A, c.B, c.C, c.Op);
        EXPECT_EQ(FirstX(*Reloaded()->Animation.FindByID(1)), c.Xs);
    }
}

TEST_F(AnimationPageTest, PressPlacesSnappedCellsUpToEightAndHitsTopDown) {
    Anim().Scope = TKelAnimationItem::asAll;  // the origin is (160, 80)
    Page().SelectPattern(6);
    ASSERT_TRUE(Page().Press(165, 84, true, false));
    Page().Release();
    TKelAnimationCellItem* cell = Page().Cell(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->X, 8);
    EXPECT_EQ(cell->Y, 0);
    EXPECT_EQ(cell->Pattern, 6);
    // A cell only clicked keeps its place.
    cell->X = 3;
    ASSERT_TRUE(Page().Press(165, 84, true, false));
    Page().Release();
    EXPECT_EQ(Page().SelectedCell(), 0);
    EXPECT_EQ(Page().Cell(0)->X, 3);
    EXPECT_EQ(Page().Frame().Cells.Count(), 1);
    // Outside the coordinate range, or with the right button: nothing is placed.
    EXPECT_FALSE(Page().Press(160 + 321 + 48, 80, true, false));
    EXPECT_FALSE(Page().Press(10, 10, false, false));
    EXPECT_EQ(Page().Frame().Cells.Count(), 1);

    // Up to eight; a hidden slot is reused.
    for (int i = 1; i < 8; ++i)
        EXPECT_TRUE(Page().Press(160 - 280 + 80 * i, 80 + (i % 2) * 200 - 100, true, false)) << i;
    EXPECT_EQ(Page().Frame().Cells.Count(), 8);
    EXPECT_FALSE(Page().Press(460, 380, true, false));
    EXPECT_EQ(Page().Frame().Cells.Count(), 8);
    Page().Cell(4)->Visible = 0;
    ASSERT_TRUE(Page().Press(460, 380, true, false));
    EXPECT_EQ(Page().SelectedCell(), 4);
    EXPECT_EQ(Page().Cell(4)->X, 296);
    EXPECT_EQ(Page().Frame().Cells.Count(), 8);

    // Three cells under one point: the top one, with Ctrl the next lower; hidden ones are skipped.
    Page().Frame().Cells.Clear();
    for (int i = 0; i < 3; ++i)
        AddCell(Page().Frame(), 0, 0);
    EXPECT_EQ(Page().HitTest(160, 80, false), 2);
    EXPECT_EQ(Page().HitTest(160, 80, true), 1);
    Page().Cell(2)->Visible = 0;
    EXPECT_EQ(Page().HitTest(160, 80, false), 1);
    EXPECT_EQ(Page().HitTest(160, 80, true), 0);
    EXPECT_EQ(Page().HitTest(160 + 48, 80, false), -1);  // the square's right edge is outside
    Page().Cell(1)->Magnification = 200;
    EXPECT_EQ(Page().HitTest(160 + 95, 80 - 96, false), 1);
}

TEST_F(AnimationPageTest, DragStepsByTheGridSnapsAndStopsAtTheLimit) {
    Anim().Scope = TKelAnimationItem::asAll;
    struct TCase {
        const char* What;
        bool Snap;
        std::int32_t StartX;
        int PointerX;
        bool Shift;
        std::int32_t X, OtherX;
    };
    const TCase cases[] = {
        {"two steps of 8", true, 0, 160 + 13, false, 16, 5},
        {"steps from 3, then snapped", true, 3, 160 + 3 + 5, false, 8, 5},
        {"within half a step: no move", true, 3, 160 + 3 + 4, false, 3, 5},
        {"left", true, 0, 160 - 12, false, -8, 5},
        {"one pixel without the grid", false, 0, 160 + 13, false, 13, 5},
        {"clamped at 320", true, 316, 160 + 100000, false, 320, 5},
        {"from beyond the limit", true, 900, 160 + 100000, false, 320, 5},
        {"with Shift the other cell follows, snapped", true, 0, 160 + 13, true, 16, 24},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        db->System.SnapTo = c.Snap ? 1 : 0;
        Page().Frame().Cells.Clear();
        AddCell(Page().Frame(), 5, 150);
        AddCell(Page().Frame(), c.StartX, 0);
        ASSERT_TRUE(Page().Press(160 + c.StartX, 80, true, false));
        ASSERT_EQ(Page().SelectedCell(), 1);
        Page().Drag(c.PointerX, 80, c.Shift);
        Page().Release();
        EXPECT_EQ(Page().Cell(1)->X, c.X);
        EXPECT_EQ(Page().Cell(0)->X, c.OtherX);
        EXPECT_EQ(Page().Cell(1)->Y, 0);
    }
}

TEST_F(AnimationPageTest, ArrowsPriorityAndCellClipboard) {
    Anim().Scope = TKelAnimationItem::asAll;
    AddCell(Page().Frame(), 0, 0);
    AddCell(Page().Frame(), 20, 0);
    Page().SelectCell(0);
    EXPECT_TRUE(Page().MoveCell(1, 0, false));
    EXPECT_EQ(Page().Cell(0)->X, 8);
    EXPECT_TRUE(Page().MoveCell(0, -1, true));
    EXPECT_EQ(Page().Cell(0)->Y, -8);
    EXPECT_EQ(Page().Cell(1)->Y, -8);
    EXPECT_EQ(Page().Cell(1)->X, 16);  // snapped when it moved: 20 lies half-way

    // Priority up from the last cell appends a hidden one; the selection follows.
    Page().SelectCell(1);
    EXPECT_FALSE(Page().CanPriorityDown() && Page().SelectedCell() == 0);
    ASSERT_TRUE(Page().PriorityUp());
    EXPECT_EQ(Page().SelectedCell(), 2);
    ASSERT_EQ(Page().Frame().Cells.Count(), 3);
    EXPECT_EQ(Page().Cell(1)->Visible, 0);
    EXPECT_EQ(Page().Cell(2)->X, 16);
    ASSERT_TRUE(Page().PriorityDown());
    ASSERT_TRUE(Page().PriorityDown());
    EXPECT_EQ(Page().SelectedCell(), 0);
    EXPECT_EQ(Page().Cell(0)->X, 16);
    EXPECT_FALSE(Page().PriorityDown());

    // Pasting over a cell at the same place and size moves it by (8, 8) until it is free.
    Page().Frame().Cells.Clear();
    AddCell(Page().Frame(), 0, 0);
    AddCell(Page().Frame(), 8, 8);
    Page().SelectCell(0);
    ASSERT_TRUE(Page().CopyCell());
    ASSERT_TRUE(Page().PasteCell());
    EXPECT_EQ(Page().SelectedCell(), 2);
    EXPECT_EQ(Page().Cell(2)->X, 16);
    EXPECT_EQ(Page().Cell(2)->Y, 16);
    // At the limit the shift stops (and the paste ends).
    Page().Frame().Cells.Clear();
    AddCell(Page().Frame(), 320, 320);
    AddCell(Page().Frame(), 316, 320).Magnification = 100;
    Page().SelectCell(1);
    ASSERT_TRUE(Page().CopyCell());
    ASSERT_TRUE(Page().PasteCell());
    EXPECT_EQ(Page().Cell(2)->X, 320);
    EXPECT_EQ(Page().Cell(2)->Y, 320);
    ASSERT_TRUE(Page().PasteCell());
    EXPECT_EQ(Page().Cell(3)->X, 320);
    // Cut leaves a free slot that the next paste takes.
    Page().SelectCell(0);
    ASSERT_TRUE(Page().CutCell());
    EXPECT_EQ(Page().Cell(0)->Visible, 0);
    ASSERT_TRUE(Page().PasteCell());
    EXPECT_EQ(Page().SelectedCell(), 0);
    const auto back = Reloaded();
    const TKelAnimationCell& cells = back->Animation.FindByID(1)->Frames.Items(0)->Cells;
    ASSERT_EQ(cells.Count(), 4);
    EXPECT_EQ(cells.Items(0)->Visible, 1);
}

TEST_F(AnimationPageTest, PastedCellsFromAfarLandOnThePreviewRange) {
    struct TCase {
        std::int32_t X, Y;
        bool Occupied;  // a visible cell already stands where the clamped cell lands
        std::int32_t WantX, WantY;
    };
    const TCase cases[] = {
        {kMax32, kMin32, false, 320, -320},
        {-700, 5, false, -320, 5},
        {kMax32, kMin32, true, 320, -312},  // clamped first, then stepped aside
    };
    for (const TCase& c : cases) {
        Page().Frame().Cells.Clear();
        if (c.Occupied)
            AddCell(Page().Frame(), 320, -320);
        TKelAnimationCellItem far;
        far.X = c.X;
        far.Y = c.Y;
        far.CopyToClipboard(TKelAnimationCellItem::kClipboardFormat);
        ASSERT_TRUE(Page().PasteCell());
        const TKelAnimationCellItem* pasted = Page().Cell(Page().SelectedCell());
        ASSERT_NE(pasted, nullptr);
        EXPECT_EQ(pasted->X, c.WantX) << c.X << ", " << c.Y;
        EXPECT_EQ(pasted->Y, c.WantY) << c.X << ", " << c.Y;
    }
}

TEST_F(AnimationPageTest, CellsWithoutRoomAboveTheirIdsStillGetANewOne) {
    // A frame read from a block whose last cell has the highest ID: placing, priority and
    // complement append after it without the ID running over, and the order stays.
    TKelAnimationPatternItem far;
    far.Cells.Obtain(1).X = 10;
    far.Cells.Obtain(kMax32).X = 20;
    far.CopyToClipboard(TKelAnimationPatternItem::kClipboardFormat);
    ASSERT_TRUE(Page().PasteFrame());
    ASSERT_TRUE(Page().Press(Page().OriginX() - 96, Page().OriginY(), true, false));
    Page().Release();
    const TKelAnimationCell& cells = Page().Frame().Cells;
    ASSERT_EQ(cells.Count(), 3);
    EXPECT_EQ(cells.Items(0)->X, 10);
    EXPECT_EQ(cells.Items(1)->X, 20);
    EXPECT_EQ(cells.Items(2)->X, -96);
    EXPECT_EQ(cells.Items(2)->ID, 3);
}

TEST_F(AnimationPageTest, AnchorAndScopeChangesKeepCellsOnScreen) {
    struct TCase {
        const char* What;
        std::int32_t Victim;
        std::uint8_t Scope, Line;
        bool ToScope;  // else the line changes
        std::int32_t To;
    };
    const TCase cases[] = {
        {"head to feet", 1, 0, 0, false, 2}, {"feet to centre", 1, 0, 2, false, 1},
        {"single feet to all", 1, 0, 2, true, 1}, {"all to single head", 1, 1, 0, true, 0},
        {"odd height, head to centre", 2, 0, 0, false, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        db->System.TestVictim = c.Victim;
        Anim().Frames.Clear();
        Anim().SetFrameCount(2);
        Anim().Scope = c.Scope;
        Anim().YLine = c.Line;
        AddCell(FrameOf(Anim(), 1), 0, 10);
        AddCell(FrameOf(Anim(), 2), 0, -7);
        const int screen = Page().OriginY() + 10;
        if (c.ToScope)
            Page().SetScope(c.To);
        else
            EXPECT_TRUE(Page().SetYLine(c.To));
        if (c.Victim == 1)  // even height: exactly in place
            EXPECT_EQ(Page().OriginY() + FrameOf(Anim(), 1).Cells.Items(0)->Y, screen);
        // And back: every y as it was.
        if (c.ToScope)
            Page().SetScope(c.Scope);
        else
            Page().SetYLine(c.Line);
        const auto back = Reloaded();
        const TKelAnimationItem& anim = *back->Animation.FindByID(1);
        EXPECT_EQ(anim.Frames.Items(0)->Cells.Items(0)->Y, 10);
        EXPECT_EQ(anim.Frames.Items(1)->Cells.Items(0)->Y, -7);
        EXPECT_EQ(anim.Scope, c.Scope);
        EXPECT_EQ(anim.YLine, c.Line);
    }
    // "All" centres the victim: the origin is (160, 80); the anchor cannot change there.
    Anim().Scope = TKelAnimationItem::asAll;
    EXPECT_EQ(Page().OriginY(), 80);
    EXPECT_FALSE(Page().SetYLine(0));
    // Values from a file saturate instead of wrapping.
    Anim().Scope = TKelAnimationItem::asSingle;
    Anim().YLine = TKelAnimationItem::ylHead;
    db->System.TestVictim = 1;
    FrameOf(Anim(), 1).Cells.Items(0)->Y = kMin32 + 3;
    Page().SetYLine(2);
    EXPECT_EQ(FrameOf(Anim(), 1).Cells.Items(0)->Y, kMin32);
}

TEST_F(AnimationPageTest, TimingListStaysSortedAndStopsAtFiveHundred) {
    Anim().SetFrameCount(10);
    TKelAnimationTimingItem timing;
    Page().TimingForRow(0, timing);
    timing.Frame = 3;
    EXPECT_EQ(Page().SetTiming(0, timing), 0);
    timing.Frame = 1;
    timing.Sound.Name = "Hit";
    EXPECT_EQ(Page().SetTiming(1, timing), 0);
    timing.Frame = 3;
    timing.Sound.Name = "Bell";
    timing.FlashRange = TKelAnimationTimingItem::frTarget;
    timing.FlashRed = 4;
    EXPECT_EQ(Page().SetTiming(2, timing), 1) << "the edited timing stays selected";
    EXPECT_EQ(Page().SetTiming(7, timing), -1) << "only the last row adds";
    const auto texts = Page().TimingRowTexts(1);
    EXPECT_EQ(texts[0], " < 03 >");
    EXPECT_EQ(texts[1], "Bell");
    EXPECT_EQ(texts[2], "Object(R04,G31,B31,V31)");
    EXPECT_EQ(Page().TimingRowTexts(2)[1], "");
    EXPECT_EQ(Page().TimingRowCount(), 4);
    // Editing moves the timing to its place.
    Page().TimingForRow(0, timing);
    timing.Frame = 9;
    EXPECT_EQ(Page().SetTiming(0, timing), 2);
    {
        const auto back = Reloaded();
        EXPECT_EQ(TimingFrames(*back->Animation.FindByID(1)), (std::vector<std::int32_t>{3, 3, 9}));
        EXPECT_EQ(back->Animation.FindByID(1)->Timing.Items(0)->Sound.Name, "Bell");
    }
    // Copy and paste through 570; cut removes.
    ASSERT_TRUE(Page().CopyTiming(2));
    EXPECT_EQ(Page().PasteTiming(), 3);
    EXPECT_EQ(Page().CutTiming(0), 0);
    EXPECT_EQ(TimingFrames(*Reloaded()->Animation.FindByID(1)), (std::vector<std::int32_t>{3, 9, 9}));
    // Five hundred at most, by edit or paste.
    while (Anim().Timing.Count() < kAnimationMaxTimings)
        AddTiming(5);
    EXPECT_EQ(Page().SetTiming(kAnimationMaxTimings, timing), -1);
    EXPECT_FALSE(Page().CanPasteTiming());
    EXPECT_EQ(Page().PasteTiming(), -1);
    EXPECT_EQ(Anim().Timing.Count(), kAnimationMaxTimings);
}

TEST_F(AnimationPageTest, ManyCellsAndRememberedValuesClampedToTheFrames) {
    Anim().SetFrameCount(3);
    for (int f = 1; f <= 3; ++f) {
        AddCell(FrameOf(Anim(), f), 0, 0);
        AddCell(FrameOf(Anim(), f), 0, 0).Visible = 0;
    }
    TManyCellsSettings settings = Page().RememberedManyCells();
    ASSERT_EQ(settings.Frames.size(), 3u);
    settings.Frames[0] = settings.Frames[2] = true;
    settings.Cells[0] = settings.Cells[1] = true;
    settings.SetPattern = settings.SetColor = true;
    settings.Pattern = 5;
    settings.Red = 20;
    Page().RunManyCells(settings);
    const auto back = Reloaded();
    const TKelAnimationItem& anim = *back->Animation.FindByID(1);
    EXPECT_EQ(anim.Frames.Items(0)->Cells.Items(0)->Pattern, 4);
    EXPECT_EQ(anim.Frames.Items(0)->Cells.Items(0)->Red, 20);
    EXPECT_EQ(anim.Frames.Items(1)->Cells.Items(0)->Pattern, 0) << "frame 2 was not marked";
    EXPECT_EQ(anim.Frames.Items(2)->Cells.Items(1)->Pattern, 0) << "hidden cells stay";
    EXPECT_TRUE(Page().RememberedManyCells().Frames[2]);

    // The complement remembers the last frame as "the last frame", the rest as numbers.
    Anim().SetFrameCount(20);
    Page().RunComplement(18, 20, 9, 2, {});
    Page().RunFrameTool(17, 19, 15, TFrameToolOperation::Clear);
    Page().SetFrameCount(5);
    std::int32_t a = 0, b = 0, c = 0, d = 0;
    TComplementItems items{true, true, true};
    Page().RememberedComplement(a, b, c, d, items);
    EXPECT_EQ(std::vector<std::int32_t>({a, b, c, d}), std::vector<std::int32_t>({5, 5, 8, 2}));
    EXPECT_FALSE(items.Pattern);
    Page().SetFrameCount(30);
    Page().RememberedComplement(a, b, c, d, items);
    EXPECT_EQ(b, 30);
    TFrameToolOperation op = TFrameToolOperation::CopyPage;
    Page().SetFrameCount(4);
    Page().RememberedFrameTool(a, b, c, op);
    EXPECT_EQ(std::vector<std::int32_t>({a, b, c}), std::vector<std::int32_t>({4, 4, 4}));
    EXPECT_EQ(op, TFrameToolOperation::Clear);
}

TEST_F(AnimationPageTest, EveryChangeMarksTheAnimationDirtyAndReachesTheFile) {
    const auto prepare = [this] {
        Anim().Scope = TKelAnimationItem::asSingle;
        Anim().SetFrameCount(4);
        AddCell(FrameOf(Anim(), 1), 0, 0);
        AddCell(FrameOf(Anim(), 2), 16, 16);
        AddTiming(2);
        Page().SelectFrame(1);
        Page().SelectCell(0);
        Page().CopyFrame();
    };
    struct TCase {
        const char* What;
        std::function<void(TAnimationPageModel&)> Run;
    };
    const TCase cases[] = {
        {"name", [](TAnimationPageModel& m) { m.SetName("Blaze"); }},
        {"image", [](TAnimationPageModel& m) { m.SetFileName("Flame"); }},
        {"scope", [](TAnimationPageModel& m) { m.SetScope(1); }},
        {"anchor", [](TAnimationPageModel& m) { m.SetYLine(0); }},
        {"max frame", [](TAnimationPageModel& m) { m.SetFrameCount(7); }},
        {"paste frame", [](TAnimationPageModel& m) { m.SelectFrame(3), m.PasteFrame(); }},
        {"clear frame", [](TAnimationPageModel& m) { m.ClearFrame(); }},
        {"insert frame", [](TAnimationPageModel& m) { m.InsertFrame(); }},
        {"delete frame", [](TAnimationPageModel& m) { m.DeleteFrame(); }},
        {"get previous", [](TAnimationPageModel& m) { m.GetPrevious(); }},
        {"place a cell", [](TAnimationPageModel& m) { m.Press(20, 20, true, false); }},
        {"drag", [](TAnimationPageModel& m) { m.Press(176, m.OriginY() + 16, true, false), m.Drag(250, 10, false); }},
        {"arrow", [](TAnimationPageModel& m) { m.MoveCell(0, 1, false); }},
        {"priority", [](TAnimationPageModel& m) { m.PriorityUp(); }},
        {"delete cell", [](TAnimationPageModel& m) { m.DeleteCell(); }},
        {"cell properties",
         [](TAnimationPageModel& m) {
             TKelAnimationCellItem values;
             values.Magnification = 300;
             m.SetCellProperties(values);
         }},
        {"timing", [](TAnimationPageModel& m) {
             TKelAnimationTimingItem t;
             m.TimingForRow(1, t);
             m.SetTiming(1, t);
         }},
        {"delete timing", [](TAnimationPageModel& m) { m.DeleteTiming(0); }},
        {"frame tool", [](TAnimationPageModel& m) { m.RunFrameTool(2, 2, 4, TFrameToolOperation::CopyPage); }},
        {"complement", [](TAnimationPageModel& m) { m.RunComplement(1, 1, 1, 1, {}); }},
        {"many cells",
         [](TAnimationPageModel& m) {
             TManyCellsSettings s = m.RememberedManyCells();
             s.Frames[1] = true;
             s.Cells[0] = true;
             s.SetTransparency = true;
             s.Transparency = 50;
             m.RunManyCells(s);
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        model.reset();
        db = std::make_unique<TKelDataBase>();
        db->Monster.Obtain(1).GraphicName = "Slime";
        db->Animation.Obtain(1).Name = "Fire";
        prepare();
        // Saved and read back: clean.
        db = Reloaded();
        model.reset();
        Page().SelectFrame(1);
        Page().SelectCell(0);
        ASSERT_FALSE(Anim().Dirty);
        const std::string before = FileBytes();
        int modified = 0;
        const TConnection counted = Page().Modified.Connect([&] { ++modified; });
        c.Run(Page());
        EXPECT_GE(modified, 1);
        EXPECT_TRUE(Anim().Dirty);
        db->SaveToFile(mFolder + "GMK_RT.kdb");
        EXPECT_NE(FileBytes(), before);
    }
}

TEST_F(AnimationPageTest, PlaybackStepsRunTenEmptyStepsAroundTheFrames) {
    Anim().SetFrameCount(3);
    AddTiming(2, "Hit");
    AddTiming(2, "Bell");
    AddTiming(3);
    const std::vector<TPlaybackStep> steps = Page().PlaybackSteps();
    ASSERT_EQ(steps.size(), 23u);
    EXPECT_EQ(steps.front().Millis, 0);
    EXPECT_EQ(steps.front().Frame, -1);
    EXPECT_EQ(steps[11].Frame, 1);
    EXPECT_EQ(steps[11].Millis, 330 + 33);
    EXPECT_EQ(steps[11].Sounds, (std::vector<std::string>{"Hit", "Bell"}));
    EXPECT_TRUE(steps[12].Sounds.empty()) << "a silent cue plays nothing";
    EXPECT_EQ(steps.back().Index, 12);

    // The sounds reach the player when the step is drawn.
    std::vector<std::string> played;
    TDataBaseContext context;
    context.DataBase = db.get();
    TAnimationPageModel page(context, nullptr, {}, [&](const TKelSound& s) { played.push_back(s.Name); });
    page.BeginPlayback();
    TOrlenBoard board;
    for (const TPlaybackStep& step : page.PlaybackSteps())
        page.DrawPlaybackStep(board, step);
    page.EndPlayback();
    EXPECT_EQ(played, (std::vector<std::string>{"Hit", "Bell"}));
    EXPECT_EQ(board.Width(), kAnimationPreviewWidth);
}

}  // namespace
}  // namespace quillon
