#include "runtime/GameCommandWindow.h"

#include "TextFixture.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

// Runs the keys through a cursor, each tapped (pressed for a step, released for one).
int Walk(TMenuCursor cursor, const std::vector<std::uint32_t>& keys) {
    TGameInput input;
    for (std::uint32_t key : keys) {
        input = input.Next(key);
        cursor.Move(input);
        input = input.Next(0);
        cursor.Move(input);
    }
    return cursor.Index();
}

TEST(MenuCursor, MovesAndWraps) {
    struct TCase {
        const char* Name;
        int Count, Columns;
        std::vector<std::uint32_t> Keys;
        int Expected;
    } cases[] = {
        {"down", 3, 1, {gbDown}, 1},
        {"down wraps", 3, 1, {gbDown, gbDown, gbDown}, 0},
        {"up wraps", 3, 1, {gbUp}, 2},
        {"left and right do nothing in one column", 3, 1, {gbRight, gbLeft, gbRight}, 0},
        {"right in two columns", 5, 2, {gbRight}, 1},
        {"down a row", 5, 2, {gbRight, gbDown}, 3},
        {"down from the last row wraps to the top of the column", 5, 2, {gbDown, gbDown, gbDown}, 0},
        {"up wraps to the column's last item", 5, 2, {gbRight, gbUp}, 3},
        {"up wraps to the first column's last item", 5, 2, {gbUp}, 4},
        {"left wraps to the last item", 5, 2, {gbLeft}, 4},
        {"right wraps to the first item", 5, 2, {gbLeft, gbRight}, 0},
        {"no items", 0, 1, {gbDown, gbUp}, 0},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Walk(TMenuCursor(c.Count, c.Columns), c.Keys), c.Expected) << c.Name;
}

class CommandWindow : public ::testing::Test {
protected:
    CommandWindow() : mSkin(TImageFinder(), "", wpStretch, TGameFont::Shared(0)) {}
    TMenuEvent Tap(TGameCommandWindow& window, std::uint32_t key) {
        mInput = mInput.Next(key);
        const TMenuEvent event = window.Update(mInput);
        mInput = mInput.Next(0);
        window.Update(mInput);
        return event;
    }
    TGameSkin mSkin;
    TGameInput mInput;
};

TEST_F(CommandWindow, DecideCancelAndDisabledCommands) {
    TGameCommandWindow window(mSkin, {"New Game", "Continue", "Shutdown"});
    window.SetEnabled(1, false);
    EXPECT_EQ(Tap(window, gbDown), TMenuEvent::Moved);
    EXPECT_EQ(Tap(window, gbDecide), TMenuEvent::Refused);
    EXPECT_EQ(window.Index(), 1);
    EXPECT_EQ(Tap(window, gbDown), TMenuEvent::Moved);
    EXPECT_EQ(Tap(window, gbDecide), TMenuEvent::Decided);
    EXPECT_EQ(window.Index(), 2);
    EXPECT_EQ(Tap(window, gbCancel), TMenuEvent::Cancelled);
    window.SetCancelAllowed(false);
    EXPECT_EQ(Tap(window, gbCancel), TMenuEvent::None);
    EXPECT_FALSE(window.Enabled(7));
}

TEST_F(CommandWindow, SizeFollowsTheCommands) {
    TGameCommandWindow window(mSkin, {"New Game", "Continue", "Shutdown"});
    window.CentreAt(320, 140);
    const TRect r = window.Rect();
    EXPECT_EQ(r.Height(), 3 * TGameCommandWindow::kLineHeight + 2 * TGameCommandWindow::kBorder);
    EXPECT_GE(r.Width(), TGameSkin::TextWidth("New Game") + 2 * TGameCommandWindow::kBorder);
    EXPECT_EQ(r.Left, (320 - r.Width()) / 2);
    EXPECT_EQ(r.Top, 140);
    TGameCommandWindow wide(mSkin, {"a", "b", "c", "d", "e"}, 200, 2);
    EXPECT_EQ(wide.Rect().Width(), 200);
    EXPECT_EQ(wide.Rect().Height(), 3 * TGameCommandWindow::kLineHeight + 2 * TGameCommandWindow::kBorder);
}

}  // namespace
}  // namespace quillon::runtime
