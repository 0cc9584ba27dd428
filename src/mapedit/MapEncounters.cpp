#include "mapedit/MapEncounters.h"

#include "data/Catalog.h"
#include "platform/Clipboard.h"

#include <algorithm>

namespace quillon {

std::string TroopName(const TCatalog* troops, std::int32_t troopId) {
    if (troops == nullptr)
        return {};
    const TCatalogItem* troop = troops->FindByID(troopId);
    return troop != nullptr ? troop->Name : std::string();
}

// --- the list ---

std::string TEncounterListModel::RowText(int row) const {
    return IsNewRow(row) ? std::string() : TroopName(mTroops, TroopIdAt(row));
}

std::int32_t TEncounterListModel::TroopIdAt(int row) const {
    const TKelEncountItem* item = mList->Items(row);
    return item != nullptr ? item->MonsterGroupId : 0;
}

void TEncounterListModel::Select(int row) {
    mSelected = row >= 0 && row < RowCount() ? row : -1;
    mScrollTarget = mSelected;
}

void TEncounterListModel::SelectAfterEdit(int row) {
    mSelected = std::clamp(row, 0, RowCount() - 1);
    mScrollTarget = std::min(mSelected + 1, RowCount() - 1);
}

bool TEncounterListModel::IsEnabled(TEncounterCommand command) const {
    if (mSelected < 0 || mSelected >= RowCount())
        return false;
    switch (command) {
    case TEncounterCommand::Edit: return HasEncounter() || mList->Count() < kMaxEncounters;
    case TEncounterCommand::Cut:
    case TEncounterCommand::Copy:
    case TEncounterCommand::Delete: return HasEncounter();
    case TEncounterCommand::Paste:
        return mList->Count() < kMaxEncounters && Clipboard().HasFormat(kEncounterClipboardFormat);
    }
    return false;
}

bool TEncounterListModel::Edit(std::int32_t troopId) {
    if (mSelected < 0 || mSelected >= RowCount())
        return false;
    if (HasEncounter()) {
        mList->Items(mSelected)->MonsterGroupId = troopId;
        SelectAfterEdit(mSelected);
        return true;
    }
    if (mList->Count() >= kMaxEncounters)
        return false;
    TKelEncountItem& added = mList->Append();
    added.MonsterGroupId = troopId;
    SelectAfterEdit(mList->Count() - 1);
    return true;
}

bool TEncounterListModel::Delete() {
    if (!HasEncounter())
        return false;
    mList->DeleteAndRenumber(mList->Items(mSelected)->ID);
    SelectAfterEdit(mSelected);
    return true;
}

bool TEncounterListModel::Copy() {
    if (!HasEncounter())
        return false;
    mList->Items(mSelected)->CopyToClipboard(kEncounterClipboardFormat);
    return true;
}

bool TEncounterListModel::Cut() {
    return Copy() && Delete();
}

bool ReadEncounterBlock(const std::string& block, TKelEncountItem& item) {
    std::int32_t count = 0;
    std::string payload;
    if (!SplitClipboardBlock(block, count, payload) || count < 1)
        return false;
    // The declared size must be there: a cut block is not read.
    TByteViewStream header(block);
    if (ReadInt32LE(header) != static_cast<std::int32_t>(payload.size()))
        return false;
    TKelEncountItem read;
    try {
        TByteViewStream stream(payload);
        read.LoadFromStream(stream);
    } catch (const std::exception&) {
        return false;
    }
    item.MonsterGroupId = read.MonsterGroupId;
    return true;
}

bool TEncounterListModel::Paste() {
    if (mSelected < 0 || mSelected >= RowCount() || mList->Count() >= kMaxEncounters)
        return false;
    const auto block = Clipboard().GetData(kEncounterClipboardFormat);
    TKelEncountItem pasted;
    if (!block || !ReadEncounterBlock(*block, pasted))
        return false;
    int row = mSelected;
    TKelEncountItem* target = nullptr;
    if (IsNewRow(row)) {
        target = &mList->Append();
        row = mList->Count() - 1;
    } else {
        target = &mList->InsertAndRenumber(mList->Items(row)->ID);
    }
    target->MonsterGroupId = pasted.MonsterGroupId;
    SelectAfterEdit(row);
    return true;
}

// --- the encounter dialog ---

namespace {
std::int32_t gLastTroopId = 1;
}

std::int32_t TEncounterDialogModel::LastTroopId() { return gLastTroopId; }
void TEncounterDialogModel::SetLastTroopId(std::int32_t id) { gLastTroopId = id; }

TEncounterDialogModel::TEncounterDialogModel(const TCatalog* troops, std::int32_t troopId) : mTroops(troops) {
    const std::int32_t id = troopId > 0 ? troopId : gLastTroopId;
    const int count = troops != nullptr ? troops->Count() : 0;
    mIndex = id >= 1 && id <= count ? id - 1 : 0;
}

std::vector<std::string> TEncounterDialogModel::Names() const {
    std::vector<std::string> names;
    if (mTroops == nullptr)
        return names;
    names.reserve(static_cast<std::size_t>(mTroops->Count()));
    for (int i = 0; i < mTroops->Count(); ++i)
        names.push_back(mTroops->Items(i)->Name);
    return names;
}

void TEncounterDialogModel::SetIndex(int index) {
    const int count = mTroops != nullptr ? mTroops->Count() : 0;
    mIndex = index >= 0 && index < count ? index : 0;
}

void TEncounterDialogModel::Confirm() { gLastTroopId = TroopId(); }

}  // namespace quillon
