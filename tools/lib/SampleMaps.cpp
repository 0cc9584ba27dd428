#include "tools/lib/SampleMaps.h"

#include "tools/lib/RtpPaint.h"

#include "data/LD_Map.h"
#include "mapedit/MapEditUtils.h"

#include <array>
#include <bitset>
#include <cmath>
#include <map>
#include <utility>

namespace quillon::rtp {

namespace {

// --- where the starter chipsets keep their objects ---

struct TSize {
    int W, H;
};

// The large objects of each chipset in the order they are drawn, then the number of small ones.
const std::vector<TSize> kWorldLarge = {{3, 3}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2},
                                        {1, 2}, {1, 2}, {2, 2}, {1, 2}, {1, 2}};
const std::vector<TSize> kTownLarge = {{3, 3}, {3, 3}, {2, 2}, {2, 2}, {4, 3}, {2, 2}, {1, 2},
                                       {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}};
constexpr int kWorldSmallCount = 20;
constexpr int kTownSmallCount = 16;

struct TObjectTiles {
    std::vector<int> Large;  // top-left tile of each large object
    std::vector<int> Small;  // first tile of each small object
};

// Packs the objects as the chipset painter packs them: two blocks six tiles wide, upper tiles
// 0..47 and 48..143, each object at the first free place scanning rows, large ones first, then
// the small ones in turn until nothing fits.
TObjectTiles Pack(const std::vector<TSize>& large, int smallCount) {
    struct TBlock {
        int Rows, First;
    };
    const TBlock blocks[2] = {{8, 0}, {16, 48}};
    std::bitset<144> used;
    used[0] = true;
    auto place = [&](TSize size) -> int {
        for (const TBlock& b : blocks)
            for (int r = 0; r + size.H <= b.Rows; ++r)
                for (int c = 0; c + size.W <= 6; ++c) {
                    bool free = true;
                    for (int dy = 0; dy < size.H; ++dy)
                        for (int dx = 0; dx < size.W; ++dx)
                            free = free && !used[static_cast<std::size_t>(b.First + (r + dy) * 6 + c + dx)];
                    if (!free)
                        continue;
                    for (int dy = 0; dy < size.H; ++dy)
                        for (int dx = 0; dx < size.W; ++dx)
                            used[static_cast<std::size_t>(b.First + (r + dy) * 6 + c + dx)] = true;
                    return b.First + r * 6 + c;
                }
        return -1;
    };
    TObjectTiles tiles;
    for (const TSize& size : large)
        tiles.Large.push_back(place(size));
    tiles.Small.assign(static_cast<std::size_t>(smallCount), -1);
    for (int i = 0;; ++i) {
        const int tile = place({1, 1});
        if (tile < 0)
            break;
        int& first = tiles.Small[static_cast<std::size_t>(i % smallCount)];
        if (first < 0)
            first = tile;
    }
    return tiles;
}

const TObjectTiles& Tiles(int chipset) {
    static const TObjectTiles world = Pack(kWorldLarge, kWorldSmallCount);
    static const TObjectTiles town = Pack(kTownLarge, kTownSmallCount);
    return chipset == 0 ? world : town;
}

// Small objects by index.
enum : int {
    wTree = 0, wTreeGreen = 1, wPine = 2, wFlowers = 3, wPalm = 4, wBush = 6, wRock = 7, wStump = 9,
    wSign = 11, wVillage = 12, wTent = 13, wCave = 14,
};
enum : int {
    tTree = 0, tPine = 1, tBush = 2, tFlowers = 3, tFence = 4, tWell = 5, tBarrel = 6, tCrate = 7,
    tPot = 8, tSign = 12, tStump = 13, tRock = 14,
};
// Large objects by index.
enum : int { wCastle = 0, wBigTree = 3, wBigTreeGreen = 4 };
enum : int { tHouse3 = 0, tHouse3Slate = 1, tHouse2 = 2, tHouse2Slate = 3, tHouse4 = 4, tBigTree = 5, tLamp = 10 };

// --- painting ---

// Base tile IDs (shape 0) of the starter chipsets.
constexpr std::uint16_t kWaterBanks = 1000;  // water B: grassy banks
constexpr std::uint16_t kDeepWater = 2000;
constexpr std::uint16_t Autotile(int block) { return static_cast<std::uint16_t>(4000 + 50 * block); }
constexpr std::uint16_t Plain(int row, int detail) { return static_cast<std::uint16_t>(5000 + row * 6 + detail); }

class TPainterMap {
public:
    TPainterMap(TKelMap& map, int chipset, std::uint32_t seed)
        : mMap(map), mChipSet(chipset), mRandom(seed), mLower(Cells(), 0), mWalkable(Cells(), true) {}

    int W() const { return mMap.Width(); }
    int H() const { return mMap.Height(); }
    std::size_t Cells() const { return static_cast<std::size_t>(mMap.Width()) * static_cast<std::size_t>(mMap.Height()); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W() && y < H(); }
    std::size_t At(int x, int y) const { return static_cast<std::size_t>(x + y * W()); }
    int Below(int n) { return mRandom.Below(n); }

    void Lower(int x, int y, std::uint16_t tile, bool walkable = true) {
        if (!Inside(x, y))
            return;
        mLower[At(x, y)] = tile;
        mWalkable[At(x, y)] = walkable;
    }
    std::uint16_t LowerAt(int x, int y) const { return Inside(x, y) ? mLower[At(x, y)] : 0; }
    void Fill(int x0, int y0, int w, int h, std::uint16_t tile, bool walkable = true) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                Lower(x, y, tile, walkable);
    }
    // A blob of roughly elliptic shape with an uneven edge.
    template <class F>
    void Blob(double cx, double cy, double rx, double ry, F paint) {
        for (int y = 0; y < H(); ++y)
            for (int x = 0; x < W(); ++x) {
                const double dx = (x - cx) / rx, dy = (y - cy) / ry;
                const double wobble = 0.12 * std::sin(x * 1.7 + y * 0.9) + 0.1 * std::cos(y * 1.3 - x * 0.7);
                if (dx * dx + dy * dy < 1.0 + wobble)
                    paint(x, y);
            }
    }
    bool Free(int x, int y, int w, int h) const {
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx)
                if (!Inside(xx, yy) || mUpper.count(At(xx, yy)) != 0)
                    return false;
        return true;
    }
    // A large object with its top-left cell at (x, y); its cells cannot be walked on.
    void Large(int n, int x, int y) {
        const int tile = Tiles(mChipSet).Large[static_cast<std::size_t>(n)];
        const TSize size = (mChipSet == 0 ? kWorldLarge : kTownLarge)[static_cast<std::size_t>(n)];
        if (tile < 0 || !Free(x, y, size.W, size.H))
            return;
        for (int dy = 0; dy < size.H; ++dy)
            for (int dx = 0; dx < size.W; ++dx)
                SetUpper(x + dx, y + dy, tile + dy * 6 + dx, false);
    }
    void Small(int index, int x, int y, bool walkable = false) {
        const int tile = Tiles(mChipSet).Small[static_cast<std::size_t>(index)];
        if (tile >= 0 && Free(x, y, 1, 1))
            SetUpper(x, y, tile, walkable);
    }
    // Writes the lower layer through the edit model, so that water and autotiles take the shapes
    // their neighbours give them, and the upper layer as it is.
    void Commit(std::vector<bool>& walkable) {
        TKelMapEditModel model;
        model.LoadMap(&mMap);
        model.Mode = TKelEditMode::Lower;
        for (int y = 0; y < H(); ++y)
            for (int x = 0; x < W(); ++x) {
                model.Pattern().SetSingle(mLower[At(x, y)]);
                model.PatternAnchor = {x, y};
                model.PlaceTile(x, y, {});
            }
        for (const auto& [at, tile] : mUpper)
            mMap.UpperLayer.SetCell(static_cast<int>(at % static_cast<std::size_t>(W())),
                                    static_cast<int>(at / static_cast<std::size_t>(W())),
                                    static_cast<std::uint16_t>(10000 + tile));
        walkable = mWalkable;
    }

private:
    void SetUpper(int x, int y, int tile, bool walkable) {
        mUpper[At(x, y)] = tile;
        if (!walkable)
            mWalkable[At(x, y)] = false;
    }

    TKelMap& mMap;
    int mChipSet;
    TRng mRandom;
    std::vector<std::uint16_t> mLower;
    std::vector<bool> mWalkable;
    std::map<std::size_t, int> mUpper;
};

// Grass with a little variety: mostly plain, now and then a tile with a detail.
std::uint16_t Grass(TPainterMap& p, int row) {
    const int roll = p.Below(12);
    return Plain(row, roll < 9 ? 0 : roll - 8);
}

void PaintWorld(TPainterMap& p) {
    const int w = p.W(), h = p.H();
    // The sea around an island.
    p.Fill(0, 0, w, h, kWaterBanks, false);
    p.Blob(w / 2.0, h / 2.0, w * 0.42, h * 0.4, [&](int x, int y) { p.Lower(x, y, Grass(p, 0)); });
    // Deep water far from the shore.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool open = true;
            for (int dy = -2; dy <= 2 && open; ++dy)
                for (int dx = -2; dx <= 2 && open; ++dx)
                    open = p.LowerAt((x + dx + w) % w, (y + dy + h) % h) == kWaterBanks;
            if (open)
                p.Lower(x, y, kDeepWater, false);
        }
    // Mountains in the north-west, hills before them, a forest in the east, a lake in the south.
    p.Blob(w * 0.3, h * 0.27, w * 0.13, h * 0.1, [&](int x, int y) { p.Lower(x, y, Autotile(1)); });
    p.Blob(w * 0.28, h * 0.24, w * 0.1, h * 0.07, [&](int x, int y) { p.Lower(x, y, Autotile(2), false); });
    p.Blob(w * 0.73, h * 0.38, w * 0.12, h * 0.16, [&](int x, int y) { p.Lower(x, y, Autotile(0)); });
    p.Blob(w * 0.28, h * 0.7, w * 0.07, h * 0.09, [&](int x, int y) { p.Lower(x, y, Autotile(0)); });
    p.Blob(w * 0.62, h * 0.72, w * 0.08, h * 0.08, [&](int x, int y) { p.Lower(x, y, kWaterBanks, false); });
    p.Blob(w * 0.48, h * 0.82, w * 0.06, h * 0.05, [&](int x, int y) { p.Lower(x, y, Autotile(7)); });

    // The castle in the north, the village in the east, a road joining them.
    const int castleX = w / 2 - 1, castleY = h / 4 - 1;
    const int roadY = h / 2 + 1, villageX = w * 3 / 4 + 3;
    for (int y = castleY + 3; y <= roadY; ++y)
        p.Lower(castleX + 1, y, Autotile(8));
    for (int x = w / 4; x <= villageX; ++x)
        p.Lower(x, roadY, Autotile(8));
    for (int y = roadY; y <= roadY + 4; ++y)
        p.Lower(w / 4, y, Autotile(8));
    p.Large(wCastle, castleX, castleY);
    p.Small(wVillage, villageX, roadY - 1, true);
    p.Small(wSign, villageX - 2, roadY - 1);
    p.Small(wCave, w * 3 / 10, h * 3 / 10 + 2, true);
    p.Small(wTent, w / 4 + 1, roadY + 4, true);

    // Trees along the forest's edge and here and there on the grass.
    for (int i = 0; i < w * h / 14; ++i) {
        const int x = p.Below(w), y = p.Below(h);
        const std::uint16_t under = p.LowerAt(x, y);
        if (under < 5000 || under > 5005)
            continue;
        static const int kScatter[] = {wTree, wTreeGreen, wPine, wBush, wFlowers, wRock, wStump, wPalm};
        const int kind = kScatter[p.Below(8)];
        p.Small(kind, x, y, kind == wFlowers);
    }
}

void PaintVillage(TPainterMap& p) {
    const int w = p.W(), h = p.H();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.Lower(x, y, Grass(p, 10));
    // A cobbled street east to west, a lane north to south, a square where they meet.
    const int streetY = h / 2 - 1, laneX = w / 2;
    p.Fill(0, streetY, w, 2, Autotile(0));
    p.Fill(laneX - 1, 0, 2, h, Autotile(0));
    p.Fill(laneX - 3, streetY - 2, 6, 6, Autotile(0));
    // Flower beds and a pond of dirt paths to the gardens.
    p.Fill(2, h - 4, 5, 2, Autotile(3));
    p.Fill(w - 7, 2, 4, 2, Autotile(3));

    // Houses north of the street with their doors on it, smaller ones south of it.
    p.Large(tHouse3, 2, streetY - 3);
    p.Large(tHouse4, 6, streetY - 3);
    p.Large(tHouse3Slate, laneX + 3, streetY - 3);
    p.Large(tHouse2, laneX + 7, streetY - 2);
    p.Large(tHouse2Slate, 3, streetY + 3);
    p.Large(tHouse2, laneX + 3, streetY + 3);
    p.Large(tHouse3Slate, laneX + 6, streetY + 3);
    p.Large(tBigTree, 8, streetY + 4);
    p.Large(tLamp, laneX - 4, streetY - 3);
    p.Large(tLamp, laneX + 2, streetY + 2);
    p.Small(tWell, laneX + 1, streetY - 2);
    p.Small(tSign, laneX - 2, streetY + 3);
    p.Small(tBarrel, 5, streetY + 3);
    p.Small(tCrate, 6, streetY + 3);
    // A fence along the top, trees round the edge.
    for (int x = 0; x < w; ++x)
        if (x < laneX - 1 || x > laneX)
            p.Small(tFence, x, 0);
    for (int i = 0; i < w * h / 10; ++i) {
        const int x = p.Below(w), y = p.Below(h);
        const bool edge = x < 2 || y > h - 3 || x > w - 3;
        if (!edge || p.LowerAt(x, y) < 5000)
            continue;
        static const int kScatter[] = {tTree, tPine, tBush, tFlowers};
        const int kind = kScatter[p.Below(4)];
        p.Small(kind, x, y, kind == tFlowers);
    }
}

void PaintForest(TPainterMap& p) {
    const int w = p.W(), h = p.H();
    p.Fill(0, 0, w, h, Autotile(0));
    // Clearings of grass joined by a winding path, and a pond.
    const std::pair<double, double> clearings[] = {{0.15, 0.8}, {0.4, 0.55}, {0.7, 0.3}, {0.85, 0.75}};
    for (const auto& [cx, cy] : clearings)
        p.Blob(w * cx, h * cy, 5.5, 4.5, [&](int x, int y) { p.Lower(x, y, Grass(p, 0)); });
    p.Blob(w * 0.55, h * 0.8, 4.0, 3.0, [&](int x, int y) { p.Lower(x, y, kWaterBanks, false); });
    double x = w * 0.15, y = h * 0.8;
    for (std::size_t k = 1; k < std::size(clearings); ++k) {
        const double tx = w * clearings[k].first, ty = h * clearings[k].second;
        while (std::abs(x - tx) > 0.5 || std::abs(y - ty) > 0.5) {
            if (std::abs(x - tx) > std::abs(y - ty))
                x += x < tx ? 1 : -1;
            else
                y += y < ty ? 1 : -1;
            p.Lower(static_cast<int>(x), static_cast<int>(y), Autotile(8));
        }
    }
    for (int i = 0; i < w * h / 6; ++i) {
        const int cx = p.Below(w), cy = p.Below(h);
        const std::uint16_t under = p.LowerAt(cx, cy);
        if (under >= 5000 && under <= 5005) {
            static const int kScatter[] = {wTree, wPine, wBush, wFlowers, wStump, wRock};
            const int kind = kScatter[p.Below(6)];
            if (p.Below(3) == 0)
                p.Small(kind, cx, cy, kind == wFlowers);
        } else if (under == Autotile(0) && p.Below(4) == 0) {
            p.Large(p.Below(2) ? wBigTree : wBigTreeGreen, cx, cy);
        }
    }
    // The forest itself cannot be walked through; paths and clearings can.
    for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx)
            if (p.LowerAt(cx, cy) == Autotile(0))
                p.Lower(cx, cy, Autotile(0), false);
}

void PaintCave(TPainterMap& p) {
    const int w = p.W(), h = p.H();
    // Rock all round, a cave floor inside with a few boulders.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.Lower(x, y, Plain(6, 0), false);
    auto floor = [&](int x, int y) { p.Lower(x, y, Plain(8, p.Below(7) == 0 ? 4 : 0)); };
    p.Blob(w / 2.0, h / 2.0, w * 0.42, h * 0.38, floor);
    p.Blob(w * 0.25, h * 0.3, 3.0, 2.0, floor);
    for (int i = 0; i < 6; ++i) {
        const int x = 2 + p.Below(w - 4), y = 2 + p.Below(h - 4);
        if (p.LowerAt(x, y) == Plain(8, 0) || p.LowerAt(x, y) == Plain(8, 4))
            p.Small(wRock, x, y);
    }
}

}  // namespace

int LargeObjectTile(int chipset, int n) {
    const TObjectTiles& tiles = Tiles(chipset);
    return n >= 0 && static_cast<std::size_t>(n) < tiles.Large.size() ? tiles.Large[static_cast<std::size_t>(n)] : -1;
}

int SmallObjectTile(int chipset, int index) {
    const TObjectTiles& tiles = Tiles(chipset);
    return index >= 0 && static_cast<std::size_t>(index) < tiles.Small.size() ? tiles.Small[static_cast<std::size_t>(index)]
                                                                               : -1;
}

void PaintSampleMap(TKelMap& map, TSampleMapKind kind, std::vector<bool>& walkable) {
    const int chipset = kind == TSampleMapKind::Village ? 1 : 0;
    TPainterMap painter(map, chipset, static_cast<std::uint32_t>(17 + static_cast<int>(kind)));
    switch (kind) {
    case TSampleMapKind::World: PaintWorld(painter); break;
    case TSampleMapKind::Village: PaintVillage(painter); break;
    case TSampleMapKind::Forest: PaintForest(painter); break;
    case TSampleMapKind::Cave: PaintCave(painter); break;
    }
    painter.Commit(walkable);
}

}  // namespace quillon::rtp
