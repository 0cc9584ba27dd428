#include "database/ED_MonsterAct_qt.h"

#include "platform/MessageBox.h"

#include <QSignalBlocker>
#include <QSpinBox>

#include "ui_ED_MonsterAct.h"

namespace quillon {

TFormEDMonsterAct::TFormEDMonsterAct(TMonsterActDialogModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDMonsterAct>()) {
    mUi->setupUi(this);
    setWindowTitle(tr("Actions Pattern"));
    SetHelpContext(kMonsterActHelpContext);
    ConnectStandardButtons();
    mBinding = std::make_unique<TFieldBinding>(MonsterActDialogForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    connect(mBinder, &TFieldBinder::FieldChanged, this, [this](int) { UpdateView(); });
    UpdateView();
}

TFormEDMonsterAct::~TFormEDMonsterAct() { delete mBinder; }

void TFormEDMonsterAct::UpdateView() {
    const bool values = mModel.HasValues();
    const std::int32_t shown[] = {mModel.ValueA(), mModel.ValueB()};
    int i = 0;
    for (QSpinBox* box : {mUi->DialEdit1, mUi->DialEdit2}) {
        const QSignalBlocker blocker(box);
        box->setVisible(values);
        if (values)
            box->setRange(mModel.ValueMin(), mModel.ValueMax());
        box->setValue(shown[i++]);
    }
    mUi->LabelA->setText(tr(mModel.LabelA().c_str()));
    mUi->LabelB->setText(tr(mModel.LabelB().c_str()));
    mUi->LabelA->setVisible(values);
    mUi->LabelB->setVisible(values || mModel.ConditionType() == TKelMonsterActItem::acSwitch);
    mUi->DashBox3->setVisible(mModel.ConditionType() == TKelMonsterActItem::acSwitch);
    mUi->GroupCondition->setTitle(tr(mModel.ConditionCaption().c_str()));
}

bool TFormEDMonsterAct::CanConfirm() {
    std::string error;
    if (mModel.Confirm(error))
        return true;
    ShowError(error);
    return false;
}

bool EditMonsterAct(QWidget* owner, const TKelDataBase& db, IEventChoosers* choosers, TKelMonsterActItem& act) {
    TMonsterActDialogModel model(db, act, choosers);
    TFormEDMonsterAct dialog(model, owner);
    if (!dialog.Run())
        return false;
    const std::int32_t id = act.ID;
    act.Assign(model.Act());
    act.ID = id;
    return true;
}

}  // namespace quillon
