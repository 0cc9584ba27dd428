// A window listing rows to choose from, scrolling when they do not all fit: the shop's goods, the
// inventory, the skills, the equipment. Each row has its text, an optional text at its right end
// (a price, a count, an MP cost) and may be greyed. Only the visible rows are drawn, so a list of
// thousands costs no more a frame than a list of ten.
#pragma once

#include "graphics/GraphicsTypes.h"
#include "runtime/GameCommandWindow.h"
#include "runtime/GameInput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {
class TOrlenBoard;
}

namespace quillon::runtime {

class TGameSkin;

struct TListRow {
    std::string Text;
    std::string Right;
    bool Enabled = true;
    std::int32_t Id = 0;  // what the row stands for (an item ID, a skill ID …)
};

class TGameListWindow {
public:
    TGameListWindow(TGameSkin& skin, const TRect& rect, int columns = 1);

    void SetRows(std::vector<TListRow> rows);
    const std::vector<TListRow>& Rows() const { return mRows; }
    // The chosen row, or null when the list is empty.
    const TListRow* Current() const;
    int Index() const { return mCursor.Index(); }
    void SetIndex(int index);
    // Whether the cursor shows (a list only looked at shows none).
    void SetActive(bool active) { mActive = active; }
    const TRect& Rect() const { return mRect; }
    // Rows that fit in the window, and the first one shown.
    int VisibleRows() const;
    int TopRow() const { return mTop; }

    // One step: moves the cursor; decide answers Decided on an enabled row, Refused on a greyed one
    // or an empty list; cancel answers Cancelled.
    TMenuEvent Update(const TGameInput& input);
    void Draw(TOrlenBoard& board);

private:
    TRect RowRect(int index) const;
    void Scroll();

    TGameSkin& mSkin;
    TRect mRect;
    std::vector<TListRow> mRows;
    TMenuCursor mCursor;
    int mTop = 0;  // first visible line (row index / columns)
    bool mActive = true;
    std::int64_t mStep = 0;
};

}  // namespace quillon::runtime
