// The event layer of a map: which event or start position stands on each cell, and the drawing
// of their marks and icons. The map canvas and the map renderer both draw events through it.
#pragma once

#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/OrlenSheet.h"
#include "graphics/StartPos.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class TKelMap;
class TKelMapTree;

// Codes of the event map's cells: 0 nothing, 1..60000 the event standing there, then the start
// positions of the party and the three vehicles.
inline constexpr std::uint16_t kEventCodeNone = 0;
inline constexpr std::uint16_t kEventCodeMaxEvent = 60000;
inline constexpr std::uint16_t kEventCodeParty = 60001;
inline constexpr std::uint16_t kEventCodeBoat = 60002;
inline constexpr std::uint16_t kEventCodeShip = 60003;
inline constexpr std::uint16_t kEventCodeAirship = 60004;

class TKelEventMap {
public:
    // Owns its marks; graphics are handed over with SetGraphics.
    TKelEventMap();
    // Start positions from tree (may be none), character sets from charSets, marks from marks
    // (neither owned).
    TKelEventMap(const TKelMapTree* tree, TKelCharSetGraphic& charSets, TStartPosMark& marks);
    TKelEventMap(const TKelEventMap&) = delete;
    TKelEventMap& operator=(const TKelEventMap&) = delete;
    ~TKelEventMap();

    // Rebuilds the grid: events in list order whose cell lies inside the map (a later one wins a
    // shared cell), then the start positions whose map is the map's ID (map IDs below 1 mean
    // "not set"), which hide events beneath them. Remembers tree and map.
    void Build(const TKelMapTree& mapTree, const TKelMap& map);
    // The same with the tree given before (none: no start positions).
    void Build(const TKelMap& map);
    // Forgets the grid and the map.
    void Clear();
    // -1 outside the map, else the code of the cell.
    std::int32_t GetAt(std::int32_t column, std::int32_t row) const;
    int CodeAt(int column, int row) const { return GetAt(column, row); }

    // What event icons are drawn from (not owned; either may be none): the map's chipset graphic
    // for pages that show a tile, its character-set cache for pages that show a character.
    void SetGraphics(TKelChipSetGraphic* chipSet, TKelCharSetGraphic* charSets);
    // Draws a code's mark into the size x size square at (x, y). Start positions draw their
    // mark; an event draws the event mark at cell sizes below 16 or when faint (half opaque when
    // faint), else its first page's graphic in a white square. Events are looked up in the map
    // last built.
    void DrawCell(TOrlenBoard& board, int x, int y, int size, std::int32_t code, bool faint);
    // The same with the events of map and tile icons from chips.
    void DrawCode(TOrlenBoard& board, int x, int y, int size, int code, bool faint, const TKelMap& map,
                  TKelChipSetGraphic& chips);
    // Loads the character sets of every page of every event into the cache.
    void LoadCharSets(const TKelMap& map);

    TStartPosMark& Marks() { return *mMarks; }
    std::int32_t Width() const { return mWidth; }
    std::int32_t Height() const { return mHeight; }
    const std::vector<std::uint16_t>& Cells() const { return mCells; }
    const TKelMapTree* MapTree() const { return mMapTree; }
    const TKelMap* Map() const { return mMap; }

private:
    void Draw(TOrlenBoard& board, int x, int y, int size, std::int32_t code, bool faint, const TKelMap* map,
              TKelChipSetGraphic* chips);

    std::vector<std::uint16_t> mCells;  // index = column + row x Width
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    const TKelMapTree* mMapTree = nullptr;
    const TKelMap* mMap = nullptr;
    std::unique_ptr<TStartPosMark> mOwnMarks;
    TStartPosMark* mMarks = nullptr;
    TOrlenBoard mScratch;
    TKelChipSetGraphic* mChipSet = nullptr;
    TKelCharSetGraphic* mCharSets = nullptr;
};

// The renderer's name for the event layer.
using TMapEventLayer = TKelEventMap;

}  // namespace quillon
