// The tile ranges that pasted content is held to, layer by layer.
#include "mapedit/MapPasteCheck.h"

#include "data/LD_Map.h"
#include "mapedit/MapEditor.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(MapPasteCheckTest, TileRangesOfEachLayer) {
    struct TCase {
        std::int32_t Id;
        bool Lower, Upper;
    };
    const TCase cases[] = {
        {0, true, false},        {799, true, false},     // water kind 0, corner mask 15, shape 49
        {800, false, false},     {2799, true, false},    // a corner mask of 16; the last water tile
        {2800, false, false},    {2999, false, false},
        {3000, true, false},     {3149, true, false},    // three animated blocks
        {3150, false, false},    {3999, false, false},
        {4000, true, false},     {4599, true, false},    // twelve ground autotile blocks
        {4600, false, false},    {4999, false, false},
        {5000, true, false},     {5143, true, false},    // 144 plain tiles
        {5144, false, false},    {9999, false, false},
        {10000, false, true},    {10143, false, true},   // 144 upper tiles
        {10144, false, false},   {19999, false, false},
        {20000, false, false},   {65535, false, false},  {-1, false, false},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(IsLowerLayerTile(c.Id), c.Lower) << c.Id;
        EXPECT_EQ(IsUpperLayerTile(c.Id), c.Upper) << c.Id;
    }
    // A block keeps what the layers store and gets the empty tile elsewhere.
    TMapCellBlock block{2, 2, {65535, 9999, 5143, 10000}, {10143, 10144, 0, 20000}};
    TPasteReport report;
    CheckPastedCells(block, report);
    EXPECT_EQ(block.Lower, (std::vector<std::uint16_t>{kLowerFillValue, kLowerFillValue, 5143, kLowerFillValue}));
    EXPECT_EQ(block.Upper, (std::vector<std::uint16_t>{10143, kUpperFillValue, kUpperFillValue, kUpperFillValue}));
    EXPECT_EQ(report.LowerTilesReplaced, 3);
    EXPECT_EQ(report.UpperTilesReplaced, 3);
    EXPECT_FALSE(report.Empty());
}

}  // namespace
}  // namespace quillon
