// "Curve of Experience": three boxes with their sliders, the "Total EXP" and "Next Level"
// tables and the graph, over TPlayerExpModel. OK keeps the model's values for the hero.
#pragma once

#include "controls/KelBase_qt.h"
#include "database/ED_PlayerExp.h"

#include <memory>

class QSlider;

namespace Ui {
class FormEDPlayerExp;
}

namespace quillon {

class TFieldBinder;
class TFieldBinding;

class TFormEDPlayerExp : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDPlayerExp(TPlayerExpModel& model, QWidget* parent = nullptr);
    ~TFormEDPlayerExp() override;
    Ui::FormEDPlayerExp& Form() { return *mUi; }
    // The boxes, sliders, tables and graph from the model.
    void UpdateView();

private:
    TPlayerExpModel& mModel;
    std::unique_ptr<Ui::FormEDPlayerExp> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    TConnection mChanged;
};

}  // namespace quillon
