#include "mapedit/MapEditor.h"

#include "graphics/DrawUtils.h"
#include "graphics/GR_ChipSet.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace quillon {

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

int ClampInt(std::int64_t value) { return static_cast<int>(std::clamp(value, kIntMin, kIntMax)); }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

bool Inside(const TRect& rect, std::int64_t x, std::int64_t y) {
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

// The tile a lifted region leaves in the lower layer: the tile without its shape.
std::uint16_t WithoutShape(std::uint16_t tile) {
    return tile >= kTileLowerFirst ? tile : static_cast<std::uint16_t>(tile - tile % 50);
}

void PutU16(std::string& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>(value >> 8));
}

std::uint16_t GetU16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

}  // namespace

// --- the clipboard block ---

std::string EncodeMapCellBlock(const TMapCellBlock& block) {
    std::string bytes;
    const std::size_t cells = static_cast<std::size_t>(block.Width) * static_cast<std::size_t>(block.Height);
    bytes.reserve((cells * 2 + 2) * 2);
    PutU16(bytes, static_cast<std::uint16_t>(block.Width));
    PutU16(bytes, static_cast<std::uint16_t>(block.Height));
    for (std::size_t i = 0; i < cells; ++i) {
        PutU16(bytes, i < block.Lower.size() ? block.Lower[i] : kLowerFillValue);
        PutU16(bytes, i < block.Upper.size() ? block.Upper[i] : kUpperFillValue);
    }
    return bytes;
}

std::optional<TMapCellBlock> DecodeMapCellBlock(const std::string& bytes) {
    if (bytes.size() < 4)
        return std::nullopt;
    TMapCellBlock block;
    block.Width = GetU16(bytes, 0);
    block.Height = GetU16(bytes, 2);
    const std::uint64_t cells = static_cast<std::uint64_t>(block.Width) * static_cast<std::uint64_t>(block.Height);
    if (cells == 0 || bytes.size() != (cells * 2 + 2) * 2)
        return std::nullopt;
    block.Lower.resize(cells);
    block.Upper.resize(cells);
    for (std::uint64_t i = 0; i < cells; ++i) {
        block.Lower[i] = GetU16(bytes, 4 + i * 4);
        block.Upper[i] = GetU16(bytes, 6 + i * 4);
    }
    return block;
}

// --- TKelMapEditorModel ---

TKelMapEditorModel::TKelMapEditorModel() {
    mEdit.Mode = TKelEditMode::None;
    // Each mode starts with the palette's first cell.
    mEdit.Patterns[0].SetSingle(static_cast<std::uint16_t>(kPreviewShape));
    mEdit.Patterns[1].SetSingle(static_cast<std::uint16_t>(kTileUpperFirst));
    mEdit.Patterns[2].SetSingle(static_cast<std::uint16_t>(kTileUpperFirst));
    mEdit.Patterns[3].SetSingle(static_cast<std::uint16_t>(kTileUpperFirst));
    mEdit.Links = [this](std::int32_t chip) { return Chips() ? Chips()->GetAutotileLink(chip) : -1; };
    mEdit.OnRedrawCell = [this](std::int32_t column, std::int32_t row) {
        RedrawCells(TRect{column, row, column + 1, row + 1});
    };
    mEventManager = &mRefusingManager;
}

TKelMapEditorModel::~TKelMapEditorModel() = default;

IClipboard& TKelMapEditorModel::Clip() const { return mClipboard ? *mClipboard : Clipboard(); }

void TKelMapEditorModel::SetEventManager(IMapEventManager* manager) {
    mEventManager = manager ? manager : &mRefusingManager;
    mEventManager->SetMap(MapTree(), mMap);
}

void TKelMapEditorModel::MarkChanged() {
    if (mMap)
        mMap->Modified = true;
    OnMapChanged();
}

void TKelMapEditorModel::SetCursor(const TRect& cursor) { mCursor = cursor; }

void TKelMapEditorModel::SetCursorCell(TPoint cell) {
    if (cell == mCursorCell)
        return;
    mCursorCell = cell;
    OnCursorMoved(cell);
}

void TKelMapEditorModel::UpdateCursor(TPoint cell) {
    if (!LayerMode())
        return;
    const TKelCurrentChip& pattern = mEdit.Pattern();
    const std::int64_t left = static_cast<std::int64_t>(cell.X) - mEdit.PatternOffset.X;
    const std::int64_t top = static_cast<std::int64_t>(cell.Y) - mEdit.PatternOffset.Y;
    SetCursor(TRect{ClampInt(left), ClampInt(top), ClampInt(left + std::clamp(pattern.Width, 1, 6)),
                    ClampInt(top + std::clamp(pattern.Height, 1, 6))});
}

bool TKelMapEditorModel::CursorVisible() const {
    if (mCursor.Right <= mCursor.Left || mCursor.Bottom <= mCursor.Top)
        return false;
    if (EventMode())
        return true;
    return LayerMode() && mTool != TKelEditTool::Select && mTool != TKelEditTool::Zoom;
}

// --- mode, tool, map ---

void TKelMapEditorModel::SetMode(TKelEditMode mode) {
    if (mode == mEdit.Mode)
        return;
    CancelDrag();
    mEdit.Mode = mode;
    ClearSelection();
    if (mode == TKelEditMode::Events)
        SetCursor(TRect{-1, -1, -1, -1});
    else
        UpdateCursor(mCursorCell);
    RedrawAll();
}

void TKelMapEditorModel::SetTool(TKelEditTool tool) {
    CancelDrag();
    mTool = tool;
    ClearSelection();
    RedrawAll();
}

void TKelMapEditorModel::LoadMap(TKelMap* map) {
    // The map object may already hold another map: a drag in progress is dropped, not undone.
    mDrag = TCanvasDrag::None;
    mSelection = TRect{};
    mSelectionLifted = false;
    mEventManager->SetMap(MapTree(), map);
    const std::int32_t width = map ? map->Width() : 0;
    const std::int32_t height = map ? map->Height() : 0;
    mBackupLower.Resize(width, height);
    mBackupUpper.Resize(width, height);
    mEdit.LoadMap(map);
    mCursor = TRect{-1, -1, -1, -1};
    mEventTarget = TPoint{-1, -1};
    TKelMapViewModel::LoadMap(map);
    OnSelectionChanged();
    OnMapChanged();
}

void TKelMapEditorModel::SetPattern(TKelEditMode mode, const TKelCurrentChip& pattern) {
    const auto index = static_cast<std::size_t>(mode);
    if (index >= mEdit.Patterns.size())
        return;
    TKelCurrentChip& target = mEdit.Patterns[index];
    target = pattern;
    target.Width = std::clamp(target.Width, 1, TKelCurrentChip::kMaxSize);
    target.Height = std::clamp(target.Height, 1, TKelCurrentChip::kMaxSize);
    mEdit.PatternOffset = TPoint{};
    if (mSelectionLifted)
        PrepareBackups();
    UpdateCursor(mCursorCell);
}

// --- drags ---

void TKelMapEditorModel::CancelDrag() {
    const TCanvasDrag drag = mDrag;
    mDrag = TCanvasDrag::None;
    switch (drag) {
    case TCanvasDrag::Drawing:
        mEdit.CancelDrawing();
        break;
    case TCanvasDrag::Picking:
        mEdit.PatternOffset = mSavedPatternOffset;
        UpdateCursor(mDragStart);
        break;
    case TCanvasDrag::MovingEvent:
        RedrawCells(TRect{mEventTarget.X, mEventTarget.Y, mEventTarget.X + 1, mEventTarget.Y + 1});
        mEventTarget = TPoint{-1, -1};
        break;
    case TCanvasDrag::Selecting:
        ClearSelection();
        break;
    case TCanvasDrag::MovingSelection: {
        // Back to the state from the start of this move; the undo store is left alone.
        const auto restore = [this](const TKelMapLayer& from, TKelMapLayer& to) {
            const std::int32_t width = std::min(from.Width(), to.Width());
            const std::int32_t height = std::min(from.Height(), to.Height());
            for (std::int32_t row = 0; row < height; ++row)
                for (std::int32_t column = 0; column < width; ++column) {
                    const std::int32_t old = from.Cell(column, row);
                    if (old >= 0 && old != to.Cell(column, row)) {
                        to.SetCell(column, row, static_cast<std::uint16_t>(old));
                        RedrawCells(TRect{column, row, column + 1, row + 1});
                    }
                }
        };
        if (mMap) {
            restore(mMoveLower, mMap->LowerLayer);
            restore(mMoveUpper, mMap->UpperLayer);
        }
        mSelection = mMoveSelection;
        OnSelectionChanged();
        break;
    }
    case TCanvasDrag::None:
        break;
    }
}

void TKelMapEditorModel::ClearSelection() {
    const bool had = HasSelection() || mSelectionLifted;
    mSelection = TRect{};
    mSelectionLifted = false;
    if (had)
        OnSelectionChanged();
}

void TKelMapEditorModel::PrepareBackups() {
    if (!mMap)
        return;
    const std::uint16_t fill = WithoutShape(mEdit.Patterns[0].GetTile(0, 0));
    for (std::int64_t row = std::max(mSelection.Top, 0); row < std::min(mSelection.Bottom, mMap->Height()); ++row)
        for (std::int64_t column = std::max(mSelection.Left, 0); column < std::min(mSelection.Right, mMap->Width());
             ++column) {
            mBackupLower.SetCell(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row), fill);
            mBackupUpper.SetCell(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row), kUpperFillValue);
        }
}

void TKelMapEditorModel::LiftSelection() {
    if (!mMap || !HasSelection())
        return;
    const std::int32_t width = mSelection.Width(), height = mSelection.Height();
    mFloatLower.Resize(0, 0);
    mFloatUpper.Resize(0, 0);
    mFloatLower.Resize(width, height);
    mFloatUpper.Resize(width, height);
    for (std::int32_t row = 0; row < height; ++row)
        for (std::int32_t column = 0; column < width; ++column) {
            const std::int32_t lower = mMap->LowerLayer.Cell(mSelection.Left + column, mSelection.Top + row);
            const std::int32_t upper = mMap->UpperLayer.Cell(mSelection.Left + column, mSelection.Top + row);
            mFloatLower.SetCell(column, row, static_cast<std::uint16_t>(lower < 0 ? kLowerFillValue : lower));
            mFloatUpper.SetCell(column, row, static_cast<std::uint16_t>(upper < 0 ? kUpperFillValue : upper));
        }
    mBackupLower.Assign(mMap->LowerLayer);
    mBackupUpper.Assign(mMap->UpperLayer);
    mBackupLower.LoopHorizontal = mBackupLower.LoopVertical = false;
    mBackupUpper.LoopHorizontal = mBackupUpper.LoopVertical = false;
    PrepareBackups();
    mSelectionLifted = true;
    OnSelectionChanged();
}

void TKelMapEditorModel::WriteCell(TKelMapLayer& layer, std::int64_t column, std::int64_t row, std::uint16_t id) {
    if (column < 0 || row < 0 || column >= layer.Width() || row >= layer.Height())
        return;
    const auto c = static_cast<std::int32_t>(column), r = static_cast<std::int32_t>(row);
    if (layer.Cell(c, r) == id)
        return;
    layer.SetCell(c, r, id);
    RedrawCells(TRect{c, r, c + 1, r + 1});
}

void TKelMapEditorModel::PlaceFloat(const TRect& from, const TRect& to) {
    if (!mMap)
        return;
    const std::int64_t mapW = mMap->Width(), mapH = mMap->Height();
    // Cells the old rectangle leaves get the backups' values back.
    for (std::int64_t row = std::max<std::int64_t>(from.Top, 0); row < std::min<std::int64_t>(from.Bottom, mapH); ++row)
        for (std::int64_t column = std::max<std::int64_t>(from.Left, 0); column < std::min<std::int64_t>(from.Right, mapW);
             ++column) {
            if (Inside(to, column, row))
                continue;
            const auto c = static_cast<std::int32_t>(column), r = static_cast<std::int32_t>(row);
            const std::int32_t lower = mBackupLower.Cell(c, r), upper = mBackupUpper.Cell(c, r);
            if (lower >= 0)
                WriteCell(mMap->LowerLayer, column, row, static_cast<std::uint16_t>(lower));
            if (upper >= 0)
                WriteCell(mMap->UpperLayer, column, row, static_cast<std::uint16_t>(upper));
        }
    // The new rectangle receives the floating content.
    for (std::int64_t row = std::max<std::int64_t>(to.Top, 0); row < std::min<std::int64_t>(to.Bottom, mapH); ++row)
        for (std::int64_t column = std::max<std::int64_t>(to.Left, 0); column < std::min<std::int64_t>(to.Right, mapW);
             ++column) {
            const auto fc = static_cast<std::int32_t>(column - to.Left), fr = static_cast<std::int32_t>(row - to.Top);
            const std::int32_t lower = mFloatLower.Cell(fc, fr), upper = mFloatUpper.Cell(fc, fr);
            if (lower >= 0)
                WriteCell(mMap->LowerLayer, column, row, static_cast<std::uint16_t>(lower));
            if (upper >= 0)
                WriteCell(mMap->UpperLayer, column, row, static_cast<std::uint16_t>(upper));
        }
}

void TKelMapEditorModel::MoveSelectionTo(std::int64_t mapX, std::int64_t mapY) {
    const std::int64_t size = CellSize();
    const auto steps = [size](std::int64_t distance) -> std::int64_t {
        if (std::abs(distance) * 2 <= size)
            return 0;
        const std::int64_t cells = (std::abs(distance) + size / 2) / size;
        return distance < 0 ? -cells : cells;
    };
    const std::int64_t dx = steps(mapX - mMoveRefX), dy = steps(mapY - mMoveRefY);
    if (dx == 0 && dy == 0)
        return;
    mMoveRefX += dx * size;
    mMoveRefY += dy * size;
    const TRect from = mSelection;
    const std::int64_t left = static_cast<std::int64_t>(from.Left) + dx, top = static_cast<std::int64_t>(from.Top) + dy;
    const TRect to{ClampInt(left), ClampInt(top), ClampInt(left + from.Width()), ClampInt(top + from.Height())};
    mSelection = to;
    PlaceFloat(from, to);
    OnSelectionChanged();
}

void TKelMapEditorModel::DropEvent() {
    const TPoint target = mEventTarget;
    RedrawCells(TRect{target.X, target.Y, target.X + 1, target.Y + 1});
    mEventTarget = TPoint{-1, -1};
    if (!mMap || !CellInMap(target) || EventMap().GetAt(target.X, target.Y) != kEventCodeNone)
        return;
    if (mEventCode >= kEventCodeParty && mEventCode <= kEventCodeAirship) {
        if (!MapTree())
            return;
        const int index = mEventCode - kEventCodeParty;
        MapTree()->StartPosition.SetX(index, target.X);
        MapTree()->StartPosition.SetY(index, target.Y);
        // Start positions are stored with the tree.
        if (TKelMapTreeItem* root = MapTree()->FindByID(0))
            root->Modified = true;
    } else {
        TKelEventItem* event = mMap->Events.FindByID(mEventCode);
        if (!event)
            return;
        event->X = target.X;
        event->Y = target.Y;
    }
    RedrawCells(TRect{mDragStart.X, mDragStart.Y, mDragStart.X + 1, mDragStart.Y + 1});
    SetCursor(TRect{target.X, target.Y, target.X + 1, target.Y + 1});
    SetCursorCell(target);
    RebuildEventMap();
    MarkChanged();
}

// --- input ---

TCanvasPopup TKelMapEditorModel::MouseDown(TCanvasButton button, int x, int y, TKelEditKeys keys) {
    mKeys = keys;
    mLastMouse = TPoint{x, y};
    if (button == TCanvasButton::Middle)
        return TCanvasPopup::None;
    if (mDrag != TCanvasDrag::None) {
        // Another button during a drag cancels it.
        CancelDrag();
        return TCanvasPopup::None;
    }
    if (!mMap || mMap->Width() <= 0 || mMap->Height() <= 0)
        return TCanvasPopup::None;
    const TPoint cell = CellAt(x, y);
    const bool left = button == TCanvasButton::Left;
    if (EventMode()) {
        if (!CellInMap(cell))
            return TCanvasPopup::None;
        SetCursor(TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1});
        SetCursorCell(cell);
        if (!left)
            return TCanvasPopup::Event;
        const std::int32_t code = EventMap().GetAt(cell.X, cell.Y);
        if (code > 0) {
            mDrag = TCanvasDrag::MovingEvent;
            mEventCode = code;
            mDragStart = cell;
            mEventTarget = cell;
        }
        return TCanvasPopup::None;
    }
    if (!LayerMode())
        return TCanvasPopup::None;
    switch (mTool) {
    case TKelEditTool::Zoom: {
        const int size = CellSize();
        const int next = left ? std::min(size * 2, kFullCellSize) : std::max(size / 2, 4);
        if (next == size)
            return TCanvasPopup::None;
        // The full-scale point under the mouse stays under it.
        const std::int64_t fullX = (static_cast<std::int64_t>(x) - ViewLeft() + OffsetX()) * kFullCellSize / size;
        const std::int64_t fullY = (static_cast<std::int64_t>(y) - ViewTop() + OffsetY()) * kFullCellSize / size;
        SetCellSize(next);
        ScrollTo(fullX * next / kFullCellSize - (x - ViewLeft()), fullY * next / kFullCellSize - (y - ViewTop()));
        return TCanvasPopup::None;
    }
    case TKelEditTool::Select: {
        if (!left)
            return TCanvasPopup::MapChip;
        if (HasSelection() && Inside(mSelection, cell.X, cell.Y)) {
            if (mSelectionLifted) {
                UndoStore().PushMap(*mMap);
                mSelectionLifted = false;
            }
            mMoveLower.Assign(mMap->LowerLayer);
            mMoveUpper.Assign(mMap->UpperLayer);
            mMoveSelection = mSelection;
            mMoveRefX = static_cast<std::int64_t>(x) - ViewLeft() + OffsetX();
            mMoveRefY = static_cast<std::int64_t>(y) - ViewTop() + OffsetY();
            mDrag = TCanvasDrag::MovingSelection;
            return TCanvasPopup::None;
        }
        ClearSelection();
        const TPoint grid = GridPointAt(x, y);
        mSelectionStart = TPoint{std::clamp(grid.X, 0, mMap->Width()), std::clamp(grid.Y, 0, mMap->Height())};
        mDrag = TCanvasDrag::Selecting;
        return TCanvasPopup::None;
    }
    default:
        break;
    }
    if (left) {
        mDrag = TCanvasDrag::Drawing;
        mDragStart = cell;
        mEdit.BeginDrawing(mTool, cell, keys);
        UpdateCursor(cell);
        return TCanvasPopup::None;
    }
    // Picking a pattern from the map.
    mDrag = TCanvasDrag::Picking;
    mDragStart = TPoint{std::clamp(cell.X, 0, mMap->Width() - 1), std::clamp(cell.Y, 0, mMap->Height() - 1)};
    mPickCurrent = mDragStart;
    mPickDelayDone = false;
    mSavedPatternOffset = mEdit.PatternOffset;
    mEdit.PatternOffset = TPoint{};
    SetCursor(TRect{mDragStart.X, mDragStart.Y, mDragStart.X + 1, mDragStart.Y + 1});
    return TCanvasPopup::None;
}

void TKelMapEditorModel::MouseMove(int x, int y, TKelEditKeys keys) {
    mKeys = keys;
    mLastMouse = TPoint{x, y};
    if (!mMap)
        return;
    const TPoint cell = CellAt(x, y);
    SetCursorCell(cell);
    switch (mDrag) {
    case TCanvasDrag::None:
        UpdateCursor(cell);
        break;
    case TCanvasDrag::Drawing:
        mEdit.DragTo(cell, keys);
        UpdateCursor(cell);
        break;
    case TCanvasDrag::Picking: {
        if (!mPickDelayDone)
            break;
        constexpr std::int64_t kReach = TKelCurrentChip::kMaxSize - 1;
        const auto clampAxis = [](std::int64_t value, std::int64_t from, std::int64_t size) {
            const std::int64_t low = std::max<std::int64_t>(0, from - kReach);
            const std::int64_t high = std::min<std::int64_t>(size - 1, from + kReach);
            return static_cast<int>(std::clamp(value, low, high));
        };
        mPickCurrent = TPoint{clampAxis(cell.X, mDragStart.X, mMap->Width()), clampAxis(cell.Y, mDragStart.Y, mMap->Height())};
        SetCursor(RectFromCells(mDragStart, mPickCurrent));
        mEdit.PatternOffset =
            TPoint{std::max(0, mPickCurrent.X - mDragStart.X), std::max(0, mPickCurrent.Y - mDragStart.Y)};
        break;
    }
    case TCanvasDrag::MovingEvent: {
        const TPoint target{std::clamp(cell.X, 0, mMap->Width() - 1), std::clamp(cell.Y, 0, mMap->Height() - 1)};
        if (target == mEventTarget)
            break;
        RedrawCells(TRect{mEventTarget.X, mEventTarget.Y, mEventTarget.X + 1, mEventTarget.Y + 1});
        mEventTarget = target;
        RedrawCells(TRect{target.X, target.Y, target.X + 1, target.Y + 1});
        break;
    }
    case TCanvasDrag::Selecting: {
        const TPoint grid = GridPointAt(x, y);
        const TPoint current{std::clamp(grid.X, 0, mMap->Width()), std::clamp(grid.Y, 0, mMap->Height())};
        const TRect rect{std::min(mSelectionStart.X, current.X), std::min(mSelectionStart.Y, current.Y),
                         std::max(mSelectionStart.X, current.X), std::max(mSelectionStart.Y, current.Y)};
        const TRect selection = rect.Right > rect.Left && rect.Bottom > rect.Top ? rect : TRect{};
        if (selection != mSelection) {
            mSelection = selection;
            OnSelectionChanged();
        }
        break;
    }
    case TCanvasDrag::MovingSelection:
        MoveSelectionTo(static_cast<std::int64_t>(x) - ViewLeft() + OffsetX(),
                        static_cast<std::int64_t>(y) - ViewTop() + OffsetY());
        break;
    }
}

void TKelMapEditorModel::MouseUp(TCanvasButton button, int x, int y, TKelEditKeys keys) {
    if (mDrag == TCanvasDrag::None || button == TCanvasButton::Middle)
        return;
    const bool picking = mDrag == TCanvasDrag::Picking;
    if (picking != (button == TCanvasButton::Right))
        return;  // not the button that started the drag
    MouseMove(x, y, keys);
    const TCanvasDrag drag = mDrag;
    mDrag = TCanvasDrag::None;
    switch (drag) {
    case TCanvasDrag::Drawing:
        mEdit.EndDrawing();
        MarkChanged();
        break;
    case TCanvasDrag::Picking:
        mEdit.PickPattern(mDragStart, mPickCurrent, keys);
        UpdateCursor(CellAt(x, y));
        OnPatternPicked();
        break;
    case TCanvasDrag::MovingEvent:
        DropEvent();
        break;
    case TCanvasDrag::Selecting:
        if (HasSelection())
            LiftSelection();
        break;
    case TCanvasDrag::MovingSelection:
        if (mSelection != mMoveSelection)
            MarkChanged();
        break;
    case TCanvasDrag::None:
        break;
    }
}

void TKelMapEditorModel::DoubleClick(TCanvasButton button, int x, int y, TKelEditKeys keys) {
    if (LayerMode() && mTool == TKelEditTool::Zoom) {
        MouseDown(button, x, y, keys);
        return;
    }
    mKeys = keys;
    if (mDrag != TCanvasDrag::None) {
        if (button != TCanvasButton::Middle)
            CancelDrag();
        return;
    }
    if (button == TCanvasButton::Right && LayerMode()) {
        SetMode(mEdit.Mode == TKelEditMode::Lower ? TKelEditMode::Upper : TKelEditMode::Lower);
        OnModeToggled(mEdit.Mode);
        return;
    }
    if (button == TCanvasButton::Left && EventMode()) {
        const TPoint cell = CellAt(x, y);
        if (!CellInMap(cell))
            return;
        SetCursor(TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1});
        SetCursorCell(cell);
        NewOrEditEvent();
    }
}

void TKelMapEditorModel::MouseLeave() {
    if (EventMode() || Picking())
        return;
    SetCursor(TRect{-1, -1, -1, -1});
}

void TKelMapEditorModel::PickDelayExpired() {
    if (!Picking() || mPickDelayDone)
        return;
    mPickDelayDone = true;
    MouseMove(mLastMouse.X, mLastMouse.Y, mKeys);
}

bool TKelMapEditorModel::AutoScrollTick(int x, int y, TKelEditKeys keys) {
    if (mDrag == TCanvasDrag::None)
        return false;
    const std::int64_t px = static_cast<std::int64_t>(x) - ViewLeft();
    const std::int64_t py = static_cast<std::int64_t>(y) - ViewTop();
    const auto step = [](std::int64_t distance) { return EdgeScrollStep(ClampInt(distance)); };
    const std::int64_t dx = -2 * step(16 - px) + 2 * step(px - ViewWidth() + 16);
    const std::int64_t dy = -2 * step(16 - py) + 2 * step(py - ViewHeight() + 16);
    const bool moved = (dx != 0 || dy != 0) && ScrollBy(dx, dy);
    MouseMove(x, y, keys);
    return moved;
}

bool TKelMapEditorModel::KeyDown(TCanvasKey key, TKelEditKeys keys) {
    if (key == TCanvasKey::Z && keys.Ctrl)
        return Undo();
    if (mDrag != TCanvasDrag::None || !mMap)
        return false;
    if (LayerMode()) {
        if (mTool != TKelEditTool::Select)
            return false;
        switch (key) {
        case TCanvasKey::A: return keys.Ctrl && SelectAll();
        case TCanvasKey::C: return keys.Ctrl && Copy();
        case TCanvasKey::V: return keys.Ctrl && Paste();
        case TCanvasKey::X: return keys.Ctrl && Cut();
        case TCanvasKey::Delete: return Clear();
        default: return false;
        }
    }
    if (!EventMode())
        return false;
    const bool arrow = key == TCanvasKey::Left || key == TCanvasKey::Right || key == TCanvasKey::Up ||
                       key == TCanvasKey::Down;
    if (!CellInMap(TPoint{mCursor.Left, mCursor.Top})) {
        // The first arrow key shows where the keyboard starts.
        return arrow && EnsureEventCursor();
    }
    int dx = 0, dy = 0;
    switch (key) {
    case TCanvasKey::Left: dx = -1; break;
    case TCanvasKey::Right: dx = 1; break;
    case TCanvasKey::Up: dy = -1; break;
    case TCanvasKey::Down: dy = 1; break;
    case TCanvasKey::C: return keys.Ctrl && CopyEvent();
    case TCanvasKey::V: return keys.Ctrl && PasteEvent();
    case TCanvasKey::X: return keys.Ctrl && CutEvent();
    case TCanvasKey::Delete: return DeleteEvent();
    case TCanvasKey::Enter: return NewOrEditEvent();
    default: return false;
    }
    const TPoint cell{mCursor.Left + dx, mCursor.Top + dy};
    if (!CellInMap(cell))
        return true;
    SetCursor(TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1});
    SetCursorCell(cell);
    // Keep the cursor in view.
    const std::int64_t size = CellSize();
    std::int64_t scrollX = OffsetX(), scrollY = OffsetY();
    if (cell.X * size < OffsetX())
        scrollX = cell.X * size;
    else if (cell.X * size + size > OffsetX() + ViewWidth())
        scrollX = cell.X * size + size - ViewWidth();
    if (cell.Y * size < OffsetY())
        scrollY = cell.Y * size;
    else if (cell.Y * size + size > OffsetY() + ViewHeight())
        scrollY = cell.Y * size + size - ViewHeight();
    ScrollTo(scrollX, scrollY);
    return true;
}

bool TKelMapEditorModel::EnsureEventCursor() {
    if (!mMap || mMap->Width() <= 0 || mMap->Height() <= 0)
        return false;
    if (CellInMap(TPoint{mCursor.Left, mCursor.Top}))
        return true;
    const std::int64_t size = CellSize();
    const TPoint cell{static_cast<int>(std::clamp<std::int64_t>((OffsetX() + size - 1) / size, 0, mMap->Width() - 1)),
                      static_cast<int>(std::clamp<std::int64_t>((OffsetY() + size - 1) / size, 0, mMap->Height() - 1))};
    SetCursor(TRect{cell.X, cell.Y, cell.X + 1, cell.Y + 1});
    SetCursorCell(cell);
    return true;
}

TCanvasPopup TKelMapEditorModel::MenuKey(TPoint& at) {
    if (mDrag != TCanvasDrag::None || !mMap || mMap->Width() <= 0 || mMap->Height() <= 0)
        return TCanvasPopup::None;
    TCanvasPopup popup = TCanvasPopup::None;
    TRect cells{0, 0, 0, 0};
    if (EventMode()) {
        EnsureEventCursor();
        popup = TCanvasPopup::Event;
        cells = mCursor;
    } else if (LayerMode() && mTool == TKelEditTool::Select) {
        popup = TCanvasPopup::MapChip;
        cells = HasSelection() ? mSelection : TRect{0, 0, 0, 0};
    } else {
        return TCanvasPopup::None;
    }
    // Below the cells' left edge, kept inside the view.
    const TRect view = ViewRect();
    const TPoint corner = CellOrigin(TPoint{cells.Left, cells.Bottom});
    at = TPoint{std::clamp(corner.X, view.Left, std::max(view.Left, view.Right - 1)),
                std::clamp(corner.Y, view.Top, std::max(view.Top, view.Bottom - 1))};
    if (popup == TCanvasPopup::MapChip && !HasSelection())
        at = TPoint{view.Left, view.Top};
    return popup;
}

// --- undo and map-chip commands ---

bool TKelMapEditorModel::Undo() {
    if (mDrag != TCanvasDrag::None || !mEdit.Undo())
        return false;
    ClearSelection();
    MarkChanged();
    RedrawAll();
    return true;
}

TMapChipMenuState TKelMapEditorModel::MapChipMenuState() const {
    TMapChipMenuState state;
    if (!LayerMode() || !mMap || mDrag != TCanvasDrag::None)
        return state;
    state.Cut = state.Copy = state.Clear = HasSelection();
    state.Paste = Clip().HasFormat(kMapCellClipboardFormat);
    state.SelectAll = mMap->Width() > 0 && mMap->Height() > 0;
    return state;
}

bool TKelMapEditorModel::Copy() {
    if (!MapChipMenuState().Copy)
        return false;
    TMapCellBlock block;
    block.Width = std::min(mFloatLower.Width(), 0xFFFF);
    block.Height = std::min(mFloatLower.Height(), 0xFFFF);
    block.Lower.reserve(static_cast<std::size_t>(block.Width) * static_cast<std::size_t>(block.Height));
    for (std::int32_t column = 0; column < block.Width; ++column)
        for (std::int32_t row = 0; row < block.Height; ++row) {
            block.Lower.push_back(static_cast<std::uint16_t>(std::max(mFloatLower.Cell(column, row), 0)));
            block.Upper.push_back(static_cast<std::uint16_t>(std::max(mFloatUpper.Cell(column, row), 0)));
        }
    if (block.Width <= 0 || block.Height <= 0)
        return false;
    Clip().SetData(kMapCellClipboardFormat, EncodeMapCellBlock(block));
    return true;
}

bool TKelMapEditorModel::Clear() {
    if (!MapChipMenuState().Clear)
        return false;
    UndoStore().PushMap(*mMap);
    const std::int64_t top = std::max(mSelection.Top, 0), bottom = std::min(mSelection.Bottom, mMap->Height());
    const std::int64_t left = std::max(mSelection.Left, 0), right = std::min(mSelection.Right, mMap->Width());
    for (std::int64_t row = top; row < bottom; ++row)
        for (std::int64_t column = left; column < right; ++column) {
            const auto c = static_cast<std::int32_t>(column), r = static_cast<std::int32_t>(row);
            const std::int32_t lower = mBackupLower.Cell(c, r), upper = mBackupUpper.Cell(c, r);
            if (lower >= 0)
                WriteCell(mMap->LowerLayer, column, row, static_cast<std::uint16_t>(lower));
            if (upper >= 0)
                WriteCell(mMap->UpperLayer, column, row, static_cast<std::uint16_t>(upper));
        }
    ClearSelection();
    MarkChanged();
    return true;
}

bool TKelMapEditorModel::Cut() {
    if (!MapChipMenuState().Cut)
        return false;
    Copy();
    return Clear();
}

bool TKelMapEditorModel::SelectAll() {
    if (!MapChipMenuState().SelectAll)
        return false;
    ClearSelection();
    mSelection = TRect{0, 0, mMap->Width(), mMap->Height()};
    LiftSelection();
    return true;
}

bool TKelMapEditorModel::Paste() {
    if (!MapChipMenuState().Paste)
        return false;
    const std::optional<std::string> bytes = Clip().GetData(kMapCellClipboardFormat);
    if (!bytes)
        return false;
    std::optional<TMapCellBlock> block = DecodeMapCellBlock(*bytes);
    if (!block)
        return false;
    // Another program's block may hold what the layers never store.
    mPasteReport = {};
    CheckPastedCells(*block, mPasteReport);
    const std::int64_t size = CellSize();
    const std::int64_t left = FloorDiv(ViewWidth() / 2 + OffsetX(), size) - block->Width / 2;
    const std::int64_t top = FloorDiv(ViewHeight() / 2 + OffsetY(), size) - block->Height / 2;
    const bool pasted = PasteBlock(*block, left, top);
    if (pasted && !mPasteReport.Empty())
        OnPasteChecked(mPasteReport);
    return pasted;
}

bool TKelMapEditorModel::PasteBlock(const TMapCellBlock& block, std::int64_t left, std::int64_t top) {
    if (!mMap || block.Width <= 0 || block.Height <= 0)
        return false;
    ClearSelection();
    mSelection = TRect{ClampInt(left), ClampInt(top), ClampInt(left + block.Width), ClampInt(top + block.Height)};
    mFloatLower.Resize(0, 0);
    mFloatUpper.Resize(0, 0);
    mFloatLower.Resize(block.Width, block.Height);
    mFloatUpper.Resize(block.Width, block.Height);
    for (std::int32_t column = 0; column < block.Width; ++column)
        for (std::int32_t row = 0; row < block.Height; ++row) {
            const std::size_t index = static_cast<std::size_t>(column) * static_cast<std::size_t>(block.Height) +
                                      static_cast<std::size_t>(row);
            mFloatLower.SetCell(column, row, block.Lower[index]);
            mFloatUpper.SetCell(column, row, block.Upper[index]);
        }
    mBackupLower.Assign(mMap->LowerLayer);
    mBackupUpper.Assign(mMap->UpperLayer);
    mBackupLower.LoopHorizontal = mBackupLower.LoopVertical = false;
    mBackupUpper.LoopHorizontal = mBackupUpper.LoopVertical = false;
    UndoStore().PushMap(*mMap);
    PlaceFloat(TRect{}, mSelection);
    mSelectionLifted = false;
    MarkChanged();
    OnSelectionChanged();
    return true;
}

// --- event commands ---

TEventMenuState TKelMapEditorModel::EventMenuState() const {
    TEventMenuState state;
    const TPoint cell{mCursor.Left, mCursor.Top};
    if (!EventMode() || !mMap || mDrag != TCanvasDrag::None || !CellInMap(cell))
        return state;
    const std::int32_t code = EventMap().GetAt(cell.X, cell.Y);
    const bool occupied = code > 0;
    state.NewVisible = !occupied;
    state.EditVisible = occupied;
    state.Edit = occupied && code < kEventCodeParty;
    state.Cut = state.Copy = state.Delete = occupied;
    state.Paste = !occupied && Clip().HasFormat(kEventClipboardFormat);
    state.Move = !occupied && mEventManager->CanMoveEvent();
    state.SetParty = state.SetVehicle = !occupied;
    return state;
}

bool TKelMapEditorModel::RunEventCommand(const std::function<bool(IMapEventManager&, TPoint)>& command) {
    const TPoint cell{mCursor.Left, mCursor.Top};
    if (!command(*mEventManager, cell))
        return false;
    RebuildEventMap();
    MarkChanged();
    RedrawAll();
    return true;
}

bool TKelMapEditorModel::NewOrEditEvent() {
    const TEventMenuState state = EventMenuState();
    if (!state.NewVisible && !state.Edit)
        return false;
    const int graphic = mEdit.Patterns[static_cast<std::size_t>(TKelEditMode::Events)].GetTile(0, 0) - kTileUpperFirst;
    return RunEventCommand([graphic](IMapEventManager& m, TPoint cell) { return m.NewOrEditEvent(cell, graphic); });
}

bool TKelMapEditorModel::CutEvent() {
    return EventMenuState().Cut && RunEventCommand([](IMapEventManager& m, TPoint cell) { return m.CutEvent(cell); });
}

bool TKelMapEditorModel::CopyEvent() {
    // Copying changes nothing on the map.
    return EventMenuState().Copy && mEventManager->CopyEvent(TPoint{mCursor.Left, mCursor.Top});
}

bool TKelMapEditorModel::PasteEvent() {
    return EventMenuState().Paste &&
           RunEventCommand([](IMapEventManager& m, TPoint cell) { return m.PasteEvent(cell); });
}

bool TKelMapEditorModel::DeleteEvent() {
    return EventMenuState().Delete &&
           RunEventCommand([](IMapEventManager& m, TPoint cell) { return m.DeleteEvent(cell); });
}

bool TKelMapEditorModel::MoveEvent() {
    return EventMenuState().Move && RunEventCommand([](IMapEventManager& m, TPoint cell) { return m.MoveEvent(cell); });
}

bool TKelMapEditorModel::SetPartyStart() {
    return EventMenuState().SetParty &&
           RunEventCommand([](IMapEventManager& m, TPoint cell) { return m.SetPartyStart(cell); });
}

bool TKelMapEditorModel::SetVehicleStart() {
    return EventMenuState().SetVehicle &&
           RunEventCommand([](IMapEventManager& m, TPoint cell) { return m.SetVehicleStart(cell); });
}

}  // namespace quillon
