// A character on the map: the hero or an event. Its cell, its position between cells while it
// moves (in 1/128 of a cell), its facing and walking pattern, its speed and frequency, and the
// move route it follows. Movement asks the world whether a step is allowed.
#pragma once

#include "data/LD_MoveRoute.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::runtime {

class TGameWorld;

enum TDirection : int { dUp = 0, dRight = 1, dDown = 2, dLeft = 3 };

inline constexpr int kCellUnits = 128;  // a cell in position units
inline constexpr int kCellPixels = 16;
inline constexpr int kTranslucentOpacity = 160;  // a translucent hero

int DirectionDx(int direction);
int DirectionDy(int direction);
// Frames one cell takes at a speed 1..6 (128, 64, 32, 16, 8, 4).
int FramesPerCell(int speed);

enum TPriority : int { prBelow = 0, prSame = 1, prAbove = 2 };
enum TAnimationType : int {
    atCommon = 0,         // steps while it moves
    atStepping = 1,       // steps all the time
    atNoStepping = 2,     // never steps
    atFixedDirection = 3,  // steps while it moves, never turns
    atFixedGraphic = 4,   // never steps, never turns
    atSpin = 5,           // turns right all the time
};

// A move route being followed.
struct TRouteRun {
    std::vector<TKelMoveRouteItem> Items;
    bool Repeat = false;
    bool Skippable = false;
    std::size_t Index = 0;
    bool Active = false;
    bool Forced = false;  // set by a script ("Move Character"), over the character's own movement
    int Frequency = 8;    // 0: the character's own
};

class TGameCharacter {
public:
    virtual ~TGameCharacter() = default;

    int X = 0;
    int Y = 0;
    int RealX = 0;  // position units; X * kCellUnits when standing
    int RealY = 0;
    int Direction = dDown;
    int Pattern = 1;  // 0..2, 1 the middle one
    int Speed = 4;
    int Frequency = 6;
    std::string CharSet;
    int CharIndex = 0;
    int TileId = -1;  // >= 0: drawn as this upper-layer tile
    int Opacity = 255;
    int Priority = prSame;
    int AnimationType = atCommon;
    bool Through = false;
    bool DirectionFixed = false;  // "Fix Dir." of a route
    bool AnimationStopped = false;
    bool NoOverlap = false;
    int JumpPeak = 0;  // pixels at the top of a jump in progress
    int PrevX = 0;     // the cell it stood on before its last step
    int PrevY = 0;
    // A flash over its picture ("Flash Character"): colour 0..31 each, power 0..31, fading over
    // FlashTotal frames.
    int FlashRed = 0;
    int FlashGreen = 0;
    int FlashBlue = 0;
    int FlashPower = 0;
    int FlashLeft = 0;
    int FlashTotal = 0;
    // The flash's strength now, 0..32.
    int FlashStrength() const;

    bool Moving() const { return mMoveLeft > 0; }
    void PlaceAt(int x, int y);
    // Turns unless the direction is fixed.
    void Turn(int direction);
    // Tries one step; true when it started.
    bool Step(TGameWorld& world, int direction);
    bool StepDiagonal(TGameWorld& world, int dx, int dy);
    // Runs the route from its start (forced: a script's route over the character's own movement).
    void StartRoute(const TKelMoveRoute& route, bool forced, int frequency);
    void StartRoute(std::vector<TKelMoveRouteItem> items, bool repeat, bool skippable, bool forced, int frequency);
    bool ForcedRouteRunning() const { return mRoute.Active && mRoute.Forced; }
    // A forced route that ends by itself ("Wait Until Moved" waits for these).
    bool ForcedRouteEnding() const { return mRoute.Active && mRoute.Forced && !mRoute.Repeat; }
    void StopRoute() { mRoute.Active = false; }
    // The route followed now, as far as it ran; RestoreRoute puts a saved one back (its place
    // and frequency within bounds) without touching the motion under way.
    const TRouteRun& Route() const { return mRoute; }
    void RestoreRoute(TRouteRun route);
    // The motion under way, as numbers a saved game keeps: the step or jump in progress, the
    // wait before the next move, the walking pattern, and how far its own route has run (a
    // script's route is kept by Route). RestoreMotion takes such numbers back, each within its bounds;
    // the character stands where PlaceAt put it first.
    std::vector<int> MotionValues() const;
    void RestoreMotion(const std::vector<int>& values);
    // One frame: movement, route, own movement, animation.
    void Update(TGameWorld& world);
    // Where it shows, in map pixels (top-left of its cell), and the jump's lift.
    int PixelX() const { return RealX * kCellPixels / kCellUnits; }
    int PixelY() const { return RealY * kCellPixels / kCellUnits; }
    int JumpLift() const;
    bool Visible() const { return TileId >= 0 || !CharSet.empty(); }

protected:
    // A character's own movement when it stands and follows no route (events' movement types).
    virtual void OwnMovement(TGameWorld&) {}
    // Called when a step starts, and when it is refused.
    virtual void Stepped(TGameWorld&) {}
    virtual void Bumped(TGameWorld&, int /*x*/, int /*y*/) {}
    int mWaitFrames = 0;  // frames still to wait before the next move

private:
    void RunRoute(TGameWorld& world);
    // Runs one route command; false when it must be tried again next frame.
    bool RouteCommand(TGameWorld& world, const TKelMoveRouteItem& item);
    void Animate();
    int MoveWait() const;
    void BeginMove(int fromX, int fromY, int frames);
    // Moves onto the (wrapped) cell (x, y) one step of (dx, dy) away.
    void StepTo(TGameWorld& world, int x, int y, int dx, int dy);

    TRouteRun mRoute;
    int mAnimFrames = 0;
    int mStepParity = 0;
    int mJumpFrames = 0;
    int mMoveLeft = 0;  // frames of the move in progress still to go
    int mMoveTotal = 0;
    int mFromX = 0;     // where the move started, in position units
    int mFromY = 0;
    bool mJumping = false;  // between "Start Jump" and "Stop Jump"
    int mJumpX = 0;
    int mJumpY = 0;
};

}  // namespace quillon::runtime
