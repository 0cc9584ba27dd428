// Pointer pixels of a map picture as cells and grid points at the three zooms.
#include "controls/MapPlace.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(MapPlaceTest, CellsAndGridPointsAtEveryZoom) {
    struct Case {
        int X, Y, Size;
        TMapPoint Cell, Grid;  // grid point on a 20 × 15 map
    };
    const Case cases[] = {
        {0, 0, 32, {0, 0}, {0, 0}},
        {15, 16, 32, {0, 0}, {0, 1}},       // up to the middle: the left corner; from it: the next
        {33, 47, 16, {2, 2}, {2, 3}},
        {79, 113, 16, {4, 7}, {5, 7}},
        {-1, -9, 8, {-1, -2}, {0, 0}},      // left of and above the picture
        {5000, 5000, 8, {625, 625}, {20, 15}},  // grid points stay on the map
        {7, 7, 0, {7, 7}, {7, 7}},          // a zero cell size counts as 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "," << c.Y << " at " << c.Size);
        EXPECT_EQ(CellAtPixel(c.X, c.Y, c.Size), c.Cell);
        EXPECT_EQ(NearestGridPoint(c.X, c.Y, c.Size, 20, 15), c.Grid);
    }
    EXPECT_EQ(MapPlaceZoomOf(8), 2);
    EXPECT_EQ(MapPlaceZoomOf(32), 0);
    EXPECT_EQ(MapPlaceZoomOf(5), kMapPlaceDefaultZoom);
}

}  // namespace
}  // namespace quillon
