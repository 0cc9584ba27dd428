// The map view window: a scroll area showing the open map through the view model. Two boards
// hold the picture; when the view scrolls, the old picture is reused shifted and only the strips
// that came into view are drawn. Changed cells are drawn again as the model reports them.
#pragma once

#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"
#include "mapedit/MapViewer.h"

#include <QAbstractScrollArea>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class TKelMap;
class TKelMapTree;
class TKelChipSetGraphic;
class TKelCharSetGraphic;

class TFormMapViewer : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TFormMapViewer(QWidget* parent = nullptr);
    ~TFormMapViewer() override;

    TKelMapViewModel& ViewModel() { return *mModel; }
    const TKelMapViewModel& ViewModel() const { return *mModel; }

    // What the view draws from (none owned): the project's map tree, the chipset graphic and the
    // character-set cache of the open map, and the look-up of panorama images.
    void SetSources(TKelMapTree* tree, TKelChipSetGraphic* chips, TKelCharSetGraphic* charSets, TImageFinder find);
    // Shows a map (or none) at its stored scroll position (see TKelMapViewModel::LoadMap).
    void LoadMap(TKelMap* map);
    // 32, 16, 8 or 4 pixels a cell.
    void SetCellSize(int size);
    int CellSize() const { return mModel->CellSize(); }
    // Draws everything again (after the map, its chipset or its events changed outside).
    void Refresh();

    // The pictures the window shows: the map's cells at the drawn offset (without frames), and
    // the composed view with its frames as last painted.
    const TOrlenBoard& FrontBoard() const { return *mFront; }
    std::int64_t DrawnOffsetX() const { return mDrawnOffsetX; }
    std::int64_t DrawnOffsetY() const { return mDrawnOffsetY; }
    // How many cells were drawn since the counter was last reset (for tests of the strip redraw).
    std::int64_t CellsDrawn() const { return mCellsDrawn; }
    void ResetCellsDrawn() { mCellsDrawn = 0; }

    QSize sizeHint() const override;

signals:
    void ZoomChanged(int cellSize);
    // The client area's size changed (the owner places new maps with it).
    void ClientResized(int width, int height);

protected:
    // For views with their own model (the editor).
    TFormMapViewer(std::unique_ptr<TKelMapViewModel> model, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Frames drawn over the cells on the composed picture (board pixel = view pixel).
    virtual void DrawOverlay(TOrlenBoard& board, QPainter& painter);
    // The view rectangle in viewport coordinates.
    QRect ViewRect() const;
    // Viewport pixel -> view (board) pixel.
    QPoint ToView(const QPoint& client) const;
    void SyncScrollBars();
    // Redraws these cells (map coordinates) on the next paint.
    void InvalidateCells(const TRect& cells);
    void InvalidateAll();
    // Middle-button panning.
    bool Panning() const { return mPanning; }

    std::unique_ptr<TKelMapViewModel> mModel;

private:
    void Connect();
    void PrepareFront();
    void PaintRect(TOrlenBoard& board, const TRect& rect);
    // The view's offset changed: the window's picture is moved, the strips that came into view
    // are painted.
    void ScrollPicture();

    std::unique_ptr<TOrlenBoard> mFront = std::make_unique<TOrlenBoard>();
    std::unique_ptr<TOrlenBoard> mBack = std::make_unique<TOrlenBoard>();
    TOrlenBoard mDisplay;
    std::int64_t mDrawnOffsetX = 0;
    std::int64_t mDrawnOffsetY = 0;
    bool mFullRedraw = true;
    // The offset of the picture the window holds, and whether it holds one.
    std::int64_t mShownOffsetX = 0;
    std::int64_t mShownOffsetY = 0;
    bool mShown = false;
    QRegion mDirty;  // view pixels to draw again
    std::int64_t mCellsDrawn = 0;
    bool mSyncing = false;
    int mWheelRest = 0;
    bool mPanning = false;
    QPoint mPanStart;
    std::int64_t mPanOffsetX = 0;
    std::int64_t mPanOffsetY = 0;
    std::vector<TConnection> mModelHeard;  // after the model: leaves it first
};

}  // namespace quillon
