// Saving commands: "Call Save Menu" opens the save screen (the script goes on after it closes).
// "Enable/Disable Save" is one of the map's permissions (RtCmdMapState.cpp).
#include "data/LD_Event.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/Interpreter.h"

namespace quillon::runtime {

TStep RunSaveCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::CallSaveMenu:
        session.OpenSaveScreen();
        return TStep::Yield;
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
