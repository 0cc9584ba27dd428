#include "controls/RankList.h"

namespace quillon {

char RankLetter(int rank) { return rank >= 0 && rank < kRankCount ? static_cast<char>('A' + rank) : '?'; }

int RankOfLetter(char letter) {
    if (letter >= 'a' && letter <= 'e')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'E')
        return letter - 'A';
    return -1;
}

void TRankListModel::SetRows(std::vector<TRow> rows) { mRows = std::move(rows); }

int TRankListModel::Rank(int row) const {
    return row >= 0 && row < Count() ? mRows[static_cast<std::size_t>(row)].Rank : -1;
}

bool TRankListModel::SetRank(int row, int rank) {
    if (row < 0 || row >= Count() || rank < 0 || rank >= kRankCount)
        return false;
    TRow& r = mRows[static_cast<std::size_t>(row)];
    if (r.Rank == rank)
        return false;
    r.Rank = rank;
    Changed.Emit(row, rank);
    return true;
}

bool TRankListModel::StepRank(int row, int step) {
    if (row < 0 || row >= Count())
        return false;
    const int current = mRows[static_cast<std::size_t>(row)].Rank;
    // A rank outside the letters starts over from A (or from E going back).
    const int base = current >= 0 && current < kRankCount ? current : (step > 0 ? -1 : kRankCount);
    const int next = ((base + step) % kRankCount + kRankCount) % kRankCount;
    return SetRank(row, next);
}

}  // namespace quillon
