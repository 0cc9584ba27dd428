// Start-position marks: the small badges the map canvas draws for the party's and the vehicles'
// start positions and, at small cell sizes or faintly, for events. One strip per editor cell size
// (32, 16, 8, 4 pixels), each holding five marks side by side, one cell wide each.
#pragma once

#include "graphics/OrlenSheet.h"

#include <array>

namespace quillon {

class TStartPosMark {
public:
    enum : int { smParty = 0, smBoat = 1, smShip = 2, smAirship = 3, smEvent = 4, kMarkCount = 5 };
    static constexpr std::array<int, 4> kCellSizes = {32, 16, 8, 4};

    // Draws the four strips.
    TStartPosMark();
    TStartPosMark(const TStartPosMark&) = delete;
    TStartPosMark& operator=(const TStartPosMark&) = delete;

    // Draws mark 0..4 into the cell-size square at (x, y): at half opacity (128 of 255) when dim,
    // else opaquely. Other cell sizes and mark indexes draw nothing.
    void Draw(TOrlenBoard& board, int x, int y, int cellSize, int mark, bool dim);

    // The strip of a cell size (5 x size wide, size high; index 0 is transparent), or null.
    const TOrlenSheet* Strip(int cellSize) const;

private:
    // Position of a cell size in kCellSizes, or -1.
    static int StripIndex(int cellSize);

    std::array<TOrlenSheet, 4> mStrips;
};

}  // namespace quillon
