#include "events/EventManager.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "events/ScriptList.h"
#include "events/EventChoosers.h"
#include "graphics/EventMap.h"
#include "platform/Clipboard.h"

#include <cstdio>
#include <memory>

namespace quillon {

namespace {

std::string EventName(std::int32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "EV%.4d", static_cast<int>(id));
    return text;
}

bool IsStartMark(std::int32_t code) { return code >= kFirstStartMarkTag && code <= kLastStartMarkTag; }

std::unique_ptr<TKelEventScriptLine> FramingLine(TCommandCode code) {
    auto line = std::make_unique<TKelEventScriptLine>();
    line->Code = ToInt(code);
    line->SetParamCount(1);
    line->SetParam(0, kTransitionMovePlace);
    return line;
}

}  // namespace

std::int32_t EventCodeAt(const TKelMapTree* tree, const TKelMap& map, std::int32_t x, std::int32_t y) {
    if (x < 0 || y < 0 || x >= map.Width() || y >= map.Height())
        return -1;
    std::int32_t code = 0;
    // In list order: a later event on the same cell is the one shown.
    for (int i = 0; i < map.Events.Count(); ++i) {
        const TKelEventItem* event = map.Events.Items(i);
        if (event->ID >= 1 && event->ID <= kEventCodeMaxEvent && event->X == x && event->Y == y)
            code = event->ID;
    }
    if (tree == nullptr)
        return code;
    // Start marks lie on top of events, the later position on top of the earlier.
    const TKelMapStartPosition& start = tree->StartPosition;
    for (int i = 0; i < TKelMapStartPosition::kCount; ++i)
        if (start.GetMapId(i) >= 1 && start.GetMapId(i) == map.ID && start.GetX(i) == x && start.GetY(i) == y)
            code = kFirstStartMarkTag + i;
    return code;
}

std::string PastedEventName(const std::string& name, std::int32_t newId) {
    if (name.empty())
        return EventName(newId);
    if (name.size() != 6 || name.compare(0, 2, "EV") != 0)
        return name;
    int value = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const char c = name[i];
        if (c < '0' || c > '9')
            return name;
        value = value * 10 + (c - '0');
    }
    return value > 0 ? EventName(newId) : name;
}

std::optional<TEventClipboard> ReadEventBlock(std::string_view block) {
    // A block of ours holds nothing after its content.
    std::optional<TEventClipboard> result = DecodeEventClipboard(block, true);
    if (!result)
        return std::nullopt;
    if (result->Event) {
        const TKelEventPage& pages = result->Event->Pages;
        if (pages.Count() < 1 || pages.Count() > TKelEventManager::kMaxPages || pages.FindByID(1) == nullptr)
            return std::nullopt;
        for (int i = 0; i < pages.Count(); ++i) {
            const TKelEventPageItem* page = pages.Items(i);
            if (page->ScriptDamaged() || page->MoveRoute.RouteDamaged())
                return std::nullopt;
        }
    }
    return result;
}

// --- the manager ---

TKelEventManager::TKelEventManager(IEventManagerDialogs& dialogs, IClipboard* clipboard)
    : mDialogs(dialogs), mClipboard(clipboard) {}

IClipboard& TKelEventManager::Clip() const { return mClipboard ? *mClipboard : Clipboard(); }

void TKelEventManager::SetMap(TKelMapTree* tree, TKelMap* map) {
    mTree = tree;
    mMap = map;
    mX = mY = mFoundId = 0;
}

bool TKelEventManager::Locate(std::int32_t x, std::int32_t y) {
    mX = x;
    mY = y;
    mFoundId = 0;
    if (mMap == nullptr)
        return false;
    const std::int32_t code = EventCodeAt(mTree, *mMap, x, y);
    if (code < 0)
        return false;
    mFoundId = code;
    return true;
}

std::int32_t TKelEventManager::FreeEventId() const {
    if (mMap == nullptr)
        return 0;
    // The list is sorted by ID: the first gap from 1 on is the answer.
    std::int32_t next = kFirstFreeEventId;
    for (int i = 0; i < mMap->Events.Count() && next <= kLastFreeEventId; ++i) {
        const std::int32_t id = mMap->Events.Items(i)->ID;
        if (id > next)
            break;
        if (id == next)
            ++next;
    }
    return next <= kLastFreeEventId ? next : 0;
}

void TKelEventManager::Changed() {
    if (mMap)
        mMap->Modified = true;
    OnChange();
}

void TKelEventManager::SetStart(int index, std::int32_t x, std::int32_t y) {
    TKelMapStartPosition& start = mTree->StartPosition;
    start.SetMapId(index, mMap->ID);
    start.SetX(index, x);
    start.SetY(index, y);
}

// --- editing ---

bool TKelEventManager::Edit(std::int32_t x, std::int32_t y, std::int32_t initialGraphicIndex) {
    if (!Locate(x, y) || IsStartMark(mFoundId) || mEdit)
        return false;
    TKelEventItem copy;
    std::int32_t id = mFoundId;
    const bool isNew = id == 0;
    if (isNew) {
        id = FreeEventId();
        if (id == 0)
            return false;
        copy.Name = EventName(id);
        if (TKelEventPageItem* page = copy.Pages.FindByID(1))
            page->GraphicIndex = initialGraphicIndex;
    } else {
        const TKelEventItem* event = mMap->Events.FindByID(id);
        if (event == nullptr)
            return false;
        copy.Assign(*event);
    }
    copy.SetID(id);
    copy.X = x;
    copy.Y = y;

    mEdit = TEditSession{id, mMap, x, y};
    bool committed = false;
    struct TEndEdit {
        std::optional<TEditSession>& Edit;
        ~TEndEdit() { Edit.reset(); }
    } endEdit{mEdit};
    mDialogs.EditEvent(copy, id, isNew, [this, id, &committed](const TKelEventItem& edited) {
        const bool done = Commit(id, edited);
        committed = committed || done;
        return done;
    });
    return committed;
}

bool TKelEventManager::Commit(std::int32_t id, const TKelEventItem& copy) {
    if (!mEdit || mEdit->Id != id || mEdit->Map != mMap || mMap == nullptr)
        return false;
    TKelEventItem& event = mMap->Events.Obtain(id);
    if (&event != &copy)
        event.Assign(copy);
    event.X = mEdit->X;
    event.Y = mEdit->Y;
    Changed();
    return true;
}

std::string TKelEventManager::NameAt(std::int32_t x, std::int32_t y) const {
    if (mMap == nullptr)
        return {};
    const std::int32_t code = EventCodeAt(mTree, *mMap, x, y);
    if (IsStartMark(code))
        return TKelMapStartPosition::PositionName(code - kFirstStartMarkTag);
    if (code > 0)
        if (const TKelEventItem* event = mMap->Events.FindByID(code))
            return event->Name;
    return {};
}

// --- clipboard ---

bool TKelEventManager::Copy(std::int32_t x, std::int32_t y) {
    if (!Locate(x, y) || mFoundId == 0)
        return false;
    if (IsStartMark(mFoundId)) {
        Clip().SetData(kEventClipboardFormat, EncodeEventClipboard(mFoundId, nullptr));
        return true;
    }
    TKelEventItem* event = mMap->Events.FindByID(mFoundId);
    if (event == nullptr)
        return false;
    Clip().SetData(kEventClipboardFormat, EncodeEventClipboard(0, event));
    return true;
}

bool TKelEventManager::Cut(std::int32_t x, std::int32_t y) { return Copy(x, y) && Delete(x, y); }

bool TKelEventManager::Paste(std::int32_t x, std::int32_t y) {
    if (!CellIsEmpty(x, y))
        return false;
    const std::int32_t id = FreeEventId();
    if (id == 0)
        return false;
    const std::optional<std::string> block = Clip().GetData(kEventClipboardFormat);
    if (!block)
        return false;
    std::optional<TEventClipboard> pasted = ReadEventBlock(*block);
    if (!pasted)
        return false;
    if (IsStartMark(pasted->Tag)) {
        if (mTree == nullptr)
            return false;
        SetStart(pasted->Tag - kFirstStartMarkTag, x, y);
        Changed();
        return true;
    }
    TKelEventItem& event = mMap->Events.Obtain(id);
    event.Assign(*pasted->Event);
    event.X = x;
    event.Y = y;
    event.Name = PastedEventName(pasted->Event->Name, id);
    Changed();
    return true;
}

bool TKelEventManager::Delete(std::int32_t x, std::int32_t y) {
    if (!Locate(x, y) || mFoundId == 0)
        return false;
    if (IsStartMark(mFoundId)) {
        if (mTree == nullptr)
            return false;
        mTree->StartPosition.Clear(mFoundId - kFirstStartMarkTag);
    } else {
        if (mMap->Events.FindByID(mFoundId) == nullptr)
            return false;
        mMap->Events.Delete(mFoundId);
    }
    Changed();
    return true;
}

// --- start positions ---

bool TKelEventManager::SetPartyStart(std::int32_t x, std::int32_t y) {
    if (!CellIsEmpty(x, y) || mTree == nullptr)
        return false;
    SetStart(TKelMapStartPosition::spParty, x, y);
    Changed();
    return true;
}

bool TKelEventManager::SetVehicleStart(std::int32_t x, std::int32_t y) {
    if (!CellIsEmpty(x, y) || mTree == nullptr)
        return false;
    const int vehicle = mDialogs.ChooseVehicle();
    if (vehicle < 0 || vehicle > 2)
        return false;
    // The dialog may not have changed the map under us, but the cell is checked again all the same.
    if (!CellIsEmpty(x, y) || mTree == nullptr)
        return false;
    SetStart(TKelMapStartPosition::spBoat + vehicle, x, y);
    Changed();
    return true;
}

// --- the teleport event ---

void TKelEventManager::SaveDataBaseIfChanged() {
    if (mChoosers == nullptr || !mChoosers->DataBaseChanged())
        return;
    std::string error;
    if (!mDialogs.SaveDataBase(error))
        OnError(error.empty() ? std::string("The database could not be saved.") : error);
    else
        mChoosers->DataBaseSaved();
}

bool TKelEventManager::CreateTeleportEvent(std::int32_t x, std::int32_t y) {
    if (!CellIsEmpty(x, y))
        return false;
    const std::int32_t id = FreeEventId();
    if (id == 0)
        return false;
    TKelMap* const map = mMap;
    TKelEventItem event;
    event.SetID(id);
    event.Name = EventName(id);
    event.X = x;
    event.Y = y;

    TEventCommandContext context;
    context.EventId = id;
    context.EventItem = &event;
    context.MapTree = mTree;
    context.Map = mMap;
    context.DataBase = mDataBase;
    context.Choosers = mChoosers;
    TKelEventScriptList result;
    const bool ok = mDialogs.RunTeleportDialog(result, context);
    SaveDataBaseIfChanged();
    // A dialog that made no line leaves nothing to frame.
    if (!ok || result.Count() == 0 || mMap != map || !CellIsEmpty(x, y) || FreeEventId() != id)
        return false;

    TKelEventPageItem* page = event.Pages.FindByID(1);
    if (page == nullptr)
        return false;
    TKelEventScriptList& script = page->Script;
    script.InsertScript(0, result, 0);
    script.Insert(0, FramingLine(TCommandCode::EraseScreen));
    script.Insert(2, FramingLine(TCommandCode::ShowScreen));
    page->Trigger = kTriggerHeroTouch;
    mMap->Events.Obtain(id).Assign(event);
    Changed();
    return true;
}

}  // namespace quillon
