// The resource selectors' models: rows and the row a selector opens on, names given back, cell
// pickers and their previews, event graphics, the chip picker and the monster hue.
#include "SelTestKit.h"

#include "data/EditorMode.h"
#include "graphics/GR_ChipSet.h"
#include "project/SelBase.h"
#include "project/SelEvChar.h"
#include "project/SelImage.h"
#include "project/SelMusic.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::seltest;

namespace {

using Rows = std::vector<std::string>;

// Index of chipset pixel (x, y) in the painted chipset: one colour per 16 × 16 cell.
int ChipIndex(int x, int y) { return 1 + (x / 16 + (y / 16) * 30) % 254; }

// Index of character-set pixel (x, y): one colour per character, direction and pattern.
int CharIndex(int x, int y) {
    const int character = x / 72 + (y / 128) * 4;
    const int pattern = x % 72 / 24;
    const int direction = y % 128 / 32;
    return 1 + character * 12 + direction * 3 + pattern;
}

class SelectorModel : public SelSandbox {};

TEST_F(SelectorModel, ListsPutOffFirstForMusicAndSoundAndMarkPackageRows) {
    Touch(Project("Music/Town.mid"));
    Touch(Rtp("Music/town.MID"));
    Touch(Rtp("Music/Battle2.mid"));
    Touch(Rtp("Music/Battle10.mp3"));
    Touch(Project("Sound/Cursor.wav"));
    Touch(Project("Sound/Cursor.mid"));  // not a sound extension
    Touch(Rtp("CharSet/Hero.png"));

    TSelListModel music(TSelKind::Music);
    music.Fill();
    EXPECT_EQ(music.Rows(), (Rows{"(OFF)", "Town", "Battle2 <RTP>", "Battle10 <RTP>"}));

    TSelListModel sound(TSelKind::Sound);
    sound.Fill();
    EXPECT_EQ(sound.Rows(), (Rows{"(OFF)", "Cursor"}));

    TSelListModel walk(TSelKind::Char);
    walk.Fill();
    EXPECT_EQ(walk.Rows(), (Rows{"Hero <RTP>"}));

    TSelEvCharModel events("");
    events.Fill();
    EXPECT_EQ(events.Rows(), (Rows{"*ChipSet 1", "*ChipSet 2", "*ChipSet 3", "Hero <RTP>"}));
}

TEST_F(SelectorModel, OpeningSelectsExactNameThenAnyCaseThenPackageRowElseFirst) {
    TSelListModel list(TSelKind::Picture);
    list.SetRows({"hero", "Hero", "Map", "Slime <RTP>", "a", "b", "c", "d", "e", "f", "g", "Last"});

    list.Open("Hero");
    EXPECT_EQ(list.ItemIndex(), 1);
    list.Open("MAP");
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.Name(), "Map");
    // A name only the run-time package holds selects its row; the name comes back unmarked.
    list.Open("Slime");
    EXPECT_EQ(list.ItemIndex(), 3);
    EXPECT_EQ(list.Name(), "Slime");
    list.Open("slime");
    EXPECT_EQ(list.ItemIndex(), 3);
    list.Open("Nowhere");
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(list.TopRow(), 0);
    // The selected row stands six rows below the top.
    list.Open("Last");
    EXPECT_EQ(list.ItemIndex(), 11);
    EXPECT_EQ(list.TopRow(), 5);

    TSelListModel empty(TSelKind::Picture);
    empty.SetRows({});
    empty.Open("Hero");
    EXPECT_EQ(empty.ItemIndex(), -1);
    EXPECT_EQ(empty.Name(), "");
    EXPECT_EQ(empty.FileName(), "");
}

TEST_F(SelectorModel, MissingMusicOpensOnOffWhichResolvesToNoFile) {
    Touch(Rtp("Music/Town.mid"));
    TSelMusicModel music;
    music.Fill();
    TKelMusic current;
    current.Name = "Gone";
    music.Open(current);
    EXPECT_EQ(music.ItemIndex(), 0);
    EXPECT_EQ(music.Name(), "(OFF)");
    EXPECT_TRUE(music.IsOff());
    EXPECT_EQ(music.FileName(), "");

    current.Name = "Town";
    music.Open(current);
    EXPECT_EQ(music.ItemIndex(), 1);
    EXPECT_EQ(music.FileName(), Rtp("Music/Town.mid"));
}

TEST(SelectorGrid, CellsUnderThePointerAndNothingOutside) {
    EXPECT_EQ(kFaceGrid.CellAt(100, 70), 6);
    EXPECT_EQ(kCharGrid.CellAt(100, 70), 6);
    EXPECT_EQ(kChipPageGrid.CellAt(3 * 32 + 5, 32 + 5), 9);
    EXPECT_EQ(kFaceGrid.CellAt(191, 191), 15);
    for (const auto& [x, y] : {std::pair{192, 0}, std::pair{0, 192}, std::pair{-1, 5}, std::pair{5, -1}})
        EXPECT_EQ(kFaceGrid.CellAt(x, y), -1) << x << "," << y;
    EXPECT_EQ(kCharGrid.CellAt(10, 128), -1);
    // A grid with fewer cells in use than it has places gives no index past the last one.
    const TSelGrid partial{4, 4, 48, 48, 14};
    EXPECT_EQ(partial.CellAt(100, 150), -1);
    EXPECT_EQ(partial.CellAt(50, 150), 13);
    EXPECT_EQ(partial.CellRect(14), TRect{});
    EXPECT_EQ(kCharGrid.CellRect(6), MakeBounds(96, 64, 48, 64));
}

TEST_F(SelectorModel, FacePickerFramesTheChosenFaceAndIgnoresClicksOutside) {
    WriteImage(Project("FaceSet/Faces.png"), 192, 192, [](int x, int y) { return 1 + x / 48 + (y / 48) * 4; });
    TSelImageModel faces(TSelKind::Face);
    faces.Fill();
    faces.Open("Faces", 20);  // no such face: the first
    EXPECT_EQ(faces.Index(), 0);
    ASSERT_TRUE(faces.HasImage());
    const TOrlenBoard& board = faces.Preview();
    ASSERT_EQ(board.Width(), 192);
    ASSERT_EQ(board.Height(), 192);
    EXPECT_EQ(board.ScanLine(0)[0], kWhite565);

    EXPECT_TRUE(faces.ClickAt(100, 70));
    EXPECT_EQ(faces.Index(), 6);
    const auto pixel = [&board](int x, int y) { return board.ScanLine(y)[x]; };
    EXPECT_EQ(pixel(96, 48), kWhite565);    // frame of face 6
    EXPECT_EQ(pixel(143, 95), kWhite565);
    EXPECT_EQ(pixel(120, 70), To565(TestColor(7)));  // face 6 inside its frame
    EXPECT_EQ(pixel(0, 0), To565(TestColor(1)));     // face 0 no longer framed

    EXPECT_FALSE(faces.ClickAt(195, 10));
    EXPECT_FALSE(faces.ClickAt(10, -3));
    EXPECT_EQ(faces.Index(), 6);
}

TEST_F(SelectorModel, WalkGraphicShowsEachCharacterFacingDownInTheMiddleAtDoubleSize) {
    WriteImage(Project("CharSet/People.png"), 288, 256, CharIndex);
    TSelImageModel walk(TSelKind::Char);
    walk.Fill();
    walk.Open("People", 3);
    EXPECT_EQ(walk.Index(), 3);
    const TOrlenBoard& board = walk.Preview();
    ASSERT_EQ(board.Width(), 192);
    ASSERT_EQ(board.Height(), 128);
    for (int i = 0; i < 8; ++i) {
        const TRect cell = kCharGrid.CellRect(i);
        // Middle pattern (1), facing down (2): 24 × 32 drawn into 48 × 64.
        EXPECT_EQ(board.ScanLine(cell.Top + 30)[cell.Left + 20], To565(TestColor(1 + i * 12 + 2 * 3 + 1))) << i;
    }
    EXPECT_TRUE(walk.ClickAt(100, 70));
    EXPECT_EQ(walk.Index(), 6);
}

TEST_F(SelectorModel, DamagedOrMissingImagesShowAnEmptyPreviewWithoutRaising) {
    TEditorModeScope strict(false);  // loaders would raise outside the editor
    WriteBytes(Project("Title/Broken.png"), std::string("\x89PNG\r\n\x1a\n garbage", 16));
    Touch(Project("Title/Empty.bmp"));
    WriteImage(Project("Title/Good.png"), 320, 240, [](int, int) { return 5; });
    TSelImageModel title(TSelKind::Title);
    title.Fill();
    ASSERT_EQ(title.Rows(), (Rows{"Broken", "Empty", "Good"}));
    for (const char* name : {"Broken", "Empty"}) {
        EXPECT_NO_THROW(title.Open(name));
        EXPECT_FALSE(title.HasImage()) << name;
        EXPECT_EQ(title.Preview().Width(), 320);
        EXPECT_EQ(title.Preview().ScanLine(100)[100], 0) << name;
    }
    title.Open("Good");
    EXPECT_TRUE(title.HasImage());
    EXPECT_EQ(title.Preview().ScanLine(100)[100], To565(TestColor(5)));
}

TEST_F(SelectorModel, ChipSetAndBattleImagesArePreviewedAtHalfSize) {
    WriteImage(Project("ChipSet/Town.png"), 480, 256, ChipIndex);
    TSelImageModel chipsets(TSelKind::ChipSet);
    chipsets.Fill();
    chipsets.Open("Town");
    const TOrlenBoard& board = chipsets.Preview();
    ASSERT_EQ(board.Width(), 240);
    ASSERT_EQ(board.Height(), 128);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{100, 50}, std::pair{239, 127}})
        EXPECT_EQ(board.ScanLine(y)[x], To565(TestColor(ChipIndex(2 * x, 2 * y)))) << x << "," << y;
    EXPECT_EQ(chipsets.Grid(), nullptr);
    EXPECT_FALSE(chipsets.ClickAt(10, 10));
}

TEST_F(SelectorModel, MonsterHueOpensOnItsSliderPositionAndAnotherImageResetsIt) {
    WriteImage(Project("Monster/Slime.png"), 40, 20, [](int x, int) { return x < 20 ? 0 : 1; });
    Touch(Project("Monster/Bat.png"));
    TSelMonsterModel monster;
    monster.Fill();
    monster.Open("Slime", 90);
    EXPECT_EQ(monster.SliderPosition(), 27);
    EXPECT_EQ(monster.Hue(), 90);
    monster.SetSliderPosition(0);
    EXPECT_EQ(monster.Hue(), 180);
    monster.SetSliderPosition(18);
    EXPECT_EQ(monster.Hue(), 0);
    monster.SetSliderPosition(99);
    EXPECT_EQ(monster.SliderPosition(), 36);
    EXPECT_EQ(monster.Hue(), 180);

    // Hues outside 0..359 are taken round the circle.
    monster.Open("Slime", -90);
    EXPECT_EQ(monster.Hue(), 270);
    EXPECT_EQ(monster.SliderPosition(), 9);
    monster.Open("Slime", 725);
    EXPECT_EQ(monster.Hue(), 5);
    EXPECT_EQ(monster.SliderPosition(), 18);

    // The preview: palette colour 0 all round, the image centred, entry 1 rotated by the hue.
    monster.Open("Slime", 0);
    const TOrlenBoard& board = monster.Preview();
    ASSERT_EQ(board.Width(), 320);
    const std::uint16_t background = To565(TestColor(0));
    EXPECT_EQ(board.ScanLine(0)[0], background);
    EXPECT_EQ(board.ScanLine(120)[150], background);  // the image's own colour 0 half
    const std::uint16_t unshifted = board.ScanLine(120)[170];
    EXPECT_EQ(unshifted, To565(TestColor(1)));
    monster.SetSliderPosition(30);  // hue 120
    EXPECT_EQ(monster.Hue(), 120);
    EXPECT_NE(board.ScanLine(120)[170], unshifted);
    EXPECT_EQ(board.ScanLine(0)[0], background);  // entry 0 never rotates
    monster.SetSliderPosition(18);
    EXPECT_EQ(board.ScanLine(120)[170], unshifted);  // back from the original palette, not drifting

    monster.SetSliderPosition(30);
    monster.SelectRow(0);  // "Bat": another image
    EXPECT_EQ(monster.Hue(), 0);
    EXPECT_EQ(monster.SliderPosition(), 18);
}

TEST_F(SelectorModel, EventGraphicOnAChipSetPageGivesTileIndexAndEmptyName) {
    WriteImage(Project("ChipSet/Town.png"), 480, 256, ChipIndex);
    WriteImage(Project("CharSet/Hero.png"), 288, 256, CharIndex);
    TSelEvCharModel events("Town");
    events.Fill();
    events.Open("Hero", 2, 2, 1);
    EXPECT_EQ(events.ItemIndex(), 3);
    EXPECT_EQ(events.GraphicName(), "Hero");

    events.SelectRow(1);  // "*ChipSet 2"
    EXPECT_TRUE(events.ClickAt(3 * 32 + 10, 32 + 10));
    EXPECT_EQ(events.Index(), 57);
    EXPECT_EQ(events.GraphicName(), "");
    // Another page keeps the position within the page.
    events.SelectRow(2);
    EXPECT_EQ(events.Index(), 2 * 48 + 9);
    // The page shows the chipset's upper tiles at 32 × 32.
    const TOrlenBoard& board = events.Preview();
    ASSERT_EQ(board.Width(), 192);
    ASSERT_EQ(board.Height(), 256);
    for (int cell : {0, 9, 47}) {
        const TChipQuarter q = UpperTileOrigin(2 * 48 + cell);
        const TRect r = kChipPageGrid.CellRect(cell);
        EXPECT_EQ(board.ScanLine(r.Top + 16)[r.Left + 16], To565(TestColor(ChipIndex(q.X * 8, q.Y * 8)))) << cell;
    }
    EXPECT_FALSE(events.ClickAt(100, 256));
    EXPECT_EQ(events.Index(), 2 * 48 + 9);

    // An empty name opens on page index div 48 with the cell index mod 48.
    events.Open("", 57, 0, 0);
    EXPECT_EQ(events.ItemIndex(), 1);
    EXPECT_EQ(events.Index(), 57);
    events.Open("", 500, 0, 0);
    EXPECT_EQ(events.ItemIndex(), 2);
    EXPECT_EQ(events.Index(), 2 * 48 + 500 % 48);
}

TEST_F(SelectorModel, EventGraphicCharactersUseDirectionAndPattern) {
    WriteImage(Project("CharSet/Hero.png"), 288, 256, CharIndex);
    TSelEvCharModel events("NoSuchChipSet");
    events.Fill();
    events.Open("Hero", 5, 9, -4);  // out-of-range direction and pattern are clamped
    EXPECT_EQ(events.Direction(), 3);
    EXPECT_EQ(events.Pattern(), 0);
    EXPECT_EQ(events.Index(), 5);
    events.SetDirection(0);
    events.SetPattern(2);
    const TOrlenBoard& board = events.Preview();
    ASSERT_EQ(board.Height(), 128);
    for (int i = 0; i < 8; ++i) {
        const TRect cell = kCharGrid.CellRect(i);
        EXPECT_EQ(board.ScanLine(cell.Top + 30)[cell.Left + 20], To565(TestColor(1 + i * 12 + 0 * 3 + 2))) << i;
    }
    EXPECT_FALSE(events.ClickAt(10, 130));  // below the two rows of characters
    EXPECT_TRUE(events.ClickAt(150, 10));
    EXPECT_EQ(events.Index(), 3);
    // A chipset page of a missing chipset draws no tiles and raises nothing.
    EXPECT_NO_THROW(events.SelectRow(0));
    EXPECT_EQ(events.Index(), 0);
}

TEST_F(SelectorModel, ChipPickerMapsCellsToTileIdsAndIgnoresClicksPastTheLastTile) {
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 0), 49);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 2), 2049);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 3), 3000);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 5), 3100);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 6), 4049);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 17), 4599);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 18), 5000);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(0, 161), 5143);
    EXPECT_EQ(TSelReplChipModel::TileIdOf(1, 143), 10143);

    WriteImage(Project("ChipSet/Town.png"), 480, 256, ChipIndex);
    TSelReplChipModel lower("Town", 0);
    EXPECT_EQ(lower.Grid().Count, 162);
    EXPECT_EQ(lower.Preview().Height(), 27 * 32);
    lower.Open(400);
    EXPECT_EQ(lower.Index(), 0);
    EXPECT_TRUE(lower.ClickAt(5, 26 * 32 + 5));
    EXPECT_EQ(lower.Index(), 156);
    EXPECT_FALSE(lower.ClickAt(5, 27 * 32));
    EXPECT_FALSE(lower.ClickAt(192, 5));
    EXPECT_EQ(lower.Index(), 156);
    // Plain lower tile 0 (cell 18) is drawn from its place in the chipset.
    const TChipQuarter q = LowerTileOrigin(0);
    const TRect r = lower.Grid().CellRect(18);
    EXPECT_EQ(lower.Preview().ScanLine(r.Top + 16)[r.Left + 16], To565(TestColor(ChipIndex(q.X * 8, q.Y * 8))));

    TSelReplChipModel upper("Town", 1);
    EXPECT_EQ(upper.Grid().Count, 144);
    upper.Open(143);
    EXPECT_EQ(upper.Index(), 143);
    EXPECT_FALSE(upper.ClickAt(5, 24 * 32 + 1));
    EXPECT_EQ(upper.Index(), 143);
}

TEST(SelectorSliders, PositionsAndValues) {
    EXPECT_EQ(PositionOfFadeIn(5000), 5);
    EXPECT_EQ(PositionOfFadeIn(20000), 10);
    EXPECT_EQ(PositionOfVolume(55), 6);
    EXPECT_EQ(PositionOfVolume(-20), 0);
    EXPECT_EQ(PositionOfTempo(50), 0);
    EXPECT_EQ(PositionOfTempo(150), 10);
    EXPECT_EQ(PositionOfTempo(100), 5);
    EXPECT_EQ(PositionOfBalance(50), 5);
    EXPECT_EQ(TempoOfPosition(PositionOfTempo(120)), 120);
}

TEST_F(SelectorModel, MusicSettingsOffTheGridAreKeptUntilTheSliderMoves) {
    Touch(Project("Music/Town.mid"));
    TSelMusicModel music;
    music.Fill();
    TKelMusic current;
    current.Name = "Town";
    current.Volume = 55;
    current.Tempo = 103;
    current.FadeIn = 2500;
    music.Open(current);
    TKelMusic back;
    music.GetMusic(back);
    EXPECT_EQ(back.Name, "Town");
    EXPECT_EQ(back.Volume, 55);
    EXPECT_EQ(back.Tempo, 103);
    EXPECT_EQ(back.FadeIn, 2500);
    music.SetVolumePosition(3);
    music.SetTempoPosition(10);
    music.SetFadeInPosition(11);
    music.SetBalancePosition(0);
    music.GetMusic(back);
    EXPECT_EQ(back.Volume, 30);
    EXPECT_EQ(back.Tempo, 150);
    EXPECT_EQ(back.FadeIn, 10000);
    EXPECT_EQ(back.Balance, 0);
    // Every slider updates the program-wide settings; a plain Stop resets them.
    EXPECT_EQ(CurrentMusicSettings().Volume, 30);
    EXPECT_EQ(CurrentMusicSettings().Balance, 0);
    music.Stop(false);
    EXPECT_EQ(CurrentMusicSettings().Name, "(OFF)");
    EXPECT_EQ(CurrentMusicSettings().Volume, 100);
    EXPECT_EQ(CurrentMusicSettings().Tempo, 100);
    EXPECT_EQ(CurrentMusicSettings().Balance, 50);
    EXPECT_EQ(CurrentMusicSettings().FadeIn, 0);

    TSelSoundModel sound;
    sound.Fill();
    TKelSound effect;
    effect.Name = "Nothing";
    effect.Volume = 42;
    sound.Open(effect);
    TKelSound got;
    sound.GetSound(got);
    EXPECT_EQ(got.Name, "(OFF)");
    EXPECT_EQ(got.Volume, 42);
}

}  // namespace
