// Drawing a whole map, or the part of it a view shows, into a board as the plain map viewer does:
// every lower tile from the opaque chipset sheet, then every upper tile from the transparent one,
// then, when asked for, the event icons and start marks as the event layer shows them. Cells
// where nothing is drawn keep the board's pixels. Also turns a board into a 24-bit picture.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapTileCache.h"
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

// What the event layer is drawn from: the start positions of a map tree (those whose map is the
// rendered map's ID), the character sets of the map's events, the marks.
class TMapEventLayer {
public:
    TMapEventLayer(const TKelMapTree* tree, TKelCharSetGraphic& charSets, TStartPosMark& marks)
        : mTree(tree), mCharSets(charSets), mMarks(marks) {}

    // The cell codes of a map: 0 nothing, an event ID (a later event in the same cell wins),
    // 60001..60004 the party's, boat's, ship's and airship's start (over an event).
    void Build(const TKelMap& map);
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // -1 outside the map.
    int CodeAt(int column, int row) const;

    // Draws a code's mark or icon into the size x size square at (x, y). Start marks and, at cell
    // sizes below 16 or when faint, events draw a mark (half transparent when faint); otherwise
    // an event shows its first page's graphic in a white square.
    void DrawCode(TOrlenBoard& board, int x, int y, int size, int code, bool faint, const TKelMap& map,
                  TKelChipSetGraphic& chips);

    // Loads the character sets of every page of every event into the cache.
    void LoadCharSets(const TKelMap& map);

private:
    const TKelMapTree* mTree;
    TKelCharSetGraphic& mCharSets;
    TStartPosMark& mMarks;
    TOrlenBoard mScratch;
    std::vector<std::uint16_t> mCodes;
    int mWidth = 0;
    int mHeight = 0;
};

// Draws the cells of the map that meet the board, cell (c, r) at (c x size - offsetX,
// r x size - offsetY). The chipset graphic's sheets are left transparent.
void RenderMapView(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                   int offsetX, int offsetY, TMapEventLayer* events = nullptr);
// The same through a tile cache that tiles.Begin(chips, options.CellSize, options.AnimCounter)
// started, so that the parts of one picture drawn one after another share it.
void RenderMapView(TOrlenBoard& board, const TKelMap& map, TKelChipSetGraphic& chips, const TMapRenderOptions& options,
                   int offsetX, int offsetY, TMapEventLayer* events, TMapTileCache& tiles);
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
