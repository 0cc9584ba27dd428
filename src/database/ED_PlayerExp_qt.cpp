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
    const struct {
        QSlider* Slider;
        int Min, Max;
        bool (TPlayerExpModel::*Set)(std::int32_t);
    } sliders[] = {
        {mUi->SliderBasic, TExpCurve::kBasicMin, TExpCurve::kBasicMax, &TPlayerExpModel::SetBasic},
        {mUi->SliderIncrease, TExpCurve::kIncreaseMin, TExpCurve::kIncreaseMax, &TPlayerExpModel::SetIncrease},
        {mUi->SliderCorrection, TExpCurve::kCorrectionMin, TExpCurve::kCorrectionMax, &TPlayerExpModel::SetCorrection},
    };
    for (const auto& s : sliders) {
        s.Slider->setRange(s.Min, s.Max);
        connect(s.Slider, &QSlider::valueChanged, this, [this, set = s.Set](int value) { (mModel.*set)(value); });
    }
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
