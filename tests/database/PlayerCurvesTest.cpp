// The hero's experience and parameter curves without a window: the totals and tables of the
// experience dialog, the curve generator, the quick buttons' draws and the mouse strokes on the
// large graph.
#include "database/ED_PlayerExp.h"
#include "database/ED_PlayerParameter.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <climits>
#include <deque>
#include <vector>

namespace quillon {
namespace {

TEST(CumulativeExpTest, TheTotalsOfTheDefaultCurveAndTheCap) {
    const std::int32_t first[] = {0, 30, 84, 172, 307, 503, 767, 1112, 1549, 2082};
    for (int level = 1; level <= 10; ++level)
        EXPECT_EQ(CumulativeExp(30, 30, 0, level), first[level - 1]) << level;
    EXPECT_EQ(CumulativeExp(30, 30, 0, 50), 614301);

    // The steepest curve passes 999999 first at level 42, and stays capped.
    EXPECT_LT(CumulativeExp(50, 50, 40, 41), 1000000);
    for (int level = 42; level <= 50; ++level)
        EXPECT_EQ(CumulativeExp(50, 50, 40, level), kExpCap) << level;

    // The correction is added once per level passed.
    EXPECT_EQ(CumulativeExp(30, 30, 10, 4) - CumulativeExp(30, 30, 0, 4), 30);
}

TEST(CumulativeExpTest, ValuesFromAFileAreKeptInTheBoxesRangesFirst) {
    struct TCase {
        std::int32_t Basic, Increase, Correction;
        TExpCurve Clamped;
    };
    const TCase cases[] = {
        {INT_MAX, INT_MAX, INT_MAX, {50, 50, 40}},
        {INT_MIN, INT_MIN, INT_MIN, {10, 10, 0}},
        {0, 1000, -5, {10, 50, 0}},
    };
    for (const TCase& c : cases)
        for (int level : {1, 2, 25, 50, 51, -3}) {
            const TExpCurve clamped = c.Clamped;
            EXPECT_EQ(CumulativeExp(c.Basic, c.Increase, c.Correction, level),
                      CumulativeExp(clamped, std::clamp(level, 1, 50)))
                << c.Basic << " " << level;
        }
    TPlayerExpModel model(TExpCurve{999, -1, 77});
    EXPECT_EQ(model.Curve(), (TExpCurve{50, 10, 40}));
    EXPECT_FALSE(model.SetBasic(60));  // already the most the box allows
    EXPECT_TRUE(model.SetBasic(20));
    EXPECT_EQ(model.Totals()[1], 20 + 40);
}

TEST(ExpTableTest, LinesDashOnceCappedAndTheGraphChangesColourThere) {
    const TExpTotals totals = ExpTotals({50, 50, 40});
    EXPECT_EQ(ExpTotalLine(totals, 1), "\xEF\xBC\xAC 1 :      0");
    EXPECT_EQ(ExpTotalLine(totals, 2), "\xEF\xBC\xAC 2 :     90");
    EXPECT_EQ(ExpNextLine(totals, 1), "\xEF\xBC\xAC 1 :     90");
    EXPECT_EQ(ExpTotalLine(totals, 42), "\xEF\xBC\xAC" "42 : ------");
    EXPECT_EQ(ExpTotalLine(totals, 50), "\xEF\xBC\xAC" "50 : ------");
    // "Next Level" dashes where the next total passes 999999, and always at level 50.
    EXPECT_EQ(ExpNextLine(totals, 41), "\xEF\xBC\xAC" "41 : ------");
    EXPECT_EQ(ExpToNext(totals, 40), totals[40] - totals[39]);
    EXPECT_EQ(ExpToNext(ExpTotals({30, 30, 0}), 50), -1);
    EXPECT_EQ(ExpToNext(ExpTotals({30, 30, 0}), 49), 614301 - CumulativeExp(30, 30, 0, 49));

    const auto bars = ExpBars(totals, 251);
    EXPECT_EQ(bars[40].Colour, kExpBarColour);
    EXPECT_EQ(bars[41].Colour, kExpCappedBarColour);
    EXPECT_EQ(bars[49].Colour, kExpCappedBarColour);
    EXPECT_EQ(bars[0].X, 0);
    EXPECT_EQ(bars[49].X, 245);
    EXPECT_EQ(bars[0].Top, 250);  // nothing to reach level 1
    EXPECT_EQ(bars[41].Top, 0);   // capped: the full height
    EXPECT_EQ(bars[1].Top, 250 - 250 * 90 / 1000000);
}

TEST(GenerateCurveTest, EveryShapeRunsMonotoneBetweenItsExactEnds) {
    const std::pair<std::int32_t, std::int32_t> ends[] = {{1, 999}, {40, 600}, {15, 150}, {500, 20}, {7, 7}, {0, 1}};
    for (const auto& [start, end] : ends)
        for (int shape = kCurveShapeMin; shape <= kCurveShapeMax; ++shape) {
            SCOPED_TRACE(std::to_string(start) + ".." + std::to_string(end) + " shape " + std::to_string(shape));
            const TParameterCurve curve = GenerateCurve(start, end, shape);
            EXPECT_EQ(curve.front(), start);
            EXPECT_EQ(curve.back(), end);
            for (int level = 2; level <= 50; ++level) {
                if (start <= end)
                    EXPECT_GE(curve[level - 1], curve[level - 2]) << level;
                else
                    EXPECT_LE(curve[level - 1], curve[level - 2]) << level;
            }
        }
}

TEST(GenerateCurveTest, SmallShapesRiseEarlyAndLargeOnesLate) {
    const TParameterCurve early = GenerateCurve(10, 910, kCurveShapeMin);
    const TParameterCurve normal = GenerateCurve(10, 910, kCurveShapeNormal);
    const TParameterCurve late = GenerateCurve(10, 910, kCurveShapeMax);
    for (int level : {10, 25, 40}) {
        EXPECT_GT(early[level - 1], normal[level - 1]) << level;
        EXPECT_GT(normal[level - 1], late[level - 1]) << level;
    }
    // The straight case: shape 8 with equal ends, and the middle of a straight-ish curve.
    EXPECT_EQ(GenerateCurve(300, 300, 8), TParameterCurve{[] {
                  TParameterCurve flat{};
                  flat.fill(300);
                  return flat;
              }()});
    // Ends beyond the generator's surface are kept on it.
    const TParameterCurve big = GenerateCurve(-5, 5000, 3);
    EXPECT_EQ(big.front(), 0);
    EXPECT_EQ(big.back(), 999);
}

// Middle levels worked out from the rule: level L is the topmost pixel of column L, which is
// where the Bezier crosses into the column (its left edge x = L - 0.5 on a rising curve, its
// right edge on a falling one), rounded. For 10 .. 910, shape 3 the control points are (22, 190)
// and (38, 478): x(t) = 24.5 at t = 0.4124, where y(t) = 290.3, so level 25 is 290. The pen may
// land a pixel off the exact crossing; a level read from its neighbour's column is 3 to 32 off.
TEST(GenerateCurveTest, MiddleLevelsLieWhereTheCurveEntersTheirColumns) {
    struct TCase {
        std::int32_t Start, End;
        int Shape;
        std::vector<std::pair<int, std::int32_t>> Levels;  // level, value
    };
    const TCase cases[] = {
        {10, 910, 3, {{5, 41}, {10, 92}, {25, 290}, {40, 594}, {45, 730}}},
        {0, 999, -2, {{5, 119}, {10, 266}, {25, 606}, {40, 856}, {45, 926}}},
        {100, 500, 8, {{25, 134}, {40, 227}, {45, 296}}},
        {900, 100, 3, {{5, 864}, {10, 818}, {25, 636}, {40, 358}, {45, 233}}},
    };
    for (const TCase& c : cases) {
        const TParameterCurve curve = GenerateCurve(c.Start, c.End, c.Shape);
        for (const auto& [level, value] : c.Levels)
            EXPECT_LE(std::abs(curve[static_cast<std::size_t>(level - 1)] - value), 1)
                << c.Start << ".." << c.End << " shape " << c.Shape << " level " << level << ": "
                << curve[static_cast<std::size_t>(level - 1)];
    }
}

// A random source that answers from a script and records what it was asked.
struct TScriptedRandom {
    std::deque<int> Answers;
    std::vector<int> Asked;
    bool Highest = false;  // answer n - 1 instead of the script
    int operator()(int n) {
        Asked.push_back(n);
        if (Highest)
            return n - 1;
        const int answer = Answers.empty() ? 0 : Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        return answer;
    }
};

TEST(QuickCurveTest, TheDrawsComeInTheirFixedOrderAndReachEveryEnd) {
    struct TCase {
        TQuickCurve Kind;
        int Parameter;
        std::vector<int> Asked;  // with every draw at its highest
        TQuickCurvePlan Lowest, Highest;
    };
    const TCase cases[] = {
        {TQuickCurve::Genius, 0, {2, 11, 20, 10, 3}, {50, 800, 2}, {60, 999, 4}},
        {TQuickCurve::Excellent, 1, {2, 11, 20, 10, 3}, {40, 600, 2}, {50, 799, 4}},
        {TQuickCurve::Genius, 2, {2, 3, 20, 2, 3}, {17, 200, 2}, {19, 248, 4}},
        {TQuickCurve::Low, 3, {2, 3, 20, 2, 3}, {10, 50, 2}, {12, 98, 4}},
        {TQuickCurve::Normal, 4, {2, 6, 20, 5, 3}, {15, 200, 2}, {20, 299, 4}},
        {TQuickCurve::Low, 5, {2, 6, 20, 5, 3}, {10, 100, 2}, {15, 199, 4}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(QuickCurveInfo(c.Kind).Caption) + " " + ParameterCaption(c.Parameter));
        TScriptedRandom low;
        const TQuickCurvePlan lowest = PlanQuickCurve(c.Kind, c.Parameter, std::ref(low));
        EXPECT_EQ(lowest.Start, c.Lowest.Start);
        EXPECT_EQ(lowest.End, c.Lowest.End);
        EXPECT_EQ(lowest.Shape, c.Lowest.Shape);
        // With the first draw 0, the second is asked for trunc(c) numbers.
        EXPECT_EQ(low.Asked.size(), 5u);
        EXPECT_EQ(low.Asked[1], static_cast<int>(ParameterScale(c.Parameter)));

        TScriptedRandom high;
        high.Highest = true;
        const TQuickCurvePlan highest = PlanQuickCurve(c.Kind, c.Parameter, std::ref(high));
        EXPECT_EQ(high.Asked, c.Asked);
        EXPECT_EQ(highest.Start, c.Highest.Start);
        EXPECT_EQ(highest.End, c.Highest.End);
        EXPECT_EQ(highest.Shape, c.Highest.Shape);
    }
    // A source answering outside its range is kept inside it.
    const TQuickCurvePlan wild = PlanQuickCurve(TQuickCurve::Normal, 0, [](int) { return 1000; });
    EXPECT_EQ(wild.Shape, 4);
    EXPECT_EQ(wild.End, (40 + 19) * 10 + 9);
}

TEST(QuickCurveTest, AButtonGeneratesTheCurrentTabOnly) {
    TParameterCurves curves{};
    for (auto& curve : curves)
        curve.fill(5);
    TScriptedRandom script;
    script.Answers = {1, 4, 10, 3, 2};
    TPlayerParameterModel model(curves, 4, std::ref(script));
    model.Quick(TQuickCurve::Genius);
    const TParameterCurve expected = GenerateCurve(4 + 25, (80 + 10) * 5 + 3, 4);
    EXPECT_EQ(model.Curves()[4], expected);
    EXPECT_EQ(model.Curves()[5], curves[5]);
}

class StrokeTest : public ::testing::Test {
protected:
    StrokeTest() : model(Flat(100), 0) {}
    static TParameterCurves Flat(std::int32_t value) {
        TParameterCurves curves{};
        for (auto& curve : curves)
            curve.fill(value);
        return curves;
    }
    // A point of the graph over a level, at the height that means `value` on the Max HP tab.
    static int X(int level) { return 10 * level - 5; }
    static int Y(std::int32_t value) { return 250 - value / 4; }
    std::int32_t At(int level) const { return model.Curves()[model.Parameter()][level - 1]; }

    TPlayerParameterModel model;
};

TEST_F(StrokeTest, OneMoveAcrossTenLevelsFillsThemLinearlyEitherWay) {
    for (const bool rightwards : {true, false}) {
        SCOPED_TRACE(rightwards ? "level 10 to 20" : "level 20 to 10");
        TPlayerParameterModel model(Flat(100), 0);
        const auto At = [&model](int level) { return model.Curves()[0][level - 1]; };
        const int from = rightwards ? 10 : 20, to = rightwards ? 20 : 10;
        model.MousePress(true, X(from), Y(200));  // the press is the stroke's first point
        EXPECT_EQ(At(from), 200);
        model.MouseMove(X(to), Y(600));
        for (int level = 10; level <= 20; ++level) {
            const int i = std::abs(level - from);
            EXPECT_EQ(At(level), ((10 - i) * 200 + i * 600) / 10) << level;
        }
        EXPECT_EQ(At(9), 100);
        EXPECT_EQ(At(21), 100);
        EXPECT_EQ(model.Level(), to);
        model.MouseRelease();
        model.MouseMove(X(30), Y(900));  // no button: the level follows, nothing is drawn
        EXPECT_EQ(model.Level(), 30);
        EXPECT_EQ(At(30), 100);
    }
}

TEST_F(StrokeTest, ThePreviousPointIsTheStoredClampedValueAndLevelsStayOnTheGraph) {
    model.MousePress(true, X(5), -2000);  // far above: 999 is stored
    EXPECT_EQ(At(5), 999);
    model.MouseMove(X(7), Y(1));
    // From 999 (not the 9000 the pointer meant) down to 1.
    EXPECT_EQ(At(6), (1 * 999 + 1 * 0) / 2);
    EXPECT_EQ(At(7), 1);
    // Below the graph on Max HP: the box's least value 1; past the right end: level 50.
    model.MouseMove(5000, 400);
    EXPECT_EQ(model.Level(), 50);
    EXPECT_EQ(At(50), 1);
    for (int level = 7; level <= 50; ++level)
        EXPECT_GE(At(level), 1) << level;
    model.MouseRelease();

    // Max MP allows 0; the left edge is level 1.
    model.SetParameter(1);
    model.MousePress(true, -40, 400);
    EXPECT_EQ(model.Level(), 1);
    EXPECT_EQ(model.Curves()[1][0], 0);
    EXPECT_EQ(model.Curves()[0][0], 100);
    model.MouseRelease();

    // Another button only follows the level.
    model.MousePress(false, X(12), 0);
    model.MouseMove(X(14), 0);
    EXPECT_EQ(model.Level(), 14);
    EXPECT_EQ(model.Curves()[1][13], 100);
}

TEST_F(StrokeTest, TheValueBoxAndTheGeneratorKeepTheirLimits) {
    model.SetLevel(60);
    EXPECT_EQ(model.Level(), 50);
    EXPECT_TRUE(model.SetValue(5000));
    EXPECT_EQ(At(50), 999);
    EXPECT_FALSE(model.SetValue(999));
    EXPECT_TRUE(model.SetValue(-3));
    EXPECT_EQ(At(50), 1);
    model.NextParameter(-1);
    EXPECT_EQ(model.Parameter(), 5);
    model.NextParameter(1);
    EXPECT_EQ(model.Parameter(), 0);

    TPlayerParamGenModel gen(model.ValueMin(), kParameterMax, At(1), 2000);
    EXPECT_EQ(gen.End(), 999);
    gen.SetShape(20);
    EXPECT_EQ(gen.Shape(), kCurveShapeMax);
    gen.SetStart(50);
    gen.ApplyTo(model);
    EXPECT_EQ(model.Curves()[0], GenerateCurve(50, 999, kCurveShapeMax));
}

}  // namespace
}  // namespace quillon
