#include "runtime/GameListWindow.h"

#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kTextIndent = 4;
constexpr int kTextTop = 2;

}  // namespace

TGameListWindow::TGameListWindow(TGameSkin& skin, const TRect& rect, int columns)
    : mSkin(skin), mRect(rect), mCursor(0, columns) {}

void TGameListWindow::SetRows(std::vector<TListRow> rows) {
    const int index = mCursor.Index();
    mRows = std::move(rows);
    mCursor = TMenuCursor(static_cast<int>(mRows.size()), mCursor.Columns());
    SetIndex(index);
}

const TListRow* TGameListWindow::Current() const {
    return mRows.empty() ? nullptr : &mRows[static_cast<std::size_t>(mCursor.Index())];
}

void TGameListWindow::SetIndex(int index) {
    mCursor.SetIndex(index);
    Scroll();
}

int TGameListWindow::VisibleRows() const {
    return std::max(1, (mRect.Height() - 2 * TGameCommandWindow::kBorder) / TGameCommandWindow::kLineHeight);
}

void TGameListWindow::Scroll() {
    const int line = mCursor.Index() / mCursor.Columns();
    if (line < mTop)
        mTop = line;
    else if (line >= mTop + VisibleRows())
        mTop = line - VisibleRows() + 1;
    const int lines = (mCursor.Count() + mCursor.Columns() - 1) / mCursor.Columns();
    mTop = std::clamp(mTop, 0, std::max(0, lines - VisibleRows()));
}

TRect TGameListWindow::RowRect(int index) const {
    const int columns = mCursor.Columns();
    const int width = (mRect.Width() - 2 * TGameCommandWindow::kBorder) / columns;
    const int line = index / columns - mTop;
    return MakeBounds(mRect.Left + TGameCommandWindow::kBorder + (index % columns) * width,
                      mRect.Top + TGameCommandWindow::kBorder + line * TGameCommandWindow::kLineHeight, width,
                      TGameCommandWindow::kLineHeight);
}

TMenuEvent TGameListWindow::Update(const TGameInput& input) {
    ++mStep;
    if (input.Pressed(gbDecide)) {
        const TListRow* row = Current();
        return row != nullptr && row->Enabled ? TMenuEvent::Decided : TMenuEvent::Refused;
    }
    if (input.Pressed(gbCancel))
        return TMenuEvent::Cancelled;
    if (!mCursor.Move(input))
        return TMenuEvent::None;
    Scroll();
    return TMenuEvent::Moved;
}

void TGameListWindow::Draw(TOrlenBoard& board) {
    mSkin.DrawWindow(board, mRect);
    const int columns = mCursor.Columns();
    const int first = mTop * columns;
    const int last = std::min(static_cast<int>(mRows.size()), first + VisibleRows() * columns);
    if (mActive && !mRows.empty())
        mSkin.DrawCursor(board, RowRect(mCursor.Index()), mStep);
    for (int i = first; i < last; ++i) {
        const TListRow& row = mRows[static_cast<std::size_t>(i)];
        const TRect r = RowRect(i);
        const int opacity = row.Enabled ? 255 : 128;
        mSkin.DrawText(board, r.Left + kTextIndent, r.Top + kTextTop, row.Text, 0, opacity);
        if (!row.Right.empty())
            mSkin.DrawText(board, r.Right - kTextIndent - TGameSkin::TextWidth(row.Right), r.Top + kTextTop,
                           row.Right, 0, opacity);
    }
    const int centre = (mRect.Left + mRect.Right) / 2;
    if (mTop > 0)
        mSkin.DrawArrow(board, centre, mRect.Top, true);
    if (last < static_cast<int>(mRows.size()))
        mSkin.DrawArrow(board, centre, mRect.Bottom - 8, false);
}

}  // namespace quillon::runtime
