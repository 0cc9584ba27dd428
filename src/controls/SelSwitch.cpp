#include "controls/SelSwitch.h"

#include "controls/DataMaxChange.h"
#include "controls/IdList.h"
#include "data/Catalog.h"
#include "platform/Cp932Limit.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {
const std::string kNoName;
}  // namespace

TSelSwitchModel::TSelSwitchModel(TCatalog& list) : mList(list) {
    std::int32_t last = 0;
    for (int i = 0; i < list.Count(); ++i)
        if (const TCatalogItem* item = list.Items(i); item && item->ID <= kMaxDataCount)
            last = std::max(last, item->ID);
    mNames.resize(static_cast<std::size_t>(std::max(last, 1)));
    for (int i = 0; i < list.Count(); ++i)
        if (const TCatalogItem* item = list.Items(i); item && item->ID >= 1 && item->ID <= last)
            mNames[static_cast<std::size_t>(item->ID - 1)] = item->Name;
}

const std::string& TSelSwitchModel::Name(std::int32_t id) const {
    if (id < 1 || id > Count())
        return kNoName;
    return mNames[static_cast<std::size_t>(id - 1)];
}

std::string TSelSwitchModel::GroupText(int group) const {
    if (group < 0 || group >= GroupCount())
        return {};
    const int first = group * kGroupSize + 1;
    const int last = std::min(first + kGroupSize - 1, Count());
    char text[32];
    std::snprintf(text, sizeof text, "[ %.4d - %.4d ]", first, last);
    return text;
}

std::vector<std::string> TSelSwitchModel::GroupRows() const {
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(GroupCount()));
    for (int g = 0; g < GroupCount(); ++g)
        rows.push_back(GroupText(g));
    return rows;
}

int TSelSwitchModel::RowCount(int group) const {
    if (group < 0 || group >= GroupCount())
        return 0;
    return std::min(kGroupSize, Count() - group * kGroupSize);
}

std::string TSelSwitchModel::RowText(int row) const {
    if (row < 0 || row >= RowCount(mGroup))
        return {};
    const std::int32_t id = mGroup * kGroupSize + row + 1;
    return IdListText(id, Name(id));
}

std::vector<std::string> TSelSwitchModel::Rows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < RowCount(mGroup); ++r)
        rows.push_back(RowText(r));
    return rows;
}

std::string TSelSwitchModel::IdLabel() const {
    char text[16];
    std::snprintf(text, sizeof text, "%.4d:", static_cast<int>(CurrentId()));
    return text;
}

void TSelSwitchModel::Select(int group, int row) {
    unsigned what = 0;
    if (group != mGroup)
        what |= cfRows;
    if (group != mGroup || row != mRow)
        what |= cfSelection;
    mGroup = group;
    mRow = row;
    if (what)
        Changed(what);
}

void TSelSwitchModel::Open(std::int32_t id) {
    if (id >= 1 && id <= Count())
        Select((id - 1) / kGroupSize, (id - 1) % kGroupSize);
    else
        Select(0, 0);
}

void TSelSwitchModel::SelectGroup(int group) {
    if (group >= 0 && group < GroupCount())
        Select(group, 0);
}

void TSelSwitchModel::SelectRow(int row) {
    if (row >= 0 && row < RowCount(mGroup))
        Select(mGroup, row);
}

bool TSelSwitchModel::MoveUp() {
    if (mRow > 0)
        Select(mGroup, mRow - 1);
    else if (mGroup > 0)
        Select(mGroup - 1, RowCount(mGroup - 1) - 1);
    else
        return false;
    return true;
}

bool TSelSwitchModel::MoveDown() {
    if (mRow + 1 < RowCount(mGroup))
        Select(mGroup, mRow + 1);
    else if (mGroup + 1 < GroupCount())
        Select(mGroup + 1, 0);
    else
        return false;
    return true;
}

void TSelSwitchModel::Edited(unsigned what) {
    mPending = true;
    Changed(what | cfPending);
}

void TSelSwitchModel::SetCurrentName(const std::string& bytes) {
    mNames[static_cast<std::size_t>(CurrentId() - 1)] = LimitCp932Bytes(bytes, kMaxNameBytes);
    Edited(cfName);
}

std::string TSelSwitchModel::CopyText() {
    Edited(0);
    return CurrentName();
}

void TSelSwitchModel::PasteText(const std::string& text) {
    SetCurrentName(text.substr(0, text.find_first_of("\r\n")));
}

void TSelSwitchModel::ClearName() { SetCurrentName({}); }

bool TSelSwitchModel::SetCount(int count) {
    count = std::clamp(count, kMinDataCount, kMaxDataCount);
    if (count == Count())
        return false;
    mNames.resize(static_cast<std::size_t>(count));
    const int group = std::min(mGroup, GroupCount() - 1);
    const int row = std::min(mRow, RowCount(group) - 1);
    mGroup = group;
    mRow = row;
    Edited(cfGroups | cfRows | cfSelection | cfName);
    return true;
}

void TSelSwitchModel::Apply() {
    if (!mPending)
        return;
    const std::int32_t count = Count();
    std::vector<std::int32_t> above;
    for (int i = 0; i < mList.Count(); ++i)
        if (const TCatalogItem* item = mList.Items(i); item && item->ID > count)
            above.push_back(item->ID);
    for (auto it = above.rbegin(); it != above.rend(); ++it)  // from the end: nothing moves
        mList.Delete(*it);
    for (std::int32_t id = 1; id <= count; ++id) {
        TCatalogItem* item = mList.FindByID(id);
        if (!item)
            item = &mList.Obtain(id);
        item->Name = mNames[static_cast<std::size_t>(id - 1)];
    }
    mPending = false;
    mApplied = true;
    Changed(cfPending);
}

std::int32_t TSelSwitchModel::Confirm() {
    Apply();
    return CurrentId();
}

}  // namespace quillon
