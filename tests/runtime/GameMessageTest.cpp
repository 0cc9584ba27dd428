#include "runtime/GameMessage.h"

#include "TextFixture.h"

#include <gtest/gtest.h>

namespace quillon::runtime {
namespace {

using test::Press;
using test::Tap;

class GameMessage : public ::testing::Test {
protected:
    GameMessage() : mFont(LoadNoFont()), mSkin(TImageFinder(), "", wpStretch, *mFont), mWindow(mSkin) {}

    static std::unique_ptr<TGameFont> LoadNoFont() {
        std::string error;
        return TGameFont::Load("/nonexistent-quillon-fonts", 0, error);
    }
    // Steps without keys until the text is out (at most a few hundred steps).
    void WaitOut(int steps = 300) { Press(mWindow, mInput, 0, steps); }

    std::unique_ptr<TGameFont> mFont;
    TGameSkin mSkin;
    TGameMessageWindow mWindow;
    TGameInput mInput;
    test::TFakeSource mSource;
};

TEST_F(GameMessage, DecideShowsTheRestThenCloses) {
    mWindow.ShowMessage({"Hello \\N[0],", "you have \\$."}, mSource);
    EXPECT_TRUE(mWindow.Busy());
    Tap(mWindow, mInput, gbDecide);  // the rest at once
    EXPECT_TRUE(mWindow.Busy());
    Tap(mWindow, mInput, gbDecide);  // closes
    EXPECT_FALSE(mWindow.Busy());
    ASSERT_EQ(mWindow.ShownTexts().size(), 1u);
    EXPECT_EQ(mWindow.ShownTexts()[0], "Hello Alex,\nyou have 1234G.");
}

TEST_F(GameMessage, TextComesOutLetterByLetter) {
    mWindow.ShowMessage({"abcdefghij"}, mSource);
    Press(mWindow, mInput, 0, 4);
    EXPECT_TRUE(mWindow.Busy());
    // Once the text is out the window waits for the decide key.
    WaitOut();
    EXPECT_TRUE(mWindow.Busy());
    Press(mWindow, mInput, gbDecide);
    EXPECT_FALSE(mWindow.Busy());
}

TEST_F(GameMessage, CloseCodeClosesWithoutTheKey) {
    mWindow.ShowMessage({"Bye\\^"}, mSource);
    WaitOut();
    EXPECT_FALSE(mWindow.Busy());
}

TEST_F(GameMessage, KeyWaitStopsTheDecideThatShowsTheRest) {
    mWindow.ShowMessage({"one\\!two"}, mSource);
    Tap(mWindow, mInput, gbDecide);  // up to the key wait
    Tap(mWindow, mInput, gbDecide);  // past it
    WaitOut();
    EXPECT_TRUE(mWindow.Busy());
    Tap(mWindow, mInput, gbDecide);
    EXPECT_FALSE(mWindow.Busy());
}

TEST_F(GameMessage, ShownTextsAreUtf8AndOnePerWindow) {
    mWindow.ShowMessage({"\x82\xA0\\C[3]\x88\x9F", "\xB1"}, mSource);
    Tap(mWindow, mInput, gbDecide);
    Tap(mWindow, mInput, gbDecide);
    mWindow.ShowMessage({"second"}, mSource);
    const std::vector<std::string> expected = {"\xE3\x81\x82\xE4\xBA\x9C\n\xEF\xBD\xB1", "second"};
    EXPECT_EQ(mWindow.ShownTexts(), expected);
}

TEST_F(GameMessage, ChoicesAnswerByKeysAndCancelRules) {
    struct TCase {
        const char* Name;
        int Cancel;
        std::vector<std::uint32_t> Keys;  // each tapped in turn
        int Expected;                     // -2: still open afterwards
    } cases[] = {
        {"decide on the first", -1, {gbDecide}, 0},
        {"down twice", -1, {gbDown, gbDown, gbDecide}, 2},
        {"up wraps to the last", -1, {gbUp, gbDecide}, 2},
        {"down wraps to the first", -1, {gbDown, gbDown, gbDown, gbDecide}, 0},
        {"cancel ignored", -1, {gbCancel}, -2},
        {"cancel ignored, then decide", -1, {gbCancel, gbDown, gbDecide}, 1},
        {"cancel answers a choice", 1, {gbCancel}, 1},
        {"cancel has its own branch", 3, {gbCancel}, 3},
        {"an absurd cancel is ignored", 9, {gbCancel}, -2},
    };
    for (const TCase& c : cases) {
        TGameMessageWindow window(mSkin);
        TGameInput input;
        window.ShowMessage({"Which?"}, mSource);
        window.ShowChoices({"Yes", "No", "Maybe"}, c.Cancel, mSource);
        Tap(window, input, gbDecide);  // the question at once
        for (std::uint32_t key : c.Keys)
            Tap(window, input, key);
        if (c.Expected == -2) {
            EXPECT_TRUE(window.Busy()) << c.Name;
            EXPECT_TRUE(window.Choices().empty()) << c.Name;
        } else {
            EXPECT_FALSE(window.Busy()) << c.Name;
            EXPECT_EQ(window.ChoiceResult(), c.Expected) << c.Name;
            EXPECT_EQ(window.Choices(), std::vector<int>{c.Expected}) << c.Name;
        }
        EXPECT_EQ(window.ShownTexts(), std::vector<std::string>{"Which?"}) << c.Name;
    }
}

TEST_F(GameMessage, ChoicesThatDoNotFitComeOnTheirOwnPage) {
    mWindow.ShowMessage({"one", "two", "three"}, mSource);
    mWindow.ShowChoices({"A", "B"}, -1, mSource);
    Tap(mWindow, mInput, gbDecide);  // the text at once
    Tap(mWindow, mInput, gbDecide);  // the page with the choices
    Tap(mWindow, mInput, gbDown);
    Tap(mWindow, mInput, gbDecide);
    EXPECT_FALSE(mWindow.Busy());
    EXPECT_EQ(mWindow.ChoiceResult(), 1);
}

TEST_F(GameMessage, ChoicesAskedForAfterTheTextIsOutStillShow) {
    mWindow.ShowMessage({"Which?"}, mSource);
    WaitOut();
    mWindow.ShowChoices({"A", "B"}, -1, mSource);
    Tap(mWindow, mInput, gbDown);
    Tap(mWindow, mInput, gbDecide);
    EXPECT_FALSE(mWindow.Busy());
    EXPECT_EQ(mWindow.ChoiceResult(), 1);
}

TEST_F(GameMessage, ChoicesWithoutAMessage) {
    mWindow.ShowChoices({"A", "B", "C", "D", "E"}, 4, mSource);
    Press(mWindow, mInput, 0);
    Tap(mWindow, mInput, gbUp);  // five choices are cut to four: up wraps to the fourth
    Tap(mWindow, mInput, gbDecide);
    EXPECT_EQ(mWindow.ChoiceResult(), 3);
    EXPECT_TRUE(mWindow.ShownTexts().empty());
}

TEST_F(GameMessage, ChoiceCursorRepeatsButDoesNotWrapWhileHeld) {
    mWindow.ShowChoices({"A", "B", "C"}, -1, mSource);
    Press(mWindow, mInput, 0);
    Press(mWindow, mInput, gbDown, 24 + 6 * 5);  // one press and five repeats: stops on the last
    Press(mWindow, mInput, 0);
    Tap(mWindow, mInput, gbDecide);
    EXPECT_EQ(mWindow.ChoiceResult(), 2);
}

TEST_F(GameMessage, NumberInput) {
    struct TCase {
        const char* Name;
        int Digits;
        std::vector<std::uint32_t> Keys;
        std::int32_t Expected;
    } cases[] = {
        {"zero", 3, {}, 0},
        {"up three times", 1, {gbUp, gbUp, gbUp}, 3},
        {"down wraps to nine", 2, {gbDown}, 90},
        {"digit by digit", 3, {gbUp, gbRight, gbRight, gbDown, gbDown}, 108},
        {"left wraps to the last digit", 3, {gbLeft, gbUp}, 1},
        {"right wraps to the first digit", 2, {gbRight, gbRight, gbUp}, 10},
        {"no digits count as one", 0, {gbDown}, 9},
        {"at most seven digits", 9, {gbLeft, gbDown, gbRight, gbDown}, 9000009},
        {"cancel does nothing", 2, {gbCancel, gbUp}, 10},
    };
    for (const TCase& c : cases) {
        TGameMessageWindow window(mSkin);
        TGameInput input;
        window.InputNumber(c.Digits);
        Press(window, input, 0);
        for (std::uint32_t key : c.Keys)
            Tap(window, input, key);
        EXPECT_TRUE(window.Busy()) << c.Name;
        Tap(window, input, gbDecide);
        EXPECT_FALSE(window.Busy()) << c.Name;
        EXPECT_EQ(window.NumberResult(), c.Expected) << c.Name;
    }
}

TEST_F(GameMessage, WindowPositionAndAvoidingTheHero) {
    struct TCase {
        int Position;
        bool Avoid;
        int HeroY;
        int Top;
    } cases[] = {
        {2, false, 200, 160}, {0, false, 0, 0},     {1, false, 112, 80},
        {2, true, 112, 160},  {2, true, 200, 0},    {0, true, 40, 160},
        {1, true, 112, 160},  {1, true, 150, 0},    {0, true, 112, 0},
    };
    for (const TCase& c : cases) {
        TGameMessageWindow window(mSkin);
        TMessageOptions options;
        options.Position = c.Position;
        options.AvoidHero = c.Avoid;
        window.SetOptions(options);
        window.SetHeroScreenY(c.HeroY);
        window.ShowMessage({"x"}, mSource);
        EXPECT_EQ(window.WindowTop(), c.Top) << c.Position << " " << c.Avoid << " " << c.HeroY;
    }
}

}  // namespace
}  // namespace quillon::runtime
