#include "graphics/EventMap.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/MapRender.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::uint16_t kWhite565 = 0xFFFF;

std::size_t CellIndex(std::int32_t column, std::int32_t row, std::int32_t width) {
    return static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

}  // namespace

TKelEventMap::TKelEventMap() : mOwnMarks(std::make_unique<TStartPosMark>()), mMarks(mOwnMarks.get()) {}

TKelEventMap::TKelEventMap(const TKelMapTree* tree, TKelCharSetGraphic& charSets, TStartPosMark& marks)
    : mMapTree(tree), mMarks(&marks), mCharSets(&charSets) {}

TKelEventMap::~TKelEventMap() = default;

void TKelEventMap::Build(const TKelMapTree& mapTree, const TKelMap& map) {
    mMapTree = &mapTree;
    Build(map);
}

void TKelEventMap::Build(const TKelMap& map) {
    mMap = &map;
    mWidth = std::max(map.Width(), 0);
    mHeight = std::max(map.Height(), 0);
    mCells.assign(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight), kEventCodeNone);
    const auto inside = [this](std::int32_t x, std::int32_t y) {
        return x >= 0 && x < mWidth && y >= 0 && y < mHeight;
    };
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TKelEventItem* event = map.Events.Items(i);
        // IDs past 60000 would read as start positions; such an event is not shown.
        if (event->ID < 1 || event->ID > kEventCodeMaxEvent || !inside(event->X, event->Y))
            continue;
        mCells[CellIndex(event->X, event->Y, mWidth)] = static_cast<std::uint16_t>(event->ID);
    }
    if (!mMapTree)
        return;
    const TKelMapStartPosition& start = mMapTree->StartPosition;
    for (int i = 0; i < TKelMapStartPosition::kCount; ++i) {
        // Map 0 means the position is not set.
        if (start.GetMapId(i) < 1 || start.GetMapId(i) != map.ID || !inside(start.GetX(i), start.GetY(i)))
            continue;
        mCells[CellIndex(start.GetX(i), start.GetY(i), mWidth)] = static_cast<std::uint16_t>(kEventCodeParty + i);
    }
}

void TKelEventMap::Clear() {
    mCells.clear();
    mWidth = mHeight = 0;
    mMap = nullptr;
}

std::int32_t TKelEventMap::GetAt(std::int32_t column, std::int32_t row) const {
    if (column < 0 || column >= mWidth || row < 0 || row >= mHeight)
        return -1;
    return mCells[CellIndex(column, row, mWidth)];
}

void TKelEventMap::SetGraphics(TKelChipSetGraphic* chipSet, TKelCharSetGraphic* charSets) {
    mChipSet = chipSet;
    mCharSets = charSets;
}

void TKelEventMap::LoadCharSets(const TKelMap& map) {
    if (!mCharSets)
        return;
    mCharSets->BeginUse();
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TKelEventItem* event = map.Events.Items(i);
        for (int p = 0; p < event->Pages.Count(); ++p) {
            const TKelEventPageItem* page = event->Pages.Items(p);
            if (!page->GraphicName.empty())
                mCharSets->Load(page->GraphicName);
        }
    }
    mCharSets->EndUse();
}

void TKelEventMap::DrawCell(TOrlenBoard& board, int x, int y, int size, std::int32_t code, bool faint) {
    Draw(board, x, y, size, code, faint, mMap, mChipSet);
}

void TKelEventMap::DrawCode(TOrlenBoard& board, int x, int y, int size, int code, bool faint, const TKelMap& map,
                            TKelChipSetGraphic& chips) {
    Draw(board, x, y, size, code, faint, &map, &chips);
}

void TKelEventMap::Draw(TOrlenBoard& board, int x, int y, int size, std::int32_t code, bool faint, const TKelMap* map,
                        TKelChipSetGraphic* chips) {
    if (code <= kEventCodeNone)
        return;
    if (code >= kEventCodeParty) {
        if (code <= kEventCodeAirship)
            mMarks->Draw(board, x, y, size, code - kEventCodeParty, faint);
        return;
    }
    if (size < 16 || faint) {
        mMarks->Draw(board, x, y, size, TStartPosMark::smEvent, faint);
        return;
    }
    if (size != 16 && size != 32)
        return;
    if (size == 16)
        FillBoardRect(board, MakeBounds(x + 1, y + 1, 13, 13), kWhite565);
    else
        FillBoardRect(board, MakeBounds(x + 4, y + 4, 23, 23), kWhite565);
    const TKelEventItem* event = map ? map->Events.FindByID(code) : nullptr;
    const TKelEventPageItem* page = event && event->Pages.Count() > 0 ? event->Pages.Items(0) : nullptr;
    if (!page)
        return;
    if (page->GraphicName.empty()) {
        if (!chips)
            return;
        // A tile: the upper tile on the chipset's background colour, drawn from the transparent
        // sheet; the sheet's own settings come back afterwards.
        TOrlenSheet& sheet = chips->Sheet();
        const bool transparent = sheet.Transparent;
        const int opacity = sheet.Opacity;
        sheet.Transparent = true;
        sheet.Opacity = 255;
        const std::uint16_t background = Color565(sheet.Palette[0]);
        const std::int32_t tile =
            kTileUpperFirst + std::clamp(page->GraphicIndex, 0, kTileNothingFirst - kTileUpperFirst - 1);
        if (size == 16) {
            mScratch.SetSize(16, 16);
            FillBoardRect(mScratch, MakeBounds(0, 0, 16, 16), background);
            chips->DrawTile(mScratch, 0, 0, 0, tile, false, 16);
            board.CopyFrom(x + 2, y + 2, MakeBounds(2, 2, 11, 11), mScratch);
        } else {
            FillBoardRect(board, MakeBounds(x + 5, y + 5, 21, 21), background);
            chips->DrawTile(board, x + 8, y + 8, 0, tile, false, 16);
        }
        sheet.Transparent = transparent;
        sheet.Opacity = opacity;
        return;
    }
    TOrlenSheet* sheet = mCharSets ? mCharSets->SheetAt(mCharSets->IndexOf(page->GraphicName)) : nullptr;
    if (!sheet)
        return;
    const TPoint origin = CharFrameOrigin(page->GraphicIndex, page->GraphicPattern, page->GraphicDirection);
    if (size == 16)
        board.DrawSheet(x + 2, y + 2, MakeBounds(origin.X + 6, origin.Y + 9, 11, 11), *sheet);
    else
        board.DrawSheet(x + 5, y + 5, MakeBounds(origin.X + 1, origin.Y + 6, 21, 21), *sheet);
}

}  // namespace quillon
