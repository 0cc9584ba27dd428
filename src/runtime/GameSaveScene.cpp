#include "runtime/GameSaveScene.h"

#include "graphics/OrlenSheet.h"
#include "platform/FileUtils.h"
#include "runtime/Game.h"
#include "runtime/GameText.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace quillon::runtime {

namespace {

constexpr int kBorder = 8;
constexpr int kTextColumn = kBorder + kFaceSize + 10;
constexpr int kSecondColumn = 150;
constexpr int kDisabledOpacity = 128;
constexpr const char* kUnreadable = "Unreadable save";

}  // namespace

std::vector<TSaveSlot> ListSaveSlots(const std::string& folder, const std::string& title, std::uint32_t databaseCheck) {
    std::vector<TSaveSlot> slots(kSaveSlots);
    for (int slot = 1; slot <= kSaveSlots; ++slot) {
        TSaveSlot& info = slots[static_cast<std::size_t>(slot - 1)];
        const std::string path = folder + SaveFileName(slot);
        if (!FileExists(path))
            continue;
        try {
            const std::string bytes = ReadWholeFile(path, kSaveFileLimit);
            TSaveRead read = ReadSaveGame(bytes, title, databaseCheck, true);
            info.Problem = read.Problem;
            info.Message = read.Message;
            info.Summary = read.Game.Summary;
        } catch (const std::exception& e) {
            info.Problem = TSaveProblem::Damaged;
            info.Message = e.what();
        }
    }
    return slots;
}

std::string FormatPlayTime(std::int64_t frames) {
    const std::int64_t seconds = std::max<std::int64_t>(frames, 0) / kStepsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

TGameSaveScene::TGameSaveScene(TGameSkin& skin, bool saving, TSaveSceneWords words, std::vector<TSaveSlot> slots,
                               int cursorSlot)
    : mSkin(skin), mSaving(saving), mWords(std::move(words)), mSlots(std::move(slots)), mCursor(kSaveSlots, 1) {
    mSlots.resize(kSaveSlots);
    mCursor.SetIndex(cursorSlot - 1);
    mTop = std::clamp(mCursor.Index() - (kRowsShown - 1), 0, kSaveSlots - kRowsShown);
    mTop = std::min(mTop, mCursor.Index());
}

TMenuEvent TGameSaveScene::Update(const TGameInput& input) {
    ++mStep;
    if (mCursor.Move(input)) {
        const int index = mCursor.Index();
        if (index < mTop)
            mTop = index;
        else if (index >= mTop + kRowsShown)
            mTop = index - kRowsShown + 1;
        return TMenuEvent::Moved;
    }
    if (input.Pressed(gbDecide)) {
        if (mSaving || SlotInfo(Slot()).Problem == TSaveProblem::None)
            return TMenuEvent::Decided;
        return TMenuEvent::Refused;
    }
    if (input.Pressed(gbCancel))
        return TMenuEvent::Cancelled;
    return TMenuEvent::None;
}

TRect TGameSaveScene::RowRect(int row) const {
    const int area = kScreenHeight - kHelpHeight;
    return TRect{0, kHelpHeight + row * area / kRowsShown, kScreenWidth, kHelpHeight + (row + 1) * area / kRowsShown};
}

void TGameSaveScene::DrawSlot(TOrlenBoard& board, int slot, const TRect& rect) {
    const TSaveSlot& info = SlotInfo(slot);
    const bool usable = info.Problem == TSaveProblem::None;
    const int opacity = usable || mSaving ? 255 : kDisabledOpacity;
    mSkin.DrawWindow(board, rect);
    if (slot == Slot())
        mSkin.DrawCursor(board, TRect{rect.Left + 4, rect.Top + 4, rect.Right - 4, rect.Bottom - 4}, mStep);
    const int rowA = rect.Top + 10;
    const int rowB = rowA + 18;
    const int rowC = rowB + 18;
    mSkin.DrawText(board, kTextColumn, rowA, mWords.File + " " + std::to_string(slot), 0, opacity);
    if (info.Problem == TSaveProblem::Missing)
        return;
    if (!usable) {
        mSkin.DrawText(board, kTextColumn, rowB, kUnreadable, 0, opacity);
        return;
    }
    const TSaveSummary& s = info.Summary;
    mSkin.DrawFace(board, kBorder, rect.Top + (rect.Height() - kFaceSize) / 2, s.FaceSet, s.FaceIndex, false);
    const std::string time = FormatPlayTime(s.PlayFrames);
    mSkin.DrawText(board, rect.Right - kBorder - 4 - TGameSkin::TextWidth(time), rowA, time);
    mSkin.DrawText(board, kTextColumn, rowB, s.Name);
    int x = mSkin.DrawText(board, kTextColumn, rowC, mWords.Level, 1);
    mSkin.DrawText(board, x + 4, rowC, std::to_string(s.Level));
    x = mSkin.DrawText(board, kSecondColumn, rowC, mWords.Hp, 1);
    mSkin.DrawText(board, x + 4, rowC, std::to_string(s.Hp));
}

void TGameSaveScene::Draw(TOrlenBoard& board) {
    mSkin.DrawWindow(board, TRect{0, 0, kScreenWidth, kHelpHeight});
    mSkin.DrawText(board, kBorder + 4, 10, mNotice.empty() ? mWords.Help : mNotice);
    for (int row = 0; row < kRowsShown; ++row) {
        DrawSlot(board, mTop + row + 1, RowRect(row));
    }
    if (mTop > 0)
        mSkin.DrawArrow(board, kScreenWidth / 2, RowRect(0).Top, true);
    if (mTop + kRowsShown < kSaveSlots)
        mSkin.DrawArrow(board, kScreenWidth / 2, kScreenHeight - 8, false);
}

}  // namespace quillon::runtime
