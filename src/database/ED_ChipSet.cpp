#include "database/ED_ChipSet.h"

#include "data/LD_DataBase.h"
#include "events/EventChoosers.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

namespace {

constexpr std::uint8_t kDirections = 0x0F;

}  // namespace

int ChipGridRows(int grid) { return grid == cgUpper ? kChipGridUpperRows : kChipGridLowerRows; }

int ChipGridCells(int grid) { return ChipGridRows(grid) * kChipGridColumns; }

std::int32_t ChipGridTile(int grid, int index) {
    if (index < 0 || index >= ChipGridCells(grid))
        return -1;
    if (grid == cgUpper)
        return 10000 + index;
    if (index < 3)
        return 49 + 1000 * index;
    if (index < 6)
        return 3000 + 50 * (index - 3);
    if (index < 18)
        return 4049 + 50 * (index - 6);
    return 5000 + (index - 18);
}

int ChipGridCellAt(int grid, int x, int y) {
    if (x < 0 || y < 0 || x >= kChipGridWidth || y >= ChipGridRows(grid) * kChipGridCell)
        return -1;
    return x / kChipGridCell + (y / kChipGridCell) * kChipGridColumns;
}

bool IsAutoTileCell(int grid, int index) { return grid == cgLower && index >= 6 && index <= 17; }

TPassageMark PassageMark(std::uint8_t flags) {
    if (flags & TKelChipSetItem::cfSquare)
        return TPassageMark::Square;
    if (flags & TKelChipSetItem::cfStar)
        return TPassageMark::Star;
    return flags & kDirections ? TPassageMark::Circle : TPassageMark::Cross;
}

std::uint8_t PassageLeftClick(std::uint8_t p, bool autoTile) {
    if (p & 0x20)
        return static_cast<std::uint8_t>((p | 0x0F) & ~0x30);
    if ((p & 0x10) && autoTile)
        return static_cast<std::uint8_t>((p & 0xF0) | 0x30);
    if (p & 0x10)
        return static_cast<std::uint8_t>(p & ~0x10);
    if (p & kDirections)
        return static_cast<std::uint8_t>(p & 0xF0);
    return static_cast<std::uint8_t>(p | 0x1F);
}

std::uint8_t PassageRightClick(std::uint8_t p, bool autoTile) {
    if (p & 0x20)
        return static_cast<std::uint8_t>((p | 0x1F) & ~0x20);
    if (p & 0x10)
        return static_cast<std::uint8_t>(p & 0xE0);
    if (!(p & kDirections))
        return static_cast<std::uint8_t>(p | 0x0F);
    if (autoTile)
        return static_cast<std::uint8_t>((p & 0xF0) | 0x30);
    return static_cast<std::uint8_t>(p | 0x10);
}

std::uint8_t DirectionRegion(int x, int y) {
    if (y < x && y < kChipGridCell - x)
        return TKelChipSetItem::cfPassUp;
    if (y < x)
        return TKelChipSetItem::cfPassRight;
    if (y < kChipGridCell - x)
        return TKelChipSetItem::cfPassLeft;
    return TKelChipSetItem::cfPassDown;
}

TChipSetPageModel::TChipSetPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TEntryPageModel(context, dtChipSets, context.DataBase->ChipSet), mChoosers(choosers) {
    mEntryChanged = CurrentChanged.Connect([this] {
        mPreviewCounter = 0;
        mPainting = false;
    });
}

bool TChipSetPageModel::ChooseGraphic() {
    if (!mChoosers)
        return false;
    std::string name = Item().FileName;
    if (!mChoosers->ChooseResource(TSelKind::ChipSet, name, nullptr, {}) || name == Item().FileName)
        return false;
    SetFileName(name);
    return true;
}

void TChipSetPageModel::SetFileName(const std::string& name) {
    if (name == Item().FileName)
        return;
    Item().FileName = name;
    Modify();
    ViewChanged.Emit();
}

void TChipSetPageModel::SetGrid(int grid) {
    grid = grid == cgUpper ? cgUpper : cgLower;
    if (grid == mGrid)
        return;
    mGrid = grid;
    mPainting = false;
    mHoverCell = -1;
    mHoverRegion = 0;
    ViewChanged.Emit();
}

bool TChipSetPageModel::GridHasMode(int grid, TChipSetMode mode) {
    if (mode == TChipSetMode::Passage || mode == TChipSetMode::Direction)
        return true;
    return grid == cgUpper ? mode == TChipSetMode::Counter : mode == TChipSetMode::Terrain;
}

bool TChipSetPageModel::SetMode(int grid, TChipSetMode mode) {
    grid = grid == cgUpper ? cgUpper : cgLower;
    if (!GridHasMode(grid, mode))
        return false;
    if (mMode[grid] != mode) {
        mMode[grid] = mode;
        mPainting = false;
        ViewChanged.Emit();
    }
    return true;
}

int TChipSetPageModel::TerrainRows() const { return DataBase().Ground.Count(); }

std::string TChipSetPageModel::TerrainRowText(int row) const {
    const TCatalogItem* item = row >= 0 && row < TerrainRows() ? DataBase().Ground.Items(row) : nullptr;
    return item ? DataBaseRowText(item->ID, item->Name) : std::string{};
}

void TChipSetPageModel::SetTerrainRow(int row) {
    if (row < 0 || row >= std::max(TerrainRows(), 1) || row == mTerrainRow)
        return;
    mTerrainRow = row;
    ViewChanged.Emit();
}

bool TChipSetPageModel::SetAllTerrain(std::int32_t terrainId) {
    if (terrainId < 1)
        return false;
    bool changed = false;
    for (int i = 0; i < TKelChipSetItem::kLowerChips; ++i)
        if (Item().TerrainId(i) != terrainId) {
            Item().SetTerrainId(i, terrainId);
            changed = true;
        }
    if (!changed)
        return false;
    Modify();
    CellChanged.Emit(cgLower, -1);
    return true;
}

std::uint8_t TChipSetPageModel::CellFlags(int grid, int index) const {
    return grid == cgUpper ? Item().UpperFlags(index) : Item().LowerFlags(index);
}

bool TChipSetPageModel::CellEditable(int grid, int index) const {
    return index >= 0 && index < ChipGridCells(grid) && !(grid == cgUpper && index == 0);
}

void TChipSetPageModel::SetFlags(int grid, int index, std::uint8_t flags) {
    if (grid == cgUpper)
        Item().SetUpperFlags(index, flags);
    else
        Item().SetLowerFlags(index, flags);
}

bool TChipSetPageModel::PaintTerrain(int index) {
    const std::int32_t terrain = mTerrainRow + 1;
    if (!CellEditable(cgLower, index) || Item().TerrainId(index) == terrain)
        return false;
    Item().SetTerrainId(index, terrain);
    Modify();
    CellChanged.Emit(cgLower, index);
    return true;
}

bool TChipSetPageModel::EditCell(TChipButton button, int index, int x, int y) {
    if (!CellEditable(mGrid, index))
        return false;
    const std::uint8_t was = CellFlags(mGrid, index);
    std::uint8_t now = was;
    switch (Mode()) {
    case TChipSetMode::Terrain:
        if (button == TChipButton::Left)
            return PaintTerrain(index);
        {
            // Right: the cell's terrain becomes the list's choice.
            const int row = Item().TerrainId(index) - 1;
            if (row < 0 || row >= TerrainRows() || row == mTerrainRow)
                return false;
            mTerrainRow = row;
            ViewChanged.Emit();
        }
        return false;
    case TChipSetMode::Passage:
        now = button == TChipButton::Left ? PassageLeftClick(was, IsAutoTileCell(mGrid, index))
                                          : PassageRightClick(was, IsAutoTileCell(mGrid, index));
        break;
    case TChipSetMode::Direction:
        now = static_cast<std::uint8_t>(was ^ DirectionRegion(x % kChipGridCell, y % kChipGridCell));
        break;
    case TChipSetMode::Counter:
        now = static_cast<std::uint8_t>(was ^ TKelChipSetItem::cfCounter);
        break;
    }
    if (now == was)
        return false;
    SetFlags(mGrid, index, now);
    Modify();
    CellChanged.Emit(mGrid, index);
    return true;
}

bool TChipSetPageModel::Press(TChipButton button, int x, int y) {
    mPainting = false;
    const int index = ChipGridCellAt(mGrid, x, y);
    if (index < 0)
        return false;
    if (button == TChipButton::Left && mGrid == cgLower && Mode() == TChipSetMode::Terrain) {
        mPainting = true;
        mLastX = x;
        mLastY = y;
    }
    return EditCell(button, index, x, y);
}

bool TChipSetPageModel::Move(int x, int y) {
    SetHover(x, y);
    if (!mPainting)
        return false;
    // Every cell on the way from the last position is painted, so a quick stroke leaves no gaps.
    const int steps = std::max(std::abs(x - mLastX), std::abs(y - mLastY)) / (kChipGridCell / 2) + 1;
    bool changed = false;
    int previous = -1;
    for (int s = 1; s <= steps; ++s) {
        const int px = mLastX + (x - mLastX) * s / steps;
        const int py = mLastY + (y - mLastY) * s / steps;
        const int index = ChipGridCellAt(cgLower, px, py);
        if (index >= 0 && index != previous)
            changed = PaintTerrain(index) || changed;
        previous = index;
    }
    mLastX = x;
    mLastY = y;
    return changed;
}

void TChipSetPageModel::Release() { mPainting = false; }

void TChipSetPageModel::SetHover(int x, int y) {
    const int cell = ChipGridCellAt(mGrid, x, y);
    const std::uint8_t region =
        cell >= 0 && Mode() == TChipSetMode::Direction ? DirectionRegion(x % kChipGridCell, y % kChipGridCell) : 0;
    if (cell == mHoverCell && region == mHoverRegion)
        return;
    const int was = mHoverCell;
    mHoverCell = cell;
    mHoverRegion = region;
    if (was >= 0)
        CellChanged.Emit(mGrid, was);
    if (cell >= 0 && cell != was)
        CellChanged.Emit(mGrid, cell);
}

void TChipSetPageModel::ClearHover() { SetHover(-1, -1); }

void TChipSetPageModel::SetSeaSequence(std::int32_t sequence) {
    sequence = sequence == TKelChipSetItem::saSequence123 ? sequence : TKelChipSetItem::saSequence1232;
    if (sequence == Item().SeaAnimation)
        return;
    Item().SeaAnimation = sequence;
    mPreviewCounter = 0;
    Modify();
}

void TChipSetPageModel::SetSeaSpeed(std::int32_t speed) {
    speed = speed == TKelChipSetItem::ssFast ? speed : TKelChipSetItem::ssSlow;
    if (speed == Item().SeaSpeed)
        return;
    Item().SeaSpeed = speed;
    mPreviewCounter = 0;
    Modify();
}

namespace {

TFieldForm BuildForm() {
    TFieldFormBuilder<TChipSetPageModel> form;
    form.Field(TFieldKind::Text, "OverEdit1", "&Name:", &TChipSetPageModel::Name, &TChipSetPageModel::SetName)
        .Bytes(TKelChipSetItem::kMaxNameBytes)
        .Key("name");
    form.Resource("DashBox1", "&Graphic:", &TChipSetPageModel::FileName, &TChipSetPageModel::ChooseGraphic)
        .Writes([](TChipSetPageModel& m, const TFieldValue& v) {
            if (const auto* name = std::get_if<std::string>(&v))
                m.SetFileName(*name);
        })
        .Key("graphic");
    form.Field(TFieldKind::RadioGroup, "GroupSequence", "", &TChipSetPageModel::SeaSequence,
               &TChipSetPageModel::SetSeaSequence)
        .Choices({"RadioButtonA1", "RadioButtonA2"})
        .Key("sequence");
    form.Field(TFieldKind::RadioGroup, "GroupSpeed", "", &TChipSetPageModel::SeaSpeed, &TChipSetPageModel::SetSeaSpeed)
        .Choices({"RadioButtonB1", "RadioButtonB2"})
        .Key("speed");
    return form.Build();
}

TFieldForm BuildGroundAllForm() {
    TFieldFormBuilder<TChipSetGroundAll> form;
    form.Field(TFieldKind::IdList, "ListTerrain", "&Terrain:", &TChipSetGroundAll::TerrainId)
        .ItemsFrom([](const TChipSetGroundAll& r) {
            std::vector<TFieldChoice> items;
            if (r.DataBase)
                for (int i = 0; i < r.DataBase->Ground.Count(); ++i)
                    items.push_back({r.DataBase->Ground.Items(i)->ID, r.DataBase->Ground.Items(i)->Name});
            return items;
        });
    return form.Build();
}

}  // namespace

const TFieldForm& ChipSetPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

const TFieldForm& ChipSetGroundAllForm() {
    static const TFieldForm form = BuildGroundAllForm();
    return form;
}

}  // namespace quillon
