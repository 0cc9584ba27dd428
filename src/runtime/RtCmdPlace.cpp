// The commands about places and characters: memorized places, vehicles, events put on cells or
// swapped, what stands on a cell, the hero's transparency, flashes and the end of all movement.
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

// A cell given as numbers (kind 0) or by the variables that hold them (kind 1).
TMapPlace CellOf(TInterpreter& in, std::int32_t kind, std::int32_t x, std::int32_t y) {
    TGameState& state = in.Session().State();
    return kind == 1 ? TMapPlace{0, state.Variable(x), state.Variable(y)} : TMapPlace{0, x, y};
}

TStep MemorizePlace(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const TGameHero& hero = session.World().Hero();
    const TMapPlace place{session.World().MapId(), hero.X, hero.Y};
    session.State().SetVariable(line.Param(0), place.MapId);
    session.State().SetVariable(line.Param(1), place.X);
    session.State().SetVariable(line.Param(2), place.Y);
    session.MapState().Memorized = place;
    return TStep::Next;
}

TStep TeleportToMemorized(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const TGameState& state = session.State();
    std::string error;
    if (!session.Teleport(state.Variable(line.Param(0)), state.Variable(line.Param(1)), state.Variable(line.Param(2)),
                          error)) {
        session.Report("Teleport to Memorized Place: " + error + "; skipped");
        return TStep::Next;
    }
    return TStep::Yield;
}

TStep PlaceVehicle(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const int kind = line.Param(0);
    if (kind < 0 || kind >= kVehicleCount)
        return TStep::Next;
    TMapPlace place = CellOf(in, line.Param(1), line.Param(3), line.Param(4));
    place.MapId = line.Param(1) == 1 ? session.State().Variable(line.Param(2)) : line.Param(2);
    std::string error;
    if (session.World().Riding() == kind)
        error = std::string("the hero rides the ") + VehicleName(kind);
    if (!error.empty() || !session.PlaceExists(place, error)) {
        session.Report("Placement of Vehicle: " + error + "; skipped");
        return TStep::Next;
    }
    TGameVehicle& vehicle = session.World().Vehicle(kind);
    vehicle.MapId = place.MapId;
    vehicle.PlaceAt(place.X, place.Y);
    if (place.MapId == session.World().MapId())
        session.World().UseCharSet(vehicle.CharSet);
    return TStep::Next;
}

TStep PlaceEvent(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameCharacter* character = session.Character(line.Param(0), in.EventId());
    if (character == nullptr)
        return TStep::Next;
    const TMapPlace cell = CellOf(in, line.Param(1), line.Param(2), line.Param(3));
    if (!session.World().InMap(cell.X, cell.Y)) {
        session.Report("Place of Event: the cell (" + std::to_string(cell.X) + ", " + std::to_string(cell.Y) +
                       ") lies outside the map; skipped");
        return TStep::Next;
    }
    session.World().PlaceCharacter(*character, cell.X, cell.Y);
    return TStep::Next;
}

TStep ExchangePlaces(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameCharacter* first = session.Character(line.Param(0), in.EventId());
    TGameCharacter* second = session.Character(line.Param(1), in.EventId());
    if (first == nullptr || second == nullptr || first == second)
        return TStep::Next;
    const int x = first->X;
    const int y = first->Y;
    session.World().PlaceCharacter(*first, second->X, second->Y);
    session.World().PlaceCharacter(*second, x, y);
    return TStep::Next;
}

// Get Terrain ID and Get Event ID: what lies at a cell into a variable (0 outside the map).
TStep ReadCell(TInterpreter& in, const TKelEventScriptLine& line, bool terrain) {
    TGameWorld& world = in.Session().World();
    const TMapPlace cell = CellOf(in, line.Param(0), line.Param(1), line.Param(2));
    const std::int32_t value = terrain ? world.TerrainIdAt(cell.X, cell.Y) : world.EventIdAt(cell.X, cell.Y);
    in.Session().State().SetVariable(line.Param(3), value);
    return TStep::Next;
}

TStep ChangeVehicleGraphic(TInterpreter& in, const TKelEventScriptLine& line) {
    const int kind = line.Param(0);
    if (kind < 0 || kind >= kVehicleCount)
        return TStep::Next;
    TGameVehicle& vehicle = in.Session().World().Vehicle(kind);
    vehicle.CharSet = line.Text;
    vehicle.CharIndex = std::clamp(line.Param(1), 0, 7);
    in.Session().World().UseCharSet(vehicle.CharSet);
    return TStep::Next;
}

TStep FlashCharacter(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameCharacter* character = in.Session().Character(line.Param(0), in.EventId());
    if (character == nullptr)
        return TStep::Next;
    const int frames = std::clamp(line.Param(5), 0, 1000) * kStepsPerTenth;
    character->FlashRed = std::clamp(line.Param(1), 0, 31);
    character->FlashGreen = std::clamp(line.Param(2), 0, 31);
    character->FlashBlue = std::clamp(line.Param(3), 0, 31);
    character->FlashPower = std::clamp(line.Param(4), 0, 31);
    character->FlashLeft = character->FlashTotal = frames;
    if (line.Param(6) != 0 && frames > 0) {
        in.WaitFrames(frames);
        return TStep::Yield;
    }
    return TStep::Next;
}

}  // namespace

TStep RunPlaceCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::MemorizePlace: return MemorizePlace(in, line);
    case TCommandCode::GoToMemorizedPlace: return TeleportToMemorized(in, line);
    case TCommandCode::RideVehicle: session.ToggleRide(); return TStep::Next;
    case TCommandCode::SetVehiclePlace: return PlaceVehicle(in, line);
    case TCommandCode::SetEventPlace: return PlaceEvent(in, line);
    case TCommandCode::SwapEvents: return ExchangePlaces(in, line);
    case TCommandCode::GetTerrainId: return ReadCell(in, line, true);
    case TCommandCode::GetEventId: return ReadCell(in, line, false);
    case TCommandCode::ChangeVehicleGraphic: return ChangeVehicleGraphic(in, line);
    case TCommandCode::SetHeroTranslucency:
        session.World().Hero().Opacity = line.Param(0) == 0 ? kTranslucentOpacity : 255;
        return TStep::Next;
    case TCommandCode::FlashEvent: return FlashCharacter(in, line);
    case TCommandCode::StopAllMovement: session.World().StopForcedRoutes(); return TStep::Next;
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
