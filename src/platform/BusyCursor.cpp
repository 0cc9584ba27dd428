#include "platform/BusyCursor.h"

namespace quillon {

namespace {
IBusyCursor* gBusyCursor = nullptr;
}

IBusyCursor* SetBusyCursor(IBusyCursor* cursor) {
    IBusyCursor* previous = gBusyCursor;
    gBusyCursor = cursor;
    return previous;
}

TBusyCursorScope::TBusyCursorScope() : mCursor(gBusyCursor) {
    if (mCursor)
        mCursor->Begin();
}

TBusyCursorScope::~TBusyCursorScope() {
    if (mCursor)
        mCursor->End();
}

}  // namespace quillon
