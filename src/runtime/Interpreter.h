// The event script interpreter: a program counter per running script (with a stack of called
// scripts), the waits (frames, the message window, routes still moving), the block structure
// (branches with else, loops with break, choices and their cases, labels and jumps) and the one
// dispatch of every command line to the handler of its family.
#pragma once

#include "data/CommandCode.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {
class TKelEventScriptList;
class TKelEventScriptLine;
}  // namespace quillon

namespace quillon::runtime {

class TGameSession;

// What a command handler tells the interpreter to do next.
enum class TStep {
    Next,    // go on with the next line in this step
    Jumped,  // the handler set the program counter; go on from there
    Yield,   // go on with the next line in the next step
    Retry,   // run this line again in the next step
    Stop,    // the script ended (or the scene changed)
};

// Lines a script may run in one step before it yields (a loop that never waits still lets the
// game go on).
inline constexpr int kLinesPerStep = 10000;
// Scripts called from scripts, at most this deep.
inline constexpr int kMaxCallDepth = 64;

class TInterpreter {
public:
    // parallel: it runs beside the game (parallel process pages and common events).
    TInterpreter(TGameSession& session, bool parallel);
    ~TInterpreter();

    // Starts a script; owner keeps its record alive while it runs (a map left by a teleport).
    // eventId is the event whose page it is (0 for a common event); byDecision: started by the decide key.
    void Start(const TKelEventScriptList& script, std::int32_t eventId, std::int32_t mapId,
               std::shared_ptr<const void> owner = {}, bool byDecision = false);
    // Runs a called script on top of the current one.
    bool Call(const TKelEventScriptList& script, std::int32_t eventId, std::shared_ptr<const void> owner = {});
    void Stop();
    bool Running() const { return !mFrames.empty(); }
    bool Parallel() const { return mParallel; }
    // One step: runs lines until one waits, the script ends or the step's budget is spent.
    void Update();

    TGameSession& Session() { return mSession; }
    // The line being run and its position.
    const TKelEventScriptLine& Line() const;
    const TKelEventScriptLine* LineAt(int index) const;
    int LineCount() const;
    int Pc() const;
    void SetPc(int pc);
    std::int32_t EventId() const;  // the event whose script runs (0: a common event)
    std::int32_t MapId() const;    // the map that event is on
    bool StartedByDecision() const { return mByDecision; }
    // How many steps the line being run has asked to be run again (0 the first time).
    int Retries() const { return mRetries; }

    // Waits.
    void WaitFrames(int frames) { mWaitFrames = frames; }
    // After the message window closes: the choice's case, or the number into a variable.
    // The window answers `count` for the cancel case, which the script marks as case 4.
    void AwaitChoice(int choicePc, int count) {
        mPending = TPending::Choice;
        mPendingPc = choicePc;
        mPendingCount = count;
    }
    void AwaitNumber(std::int32_t variableId) { mPending = TPending::Number; mPendingVariable = variableId; }
    void AwaitMessage() { if (mPending == TPending::None) mPending = TPending::Message; }
    // Shows message windows (each up to four lines) one after the other; the script waits until
    // the last one closes. The message window must be free.
    void ShowMessages(std::vector<std::vector<std::string>> windows);

    // Block navigation: the first line after `from` at `indent` whose code is one of `codes`,
    // not leaving the block (a line of smaller indent ends the search); -1 when there is none.
    int FindForward(int from, int indent, std::initializer_list<TCommandCode> codes) const;
    int FindBackward(int from, int indent, TCommandCode code) const;

    // What a save keeps of a running script: its call stack (the bottom first), the frames it
    // still waits and whether the decide key started it. The caller names each frame's script.
    struct TFrameState {
        const TKelEventScriptList* Script = nullptr;
        int Pc = 0;
        std::int32_t EventId = 0;
        std::int32_t MapId = 0;
    };
    std::vector<TFrameState> Frames() const;
    int WaitFrames() const { return mWaitFrames; }
    // Runs saved frames again (owner keeps their scripts' records alive).
    void Restore(const std::vector<TFrameState>& frames, bool byDecision, int waitFrames,
                 std::shared_ptr<const void> owner);

private:
    struct TFrame {
        const TKelEventScriptList* Script = nullptr;
        int Pc = 0;
        std::int32_t EventId = 0;
        std::int32_t MapId = 0;
        std::shared_ptr<const void> Owner;
    };
    enum class TPending { None, Message, Choice, Number };

    TStep Dispatch(const TKelEventScriptLine& line);
    bool FinishPending();

    TGameSession& mSession;
    bool mParallel;
    bool mByDecision = false;
    std::vector<TFrame> mFrames;
    int mWaitFrames = 0;
    TPending mPending = TPending::None;
    int mPendingPc = 0;
    int mPendingCount = 0;
    std::int32_t mPendingVariable = 0;
    std::vector<std::vector<std::string>> mQueuedMessages;  // shown after the current one, last first
    int mRetries = 0;
};

// The handlers, one unit per family (RtCmd*.cpp).
TStep RunFlowCommand(TInterpreter& in, const TKelEventScriptLine& line);     // blocks, calls, labels
TStep RunStateCommand(TInterpreter& in, const TKelEventScriptLine& line);    // switches, variables, money, items
TStep RunMessageCommand(TInterpreter& in, const TKelEventScriptLine& line);  // messages, choices, numbers
TStep RunMoveCommand(TInterpreter& in, const TKelEventScriptLine& line);     // teleport, routes, waits
TStep RunSoundCommand(TInterpreter& in, const TKelEventScriptLine& line);    // music and sounds
TStep RunPartyCommand(TInterpreter& in, const TKelEventScriptLine& line);    // timer, party, heroes
TStep RunScreenCommand(TInterpreter& in, const TKelEventScriptLine& line);   // transitions, effects, pictures
TStep RunBattleCommand(TInterpreter& in, const TKelEventScriptLine& line);   // battles and the troops' pages
// Whether the condition of a fork line holds (kinds 0 switch and 1 variable are shared by the
// battle fork).
bool ForkCondition(TInterpreter& in, const TKelEventScriptLine& line);
TStep RunPlaceCommand(TInterpreter& in, const TKelEventScriptLine& line);    // places, vehicles, characters
TStep RunMapStateCommand(TInterpreter& in, const TKelEventScriptLine& line); // map changes, permissions, scenes
TStep RunSaveCommand(TInterpreter& in, const TKelEventScriptLine& line);     // the save screen, the save flag
TStep RunSceneCommand(TInterpreter& in, const TKelEventScriptLine& line);    // shops, inns, names, the menu
// The value of an "amount": kind 0 the number, 1 the variable it names.
std::int32_t AmountValue(TInterpreter& in, std::int32_t kind, std::int32_t value);

}  // namespace quillon::runtime
