#include "runtime/GameCommandWindow.h"

#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kMinWidth = 48;
constexpr int kTextIndent = 4;  // text inside its line's cursor rectangle
constexpr int kTextTop = 2;

}  // namespace

void TMenuCursor::SetIndex(int index) { mIndex = mCount == 0 ? 0 : std::clamp(index, 0, mCount - 1); }

bool TMenuCursor::Move(const TGameInput& input) {
    if (mCount == 0)
        return false;
    const int before = mIndex;
    const int rows = (mCount + mColumns - 1) / mColumns;
    if (input.Repeated(gbDown)) {
        if (mIndex + mColumns < mCount)
            mIndex += mColumns;
        else if (input.Pressed(gbDown))
            mIndex %= mColumns;
    } else if (input.Repeated(gbUp)) {
        if (mIndex - mColumns >= 0)
            mIndex -= mColumns;
        else if (input.Pressed(gbUp)) {
            mIndex = mIndex % mColumns + (rows - 1) * mColumns;
            if (mIndex >= mCount)
                mIndex -= mColumns;
        }
    } else if (mColumns > 1 && input.Repeated(gbRight)) {
        if (mIndex + 1 < mCount)
            ++mIndex;
        else if (input.Pressed(gbRight))
            mIndex = 0;
    } else if (mColumns > 1 && input.Repeated(gbLeft)) {
        if (mIndex > 0)
            --mIndex;
        else if (input.Pressed(gbLeft))
            mIndex = mCount - 1;
    }
    return mIndex != before;
}

TGameCommandWindow::TGameCommandWindow(TGameSkin& skin, std::vector<std::string> commands, int width, int columns)
    : mSkin(skin), mCommands(std::move(commands)), mEnabled(mCommands.size(), true),
      mCursor(static_cast<int>(mCommands.size()), columns), mWidth(width) {
    if (mWidth <= 0) {
        int widest = 0;
        for (const std::string& command : mCommands)
            widest = std::max(widest, TGameSkin::TextWidth(command));
        mWidth = std::max(kMinWidth, (widest + 2 * kTextIndent) * mCursor.Columns() + 2 * kBorder);
    }
}

void TGameCommandWindow::SetEnabled(int index, bool enabled) {
    if (index >= 0 && static_cast<std::size_t>(index) < mEnabled.size())
        mEnabled[static_cast<std::size_t>(index)] = enabled;
}

bool TGameCommandWindow::Enabled(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < mEnabled.size() && mEnabled[static_cast<std::size_t>(index)];
}

void TGameCommandWindow::SetPosition(int x, int y) {
    mX = x;
    mY = y;
}

void TGameCommandWindow::CentreAt(int screenWidth, int y) { SetPosition((screenWidth - mWidth) / 2, y); }

TRect TGameCommandWindow::Rect() const {
    const int rows = (mCursor.Count() + mCursor.Columns() - 1) / mCursor.Columns();
    return MakeBounds(mX, mY, mWidth, std::max(rows, 1) * kLineHeight + 2 * kBorder);
}

TRect TGameCommandWindow::ItemRect(int index) const {
    const int columnWidth = (mWidth - 2 * kBorder) / mCursor.Columns();
    const int column = index % mCursor.Columns(), row = index / mCursor.Columns();
    return MakeBounds(mX + kBorder + column * columnWidth, mY + kBorder + row * kLineHeight, columnWidth, kLineHeight);
}

TMenuEvent TGameCommandWindow::Update(const TGameInput& input) {
    ++mStep;
    if (input.Pressed(gbDecide) && mCursor.Count() > 0)
        return Enabled(mCursor.Index()) ? TMenuEvent::Decided : TMenuEvent::Refused;
    if (input.Pressed(gbCancel) && mCancelAllowed)
        return TMenuEvent::Cancelled;
    return mCursor.Move(input) ? TMenuEvent::Moved : TMenuEvent::None;
}

void TGameCommandWindow::Draw(TOrlenBoard& board) {
    mSkin.DrawWindow(board, Rect(), mOpacity);
    if (mCursor.Count() > 0)
        mSkin.DrawCursor(board, ItemRect(mCursor.Index()), mStep);
    for (int i = 0; i < mCursor.Count(); ++i) {
        const TRect r = ItemRect(i);
        mSkin.DrawText(board, r.Left + kTextIndent, r.Top + kTextTop, mCommands[static_cast<std::size_t>(i)], 0,
                       Enabled(i) ? 255 : 128);
    }
}

}  // namespace quillon::runtime
