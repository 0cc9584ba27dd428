// The troop page ("Monsters Party"): the members of the current troop on the 320 x 160 battle
// field (adding, deleting, arranging in a row, dragging, the invisible flag), the automatic name,
// the terrains the troop is met on, and the battle event pages with their start conditions and
// scripts; the start-condition dialog and the battle-test party, all without a window.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_MonGroup.h"
#include "database/EntryPage.h"
#include "database/MonsterImages.h"
#include "database/PageLists.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"
#include "platform/Signal.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;
class TKelDataBase;
class TKelMonster;
class TKelMonsterItem;
class TScriptListModel;

inline constexpr int kMonGroupHelpContext = 6;
inline constexpr int kMaxTroopMembers = 10;
inline constexpr int kMaxBattlePages = 100;
inline constexpr int kBattleFieldWidth = 320;
inline constexpr int kBattleFieldHeight = 160;
inline constexpr int kBattleViewHeight = 240;
inline constexpr int kDragStep = 4;           // 1 with Shift
inline constexpr int kBattleTestPartyMax = 4;
inline constexpr int kBattleTestLevelMax = 50;
inline constexpr const char* kTriggerRangeRefusal = "The range of the value of the start condition is illegal";
inline constexpr const char* kBattleTriggerCaption = "Battle Group EventTrigger";

// A member's image as the field places it.
struct TMemberShape {
    int Width = kMissingImageSize;
    int Height = kMissingImageSize;
    bool Flying = false;
    bool operator==(const TMemberShape&) const = default;
};

// The places "In Row" gives members of these shapes, in list order.
std::vector<TPoint> RowPlaces(const std::vector<TMemberShape>& shapes);
// A value snapped to a step: a remainder of more than half a step rounds up, otherwise down.
int SnapToStep(int value, int step);
// The automatic name of a troop: each monster once in member order, "x" and its count when it
// stands more than once, "," between them; longer than maxBytes it is cut to maxBytes - 1 bytes
// (one less rather than split a double-byte character) and "-" appended. Missing monsters are
// left out.
std::string AutoTroopName(const TKelMonGroupItem& troop, const TKelMonster& monsters, std::size_t maxBytes);
// The text of a start condition: its conditions joined by "; ", "(None)" when none is set.
std::string TriggerSummary(const TKelBattleEventTrigger& trigger, const TKelDataBase& dataBase,
                           const TKelMonGroupItem& troop);

// The 565 block of one page, and its reading: false (and the page reset) for a damaged block.
std::string EncodeBattlePageClipboard(TKelBattleEventPageItem& page);
bool DecodeBattlePageClipboard(const std::string& block, TKelBattleEventPageItem& page);

// Size of a monster's image (nullptr: the member's monster does not exist).
using TMonsterImageSize = std::function<TMemberShape(const TKelMonsterItem* monster)>;

// What the battle test does once the party is written: the application runs the game runtime.
// True when the test ran.
using TBattleTestRunner = std::function<bool(TKelDataBase& dataBase, std::int32_t troopId)>;
void SetBattleTestRunner(TBattleTestRunner runner);
const TBattleTestRunner& BattleTestRunner();

class TMonGroupPageModel : public TEntryPageModel<TKelMonGroupItem> {
public:
    // choosers: the pickers of the trigger dialog and the command dialogs; sizes: the members'
    // image sizes (none: the images found through the project).
    TMonGroupPageModel(const TDataBaseContext& context, IEventChoosers* choosers, TMonsterImageSize sizes = {});
    ~TMonGroupPageModel() override;

    // The members, their places or the selection changed (the field is drawn again).
    TSignal<> FieldChanged;
    // The pages changed: their number or the current one (the tabs follow).
    TSignal<> PagesChanged;
    // The clipboard changed: "Paste Page" may be enabled or not now.
    TSignal<> PasteChanged;

    IEventChoosers* Choosers() const { return mChoosers; }
    TMonsterImages& Images() { return mImages; }

    // --- the monster list ---
    int MonsterRows() const;
    std::string MonsterRowText(int row) const;

    // --- members ---
    int MemberCount() const { return Item().Members.Count(); }
    // The members the field shows, places and hits: the first ten (a file may hold more).
    int ShownMembers() const { return ShownCount(MemberCount(), kMaxTroopMembers); }
    TKelMonGroupMonsterItem& Member(int index) const { return *Item().Members.Items(index); }
    const TKelMonsterItem* MemberMonster(int index) const;
    TMemberShape MemberShape(int index) const;
    // The member's image on the field: centred on its place.
    TRect MemberRect(int index) const;
    int Selected() const { return mSelected; }
    void Select(int index);
    bool CanAdd() const { return MemberCount() < kMaxTroopMembers; }
    bool CanDelete() const { return mSelected >= 0 && mSelected < MemberCount(); }
    bool CanClear() const { return MemberCount() > 0; }
    bool CanArrange() const { return MemberCount() > 0; }
    // "Add": the monster of a list row, after the last member; refused at ten.
    bool Add(int monsterRow);
    bool DeleteSelected();
    bool ClearAll();
    // "In Row", and whether the members stand so already (an empty troop does).
    bool Arrange();
    bool IsArranged() const;
    bool AutoName();
    // "Invisible" of the selected member.
    bool ToggleInvisible();
    // Back to front: by the image's bottom edge, the higher index first among equal bottoms.
    std::vector<int> DrawOrder() const;
    // 80 for an invisible member, 160 for a semi-transparent monster, else 255.
    int Opacity(int index) const;
    // The member under a field position, front first; -1 for none.
    int HitTest(int x, int y) const;
    // A click on the field: selects the member under it (none on a miss); a left click starts
    // dragging it. True when a member was hit.
    bool Press(int x, int y, bool left);
    // The pointer moved while dragging: steps of 4 (1 when fine) toward it, snapped and kept on
    // the field. True when the member moved.
    bool DragTo(int x, int y, bool fine);
    void Release() { mDragging = false; }
    bool Dragging() const { return mDragging; }
    // "%d: %s\r%d, %d" of the selected member (empty without one).
    std::string HintText() const;
    // The members' images are looked up again (another troop, another monster).
    void ReloadImages();

    // --- terrains ---
    int TerrainRows() const;
    std::string TerrainRowText(int row) const;
    bool TerrainMark(int row) const;
    void SetTerrainMark(int row, bool on);

    // --- pages ---
    // Pages 1, 2 ... up to the first missing ID (at most 100).
    int PageCount() const;
    int CurrentPage() const { return mPage; }
    void SelectPage(int index);
    TKelBattleEventPageItem* Page() const;
    bool CanNewPage() const;
    bool CanPastePage() const;
    bool CanDeletePage() const { return PageCount() >= 2; }
    bool NewPage();
    bool DeletePage();
    // Copies the current page; a troop without pages gets page 1 first.
    bool CopyPage();
    // Reads the clipboard's page first; a damaged one inserts nothing.
    bool PastePage();
    std::string TriggerText() const;
    // Writes a trigger edited in the dialog into the current page.
    bool SetTrigger(const TKelBattleEventTrigger& trigger);

    // The command list of the current page: it follows the page, and its changes are the page's.
    void AttachScriptList(TScriptListModel* list);

private:
    TKelBattleEventPageItem& InsertPageAfterCurrent();
    // After a change of the pages: the command list, the page's Modified, the tabs.
    bool PagesEdited();
    std::vector<TMemberShape> Shapes() const;
    void ShowPage();
    void Changed();
    bool Moved(int index, int x, int y);

    IEventChoosers* mChoosers;
    TMonsterImages mImages;
    TMonsterImageSize mSizes;
    std::vector<TMemberShape> mShapes;  // per member, kept with the images
    int mSelected = -1;
    bool mDragging = false;
    int mGrabX = 0;
    int mGrabY = 0;
    int mPage = 0;
    TScriptListModel* mScriptList = nullptr;
    TConnection mScriptModified;
    TConnection mEntryChanged;
    TConnection mClipboardWatch;
};

// --- the start-condition dialog ---

// What the dialog edits: a copy of the page's trigger, with the troop and the database for its
// lists.
// The trigger is held here (not pointed to), so that trying values on copies of the record
// never reaches the page's trigger.
struct TBattleTriggerEdit {
    TBattleTriggerEdit(const TKelBattleEventTrigger& trigger, const TKelDataBase* dataBase,
                       const TKelMonGroupItem* troop, IEventChoosers* choosers);
    TKelBattleEventTrigger Trigger;
    const TKelDataBase* DataBase = nullptr;
    const TKelMonGroupItem* Troop = nullptr;
    IEventChoosers* Choosers = nullptr;
    bool Flag(std::uint8_t bit) const { return (Trigger.Flags & bit) != 0; }
    void SetFlag(std::uint8_t bit, bool on);
    // The refusal of OK: a range whose minimum is above its maximum ("" when none).
    std::string Refusal() const;
    // The member rows "%d:%s" (1-based number, monster name; just "%d:" without the monster).
    std::vector<TFieldChoice> MemberItems() const;
    std::vector<TFieldChoice> HeroItems() const;
};
// Widgets: CheckBox1 .. CheckBox7 with their values.
const TFieldForm& BattleTriggerForm();

// --- the battle-test party ---

struct TBattleTestSlot {
    std::int32_t HeroId = 0;  // 0: the slot is empty
    std::int32_t Level = 1;
    std::int32_t Equipment[5] = {0, 0, 0, 0, 0};
};

// "Monster Group Battle Test": up to four heroes with level and equipment, started from the
// system record's test party and written back into it.
struct TBattleTestParty {
    const TKelDataBase* DataBase = nullptr;
    TBattleTestSlot Slots[kBattleTestPartyMax];
    void Load(const TKelDataBase& dataBase);
    // The party without its empty slots, into the system record's test party.
    void Store(TKelDataBase& dataBase) const;
    // Heroes (with 0 "(None)"), and the items that fit an equipment slot (with 0), and the item
    // `current` when it is there though of another kind (what is stored stays visible).
    std::vector<TFieldChoice> HeroItems() const;
    std::vector<TFieldChoice> EquipmentItems(int slot, std::int32_t current = 0) const;
};
// Widgets: ComboHero1..4, EditLevel1..4, ComboWeapon1.. ComboAccessory4.
const TFieldForm& BattleTestPartyForm();
// Writes the party and runs the battle test of the troop through the runner; false when none is
// installed or the test did not run.
bool RunTroopBattleTest(TKelDataBase& dataBase, const TBattleTestParty& party, std::int32_t troopId);

}  // namespace quillon
