// Screen erase and show transitions: the families of the system record's two lists (fade, random
// blocks, blinds, stripes, outside-in and inside-out, scrolls, divisions, zoom, mosaic, raster
// scroll, instant), each drawn over the finished frame from how much of it is hidden. A show
// transition is its erase counterpart played backwards, so both lists share one drawing.
#pragma once

#include "graphics/OrlenSheet.h"
#include "runtime/GameRandom.h"

#include <cstdint>
#include <vector>

namespace quillon::runtime {

// Erase list indexes (the show list has the same families at the same indexes, without the last).
enum TTransitionType : int {
    ttFade = 0,
    ttRandomBlocks = 1,
    ttRandomBlocksUp = 2,
    ttRandomBlocksDown = 3,
    ttBlinds = 4,
    ttHiLowStripes = 5,
    ttLeftRightStripes = 6,
    ttOutsideInside = 7,
    ttInsideOutside = 8,
    ttScrollUp = 9,
    ttScrollDown = 10,
    ttScrollLeft = 11,
    ttScrollRight = 12,
    ttHiLowDivision = 13,
    ttLeftRightDivision = 14,
    ttQuarterDivision = 15,
    ttZoom = 16,
    ttMosaic = 17,
    ttRaster = 18,
    ttInstant = 19,
    ttNone = 20,  // "Do Not Erase"
};
inline constexpr int kEraseTransitionCount = 21;
inline constexpr int kShowTransitionCount = 20;
// Frames of every transition but the instant one.
inline constexpr int kTransitionFrames = 30;
// Random block size in pixels.
inline constexpr int kTransitionBlock = 8;

// Draws `type` over the board at `hidden` (0 the whole frame shows, 1 none of it); blockRank
// orders the random blocks (as TGameTransition draws them), scratch is working memory.
void DrawTransition(TOrlenBoard& board, int type, double hidden, const std::vector<std::uint16_t>& blockRank,
                    TOrlenBoard& scratch);

class TGameTransition {
public:
    // Starts an erase (list index 0..20) or a show (0..19); an index outside its list counts as
    // the fade. An erase of a hidden screen and a show of a shown one change nothing.
    void Start(bool erase, int type, TGameRandom& random);
    void Update();
    bool Running() const { return mFrame < mDuration; }
    int FramesLeft() const { return mDuration - mFrame; }
    // Whether the screen is hidden now or at the end of the running erase.
    bool Erased() const { return mErased; }
    // Draws the state over a finished frame: the running transition, or black while erased.
    void Apply(TOrlenBoard& board);

private:
    bool mErased = false;
    bool mErasing = false;
    int mType = ttFade;
    int mFrame = 0;
    int mDuration = 0;
    std::vector<std::uint16_t> mBlockRank;
    TOrlenBoard mScratch;
};

}  // namespace quillon::runtime
