// The map editor canvas window: the map view with the editor model behind it. It forwards mouse
// and key input to the model, runs the timers the model asks for (150 ms pick delay, 40 ms
// auto-scroll, 50 ms marching selection frame), draws the cursor, event-drag and selection
// frames over the cells, shows the two popup menus and the tool cursors, and passes the model's
// five notifications on as signals. The owner creates it, hands it the map tree, the graphics and
// a map, and connects to the signals.
#pragma once

#include "mapedit/MapEditor.h"
#include "mapedit/MapViewer_qt.h"

#include <QAction>
#include <QCursor>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

#include <array>
#include <vector>

namespace quillon {

// The canvas's mouse cursors, our own drawings; a shape without its drawing falls back to a
// standard cursor.
enum class TCanvasCursor { Arrow, Select, Zoom, Pen, Rectangle, Ellipse, Fill, Pick, Move };
QCursor CanvasCursor(TCanvasCursor shape);

class TFormMapEditor : public TFormMapViewer {
    Q_OBJECT

public:
    explicit TFormMapEditor(QWidget* parent = nullptr);
    ~TFormMapEditor() override;

    TKelMapEditorModel& Model() { return static_cast<TKelMapEditorModel&>(*mModel); }
    const TKelMapEditorModel& Model() const { return static_cast<const TKelMapEditorModel&>(*mModel); }

    // The owner's operations (see TKelMapEditorModel).
    void SetMode(int mode);
    int Mode() const { return static_cast<int>(Model().Mode()); }
    void SetTool(int tool);
    int Tool() const { return static_cast<int>(Model().Tool()); }
    bool InLayerMode() const { return Mode() == 0 || Mode() == 1; }
    bool Undo();
    int UndoCount() { return Model().UndoStore().Count(); }
    void ClearUndo() { Model().UndoStore().Clear(); }
    // The chip palette's selection becomes the current mode's pattern.
    void SetPattern(const TKelCurrentChip& pattern);
    // Ends a drag in progress as another button would (the application lost the focus); false
    // when there was none.
    bool CancelDrag();

    // The popup menus (shown with popup(), so they never block) and their items.
    QMenu* MapChipMenu() const { return mMapChipMenu; }
    QMenu* EventMenu() const { return mEventMenu; }
    // The menu shown last (null when none has been shown).
    QMenu* ShownMenu() const { return mShownMenu; }

    QAction* MapCutAction() const { return mMapCut; }
    QAction* MapCopyAction() const { return mMapCopy; }
    QAction* MapPasteAction() const { return mMapPaste; }
    QAction* MapClearAction() const { return mMapClear; }
    QAction* MapSelectAllAction() const { return mMapSelectAll; }
    QAction* EventNewAction() const { return mEventNew; }
    QAction* EventEditAction() const { return mEventEdit; }
    QAction* EventCutAction() const { return mEventCut; }
    QAction* EventCopyAction() const { return mEventCopy; }
    QAction* EventPasteAction() const { return mEventPaste; }
    QAction* EventDeleteAction() const { return mEventDelete; }
    QAction* EventMoveAction() const { return mEventMove; }
    QAction* EventPartyAction() const { return mEventParty; }
    QAction* EventVehicleAction() const { return mEventVehicle; }
    // "Test Play from Here", on both menus.
    QAction* TestPlayHereAction() const { return mTestPlayHere; }
    // The map cell the menu shown last belongs to ((-1, -1) when none).
    TPoint MenuCell() const { return mMenuCell; }

    // The cursor shape the canvas shows now.
    TCanvasCursor CurrentCursor() const { return mCursorShape; }
    // The phase of the marching frame, in milliseconds (tests set it to get a fixed picture).
    void SetMarchingTime(std::int64_t ms) { mMarchingTime = ms; }

signals:
    // After every committed change of the map.
    void MapChanged();
    // The cell under the mouse changed ((-1, -1) when none).
    void CursorMoved(int column, int row);
    // A pattern was picked from the map.
    void PatternPicked();
    // A right double click switched between the lower and the upper layer.
    void LayerModeToggled(int mode);
    // "Test Play from Here" was chosen for the map cell (column, row).
    void TestPlayFromHere(int column, int row);

protected:
    void DrawOverlay(TOrlenBoard& board, QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The menu key: the popup menu of the cursor (a right press shows it at the mouse).
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateMenus();
    void RefreshMenuStates();
    void ShowMenu(TCanvasPopup popup, const QPoint& client);
    void ShowKeyMenu();
    void AfterInput();
    void UpdateCursorShape(const QPoint& client);
    void InvalidateCursor();
    QRect CursorClientRect(const TRect& cells, int extra) const;
    bool RunKey(TCanvasKey key, Qt::KeyboardModifiers modifiers);

    QTimer mPickTimer;
    QTimer mAutoScrollTimer;
    QTimer mMarchTimer;
    QElapsedTimer mClock;
    std::int64_t mMarchingTime = -1;  // -1: follow the clock
    QPoint mLastMouse;
    TKelEditKeys mLastKeys;
    TRect mShownCursor{-1, -1, -1, -1};
    TRect mShownSelection{};
    TPoint mShownTarget{-1, -1};
    bool mWheelScrolling = false;
    TCanvasCursor mCursorShape = TCanvasCursor::Arrow;

    QMenu* mMapChipMenu = nullptr;
    QMenu* mEventMenu = nullptr;
    QMenu* mShownMenu = nullptr;
    QAction* mMapCut = nullptr;
    QAction* mMapCopy = nullptr;
    QAction* mMapPaste = nullptr;
    QAction* mMapClear = nullptr;
    QAction* mMapSelectAll = nullptr;
    QAction* mEventNew = nullptr;
    QAction* mEventEdit = nullptr;
    QAction* mEventCut = nullptr;
    QAction* mEventCopy = nullptr;
    QAction* mEventPaste = nullptr;
    QAction* mEventDelete = nullptr;
    QAction* mEventMove = nullptr;
    QAction* mEventParty = nullptr;
    QAction* mEventVehicle = nullptr;
    QAction* mTestPlayHere = nullptr;
    TPoint mMenuCell{-1, -1};
    std::vector<TConnection> mEditorHeard;
};

class TFormChipSelector;

// The wiring between the chip palette and the canvas that the owner would otherwise write: a
// range picked in the palette becomes the canvas's pattern for its mode; a 1 x 1 pattern picked
// from the map is highlighted in the palette (any other pick clears the highlight); a layer
// switched by a right double click switches the palette's grid.
void LinkChipPalette(TFormMapEditor& canvas, TFormChipSelector& palette);

}  // namespace quillon
