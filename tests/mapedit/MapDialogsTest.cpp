// The map property, encounter, area, Set Area, shift and vehicle dialogs' models.
#include "mapedit/MapArea.h"
#include "mapedit/MapEncounters.h"
#include "mapedit/MapProperties.h"
#include "mapedit/MapShift.h"

#include "data/Catalog.h"
#include "data/LD_ChipSet.h"
#include "data/LD_Map.h"
#include "data/LD_MonGroup.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <random>

namespace quillon {
namespace {

// --- map properties ---

TEST(MapPropertiesTest, NewTopLevelMapTurnsParentChoicesIntoTheirNextAndDisablesThem) {
    TKelMapTreeItem item;
    item.ID = 7;
    item.Name = "MAP0007";
    TKelMap map;
    map.ChipSetId = 9;  // the list holds 1 and 2 only
    TKelChipSet chipSets;
    chipSets.Obtain(1);
    chipSets.Obtain(2);
    TMapPropertiesModel model;
    model.Open(true, true, item, map, &chipSets);
    EXPECT_EQ(model.ChipSetId, 1);
    EXPECT_EQ(model.MusicType, TKelMapTreeItem::mtNoChange);
    EXPECT_EQ(model.BackdropType, TKelMapTreeItem::btByTerrain);
    EXPECT_EQ(model.TeleportPermission, TKelMapTreeItem::ppEnable);
    EXPECT_EQ(model.EscapePermission, TKelMapTreeItem::ppEnable);
    EXPECT_EQ(model.SavePermission, TKelMapTreeItem::ppEnable);
    EXPECT_FALSE(model.Enabling().ParentChoices);
    EXPECT_FALSE(model.SetMusicType(0));  // "Parent Map" cannot be chosen
    EXPECT_EQ(model.MusicType, TKelMapTreeItem::mtNoChange);
    EXPECT_EQ(model.Title(), "The preparation of the map - ID:0007");

    // Under a map the parent choices stay and a known chipset stays.
    TMapPropertiesModel child;
    map.ChipSetId = 2;
    child.Open(false, false, item, map, &chipSets);
    EXPECT_EQ(child.ChipSetId, 2);
    EXPECT_EQ(child.MusicType, TKelMapTreeItem::mtParent);
    EXPECT_TRUE(child.Enabling().ParentChoices);
    EXPECT_TRUE(child.SetSavePermission(0));
    EXPECT_EQ(child.Title(), "The setup of the map - ID:0007");
}

TEST(MapPropertiesTest, EnablingFollowsPanoramaPansAutoScrollAndSetTo) {
    TMapPropertiesModel model;
    model.HorizontalPan = model.VerticalPan = true;
    model.HorizontalAuto = true;
    model.HorizontalSpeed = -5;
    TMapPropertiesEnabling e = model.Enabling();
    EXPECT_FALSE(e.PanoramaGroup);
    EXPECT_FALSE(e.HorizontalAuto);
    EXPECT_FALSE(e.HorizontalSpeed);

    model.PanoramaEnabled = true;
    e = model.Enabling();
    EXPECT_TRUE(e.PanoramaGroup);
    EXPECT_TRUE(e.HorizontalAuto);
    EXPECT_TRUE(e.HorizontalSpeed);
    EXPECT_TRUE(e.VerticalAuto);
    EXPECT_FALSE(e.VerticalSpeed);  // its auto scroll is off

    // Unchecking and checking the auto scroll shows the stored speed again.
    model.HorizontalAuto = false;
    EXPECT_FALSE(model.Enabling().HorizontalSpeed);
    model.HorizontalAuto = true;
    EXPECT_EQ(model.HorizontalSpeed, -5);

    model.HorizontalPan = false;
    EXPECT_FALSE(model.Enabling().HorizontalAuto);
    EXPECT_FALSE(model.Enabling().HorizontalSpeed);

    model.Music.Name = "Town";
    model.BackdropName = "Grass";
    model.MusicType = TKelMapTreeItem::mtNoChange;
    model.BackdropType = TKelMapTreeItem::btByTerrain;
    EXPECT_FALSE(model.Enabling().MusicBox);
    EXPECT_EQ(model.MusicText(), "");
    EXPECT_EQ(model.BackdropText(), "");
    model.MusicType = TKelMapTreeItem::mtSetTo;
    model.BackdropType = TKelMapTreeItem::btSetTo;
    EXPECT_TRUE(model.Enabling().MusicBox);
    EXPECT_TRUE(model.Enabling().BackdropBox);
    EXPECT_EQ(model.MusicText(), "Town");
    EXPECT_EQ(model.BackdropText(), "Grass");
}

TEST(MapPropertiesTest, WriteToMapResizesLoopsAndClearsTheNameOfAnUnusedPanorama) {
    TKelMap map;
    map.LowerLayer.SetCell(19, 14, 5003);
    map.PanoramaEnabled = 1;
    map.PanoramaName = "Sky";
    map.PanoramaHorizontalSpeed = 3;
    TMapPropertiesModel model;
    model.ReadFromMap(map);
    EXPECT_TRUE(model.PanoramaEnabled);
    EXPECT_EQ(model.PanoramaName, "Sky");
    EXPECT_EQ(model.HorizontalSpeed, 3);

    model.PanoramaEnabled = false;
    model.SetWidth(25);
    model.SetHeight(1000);  // beyond the range: 999
    model.SetScrollType(TKelMap::stHorizontalLoop);
    map.Modified = false;
    model.WriteToMap(map);
    EXPECT_EQ(map.PanoramaName, "");
    EXPECT_EQ(map.PanoramaEnabled, 0);
    EXPECT_EQ(map.Width(), 25);
    EXPECT_EQ(map.Height(), 999);
    EXPECT_EQ(map.LowerLayer.Cell(19, 14), 5003);
    EXPECT_EQ(map.UpperLayer.Cell(24, 998), 10000);
    EXPECT_TRUE(map.LowerLayer.LoopHorizontal);
    EXPECT_FALSE(map.LowerLayer.LoopVertical);
    EXPECT_TRUE(map.Modified);

    // With the panorama on, its name stays.
    model.PanoramaEnabled = true;
    model.PanoramaName = "Clouds";
    model.WriteToMap(map);
    EXPECT_EQ(map.PanoramaName, "Clouds");
}

TEST(MapPropertiesTest, ItemFieldsRoundTripAndNamesAreCutOnCharacterBoundaries) {
    TKelMapTreeItem item;
    item.ID = 3;
    item.Name = "Town";
    item.MusicType = TKelMapTreeItem::mtSetTo;
    item.Music.Name = "Theme";
    item.Music.Volume = 55;
    item.BackdropType = TKelMapTreeItem::btSetTo;
    item.BackdropName = "Field";
    item.EscapePermission = TKelMapTreeItem::ppDisable;
    item.Encounters.Append().MonsterGroupId = 4;
    item.EncounterSteps = 40;
    TMapPropertiesModel model;
    model.ReadFromItem(item);
    TKelMapTreeItem out;
    model.WriteToItem(out);
    EXPECT_EQ(out.Name, "Town");
    EXPECT_EQ(out.Music.Name, "Theme");
    EXPECT_EQ(out.Music.Volume, 55);
    EXPECT_EQ(out.BackdropName, "Field");
    EXPECT_EQ(out.EscapePermission, TKelMapTreeItem::ppDisable);
    ASSERT_EQ(out.Encounters.Count(), 1);
    EXPECT_EQ(out.Encounters.Items(0)->MonsterGroupId, 4);
    EXPECT_EQ(out.EncounterSteps, 40);

    // 23 ASCII bytes and a double-byte character: 25 bytes, the last character does not fit.
    const std::string kanji = "\x93\xFA";
    model.SetName(std::string(23, 'a') + kanji);
    EXPECT_EQ(model.Name, std::string(23, 'a'));
    model.SetName(std::string(22, 'a') + kanji + "b");
    EXPECT_EQ(model.Name, std::string(22, 'a') + kanji);
}

TEST(MapPropertiesTest, SelectorsRunOnlyWhileTheirControlIsEnabledAndKeepCancelledValues) {
    TMapPropertiesModel model;
    int calls = 0;
    model.Selectors.SelectPanorama = [&](std::string& name) {
        ++calls;
        name = "Sky";
        return true;
    };
    model.Selectors.SelectMusic = [&](TKelMusic& music) {
        ++calls;
        music.Name = "Battle";
        return false;  // cancelled
    };
    EXPECT_FALSE(model.ChoosePanorama());  // panorama off
    EXPECT_EQ(calls, 0);
    model.PanoramaEnabled = true;
    EXPECT_TRUE(model.ChoosePanorama());
    EXPECT_EQ(model.PanoramaName, "Sky");
    EXPECT_TRUE(model.PreviewShown());
    model.MusicType = TKelMapTreeItem::mtSetTo;
    model.Music.Name = "Town";
    EXPECT_FALSE(model.ChooseMusic());
    EXPECT_EQ(model.Music.Name, "Town");
    EXPECT_FALSE(model.ChooseBackdrop());  // no selector, and not "Set To"
}

TEST(MapPropertiesTest, SettingsByKeyKeepToTheControlsRanges) {
    TMapPropertiesModel model;
    model.TopLevel = true;
    std::string error;
    EXPECT_TRUE(model.SetByKey("width", "999", error));
    EXPECT_EQ(model.Width, 999);
    EXPECT_FALSE(model.SetByKey("width", "19", error));
    EXPECT_FALSE(model.SetByKey("height", "1000", error));
    EXPECT_FALSE(model.SetByKey("height", "20x", error));
    EXPECT_TRUE(model.SetByKey("hspeed", "-8", error));
    EXPECT_FALSE(model.SetByKey("vspeed", "9", error));
    EXPECT_FALSE(model.SetByKey("music-type", "0", error));  // top level
    EXPECT_NE(error.find("top-level"), std::string::npos);
    EXPECT_TRUE(model.SetByKey("music-type", "2", error));
    EXPECT_TRUE(model.SetByKey("panorama", "on", error));
    EXPECT_TRUE(model.PanoramaEnabled);
    EXPECT_FALSE(model.SetByKey("panorama", "maybe", error));
    EXPECT_FALSE(model.SetByKey("name", std::string(25, 'x'), error));
    EXPECT_FALSE(model.SetByKey("colour", "1", error));
    EXPECT_EQ(model.Width, 999);
    EXPECT_EQ(model.Height, 15);
}

// --- encounters ---

class EncounterTest : public ::testing::Test {
protected:
    void SetUp() override { mPrevious = SetClipboard(&mClipboard); }
    void TearDown() override { SetClipboard(mPrevious); }
    TMemoryClipboard mClipboard;
    IClipboard* mPrevious = nullptr;
    TKelEncount mList;
    TKelMonGroup mTroops;
};

TEST_F(EncounterTest, RowsNameTheirTroopsAndEndInTheNewRow) {
    mTroops.Obtain(1).Name = "Slimes";
    mTroops.Obtain(2).Name = "Bats";
    mList.Append().MonsterGroupId = 2;
    mList.Append().MonsterGroupId = 7;  // no such troop
    TEncounterListModel model(mList, &mTroops);
    ASSERT_EQ(model.RowCount(), 3);
    EXPECT_EQ(model.RowText(0), "Bats");
    EXPECT_EQ(model.RowText(1), "");
    EXPECT_TRUE(model.IsNewRow(2));
    model.Select(2);
    EXPECT_TRUE(model.IsEnabled(TEncounterCommand::Edit));
    EXPECT_FALSE(model.IsEnabled(TEncounterCommand::Copy));
    EXPECT_FALSE(model.IsEnabled(TEncounterCommand::Delete));
    EXPECT_FALSE(model.IsEnabled(TEncounterCommand::Paste));  // nothing on the clipboard
}

TEST_F(EncounterTest, EditAppendsOnTheNewRowChangesOtherwiseAndStopsAt500) {
    TEncounterListModel model(mList, &mTroops);
    model.Select(0);
    ASSERT_TRUE(model.Edit(3));
    ASSERT_EQ(mList.Count(), 1);
    EXPECT_EQ(mList.Items(0)->MonsterGroupId, 3);
    EXPECT_EQ(model.Selected(), 0);
    EXPECT_EQ(model.ScrollTarget(), 1);
    ASSERT_TRUE(model.Edit(5));  // row 0 is an encounter now
    EXPECT_EQ(mList.Count(), 1);
    EXPECT_EQ(mList.Items(0)->MonsterGroupId, 5);

    while (mList.Count() < kMaxEncounters)
        mList.Append();
    model.Select(kMaxEncounters);  // the new row
    EXPECT_FALSE(model.IsEnabled(TEncounterCommand::Edit));
    EXPECT_FALSE(model.Edit(2));
    EXPECT_EQ(mList.Count(), kMaxEncounters);
    model.Select(10);
    EXPECT_TRUE(model.Edit(2));  // changing one still works
    EXPECT_EQ(mList.Items(10)->MonsterGroupId, 2);
}

TEST_F(EncounterTest, CopyPasteInsertsBeforeTheSelectionAndRenumbers) {
    for (int troop : {11, 12, 13})
        mList.Append().MonsterGroupId = troop;
    TEncounterListModel model(mList, &mTroops);
    model.Select(2);
    ASSERT_TRUE(model.Copy());
    ASSERT_TRUE(mClipboard.HasFormat(kEncounterClipboardFormat));
    model.Select(0);
    ASSERT_TRUE(model.Paste());
    ASSERT_EQ(mList.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(mList.Items(i)->ID, i + 1);
    EXPECT_EQ(mList.Items(0)->MonsterGroupId, 13);
    EXPECT_EQ(mList.Items(1)->MonsterGroupId, 11);
    // On the new row the paste goes to the end.
    model.Select(4);
    ASSERT_TRUE(model.Paste());
    EXPECT_EQ(mList.Items(4)->MonsterGroupId, 13);
    EXPECT_EQ(mList.Items(4)->ID, 5);

    // Cut = copy + delete; the following ones are renumbered.
    model.Select(1);
    ASSERT_TRUE(model.Cut());
    ASSERT_EQ(mList.Count(), 4);
    EXPECT_EQ(mList.Items(1)->MonsterGroupId, 12);
    EXPECT_EQ(mList.Items(1)->ID, 2);
    model.Select(3);
    ASSERT_TRUE(model.Paste());
    EXPECT_EQ(mList.Items(3)->MonsterGroupId, 11);
}

TEST_F(EncounterTest, The501stEncounterCannotBePasted) {
    mList.Append().MonsterGroupId = 9;
    TEncounterListModel model(mList, &mTroops);
    model.Select(0);
    ASSERT_TRUE(model.Copy());
    while (mList.Count() < kMaxEncounters)
        mList.Append();
    model.Select(0);
    EXPECT_FALSE(model.IsEnabled(TEncounterCommand::Paste));
    EXPECT_FALSE(model.Paste());
    EXPECT_EQ(mList.Count(), kMaxEncounters);
}

TEST_F(EncounterTest, ABlockThatIsNotWholeChangesNothing) {
    mList.Append().MonsterGroupId = 4;
    TEncounterListModel model(mList, &mTroops);
    model.Select(0);
    ASSERT_TRUE(model.Copy());
    const std::string good = *mClipboard.GetData(kEncounterClipboardFormat);
    TKelEncountItem item;
    ASSERT_TRUE(ReadEncounterBlock(good, item));
    EXPECT_EQ(item.MonsterGroupId, 4);

    std::string noCount = good;
    noCount[4] = noCount[5] = noCount[6] = noCount[7] = 0;  // count 0
    std::string cut = good.substr(0, good.size() - 1);     // the record's last byte missing
    std::string truncatedRecord = good;
    truncatedRecord.resize(good.size() - 1);
    truncatedRecord[0] = static_cast<char>(truncatedRecord.size() - 8);  // size says what is there
    const std::string bad[] = {std::string(), std::string(5, '\0'), noCount, cut, truncatedRecord};
    for (const std::string& block : bad) {
        mClipboard.SetData(kEncounterClipboardFormat, block);
        for (int row : {0, 1}) {
            model.Select(row);
            EXPECT_FALSE(model.Paste());
            ASSERT_EQ(mList.Count(), 1);
            EXPECT_EQ(mList.Items(0)->MonsterGroupId, 4);
        }
    }
}

TEST_F(EncounterTest, RandomlyDamagedBlocksPasteOneWholeEncounterOrNothing) {
    mList.Append().MonsterGroupId = 6;
    TEncounterListModel model(mList, &mTroops);
    model.Select(0);
    ASSERT_TRUE(model.Copy());
    const std::string good = *mClipboard.GetData(kEncounterClipboardFormat);
    std::mt19937 random(569);
    for (int round = 0; round < 2000; ++round) {
        std::string block = good;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            switch (random() % 3) {
            case 0: block[random() % block.size()] = static_cast<char>(random()); break;
            case 1: block.resize(random() % (block.size() + 1)); break;
            default: block.push_back(static_cast<char>(random())); break;
            }
            if (block.empty())
                break;
        }
        mClipboard.SetData(kEncounterClipboardFormat, block);
        const int before = mList.Count();
        TKelEncountItem expected;
        const bool whole = ReadEncounterBlock(block, expected);
        model.Select(static_cast<int>(random() % static_cast<unsigned>(model.RowCount())));
        const int row = model.IsNewRow(model.Selected()) ? before : model.Selected();
        const bool pasted = model.Paste();
        ASSERT_EQ(pasted, whole && before < kMaxEncounters);
        ASSERT_EQ(mList.Count(), before + (pasted ? 1 : 0));
        if (pasted) {
            ASSERT_EQ(mList.Items(row)->MonsterGroupId, expected.MonsterGroupId);
        }
        for (int i = 0; i < mList.Count(); ++i)
            ASSERT_EQ(mList.Items(i)->ID, i + 1);
    }
}

TEST_F(EncounterTest, DialogStartsWithTheLastTroopAndShowsUnknownIdsAsTheFirst) {
    for (int id = 1; id <= 3; ++id)
        mTroops.Obtain(id).Name = "T" + std::to_string(id);
    TEncounterDialogModel::SetLastTroopId(1);
    TEncounterDialogModel first(&mTroops, 0);
    EXPECT_EQ(first.Index(), 0);
    first.SetIndex(2);
    first.Confirm();
    EXPECT_EQ(TEncounterDialogModel::LastTroopId(), 3);
    TEncounterDialogModel next(&mTroops, 0);
    EXPECT_EQ(next.TroopId(), 3);
    TEncounterDialogModel existing(&mTroops, 2);
    EXPECT_EQ(existing.TroopId(), 2);
    TEncounterDialogModel beyond(&mTroops, 40);
    EXPECT_EQ(beyond.TroopId(), 1);
    EXPECT_EQ(beyond.Names(), (std::vector<std::string>{"T1", "T2", "T3"}));
    TEncounterDialogModel::SetLastTroopId(1);
}

// --- areas ---

TEST(AreaTest, DialogTitleAndAreaBoxText) {
    TAreaPropertiesModel model;
    model.AreaId = 12;
    EXPECT_EQ(model.Title(), "The preparation of the area - ID:0012");
    model.NewMode = false;
    EXPECT_EQ(model.Title(), "The setup of the area - ID:0012");
    EXPECT_EQ(model.AreaText(), "");
    model.Rect = {2, 3, 5, 7};
    EXPECT_EQ(model.AreaText(), "(002,003) - (004,006)");
    model.Rect = {4, 3, 4, 7};  // no width
    EXPECT_EQ(model.AreaText(), "");
}

TEST(AreaTest, DraggingFromGridPointToGridPointGivesANormalisedClampedRectangle) {
    TAreaMakerModel maker;
    maker.SetMapSize(20, 15);
    int changes = 0;
    const TConnection heard = maker.OnChanged.Connect([&] { ++changes; });
    maker.Press(TAreaMakerModel::TButton::Left, 2, 3);
    EXPECT_TRUE(maker.Dragging());
    maker.Move(5, 7);
    EXPECT_EQ(maker.Rect(), (TKelAreaRect{2, 3, 5, 7}));
    EXPECT_EQ(AreaRectText(maker.Rect()), "(002,003) - (004,006)");
    maker.Move(-4, 30);  // clamped into 0..size, normalised
    EXPECT_EQ(maker.Rect(), (TKelAreaRect{0, 3, 2, 15}));
    maker.Move(2, 9);  // no width: empty
    EXPECT_TRUE(IsEmptyArea(maker.Rect()));
    maker.Move(5, 7);
    maker.Press(TAreaMakerModel::TButton::Middle, 0, 0);  // ignored
    EXPECT_EQ(maker.Rect(), (TKelAreaRect{2, 3, 5, 7}));
    maker.Press(TAreaMakerModel::TButton::Right, 0, 0);  // cancels
    EXPECT_FALSE(maker.Dragging());
    EXPECT_TRUE(IsEmptyArea(maker.Rect()));
    EXPECT_GE(changes, 5);

    maker.Press(TAreaMakerModel::TButton::Left, 1, 1);
    maker.Move(3, 3);
    maker.Release();
    maker.Move(9, 9);  // after the release nothing follows the mouse
    EXPECT_EQ(maker.Rect(), (TKelAreaRect{1, 1, 3, 3}));
}

TEST(AreaTest, SetAreaOkNeedsARectangleAndLeavesEveryScrollPositionAsItWas) {
    TKelMapTree tree;
    tree.AddItem(0, 0);
    TKelMapTreeItem& map = tree.AddItem(0, 1);
    map.Kind = TKelMapTreeItem::mkMap;
    map.ScrollX = 100;
    map.ScrollY = 50;
    TKelMapTreeItem& area = tree.AddItem(1, 2);
    area.Kind = TKelMapTreeItem::mkArea;
    area.ScrollX = -7;
    tree.CurrentMapId = 2;
    TKelMap open;
    open.SetWidth(30);
    open.SetHeight(20);
    TKelAreaRect rect{};
    {
        TMapSetAreaModel model(tree, open, {});
        EXPECT_EQ(model.CellSize(), 16);
        EXPECT_FALSE(model.OkEnabled());
        EXPECT_EQ(model.Label(), "");
        EXPECT_FALSE(model.Ok(rect));
        model.Maker().Press(TAreaMakerModel::TButton::Left, 0, 0);
        model.Maker().Move(30, 20);
        EXPECT_TRUE(model.OkEnabled());
        EXPECT_EQ(model.Label(), "(000,000) - (029,019)");
        // The view moves stored positions while the dialog is open...
        tree.FindByID(1)->ScrollX = 9999;
        tree.FindByID(2)->ScrollX = 123;
        tree.FindByID(2)->ScrollY = 456;
        tree.CurrentMapId = 1;
        ASSERT_TRUE(model.Ok(rect));
        model.Hide();
        model.SetZoom(0);
        EXPECT_EQ(model.CellSize(), 32);
    }
    EXPECT_EQ(rect, (TKelAreaRect{0, 0, 30, 20}));
    // ...and they are as they were afterwards.
    EXPECT_EQ(tree.FindByID(1)->ScrollX, 100);
    EXPECT_EQ(tree.FindByID(1)->ScrollY, 50);
    EXPECT_EQ(tree.FindByID(2)->ScrollX, -7);
    EXPECT_EQ(tree.FindByID(2)->ScrollY, 0);
    EXPECT_EQ(tree.CurrentMapId, 2);
}

// --- shift and vehicles ---

TEST(MapShiftTest, OffsetsByDirectionAndTheChoiceIsRememberedForTheRun) {
    TMapShiftModel::ForgetLast();
    {
        TMapShiftModel model(20, 15);
        EXPECT_EQ(model.Direction(), TMapShiftModel::sdUp);
        EXPECT_EQ(model.Amount(), 1);
        EXPECT_EQ(model.MaxAmount(), 15);
        std::int32_t dx = 9, dy = 9;
        model.Offset(dx, dy);
        EXPECT_EQ(dx, 0);
        EXPECT_EQ(dy, -1);
        model.SetDirection(TMapShiftModel::sdLeft);
        EXPECT_EQ(model.MaxAmount(), 20);
        model.SetAmount(3);
        model.Offset(dx, dy);
        EXPECT_EQ(dx, -3);
        EXPECT_EQ(dy, 0);
        model.Confirm();
    }
    TMapShiftModel again(20, 15);
    EXPECT_EQ(again.Direction(), TMapShiftModel::sdLeft);
    EXPECT_EQ(again.Amount(), 3);
    again.SetDirection(TMapShiftModel::sdDown);
    again.SetAmount(40);  // at most the height
    std::int32_t dx = 0, dy = 0;
    again.Offset(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 15);
    again.SetDirection(TMapShiftModel::sdRight);
    again.SetAmount(0);
    again.Offset(dx, dy);
    EXPECT_EQ(dx, 1);
    again.SetDirection(5);  // no direction: ignored
    EXPECT_EQ(again.Direction(), TMapShiftModel::sdRight);
    // A remembered amount larger than a smaller map allows is cut to it.
    again.SetAmount(18);
    again.Confirm();
    TMapShiftModel small(16, 15);
    EXPECT_EQ(small.Amount(), 16);
    TMapShiftModel::ForgetLast();
}

TEST(MapShiftTest, VehicleChooserAnswersOneToThree) {
    TMapShipPosModel model;
    EXPECT_EQ(model.Result(), 1);
    model.SetChoice(2);
    EXPECT_EQ(model.Result(), 3);
    model.SetChoice(3);
    EXPECT_EQ(model.Result(), 3);
}

}  // namespace
}  // namespace quillon
