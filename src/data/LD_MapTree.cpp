#include "data/LD_MapTree.h"

#include "data/LD_Map.h"
#include "platform/FileUtils.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace quillon {

// --- encounters ---

void TKelEncountItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetIntField(d, &MonsterGroupId, 0, "MonsterGroupId");  // omitted only when 0, reads back as 1
}

void TKelEncountItem::Reset() {
    MonsterGroupId = 1;
}

// --- tree items ---

void TKelMapTreeItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetIntField(d, &ParentId, 0, "ParentId"); break;
    case 3: SetIntField(d, &Depth, 0, "Depth"); break;
    case 4: SetBufferField(d, &Kind, 1, "Kind"); break;
    case 5: SetIntField(d, &ScrollX, 0, "ScrollX"); break;
    case 6: SetIntField(d, &ScrollY, 0, "ScrollY"); break;
    case 7: SetByteField(d, &Expanded, 0, "Expanded"); break;
    case 11: SetBufferField(d, &MusicType, 1, "MusicType"); break;
    case 12: SetRecordField(d, &Music, "Music"); break;
    case 21: SetBufferField(d, &BackdropType, 1, "BackdropType"); break;
    case 22: SetStringField(d, &BackdropName, true, "BackdropName"); break;
    case 31: SetBufferField(d, &TeleportPermission, 1, "TeleportPermission"); break;
    case 32: SetBufferField(d, &EscapePermission, 1, "EscapePermission"); break;
    case 33: SetBufferField(d, &SavePermission, 1, "SavePermission"); break;
    case 41: SetListField(d, &Encounters, "Encounters"); break;
    case 44: SetIntField(d, &EncounterSteps, 25, "EncounterSteps"); break;
    case 51: SetBufferField(d, &AreaRect, sizeof AreaRect, "AreaRect"); break;
    default: break;
    }
}

void TKelMapTreeItem::Reset() {
    MusicType = mtParent;
    Music.Reset();
    BackdropType = btParent;
    BackdropName.clear();
    TeleportPermission = ppParent;
    EscapePermission = ppParent;
    SavePermission = ppParent;
    Encounters.Clear();
    EncounterSteps = 25;
}

void TKelMapTreeItem::Assign(const TCatalogBaseItem& source) {
    if (&source == this)
        return;
    // Reset keeps these, and the copy leaves out those at their defaults: clear them first so
    // that nothing of the old content survives.
    Name.clear();
    ParentId = 0;
    Depth = 0;
    Kind = mkRoot;
    ScrollX = 0;
    ScrollY = 0;
    Expanded = 0;
    AreaRect = {};
    TCatalogItem::Assign(source);
}

// --- start positions ---

namespace {

using TStartSlot = std::int32_t TKelMapStartPosition::*;
constexpr TStartSlot kStartSlots[TKelMapStartPosition::kCount][3] = {
    {&TKelMapStartPosition::PartyMapId, &TKelMapStartPosition::PartyX, &TKelMapStartPosition::PartyY},
    {&TKelMapStartPosition::BoatMapId, &TKelMapStartPosition::BoatX, &TKelMapStartPosition::BoatY},
    {&TKelMapStartPosition::ShipMapId, &TKelMapStartPosition::ShipX, &TKelMapStartPosition::ShipY},
    {&TKelMapStartPosition::AirshipMapId, &TKelMapStartPosition::AirshipX, &TKelMapStartPosition::AirshipY},
};

}  // namespace

void TKelMapStartPosition::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    static constexpr const char* kNames[kCount][3] = {
        {"PartyMapId", "PartyX", "PartyY"},
        {"BoatMapId", "BoatX", "BoatY"},
        {"ShipMapId", "ShipX", "ShipY"},
        {"AirshipMapId", "AirshipX", "AirshipY"},
    };
    // Fields 1..3 party, 11..13 boat, 21..23 ship, 31..33 airship.
    const int index = fieldNumber / 10;
    const int part = fieldNumber % 10 - 1;
    if (fieldNumber < 1 || index >= kCount || part < 0 || part > 2)
        return;
    SetIntField(d, &(this->*kStartSlots[index][part]), 0, kNames[index][part]);
}

void TKelMapStartPosition::Reset() {
    for (int index = 0; index < kCount; ++index)
        Clear(index);
}

std::int32_t* TKelMapStartPosition::Slot(int index, int part) {
    if (index < 0 || index >= kCount)
        return nullptr;
    return &(this->*kStartSlots[index][part]);
}

const std::int32_t* TKelMapStartPosition::Slot(int index, int part) const {
    if (index < 0 || index >= kCount)
        return nullptr;
    return &(this->*kStartSlots[index][part]);
}

std::int32_t TKelMapStartPosition::GetMapId(int index) const {
    const std::int32_t* slot = Slot(index, 0);
    return slot ? *slot : 0;
}

std::int32_t TKelMapStartPosition::GetX(int index) const {
    const std::int32_t* slot = Slot(index, 1);
    return slot ? *slot : 0;
}

std::int32_t TKelMapStartPosition::GetY(int index) const {
    const std::int32_t* slot = Slot(index, 2);
    return slot ? *slot : 0;
}

void TKelMapStartPosition::SetMapId(int index, std::int32_t value) {
    if (std::int32_t* slot = Slot(index, 0))
        *slot = value;
}

void TKelMapStartPosition::SetX(int index, std::int32_t value) {
    if (std::int32_t* slot = Slot(index, 1))
        *slot = value;
}

void TKelMapStartPosition::SetY(int index, std::int32_t value) {
    if (std::int32_t* slot = Slot(index, 2))
        *slot = value;
}

void TKelMapStartPosition::Clear(int index) {
    SetMapId(index, 0);
    SetX(index, 0);
    SetY(index, 0);
}

const char* TKelMapStartPosition::PositionName(int index) {
    static constexpr const char* kNames[kCount] = {"Hero", "Boat", "Ship", "Airship"};
    return index >= 0 && index < kCount ? kNames[index] : "";
}

// --- the tree ---

bool TKelMapTree::IsModified() const {
    if (!DeletedMaps.empty())
        return true;
    for (int index = 0; index < Count(); ++index)
        if (Items(index)->Modified)
            return true;
    return false;
}

int TKelMapTree::OrderIndexOf(std::int32_t id) const {
    const auto it = std::find(Order.begin(), Order.end(), id);
    return it == Order.end() ? -1 : static_cast<int>(it - Order.begin());
}

void TKelMapTree::Clear() {
    TCatalog::Clear();
    Order.clear();
}

void TKelMapTree::ForgetDeleted(std::int32_t id) {
    DeletedMaps.erase(std::remove(DeletedMaps.begin(), DeletedMaps.end(), id), DeletedMaps.end());
}

TKelMapTreeItem& TKelMapTree::AddItem(std::int32_t parentId, std::int32_t newId) {
    TKelMapTreeItem& item = Obtain(newId);
    ForgetDeleted(newId);
    item.ParentId = parentId;
    const TKelMapTreeItem* parent = FindByID(parentId);
    if (parent != nullptr)
        item.Depth = parent->Depth + 1;

    // An ID already in the order moves rather than appearing twice.
    const int present = OrderIndexOf(newId);
    if (present >= 0)
        Order.erase(Order.begin() + present);
    const int parentIndex = OrderIndexOf(parentId);
    if (parentIndex >= 0 && parent != nullptr) {
        for (std::size_t k = static_cast<std::size_t>(parentIndex) + 1; k < Order.size(); ++k) {
            const TKelMapTreeItem* entry = FindByID(Order[k]);
            if (entry != nullptr && entry->Depth == parent->Depth) {
                Order.insert(Order.begin() + static_cast<std::ptrdiff_t>(k), newId);
                return item;
            }
        }
    }
    Order.push_back(newId);
    return item;
}

void TKelMapTree::DeleteItem(std::int32_t id) {
    std::vector<std::int32_t> removed;
    const int position = OrderIndexOf(id);
    if (position < 0) {
        if (FindByID(id) != nullptr)
            removed.push_back(id);
    } else {
        const TKelMapTreeItem* item = FindByID(id);
        const std::int32_t depth = item ? item->Depth : 0;
        std::size_t end = static_cast<std::size_t>(position) + 1;
        for (; end < Order.size(); ++end) {
            const TKelMapTreeItem* entry = FindByID(Order[end]);
            if (entry == nullptr || entry->Depth <= depth)
                break;
        }
        removed.assign(Order.begin() + position, Order.begin() + static_cast<std::ptrdiff_t>(end));
        Order.erase(Order.begin() + position, Order.begin() + static_cast<std::ptrdiff_t>(end));
    }
    for (const std::int32_t gone : removed) {
        if (FindByID(gone) != nullptr)
            Delete(gone);
        if (std::find(DeletedMaps.begin(), DeletedMaps.end(), gone) == DeletedMaps.end())
            DeletedMaps.push_back(gone);
        // A start position on a map that no longer exists points nowhere.
        for (int index = 0; index < TKelMapStartPosition::kCount; ++index)
            if (StartPosition.GetMapId(index) == gone)
                StartPosition.Clear(index);
    }
}

std::vector<TKelMapTreeNode> TKelMapTree::WalkOut(bool skipAreas) const {
    enum class TState { Shown, Skipped };
    std::unordered_map<std::int32_t, TState> state;
    std::unordered_map<std::int32_t, std::vector<std::int32_t>> children;
    std::vector<std::int32_t> tops;
    for (const std::int32_t id : Order) {
        const TKelMapTreeItem* item = FindByID(id);
        if (item == nullptr || state.count(id) != 0)
            continue;
        const auto parent = item->ParentId != id ? state.find(item->ParentId) : state.end();
        const bool underSkipped = parent != state.end() && parent->second == TState::Skipped;
        if (underSkipped || (skipAreas && item->IsArea())) {
            state[id] = TState::Skipped;
            continue;
        }
        state[id] = TState::Shown;
        if (parent != state.end())
            children[item->ParentId].push_back(id);
        else
            tops.push_back(id);
    }

    std::vector<TKelMapTreeNode> nodes;
    std::vector<std::pair<std::int32_t, int>> stack;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        stack.emplace_back(*it, 0);
    while (!stack.empty()) {
        const auto [id, level] = stack.back();
        stack.pop_back();
        nodes.push_back({id, level, FindByID(id)->Expanded != 0});
        const auto below = children.find(id);
        if (below == children.end())
            continue;
        for (auto it = below->second.rbegin(); it != below->second.rend(); ++it)
            stack.emplace_back(*it, level + 1);
    }
    return nodes;
}

void TKelMapTree::WalkIn(const std::vector<TKelMapTreeNode>& nodes) {
    Order.clear();
    std::unordered_set<std::int32_t> seen;
    std::vector<std::pair<int, std::int32_t>> parents;  // (level, ID) of the open ancestors
    for (const TKelMapTreeNode& node : nodes) {
        TKelMapTreeItem* item = FindByID(node.Id);
        if (item == nullptr || !seen.insert(node.Id).second)
            continue;
        const int level = std::max(node.Level, 0);
        while (!parents.empty() && parents.back().first >= level)
            parents.pop_back();
        if (!parents.empty())
            item->ParentId = parents.back().second;
        item->Depth = level;
        item->Expanded = node.Expanded ? 1 : 0;
        parents.emplace_back(level, node.Id);
        Order.push_back(node.Id);
    }
}

void TKelMapTree::LoadTreeFromStream(TStream& stream) {
    mReport = {};
    ReadSignature(stream, kSignature);
    Order.clear();
    CurrentMapId = 0;
    StartPosition.Reset();
    TCatalog::LoadFromStream(stream);

    const auto count = static_cast<std::uint32_t>(ReadVarInt(stream));
    stream.RequireRemaining(count);  // one byte at least per ID
    mReport.OrderListed = count;
    std::unordered_set<std::int32_t> seen;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::int32_t id = ReadVarInt(stream);
        // An ID that names no item, or repeats one, would show a node for nothing or twice.
        if (FindByID(id) != nullptr && seen.insert(id).second)
            Order.push_back(id);
        else
            ++mReport.OrderDropped;
    }
    mReport.ItemsNotInOrder = Count() - static_cast<int>(Order.size());
    CurrentMapId = ReadVarInt(stream);
    StartPosition.LoadFromStream(stream);
}

void TKelMapTree::SaveTreeToStream(TStream& stream) {
    WriteString(stream, kSignature);
    TCatalog::SaveToStream(stream);
    WriteVarInt(stream, static_cast<std::int32_t>(Order.size()));
    for (const std::int32_t id : Order)
        WriteVarInt(stream, id);
    WriteVarInt(stream, CurrentMapId);
    StartPosition.SaveToStream(stream);
}

void TKelMapTree::Load(const std::string& projectPath) {
    DeletedMaps.clear();
    // Working copies of the tree that was open are discarded.
    const std::string workFolder = MapWorkFolder();
    for (int index = 0; index < Count(); ++index) {
        TKelMapTreeItem* item = Items(index);
        RemoveFileIfExists(workFolder + MapFileName(item->ID));
        item->Modified = false;
    }
    const std::string bytes = ReadWholeFile(projectPath + kFileName);
    TByteViewStream stream(bytes);
    LoadTreeFromStream(stream);
}

void TKelMapTree::Save(const std::string& projectPath) {
    if (!HasItems())
        return;
    TFileTransaction transaction;
    StageSave(projectPath, transaction);
    transaction.Commit();
    FinishSave(projectPath);
}

void TKelMapTree::StageSave(const std::string& projectPath, TFileTransaction& transaction) {
    if (!HasItems())
        return;
    const std::string workFolder = MapWorkFolder();
    for (int index = 0; index < Count(); ++index) {
        TKelMapTreeItem* item = Items(index);
        // A working copy that has gone missing leaves the project's file as it is rather than
        // replacing it by an empty map.
        if (!item->SavesNow() || !item->IsMap() || !FileExists(workFolder + MapFileName(item->ID)))
            continue;
        TKelMap map;
        map.LoadFromWork(item->ID);
        map.ID = item->ID;
        const std::string file = projectPath + MapFileName(item->ID);
        if (item->FileDamaged && FileExists(file))
            transaction.Stage(file + kDamagedFileSuffix, ReadWholeFile(file));
        transaction.Stage(file, map.FileImage());
    }
    TMemoryStream image;
    SaveTreeToStream(image);
    transaction.Stage(projectPath + kFileName, image.Bytes());
}

void TKelMapTree::FinishSave(const std::string& projectPath) {
    if (!HasItems())
        return;
    const std::string workFolder = MapWorkFolder();
    for (int index = 0; index < Count(); ++index) {
        TKelMapTreeItem* item = Items(index);
        if (!item->SavesNow())
            continue;
        if (item->IsMap())
            RemoveFileIfExists(workFolder + MapFileName(item->ID));
        item->Modified = false;
        item->FileDamaged = item->ReplaceDamaged = false;
    }
    for (const std::int32_t id : DeletedMaps)
        RemoveFileIfExists(projectPath + MapFileName(id));
    DeletedMaps.clear();
}

void TKelMapTree::NewProject(const std::string& projectPath, const std::string& title, TKelMap& map) {
    // Nothing of a tree that was open before carries over into the new project.
    Clear();
    DeletedMaps.clear();
    StartPosition.Reset();

    TKelMapTreeItem& root = AddItem(0, 0);
    root.Kind = TKelMapTreeItem::mkRoot;
    root.Name = title;
    CurrentMapId = 0;
    Save(projectPath);

    TKelMapTreeItem& first = AddItem(0, 1);
    first.Kind = TKelMapTreeItem::mkMap;
    first.Name = "MAP0001";
    first.MusicType = TKelMapTreeItem::mtNoChange;
    first.BackdropType = TKelMapTreeItem::btByTerrain;
    first.TeleportPermission = TKelMapTreeItem::ppEnable;
    first.EscapePermission = TKelMapTreeItem::ppEnable;
    first.SavePermission = TKelMapTreeItem::ppEnable;
    first.EncounterSteps = 25;
    first.Modified = true;

    map.Reset();
    map.SetWidth(100);
    map.SetHeight(100);
    map.SaveToWork(1);
    CurrentMapId = 1;
    Save(projectPath);
}

}  // namespace quillon
