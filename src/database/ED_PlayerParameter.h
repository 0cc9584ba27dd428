// The six parameter curves of a hero and the "Curve of Abilities" dialog's model: the tabs, the
// selected level and its value, the large graph drawn with the mouse, the four quick creation
// buttons and the curve generator ("Create Curve").
#pragma once

#include "controls/FieldForm.h"
#include "platform/Signal.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace quillon {

class TKelPlayerItem;

inline constexpr int kParameterCount = 6;  // Max HP, Max MP, Attack, Defense, Mind, Agility
inline constexpr int kParameterLevels = 50;

// One curve: the value of each level 1 .. 50 (index 0 is level 1).
using TParameterCurve = std::array<std::int32_t, kParameterLevels>;
using TParameterCurves = std::array<TParameterCurve, kParameterCount>;

// The curves of a hero, and back.
TParameterCurves HeroCurves(const TKelPlayerItem& hero);
void StoreHeroCurves(TKelPlayerItem& hero, const TParameterCurves& curves);

// A parameter's tab caption ("Max HP" ...), its colour (0xRRGGBB), the value per pixel of bar
// height on the page's small graphs and on the dialog's large graph, and the quick buttons'
// scale. Parameters outside 0 .. 5 answer those of parameter 0.
const char* ParameterCaption(int parameter);
std::uint32_t ParameterColour(int parameter);
int SmallGraphDivisor(int parameter);
int LargeGraphDivisor(int parameter);
double ParameterScale(int parameter);
// What the value box accepts: 1 .. 999, from 0 for Max MP.
std::int32_t ParameterMin(int parameter);
inline constexpr std::int32_t kParameterMax = 999;

// The generator's "Growth Style": -2 ("Early") .. 8 ("Late"), 3 "Normal".
inline constexpr int kCurveShapeMin = -2, kCurveShapeMax = 8, kCurveShapeNormal = 3;

// Fills levels 2 .. 49 of a curve from level 1 (`start`) to level 50 (`end`): a cubic Bézier
// from (1, start) to (50, end) with control points (2s + 16, start + (16 − 2s)(end − start) div 50)
// and (2s + 32, start + (32 − 2s)(end − start) div 50), drawn with a one-pixel pen on a surface
// 51 wide and 1000 high; each level takes the topmost pixel of its column. Levels 1 and 50 keep
// start and end. The ends are kept in 0 .. 999 and the shape in -2 .. 8.
TParameterCurve GenerateCurve(std::int32_t start, std::int32_t end, int shape);

// The random numbers of the quick buttons: Random(n) is uniform in 0 .. n − 1 (0 when n < 1).
using TRandomSource = std::function<int(int n)>;
// The program's own source.
TRandomSource DefaultRandomSource();

// The quick creation buttons, each with its level-1 factor a and level-50 base b.
enum class TQuickCurve { Genius, Excellent, Normal, Low };
struct TQuickCurveInfo {
    const char* Caption;
    int A;
    int B;
};
const TQuickCurveInfo& QuickCurveInfo(TQuickCurve kind);

// The ends and shape a quick button makes for a parameter. The random numbers are drawn in
// this order, the same every time: r1 = random(2); r2 = random(trunc(r1 + c)); r3 = random(20);
// r4 = random(trunc(c)); r5 = random(3). Then level 1 = trunc(r2 + a × c) (+5 for Attack and
// Defense), level 50 = trunc((b + r3) × c + r4), shape = r5 + 2 (c: the parameter's scale).
struct TQuickCurvePlan {
    std::int32_t Start = 0;
    std::int32_t End = 0;
    int Shape = kCurveShapeNormal;
};
TQuickCurvePlan PlanQuickCurve(TQuickCurve kind, int parameter, const TRandomSource& random);

// The dialog's state over a copy of the six curves.
class TPlayerParameterModel {
public:
    // The large graph: 50 bars of 10 pixels, 250 high.
    static constexpr int kGraphWidth = 10 * kParameterLevels;
    static constexpr int kGraphHeight = 250;

    TPlayerParameterModel(const TParameterCurves& curves, int parameter, TRandomSource random = {});

    const TParameterCurves& Curves() const { return mCurves; }
    int Parameter() const { return mParameter; }
    // Another tab (kept in 0 .. 5); the level stays.
    void SetParameter(int parameter);
    // Ctrl+Tab and Shift+Ctrl+Tab: the next or previous tab, wrapping.
    void NextParameter(int step);

    int Level() const { return mLevel; }
    void SetLevel(int level);  // kept in 1 .. 50
    std::int32_t Value(int level) const;
    std::int32_t Value() const { return Value(mLevel); }
    std::int32_t ValueMin() const { return ParameterMin(mParameter); }
    // The value box: the selected level's value, kept in the box's range. False when unchanged.
    bool SetValue(std::int32_t value);

    // The large graph's bar of a level: its top (black above it).
    int BarTop(int level) const;

    // The mouse on the large graph. A left press starts a stroke and is its first point; other
    // buttons only follow the level. Every move selects the level under the pointer; while
    // drawing it sets the value there, first filling every level from the stroke's previous
    // point to this one by linear interpolation from the stored value of the previous point.
    void MousePress(bool left, int x, int y);
    void MouseMove(int x, int y);
    void MouseRelease();
    bool Drawing() const { return mDrawing; }
    // The level under a point of the graph, in 1 .. 50.
    static int LevelAt(int x);

    // The current tab's curve from a quick button, or from the generator's ends and shape.
    void Quick(TQuickCurve kind);
    void Generate(std::int32_t start, std::int32_t end, int shape);

    // The graph or the value changed.
    TSignal<> Changed;

private:
    void Put(int level, std::int32_t value);
    TParameterCurves mCurves;
    int mParameter = 0;
    int mLevel = 1;
    TRandomSource mRandom;
    bool mDrawing = false;
    int mPreviousLevel = 0;  // 0: the stroke has no point yet
};

// The generator dialog ("Create Curve"): the two ends within the value box's limits and the shape.
class TPlayerParamGenModel {
public:
    TPlayerParamGenModel(std::int32_t min, std::int32_t max, std::int32_t start, std::int32_t end);
    std::int32_t Min() const { return mMin; }
    std::int32_t Max() const { return mMax; }
    std::int32_t Start() const { return mStart; }
    std::int32_t End() const { return mEnd; }
    int Shape() const { return mShape; }
    void SetStart(std::int32_t value);
    void SetEnd(std::int32_t value);
    void SetShape(int shape);
    // Stores the ends in the dialog's current tab and generates the curve.
    void ApplyTo(TPlayerParameterModel& curves) const;

private:
    std::int32_t mMin, mMax, mStart, mEnd;
    int mShape = kCurveShapeNormal;
};


// The curve dialog's boxes: EditLevel and EditValue (whose least value follows the tab). The
// generator's: EditStart and EditEnd.
const TFieldForm& PlayerParameterForm();
const TFieldForm& PlayerParamGenForm();

}  // namespace quillon
