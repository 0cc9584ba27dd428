#include "tools/lib/RtpObjects.h"

#include <bitset>
#include <cmath>
#include <functional>
#include <vector>

namespace quillon::rtp {

namespace {

constexpr std::uint8_t kLine = Ink(rGrey, 0);

void Trunk(TPainter& p, int cx, int bottom, int height) {
    p.Fill(cx - 1, bottom - height, 3, height, Ink(rWood, 3));
    p.Fill(cx + 1, bottom - height, 1, height, Ink(rWood, 1));
}

void PaintPalm(TPainter& p, int x, int y, int w, int h) {
    const int cx = x + w / 2;
    for (int i = 0; i < h - 4; ++i)
        p.Fill(cx - 1 + (i < 4 ? (4 - i) / 2 : 0), y + 4 + i, 2, 1, Ink(rWood, 3 + (i % 3 == 0)));
    for (int k = -2; k <= 2; ++k) {
        p.Line(cx, y + 4, cx + k * 3, y + 2 + std::abs(k) * 2, Ink(rLeaf, 4));
        p.Line(cx, y + 5, cx + k * 3, y + 3 + std::abs(k) * 2, Ink(rLeaf, 2));
    }
}

void PaintDeadTree(TPainter& p, int x, int y, int w, int h) {
    const int cx = x + w / 2;
    Trunk(p, cx, y + h - 1, h - 5);
    p.Line(cx, y + 7, cx - 5, y + 2, Ink(rWood, 2));
    p.Line(cx, y + 9, cx + 5, y + 4, Ink(rWood, 2));
    p.Line(cx - 3, y + 5, cx - 5, y + 6, Ink(rWood, 2));
}

void PaintBush(TPainter& p, int x, int y, int w, int h, TRamp leaf) {
    p.Ball(x + w / 2.0, y + h - 6, w / 2.0 - 1.5, 5, leaf, 4);
    p.Ball(x + w / 2.0 - 2, y + h - 8, 3, 2.5, leaf, 5);
}

void PaintRock(TPainter& p, int x, int y, int w, int h) {
    p.Ball(x + w / 2.0, y + h - 6.5, w / 2.0 - 2, 5.5, rStone, 4);
    p.Line(x + 6, y + h - 8, x + 8, y + h - 5, Ink(rStone, 2));
}

void PaintFlowers(TPainter& p, int x, int y, int, int, int seed) {
    TRng rng(static_cast<std::uint32_t>(seed));
    for (int i = 0; i < 4; ++i) {
        const int fx = x + 2 + (i % 2) * 7 + rng.Below(3), fy = y + 4 + (i / 2) * 6 + rng.Below(2);
        p.Line(fx, fy + 1, fx, fy + 4, Ink(rLeaf, 4));
        const std::uint8_t petal = Ink(i % 3 == 0 ? rRed : i % 3 == 1 ? rGold : rPink, 5);
        p.Put(fx - 1, fy, petal);
        p.Put(fx + 1, fy, petal);
        p.Put(fx, fy - 1, petal);
        p.Put(fx, fy + 1, petal);
        p.Put(fx, fy, Ink(rGold, 7));
    }
}

void PaintMushroom(TPainter& p, int x, int y, int w, int h) {
    p.Fill(x + w / 2 - 1, y + h - 7, 3, 5, Ink(rPaper, 6));
    p.Ball(x + w / 2.0, y + h - 8, 5, 3.5, rRed, 4);
    p.Put(x + w / 2 - 2, y + h - 10, Ink(rGrey, 7));
    p.Put(x + w / 2 + 2, y + h - 9, Ink(rGrey, 7));
}

void PaintStump(TPainter& p, int x, int y, int w, int h) {
    p.Fill(x + 4, y + h - 9, w - 8, 6, Ink(rWood, 3));
    p.Ellipse(x + w / 2.0, y + h - 9, w / 2.0 - 4, 2, Ink(rWood, 6));
    p.Ellipse(x + w / 2.0, y + h - 9, 1.5, 0.8, Ink(rWood, 4));
}

void PaintFence(TPainter& p, int x, int y, int w, int) {
    p.Fill(x, y + 6, w, 2, Ink(rWood, 5));
    p.Fill(x, y + 10, w, 2, Ink(rWood, 4));
    for (int px = x + 3; px < x + w; px += 10)
        p.Fill(px, y + 4, 2, 10, Ink(rWood, 3));
}

void PaintSign(TPainter& p, int x, int y, int, int) {
    p.Fill(x + 7, y + 8, 2, 7, Ink(rWood, 2));
    p.Fill(x + 2, y + 2, 12, 7, Ink(rWood, 5));
    p.Fill(x + 4, y + 4, 8, 1, Ink(rWood, 2));
    p.Fill(x + 4, y + 6, 6, 1, Ink(rWood, 2));
}

void PaintChest(TPainter& p, int x, int y, int, int) {
    p.Fill(x + 2, y + 5, 12, 9, Ink(rWood, 3));
    p.Fill(x + 2, y + 5, 12, 3, Ink(rWood, 5));
    p.Fill(x + 2, y + 8, 12, 1, Ink(rGold, 4));
    p.Fill(x + 7, y + 7, 2, 3, Ink(rGold, 6));
}

void PaintBarrel(TPainter& p, int x, int y, int, int h) {
    p.Each(x + 3, y + 3, 10, h - 4, [&](int px, int py) {
        const int u = px - x - 3, v = py - y - 3;
        if ((u == 0 || u == 9) && (v < 1 || v > h - 6))
            return -1;
        return static_cast<int>(v == 2 || v == h - 8 ? Ink(rGrey, 2) : Ink(rWood, 2 + (u < 4) + (u < 2) + (u == 5)));
    });
    p.Ellipse(x + 8, y + 3.5, 4.5, 1.5, Ink(rWood, 5));
}

void PaintCrate(TPainter& p, int x, int y, int, int) {
    p.Fill(x + 2, y + 3, 12, 12, Ink(rWood, 4));
    p.Frame(x + 2, y + 3, 12, 12, Ink(rWood, 2));
    p.Line(x + 3, y + 4, x + 12, y + 13, Ink(rWood, 2));
    p.Line(x + 12, y + 4, x + 3, y + 13, Ink(rWood, 2));
}

void PaintPot(TPainter& p, int x, int y, int, int) {
    p.Ball(x + 8, y + 10, 5, 4.5, rBrick, 4);
    p.Fill(x + 5, y + 4, 6, 2, Ink(rBrick, 2));
}

void PaintWell(TPainter& p, int x, int y, int, int) {
    p.Fill(x + 2, y + 3, 1, 8, Ink(rWood, 2));
    p.Fill(x + 13, y + 3, 1, 8, Ink(rWood, 2));
    p.Fill(x + 1, y + 1, 14, 3, Ink(rRoof, 3));
    p.Ellipse(x + 8, y + 12, 6.5, 3.5, Ink(rStone, 4));
    p.Ellipse(x + 8, y + 11.5, 4, 1.8, Ink(rDeep, 1));
}

void PaintTable(TPainter& p, int x, int y, int, int) {
    p.Fill(x + 1, y + 5, 14, 5, Ink(rWood, 5));
    p.Fill(x + 1, y + 9, 14, 1, Ink(rWood, 3));
    p.Fill(x + 2, y + 10, 2, 5, Ink(rWood, 2));
    p.Fill(x + 12, y + 10, 2, 5, Ink(rWood, 2));
}

void PaintChair(TPainter& p, int x, int y, int, int) {
    p.Fill(x + 4, y + 2, 8, 7, Ink(rWood, 4));
    p.Fill(x + 4, y + 9, 8, 2, Ink(rWood, 5));
    p.Fill(x + 4, y + 11, 2, 4, Ink(rWood, 2));
    p.Fill(x + 10, y + 11, 2, 4, Ink(rWood, 2));
}

void PaintBed(TPainter& p, int x, int y, int w, int h) {
    p.Fill(x + 1, y + 1, w - 2, h - 2, Ink(rWood, 3));
    p.Fill(x + 3, y + 3, w - 6, 7, Ink(rGrey, 7));
    p.Fill(x + 2, y + 11, w - 4, h - 14, Ink(rBlue, 4));
    p.Fill(x + 2, y + 11, w - 4, 2, Ink(rBlue, 6));
}

void PaintShelf(TPainter& p, int x, int y, int w, int h) {
    p.Fill(x + 1, y + 1, w - 2, h - 2, Ink(rWood, 2));
    for (int row = 0; row < 3; ++row) {
        const int by = y + 3 + row * 9;
        for (int bx = x + 3; bx < x + w - 3; bx += 2)
            p.Fill(bx, by, 2, 7, Ink(static_cast<TRamp>(rRed + (bx + row) % 4), 3 + bx % 3));
        p.Fill(x + 2, by + 7, w - 4, 2, Ink(rWood, 4));
    }
}

void PaintLamp(TPainter& p, int x, int y, int, int h) {
    p.Fill(x + 7, y + 6, 2, h - 7, Ink(rGrey, 2));
    p.Fill(x + 5, y + h - 3, 6, 2, Ink(rGrey, 2));
    p.Fill(x + 4, y + 1, 8, 6, Ink(rGrey, 1));
    p.Fill(x + 5, y + 2, 6, 4, Ink(rGold, 6));
}

void PaintStatue(TPainter& p, int x, int y, int, int h) {
    // A robed figure raising a sword, on a pedestal.
    p.Fill(x + 2, y + h - 7, 12, 6, Ink(rStone, 3));
    p.Fill(x + 2, y + h - 7, 12, 2, Ink(rStone, 5));
    p.Each(x + 3, y + 9, 10, h - 16, [&](int px, int py) {
        const double u = px + 0.5 - (x + 8), v = py - (y + 9);
        return std::abs(u) < 2.5 + v * 0.12 ? static_cast<int>(Ink(rStone, u < 0 ? 5 : 3)) : -1;
    });
    p.Ball(x + 8, y + 6.5, 3, 3, rStone, 5);
    p.Line(x + 10, y + 12, x + 12, y + 9, Ink(rStone, 4));
    p.Line(x + 12, y + 9, x + 12, y + 1, Ink(rStone, 6));
}

void PaintTent(TPainter& p, int x, int y, int w, int h) {
    p.Each(x, y, w, h, [&](int px, int py) {
        const int u = px - x - w / 2, v = py - y - 2;
        if (v < 0 || std::abs(u) > v * 0.55 + 0.5 || py >= y + h - 1)
            return -1;
        if (std::abs(u) < v * 0.15 && v > h / 2)
            return static_cast<int>(Ink(rGrey, 1));
        return static_cast<int>(Ink(((px - x) / 3) % 2 ? rRed : rPaper, u < 0 ? 5 : 4));
    });
}

void PaintCave(TPainter& p, int x, int y, int w, int h) {
    p.Ball(x + w / 2.0, y + h - 4, w / 2.0 - 0.5, h - 5, rStone, 4);
    p.Ellipse(x + w / 2.0, y + h - 4, w / 4.0, h / 3.0, Ink(rGrey, 0));
    p.Fill(x, y + h - 2, w, 2, kClear);
}

void PaintTower(TPainter& p, int x, int y, int w, int h) {
    p.Each(x + 3, y + 4, w - 6, h - 5, [&](int px, int py) {
        const int v = py - y - 4, u = px - x - 3;
        return static_cast<int>(v % 4 == 3 || (u + (v / 4) * 3) % 5 == 0 ? Ink(rStone, 3) : Ink(rStone, 5 - (u > 6)));
    });
    for (int bx = x + 3; bx < x + w - 3; bx += 3)
        p.Fill(bx, y + 2, 2, 2, Ink(rStone, 5));
    p.Fill(x + 7, y + 9, 2, 4, Ink(rGrey, 0));
    p.Ellipse(x + 8, y + h - 4, 2.5, 3, Ink(rGrey, 0));
}

std::uint8_t Shingle(TRamp roof, int u, int v) {
    const int su = (u + ((v / 3) % 2) * 2) % 4;
    return v % 3 == 2 || su == 0 ? Ink(roof, 1) : Ink(roof, v % 3 == 0 ? 5 : 3);
}

void PaintVillage(TPainter& p, int x, int y, int, int) {
    PaintHouse(p, x + 1, y + 1, 9, 9, rRoof);
    PaintHouse(p, x + 6, y + 6, 9, 9, rSlate);
}

}  // namespace

void PaintTree(TPainter& p, int x, int y, int w, int h, TRamp leaf) {
    Trunk(p, x + w / 2, y + h - 1, 6);
    const double rx = w / 2.0 - 1.5, ry = (h - 4) / 2.0;
    p.Ball(x + w / 2.0, y + 1 + ry, rx, ry, leaf, 4);
    p.Ball(x + w / 2.0 - rx / 3, y + 1 + ry * 0.7, rx / 2.5, ry / 2.5, leaf, 5);
}

void PaintPine(TPainter& p, int x, int y, int w, int h, TRamp leaf) {
    Trunk(p, x + w / 2, y + h - 1, 4);
    const double cx = x + w / 2.0;
    p.Each(x, y, w, h - 3, [&](int px, int py) {
        const int v = py - y - 1;
        const double tier = (v % (h / 3)) + 2 + v / 3.0;
        const double u = px + 0.5 - cx;
        if (v < 0 || std::abs(u) > tier * (w / 2.0 - 1) / (h / 2.0))
            return -1;
        return static_cast<int>(Ink(leaf, u < 0 ? 4 : 2 + (v % (h / 3) < 2)));
    });
}

void PaintHouse(TPainter& p, int x, int y, int w, int h, TRamp roof) {
    const int roofH = h * 11 / 20, wallTop = y + roofH;
    // Walls with a door in the middle and a window either side.
    p.Each(x + 1, wallTop, w - 2, h - roofH - 1, [&](int px, int py) {
        return static_cast<int>((px - x) % 8 == 1 ? Ink(rWood, 2) : Ink(rPaper, 5 - (py - wallTop) / 6));
    });
    const int doorW = std::max(3, w / 6), doorH = std::max(4, (h - roofH) * 2 / 3);
    p.Fill(x + (w - doorW) / 2, y + h - 1 - doorH, doorW, doorH, Ink(rWood, 2));
    if (doorW > 3)
        p.Put(x + (w - doorW) / 2 + doorW - 2, y + h - 1 - doorH / 2, Ink(rGold, 6));
    if (w >= 24) {
        const int winY = wallTop + (h - roofH) / 4, winS = std::max(3, w / 8);
        for (const int wx : {x + w / 5, x + w - w / 5 - winS}) {
            p.Fill(wx, winY, winS, winS, Ink(rSky, 5));
            p.Fill(wx, winY + winS / 2, winS, 1, Ink(rWood, 2));
            p.Frame(wx - 1, winY - 1, winS + 2, winS + 2, Ink(rWood, 2));
        }
    }
    // A roof overhanging the walls a little, with a chimney.
    if (w >= 24)
        p.Fill(x + w * 3 / 4, y + 1, 4, roofH / 2, Ink(rBrick, 3));
    p.Each(x, y + roofH / 4, w, roofH - roofH / 4, [&](int px, int py) {
        const int v = py - y - roofH / 4, u = px - x;
        const int inset = (roofH - roofH / 4 - v) / 3;
        if (u < inset || u >= w - inset)
            return -1;
        return static_cast<int>(Shingle(roof, u, v));
    });
    p.Fill(x, wallTop - 1, w, 1, Ink(roof, 0));
}

void PaintCastle(TPainter& p, int x, int y, int w, int h) {
    const int towerW = w / 4;
    p.Each(x + 2, y + h / 3, w - 4, h - h / 3 - 1, [&](int px, int py) {
        const int u = px - x, v = py - y;
        return static_cast<int>(v % 5 == 4 || (u + (v / 5) * 4) % 8 == 0 ? Ink(rStone, 3) : Ink(rStone, 5));
    });
    for (const int tx : {x + 1, x + w - towerW - 1}) {
        PaintTower(p, tx - 2, y + 2, towerW + 4, h - 3);
        p.Each(tx, y, towerW, 6, [&](int px, int py) {
            const int u = px - tx - towerW / 2;
            return std::abs(u) <= (py - y) * towerW / 12 ? static_cast<int>(Ink(rSlate, u < 0 ? 5 : 3)) : -1;
        });
    }
    for (int bx = x + towerW; bx < x + w - towerW; bx += 4)
        p.Fill(bx, y + h / 3 - 3, 2, 3, Ink(rStone, 5));
    p.Ellipse(x + w / 2.0, y + h - 6, w / 8.0, h / 5.0, Ink(rGrey, 0));
    p.Fill(x + w / 2 - w / 8, y + h - 6, w / 4, 5, Ink(rGrey, 0));
    p.Fill(x + w / 2, y + 4, 1, h / 3 - 6, Ink(rGrey, 2));
    p.Fill(x + w / 2 + 1, y + 4, 5, 3, Ink(rRed, 4));
}

std::bitset<144> DrawUpperTiles(TPainter& p, bool town, int seed) {
    using TPaint = std::function<void(TPainter&, int, int, int, int)>;
    struct TObject {
        int W, H;  // in tiles
        TPaint Paint;
        bool Blocks = true;  // nobody walks through it
    };
    auto tree = [](TRamp leaf) -> TPaint {
        return [leaf](TPainter& q, int x, int y, int w, int h) { PaintTree(q, x, y, w, h, leaf); };
    };
    auto pine = [](TRamp leaf) -> TPaint {
        return [leaf](TPainter& q, int x, int y, int w, int h) { PaintPine(q, x, y, w, h, leaf); };
    };
    auto house = [](TRamp roof) -> TPaint {
        return [roof](TPainter& q, int x, int y, int w, int h) { PaintHouse(q, x, y, w, h, roof); };
    };
    const TPaint bush = [](TPainter& q, int x, int y, int w, int h) { PaintBush(q, x, y, w, h, rLeaf); };
    const TObject flowers{
        1, 1, [seed](TPainter& q, int x, int y, int w, int h) { PaintFlowers(q, x, y, w, h, seed + x * 7 + y); },
        false};
    std::vector<TObject> big, small;
    if (town) {
        big = {{3, 3, house(rRoof)}, {3, 3, house(rSlate)}, {2, 2, house(rRoof)}, {2, 2, house(rSlate)},
               {4, 3, house(rRoof)}, {2, 2, tree(rLeaf)},   {1, 2, PaintShelf},   {1, 2, PaintShelf},
               {1, 2, PaintBed},     {1, 2, PaintBed},      {1, 2, PaintLamp},    {1, 2, PaintStatue},
               {1, 2, PaintTower}};
        for (const TPaint& paint :
             {tree(rLeaf), pine(rLeaf), bush, TPaint(PaintFence), TPaint(PaintWell), TPaint(PaintBarrel),
              TPaint(PaintCrate), TPaint(PaintPot), TPaint(PaintChest), TPaint(PaintTable), TPaint(PaintChair),
              TPaint(PaintSign), TPaint(PaintStump), TPaint(PaintRock), TPaint(PaintMushroom)})
            small.push_back({1, 1, paint});
    } else {
        big = {{3, 3, PaintCastle},  {2, 2, house(rRoof)}, {2, 2, house(rSlate)}, {2, 2, tree(rLeaf)},
               {2, 2, tree(rGreen)}, {2, 2, PaintCave},    {1, 2, PaintTower},    {1, 2, pine(rLeaf)},
               {2, 2, PaintTent},    {1, 2, PaintLamp},    {1, 2, PaintStatue}};
        for (const TPaint& paint :
             {tree(rLeaf), tree(rGreen), pine(rLeaf), TPaint(PaintPalm), TPaint(PaintDeadTree), bush, TPaint(PaintRock),
              TPaint(PaintMushroom), TPaint(PaintStump), TPaint(PaintFence), TPaint(PaintSign), TPaint(PaintVillage),
              TPaint(PaintTent), TPaint(PaintCave), TPaint(PaintWell), TPaint(PaintChest), TPaint(PaintBarrel),
              TPaint(PaintCrate), TPaint(PaintPot)})
            small.push_back({1, 1, paint});
    }
    small.insert(small.begin() + 3, flowers);
    // Two blocks six tiles wide: upper tiles 0..47 (8 rows) and 48..143 (16 rows).
    struct TBlock {
        int X, Y, Rows, First;
    };
    const TBlock blocks[2] = {{288, 128, 8, 0}, {384, 0, 16, 48}};
    std::bitset<144> used, obstacles;
    used[0] = true;  // upper tile 0 is the empty tile
    auto place = [&](const TObject& object) {
        for (const TBlock& b : blocks)
            for (int r = 0; r + object.H <= b.Rows; ++r)
                for (int c = 0; c + object.W <= 6; ++c) {
                    bool free = true;
                    for (int dy = 0; dy < object.H; ++dy)
                        for (int dx = 0; dx < object.W; ++dx)
                            free = free && !used[static_cast<std::size_t>(b.First + (r + dy) * 6 + c + dx)];
                    if (!free)
                        continue;
                    for (int dy = 0; dy < object.H; ++dy)
                        for (int dx = 0; dx < object.W; ++dx) {
                            const auto n = static_cast<std::size_t>(b.First + (r + dy) * 6 + c + dx);
                            used[n] = true;
                            obstacles[n] = object.Blocks;
                        }
                    const int x = b.X + c * 16, y = b.Y + r * 16, w = object.W * 16, h = object.H * 16;
                    object.Paint(p, x, y, w, h);
                    p.Outline(x, y, w, h, kLine);
                    return true;
                }
        return false;
    };
    for (const TObject& object : big)
        place(object);
    for (std::size_t i = 0; place(small[i % small.size()]); ++i) {
    }
    return obstacles;
}

}  // namespace quillon::rtp
