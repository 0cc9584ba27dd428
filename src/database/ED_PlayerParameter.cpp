#include "database/ED_PlayerParameter.h"

#include "data/LD_Player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace quillon {

namespace {

int Checked(int parameter) { return parameter >= 0 && parameter < kParameterCount ? parameter : 0; }

struct TParameterInfo {
    const char* Caption;
    std::uint32_t Colour;
    int SmallDivisor;
    int LargeDivisor;
    double Scale;
};

constexpr TParameterInfo kParameters[kParameterCount] = {
    {"Max HP", 0xFF5533, 12, 4, 10},  {"Max MP", 0xEE55FF, 12, 4, 10}, {"Attack", 0xFFCC11, 3, 1, 2.5},
    {"Defense", 0x11DD33, 3, 1, 2.5}, {"Mind", 0x5577FF, 6, 2, 5},     {"Agility", 0x11DDFF, 6, 2, 5},
};

constexpr TQuickCurveInfo kQuick[] = {{"Genius", 5, 80}, {"Exellent", 4, 60}, {"Normal", 3, 40}, {"Low", 2, 20}};

// The generator's surface.
constexpr int kSurfaceWidth = 51;
constexpr int kSurfaceHeight = 1000;

}  // namespace

TParameterCurves HeroCurves(const TKelPlayerItem& hero) {
    TParameterCurves curves{};
    for (int p = 0; p < kParameterCount; ++p)
        for (int level = 1; level <= kParameterLevels; ++level)
            curves[p][level - 1] = hero.Parameter(p, level);
    return curves;
}

void StoreHeroCurves(TKelPlayerItem& hero, const TParameterCurves& curves) {
    for (int p = 0; p < kParameterCount; ++p)
        for (int level = 1; level <= kParameterLevels; ++level)
            hero.SetParameter(p, level, curves[p][level - 1]);
}

const char* ParameterCaption(int parameter) { return kParameters[Checked(parameter)].Caption; }
std::uint32_t ParameterColour(int parameter) { return kParameters[Checked(parameter)].Colour; }
int SmallGraphDivisor(int parameter) { return kParameters[Checked(parameter)].SmallDivisor; }
int LargeGraphDivisor(int parameter) { return kParameters[Checked(parameter)].LargeDivisor; }
double ParameterScale(int parameter) { return kParameters[Checked(parameter)].Scale; }
std::int32_t ParameterMin(int parameter) { return Checked(parameter) == 1 ? 0 : 1; }

TParameterCurve GenerateCurve(std::int32_t start, std::int32_t end, int shape) {
    start = std::clamp<std::int32_t>(start, 0, kSurfaceHeight - 1);
    end = std::clamp<std::int32_t>(end, 0, kSurfaceHeight - 1);
    shape = std::clamp(shape, kCurveShapeMin, kCurveShapeMax);
    const std::int32_t rise = end - start;
    // Integer products, the division truncating toward zero.
    const double x[4] = {1, 2.0 * shape + 16, 2.0 * shape + 32, 50};
    const double y[4] = {double(start), double(start + (16 - 2 * shape) * rise / 50),
                         double(start + (32 - 2 * shape) * rise / 50), double(end)};

    // The topmost pixel drawn in each column (kSurfaceHeight: none yet).
    std::array<int, kSurfaceWidth> top;
    top.fill(kSurfaceHeight);
    const auto plot = [&](int px, int py) {
        if (px >= 0 && px < kSurfaceWidth && py >= 0 && py < kSurfaceHeight)
            top[px] = std::min(top[px], py);
    };
    // The curve as a polyline of many short pieces, each drawn with a one-pixel line (so every
    // column the curve crosses gets a pixel).
    constexpr int kPieces = 512;
    int lastX = 0, lastY = 0;
    for (int k = 0; k <= kPieces; ++k) {
        const double t = double(k) / kPieces, u = 1 - t;
        const double bx = u * u * u * x[0] + 3 * u * u * t * x[1] + 3 * u * t * t * x[2] + t * t * t * x[3];
        const double by = u * u * u * y[0] + 3 * u * u * t * y[1] + 3 * u * t * t * y[2] + t * t * t * y[3];
        const int px = static_cast<int>(std::lround(bx)), py = static_cast<int>(std::lround(by));
        if (k == 0) {
            plot(px, py);
        } else {
            // Bresenham from the last point to this one.
            int x0 = lastX, y0 = lastY;
            const int dx = std::abs(px - x0), sx = x0 < px ? 1 : -1;
            const int dy = -std::abs(py - y0), sy = y0 < py ? 1 : -1;
            int error = dx + dy;
            for (;;) {
                plot(x0, y0);
                if (x0 == px && y0 == py)
                    break;
                const int e2 = 2 * error;
                if (e2 >= dy) {
                    error += dy;
                    x0 += sx;
                }
                if (e2 <= dx) {
                    error += dx;
                    y0 += sy;
                }
            }
        }
        lastX = px;
        lastY = py;
    }

    TParameterCurve curve{};
    curve[0] = start;
    curve[kParameterLevels - 1] = end;
    for (int level = 2; level < kParameterLevels; ++level)
        curve[level - 1] = top[level] < kSurfaceHeight ? top[level] : curve[level - 2];
    return curve;
}

TRandomSource DefaultRandomSource() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine](int n) {
        if (n < 1)
            return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(*engine);
    };
}

const TQuickCurveInfo& QuickCurveInfo(TQuickCurve kind) {
    const auto index = static_cast<std::size_t>(kind);
    return kQuick[index < std::size(kQuick) ? index : 0];
}

TQuickCurvePlan PlanQuickCurve(TQuickCurve kind, int parameter, const TRandomSource& random) {
    const TQuickCurveInfo& info = QuickCurveInfo(kind);
    const double c = ParameterScale(parameter);
    // A source that answers outside 0 .. n − 1 is kept there.
    const auto draw = [&random](int n) { return n < 1 ? 0 : std::clamp(random(n), 0, n - 1); };
    // The order of the draws is part of the rule: always these five, in this order.
    const int r1 = draw(2);
    const int r2 = draw(static_cast<int>(std::trunc(r1 + c)));
    const int r3 = draw(20);
    const int r4 = draw(static_cast<int>(std::trunc(c)));
    const int r5 = draw(3);
    TQuickCurvePlan plan;
    plan.Start = static_cast<std::int32_t>(std::trunc(r2 + info.A * c));
    const int p = Checked(parameter);
    if (p == 2 || p == 3)
        plan.Start += 5;
    plan.End = static_cast<std::int32_t>(std::trunc((info.B + r3) * c + r4));
    plan.Shape = r5 + 2;
    return plan;
}

TPlayerParameterModel::TPlayerParameterModel(const TParameterCurves& curves, int parameter, TRandomSource random)
    : mCurves(curves), mParameter(Checked(parameter)), mRandom(random ? std::move(random) : DefaultRandomSource()) {}

void TPlayerParameterModel::SetParameter(int parameter) {
    parameter = Checked(parameter);
    if (parameter == mParameter)
        return;
    mParameter = parameter;
    mDrawing = false;
    Changed.Emit();
}

void TPlayerParameterModel::NextParameter(int step) {
    SetParameter(((mParameter + step) % kParameterCount + kParameterCount) % kParameterCount);
}

void TPlayerParameterModel::SetLevel(int level) {
    level = std::clamp(level, 1, kParameterLevels);
    if (level == mLevel)
        return;
    mLevel = level;
    Changed.Emit();
}

std::int32_t TPlayerParameterModel::Value(int level) const {
    if (level < 1 || level > kParameterLevels)
        return 0;
    return mCurves[mParameter][level - 1];
}

void TPlayerParameterModel::Put(int level, std::int32_t value) {
    mCurves[mParameter][level - 1] = std::clamp(value, ValueMin(), kParameterMax);
}

bool TPlayerParameterModel::SetValue(std::int32_t value) {
    value = std::clamp(value, ValueMin(), kParameterMax);
    if (value == Value())
        return false;
    Put(mLevel, value);
    Changed.Emit();
    return true;
}

int TPlayerParameterModel::BarTop(int level) const { return kGraphHeight - Value(level) / LargeGraphDivisor(mParameter); }

int TPlayerParameterModel::LevelAt(int x) {
    // (x + 10) div 10, truncating toward zero as the graph's coordinates do.
    return std::clamp((x + 10) / 10, 1, kParameterLevels);
}

void TPlayerParameterModel::MousePress(bool left, int x, int y) {
    mDrawing = left;
    mPreviousLevel = 0;
    MouseMove(x, y);
}

void TPlayerParameterModel::MouseMove(int x, int y) {
    const int level = LevelAt(x);
    if (!mDrawing) {
        SetLevel(level);
        return;
    }
    mLevel = level;
    const std::int64_t value = static_cast<std::int64_t>(kGraphHeight - y) * LargeGraphDivisor(mParameter);
    const auto target = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -1000000, 1000000));
    if (mPreviousLevel != 0 && mPreviousLevel != level) {
        // From the stored (already clamped) value of the previous point, in either direction.
        const std::int64_t previous = Value(mPreviousLevel);
        const int d = std::abs(level - mPreviousLevel);
        const int direction = level > mPreviousLevel ? 1 : -1;
        for (int i = 0; i <= d; ++i)
            Put(mPreviousLevel + direction * i,
                static_cast<std::int32_t>(((d - i) * previous + i * static_cast<std::int64_t>(target)) / d));
    }
    Put(level, target);
    mPreviousLevel = level;
    Changed.Emit();
}

void TPlayerParameterModel::MouseRelease() {
    mDrawing = false;
    mPreviousLevel = 0;
}

void TPlayerParameterModel::Generate(std::int32_t start, std::int32_t end, int shape) {
    mCurves[mParameter] = GenerateCurve(start, end, shape);
    for (int level = 1; level <= kParameterLevels; ++level)
        Put(level, Value(level));
    Changed.Emit();
}

void TPlayerParameterModel::Quick(TQuickCurve kind) {
    const TQuickCurvePlan plan = PlanQuickCurve(kind, mParameter, mRandom);
    Generate(plan.Start, plan.End, plan.Shape);
}

TPlayerParamGenModel::TPlayerParamGenModel(std::int32_t min, std::int32_t max, std::int32_t start, std::int32_t end)
    : mMin(min), mMax(std::max(min, max)), mStart(std::clamp(start, mMin, mMax)), mEnd(std::clamp(end, mMin, mMax)) {}

void TPlayerParamGenModel::SetStart(std::int32_t value) { mStart = std::clamp(value, mMin, mMax); }
void TPlayerParamGenModel::SetEnd(std::int32_t value) { mEnd = std::clamp(value, mMin, mMax); }
void TPlayerParamGenModel::SetShape(int shape) { mShape = std::clamp(shape, kCurveShapeMin, kCurveShapeMax); }

void TPlayerParamGenModel::ApplyTo(TPlayerParameterModel& curves) const { curves.Generate(mStart, mEnd, mShape); }


const TFieldForm& PlayerParameterForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TPlayerParameterModel> f;
        f.Field(TFieldKind::Number, "EditLevel", "&Level", [](const TPlayerParameterModel& m) { return m.Level(); },
                &TPlayerParameterModel::SetLevel)
            .Range(1, kParameterLevels);
        f.Field(TFieldKind::Number, "EditValue", "&Value", [](const TPlayerParameterModel& m) { return m.Value(); },
                &TPlayerParameterModel::SetValue)
            .Range(0, kParameterMax);
        return f.Build();
    }();
    return form;
}

const TFieldForm& PlayerParamGenForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TPlayerParamGenModel> f;
        f.Field(TFieldKind::Number, "EditStart", "Level &1 Cost", &TPlayerParamGenModel::Start,
                &TPlayerParamGenModel::SetStart)
            .Range(0, kParameterMax);
        f.Field(TFieldKind::Number, "EditEnd", "Level &50 Cost", &TPlayerParamGenModel::End, &TPlayerParamGenModel::SetEnd)
            .Range(0, kParameterMax);
        return f.Build();
    }();
    return form;
}

}  // namespace quillon
