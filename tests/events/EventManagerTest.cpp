// The event manager on a map without a window: IDs and names of new and pasted events, what a
// cell holds, the event clipboard block, start positions, the ready-made teleport event, and the
// commands of the map canvas reaching it.
#include "events/EventManager.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "events/EventChoosers.h"
#include "events/ScriptList.h"
#include "graphics/EventMap.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace quillon;

namespace {

using TCommit = std::function<bool(const TKelEventItem&)>;

struct TFakeDialogs final : IEventManagerDialogs {
    // What the editor does while it is open; by default Ok at once.
    std::function<void(TKelEventItem&, const TCommit&)> Editor = [](TKelEventItem& copy, const TCommit& commit) {
        commit(copy);
    };
    int Edits = 0;
    std::int32_t EditedId = 0;
    bool ApplyEnabled = false;
    int Vehicle = -1;
    int VehicleAsked = 0;
    bool TeleportOk = true;
    int Teleports = 0;
    TEventCommandContext TeleportContext;
    bool SaveOk = true;
    int Saves = 0;

    void EditEvent(TKelEventItem& copy, std::int32_t id, bool applyEnabled, const TCommit& commit) override {
        ++Edits;
        EditedId = id;
        ApplyEnabled = applyEnabled;
        Editor(copy, commit);
    }
    int ChooseVehicle() override {
        ++VehicleAsked;
        return Vehicle;
    }
    bool RunTeleportDialog(TKelEventScriptList& result, const TEventCommandContext& context) override {
        ++Teleports;
        TeleportContext = context;
        TKelEventScriptLine& line = result.Add();
        line.Code = ToInt(TCommandCode::Teleport);
        line.SetParamCount(3);
        line.SetParam(0, 2);
        line.SetParam(1, 7);
        line.SetParam(2, 9);
        return TeleportOk;
    }
    bool SaveDataBase(std::string& error) override {
        ++Saves;
        if (!SaveOk)
            error = "disk full";
        return SaveOk;
    }
};

// Choosers whose only answer is whether they changed the database.
struct TFlagChoosers final : IEventChoosers {
    bool Changed = false;
    bool ChooseSwitch(std::int32_t&) override { return false; }
    bool ChooseVariable(std::int32_t&) override { return false; }
    bool ChooseResource(TSelKind, std::string&, std::int32_t*, const std::string&) override { return false; }
    bool ChooseEventGraphic(std::string&, std::int32_t&, std::int32_t&, std::int32_t&) override { return false; }
    bool ChooseMusic(TKelMusic&, const std::string&) override { return false; }
    bool ChooseSound(TKelSound&, const std::string&) override { return false; }
    void ListenToMusic() override {}
    bool EditMoveRoute(TMoveRouteRequest&, const TEventCommandContext&) override { return false; }
    bool ChoosePlace(TMapPlaceRequest&) override { return false; }
    bool DataBaseChanged() const override { return Changed; }
};

class EventManagerTest : public ::testing::Test {
protected:
    TKelMap map;
    TKelMapTree tree;
    TMemoryClipboard clipboard;
    TFakeDialogs dialogs;
    TKelEventManager manager{dialogs, &clipboard};
    int changes = 0;
    std::string error;
    TConnection heard = manager.OnChange.Connect([this] { ++changes; });
    TConnection errors = manager.OnError.Connect([this](const std::string& text) { error = text; });

    void SetUp() override {
        map.ID = 1;  // a fresh map is 20 x 15
        manager.SetMap(&tree, &map);
    }

    TKelEventItem& AddEvent(std::int32_t id, std::int32_t x, std::int32_t y, const std::string& name = "") {
        TKelEventItem& event = map.Events.Obtain(id);
        event.X = x;
        event.Y = y;
        event.Name = name;
        return event;
    }
    void Start(int index, std::int32_t mapId, std::int32_t x, std::int32_t y) {
        tree.StartPosition.SetMapId(index, mapId);
        tree.StartPosition.SetX(index, x);
        tree.StartPosition.SetY(index, y);
    }
    // The events and start positions as bytes, to tell that nothing changed.
    std::string Snapshot() {
        TMemoryStream stream;
        map.Events.SaveToStream(stream);
        tree.StartPosition.SaveToStream(stream);
        return stream.Bytes();
    }
    std::vector<std::int32_t> Codes(const TKelEventScriptList& script) const {
        std::vector<std::int32_t> codes;
        for (int i = 0; i < script.Count(); ++i)
            codes.push_back(script.Lines(i)->Code);
        return codes;
    }
};

TEST_F(EventManagerTest, ANewEventTakesTheLowestFreeIdAndItsName) {
    struct TCase {
        std::vector<std::int32_t> Taken;
        std::int32_t Expected;  // 0: nothing is made, the editor stays shut
    };
    std::vector<std::int32_t> all;
    for (std::int32_t id = 1; id <= kLastFreeEventId; ++id)
        all.push_back(id);
    const TCase cases[] = {{{}, 1}, {{2, 3}, 1}, {{1, 2, 3, 5}, 4}, {all, 0}};
    for (const TCase& c : cases) {
        map.Events.Clear();
        for (std::int32_t id : c.Taken)
            AddEvent(id, 19, 14);
        dialogs.Edits = 0;
        const bool made = manager.Edit(4, 5, 7);
        SCOPED_TRACE(c.Expected);
        EXPECT_EQ(made, c.Expected != 0);
        EXPECT_EQ(dialogs.Edits, c.Expected != 0 ? 1 : 0);
        if (c.Expected == 0)
            continue;
        EXPECT_EQ(dialogs.EditedId, c.Expected);
        EXPECT_TRUE(dialogs.ApplyEnabled);
        const TKelEventItem* event = map.Events.FindByID(c.Expected);
        ASSERT_NE(event, nullptr);
        char name[8];
        std::snprintf(name, sizeof name, "EV%.4d", c.Expected);
        EXPECT_EQ(event->Name, name);
        EXPECT_EQ(event->X, 4);
        EXPECT_EQ(event->Y, 5);
        EXPECT_EQ(event->Pages.FindByID(1)->GraphicIndex, 7);
    }

    // After deleting event 1 of two, the next new event is 1 again.
    map.Events.Clear();
    AddEvent(1, 0, 0);
    AddEvent(2, 1, 0);
    ASSERT_TRUE(manager.Delete(0, 0));
    ASSERT_TRUE(manager.Edit(3, 3, 0));
    ASSERT_NE(map.Events.FindByID(1), nullptr);
    EXPECT_EQ(map.Events.FindByID(1)->X, 3);
}

TEST_F(EventManagerTest, EditingCommitsOnTheCellTheEditBeganOn) {
    AddEvent(3, 2, 2, "Door").Pages.Obtain(1).GraphicName = "Door1";
    AddEvent(4, 9, 9, "Chest");
    const std::string before = Snapshot();

    // Cancel: nothing changes, nothing is told.
    dialogs.Editor = [](TKelEventItem&, const TCommit&) {};
    EXPECT_FALSE(manager.Edit(2, 2, 0));
    EXPECT_FALSE(dialogs.ApplyEnabled);
    EXPECT_EQ(dialogs.EditedId, 3);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(changes, 0);

    // The editor works on a copy; while it is open the status bar asks for names elsewhere,
    // which must not move where Ok and Apply put the event.
    dialogs.Editor = [this](TKelEventItem& copy, const TCommit& commit) {
        EXPECT_EQ(copy.Pages.FindByID(1)->GraphicName, "Door1");
        copy.Name = "Gate";
        EXPECT_EQ(map.Events.FindByID(3)->Name, "Door");
        EXPECT_EQ(manager.NameAt(9, 9), "Chest");
        EXPECT_TRUE(commit(copy));  // Apply
        copy.Name = "Gate2";
        EXPECT_EQ(manager.NameAt(0, 0), "");
        EXPECT_TRUE(commit(copy));  // Ok
    };
    EXPECT_TRUE(manager.Edit(2, 2, 0));
    const TKelEventItem* event = map.Events.FindByID(3);
    EXPECT_EQ(event->Name, "Gate2");
    EXPECT_EQ(event->X, 2);
    EXPECT_EQ(event->Y, 2);
    EXPECT_EQ(map.Events.FindByID(4)->X, 9);
    EXPECT_EQ(map.Events.Count(), 2);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(map.Modified);
    // Outside an edit a commit is refused.
    EXPECT_FALSE(manager.Commit(3, *event));

    // A start mark is not edited.
    Start(TKelMapStartPosition::spParty, 1, 5, 5);
    dialogs.Edits = 0;
    EXPECT_FALSE(manager.Edit(5, 5, 0));
    EXPECT_EQ(dialogs.Edits, 0);
}

TEST_F(EventManagerTest, ACellHoldsWhatTheEventMapShows) {
    AddEvent(1, 3, 3, "Under");
    AddEvent(2, 3, 3, "Over");
    AddEvent(5, 6, 6, "Hidden");
    Start(TKelMapStartPosition::spBoat, 1, 6, 6);
    Start(TKelMapStartPosition::spShip, 2, 8, 8);  // another map's: not here
    AddEvent(6, 8, 8, "Seen");
    AddEvent(7, 25, 3, "Outside");

    TKelEventMap shown;
    shown.Build(tree, map);
    for (std::int32_t y = 0; y < map.Height(); ++y)
        for (std::int32_t x = 0; x < map.Width(); ++x)
            ASSERT_EQ(EventCodeAt(&tree, map, x, y), shown.GetAt(x, y)) << x << "," << y;
    EXPECT_EQ(EventCodeAt(&tree, map, 25, 3), -1);

    EXPECT_EQ(manager.NameAt(3, 3), "Over");
    EXPECT_EQ(manager.NameAt(6, 6), "Boat");
    EXPECT_EQ(manager.NameAt(8, 8), "Seen");
    // Delete takes what is shown: the later event, then the earlier one; the mark, not the event
    // beneath it.
    ASSERT_TRUE(manager.Delete(3, 3));
    EXPECT_EQ(map.Events.FindByID(2), nullptr);
    EXPECT_EQ(manager.NameAt(3, 3), "Under");
    ASSERT_TRUE(manager.Delete(6, 6));
    EXPECT_EQ(tree.StartPosition.BoatMapId, 0);
    EXPECT_NE(map.Events.FindByID(5), nullptr);
    EXPECT_EQ(manager.NameAt(6, 6), "Hidden");
    EXPECT_EQ(changes, 2);
}

TEST_F(EventManagerTest, PastedEventsAreRenamedOnlyFromTheProposedForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"EV0003", "EV0007"}, {"Door", "Door"},   {"", "EV0007"},         {"EV12", "EV12"},
        {"EV0000", "EV0000"}, {"EVabcd", "EVabcd"}, {"EV00031", "EV00031"}, {"ev0003", "ev0003"},
    };
    for (const auto& [name, expected] : cases) {
        map.Events.Clear();
        for (std::int32_t id = 1; id <= 6; ++id)
            AddEvent(id, id, 0);
        TKelEventItem& source = *map.Events.FindByID(3);
        source.Name = name;
        source.Pages.Obtain(2).GraphicName = "Hero2";
        ASSERT_TRUE(manager.Copy(3, 0));
        ASSERT_TRUE(manager.Paste(10, 10));
        const TKelEventItem* pasted = map.Events.FindByID(7);
        ASSERT_NE(pasted, nullptr) << name;
        EXPECT_EQ(pasted->Name, expected) << name;
        EXPECT_EQ(pasted->X, 10);
        EXPECT_EQ(pasted->Pages.Count(), 2);
        EXPECT_EQ(map.Events.FindByID(3)->Name, name);
    }
    // Cut is copy and delete.
    ASSERT_TRUE(manager.Cut(10, 10));
    EXPECT_EQ(map.Events.FindByID(7), nullptr);
    EXPECT_TRUE(manager.Paste(11, 11));
    EXPECT_EQ(map.Events.FindByID(7)->X, 11);
}

TEST_F(EventManagerTest, ACopiedStartMarkPastesAsAMoveOfItsStart) {
    Start(TKelMapStartPosition::spParty, 1, 2, 2);
    AddEvent(1, 4, 4);
    ASSERT_TRUE(manager.Copy(2, 2));
    ASSERT_TRUE(manager.Paste(5, 6));
    EXPECT_EQ(tree.StartPosition.PartyMapId, 1);
    EXPECT_EQ(tree.StartPosition.PartyX, 5);
    EXPECT_EQ(tree.StartPosition.PartyY, 6);
    EXPECT_EQ(map.Events.Count(), 1);
    // Pasted onto another map, the start goes there.
    TKelMap other;
    other.ID = 2;
    manager.SetMap(&tree, &other);
    ASSERT_TRUE(manager.Paste(0, 1));
    EXPECT_EQ(tree.StartPosition.PartyMapId, 2);
    EXPECT_EQ(other.Events.Count(), 0);
    // Cutting the mark clears the start.
    ASSERT_TRUE(manager.Cut(0, 1));
    EXPECT_EQ(tree.StartPosition.PartyMapId, 0);
    EXPECT_EQ(tree.StartPosition.PartyX, 0);
}

TEST_F(EventManagerTest, BadBlocksAndOccupiedCellsChangeNothing) {
    AddEvent(1, 4, 4, "Door");
    ASSERT_TRUE(manager.Copy(4, 4));
    const std::string good = *clipboard.GetData(kEventClipboardFormat);
    const std::string payload = good.substr(4);
    const auto counted = [](const std::string& bytes) {
        const auto n = static_cast<std::uint32_t>(bytes.size());
        std::string block{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                          static_cast<char>(n >> 24)};
        return block + bytes;
    };
    const std::pair<const char*, std::string> blocks[] = {
        {"empty", ""},
        {"count only", std::string("\0\0\0", 3)},
        {"count past the end", good.substr(0, good.size() - 1)},
        {"record cut short", counted(payload.substr(0, payload.size() - 3))},
        {"tag of nothing", counted(std::string("\x05", 1))},
        {"tag 60005", counted(std::string("\x83\xD4\x65", 3))},
        {"bytes after the record", counted(payload + "xyz")},
        {"negative count", std::string("\xFF\xFF\xFF\xFF", 4) + payload},
    };
    const std::string before = Snapshot();
    for (const auto& [what, block] : blocks) {
        clipboard.SetData(kEventClipboardFormat, block);
        EXPECT_FALSE(manager.Paste(8, 8)) << what;
        EXPECT_EQ(Snapshot(), before) << what;
    }
    // A whole block onto an occupied cell (an event, a start mark) is refused as well.
    clipboard.SetData(kEventClipboardFormat, good);
    Start(TKelMapStartPosition::spAirship, 1, 9, 9);
    const std::string withMark = Snapshot();
    EXPECT_FALSE(manager.Paste(4, 4));
    EXPECT_FALSE(manager.Paste(9, 9));
    EXPECT_FALSE(manager.Paste(20, 0));  // outside the map
    EXPECT_EQ(Snapshot(), withMark);
    EXPECT_EQ(changes, 0);
    // Nothing on the cell: nothing copied, the clipboard keeps what it had.
    EXPECT_FALSE(manager.Copy(0, 0));
    EXPECT_EQ(*clipboard.GetData(kEventClipboardFormat), good);
    EXPECT_TRUE(manager.Paste(8, 8));
}

TEST_F(EventManagerTest, StartPositionsGoOnlyOnEmptyCells) {
    AddEvent(1, 3, 3);
    EXPECT_FALSE(manager.SetPartyStart(3, 3));
    EXPECT_EQ(tree.StartPosition.PartyMapId, 0);
    ASSERT_TRUE(manager.SetPartyStart(4, 3));
    EXPECT_EQ(tree.StartPosition.PartyMapId, 1);
    EXPECT_EQ(tree.StartPosition.PartyX, 4);

    // A vehicle needs an empty cell too: the chooser is not even asked on an occupied one.
    dialogs.Vehicle = 1;
    EXPECT_FALSE(manager.SetVehicleStart(3, 3));
    EXPECT_FALSE(manager.SetVehicleStart(4, 3));  // the party stands there
    EXPECT_EQ(dialogs.VehicleAsked, 0);
    dialogs.Vehicle = -1;
    EXPECT_FALSE(manager.SetVehicleStart(5, 5));
    EXPECT_EQ(tree.StartPosition.ShipMapId, 0);
    dialogs.Vehicle = 1;
    ASSERT_TRUE(manager.SetVehicleStart(5, 5));
    EXPECT_EQ(tree.StartPosition.ShipMapId, 1);
    EXPECT_EQ(tree.StartPosition.ShipX, 5);
    EXPECT_EQ(tree.StartPosition.ShipY, 5);
    EXPECT_EQ(tree.StartPosition.BoatMapId, 0);
    EXPECT_EQ(manager.NameAt(5, 5), "Ship");
    EXPECT_EQ(changes, 2);
}

TEST_F(EventManagerTest, TheTeleportEventFramesTheTeleportAndStartsOnTouch) {
    AddEvent(1, 0, 0);
    TFlagChoosers choosers;
    manager.SetChoosers(&choosers);
    ASSERT_TRUE(manager.CreateTeleportEvent(6, 7));
    EXPECT_EQ(dialogs.TeleportContext.EventId, 2);
    EXPECT_EQ(dialogs.TeleportContext.Map, &map);
    const TKelEventItem* event = map.Events.FindByID(2);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->Name, "EV0002");
    EXPECT_EQ(event->X, 6);
    EXPECT_EQ(event->Y, 7);
    const TKelEventPageItem* page = event->Pages.FindByID(1);
    EXPECT_EQ(page->Trigger, kTriggerHeroTouch);
    ASSERT_EQ(Codes(page->Script), (std::vector<std::int32_t>{ToInt(TCommandCode::EraseScreen), ToInt(TCommandCode::Teleport), ToInt(TCommandCode::ShowScreen), 0}));
    for (int line : {0, 2})
        EXPECT_EQ(page->Script.Lines(line)->Params(), std::vector<std::int32_t>{kTransitionMovePlace});
    EXPECT_EQ(page->Script.Lines(1)->Params(), (std::vector<std::int32_t>{2, 7, 9}));
    EXPECT_EQ(dialogs.Saves, 0);
    EXPECT_EQ(changes, 1);

    // Occupied: no dialog. Cancelled: no event, but names changed in a picker are saved.
    EXPECT_FALSE(manager.CreateTeleportEvent(6, 7));
    EXPECT_EQ(dialogs.Teleports, 1);
    choosers.Changed = true;
    dialogs.TeleportOk = false;
    dialogs.SaveOk = false;
    EXPECT_FALSE(manager.CreateTeleportEvent(1, 1));
    EXPECT_EQ(map.Events.Count(), 2);
    EXPECT_EQ(dialogs.Saves, 1);
    EXPECT_EQ(error, "disk full");
    EXPECT_EQ(changes, 1);
}

// The canvas's commands, keys and double click reach the manager; the teleport item is on for
// an empty cell.
TEST_F(EventManagerTest, TheCanvasCommandsReachTheManager) {
    tree.AddItem(0, 0);
    tree.AddItem(0, 1);
    tree.CurrentMapId = 1;
    TKelMapEditorModel canvas;
    canvas.SetMapTree(&tree);
    canvas.SetClipboard(&clipboard);
    canvas.SetClientSize(640, 480);
    canvas.SetEventManager(&manager);
    canvas.LoadMap(&map);
    canvas.SetMode(TKelEditMode::Events);
    const auto at = [&canvas](int x, int y) {
        const TPoint origin = canvas.CellOrigin(TPoint{x, y});
        return TPoint{origin.X + 8, origin.Y + 8};
    };
    const TPoint cell = at(3, 4);
    EXPECT_EQ(canvas.MouseDown(TCanvasButton::Right, cell.X, cell.Y, {}), TCanvasPopup::Event);
    canvas.MouseUp(TCanvasButton::Right, cell.X, cell.Y, {});
    EXPECT_TRUE(canvas.EventMenuState().Move);
    EXPECT_TRUE(canvas.EventMenuState().NewVisible);

    canvas.DoubleClick(TCanvasButton::Left, cell.X, cell.Y, {});
    ASSERT_NE(map.Events.FindByID(1), nullptr);
    EXPECT_EQ(canvas.EventMap().GetAt(3, 4), 1);
    EXPECT_FALSE(canvas.EventMenuState().Move);

    EXPECT_TRUE(canvas.KeyDown(TCanvasKey::C, {.Ctrl = true}));
    EXPECT_TRUE(canvas.KeyDown(TCanvasKey::Right, {}));
    EXPECT_TRUE(canvas.KeyDown(TCanvasKey::V, {.Ctrl = true}));
    EXPECT_EQ(canvas.EventMap().GetAt(4, 4), 2);
    EXPECT_TRUE(canvas.KeyDown(TCanvasKey::Delete, {}));
    EXPECT_EQ(map.Events.FindByID(2), nullptr);
    EXPECT_TRUE(canvas.SetPartyStart());
    EXPECT_EQ(canvas.EventMap().GetAt(4, 4), kEventCodeParty);
    EXPECT_FALSE(canvas.MoveEvent());  // the party stands there now
    EXPECT_TRUE(canvas.KeyDown(TCanvasKey::Right, {}));
    EXPECT_TRUE(canvas.MoveEvent());
    EXPECT_EQ(canvas.EventMap().GetAt(5, 4), 2);
}

}  // namespace
