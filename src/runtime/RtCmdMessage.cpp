// The message window's commands: messages, their options and face, choices and number input.
#include "data/LD_Event.h"
#include "runtime/GameMessage.h"
#include "runtime/GameSession.h"
#include "runtime/Interpreter.h"
#include "data/CommandCode.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quillon::runtime {

namespace {

constexpr int kMaxChoices = 4;
constexpr std::int32_t kCancelIgnored = 0;
constexpr std::int32_t kCancelAddsCase = 5;

// Whether a choice or a number input comes right after the line at `index`.
bool PromptFollows(TInterpreter& in, int index) {
    const TKelEventScriptLine* next = in.LineAt(index);
    return next != nullptr && (next->Code == ToInt(TCommandCode::ShowChoices) || next->Code == ToInt(TCommandCode::InputNumber));
}

// Whether the line before the prompt is the message it belongs to (shown in the same window).
bool PromptFollowsMessage(TInterpreter& in) {
    const TKelEventScriptLine* previous = in.LineAt(in.Pc() - 1);
    return previous != nullptr && (previous->Code == ToInt(TCommandCode::ShowMessage) || previous->Code == ToInt(TCommandCode::MessageLine));
}

TStep Message(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    if (session.MessageBusy())
        return TStep::Retry;  // another script's message is showing
    std::vector<std::string> lines{line.Text};
    int next = in.Pc() + 1;
    for (; in.LineAt(next) != nullptr && in.LineAt(next)->Code == ToInt(TCommandCode::MessageLine); ++next)
        lines.push_back(in.LineAt(next)->Text);
    session.Messages().ShowMessage(lines, session);
    in.SetPc(next);
    // A choice or number input that follows shows in the same window before it opens.
    if (!PromptFollows(in, next))
        in.AwaitMessage();
    return TStep::Jumped;
}

TStep ShowChoices(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    // The choices are the texts of the cases, in the order of their indexes.
    std::vector<std::string> choices;
    for (int at = in.Pc(); (at = in.FindForward(at, line.Indent, {TCommandCode::ChoiceCase, TCommandCode::ChoiceEnd})) >= 0;) {
        const TKelEventScriptLine* item = in.LineAt(at);
        if (item->Code == ToInt(TCommandCode::ChoiceEnd))
            break;
        const std::int32_t index = item->Param(0);
        if (index >= 0 && index < kMaxChoices) {
            if (static_cast<int>(choices.size()) <= index)
                choices.resize(static_cast<std::size_t>(index) + 1);
            choices[static_cast<std::size_t>(index)] = item->Text;
        }
    }
    if (choices.empty()) {
        session.Report("Show Choices: the command has no choices; skipped");
        return TStep::Next;
    }
    const int count = static_cast<int>(choices.size());
    const std::int32_t cancel = line.Param(0);
    int cancelResult = -1;
    if (cancel == kCancelAddsCase)
        cancelResult = count;
    else if (cancel != kCancelIgnored)
        cancelResult = std::clamp(cancel - 1, 0, count - 1);
    if (session.MessageBusy() && !PromptFollowsMessage(in))
        return TStep::Retry;
    session.Messages().ShowChoices(choices, cancelResult, session);
    in.AwaitChoice(in.Pc(), count);
    return TStep::Next;
}

TStep InputNumber(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    if (session.MessageBusy() && !PromptFollowsMessage(in))
        return TStep::Retry;
    session.Messages().InputNumber(std::clamp(line.Param(0), 1, 7));
    in.AwaitNumber(line.Param(1));
    return TStep::Next;
}

TStep Options(TInterpreter& in, const TKelEventScriptLine& line) {
    TMessageOptions options;
    options.Transparent = line.Param(0) == 1;
    options.Position = std::clamp(line.Param(1), 0, 2);
    options.AvoidHero = line.Param(2) == 1;
    options.EventsMoveMeanwhile = line.Param(3) == 1;
    in.Session().Messages().SetOptions(options);
    return TStep::Next;
}

TStep Face(TInterpreter& in, const TKelEventScriptLine& line) {
    TFaceOptions face;
    face.FaceSet = line.Text;
    face.Index = std::clamp(line.Param(0), 0, 15);
    face.Right = line.Param(1) == 1;
    face.Mirror = line.Param(2) == 1;
    in.Session().Messages().SetFace(face);
    return TStep::Next;
}

}  // namespace

TStep RunMessageCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::ShowMessage: return Message(in, line);
    case TCommandCode::MessageOptions: return Options(in, line);
    case TCommandCode::SelectFaceGraphic: return Face(in, line);
    case TCommandCode::ShowChoices: return ShowChoices(in, line);
    case TCommandCode::InputNumber: return InputNumber(in, line);
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
