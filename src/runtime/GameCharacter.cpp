#include "runtime/GameCharacter.h"

#include "runtime/GameWorld.h"

#include <algorithm>
#include <cstdlib>

namespace quillon::runtime {

namespace {

enum : std::int32_t {
    mcUp = 0, mcRight = 1, mcDown = 2, mcLeft = 3,
    mcRightUp = 4, mcRightDown = 5, mcLeftDown = 6, mcLeftUp = 7,
    mcRandom = 8, mcTowardHero = 9, mcAwayFromHero = 10, mcForward = 11,
    mcFaceUp = 12, mcFaceLeft = 15, mcTurnRight = 16, mcTurnLeft = 17, mcTurnAround = 18,
    mcTurnRandomSide = 19, mcFaceRandom = 20, mcFaceHero = 21, mcFaceAwayFromHero = 22,
    mcWait = 23, mcStartJump = 24, mcStopJump = 25, mcFixDirection = 26, mcUnfixDirection = 27,
    mcSpeedUp = 28, mcSpeedDown = 29, mcFrequencyUp = 30, mcFrequencyDown = 31,
    mcThroughOn = 36, mcThroughOff = 37, mcStopAnimation = 38, mcStartAnimation = 39,
    mcMoreTransparent = 40, mcLessTransparent = 41,
};

constexpr int kOpacityStep = 32;

// Frames between two moves at a frequency 1..8.
constexpr int kFrequencyWait[9] = {128, 128, 96, 64, 48, 32, 16, 8, 0};

}  // namespace

int DirectionDx(int direction) { return direction == dRight ? 1 : direction == dLeft ? -1 : 0; }
int DirectionDy(int direction) { return direction == dDown ? 1 : direction == dUp ? -1 : 0; }
int FramesPerCell(int speed) { return 128 >> (std::clamp(speed, 1, 6) - 1); }

void TGameCharacter::PlaceAt(int x, int y) {
    PrevX = X;
    PrevY = Y;
    X = x;
    Y = y;
    RealX = x * kCellUnits;
    RealY = y * kCellUnits;
    mMoveLeft = 0;
    mJumpFrames = 0;
}

void TGameCharacter::Turn(int direction) {
    if (DirectionFixed || AnimationType == atFixedDirection || AnimationType == atFixedGraphic)
        return;
    Direction = direction & 3;
}

int TGameCharacter::MoveWait() const { return kFrequencyWait[std::clamp(Frequency, 1, 8)]; }

void TGameCharacter::BeginMove(int fromX, int fromY, int frames) {
    mFromX = fromX;
    mFromY = fromY;
    RealX = fromX;
    RealY = fromY;
    mMoveTotal = std::max(frames, 1);
    mMoveLeft = mMoveTotal;
}

bool TGameCharacter::Step(TGameWorld& world, int direction) {
    Turn(direction);
    const int dx = DirectionDx(direction);
    const int dy = DirectionDy(direction);
    if (!world.CanStep(*this, X, Y, dx, dy)) {
        int x = X + dx;
        int y = Y + dy;
        world.Wrap(x, y);
        Bumped(world, x, y);
        return false;
    }
    int x = X + dx;
    int y = Y + dy;
    world.Wrap(x, y);
    StepTo(world, x, y, dx, dy);
    return true;
}

void TGameCharacter::StepTo(TGameWorld& world, int x, int y, int dx, int dy) {
    PrevX = X;
    PrevY = Y;
    X = x;
    Y = y;
    // Seen from the new cell, the old one lies one step back (also across the edge of a looping map).
    BeginMove((x - dx) * kCellUnits, (y - dy) * kCellUnits, FramesPerCell(Speed));
    Stepped(world);
}

bool TGameCharacter::StepDiagonal(TGameWorld& world, int dx, int dy) {
    if (!DirectionFixed && AnimationType != atFixedDirection && AnimationType != atFixedGraphic)
        Direction = dx > 0 ? dRight : dLeft;
    const bool viaColumn = world.CanStep(*this, X, Y, dx, 0) && world.CanStep(*this, X + dx, Y, 0, dy);
    const bool viaRow = world.CanStep(*this, X, Y, 0, dy) && world.CanStep(*this, X, Y + dy, dx, 0);
    int x = X + dx;
    int y = Y + dy;
    world.Wrap(x, y);
    if (!(viaColumn || viaRow) || world.Blocked(*this, x, y)) {
        Bumped(world, x, y);
        return false;
    }
    StepTo(world, x, y, dx, dy);
    return true;
}

int TGameCharacter::JumpLift() const {
    if (mJumpFrames <= 0 || mMoveTotal <= 0)
        return 0;
    // A parabola over the jump: 0 at both ends, JumpPeak in the middle.
    const int done = mMoveTotal - mMoveLeft;
    return 4 * JumpPeak * done * (mMoveTotal - done) / (mMoveTotal * mMoveTotal);
}

void TGameCharacter::StartRoute(const TKelMoveRoute& route, bool forced, int frequency) {
    StartRoute(route.ItemList(), route.Repeat != 0, route.Skippable != 0, forced, frequency);
}

void TGameCharacter::StartRoute(std::vector<TKelMoveRouteItem> items, bool repeat, bool skippable, bool forced,
                                int frequency) {
    mRoute.Items = std::move(items);
    mRoute.Repeat = repeat;
    mRoute.Skippable = skippable;
    mRoute.Forced = forced;
    mRoute.Frequency = frequency;
    mRoute.Index = 0;
    mRoute.Active = !mRoute.Items.empty();
    mJumping = false;
    mWaitFrames = 0;
}

void TGameCharacter::RestoreRoute(TRouteRun route) {
    mRoute = std::move(route);
    mRoute.Index = std::min(mRoute.Index, mRoute.Items.size());
    mRoute.Frequency = std::clamp(mRoute.Frequency, 0, 8);
    mRoute.Active = mRoute.Active && !mRoute.Items.empty();
}

namespace {
// The order of MotionValues.
enum TMotionValue : int {
    mvWait, mvMoveLeft, mvMoveTotal, mvFromX, mvFromY, mvRealX, mvRealY, mvPattern, mvAnimFrames,
    mvStepParity, mvJumpFrames, mvJumpPeak, mvJumping, mvJumpX, mvJumpY, mvRouteIndex, mvRouteActive,
    kMotionValues
};
// How far a step or jump under way may start from the cell it leads to.
constexpr int kMaxMotionUnits = 16 * kCellUnits;
constexpr int kMaxMotionFrames = 10000;
}  // namespace

std::vector<int> TGameCharacter::MotionValues() const {
    const bool ownRoute = mRoute.Active && !mRoute.Forced;
    // In the order of TMotionValue.
    std::vector<int> values{mWaitFrames, mMoveLeft,  mMoveTotal,  mFromX,      mFromY,        RealX,
                            RealY,       Pattern,    mAnimFrames, mStepParity, mJumpFrames,   JumpPeak,
                            mJumping ? 1 : 0, mJumpX, mJumpY, ownRoute ? static_cast<int>(mRoute.Index) : 0,
                            ownRoute ? 1 : 0};
    return values;
}

void TGameCharacter::RestoreMotion(const std::vector<int>& values) {
    if (values.size() < kMotionValues)
        return;
    const auto units = [&](int which, int cell) {
        const int at = cell * kCellUnits;
        return std::clamp(values[static_cast<std::size_t>(which)], at - kMaxMotionUnits, at + kMaxMotionUnits);
    };
    const auto frames = [&](int which) { return std::clamp(values[static_cast<std::size_t>(which)], 0, kMaxMotionFrames); };
    mWaitFrames = frames(mvWait);
    mMoveTotal = frames(mvMoveTotal);
    mMoveLeft = mMoveTotal > 0 ? std::min(frames(mvMoveLeft), mMoveTotal) : 0;
    if (mMoveLeft > 0) {
        mFromX = units(mvFromX, X);
        mFromY = units(mvFromY, Y);
        RealX = units(mvRealX, X);
        RealY = units(mvRealY, Y);
    }
    Pattern = std::clamp(values[mvPattern], 0, 2);
    mAnimFrames = frames(mvAnimFrames);
    mStepParity = values[mvStepParity] & 3;
    mJumpFrames = mMoveLeft > 0 ? std::min(frames(mvJumpFrames), mMoveTotal) : 0;
    JumpPeak = std::clamp(values[mvJumpPeak], 0, kCellPixels * 4);
    mJumping = values[mvJumping] != 0;
    mJumpX = std::clamp(values[mvJumpX], 0, 999);
    mJumpY = std::clamp(values[mvJumpY], 0, 999);
    // The character's own route (its page's) runs on from where it was, if it still has one.
    if (values[mvRouteActive] != 0 && mRoute.Active && !mRoute.Forced && !mRoute.Items.empty())
        mRoute.Index = std::min(static_cast<std::size_t>(std::max(values[mvRouteIndex], 0)), mRoute.Items.size());
}

int TGameCharacter::FlashStrength() const {
    if (FlashLeft <= 0 || FlashTotal <= 0)
        return 0;
    return std::clamp(FlashPower, 0, 31) * 32 / 31 * FlashLeft / FlashTotal;
}

void TGameCharacter::Update(TGameWorld& world) {
    if (FlashLeft > 0)
        --FlashLeft;
    if (mMoveLeft > 0) {
        --mMoveLeft;
        const int done = mMoveTotal - mMoveLeft;
        RealX = mFromX + (X * kCellUnits - mFromX) * done / mMoveTotal;
        RealY = mFromY + (Y * kCellUnits - mFromY) * done / mMoveTotal;
        if (mMoveLeft == 0)
            mJumpFrames = 0;
    }
    Animate();
    if (mMoveLeft > 0)
        return;
    if (mWaitFrames > 0) {
        --mWaitFrames;
        return;
    }
    if (mRoute.Active)
        RunRoute(world);
    else
        OwnMovement(world);
}

void TGameCharacter::Animate() {
    const bool moving = mMoveLeft > 0;
    if (AnimationStopped || AnimationType == atNoStepping || AnimationType == atFixedGraphic) {
        mAnimFrames = 0;
        return;
    }
    const int period = std::max(4, FramesPerCell(Speed) / 2);
    if (AnimationType == atSpin) {
        if (++mAnimFrames >= period) {
            mAnimFrames = 0;
            Direction = (Direction + 1) & 3;
        }
        return;
    }
    if (moving || AnimationType == atStepping) {
        if (++mAnimFrames >= period) {
            mAnimFrames = 0;
            static constexpr int kCycle[4] = {1, 2, 1, 0};
            mStepParity = (mStepParity + 1) & 3;
            Pattern = kCycle[mStepParity];
        }
    } else if (Pattern != 1) {
        if (++mAnimFrames >= period) {
            mAnimFrames = 0;
            Pattern = 1;
            mStepParity = mStepParity & 2;
        }
    } else {
        mAnimFrames = 0;
    }
}

void TGameCharacter::RunRoute(TGameWorld& world) {
    // Commands that take no time run one after another; a move or a wait ends the frame. A route
    // of such commands alone runs once through per frame at most.
    for (std::size_t budget = mRoute.Items.size() + 1; budget > 0 && mRoute.Active; --budget) {
        if (mRoute.Index >= mRoute.Items.size()) {
            if (!mRoute.Repeat || mRoute.Items.empty()) {
                mRoute.Active = false;
                return;
            }
            mRoute.Index = 0;
        }
        const TKelMoveRouteItem& item = mRoute.Items[mRoute.Index];
        if (!RouteCommand(world, item))
            return;  // tried again next frame
        ++mRoute.Index;
        if (mMoveLeft > 0 || mWaitFrames > 0) {
            if (mMoveLeft > 0 && mRoute.Frequency > 0)
                mWaitFrames = kFrequencyWait[std::clamp(mRoute.Frequency, 1, 8)];
            else if (mMoveLeft > 0)
                mWaitFrames = MoveWait();
            if (mRoute.Index >= mRoute.Items.size() && !mRoute.Repeat)
                mRoute.Active = false;
            return;
        }
    }
    if (mRoute.Index >= mRoute.Items.size() && !mRoute.Repeat)
        mRoute.Active = false;
}

bool TGameCharacter::RouteCommand(TGameWorld& world, const TKelMoveRouteItem& item) {
    const int code = item.Code;
    const TGameCharacter& hero = world.Hero();
    const auto towardHero = [&]() {
        const int dx = world.WrappedDx(X, hero.X);
        const int dy = world.WrappedDy(Y, hero.Y);
        if (std::abs(dx) >= std::abs(dy) && dx != 0)
            return dx > 0 ? int(dRight) : int(dLeft);
        if (dy != 0)
            return dy > 0 ? int(dDown) : int(dUp);
        return Direction;
    };
    // A move: while a jump is being planned it only moves the landing cell.
    const auto move = [&](int dx, int dy, int direction) {
        if (mJumping) {
            mJumpX += dx;
            mJumpY += dy;
            return true;
        }
        const bool moved = dx != 0 && dy != 0 ? StepDiagonal(world, dx, dy) : Step(world, direction);
        return moved || mRoute.Skippable;
    };
    switch (code) {
    case mcUp:
    case mcRight:
    case mcDown:
    case mcLeft: return move(DirectionDx(code), DirectionDy(code), code);
    case mcRightUp: return move(1, -1, dRight);
    case mcRightDown: return move(1, 1, dRight);
    case mcLeftDown: return move(-1, 1, dLeft);
    case mcLeftUp: return move(-1, -1, dLeft);
    case mcRandom: {
        const int direction = world.Random().Below(4);
        return move(DirectionDx(direction), DirectionDy(direction), direction);
    }
    case mcTowardHero: {
        const int direction = towardHero();
        return move(DirectionDx(direction), DirectionDy(direction), direction);
    }
    case mcAwayFromHero: {
        const int direction = (towardHero() + 2) & 3;
        return move(DirectionDx(direction), DirectionDy(direction), direction);
    }
    case mcForward: return move(DirectionDx(Direction), DirectionDy(Direction), Direction);
    case mcTurnRight: Turn(Direction + 1); return true;
    case mcTurnLeft: Turn(Direction + 3); return true;
    case mcTurnAround: Turn(Direction + 2); return true;
    case mcTurnRandomSide: Turn(Direction + (world.Random().Below(2) == 0 ? 1 : 3)); return true;
    case mcFaceRandom: Turn(world.Random().Below(4)); return true;
    case mcFaceHero: Turn(towardHero()); return true;
    case mcFaceAwayFromHero: Turn(towardHero() + 2); return true;
    case mcWait: mWaitFrames = FramesPerCell(Speed); return true;
    case mcStartJump:
        mJumping = true;
        mJumpX = X;
        mJumpY = Y;
        return true;
    case mcStopJump: {
        mJumping = false;
        int x = mJumpX;
        int y = mJumpY;
        world.Wrap(x, y);
        if (!world.CanLand(*this, x, y))
            return mRoute.Skippable;
        // The old cell seen from the landing cell (which a looping map may have wrapped).
        const int fromX = X * kCellUnits + (x - mJumpX) * kCellUnits;
        const int fromY = Y * kCellUnits + (y - mJumpY) * kCellUnits;
        JumpPeak = 8 + 4 * std::min(std::abs(mJumpX - X) + std::abs(mJumpY - Y), 4);
        PrevX = X;
        PrevY = Y;
        X = x;
        Y = y;
        BeginMove(fromX, fromY, FramesPerCell(Speed) * 2);
        mJumpFrames = mMoveTotal;
        Stepped(world);
        return true;
    }
    case mcFixDirection: DirectionFixed = true; return true;
    case mcUnfixDirection: DirectionFixed = false; return true;
    case mcSpeedUp: Speed = std::min(Speed + 1, 6); return true;
    case mcSpeedDown: Speed = std::max(Speed - 1, 1); return true;
    case mcFrequencyUp: Frequency = std::min(Frequency + 1, 8); return true;
    case mcFrequencyDown: Frequency = std::max(Frequency - 1, 1); return true;
    case mcSwitchOn:
    case mcSwitchOff: world.RouteSwitch(item.SwitchId, code == mcSwitchOn); return true;
    case mcChangeGraphic:
        CharSet = item.GraphicName;
        CharIndex = item.GraphicIndex;
        TileId = -1;
        world.UseCharSet(CharSet);
        return true;
    case mcPlaySound: world.RouteSound(item); return true;
    case mcThroughOn: Through = true; return true;
    case mcThroughOff: Through = false; return true;
    case mcStopAnimation: AnimationStopped = true; return true;
    case mcStartAnimation: AnimationStopped = false; return true;
    case mcMoreTransparent: Opacity = std::max(Opacity - kOpacityStep, 0); return true;
    case mcLessTransparent: Opacity = std::min(Opacity + kOpacityStep, 255); return true;
    default:
        if (code >= mcFaceUp && code <= mcFaceLeft) {
            Turn(code - mcFaceUp);
            return true;
        }
        return true;  // an unknown code does nothing
    }
}

}  // namespace quillon::runtime
