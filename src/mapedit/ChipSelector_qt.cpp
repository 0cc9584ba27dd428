#include "mapedit/ChipSelector_qt.h"

#include "data/LD_Map.h"
#include "graphics/DrawUtils.h"
#include "graphics/DrawUtils_qt.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/OrlenSheet_qt.h"
#include "mapedit/MapEditUtils.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace quillon {

namespace {

// The frame of a tile picked from the map.
const QColor kHighlightColor(255, 128, 128);

TPaletteButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return TPaletteButton::Left;
    case Qt::MiddleButton: return TPaletteButton::Middle;
    default: return TPaletteButton::Right;
    }
}

}  // namespace

QColor ModeFrameColor(int mode) {
    switch (mode) {
    case 0: return QColor(128, 255, 128);
    case 1: return QColor(128, 192, 255);
    default: return QColor(255, 255, 128);
    }
}

TFormChipSelector::TFormChipSelector(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("ChipSelector");
    setWindowTitle(tr("Chip Palette"));
    setAccessibleName(tr("Chip Palette"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(kPaletteCellSize);
    horizontalScrollBar()->setSingleStep(kPaletteCellSize);
    mDelayTimer.setSingleShot(true);
    mDelayTimer.setInterval(kPaletteDragDelayMs);
    mAutoScrollTimer.setInterval(kPaletteAutoScrollMs);
    connect(&mDelayTimer, &QTimer::timeout, this, [this] { mModel.DelayExpired(); });
    connect(&mAutoScrollTimer, &QTimer::timeout, this, [this] {
        mModel.AutoScrollTick();
        StopTimersAfterDrag();
    });
    mModelChanged = mModel.OnChange.Connect([this] { ModelChanged(); });
    mModelSelected = mModel.OnSelect.Connect([this] {
        emit ChipSelected();
        if (OnChipSelected)
            OnChipSelected();
    });
    mModel.SetPageSize(viewport()->width(), viewport()->height());
    SyncScrollBars();
}

TFormChipSelector::~TFormChipSelector() = default;

QSize TFormChipSelector::sizeHint() const {
    return QSize(kPaletteBoardWidth + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
                 8 * kPaletteCellSize + 2 * frameWidth());
}

QSize TFormChipSelector::minimumSizeHint() const {
    return QSize(kPaletteBoardWidth + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
                 2 * kPaletteCellSize + 2 * frameWidth());
}

void TFormChipSelector::SetMap(const TKelMap* map, TKelChipSetGraphic* chips) {
    mMap = map;
    mChips = chips;
    Reload();
}

void TFormChipSelector::Reload() {
    const bool open = mMap && mMap->Width() > 0 && mMap->Height() > 0;
    if (mChips)
        DrawPalette(mBoard, *mChips, mModel.Mode());
    else
        mBoard.SetSize(kPaletteBoardWidth, kPaletteBoardHeight);
    mDrawnMode = mModel.Mode();
    mModel.SetMapOpen(open);
    viewport()->update();
}

void TFormChipSelector::ModelChanged() {
    // A mode switch shows another grid.
    if (mDrawnMode != mModel.Mode()) {
        if (mChips)
            DrawPalette(mBoard, *mChips, mModel.Mode());
        mDrawnMode = mModel.Mode();
    }
    SyncScrollBars();
    StopTimersAfterDrag();
    viewport()->update();
}

void TFormChipSelector::SyncScrollBars() {
    mSyncing = true;
    verticalScrollBar()->setRange(0, mModel.MaxScrollY());
    verticalScrollBar()->setPageStep(std::max(1, mModel.PageHeight()));
    verticalScrollBar()->setValue(mModel.Scroll().Y);
    horizontalScrollBar()->setRange(0, mModel.MaxScrollX());
    horizontalScrollBar()->setPageStep(std::max(1, mModel.PageWidth()));
    horizontalScrollBar()->setValue(mModel.Scroll().X);
    mSyncing = false;
}

void TFormChipSelector::StopTimersAfterDrag() {
    if (!mModel.Dragging()) {
        mDelayTimer.stop();
        mAutoScrollTimer.stop();
    }
}

bool TFormChipSelector::CaptureElsewhere() const {
    const QWidget* grabber = QWidget::mouseGrabber();
    return grabber && grabber != this && grabber != viewport();
}

void TFormChipSelector::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    mModel.SetPageSize(viewport()->width(), viewport()->height());
    SyncScrollBars();
}

void TFormChipSelector::scrollContentsBy(int, int) {
    if (mSyncing)
        return;
    mModel.SetScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TFormChipSelector::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int width = viewport()->width();
    const int height = viewport()->height();
    if (!mModel.MapOpen() || width <= 0 || height <= 0) {
        FillEmptyPattern(painter, 0, 0);
        return;
    }
    const TPoint scroll = mModel.Scroll();
    const int shownWidth = std::clamp(kPaletteBoardWidth - scroll.X, 0, width);
    const int shownHeight = std::clamp(mModel.ContentHeight() - scroll.Y, 0, height);
    if (shownWidth > 0 && shownHeight > 0) {
        mView.SetSize(shownWidth, shownHeight);
        mView.CopyFrom(0, 0, MakeBounds(scroll.X, scroll.Y, shownWidth, shownHeight), mBoard);
        const auto frame = [&](const TRect& cells, const QColor& color) {
            if (cells.Width() <= 0 || cells.Height() <= 0)
                return;
            TRect rect = ScaleRect(cells, kPaletteCellSize);
            rect.Left -= scroll.X;
            rect.Right -= scroll.X;
            rect.Top -= scroll.Y;
            rect.Bottom -= scroll.Y;
            DrawCursorFrame(mView, color, rect);
        };
        frame(mModel.Highlight(), kHighlightColor);
        frame(mModel.SelectedRect(), ModeFrameColor(mModel.Mode()));
        painter.drawImage(QPoint(0, 0), BoardImage(mView));
    }
    // Below the last row and beside the columns: the hatched pattern.
    QRegion empty(0, 0, width, height);
    empty -= QRegion(0, 0, shownWidth, shownHeight);
    empty &= event->region();
    if (!empty.isEmpty()) {
        painter.setClipRegion(empty);
        FillEmptyPattern(painter, scroll.X, scroll.Y);
    }
}

void TFormChipSelector::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (mModel.MousePress(ButtonOf(event->button()), pos.x(), pos.y(), CaptureElsewhere())) {
        mDelayTimer.start();
        mAutoScrollTimer.start();
    }
    StopTimersAfterDrag();
    event->accept();
}

void TFormChipSelector::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click counts as a press.
    mousePressEvent(event);
}

void TFormChipSelector::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    mModel.MouseMove(pos.x(), pos.y());
    event->accept();
}

void TFormChipSelector::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    mModel.MouseRelease(ButtonOf(event->button()), pos.x(), pos.y());
    StopTimersAfterDrag();
    event->accept();
}

bool TFormChipSelector::CancelDrag() {
    if (!mModel.Dragging())
        return false;
    mModel.MousePress(TPaletteButton::Right, 0, 0);
    StopTimersAfterDrag();
    return true;
}

void TFormChipSelector::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CancelDrag();
    QAbstractScrollArea::changeEvent(event);
}

void TFormChipSelector::wheelEvent(QWheelEvent* event) {
    mModel.Wheel(event->angleDelta().y(), CaptureElsewhere());
    event->accept();
}

}  // namespace quillon
