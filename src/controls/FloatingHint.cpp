#include "controls/FloatingHint.h"

#include <cstdlib>

namespace quillon {

bool THintRule::PointerMoved(int x, int y) const {
    return mShown && (std::abs(x - mX) > kHintMoveTolerance || std::abs(y - mY) > kHintMoveTolerance);
}

}  // namespace quillon
