// The event manager: what the map canvas calls for a cell of the event layer. It creates or edits
// the event there (through the event editor), cuts, copies, pastes and deletes events and start
// marks through the private event clipboard block, places the party's and the vehicles' start
// positions, and makes a ready-made teleport event. A cell holds what the event map shows: the
// last event of the list standing there, or a start mark on top of it.
#pragma once

#include "data/LD_Event.h"
#include "graphics/GraphicsTypes.h"
#include "mapedit/MapEditor.h"
#include "platform/Signal.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class IClipboard;
class IEventChoosers;
class TKelDataBase;
class TKelMap;
class TKelMapTree;
class TKelEventScriptList;
struct TEventCommandContext;

// Event IDs a new or pasted event may take.
inline constexpr std::int32_t kFirstFreeEventId = 1;
inline constexpr std::int32_t kLastFreeEventId = 5000;

// The transition of both framing lines: the one the teleport event is made with.
inline constexpr std::int32_t kTransitionMovePlace = -1;
// "On Hero Touch"
inline constexpr std::uint8_t kTriggerHeroTouch = 1;

// The windows the manager opens. The window layer answers with the real dialogs, tests and the
// command-line tool with their own.
class IEventManagerDialogs {
public:
    virtual ~IEventManagerDialogs() = default;
    // The event editor on `copy` (event `id`), modal; `commit` is called on Ok and Apply with the
    // edited copy and answers whether it was committed. Returns when the editor closed.
    virtual void EditEvent(TKelEventItem& copy, std::int32_t id, bool applyEnabled,
                           const std::function<bool(const TKelEventItem&)>& commit) = 0;
    // "Set Vehicle Position": 0 boat, 1 ship, 2 airship, -1 cancelled.
    virtual int ChooseVehicle() = 0;
    // The "Teleport to a Place" dialog (code 10810) on `result` for the new event; true on OK.
    virtual bool RunTeleportDialog(TKelEventScriptList& result, const TEventCommandContext& context) = 0;
    // Saves the database after a dialog changed it; false with a message when the save failed.
    virtual bool SaveDataBase(std::string& error) = 0;
};

// What the event map shows on a cell of the map: 0 nothing, an event ID (1 .. 60000), or
// 60001 .. 60004 for the start position of the party, boat, ship or airship. -1 outside the map.
// Start positions count when their map is the map's ID; without a tree there are none.
std::int32_t EventCodeAt(const TKelMapTree* tree, const TKelMap& map, std::int32_t x, std::int32_t y);

// The name a pasted event gets: an empty name, or "EV" and four digits reading above 0, becomes
// "EV%.4d" of the new ID; any other name stays.
std::string PastedEventName(const std::string& name, std::int32_t newId);

// Reads an event clipboard block into a record of its own, strictly: nothing unless the byte
// count fits, the tag is 0 or a start mark, and (tag 0) the event record fills the counted bytes
// exactly with every page's script and route whole and 1 .. 100 pages.
std::optional<TEventClipboard> ReadEventBlock(std::string_view block);

class TKelEventManager final : public IMapEventManager {
public:
    // Pages an event may have.
    static constexpr int kMaxPages = 100;

    // Neither is owned; without a clipboard the program-wide one serves.
    explicit TKelEventManager(IEventManagerDialogs& dialogs, IClipboard* clipboard = nullptr);

    // The map and tree the operations work on (either may be none: then nothing is done).
    void SetMap(TKelMapTree* tree, TKelMap* map) override;
    void SetClipboard(IClipboard* clipboard) { mClipboard = clipboard; }
    // What the teleport dialog is told about (not owned; may be none).
    void SetDataBase(const TKelDataBase* dataBase) { mDataBase = dataBase; }
    void SetChoosers(IEventChoosers* choosers) { mChoosers = choosers; }

    TKelMapTree* MapTree() const { return mTree; }
    TKelMap* Map() const { return mMap; }
    // The cell the last operation was aimed at and what stood there when it began.
    std::int32_t X() const { return mX; }
    std::int32_t Y() const { return mY; }
    std::int32_t FoundId() const { return mFoundId; }

    // The lowest event ID of 1 .. 5000 that the map does not use; 0 when all are taken.
    std::int32_t FreeEventId() const;

    // --- operations; each answers whether the map's events or start positions changed ---

    // A new event (lowest free ID, "EV%.4d", page 1 showing the tile graphic index) on an empty
    // cell, or a copy of the event on the cell; the editor opens on it. Nothing on a start mark.
    bool Edit(std::int32_t x, std::int32_t y, std::int32_t initialGraphicIndex);
    // The editor's Ok and Apply: the event `id` becomes the copy, standing on the cell the edit
    // began on. False outside an edit of that event.
    bool Commit(std::int32_t id, const TKelEventItem& copy);
    // The event's name, "Hero", "Boat", "Ship" or "Airship" for a start mark, or "". Changes
    // nothing (not even the cell of the manager).
    std::string NameAt(std::int32_t x, std::int32_t y) const;
    // Puts what the cell shows on the clipboard; false (and the clipboard untouched) for nothing.
    bool Copy(std::int32_t x, std::int32_t y);
    bool Cut(std::int32_t x, std::int32_t y);
    // On an empty cell, with a free ID: a start mark moves its start position here, an event is
    // made with the free ID. A damaged or foreign block changes nothing.
    bool Paste(std::int32_t x, std::int32_t y);
    // An event leaves the map; a start position is cleared (map 0, X 0, Y 0).
    bool Delete(std::int32_t x, std::int32_t y);
    // On an empty cell: the party's (a chosen vehicle's) start position becomes this map and cell.
    bool SetPartyStart(std::int32_t x, std::int32_t y);
    bool SetVehicleStart(std::int32_t x, std::int32_t y);
    // On an empty cell, with a free ID: the teleport dialog for a new event; on OK the event
    // erases the screen, teleports, shows the screen, and starts on the hero's touch.
    bool CreateTeleportEvent(std::int32_t x, std::int32_t y);

    // --- the canvas's commands ---

    bool NewOrEditEvent(TPoint cell, int tileGraphicIndex) override { return Edit(cell.X, cell.Y, tileGraphicIndex); }
    bool CutEvent(TPoint cell) override { return Cut(cell.X, cell.Y); }
    bool CopyEvent(TPoint cell) override { return Copy(cell.X, cell.Y); }
    bool PasteEvent(TPoint cell) override { return Paste(cell.X, cell.Y); }
    bool DeleteEvent(TPoint cell) override { return Delete(cell.X, cell.Y); }
    bool CanMoveEvent() const override { return true; }
    bool MoveEvent(TPoint cell) override { return CreateTeleportEvent(cell.X, cell.Y); }
    bool SetPartyStart(TPoint cell) override { return SetPartyStart(cell.X, cell.Y); }
    bool SetVehicleStart(TPoint cell) override { return SetVehicleStart(cell.X, cell.Y); }

    // After every change of the map's events or start positions (the canvas repaints and reloads
    // the character sets of the events).
    TSignal<> OnChange;
    // A failure worth telling the user (the database could not be saved).
    TSignal<const std::string&> OnError;

private:
    IClipboard& Clip() const;
    // Sets the cell and what stands there; false without a map or outside it.
    bool Locate(std::int32_t x, std::int32_t y);
    bool CellIsEmpty(std::int32_t x, std::int32_t y) { return Locate(x, y) && mFoundId == 0; }
    void SetStart(int index, std::int32_t x, std::int32_t y);
    void Changed();
    void SaveDataBaseIfChanged();

    IEventManagerDialogs& mDialogs;
    IClipboard* mClipboard;
    TKelMapTree* mTree = nullptr;
    TKelMap* mMap = nullptr;
    const TKelDataBase* mDataBase = nullptr;
    IEventChoosers* mChoosers = nullptr;
    std::int32_t mX = 0;
    std::int32_t mY = 0;
    std::int32_t mFoundId = 0;

    // The edit in progress: its event, map and cell (commits land there whatever the manager
    // was aimed at since).
    struct TEditSession {
        std::int32_t Id = 0;
        TKelMap* Map = nullptr;
        std::int32_t X = 0;
        std::int32_t Y = 0;
    };
    std::optional<TEditSession> mEdit;
};

}  // namespace quillon
