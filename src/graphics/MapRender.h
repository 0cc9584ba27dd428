// Drawing a whole map, or the part of it a view shows, into a board as the plain map viewer does:
// every lower tile from the opaque chipset sheet, then every upper tile from the transparent one,
// then, when asked for, the event icons and start marks as the event layer shows them. Cells
// where nothing is drawn keep the board's pixels. Also turns a board into a 24-bit picture.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/EventMap.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/StartPos.h"

#include <cstdint>
#include <vector>

namespace quillon {

class TKelMap;
class TKelMapTree;

struct TMapRenderOptions {
    int CellSize = 32;    // 32, 16, 8 or 4
    int AnimCounter = 0;  // animation counter handed to DrawTile
    bool Lower = true;
    bool Upper = true;
    bool Events = false;  // event icons and start marks (needs a TMapEventLayer)
};

// Draws the cells of the map that meet the board, cell (c, r) at (c x size - offsetX,
// r x size - offsetY). The chipset graphic's sheets are left transparent.
void RenderMapView(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                   int offsetX, int offsetY, TMapEventLayer* events = nullptr);
// Sizes the board to the whole map at the cell size, clears it black and draws the map.
void RenderMap(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
               TMapEventLayer* events = nullptr);

// Fills a rectangle of the board (clipped) with a 5-6-5 colour.
void FillBoardRect(TOrlenBoard& board, const TRect& rect, std::uint16_t color);
// 5-6-5 from 8-bit channels (the high bits of each).
std::uint16_t Color565(const TPaletteEntry& entry);
// A 24-bit bitmap of the board, each channel widened by repeating its high bits
// (5-bit c: c << 3 | c >> 2; 6-bit c: c << 2 | c >> 4).
TBitmap BoardToBitmap(const TOrlenBoard& board);

}  // namespace quillon
