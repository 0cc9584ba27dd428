// The area dialog and "Set Area" with its area maker view.
#pragma once

#include "controls/KelBase_qt.h"
#include "controls/MapPlaceView_qt.h"
#include "mapedit/MapArea.h"

#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace Ui {
class FormEDArea;
}

namespace quillon {

class TEncounterListView;
class TKelChipSet;

// The area maker is the shared place view's picture: "Set Area" turns its mouse into grid points
// for the area maker model (a left drag draws the rectangle).
using TFormAreaMaker = TMapPlacePicture;

class TFormMapSetArea : public TFormKelBase {
    Q_OBJECT
public:
    TFormMapSetArea(TMapSetAreaModel& model, const TKelChipSet* chipSets, QWidget* parent = nullptr);
    TMapPlaceView* View() const { return mView; }
    TFormAreaMaker* Maker() const { return mView->Picture(); }
    QPushButton* ButtonOk() const { return mOk; }
    QLabel* Label() const { return mLabel; }
    void done(int result) override;

protected:
    // "&Ok" needs a rectangle.
    bool CanConfirm() override;

private slots:
    void UpdateState();

private:
    void SetZoom(int index);
    TMapSetAreaModel& mModel;
    TMapPlaceView* mView;
    QLabel* mLabel;
    QPushButton* mOk;
    TConnection mMakerChanged;
};

class TFormEDArea : public TFormKelBase {
    Q_OBJECT
public:
    // `tree` and `map`: what "Set Area" shows; `troops` names the encounters (may be null).
    TFormEDArea(TAreaPropertiesModel& model, TKelMapTree& tree, const TKelMap& map, const TKelChipSet* chipSets,
                const TCatalog* troops, QWidget* parent = nullptr);
    ~TFormEDArea() override;
    Ui::FormEDArea& Form() { return *mUi; }
    TEncounterListView* Encounters() const { return mEncounters; }
    // Runs "Set Area" (tests put a stand-in here); answers the chosen rectangle.
    std::function<bool(TKelAreaRect& rect)> SetArea;
    void UpdateView();

private slots:
    void ButtonAreaClick();

private:
    TAreaPropertiesModel& mModel;
    std::unique_ptr<Ui::FormEDArea> mUi;
    TEncounterListView* mEncounters = nullptr;
};

}  // namespace quillon
