// The map tree window's model: the project's maps and areas as a tree view (a pre-order list of
// nodes), the selected node's map loaded into the shared open map, and the commands that create,
// copy, paste, delete, move, shift and edit maps and areas. The widget mirrors Nodes() and
// forwards selection, expansion, drops and menu commands here.
#pragma once

#include "platform/Signal.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "mapedit/MapPasteCheck.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class TKelMap;

// Private clipboard format of a map with its tree item.
inline constexpr int kMapTreeClipboardFormat = 568;

// What a 568 block holds: the item's name, the map record's bytes (read once to check them) and
// the tree item.
struct TMapBlock {
    std::string Name;
    std::string MapBytes;
    TKelMapTreeItem Item;
};

// The map property, area and shift dialogs. Each edits what it is given and answers whether the
// user confirmed. Until the dialogs exist, Available() is false and the commands are disabled.
class IMapTreeDialogs {
public:
    virtual ~IMapTreeDialogs() = default;
    virtual bool Available() const = 0;
    // Map properties, new or edit mode: `item` holds the ID, name and tree properties, `settings`
    // the map's settings (chipset, size, scroll type, panorama).
    virtual bool EditMap(bool newMode, bool parentIsRoot, TKelMapTreeItem& item, TKelMap& settings) = 0;
    // Area properties ("Create Area" in new mode): name, AreaRect and encounters of `item`.
    virtual bool EditArea(bool newMode, const TKelMapTree& tree, const TKelMap& map, TKelMapTreeItem& item) = 0;
    // "Map Shift": the offset in cells.
    virtual bool ShiftMap(std::int32_t width, std::int32_t height, std::int32_t& dx, std::int32_t& dy) = 0;
};

// Why a command that makes an item did nothing.
enum class TMapTreeRefusal {
    NoFreeId,  // every ID from 1 to 9999 is in use (a map's file name holds four digits)
};

// The popup menus' commands.
enum class TMapTreeCommand { MapProperties, NewMap, NewArea, AreaProperties, Copy, Paste, Delete, ShiftMap };

struct TMapTreeMenuItem {
    TMapTreeCommand Command;
    const char* Caption;
    const char* ShortCut;  // "" for none
    bool Enabled = true;
};

// The question before a save replaces the damaged file of a map.
TFilledText ReplaceDamagedQuestion(std::int32_t id);

class TMapTreeModel {
public:
    TMapTreeModel(TKelMapTree& mapTree, TKelMap& map) : mMapTree(&mapTree), mMap(&map) {}

    // A map already in memory that is copied instead of loading its file when its ID is
    // selected (the place picker's); not owned.
    const TKelMap* SharedMap = nullptr;
    bool IncludeAreas = true;
    // True only while the owner is told of a map property change (the canvas keeps its scroll).
    bool KeepScroll = false;
    std::int32_t ViewWidth = 0;
    std::int32_t ViewHeight = 0;
    IMapTreeDialogs* Dialogs = nullptr;
    // A map's file was found damaged as it loaded (told once per file while the project is
    // open), and the question before a save replaces such a file: true replaces it, keeping the
    // original beside it. Unset, the texts go to the message box as they are.
    std::function<void(const TFilledText&)> TellDamaged;
    std::function<bool(const TFilledText&)> AskReplaceDamaged;
    // Selection changed, also after every command that changes the tree.
    TSignal<> OnChanged;
    // A new map, area or paste was refused.
    TSignal<TMapTreeRefusal> OnRefused;
    // A pasted map held what the editor never stores; it was changed (the report says what)
    // before it became the new map's working copy.
    TSignal<const TPasteReport&> OnPasteChecked;
    // What the last paste changed.
    const TPasteReport& LastPasteReport() const { return mPasteReport; }

    TKelMapTree& MapTree() const { return *mMapTree; }
    TKelMap& Map() const { return *mMap; }

    // --- the tree as a whole ---
    // Loads the project's tree (the open map counts as unmodified), names the root after the
    // game title and fills the view. Raises when the tree has no root item.
    void LoadTree();
    // Rebuilds the view from the tree's order and selects the node of CurrentMapId.
    void FillView();
    // Saves the open map when modified, then the tree (which commits the working copies). A
    // changed map whose file was damaged is saved only when AskReplaceDamaged says so; else it
    // stays changed.
    void SaveTree();
    // Empties the tree and the view; the open map becomes empty.
    void ClearTree();
    bool IsModified() const;
    bool PickerMode() const { return mPickerMode; }
    // Picker mode: no menus, no drag and drop, the tree's order is never taken from the view.
    void SetPickerMode(bool value) { mPickerMode = value; }
    // Saves the open map as the working copy of the current map (of an area's parent map) when
    // it is modified, and marks that item modified.
    void SaveOpenMap();

    // --- the view ---
    const std::vector<TKelMapTreeNode>& Nodes() const { return mNodes; }
    // ID of the selected node, or nothing.
    std::optional<std::int32_t> Selected() const { return mSelected; }
    int NodeIndex(std::int32_t id) const;
    // Selecting a node: secures the open map, makes the node current and loads its map (or its
    // parent's for an area, centring the area; empty for the root).
    void SelectNode(std::int32_t id);
    // The user expanded or collapsed a node.
    void SetExpanded(std::int32_t id, bool expanded);
    // Drag and drop: whether the dragged node may be dropped onto the target, and the drop (the
    // dragged subtree becomes the target's last child). Answers whether anything moved.
    bool CanDrop(std::int32_t dragged, std::optional<std::int32_t> target) const;
    bool Drop(std::int32_t dragged, std::int32_t target);

    // --- commands ---
    // The selected node's popup menu with the items' enabled states (none in picker mode).
    std::vector<TMapTreeMenuItem> PopupMenu() const;
    bool IsEnabled(TMapTreeCommand command) const;
    // Runs a command on the selected node when it is enabled; answers whether it changed
    // anything.
    bool Execute(TMapTreeCommand command);

    bool NewMap();
    bool MapProperties();
    bool NewArea();
    bool AreaProperties();
    bool Copy();
    bool Paste();
    // Asks "Delete %s ?" first.
    bool Delete();
    bool ShiftMap();

    // The smallest ID from 1 to 9999 no item uses, or 0 when all are used.
    std::int32_t FreeId() const;
    // The 568 block of an item and a map: a 4-byte length, the name, the map record and the
    // item record.
    static std::string MakeMapBlock(const std::string& name, TKelMap& map, TKelMapTreeItem& item);
    // Reads a 568 block whole: nothing when any part of it is damaged.
    static std::unique_ptr<TMapBlock> ReadMapBlock(std::string_view block);
    // The name a pasted map gets: "MAP" and four digits reading as a positive number become
    // "MAP%.4d" of the new ID; any other name stays.
    static std::string PastedMapName(const std::string& name, std::int32_t newId);

private:
    TKelMapTreeItem* SelectedItem() const;
    void Notify();
    void LoadShownMap(TKelMapTreeItem& item);
    void AddNode(std::int32_t parentId, std::int32_t id);
    void RemoveNode(std::int32_t id);
    // Index one past the subtree of the node at index.
    std::size_t SubtreeEnd(std::size_t index) const;
    void TakeOrderFromView();
    static void TakeItemProperties(TKelMapTreeItem& target, const TKelMapTreeItem& source);
    static void TakeMapSettings(TKelMap& target, const TKelMap& source);

    TKelMapTree* mMapTree;
    TKelMap* mMap;
    TPasteReport mPasteReport;
    bool mPickerMode = false;
    bool mViewEnabled = true;
    std::vector<TKelMapTreeNode> mNodes;
    // Position of each ID in mNodes; rebuilt on the first look-up after the nodes changed.
    mutable std::unordered_map<std::int32_t, int> mNodeIndex;
    mutable bool mNodeIndexValid = false;
    std::optional<std::int32_t> mSelected;
};

}  // namespace quillon
