// What assistive technology sees of a TScriptListBox: a list with one item per script line,
// named by the line's text as shown; the lines of the selection are selected, and the cursor
// line is the list's focused item while the list has the keyboard.
#pragma once

#include <QAccessible>

class QWidget;

namespace quillon {

class TScriptListBox;

// Makes the list's interface known to Qt's accessibility (once per process; the list does it
// when the first one is made).
void InstallScriptListAccessibility();

// Tells assistive technology what changed since the last call: the rows, the cursor line, the
// selection. The list calls it after every change of its model and when it gains the focus.
class TScriptListAccessibilityNotes {
public:
    void Notify(TScriptListBox& list, bool focusGained = false);

private:
    int mCount = -1;
    int mItemIndex = -1;
    int mSelStart = -1;
    int mSelEnd = -1;
};

}  // namespace quillon
