// The commands that change the map and what the player may do: password keys, chipset, panorama,
// encounters, chips, teleport and escape places, the save, menu, escape and teleport permissions,
// stopping the parallel events; and, until their scenes exist, the commands that open scenes
// (battle, shop, inn, name entry, save menu, menu), which go on along their "success" branch.
#include "data/CommandCode.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "runtime/GameMapState.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <algorithm>
#include <string>

namespace quillon::runtime {

namespace {

// The keys "Enter Password" may accept, in the order of the line's flags (parameters 3..9), and
// the number each one puts into the variable.
struct TPasswordKey {
    TGameButton Button;
    std::int32_t Number;
};
constexpr TPasswordKey kPasswordKeys[] = {{gbDecide, 5}, {gbCancel, 6}, {gbShift, 7}, {gbDown, 1},
                                          {gbLeft, 2},   {gbRight, 3},  {gbUp, 4}};
constexpr int kPasswordFirstFlag = 3;
constexpr std::int32_t kMaxEncounterSteps = 9999;

TStep EnterPassword(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const bool wait = line.Param(1) != 0;
    // A key that went down in the step the command began (the decide key that started the
    // event) is not its answer.
    std::int32_t key = 0;
    if (!wait || in.Retries() > 0)
        for (int i = 0; i < static_cast<int>(std::size(kPasswordKeys)); ++i)
            if (line.Param(kPasswordFirstFlag + i) != 0 && session.Input().Pressed(kPasswordKeys[i].Button)) {
                key = kPasswordKeys[i].Number;
                break;
            }
    if (wait && key == 0)
        return TStep::Retry;
    session.State().SetVariable(line.Param(0), key);
    return TStep::Next;
}

// Whether (map, x, y) is a cell of a map of the project; reports the refusal.
bool CheckPlace(TGameSession& session, const char* command, const TMapPlace& place) {
    std::string error;
    if (!session.PlaceExists(place, error)) {
        session.Report(std::string(command) + ": " + error + "; skipped");
        return false;
    }
    return true;
}

TStep SetTeleportPlace(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    auto& places = session.MapState().TeleportPlaces;
    if (line.Param(0) == 1) {
        places.erase(line.Param(1));
        return TStep::Next;
    }
    const TTeleportPlace place{{line.Param(1), line.Param(2), line.Param(3)}, line.Param(4) != 0 ? line.Param(5) : 0};
    if (CheckPlace(session, "Place of Teleport", place.Place))
        places[place.Place.MapId] = place;
    return TStep::Next;
}

TStep SetEscapePlace(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const TTeleportPlace place{{line.Param(0), line.Param(1), line.Param(2)}, line.Param(3) != 0 ? line.Param(4) : 0};
    if (CheckPlace(session, "Place Escape Area", place.Place))
        session.MapState().EscapePlace = place;
    return TStep::Next;
}

}  // namespace

TStep RunMapStateCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameMapState& state = session.MapState();
    TGameWorld& world = session.World();
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::EnterPassword: return EnterPassword(in, line);
    case TCommandCode::ChangeChipSet:
        if (!world.ChangeChipSet(line.Param(0)))
            session.Report("Change ChipSet: there is no chipset " + std::to_string(line.Param(0)) + "; skipped");
        return TStep::Next;
    case TCommandCode::ChangePanorama:
        world.ChangePanorama(line.Text, line.Param(0) != 0, line.Param(1) != 0, line.Param(2) != 0, line.Param(3),
                             line.Param(4) != 0, line.Param(5));
        return TStep::Next;
    case TCommandCode::ChangeEncounterRate:
        state.EncounterSteps = std::clamp(line.Param(0), 0, kMaxEncounterSteps);
        return TStep::Next;
    case TCommandCode::ChangeChip: world.SubstituteChip(line.Param(0) == 0, line.Param(1), line.Param(2)); return TStep::Next;
    case TCommandCode::SetTeleportPlace: return SetTeleportPlace(in, line);
    case TCommandCode::EnableTeleport: state.TeleportEnabled = line.Param(0) != 0; return TStep::Next;
    case TCommandCode::SetEscapePlace: return SetEscapePlace(in, line);
    case TCommandCode::EnableEscape: state.EscapeEnabled = line.Param(0) != 0; return TStep::Next;
    case TCommandCode::EnableSave: state.SaveEnabled = line.Param(0) != 0; return TStep::Next;
    case TCommandCode::EnableSystemMenu: state.MenuEnabled = line.Param(0) != 0; return TStep::Next;
    case TCommandCode::StopParallelEvents:
        // The map's parallel events rest until a map is entered; a parallel script that asked
        // for it ends with them.
        state.ParallelsStopped = true;
        session.StopMapParallels();
        return TStep::Next;
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
