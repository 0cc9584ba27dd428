// The marks and icons the event map draws into a cell.
#include "MapEditTestKit.h"

#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr std::uint16_t kBackdrop = 0x1234;
constexpr std::uint16_t kWhite = 0xFFFF;

struct TMarkFixture {
    std::unique_ptr<TKelMap> Map = MakeMap(4, 4);
    TKelMapTree Tree;
    TKelEventMap Events;
    TOrlenBoard Board, Reference;
    TStartPosMark Marks;

    TMarkFixture() {
        for (TOrlenBoard* board : {&Board, &Reference}) {
            board->SetSize(64, 64);
            FillBoardRect(*board, MakeBounds(0, 0, 64, 64), kBackdrop);
        }
    }
    TKelEventPageItem& AddEventPage(std::int32_t id) {
        TKelEventItem& event = Map->Events.Obtain(id);
        return event.Pages.Obtain(1);
    }
    std::uint16_t At(int x, int y) const { return Board.ScanLine(y)[x]; }
    bool SameAsReference() const {
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (Board.ScanLine(y)[x] != Reference.ScanLine(y)[x])
                    return false;
        return true;
    }
};

}  // namespace

TEST(EventMarkTest, StartPositionsAndSmallOrFaintEventsDrawMarks) {
    const struct {
        int Size;
        std::int32_t Code;
        bool Faint;
        int Mark;
    } cases[] = {
        {32, kEventCodeBoat, false, TStartPosMark::smBoat},
        {16, kEventCodeAirship, true, TStartPosMark::smAirship},
        {8, 5, false, TStartPosMark::smEvent},
        {4, 5, false, TStartPosMark::smEvent},
        {32, 5, true, TStartPosMark::smEvent},
    };
    for (const auto& c : cases) {
        TMarkFixture f;
        f.Events.Build(f.Tree, *f.Map);
        f.Events.DrawCell(f.Board, 8, 16, c.Size, c.Code, c.Faint);
        f.Marks.Draw(f.Reference, 8, 16, c.Size, c.Mark, c.Faint);
        EXPECT_TRUE(f.SameAsReference()) << "size " << c.Size << " code " << c.Code;
        int drawn = 0;
        for (int y = 16; y < 16 + c.Size; ++y)
            for (int x = 8; x < 8 + c.Size; ++x)
                drawn += f.At(x, y) != kBackdrop;
        EXPECT_GT(drawn, 0) << "size " << c.Size << " code " << c.Code;
    }
    // Codes that name nothing draw nothing.
    TMarkFixture f;
    for (std::int32_t code : {0, -1, 60005, 70000})
        f.Events.DrawCell(f.Board, 0, 0, 32, code, false);
    EXPECT_TRUE(f.SameAsReference());
}

TEST(EventMarkTest, EventIconsInAWhiteSquare) {
    TKelChipSetGraphic chips;
    chips.Sheet().Palette[0] = TPaletteEntry{255, 0, 0, 0};
    const std::uint16_t red = Color565(chips.Sheet().Palette[0]);
    TKelCharSetGraphic charSets;
    TMarkFixture f;
    f.AddEventPage(1).GraphicIndex = 3;           // a tile
    f.AddEventPage(2).GraphicName = "Missing";    // a character set not in the cache
    f.Map->Events.Obtain(3).Pages.Clear();        // no page
    f.Events.Build(f.Tree, *f.Map);
    f.Events.SetGraphics(&chips, &charSets);

    // Size 16: the 13 x 13 square at +1, the tile's 11 x 11 middle at +2.
    f.Events.DrawCell(f.Board, 0, 0, 16, 1, false);
    EXPECT_EQ(f.At(0, 0), kBackdrop);
    EXPECT_EQ(f.At(1, 1), kWhite);
    EXPECT_EQ(f.At(2, 2), red);
    EXPECT_EQ(f.At(12, 12), red);
    EXPECT_EQ(f.At(13, 13), kWhite);
    EXPECT_EQ(f.At(14, 14), kBackdrop);
    EXPECT_FALSE(chips.Sheet().Transparent);  // the sheet is left as it was
    EXPECT_EQ(chips.Sheet().Opacity, 255);

    // Size 32: the 23 x 23 square at +4, the 21 x 21 background at +5.
    f.Events.DrawCell(f.Board, 32, 0, 32, 1, false);
    EXPECT_EQ(f.At(35, 3), kBackdrop);
    EXPECT_EQ(f.At(36, 4), kWhite);
    EXPECT_EQ(f.At(37, 5), red);
    EXPECT_EQ(f.At(57, 25), red);
    EXPECT_EQ(f.At(58, 26), kWhite);
    EXPECT_EQ(f.At(59, 27), kBackdrop);

    // A character set that is not cached, and an event without a page: the white square alone.
    f.Events.DrawCell(f.Board, 0, 32, 16, 2, false);
    f.Events.DrawCell(f.Board, 32, 32, 32, 3, false);
    EXPECT_EQ(f.At(2, 34), kWhite);
    EXPECT_EQ(f.At(37, 37), kWhite);
    // Without graphics to draw from, likewise.
    f.Events.SetGraphics(nullptr, nullptr);
    f.Events.DrawCell(f.Board, 16, 48, 16, 1, false);
    EXPECT_EQ(f.At(18, 50), kWhite);
}
