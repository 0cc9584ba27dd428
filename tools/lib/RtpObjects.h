// Objects standing on the map (trees, rocks, houses, furniture) drawn on a transparent background:
// the upper tiles of the chipsets and the scenery of some other images.
#pragma once

#include "tools/lib/RtpPaint.h"

#include <bitset>

namespace quillon::rtp {

// Painters of single objects into the w x h pixel rectangle at (x, y).
void PaintTree(TPainter& p, int x, int y, int w, int h, TRamp leaf);
void PaintPine(TPainter& p, int x, int y, int w, int h, TRamp leaf);
void PaintHouse(TPainter& p, int x, int y, int w, int h, TRamp roof);
void PaintCastle(TPainter& p, int x, int y, int w, int h);

// Fills upper tiles 1..143 of a chipset with objects (upper tile 0 stays empty); objects larger
// than one tile take neighbouring tiles of the same six-tile-wide block. Answers which upper
// tiles hold something that blocks the way (everything but flowers).
std::bitset<144> DrawUpperTiles(TPainter& p, bool town, int seed);

}  // namespace quillon::rtp
