// Rank lists: rows of a name and a rank A..E (how strongly a condition or an attribute works on
// a hero or a monster). Ranks are kept as 0..4 (A..E).
#pragma once

#include "platform/Signal.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

inline constexpr int kRankCount = 5;

// 'A'..'E'; '?' for a rank outside 0..4.
char RankLetter(int rank);
// The rank of a letter typed (either case); -1 for another key.
int RankOfLetter(char letter);

class TRankListModel {
public:
    struct TRow {
        std::string Name;  // CP932 bytes
        int Rank = 2;
    };

    // Ranks outside 0..4 are kept as they are until changed (they show as '?').
    void SetRows(std::vector<TRow> rows);
    const std::vector<TRow>& Rows() const { return mRows; }
    int Count() const { return static_cast<int>(mRows.size()); }
    int Rank(int row) const;
    // False (and no signal) for a row that does not exist, a rank outside 0..4 or no change.
    bool SetRank(int row, int rank);
    // One rank on (wrapping E to A) or back (A to E): a click steps on.
    bool StepRank(int row, int step);

    // A row's rank changed: (row, new rank).
    TSignal<int, int> Changed;

private:
    std::vector<TRow> mRows;
};

}  // namespace quillon
