// Pictures, weather and the screen's tone: their models, and golden frames of their effects.
#include "runtime/GamePictures.h"
#include "runtime/GameScreen.h"
#include "runtime/GameWeather.h"

#include "runtime/ScreenFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon::runtime::test {
namespace {

class GamePicturesTest : public ::testing::Test {
protected:
    GamePicturesTest() : pictures(folder.Finder(), [this](const std::string& m) { reports.push_back(m); }) {}

    TPictureValues At(double x, double y, double magnification = 100) {
        TPictureValues v;
        v.X = x;
        v.Y = y;
        v.Magnification = magnification;
        return v;
    }

    TScreenFolder folder;
    std::vector<std::string> reports;
    TGamePictures pictures;
    TOrlenBoard board;
};

TEST_F(GamePicturesTest, NumbersOutsideTheFiftyAreIgnoredAndValuesClamped) {
    TPictureValues wild = At(5000, -5000, 99999);
    wild.Transparency = 150;
    wild.Red = -3;
    for (const int number : {0, 51, -1})
        pictures.Show(number, "Ball", wild, false, false, 0, 0, 0, 0);
    pictures.Show(50, "Ball", wild, false, false, 7, 44, 0, 0);
    EXPECT_EQ(pictures.Picture(0), nullptr);
    EXPECT_EQ(pictures.Picture(51), nullptr);
    const TGamePicture* p = pictures.Picture(50);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Now.X, 960);
    EXPECT_EQ(p->Now.Y, -480);
    EXPECT_EQ(p->Now.Magnification, 2000);
    EXPECT_EQ(p->Now.Transparency, 100);
    EXPECT_EQ(p->Now.Red, 0);
    EXPECT_EQ(p->Effect, peNone);  // an unknown effect is none
    EXPECT_EQ(p->Strength, 9);
    EXPECT_TRUE(reports.empty());
}

TEST_F(GamePicturesTest, MoveLandsOnTheTargetAtItsLastFrame) {
    pictures.Show(3, "Ball", At(0, 0), false, false, 0, 0, 0, 0);
    pictures.Move(3, At(90, 30, 200), 0, 0, 3);
    pictures.Move(4, At(1, 1), 0, 0, 3);  // not shown: nothing
    std::vector<double> xs;
    for (int i = 0; i < 4; ++i) {
        pictures.Update();
        xs.push_back(pictures.Picture(3)->Now.X);
    }
    EXPECT_EQ(xs, (std::vector<double>{30, 60, 90, 90}));
    EXPECT_EQ(pictures.Picture(3)->Now.Magnification, 200);
    EXPECT_EQ(pictures.Picture(4), nullptr);
    pictures.Move(3, At(10, 10), 0, 0, 0);  // no time: at once
    EXPECT_EQ(pictures.Picture(3)->Now.X, 10);
    pictures.Erase(3);
    EXPECT_EQ(pictures.Picture(3), nullptr);
}

TEST_F(GamePicturesTest, MissingOrBrokenFilesShowACheckerboardWithOneReport) {
    WriteFile(folder.Root() / "Picture" / "Broken.png", "\x89PNG\r\n\x1a\n broken");
    for (const char* name : {"Absent", "Broken"}) {
        reports.clear();
        pictures.Show(1, name, At(160, 120), false, false, 0, 0, 0, 0);
        ASSERT_EQ(reports.size(), 1u) << name;
        EXPECT_NE(reports[0].find(name), std::string::npos);
        board.SetSize(320, 240);
        pictures.Draw(board, 0, 0);
        // 32 x 32 squares of four pixels, magenta and black, centred on (160, 120).
        EXPECT_EQ(Pixel(board, 144, 104), 0x0000) << name;
        EXPECT_EQ(Pixel(board, 148, 104), 0xF81F) << name;
    }
}

TEST_F(GamePicturesTest, PicturesThatMoveWithTheMapFollowTheCamera) {
    pictures.Show(1, "Ball", At(100, 100), true, false, 0, 0, 40, 40);
    pictures.Show(2, "Ball", At(100, 200), false, false, 0, 0, 40, 40);
    board.SetSize(320, 240);
    pictures.Draw(board, 50, 40);  // the camera moved 10 pixels right
    // Picture 1's right edge moved from 124 to 114; picture 2 stays.
    EXPECT_NE(Pixel(board, 113, 100), 0);
    EXPECT_EQ(Pixel(board, 115, 100), 0);
    EXPECT_NE(Pixel(board, 123, 200), 0);
}

TEST_F(GamePicturesTest, GoldenFramesOfThePictureEffects) {
    const auto values = [this](double x, double y, double magnification, double transparency, int red, int chroma) {
        TPictureValues v = At(x, y, magnification);
        v.Transparency = transparency;
        v.Red = red;
        v.Chroma = chroma;
        return v;
    };
    pictures.Show(1, "Ball", values(60, 60, 100, 0, 100, 100), false, true, peRotation, 5, 0, 0);
    pictures.Show(2, "Ball", values(170, 60, 200, 0, 100, 100), false, false, peRipple, 6, 0, 0);
    pictures.Show(3, "Ball", values(60, 170, 150, 50, 100, 100), false, true, peNone, 0, 0, 0);
    pictures.Show(4, "Ball", values(170, 170, 100, 0, 200, 0), false, false, peNone, 0, 0, 0);
    pictures.Show(5, "Ball", values(270, 120, 300, 0, 100, 100), false, true, peRotation, 9, 0, 0);
    for (int i = 0; i < 10; ++i)
        pictures.Update();
    DrawBackdrop(board);
    pictures.Draw(board, 0, 0);
    ExpectGolden(board, "pictures-effects.png");
}

TEST(GameWeather, DropsByKindAndStrengthAndGoldenFrames) {
    const struct {
        int kind;
        int strength;
        int drops;
        const char* golden;
    } cases[] = {
        {wkNone, 2, 0, nullptr},     {wkRain, 0, 40, nullptr},   {wkRain, 2, 160, "weather-rain-high.png"},
        {wkSnow, 1, 60, nullptr},    {wkSnow, 2, 120, "weather-snow-high.png"}, {7, 1, 0, nullptr},
        {wkRain, 9, 160, nullptr},
    };
    for (const auto& c : cases) {
        TGameWeather weather;
        TGameRandom random(5);
        weather.Set(c.kind, c.strength);
        for (int i = 0; i < 30; ++i)
            weather.Update(random);
        EXPECT_EQ(weather.DropCount(), c.drops) << c.kind << " " << c.strength;
        if (c.golden) {
            TOrlenBoard board;
            DrawBackdrop(board);
            weather.Draw(board);
            ExpectGolden(board, c.golden);
        }
    }
}

TEST(ScreenTone, TableOfTones) {
    std::vector<std::uint16_t> table;
    const struct {
        TScreenTone tone;
        std::uint16_t in;
        std::uint16_t out;
    } cases[] = {
        {{100, 100, 100, 100}, 0x1234, 0x1234},  // neutral
        {{0, 100, 100, 100}, 0xFFFF, 0x07FF},    // no red
        {{200, 100, 100, 100}, 0x0000, 0xF800},  // full red
        {{100, 100, 100, 0}, 0xF800, 0x4A69},    // gray: red's luminance in every channel
        {{50, 50, 50, 100}, 0xFFFF, 0x7BEF},     // half as bright
    };
    for (const auto& c : cases) {
        BuildToneTable(c.tone, table);
        EXPECT_EQ(table[c.in], c.out) << std::hex << c.in;
    }
}

}  // namespace
}  // namespace quillon::runtime::test
