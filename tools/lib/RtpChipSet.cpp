// The chipsets of the starter run-time package. Every texture repeats every 16 pixels, so any
// quarter cell of a water or autotile block joins any other one of the same block seamlessly.
#include "tools/lib/RtpImages.h"
#include "tools/lib/RtpObjects.h"
#include "tools/lib/RtpPaint.h"

#include <cmath>
#include <vector>

namespace quillon::rtp {

namespace {

enum TGround : int {
    gGrass, gMeadow, gDarkGrass, gDirt, gSand, gSnow, gRock, gSwamp, gCave, gIce, gRoad, gCobble, gFarm, gLava,
    gForest, gHills, gMountain, gFlowers, gWoodFloor, gBrick, gCliff, gDungeon, gStraw, gTileFloor, gMarble,
    gCarpetRed, gCarpetBlue, gPlankWall, gRoofRed, gRoofBlue
};

// Wraps a coordinate difference into -8..7, for features that repeat every 16 pixels.
int Wrap(int d) {
    return ((d + 8) % 16 + 16) % 16 - 8;
}

std::uint8_t Ground(TGround g, int x, int y) {
    const int u = x & 15, v = y & 15;
    const int n = Noise(u, v, g, 16);
    const int grain = (n < 3) - (n > 12);
    switch (g) {
        case gGrass:
        case gMeadow:
        case gDarkGrass:
        case gFlowers: {
            const TRamp ramp = g == gDarkGrass ? rLeaf : rGreen;
            const int base = g == gMeadow ? 5 : g == gDarkGrass ? 3 : 4;
            if (g == gFlowers && Noise(u, v, 91, 13) == 0)
                return Ink(Noise(u, v, 92, 2) ? rPink : rGold, 6);
            if (Noise(u, (v + 1) & 15, 77, 19) == 0)
                return Ink(ramp, base + 2);  // tip of a blade
            if (Noise(u, v, 77, 19) == 0)
                return Ink(ramp, base - 2);
            return Ink(ramp, base + grain);
        }
        case gDirt:
        case gFarm:
            if (g == gFarm && (v & 3) == 0)
                return Ink(rDirt, 1);
            if (g == gFarm && (v & 3) == 1)
                return Ink(rDirt, 5);
            return Ink(rDirt, 3 + grain + (Noise(u, v, 5, 30) == 0 ? 2 : 0));
        case gSand: return Ink(rSand, ((v * 2 + u / 4) % 7 == 0) ? 3 : 4 + grain);
        case gSnow: return Ink(rSnow, Noise(u, v, 3, 40) == 0 ? 7 : 5 + (n < 4) - (n > 13) * 2);
        case gRock:
        case gCave:
        case gDungeon: {
            const int base = g == gRock ? 4 : g == gCave ? 2 : 3;
            const bool crack = (Noise(u / 4, v / 4, g, 3) == 0 && (u + v) % 5 == 0);
            return Ink(g == gCave ? rDirt : rStone, crack ? base - 2 : base + grain);
        }
        case gSwamp:
            if (Wrap(u - 5) * Wrap(u - 5) + 2 * Wrap(v - 10) * Wrap(v - 10) < 10)
                return Ink(rDeep, 3 + (u == 4 && v == 9));
            return Ink(rMoss, 3 + grain);
        case gIce: return Ink(rIce, (u + v) % 11 == 0 ? 7 : 5 + grain);
        case gRoad: return Ink(rDirt, (u == 4 || u == 11) ? 3 : 5 + grain);
        case gCobble: {
            const int cu = (u + ((v / 4) % 2) * 3) % 6, cv = v % 4;
            return cu == 0 || cv == 0 ? Ink(rStone, 2) : Ink(rStone, (cu == 1 || cv == 1) ? 6 : 4 + grain);
        }
        case gLava: {
            const int w = (u + v / 2 + Noise(u / 4, v / 4, 17, 4)) % 8;
            return Ink(rFire, w < 2 ? 6 : w < 4 ? 4 : 2 + grain);
        }
        case gForest: {
            static constexpr int kCentres[][2] = {{4, 4}, {12, 4}, {0, 12}, {8, 12}};
            for (const auto& c : kCentres) {
                const int du = Wrap(u - c[0]), dv = Wrap(v - c[1]);
                if (du * du + dv * dv < 22)
                    return Ink(rLeaf, 4 - (du + dv) / 3 + (n > 13));
            }
            return Ink(rLeaf, 1);
        }
        case gHills: {
            const int du = Wrap(u - 8), dv = Wrap(v - 10);
            const int r2 = du * du + dv * dv;
            if (dv <= 0 && r2 >= 26 && r2 < 40)
                return Ink(rGreen, 1);
            if (r2 < 26)
                return Ink(rGreen, dv < -2 ? 5 : 4 - (du > 2));
            return Ink(rGreen, 3 + grain);
        }
        case gMountain: {
            const int half = v / 2 + 1, du = u - 8;
            if (du >= -half && du < half) {
                if (v < 4)
                    return Ink(rSnow, du < 0 ? 7 : 4);
                if (du == -half || du == half - 1)
                    return Ink(rStone, 1);
                return Ink(rStone, du < 0 ? 5 + (n > 12) : 3 - (n > 12));
            }
            return Ink(rStone, 2 + grain);
        }
        case gWoodFloor:
            if ((v & 3) == 3 || (u + (v / 4) * 5) % 16 == 0)
                return Ink(rWood, 2);  // gaps between the planks
            return Ink(rWood, 4 + (Noise(u, v / 4, 8, 5) == 0) + grain);
        case gBrick: {
            const int bu = (u + ((v / 4) % 2) * 4) % 8;
            return bu == 0 || v % 4 == 0 ? Ink(rStone, 5) : Ink(rBrick, 3 + grain);
        }
        case gCliff: {
            const int bu = (u + ((v / 8) % 2) * 6) % 12;
            return bu == 0 || v % 8 == 0 ? Ink(rStone, 1) : Ink(rStone, (v % 8 == 1) ? 5 : 3 + grain);
        }
        case gStraw: return Ink(rSand, v % 8 == 0 ? 2 : (u % 2 ? 5 : 4) + (n > 13));
        case gTileFloor: return u % 8 == 0 || v % 8 == 0 ? Ink(rStone, 3) : Ink(rStone, 6 - (n > 12));
        case gMarble: return ((u / 8) + (v / 8)) % 2 ? Ink(rSnow, 6 - (n > 13)) : Ink(rStone, 2 + (n < 3));
        case gCarpetRed:
        case gCarpetBlue: {
            const TRamp ramp = g == gCarpetRed ? rRed : rBlue;
            if ((u + v) % 8 == 0 || (u - v + 16) % 8 == 0)
                return Ink(rGold, 4);
            return Ink(ramp, 3 + (n > 13));
        }
        case gPlankWall: return u % 4 == 0 ? Ink(rWood, 1) : Ink(rWood, 3 + (u % 4 == 1) + grain);
        case gRoofRed:
        case gRoofBlue: {
            const TRamp ramp = g == gRoofRed ? rRoof : rSlate;
            const int su = (u + ((v / 4) % 2) * 2) % 4;
            return v % 4 == 3 || su == 0 ? Ink(ramp, 1) : Ink(ramp, v % 4 == 0 ? 5 : 3);
        }
    }
    return Ink(rGrey, 4);
}

bool Natural(TGround g) {
    return g <= gFlowers;
}

// Which sides of a 16 x 16 cell border on other terrain; Notches puts a notch into each corner.
struct TSides {
    bool Top = false, Bottom = false, Left = false, Right = false, Notches = false;
};
constexpr TSides kAllSides{true, true, true, true, false};

// Distance of a pixel of a cell from the other terrain along the bordered sides, with slightly
// uneven edges and rounded outer corners; large when no side borders.
double EdgeDistance(int u, int v, const TSides& s, int seed) {
    auto jitter = [seed](int t, int side) { return Noise(t & 15, side, seed, 3) * 0.5; };
    const double dt = v + 0.5 - jitter(u, 0), db = 15.5 - v - jitter(u, 1);
    const double dl = u + 0.5 - jitter(v, 2), dr = 15.5 - u - jitter(v, 3);
    double d = 99;
    if (s.Top)
        d = std::min(d, dt);
    if (s.Bottom)
        d = std::min(d, db);
    if (s.Left)
        d = std::min(d, dl);
    if (s.Right)
        d = std::min(d, dr);
    constexpr double kRound = 6;
    auto corner = [&](bool a, bool b, double da, double dbb) {
        if (a && b && da < kRound && dbb < kRound)
            d = kRound - std::hypot(kRound - da, kRound - dbb);
    };
    corner(s.Top, s.Left, dt, dl);
    corner(s.Top, s.Right, dt, dr);
    corner(s.Bottom, s.Left, db, dl);
    corner(s.Bottom, s.Right, db, dr);
    if (s.Notches)
        for (const double cu : {0.0, 16.0})
            for (const double cv : {0.0, 16.0})
                d = std::min(d, std::hypot(u + 0.5 - cu, v + 0.5 - cv));
    return d;
}

// Draws one 16 x 16 cell at (x, y): f(u, v, d) gives the colour of the pixel at (u, v) of the
// cell with edge distance d.
template <class F>
void Piece(TPainter& p, int x, int y, const TSides& sides, int seed, F f) {
    p.Each(x, y, 16, 16, [&](int px, int py) {
        const int u = px - x, v = py - y;
        return f(u, v, EdgeDistance(u, v, sides, seed));
    });
}

// Sides of the 3 x 3 edge pieces of a water or autotile block, by cell column and row.
TSides EdgeSides(int cx, int cy) {
    return TSides{cy == 0, cy == 2, cx == 0, cx == 2, false};
}

std::uint8_t WaterInk(bool deep, int u, int v, int frame) {
    const TRamp ramp = deep ? rDeep : rWater;
    const int wave = (u + frame * 5 + (v / 4) * 6) & 15;
    if ((v & 3) == 1 && wave < 3)
        return Ink(ramp, 6);
    if ((v & 3) == 2 && wave >= 1 && wave < 4)
        return Ink(ramp, 4);
    return Ink(ramp, Noise((u + frame * 3) & 15, v, 7, 23) == 0 ? 5 : 3);
}

// The water block: water A with sandy shores, water B with grassy banks, deep water; three
// frames 16 pixels apart.
void DrawWater(TPainter& p) {
    for (int frame = 0; frame < 3; ++frame) {
        for (int kind = 0; kind < 2; ++kind) {
            const int x = kind * 48 + frame * 16;
            const TSides rows[] = {kAllSides,
                                   {false, false, true, true, false},
                                   {true, true, false, false, false},
                                   {false, false, false, false, true}};
            for (int r = 0; r < 4; ++r)
                Piece(p, x, r * 16, rows[r], 40, [&](int u, int v, double d) -> int {
                    const double foam = 3.6 + 0.6 * ((frame + u + v) % 3 == 0);
                    if (d < 2.6)
                        return kind == 0 ? Ink(rSand, 5 - (d < 1.2) + Noise(u, v, 3, 5) / 4) : Ground(gGrass, u, v);
                    if (d < 3.2 && kind == 1)
                        return Ink(rDirt, 2);
                    if (d < foam)
                        return Ink(rWater, 7);
                    return WaterInk(false, u, v, frame);
                });
        }
        const int x = frame * 16;
        Piece(p, x, 64, {}, 40, [&](int u, int v, double) { return WaterInk(false, u, v, frame); });
        // Corners of water A and B that meet deep water, deep water's corners meeting shallow water.
        const TSides notches{false, false, false, false, true};
        Piece(p, x, 80, notches, 40, [&](int u, int v, double d) {
            return d < 6 ? WaterInk(true, u, v, frame) : d < 7 ? Ink(rWater, 2) : WaterInk(false, u, v, frame);
        });
        Piece(p, x, 96, notches, 40, [&](int u, int v, double d) {
            return d < 5 ? WaterInk(false, u, v, frame) : d < 6 ? Ink(rDeep, 2) : WaterInk(true, u, v, frame);
        });
        Piece(p, x, 112, {}, 40, [&](int u, int v, double) { return WaterInk(true, u, v, frame); });
    }
}

// Three animated tiles of four frames each, at quarter columns 6, 8 and 10 from row 64 down.
void DrawAnimated(TPainter& p) {
    for (int f = 0; f < 4; ++f) {
        const int y = 64 + f * 16;
        // A whirlpool turning.
        p.Each(48, y, 16, 16, [&](int px, int py) {
            const double du = px - 48 - 7.5, dv = py - y - 7.5;
            const double r = std::hypot(du, dv), a = std::atan2(dv, du);
            const double arm = std::fmod(a * 2 / 6.2832 * 4 + r * 0.45 - f + 64.0, 4.0);
            if (r < 1.5)
                return static_cast<int>(Ink(rDeep, 0));
            return static_cast<int>(arm < 1.1 ? Ink(rWater, r < 5 ? 4 : 6) : Ink(r < 6 ? rDeep : rWater, 3));
        });
        // A waterfall flowing down.
        p.Each(64, y, 16, 16, [&](int px, int py) {
            const int u = px - 64, v = (py - y - f * 4) & 15;
            const int streak = Noise(u, 0, 11, 4);
            if ((v + streak * 5) % 16 < 3 || (v + streak * 5) % 16 == 9)
                return static_cast<int>(Ink(rWater, 7));
            return static_cast<int>(Ink(rWater, 3 + (u + streak) % 3));
        });
        // A fire flickering on a stone hearth.
        p.Each(80, y, 16, 16, [&](int px, int py) { return static_cast<int>(Ground(gRock, px, py)); });
        for (int i = 0; i < 3; ++i) {
            const double h = 4.5 + ((f + i) % 4) * 0.7;
            p.Ellipse(84.5 + i * 3.5, y + 12 - h / 2, 2.2, h, Ink(rFire, 3));
            p.Ellipse(84.5 + i * 3.5, y + 12.5 - h / 3, 1.3, h / 1.8, Ink(rFire, 6));
        }
        p.Fill(82, y + 13, 12, 2, Ink(rWood, 1));
    }
}

struct TAutotile {
    TGround Inside;
    TGround Outside;
    int Link;  // block index of the autotile it joins, or -1
};

constexpr TPoint kAutotileOrigins[12] = {{0, 128}, {48, 128}, {0, 192},  {48, 192},  {96, 0},   {144, 0},
                                         {96, 64}, {144, 64}, {96, 128}, {144, 128}, {96, 192}, {144, 192}};

void DrawAutotile(TPainter& p, TPoint o, const TAutotile& a, int seed) {
    auto cell = [&](int x, int y, const TSides& sides) {
        Piece(p, x, y, sides, seed, [&](int u, int v, double d) {
            const int bx = x - o.X + u, by = y - o.Y + v;
            if (d < 3)
                return Ground(a.Outside, bx, by);
            if (d < 4.2)
                return Natural(a.Inside) ? Ink(rGrey, 1) : Ink(rStone, 2);
            return Ground(a.Inside, bx, by);
        });
    };
    cell(o.X, o.Y, kAllSides);
    cell(o.X + 32, o.Y, TSides{false, false, false, false, true});
    for (int cy = 0; cy < 3; ++cy)
        for (int cx = 0; cx < 3; ++cx)
            cell(o.X + cx * 16, o.Y + 16 + cy * 16, EdgeSides(cx, cy));
}

// One lower tile: a ground with one of six kinds of detail.
void DrawLowerTile(TPainter& p, int x, int y, TGround g, int detail, int seed) {
    p.Each(x, y, 16, 16, [&](int px, int py) { return static_cast<int>(Ground(g, px, py)); });
    TRng rng(static_cast<std::uint32_t>(seed));
    const bool natural = Natural(g);
    switch (detail) {
        case 1:  // pebbles
            for (int i = 0; i < 3; ++i) {
                const int sx = x + 2 + rng.Below(11), sy = y + 2 + rng.Below(11);
                p.Fill(sx, sy, 2, 1, Ink(rStone, 5));
                p.Fill(sx, sy + 1, 2, 1, Ink(rStone, 2));
            }
            break;
        case 2:  // flowers, or cracks in built ground
            for (int i = 0; i < 4; ++i) {
                const int sx = x + 2 + rng.Below(12), sy = y + 2 + rng.Below(12);
                if (natural) {
                    const std::uint8_t petal = Ink(i % 2 ? rPink : rGold, 6);
                    p.Put(sx, sy - 1, petal);
                    p.Put(sx - 1, sy, petal);
                    p.Put(sx + 1, sy, petal);
                    p.Put(sx, sy + 1, petal);
                    p.Put(sx, sy, Ink(rGold, 3));
                } else {  // a hairline crack, a shade darker than the ground under it
                    for (int k = 0, cx = sx; k < 4; ++k, cx += rng.Below(3) - 1) {
                        const std::uint8_t c = p.Get(cx, sy + k);
                        p.Put(cx, sy + k, (c - 1) % 8 > 1 ? c - 2 : c);
                    }
                }
            }
            break;
        case 3:  // tufts or stains
            for (int i = 0; i < 3; ++i) {
                const int sx = x + 3 + rng.Below(10), sy = y + 4 + rng.Below(9);
                if (natural) {
                    p.Line(sx, sy, sx - 1, sy - 3, Ink(rLeaf, 2));
                    p.Line(sx + 1, sy, sx + 1, sy - 4, Ink(rLeaf, 4));
                    p.Line(sx + 2, sy, sx + 3, sy - 3, Ink(rLeaf, 3));
                } else {
                    const std::uint8_t c = p.Get(sx, sy);
                    p.Ellipse(sx + 0.5, sy, 2.5, 1.5, (c - 1) % 8 > 0 ? c - 1 : c);
                }
            }
            break;
        case 4: {  // lighter wear
            p.Each(x, y, 16, 16, [&](int px, int py) {
                const std::uint8_t c = p.Get(px, py);
                return Noise(px, py, seed, 3) == 0 && (c - 1) % 8 < 7 ? c + 1 : -1;
            });
            break;
        }
        case 5:  // a boulder, or a stone slab
            if (natural) {
                p.Ellipse(x + 8, y + 11.5, 6, 2.5, Ink(rGrey, 2));
                p.Ball(x + 8, y + 8.5, 5.5, 4.5, rStone, 4);
            } else {
                p.Fill(x + 3, y + 3, 10, 10, Ink(rStone, 5));
                p.Frame(x + 3, y + 3, 10, 10, Ink(rStone, 2));
            }
            break;
        default: break;
    }
}

struct TChipSetStyle {
    TAutotile Autotiles[12];
    TGround Lower[24];  // one ground per row of six lower tiles
    bool Town;
};

constexpr TChipSetStyle kWorld{{{gForest, gGrass, -1},
                                {gHills, gGrass, -1},
                                {gMountain, gGrass, 7},
                                {gSand, gGrass, -1},
                                {gSnow, gGrass, -1},
                                {gSwamp, gGrass, -1},
                                {gDirt, gGrass, -1},
                                {gFlowers, gGrass, -1},
                                {gRoad, gGrass, -1},
                                {gCobble, gGrass, 14},
                                {gLava, gRock, -1},
                                {gFarm, gGrass, -1}},
                               {gGrass,    gMeadow,  gDarkGrass, gDirt,   gSand,  gSnow,    gRock,   gSwamp,
                                gCave,     gIce,     gRoad,      gCobble, gFarm,  gLava,    gForest, gHills,
                                gMountain, gFlowers, gWoodFloor, gBrick,  gCliff, gDungeon, gStraw,  gTileFloor},
                               false};

constexpr TChipSetStyle kTown{
    {{gCobble, gGrass, -1},
     {gRoad, gGrass, 6},
     {gGrass, gCobble, -1},
     {gFlowers, gGrass, 8},
     {gCarpetRed, gWoodFloor, -1},
     {gCarpetBlue, gWoodFloor, -1},
     {gBrick, gGrass, -1},
     {gSand, gGrass, -1},
     {gTileFloor, gWoodFloor, -1},
     {gMarble, gTileFloor, -1},
     {gDirt, gGrass, -1},
     {gSnow, gGrass, -1}},
    {gWoodFloor, gTileFloor, gMarble,  gCarpetRed, gCarpetBlue, gBrick,   gCliff,    gPlankWall,
     gCobble,    gDirt,      gGrass,   gSand,      gStraw,      gRoofRed, gRoofBlue, gDungeon,
     gRoad,      gMeadow,    gFlowers, gDarkGrass, gSnow,       gRock,    gIce,      gFarm},
    true};

}  // namespace

TPoint LowerTileOrigin(int n) {
    return n < 96 ? TPoint{192 + 16 * (n % 6), 16 * (n / 6)} : TPoint{288 + 16 * (n % 6), 16 * ((n - 96) / 6)};
}

TPoint UpperTileOrigin(int n) {
    return n < 48 ? TPoint{288 + 16 * (n % 6), 16 * ((n + 48) / 6)} : TPoint{384 + 16 * (n % 6), 16 * ((n - 48) / 6)};
}

TPoint AutotileOrigin(int i) {
    return kAutotileOrigins[i];
}

TBitmap MakeRtpChipSet(int index, std::bitset<144>* obstacles) {
    const TChipSetStyle& style = index == 0 ? kWorld : kTown;
    TBitmap image = NewImage(480, 256);
    TPainter p(image);
    DrawWater(p);
    DrawAnimated(p);
    for (int i = 0; i < 12; ++i)
        DrawAutotile(p, kAutotileOrigins[i], style.Autotiles[i], 50 + i);
    // Link cells: a copy of the joined autotile's preview cell; empty when there is none.
    for (int i = 0; i < 12; ++i) {
        const TPoint o = kAutotileOrigins[i];
        p.Fill(o.X + 16, o.Y, 16, 16, kClear);
        if (const int link = style.Autotiles[i].Link; link >= 6) {
            const TPoint target = kAutotileOrigins[link - 6];
            p.Copy(target.X, target.Y, 16, 16, o.X + 16, o.Y);
        }
    }
    for (int n = 0; n < 144; ++n) {
        const TPoint o = LowerTileOrigin(n);
        DrawLowerTile(p, o.X, o.Y, style.Lower[n / 6], n % 6, 1000 * index + n);
    }
    const std::bitset<144> blocking = DrawUpperTiles(p, style.Town, index);
    if (obstacles)
        *obstacles = blocking;
    return image;
}

}  // namespace quillon::rtp
