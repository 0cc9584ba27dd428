// The event-graphic selector: three pages of the map's chipset upper tiles, then the character
// sets with face direction and pattern; and the chip-replacement picker over all tiles of one
// layer of the map's chipset.
#pragma once

#include "graphics/GR_ChipSet.h"
#include "graphics/OrlenSheet.h"
#include "project/SelBase.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

// Loads the named chipset image into the graphic without raising (a missing image draws nothing).
void LoadSelChipSet(TKelChipSetGraphic& graphic, const std::string& chipSetName);

class TSelEvCharModel : public TSelListModel {
public:
    static constexpr int kPages = 3;
    static constexpr int kTilesPerPage = 48;

    // chipSetName: the image of the current map's chipset.
    explicit TSelEvCharModel(const std::string& chipSetName);

    // An empty name selects the page index div 48 (clamped to the three pages), keeping the
    // tile index mod 48; otherwise the character set's row and character `index` (0..7, else 0).
    // Direction 0..3 and pattern 0..2 are clamped.
    void Open(const std::string& name, int index, int direction, int pattern);
    void SelectRow(int row) override;

    bool IsChipSetRow() const { return mItemIndex >= 0 && mItemIndex < kPages; }
    // Empty for a chipset page.
    std::string GraphicName() const;
    // The tile index (page × 48 + cell) on a chipset page, else the character 0..7.
    int Index() const;
    int Direction() const { return mDirection; }
    int Pattern() const { return mPattern; }
    void SetDirection(int direction);
    void SetPattern(int pattern);

    // The chip page grid or the character grid.
    const TSelGrid& Grid() const { return IsChipSetRow() ? kChipPageGrid : kCharGrid; }
    bool ClickAt(int x, int y);

    const TOrlenBoard& Preview() const { return mPreview; }
    TOrlenBoard& Preview() { return mPreview; }

private:
    void Render();

    std::unique_ptr<TKelChipSetGraphic> mChipSet;
    TOrlenSheet mCharSheet;
    TOrlenBoard mPreview;
    int mTileCell = 0;   // position within a chipset page
    int mCharIndex = 0;  // character within a set
    int mDirection = 2;
    int mPattern = 1;
};

class TSelReplChipModel {
public:
    // layer 0: the 162 lower entries (water, animated tiles, autotiles, plain tiles); 1: the 144
    // upper tiles. Both in six columns of 32 × 32.
    TSelReplChipModel(const std::string& chipSetName, int layer);

    // An index outside the layer's tiles becomes 0.
    void Open(int index);
    int Layer() const { return mLayer; }
    int Index() const { return mIndex; }
    const TSelGrid& Grid() const { return mGrid; }
    // Chooses the tile under the point; clicks outside the grid change nothing.
    bool ClickAt(int x, int y);

    // The tile ID drawn for a cell of the layer (as the chip palette shows it).
    static std::int32_t TileIdOf(int layer, int index);

    const TOrlenBoard& Preview() const { return mPreview; }
    TOrlenBoard& Preview() { return mPreview; }

private:
    void Render();

    std::unique_ptr<TKelChipSetGraphic> mChipSet;
    TSelGrid mGrid;
    TOrlenBoard mPreview;
    int mLayer = 0;
    int mIndex = 0;
};

}  // namespace quillon
