#include "mapedit/MapShift.h"

#include <algorithm>

namespace quillon {

namespace {
int gLastDirection = 0;
std::int32_t gLastAmount = 1;

bool IsDirection(int d) {
    return d == TMapShiftModel::sdUp || d == TMapShiftModel::sdLeft || d == TMapShiftModel::sdRight ||
           d == TMapShiftModel::sdDown;
}
}  // namespace

int TMapShiftModel::LastDirection() { return gLastDirection; }
std::int32_t TMapShiftModel::LastAmount() { return gLastAmount; }
void TMapShiftModel::ForgetLast() {
    gLastDirection = 0;
    gLastAmount = 1;
}

TMapShiftModel::TMapShiftModel(std::int32_t width, std::int32_t height)
    : mWidth(std::max(width, 1)), mHeight(std::max(height, 1)) {
    mDirection = IsDirection(gLastDirection) ? gLastDirection : sdUp;
    SetAmount(gLastAmount);
}

void TMapShiftModel::SetDirection(int direction) {
    if (!IsDirection(direction))
        return;
    mDirection = direction;
    SetAmount(mAmount);
}

std::int32_t TMapShiftModel::MaxAmount() const {
    return mDirection == sdUp || mDirection == sdDown ? mHeight : mWidth;
}

void TMapShiftModel::SetAmount(std::int32_t amount) { mAmount = std::clamp(amount, 1, MaxAmount()); }

void TMapShiftModel::Offset(std::int32_t& dx, std::int32_t& dy) const {
    dx = 0;
    dy = 0;
    switch (mDirection) {
    case sdUp: dy = -mAmount; break;
    case sdLeft: dx = -mAmount; break;
    case sdRight: dx = mAmount; break;
    case sdDown: dy = mAmount; break;
    default: break;
    }
}

void TMapShiftModel::Confirm() {
    gLastDirection = mDirection;
    gLastAmount = mAmount;
}

}  // namespace quillon
