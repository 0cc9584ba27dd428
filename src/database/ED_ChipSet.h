// The chipset page ("ChipSets"): the chipset's name and image, and per tile the terrain (lower
// tiles), the passability, the four directions and the counter flag (upper tiles), edited by
// clicks on two grids of 32-pixel cells six to a row; the sea animation's sequence and speed with
// a preview. Mouse input arrives as plain calls with grid positions, so the rules run without a
// window.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_ChipSet.h"
#include "database/EntryPage.h"
#include "platform/Signal.h"

#include <cstdint>
#include <string>

namespace quillon {

class IEventChoosers;

inline constexpr int kChipSetHelpContext = 11;
inline constexpr int kChipGridColumns = 6;
inline constexpr int kChipGridCell = 32;
inline constexpr int kChipGridLowerRows = 27;  // 162 cells
inline constexpr int kChipGridUpperRows = 24;  // 144 cells
inline constexpr int kChipGridWidth = kChipGridColumns * kChipGridCell;
inline constexpr int kChipSetPreviewMs = 200;  // the sea preview's step
inline constexpr int kChipSetHoverMs = 100;    // how often the cell under the pointer is looked at

// The two grids.
enum TChipGrid : int { cgLower = 0, cgUpper = 1 };
// What a grid edits: terrain (lower), passability and directions (both), counter (upper).
enum class TChipSetMode { Terrain, Passage, Direction, Counter };
enum class TChipButton { Left, Right };
// The one mark a cell shows in the passage mode.
enum class TPassageMark { Cross, Circle, Star, Square };

int ChipGridRows(int grid);
int ChipGridCells(int grid);
// The tile ID a grid cell shows (lower cells: the water, animated and autotile previews, then
// the plain tiles; upper cells 10000 + index); -1 outside the grid.
std::int32_t ChipGridTile(int grid, int index);
// The cell under a position of the grid (pixels from its top-left corner), -1 outside it.
int ChipGridCellAt(int grid, int x, int y);
// Lower cells 6..17 are the autotile previews, the only cells that take the square mark.
bool IsAutoTileCell(int grid, int index);

TPassageMark PassageMark(std::uint8_t flags);
// One click in the passage mode: the left button runs circle, cross, star (square on autotile
// cells), circle; the right button the other way round.
std::uint8_t PassageLeftClick(std::uint8_t flags, bool autoTile);
std::uint8_t PassageRightClick(std::uint8_t flags, bool autoTile);
// The direction bit of the quarter of a cell under a position in it (0..31 each): the cell cut
// along its diagonals into up, right, left and down.
std::uint8_t DirectionRegion(int x, int y);

class TChipSetPageModel : public TEntryPageModel<TKelChipSetItem> {
public:
    // choosers: the chipset graphic's selector (none: nothing is chosen).
    TChipSetPageModel(const TDataBaseContext& context, IEventChoosers* choosers);

    // A cell of a grid was changed (its marks are drawn again).
    TSignal<int, int> CellChanged;
    // What the page shows besides single cells changed: grid, mode, terrain row, hover.
    TSignal<> ViewChanged;

    const std::string& FileName() const { return Item().FileName; }
    // "Select ChipSet Graphic" on the current image; true when another one was chosen.
    bool ChooseGraphic();
    void SetFileName(const std::string& name);

    // The grid shown and each grid's mode; a mode the grid does not offer is refused.
    int Grid() const { return mGrid; }
    void SetGrid(int grid);
    TChipSetMode Mode(int grid) const { return mMode[grid == cgUpper ? 1 : 0]; }
    TChipSetMode Mode() const { return Mode(mGrid); }
    bool SetMode(int grid, TChipSetMode mode);
    static bool GridHasMode(int grid, TChipSetMode mode);

    // The terrain list: one row per terrain, the selected row paints terrain row + 1.
    int TerrainRows() const;
    std::string TerrainRowText(int row) const;
    int TerrainRow() const { return mTerrainRow; }
    void SetTerrainRow(int row);
    bool SetToAllEnabled() const { return mGrid == cgLower && Mode(cgLower) == TChipSetMode::Terrain; }
    // "Set All Chips to...": every lower cell gets the terrain (1-based).
    bool SetAllTerrain(std::int32_t terrainId);

    // The values of a cell (0 outside the grid).
    std::int32_t CellTerrain(int index) const { return Item().TerrainId(index); }
    std::uint8_t CellFlags(int grid, int index) const;
    bool CellEditable(int grid, int index) const;

    // --- the pointer on the shown grid, in grid pixels ---
    // A press: the mode's edit of the cell under the pointer; a left press in the terrain mode
    // captures the pointer until Release, painting every cell it passes. True when a cell changed.
    bool Press(TChipButton button, int x, int y);
    bool Move(int x, int y);
    void Release();
    bool Painting() const { return mPainting; }
    // Where the pointer is (hover highlight), or off the grid.
    void SetHover(int x, int y);
    void ClearHover();
    int HoverCell() const { return mHoverCell; }
    // The direction region under the pointer in the hover cell (0: none).
    std::uint8_t HoverRegion() const { return mHoverRegion; }

    // --- the sea animation ---
    std::int32_t SeaSequence() const { return Item().SeaAnimation; }
    std::int32_t SeaSpeed() const { return Item().SeaSpeed; }
    void SetSeaSequence(std::int32_t sequence);
    void SetSeaSpeed(std::int32_t speed);
    // The preview's animation counter: one step per timer tick, back to 0 when a setting or the
    // entry changes.
    int PreviewCounter() const { return mPreviewCounter; }
    void PreviewTick() { ++mPreviewCounter; }

private:
    bool EditCell(TChipButton button, int index, int x, int y);
    bool PaintTerrain(int index);
    void SetFlags(int grid, int index, std::uint8_t flags);

    IEventChoosers* mChoosers;
    TConnection mEntryChanged;
    int mGrid = cgLower;
    TChipSetMode mMode[2] = {TChipSetMode::Terrain, TChipSetMode::Passage};
    int mTerrainRow = 0;
    bool mPainting = false;
    int mLastX = 0;
    int mLastY = 0;
    int mHoverCell = -1;
    std::uint8_t mHoverRegion = 0;
    int mPreviewCounter = 0;
};

// Widgets: OverEdit1 (name), DashBox1 (image), RadioButtonA1/A2 (sequence), RadioButtonB1/B2
// (speed).
const TFieldForm& ChipSetPageForm();

// "Set All Chips to...": the terrain every lower cell gets.
struct TChipSetGroundAll {
    const TKelDataBase* DataBase = nullptr;
    std::int32_t TerrainId = 1;
};
// Widget: ListTerrain.
const TFieldForm& ChipSetGroundAllForm();

}  // namespace quillon
