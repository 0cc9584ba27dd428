// The map properties dialog: a thin view over TMapPropertiesModel.
#pragma once

#include "mapedit/MapProperties.h"

#include <QDialog>

#include <functional>
#include <memory>

class QButtonGroup;

namespace Ui {
class FormEDMap;
}

namespace quillon {

class TEncounterListView;

class TFormEDMap : public QDialog {
    Q_OBJECT
public:
    // `chipSets` and `troops` name the chipsets and troops (not owned; may be null). The model's
    // fields are shown as they are: call its Open first.
    TFormEDMap(TMapPropertiesModel& model, const TCatalog* chipSets, const TCatalog* troops, QWidget* parent = nullptr);
    ~TFormEDMap() override;

    Ui::FormEDMap& Form() { return *mUi; }
    TEncounterListView* Encounters() const { return mEncounters; }
    // "&Help" (context 171).
    std::function<void(int context)> ShowHelp;

    // The controls from the model, with their enabled states.
    void UpdateView();

private slots:
    void ButtonOkClick();
    void ButtonPanoramaSetClick();
    void ButtonMusicClick();
    void ButtonBackdropClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeControls();
    void UpdatePreview();

    TMapPropertiesModel& mModel;
    const TCatalog* mChipSets;
    std::unique_ptr<Ui::FormEDMap> mUi;
    TEncounterListView* mEncounters = nullptr;
    QButtonGroup* mGroups[5] = {};
    bool mUpdating = false;
};

}  // namespace quillon
