// The curve generator ("Create Curve"): the level-1 and level-50 values within the value box's
// limits and the growth style from -2 ("Early") to 8 ("Late"), over TPlayerParamGenModel.
#pragma once

#include "controls/KelBase_qt.h"
#include "database/ED_PlayerParameter.h"

#include <memory>

namespace Ui {
class FormEDPlayerParamGen;
}

namespace quillon {

class TFieldBinder;
class TFieldBinding;

class TFormEDPlayerParamGen : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDPlayerParamGen(TPlayerParamGenModel& model, QWidget* parent = nullptr);
    ~TFormEDPlayerParamGen() override;
    Ui::FormEDPlayerParamGen& Form() { return *mUi; }

protected:
    bool CanConfirm() override;

private:
    TPlayerParamGenModel& mModel;
    std::unique_ptr<Ui::FormEDPlayerParamGen> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
};

}  // namespace quillon
