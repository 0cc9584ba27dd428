#include "mapedit/MapViewer_qt.h"

#include "data/LD_Map.h"
#include "graphics/DrawUtils_qt.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet_qt.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <limits>
#include <utility>

namespace quillon {

namespace {

constexpr int kWheelNotch = 120;
constexpr int kWheelCells = 3;  // cells a wheel notch scrolls

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

TRect ToTRect(const QRect& rect) { return MakeBounds(rect.x(), rect.y(), rect.width(), rect.height()); }

}  // namespace

TFormMapViewer::TFormMapViewer(QWidget* parent)
    : TFormMapViewer(std::make_unique<TKelMapViewModel>(), parent) {}

TFormMapViewer::TFormMapViewer(std::unique_ptr<TKelMapViewModel> model, QWidget* parent)
    : QAbstractScrollArea(parent), mModel(std::move(model)) {
    setObjectName("MapViewer");
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    Connect();
    mModel->SetClientSize(viewport()->width(), viewport()->height());
    SyncScrollBars();
}

TFormMapViewer::~TFormMapViewer() = default;

void TFormMapViewer::Connect() {
    mModelHeard.clear();
    mModelHeard.push_back(mModel->OnRedrawAll.Connect([this] { InvalidateAll(); }));
    mModelHeard.push_back(mModel->OnRedrawCells.Connect([this](const TRect& cells) { InvalidateCells(cells); }));
    mModelHeard.push_back(mModel->OnScrolled.Connect([this] {
        SyncScrollBars();
        ScrollPicture();
    }));
    mModelHeard.push_back(mModel->OnZoomChanged.Connect([this](int size) {
        InvalidateAll();
        emit ZoomChanged(size);
    }));
}

QSize TFormMapViewer::sizeHint() const { return QSize(640, 480); }

void TFormMapViewer::SetSources(TKelMapTree* tree, TKelChipSetGraphic* chips, TKelCharSetGraphic* charSets,
                                TImageFinder find) {
    mModel->SetMapTree(tree);
    mModel->SetGraphics(chips, charSets);
    mModel->SetImageFinder(std::move(find));
    InvalidateAll();
}

void TFormMapViewer::LoadMap(TKelMap* map) {
    mModel->SetClientSize(viewport()->width(), viewport()->height());
    mModel->LoadMap(map);
    InvalidateAll();
}

void TFormMapViewer::SetCellSize(int size) {
    mModel->SetCellSize(size);
    InvalidateAll();
}

void TFormMapViewer::Refresh() { InvalidateAll(); }

void TFormMapViewer::ScrollPicture() {
    const QRect view = ViewRect();
    const std::int64_t dx = mShownOffsetX - mModel->OffsetX();
    const std::int64_t dy = mShownOffsetY - mModel->OffsetY();
    mShownOffsetX = mModel->OffsetX();
    mShownOffsetY = mModel->OffsetY();
    if (mFullRedraw || !mShown || view.isEmpty() || dx <= -view.width() || dx >= view.width() ||
        dy <= -view.height() || dy >= view.height()) {
        viewport()->update();
        return;
    }
    // The window moves what it shows; only the strips that come into view are painted.
    viewport()->scroll(static_cast<int>(dx), static_cast<int>(dy), view);
}

void TFormMapViewer::InvalidateAll() {
    mFullRedraw = true;
    mShown = false;
    mDirty = QRegion();
    SyncScrollBars();
    viewport()->update();
}

void TFormMapViewer::InvalidateCells(const TRect& cells) {
    if (mFullRedraw)
        return;
    const QRect view = ViewRect();
    for (const TRect& rect : mModel->InvalidRects(cells)) {
        // Client rectangles of the current offset; the board is drawn at mDrawnOffset.
        const QRect client(rect.Left, rect.Top, rect.Width(), rect.Height());
        QRect onView = client.translated(-view.left(), -view.top()) & QRect(0, 0, view.width(), view.height());
        if (onView.isEmpty())
            continue;
        viewport()->update(onView.translated(view.topLeft()));
        // Shift to the drawn picture's coordinates: the picture catches up with the offset later.
        onView.translate(ClampToInt(mModel->OffsetX() - mDrawnOffsetX), ClampToInt(mModel->OffsetY() - mDrawnOffsetY));
        mDirty += onView;
    }
}

QRect TFormMapViewer::ViewRect() const {
    return QRect(mModel->ViewLeft(), mModel->ViewTop(), mModel->ViewWidth(), mModel->ViewHeight());
}

QPoint TFormMapViewer::ToView(const QPoint& client) const { return client - ViewRect().topLeft(); }

void TFormMapViewer::SyncScrollBars() {
    mSyncing = true;
    const int cell = std::max(1, mModel->CellSize());
    horizontalScrollBar()->setRange(0, ClampToInt(mModel->MaxOffsetX()));
    horizontalScrollBar()->setPageStep(std::max(1, mModel->ViewWidth()));
    horizontalScrollBar()->setSingleStep(cell);
    horizontalScrollBar()->setValue(ClampToInt(mModel->OffsetX()));
    verticalScrollBar()->setRange(0, ClampToInt(mModel->MaxOffsetY()));
    verticalScrollBar()->setPageStep(std::max(1, mModel->ViewHeight()));
    verticalScrollBar()->setSingleStep(cell);
    verticalScrollBar()->setValue(ClampToInt(mModel->OffsetY()));
    mSyncing = false;
}

void TFormMapViewer::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    mModel->SetClientSize(viewport()->width(), viewport()->height());
    InvalidateAll();
    emit ClientResized(viewport()->width(), viewport()->height());
}

void TFormMapViewer::scrollContentsBy(int, int) {
    if (mSyncing)
        return;
    mModel->ScrollTo(horizontalScrollBar()->value(), verticalScrollBar()->value());
    SyncScrollBars();
}

void TFormMapViewer::wheelEvent(QWheelEvent* event) {
    event->accept();
    mWheelRest += event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    const int notches = mWheelRest / kWheelNotch;
    if (notches == 0)
        return;
    mWheelRest -= notches * kWheelNotch;
    const std::int64_t step = static_cast<std::int64_t>(notches) * kWheelCells * mModel->CellSize();
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || mModel->MaxOffsetY() == 0;
    if (sideways)
        mModel->ScrollBy(-step, 0);
    else
        mModel->ScrollBy(0, -step);
}

void TFormMapViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        mPanning = true;
        mPanStart = event->position().toPoint();
        mPanOffsetX = mModel->OffsetX();
        mPanOffsetY = mModel->OffsetY();
        viewport()->setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    event->ignore();
}

void TFormMapViewer::mouseMoveEvent(QMouseEvent* event) {
    if (mPanning) {
        const QPoint delta = event->position().toPoint() - mPanStart;
        mModel->ScrollTo(mPanOffsetX - delta.x(), mPanOffsetY - delta.y());
        event->accept();
        return;
    }
    event->ignore();
}

void TFormMapViewer::mouseReleaseEvent(QMouseEvent* event) {
    if (mPanning && event->button() == Qt::MiddleButton) {
        mPanning = false;
        viewport()->unsetCursor();
        event->accept();
        return;
    }
    event->ignore();
}

void TFormMapViewer::PaintRect(TOrlenBoard& board, const TRect& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    FillBoardRect(board, rect, kCanvasBackground);
    mModel->PaintView(board, rect, mDrawnOffsetX, mDrawnOffsetY);
    const std::int64_t s = std::max(1, mModel->CellSize());
    const auto cellOf = [s](std::int64_t pixel) { return pixel >= 0 ? pixel / s : (pixel - s + 1) / s; };
    mCellsDrawn += (cellOf(rect.Right - 1 + mDrawnOffsetX) - cellOf(rect.Left + mDrawnOffsetX) + 1) *
                   (cellOf(rect.Bottom - 1 + mDrawnOffsetY) - cellOf(rect.Top + mDrawnOffsetY) + 1);
}

void TFormMapViewer::PrepareFront() {
    const int width = mModel->ViewWidth();
    const int height = mModel->ViewHeight();
    const std::int64_t offsetX = mModel->OffsetX();
    const std::int64_t offsetY = mModel->OffsetY();
    if (mFront->Width() != width || mFront->Height() != height) {
        mFront->SetSize(width, height);
        mBack->SetSize(width, height);
        mFullRedraw = true;
    }
    if (mFullRedraw) {
        mDrawnOffsetX = offsetX;
        mDrawnOffsetY = offsetY;
        PaintRect(*mFront, MakeBounds(0, 0, width, height));
        mFullRedraw = false;
        mDirty = QRegion();
        return;
    }
    // Cells changed before the scroll are drawn where the old picture has them.
    for (const QRect& rect : mDirty)
        PaintRect(*mFront, ToTRect(rect & QRect(0, 0, width, height)));
    mDirty = QRegion();
    if (offsetX == mDrawnOffsetX && offsetY == mDrawnOffsetY)
        return;
    const std::int64_t dx = mDrawnOffsetX - offsetX;  // how far the old picture moves
    const std::int64_t dy = mDrawnOffsetY - offsetY;
    std::swap(mFront, mBack);
    mDrawnOffsetX = offsetX;
    mDrawnOffsetY = offsetY;
    if (dx <= -width || dx >= width || dy <= -height || dy >= height) {
        PaintRect(*mFront, MakeBounds(0, 0, width, height));
        return;
    }
    const int sx = static_cast<int>(dx);
    const int sy = static_cast<int>(dy);
    mFront->CopyFrom(sx, sy, MakeBounds(0, 0, width, height), *mBack);
    // The horizontal strip that came into view, then the vertical one beside the old picture.
    TRect rows = sy > 0 ? MakeRect(0, 0, width, sy) : MakeRect(0, height + sy, width, height);
    if (sy != 0)
        PaintRect(*mFront, rows);
    const int top = sy > 0 ? sy : 0;
    const int bottom = sy < 0 ? height + sy : height;
    if (sx > 0)
        PaintRect(*mFront, MakeRect(0, top, sx, bottom));
    else if (sx < 0)
        PaintRect(*mFront, MakeRect(width + sx, top, width, bottom));
}

void TFormMapViewer::DrawOverlay(TOrlenBoard&, QPainter&) {}

void TFormMapViewer::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect view = ViewRect();
    if (view.width() > 0 && view.height() > 0 && mModel->Map()) {
        PrepareFront();
        // Only the part being painted is composed.
        const QRect part = (event->region().boundingRect() & view).translated(-view.topLeft());
        if (mDisplay.Width() != view.width() || mDisplay.Height() != view.height())
            mDisplay.SetSize(view.width(), view.height());
        mDisplay.CopyFrom(part.x(), part.y(), MakeBounds(part.x(), part.y(), part.width(), part.height()), *mFront);
        {
            QImage image = BoardImage(mDisplay);
            QPainter overlay(&image);
            DrawOverlay(mDisplay, overlay);
        }
        painter.drawImage(view.topLeft() + part.topLeft(), BoardImage(mDisplay), part);
        mShownOffsetX = mDrawnOffsetX;
        mShownOffsetY = mDrawnOffsetY;
        mShown = true;
    }
    // Around a map smaller than the client area: the hatched pattern, moving with the view.
    QRegion around(viewport()->rect());
    if (mModel->Map())
        around -= view;
    around &= event->region();
    if (!around.isEmpty()) {
        painter.setClipRegion(around);
        FillEmptyPattern(painter, ClampToInt(mModel->OffsetX()), ClampToInt(mModel->OffsetY()));
    }
}

}  // namespace quillon
