#include "project/SelEvChar.h"

#include "graphics/GR_CharSet.h"
#include "graphics/ImageResources.h"

#include <algorithm>

namespace quillon {

namespace {

TImageFinder ProjectImageFinder() {
    return [](const std::string& kind, const std::string& name) { return FindResourceFile(name, kind, ImageExtensions); };
}

std::unique_ptr<TKelChipSetGraphic> MakeChipSet(const std::string& chipSetName) {
    auto graphic = std::make_unique<TKelChipSetGraphic>(ProjectImageFinder());
    LoadSelChipSet(*graphic, chipSetName);
    graphic->SetTransparent(false);
    return graphic;
}

}  // namespace

void LoadSelChipSet(TKelChipSetGraphic& graphic, const std::string& chipSetName) {
    try {
        graphic.LoadGraphic(chipSetName);
    } catch (const std::exception&) {
        // The sheets stay empty: the preview shows no tiles.
    }
}

TSelEvCharModel::TSelEvCharModel(const std::string& chipSetName)
    : TSelListModel(TSelKind::EvChar), mChipSet(MakeChipSet(chipSetName)) {
    SetRows({});
}

void TSelEvCharModel::Open(const std::string& name, int index, int direction, int pattern) {
    mDirection = std::clamp(direction, 0, 3);
    mPattern = std::clamp(pattern, 0, 2);
    int row;
    if (name.empty()) {
        const int safe = std::max(index, 0);
        row = std::min(safe / kTilesPerPage, kPages - 1);
        mTileCell = safe % kTilesPerPage;
        mCharIndex = 0;
    } else {
        row = InitialSelRow(mRows, name);
        mCharIndex = index >= 0 && index < kCharGrid.Count ? index : 0;
        mTileCell = 0;
    }
    mTopRow = InitialTopRow(row);
    SelectRow(row);
}

void TSelEvCharModel::SelectRow(int row) {
    TSelListModel::SelectRow(row);
    if (mItemIndex >= kPages)
        LoadSelSheet(mCharSheet, "CharSet", Name());
    else
        mCharSheet.FreeImage();
    Render();
}

std::string TSelEvCharModel::GraphicName() const { return IsChipSetRow() ? std::string() : Name(); }

int TSelEvCharModel::Index() const {
    return IsChipSetRow() ? mItemIndex * kTilesPerPage + mTileCell : mCharIndex;
}

void TSelEvCharModel::SetDirection(int direction) {
    mDirection = std::clamp(direction, 0, 3);
    Render();
}

void TSelEvCharModel::SetPattern(int pattern) {
    mPattern = std::clamp(pattern, 0, 2);
    Render();
}

bool TSelEvCharModel::ClickAt(int x, int y) {
    if (mItemIndex < 0)
        return false;
    const int cell = Grid().CellAt(x, y);
    if (cell < 0)
        return false;
    (IsChipSetRow() ? mTileCell : mCharIndex) = cell;
    Render();
    return true;
}

void TSelEvCharModel::Render() {
    const TSelGrid& grid = Grid();
    mPreview.SetSize(grid.Width(), grid.Height());
    mPreview.Clear();
    if (mItemIndex < 0)
        return;
    if (IsChipSetRow()) {
        for (int cell = 0; cell < grid.Count; ++cell) {
            const TRect r = grid.CellRect(cell);
            mChipSet->DrawTile(mPreview, r.Left, r.Top, 0, 10000 + mItemIndex * kTilesPerPage + cell, false, 32);
        }
        DrawSelFrame(mPreview, grid.CellRect(mTileCell));
        return;
    }
    if (mCharSheet.Width() > 0) {
        for (int i = 0; i < grid.Count; ++i) {
            const TPoint origin = CharFrameOrigin(i, mPattern, mDirection);
            mPreview.StretchDrawSheet(grid.CellRect(i), mCharSheet,
                                      MakeBounds(origin.X, origin.Y, kCharWidth, kCharHeight));
        }
    }
    DrawSelFrame(mPreview, grid.CellRect(mCharIndex));
}

TSelReplChipModel::TSelReplChipModel(const std::string& chipSetName, int layer)
    : mChipSet(MakeChipSet(chipSetName)), mLayer(layer == 1 ? 1 : 0) {
    const int count = mLayer == 0 ? kChipSetBlocks + kChipSetTiles : kChipSetTiles;
    mGrid = TSelGrid{6, (count + 5) / 6, 32, 32, count};
    Render();
}

void TSelReplChipModel::Open(int index) {
    mIndex = index >= 0 && index < mGrid.Count ? index : 0;
    Render();
}

bool TSelReplChipModel::ClickAt(int x, int y) {
    const int cell = mGrid.CellAt(x, y);
    if (cell < 0)
        return false;
    mIndex = cell;
    Render();
    return true;
}

std::int32_t TSelReplChipModel::TileIdOf(int layer, int a) {
    if (layer == 1)
        return 10000 + a;
    if (a < 3)
        return a * 1000 + 49;
    if (a < 6)
        return (a - 3) * 50 + 3000;
    if (a > 17)
        return a + 4982;
    return (a - 6) * 50 + 4049;
}

void TSelReplChipModel::Render() {
    mPreview.SetSize(mGrid.Width(), mGrid.Height());
    mPreview.Clear();
    for (int cell = 0; cell < mGrid.Count; ++cell) {
        const TRect r = mGrid.CellRect(cell);
        mChipSet->DrawTile(mPreview, r.Left, r.Top, 0, TileIdOf(mLayer, cell), false, 32);
    }
    DrawSelFrame(mPreview, mGrid.CellRect(mIndex));
}

}  // namespace quillon
