// The monster page without a window: the action list's texts, commands, 500 cap and clipboard
// (blocks that are not whole action patterns refused), the action dialog's ranges and defaults,
// the rank lists' storing rule, and what the graphic preview draws.
#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "database/ED_Monster.h"
#include "events/FakeEventChoosers.h"
#include "graphics/Bitmap.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <limits>
#include <vector>

namespace quillon {
namespace {

class MonsterPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        DataBaseMemory() = {};
        mPrevious = SetClipboard(&mClipboard);
        context.DataBase = &db;
        db.Skill.Obtain(1).Name = "Fire";
        db.Monster.Obtain(2).Name = "Dragon";
        db.Switch.Obtain(3).Name = "Gate";
        TMonsterActListModel::SetLastConfirmed(TKelMonsterActItem());
    }
    void TearDown() override { SetClipboard(mPrevious); }

    TKelDataBase db;
    TDataBaseContext context;
    TMemoryClipboard mClipboard;
    IClipboard* mPrevious = nullptr;
};

TEST_F(MonsterPageTest, RowsShowSubjectConditionAndPriority) {
    const struct {
        std::uint8_t Kind, Behavior;
        std::int32_t Skill, Monster;
        std::uint8_t Type;
        std::int32_t A, B, Switch;
        const char* Subject;
        const char* Condition;
    } cases[] = {
        {0, 4, 1, 1, 0, 0, 0, 1, "Accumulate Power", "Usually"},
        {0, 12, 1, 1, 9, 0, 0, 1, "?", "?"},
        {1, 0, 1, 1, 1, 0, 0, 3, "Fire", "Switch [0003:Gate]-ON"},
        {1, 0, 5, 1, 1, 0, 0, 4, "?", "Switch [?]-ON"},
        {2, 0, 1, 2, 2, 3, 1, 1, "Change:Dragon", "Turn Number [3x+1]"},
        {2, 0, 1, 9, 2, 0, 2, 1, "Change:?", "Turn Number [2]"},
        {0, 0, 1, 1, 2, 4, 0, 1, "Normal Hit", "Turn Number [4x]"},
        {0, 0, 1, 1, 3, 2, 5, 1, "Normal Hit", "Monsters Group Quantity [2-5]"},
        {0, 0, 1, 1, 4, 50, 50, 1, "Normal Hit", "Oneself HP [50]"},
        {0, 0, 1, 1, 5, 10, 20, 1, "Normal Hit", "Oneself MP [10-20]"},
        {0, 0, 1, 1, 6, 1, 50, 1, "Normal Hit", "Hero's Party Average Level [1-50]"},
        {0, 0, 1, 1, 7, 0, 100, 1, "Normal Hit", "Hero's Party Exhaustion [0-100]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Condition);
        TKelMonsterActItem act;
        act.Kind = c.Kind;
        act.Behavior = c.Behavior;
        act.SkillId = c.Skill;
        act.TransformId = c.Monster;
        act.ConditionType = c.Type;
        act.ConditionA = c.A;
        act.ConditionB = c.B;
        act.ConditionSwitchId = c.Switch;
        EXPECT_EQ(MonsterActSubject(act, db), c.Subject);
        EXPECT_EQ(MonsterActCondition(act, db), c.Condition);
    }
    TMonsterActListModel list(db.Monster.Obtain(1).Actions, db);
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Cell(0, 2), "50");
    EXPECT_EQ(list.Cell(1, 0), "") << "the new row";
}

TEST_F(MonsterPageTest, TheDialogSetsRangesAndDefaultsByType) {
    const struct {
        std::int32_t Type, Min, Max, A, B;
        const char* LabelA;
        const char* LabelB;
    } cases[] = {
        {2, 0, 100, 0, 0, "×  +", "Turn"},
        {3, 1, 10, 1, 10, "More", "Less"},
        {4, 0, 100, 0, 100, "% Above", "% Below"},
        {5, 0, 100, 0, 100, "% More", "% Less"},
        {6, 1, 50, 1, 50, "More than or Equal to", "Less than or Equal to"},
        {7, 0, 100, 0, 100, "% More", "% Less"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Type);
        TKelMonsterActItem act;
        act.ConditionA = 7;
        act.ConditionB = 8;
        TMonsterActDialogModel model(db, act, nullptr);
        model.SetConditionType(c.Type);
        EXPECT_EQ(model.ValueMin(), c.Min);
        EXPECT_EQ(model.ValueMax(), c.Max);
        EXPECT_EQ(model.ValueA(), c.A);
        EXPECT_EQ(model.ValueB(), c.B);
        EXPECT_EQ(model.LabelA(), c.LabelA);
        EXPECT_EQ(model.LabelB(), c.LabelB);
        EXPECT_EQ(model.ConditionCaption(), MonsterConditionNames()[static_cast<std::size_t>(c.Type)]);
        model.SetValueB(c.Max + 100);
        EXPECT_EQ(model.ValueB(), c.Max) << "kept in the type's range";
    }
    TMonsterActDialogModel usual(db, TKelMonsterActItem(), nullptr);
    EXPECT_EQ(usual.ConditionCaption(), "");
    EXPECT_FALSE(usual.HasValues());
}

TEST_F(MonsterPageTest, OkRefusesBBelowAForRangeTypesOnly) {
    for (std::uint8_t type = 0; type <= 7; ++type) {
        SCOPED_TRACE(static_cast<int>(type));
        TKelMonsterActItem act;
        act.ConditionType = type;
        act.ConditionA = 5;
        act.ConditionB = 4;
        TMonsterActDialogModel model(db, act, nullptr);
        std::string error;
        const bool refused = type >= 3;
        EXPECT_EQ(model.Confirm(error), !refused);
        EXPECT_EQ(error, refused ? kMonsterActRangeRefusal : "");
    }
}

TEST_F(MonsterPageTest, TheEnabledListKeepsAValueOfItsOwn) {
    TKelMonsterActItem act;
    act.Behavior = 11;
    act.SkillId = 30;
    act.TransformId = 2;
    TMonsterActDialogModel model(db, act, nullptr);
    EXPECT_EQ(model.Act().Behavior, 0);
    model.SetKind(TKelMonsterActItem::akSkill);
    EXPECT_EQ(model.Act().SkillId, 1);
    model.SetKind(TKelMonsterActItem::akTransform);
    EXPECT_EQ(model.Act().TransformId, 2) << "monster 2 exists";
}

TEST_F(MonsterPageTest, NewPatternsStartFromTheLastConfirmedOne) {
    TMonsterPageModel page(context, nullptr);
    TMonsterActListModel& list = page.Actions();
    list.Select(1);  // the new row
    const bool stored = page.EditAction([&](TKelMonsterActItem& act) {
        EXPECT_EQ(act.Priority, 50) << "reset values before any confirmed";
        TMonsterActDialogModel dialog(db, act, nullptr);
        dialog.Act().Priority = 77;
        std::string error;
        EXPECT_TRUE(dialog.Confirm(error));
        act.Assign(dialog.Act());
        return true;
    });
    ASSERT_TRUE(stored);
    ASSERT_EQ(list.List().Count(), 2);
    EXPECT_EQ(list.List().Items(1)->ID, 2);
    EXPECT_EQ(list.Selected(), 1);
    list.Select(2);
    TKelMonsterActItem next;
    ASSERT_TRUE(list.StartEdit(next));
    EXPECT_EQ(next.Priority, 77);
    EXPECT_FALSE(page.EditAction([](TKelMonsterActItem&) { return false; })) << "cancelled";
    EXPECT_EQ(list.List().Count(), 2);
}

TEST_F(MonsterPageTest, PasteInsertsBeforeTheRowAndStopsAtFiveHundred) {
    TKelMonsterAct& acts = db.Monster.Obtain(1).Actions;
    acts.Obtain(1).Priority = 10;
    acts.Obtain(2).Priority = 20;
    TMonsterActListModel list(acts, db);
    list.Select(1);
    ASSERT_TRUE(list.Copy());
    list.Select(0);
    ASSERT_TRUE(list.Paste());
    ASSERT_EQ(acts.Count(), 3);
    EXPECT_EQ(acts.Items(0)->Priority, 20) << "pasted first";
    EXPECT_EQ(acts.Items(1)->Priority, 10);
    EXPECT_EQ(acts.Items(2)->ID, 3);
    list.Select(3);
    ASSERT_TRUE(list.Paste());
    EXPECT_EQ(acts.Items(3)->Priority, 20) << "on the new row: appended";
    ASSERT_TRUE(list.Cut());
    EXPECT_EQ(acts.Count(), 3);

    while (acts.Count() < kMonsterActMax)
        acts.Append();
    list.Select(0);
    EXPECT_FALSE(list.IsEnabled(TMonsterActCommand::Paste));
    EXPECT_FALSE(list.Paste());
    list.Select(kMonsterActMax);
    EXPECT_FALSE(list.IsEnabled(TMonsterActCommand::Edit)) << "no 501st pattern";
    TKelMonsterActItem edited;
    EXPECT_FALSE(list.StartEdit(edited));
    EXPECT_FALSE(list.FinishEdit(edited));
    EXPECT_EQ(acts.Count(), kMonsterActMax);
    list.Select(3);
    EXPECT_TRUE(list.IsEnabled(TMonsterActCommand::Edit)) << "existing patterns stay editable";
}

TEST_F(MonsterPageTest, PatternsNumberedToTheTopStillTakeNewOnes) {
    // A file may number the patterns up to the highest ID: pasting and adding renumber them in
    // their order first instead of running the IDs over.
    TKelMonsterAct& acts = db.Monster.Obtain(1).Actions;
    acts.Obtain(1).Priority = 10;
    acts.Obtain(std::numeric_limits<std::int32_t>::max()).Priority = 20;
    TMonsterActListModel list(acts, db);
    list.Select(0);
    ASSERT_TRUE(list.Copy());
    list.Select(1);
    ASSERT_TRUE(list.Paste());
    list.Select(list.RowCount() - 1);
    ASSERT_TRUE(list.FinishEdit(*acts.Items(0)));
    std::vector<std::int32_t> ids, priorities;
    for (int i = 0; i < acts.Count(); ++i) {
        ids.push_back(acts.Items(i)->ID);
        priorities.push_back(acts.Items(i)->Priority);
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(priorities, (std::vector<std::int32_t>{10, 10, 20, 10}));
}

TEST_F(MonsterPageTest, BlocksThatAreNotWholePatternsAreRefused) {
    TKelMonsterActItem source;
    source.Priority = 90;
    source.CopyToClipboard(kMonsterActClipboardFormat);
    const std::string good = *mClipboard.GetData(kMonsterActClipboardFormat);
    TKelMonsterActItem read;
    ASSERT_TRUE(ReadMonsterActBlock(good, read));
    EXPECT_EQ(read.Priority, 90);

    TKelEncountItem encounter;
    encounter.MonsterGroupId = 2;  // field 1 of one byte: would read as a kind
    encounter.CopyToClipboard(kMonsterActClipboardFormat);
    const std::string encounterBlock = *mClipboard.GetData(kMonsterActClipboardFormat);
    std::string sizeTooLarge = good;
    sizeTooLarge[0] = static_cast<char>(sizeTooLarge[0] + 4);
    std::string countZero = good;
    countZero[4] = 0;
    std::string badKind = good;  // the kind chunk claims two bytes
    badKind[9] = 2;
    const struct {
        const char* What;
        std::string Block;
    } bad[] = {
        {"an encounter", encounterBlock},
        {"no header", good.substr(0, 6)},
        {"cut short", good.substr(0, good.size() - 2)},
        {"a size beyond the bytes", sizeTooLarge},
        {"no record", countZero},
        {"a field of the wrong size", badKind},
        {"an unknown field", MakeClipboardBlock(1, std::string("\x01\x01\x00\x02\x01\x00\x05\x01\x00\x63\x01\x00\x00", 13))},
        {"trailing bytes", MakeClipboardBlock(1, std::string("\x01\x01\x00\x02\x01\x00\x05\x01\x00\x00\xFF", 11))},
    };
    TKelMonsterAct& acts = db.Monster.Obtain(1).Actions;
    TMonsterActListModel list(acts, db);
    for (const auto& c : bad) {
        SCOPED_TRACE(c.What);
        TKelMonsterActItem untouched;
        untouched.Priority = 5;
        EXPECT_FALSE(ReadMonsterActBlock(c.Block, untouched));
        EXPECT_EQ(untouched.Priority, 5);
        mClipboard.SetData(kMonsterActClipboardFormat, c.Block);
        list.Select(0);
        EXPECT_FALSE(list.Paste());
        EXPECT_EQ(acts.Count(), 1) << "nothing inserted";
    }
}

TEST_F(MonsterPageTest, RanksDefaultAndAShortArrayKeepsEveryShownRank) {
    for (std::int32_t id = 1; id <= 3; ++id) {
        db.Status.Obtain(id).Name = "C" + std::to_string(id);
        db.Attrib.Obtain(id);
    }
    TKelMonsterItem& monster = db.Monster.Obtain(1);
    monster.ConditionRankCount = 1;
    monster.ConditionRanks = {7};  // out of range: shown as it is
    TMonsterPageModel page(context, nullptr);
    TRankListModel& conditions = page.ConditionRanks();
    ASSERT_EQ(conditions.Count(), 3);
    EXPECT_EQ(conditions.Rank(0), 7);
    EXPECT_EQ(conditions.Rank(2), 1) << "conditions default to 1";
    EXPECT_EQ(page.AttributeRanks().Rank(1), 2) << "attributes default to 2";
    EXPECT_EQ(monster.ConditionRankCount, 1) << "showing stores nothing";

    int modified = 0;
    const TConnection counted = page.Modified.Connect([&] { ++modified; });
    EXPECT_TRUE(conditions.SetRank(2, 4));
    EXPECT_EQ(monster.ConditionRankCount, 3);
    EXPECT_EQ(monster.ConditionRanks, (TDynamicBuffer{7, 1, 4}));
    EXPECT_TRUE(page.AttributeRanks().SetRank(0, 0));
    EXPECT_EQ(monster.AttributeRanks, (TDynamicBuffer{0, 2, 2}));
    EXPECT_EQ(modified, 2);
}

TEST_F(MonsterPageTest, GraphicAndFieldsReachTheRecord) {
    TMonsterPageModel page(context, nullptr);
    page.ChooseGraphicWith = [](std::string& name, std::int32_t& hue) {
        name = "Slime";
        hue = 90;
        return true;
    };
    TFieldBinding binding(MonsterPageForm(), page);
    const TFieldForm& form = MonsterPageForm();
    const auto index = [&](const char* widget) {
        for (std::size_t i = 0; i < form.Fields.size(); ++i)
            if (form.Fields[i].Widget == widget)
                return i;
        ADD_FAILURE() << widget;
        return std::size_t{0};
    };
    ASSERT_TRUE(binding.Choose(index("DashGraphic")));
    EXPECT_EQ(page.Item().GraphicName, "Slime");
    EXPECT_EQ(page.Item().Hue, 90);
    EXPECT_EQ(binding.Text(index("DashGraphic")), "Slime (hue 90)");
    EXPECT_FALSE(binding.Enabled(index("EditDropRate"))) << "no item dropped";
    EXPECT_EQ(binding.Items(index("ComboItem")).front().Name, "(None)");
    EXPECT_FALSE(binding.Enabled(index("EditCritical")));
    EXPECT_TRUE(binding.SetValue(index("CheckCritical"), 1));
    EXPECT_TRUE(binding.Enabled(index("EditCritical")));
    EXPECT_TRUE(binding.SetValue(index("EditMaxHp"), 500000));
    EXPECT_EQ(page.Item().MaxHp, kMonsterHpMax);
}

TEST_F(MonsterPageTest, ThePreviewDrawsTheImageWithItsHueAndTransparency) {
    // A 20 x 10 image: the left half palette colour 0 (blue), the right half pure red.
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quillon-monster-" + std::to_string(getpid()));
    fs::create_directories(folder / "Monster");
    TBitmap bitmap(20, 10, TPixelFormat::pf8bit);
    bitmap.Palette()[0] = TPaletteEntry{0, 0, 255, 0};
    bitmap.Palette()[1] = TPaletteEntry{255, 0, 0, 0};
    for (int y = 0; y < 10; ++y)
        std::fill(bitmap.ScanLine(y) + 10, bitmap.ScanLine(y) + 20, std::uint8_t{1});
    SavePicture(bitmap, (folder / "Monster" / "Slime.bmp").string());

    db.Monster.Obtain(1).GraphicName = "Slime";
    TMonsterPageModel page(context, nullptr, FolderImageFinder({folder.string() + "/"}));
    TOrlenBoard board;
    board.SetSize(kMonsterPreviewWidth, kMonsterPreviewHeight);
    // The image stands centred: its red half at x 160..169, rows 75..84.
    const auto at = [&](int x, int y) {
        page.DrawPicture(board);
        return board.ScanLine(y)[x];
    };
    const std::uint16_t blue = 0x001F, red = 0xF800, green = 0x07E0;
    EXPECT_EQ(page.Picture(), (TMonsterPicture{"Slime", 0, 255, false}));
    EXPECT_EQ(at(0, 0), blue) << "the image's colour 0 all round";
    EXPECT_EQ(at(165, 80), red);

    std::int32_t chosenHue = 120;
    page.ChooseGraphicWith = [&](std::string&, std::int32_t& hue) {
        hue = chosenHue;
        return true;
    };
    ASSERT_TRUE(page.ChooseGraphic());
    EXPECT_EQ(page.Picture().Hue, 120);
    EXPECT_EQ(at(165, 80), green) << "red turned by 120 degrees";
    EXPECT_EQ(at(155, 80), blue) << "colour 0 keeps its colour";
    chosenHue = 0;
    ASSERT_TRUE(page.ChooseGraphic());
    EXPECT_EQ(at(165, 80), red) << "each hue is an image of its own";
    page.Item().Hue = -240;  // a stored value the selector would not give
    EXPECT_EQ(page.Picture().Hue, 120);
    EXPECT_EQ(at(165, 80), green);

    page.Item().Transparent = 1;
    EXPECT_EQ(page.Picture().Opacity, kTranslucentOpacity);
    const std::uint16_t blended = at(165, 80);
    EXPECT_NE(blended, green);
    EXPECT_NE(blended & 0x07E0, 0) << "still mostly the image";

    // A name whose file is not there, and no name: nothing is drawn; only the first is missing.
    page.Item().GraphicName = "Ghost";
    EXPECT_TRUE(page.Picture().Missing);
    EXPECT_EQ(at(165, 80), 0);
    page.Item().GraphicName.clear();
    EXPECT_FALSE(page.Picture().Missing);
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(page.GraphicText(), "(None) (hue 120)");
    fs::remove_all(folder);
}

}  // namespace
}  // namespace quillon
