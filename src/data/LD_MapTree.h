// The map tree ("GMK_RT.kmt"): every map and area of a project, the order in which the tree
// shows them, the node last selected and the start positions of the party and the vehicles.
#pragma once

#include "data/Catalog.h"
#include "data/LD_System.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TFileTransaction;

// The highest map ID: a map's file name ("Map%.4d.kmu") holds its ID in four digits.
inline constexpr std::int32_t kMaxMapId = 9999;

class TKelMap;

// One encounter entry: a troop that may be met.
class TKelEncountItem : public TCatalogItem {
public:
    std::int32_t MonsterGroupId = 1;

    TKelEncountItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 1; }
    void Reset() override;
};

class TKelEncount : public TCatalogOf<TKelEncountItem> {};

// An area's rectangle in tiles; right and bottom are exclusive. Stored as four little-endian
// 32-bit integers.
struct TKelAreaRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool operator==(const TKelAreaRect&) const = default;
};
static_assert(sizeof(TKelAreaRect) == 16);

// One node of the map tree. Its ID is the map ID for a map, a free ID for an area, 0 for the
// root (the project itself, named after the game's title).
class TKelMapTreeItem : public TCatalogItem {
public:
    enum : std::uint8_t { mkRoot = 0, mkMap = 1, mkArea = 2 };  // also the node's image index
    enum : std::uint8_t { mtParent = 0, mtNoChange = 1, mtSetTo = 2 };           // MusicType
    enum : std::uint8_t { btParent = 0, btByTerrain = 1, btSetTo = 2 };          // BackdropType
    enum : std::uint8_t { ppParent = 0, ppEnable = 1, ppDisable = 2 };           // permissions

    std::int32_t ParentId = 0;
    std::int32_t Depth = 0;
    std::uint8_t Kind = mkRoot;
    std::int32_t ScrollX = 0;  // map editor scroll position, pixels at 32 per tile
    std::int32_t ScrollY = 0;
    std::uint8_t Expanded = 0;
    std::uint8_t MusicType = mtParent;
    TKelMusic Music;
    std::uint8_t BackdropType = btParent;
    std::string BackdropName;
    std::uint8_t TeleportPermission = ppParent;
    std::uint8_t EscapePermission = ppParent;
    std::uint8_t SavePermission = ppParent;
    TKelEncount Encounters;
    std::int32_t EncounterSteps = 25;
    TKelAreaRect AreaRect;

    // The map's working copy is newer than the project folder's file; not stored.
    bool Modified = false;
    // The project folder's file of the map was damaged when it was read: saving the map does
    // not replace it until ReplaceDamaged is set, and then keeps the original beside it as
    // "<file>.damaged". Not stored.
    bool FileDamaged = false;
    bool ReplaceDamaged = false;
    // Whether a save commits the map's working copy now.
    bool SavesNow() const { return Modified && (!FileDamaged || ReplaceDamaged); }

    TKelMapTreeItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 51; }
    // Clears the map properties (music, backdrop, permissions, encounters); name, place in the
    // tree, kind, scroll position, expansion and rectangle stay.
    void Reset() override;
    // A whole copy: also the fields that Reset leaves alone.
    void Assign(const TCatalogBaseItem& source) override;

    bool IsMap() const { return Kind == mkMap; }
    bool IsArea() const { return Kind == mkArea; }
};

// Where the party and the three vehicles start.
class TKelMapStartPosition : public TCatalogBaseItem {
public:
    enum : int { spParty = 0, spBoat = 1, spShip = 2, spAirship = 3, kCount = 4 };

    std::int32_t PartyMapId = 0;  // 0: not set
    std::int32_t PartyX = 0;
    std::int32_t PartyY = 0;
    std::int32_t BoatMapId = 0;
    std::int32_t BoatX = 0;
    std::int32_t BoatY = 0;
    std::int32_t ShipMapId = 0;
    std::int32_t ShipX = 0;
    std::int32_t ShipY = 0;
    std::int32_t AirshipMapId = 0;
    std::int32_t AirshipX = 0;
    std::int32_t AirshipY = 0;

    TKelMapStartPosition() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;

    // By index 0 party, 1 boat, 2 ship, 3 airship; other indexes read 0 and write nothing.
    std::int32_t GetMapId(int index) const;
    std::int32_t GetX(int index) const;
    std::int32_t GetY(int index) const;
    void SetMapId(int index, std::int32_t value);
    void SetX(int index, std::int32_t value);
    void SetY(int index, std::int32_t value);
    // Map 0, X 0, Y 0.
    void Clear(int index);
    // "Hero", "Boat", "Ship", "Airship"; "" for other indexes.
    static const char* PositionName(int index);

private:
    std::int32_t* Slot(int index, int part);
    const std::int32_t* Slot(int index, int part) const;
};

// A node of the tree in a pre-order walk: each node is followed by its subtree.
struct TKelMapTreeNode {
    std::int32_t Id = 0;
    int Level = 0;  // 0 for a top-level node
    bool Expanded = false;
    bool operator==(const TKelMapTreeNode&) const = default;
};

// What the last load of a map tree had to leave out of its display order.
struct TMapTreeLoadReport {
    std::int64_t OrderListed = 0;   // IDs the file's order holds
    std::int64_t OrderDropped = 0;  // of those, IDs naming no item or repeating one
    int ItemsNotInOrder = 0;        // items the order does not show
    bool Damaged() const { return OrderDropped > 0 || ItemsNotInOrder > 0; }
};

// What a damaged map file is kept as when its map replaces it: "Map0003.kmu.damaged".
inline constexpr const char* kDamagedFileSuffix = ".damaged";

class TKelMapTree : public TKelList<TKelMapTreeItem> {
public:
    static constexpr const char* kFileName = "GMK_RT.kmt";
    static constexpr const char* kSignature = "KelMapTree";

    std::vector<std::int32_t> Order;        // item IDs in tree display order (pre-order)
    std::vector<std::int32_t> DeletedMaps;  // maps deleted since the last save; not stored
    std::int32_t CurrentMapId = 0;          // the node last selected
    TKelMapStartPosition StartPosition;

    TKelMapTree() : TKelList("Invalid Map Designed") {}

    // The item whose ID is CurrentMapId (look-up rule of ItemById).
    TKelMapTreeItem* CurrentItem() const { return ItemById(CurrentMapId); }
    // Any item's working copy is newer than its file, or maps were deleted.
    bool IsModified() const;
    bool HasItems() const { return Count() > 0; }
    // Position of an ID in Order, or -1.
    int OrderIndexOf(std::int32_t id) const;
    // Empties the items and Order.
    void Clear();

    // Gets or creates item newId under parentId and places it in Order after its parent's
    // subtree as far as depths tell.
    TKelMapTreeItem& AddItem(std::int32_t parentId, std::int32_t newId);
    // Deletes the item and every node after it in Order that lies deeper, noting their IDs in
    // DeletedMaps; start positions on the deleted maps are cleared.
    void DeleteItem(std::int32_t id);

    // The nodes in Order as a tree: each under the node its ParentId names when that node came
    // before it in Order, else at the top. skipAreas leaves out areas with everything under them.
    std::vector<TKelMapTreeNode> WalkOut(bool skipAreas = false) const;
    // Takes Order, parent IDs, depths and expansion flags back from a pre-order walk of a whole
    // tree view: the parent is the nearest node before with a lower level. Unknown IDs and
    // repeats are passed over.
    void WalkIn(const std::vector<TKelMapTreeNode>& nodes);

    // The file's content: signature, items, order, current map, start positions. Order IDs that
    // name no item, or repeat one, are dropped.
    void LoadTreeFromStream(TStream& stream);
    const TMapTreeLoadReport& LoadReport() const { return mReport; }
    void SaveTreeToStream(TStream& stream);

    // Opens a project's tree (projectPath ends in '/'): forgets deleted maps, removes the working
    // copies of the present tree, then reads projectPath + "GMK_RT.kmt".
    void Load(const std::string& projectPath);
    // Saves the tree when it has items: commits the modified maps' working copies into the
    // project folder, removes the files of deleted maps, then writes "GMK_RT.kmt" safely. A map
    // whose file was damaged is committed only once ReplaceDamaged allows it (else it stays
    // modified), and its damaged file is kept beside it first.
    void Save(const std::string& projectPath);
    // Save in two steps, for a save of several files together: StageSave stages the committed
    // working copies and the tree file into a transaction (changing nothing else); once the
    // transaction has committed, FinishSave removes the committed working copies and the files
    // of deleted maps and clears the modified flags. A transaction that fails leaves the tree
    // and the working copies as they were, ready to be saved again.
    void StageSave(const std::string& projectPath, TFileTransaction& transaction);
    void FinishSave(const std::string& projectPath);
    // The tree and first map of a new project: the root named after the title, map 1 "MAP0001"
    // of 100 x 100 (made in `map`), both saved into the project folder.
    void NewProject(const std::string& projectPath, const std::string& title, TKelMap& map);

private:
    void ForgetDeleted(std::int32_t id);

    TMapTreeLoadReport mReport;
};

}  // namespace quillon
