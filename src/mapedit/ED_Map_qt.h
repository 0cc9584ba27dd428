// The map properties dialog: its fields are MapPropertiesForm bound to the model; the view adds
// the encounter list and the panorama preview.
#pragma once

#include "controls/KelBase_qt.h"
#include "mapedit/MapProperties.h"

#include <memory>

namespace Ui {
class FormEDMap;
}

namespace quillon {

class TEncounterListView;
class TFieldBinder;

class TFormEDMap : public TFormKelBase {
    Q_OBJECT
public:
    // `chipSets` (when given, else the model's) and `troops` name the chipsets and troops (not
    // owned; may be null). The model's fields are shown as they are: call its Open first.
    TFormEDMap(TMapPropertiesModel& model, const TCatalog* chipSets, const TCatalog* troops, QWidget* parent = nullptr);
    ~TFormEDMap() override;

    Ui::FormEDMap& Form() { return *mUi; }
    TEncounterListView* Encounters() const { return mEncounters; }

    // The controls from the model, with their enabled states.
    void UpdateView();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePreview();

    TMapPropertiesModel& mModel;
    std::unique_ptr<Ui::FormEDMap> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    TEncounterListView* mEncounters = nullptr;
};

// Runs the dialog on the model; true when the user confirmed.
bool RunMapProperties(TMapPropertiesModel& model, const TCatalog* troops, QWidget* parent);

}  // namespace quillon
