// The place picker dialog "Set Place": the picker-mode map tree on the left, the map position
// view on the right with three zooms, the label, "&Ok" and "Cancel".
#pragma once

#include "mapedit/MapSetPlace.h"

#include "controls/KelBase_qt.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace quillon {

class TFormMapTree;
class TKelChipSet;
class TKelChipSetGraphic;

// The map with one chosen cell framed; a click chooses a cell, a double click presses Ok.
class TFormMapPosSetter : public QWidget {
    Q_OBJECT
public:
    TFormMapPosSetter(TMapSetPlaceModel& model, const TKelChipSet* chipSets, QWidget* parent);
    ~TFormMapPosSetter() override;
    // Draws the picker's map again at its cell size.
    void Reload();
    QSize sizeHint() const override;

signals:
    void PositionChanged();
    void OkPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TMapSetPlaceModel& mModel;
    const TKelChipSet* mChipSets;
    std::unique_ptr<TKelChipSetGraphic> mChips;
    QImage mImage;
};

class TFormMapSetPlace : public TFormKelBase {
    Q_OBJECT
public:
    // `chipSets`: the database's chipset list (the map's tiles are drawn with it); may be null.
    TFormMapSetPlace(TMapSetPlaceModel& model, const TKelChipSet* chipSets, QWidget* parent = nullptr);
    ~TFormMapSetPlace() override;

    TFormMapTree* TreeWindow() const { return mTree; }
    TFormMapPosSetter* PositionView() const { return mPosition; }
    QPushButton* ButtonOk() const { return mOk; }
    QLabel* Label() const { return mLabel; }
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // "&Ok" takes the place when the model agrees.
    bool CanConfirm() override;

private slots:
    void UpdateState();

private:
    void SetZoom(int index);

    TMapSetPlaceModel& mModel;
    TFormMapTree* mTree;
    TFormMapPosSetter* mPosition;
    QScrollArea* mScroll;
    QToolButton* mZooms[3];
    QLabel* mLabel;
    QPushButton* mOk;
    QPushButton* mCancel;
};

}  // namespace quillon
