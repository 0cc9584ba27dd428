#include "controls/FormPlacement.h"

#include <algorithm>

namespace quillon {

namespace {

TRect Clamp(int left, int top, int width, int height, const TRect& screen) {
    if (left + width > screen.Right)
        left = screen.Right - width;
    if (top + height > screen.Bottom)
        top = screen.Bottom - height;
    left = std::max(left, screen.Left);
    top = std::max(top, screen.Top);
    return MakeBounds(left, top, width, height);
}

}  // namespace

TRect CenterOnOwner(int width, int height, const TRect& owner, const TRect& screen) {
    return Clamp(owner.Left + (owner.Width() - width) / 2, owner.Top + (owner.Height() - height) / 2, width, height,
                 screen);
}

TRect PlaceAtClientOffset(int width, int height, int clientLeft, int clientTop, int dx, int dy, const TRect& owner,
                          const TRect& screen) {
    const TRect over = Clamp(clientLeft + dx, clientTop + dy, width, height, owner);
    return Clamp(over.Left, over.Top, width, height, screen);
}

}  // namespace quillon
