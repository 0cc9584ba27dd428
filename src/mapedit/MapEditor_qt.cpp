#include "mapedit/MapEditor_qt.h"

#include "graphics/DrawUtils_qt.h"
#include "mapedit/CanvasMenuCell.h"
#include "mapedit/ChipSelector_qt.h"
#include "mapedit/MapPasteCheck_qt.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <limits>

static void InitCanvasResources() { Q_INIT_RESOURCE(MapEditor); }

namespace quillon {

namespace {

constexpr int kPickDelayMs = 150;
constexpr int kAutoScrollMs = 40;
constexpr int kMarchingMs = 50;
constexpr int kMarchingSpeed = 16;

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

TCanvasButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return TCanvasButton::Left;
    case Qt::MiddleButton: return TCanvasButton::Middle;
    default: return TCanvasButton::Right;
    }
}

TKelEditKeys KeysOf(Qt::KeyboardModifiers modifiers) {
    TKelEditKeys keys;
    keys.Shift = modifiers & Qt::ShiftModifier;
    keys.Ctrl = modifiers & Qt::ControlModifier;
    return keys;
}

QColor RgbColor(std::uint32_t rgb) { return QColor((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255); }

struct TCursorDrawing {
    const char* File;
    int HotX, HotY;
    Qt::CursorShape Fallback;
};

// File, hot spot and stand-in of each shape, in TCanvasCursor order.
constexpr std::array<TCursorDrawing, 9> kCursorDrawings = {{
    {nullptr, 0, 0, Qt::ArrowCursor},
    {":/mapedit/cursors/select.svg", 8, 8, Qt::CrossCursor},
    {":/mapedit/cursors/zoom.svg", 12, 12, Qt::CrossCursor},
    {":/mapedit/cursors/pen.svg", 1, 30, Qt::CrossCursor},
    {":/mapedit/cursors/rectangle.svg", 8, 8, Qt::CrossCursor},
    {":/mapedit/cursors/ellipse.svg", 8, 8, Qt::CrossCursor},
    {":/mapedit/cursors/fill.svg", 3, 29, Qt::CrossCursor},
    {":/mapedit/cursors/pick.svg", 2, 30, Qt::CrossCursor},
    {":/mapedit/cursors/move.svg", 16, 16, Qt::SizeAllCursor},
}};

// Whether a key is one the canvas takes before shortcuts of other windows.
bool IsCanvasKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
        key == Qt::Key_Delete || key == Qt::Key_Return || key == Qt::Key_Enter)
        return true;
    return (event.modifiers() & Qt::ControlModifier) &&
           (key == Qt::Key_A || key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_X || key == Qt::Key_Z);
}

}  // namespace

QCursor CanvasCursor(TCanvasCursor shape) {
    static std::array<QCursor, kCursorDrawings.size()> cache;
    static std::array<bool, kCursorDrawings.size()> loaded{};
    const auto index = static_cast<std::size_t>(shape);
    if (index >= kCursorDrawings.size())
        return QCursor(Qt::ArrowCursor);
    if (!loaded[index]) {
        InitCanvasResources();
        const TCursorDrawing& drawing = kCursorDrawings[index];
        QPixmap pixmap;
        if (drawing.File)
            pixmap = QPixmap(QString::fromLatin1(drawing.File));
        cache[index] = pixmap.isNull() ? QCursor(drawing.Fallback) : QCursor(pixmap, drawing.HotX, drawing.HotY);
        loaded[index] = true;
    }
    return cache[index];
}

TFormMapEditor::TFormMapEditor(QWidget* parent) : TFormMapViewer(std::make_unique<TKelMapEditorModel>(), parent) {
    setObjectName("MapEditor");
    setAccessibleName(tr("Map"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setFocusProxy(this);
    mClock.start();
    mPickTimer.setSingleShot(true);
    mPickTimer.setInterval(kPickDelayMs);
    mAutoScrollTimer.setInterval(kAutoScrollMs);
    mMarchTimer.setInterval(kMarchingMs);
    connect(&mPickTimer, &QTimer::timeout, this, [this] {
        Model().PickDelayExpired();
        AfterInput();
    });
    connect(&mAutoScrollTimer, &QTimer::timeout, this, [this] {
        Model().AutoScrollTick(mLastMouse.x(), mLastMouse.y(), mLastKeys);
        AfterInput();
    });
    connect(&mMarchTimer, &QTimer::timeout, this, [this] {
        if (Model().HasSelection())
            viewport()->update(CursorClientRect(Model().Selection(), 1));
    });

    TKelMapEditorModel& model = Model();
    mEditorHeard.push_back(model.OnMapChanged.Connect([this] { emit MapChanged(); }));
    mEditorHeard.push_back(model.OnCursorMoved.Connect([this](TPoint cell) { emit CursorMoved(cell.X, cell.Y); }));
    mEditorHeard.push_back(model.OnPatternPicked.Connect([this] { emit PatternPicked(); }));
    mEditorHeard.push_back(model.OnModeToggled.Connect([this](TKelEditMode mode) {
        viewport()->update();
        emit LayerModeToggled(static_cast<int>(mode));
    }));
    mEditorHeard.push_back(model.OnSelectionChanged.Connect([this] { AfterInput(); }));
    mEditorHeard.push_back(
        model.OnPasteChecked.Connect([this](const TPasteReport& report) { ShowPasteReportLater(this, report); }));
    CreateMenus();
    UpdateCursorShape(QPoint(-1, -1));
}

TFormMapEditor::~TFormMapEditor() = default;

// --- the owner's operations ---

void TFormMapEditor::SetMode(int mode) {
    if (mode < 0 || mode > 2)
        return;
    Model().SetMode(static_cast<TKelEditMode>(mode));
    // The cursor follows the mouse into the new mode.
    if (mode != 2 && viewport()->underMouse())
        Model().MouseMove(mLastMouse.x(), mLastMouse.y(), mLastKeys);
    AfterInput();
    Refresh();
}

void TFormMapEditor::SetTool(int tool) {
    if (tool < 0 || tool > 5)
        return;
    Model().SetTool(static_cast<TKelEditTool>(tool));
    AfterInput();
    Refresh();
}

bool TFormMapEditor::Undo() {
    const bool done = Model().Undo();
    AfterInput();
    return done;
}

void TFormMapEditor::SetPattern(const TKelCurrentChip& pattern) {
    if (Model().Mode() == TKelEditMode::None)
        return;
    Model().SetPattern(Model().Mode(), pattern);
    AfterInput();
}

bool TFormMapEditor::CancelDrag() {
    if (Model().Drag() == TCanvasDrag::None)
        return false;
    // A press of another button is what ends a drag without committing it.
    Model().MouseDown(TCanvasButton::Right, mLastMouse.x(), mLastMouse.y(), mLastKeys);
    AfterInput();
    viewport()->update();
    return true;
}

void TFormMapEditor::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CancelDrag();
    TFormMapViewer::changeEvent(event);
}

void LinkChipPalette(TFormMapEditor& canvas, TFormChipSelector& palette) {
    QObject::connect(&palette, &TFormChipSelector::ChipSelected, &canvas, [&canvas, &palette] {
        if (canvas.Mode() != palette.Mode())
            return;
        TKelCurrentChip pattern;
        palette.FillPattern(pattern);
        canvas.SetPattern(pattern);
    });
    QObject::connect(&canvas, &TFormMapEditor::PatternPicked, &palette, [&canvas, &palette] {
        const TKelCurrentChip& pattern = canvas.Model().Pattern();
        const TPoint cell = pattern.Width == 1 && pattern.Height == 1 ? palette.PaletteCellOf(pattern.GetTile(0, 0))
                                                                      : TPoint{-1, -1};
        if (cell.X >= 0)
            palette.SetHighlight(TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1});
        else
            palette.ClearHighlight();
    });
    QObject::connect(&canvas, &TFormMapEditor::LayerModeToggled, &palette, [&palette](int mode) {
        palette.SetMode(mode);
        palette.ClearHighlight();
    });
}

// --- menus ---

void TFormMapEditor::CreateMenus() {
    const auto item = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto handler) {
        QAction* action = menu->addAction(text);
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
            action->setShortcutContext(Qt::WidgetShortcut);  // shown in the menu; the canvas takes the keys
        }
        connect(action, &QAction::triggered, this, [this, handler] {
            handler(Model());
            AfterInput();
            viewport()->update();
        });
        return action;
    };
    mMapChipMenu = new QMenu(this);
    mMapCut = item(mMapChipMenu, tr("Cu&t"), QKeySequence(tr("Ctrl+X")), [](TKelMapEditorModel& m) { m.Cut(); });
    mMapCopy = item(mMapChipMenu, tr("&Copy"), QKeySequence(tr("Ctrl+C")), [](TKelMapEditorModel& m) { m.Copy(); });
    mMapPaste = item(mMapChipMenu, tr("&Paste"), QKeySequence(tr("Ctrl+V")), [](TKelMapEditorModel& m) { m.Paste(); });
    mMapClear = item(mMapChipMenu, tr("C&lear"), QKeySequence(Qt::Key_Delete), [](TKelMapEditorModel& m) { m.Clear(); });
    mMapChipMenu->addSeparator();
    mMapSelectAll = item(mMapChipMenu, tr("Select &All"), QKeySequence(tr("Ctrl+A")),
                         [](TKelMapEditorModel& m) { m.SelectAll(); });

    mEventMenu = new QMenu(this);
    mEventNew = item(mEventMenu, tr("New &Event..."), QKeySequence(Qt::Key_Return),
                     [](TKelMapEditorModel& m) { m.NewOrEditEvent(); });
    mEventEdit = item(mEventMenu, tr("&Edit event..."), QKeySequence(Qt::Key_Return),
                      [](TKelMapEditorModel& m) { m.NewOrEditEvent(); });
    mEventMenu->addSeparator();
    mEventCut = item(mEventMenu, tr("Cu&t"), QKeySequence(tr("Ctrl+X")), [](TKelMapEditorModel& m) { m.CutEvent(); });
    mEventCopy = item(mEventMenu, tr("&Copy"), QKeySequence(tr("Ctrl+C")), [](TKelMapEditorModel& m) { m.CopyEvent(); });
    mEventPaste = item(mEventMenu, tr("&Paste"), QKeySequence(tr("Ctrl+V")),
                       [](TKelMapEditorModel& m) { m.PasteEvent(); });
    mEventDelete = item(mEventMenu, tr("&Delete"), QKeySequence(Qt::Key_Delete),
                        [](TKelMapEditorModel& m) { m.DeleteEvent(); });
    mEventMenu->addSeparator();
    mEventMove = item(mEventMenu, tr("&Move event..."), QKeySequence(), [](TKelMapEditorModel& m) { m.MoveEvent(); });
    mEventParty = item(mEventMenu, tr("Set &Start Party position..."), QKeySequence(),
                       [](TKelMapEditorModel& m) { m.SetPartyStart(); });
    mEventVehicle = item(mEventMenu, tr("Set &Vehicle position..."), QKeySequence(),
                         [](TKelMapEditorModel& m) { m.SetVehicleStart(); });

    // Beyond the editing commands, on both menus: a test play that begins at the menu's cell.
    mTestPlayHere = new QAction(tr("Test Play from &Here"), this);
    mTestPlayHere->setObjectName("ActionTestPlayFromHere");
    mTestPlayHere->setStatusTip(tr("Starts a test play on this map, at this cell"));
    connect(mTestPlayHere, &QAction::triggered, this, [this] {
        if (mMenuCell.X >= 0)
            emit TestPlayFromHere(mMenuCell.X, mMenuCell.Y);
    });
    for (QMenu* menu : {mMapChipMenu, mEventMenu}) {
        menu->addSeparator();
        menu->addAction(mTestPlayHere);
    }
}

void TFormMapEditor::RefreshMenuStates() {
    const TMapChipMenuState chips = Model().MapChipMenuState();
    mMapCut->setEnabled(chips.Cut);
    mMapCopy->setEnabled(chips.Copy);
    mMapPaste->setEnabled(chips.Paste);
    mMapClear->setEnabled(chips.Clear);
    mMapSelectAll->setEnabled(chips.SelectAll);
    const TEventMenuState events = Model().EventMenuState();
    mEventNew->setVisible(events.NewVisible);
    mEventNew->setEnabled(events.NewVisible);
    mEventEdit->setVisible(events.EditVisible);
    mEventEdit->setEnabled(events.Edit);
    mEventMenu->setDefaultAction(events.NewVisible ? mEventNew : events.EditVisible ? mEventEdit : nullptr);
    mEventCut->setEnabled(events.Cut);
    mEventCopy->setEnabled(events.Copy);
    mEventPaste->setEnabled(events.Paste);
    mEventDelete->setEnabled(events.Delete);
    mEventMove->setEnabled(events.Move);
    mEventParty->setEnabled(events.SetParty);
    mEventVehicle->setEnabled(events.SetVehicle);
    mTestPlayHere->setEnabled(mMenuCell.X >= 0);
}

void TFormMapEditor::ShowMenu(TCanvasPopup popup, const QPoint& client) {
    if (popup == TCanvasPopup::None)
        return;
    RefreshMenuStates();
    mShownMenu = popup == TCanvasPopup::MapChip ? mMapChipMenu : mEventMenu;
    mShownMenu->popup(viewport()->mapToGlobal(client));
}

void TFormMapEditor::ShowKeyMenu() {
    TPoint at;
    const TCanvasPopup popup = Model().MenuKey(at);
    AfterInput();
    mMenuCell = CanvasMenuCell(Model(), popup, std::nullopt);
    ShowMenu(popup, QPoint(at.X, at.Y));
}

// --- input ---

void TFormMapEditor::AfterInput() {
    TKelMapEditorModel& model = Model();
    if (model.PickDelayPending()) {
        if (!mPickTimer.isActive())
            mPickTimer.start();
    } else {
        mPickTimer.stop();
    }
    if (model.AutoScrolling()) {
        if (!mAutoScrollTimer.isActive())
            mAutoScrollTimer.start();
    } else {
        mAutoScrollTimer.stop();
    }
    if (model.HasSelection()) {
        if (!mMarchTimer.isActive())
            mMarchTimer.start();
    } else {
        mMarchTimer.stop();
    }
    InvalidateCursor();
    UpdateCursorShape(mLastMouse);
}

QRect TFormMapEditor::CursorClientRect(const TRect& cells, int extra) const {
    if (cells.Right <= cells.Left || cells.Bottom <= cells.Top)
        return QRect();
    const TPoint topLeft = mModel->CellOrigin(TPoint{cells.Left, cells.Top});
    const TPoint bottomRight = mModel->CellOrigin(TPoint{cells.Right, cells.Bottom});
    return QRect(QPoint(topLeft.X - extra, topLeft.Y - extra), QPoint(bottomRight.X + extra, bottomRight.Y + extra));
}

void TFormMapEditor::InvalidateCursor() {
    const TKelMapEditorModel& model = Model();
    const TRect cursor = model.CursorVisible() ? model.Cursor() : TRect{-1, -1, -1, -1};
    if (!(cursor == mShownCursor)) {
        viewport()->update(CursorClientRect(mShownCursor, 1));
        viewport()->update(CursorClientRect(cursor, 1));
        mShownCursor = cursor;
    }
    const TRect selection = model.HasSelection() ? model.Selection() : TRect{};
    if (!(selection == mShownSelection)) {
        viewport()->update(CursorClientRect(mShownSelection, 1));
        viewport()->update(CursorClientRect(selection, 1));
        mShownSelection = selection;
    }
    const TPoint target = model.MovingEvent() ? model.EventTarget() : TPoint{-1, -1};
    if (!(target == mShownTarget)) {
        viewport()->update(CursorClientRect(TRect{mShownTarget.X, mShownTarget.Y, mShownTarget.X + 1, mShownTarget.Y + 1}, 1));
        viewport()->update(CursorClientRect(TRect{target.X, target.Y, target.X + 1, target.Y + 1}, 1));
        mShownTarget = target;
    }
}

void TFormMapEditor::UpdateCursorShape(const QPoint& client) {
    const TKelMapEditorModel& model = Model();
    TCanvasCursor shape = TCanvasCursor::Arrow;
    if (model.Mode() == TKelEditMode::Events || model.Mode() == TKelEditMode::None || !model.Map()) {
        shape = TCanvasCursor::Arrow;
    } else if (model.Picking()) {
        shape = TCanvasCursor::Pick;
    } else if (model.MovingSelection()) {
        shape = TCanvasCursor::Move;
    } else {
        switch (model.Tool()) {
        case TKelEditTool::Select: {
            const TPoint cell = model.CellAt(client.x(), client.y());
            const TRect sel = model.Selection();
            const bool over = model.HasSelection() && cell.X >= sel.Left && cell.X < sel.Right && cell.Y >= sel.Top &&
                              cell.Y < sel.Bottom;
            shape = over ? TCanvasCursor::Move : TCanvasCursor::Select;
            break;
        }
        case TKelEditTool::Zoom: shape = TCanvasCursor::Zoom; break;
        case TKelEditTool::Pen: shape = TCanvasCursor::Pen; break;
        case TKelEditTool::Rectangle: shape = TCanvasCursor::Rectangle; break;
        case TKelEditTool::Ellipse: shape = TCanvasCursor::Ellipse; break;
        case TKelEditTool::Fill: shape = TCanvasCursor::Fill; break;
        default: break;
        }
    }
    if (Panning())
        return;
    if (shape != mCursorShape || viewport()->cursor().shape() == Qt::ArrowCursor) {
        mCursorShape = shape;
        viewport()->setCursor(CanvasCursor(shape));
    }
}

void TFormMapEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton || Panning()) {
        TFormMapViewer::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    mLastMouse = event->position().toPoint();
    mLastKeys = KeysOf(event->modifiers());
    const TCanvasPopup popup = Model().MouseDown(ButtonOf(event->button()), mLastMouse.x(), mLastMouse.y(), mLastKeys);
    SyncScrollBars();
    AfterInput();
    event->accept();
    mMenuCell = CanvasMenuCell(Model(), popup, TPoint{mLastMouse.x(), mLastMouse.y()});
    ShowMenu(popup, mLastMouse);
}

void TFormMapEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    mLastMouse = event->position().toPoint();
    mLastKeys = KeysOf(event->modifiers());
    Model().DoubleClick(ButtonOf(event->button()), mLastMouse.x(), mLastMouse.y(), mLastKeys);
    SyncScrollBars();
    AfterInput();
    event->accept();
}

void TFormMapEditor::mouseMoveEvent(QMouseEvent* event) {
    if (Panning()) {
        TFormMapViewer::mouseMoveEvent(event);
        return;
    }
    if (mWheelScrolling) {
        mWheelScrolling = false;
        viewport()->update(CursorClientRect(mShownCursor, 1));
    }
    mLastMouse = event->position().toPoint();
    mLastKeys = KeysOf(event->modifiers());
    Model().MouseMove(mLastMouse.x(), mLastMouse.y(), mLastKeys);
    AfterInput();
    event->accept();
}

void TFormMapEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        TFormMapViewer::mouseReleaseEvent(event);
        UpdateCursorShape(mLastMouse);
        viewport()->setCursor(CanvasCursor(mCursorShape));
        return;
    }
    mLastMouse = event->position().toPoint();
    mLastKeys = KeysOf(event->modifiers());
    Model().MouseUp(ButtonOf(event->button()), mLastMouse.x(), mLastMouse.y(), mLastKeys);
    AfterInput();
    event->accept();
}

void TFormMapEditor::wheelEvent(QWheelEvent* event) {
    const bool layerMode = Model().Mode() == TKelEditMode::Lower || Model().Mode() == TKelEditMode::Upper;
    if (layerMode && !mWheelScrolling) {
        mWheelScrolling = true;
        viewport()->update(CursorClientRect(mShownCursor, 1));
    }
    TFormMapViewer::wheelEvent(event);
    if (layerMode)
        viewport()->update(CursorClientRect(mShownCursor, 1));  // where the scroll took the frame
}

bool TFormMapEditor::RunKey(TCanvasKey key, Qt::KeyboardModifiers modifiers) {
    const bool used = Model().KeyDown(key, KeysOf(modifiers));
    if (used)
        AfterInput();
    return used;
}

void TFormMapEditor::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    bool used = false;
    switch (event->key()) {
    case Qt::Key_Left: used = RunKey(TCanvasKey::Left, event->modifiers()); break;
    case Qt::Key_Right: used = RunKey(TCanvasKey::Right, event->modifiers()); break;
    case Qt::Key_Up: used = RunKey(TCanvasKey::Up, event->modifiers()); break;
    case Qt::Key_Down: used = RunKey(TCanvasKey::Down, event->modifiers()); break;
    case Qt::Key_Delete: used = RunKey(TCanvasKey::Delete, event->modifiers()); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: used = RunKey(TCanvasKey::Enter, event->modifiers()); break;
    case Qt::Key_A: used = ctrl && RunKey(TCanvasKey::A, event->modifiers()); break;
    case Qt::Key_C: used = ctrl && RunKey(TCanvasKey::C, event->modifiers()); break;
    case Qt::Key_V: used = ctrl && RunKey(TCanvasKey::V, event->modifiers()); break;
    case Qt::Key_X: used = ctrl && RunKey(TCanvasKey::X, event->modifiers()); break;
    case Qt::Key_Z: used = ctrl && RunKey(TCanvasKey::Z, event->modifiers()); break;
    case Qt::Key_F10:
        // Shift+F10 opens the menu as the menu key does.
        if (event->modifiers() == Qt::ShiftModifier) {
            ShowKeyMenu();
            used = true;
        }
        break;
    default: break;
    }
    if (used)
        event->accept();
    else
        TFormMapViewer::keyPressEvent(event);
}

void TFormMapEditor::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();  // a right press has shown its menu already
        return;
    }
    event->accept();
    ShowKeyMenu();
}

bool TFormMapEditor::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Leave:
        Model().MouseLeave();
        AfterInput();
        break;
    default: break;
    }
    return TFormMapViewer::viewportEvent(event);
}

bool TFormMapEditor::event(QEvent* event) {
    // Keys of the canvas are not taken by shortcuts of the windows around it.
    if (event->type() == QEvent::ShortcutOverride && IsCanvasKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return TFormMapViewer::event(event);
}

// --- painting ---

void TFormMapEditor::DrawOverlay(TOrlenBoard& board, QPainter& painter) {
    const TKelMapEditorModel& model = Model();
    const int size = model.CellSize();
    const auto onView = [&](const TRect& cells) {
        const std::int64_t offsetX = DrawnOffsetX(), offsetY = DrawnOffsetY();
        return TRect{ClampToInt(static_cast<std::int64_t>(cells.Left) * size - offsetX),
                     ClampToInt(static_cast<std::int64_t>(cells.Top) * size - offsetY),
                     ClampToInt(static_cast<std::int64_t>(cells.Right) * size - offsetX),
                     ClampToInt(static_cast<std::int64_t>(cells.Bottom) * size - offsetY)};
    };
    const bool layerMode = model.Mode() == TKelEditMode::Lower || model.Mode() == TKelEditMode::Upper;
    if (model.CursorVisible() && !(mWheelScrolling && layerMode)) {
        TRect rect = onView(model.Cursor());
        if (model.Mode() == TKelEditMode::Events) {
            --rect.Left;
            --rect.Top;
        }
        DrawCursorFrame(board, RgbColor(CursorColorOf(model.Mode())), rect);
    }
    if (model.MovingEvent()) {
        const TPoint target = model.EventTarget();
        DrawCursorFrame(board, RgbColor(kEventTargetColor), onView(TRect{target.X, target.Y, target.X + 1, target.Y + 1}));
    }
    if (model.HasSelection()) {
        const std::int64_t time = mMarchingTime >= 0 ? mMarchingTime : mClock.elapsed();
        DrawMarchingFrame(painter, time, kMarchingSpeed, Qt::black, Qt::white, Qt::DotLine, onView(model.Selection()));
    }
}

}  // namespace quillon
