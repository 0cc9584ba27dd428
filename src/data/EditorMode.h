// The editor-mode switch: off until the editor's main window exists. Before it is on, look-ups
// of absent elements raise their message and loaders report errors; once it is on, look-ups
// answer nothing and loaders keep what they could read.
#pragma once

namespace quillon {

bool EditorMode();
void SetEditorMode(bool on);

// Turns the switch for a scope and restores it afterwards (tests).
class TEditorModeScope {
public:
    explicit TEditorModeScope(bool on) : mPrevious(EditorMode()) { SetEditorMode(on); }
    ~TEditorModeScope() { SetEditorMode(mPrevious); }
    TEditorModeScope(const TEditorModeScope&) = delete;
    TEditorModeScope& operator=(const TEditorModeScope&) = delete;

private:
    bool mPrevious;
};

}  // namespace quillon
