#include "database/ED_PlayerExp_qt.h"

#include "controls/FieldBinder_qt.h"

#include "ui_ED_PlayerExp.h"

#include <QSignalBlocker>

namespace quillon {

TFormEDPlayerExp::TFormEDPlayerExp(TPlayerExpModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDPlayerExp>()) {
    mUi->setupUi(this);
    setObjectName("FormEDPlayerExp");
    SetHelpContext(2);
    mBinding = std::make_unique<TFieldBinding>(PlayerExpForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    mUi->SliderBasic->setRange(TExpCurve::kBasicMin, TExpCurve::kBasicMax);
    mUi->SliderIncrease->setRange(TExpCurve::kIncreaseMin, TExpCurve::kIncreaseMax);
    mUi->SliderCorrection->setRange(TExpCurve::kCorrectionMin, TExpCurve::kCorrectionMax);
    connect(mUi->SliderBasic, &QSlider::valueChanged, this, [this](int value) { mModel.SetBasic(value); });
    connect(mUi->SliderIncrease, &QSlider::valueChanged, this, [this](int value) { mModel.SetIncrease(value); });
    connect(mUi->SliderCorrection, &QSlider::valueChanged, this, [this](int value) { mModel.SetCorrection(value); });
    mChanged = mModel.Changed.Connect([this] { UpdateView(); });
    ConnectStandardButtons();
    UpdateView();
}

TFormEDPlayerExp::~TFormEDPlayerExp() { delete mBinder; }

void TFormEDPlayerExp::UpdateView() {
    mBinder->Refresh();
    const TExpCurve& curve = mModel.Curve();
    const std::pair<QSlider*, int> sliders[] = {
        {mUi->SliderBasic, curve.Basic}, {mUi->SliderIncrease, curve.Increase}, {mUi->SliderCorrection, curve.Correction}};
    for (const auto& [slider, value] : sliders) {
        const QSignalBlocker blocked(slider);
        slider->setValue(value);
    }
    mUi->TableTotal->SetTotals(&mModel.Totals(), false);
    mUi->TableNext->SetTotals(&mModel.Totals(), true);
    mUi->Graph->SetTotals(&mModel.Totals());
}

}  // namespace quillon
