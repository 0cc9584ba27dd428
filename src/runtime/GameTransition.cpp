#include "runtime/GameTransition.h"

#include "graphics/MapRender.h"
#include "runtime/Game.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quillon::runtime {

namespace {

// Every channel scaled by level / 256.
std::uint16_t Dim(std::uint16_t c, int level) {
    const int r = ((c >> 11) & 31) * level >> 8;
    const int g = ((c >> 5) & 63) * level >> 8;
    const int b = (c & 31) * level >> 8;
    return static_cast<std::uint16_t>(r << 11 | g << 5 | b);
}

void DimBoard(TOrlenBoard& board, double shown) {
    const int level = std::clamp(static_cast<int>(std::lround(shown * 256)), 0, 256);
    if (level == 256)
        return;
    for (int y = 0; y < board.Height(); ++y) {
        std::uint16_t* row = board.ScanLine(y);
        for (int x = 0; x < board.Width(); ++x)
            row[x] = Dim(row[x], level);
    }
}

void Black(TOrlenBoard& board, int left, int top, int right, int bottom) {
    FillBoardRect(board, TRect{left, top, right, bottom}, 0);
}

// Draws the scratch copy's area at an offset, black around it.
void Shifted(TOrlenBoard& board, const TOrlenBoard& scratch, const TRect& area, int dx, int dy) {
    board.CopyFrom(area.Left + dx, area.Top + dy, area, scratch);
}

int Scaled(double fraction, int size) { return static_cast<int>(std::lround(fraction * size)); }

void RandomBlocks(TOrlenBoard& board, double hidden, const std::vector<std::uint16_t>& rank) {
    const int columns = (board.Width() + kTransitionBlock - 1) / kTransitionBlock;
    const int rows = (board.Height() + kTransitionBlock - 1) / kTransitionBlock;
    const int count = columns * rows;
    if (static_cast<int>(rank.size()) < count)
        return;
    const int gone = Scaled(hidden, count);
    for (int i = 0; i < count; ++i)
        if (rank[static_cast<std::size_t>(i)] < gone) {
            const int x = (i % columns) * kTransitionBlock;
            const int y = (i / columns) * kTransitionBlock;
            Black(board, x, y, x + kTransitionBlock, y + kTransitionBlock);
        }
}

void Zoom(TOrlenBoard& board, TOrlenBoard& scratch, double hidden) {
    const double scale = 1.0 + 3.0 * hidden;
    const int w = board.Width();
    const int h = board.Height();
    for (int y = 0; y < h; ++y) {
        const int sy = std::clamp(static_cast<int>((y - h / 2) / scale) + h / 2, 0, h - 1);
        const std::uint16_t* source = scratch.ScanLine(sy);
        std::uint16_t* row = board.ScanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = source[std::clamp(static_cast<int>((x - w / 2) / scale) + w / 2, 0, w - 1)];
    }
    DimBoard(board, 1.0 - hidden);
}

void Mosaic(TOrlenBoard& board, double hidden) {
    const int size = 1 + Scaled(hidden, 31);
    if (size > 1)
        for (int y = 0; y < board.Height(); ++y) {
            const std::uint16_t* source = board.ScanLine(y - y % size);
            std::uint16_t* row = board.ScanLine(y);
            for (int x = 0; x < board.Width(); ++x)
                row[x] = source[x - x % size];
        }
    DimBoard(board, 1.0 - hidden);
}

}  // namespace

void DrawTransition(TOrlenBoard& board, int type, double hidden, const std::vector<std::uint16_t>& blockRank,
                    TOrlenBoard& scratch) {
    hidden = std::clamp(hidden, 0.0, 1.0);
    const int w = board.Width();
    const int h = board.Height();
    if (type == ttNone || hidden <= 0.0)
        return;
    if (type == ttInstant || hidden >= 1.0) {
        Black(board, 0, 0, w, h);
        return;
    }
    const bool moving = (type >= ttScrollUp && type <= ttQuarterDivision) || type == ttZoom || type == ttRaster;
    if (moving) {
        scratch.SetSize(w, h);
        scratch.CopyFrom(0, 0, TRect{0, 0, w, h}, board);
        if (type != ttZoom)
            Black(board, 0, 0, w, h);
    }
    const int dy = Scaled(hidden, h);
    const int dx = Scaled(hidden, w);
    switch (type) {
    case ttRandomBlocks:
    case ttRandomBlocksUp:
    case ttRandomBlocksDown: RandomBlocks(board, hidden, blockRank); break;
    case ttBlinds: {
        const int covered = Scaled(hidden, kTransitionBlock);
        for (int y = 0; y < h; y += kTransitionBlock)
            Black(board, 0, y, w, y + covered);
        break;
    }
    case ttHiLowStripes:
        for (int x = 0, i = 0; x < w; x += kTransitionBlock, ++i) {
            if (i % 2 == 0)
                Black(board, x, 0, x + kTransitionBlock, dy);
            else
                Black(board, x, h - dy, x + kTransitionBlock, h);
        }
        break;
    case ttLeftRightStripes:
        for (int y = 0, i = 0; y < h; y += kTransitionBlock, ++i) {
            if (i % 2 == 0)
                Black(board, 0, y, dx, y + kTransitionBlock);
            else
                Black(board, w - dx, y, w, y + kTransitionBlock);
        }
        break;
    case ttOutsideInside: {
        const int mx = dx / 2;
        const int my = dy / 2;
        Black(board, 0, 0, w, my);
        Black(board, 0, h - my, w, h);
        Black(board, 0, 0, mx, h);
        Black(board, w - mx, 0, w, h);
        break;
    }
    case ttInsideOutside: Black(board, (w - dx) / 2, (h - dy) / 2, (w + dx) / 2, (h + dy) / 2); break;
    case ttScrollUp: Shifted(board, scratch, TRect{0, 0, w, h}, 0, -dy); break;
    case ttScrollDown: Shifted(board, scratch, TRect{0, 0, w, h}, 0, dy); break;
    case ttScrollLeft: Shifted(board, scratch, TRect{0, 0, w, h}, -dx, 0); break;
    case ttScrollRight: Shifted(board, scratch, TRect{0, 0, w, h}, dx, 0); break;
    case ttHiLowDivision:
        Shifted(board, scratch, TRect{0, 0, w, h / 2}, 0, -dy / 2);
        Shifted(board, scratch, TRect{0, h / 2, w, h}, 0, dy / 2);
        break;
    case ttLeftRightDivision:
        Shifted(board, scratch, TRect{0, 0, w / 2, h}, -dx / 2, 0);
        Shifted(board, scratch, TRect{w / 2, 0, w, h}, dx / 2, 0);
        break;
    case ttQuarterDivision:
        Shifted(board, scratch, TRect{0, 0, w / 2, h / 2}, -dx / 2, -dy / 2);
        Shifted(board, scratch, TRect{w / 2, 0, w, h / 2}, dx / 2, -dy / 2);
        Shifted(board, scratch, TRect{0, h / 2, w / 2, h}, -dx / 2, dy / 2);
        Shifted(board, scratch, TRect{w / 2, h / 2, w, h}, dx / 2, dy / 2);
        break;
    case ttZoom: Zoom(board, scratch, hidden); break;
    case ttMosaic: Mosaic(board, hidden); break;
    case ttRaster:
        // Rows part to both sides, every other one the other way, and darken.
        for (int y = 0; y < h; ++y)
            Shifted(board, scratch, TRect{0, y, w, y + 1}, y % 2 == 0 ? dx : -dx, 0);
        DimBoard(board, 1.0 - hidden);
        break;
    default: DimBoard(board, 1.0 - hidden); break;
    }
}

void TGameTransition::Start(bool erase, int type, TGameRandom& random) {
    if (type < 0 || type >= (erase ? kEraseTransitionCount : kShowTransitionCount))
        type = ttFade;
    mFrame = 0;
    mDuration = 0;
    if (erase == mErased || (erase && type == ttNone))
        return;
    mErased = erase;
    mErasing = erase;
    mType = type;
    mDuration = type == ttInstant ? 0 : kTransitionFrames;
    if (type >= ttRandomBlocks && type <= ttRandomBlocksDown) {
        // Blocks leave in a random order; up and down sweep row by row with two rows of scatter.
        const int columns = (kScreenWidth + kTransitionBlock - 1) / kTransitionBlock;
        const int rows = (kScreenHeight + kTransitionBlock - 1) / kTransitionBlock;
        std::vector<std::pair<int, int>> keys;
        for (int i = 0; i < columns * rows; ++i) {
            const int row = i / columns;
            const int sweep = type == ttRandomBlocksUp ? rows - 1 - row : type == ttRandomBlocksDown ? row : 0;
            keys.emplace_back(sweep * 2 * columns + random.Below(type == ttRandomBlocks ? 1 << 20 : 4 * columns), i);
        }
        std::sort(keys.begin(), keys.end());
        mBlockRank.assign(keys.size(), 0);
        for (std::size_t r = 0; r < keys.size(); ++r)
            mBlockRank[static_cast<std::size_t>(keys[r].second)] = static_cast<std::uint16_t>(r);
    }
}

void TGameTransition::Update() {
    if (mFrame < mDuration)
        ++mFrame;
}

void TGameTransition::Apply(TOrlenBoard& board) {
    if (Running()) {
        const double done = static_cast<double>(mFrame) / mDuration;
        DrawTransition(board, mType, mErasing ? done : 1.0 - done, mBlockRank, mScratch);
    } else if (mErased) {
        FillBoardRect(board, TRect{0, 0, board.Width(), board.Height()}, 0);
    }
}

}  // namespace quillon::runtime
