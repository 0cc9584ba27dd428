// The hourglass cursor of long operations. The model marks its long work with a scope object;
// the editor installs the hook that shows the cursor. Without a hook nothing is shown.
#pragma once

namespace quillon {

class IBusyCursor {
public:
    virtual ~IBusyCursor() = default;
    virtual void Begin() = 0;  // show the hourglass (nested calls stack)
    virtual void End() = 0;    // restore the previous cursor
};

// Installs the program-wide hook (not owned; nullptr removes it). Returns the previous one.
IBusyCursor* SetBusyCursor(IBusyCursor* cursor);

// Shows the hourglass for its lifetime and always restores the previous cursor, also when the
// work raises.
class TBusyCursorScope {
public:
    TBusyCursorScope();
    ~TBusyCursorScope();
    TBusyCursorScope(const TBusyCursorScope&) = delete;
    TBusyCursorScope& operator=(const TBusyCursorScope&) = delete;

private:
    IBusyCursor* mCursor;
};

}  // namespace quillon
