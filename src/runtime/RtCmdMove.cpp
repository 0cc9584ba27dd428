// The commands that move: teleport, move routes and the waits for them, and the plain wait.
#include "data/LD_Event.h"
#include "data/LD_MoveRoute.h"
#include "data/StreamUtils.h"
#include "data/LD_MapTree.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"
#include "data/CommandCode.h"

#include <exception>
#include <string>
#include <vector>

namespace quillon::runtime {

namespace {

constexpr int kRouteFirstParam = 4;

TStep Teleport(TInterpreter& in, const TKelEventScriptLine& line) {
    // The screen is erased first (the line runs again when the transition is done) and shown after.
    // A map the tree does not hold is refused below without a flicker.
    TGameScreen& screen = in.Session().Screen();
    const bool known = in.Session().Project().MapTree().FindByID(line.Param(0)) != nullptr;
    if (const int frames = known ? screen.BeginTeleport() : 0; frames > 0) {
        in.WaitFrames(frames - 1);
        return TStep::Retry;
    }
    std::string error;
    if (!in.Session().Teleport(line.Param(0), line.Param(1), line.Param(2), error))
        in.Session().Report("Teleport: " + error + "; skipped");
    screen.EndTeleport();
    return TStep::Yield;
}

TStep MoveCharacter(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameCharacter* character = session.Character(line.Param(0), in.EventId());
    if (character == nullptr)
        return TStep::Next;
    // The route's bytes, one per parameter.
    std::string bytes;
    for (int i = kRouteFirstParam; i < line.ParamCount(); ++i)
        bytes += static_cast<char>(line.Param(i) & 0xFF);
    std::vector<TKelMoveRouteItem> items;
    try {
        TByteViewStream stream(bytes);
        LoadMoveRouteItems(stream, items);
    } catch (const std::exception&) {
        session.Report("Move Character: the route is damaged; skipped");
        return TStep::Next;
    }
    character->StartRoute(std::move(items), line.Param(2) != 0, line.Param(3) != 0, true, line.Param(1));
    return TStep::Next;
}

}  // namespace

TStep RunMoveCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::Teleport: return Teleport(in, line);
    case TCommandCode::SetMoveRoute: return MoveCharacter(in, line);
    case TCommandCode::WaitUntilMoved: return in.Session().World().AnyForcedRoute() ? TStep::Retry : TStep::Next;
    case TCommandCode::Wait:
        in.WaitFrames(std::max(line.Param(0), 0) * kStepsPerTenth);
        return TStep::Yield;
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
