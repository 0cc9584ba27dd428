#include "graphics/GR_ChipSet.h"

#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kQuarter = 8;  // pixels
constexpr int kCell = 16;

constexpr TChipQuarter Q(int x, int y) { return TChipQuarter{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

// Autotile shapes: top-left, top-right, bottom-left, bottom-right quarter of each shape.
constexpr TChipQuarters kAutoTileTable[50] = {
    {Q(2, 4), Q(3, 4), Q(2, 5), Q(3, 5)},  // 0
    {Q(4, 0), Q(3, 4), Q(2, 5), Q(3, 5)},  // 1
    {Q(2, 4), Q(5, 0), Q(2, 5), Q(3, 5)},  // 2
    {Q(4, 0), Q(5, 0), Q(2, 5), Q(3, 5)},  // 3
    {Q(2, 4), Q(3, 4), Q(2, 5), Q(5, 1)},  // 4
    {Q(4, 0), Q(3, 4), Q(2, 5), Q(5, 1)},  // 5
    {Q(2, 4), Q(5, 0), Q(2, 5), Q(5, 1)},  // 6
    {Q(4, 0), Q(5, 0), Q(2, 5), Q(5, 1)},  // 7
    {Q(2, 4), Q(3, 4), Q(4, 1), Q(3, 5)},  // 8
    {Q(4, 0), Q(3, 4), Q(4, 1), Q(3, 5)},  // 9
    {Q(2, 4), Q(5, 0), Q(4, 1), Q(3, 5)},  // 10
    {Q(4, 0), Q(5, 0), Q(4, 1), Q(3, 5)},  // 11
    {Q(2, 4), Q(3, 4), Q(4, 1), Q(5, 1)},  // 12
    {Q(4, 0), Q(3, 4), Q(4, 1), Q(5, 1)},  // 13
    {Q(2, 4), Q(5, 0), Q(4, 1), Q(5, 1)},  // 14
    {Q(4, 0), Q(5, 0), Q(4, 1), Q(5, 1)},  // 15
    {Q(0, 4), Q(1, 4), Q(0, 5), Q(1, 5)},  // 16
    {Q(0, 4), Q(5, 0), Q(0, 5), Q(1, 5)},  // 17
    {Q(0, 4), Q(1, 4), Q(0, 5), Q(5, 1)},  // 18
    {Q(0, 4), Q(5, 0), Q(0, 5), Q(5, 1)},  // 19
    {Q(2, 2), Q(3, 2), Q(2, 3), Q(3, 3)},  // 20
    {Q(2, 2), Q(3, 2), Q(2, 3), Q(5, 1)},  // 21
    {Q(2, 2), Q(3, 2), Q(4, 1), Q(3, 3)},  // 22
    {Q(2, 2), Q(3, 2), Q(4, 1), Q(5, 1)},  // 23
    {Q(4, 4), Q(5, 4), Q(4, 5), Q(5, 5)},  // 24
    {Q(4, 4), Q(5, 4), Q(4, 1), Q(5, 5)},  // 25
    {Q(4, 0), Q(5, 4), Q(4, 5), Q(5, 5)},  // 26
    {Q(4, 0), Q(5, 4), Q(4, 1), Q(5, 5)},  // 27
    {Q(2, 6), Q(3, 6), Q(2, 7), Q(3, 7)},  // 28
    {Q(4, 0), Q(3, 6), Q(2, 7), Q(3, 7)},  // 29
    {Q(2, 6), Q(5, 0), Q(2, 7), Q(3, 7)},  // 30
    {Q(4, 0), Q(5, 0), Q(2, 7), Q(3, 7)},  // 31
    {Q(0, 4), Q(5, 4), Q(0, 5), Q(5, 5)},  // 32
    {Q(2, 2), Q(3, 2), Q(2, 7), Q(3, 7)},  // 33
    {Q(0, 2), Q(1, 2), Q(0, 3), Q(1, 3)},  // 34
    {Q(0, 2), Q(1, 2), Q(0, 3), Q(5, 1)},  // 35
    {Q(4, 2), Q(5, 2), Q(4, 3), Q(5, 3)},  // 36
    {Q(4, 2), Q(5, 2), Q(4, 1), Q(5, 3)},  // 37
    {Q(4, 6), Q(5, 6), Q(4, 7), Q(5, 7)},  // 38
    {Q(4, 0), Q(5, 6), Q(4, 7), Q(5, 7)},  // 39
    {Q(0, 6), Q(1, 6), Q(0, 7), Q(1, 7)},  // 40
    {Q(0, 6), Q(5, 0), Q(0, 7), Q(1, 7)},  // 41
    {Q(0, 2), Q(5, 2), Q(0, 3), Q(5, 3)},  // 42
    {Q(0, 2), Q(1, 2), Q(0, 7), Q(1, 7)},  // 43
    {Q(0, 6), Q(5, 6), Q(0, 7), Q(5, 7)},  // 44
    {Q(4, 2), Q(5, 2), Q(4, 7), Q(5, 7)},  // 45
    {Q(0, 2), Q(5, 2), Q(0, 7), Q(5, 7)},  // 46
    {Q(2, 4), Q(3, 4), Q(2, 5), Q(3, 5)},  // 47
    {Q(2, 4), Q(3, 4), Q(2, 5), Q(3, 5)},  // 48
    {Q(0, 0), Q(1, 0), Q(0, 1), Q(1, 1)},  // 49
};

// Water A shapes: the y of the top-left, top-right, bottom-left and bottom-right quarter; the left
// quarters lie in column 0, the right ones in column 1.
constexpr std::uint8_t kWaterTable[50][4] = {
    {8, 8, 9, 9}, {6, 8, 9, 9}, {8, 6, 9, 9}, {6, 6, 9, 9}, {8, 8, 9, 7},  // 0..4
    {6, 8, 9, 7}, {8, 6, 9, 7}, {6, 6, 9, 7}, {8, 8, 7, 9}, {6, 8, 7, 9},  // 5..9
    {8, 6, 7, 9}, {6, 6, 7, 9}, {8, 8, 7, 7}, {6, 8, 7, 7}, {8, 6, 7, 7},  // 10..14
    {6, 6, 7, 7}, {2, 8, 3, 9}, {2, 6, 3, 9}, {2, 8, 3, 7}, {2, 6, 3, 7},  // 15..19
    {4, 4, 9, 9}, {4, 4, 9, 7}, {4, 4, 7, 9}, {4, 4, 7, 7}, {8, 2, 9, 3},  // 20..24
    {8, 2, 7, 3}, {6, 2, 9, 3}, {6, 2, 7, 3}, {8, 8, 5, 5}, {6, 8, 5, 5},  // 25..29
    {8, 6, 5, 5}, {6, 6, 5, 5}, {2, 2, 3, 3}, {4, 4, 5, 5}, {0, 4, 3, 9},  // 30..34
    {0, 4, 3, 7}, {4, 0, 9, 3}, {4, 0, 7, 3}, {8, 2, 5, 1}, {6, 2, 5, 1},  // 35..39
    {2, 8, 1, 5}, {2, 6, 1, 5}, {0, 0, 3, 3}, {0, 4, 1, 5}, {2, 2, 1, 1},  // 40..44
    {4, 0, 5, 1}, {0, 0, 1, 1}, {8, 8, 9, 9}, {8, 8, 9, 9}, {0, 0, 1, 1},  // 45..49
};

// Corner pieces that replace a quarter when its corner bit is set: water A and B, deep water.
constexpr TChipQuarters kWaterCorners = {Q(0, 10), Q(1, 10), Q(0, 11), Q(1, 11)};
constexpr TChipQuarters kDeepWaterCorners = {Q(0, 12), Q(1, 12), Q(0, 13), Q(1, 13)};

constexpr TChipQuarter kBlockOrigins[kChipSetBlocks] = {
    Q(0, 0),   Q(0, 0),   Q(0, 0),                                                      // water
    Q(6, 8),   Q(8, 8),   Q(10, 8),                                                     // animated
    Q(0, 16),  Q(6, 16),  Q(0, 24),  Q(6, 24),  Q(12, 0),  Q(18, 0),  Q(12, 8), Q(18, 8),  // autotiles
    Q(12, 16), Q(18, 16), Q(12, 24), Q(18, 24),
};

constexpr int kWaterFrames1232[4] = {0, 2, 4, 2};

int Modulo(int value, int divisor) {
    const int rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

TRect CellRect(TChipQuarter source) { return MakeBounds(source.X * kQuarter, source.Y * kQuarter, kCell, kCell); }

}  // namespace

const TChipQuarters& AutoTileQuarters(int shape) { return kAutoTileTable[std::clamp(shape, 0, 49)]; }

TChipQuarters WaterQuarters(int kind, int shape) {
    shape = std::clamp(shape, 0, 49);
    if (kind == 2 && shape == 49)
        return kDeepWaterCorners;
    TChipQuarters quarters;
    for (int i = 0; i < 4; ++i) {
        int x = i % 2;
        int y = kWaterTable[shape][i];
        if (kind == 1 && y < 8)
            x += 6;
        if (kind == 2 && y >= 8)
            y += 6;
        quarters[static_cast<std::size_t>(i)] = Q(x, y);
    }
    return quarters;
}

TChipQuarter BlockOrigin(int block) { return kBlockOrigins[std::clamp(block, 0, kChipSetBlocks - 1)]; }

TChipQuarter LowerTileOrigin(int n) {
    n = std::clamp(n, 0, kChipSetTiles - 1);
    if (n < 96)
        return Q(24 + 2 * (n % 6), 2 * (n / 6));
    return Q(36 + 2 * (n % 6), 2 * ((n - 96) / 6));
}

TChipQuarter UpperTileOrigin(int n) {
    n = std::clamp(n, 0, kChipSetTiles - 1);
    if (n < 48)
        return Q(36 + 2 * (n % 6), 2 * ((n + 48) / 6));
    return Q(48 + 2 * (n % 6), 2 * ((n - 48) / 6));
}

int WaterFrameOffset(int animCounter, std::int32_t seaSequence, std::int32_t seaSpeed) {
    const int ticks = seaSpeed != 0 ? 12 : 24;
    const int t = animCounter / ticks;
    if (seaSequence != 0)
        return 2 * Modulo(t, 3);
    return kWaterFrames1232[Modulo(t, 4)];
}

int AnimatedFrameOffset(int animCounter) { return 2 * Modulo(animCounter / 6, 4); }

TKelChipSetGraphic::TKelChipSetGraphic(TImageFinder find)
    : mFind(std::move(find)), mSheet(std::make_unique<TOrlenSheet>()) {
    mSheet->SetSize(kChipSetWidth, kChipSetHeight);
    if (EditorMode()) {
        mDimSheet = std::make_unique<TOrlenSheet>();
        mDimSheet->SetSize(kChipSetWidth, kChipSetHeight);
    }
    Analyse();
}

void TKelChipSetGraphic::Clear() {
    mFileName.clear();
    mSheet->Clear();
    if (mDimSheet)
        mDimSheet->Clear();
    mChipSet = nullptr;
    Analyse();
}

void TKelChipSetGraphic::SetChipSet(const TKelChipSetItem* record) {
    mChipSet = record;
    LoadGraphic(record ? record->FileName : std::string());
}

void TKelChipSetGraphic::LoadGraphic(const std::string& name) {
    if (name == mFileName)
        return;
    mFileName = name;
    mSheet->Clear();
    if (mDimSheet)
        mDimSheet->Clear();
    const bool raise = !EditorMode();
    try {
        LoadSheetResource(*mSheet, mFind, "ChipSet", name, raise);
    } catch (...) {
        Analyse();
        throw;
    }
    if (mDimSheet) {
        LoadSheetResource(*mDimSheet, mFind, "ChipSet", name, false);
        mDimSheet->PrimaryControl().SetColor(90, 90, 90, 60, true);
    }
    Analyse();
}

void TKelChipSetGraphic::Analyse() {
    const TOrlenSheet& sheet = *mSheet;
    for (int block = 0; block < kChipSetBlocks; ++block) {
        TChipTileInfo& info = mTileInfo[static_cast<std::size_t>(block)];
        info = TChipTileInfo{BlockOrigin(block), -1, false};
    }
    for (int block = kChipSetFirstAutoTile; block < kChipSetBlocks; ++block) {
        TRect link = CellRect(BlockOrigin(block));
        link.Left += kCell;
        link.Right += kCell;
        // A blank link cell is an autotile drawn without a link: it joins nothing else (a blank
        // sheet would otherwise link every autotile to the first blank preview).
        if (sheet.IsAreaEmpty(link))
            continue;
        for (int other = kChipSetFirstAutoTile; other < kChipSetBlocks; ++other) {
            if (sheet.SameArea(CellRect(BlockOrigin(other)), link)) {
                mTileInfo[static_cast<std::size_t>(block)].Link = other;
                break;
            }
        }
    }
    for (int n = 0; n < kChipSetTiles; ++n) {
        const TChipQuarter lower = LowerTileOrigin(n);
        mTileInfo[static_cast<std::size_t>(kChipSetBlocks + n)] =
            TChipTileInfo{lower, -1, sheet.IsAreaEmpty(CellRect(lower))};
        const TChipQuarter upper = UpperTileOrigin(n);
        mUpperInfo[static_cast<std::size_t>(n)] = TChipTileInfo{upper, -1, sheet.IsAreaEmpty(CellRect(upper))};
    }
}

std::int32_t TKelChipSetGraphic::GetAutotileLink(int index) const {
    if (index < 0 || index >= kChipSetBlocks)
        return -1;
    return mTileInfo[static_cast<std::size_t>(index)].Link;
}

void TKelChipSetGraphic::SetTransparent(bool value) {
    mSheet->Transparent = value;
    if (mDimSheet)
        mDimSheet->Transparent = value;
}

void TKelChipSetGraphic::SetDimLevel(int level) {
    const int opacity = std::clamp(255 - 30 * level, 0, 255);
    mSheet->Opacity = opacity;
    if (mDimSheet)
        mDimSheet->Opacity = opacity;
}

void TKelChipSetGraphic::DrawCell(TOrlenSheet& sheet, TChipQuarter source, int x, int y, TOrlenBoard& board,
                                  int size) {
    board.StretchDrawSheet(MakeBounds(x, y, size, size), sheet, CellRect(source));
}

void TKelChipSetGraphic::DrawQuarters(TOrlenSheet& sheet, int block, int x, int y, TOrlenBoard& board, int half,
                                      const TChipQuarters& quarters) const {
    const TChipQuarter origin = mTileInfo[static_cast<std::size_t>(std::clamp(block, 0, kChipSetBlocks - 1))].Source;
    const TChipQuarter& first = quarters[0];
    if (quarters[1] == Q(first.X + 1, first.Y) && quarters[2] == Q(first.X, first.Y + 1) &&
        quarters[3] == Q(first.X + 1, first.Y + 1)) {
        DrawCell(sheet, Q(origin.X + first.X, origin.Y + first.Y), x, y, board, 2 * half);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        const TChipQuarter& quarter = quarters[static_cast<std::size_t>(i)];
        const TRect source =
            MakeBounds((origin.X + quarter.X) * kQuarter, (origin.Y + quarter.Y) * kQuarter, kQuarter, kQuarter);
        board.StretchDrawSheet(MakeBounds(x + (i % 2) * half, y + (i / 2) * half, half, half), sheet, source);
    }
}

void TKelChipSetGraphic::DrawTile(TOrlenBoard& board, int x, int y, int animCounter, std::int32_t tileId,
                                  bool dimmed, int size) {
    if (tileId < 0 || tileId >= 20000 || size <= 0)
        return;
    TOrlenSheet& sheet = dimmed && mDimSheet && EditorMode() ? *mDimSheet : *mSheet;
    if (tileId >= 10000) {
        const TChipTileInfo& info = mUpperInfo[static_cast<std::size_t>(std::min(tileId - 10000, kChipSetTiles - 1))];
        if (!(info.Empty && sheet.Transparent))
            DrawCell(sheet, info.Source, x, y, board, size);
    } else if (tileId >= 5000) {
        if (tileId - 5000 >= kChipSetTiles)
            return;
        const TChipTileInfo& info = mTileInfo[static_cast<std::size_t>(kChipSetBlocks + tileId - 5000)];
        if (!(info.Empty && sheet.Transparent))
            DrawCell(sheet, info.Source, x, y, board, size);
    } else if (tileId >= 4000) {
        const int block = kChipSetFirstAutoTile + (tileId - 4000) / 50;
        if (block < kChipSetBlocks)
            DrawQuarters(sheet, block, x, y, board, size / 2, AutoTileQuarters(tileId % 50));
    } else if (tileId >= 3000) {
        const int block = 3 + (tileId - 3000) / 50;
        if (block < 6) {
            TChipQuarter source = mTileInfo[static_cast<std::size_t>(block)].Source;
            source.Y = static_cast<std::uint8_t>(source.Y + AnimatedFrameOffset(animCounter));
            DrawCell(sheet, source, x, y, board, size);
        }
    } else {
        const int kind = tileId / 1000;
        const int corners = (tileId % 1000) / 50;
        TChipQuarters quarters = WaterQuarters(kind, tileId % 50);
        const TChipQuarters& border = kind == 2 ? kDeepWaterCorners : kWaterCorners;
        for (int i = 0; i < 4; ++i)
            if (corners & (1 << i))
                quarters[static_cast<std::size_t>(i)] = border[static_cast<std::size_t>(i)];
        // Without a record the water animates as a fresh record would: "1-2-3-2", "Slow Speed".
        const int offset = mChipSet ? WaterFrameOffset(animCounter, mChipSet->SeaAnimation, mChipSet->SeaSpeed)
                                    : WaterFrameOffset(animCounter, 0, 0);
        for (TChipQuarter& quarter : quarters)
            quarter.X = static_cast<std::uint8_t>(quarter.X + offset);
        DrawQuarters(sheet, kind, x, y, board, size / 2, quarters);
    }
}

}  // namespace quillon
