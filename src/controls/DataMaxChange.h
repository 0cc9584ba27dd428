// The number of entries of a list: the count dialog's rule (1 .. 30000, a loss warning when the
// number goes down) and the resize that follows it.
#pragma once

#include <cstdint>

namespace quillon {

class TCatalog;

inline constexpr int kMinDataCount = 1;
inline constexpr int kMaxDataCount = 30000;

// The question asked before entries are dropped.
inline constexpr const char* kDataCountLossQuestion = "All fields above the Max Field Number will be lost. Continue?";

class TDataMaxChangeModel {
public:
    // current: the list's count now (the box starts at it, clamped into the range).
    explicit TDataMaxChangeModel(int current);

    int Current() const { return mCurrent; }
    int Value() const { return mValue; }
    // Clamped into 1 .. 30000.
    void SetValue(int value);
    // Whether the value drops entries.
    bool Shrinks() const { return mValue < mCurrent; }
    // OK: a smaller value asks the loss question (Yes/No, warning icon, owned by `owner`); true
    // when the dialog may close with the value.
    bool Confirm(const void* owner) const;

private:
    int mCurrent;
    int mValue;
};

// Brings a list from its count n to `count` (clamped into 1 .. 30000): Obtain(id) for
// id = n+1 .. count when growing, Delete(id) for id = count+1 .. n when shrinking. Answers whether
// the count was different.
bool ResizeCatalog(TCatalog& list, int count);

}  // namespace quillon
