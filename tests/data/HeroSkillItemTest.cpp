// Heroes, skills and items: their encoding, arrays and curves.
#include "RecordTestKit.h"

#include "data/EditorMode.h"
#include "data/LD_Attrib.h"
#include "data/LD_Item.h"
#include "data/LD_Player.h"
#include "data/LD_Skill.h"
#include "data/LD_Status.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;
using namespace quillon::testkit;

// --- items ---

TEST(ItemRecord, FieldNumbersAndTypes) {
    TKelItemItem item;
    EXPECT_EQ(Layout(item),
              "1:3 2:3 3:1 5:0 6:0 11:0 12:0 13:0 14:0 15:1 16:0 17:0 18:0 20:0 21:6 22:6 23:6 24:6 25:6 26:6 "
              "27:6 28:6 31:1 32:0 33:0 34:0 35:0 37:6 38:6 41:0 42:0 43:0 44:0 45:0 46:0 51:1 53:0 55:0 57:6 "
              "58:6 61:0 62:2 63:0 64:2 65:0 66:2 67:0");
}

TEST(ItemRecord, FreshItemWritesOnlyAlwaysWrittenFieldsAndEmptyArrays) {
    TKelItemItem item;
    EXPECT_EQ(Hex(Save(item)), "03 01 00 0F 01 00 1F 01 00 33 01 00 3E 00 40 00 42 00 00");
    EXPECT_EQ(item.UsableInField, 1);
    EXPECT_EQ(item.HitChance, 90);
}

TEST(ItemRecord, ConditionArrayTrimsTrailingZerosAndToTheDatabaseSize) {
    TKelItemItem item;
    item.SetConditionCount(4);
    item.SetCondition(2, 1);
    EXPECT_EQ(Hex(Chunk(Save(item), 64)), "00 01");
    EXPECT_EQ(Hex(Chunk(Save(item), 63)), "02");  // the count follows

    // Saved through a list that knows a database of one condition: one byte is left.
    TKelStatus status;
    status.Obtain(1);
    TKelAttrib attrib;
    TKelItem items;
    items.TrimLimits = {&status, &attrib};
    TKelItemItem& element = items.Obtain(1);
    element.SetConditionCount(4);
    element.SetCondition(2, 1);
    element.SetAttributeCount(3);
    element.SetAttribute(1, 1);
    TMemoryStream stream;
    items.SaveToStream(stream);
    stream.SetPosition(2);  // past the count and the element's ID
    TKelItemItem loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.ConditionCount, 1);
    EXPECT_EQ(Hex(std::string(loaded.Conditions.begin(), loaded.Conditions.end())), "00");
    EXPECT_EQ(loaded.AttributeCount, 0);  // no attribute exists any more
    EXPECT_EQ(loaded.Attribute(1), 0);
}

TEST(ItemRecord, ListCopyToClipboardTrimsToo) {
    TMemoryClipboard board;
    IClipboard* previous = SetClipboard(&board);
    TKelStatus status;
    status.Obtain(1);
    status.Obtain(2);
    TKelItem items;
    items.TrimLimits.Conditions = &status;
    items.Obtain(1).SetConditionCount(5);
    items.Obtain(1).SetCondition(5, 1);
    items.Obtain(1).SetCondition(1, 1);
    items.CopyToClipboard(TKelItemItem::kClipboardFormat, 0, 1);
    TKelItem pasted;
    pasted.Clear();
    EXPECT_EQ(pasted.PasteFromClipboard(TKelItemItem::kClipboardFormat, 0), 1);
    SetClipboard(previous);
    ASSERT_NE(pasted.FindByID(1), nullptr);
    // [1, 0, 0, 0, 1] with two conditions left: cut to two entries in one step.
    EXPECT_EQ(pasted.FindByID(1)->ConditionCount, 2);
    EXPECT_EQ(pasted.FindByID(1)->Condition(1), 1);
    EXPECT_EQ(pasted.FindByID(1)->Condition(5), 0);
}

TEST(ItemRecord, HeroUsableIsNeverTrimmedAndHeroesBeyondItMayUse) {
    TKelItemItem item;
    EXPECT_EQ(item.HeroCanUse(1), 1);
    item.SetHeroUsableCount(3);  // new entries: 0
    EXPECT_EQ(item.HeroCanUse(2), 0);
    EXPECT_EQ(item.HeroCanUse(4), 1);
    item.SetHeroCanUse(4, 0);  // outside: ignored
    EXPECT_EQ(item.HeroCanUse(4), 1);
    EXPECT_EQ(Hex(Chunk(Save(item), 62)), "00 00 00");
    item.SetHeroUsableCount(-5);
    EXPECT_EQ(item.HeroUsableCount, 0);
    EXPECT_TRUE(item.HeroUsable.empty());
}

TEST(ItemRecord, CountAndBlockFromTwoChunksAreMadeToAgree) {
    // Count 1000 with a block of two bytes; count 0 with a block of three bytes; count -1.
    const std::string file = Bytes({61, 2, 0x87, 0x68, 62, 2, 1, 0,  //
                                    63, 1, 0, 64, 3, 1, 1, 1,        //
                                    65, 5, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 66, 1, 1, 0});
    TKelItemItem item;
    Load(item, file);
    EXPECT_EQ(item.HeroUsableCount, 2);
    EXPECT_EQ(item.HeroUsable.size(), 2u);
    EXPECT_EQ(item.HeroCanUse(1), 1);
    EXPECT_EQ(item.HeroCanUse(2), 0);
    EXPECT_EQ(item.HeroCanUse(3), 1);
    EXPECT_EQ(item.ConditionCount, 0);
    EXPECT_TRUE(item.Conditions.empty());
    EXPECT_EQ(item.AttributeCount, 0);
    EXPECT_TRUE(item.Attributes.empty());
    // What is saved again is consistent: each block as long as its count says.
    const std::string again = Save(item);
    EXPECT_EQ(Chunk(again, 62).size(), 2u);
    EXPECT_EQ(Chunk(again, 64).size(), 0u);
}

TEST(SkillRecord, FieldNumbersAndTypes) {
    TKelSkillItem skill;
    EXPECT_EQ(Layout(skill),
              "1:3 2:3 3:3 4:3 7:0 8:1 11:0 12:1 13:0 14:0 16:5 18:6 19:6 21:0 22:0 23:0 24:0 25:0 31:6 32:6 "
              "33:6 34:6 35:6 36:6 37:6 38:6 41:0 42:2 43:0 44:2 45:6");
}

TEST(SkillRecord, FreshSkillCarriesItsSoundRecord) {
    TKelSkillItem skill;
    EXPECT_EQ(Hex(Save(skill)), "08 01 00 0C 01 00 10 08 01 05 28 4F 46 46 29 00 2A 00 2C 00 00");
}

TEST(SkillRecord, StandardUsingMessagesFitTheNameLength) {
    TKelSkillItem skill;
    skill.Name = "Fire";
    skill.UsingMessage2 = "old";
    skill.SetStandardUsingMessage(TKelSkillItem::usChant);
    EXPECT_EQ(skill.UsingMessage1, "= Fire lan\xE7" "ada! ");
    EXPECT_TRUE(skill.UsingMessage2.empty());
    skill.SetStandardUsingMessage(TKelSkillItem::usUse);
    EXPECT_EQ(skill.UsingMessage1, "= Fire usada!   ");

    skill.Name = std::string(18, 'a');
    skill.SetStandardUsingMessage(TKelSkillItem::usCast);
    EXPECT_EQ(skill.UsingMessage1, "= " + std::string(18, 'a') + " atirada! ");
    skill.Name = std::string(19, 'a');
    skill.SetStandardUsingMessage(TKelSkillItem::usCast);
    EXPECT_EQ(skill.UsingMessage1, "= " + std::string(19, 'a') + " atirada");
    skill.SetStandardUsingMessage(TKelSkillItem::usChant);
    EXPECT_EQ(skill.UsingMessage1, "= " + std::string(19, 'a') + " lan\xE7" "ada");
    skill.SetStandardUsingMessage(TKelSkillItem::usUse);
    EXPECT_EQ(skill.UsingMessage1, "= " + std::string(19, 'a') + " usada! ");
}

// --- heroes ---

TEST(HeroRecord, FieldNumbersAndTypes) {
    TKelPlayerItem hero;
    EXPECT_EQ(Layout(hero),
              "1:3 2:3 3:3 4:0 5:6 7:0 8:0 9:6 10:0 15:3 16:0 21:6 22:6 23:6 24:6 31:1 41:0 42:0 43:0 51:1 "
              "56:0 63:4 66:6 67:3 71:0 72:2 73:0 74:2");
    TKelPlayerLearningItem learning;
    EXPECT_EQ(Layout(learning), "1:0 2:0");
}

TEST(HeroRecord, FreshHeroWritesCurvesEquipmentAndEmptyCollections) {
    TKelPlayerItem hero;
    const std::string bytes = Save(hero);
    EXPECT_EQ(ChunkNumbers(bytes), (std::vector<int>{31, 51, 63, 72, 74}));
    EXPECT_EQ(Hex(bytes.substr(0, 5)), "1F 84 58 28 00");  // 600 bytes; level 1 max HP = 40
    EXPECT_EQ(Hex(Chunk(bytes, 51)), "00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(Hex(Chunk(bytes, 63)), "00");

    const std::string curves = Chunk(bytes, 31);
    ASSERT_EQ(curves.size(), 600u);
    EXPECT_EQ(curves.substr(0, 100), curves.substr(100, 100));  // max MP is table A as well
    EXPECT_EQ(curves.substr(200, 100), curves.substr(300, 100));
    EXPECT_EQ(curves.substr(400, 100), curves.substr(500, 100));
    EXPECT_EQ(Hex(curves.substr(98, 2)), "58 02");   // max HP at level 50: 600
    EXPECT_EQ(Hex(curves.substr(298, 2)), "96 00");  // defense at level 50: 150
    EXPECT_EQ(Hex(curves.substr(400, 2)), "14 00");  // mind at level 1: 20
    EXPECT_EQ(hero.Parameter(1, 25), 215);
    EXPECT_EQ(hero.Parameter(3, 44), 119);
    EXPECT_EQ(hero.Parameter(5, 50), 300);
}

TEST(HeroRecord, ParametersOutsideTheCurvesReadZeroAndCannotBeWritten) {
    TKelPlayerItem hero;
    const auto before = hero.Parameters;
    EXPECT_EQ(hero.Parameter(0, 51), 0);
    EXPECT_EQ(hero.Parameter(6, 1), 0);
    EXPECT_EQ(hero.Parameter(0, 0), 0);
    EXPECT_EQ(hero.Parameter(-1, 10), 0);
    hero.SetParameter(0, 51, 999);
    hero.SetParameter(6, 1, 999);
    hero.SetParameter(-1, 1, 999);
    hero.SetParameter(2, 0, 999);
    EXPECT_EQ(hero.Parameters, before);
    hero.SetParameter(0, 50, 999);
    EXPECT_EQ(hero.Parameter(0, 50), 999);
    EXPECT_EQ(Hex(Chunk(Save(hero), 31).substr(98, 2)), "E7 03");
}

TEST(HeroRecord, EquipmentIsFiveLittleEndianWords) {
    TKelPlayerItem hero;
    hero.SetEquipment(0, 0x1234);
    hero.SetEquipment(4, 300);
    hero.SetEquipment(5, 9);
    hero.SetEquipment(-1, 9);
    EXPECT_EQ(Hex(Chunk(Save(hero), 51)), "34 12 00 00 00 00 00 00 2C 01");
    EXPECT_EQ(hero.Equipment(4), 300);
    EXPECT_EQ(hero.Equipment(5), 0);
    hero.SetEquipment(2, 70000);  // keeps the low 16 bits
    EXPECT_EQ(hero.Equipment(2), 70000 & 0xFFFF);
    // A field 51 chunk of the wrong length is skipped: the reset value stays.
    TKelPlayerItem loaded;
    Load(loaded, Bytes({51, 2, 5, 0, 0}));
    EXPECT_EQ(loaded.Equipment(0), 0);
}

TEST(HeroRecord, RanksTrimTheMiddleRankAndReadItBeyondTheArray) {
    TKelPlayerItem hero;
    hero.SetConditionRankCount(3);
    EXPECT_EQ(hero.ConditionRank(2), 2);  // new entries take the middle rank
    const std::string bytes = Save(hero);
    EXPECT_EQ(Chunk(bytes, 72).size(), 0u);
    TKelPlayerItem loaded;
    Load(loaded, bytes);
    for (int id = 1; id <= 5; ++id)
        EXPECT_EQ(loaded.ConditionRank(id), 2);

    hero.SetConditionRankCount(3);
    hero.SetConditionRank(1, 0);
    hero.SetAttributeRankCount(4);
    hero.SetAttributeRank(3, 4);
    const std::string trimmed = Save(hero);
    EXPECT_EQ(Hex(Chunk(trimmed, 72)), "00");
    EXPECT_EQ(Hex(Chunk(trimmed, 74)), "02 02 04");
    EXPECT_EQ(hero.AttributeRankCount, 3);
}

TEST(HeroRecord, HeroListBoundsRanksByTheDatabase) {
    TKelStatus status;
    status.Obtain(1);
    TKelAttrib attrib;
    attrib.Obtain(1);
    attrib.Obtain(2);
    TKelPlayer heroes;
    heroes.TrimLimits = {&status, &attrib};
    TKelPlayerItem& hero = heroes.Obtain(1);
    hero.SetConditionRankCount(3);
    hero.SetConditionRank(1, 4);
    hero.SetConditionRank(3, 0);
    hero.SetAttributeRankCount(3);
    hero.SetAttributeRank(3, 0);
    TMemoryStream stream;
    heroes.SaveToStream(stream);
    stream.SetPosition(0);
    TKelPlayer loaded;
    loaded.LoadFromStream(stream);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.Items(0)->ConditionRankCount, 1);
    EXPECT_EQ(loaded.Items(0)->ConditionRank(1), 4);
    EXPECT_EQ(loaded.Items(0)->ConditionRank(3), 2);
    // [2, 2, 0] is cut to the two attributes in one step; what is left is not trimmed again.
    EXPECT_EQ(loaded.Items(0)->AttributeRankCount, 2);
    EXPECT_EQ(loaded.Items(0)->AttributeRank(3), 2);
}

TEST(HeroRecord, LearnedSkillsAreANestedList) {
    TKelPlayerItem hero;
    hero.Learning.Obtain(1).Level = 3;
    hero.Learning.Obtain(2).SkillId = 5;
    auto& third = hero.Learning.Obtain(3);
    third.Level = 10;
    third.SkillId = 200;
    // Count 3; element 1: level 3; element 2: skill 5; element 3: level 10, skill 200.
    EXPECT_EQ(Hex(Chunk(Save(hero), 63)), "03 01 01 01 03 00 02 02 01 05 00 03 01 01 0A 02 02 81 48 00");
    TKelPlayerItem loaded;
    Load(loaded, Save(hero));
    ASSERT_EQ(loaded.Learning.Count(), 3);
    EXPECT_EQ(loaded.Learning.Items(2)->SkillId, 200);
    EXPECT_EQ(loaded.Learning.Items(0)->SkillId, 1);
}

TEST(HeroSkillItemRecords, EveryFieldRoundTripsAndDamageIsContained) {
    TKelItemItem item;
    item.SetID(7);
    FillNonDefault(item);
    ExpectFullRoundTrip(item);
    ExpectDamageContained(item);

    TKelSkillItem skill;
    skill.SetID(3);
    FillNonDefault(skill);
    ExpectFullRoundTrip(skill);
    ExpectDamageContained(skill);
    TKelSkillItem copy;
    copy.Assign(skill);
    EXPECT_EQ(Hex(Save(copy)), Hex(Save(skill)));

    TKelPlayerItem hero;
    hero.SetID(2);
    FillNonDefault(hero);
    ExpectFullRoundTrip(hero);
    ExpectDamageContained(hero);
    ASSERT_EQ(hero.Learning.Count(), 2);

    // A chunk that claims more bytes than the stream holds is refused before anything is sized.
    TKelPlayerItem target;
    EXPECT_THROW(Load(target, Bytes({72, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 0})), EReadError);
}

// --- look-ups ---

TEST(HeroSkillItemLists, LookUpsRaiseTheirMessageUntilTheEditorRuns) {
    TKelPlayer heroes;
    TKelSkill skills;
    TKelItem items;
    heroes.Obtain(1);
    {
        TEditorModeScope scope(false);
        EXPECT_NE(heroes.ItemById(1), nullptr);
        const std::vector<std::pair<std::function<void()>, std::string>> cases = {
            {[&] { heroes.ItemById(2); }, "Invalid Hero"},
            {[&] { heroes.ItemAt(1); }, "Invalid Hero"},
            {[&] { skills.ItemById(1); }, "Invalid Tech Skill"},
            {[&] { items.ItemAt(0); }, "Invalid Item Designed"},
        };
        for (const auto& [lookUp, message] : cases) {
            try {
                lookUp();
                ADD_FAILURE() << "no error for " << message;
            } catch (const ELookupError& error) {
                EXPECT_EQ(std::string(error.what()), message);
            }
        }
    }
    TEditorModeScope scope(true);
    EXPECT_EQ(heroes.ItemById(2), nullptr);
    EXPECT_EQ(items.ItemAt(0), nullptr);
}

TEST(HeroFieldTable, NoFieldBeyondTheDeclaredLastNumber) {
    quillon::TKelPlayerItem hero;
    quillon::TKelPlayerLearningItem learned;
    for (quillon::TCatalogBaseItem* record : std::initializer_list<quillon::TCatalogBaseItem*>{&hero, &learned})
        for (int n = record->LastFieldNumber() + 1; n <= 999; ++n) {
            quillon::TCatalogVarData d;
            record->DescribeField(n, d, true);
            EXPECT_EQ(d.FieldType, quillon::ftNone) << n;
        }
}
