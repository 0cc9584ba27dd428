// Middle-button auto-scroll: after a middle press the view scrolls towards the pointer, the faster
// the further the pointer is from where the button went down. A click (press and release without
// moving away) leaves it running until the next press; a drag ends it on release.
#pragma once

#include <cstdint>

namespace quillon {

// Pixels around the starting point where the view stands still.
inline constexpr int kAutoScrollDeadZone = 8;
// The most a view moves in one step along an axis.
inline constexpr int kAutoScrollMaxStep = 64;

struct TScrollStep {
    int DX = 0;
    int DY = 0;
    bool operator==(const TScrollStep&) const = default;
};

// The movement of one step for a pointer at (dx, dy) from the starting point: nothing inside the
// dead zone, then a quarter of the distance beyond it, capped at kAutoScrollMaxStep.
int AutoScrollSpeed(int distance);
TScrollStep AutoScrollStep(int dx, int dy);

class TAutoScrollModel {
public:
    bool Active() const { return mActive; }
    // A middle press at (x, y): starts, or stops a running scroll. Another button stops it.
    void MiddlePress(int x, int y);
    void OtherPress();
    // The pointer's position; while active, it sets the speed.
    void Move(int x, int y);
    // Releasing the middle button ends a scroll the pointer was dragged in.
    void MiddleRelease();
    void Stop() { mActive = false; }
    // What the view moves now.
    TScrollStep Step() const;

private:
    bool mActive = false;
    bool mDragged = false;
    bool mStartedNow = false;
    int mStartX = 0;
    int mStartY = 0;
    int mX = 0;
    int mY = 0;
};

}  // namespace quillon
