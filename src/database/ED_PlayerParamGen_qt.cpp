#include "database/ED_PlayerParamGen_qt.h"

#include "controls/FieldBinder_qt.h"

#include "ui_ED_PlayerParamGen.h"

namespace quillon {

TFormEDPlayerParamGen::TFormEDPlayerParamGen(TPlayerParamGenModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDPlayerParamGen>()) {
    mUi->setupUi(this);
    setObjectName("FormEDPlayerParamGen");
    mBinding = std::make_unique<TFieldBinding>(PlayerParamGenForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    mUi->EditStart->setRange(mModel.Min(), mModel.Max());
    mUi->EditEnd->setRange(mModel.Min(), mModel.Max());
    mUi->SliderShape->setRange(kCurveShapeMin, kCurveShapeMax);
    mUi->SliderShape->setValue(mModel.Shape());
    mUi->SliderShape->setTickPosition(QSlider::TicksBelow);
    mUi->SliderShape->setTickInterval(1);
    connect(mUi->SliderShape, &QSlider::valueChanged, this, [this](int value) { mModel.SetShape(value); });
    mBinder->Refresh();
    ConnectStandardButtons();
}

TFormEDPlayerParamGen::~TFormEDPlayerParamGen() { delete mBinder; }

bool TFormEDPlayerParamGen::CanConfirm() {
    // What is typed but not yet taken.
    mUi->EditStart->interpretText();
    mUi->EditEnd->interpretText();
    return true;
}

}  // namespace quillon
