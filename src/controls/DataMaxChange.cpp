#include "controls/DataMaxChange.h"

#include "data/Catalog.h"
#include "platform/MessageBox.h"

#include <algorithm>

namespace quillon {

namespace {
int ClampCount(int count) { return std::clamp(count, kMinDataCount, kMaxDataCount); }
}  // namespace

TDataMaxChangeModel::TDataMaxChangeModel(int current) : mCurrent(current), mValue(ClampCount(current)) {}

void TDataMaxChangeModel::SetValue(int value) { mValue = ClampCount(value); }

bool TDataMaxChangeModel::Confirm(const void* owner) const {
    if (!Shrinks())
        return true;
    return ShowMessageBox(kDataCountLossQuestion, mbYesNo | mbIconWarning, owner) == mrYes;
}

bool ResizeCatalog(TCatalog& list, int count) {
    count = ClampCount(count);
    const int old = list.Count();
    if (count == old)
        return false;
    for (std::int32_t id = old + 1; id <= count; ++id)
        list.Obtain(id);
    for (std::int32_t id = count + 1; id <= old; ++id)
        list.Delete(id);
    return true;
}

}  // namespace quillon
