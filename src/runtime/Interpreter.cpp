#include "runtime/Interpreter.h"

#include "data/LD_Event.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "data/CommandCode.h"

#include <algorithm>

namespace quillon::runtime {

namespace {
// The index a choice's cancel case carries.
constexpr std::int32_t kCancelCase = 4;
}  // namespace

TInterpreter::TInterpreter(TGameSession& session, bool parallel) : mSession(session), mParallel(parallel) {}

TInterpreter::~TInterpreter() = default;

void TInterpreter::Start(const TKelEventScriptList& script, std::int32_t eventId, std::int32_t mapId,
                         std::shared_ptr<const void> owner, bool byDecision) {
    Stop();
    mByDecision = byDecision;
    mFrames.push_back(TFrame{&script, 0, eventId, mapId, std::move(owner)});
}

bool TInterpreter::Call(const TKelEventScriptList& script, std::int32_t eventId, std::shared_ptr<const void> owner) {
    if (static_cast<int>(mFrames.size()) >= kMaxCallDepth)
        return false;
    const std::int32_t mapId = mFrames.empty() ? 0 : mFrames.back().MapId;
    mFrames.push_back(TFrame{&script, 0, eventId, mapId, std::move(owner)});
    return true;
}

void TInterpreter::Stop() {
    mFrames.clear();
    mWaitFrames = 0;
    mPending = TPending::None;
    mQueuedMessages.clear();
}

const TKelEventScriptLine& TInterpreter::Line() const {
    return *mFrames.back().Script->Lines(mFrames.back().Pc);
}

const TKelEventScriptLine* TInterpreter::LineAt(int index) const {
    if (mFrames.empty() || index < 0 || index >= mFrames.back().Script->Count())
        return nullptr;
    return mFrames.back().Script->Lines(index);
}

int TInterpreter::LineCount() const { return mFrames.empty() ? 0 : mFrames.back().Script->Count(); }
int TInterpreter::Pc() const { return mFrames.empty() ? 0 : mFrames.back().Pc; }
void TInterpreter::SetPc(int pc) {
    if (!mFrames.empty())
        mFrames.back().Pc = pc;
}
std::int32_t TInterpreter::EventId() const { return mFrames.empty() ? 0 : mFrames.back().EventId; }
std::int32_t TInterpreter::MapId() const { return mFrames.empty() ? 0 : mFrames.back().MapId; }

std::vector<TInterpreter::TFrameState> TInterpreter::Frames() const {
    std::vector<TFrameState> frames;
    for (const TFrame& frame : mFrames)
        frames.push_back(TFrameState{frame.Script, frame.Pc, frame.EventId, frame.MapId});
    return frames;
}

void TInterpreter::Restore(const std::vector<TFrameState>& frames, bool byDecision, int waitFrames,
                           std::shared_ptr<const void> owner) {
    Stop();
    for (const TFrameState& frame : frames)
        if (frame.Script != nullptr && static_cast<int>(mFrames.size()) < kMaxCallDepth)
            mFrames.push_back(TFrame{frame.Script, frame.Pc, frame.EventId, frame.MapId, owner});
    mByDecision = byDecision;
    mWaitFrames = mFrames.empty() ? 0 : std::max(waitFrames, 0);
}

int TInterpreter::FindForward(int from, int indent, std::initializer_list<TCommandCode> codes) const {
    for (int i = from + 1; i < LineCount(); ++i) {
        const TKelEventScriptLine& line = *LineAt(i);
        if (line.Indent < indent)
            return -1;
        if (line.Indent != indent)
            continue;
        for (const TCommandCode code : codes)
            if (line.Code == ToInt(code))
                return i;
    }
    return -1;
}

int TInterpreter::FindBackward(int from, int indent, TCommandCode code) const {
    for (int i = from - 1; i >= 0; --i) {
        const TKelEventScriptLine& line = *LineAt(i);
        if (line.Indent < indent)
            return -1;
        if (line.Indent == indent && line.Code == ToInt(code))
            return i;
    }
    return -1;
}

void TInterpreter::ShowMessages(std::vector<std::vector<std::string>> windows) {
    if (windows.empty())
        return;
    mSession.Messages().ShowMessage(windows.front(), mSession);
    windows.erase(windows.begin());
    mQueuedMessages.assign(windows.rbegin(), windows.rend());
    mPending = TPending::Message;
}

bool TInterpreter::FinishPending() {
    if (mPending == TPending::None)
        return true;
    if (mSession.MessageBusy())
        return false;
    if (mPending == TPending::Message && !mQueuedMessages.empty()) {
        mSession.Messages().ShowMessage(mQueuedMessages.back(), mSession);
        mQueuedMessages.pop_back();
        return false;
    }
    const TPending pending = mPending;
    mPending = TPending::None;
    if (pending == TPending::Number) {
        mSession.State().SetVariable(mPendingVariable, mSession.NumberResult());
    } else if (pending == TPending::Choice) {
        // The case of the answer: choices 0..3, or the cancel case (index 4).
        const TKelEventScriptLine* opener = LineAt(mPendingPc);
        if (opener == nullptr)
            return true;
        std::int32_t answer = mSession.ChoiceResult();
        if (answer == mPendingCount)
            answer = kCancelCase;
        int at = mPendingPc;
        int target = -1;
        int end = -1;
        while ((at = FindForward(at, opener->Indent, {TCommandCode::ChoiceCase, TCommandCode::ChoiceEnd})) >= 0) {
            if (LineAt(at)->Code == ToInt(TCommandCode::ChoiceEnd)) {
                end = at;
                break;
            }
            if (LineAt(at)->Param(0) == answer && target < 0)
                target = at;
        }
        if (target >= 0)
            SetPc(target + 1);
        else if (end >= 0)
            SetPc(end + 1);
    }
    return true;
}

void TInterpreter::Update() {
    if (mFrames.empty())
        return;
    if (mWaitFrames > 0) {
        --mWaitFrames;
        return;
    }
    if (!FinishPending())
        return;
    for (int budget = kLinesPerStep; budget > 0 && !mFrames.empty(); --budget) {
        TFrame& frame = mFrames.back();
        if (frame.Pc < 0 || frame.Pc >= frame.Script->Count()) {
            // Past the end (a script without its closing line): the called script returns.
            mFrames.pop_back();
            if (!mFrames.empty())
                ++mFrames.back().Pc;
            continue;
        }
        const int pc = frame.Pc;
        const TKelEventScriptLine& line = *frame.Script->Lines(pc);
        const TStep step = Dispatch(line);
        if (mFrames.empty())
            return;
        mRetries = step == TStep::Retry ? mRetries + 1 : 0;
        switch (step) {
        case TStep::Next: SetPc(pc + 1); break;
        case TStep::Jumped: break;
        case TStep::Yield: SetPc(pc + 1); return;
        case TStep::Retry: return;
        case TStep::Stop: Stop(); return;
        }
        if (mWaitFrames > 0 || mPending != TPending::None)
            return;
    }
}

// The one dispatch: each code to the handler of its family; a code no family runs is skipped
// with one line on standard error.
TStep TInterpreter::Dispatch(const TKelEventScriptLine& line) {
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::End:
        // The end of a script: a called script returns to its caller.
        mFrames.pop_back();
        if (mFrames.empty())
            return TStep::Stop;
        ++mFrames.back().Pc;
        return TStep::Jumped;
    case TCommandCode::Empty:
    case TCommandCode::MessageLine:
    case TCommandCode::CommentLine:
    case TCommandCode::Comment:
    case TCommandCode::BranchEnd:
    case TCommandCode::ChoiceEnd:
    case TCommandCode::BattleEnd:
    case TCommandCode::ShopEnd:
    case TCommandCode::InnEnd:
        return TStep::Next;
    case TCommandCode::ConditionalBranch:
    case TCommandCode::BranchElse:
    case TCommandCode::ChoiceCase:
    case TCommandCode::Label:
    case TCommandCode::JumpToLabel:
    case TCommandCode::Loop:
    case TCommandCode::LoopEnd:
    case TCommandCode::BreakLoop:
    case TCommandCode::EraseEvent:
    case TCommandCode::CallEvent:
    case TCommandCode::GameOver:
    case TCommandCode::GoToTitleScreen:
    case TCommandCode::BattleVictory:
    case TCommandCode::BattleEscape:
    case TCommandCode::BattleDefeat:
    case TCommandCode::ShopSuccess:
    case TCommandCode::ShopFailure:
    case TCommandCode::InnRest:
    case TCommandCode::InnCancel:
        return RunFlowCommand(*this, line);
    case TCommandCode::ChangeSwitch:
    case TCommandCode::ChangeVariable:
    case TCommandCode::ChangeMoney:
    case TCommandCode::ChangeItemAmount:
        return RunStateCommand(*this, line);
    case TCommandCode::ShowMessage:
    case TCommandCode::MessageOptions:
    case TCommandCode::SelectFaceGraphic:
    case TCommandCode::ShowChoices:
    case TCommandCode::InputNumber:
        return RunMessageCommand(*this, line);
    case TCommandCode::Teleport:
    case TCommandCode::SetMoveRoute:
    case TCommandCode::WaitUntilMoved:
    case TCommandCode::Wait:
        return RunMoveCommand(*this, line);
    case TCommandCode::PlayBgm:
    case TCommandCode::PlaySoundEffect:
    case TCommandCode::FadeOutBgm:
    case TCommandCode::MemorizeBgm:
    case TCommandCode::PlayMemorizedBgm:
    case TCommandCode::PlayMovie:
    case TCommandCode::ChangeSystemMusic:
    case TCommandCode::ChangeSystemSound:
        return RunSoundCommand(*this, line);
    case TCommandCode::TimerOperation:
    case TCommandCode::ChangeParty:
    case TCommandCode::ChangeExp:
    case TCommandCode::ChangeLevel:
    case TCommandCode::ChangeAbility:
    case TCommandCode::ChangeSkills:
    case TCommandCode::ChangeEquipment:
    case TCommandCode::ChangeHp:
    case TCommandCode::ChangeMp:
    case TCommandCode::ChangeCondition:
    case TCommandCode::FullRecovery:
    case TCommandCode::TakeDamage:
    case TCommandCode::ChangeHeroName:
    case TCommandCode::ChangeHeroDegree:
    case TCommandCode::ChangeHeroWalkGraphic:
    case TCommandCode::ChangeHeroFaceGraphic:
        return RunPartyCommand(*this, line);
    case TCommandCode::ChangeSystemGraphic:
    case TCommandCode::ChangeScreenTransition:
    case TCommandCode::EraseScreen:
    case TCommandCode::ShowScreen:
    case TCommandCode::SetScreenTone:
    case TCommandCode::FlashScreen:
    case TCommandCode::ShakeScreen:
    case TCommandCode::PanScreen:
    case TCommandCode::WeatherEffects:
    case TCommandCode::ShowPicture:
    case TCommandCode::MovePicture:
    case TCommandCode::ErasePicture:
    case TCommandCode::ShowBattleAnimation:
        return RunScreenCommand(*this, line);
    case TCommandCode::StartBattle:
    case TCommandCode::ChangeEnemyHp:
    case TCommandCode::ChangeEnemyMp:
    case TCommandCode::ChangeEnemyCondition:
    case TCommandCode::EnemyAppears:
    case TCommandCode::ChangeBattleBackground:
    case TCommandCode::ShowBattleAnimationInBattle:
    case TCommandCode::BattleBranch:
    case TCommandCode::BattleBranchElse:
    case TCommandCode::BattleBranchEnd:
    case TCommandCode::StopBattle:
        return RunBattleCommand(*this, line);
    case TCommandCode::MemorizePlace:
    case TCommandCode::GoToMemorizedPlace:
    case TCommandCode::RideVehicle:
    case TCommandCode::SetVehiclePlace:
    case TCommandCode::SetEventPlace:
    case TCommandCode::SwapEvents:
    case TCommandCode::GetTerrainId:
    case TCommandCode::GetEventId:
    case TCommandCode::ChangeVehicleGraphic:
    case TCommandCode::SetHeroTranslucency:
    case TCommandCode::FlashEvent:
    case TCommandCode::StopAllMovement:
        return RunPlaceCommand(*this, line);
    case TCommandCode::EnterPassword:
    case TCommandCode::ChangeChipSet:
    case TCommandCode::ChangePanorama:
    case TCommandCode::ChangeEncounterRate:
    case TCommandCode::ChangeChip:
    case TCommandCode::SetTeleportPlace:
    case TCommandCode::EnableTeleport:
    case TCommandCode::SetEscapePlace:
    case TCommandCode::EnableEscape:
    case TCommandCode::EnableSave:
    case TCommandCode::EnableSystemMenu:
    case TCommandCode::StopParallelEvents:
        return RunMapStateCommand(*this, line);
    case TCommandCode::CallSaveMenu:
        return RunSaveCommand(*this, line);
    case TCommandCode::CallShop:
    case TCommandCode::CallInn:
    case TCommandCode::EnterHeroName:
    case TCommandCode::CallSystemMenu:
        return RunSceneCommand(*this, line);
    default:
        mSession.NotRunYet(line.Code);
        return TStep::Next;
    }
}

}  // namespace quillon::runtime
