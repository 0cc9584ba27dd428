// The resource selectors' shared model: the members of the family with their captions, folders and
// previews; the resource list with its initial row; the cell grids of the pickers; and drawing a
// selected cell's white frame on a preview board.
#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "platform/ProfileFile.h"
#include "project/Resources.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

enum class TSelKind {
    Char,      // walk graphics, 8 characters
    Face,      // face sets, 16 faces
    EvChar,    // event graphics: three chipset pages, then the character sets
    ChipSet,
    Battle,
    Backdrop,
    Title,
    GameOver,
    System,
    Panorama,
    Picture,
    Monster,
    Movie,
    Music,
    Sound,
    ReplChip,  // a tile of the map's chipset
};

inline constexpr int kSelKindCount = 16;

struct TSelKindInfo {
    TSelKind Kind;
    const char* ClassName;  // the window class, e.g. "TFormSelFace"
    const char* Caption;
    const char* Folder;     // resource folder; empty for the chip picker
    const TExtensionTable* Extensions;
    int PreviewWidth;       // 0: the image's own size
    int PreviewHeight;
    int Shrink;             // 1 as it is, 2 at half size
    bool OffRow;            // the list starts with "(OFF)"
};

const TSelKindInfo& SelKindInfo(TSelKind kind);

// The first rows of the event-graphic list: the three pages of the map's chipset.
inline constexpr const char* kEvCharChipSetRows[3] = {"*ChipSet 1", "*ChipSet 2", "*ChipSet 3"};

// The row a selector opens on for a current name: the row equal to the name, else the row equal
// to it without regard to ASCII letter case, else the " <RTP>" row of the name (exactly, then
// without regard to case), else row 0; -1 for an empty list.
int InitialSelRow(const std::vector<std::string>& rows, const std::string& name);
// The top row that puts the selected row six rows below the top when possible.
inline int InitialTopRow(int selected) { return selected > 6 ? selected - 6 : 0; }

// The list of a list-based selector: the resources of its folder (after "(OFF)" for music and
// sound), the selected row and the name it stands for.
class TSelListModel {
public:
    explicit TSelListModel(TSelKind kind);
    virtual ~TSelListModel() = default;

    TSelKind Kind() const { return mKind; }
    const TSelKindInfo& Info() const { return SelKindInfo(mKind); }

    // Fills the rows from the project and the run-time package.
    void Fill();
    // Takes the rows as given; "(OFF)" is put first for music and sound, the three chipset pages
    // for event graphics.
    void SetRows(std::vector<std::string> rows);
    const std::vector<std::string>& Rows() const { return mRows; }
    int RowCount() const { return static_cast<int>(mRows.size()); }

    // Selects the row for the current name (InitialSelRow) and sets the top row.
    void Open(const std::string& currentName);
    // Selects a row (-1: none; rows outside the list count as none).
    virtual void SelectRow(int row);
    int ItemIndex() const { return mItemIndex; }
    int TopRow() const { return mTopRow; }

    // The chosen name without the " <RTP>" mark: empty without a selection ("(OFF)" for music
    // and sound).
    std::string Name() const;
    // The file the chosen name resolves to; empty for none and for "(OFF)".
    std::string FileName() const;
    bool IsOff() const;

protected:
    TSelKind mKind;
    std::vector<std::string> mRows;
    int mItemIndex = -1;
    int mTopRow = 0;
};

// A grid of cells inside a preview, counted row by row.
struct TSelGrid {
    int Columns = 0;
    int Rows = 0;
    int CellWidth = 0;
    int CellHeight = 0;
    int Count = 0;  // cells in use, at most Columns × Rows

    int Width() const { return Columns * CellWidth; }
    int Height() const { return Rows * CellHeight; }
    // The cell under a point: x div cell width + (y div cell height) × columns; -1 outside the
    // grid or past the last cell in use.
    int CellAt(int x, int y) const;
    TRect CellRect(int index) const;
};

inline constexpr TSelGrid kFaceGrid{4, 4, 48, 48, 16};
inline constexpr TSelGrid kCharGrid{4, 2, 48, 64, 8};
inline constexpr TSelGrid kChipPageGrid{6, 8, 32, 32, 48};

inline constexpr std::uint16_t kWhite565 = 0xFFFF;
// A two-pixel frame just inside rect, clipped to the board.
void DrawSelFrame(TOrlenBoard& board, const TRect& rect, std::uint16_t color = kWhite565);

// Loads a resource image into the sheet without raising: a missing or damaged file leaves the
// sheet empty. Answers whether pixels were loaded.
bool LoadSelSheet(TOrlenSheet& sheet, const std::string& folder, const std::string& name);

}  // namespace quillon
