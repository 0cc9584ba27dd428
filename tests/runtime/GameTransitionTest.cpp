// Screen transitions: the erase and show states, and a chosen frame of each family against its
// golden picture.
#include "runtime/GameTransition.h"

#include "runtime/ScreenFixture.h"

#include <gtest/gtest.h>

namespace quillon::runtime::test {
namespace {

TEST(GameTransition, EraseHidesShowReveals) {
    TGameRandom random(3);
    TGameTransition transition;
    TOrlenBoard board;
    TOrlenBoard reference;
    DrawBackdrop(reference);
    const struct {
        bool erase;
        int type;
        int frames;       // how long it runs
        bool erasedAfter;
    } steps[] = {
        {false, ttFade, 0, false},                   // showing a shown screen changes nothing
        {true, ttNone, 0, false},                    // "Do Not Erase"
        {true, ttMosaic, kTransitionFrames, true},
        {true, ttFade, 0, true},                     // erasing a hidden screen changes nothing
        {false, ttInstant, 0, false},
        {true, 99, kTransitionFrames, true},         // an index outside the list fades
        {false, -5, kTransitionFrames, false},
    };
    for (const auto& s : steps) {
        transition.Start(s.erase, s.type, random);
        EXPECT_EQ(transition.FramesLeft(), s.frames) << s.type;
        EXPECT_EQ(transition.Erased(), s.erasedAfter) << s.type;
        for (int i = 0; i < s.frames; ++i)
            transition.Update();
        EXPECT_FALSE(transition.Running());
        DrawBackdrop(board);
        transition.Apply(board);
        // Hidden: all black; shown: the backdrop as it was.
        EXPECT_EQ(Pixel(board, 60, 50), s.erasedAfter ? 0 : Pixel(reference, 60, 50)) << s.type;
    }
}

// A frame a little past the middle of each family, erasing (and a few showing).
TEST(GameTransition, GoldenFrameOfEachFamily) {
    const struct {
        bool erase;
        int type;
        const char* name;
    } cases[] = {
        {true, ttFade, "fade"},
        {true, ttRandomBlocks, "random-blocks"},
        {true, ttRandomBlocksUp, "random-blocks-up"},
        {false, ttRandomBlocksDown, "random-blocks-down-show"},
        {true, ttBlinds, "blinds"},
        {true, ttHiLowStripes, "hi-low-stripes"},
        {true, ttLeftRightStripes, "left-right-stripes"},
        {true, ttOutsideInside, "outside-inside"},
        {true, ttInsideOutside, "inside-outside"},
        {true, ttScrollLeft, "scroll-left"},
        {false, ttScrollUp, "scroll-down-show"},
        {true, ttHiLowDivision, "hi-low-division"},
        {true, ttLeftRightDivision, "left-right-division"},
        {false, ttQuarterDivision, "quarter-combine-show"},
        {true, ttZoom, "zoom"},
        {true, ttMosaic, "mosaic"},
        {true, ttRaster, "raster"},
    };
    TOrlenBoard board;
    for (const auto& c : cases) {
        TGameRandom random(11);
        TGameTransition transition;
        if (!c.erase)
            transition.Start(true, ttInstant, random);
        transition.Start(c.erase, c.type, random);
        for (int i = 0; i < 18; ++i)
            transition.Update();
        DrawBackdrop(board);
        transition.Apply(board);
        ExpectGolden(board, std::string("transition-") + c.name + ".png");
    }
}

}  // namespace
}  // namespace quillon::runtime::test
