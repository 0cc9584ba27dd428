// Helpers of the script list tests: scripts written as (code, indent) pairs, a stand-in renderer
// that shows structure the way the real one does, and scripted command dialogs.
#pragma once

#include "events/EventCommands.h"
#include "events/ScriptList.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace quillon::scriptkit {

struct L {
    std::int32_t Code;
    std::int32_t Indent;
    std::vector<std::int32_t> Params = {};
    std::string Text = {};
};

inline void Fill(TKelEventScriptList& script, const std::vector<L>& lines) {
    script.Clear();
    for (const L& l : lines) {
        auto& line = script.Add();
        line.Code = l.Code;
        line.Indent = l.Indent;
        line.Text = l.Text;
        line.SetParamCount(static_cast<int>(l.Params.size()));
        for (std::size_t i = 0; i < l.Params.size(); ++i)
            line.SetParam(static_cast<int>(i), l.Params[i]);
    }
}

inline std::vector<std::pair<int, int>> Shape(const TKelEventScriptList& script) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < script.Count(); ++i)
        out.emplace_back(script.Lines(i)->Code, script.Lines(i)->Indent);
    return out;
}

// Renders like the list text: two blanks per indent, "<>" or ":" and the code; one code stands
// for a line that cannot be rendered and gives the corrupt-data text without indentation.
inline constexpr std::int32_t kCorruptCode = ToInt(TCommandCode::SetMoveRoute);
inline const char* const kCorruptText = "\xE2\x97\x86" "corrupt";

inline std::string FakeRender(const TKelEventScriptLine& line) {
    if (line.Code == kCorruptCode)
        return kCorruptText;
    std::string text(static_cast<std::size_t>(std::max(line.Indent, 0)) * 2, ' ');
    text += IsCompanionCode(line.Code) ? ":" : "<>";
    text += std::to_string(line.Code);
    if (line.ParamCount() > 0)
        text += "/" + std::to_string(line.Param(0));
    text += line.Text;
    return text;
}

// Command dialogs whose answers the test sets.
class TFakeDialogs final : public IEventCommandDialogs {
public:
    // What the palette's dialog produces; nothing (cancel) when unset.
    std::function<bool(TKelEventScriptList&)> Choose;
    // What an edit dialog does with the lines it gets.
    std::function<bool(std::int32_t, TKelEventScriptList&)> Edit;
    int ChooseCalls = 0;
    int EditCalls = 0;
    std::vector<std::pair<int, int>> LastEditInput;
    TScriptEditorKind LastKind = TScriptEditorKind::MapEvent;

    bool ChooseCommand(TScriptEditorKind kind, TKelEventScriptList& result,
                       const TEventCommandContext&) override {
        ++ChooseCalls;
        LastKind = kind;
        return Choose && Choose(result);
    }
    bool RunDialog(std::int32_t code, TKelEventScriptList& result,
                     const TEventCommandContext&) override {
        ++EditCalls;
        LastEditInput = Shape(result);
        return Edit && Edit(code, result);
    }
};

// A fork at depth 0 (then-body, else-body), as the fork dialog writes it.
inline std::vector<L> Fork(std::int32_t at, bool withElse) {
    std::vector<L> lines{{12010, at, {0, 1, 0, 0, 0, withElse ? 1 : 0}}, {10, at + 1}};
    if (withElse) {
        lines.push_back({22010, at});
        lines.push_back({10, at + 1});
    }
    lines.push_back({22011, at});
    return lines;
}

}  // namespace quillon::scriptkit
