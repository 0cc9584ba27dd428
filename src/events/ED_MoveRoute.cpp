#include "events/ED_MoveRoute.h"

#include "controls/LastUsed.h"
#include "data/LD_Map.h"
#include "data/LD_System.h"
#include "data/StreamUtils.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

const TMoveCommandButton kButtons[] = {
    {"Step Up", 0},
    {"Step Right", 1},
    {"Step Down", 2},
    {"Step Left", 3},
    {"Step Right-Up", 4},
    {"Step Right-Down", 5},
    {"Step Left-Down", 6},
    {"Step Left-Up", 7},
    {"Random Step Direction", 8},
    {"Step Toward Hero", 9},
    {"Step Away from Hero", 10},
    {"Step Forward", 11},
    {"Move Speed Up", 28},
    {"Move Speed Down", 29},
    {"Face Up", 12},
    {"Face Right", 13},
    {"Face Down", 14},
    {"Face Left", 15},
    {"Turn Right 90\xB0", 16},
    {"Turn Left 90\xB0", 17},
    {"Turn 180\xB0", 18},
    {"Right-Left Turn 90\xB0", 19},
    {"Random Direction", 20},
    {"Normal Face Hero", 21},
    {"Reverse Face Hero", 22},
    {"Wait a Moment", 23},
    {"Move Frequency Up", 30},
    {"Move Frequency Down", 31},
    {"Start Jump", 24},
    {"End Jump", 25},
    {"Fix Direction", 26},
    {"Cancel Fix Direction", 27},
    {"Start Slip Through", 36},
    {"End Slip Through", 37},
    {"Stop Animation", 38},
    {"Resume Animation", 39},
    {"Transparancy Up", 40},
    {"Transparancy Down", 41},
    {"Switch ON...", mcSwitchOn},
    {"Switch OFF...", mcSwitchOff},
    {"Change Graphic...", mcChangeGraphic},
    {"Play Sound Effect...", mcPlaySound},
};
static_assert(std::size(kButtons) == mcLastCode + 1);

// What every editor remembers for the run.
struct TRememberedSound {
    std::string Name = kSoundOff;
    std::int32_t Volume = 100;
    std::int32_t Tempo = 100;
    std::int32_t Balance = 50;
};
struct TRememberedGraphic {
    std::string Name;
    std::int32_t Index = 0;
};

constexpr std::string_view kLastUsedPrefix = "ED_MoveRoute.";

std::int32_t& LastSwitch() { return TLastUsed::Value<std::int32_t>("ED_MoveRoute.Switch", 1); }
TRememberedSound& LastSound() { return TLastUsed::Value<TRememberedSound>("ED_MoveRoute.Sound"); }
TRememberedGraphic& LastGraphic() { return TLastUsed::Value<TRememberedGraphic>("ED_MoveRoute.Graphic"); }
std::int32_t& LastTarget() { return TLastUsed::Value<std::int32_t>("ED_MoveRoute.Target", kCharacterHero); }
std::int32_t& LastFrequency() { return TLastUsed::Value<std::int32_t>("ED_MoveRoute.Frequency", 3); }

std::int32_t ClampFrequency(std::int32_t frequency) {
    return std::clamp(frequency, kMinMoveFrequency, kMaxMoveFrequency);
}

std::string Printf(const char* format, std::int32_t value) {
    char text[48];
    std::snprintf(text, sizeof text, format, static_cast<int>(value));
    return text;
}

// Reads the whole of `bytes` as move commands; false when it ends inside one.
bool ReadRoute(std::string_view bytes, std::vector<TKelMoveRouteItem>& items) {
    TByteViewStream stream(bytes);
    try {
        LoadMoveRouteItems(stream, items);
    } catch (const EReadError&) {
        return false;
    }
    return true;
}

void CopyRoute(const TKelMoveRoute& from, TKelMoveRoute& to) {
    to.Clear();
    for (const TKelMoveRouteItem& item : from.ItemList())
        to.Add(item);
    to.Repeat = from.Repeat;
    to.Skippable = from.Skippable;
}

}  // namespace

std::span<const TMoveCommandButton> MoveCommandButtons() {
    return kButtons;
}

std::string MoveRouteLineText(const TKelMoveRouteItem& item) {
    switch (item.Code) {
    case mcSwitchOn: return Printf("<>Switch [%.4d]-ON", item.SwitchId);
    case mcSwitchOff: return Printf("<>Switch [%.4d]-OFF", item.SwitchId);
    case mcChangeGraphic:
        return "<>Change " + item.GraphicName + Printf("-%d", static_cast<std::int32_t>(
                                                                  static_cast<std::int64_t>(item.GraphicIndex) + 1));
    case mcPlaySound: return "<>Sound Effect:" + item.SoundName;
    default: break;
    }
    std::string text(kMoveRouteEndLine);
    if (const char* name = MoveCommandName(item.Code))
        text += name;
    return text;
}

bool DecodeMoveCommandBlock(std::string_view block, std::vector<TKelMoveRouteItem>& items) {
    items.clear();
    const std::optional<std::string_view> payload = CountedClipboardPayload(block);
    std::vector<TKelMoveRouteItem> read;
    if (!payload || !ReadRoute(*payload, read) || read.empty())
        return false;
    for (const TKelMoveRouteItem& item : read)
        if (item.Code < 0 || item.Code > mcLastCode)
            return false;
    items = std::move(read);
    return true;
}

bool MoveRouteRequestFromLine(const TKelEventScriptLine& line, TMoveRouteRequest& request) {
    request.CommandMode = true;
    request.Target = line.Param(0);
    request.Frequency = ClampFrequency(line.Param(1));
    request.Route.Reset();
    request.Route.Repeat = line.Param(2) != 0 ? 1 : 0;
    request.Route.Skippable = line.Param(3) != 0 ? 1 : 0;
    std::string bytes;
    const std::vector<std::int32_t>& params = line.Params();
    if (params.size() > 4) {
        bytes.reserve(params.size() - 4);
        for (std::size_t i = 4; i < params.size(); ++i)
            bytes.push_back(static_cast<char>(static_cast<std::uint8_t>(params[i] & 0xFF)));
    }
    std::vector<TKelMoveRouteItem> items;
    const bool whole = ReadRoute(bytes, items);
    for (const TKelMoveRouteItem& item : items)
        request.Route.Add(item);
    return whole;
}

void MoveRouteRequestToLine(const TMoveRouteRequest& request, TKelEventScriptLine& line) {
    TMemoryStream stream;
    SaveMoveRouteItems(stream, request.Route.ItemList());
    const std::string& bytes = stream.Bytes();
    line.Code = ToInt(TCommandCode::SetMoveRoute);
    line.Text.clear();
    line.SetParamCount(0);
    line.SetParamCount(4 + static_cast<int>(bytes.size()));
    line.SetParam(0, request.Target);
    line.SetParam(1, request.Frequency);
    line.SetParam(2, request.Route.Repeat != 0 ? 1 : 0);
    line.SetParam(3, request.Route.Skippable != 0 ? 1 : 0);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        line.SetParam(4 + static_cast<int>(i), static_cast<std::uint8_t>(bytes[i]));
}

// --- the editor ---

TMoveRouteEditorModel::TMoveRouteEditorModel(TMoveRouteRequest& request, const TEventCommandContext& context)
    : mRequest(request), mContext(context), mCommandMode(request.CommandMode) {
    CopyRoute(request.Route, mRoute);
    mFrequency = ClampFrequency(request.Frequency);
    std::int32_t target = request.Target;
    const TRememberedGraphic& graphic = LastGraphic();
    mGraphicName = graphic.Name;
    mGraphicIndex = graphic.Index;
    if (mCommandMode) {
        if (target == 0) {
            target = LastTarget();
            mFrequency = ClampFrequency(LastFrequency());
        }
    } else if (!request.GraphicName.empty()) {
        // A page's route offers the page's own graphic first.
        mGraphicName = request.GraphicName;
        mGraphicIndex = request.GraphicIndex;
    }
    BuildTargets(target);
    Rebuild();
    mSelected = mRoute.Count();  // the end line
}

void TMoveRouteEditorModel::ForgetLastUsed() {
    TLastUsed::Forget(kLastUsedPrefix);
}

void TMoveRouteEditorModel::BuildTargets(std::int32_t wanted) {
    mTargets.clear();
    if (!mCommandMode) {
        mTargets.push_back({kCharacterThisEvent, "this Event"});
        mTargetIndex = 0;
        return;
    }
    mTargets = {{kCharacterHero, "Hero"},
                {kCharacterBoat, "Boat"},
                {kCharacterShip, "Ship"},
                {kCharacterAirship, "Airship"},
                {kCharacterThisEvent, "this Event"}};
    // The map's events in ID order; the edited one by the name being typed, even before it is on
    // the map. A wanted event that is not there keeps its ID in a row of its own.
    std::vector<TFieldChoice> events;
    if (mContext.Map != nullptr) {
        const TKelEvent& list = mContext.Map->Events;
        for (int i = 0; i < list.Count(); ++i) {
            const TKelEventItem* event = list.Items(i);
            if (event != nullptr && event->ID >= 1 && event->ID <= 5000)
                events.push_back({event->ID, event->Name});
        }
    }
    const auto has = [&events](std::int32_t id) {
        return std::any_of(events.begin(), events.end(), [id](const TFieldChoice& c) { return c.Id == id; });
    };
    if (mContext.EventItem != nullptr && mContext.EventId >= 1 && mContext.EventId <= 5000) {
        if (!has(mContext.EventId))
            events.push_back({mContext.EventId, {}});
        for (TFieldChoice& choice : events)
            if (choice.Id == mContext.EventId)
                choice.Name = mContext.EventItem->Name;
    }
    const bool fixed = wanted >= kCharacterHero && wanted <= kCharacterThisEvent;
    if (!fixed && !has(wanted))
        events.push_back({wanted, Printf("%.4d:?", wanted)});
    std::stable_sort(events.begin(), events.end(),
                     [](const TFieldChoice& a, const TFieldChoice& b) { return a.Id < b.Id; });
    mTargets.insert(mTargets.end(), events.begin(), events.end());
    const auto it = std::find_if(mTargets.begin(), mTargets.end(),
                                 [wanted](const TFieldChoice& c) { return c.Id == wanted; });
    mTargetIndex = static_cast<int>(it - mTargets.begin());
}

std::int32_t TMoveRouteEditorModel::Target() const {
    return mTargets.at(static_cast<std::size_t>(mTargetIndex)).Id;
}

void TMoveRouteEditorModel::SetTargetIndex(int index) {
    if (!mCommandMode || index < 0 || index >= static_cast<int>(mTargets.size()) || index == mTargetIndex)
        return;
    mTargetIndex = index;
    Changed();
}

void TMoveRouteEditorModel::Rebuild() {
    mRows.clear();
    mRows.reserve(static_cast<std::size_t>(mRoute.Count()) + 1);
    for (const TKelMoveRouteItem& item : mRoute.ItemList())
        mRows.push_back(MoveRouteLineText(item));
    mRows.emplace_back(kMoveRouteEndLine);
    mSelected = std::clamp(mSelected, 0, mRoute.Count());
}

void TMoveRouteEditorModel::Select(int row) {
    row = std::clamp(row, 0, mRoute.Count());
    if (row == mSelected)
        return;
    mSelected = row;
    Changed();
}

bool TMoveRouteEditorModel::PressButton(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kButtons)) || !CommandButtonsEnabled())
        return false;
    TKelMoveRouteItem item;
    item.Code = kButtons[index].Code;
    IEventChoosers* choosers = mContext.Choosers;
    switch (item.Code) {
    case mcSwitchOn:
    case mcSwitchOff: {
        std::int32_t id = LastSwitch();
        if (choosers == nullptr || !choosers->ChooseSwitch(id) || id == 0)
            return false;
        LastSwitch() = id;
        item.SwitchId = id;
        break;
    }
    case mcChangeGraphic: {
        std::string name = mGraphicName;
        std::int32_t cell = mGraphicIndex;
        if (choosers == nullptr || !choosers->ChooseResource(TSelKind::Char, name, &cell, "Change Graphic"))
            return false;
        mGraphicName = name;
        mGraphicIndex = cell;
        LastGraphic() = {name, cell};
        item.GraphicName = name;
        item.GraphicIndex = cell;
        break;
    }
    case mcPlaySound: {
        const TRememberedSound& last = LastSound();
        TKelSound sound;
        sound.Name = last.Name;
        sound.Volume = last.Volume;
        sound.Tempo = last.Tempo;
        sound.Balance = last.Balance;
        if (choosers == nullptr || !choosers->ChooseSound(sound, "Sound Effect"))
            return false;
        LastSound() = {sound.Name, sound.Volume, sound.Tempo, sound.Balance};
        item.SoundName = sound.Name;
        item.SoundVolume = sound.Volume;
        item.SoundTempo = sound.Tempo;
        item.SoundBalance = sound.Balance;
        break;
    }
    default: break;
    }
    return Insert(item);
}

bool TMoveRouteEditorModel::Insert(const TKelMoveRouteItem& item) {
    return InsertAll({item});
}

bool TMoveRouteEditorModel::InsertAll(const std::vector<TKelMoveRouteItem>& items) {
    if (items.empty() || mRoute.Count() + static_cast<std::int64_t>(items.size()) > kMoveRouteLimit)
        return false;
    int at = mSelected;
    for (const TKelMoveRouteItem& item : items)
        mRoute.Insert(at++, item);
    // The row that was selected moves down with its command.
    mSelected = at;
    Rebuild();
    Changed();
    return true;
}

bool TMoveRouteEditorModel::Delete() {
    if (!CanDelete())
        return false;
    mRoute.Delete(mSelected);
    Rebuild();
    Changed();
    return true;
}

bool TMoveRouteEditorModel::ClearAll() {
    if (!CanClearAll())
        return false;
    mRoute.Clear();
    mSelected = 0;
    Rebuild();
    Changed();
    return true;
}

void TMoveRouteEditorModel::SetRepeat(bool repeat) {
    if (Repeat() == repeat)
        return;
    mRoute.Repeat = repeat ? 1 : 0;
    Changed();
}

void TMoveRouteEditorModel::SetSkippable(bool skippable) {
    if (Skippable() == skippable)
        return;
    mRoute.Skippable = skippable ? 1 : 0;
    Changed();
}

void TMoveRouteEditorModel::SetFrequency(std::int32_t frequency) {
    frequency = ClampFrequency(frequency);
    if (frequency == mFrequency)
        return;
    mFrequency = frequency;
    Changed();
}

IClipboard& TMoveRouteEditorModel::ClipboardInUse() const {
    return mClipboard ? *mClipboard : Clipboard();
}

TMoveRouteMenuState TMoveRouteEditorModel::MenuState() const {
    TMoveRouteMenuState state;
    state.Cut = state.Copy = state.Delete = CanDelete();
    try {
        state.Paste = CommandButtonsEnabled() && ClipboardInUse().HasFormat(kMoveCommandClipboardFormat);
    } catch (const std::exception&) {
        state.Paste = false;
    }
    return state;
}

bool TMoveRouteEditorModel::Copy() {
    if (!MenuState().Copy)
        return false;
    const std::string block = EncodeMoveCommandClipboard(mRoute.Items(mSelected));
    IClipboard& clipboard = ClipboardInUse();
    try {
        clipboard.SetData(kMoveCommandClipboardFormat, block);
        const std::optional<std::string> stored = clipboard.GetData(kMoveCommandClipboardFormat);
        return stored && *stored == block;
    } catch (const std::exception&) {
        return false;
    }
}

bool TMoveRouteEditorModel::Cut() {
    // The command leaves the route only once it is safe on the clipboard.
    return Copy() && Delete();
}

bool TMoveRouteEditorModel::Paste() {
    if (!MenuState().Paste)
        return false;
    std::optional<std::string> block;
    try {
        block = ClipboardInUse().GetData(kMoveCommandClipboardFormat);
    } catch (const std::exception&) {
        return false;
    }
    std::vector<TKelMoveRouteItem> items;
    if (!block || !DecodeMoveCommandBlock(*block, items))
        return false;
    return InsertAll(items);
}

bool TMoveRouteEditorModel::DataBaseChanged() const {
    return mContext.Choosers != nullptr && mContext.Choosers->DataBaseChanged();
}

void TMoveRouteEditorModel::Confirm() {
    CopyRoute(mRoute, mRequest.Route);
    mRequest.Frequency = mFrequency;
    if (mCommandMode) {
        mRequest.Target = Target();
        LastTarget() = mRequest.Target;
        LastFrequency() = mFrequency;
    }
}

}  // namespace quillon
