// The battle commands: Start Battle with its victory, escape and defeat cases, and the commands of
// the troops' battle event pages (the enemies' HP, MP, conditions and appearance, the backdrop,
// battle animations, the battle fork, interrupting the battle).
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "runtime/BattleScene.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/Interpreter.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

// The battle a page command works on; null (the command is skipped) outside a battle.
TGameBattle* CurrentBattle(TInterpreter& in) {
    TGameSession& session = in.Session();
    return session.InBattle() && session.Battle() ? &session.Battle()->Battle() : nullptr;
}

// After the battle: on to the case of the result, or past the whole block when it has none.
TStep ToCase(TInterpreter& in, const TKelEventScriptLine& line, TBattleResult result) {
    const bool hasCases = line.Param(3) == 2 || line.Param(4) == 1;
    if (!hasCases)
        return TStep::Next;
    TCommandCode wanted = TCommandCode::BattleVictory;
    if (result == TBattleResult::Escape)
        wanted = TCommandCode::BattleEscape;
    else if (result == TBattleResult::Defeat)
        wanted = TCommandCode::BattleDefeat;
    const int found = in.FindForward(in.Pc(), line.Indent, {wanted});
    const int end = in.FindForward(in.Pc(), line.Indent, {TCommandCode::BattleEnd});
    if (found >= 0 && (end < 0 || found < end)) {
        in.SetPc(found + 1);
        return TStep::Jumped;
    }
    if (end < 0)
        return TStep::Stop;
    in.SetPc(end + 1);
    return TStep::Jumped;
}

TStep StartBattle(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    TBattleResult result = TBattleResult::None;
    if (session.TakeBattleResult(&line, result))
        return ToCase(in, line, result);
    if (session.InBattle())
        return TStep::Retry;
    TBattleSetup setup;
    setup.TroopId = line.Param(0) == 0 ? line.Param(1) : session.State().Variable(line.Param(1));
    setup.EscapeAllowed = line.Param(3) != 0;
    setup.FirstStrike = line.Param(5) == 1;
    if (session.Project().Database().MonGroup.FindByID(setup.TroopId) == nullptr) {
        session.Report("Start Battle: troop " + std::to_string(setup.TroopId) + " does not exist; skipped");
        return ToCase(in, line, TBattleResult::Victory);
    }
    const std::string backdrop = line.Param(2) == 1 ? line.Text : session.TerrainBackdrop(setup.TroopId);
    session.StartBattle(setup, backdrop, &line, line.Param(4) == 1);
    return TStep::Retry;
}

// The amount of a "Change Enemy HP/MP": kind 0 a number, 1 a variable, 2 percent of the maximum.
std::int32_t EnemyAmount(TInterpreter& in, const TKelEventScriptLine& line, std::int32_t maximum) {
    if (line.Param(2) == 2)
        return static_cast<std::int32_t>(static_cast<std::int64_t>(maximum) * std::clamp(line.Param(3), 0, 100) / 100);
    return std::clamp(AmountValue(in, line.Param(2), line.Param(3)), -kMaxVariable, kMaxVariable);
}

// An enemy's maximum HP (or MP); 0 for no single enemy.
std::int32_t EnemyMaximum(const TGameBattle& battle, int enemy, bool hp) {
    const auto& monsters = battle.Monsters();
    if (enemy < 0 || enemy >= static_cast<int>(monsters.size()))
        return 0;
    const TBattler& monster = monsters[static_cast<std::size_t>(enemy)];
    return hp ? monster.MaxHp : monster.MaxMp;
}

TStep BattleFork(TInterpreter& in, const TKelEventScriptLine& line, const TGameBattle* battle) {
    bool met = false;
    switch (line.Param(0)) {
    case 0:
    case 1: met = ForkCondition(in, line); break;
    case 2:
        if (const TBattler* hero = battle ? battle->HeroById(line.Param(1)) : nullptr)
            met = battle->CanAct(*hero);
        break;
    case 3: {
        if (battle == nullptr)
            break;
        const auto& monsters = battle->Monsters();
        const int index = line.Param(1);
        met = index >= 0 && index < static_cast<int>(monsters.size()) && battle->CanAct(monsters[static_cast<std::size_t>(index)]);
        break;
    }
    default: break;
    }
    if (met)
        return TStep::Next;
    const int other = in.FindForward(in.Pc(), line.Indent, {TCommandCode::BattleBranchElse, TCommandCode::BattleBranchEnd});
    if (other < 0)
        return TStep::Stop;
    in.SetPc(other + 1);
    return TStep::Jumped;
}

}  // namespace

TStep RunBattleCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    const TCommandCode code = ToCommandCode(line.Code);
    if (code == TCommandCode::StartBattle)
        return StartBattle(in, line);
    if (code == TCommandCode::BattleBranchEnd)
        return TStep::Next;
    if (code == TCommandCode::BattleBranchElse) {
        // The branch taken ends here.
        const int end = in.FindForward(in.Pc(), line.Indent, {TCommandCode::BattleBranchEnd});
        if (end < 0)
            return TStep::Stop;
        in.SetPc(end + 1);
        return TStep::Jumped;
    }
    TGameBattle* battle = CurrentBattle(in);
    if (code == TCommandCode::BattleBranch)
        return BattleFork(in, line, battle);
    if (battle == nullptr) {
        in.Session().Report("a battle command outside a battle; skipped");
        return TStep::Next;
    }
    const int enemy = line.Param(0);
    switch (code) {
    case TCommandCode::ChangeEnemyHp: {
        const std::int32_t amount = EnemyAmount(in, line, EnemyMaximum(*battle, enemy, true));
        battle->ChangeMonsterHp(enemy, line.Param(1) == 0 ? amount : -amount, line.Param(4) == 0);
        return TStep::Next;
    }
    case TCommandCode::ChangeEnemyMp: {
        const std::int32_t amount = EnemyAmount(in, line, EnemyMaximum(*battle, enemy, false));
        battle->ChangeMonsterMp(enemy, line.Param(1) == 0 ? amount : -amount);
        return TStep::Next;
    }
    case TCommandCode::ChangeEnemyCondition:
        battle->ChangeMonsterCondition(enemy, line.Param(2), line.Param(1) == 0);
        return TStep::Next;
    case TCommandCode::EnemyAppears: battle->ShowMonster(enemy); return TStep::Next;
    case TCommandCode::ChangeBattleBackground: in.Session().Battle()->SetBackdrop(line.Text); return TStep::Next;
    case TCommandCode::ShowBattleAnimationInBattle:
        in.Session().Battle()->ShowAnimation(line.Param(0), line.Param(1), line.Param(2) == 1);
        if (line.Param(2) == 1)
            in.WaitFrames(in.Session().Battle()->AnimationFramesLeft());
        return TStep::Next;
    case TCommandCode::StopBattle:
        battle->Interrupt();
        return TStep::Stop;
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
