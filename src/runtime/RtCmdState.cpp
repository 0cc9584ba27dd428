// The commands that change the game's state: switches, variables, money and items.
#include "data/LD_Event.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"
#include "data/CommandCode.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillon::runtime {

namespace {

// The IDs a switch or variable command names: one, a range, or the one a variable holds.
std::vector<int> Targets(TInterpreter& in, const TKelEventScriptLine& line) {
    std::vector<int> ids;
    switch (line.Param(0)) {
    case 0: ids.push_back(line.Param(1)); break;
    case 1: {
        const int from = std::max(line.Param(1), 1);
        const int to = std::min(line.Param(2), kMaxStateId);
        for (int id = from; id <= to; ++id)
            ids.push_back(id);
        break;
    }
    case 2: ids.push_back(in.Session().State().Variable(line.Param(1))); break;
    default: break;
    }
    return ids;
}

TStep ChangeSwitch(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    for (const int id : Targets(in, line)) {
        switch (line.Param(3)) {
        case 0: state.SetSwitch(id, true); break;
        case 1: state.SetSwitch(id, false); break;
        case 2: state.SetSwitch(id, !state.Switch(id)); break;
        default: break;
        }
    }
    return TStep::Next;
}

std::int32_t CharacterValue(TInterpreter& in, std::int32_t characterId, std::int32_t which) {
    TGameSession& session = in.Session();
    const TGameCharacter* character = session.Character(characterId, in.EventId());
    if (character == nullptr)
        return 0;
    const TGameWorld& world = session.World();
    switch (which) {
    case 0: return world.MapId();
    case 1: return character->X;
    case 2: return character->Y;
    case 3: return character->Direction;
    // The screen position of the character's foot: the middle of its cell's bottom.
    case 4: return character->PixelX() - world.CameraX() + kCellPixels / 2;
    case 5: return character->PixelY() - world.CameraY() + kCellPixels;
    default: return 0;
    }
}

std::int32_t OtherValue(TInterpreter& in, std::int32_t which) {
    const TGameState& state = in.Session().State();
    switch (which) {
    case 0: return state.Money();
    case 1: return state.TimerSeconds();
    case 2: return static_cast<std::int32_t>(state.Party().size());
    default: return 0;  // saves, battles and the music's position come later
    }
}

std::int32_t Operand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TGameState& state = session.State();
    const std::int32_t a = line.Param(5);
    const std::int32_t b = line.Param(6);
    switch (line.Param(4)) {
    case 0: return a;
    case 1: return state.Variable(a);
    case 2: return state.Variable(state.Variable(a));
    case 3: return session.Random().Between(a, b);
    case 4: return b == 0 ? state.ItemCount(a) : state.EquippedCount(a);
    case 5: return state.HeroValue(a, b);
    case 6: return CharacterValue(in, a, b);
    case 7: return OtherValue(in, a);
    default: return 0;  // enemies: only in battles
    }
}

TStep ChangeVariable(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    for (const int id : Targets(in, line)) {
        // Each variable of a range draws its own random number.
        const std::int64_t operand = Operand(in, line);
        const std::int64_t value = state.Variable(id);
        switch (line.Param(3)) {
        case 0: state.SetVariable(id, operand); break;
        case 1: state.SetVariable(id, value + operand); break;
        case 2: state.SetVariable(id, value - operand); break;
        case 3: state.SetVariable(id, value * operand); break;
        case 4:
            if (operand != 0)
                state.SetVariable(id, value / operand);
            break;
        case 5:
            if (operand != 0)
                state.SetVariable(id, value % operand);
            break;
        default: break;
        }
    }
    return TStep::Next;
}

TStep ChangeMoney(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    const std::int64_t amount = AmountValue(in, line.Param(1), line.Param(2));
    state.SetMoney(line.Param(0) == 0 ? state.Money() + amount : state.Money() - amount);
    return TStep::Next;
}

TStep ChangeItem(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameState& state = in.Session().State();
    const std::int32_t item = line.Param(1) == 0 ? line.Param(2) : state.Variable(line.Param(2));
    const std::int64_t amount = AmountValue(in, line.Param(3), line.Param(4));
    const std::int64_t held = state.ItemCount(item);
    state.SetItemCount(item, line.Param(0) == 0 ? held + amount : held - amount);
    return TStep::Next;
}

}  // namespace

std::int32_t AmountValue(TInterpreter& in, std::int32_t kind, std::int32_t value) {
    return kind == 0 ? value : in.Session().State().Variable(value);
}

TStep RunStateCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::ChangeSwitch: return ChangeSwitch(in, line);
    case TCommandCode::ChangeVariable: return ChangeVariable(in, line);
    case TCommandCode::ChangeMoney: return ChangeMoney(in, line);
    case TCommandCode::ChangeItemAmount: return ChangeItem(in, line);
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
