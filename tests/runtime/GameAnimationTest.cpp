// The game's battle animation: its pace, its sound cues, its flashes and where it stands.
#include "runtime/GameAnimation.h"

#include "data/LD_Animation.h"
#include "runtime/ScreenFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon::runtime::test {
namespace {

// Three frames; frame f shows pattern f at (f * 10, 0); cues: a sound at frame 2, a screen flash
// at frame 1 and a target flash at frame 3.
void MakeAnimation(TKelAnimationItem& animation) {
    animation.FileName = "Burst";
    animation.SetFrameCount(3);
    for (int f = 0; f < 3; ++f) {
        TKelAnimationCellItem& cell = animation.Frames.Items(f)->Cells.Obtain(1);
        cell.Pattern = f;
        cell.X = f * 10;
    }
    const auto cue = [&animation](int id, int frame, const std::string& sound, std::uint8_t range) {
        TKelAnimationTimingItem& item = animation.Timing.Obtain(id);
        item.Frame = frame;
        item.Sound.Name = sound;
        item.FlashRange = range;
        item.FlashRed = 31;
        item.FlashGreen = 0;
        item.FlashBlue = 0;
        item.FlashPower = 24;
    };
    cue(1, 1, kSoundOff, TKelAnimationTimingItem::frScreen);
    cue(2, 2, "Boom", TKelAnimationTimingItem::frNone);
    cue(3, 3, kSoundOff, TKelAnimationTimingItem::frTarget);
}

class GameAnimationTest : public ::testing::Test {
protected:
    GameAnimationTest()
        : animation(folder.Finder(), [this](const TKelSound& sound) {
              played.push_back(std::to_string(tick) + ":" + sound.Name);
          }) {
        MakeAnimation(record);
    }

    TScreenFolder folder;
    std::vector<std::string> played;
    int tick = 0;
    TKelAnimationItem record;
    TGameAnimation animation;
};

TEST_F(GameAnimationTest, PlaysEachFrameForTwoGameFramesWithItsSoundsAndFlashes) {
    animation.Start(&record);
    // Three frames, and the target flash cued on the last fades out through five more.
    ASSERT_EQ(animation.Duration(), 16);
    std::vector<int> frames;
    std::vector<int> screenFlash;
    std::vector<int> targetFlash;
    while (animation.Running()) {
        frames.push_back(animation.FrameIndex());
        screenFlash.push_back(animation.ScreenFlash()[3]);
        targetFlash.push_back(animation.TargetFlash()[3]);
        ++tick;
        animation.Update();
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7}));
    // The sound of frame 2 (index 1) sounds once, as that frame begins.
    EXPECT_EQ(played, (std::vector<std::string>{"2:Boom"}));
    // A flash is strongest at its cue and fades over the following frames.
    EXPECT_EQ(screenFlash, (std::vector<int>{28, 28, 24, 24, 20, 20, 16, 16, 12, 12, 8, 8, 0, 0, 0, 0}));
    EXPECT_EQ(targetFlash, (std::vector<int>{0, 0, 0, 0, 28, 28, 24, 24, 20, 20, 16, 16, 12, 12, 8, 8}));
    EXPECT_EQ(animation.FrameIndex(), -1);
}

TEST_F(GameAnimationTest, DrawsTheCurrentFrameCentredOnThePoint) {
    TOrlenBoard board;
    board.SetSize(320, 240);
    animation.Start(&record);
    animation.Update();
    animation.Update();  // frame index 1: pattern 1, 10 pixels right of the point
    animation.Draw(board, 100, 120);
    // The 48 x 48 square of the pattern is centred on (110, 120); index 0 around it is transparent.
    EXPECT_NE(Pixel(board, 110, 120), 0);
    EXPECT_NE(Pixel(board, 87, 97), 0);
    EXPECT_EQ(Pixel(board, 85, 95), 0);
    EXPECT_EQ(Pixel(board, 100 - 48, 120), 0);
}

TEST_F(GameAnimationTest, EmptyOrMissingRecordsRunNothingAndMissingImagesStillSound) {
    animation.Start(nullptr);
    EXPECT_FALSE(animation.Running());
    TKelAnimationItem empty;
    empty.SetFrameCount(0);
    animation.Start(&empty);
    EXPECT_FALSE(animation.Running());
    record.FileName = "NoSuchImage";
    animation.Start(&record);
    TOrlenBoard board;
    board.SetSize(64, 64);
    for (tick = 1; animation.Running(); ++tick) {
        animation.Draw(board, 32, 32);
        animation.Update();
    }
    EXPECT_EQ(played, (std::vector<std::string>{"2:Boom"}));
}

TEST(AnimationAnchor, HeadCentreAndFeetOfTheTarget) {
    TKelAnimationItem record;
    const struct {
        std::uint8_t line;
        int expected;
    } cases[] = {{TKelAnimationItem::ylHead, 68}, {TKelAnimationItem::ylCenter, 84}, {TKelAnimationItem::ylFeet, 100}};
    for (const auto& c : cases) {
        record.YLine = c.line;
        EXPECT_EQ(AnimationAnchorY(record, 100, 32), c.expected) << int(c.line);
    }
}

}  // namespace
}  // namespace quillon::runtime::test
