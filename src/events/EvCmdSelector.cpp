#include "events/EvCmdSelector.h"

#include "controls/LastUsed.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_System.h"
#include "events/ED_MoveRoute.h"
#include "events/EventCommands.h"

#include <algorithm>
#include <string>

namespace quillon {

namespace {

constexpr std::int32_t kSystemGraphicCode = 10680;
constexpr std::int32_t kTeleportCode = 10810;
constexpr std::int32_t kPlayMusicCode = 11510;
constexpr std::int32_t kPlaySoundCode = 11550;
constexpr std::int32_t kBattleBackgroundCode = 13210;

constexpr const char* kRememberedPrefix = "EvCmdSelector.";

// The line of the last OK of a command, kept for the run (code 0 before the first).
TKelEventScriptLine& Remembered(std::int32_t code) {
    return TLastUsed::Value<TKelEventScriptLine>(kRememberedPrefix + std::to_string(code));
}

// The edited command's line, or nullptr when a new command is made.
const TKelEventScriptLine* EditedLine(const TKelEventScriptList& edited, std::int32_t code) {
    const TKelEventScriptLine* first = edited.Count() > 0 ? edited.Lines(0) : nullptr;
    return first && first->Code == code ? first : nullptr;
}

// What a selector starts from: the edited line, else the last one written, else nothing.
const TKelEventScriptLine* StartingLine(const TKelEventScriptList& edited, std::int32_t code) {
    if (const TKelEventScriptLine* line = EditedLine(edited, code))
        return line;
    const TKelEventScriptLine& last = Remembered(code);
    return last.Code == code ? &last : nullptr;
}

std::string CaptionOf(std::int32_t code) {
    const TEventCommandInfo* info = FindEventCommand(code);
    return info ? info->Caption : "";
}

TKelEventScriptLine MakeLine(std::int32_t code, std::string text, std::initializer_list<std::int32_t> params) {
    TKelEventScriptLine line;
    line.Code = code;
    line.Text = std::move(text);
    line.SetParamCount(static_cast<int>(params.size()));
    int i = 0;
    for (const std::int32_t value : params)
        line.SetParam(i++, value);
    return line;
}

// The selector's music and sound settings stay within what its sliders show.
std::int32_t Within(std::int32_t value, std::int32_t low, std::int32_t high) { return std::clamp(value, low, high); }

bool RunSystemGraphic(const TKelEventScriptList& edited, IEventChoosers& choosers, TKelEventScriptLine& out) {
    const TKelEventScriptLine* start = StartingLine(edited, kSystemGraphicCode);
    std::string name = start ? start->Text : std::string();
    std::int32_t wallpaper = start ? Within(start->Param(0), 0, 1) : 0;
    std::int32_t font = start ? Within(start->Param(1), 0, 1) : 0;
    if (!choosers.ChooseSystemGraphic(name, wallpaper, font, CaptionOf(kSystemGraphicCode)))
        return false;
    out = MakeLine(kSystemGraphicCode, name, {Within(wallpaper, 0, 1), Within(font, 0, 1)});
    return true;
}

bool RunTeleport(const TKelEventScriptList& edited, const TEventCommandContext& context, IEventChoosers& choosers,
                 TKelEventScriptLine& out) {
    TMapPlaceRequest place = InitialTeleportPlace(edited, context);
    if (!choosers.ChoosePlace(place))
        return false;
    out = MakeLine(kTeleportCode, "", {place.MapId, place.X, place.Y});
    return true;
}

bool RunMoveCharacter(const TKelEventScriptList& edited, const TEventCommandContext& context,
                      IEventChoosers& choosers, TKelEventScriptLine& out) {
    TMoveRouteRequest request;
    MoveRouteOfLine(edited, request);
    if (!choosers.EditMoveRoute(request, context))
        return false;
    out = MoveRouteLine(request);
    return true;
}

bool RunMusic(const TKelEventScriptList& edited, IEventChoosers& choosers, TKelEventScriptLine& out) {
    TKelMusic music;
    if (const TKelEventScriptLine* start = StartingLine(edited, kPlayMusicCode)) {
        music.Name = start->Text;
        music.FadeIn = Within(start->Param(0), 0, 10000);
        music.Volume = Within(start->Param(1), 0, 100);
        music.Tempo = Within(start->Param(2), 50, 150);
        music.Balance = Within(start->Param(3), 0, 100);
    }
    if (!choosers.ChooseMusic(music, CaptionOf(kPlayMusicCode)))
        return false;
    out = MakeLine(kPlayMusicCode, music.Name, {music.FadeIn, music.Volume, music.Tempo, music.Balance});
    return true;
}

bool RunSound(const TKelEventScriptList& edited, IEventChoosers& choosers, TKelEventScriptLine& out) {
    TKelSound sound;
    if (const TKelEventScriptLine* start = StartingLine(edited, kPlaySoundCode)) {
        sound.Name = start->Text;
        sound.Volume = Within(start->Param(0), 0, 100);
        sound.Tempo = Within(start->Param(1), 50, 150);
        sound.Balance = Within(start->Param(2), 0, 100);
    }
    if (!choosers.ChooseSound(sound, CaptionOf(kPlaySoundCode)))
        return false;
    out = MakeLine(kPlaySoundCode, sound.Name, {sound.Volume, sound.Tempo, sound.Balance});
    return true;
}

bool RunBattleBackground(const TKelEventScriptList& edited, IEventChoosers& choosers, TKelEventScriptLine& out) {
    const TKelEventScriptLine* start = StartingLine(edited, kBattleBackgroundCode);
    std::string name = start ? start->Text : std::string();
    if (!choosers.ChooseResource(TSelKind::Backdrop, name, nullptr, CaptionOf(kBattleBackgroundCode)))
        return false;
    out = MakeLine(kBattleBackgroundCode, name, {});
    return true;
}

}  // namespace

bool IsSelectorCommand(std::int32_t code) {
    switch (code) {
    case kSystemGraphicCode:
    case kTeleportCode:
    case ecMoveCharacter:
    case kPlayMusicCode:
    case kPlaySoundCode:
    case kBattleBackgroundCode: return true;
    default: return false;
    }
}

bool RunSelectorCommand(std::int32_t code, TKelEventScriptList& result, const TEventCommandContext& context) {
    if (!IsSelectorCommand(code) || context.Choosers == nullptr)
        return false;
    IEventChoosers& choosers = *context.Choosers;
    TKelEventScriptLine line;
    bool chosen = false;
    switch (code) {
    case kSystemGraphicCode: chosen = RunSystemGraphic(result, choosers, line); break;
    case kTeleportCode: chosen = RunTeleport(result, context, choosers, line); break;
    case ecMoveCharacter: chosen = RunMoveCharacter(result, context, choosers, line); break;
    case kPlayMusicCode: chosen = RunMusic(result, choosers, line); break;
    case kPlaySoundCode: chosen = RunSound(result, choosers, line); break;
    case kBattleBackgroundCode: chosen = RunBattleBackground(result, choosers, line); break;
    default: break;
    }
    if (!chosen)
        return false;
    Remembered(code) = line;
    result.Clear();
    result.Add(std::make_unique<TKelEventScriptLine>(line));
    return true;
}

TMapPlaceRequest InitialTeleportPlace(const TKelEventScriptList& edited, const TEventCommandContext& context) {
    TMapPlaceRequest place;
    const TKelMapTreeItem* current = nullptr;
    if (context.MapTree) {
        place.MapId = context.MapTree->CurrentMapId;
        current = context.MapTree->FindByID(place.MapId);
    }
    if (const TKelEventScriptLine* line = EditedLine(edited, kTeleportCode)) {
        place.MapId = line->Param(0);
        place.X = line->Param(1);
        place.Y = line->Param(2);
    } else if (context.EventItem) {
        place.X = context.EventItem->X;
        place.Y = context.EventItem->Y;
    } else if (current) {
        place.X = current->ScrollX / 32 + 9;
        place.Y = current->ScrollY / 32 + 7;
        if (context.Map) {
            place.X = std::min(place.X, context.Map->Width() - 1);
            place.Y = std::min(place.Y, context.Map->Height() - 1);
        }
        place.X = std::max(place.X, 0);
        place.Y = std::max(place.Y, 0);
    }
    const bool known = place.MapId > 0 && context.MapTree && context.MapTree->FindByID(place.MapId);
    if (!known) {
        place.X = -1;
        place.Y = -1;
    }
    return place;
}

void MoveRouteOfLine(const TKelEventScriptList& edited, TMoveRouteRequest& request) {
    request.CommandMode = true;
    request.Route.Reset();
    const TKelEventScriptLine* line = EditedLine(edited, ecMoveCharacter);
    if (!line) {
        // A new command: the last target and frequency, a route that runs once.
        const TKelEventScriptLine& last = Remembered(ecMoveCharacter);
        if (last.Code == ecMoveCharacter) {
            request.Target = last.Param(0);
            request.Frequency = Within(last.Param(1), 1, 8);
        }
        request.Route.Repeat = 0;
        request.Route.Skippable = 0;
        return;
    }
    // A damaged payload opens with the commands before the damage.
    MoveRouteRequestFromLine(*line, request);
}

TKelEventScriptLine MoveRouteLine(const TMoveRouteRequest& request) {
    TKelEventScriptLine line;
    MoveRouteRequestToLine(request, line);
    return line;
}

void ForgetSelectorCommandSettings() { TLastUsed::Forget(kRememberedPrefix); }

}  // namespace quillon
