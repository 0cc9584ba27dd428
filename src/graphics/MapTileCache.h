// The tile pictures of one map drawing: every distinct tile ID is drawn once at the cell size into
// the cache, and every cell that shows it copies the cached pixels (through a mask where the tile
// leaves pixels undrawn). The result is exactly what TKelChipSetGraphic::DrawTile draws.
#pragma once

#include "graphics/GR_ChipSet.h"
#include "graphics/OrlenSheet.h"

#include <cstdint>
#include <vector>

namespace quillon {

class TMapTileCache {
public:
    TMapTileCache() = default;
    TMapTileCache(const TMapTileCache&) = delete;
    TMapTileCache& operator=(const TMapTileCache&) = delete;

    // Starts a drawing: forgets every cached tile. The chipset's sheet, colour table and the
    // boards' brightness must stay as they are until the next Begin.
    void Begin(TKelChipSetGraphic& chips, int size, int animCounter);

    // Draws the tile as chips.DrawTile(board, x, y, animCounter, tileId, false, size) would with the
    // sheet's current transparency. A sheet that blends (opacity below 255) is drawn directly.
    void DrawTile(TOrlenBoard& board, int x, int y, std::int32_t tileId);

    // Draws count cells of one row, ids[i] at (x + i x size, y), as DrawTile would each.
    void DrawRow(TOrlenBoard& board, int x, int y, const std::uint16_t* ids, int count);

    // Distinct tile pictures drawn since Begin.
    int Count() const { return mCount; }

private:
    enum class TKind : std::uint32_t { Empty, Opaque, Masked };
    // A masked tile's mask (0xFFFF where the tile draws, 0 elsewhere) follows its pixels.
    struct TEntry {
        std::uint32_t Stamp = 0;       // equals mStamp when the entry is valid
        std::uint32_t Offset : 30 = 0;  // into mPixels
        TKind Kind : 2 = TKind::Empty;
    };

    const TEntry& Obtain(std::int32_t tileId, bool transparent, int brightness);

    TKelChipSetGraphic* mChips = nullptr;
    int mSize = 0;
    int mAnimCounter = 0;
    int mBrightness = 100;
    int mCount = 0;
    std::uint32_t mStamp = 0;
    std::vector<TEntry> mEntries;
    std::vector<std::uint16_t> mPixels;  // size x size per tile, rows packed
    TOrlenBoard mScratchBlack;
    TOrlenBoard mScratchWhite;
};

}  // namespace quillon
