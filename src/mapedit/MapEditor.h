// The map editor canvas without a window: editing modes, tools and patterns, the drags of the
// mouse (drawing, picking a pattern from the map, moving an event, selecting and moving a region),
// the region selection with its private clipboard block, keys, undo, and the event commands
// passed to an event manager. Mouse and key input arrive as plain calls in client pixels; the
// window forwards them, runs the timers the model asks for and paints what it is told to.
#pragma once

#include "platform/Signal.h"

#include "data/LD_Event.h"
#include "mapedit/MapEditUtils.h"
#include "mapedit/MapPasteCheck.h"
#include "mapedit/MapViewer.h"
#include "platform/Clipboard.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

// The private clipboard format of map cells (that of events is with the event record).
inline constexpr int kMapCellClipboardFormat = 562;

// A block of map cells as the clipboard holds it: width and height (unsigned 16-bit), then per
// cell, column by column, the lower and the upper tile ID (unsigned 16-bit, little-endian).
struct TMapCellBlock {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint16_t> Lower;  // index = column x Height + row
    std::vector<std::uint16_t> Upper;
};
// The clipboard bytes of a block ((width x height x 2 + 2) x 2 bytes).
std::string EncodeMapCellBlock(const TMapCellBlock& block);
// Nothing unless the bytes hold width and height of at least 1 and exactly the length they call
// for.
std::optional<TMapCellBlock> DecodeMapCellBlock(const std::string& bytes);

// The event commands of the canvas, performed by the event manager on the cell the canvas passes.
// Each answers whether it changed the map's events or start positions. This base refuses every
// command.
class IMapEventManager {
public:
    virtual ~IMapEventManager() = default;
    // The map and tree the commands work on (LoadMap hands them over).
    virtual void SetMap(TKelMapTree* tree, TKelMap* map) { (void)tree, (void)map; }
    // A new event with the tile graphic index on an empty cell, or the event's editor on an event.
    virtual bool NewOrEditEvent(TPoint cell, int tileGraphicIndex) { return (void)cell, (void)tileGraphicIndex, false; }
    virtual bool CutEvent(TPoint cell) { return (void)cell, false; }
    virtual bool CopyEvent(TPoint cell) { return (void)cell, false; }
    virtual bool PasteEvent(TPoint cell) { return (void)cell, false; }
    virtual bool DeleteEvent(TPoint cell) { return (void)cell, false; }
    // The ready-made teleport event; false while it cannot be offered (the menu item stays off).
    virtual bool CanMoveEvent() const { return false; }
    virtual bool MoveEvent(TPoint cell) { return (void)cell, false; }
    virtual bool SetPartyStart(TPoint cell) { return (void)cell, false; }
    virtual bool SetVehicleStart(TPoint cell) { return (void)cell, false; }
};

// Mouse buttons and keys as the canvas sees them.
enum class TCanvasButton { Left, Right, Middle };
enum class TCanvasKey { Left, Right, Up, Down, Delete, Enter, A, C, V, X, Z };

// What a press asks the window to show.
enum class TCanvasPopup { None, MapChip, Event };

// The drag in progress; only one at a time.
enum class TCanvasDrag { None, Drawing, Picking, MovingEvent, MovingSelection, Selecting };

// Items of the map-chip popup menu and of the event popup menu with their states.
struct TMapChipMenuState {
    bool Cut = false, Copy = false, Paste = false, Clear = false, SelectAll = false;
};
struct TEventMenuState {
    bool NewVisible = false;   // "New &Event..." (default on an empty cell)
    bool EditVisible = false;  // "&Edit event..." (default on an occupied cell)
    bool Edit = false;
    bool Cut = false, Copy = false, Paste = false, Delete = false;
    bool Move = false, SetParty = false, SetVehicle = false;
};

class TKelMapEditorModel : public TKelMapViewModel {
public:
    TKelMapEditorModel();
    ~TKelMapEditorModel() override;

    // --- the owner's operations ---

    // 0 lower, 1 upper, 2 events; None until the first SetMode. No effect when unchanged;
    // entering event mode clears the cursor and the selection. Ends any drag (cancelled).
    void SetMode(TKelEditMode mode);
    TKelEditMode Mode() const { return mEdit.Mode; }
    // Clears the selection; ends any drag (cancelled).
    void SetTool(TKelEditTool tool);
    TKelEditTool Tool() const { return mTool; }
    // Empties the selection, backups and undo store, then shows the map (see the view model).
    void LoadMap(TKelMap* map) override;
    // The event manager (not owned; none: every event command is refused).
    void SetEventManager(IMapEventManager* manager);
    // The clipboard (not owned; none: the program-wide one).
    void SetClipboard(IClipboard* clipboard) { mClipboard = clipboard; }
    IClipboard& Clip() const;

    // One pattern per mode (index = mode); the current one is Patterns[Mode].
    std::array<TKelCurrentChip, 4>& Patterns() { return mEdit.Patterns; }
    TKelCurrentChip& Pattern() { return mEdit.Pattern(); }
    // A pattern chosen in the chip palette: width x height tiles, column-major as in
    // TKelCurrentChip (sizes clamped to 1..6); PatternOffset becomes (0, 0); a lifted
    // selection's region beneath is prepared again with the new pattern.
    void SetPattern(TKelEditMode mode, const TKelCurrentChip& pattern);
    TPoint PatternOffset() const { return mEdit.PatternOffset; }
    TPoint PatternAnchor() const { return mEdit.PatternAnchor; }

    // The undo store and the tool engine.
    TKelMapEditUndoManager& UndoStore() { return mEdit.UndoStore; }
    TKelMapEditModel& EditModel() { return mEdit; }
    const TKelMapLayer& BackupLower() const { return mBackupLower; }
    const TKelMapLayer& BackupUpper() const { return mBackupUpper; }
    const TKelMapLayer& FloatLower() const { return mFloatLower; }
    const TKelMapLayer& FloatUpper() const { return mFloatUpper; }

    // Undo: when a snapshot exists and no drag is in progress, brings it back, clears the
    // selection, marks the map modified, redraws and notifies. False otherwise.
    bool Undo();

    // Map-chip commands (layer modes, no drag in progress). False when nothing was done.
    bool Cut();
    bool Copy();
    bool Paste();
    bool Clear();
    bool SelectAll();
    TMapChipMenuState MapChipMenuState() const;

    // Event commands on the cursor cell (event mode, no drag in progress); the event map is
    // rebuilt and the map marked modified when the manager changed something.
    bool NewOrEditEvent();
    bool CutEvent();
    bool CopyEvent();
    bool PasteEvent();
    bool DeleteEvent();
    bool MoveEvent();
    bool SetPartyStart();
    bool SetVehicleStart();
    TEventMenuState EventMenuState() const;

    // --- input (client pixels) ---

    // A press. Returns the popup menu the window should show at the mouse.
    TCanvasPopup MouseDown(TCanvasButton button, int x, int y, TKelEditKeys keys);
    void MouseMove(int x, int y, TKelEditKeys keys);
    void MouseUp(TCanvasButton button, int x, int y, TKelEditKeys keys);
    // The second press of a double click: the window calls this instead of MouseDown. With the
    // zoom tool in a layer mode it is a plain press. Otherwise a drag in progress is only
    // cancelled; else left in event mode runs the new-or-edit command and right toggles lower and
    // upper mode.
    void DoubleClick(TCanvasButton button, int x, int y, TKelEditKeys keys);
    // The mouse left the window: the cursor is cleared (not in event mode, not while picking).
    void MouseLeave();
    // The 150 ms delay after a picking press ran out: dragging may now extend the pick.
    void PickDelayExpired();
    bool PickDelayPending() const { return mDrag == TCanvasDrag::Picking && !mPickDelayDone; }
    // Every 40 ms while AutoScrolling(): scrolls by the edge steps of the mouse position (client
    // pixels), then re-posts it as a move. Returns whether the view moved.
    bool AutoScrollTick(int x, int y, TKelEditKeys keys);
    bool AutoScrolling() const { return mDrag != TCanvasDrag::None; }
    // A key with the modifiers held; true when the canvas used it. In event mode an arrow key
    // with no cursor on the map puts it on the first cell in view.
    bool KeyDown(TCanvasKey key, TKelEditKeys keys);
    // The menu key (or Shift+F10): the popup menu a right press would show, for the cursor
    // instead of the mouse. `at` receives the client point to show it at, below the cursor cell
    // (event mode; a cursor is first put on the first cell in view) or the selection (select
    // tool). None during a drag, without a map, and with the drawing and zoom tools.
    TCanvasPopup MenuKey(TPoint& at);

    // --- state ---

    TCanvasDrag Drag() const { return mDrag; }
    bool Drawing() const { return mDrag == TCanvasDrag::Drawing; }
    bool Picking() const { return mDrag == TCanvasDrag::Picking; }
    bool MovingEvent() const { return mDrag == TCanvasDrag::MovingEvent; }
    bool MovingSelection() const { return mDrag == TCanvasDrag::MovingSelection; }
    // Cells covered by the pattern under the mouse; (-1, -1, -1, -1) when there is none.
    TRect Cursor() const { return mCursor; }
    // Whether the window should draw the cursor frame (not with the select and zoom tools in a
    // layer mode, not without a cursor).
    bool CursorVisible() const;
    TPoint CursorCell() const { return mCursorCell; }
    TPoint DragStart() const { return mDragStart; }
    // The selected region in cells (empty when none) and whether its content is lifted.
    TRect Selection() const { return mSelection; }
    // Drops the region selection (the owner's, before the map is reverted).
    void ClearSelection();
    bool HasSelection() const { return mSelection.Right > mSelection.Left && mSelection.Bottom > mSelection.Top; }
    bool SelectionLifted() const { return mSelectionLifted; }
    TPoint SelectionStart() const { return mSelectionStart; }
    // The cell an event is dragged to.
    TPoint EventTarget() const { return mEventTarget; }
    bool ShiftHeld() const { return mKeys.Shift; }
    bool CtrlHeld() const { return mKeys.Ctrl; }
    TMapCanvasLook Look() const override { return {mEdit.Mode, mTool}; }

    // --- notifications ---

    // After every committed change of the map (tiles, events, start positions).
    TSignal<> OnMapChanged;
    TSignal<TPoint> OnCursorMoved;
    TSignal<> OnPatternPicked;
    // Right double click switched between lower and upper mode.
    TSignal<TKelEditMode> OnModeToggled;
    // The selection (or its lifted state) changed.
    TSignal<> OnSelectionChanged;
    // A pasted block held tiles the layers never store; they were replaced (the report says how
    // many) before anything was written into the map.
    TSignal<const TPasteReport&> OnPasteChecked;
    // What the last paste of map cells replaced.
    const TPasteReport& LastPasteReport() const { return mPasteReport; }

private:
    bool LayerMode() const { return mEdit.Mode == TKelEditMode::Lower || mEdit.Mode == TKelEditMode::Upper; }
    bool EventMode() const { return mEdit.Mode == TKelEditMode::Events; }
    void SetCursor(const TRect& cursor);
    void SetCursorCell(TPoint cell);
    void UpdateCursor(TPoint cell);
    // Event mode: makes sure the cursor is on a cell of the map (the first cell in view when it
    // is not). False without a map.
    bool EnsureEventCursor();
    void MarkChanged();
    void CancelDrag();
    void LiftSelection();
    void PrepareBackups();
    void WriteCell(TKelMapLayer& layer, std::int64_t column, std::int64_t row, std::uint16_t id);
    void PlaceFloat(const TRect& from, const TRect& to);
    void MoveSelectionTo(std::int64_t mapX, std::int64_t mapY);
    bool PasteBlock(const TMapCellBlock& block, std::int64_t left, std::int64_t top);
    void DropEvent();
    bool RunEventCommand(const std::function<bool(IMapEventManager&, TPoint)>& command);

    TKelMapEditModel mEdit;
    TPasteReport mPasteReport;
    TKelEditTool mTool = TKelEditTool::Pen;
    IMapEventManager mRefusingManager;
    IMapEventManager* mEventManager = nullptr;
    IClipboard* mClipboard = nullptr;
    TKelEditKeys mKeys;

    TCanvasDrag mDrag = TCanvasDrag::None;
    TRect mCursor{-1, -1, -1, -1};
    TPoint mCursorCell{-1, -1};
    TPoint mDragStart;
    TPoint mLastMouse;  // the last mouse position (client pixels)

    // Picking.
    TPoint mSavedPatternOffset;
    TPoint mPickCurrent;
    bool mPickDelayDone = false;

    // Moving an event.
    TPoint mEventTarget{-1, -1};
    std::int32_t mEventCode = 0;

    // The region selection.
    TRect mSelection;
    TPoint mSelectionStart;
    bool mSelectionLifted = false;
    TKelMapLayer mFloatLower{kLowerFillValue};
    TKelMapLayer mFloatUpper{kUpperFillValue};
    TKelMapLayer mBackupLower{kLowerFillValue};
    TKelMapLayer mBackupUpper{kUpperFillValue};
    // Taken when a move starts: the layers and the selection a cancel brings back.
    TKelMapLayer mMoveLower{kLowerFillValue};
    TKelMapLayer mMoveUpper{kUpperFillValue};
    TRect mMoveSelection;
    // The reference point of a selection move (map pixels at the cell size).
    std::int64_t mMoveRefX = 0;
    std::int64_t mMoveRefY = 0;
};

}  // namespace quillon
