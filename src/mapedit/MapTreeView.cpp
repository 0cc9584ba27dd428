#include "mapedit/MapTreeView.h"

#include "data/LD_Map.h"
#include "data/StreamUtils.h"
#include "mapedit/MapProperties.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace quillon {

namespace {

std::string FormatName(const char* prefix, std::int32_t id) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.4d", prefix, static_cast<int>(id));
    return text;
}

std::int32_t Wrap(std::int64_t value, std::int32_t size) {
    if (size <= 0)
        return 0;
    const std::int64_t r = value % size;
    return static_cast<std::int32_t>(r < 0 ? r + size : r);
}

}  // namespace

// --- the tree as a whole ---

void TMapTreeModel::LoadTree() {
    mMap->Modified = false;
    mMapTree->Load(ProjectPath());
    TKelMapTreeItem* root = mMapTree->FindByID(0);
    if (root == nullptr)
        throw std::runtime_error("The map tree \"" + ProjectPath() + TKelMapTree::kFileName +
                                 "\" has no project root.");
    root->Kind = TKelMapTreeItem::mkRoot;
    root->Name = ReadGameTitle(ProjectPath());
    FillView();
}

void TMapTreeModel::FillView() {
    mViewEnabled = false;
    mNodes = mMapTree->WalkOut(!IncludeAreas);
    mNodeIndexValid = false;
    mSelected.reset();
    mViewEnabled = true;
    if (mNodes.empty())
        return;
    // The current node, or the nearest of its ancestors the view shows, or the first node.
    std::int32_t id = mMapTree->CurrentMapId;
    for (int guard = 0; guard < 10000 && NodeIndex(id) < 0; ++guard) {
        const TKelMapTreeItem* item = mMapTree->FindByID(id);
        if (item == nullptr || item->ParentId == id) {
            id = mNodes.front().Id;
            break;
        }
        id = item->ParentId;
    }
    if (NodeIndex(id) < 0)
        id = mNodes.front().Id;
    SelectNode(id);
}

void TMapTreeModel::SaveTree() {
    SaveOpenMap();
    for (int index = 0; index < mMapTree->Count(); ++index) {
        TKelMapTreeItem& item = *mMapTree->Items(index);
        if (!item.IsMap() || !item.Modified || !item.FileDamaged)
            continue;
        const TFilledText question = ReplaceDamagedQuestion(item.ID);
        item.ReplaceDamaged =
            AskReplaceDamaged ? AskReplaceDamaged(question) : AskYesNo(question.Text()) == mrYes;
    }
    TakeOrderFromView();
    try {
        mMapTree->Save(ProjectPath());
    } catch (...) {
        // The maps may have been committed before the tree file failed: the tree still counts
        // as changed, so that closing asks again rather than losing it.
        if (TKelMapTreeItem* root = mMapTree->FindByID(0))
            root->Modified = true;
        throw;
    }
}

void TMapTreeModel::ClearTree() {
    mMapTree->Clear();
    mMapTree->CurrentMapId = 0;
    mNodes.clear();
    mNodeIndexValid = false;
    mSelected.reset();
    mMap->MakeEmpty();
    mMap->Modified = false;
    Notify();
}

bool TMapTreeModel::IsModified() const {
    return mMap->Modified || mMapTree->IsModified();
}

void TMapTreeModel::SaveOpenMap() {
    if (!mMap->Modified)
        return;
    TKelMapTreeItem* item = mMapTree->FindByID(mMapTree->CurrentMapId);
    if (item == nullptr)
        return;
    if (item->IsMap()) {
        mMap->SaveToWork(item->ID);
        item->Modified = true;
    } else if (item->IsArea()) {
        TKelMapTreeItem* parent = mMapTree->FindByID(item->ParentId);
        if (parent == nullptr || !parent->IsMap())
            return;
        mMap->SaveToWork(parent->ID);
        parent->Modified = true;
    }
}

// --- the view ---

int TMapTreeModel::NodeIndex(std::int32_t id) const {
    if (!mNodeIndexValid) {
        mNodeIndex.clear();
        mNodeIndex.reserve(mNodes.size());
        // The first node of an ID counts, as a walk from the start would find it.
        for (std::size_t i = mNodes.size(); i-- > 0;)
            mNodeIndex[mNodes[i].Id] = static_cast<int>(i);
        mNodeIndexValid = true;
    }
    const auto found = mNodeIndex.find(id);
    return found == mNodeIndex.end() ? -1 : found->second;
}

std::size_t TMapTreeModel::SubtreeEnd(std::size_t index) const {
    std::size_t end = index + 1;
    while (end < mNodes.size() && mNodes[end].Level > mNodes[index].Level)
        ++end;
    return end;
}

TKelMapTreeItem* TMapTreeModel::SelectedItem() const {
    return mSelected ? mMapTree->FindByID(*mSelected) : nullptr;
}

void TMapTreeModel::Notify() { OnChanged(); }

void TMapTreeModel::TakeOrderFromView() {
    // A view without areas cannot tell where they belong: the tree's order stays as it is then.
    if (!mPickerMode && IncludeAreas && !mNodes.empty())
        mMapTree->WalkIn(mNodes);
}

void TMapTreeModel::LoadShownMap(TKelMapTreeItem& item) {
    if (SharedMap != nullptr && SharedMap->ID == item.ID) {
        mMap->Assign(*SharedMap);
        mMap->ID = item.ID;
        mMap->Modified = false;
        mMap->ReloadChipSetGraphic();
    } else if (item.Modified) {
        mMap->LoadFromWork(item.ID);
    } else {
        mMap->LoadFromProject(ProjectPath(), item.ID);
        // What could be read is shown; the user hears once what could not, and the file is
        // not replaced without asking.
        if (mMap->LoadReport().Damaged && !item.FileDamaged && !mPickerMode) {
            item.FileDamaged = true;
            const TFilledText text = DescribeMapDamage(MapFileName(item.ID), mMap->LoadReport());
            if (TellDamaged)
                TellDamaged(text);
            else
                ShowMessageBox(text.Text(), mbOk | mbIconWarning);
        }
    }
}

TFilledText ReplaceDamagedQuestion(std::int32_t id) {
    const std::string file = MapFileName(id);
    return {"%1 was damaged when it was read. Replace it with the map as it is now? The damaged file is kept "
            "as \"%2\".",
            {file, file + kDamagedFileSuffix}};
}

void TMapTreeModel::SelectNode(std::int32_t id) {
    if (!mViewEnabled || NodeIndex(id) < 0)
        return;
    TBusyCursorScope busy;
    SaveOpenMap();
    mSelected = id;
    mMapTree->CurrentMapId = id;
    TKelMapTreeItem* item = mMapTree->FindByID(id);
    if (item != nullptr && item->IsMap()) {
        LoadShownMap(*item);
    } else if (item != nullptr && item->IsArea()) {
        TKelMapTreeItem* parent = mMapTree->FindByID(item->ParentId);
        if (parent != nullptr && parent->IsMap())
            LoadShownMap(*parent);
        else
            mMap->MakeEmpty();
        const TKelAreaRect& r = item->AreaRect;
        item->ScrollX = static_cast<std::int32_t>((static_cast<std::int64_t>(r.Left) + r.Right) * 16 - ViewWidth / 2);
        item->ScrollY = static_cast<std::int32_t>((static_cast<std::int64_t>(r.Top) + r.Bottom) * 16 - ViewHeight / 2);
    } else {
        mMap->MakeEmpty();
        mMap->Modified = false;
    }
    TakeOrderFromView();
    Notify();
}

void TMapTreeModel::SetExpanded(std::int32_t id, bool expanded) {
    const int index = NodeIndex(id);
    if (index < 0)
        return;
    mNodes[static_cast<std::size_t>(index)].Expanded = expanded;
    if (!mPickerMode)
        if (TKelMapTreeItem* item = mMapTree->FindByID(id))
            item->Expanded = expanded ? 1 : 0;
}

bool TMapTreeModel::CanDrop(std::int32_t dragged, std::optional<std::int32_t> target) const {
    if (mPickerMode || !target)
        return false;
    const int from = NodeIndex(dragged);
    const int to = NodeIndex(*target);
    if (from < 0 || to < 0)
        return false;
    const TKelMapTreeItem* item = mMapTree->FindByID(dragged);
    const TKelMapTreeItem* onto = mMapTree->FindByID(*target);
    if (item == nullptr || onto == nullptr)
        return false;
    if (!item->IsMap() && !(item->IsArea() && item->ParentId == *target))
        return false;
    if (onto->IsArea())
        return false;
    // Not onto itself nor into its own subtree.
    const std::size_t end = SubtreeEnd(static_cast<std::size_t>(from));
    return !(to >= from && static_cast<std::size_t>(to) < end);
}

bool TMapTreeModel::Drop(std::int32_t dragged, std::int32_t target) {
    if (!CanDrop(dragged, target))
        return false;
    const std::size_t from = static_cast<std::size_t>(NodeIndex(dragged));
    const std::size_t end = SubtreeEnd(from);
    std::vector<TKelMapTreeNode> moved(mNodes.begin() + static_cast<std::ptrdiff_t>(from),
                                       mNodes.begin() + static_cast<std::ptrdiff_t>(end));
    mNodes.erase(mNodes.begin() + static_cast<std::ptrdiff_t>(from), mNodes.begin() + static_cast<std::ptrdiff_t>(end));
    mNodeIndexValid = false;
    const std::size_t to = static_cast<std::size_t>(NodeIndex(target));
    const int shift = mNodes[to].Level + 1 - moved.front().Level;
    for (TKelMapTreeNode& node : moved)
        node.Level += shift;
    const std::size_t insertAt = SubtreeEnd(to);
    mNodes.insert(mNodes.begin() + static_cast<std::ptrdiff_t>(insertAt), moved.begin(), moved.end());
    mNodeIndexValid = false;
    TakeOrderFromView();
    if (!mPickerMode) {
        if (TKelMapTreeItem* item = mMapTree->FindByID(dragged))
            item->ParentId = target;
    }
    if (TKelMapTreeItem* root = mMapTree->FindByID(0))
        root->Modified = true;
    Notify();
    return true;
}

void TMapTreeModel::AddNode(std::int32_t parentId, std::int32_t id) {
    const int parent = NodeIndex(parentId);
    mNodeIndexValid = false;
    if (parent < 0) {
        mNodes.push_back({id, 0, false});
        return;
    }
    const std::size_t at = SubtreeEnd(static_cast<std::size_t>(parent));
    mNodes[static_cast<std::size_t>(parent)].Expanded = true;  // the new node is made visible
    mNodes.insert(mNodes.begin() + static_cast<std::ptrdiff_t>(at),
                  TKelMapTreeNode{id, mNodes[static_cast<std::size_t>(parent)].Level + 1, false});
}

void TMapTreeModel::RemoveNode(std::int32_t id) {
    const int index = NodeIndex(id);
    if (index < 0)
        return;
    const std::size_t end = SubtreeEnd(static_cast<std::size_t>(index));
    mNodes.erase(mNodes.begin() + index, mNodes.begin() + static_cast<std::ptrdiff_t>(end));
    mNodeIndexValid = false;
}

// --- commands ---

std::vector<TMapTreeMenuItem> TMapTreeModel::PopupMenu() const {
    std::vector<TMapTreeMenuItem> items;
    const TKelMapTreeItem* item = SelectedItem();
    if (mPickerMode || item == nullptr)
        return items;
    auto add = [&](TMapTreeCommand command, const char* caption, const char* shortCut) {
        items.push_back({command, caption, shortCut, IsEnabled(command)});
    };
    if (item->IsArea()) {
        add(TMapTreeCommand::AreaProperties, "A&rea Properties...", "");
        add(TMapTreeCommand::Delete, "&Delete...", "Del");
    } else if (item->IsMap()) {
        add(TMapTreeCommand::MapProperties, "&Map Properties...", "");
        add(TMapTreeCommand::NewMap, "Create &New Map...", "");
        add(TMapTreeCommand::NewArea, "Create &Area...", "");
        add(TMapTreeCommand::Copy, "&Copy", "Ctrl+C");
        add(TMapTreeCommand::Paste, "&Paste", "Ctrl+V");
        add(TMapTreeCommand::Delete, "&Delete...", "Del");
        add(TMapTreeCommand::ShiftMap, "&Shift Map...", "Ctrl+H");
    } else {
        add(TMapTreeCommand::NewMap, "Create &New Map...", "");
        add(TMapTreeCommand::Paste, "&Paste", "Ctrl+V");
    }
    return items;
}

bool TMapTreeModel::IsEnabled(TMapTreeCommand command) const {
    const TKelMapTreeItem* item = SelectedItem();
    if (mPickerMode || item == nullptr)
        return false;
    const bool dialogs = Dialogs != nullptr && Dialogs->Available();
    const bool map = item->IsMap(), area = item->IsArea(), root = !map && !area;
    switch (command) {
    case TMapTreeCommand::MapProperties: return map && dialogs;
    case TMapTreeCommand::NewMap: return (map || root) && dialogs;
    case TMapTreeCommand::NewArea: return map && dialogs;
    case TMapTreeCommand::AreaProperties: return area && dialogs;
    case TMapTreeCommand::Copy: return map;
    case TMapTreeCommand::Paste: return (map || root) && Clipboard().HasFormat(kMapTreeClipboardFormat);
    case TMapTreeCommand::Delete: return map || area;
    case TMapTreeCommand::ShiftMap: return map && dialogs;
    }
    return false;
}

bool TMapTreeModel::Execute(TMapTreeCommand command) {
    if (!IsEnabled(command))
        return false;
    switch (command) {
    case TMapTreeCommand::MapProperties: return MapProperties();
    case TMapTreeCommand::NewMap: return NewMap();
    case TMapTreeCommand::NewArea: return NewArea();
    case TMapTreeCommand::AreaProperties: return AreaProperties();
    case TMapTreeCommand::Copy: return Copy();
    case TMapTreeCommand::Paste: return Paste();
    case TMapTreeCommand::Delete: return Delete();
    case TMapTreeCommand::ShiftMap: return ShiftMap();
    }
    return false;
}

std::int32_t TMapTreeModel::FreeId() const {
    for (std::int32_t id = 1; id <= kMaxMapId; ++id)
        if (mMapTree->FindByID(id) == nullptr)
            return id;
    return 0;
}

void TMapTreeModel::TakeItemProperties(TKelMapTreeItem& target, const TKelMapTreeItem& source) {
    target.Kind = TKelMapTreeItem::mkMap;
    target.Name = source.Name;
    target.MusicType = source.MusicType;
    if (source.MusicType == TKelMapTreeItem::mtSetTo)
        target.Music.Assign(source.Music);
    else
        target.Music.Reset();
    target.BackdropType = source.BackdropType;
    target.BackdropName = source.BackdropType == TKelMapTreeItem::btSetTo ? source.BackdropName : std::string();
    target.TeleportPermission = source.TeleportPermission;
    target.EscapePermission = source.EscapePermission;
    target.SavePermission = source.SavePermission;
    target.Encounters.Assign(source.Encounters);
    target.EncounterSteps = source.EncounterSteps;
}

void TMapTreeModel::TakeMapSettings(TKelMap& target, const TKelMap& source) {
    target.ChipSetId = source.ChipSetId;
    target.SetWidth(source.Width());
    target.SetHeight(source.Height());
    target.SetScrollType(source.ScrollType);
    target.PanoramaEnabled = source.PanoramaEnabled;
    target.PanoramaName = source.PanoramaName;
    target.PanoramaHorizontalPan = source.PanoramaHorizontalPan;
    target.PanoramaVerticalPan = source.PanoramaVerticalPan;
    target.PanoramaHorizontalAuto = source.PanoramaHorizontalAuto;
    target.PanoramaHorizontalSpeed = source.PanoramaHorizontalSpeed;
    target.PanoramaVerticalAuto = source.PanoramaVerticalAuto;
    target.PanoramaVerticalSpeed = source.PanoramaVerticalSpeed;
    target.Modified = true;
}

bool TMapTreeModel::NewMap() {
    TKelMapTreeItem* parent = SelectedItem();
    if (parent == nullptr || parent->IsArea() || Dialogs == nullptr)
        return false;
    const std::int32_t id = FreeId();
    if (id == 0) {
        OnRefused(TMapTreeRefusal::NoFreeId);
        return false;
    }
    TKelMapTreeItem item;
    item.ID = id;
    item.Name = FormatName("MAP", id);
    TKelMap settings;
    if (parent->IsMap())
        settings.ChipSetId = mMap->ChipSetId;
    if (!Dialogs->EditMap(true, !parent->IsMap(), item, settings))
        return false;

    SaveOpenMap();
    const std::int32_t parentId = parent->ID;
    TKelMapTreeItem& added = mMapTree->AddItem(parentId, id);
    mMapTree->CurrentMapId = id;
    TakeItemProperties(added, item);
    AddNode(parentId, id);
    mSelected = id;
    mMap->Reset();
    mMap->ID = id;
    TakeMapSettings(*mMap, settings);
    mMap->ReloadChipSetGraphic();
    TakeOrderFromView();
    Notify();
    return true;
}

bool TMapTreeModel::MapProperties() {
    TKelMapTreeItem* current = SelectedItem();
    if (current == nullptr || !current->IsMap() || Dialogs == nullptr)
        return false;
    // A record copy carries the fields, not the list element's ID: the dialog's caption names it.
    TKelMapTreeItem item;
    item.Assign(*current);
    item.ID = current->ID;
    TKelMap settings;
    settings.Assign(*mMap);
    if (!Dialogs->EditMap(false, current->ParentId == 0, item, settings))
        return false;
    TakeItemProperties(*current, item);
    TakeMapSettings(*mMap, settings);
    // Events and start positions that no longer lie on the map go.
    const std::int32_t width = mMap->Width(), height = mMap->Height();
    std::vector<std::int32_t> outside;
    for (int i = 0; i < mMap->Events.Count(); ++i) {
        const TKelEventItem* event = mMap->Events.Items(i);
        if (event->X >= width || event->Y >= height)
            outside.push_back(event->ID);
    }
    for (const std::int32_t id : outside)
        mMap->Events.Delete(id);
    TKelMapStartPosition& start = mMapTree->StartPosition;
    for (int index = 0; index < TKelMapStartPosition::kCount; ++index)
        if (start.GetMapId(index) == current->ID && (start.GetX(index) >= width || start.GetY(index) >= height))
            start.Clear(index);
    mMap->ReloadChipSetGraphic();
    mMap->Modified = true;
    KeepScroll = true;
    try {
        Notify();
    } catch (...) {
        KeepScroll = false;
        throw;
    }
    KeepScroll = false;
    return true;
}

bool TMapTreeModel::NewArea() {
    TKelMapTreeItem* parent = SelectedItem();
    if (parent == nullptr || !parent->IsMap() || Dialogs == nullptr)
        return false;
    const std::int32_t id = FreeId();
    if (id == 0) {
        OnRefused(TMapTreeRefusal::NoFreeId);
        return false;
    }
    TKelMapTreeItem item;
    item.ID = id;
    item.Kind = TKelMapTreeItem::mkArea;
    item.Name = FormatName("AREA", id);
    item.AreaRect = {0, 0, mMap->Width(), mMap->Height()};
    if (!Dialogs->EditArea(true, *mMapTree, *mMap, item))
        return false;

    SaveOpenMap();
    const std::int32_t parentId = parent->ID;
    TKelMapTreeItem& added = mMapTree->AddItem(parentId, id);
    mMapTree->CurrentMapId = id;
    added.Kind = TKelMapTreeItem::mkArea;
    added.Name = item.Name;
    added.AreaRect = item.AreaRect;
    added.Encounters.Assign(item.Encounters);
    added.Modified = true;
    AddNode(parentId, id);
    SelectNode(id);
    return true;
}

bool TMapTreeModel::AreaProperties() {
    TKelMapTreeItem* current = SelectedItem();
    if (current == nullptr || !current->IsArea() || Dialogs == nullptr)
        return false;
    TKelMapTreeItem item;
    item.Assign(*current);
    item.ID = current->ID;
    if (!Dialogs->EditArea(false, *mMapTree, *mMap, item))
        return false;
    current->Name = item.Name;
    current->AreaRect = item.AreaRect;
    current->Encounters.Assign(item.Encounters);
    current->Modified = true;
    Notify();
    return true;
}

bool TMapTreeModel::Delete() {
    TKelMapTreeItem* current = SelectedItem();
    if (current == nullptr || (!current->IsMap() && !current->IsArea()))
        return false;
    if (AskYesNo("Delete " + current->Name + " ?") != mrYes)
        return false;
    const std::int32_t id = current->ID;
    const std::int32_t parentId = current->ParentId;
    // The parent is selected first: the open map's changes are secured and it shows the parent.
    if (NodeIndex(parentId) >= 0 && parentId != id)
        SelectNode(parentId);
    RemoveNode(id);
    mMapTree->DeleteItem(id);
    if (mSelected == id) {
        mSelected.reset();
        mMap->MakeEmpty();
        mMap->Modified = false;
    }
    Notify();
    return true;
}

bool TMapTreeModel::ShiftMap() {
    TKelMapTreeItem* current = SelectedItem();
    if (current == nullptr || !current->IsMap() || Dialogs == nullptr)
        return false;
    const std::int32_t width = mMap->Width(), height = mMap->Height();
    std::int32_t dx = 0, dy = 0;
    if (!Dialogs->ShiftMap(width, height, dx, dy))
        return false;
    mMap->Shift(dx, dy);
    TKelMapStartPosition& start = mMapTree->StartPosition;
    for (int index = 0; index < TKelMapStartPosition::kCount; ++index) {
        if (start.GetMapId(index) != current->ID)
            continue;
        start.SetX(index, Wrap(static_cast<std::int64_t>(start.GetX(index)) + dx + width, width));
        start.SetY(index, Wrap(static_cast<std::int64_t>(start.GetY(index)) + dy + height, height));
    }
    mMap->SaveToWork(current->ID);
    current->Modified = true;
    Notify();
    return true;
}

// --- the map clipboard ---

std::string TMapTreeModel::MakeMapBlock(const std::string& name, TKelMap& map, TKelMapTreeItem& item) {
    TMemoryStream payload;
    WriteString(payload, name);
    map.SaveToStream(payload);
    item.SaveToStream(payload);
    return MakeCountedClipboardBlock(payload.Bytes());
}

std::unique_ptr<TMapBlock> TMapTreeModel::ReadMapBlock(std::string_view block) {
    const std::optional<std::string_view> payload = CountedClipboardPayload(block);
    if (!payload)
        return nullptr;
    auto read = std::make_unique<TMapBlock>();
    try {
        TByteViewStream stream(*payload);
        read->Name = ReadString(stream);
        const std::int64_t mapStart = stream.Position();
        TKelMap map;
        map.LoadFromStream(stream);
        read->MapBytes.assign(payload->substr(static_cast<std::size_t>(mapStart),
                                             static_cast<std::size_t>(stream.Position() - mapStart)));
        read->Item.LoadFromStream(stream);
        // A paste loads the map from its own bytes, where a size that only the bytes after it
        // (the item) made room for no longer fits: refuse such a block here, before anything
        // changes.
        TKelMap alone;
        TByteViewStream own(read->MapBytes);
        alone.LoadFromStream(own);
    } catch (const std::exception&) {
        return nullptr;
    }
    return read;
}

std::string TMapTreeModel::PastedMapName(const std::string& name, std::int32_t newId) {
    if (name.size() != 7 || name.compare(0, 3, "MAP") != 0)
        return name;
    int value = 0;
    for (std::size_t i = 3; i < 7; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return name;
        value = value * 10 + (name[i] - '0');
    }
    return value > 0 ? FormatName("MAP", newId) : name;
}

bool TMapTreeModel::Copy() {
    TKelMapTreeItem* current = SelectedItem();
    if (current == nullptr || !current->IsMap())
        return false;
    Clipboard().SetData(kMapTreeClipboardFormat, MakeMapBlock(current->Name, *mMap, *current));
    return true;
}

bool TMapTreeModel::Paste() {
    TKelMapTreeItem* parent = SelectedItem();
    if (parent == nullptr || parent->IsArea())
        return false;
    const std::optional<std::string> block = Clipboard().GetData(kMapTreeClipboardFormat);
    if (!block)
        return false;
    // The whole block is read before anything changes: a damaged one changes nothing.
    const std::unique_ptr<TMapBlock> read = ReadMapBlock(*block);
    if (!read)
        return false;
    const std::string& name = read->Name;
    const TKelMapTreeItem& blockItem = read->Item;

    SaveOpenMap();
    const std::int32_t id = FreeId();
    if (id == 0) {
        OnRefused(TMapTreeRefusal::NoFreeId);
        return false;
    }
    // Another program's block is held to what the editor stores, as a map file is.
    mPasteReport = {};
    const std::string chosenName = CheckPastedName(PastedMapName(name, id), kMapNameMaxBytes, mPasteReport);
    const std::int32_t parentId = parent->ID;
    TKelMapTreeItem& added = mMapTree->AddItem(parentId, id);
    mMapTree->CurrentMapId = id;
    const std::int32_t ownParent = added.ParentId, ownDepth = added.Depth;
    added.Assign(blockItem);
    added.ID = id;
    added.Name = chosenName;
    added.ParentId = ownParent;
    added.Depth = ownDepth;
    // Whatever the block says, what is pasted is a map: never a second root, never an area.
    added.Kind = TKelMapTreeItem::mkMap;
    added.AreaRect = {};
    AddNode(parentId, id);
    mSelected = id;

    TByteViewStream mapStream(read->MapBytes);
    mMap->Reset();
    mMap->LoadFromStream(mapStream);
    CheckPastedMap(*mMap, mPasteReport);
    mMap->SaveToWork(id);
    added.Modified = true;
    mMap->ReloadChipSetGraphic();
    TakeOrderFromView();
    Notify();
    if (!mPasteReport.Empty())
        OnPasteChecked(mPasteReport);
    return true;
}

}  // namespace quillon
