// "Map Shift" and "Set Vehicle Position".
#pragma once

#include "mapedit/MapShift.h"

#include "controls/KelBase_qt.h"


#include <memory>

class QButtonGroup;

namespace Ui {
class FormMapShift;
class FormMapShipPos;
}

namespace quillon {

class TFormMapShift : public TFormKelBase {
    Q_OBJECT
public:
    TFormMapShift(TMapShiftModel& model, QWidget* parent = nullptr);
    ~TFormMapShift() override;
    Ui::FormMapShift& Form() { return *mUi; }
    void UpdateView();

protected:
    // OK takes the amount and remembers the choice for the run.
    bool CanConfirm() override;

private:
    TMapShiftModel& mModel;
    std::unique_ptr<Ui::FormMapShift> mUi;
    QButtonGroup* mGroup;
};

class TFormMapShipPos : public TFormKelBase {
    Q_OBJECT
public:
    TFormMapShipPos(TMapShipPosModel& model, QWidget* parent = nullptr);
    ~TFormMapShipPos() override;
    Ui::FormMapShipPos& Form() { return *mUi; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMapShipPosModel& mModel;
    std::unique_ptr<Ui::FormMapShipPos> mUi;
    QButtonGroup* mGroup;
};

// "Set Vehicle Position" for the canvas's "Set &Vehicle position..." command: 1 boat, 2 ship,
// 3 airship, or 0 when cancelled.
int ChooseVehicle(QWidget* parent);

}  // namespace quillon
