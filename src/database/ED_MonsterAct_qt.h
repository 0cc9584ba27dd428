// The "Actions Pattern" dialog over a copy of one action pattern of a monster.
#pragma once

#include "controls/FieldBinder_qt.h"
#include "controls/KelBase_qt.h"
#include "database/ED_MonsterAct.h"

#include <memory>

namespace Ui {
class FormEDMonsterAct;
}

namespace quillon {

class TFormEDMonsterAct : public TFormKelBase {
    Q_OBJECT
public:
    TFormEDMonsterAct(TMonsterActDialogModel& model, QWidget* parent = nullptr);
    ~TFormEDMonsterAct() override;

    TMonsterActDialogModel& Model() { return mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    // Shows the labels, ranges and caption of the condition type.
    void UpdateView();

protected:
    bool CanConfirm() override;

private:
    TMonsterActDialogModel& mModel;
    std::unique_ptr<Ui::FormEDMonsterAct> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
};

// Edits a pattern with the dialog; true on OK with the pattern changed.
bool EditMonsterAct(QWidget* owner, const TKelDataBase& db, IEventChoosers* choosers, TKelMonsterActItem& act);

}  // namespace quillon
