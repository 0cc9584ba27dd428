// The chip palette window: a scroll area over the palette model. The owner creates it (and docks
// it), hands it the open map and its chipset graphic, and listens to ChipSelected.
#pragma once

#include "mapedit/ChipSelector.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace quillon {

class TKelMap;
class TKelChipSetGraphic;

// Frame colour of each editing mode (lower, upper, events).
QColor ModeFrameColor(int mode);

class TFormChipSelector : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TFormChipSelector(QWidget* parent = nullptr);
    ~TFormChipSelector() override;

    TChipSelectorModel& Model() { return mModel; }
    const TChipSelectorModel& Model() const { return mModel; }

    // The open map (presses count while it has cells) and the graphic its chipset is drawn from;
    // neither is owned, either may be null. Redraws.
    void SetMap(const TKelMap* map, TKelChipSetGraphic* chips);
    // Redraws every palette cell (after the chipset or the map changed).
    void Reload();
    void SetMode(int mode) { mModel.SetMode(mode); }
    int Mode() const { return mModel.Mode(); }
    TRect SelectedRect() const { return mModel.SelectedRect(); }
    void SetHighlight(const TRect& rect) { mModel.SetHighlight(rect); }
    void ClearHighlight() { mModel.ClearHighlight(); }
    std::int32_t PaletteTile(int column, int row) const { return quillon::PaletteTile(mModel.Mode(), column, row); }
    TPoint PaletteCellOf(std::int32_t id) const { return quillon::PaletteCellOf(mModel.Mode(), id); }
    // Ends a drag in progress with the selection from before it (the application lost the
    // focus); false when there was none.
    bool CancelDrag();
    // The selected tiles as a pattern for the canvas.
    void FillPattern(TKelCurrentChip& pattern) const { mModel.FillPattern(pattern); }

    // Called with the ChipSelected signal, for owners that prefer a plain callback.
    std::function<void()> OnChipSelected;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A range of chips was selected (or the mode switched to another grid).
    void ChipSelected();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ModelChanged();
    void SyncScrollBars();
    void StopTimersAfterDrag();
    bool CaptureElsewhere() const;

    TChipSelectorModel mModel;
    const TKelMap* mMap = nullptr;
    TKelChipSetGraphic* mChips = nullptr;
    TOrlenBoard mBoard;  // the whole grid of the current mode
    TOrlenBoard mView;   // the visible part with its frames
    QTimer mDelayTimer;
    QTimer mAutoScrollTimer;
    bool mSyncing = false;
    int mDrawnMode = -1;  // the mode mBoard shows
    TConnection mModelChanged, mModelSelected;
};

}  // namespace quillon
