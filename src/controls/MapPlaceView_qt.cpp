#include "controls/MapPlaceView_qt.h"

#include "controls/AutoScroll_qt.h"
#include "data/LD_ChipSet.h"
#include "data/LD_Map.h"
#include "graphics/DrawUtils_qt.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet_qt.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QToolButton>

namespace quillon {

// --- the picture ---

TMapPlacePicture::TMapPlacePicture(QWidget* parent) : QWidget(parent) {
    setObjectName("MapPlacePicture");
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Map"));
    setFixedSize(0, 0);
}

void TMapPlacePicture::SetPicture(const QImage& image, int cellSize) {
    mImage = image;
    mCellSize = cellSize;
    setFixedSize(mImage.isNull() ? QSize(0, 0) : mImage.size());
    update();
}

void TMapPlacePicture::SetCellFrame(std::optional<TMapPoint> cell) {
    if (mCell == cell)
        return;
    mCell = cell;
    update();
}

void TMapPlacePicture::SetAreaFrame(const TRect& cells) {
    if (mArea == cells)
        return;
    mArea = cells;
    update();
}

QSize TMapPlacePicture::sizeHint() const { return mImage.isNull() ? QSize(0, 0) : mImage.size(); }

void TMapPlacePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!mImage.isNull())
        p.drawImage(0, 0, mImage);
    p.setBrush(Qt::NoBrush);
    const int size = mCellSize;
    if (mCell) {
        const QRect cell(mCell->X * size, mCell->Y * size, size, size);
        const QColor colours[4] = {QColor(32, 32, 32), Qt::white, Qt::white, QColor(32, 32, 32)};
        for (int i = 0; i < 4; ++i) {
            p.setPen(colours[i]);
            p.drawRect(cell.adjusted(i, i, -1 - i, -1 - i));
        }
    }
    if (mArea.Right > mArea.Left && mArea.Bottom > mArea.Top) {
        // As the canvas frames its current area: light, dark, and four pixels further in the pair.
        const QRect box(mArea.Left * size, mArea.Top * size, (mArea.Right - mArea.Left) * size,
                        (mArea.Bottom - mArea.Top) * size);
        const QColor light(255, 255, 128), dark(32, 32, 32);
        for (const int inset : {0, 4}) {
            p.setPen(light);
            p.drawRect(box.adjusted(inset, inset, -1 - inset, -1 - inset));
            p.setPen(dark);
            p.drawRect(box.adjusted(inset + 1, inset + 1, -2 - inset, -2 - inset));
        }
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TMapPlacePicture::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    emit Pressed(event->button(), event->position().toPoint());
}

void TMapPlacePicture::mouseMoveEvent(QMouseEvent* event) { emit Moved(event->position().toPoint(), event->buttons()); }

void TMapPlacePicture::mouseReleaseEvent(QMouseEvent* event) {
    emit Released(event->button(), event->position().toPoint());
}

void TMapPlacePicture::mouseDoubleClickEvent(QMouseEvent* event) {
    emit DoubleClicked(event->position().toPoint());
}

void TMapPlacePicture::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left: emit CellKey(-1, 0); break;
    case Qt::Key_Right: emit CellKey(1, 0); break;
    case Qt::Key_Up: emit CellKey(0, -1); break;
    case Qt::Key_Down: emit CellKey(0, 1); break;
    case Qt::Key_Space: emit Activated(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

// --- the view ---

TMapPlaceView::TMapPlaceView(const TKelChipSet* chipSets, TImageFinder find, QWidget* parent)
    : QScrollArea(parent), mChipSets(chipSets), mChips(std::make_unique<TKelChipSetGraphic>(std::move(find))) {
    setObjectName("MapPlaceView");
    setAccessibleName(tr("Map view"));
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    mPicture = new TMapPlacePicture(this);
    setWidget(mPicture);
    setFocusProxy(mPicture);
    mAutoScroll = new TMiddleAutoScroll(this);
    mAutoScroll->Watch(mPicture);

    mZoomBar = new QWidget(parent ? parent : this);
    mZoomBar->setObjectName("MapPlaceZooms");
    mZoomBar->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(mZoomBar);
    row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QToolButton(mZoomBar);
        button->setObjectName(QString("ButtonZoom%1").arg(i + 1));
        button->setText(tr(kMapPlaceZoomCaptions[i]));
        button->setAccessibleName(tr("Zoom %1").arg(tr(kMapPlaceZoomCaptions[i])));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QToolButton::clicked, this, [this, i] {
            SetZoomIndex(i);
            emit ZoomChanged(i);
        });
        row->addWidget(button);
        mZoomButtons[i] = button;
    }
    mZoomButtons[mZoom]->setChecked(true);
}

TMapPlaceView::~TMapPlaceView() = default;

void TMapPlaceView::ShowMap(const TKelMap* map) {
    mMap = map;
    Render();
}

void TMapPlaceView::SetZoomIndex(int index) {
    mZoom = index >= 0 && index < 3 ? index : kMapPlaceDefaultZoom;
    mZoomButtons[mZoom]->setChecked(true);
    Render();
}

void TMapPlaceView::Render() {
    const int size = CellSize();
    QImage image;
    if (mMap && mMap->Width() > 0 && mMap->Height() > 0) {
        mChips->SetChipSet(mChipSets ? mChipSets->FindByID(mMap->ChipSetId) : nullptr);
        TOrlenBoard board;
        TMapRenderOptions options;
        options.CellSize = size;
        RenderMap(board, *mMap, *mChips, options);
        image = BoardImage(board).copy();
    }
    mPicture->SetPicture(image, size);
    viewport()->update();
}

void TMapPlaceView::CentreOnCell(const TMapPoint& cell) {
    const int size = CellSize();
    ensureVisible(cell.X * size + size / 2, cell.Y * size + size / 2, viewport()->width() / 2,
                  viewport()->height() / 2);
}

void TMapPlaceView::paintEvent(QPaintEvent* event) {
    // Around a picture smaller than the view: the hatched pattern, anchored to the picture.
    QPainter painter(viewport());
    QRegion around(viewport()->rect());
    if (!mPicture->Picture().isNull())
        around -= mPicture->geometry();
    around &= event->region();
    if (around.isEmpty())
        return;
    painter.setClipRegion(around);
    FillEmptyPattern(painter, -mPicture->x(), -mPicture->y());
}

}  // namespace quillon
