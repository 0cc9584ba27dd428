#include "events/EvCmdSelector.h"

#include "controls/LastUsed.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_System.h"
#include "events/ED_MoveRoute.h"
#include "events/EventCommands.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <set>
#include <string>

namespace quillon {

namespace {

constexpr const char* kRememberedPrefix = "EvCmdSelector.";

// The line of the last OK of a command, kept for the run (code 0 before the first).
TKelEventScriptLine& Remembered(TCommandCode code) {
    return TLastUsed::Value<TKelEventScriptLine>(kRememberedPrefix + std::to_string(ToInt(code)));
}

// The edited command's line, or nullptr when a new command is made.
const TKelEventScriptLine* EditedLine(const TKelEventScriptList& edited, TCommandCode code) {
    const TKelEventScriptLine* first = edited.Count() > 0 ? edited.Lines(0) : nullptr;
    return first && first->Code == code ? first : nullptr;
}

// What a selector starts from: the edited line, else the last one written, else nothing.
const TKelEventScriptLine* StartingLine(const TKelEventScriptList& edited, TCommandCode code) {
    if (const TKelEventScriptLine* line = EditedLine(edited, code))
        return line;
    const TKelEventScriptLine& last = Remembered(code);
    return last.Code == code ? &last : nullptr;
}

std::string CaptionOf(TCommandCode code) {
    const TEventCommandInfo* info = FindEventCommand(ToInt(code));
    return info ? info->Caption : "";
}

TKelEventScriptLine MakeLine(TCommandCode code, std::string text, std::initializer_list<std::int32_t> params) {
    TKelEventScriptLine line;
    line.Code = ToInt(code);
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
    const TKelEventScriptLine* start = StartingLine(edited, TCommandCode::ChangeSystemGraphic);
    std::string name = start ? start->Text : std::string();
    std::int32_t wallpaper = start ? Within(start->Param(0), 0, 1) : 0;
    std::int32_t font = start ? Within(start->Param(1), 0, 1) : 0;
    if (!choosers.ChooseSystemGraphic(name, wallpaper, font, CaptionOf(TCommandCode::ChangeSystemGraphic)))
        return false;
    out = MakeLine(TCommandCode::ChangeSystemGraphic, name, {Within(wallpaper, 0, 1), Within(font, 0, 1)});
    return true;
}

bool RunTeleport(const TKelEventScriptList& edited, const TEventCommandContext& context, IEventChoosers& choosers,
                 TKelEventScriptLine& out) {
    TMapPlaceRequest place = InitialTeleportPlace(edited, context);
    if (!choosers.ChoosePlace(place))
        return false;
    out = MakeLine(TCommandCode::Teleport, "", {place.MapId, place.X, place.Y});
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
    if (const TKelEventScriptLine* start = StartingLine(edited, TCommandCode::PlayBgm)) {
        music.Name = start->Text;
        music.FadeIn = Within(start->Param(0), 0, 10000);
        music.Volume = Within(start->Param(1), 0, 100);
        music.Tempo = Within(start->Param(2), 50, 150);
        music.Balance = Within(start->Param(3), 0, 100);
    }
    if (!choosers.ChooseMusic(music, CaptionOf(TCommandCode::PlayBgm)))
        return false;
    out = MakeLine(TCommandCode::PlayBgm, music.Name, {music.FadeIn, music.Volume, music.Tempo, music.Balance});
    return true;
}

bool RunSound(const TKelEventScriptList& edited, IEventChoosers& choosers, TKelEventScriptLine& out) {
    TKelSound sound;
    if (const TKelEventScriptLine* start = StartingLine(edited, TCommandCode::PlaySoundEffect)) {
        sound.Name = start->Text;
        sound.Volume = Within(start->Param(0), 0, 100);
        sound.Tempo = Within(start->Param(1), 50, 150);
        sound.Balance = Within(start->Param(2), 0, 100);
    }
    if (!choosers.ChooseSound(sound, CaptionOf(TCommandCode::PlaySoundEffect)))
        return false;
    out = MakeLine(TCommandCode::PlaySoundEffect, sound.Name, {sound.Volume, sound.Tempo, sound.Balance});
    return true;
}

bool RunBattleBackground(const TKelEventScriptList& edited, IEventChoosers& choosers, TKelEventScriptLine& out) {
    const TKelEventScriptLine* start = StartingLine(edited, TCommandCode::ChangeBattleBackground);
    std::string name = start ? start->Text : std::string();
    if (!choosers.ChooseResource(TSelKind::Backdrop, name, nullptr, CaptionOf(TCommandCode::ChangeBattleBackground)))
        return false;
    out = MakeLine(TCommandCode::ChangeBattleBackground, name, {});
    return true;
}

// The selectors answered from key=value settings: each picker takes the settings it knows and
// leaves the rest as the selector starts; a setting nobody took is an error.
class TKeyedChoosers final : public IEventChoosers {
public:
    explicit TKeyedChoosers(const std::vector<std::pair<std::string, std::string>>& values) : mValues(values) {}

    // The first error met, or a setting that no picker took.
    bool Finish(std::string& error) const {
        if (!mError.empty()) {
            error = mError;
            return false;
        }
        for (const auto& [key, value] : mValues)
            if (!mTaken.contains(key)) {
                error = "unknown setting '" + key + "'";
                return false;
            }
        return true;
    }

    bool ChooseSwitch(std::int32_t&) override { return false; }
    bool ChooseVariable(std::int32_t&) override { return false; }
    bool ChooseResource(TSelKind, std::string& name, std::int32_t*, const std::string&) override {
        Text("file", name);
        return mError.empty();
    }
    bool ChooseSystemGraphic(std::string& name, std::int32_t& wallpaper, std::int32_t& font,
                             const std::string&) override {
        Text("file", name);
        Number("wallpaper", wallpaper, 0, 1);
        Number("font", font, 0, 1);
        return mError.empty();
    }
    bool ChooseEventGraphic(std::string&, std::int32_t&, std::int32_t&, std::int32_t&) override { return false; }
    bool ChooseMusic(TKelMusic& music, const std::string&) override {
        Text("file", music.Name);
        Number("fade", music.FadeIn, 0, 10000);
        Number("volume", music.Volume, 0, 100);
        Number("tempo", music.Tempo, 50, 150);
        Number("balance", music.Balance, 0, 100);
        return mError.empty();
    }
    bool ChooseSound(TKelSound& sound, const std::string&) override {
        Text("file", sound.Name);
        Number("volume", sound.Volume, 0, 100);
        Number("tempo", sound.Tempo, 50, 150);
        Number("balance", sound.Balance, 0, 100);
        return mError.empty();
    }
    void ListenToMusic() override {}
    bool EditMoveRoute(TMoveRouteRequest& request, const TEventCommandContext&) override {
        Number("target", request.Target, 1, kCharacterThisEvent);
        Number("frequency", request.Frequency, 1, 8);
        Number("repeat", request.Route.Repeat, 0, 1);
        Number("skippable", request.Route.Skippable, 0, 1);
        return mError.empty();
    }
    bool ChoosePlace(TMapPlaceRequest& place) override {
        Number("map", place.MapId, 1, 9999);
        Number("x", place.X, 0, 9999);
        Number("y", place.Y, 0, 9999);
        if (mError.empty() && (place.MapId < 1 || place.X < 0 || place.Y < 0))
            mError = "a place needs map, x and y";
        return mError.empty();
    }
    bool DataBaseChanged() const override { return false; }

private:
    const std::string* Find(const std::string& key) {
        for (const auto& [name, value] : mValues)
            if (name == key) {
                mTaken.insert(key);
                return &value;
            }
        return nullptr;
    }
    void Text(const std::string& key, std::string& to) {
        if (const std::string* value = Find(key))
            to = *value;
    }
    template <typename T> void Number(const std::string& key, T& to, std::int32_t low, std::int32_t high) {
        const std::string* value = Find(key);
        if (value == nullptr || !mError.empty())
            return;
        if (const std::optional<std::int32_t> n = ReadNumber32(*value, low, high))
            to = static_cast<T>(*n);
        else
            mError = "'" + *value + "' is not a number from " + std::to_string(low) + " to " + std::to_string(high);
    }

    const std::vector<std::pair<std::string, std::string>>& mValues;
    std::set<std::string> mTaken;
    std::string mError;
};

}  // namespace

bool BuildSelectorCommand(std::int32_t code, const std::vector<std::pair<std::string, std::string>>& values,
                          const TEventCommandContext& context, TKelEventScriptList& result, std::string& error) {
    if (!IsSelectorCommand(code)) {
        error = "command " + std::to_string(code) + " has no selector";
        return false;
    }
    TKeyedChoosers choosers(values);
    TEventCommandContext keyed = context;
    keyed.Choosers = &choosers;
    TKelEventScriptList lines;
    lines.Assign(result);
    const bool chosen = RunSelectorCommand(code, lines, keyed);
    if (!choosers.Finish(error))
        return false;
    if (!chosen) {
        error = "command " + std::to_string(code) + " was not built";
        return false;
    }
    result.Assign(lines);
    return true;
}

bool IsSelectorCommand(std::int32_t code) {
    switch (ToCommandCode(code)) {
    case TCommandCode::ChangeSystemGraphic:
    case TCommandCode::Teleport:
    case TCommandCode::SetMoveRoute:
    case TCommandCode::PlayBgm:
    case TCommandCode::PlaySoundEffect:
    case TCommandCode::ChangeBattleBackground: return true;
    default: return false;
    }
}

bool RunSelectorCommand(std::int32_t code, TKelEventScriptList& result, const TEventCommandContext& context) {
    if (!IsSelectorCommand(code) || context.Choosers == nullptr)
        return false;
    IEventChoosers& choosers = *context.Choosers;
    TKelEventScriptLine line;
    bool chosen = false;
    switch (ToCommandCode(code)) {
    case TCommandCode::ChangeSystemGraphic: chosen = RunSystemGraphic(result, choosers, line); break;
    case TCommandCode::Teleport: chosen = RunTeleport(result, context, choosers, line); break;
    case TCommandCode::SetMoveRoute: chosen = RunMoveCharacter(result, context, choosers, line); break;
    case TCommandCode::PlayBgm: chosen = RunMusic(result, choosers, line); break;
    case TCommandCode::PlaySoundEffect: chosen = RunSound(result, choosers, line); break;
    case TCommandCode::ChangeBattleBackground: chosen = RunBattleBackground(result, choosers, line); break;
    default: break;
    }
    if (!chosen)
        return false;
    Remembered(ToCommandCode(code)) = line;
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
    if (const TKelEventScriptLine* line = EditedLine(edited, TCommandCode::Teleport)) {
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
    const TKelEventScriptLine* line = EditedLine(edited, TCommandCode::SetMoveRoute);
    if (!line) {
        // A new command: the last target and frequency, a route that runs once.
        const TKelEventScriptLine& last = Remembered(TCommandCode::SetMoveRoute);
        if (last.Code == TCommandCode::SetMoveRoute) {
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
