#include "player/ScreenFit.h"

#include <gtest/gtest.h>

namespace quillon::player {
namespace {

TEST(ScreenFit, LargestWholeFactorCentredWithBlackBars) {
    struct TCase {
        int Width, Height;
        int Scale, X, Y;
    };
    const TCase cases[] = {
        {320, 240, 1, 0, 0},       // exactly the screen
        {640, 480, 2, 0, 0},       // the window's first size
        {800, 600, 2, 80, 60},     // bars on all sides
        {1920, 1080, 4, 320, 60},  // wide monitor: bars left and right
        {1280, 1024, 4, 0, 32},    // tall monitor: bars above and below
        {959, 2000, 2, 159, 760},  // one pixel short of factor 3 across
        {960, 720, 3, 0, 0},
        {3840, 2160, 9, 480, 0},
    };
    for (const TCase& c : cases) {
        const TScreenFit fit = FitScreen(c.Width, c.Height);
        EXPECT_EQ(fit.Scale, c.Scale) << c.Width << "x" << c.Height;
        EXPECT_EQ(fit.X, c.X) << c.Width << "x" << c.Height;
        EXPECT_EQ(fit.Y, c.Y) << c.Width << "x" << c.Height;
        EXPECT_EQ(fit.Width, 320 * c.Scale);
        EXPECT_EQ(fit.Height, 240 * c.Scale);
    }
}

TEST(ScreenFit, AnOutputSmallerThanTheScreenShowsItsMiddleAtFactorOne) {
    const TScreenFit fit = FitScreen(200, 100);
    EXPECT_EQ(fit.Scale, 1);
    EXPECT_EQ(fit.X, -60);
    EXPECT_EQ(fit.Y, -70);
    const TScreenFit empty = FitScreen(0, 0);
    EXPECT_EQ(empty.Scale, 1);
    EXPECT_EQ(empty.X, -160);
}

}  // namespace
}  // namespace quillon::player
