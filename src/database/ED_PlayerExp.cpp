#include "database/ED_PlayerExp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quillon {

TExpCurve TExpCurve::Clamped() const {
    TExpCurve c;
    c.Basic = std::clamp(Basic, kBasicMin, kBasicMax);
    c.Increase = std::clamp(Increase, kIncreaseMin, kIncreaseMax);
    c.Correction = std::clamp(Correction, kCorrectionMin, kCorrectionMax);
    return c;
}

std::int32_t CumulativeExp(std::int32_t basic, std::int32_t increase, std::int32_t correction, std::int32_t level) {
    const TExpCurve curve = TExpCurve{basic, increase, correction}.Clamped();
    level = std::clamp(level, 1, kExpLevels);
    double sum = 0;
    double step = curve.Basic;
    double factor = 1.5 + curve.Increase * 0.01;
    for (std::int32_t repetition = 1; repetition < level; ++repetition) {
        sum = sum + std::trunc(step) + curve.Correction;
        step = step * factor;
        // The damping takes the target level, not the repetition.
        factor = (level * 0.002 + 0.8) * (factor - 1) + 1;
        if (sum > 999999)
            return kExpCap;
    }
    return static_cast<std::int32_t>(sum);
}

TExpTotals ExpTotals(const TExpCurve& curve) {
    TExpTotals totals{};
    for (int level = 1; level <= kExpLevels; ++level)
        totals[static_cast<std::size_t>(level - 1)] = CumulativeExp(curve, level);
    return totals;
}

namespace {

std::string Line(const char* format, int level, std::int32_t value) {
    char text[64];
    std::snprintf(text, sizeof text, format, level, static_cast<int>(value));
    return text;
}

std::int32_t TotalAt(const TExpTotals& totals, int level) {
    return totals[static_cast<std::size_t>(std::clamp(level, 1, kExpLevels) - 1)];
}

}  // namespace

std::string ExpTotalLine(const TExpTotals& totals, int level) {
    const std::int32_t total = TotalAt(totals, level);
    return total < kExpCap ? Line(kExpLineFormat, level, total) : Line(kExpDashFormat, level, 0);
}

std::int32_t ExpToNext(const TExpTotals& totals, int level) {
    if (level < 1 || level >= kExpLevels)
        return -1;
    const std::int32_t next = TotalAt(totals, level + 1);
    return next > 999999 ? -1 : next - TotalAt(totals, level);
}

std::string ExpNextLine(const TExpTotals& totals, int level) {
    const std::int32_t next = ExpToNext(totals, level);
    return next >= 0 ? Line(kExpLineFormat, level, next) : Line(kExpDashFormat, level, 0);
}

std::array<TExpBar, kExpLevels> ExpBars(const TExpTotals& totals, int height) {
    std::array<TExpBar, kExpLevels> bars{};
    const std::int64_t h = std::max(height - 1, 0);
    bool capped = false;
    for (int level = 1; level <= kExpLevels; ++level) {
        const std::int32_t total = TotalAt(totals, level);
        capped = capped || total > 999999;
        TExpBar& bar = bars[static_cast<std::size_t>(level - 1)];
        bar.X = 5 * level - 5;
        bar.Top = static_cast<int>(h - h * total / kExpCap);
        bar.Colour = capped ? kExpCappedBarColour : kExpBarColour;
    }
    return bars;
}

TPlayerExpModel::TPlayerExpModel(const TExpCurve& start) : mCurve(start.Clamped()), mTotals(ExpTotals(mCurve)) {}

bool TPlayerExpModel::Set(std::int32_t TExpCurve::*member, std::int32_t value) {
    TExpCurve next = mCurve;
    next.*member = value;
    next = next.Clamped();
    if (next == mCurve)
        return false;
    mCurve = next;
    mTotals = ExpTotals(mCurve);
    Changed.Emit();
    return true;
}

bool TPlayerExpModel::SetBasic(std::int32_t value) { return Set(&TExpCurve::Basic, value); }
bool TPlayerExpModel::SetIncrease(std::int32_t value) { return Set(&TExpCurve::Increase, value); }
bool TPlayerExpModel::SetCorrection(std::int32_t value) { return Set(&TExpCurve::Correction, value); }


const TFieldForm& PlayerExpForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TPlayerExpModel> f;
        f.Field(TFieldKind::Number, "EditBasic", "&Standard Increase", [](const TPlayerExpModel& m) { return m.Curve().Basic; },
                &TPlayerExpModel::SetBasic)
            .Range(TExpCurve::kBasicMin, TExpCurve::kBasicMax);
        f.Field(TFieldKind::Number, "EditIncrease", "&Additional Increase",
                [](const TPlayerExpModel& m) { return m.Curve().Increase; }, &TPlayerExpModel::SetIncrease)
            .Range(TExpCurve::kIncreaseMin, TExpCurve::kIncreaseMax);
        f.Field(TFieldKind::Number, "EditCorrection", "&Corrected",
                [](const TPlayerExpModel& m) { return m.Curve().Correction; }, &TPlayerExpModel::SetCorrection)
            .Range(TExpCurve::kCorrectionMin, TExpCurve::kCorrectionMax);
        return f.Build();
    }();
    return form;
}

}  // namespace quillon
