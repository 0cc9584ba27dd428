// The chipset graphic: one 480 x 256 chipset image in an image sheet (and a dimmed copy of it for
// the editor), analysed once per load, drawing any tile ID of a map layer at any cell size.
//
// Positions inside the chipset are counted in quarter cells of 8 pixels. Water tiles and autotiles
// are put together at drawing time from four quarters chosen by the tables of this unit.
#pragma once

#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

class TKelChipSetItem;

inline constexpr int kChipSetWidth = 480;
inline constexpr int kChipSetHeight = 256;
inline constexpr int kChipSetBlocks = 18;     // 3 water, 3 animated, 12 autotiles
inline constexpr int kChipSetTiles = 144;     // plain lower tiles, and upper tiles
inline constexpr int kChipSetFirstAutoTile = 6;

// A position in quarter units (8 pixels).
struct TChipQuarter {
    std::uint8_t X = 0;
    std::uint8_t Y = 0;
    bool operator==(const TChipQuarter&) const = default;
};

// Four quarters: top-left, top-right, bottom-left, bottom-right.
using TChipQuarters = std::array<TChipQuarter, 4>;

struct TChipTileInfo {
    TChipQuarter Source;     // top-left quarter of the block or tile
    std::int32_t Link = -1;  // autotiles: the block whose tiles this one joins, or -1
    bool Empty = false;      // plain tiles: the whole cell is index 0
};

// The quarters of an autotile shape (0..49), relative to the block origin.
const TChipQuarters& AutoTileQuarters(int shape);
// The quarters of a water shape (0..49) of kind 0 (water A), 1 (water B) or 2 (deep water), before
// corner pieces and the animation frame are applied.
TChipQuarters WaterQuarters(int kind, int shape);
// The source origin of block 0..17 and of plain lower and upper tiles 0..143.
TChipQuarter BlockOrigin(int block);
TChipQuarter LowerTileOrigin(int tile);
TChipQuarter UpperTileOrigin(int tile);
// The horizontal quarter offset of the water frame shown at an animation counter, by the chipset's
// sea animation sequence (0 "1-2-3-2", else "1-2-3") and speed (0 slow, else fast).
int WaterFrameOffset(int animCounter, std::int32_t seaSequence, std::int32_t seaSpeed);
// Rows of the animated tile frame shown at an animation counter, in quarter units.
int AnimatedFrameOffset(int animCounter);

class TKelChipSetGraphic {
public:
    // find turns (kind folder, name) into the file to load; without one every image counts as
    // missing. The dimmed sheet exists only when the editor mode is on at creation.
    explicit TKelChipSetGraphic(TImageFinder find = {});
    TKelChipSetGraphic(const TKelChipSetGraphic&) = delete;
    TKelChipSetGraphic& operator=(const TKelChipSetGraphic&) = delete;

    const TKelChipSetItem* ChipSet() const { return mChipSet; }
    const std::string& FileName() const { return mFileName; }
    TOrlenSheet& Sheet() { return *mSheet; }
    const TOrlenSheet& Sheet() const { return *mSheet; }
    // Null outside the editor mode.
    TOrlenSheet* DimSheet() { return mDimSheet.get(); }
    const TOrlenSheet* DimSheet() const { return mDimSheet.get(); }
    // Blocks 0..17, then lower tiles 0..143 at 18 + n.
    const std::array<TChipTileInfo, kChipSetBlocks + kChipSetTiles>& TileInfo() const { return mTileInfo; }
    const std::array<TChipTileInfo, kChipSetTiles>& UpperInfo() const { return mUpperInfo; }

    // Forgets the image and the record; the sheets become blank.
    void Clear();
    // Shows the record's image (none without a record).
    void SetChipSet(const TKelChipSetItem* record);
    // Loads the named image from the "ChipSet" folder; nothing happens when it is the one loaded.
    // Outside the editor mode load errors are raised (after the sheets were cleared and analysed).
    void LoadGraphic(const std::string& name);
    // Block whose tiles autotile block `index` joins, or -1 (also outside 0..17).
    std::int32_t GetAutotileLink(int index) const;
    void SetTransparent(bool value);
    // Opacity 255 - 30 x level on both sheets.
    void SetDimLevel(int level);

    // Draws a tile ID into the size x size square at (x, y). IDs that name no tile draw nothing.
    void DrawTile(TOrlenBoard& board, int x, int y, int animCounter, std::int32_t tileId, bool dimmed, int size);
    // The 16 x 16 cell whose top-left quarter is source, scaled into the size x size square.
    static void DrawCell(TOrlenSheet& sheet, TChipQuarter source, int x, int y, TOrlenBoard& board, int size);
    // Four quarters relative to the block's origin into four half x half squares; four contiguous
    // quarters are drawn as one cell.
    void DrawQuarters(TOrlenSheet& sheet, int block, int x, int y, TOrlenBoard& board, int half,
                      const TChipQuarters& quarters) const;

private:
    void Analyse();

    TImageFinder mFind;
    const TKelChipSetItem* mChipSet = nullptr;
    std::string mFileName;
    std::unique_ptr<TOrlenSheet> mSheet;
    std::unique_ptr<TOrlenSheet> mDimSheet;
    std::array<TChipTileInfo, kChipSetBlocks + kChipSetTiles> mTileInfo{};
    std::array<TChipTileInfo, kChipSetTiles> mUpperInfo{};
};

}  // namespace quillon
