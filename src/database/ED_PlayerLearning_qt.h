// The learning dialog ("Skills"): a level and one of the skills the hero does not learn yet,
// over TPlayerLearningModel. OK is offered only with a skill to choose.
#pragma once

#include "controls/KelBase_qt.h"
#include "database/ED_Player.h"

#include <memory>

namespace Ui {
class FormEDPlayerLearning;
}

namespace quillon {

class TFieldBinder;
class TFieldBinding;

class TFormEDPlayerLearning : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDPlayerLearning(TPlayerLearningModel& model, QWidget* parent = nullptr);
    ~TFormEDPlayerLearning() override;
    Ui::FormEDPlayerLearning& Form() { return *mUi; }

protected:
    bool CanConfirm() override;

private:
    TPlayerLearningModel& mModel;
    std::unique_ptr<Ui::FormEDPlayerLearning> mUi;
};

}  // namespace quillon
