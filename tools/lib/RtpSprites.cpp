#include "tools/lib/RtpSprites.h"

#include "tools/lib/RtpObjects.h"
#include "tools/lib/RtpPaint.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace quillon::rtp {

namespace {

constexpr std::uint8_t kLine = Ink(rGrey, 0);

enum THat { hNone, hWizard, hHelmet, hHood, hBald };

struct TLook {
    TRamp Hair;
    int HairShade;
    TRamp Cloth;
    TRamp Legs;
    THat Hat;
    TRamp HatRamp;
};

// The eight heroes, in the order of their character-set indexes.
constexpr TLook kHeroes[8] = {
    {rHair, 3, rBlue, rGrey, hHelmet, rStone},        // knight
    {rBlond, 4, rPurple, rPurple, hWizard, rPurple},  // mage
    {rHair, 2, rMoss, rFur, hHood, rMoss},            // thief
    {rBlond, 5, rSnow, rSnow, hNone, rSnow},          // priest
    {rBrick, 4, rLeaf, rFur, hNone, rLeaf},           // ranger
    {rHair, 2, rFire, rFur, hBald, rFire},            // monk
    {rRed, 3, rFur, rDirt, hNone, rFur},              // warrior
    {rGrey, 6, rSlate, rSlate, hWizard, rBlue},       // sage
};
constexpr TLook kPeople[8] = {
    {rHair, 4, rRed, rWood, hNone, rRed},       {rBlond, 4, rPink, rPink, hNone, rPink},
    {rGrey, 6, rFur, rDirt, hNone, rFur},       {rHair, 1, rGreen, rWood, hHood, rGreen},
    {rHair, 3, rStone, rGrey, hHelmet, rStone}, {rBrick, 5, rGold, rWood, hNone, rGold},
    {rGrey, 5, rPaper, rWood, hBald, rPaper},   {rHair, 3, rSky, rBlue, hWizard, rRed},
};

// One frame of a walking person in the 24 x 32 cell at (x, y): direction 0 up, 1 right, 2 down
// (left is drawn as the mirror of right); pattern 0 and 2 are steps, 1 standing.
void PaintPerson(TPainter& p, int x, int y, int dir, int pattern, const TLook& look) {
    const int cx = x + 12, step = pattern - 1;
    const bool side = dir == 1;
    // Legs.
    if (side) {
        p.Fill(cx - 2 + step * 2, y + 24, 3, 6, Ink(look.Legs, 2));
        p.Fill(cx - 1 - step * 2, y + 24, 3, 6, Ink(look.Legs, 4));
        p.Fill(cx - 2 + step * 2, y + 29, 4, 2, Ink(rWood, 1));
        p.Fill(cx - 1 - step * 2, y + 29, 4, 2, Ink(rWood, 1));
    } else {
        p.Fill(cx - 4, y + 24 + (step < 0), 3, 6 - (step > 0), Ink(look.Legs, 3));
        p.Fill(cx + 1, y + 24 + (step > 0), 3, 6 - (step < 0), Ink(look.Legs, 3));
        p.Fill(cx - 4, y + 29 - (step > 0), 3, 2, Ink(rWood, 1));
        p.Fill(cx + 1, y + 29 - (step < 0), 3, 2, Ink(rWood, 1));
    }
    // Body and arms.
    const int bodyW = side ? 8 : 10;
    p.Each(cx - bodyW / 2, y + 16, bodyW, 9, [&](int px, int py) {
        const int u = px - (cx - bodyW / 2);
        if (py == y + 16 && (u == 0 || u == bodyW - 1))
            return -1;
        return static_cast<int>(Ink(look.Cloth, py == y + 22 ? 1 : 4 - (u > bodyW / 2) + (u < 2)));
    });
    if (look.Hat == hWizard || look.Cloth == rSnow || look.Cloth == rPurple)  // robes reach down
        p.Fill(cx - bodyW / 2, y + 24, bodyW, 4, Ink(look.Cloth, 3));
    if (side) {
        p.Fill(cx - 1 - step * 2, y + 17, 3, 7, Ink(look.Cloth, 2));
        p.Fill(cx - 1 - step * 2, y + 23, 3, 2, Ink(rSkin, 4));
    } else {
        for (const int s : {-1, 1}) {
            const int ax = s < 0 ? cx - bodyW / 2 - 2 : cx + bodyW / 2;
            const int swing = s * step;
            p.Fill(ax, y + 17 + (swing > 0), 2, 6, Ink(look.Cloth, 3));
            p.Fill(ax, y + 23 + (swing > 0), 2, 2, Ink(rSkin, 4));
        }
    }
    // Head, hair and face.
    const double hy = y + 10.5;
    p.Ball(cx, hy, 6.5, 6.5, rSkin, 4);
    p.Each(cx - 7, y + 3, 14, 12, [&](int px, int py) {
        const double u = px + 0.5 - cx, v = py + 0.5 - hy;
        if (u * u / 42.0 + v * v / 42.0 > 1.05)
            return -1;
        bool hair;
        if (dir == 0)
            hair = true;
        else if (side)
            hair = v < -2.5 || (u < -1 && v < 3.5);
        else
            hair = v < -2.5 || (std::abs(u) > 4.5 && v < 2.5);
        if (look.Hat == hBald)
            hair = hair && std::abs(u) > 4 && v > -3;
        return hair ? static_cast<int>(Ink(look.Hair, look.HairShade + (v < -4) - (u > 2))) : -1;
    });
    if (dir != 0) {
        const std::uint8_t eye = Ink(rGrey, 0);
        if (side) {
            p.Fill(cx + 3, y + 10, 1, 2, eye);
        } else {
            p.Fill(cx - 3, y + 10, 1, 2, eye);
            p.Fill(cx + 2, y + 10, 1, 2, eye);
            p.Put(cx - 4, y + 13, Ink(rPink, 5));
            p.Put(cx + 3, y + 13, Ink(rPink, 5));
        }
    }
    switch (look.Hat) {
        case hWizard:
            p.Fill(cx - 8, y + 6, 16, 2, Ink(look.HatRamp, 2));
            p.Each(cx - 6, y - 2, 12, 8, [&](int px, int py) {
                const double u = px + 0.5 - cx + (py - y) * 0.15;
                return std::abs(u) < (py - y + 2) * 0.7 ? static_cast<int>(Ink(look.HatRamp, 4 - (u > 0))) : -1;
            });
            break;
        case hHelmet:
            p.Each(cx - 7, y + 3, 14, 6, [&](int px, int py) {
                const double u = px + 0.5 - cx, v = py + 0.5 - hy;
                return u * u + v * v < 49 ? static_cast<int>(Ink(look.HatRamp, v < -5 ? 6 : 4 - (u > 2))) : -1;
            });
            p.Fill(cx - 7, y + 8, 14, 1, Ink(look.HatRamp, 2));
            break;
        case hHood:
            p.Each(cx - 8, y + 2, 16, 14, [&](int px, int py) {
                const double u = px + 0.5 - cx, v = py + 0.5 - hy;
                const double r = u * u + v * v;
                const bool face = dir == 2 ? (std::abs(u) < 5 && v > -3) : side ? (u > 0 && v > -3) : false;
                return r < 56 && r > (face ? 0 : -1) && !face ? static_cast<int>(Ink(look.HatRamp, 3 + (u < 0))) : -1;
            });
            break;
        default: break;
    }
}

// Creatures: a slime, a bat, a ghost and a bird, each in two colours.
constexpr TRamp kCreatureColours[8] = {rSlime, rPurple, rSnow, rBlue, rRed, rFur, rIce, rGold};
void PaintCreature(TPainter& p, int x, int y, int dir, int pattern, int kind, TRamp ramp) {
    const int cx = x + 12, bob = pattern == 1 ? 0 : 1;
    const bool side = dir == 1;
    double ey = y + 19;
    switch (kind) {
        case 0:  // slime
            p.Ball(cx, y + 22 + bob * 0.5, 8 + bob, 7 - bob, ramp, 4);
            p.Ellipse(cx - 3, y + 18, 2, 1.2, Ink(ramp, 7));
            ey = y + 22;
            break;
        case 1:  // bat
            for (const int s : {-1, 1}) {
                const int tip = pattern == 1 ? -6 : pattern == 0 ? 2 : -2;
                p.Each(cx - 11, y + 8, 23, 14, [&](int px, int py) {
                    const double u = (px + 0.5 - cx) * s, v = py + 0.5 - (y + 16);
                    if (u < 2 || u > 11)
                        return -1;
                    const double top = tip * (u - 2) / 9.0 - 2;
                    return v > top && v < top + 5 - (u > 8) * 2 ? static_cast<int>(Ink(ramp, 2 + (v < top + 2))) : -1;
                });
            }
            p.Ball(cx, y + 16, 4.5, 4.5, ramp, 3);
            p.Put(cx - 3, y + 11, Ink(ramp, 3));
            p.Put(cx + 3, y + 11, Ink(ramp, 3));
            ey = y + 16;
            break;
        case 2:  // ghost
            p.Each(cx - 8, y + 6 - bob, 16, 22, [&](int px, int py) {
                const double u = px + 0.5 - cx, v = py + 0.5 - (y + 14 - bob);
                if (v < 0)
                    return u * u + v * v < 56 ? static_cast<int>(Ink(ramp, 6 - (u > 3))) : -1;
                const int wave = ((px - x + pattern * 2) / 3) % 2;
                return std::abs(u) < 7.5 && v < 12 - wave * 2 ? static_cast<int>(Ink(ramp, 5 - (u > 3))) : -1;
            });
            ey = y + 14 - bob;
            break;
        default:  // bird
            p.Ball(cx, y + 19, 6, 5.5, ramp, 4);
            p.Ball(cx + (side ? 4 : 0), y + 13, 4, 4, ramp, 5);
            for (const int s : {-1, 1})
                p.Line(cx + s * 5, y + 18, cx + s * 10, y + 14 + (pattern == 1 ? 6 : 0), Ink(ramp, 2));
            p.Fill(cx - 2, y + 25, 1, 3, Ink(rGold, 3));
            p.Fill(cx + 2, y + 25, 1, 3, Ink(rGold, 3));
            if (dir != 0)
                p.Fill(side ? cx + 7 : cx - 1, y + 14, 2, 2, Ink(rGold, 5));
            ey = y + 12;
            break;
    }
    if (dir == 0)
        return;
    const std::uint8_t eye = kind == 2 ? Ink(rGrey, 0) : Ink(rGrey, 7);
    const int ex = side ? cx + 2 : cx - 3;
    for (int e = 0; e <= (side ? 0 : 5); e += 5) {
        p.Fill(ex + e, static_cast<int>(ey) - 1, 2, 2, eye);
        if (kind != 2)
            p.Put(ex + e + (side ? 1 : 0), static_cast<int>(ey), Ink(rGrey, 0));
    }
}

// Vehicles (boat, ship, airship) and things that events show (chest, door, shining spot, barrel,
// sign); the vehicles are 24 x 32 seen from above and from the side.
void PaintThing(TPainter& p, int x, int y, int dir, int pattern, int kind) {
    const int cx = x + 12;
    const bool side = dir == 1 || dir == 3;
    switch (kind) {
        case 0:  // boat
        case 1:  // ship
            if (side)
                p.Each(x, y + 16, 24, 12, [&](int px, int py) {
                    const int u = px - x, v = py - y - 16;
                    return u >= v / 2 + 1 && u <= 22 - v / 2 + (v < 3) ? static_cast<int>(Ink(rWood, v < 2 ? 5 : 3))
                                                                       : -1;
                });
            else
                p.Ball(cx, y + 19, kind ? 8 : 6, 11, rWood, 3);
            if (!side)
                p.Ellipse(cx, y + 19, kind ? 5.5 : 4, 8, Ink(rWood, 5));
            if (kind == 1) {
                p.Fill(cx, y + 2, 1, 22, Ink(rWood, 1));
                if (side)
                    p.Ellipse(cx + 0.5, y + 10, 7 - (pattern == 1), 7, Ink(rPaper, 6));
                else
                    p.Fill(cx - 9, y + 7, 19, 5 + (pattern == 1), Ink(rPaper, 6));
            }
            p.Fill(x + 2 + pattern * 3, y + 29, 5, 1, Ink(rWater, 7));  // wake
            break;
        case 2:  // airship: a balloon over a gondola, its propeller turning
            p.Ball(cx, y + 10, side ? 11.5 : 8, 8.5, rRed, 4);
            p.Fill(cx - 5, y + 18, 1, 5, Ink(rGrey, 2));
            p.Fill(cx + 4, y + 18, 1, 5, Ink(rGrey, 2));
            p.Fill(cx - 6, y + 22, 12, 5, Ink(rWood, 3));
            p.Fill(cx - 6, y + 22, 12, 1, Ink(rWood, 5));
            p.Fill(cx - 1 - pattern * 2 + 2, y + 28, 2 + pattern * 2, 1, Ink(rGrey, 5));
            break;
        case 3:  // treasure chest: closed, opening, open
            p.Fill(x + 5, y + 16, 14, 11, Ink(rWood, 3));
            p.Fill(x + 5, y + 20, 14, 1, Ink(rGold, 5));
            if (pattern == 0 && dir == 2) {
                p.Fill(x + 5, y + 12, 14, 5, Ink(rWood, 5));
                p.Fill(x + 11, y + 17, 2, 3, Ink(rGold, 6));
            } else {
                p.Fill(x + 6, y + 16, 12, 3, Ink(rGrey, 1));
                p.Fill(x + 5, y + 10 - dir, 14, 4, Ink(rWood, 5));
                p.Fill(x + 9, y + 16, 6, 2, Ink(rGold, 6));
            }
            break;
        case 4:  // door: closed, ajar, open
            p.Fill(x + 3, y + 2, 18, 30, Ink(rStone, 3));
            p.Fill(x + 5, y + 4, 14, 28, Ink(rGrey, 0));
            p.Fill(x + 5, y + 4, 14 - (dir * 3 + pattern) * 14 / 12, 28, Ink(rWood, 3));
            p.Put(x + 16 - (dir * 3 + pattern) * 14 / 12, y + 18, Ink(rGold, 6));
            break;
        case 5: {  // shining spot
            const int r = 5 + (dir * 3 + pattern) % 4;
            p.Ellipse(cx + 0.5, y + 20.5, r / 1.5, r / 1.5, Ink(rGold, 4));
            p.Fill(cx - r, y + 20, 2 * r + 1, 1, Ink(rGold, 7));
            p.Fill(cx, y + 20 - r, 1, 2 * r + 1, Ink(rGold, 7));
            p.Ellipse(cx + 0.5, y + 20.5, 2, 2, Ink(rGrey, 7));
            break;
        }
        case 6:
            p.Ball(cx, y + 21, 7, 8, rWood, 3);
            p.Fill(cx - 6, y + 17, 13, 1, Ink(rGrey, 2));
            p.Fill(cx - 6, y + 25, 13, 1, Ink(rGrey, 2));
            break;
        default:  // sign post
            p.Fill(cx - 1, y + 18, 3, 12, Ink(rWood, 2));
            p.Fill(x + 4, y + 8, 16, 11, Ink(rWood, 5));
            p.Fill(x + 7, y + 11, 10, 1, Ink(rWood, 2));
            p.Fill(x + 7, y + 14, 8, 1, Ink(rWood, 2));
            break;
    }
}

// Puts a glyph text in a 5 x 7 pixel font, each pixel scale x scale.
void PaintText(TPainter& p, int x, int y, const char* text, int scale, std::uint8_t c) {
    struct TGlyph {
        char Letter;
        std::uint8_t Rows[7];
    };
    static constexpr TGlyph kFont[] = {
        {'A', {14, 17, 17, 31, 17, 17, 17}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'G', {14, 17, 16, 23, 17, 17, 15}},
        {'M', {17, 27, 21, 21, 17, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
        {'V', {17, 17, 17, 17, 17, 10, 4}},
    };
    for (; *text; ++text, x += 6 * scale)
        for (const TGlyph& g : kFont)
            if (g.Letter == *text)
                for (int r = 0; r < 7; ++r)
                    for (int b = 0; b < 5; ++b)
                        if (g.Rows[r] & (16 >> b))
                            p.Fill(x + b * scale, y + r * scale, scale, scale, c);
}

// A vertical gradient of the ramp's shades with a fine dither, from shade top to shade bottom.
void Gradient(TPainter& p, int x, int y, int w, int h, TRamp ramp, int top, int bottom) {
    p.Each(x, y, w, h, [&](int px, int py) {
        static constexpr double kDither[4] = {-0.375, 0.125, 0.375, -0.125};
        const double t = static_cast<double>(py - y) / h * (bottom - top) + top + kDither[(px & 1) + 2 * (py & 1)];
        return static_cast<int>(Ink(ramp, static_cast<int>(std::floor(t + 0.5))));
    });
}

// A range of rounded hills along the bottom of the rectangle.
void Hills(TPainter& p, int x, int y, int w, int h, TRamp ramp, int shade, int seed) {
    p.Each(x, y, w, h, [&](int px, int py) {
        const double t = (px - x) / 40.0 + seed;
        const double top = y + h * (0.35 + 0.2 * std::sin(t) + 0.12 * std::sin(t * 2.7 + 1));
        return py >= top ? static_cast<int>(Ink(ramp, shade + (py - top < 3))) : -1;
    });
}

void Cloud(TPainter& p, double x, double y, double size) {
    p.Ellipse(x, y + size * 0.2, size * 1.6, size * 0.55, Ink(rSnow, 4));
    p.Ellipse(x - size * 0.6, y, size * 0.7, size * 0.6, Ink(rSnow, 6));
    p.Ellipse(x + size * 0.3, y - size * 0.25, size * 0.85, size * 0.75, Ink(rSnow, 7));
}

}  // namespace

TBitmap MakeRtpCharSet(int index) {
    TBitmap image = NewImage(288, 256);
    TPainter p(image);
    for (int i = 0; i < 8; ++i) {
        const int ox = (i % 4) * 72, oy = (i / 4) * 128;
        for (int dir = 0; dir < 3; ++dir)
            for (int pattern = 0; pattern < 3; ++pattern) {
                const int x = ox + pattern * 24, y = oy + dir * 32;
                switch (index) {
                    case 0: PaintPerson(p, x, y, dir, pattern, kHeroes[i]); break;
                    case 1: PaintPerson(p, x, y, dir, pattern, kPeople[i]); break;
                    case 2: PaintCreature(p, x, y, dir, pattern, i % 4, kCreatureColours[i]); break;
                    default: PaintThing(p, x, y, dir, pattern, i); break;
                }
                p.Outline(x, y, 24, 32, kLine);
            }
        // Facing left is facing right mirrored; things that change by direction draw it too.
        for (int pattern = 0; pattern < 3; ++pattern) {
            const int x = ox + pattern * 24, y = oy + 3 * 32;
            if (index == 3 && i >= 3) {
                PaintThing(p, x, y, 3, pattern, i);
                p.Outline(x, y, 24, 32, kLine);
            } else {
                p.Copy(x, oy + 32, 24, 32, x, y, true);
            }
        }
    }
    return image;
}

TBitmap MakeRtpFaceSet(int index) {
    TBitmap image = NewImage(192, 192);
    TPainter p(image);
    for (int f = 0; f < 16; ++f) {
        const int x = (f % 4) * 48, y = (f / 4) * 48;
        TLook look = f < 4 ? kHeroes[index * 4 + f] : kPeople[(f + index * 3) % 8];
        if (f >= 12)
            look.Hair = std::array{rBlond, rRed, rGrey, rHair}[(f + index) % 4];
        const double cx = x + 24, cy = y + 22;
        p.Each(x, y + 36, 48, 12, [&](int px, int py) {  // shoulders
            const double u = (px + 0.5 - cx) / 20, v = (py + 0.5 - (y + 50)) / 12;
            return u * u + v * v <= 1 ? static_cast<int>(Ink(look.Cloth, 4 - (u > 0.4) + (u < -0.5))) : -1;
        });
        p.Fill(x + 20, y + 34, 8, 6, Ink(rSkin, 3));
        p.Ball(cx, cy, 13, 14.5, rSkin, 4);
        // Hair: a cap over the forehead and locks at the sides.
        p.Each(x + 6, y + 3, 36, 30, [&](int px, int py) {
            const double u = px + 0.5 - cx, v = py + 0.5 - cy;
            const double r = u * u / 210.0 + v * v / 260.0;
            if (r > 1.0)
                return -1;
            const bool cap = v < -6 + std::abs(std::sin(u * 0.8)) * 3;
            const bool locks = std::abs(u) > 10.5 && v < 8 + (f % 3) * 4;
            if (look.Hat == hBald)
                return locks && v > -4 ? static_cast<int>(Ink(look.Hair, look.HairShade)) : -1;
            return cap || locks ? static_cast<int>(Ink(look.Hair, look.HairShade + (v < -10) - (u > 6))) : -1;
        });
        for (const int s : {-1, 1}) {
            const int ex = static_cast<int>(cx) + s * 6 - (s > 0 ? 2 : 1);
            p.Fill(ex, y + 22, 4, 4, Ink(rGrey, 7));
            p.Fill(ex + (s > 0 ? 0 : 1), y + 23, 2, 3, Ink(look.Cloth == rSnow ? rBlue : look.Cloth, 1));
            p.Fill(ex - 1, y + 20, 5, 1, Ink(look.Hair, 1));
        }
        p.Put(static_cast<int>(cx), y + 29, Ink(rSkin, 2));
        p.Fill(static_cast<int>(cx) - 2, y + 32, 5, 1, Ink(rRed, 3));
        if (look.Hat == hWizard)
            p.Each(x + 4, y, 40, 13, [&](int px, int py) {
                const double u = px + 0.5 - cx;
                const bool brim = py >= y + 11 && std::abs(u) < 19;
                if (!brim && std::abs(u) >= (py - y) * 0.75)
                    return -1;
                return static_cast<int>(Ink(look.HatRamp, 4 - (u > 0) - brim));
            });
        if (look.Hat == hHelmet || look.Hat == hHood)
            p.Each(x + 6, y + 4, 36, 26, [&](int px, int py) {
                const double u = px + 0.5 - cx, v = py + 0.5 - cy;
                const bool shell = u * u / 225.0 + v * v / 289.0 < 1.0;
                const bool face = look.Hat == hHood ? (std::abs(u) < 11 && v > -9) : v > -8;
                return shell && !face ? static_cast<int>(Ink(look.HatRamp, 4 + (v < -12) - (u > 6))) : -1;
            });
        p.Outline(x, y, 48, 48, kLine);
    }
    return image;
}

// The system graphic, in the layout the game's windows read (runtime/GameText.h): window background
// (0, 0), window frame (32, 0) with 8-pixel corners, two looks of the cursor (64, 0) and (96, 0), the
// up and down arrows (128, 0) and (128, 8), the pause mark (144, 0), the shadow colour (128, 16),
// gauges in the strip (0, 32)-(160, 48) and twenty text colours as 16 x 16 swatches in rows 48..79.
TBitmap MakeRtpSystem() {
    TBitmap image = NewImage(160, 80);
    TPainter p(image);
    Gradient(p, 0, 0, 32, 32, rDeep, 4, 1);
    p.Fill(32, 0, 32, 32, Ink(rGold, 5));
    p.Frame(33, 1, 30, 30, Ink(rGold, 7));
    p.Frame(34, 2, 28, 28, Ink(rGold, 2));
    p.Fill(35, 3, 26, 26, kClear);
    for (int frame = 0; frame < 2; ++frame) {
        const int x = 64 + frame * 32;
        p.Fill(x, 0, 32, 32, Ink(rSky, 2 + frame));
        p.Frame(x, 0, 32, 32, Ink(rSky, 6 + frame));
        p.Fill(x + 2, 2, 28, 28, Ink(rSky, 3 + frame));
    }
    for (int i = 0; i < 7; ++i) {
        p.Fill(136 - i, 1 + i, 1 + 2 * i, 1, Ink(rGold, 6));   // up arrow
        p.Fill(136 - i, 14 - i, 1 + 2 * i, 1, Ink(rGold, 6));  // down arrow
    }
    for (int i = 0; i < 4; ++i)  // pause mark: a small arrow pointing down
        p.Fill(149 + i, 7 + i, 7 - 2 * i, 1, Ink(rGold, 7 - (i == 3)));
    p.Fill(128, 16, 16, 16, Ink(rGrey, 0));  // shadow colour
    for (int g = 0; g < 4; ++g) {
        const TRamp ramps[] = {rRed, rBlue, rGold, rGreen};
        p.Fill(g * 40, 32, 40, 16, Ink(rGrey, 1));
        Gradient(p, g * 40 + 2, 36, 36, 8, ramps[g], 6, 3);
    }
    const std::uint8_t colours[20] = {Ink(rGrey, 7),  Ink(rSky, 6),  Ink(rRed, 5),  Ink(rGreen, 6), Ink(rGold, 6),
                                      Ink(rGrey, 4),  Ink(rPink, 6), Ink(rIce, 6),  Ink(rFire, 5),  Ink(rPurple, 6),
                                      Ink(rBlue, 5),  Ink(rLeaf, 5), Ink(rSand, 6), Ink(rBrick, 5), Ink(rSnow, 4),
                                      Ink(rSlime, 5), Ink(rRoof, 6), Ink(rDirt, 6), Ink(rMoss, 6),  Ink(rStone, 6)};
    for (int i = 0; i < 20; ++i)
        Gradient(p, (i % 10) * 16, 48 + (i / 10) * 16, 16, 16, static_cast<TRamp>((colours[i] - 1) / 8),
                 (colours[i] - 1) % 8 + 1, (colours[i] - 1) % 8 - 2);
    return image;
}

TBitmap MakeRtpTitle() {
    TBitmap image = NewImage(320, 240);
    TPainter p(image);
    Gradient(p, 0, 0, 320, 240, rSky, 1, 7);
    p.Ellipse(250, 60, 18, 18, Ink(rGold, 7));
    Cloud(p, 70, 50, 14);
    Cloud(p, 190, 35, 10);
    Hills(p, 0, 90, 320, 90, rSlate, 3, 1);
    Hills(p, 0, 130, 320, 80, rLeaf, 2, 4);
    PaintCastle(p, 112, 88, 96, 96);
    Hills(p, 0, 170, 320, 70, rGreen, 3, 2);
    for (int i = 0; i < 6; ++i)
        PaintTree(p, 14 + i * 52 + (i % 2) * 10, 190 - (i % 3) * 6, 24, 32, i % 2 ? rLeaf : rGreen);
    return image;
}

TBitmap MakeRtpGameOver() {
    TBitmap image = NewImage(320, 240);
    TPainter p(image);
    Gradient(p, 0, 0, 320, 240, rPurple, 0, 2);
    Hills(p, 0, 150, 320, 90, rMoss, 1, 3);
    // A gravestone with a cross.
    p.Fill(140, 130, 40, 60, Ink(rStone, 3));
    p.Ellipse(160, 132, 20, 14, Ink(rStone, 3));
    p.Fill(142, 132, 4, 56, Ink(rStone, 5));
    p.Fill(157, 138, 6, 30, Ink(rStone, 1));
    p.Fill(149, 146, 22, 6, Ink(rStone, 1));
    PaintText(p, 60, 40, "GAME OVER", 4, Ink(rRed, 5));
    PaintText(p, 62, 42, "GAME OVER", 4, Ink(rRed, 3));
    return image;
}

TBitmap MakeRtpBackdrop() {
    TBitmap image = NewImage(320, 160);
    TPainter p(image);
    Gradient(p, 0, 0, 320, 96, rSky, 2, 7);
    Cloud(p, 60, 30, 10);
    Cloud(p, 240, 22, 13);
    Hills(p, 0, 40, 320, 60, rSlate, 4, 2);
    Hills(p, 0, 60, 320, 50, rLeaf, 3, 5);
    p.Each(0, 96, 320, 64, [](int x, int y) {
        const int n = Noise(x, y, 5, 12);
        return static_cast<int>(Ink(rGreen, 3 + (y - 96) / 22 + (n == 0) - (n == 1)));
    });
    for (int i = 0; i < 5; ++i)
        PaintTree(p, 20 + i * 70, 70 + (i % 2) * 4, 14, 26, rLeaf);
    return image;
}

TBitmap MakeRtpBattle() {
    TBitmap image = NewImage(480, 480);
    TPainter p(image);
    for (int row = 0; row < 5; ++row)
        for (int stage = 0; stage < 5; ++stage) {
            const int x = stage * 96, y = row * 96;
            const double cx = x + 48, cy = y + 48, grow = (stage + 1) / 5.0;
            switch (row) {
                case 0:  // slashes sweeping across
                    for (int k = 0; k < 3; ++k)
                        p.Each(x, y, 96, 96, [&](int px, int py) {
                            // An arc round a point beyond the lower right corner, sweeping from the
                            // upper right to the lower left.
                            const double u = (x + 130) - (px + 0.5), v = (y + 130) - (py + 0.5);
                            const double r = std::hypot(u, v), a = std::atan2(v, u), end = 1.35 - stage * 0.2;
                            const bool on = std::abs(r - 115 + k * 6) < 3 - k * 0.8 && a < end && a > end - 0.55;
                            return on ? static_cast<int>(Ink(k ? rSky : rGrey, 7 - k)) : -1;
                        });
                    break;
                case 1:  // a burst of fire
                    for (int k = 0; k < 7; ++k) {
                        const double a = k * 0.9 + stage, d = grow * 28;
                        const double r = 8 + stage * 2;
                        p.Ball(cx + std::cos(a) * d, cy + std::sin(a) * d, r, r, rFire, 3 + (k % 2));
                    }
                    p.Ball(cx, cy, 6 + stage * 3, 6 + stage * 3, rFire, 6);
                    break;
                case 2:  // ice shards
                    for (int k = 0; k <= stage * 2 + 1; ++k) {
                        const double a = k * 2.4, d = 10 + k * 4;
                        const double sx = cx + std::cos(a) * d, sy = cy + std::sin(a) * d;
                        p.Each(static_cast<int>(sx) - 8, static_cast<int>(sy) - 14, 16, 28, [&](int px, int py) {
                            const double u = std::abs(px + 0.5 - sx), v = std::abs(py + 0.5 - sy);
                            return u / 6 + v / 13 < 1 ? static_cast<int>(Ink(rIce, u < 2 ? 7 : 5)) : -1;
                        });
                    }
                    break;
                case 3: {  // lightning striking down
                    double bx = cx;
                    TRng rng(static_cast<std::uint32_t>(900 + stage));
                    const int end = y + 10 + static_cast<int>(grow * 80);
                    for (int py = y + 4; py < end; py += 8) {
                        const double nx = bx + rng.Below(17) - 8;
                        for (int w = -3; w <= 3; ++w)
                            p.Line(static_cast<int>(bx) + w, py, static_cast<int>(nx) + w, py + 8,
                                   std::abs(w) < 2 ? Ink(rGold, 7) : Ink(rGold, 4));
                        bx = nx;
                    }
                    if (stage >= 3)
                        p.Ellipse(bx, end, 14, 6, Ink(rGold, 6));
                    break;
                }
                default:  // a ring of sparkles rising
                    for (int k = 0; k < 8; ++k) {
                        const double a = k * 0.785 + stage * 0.3, d = 8 + grow * 34;
                        const int sx = static_cast<int>(cx + std::cos(a) * d);
                        const int sy = static_cast<int>(cy + std::sin(a) * d - stage * 4);
                        const int r = 2 + (k + stage) % 3;
                        p.Line(sx - r, sy, sx + r, sy, Ink(rSlime, 7));
                        p.Line(sx, sy - r, sx, sy + r, Ink(rSlime, 7));
                        p.Put(sx, sy, Ink(rGrey, 7));
                    }
                    break;
            }
        }
    return image;
}

TBitmap MakeRtpMonster(int index) {
    if (index == 0) {
        TBitmap image = NewImage(64, 56);
        TPainter p(image);
        p.Ellipse(32, 50, 26, 4, Ink(rSlime, 1));
        p.Each(4, 6, 56, 46, [](int x, int y) {
            const double u = (x + 0.5 - 32) / 27, v = (y + 0.5 - 34) / 18;
            const double top = v < 0 ? u * u + v * v * (1 + 0.9 * (1 - std::abs(u))) * 0.8 : u * u + v * v;
            if (v < 0 && std::abs(u) < 0.25 && v > -1.55 + std::abs(u) * 2.4)
                return static_cast<int>(Ink(rSlime, 5));
            return top <= 1 ? static_cast<int>(Ink(rSlime, 4 - (u + v > 0.6) + (u + v < -0.7) * 2)) : -1;
        });
        p.Ellipse(20, 28, 5, 3, Ink(rSlime, 7));
        for (const int ex : {23, 39}) {
            p.Ellipse(ex, 36, 4, 5, Ink(rGrey, 7));
            p.Ellipse(ex + 1, 37, 2, 3, Ink(rGrey, 0));
        }
        p.Fill(27, 45, 10, 2, Ink(rSlime, 1));
        p.Outline(0, 0, 64, 56, kLine);
        return image;
    }
    TBitmap image = NewImage(112, 96);
    TPainter p(image);
    // A wolf-like beast facing left.
    p.Line(86, 50, 106, 30, Ink(rFur, 3));
    p.Ellipse(100, 36, 5, 9, Ink(rFur, 3));  // tail
    for (const int lx : {36, 46, 76, 86})
        p.Fill(lx, 60, 7, 28, Ink(rFur, lx % 20 ? 2 : 3));
    p.Ball(62, 52, 32, 16, rFur, 4);
    p.Ball(30, 38, 18, 15, rFur, 4);
    p.Ball(14, 46, 12, 7, rFur, 5);  // muzzle
    for (const int ex : {22, 36})
        p.Each(ex - 6, 14, 12, 14, [ex](int x, int y) {
            return std::abs(x + 0.5 - ex) < (y - 14) * 0.45 ? static_cast<int>(Ink(rFur, 3)) : -1;
        });
    p.Ellipse(24, 34, 3, 2, Ink(rRed, 5));
    p.Put(24, 34, Ink(rGold, 7));
    p.Ellipse(4, 44, 2.5, 2, Ink(rGrey, 0));
    p.Line(4, 52, 22, 50, Ink(rGrey, 0));
    for (int t = 6; t < 20; t += 4)
        p.Put(t, 53, Ink(rGrey, 7));
    for (const int lx : {36, 46, 76, 86})
        p.Fill(lx - 1, 86, 9, 3, Ink(rFur, 1));
    p.Outline(0, 0, 112, 96, kLine);
    return image;
}

TBitmap MakeRtpPanorama() {
    TBitmap image = NewImage(320, 240);
    TPainter p(image);
    Gradient(p, 0, 0, 320, 240, rSky, 2, 7);
    TRng rng(77);
    for (int i = 0; i < 9; ++i) {
        const double x = rng.Below(320), y = 20 + rng.Below(180), size = 8 + rng.Below(12);
        Cloud(p, x, y, size);
        Cloud(p, x - 320, y, size);  // the part that wraps round to the left edge
        Cloud(p, x + 320, y, size);
    }
    return image;
}

TBitmap MakeRtpPicture() {
    TBitmap image = NewImage(160, 120);
    TPainter p(image);
    p.Each(14, 12, 132, 96, [](int x, int y) {
        return static_cast<int>(Ink(rPaper, 5 + (Noise(x, y, 3, 9) == 0) - (Noise(x, y, 4, 11) == 0) - (x > 136)));
    });
    for (int line = 0; line < 7; ++line) {
        TRng rng(static_cast<std::uint32_t>(line + 31));
        for (int x = 26; x < 120 - (line == 6) * 40;) {
            const int word = 4 + rng.Below(12);
            p.Fill(x, 24 + line * 11, word, 2, Ink(rDirt, 1));
            x += word + 4;
        }
    }
    for (const int ry : {6, 102}) {
        p.Fill(8, ry, 144, 12, Ink(rWood, 4));
        p.Fill(8, ry + 2, 144, 3, Ink(rWood, 6));
        p.Fill(4, ry + 2, 4, 8, Ink(rGold, 4));
        p.Fill(152, ry + 2, 4, 8, Ink(rGold, 4));
    }
    p.Outline(0, 0, 160, 120, kLine);
    return image;
}

}  // namespace quillon::rtp
