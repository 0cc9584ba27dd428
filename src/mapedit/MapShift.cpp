#include "mapedit/MapShift.h"

#include "controls/LastUsed.h"

#include <algorithm>

namespace quillon {

namespace {
// The choice is offered again for the rest of the run.
int& LastDirectionValue() { return TLastUsed::Value<int>("MapShift.Direction", 0); }
std::int32_t& LastAmountValue() { return TLastUsed::Value<std::int32_t>("MapShift.Amount", 1); }

bool IsDirection(int d) {
    return d == TMapShiftModel::sdUp || d == TMapShiftModel::sdLeft || d == TMapShiftModel::sdRight ||
           d == TMapShiftModel::sdDown;
}
}  // namespace

int TMapShiftModel::LastDirection() { return LastDirectionValue(); }
std::int32_t TMapShiftModel::LastAmount() { return LastAmountValue(); }
void TMapShiftModel::ForgetLast() { TLastUsed::Forget("MapShift."); }

TMapShiftModel::TMapShiftModel(std::int32_t width, std::int32_t height)
    : mWidth(std::max(width, 1)), mHeight(std::max(height, 1)) {
    mDirection = IsDirection(LastDirectionValue()) ? LastDirectionValue() : sdUp;
    SetAmount(LastAmountValue());
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
    LastDirectionValue() = mDirection;
    LastAmountValue() = mAmount;
}

}  // namespace quillon
