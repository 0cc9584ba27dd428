// The place picker dialog "Set Place": the picker-mode map tree on the left, the map position
// view on the right with three zooms, the label, "&Ok" and "Cancel".
#pragma once

#include "controls/KelBase_qt.h"
#include "controls/MapPlaceView_qt.h"
#include "mapedit/MapSetPlace.h"


class QLabel;
class QPushButton;

namespace quillon {

class TFormMapTree;
class TKelChipSet;

// The position view is the shared place view's picture: a click chooses a cell, a double click
// with a place chosen presses "&Ok", the arrow keys move the chosen cell.
using TFormMapPosSetter = TMapPlacePicture;

class TFormMapSetPlace : public TFormKelBase {
    Q_OBJECT
public:
    // `chipSets`: the database's chipset list (the map's tiles are drawn with it); may be null.
    TFormMapSetPlace(TMapSetPlaceModel& model, const TKelChipSet* chipSets, QWidget* parent = nullptr);
    ~TFormMapSetPlace() override;

    TFormMapTree* TreeWindow() const { return mTree; }
    TMapPlaceView* View() const { return mView; }
    TFormMapPosSetter* PositionView() const { return mView->Picture(); }
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
    void ShowPosition();
    void ClickAt(QPoint pixel);

    TMapSetPlaceModel& mModel;
    TFormMapTree* mTree;
    TMapPlaceView* mView;
    QLabel* mLabel;
    QPushButton* mOk;
    QPushButton* mCancel;
};

}  // namespace quillon
