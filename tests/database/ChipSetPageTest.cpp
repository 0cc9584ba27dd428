// The chipset page's rules: which tile a cell shows, the passage cycles of both buttons, the four
// direction regions, terrain painting and picking, the counter flag, "Set to All", and that
// every edit survives a save and a reload of the record.
#include "database/ED_ChipSet.h"

#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillon {
namespace {

class ChipSetPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        DataBaseMemory() = {};
        context.DataBase = &db;
        for (int id = 1; id <= 4; ++id)
            db.Ground.Obtain(id).Name = "T" + std::to_string(id);
    }

    // The current chipset saved and read back into a fresh record.
    std::unique_ptr<TKelChipSetItem> Reloaded() {
        TMemoryStream stream;
        db.ChipSet.Obtain(1).SaveToStream(stream);
        auto copy = std::make_unique<TKelChipSetItem>();
        TByteViewStream in(reinterpret_cast<const std::uint8_t*>(stream.Bytes().data()), stream.Bytes().size());
        copy->LoadFromStream(in);
        return copy;
    }

    // The pixel at the centre of a cell.
    static int X(int index) { return (index % 6) * 32 + 16; }
    static int Y(int index) { return (index / 6) * 32 + 16; }

    TKelDataBase db;
    TDataBaseContext context;
};

TEST_F(ChipSetPageTest, CellsShowTheirTiles) {
    const struct {
        int Grid, Index;
        std::int32_t Tile;
    } cases[] = {
        {cgLower, 0, 49},      {cgLower, 1, 1049},    {cgLower, 2, 2049},   {cgLower, 3, 3000},
        {cgLower, 5, 3100},    {cgLower, 6, 4049},    {cgLower, 17, 4599},  {cgLower, 18, 5000},
        {cgLower, 161, 5143},  {cgLower, 162, -1},    {cgLower, -1, -1},    {cgUpper, 0, 10000},
        {cgUpper, 143, 10143}, {cgUpper, 144, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChipGridTile(c.Grid, c.Index), c.Tile) << c.Grid << " " << c.Index;
}

TEST_F(ChipSetPageTest, PositionsOutsideAGridHitNoCell) {
    EXPECT_EQ(ChipGridCellAt(cgLower, 191, 0), 5);
    EXPECT_EQ(ChipGridCellAt(cgLower, 0, 32), 6);
    EXPECT_EQ(ChipGridCellAt(cgLower, 191, 27 * 32 - 1), 161);
    // No wrap to the next row, no cell past the last row.
    EXPECT_EQ(ChipGridCellAt(cgLower, 192, 0), -1);
    EXPECT_EQ(ChipGridCellAt(cgLower, -1, 40), -1);
    EXPECT_EQ(ChipGridCellAt(cgLower, 10, 27 * 32), -1);
    EXPECT_EQ(ChipGridCellAt(cgUpper, 10, 24 * 32), -1);

    TChipSetPageModel model(context, nullptr);
    model.SetMode(cgLower, TChipSetMode::Passage);
    const auto before = Reloaded();
    EXPECT_FALSE(model.Press(TChipButton::Left, 200, 10));
    EXPECT_FALSE(model.Press(TChipButton::Left, 10, 5000));
    EXPECT_EQ(model.CellFlags(cgLower, 1), before->LowerFlags(1));
    EXPECT_EQ(model.CellFlags(cgLower, 6), before->LowerFlags(6));
}

TEST_F(ChipSetPageTest, PassageCyclesOfBothButtons) {
    using M = TPassageMark;
    const auto left = [](std::uint8_t p, bool a, int times) {
        std::vector<M> marks;
        for (int i = 0; i < times; ++i)
            marks.push_back(PassageMark(p = PassageLeftClick(p, a)));
        return marks;
    };
    const auto right = [](std::uint8_t p, bool a, int times) {
        std::vector<M> marks;
        for (int i = 0; i < times; ++i)
            marks.push_back(PassageMark(p = PassageRightClick(p, a)));
        return marks;
    };
    EXPECT_EQ(left(0x0F, false, 3), (std::vector<M>{M::Cross, M::Star, M::Circle}));
    EXPECT_EQ(left(0x0F, true, 4), (std::vector<M>{M::Cross, M::Star, M::Square, M::Circle}));
    EXPECT_EQ(right(0x0F, false, 3), (std::vector<M>{M::Star, M::Cross, M::Circle}));
    EXPECT_EQ(right(0x0F, true, 4), (std::vector<M>{M::Square, M::Star, M::Cross, M::Circle}));

    // The exact bytes of the steps that carry more than the mark.
    EXPECT_EQ(PassageRightClick(0x00, false), 0x0F) << "a cross becomes a circle with all four directions";
    EXPECT_EQ(PassageLeftClick(0x00, false), 0x1F) << "star with all directions";
    EXPECT_EQ(PassageLeftClick(0x1F, true), 0x30) << "square with the directions cleared";
    EXPECT_EQ(PassageLeftClick(0x30, true), 0x0F);
    EXPECT_EQ(PassageRightClick(0x30, true), 0x1F);
    EXPECT_EQ(PassageRightClick(0x1F, false), 0x00);
    // The counter flag rides along untouched.
    EXPECT_EQ(PassageLeftClick(0x4F, false), 0x40);
    EXPECT_EQ(PassageRightClick(0x5F, false), 0x40);
}

TEST_F(ChipSetPageTest, DirectionRegionsCutTheCellAlongItsDiagonals) {
    const struct {
        int X, Y;
        std::uint8_t Bit;
    } cases[] = {
        {16, 2, 0x08},  {30, 16, 0x04}, {2, 16, 0x02},  {16, 30, 0x01},
        {10, 10, 0x02},  // y = x and y < 32 - x: left
        {20, 20, 0x01},  // y = x and y >= 32 - x: down
        {16, 16, 0x01},  {0, 0, 0x02},  {31, 0, 0x08},  {31, 1, 0x04}, {0, 31, 0x02}, {1, 31, 0x01},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DirectionRegion(c.X, c.Y), c.Bit) << c.X << "," << c.Y;

    TChipSetPageModel model(context, nullptr);
    model.SetMode(cgLower, TChipSetMode::Direction);
    // The top triangle of cell 20 toggles only the upward bit, twice back.
    EXPECT_TRUE(model.Press(TChipButton::Left, 2 * 32 + 16, 3 * 32 + 3));
    EXPECT_EQ(model.CellFlags(cgLower, 20), 0x07);
    EXPECT_EQ(Reloaded()->LowerFlags(20), 0x07);
    EXPECT_TRUE(model.Press(TChipButton::Right, 2 * 32 + 16, 3 * 32 + 3));
    EXPECT_EQ(model.CellFlags(cgLower, 20), 0x0F);
}

TEST_F(ChipSetPageTest, UpperFirstCellAndModesOfTheUpperGrid) {
    TChipSetPageModel model(context, nullptr);
    int modified = 0;
    const TConnection heard = model.Modified.Connect([&] { ++modified; });
    model.SetGrid(cgUpper);
    EXPECT_FALSE(model.SetMode(cgUpper, TChipSetMode::Terrain));
    EXPECT_FALSE(model.SetMode(cgLower, TChipSetMode::Counter));
    for (TChipSetMode mode : {TChipSetMode::Passage, TChipSetMode::Direction, TChipSetMode::Counter}) {
        ASSERT_TRUE(model.SetMode(cgUpper, mode));
        EXPECT_FALSE(model.Press(TChipButton::Left, 5, 5));
        EXPECT_FALSE(model.Press(TChipButton::Right, 20, 20));
    }
    EXPECT_EQ(model.CellFlags(cgUpper, 0), TKelChipSetItem::kEmptyUpperChipFlags);
    EXPECT_EQ(modified, 0);

    // The counter flag of another cell toggles with either button and is saved->
    EXPECT_TRUE(model.Press(TChipButton::Left, X(7), Y(7)));
    EXPECT_EQ(Reloaded()->UpperFlags(7), 0x4F);
    EXPECT_TRUE(model.Press(TChipButton::Right, X(7), Y(7)));
    EXPECT_EQ(Reloaded()->UpperFlags(7), 0x0F);
    EXPECT_EQ(modified, 2);
    // The upper grid has no autotile cells: no square there.
    model.SetMode(cgUpper, TChipSetMode::Passage);
    for (int i = 0; i < 3; ++i)
        model.Press(TChipButton::Left, X(8), Y(8));
    EXPECT_EQ(PassageMark(model.CellFlags(cgUpper, 8)), TPassageMark::Circle);
}

TEST_F(ChipSetPageTest, TerrainIsPaintedByDraggingAndPickedWithTheRightButton) {
    TChipSetPageModel model(context, nullptr);
    ASSERT_EQ(model.TerrainRows(), 4);
    EXPECT_EQ(model.TerrainRowText(2), "0003:T3");
    model.SetTerrainRow(2);
    // A press on cell 18 and a quick stroke across the row to cell 23 paints all six.
    EXPECT_TRUE(model.Press(TChipButton::Left, X(18), Y(18)));
    EXPECT_TRUE(model.Painting());
    EXPECT_TRUE(model.Move(X(23), Y(23)));
    model.Release();
    EXPECT_FALSE(model.Move(X(30), Y(30)));
    const auto saved = Reloaded();
    for (int i = 18; i <= 23; ++i)
        EXPECT_EQ(saved->TerrainId(i), 3) << i;
    EXPECT_EQ(saved->TerrainId(30), 1);
    EXPECT_EQ(saved->TerrainId(24), 1);

    // The right button picks a cell's terrain into the list; a terrain the list lacks is not picked.
    model.SetTerrainRow(0);
    model.Press(TChipButton::Right, X(20), Y(20));
    EXPECT_EQ(model.TerrainRow(), 2);
    db.ChipSet.Obtain(1).SetTerrainId(40, 9);
    model.Press(TChipButton::Right, X(40), Y(40));
    EXPECT_EQ(model.TerrainRow(), 2);
}

TEST_F(ChipSetPageTest, SetToAllReachesEveryLowerCell) {
    TChipSetPageModel model(context, nullptr);
    EXPECT_TRUE(model.SetToAllEnabled());
    model.SetMode(cgLower, TChipSetMode::Passage);
    EXPECT_FALSE(model.SetToAllEnabled());
    EXPECT_TRUE(model.SetAllTerrain(3));
    const auto saved = Reloaded();
    for (int i = 0; i < 162; ++i)
        ASSERT_EQ(saved->TerrainId(i), 3) << i;
    EXPECT_FALSE(model.SetAllTerrain(3)) << "nothing left to change";
}

TEST_F(ChipSetPageTest, SeaSettingsRestartThePreview) {
    TChipSetPageModel model(context, nullptr);
    model.PreviewTick();
    model.PreviewTick();
    EXPECT_EQ(model.PreviewCounter(), 2);
    model.SetSeaSequence(1);
    EXPECT_EQ(model.PreviewCounter(), 0);
    model.PreviewTick();
    model.SetSeaSpeed(1);
    EXPECT_EQ(model.PreviewCounter(), 0);
    const auto saved = Reloaded();
    EXPECT_EQ(saved->SeaAnimation, 1);
    EXPECT_EQ(saved->SeaSpeed, 1);
}

}  // namespace
}  // namespace quillon
