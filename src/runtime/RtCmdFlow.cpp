// The block commands and the commands that steer a script: branches, loops, labels, calls, the
// end of the event's processing, erasing the event, game over and the title.
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"
#include "data/CommandCode.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

bool Compare(std::int32_t a, std::int32_t b, std::int32_t comparison) {
    switch (comparison) {
    case 0: return a == b;
    case 1: return a >= b;
    case 2: return a <= b;
    case 3: return a > b;
    case 4: return a < b;
    case 5: return a != b;
    default: return false;
    }
}

// "At least" (0) or "at most" (1).
bool AtLeastOrMost(std::int32_t value, std::int32_t bound, std::int32_t which) {
    return which == 0 ? value >= bound : value <= bound;
}

bool HeroCondition(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    const std::int32_t heroId = line.Param(1);
    const THeroState* hero = state.Hero(heroId);
    if (hero == nullptr)
        return false;
    const std::int32_t value = line.Param(3);
    switch (line.Param(2)) {
    case 0: return state.InParty(heroId);
    case 1: return hero->Name == line.Text;
    case 2: return hero->Level >= value;
    case 3: return hero->Hp >= value;
    case 4: return hero->Skills.count(value) != 0;
    case 5: return std::find(hero->Equipment.begin(), hero->Equipment.end(), value) != hero->Equipment.end();
    case 6: return hero->Conditions.count(value) != 0;
    default: return false;
    }
}

}  // namespace

bool ForkCondition(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameState& state = session.State();
    switch (line.Param(0)) {
    case 0: return state.Switch(line.Param(1)) == (line.Param(2) == 0);
    case 1: {
        const std::int32_t other = line.Param(2) == 0 ? line.Param(3) : state.Variable(line.Param(3));
        return Compare(state.Variable(line.Param(1)), other, line.Param(4));
    }
    case 2: return AtLeastOrMost(state.TimerSeconds(), line.Param(1), line.Param(2));
    case 3: return AtLeastOrMost(state.Money(), line.Param(1), line.Param(2));
    case 4: {
        const bool has = state.ItemCount(line.Param(1)) + state.EquippedCount(line.Param(1)) > 0;
        return has == (line.Param(2) == 0);
    }
    case 5: return HeroCondition(in, line);
    case 6: {
        const TGameCharacter* character = session.Character(line.Param(1), in.EventId());
        return character != nullptr && character->Direction == line.Param(2);
    }
    case 7: return in.Session().World().Riding() == line.Param(1);
    case 8: return in.StartedByDecision();
    case 9: return session.Audio().MusicPlayedOnce();
    default: return false;
    }
}

namespace {

// Jumps past the companion line that closes the block of the line at pc.
TStep JumpPast(TInterpreter& in, std::initializer_list<TCommandCode> ends) {
    const int end = in.FindForward(in.Pc(), in.Line().Indent, ends);
    if (end < 0)
        return TStep::Stop;  // a damaged block: the script ends rather than run on wrongly
    in.SetPc(end + 1);
    return TStep::Jumped;
}

TStep Fork(TInterpreter& in, const TKelEventScriptLine& line) {
    if (ForkCondition(in, line))
        return TStep::Next;
    const int other = in.FindForward(in.Pc(), line.Indent, {TCommandCode::BranchElse, TCommandCode::BranchEnd});
    if (other < 0)
        return TStep::Stop;
    in.SetPc(other + 1);
    return TStep::Jumped;
}

TStep JumpToLabel(TInterpreter& in, const TKelEventScriptLine& line) {
    for (int i = 0; i < in.LineCount(); ++i) {
        const TKelEventScriptLine* label = in.LineAt(i);
        if (label->Code == ToInt(TCommandCode::Label) && label->Param(0) == line.Param(0)) {
            in.SetPc(i + 1);
            return TStep::Jumped;
        }
    }
    return TStep::Next;  // no such label: go on
}

TStep LoopEnd(TInterpreter& in, const TKelEventScriptLine& line) {
    const int start = in.FindBackward(in.Pc(), line.Indent, TCommandCode::Loop);
    if (start < 0)
        return TStep::Next;
    in.SetPc(start + 1);
    return TStep::Jumped;
}

TStep BreakLoop(TInterpreter& in, const TKelEventScriptLine& line) {
    // The end of the innermost loop around the line: the first loop end of smaller indent.
    for (int i = in.Pc() + 1; i < in.LineCount(); ++i) {
        const TKelEventScriptLine* next = in.LineAt(i);
        if (next->Code == ToInt(TCommandCode::LoopEnd) && next->Indent < line.Indent) {
            in.SetPc(i + 1);
            return TStep::Jumped;
        }
    }
    return TStep::Stop;  // a break outside a loop ends the script
}

TStep EraseEvent(TInterpreter& in) {
    TGameSession& session = in.Session();
    if (in.EventId() == 0 || in.MapId() != session.World().MapId())
        return TStep::Next;
    if (TGameEvent* event = session.World().EventById(in.EventId())) {
        event->Erased = true;
        event->Refresh(session.State(), session.World());
    }
    return TStep::Next;
}

TStep CallEvent(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    const TKelEventScriptList* script = nullptr;
    std::int32_t eventId = 0;
    if (line.Param(0) == 0) {
        script = session.CommonEventScript(line.Param(1));
    } else {
        const bool byVariables = line.Param(0) == 2;
        std::int32_t id = byVariables ? session.State().Variable(line.Param(1)) : line.Param(1);
        const std::int32_t pageId = byVariables ? session.State().Variable(line.Param(2)) : line.Param(2);
        if (id == kCharacterThisEvent)
            id = in.EventId();
        if (in.MapId() == session.World().MapId())
            if (const TGameEvent* event = session.World().EventById(id))
                if (const TKelEventPageItem* page = event->Record().Pages.FindByID(pageId)) {
                    script = &page->Script;
                    eventId = id;
                }
    }
    if (script == nullptr) {
        session.Report("Call Event: the event or page called does not exist; skipped");
        return TStep::Next;
    }
    if (!in.Call(*script, eventId)) {
        session.Report("Call Event: calls nested too deeply; skipped");
        return TStep::Next;
    }
    return TStep::Jumped;
}

// The map leaves by the teleport's erase transition (waited for), then the title comes.
TStep GoToTitle(TInterpreter& in) {
    TGameSession& session = in.Session();
    TGameScreen& screen = session.Screen();
    if (!screen.Transitions().Erased())
        screen.Transitions().Start(true, screen.Transition(tsTeleportErase), session.Random());
    if (screen.Transitions().Running())
        return TStep::Retry;
    session.ToTitle();
    return TStep::Stop;
}

}  // namespace

TStep RunFlowCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::ConditionalBranch: return Fork(in, line);
    case TCommandCode::BranchElse: return JumpPast(in, {TCommandCode::BranchEnd});  // the branch taken ends here
    case TCommandCode::ChoiceCase: return JumpPast(in, {TCommandCode::ChoiceEnd});
    case TCommandCode::BattleVictory:
    case TCommandCode::BattleEscape:
    case TCommandCode::BattleDefeat: return JumpPast(in, {TCommandCode::BattleEnd});
    case TCommandCode::ShopSuccess:
    case TCommandCode::ShopFailure: return JumpPast(in, {TCommandCode::ShopEnd});
    case TCommandCode::InnRest:
    case TCommandCode::InnCancel: return JumpPast(in, {TCommandCode::InnEnd});
    case TCommandCode::Label: return TStep::Next;
    case TCommandCode::JumpToLabel: return JumpToLabel(in, line);
    case TCommandCode::Loop: return TStep::Next;
    case TCommandCode::LoopEnd: return LoopEnd(in, line);
    case TCommandCode::BreakLoop: return BreakLoop(in, line);
    case TCommandCode::EraseEvent: return EraseEvent(in);
    case TCommandCode::CallEvent: return CallEvent(in, line);
    case TCommandCode::GameOver: in.Session().GameOver(); return TStep::Stop;
    case TCommandCode::GoToTitleScreen: return GoToTitle(in);
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
