// The experience curve of a hero and the "Curve of Experience" dialog's model: the total
// experience needed for each level, the two tables the dialog shows ("Total EXP" and "Next
// Level") and the bars of its graph.
#pragma once

#include "controls/FieldForm.h"
#include "platform/Signal.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

// The three values of a curve and the ranges the dialog's boxes allow.
struct TExpCurve {
    static constexpr std::int32_t kBasicMin = 10, kBasicMax = 50;
    static constexpr std::int32_t kIncreaseMin = 10, kIncreaseMax = 50;
    static constexpr std::int32_t kCorrectionMin = 0, kCorrectionMax = 40;

    std::int32_t Basic = 30;
    std::int32_t Increase = 30;
    std::int32_t Correction = 30;

    // The values kept in the boxes' ranges (what a file may hold is anything).
    TExpCurve Clamped() const;
    bool operator==(const TExpCurve&) const = default;
};

// Totals from here on are shown as "------".
inline constexpr std::int32_t kExpCap = 1000000;
inline constexpr int kExpLevels = 50;

// The total experience needed to reach `level` from level 1. Computed in double precision: the
// step is truncated toward zero before it is added, and the damping of the growth factor uses
// the target level in every repetition (so each level is summed from level 1 again). A sum past
// 999999 gives 1000000. The inputs are first kept in the boxes' ranges, the level in 1 .. 50.
std::int32_t CumulativeExp(std::int32_t basic, std::int32_t increase, std::int32_t correction, std::int32_t level);
inline std::int32_t CumulativeExp(const TExpCurve& curve, std::int32_t level) {
    return CumulativeExp(curve.Basic, curve.Increase, curve.Correction, level);
}

// The fifty totals of a curve, levels 1 .. 50 (index 0 is level 1).
using TExpTotals = std::array<std::int32_t, kExpLevels>;
TExpTotals ExpTotals(const TExpCurve& curve);

// The dialog's lines for a level (UTF-8): "Ｌ%2d :%7d" with the total, or "Ｌ%2d : ------" once
// the total is capped; and the same with the experience from this level to the next, "------"
// when the next total passes 999999 or at level 50.
inline constexpr const char* kExpLineFormat = "\xEF\xBC\xAC%2d :%7d";
inline constexpr const char* kExpDashFormat = "\xEF\xBC\xAC%2d : ------";
std::string ExpTotalLine(const TExpTotals& totals, int level);
std::string ExpNextLine(const TExpTotals& totals, int level);
// The experience from a level to the next, or -1 where the "Next Level" table shows "------".
std::int32_t ExpToNext(const TExpTotals& totals, int level);

// The graph's colours (red, green, blue): the bars, the bars from the first capped level on, and
// the texts of the two tables.
inline constexpr std::uint32_t kExpBarColour = 0xFF4488;
inline constexpr std::uint32_t kExpCappedBarColour = 0x880044;
inline constexpr std::uint32_t kExpTotalTextColour = 0x88FF44;
inline constexpr std::uint32_t kExpNextTextColour = 0xCCCCFF;

// One bar of the graph for a client area `height` pixels high: black above Top, coloured from
// Top down to the bottom.
struct TExpBar {
    int X = 0;
    int Top = 0;
    std::uint32_t Colour = kExpBarColour;
};
std::array<TExpBar, kExpLevels> ExpBars(const TExpTotals& totals, int height);

// The dialog's state: the three values and what they give.
class TPlayerExpModel {
public:
    // Starts with the hero's values (kept in the boxes' ranges).
    explicit TPlayerExpModel(const TExpCurve& start = {});

    const TExpCurve& Curve() const { return mCurve; }
    const TExpTotals& Totals() const { return mTotals; }
    // Each value kept in its box's range; false when nothing changed.
    bool SetBasic(std::int32_t value);
    bool SetIncrease(std::int32_t value);
    bool SetCorrection(std::int32_t value);

    // The tables and the graph follow every change.
    TSignal<> Changed;

private:
    bool Set(std::int32_t TExpCurve::*member, std::int32_t value);
    TExpCurve mCurve;
    TExpTotals mTotals{};
};


// The dialog's boxes: EditBasic, EditIncrease, EditCorrection (each with its slider).
const TFieldForm& PlayerExpForm();

}  // namespace quillon
