// The clock of the battle animation previews of the skill and item pages: a frame every 33 ms
// from the start of a repetition; after the animation's frames a pause of as many frames again,
// at least 5 and at most 20, then the next repetition starts at frame 0.
#pragma once

#include <algorithm>
#include <cstdint>

namespace quillon {

inline constexpr int kPreviewFrameMs = 33;

// The pause after an animation of `frames` frames, in frames.
inline int AnimationPreviewPause(int frames) { return std::clamp(frames, 5, 20); }
// The frames of one repetition: the animation and its pause.
inline int AnimationPreviewCycle(int frames) { return std::max(frames, 0) + AnimationPreviewPause(frames); }

class TAnimationPreviewClock {
public:
    // A repetition starts at `nowMs`.
    void Restart(std::int64_t nowMs) { mStart = nowMs; }
    // The frame to draw at `nowMs` for an animation of `frames` frames: a full repetition
    // restarts the clock at frame 0. Negative before the start (drawn black).
    int Frame(std::int64_t nowMs, int frames) {
        if (nowMs < mStart)
            return -1;
        int frame = static_cast<int>((nowMs - mStart) / kPreviewFrameMs);
        if (frame >= AnimationPreviewCycle(frames)) {
            mStart = nowMs;
            frame = 0;
        }
        return frame;
    }

private:
    std::int64_t mStart = 0;
};

}  // namespace quillon
