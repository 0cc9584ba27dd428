// The event script list: the edit model behind the command list of event pages, common events
// and troop battle pages. It shows one rendered row per script line, selects whole commands
// (a block command with its bodies and companion lines), and carries the editing operations
// (insert, edit, cut, copy, paste, delete, select all) with their enabled states and the
// clipboard block of format 566. The widget (ScriptList_qt) only forwards input and paints.
#pragma once

#include "platform/Signal.h"

#include "data/LD_Event.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class IClipboard;
class IEventChoosers;
class TKelDataBase;
class TKelMap;
class TKelMapTree;
class TKelMonGroupItem;

// Private clipboard format of event command lines: a 32-bit little-endian byte count, then that
// many bytes of the event script encoding.
inline constexpr int kScriptClipboardFormat = 566;
// Deepest nesting a pasted block may bring with it (relative to its first line).
inline constexpr int kMaxPastedDepth = 1000;

// Which editor the list serves; it decides which pasted commands are kept.
enum class TScriptEditorKind { MapEvent, CommonEvent, BattlePage };

// What the command dialogs are told about the script they work for.
struct TEventCommandContext {
    std::int32_t EventId = 0;                     // 0 for common events and troop pages
    const TKelEventItem* EventItem = nullptr;     // the event being edited
    const TKelMapTree* MapTree = nullptr;
    const TKelMap* Map = nullptr;                 // the current map
    const TKelMonGroupItem* MonsterGroup = nullptr;  // the troop of a battle page
    const TKelDataBase* DataBase = nullptr;
    IEventChoosers* Choosers = nullptr;           // the pickers the dialogs open (none: no picker)
};

// The command palette and the command dialogs, as the list reaches them. Every dialog leaves
// its lines in `result`, indents relative to 0 (the command's own line).
class IEventCommandDialogs {
public:
    virtual ~IEventCommandDialogs() = default;
    // Shows the palette of the editor kind; the command picked there runs its dialog on an
    // empty result. True when that dialog ended with OK.
    virtual bool ChooseCommand(TScriptEditorKind kind, TKelEventScriptList& result,
                               const TEventCommandContext& context) = 0;
    // Runs the dialog of `code` on `result`, which holds the lines of the command being edited
    // (nothing when a new command is made). True on OK; false on cancel and for a code without
    // a dialog (nothing is shown then).
    virtual bool RunDialog(std::int32_t code, TKelEventScriptList& result,
                           const TEventCommandContext& context) = 0;
};

// Enabled states of the list's menu.
struct TScriptMenuState {
    bool Insert = false;
    bool Edit = false;
    bool Cut = false;
    bool Copy = false;
    bool Paste = false;
    bool Delete = false;
    bool SelectAll = false;
    bool operator==(const TScriptMenuState&) const = default;
};

// Navigation keys of the list.
enum class TScriptListKey { PageUp, PageDown, Home, End, Left, Up, Right, Down };

// --- clipboard block ---

// The 566 block of lines first .. last of a script, indents as they stand.
std::string EncodeScriptBlock(const TKelEventScriptList& script, int first, int last);
// Reads a 566 block into `lines`. A block is refused whole (false, `lines` empty) when its count
// is negative or runs past the block, a line is cut short, a line lies shallower than the first
// or deeper than kMaxPastedDepth below it, or the first line is a companion line.
bool DecodeScriptBlock(std::string_view block, TKelEventScriptList& lines);
// Drops the commands that do not belong in the editor kind's scripts, each with the lines that
// belong to it (deeper lines and companion lines at its indent).
void FilterPastedLines(TKelEventScriptList& lines, TScriptEditorKind kind);

// --- the list model ---

class TScriptListModel {
public:
    using TRenderer = std::function<std::string(const TKelEventScriptLine&)>;

    explicit TScriptListModel(TRenderer renderer = {});

    // The script shown and edited (not owned; nullptr shows nothing). A script without its
    // closing line (code 0, last) gets one. The rows are rebuilt and the cursor goes to the
    // first line.
    void SetScript(TKelEventScriptList* script);
    TKelEventScriptList* Script() const { return mScript; }
    void SetRenderer(TRenderer renderer) { mRenderer = std::move(renderer); }
    void SetKind(TScriptEditorKind kind) { mKind = kind; }
    TScriptEditorKind Kind() const { return mKind; }
    void SetContext(const TEventCommandContext& context) { mContext = context; }
    const TEventCommandContext& Context() const { return mContext; }
    void SetDialogs(IEventCommandDialogs* dialogs) { mDialogs = dialogs; }
    // The clipboard used (nullptr: the program-wide one).
    void SetClipboard(IClipboard* clipboard) { mClipboard = clipboard; }

    // Announced after every change of the script (the owner marks its page modified).
    TSignal<> OnModified;
    // Announced after every change of rows, selection, cursor or scroll position (views repaint).
    TSignal<> OnChanged;

    // Rows.
    int Count() const { return static_cast<int>(mItems.size()); }
    const std::vector<std::string>& Items() const { return mItems; }
    // A row's depth (the line's indent, negatives as 0) and whether it is a command line.
    int RowIndent(int row) const;
    bool RowIsCommand(int row) const;

    // Cursor and selection.
    int ItemIndex() const { return mItemIndex; }
    int SelStart() const { return mSelStart; }
    int SelEnd() const { return mSelEnd; }
    int Anchor() const { return mAnchor; }
    bool HasSelection() const { return mSelStart >= 0; }
    bool IsSelected(int row) const { return mSelStart >= 0 && row >= mSelStart && row <= mSelEnd; }
    // Moves the cursor to a line and selects the commands it covers (with the anchor when
    // `extend`, i.e. Shift, is held); scrolls the cursor into view.
    void SetItemIndex(int index, bool extend = false);
    // Set the range directly; a range that ends before it starts selects nothing.
    void SetSelStart(int index);
    void SetSelEnd(int index);

    // Scrolling.
    int TopIndex() const { return mTopIndex; }
    void SetTopIndex(int index);
    int VisibleLines() const { return mVisibleLines; }
    void SetVisibleLines(int lines);

    // Navigation.
    void NextCommand(bool extend = false);
    void PreviousCommand(bool extend = false);
    void PageDown(bool extend = false);
    void PageUp(bool extend = false);
    // True when the key is one of the list's navigation keys.
    bool KeyDown(TScriptListKey key, bool extend);
    // A mouse button pressed on a row (top index + pointer row). A right press inside the
    // selection keeps it.
    void MouseDown(int row, bool rightButton, bool extend);
    // One tick of the auto-scroll timer while the pointer is beyond the top (direction -1) or the
    // bottom (+1) edge; `far` when it is more than a line beyond.
    void AutoScroll(int direction, bool far, bool extend);

    // Editing. Each operation checks its enabled state first and answers whether it changed
    // anything (Copy: whether the lines reached the clipboard).
    TScriptMenuState MenuState() const;
    bool Insert();
    bool Edit();
    bool Copy();
    bool Cut();
    bool Paste();
    bool Delete();
    bool SelectAll();
    // Renders the rows again (names may have changed). With as many rows as lines the texts are
    // replaced in place, keeping cursor and scroll position (the selection is recomputed when
    // the structure changed); otherwise the rows are rebuilt and the cursor goes to the first line.
    void Refresh();

private:
    struct TRowShape {
        int Indent = 0;
        bool Command = true;
        bool operator==(const TRowShape&) const = default;
    };

    std::string Render(const TKelEventScriptLine& line) const;
    TRowShape ShapeOf(const TKelEventScriptLine& line) const;
    void EnsureClosingLine();
    void Rebuild();
    void ComputeSelection();
    void ScrollIntoView(int row);
    void MoveCursor(int index, bool extend);
    int FindCommandAtOrAfter(int row) const;
    int FindCommandAtOrBefore(int row) const;
    // Inserts copies of `lines` before `position`, re-based to depth `base`; their rows too.
    void InsertLines(int position, const TKelEventScriptList& lines, std::int64_t base);
    void DeleteLines(int first, int last);
    // Replaces `removed` lines of the script from `first` on by `block`.
    void SpliceScript(int first, int removed, std::vector<std::unique_ptr<TKelEventScriptLine>> block);
    IClipboard& ClipboardInUse() const;
    void Changed() const;
    void Modified() const;

    TRenderer mRenderer;
    TKelEventScriptList* mScript = nullptr;
    TScriptEditorKind mKind = TScriptEditorKind::MapEvent;
    TEventCommandContext mContext;
    IEventCommandDialogs* mDialogs = nullptr;
    IClipboard* mClipboard = nullptr;

    std::vector<std::string> mItems;
    std::vector<TRowShape> mShapes;
    int mItemIndex = -1;
    int mSelStart = -1;
    int mSelEnd = -1;
    int mAnchor = -1;
    int mTopIndex = 0;
    int mVisibleLines = 1;
};

}  // namespace quillon
