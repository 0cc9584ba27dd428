// Monsters, troops with battle events, terrains, attributes and conditions.
#include "RecordTestKit.h"

#include "data/EditorMode.h"
#include "data/LD_Attrib.h"
#include "data/LD_Item.h"
#include "data/LD_Player.h"
#include "data/LD_Skill.h"
#include "data/LD_Ground.h"
#include "data/LD_MonGroup.h"
#include "data/LD_Monster.h"
#include "data/LD_Status.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;
using namespace quillon::testkit;

namespace {

template <class L>
concept HasItemById = requires(const L& list) { list.ItemById(1); };

TKelEventScriptLine& AddLine(TKelEventScriptList& script, std::int32_t code, std::int32_t indent,
                             const std::string& text, std::initializer_list<std::int32_t> params) {
    TKelEventScriptLine& line = script.Add();
    line.Code = code;
    line.Indent = indent;
    line.Text = text;
    line.SetParamCount(static_cast<int>(params.size()));
    int i = 0;
    for (const std::int32_t p : params)
        line.SetParam(i++, p);
    return line;
}

}  // namespace

TEST(MonsterTroopRecords, FieldNumbersAndTypes) {
    TKelMonsterItem monster;
    EXPECT_EQ(Layout(monster),
              "1:3 2:3 3:0 4:0 5:0 6:0 7:0 8:0 9:0 10:6 11:0 12:0 13:0 14:0 21:6 22:0 26:6 28:6 31:0 32:2 "
              "33:0 34:2 42:4");
    TKelMonsterActItem act;
    EXPECT_EQ(Layout(act), "1:1 2:1 3:0 4:0 5:1 6:0 7:0 8:0 9:6 10:0 11:6 12:0 13:0");
    TKelMonGroupItem troop;
    EXPECT_EQ(Layout(troop), "1:3 2:4 4:0 5:2 11:4");
    TKelMonGroupMonsterItem member;
    EXPECT_EQ(Layout(member), "1:0 2:0 3:0 4:6");
    TKelBattleEventPageItem page;
    EXPECT_EQ(Layout(page), "2:5 11:0 12:2");
    TKelBattleEventTrigger trigger;
    EXPECT_EQ(Layout(trigger), "1:1 2:0 3:0 4:0 5:0 6:0 7:0 8:0 9:0 10:0 11:0 12:0 13:0 14:0 15:0");
    TKelGroundItem ground;
    EXPECT_EQ(Layout(ground), "1:3 2:0 3:0 4:3 5:6 6:6 7:6 9:6 11:1");
    TKelAttribItem attrib;
    EXPECT_EQ(Layout(attrib), "1:3 2:1 11:0 12:0 13:0 14:0 15:0");
    TKelStatusItem status;
    EXPECT_EQ(Layout(status),
              "1:3 2:1 3:0 4:0 5:1 11:0 12:0 13:0 14:0 15:0 21:0 22:0 23:0 31:6 32:6 33:6 34:6 35:0 41:6 42:0 "
              "43:6 44:0 51:3 52:3 53:3 54:3 55:3 61:0 62:0 63:0 64:0 65:0 66:0 67:0 68:0");
}

TEST(MonsterTroopRecords, FreshRecordsWriteOnlyWhatIsAlwaysWritten) {
    TKelMonsterItem monster;
    // Empty rank arrays, then a list of one action holding only its three always-written bytes.
    EXPECT_EQ(Hex(Save(monster)), "20 00 22 00 2A 0C 01 01 01 01 00 02 01 00 05 01 00 00 00");
    TKelGroundItem ground;
    EXPECT_EQ(Hex(Save(ground)), "0B 01 00 00");
    TKelAttribItem attrib;
    EXPECT_EQ(Hex(Save(attrib)), "02 01 00 00");
    TKelMonGroupItem troop;
    // No members, empty terrain array, one battle page: its trigger's flags byte and a closing
    // script line of four bytes (the script size 4 differs from its default 0).
    EXPECT_EQ(Hex(Save(troop)), "02 01 00 05 00 0B 12 01 01 02 04 01 01 00 00 0B 01 04 0C 04 00 00 00 00 00 00");
}

// --- monsters ---

TEST(MonsterRecord, RanksTrimToTheirOwnFillValues) {
    TKelMonsterItem monster;
    monster.SetConditionRankCount(3);
    monster.SetAttributeRankCount(2);
    EXPECT_EQ(monster.ConditionRank(3), 1);  // new condition ranks: 1
    EXPECT_EQ(monster.AttributeRank(2), 2);  // new attribute ranks: 2
    EXPECT_EQ(monster.ConditionRank(9), 1);
    EXPECT_EQ(monster.AttributeRank(9), 2);

    monster.SetConditionRank(3, 0);  // [1, 1, 0]: kept whole
    EXPECT_EQ(Hex(Chunk(Save(monster), 32)), "01 01 00");
    monster.SetConditionRank(1, 0);
    monster.SetConditionRank(3, 1);  // [0, 1, 1]: one byte
    monster.SetAttributeRankCount(2);  // the save before dropped [2, 2] whole
    monster.SetAttributeRank(1, 1);    // [1, 2]: one byte
    const std::string bytes = Save(monster);
    EXPECT_EQ(Hex(Chunk(bytes, 32)), "00");
    EXPECT_EQ(Hex(Chunk(bytes, 31)), "01");
    EXPECT_EQ(Hex(Chunk(bytes, 34)), "01");

    // Through a list that knows the database: at most its number of conditions.
    TKelStatus status;
    status.Clear();
    TKelMonster monsters;
    monsters.TrimLimits.Conditions = &status;
    TKelMonsterItem& element = monsters.Obtain(1);
    element.SetConditionRankCount(2);
    element.SetConditionRank(1, 4);
    TMemoryStream stream;
    monsters.SaveToStream(stream);
    EXPECT_EQ(element.ConditionRankCount, 0);
}

TEST(MonsterRecord, HostileCountsAreBoundedByTheBytesPresent) {
    // Condition rank count 5 with two bytes, attribute rank count 2 with four bytes.
    TKelMonsterItem monster;
    Load(monster, Bytes({31, 1, 5, 32, 2, 0, 3, 33, 1, 2, 34, 4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(monster.ConditionRankCount, 2);
    EXPECT_EQ(monster.ConditionRank(2), 3);
    EXPECT_EQ(monster.ConditionRank(3), 1);
    EXPECT_EQ(monster.AttributeRankCount, 2);
    EXPECT_EQ(monster.AttributeRanks.size(), 2u);
    // A monster whose file holds an empty action list keeps it empty.
    Load(monster, Bytes({42, 1, 0, 0}));
    EXPECT_EQ(monster.Actions.Count(), 0);

    // An action list claiming a huge count is refused before any element is made.
    TKelMonsterItem target;
    EXPECT_THROW(Load(target, Bytes({42, 6, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0})), EReadError);
    EXPECT_EQ(target.Actions.Count(), 0);
}

// --- troops ---

TEST(TroopRecord, TerrainsDefaultToMetEverywhereAndAreNotTrimmed) {
    TKelMonGroupItem troop;
    for (int id = 0; id <= 5; ++id)
        EXPECT_EQ(troop.Terrain(id), 1);
    troop.SetTerrainCount(3);
    EXPECT_EQ(Hex(Chunk(Save(troop), 5)), "01 01 01");
    troop.SetTerrain(2, 0);
    troop.SetTerrain(4, 0);  // outside: ignored
    EXPECT_EQ(troop.Terrain(2), 0);
    EXPECT_EQ(troop.Terrain(4), 1);
    TKelMonGroupItem loaded;
    Load(loaded, Save(troop));
    EXPECT_EQ(loaded.TerrainCount, 3);
    EXPECT_EQ(loaded.Terrain(2), 0);
    // Count and block out of step in the file.
    Load(loaded, Bytes({4, 1, 9, 5, 1, 0, 0}));
    EXPECT_EQ(loaded.TerrainCount, 1);
    EXPECT_EQ(loaded.Terrain(1), 0);
    EXPECT_EQ(loaded.Terrain(2), 1);
}

TEST(TroopRecord, BattlePageCopiesCarryTheirTrigger) {
    TMemoryClipboard board;
    IClipboard* previous = SetClipboard(&board);
    TKelBattleEventPageItem page;
    page.Trigger.Flags = TKelBattleEventTrigger::btTurn;
    page.Trigger.TurnA = 3;
    page.Script.Clear();
    AddLine(page.Script, 10110, 0, "Turn 3", {});
    AddLine(page.Script, 0, 0, "", {});
    page.CopyToClipboard(TKelBattleEventPageItem::kClipboardFormat);
    TKelBattleEventPageItem pasted;
    EXPECT_TRUE(pasted.PasteFromClipboard(TKelBattleEventPageItem::kClipboardFormat));
    SetClipboard(previous);
    EXPECT_EQ(pasted.Trigger.Flags, TKelBattleEventTrigger::btTurn);
    EXPECT_EQ(pasted.Trigger.TurnA, 3);
    ASSERT_EQ(pasted.Script.Count(), 2);
    EXPECT_EQ(pasted.Script.Lines(0)->Text, "Turn 3");

    // Reset puts trigger and script back.
    pasted.Reset();
    EXPECT_EQ(pasted.Trigger.Flags, 0);
    EXPECT_EQ(pasted.Trigger.ExhaustionMax, 100);
    EXPECT_EQ(pasted.ScriptSize, 4);
    ASSERT_EQ(pasted.Script.Count(), 1);
    EXPECT_EQ(pasted.Script.Lines(0)->Code, 0);
}

// --- terrains, attributes, conditions ---

TEST(ConditionRecord, TheIncapacitationConditionHasItsOwnResetValues) {
    TKelStatus conditions;
    conditions.Clear();
    const TKelStatusItem& first = conditions.Obtain(1);
    const TKelStatusItem& second = conditions.Obtain(2);
    EXPECT_EQ(first.Restriction, TKelStatusItem::slCannotAct);
    EXPECT_EQ(first.Priority, 100);
    EXPECT_EQ(first.Color, 5);
    EXPECT_EQ(first.Kind, TKelStatusItem::skMovement);
    EXPECT_EQ(second.Restriction, TKelStatusItem::slNone);
    EXPECT_EQ(second.Priority, 50);
    EXPECT_EQ(second.Color, 6);
    EXPECT_EQ(second.Kind, TKelStatusItem::skCombat);
    EXPECT_EQ(Hex(Save(conditions)), "02 01 02 01 01 03 01 05 04 01 64 05 01 01 00 02 02 01 00 05 01 00 00");

    // Colour 6 equals the save default: it is left out and reads back as condition 1's reset
    // value 5.
    TKelStatusItem& incapacitation = conditions.Obtain(1);
    incapacitation.Color = 6;
    TMemoryStream stream;
    conditions.SaveToStream(stream);
    stream.SetPosition(0);
    TKelStatus loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.FindByID(1)->Color, 5);
    EXPECT_EQ(loaded.FindByID(2)->Color, 6);

    // Renumbering does not reset: the former condition 2 keeps its values as number 1.
    conditions.DeleteAndRenumber(1);
    EXPECT_EQ(conditions.FindByID(1)->Priority, 50);
}

TEST(ConditionRecord, IncapacitationMessagesAreDroppedOnLoad) {
    TKelStatusItem source;
    source.SetID(2);
    source.AllyMessage = "falls";
    source.EnemyMessage = "is defeated";
    source.AlreadyMessage = "already down";
    source.AffectedMessage = "is down";
    source.RecoveryMessage = "gets up";
    const std::string bytes = Save(source);

    TKelStatus conditions;
    conditions.Clear();
    TKelStatusItem& first = conditions.Obtain(1);
    TKelStatusItem& second = conditions.Obtain(2);
    Load(first, bytes);
    Load(second, bytes);
    EXPECT_EQ(first.AllyMessage, "falls");
    EXPECT_EQ(first.RecoveryMessage, "gets up");
    EXPECT_TRUE(first.AlreadyMessage.empty());
    EXPECT_TRUE(first.AffectedMessage.empty());
    EXPECT_EQ(second.AlreadyMessage, "already down");
    EXPECT_EQ(second.AffectedMessage, "is down");
    // Loaded as element 1 of a list too.
    const std::string list = Bytes({1, 1}) + bytes;
    TByteViewStream stream(list);
    conditions.LoadFromStream(stream);
    EXPECT_TRUE(conditions.FindByID(1)->AlreadyMessage.empty());
    EXPECT_EQ(conditions.FindByID(1)->EnemyMessage, "is defeated");
}

TEST(MonsterTroopRecords, EveryFieldRoundTripsAndDamageIsContained) {
    TKelMonsterItem monster;
    monster.SetID(4);
    FillNonDefault(monster);
    ExpectFullRoundTrip(monster);
    ExpectDamageContained(monster);
    ExpectFullRoundTrip(*monster.Actions.Items(1));
    TKelMonsterItem copy;
    copy.Assign(monster);
    ASSERT_EQ(copy.Actions.Count(), 2);
    EXPECT_EQ(copy.Actions.Items(1)->ID, 3);
    EXPECT_EQ(Hex(Save(copy)), Hex(Save(monster)));

    TKelMonGroupItem troop;
    troop.SetID(12);
    FillNonDefault(troop);
    ExpectFullRoundTrip(troop);
    ExpectDamageContained(troop);
    TKelMonGroupItem loaded;
    Load(loaded, Save(troop));
    ASSERT_EQ(loaded.Pages.Count(), 2);
    TKelBattleEventPageItem& page = *loaded.Pages.Items(1);
    EXPECT_EQ(page.Trigger.Flags, troop.Pages.Items(1)->Trigger.Flags);
    ASSERT_EQ(page.Script.Count(), 3);
    EXPECT_EQ(page.Script.Lines(1)->Param(0), -5);
    ExpectFullRoundTrip(page.Trigger);

    TKelGroundItem ground;
    ground.SetID(2);
    FillNonDefault(ground);
    ExpectFullRoundTrip(ground);
    TKelAttribItem attrib;
    FillNonDefault(attrib);
    ExpectFullRoundTrip(attrib);
    // Condition 2: condition 1 would lose two of its messages on load.
    TKelStatusItem status;
    status.SetID(2);
    FillNonDefault(status);
    ExpectFullRoundTrip(status);
    ExpectDamageContained(status);
}

// Every database list of heroes to conditions, with gaps in its IDs, survives a save and a load.
template <class L>
void ExpectListRoundTrip() {
    L list;
    list.Clear();
    for (const std::int32_t id : {2, 3, 7})
        FillNonDefault(list.Obtain(id));
    const std::string first = Save(list);
    L loaded;
    Load(loaded, first);
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.Items(2)->ID, 7);
    EXPECT_EQ(Hex(Save(loaded)), Hex(first));
}

TEST(DataBaseSections, ListsRoundTrip) {
    ExpectListRoundTrip<TKelPlayer>();
    ExpectListRoundTrip<TKelSkill>();
    ExpectListRoundTrip<TKelItem>();
    ExpectListRoundTrip<TKelMonster>();
    ExpectListRoundTrip<TKelMonGroup>();
    ExpectListRoundTrip<TKelGround>();
    ExpectListRoundTrip<TKelAttrib>();
    ExpectListRoundTrip<TKelStatus>();
}

// --- look-ups ---

TEST(MonsterTroopLists, LookUpsRaiseTheirMessageUntilTheEditorRuns) {
    static_assert(!HasItemById<TKelGround>, "terrains are looked up by index only");
    static_assert(!HasItemById<TKelAttrib>, "attributes are looked up by index only");
    static_assert(HasItemById<TKelMonster> && HasItemById<TKelMonGroup> && HasItemById<TKelStatus>);

    TKelMonster monsters;
    TKelMonGroup troops;
    TKelGround grounds;
    TKelAttrib attribs;
    TKelStatus conditions;
    {
        TEditorModeScope scope(false);
        const std::vector<std::pair<std::function<void()>, std::string>> cases = {
            {[&] { monsters.ItemById(1); }, "Invalid Enemy Chara"},
            {[&] { troops.ItemAt(0); }, "Invalid Monsters Group"},
            {[&] { grounds.ItemAt(0); }, "Invalid Terrain Designed"},
            {[&] { attribs.ItemAt(0); }, "An invalid attribute was specified"},
            {[&] { conditions.ItemById(1); }, "Invalid Condition State"},
        };
        for (const auto& [lookUp, message] : cases) {
            try {
                lookUp();
                ADD_FAILURE() << "no error for " << message;
            } catch (const ELookupError& error) {
                EXPECT_EQ(std::string(error.what()), message);
            }
        }
        conditions.Obtain(1);
        EXPECT_EQ(conditions.ItemById(1)->Priority, 100);
    }
    TEditorModeScope scope(true);
    EXPECT_EQ(monsters.ItemById(1), nullptr);
    EXPECT_EQ(grounds.ItemAt(3), nullptr);
}
