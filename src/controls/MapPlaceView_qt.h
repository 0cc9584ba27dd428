// The map place view shared by the dialogs that choose a cell ("Set Place") or a rectangle
// ("Set Area") on a map: the map's picture at one of three zooms in a scroll area, centred on the
// hatched pattern when it is smaller than the view, with the chosen cell or rectangle framed.
// The picture reports the mouse in its own pixels; the dialogs decide what a press means.
#pragma once

#include "controls/MapPlace.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/ImageResources.h"

#include <QImage>
#include <QScrollArea>
#include <QWidget>

#include <memory>
#include <optional>

class QToolButton;

namespace quillon {

class TKelMap;
class TKelChipSet;
class TKelChipSetGraphic;
class TMiddleAutoScroll;

// The map at its cell size (the widget is exactly the picture's size) with its frame.
class TMapPlacePicture : public QWidget {
    Q_OBJECT
public:
    explicit TMapPlacePicture(QWidget* parent);

    void SetPicture(const QImage& image, int cellSize);
    const QImage& Picture() const { return mImage; }
    int CellSize() const { return mCellSize; }
    // One cell framed from outside in: dark, white, white, dark (none: nothing framed).
    void SetCellFrame(std::optional<TMapPoint> cell);
    // A rectangle of cells (right and bottom exclusive) framed as the canvas frames its area;
    // an empty one is not drawn.
    void SetAreaFrame(const TRect& cells);

    QSize sizeHint() const override;

signals:
    void Pressed(Qt::MouseButton button, QPoint pixel);
    void Moved(QPoint pixel, Qt::MouseButtons buttons);
    void Released(Qt::MouseButton button, QPoint pixel);
    void DoubleClicked(QPoint pixel);
    // Arrow keys (one cell in a direction) and Enter or Space.
    void CellKey(int dx, int dy);
    void Activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage mImage;
    int mCellSize = kMapPlaceCellSizes[kMapPlaceDefaultZoom];
    std::optional<TMapPoint> mCell;
    TRect mArea{0, 0, 0, 0};
};

class TMapPlaceView : public QScrollArea {
    Q_OBJECT
public:
    // `chipSets`: the database's chipset list the map's tiles come from (may be null); `find`
    // locates the chipset images.
    TMapPlaceView(const TKelChipSet* chipSets, TImageFinder find, QWidget* parent);
    ~TMapPlaceView() override;

    TMapPlacePicture* Picture() const { return mPicture; }
    // Draws the map (none or an empty one: only the pattern) at the current zoom.
    void ShowMap(const TKelMap* map);
    int ZoomIndex() const { return mZoom; }
    int CellSize() const { return kMapPlaceCellSizes[mZoom]; }
    // Chooses a zoom (its button shows checked) and draws the map again.
    void SetZoomIndex(int index);
    // The three zoom buttons in a row, for the dialog to place.
    QWidget* ZoomBar() const { return mZoomBar; }
    QToolButton* ZoomButton(int index) const { return mZoomButtons[index]; }
    // Scrolls so that the cell is in the middle of the view where possible.
    void CentreOnCell(const TMapPoint& cell);

signals:
    // A zoom button was pressed (after the view drew the map at the new size).
    void ZoomChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render();

    const TKelChipSet* mChipSets;
    std::unique_ptr<TKelChipSetGraphic> mChips;
    const TKelMap* mMap = nullptr;
    TMapPlacePicture* mPicture;
    QWidget* mZoomBar;
    QToolButton* mZoomButtons[3];
    TMiddleAutoScroll* mAutoScroll;
    int mZoom = kMapPlaceDefaultZoom;
};

}  // namespace quillon
