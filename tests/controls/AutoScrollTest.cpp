// Middle-button auto-scroll: speeds from the distance, and when a scroll starts and ends.
#include "controls/AutoScroll.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(AutoScrollTest, SpeedGrowsBeyondTheDeadZoneAndIsCapped) {
    const std::pair<int, int> cases[] = {{0, 0}, {8, 0}, {-8, 0}, {9, 1}, {16, 2}, {-24, -4}, {10000, 64}, {-10000, -64}};
    for (const auto& [distance, speed] : cases)
        EXPECT_EQ(AutoScrollSpeed(distance), speed) << distance;
    EXPECT_EQ(AutoScrollStep(40, -3), (TScrollStep{8, 0}));
}

TEST(AutoScrollTest, AClickKeepsScrollingADragEndsOnRelease) {
    TAutoScrollModel click;
    click.MiddlePress(100, 100);
    click.Move(103, 98);
    click.MiddleRelease();
    EXPECT_TRUE(click.Active());
    click.Move(100, 140);
    EXPECT_EQ(click.Step(), (TScrollStep{0, 8}));
    click.MiddlePress(100, 140);  // the next middle press ends it
    EXPECT_FALSE(click.Active());
    EXPECT_EQ(click.Step(), TScrollStep{});

    TAutoScrollModel drag;
    drag.MiddlePress(0, 0);
    drag.Move(-30, 0);
    EXPECT_EQ(drag.Step(), (TScrollStep{-5, 0}));
    drag.MiddleRelease();
    EXPECT_FALSE(drag.Active());

    TAutoScrollModel other;
    other.MiddlePress(0, 0);
    other.MiddleRelease();
    other.OtherPress();
    EXPECT_FALSE(other.Active());
}

}  // namespace
}  // namespace quillon
