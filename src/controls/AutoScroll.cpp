#include "controls/AutoScroll.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

int AutoScrollSpeed(int distance) {
    const int beyond = std::abs(distance) - kAutoScrollDeadZone;
    if (beyond <= 0)
        return 0;
    const int speed = std::min(std::max(beyond / 4, 1), kAutoScrollMaxStep);
    return distance < 0 ? -speed : speed;
}

TScrollStep AutoScrollStep(int dx, int dy) { return {AutoScrollSpeed(dx), AutoScrollSpeed(dy)}; }

void TAutoScrollModel::MiddlePress(int x, int y) {
    if (mActive) {
        mActive = false;
        mStartedNow = false;
        return;
    }
    mActive = true;
    mDragged = false;
    mStartedNow = true;
    mStartX = mX = x;
    mStartY = mY = y;
}

void TAutoScrollModel::OtherPress() { mActive = false; }

void TAutoScrollModel::Move(int x, int y) {
    mX = x;
    mY = y;
    if (mActive && (std::abs(x - mStartX) > kAutoScrollDeadZone || std::abs(y - mStartY) > kAutoScrollDeadZone))
        mDragged = true;
}

void TAutoScrollModel::MiddleRelease() {
    if (mActive && mStartedNow && mDragged)
        mActive = false;
    mStartedNow = false;
}

TScrollStep TAutoScrollModel::Step() const {
    if (!mActive)
        return {};
    return AutoScrollStep(mX - mStartX, mY - mStartY);
}

}  // namespace quillon
