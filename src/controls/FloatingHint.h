// The floating hint's rule: a hint shown at a pointer position stays until the pointer moves
// away from that position by more than a few pixels (or a key or button is pressed).
#pragma once

namespace quillon {

inline constexpr int kHintMoveTolerance = 3;

class THintRule {
public:
    void Show(int x, int y) {
        mShown = true;
        mX = x;
        mY = y;
    }
    void Hide() { mShown = false; }
    bool Shown() const { return mShown; }
    // The pointer is at (x, y): answers whether the hint is to go.
    bool PointerMoved(int x, int y) const;

private:
    bool mShown = false;
    int mX = 0;
    int mY = 0;
};

}  // namespace quillon
