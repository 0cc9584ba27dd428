#include "mapedit/MapShift_qt.h"

#include "ui_MapShift.h"
#include "ui_MapShipPos.h"

#include <QButtonGroup>
#include <QEvent>
#include <QSignalBlocker>

namespace quillon {

TFormMapShift::TFormMapShift(TMapShiftModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormMapShift>()) {
    mUi->setupUi(this);
    mGroup = new QButtonGroup(this);
    mGroup->addButton(mUi->RadioUp, TMapShiftModel::sdUp);
    mGroup->addButton(mUi->RadioLeft, TMapShiftModel::sdLeft);
    mGroup->addButton(mUi->RadioRight, TMapShiftModel::sdRight);
    mGroup->addButton(mUi->RadioDown, TMapShiftModel::sdDown);
    connect(mGroup, &QButtonGroup::idClicked, this, [this](int id) {
        mModel.SetDirection(id);
        UpdateView();
    });
    connect(mUi->SpinAmount, &QSpinBox::valueChanged, this, [this](int value) { mModel.SetAmount(value); });
    ConnectStandardButtons();
    UpdateView();
}

TFormMapShift::~TFormMapShift() = default;

void TFormMapShift::UpdateView() {
    const QSignalBlocker blocker(mUi->SpinAmount);
    if (QAbstractButton* button = mGroup->button(mModel.Direction()))
        button->setChecked(true);
    mUi->SpinAmount->setRange(1, mModel.MaxAmount());
    mUi->SpinAmount->setValue(mModel.Amount());
}

bool TFormMapShift::CanConfirm() {
    mModel.SetAmount(mUi->SpinAmount->value());
    mModel.Confirm();
    return true;
}

TFormMapShipPos::TFormMapShipPos(TMapShipPosModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormMapShipPos>()) {
    mUi->setupUi(this);
    mGroup = new QButtonGroup(this);
    QAbstractButton* const radios[3] = {mUi->RadioBoat, mUi->RadioShip, mUi->RadioAirship};
    for (int i = 0; i < 3; ++i) {
        mGroup->addButton(radios[i], i);
        radios[i]->installEventFilter(this);
    }
    mGroup->button(model.Choice())->setChecked(true);
    connect(mGroup, &QButtonGroup::idClicked, this, [this](int id) { mModel.SetChoice(id); });
    ConnectStandardButtons();
}

TFormMapShipPos::~TFormMapShipPos() = default;

bool TFormMapShipPos::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const int id = mGroup->id(qobject_cast<QAbstractButton*>(watched));
        if (id >= 0) {
            mModel.SetChoice(id);
            Confirm();
            return true;
        }
    }
    return TFormKelBase::eventFilter(watched, event);
}

int ChooseVehicle(QWidget* parent) {
    TMapShipPosModel model;
    TFormMapShipPos dialog(model, parent);
    return dialog.Run() ? model.Result() : 0;
}

}  // namespace quillon
