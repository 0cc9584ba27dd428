#include "data/EditorMode.h"
#include "data/LD_Animation.h"
#include "data/LD_Attrib.h"
#include "data/LD_ChipSet.h"
#include "data/LD_CmnEvent.h"
#include "data/LD_Event.h"
#include "data/LD_Ground.h"
#include "data/LD_Item.h"
#include "data/LD_MapTree.h"
#include "data/LD_MonGroup.h"
#include "data/LD_Monster.h"
#include "data/LD_MoveRoute.h"
#include "data/LD_Player.h"
#include "data/LD_Skill.h"
#include "data/LD_Status.h"
#include "data/LD_Switch.h"
#include "data/LD_Variable.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <typeinfo>

using namespace quillon;
using testkit::Hex;
using testkit::Load;
using testkit::Save;

namespace {



TKelEventScriptLine& AddLine(TKelEventScriptList& script, int code, int indent, const std::string& text = {},
                             std::initializer_list<int> params = {}) {
    TKelEventScriptLine& line = script.Add();
    line.Code = code;
    line.Indent = indent;
    line.Text = text;
    line.SetParamCount(static_cast<int>(params.size()));
    int i = 0;
    for (const int p : params)
        line.SetParam(i++, p);
    return line;
}

std::string Indents(const TKelEventScriptList& script) {
    std::string out;
    for (int i = 0; i < script.Count(); ++i)
        out += (i ? "," : "") + std::to_string(script.Lines(i)->Code) + "/" + std::to_string(script.Lines(i)->Indent);
    return out;
}

}  // namespace

TEST(EventScript, EncodingOfLines) {
    TKelEventScriptList script;
    AddLine(script, 10110, 1, "Hi", {-1, 200});
    AddLine(script, 0, 0);
    TMemoryStream s;
    script.SaveToStream(s);
    // 10110 = CE 7E; indent 1; "Hi"; 2 params: -1 (five bytes), 200 = 81 48; closing line.
    EXPECT_EQ(Hex(s.Bytes()), "CE 7E 01 02 48 69 02 8F FF FF FF 7F 81 48 00 00 00 00");
    s.SetPosition(0);
    TKelEventScriptList back;
    back.LoadFromStream(s);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(*back.Lines(0), *script.Lines(0));
    EXPECT_EQ(back.Lines(0)->Param(0), -1);
}

TEST(EventScript, ParametersOutOfRangeReadZeroAndIgnoreWrites) {
    TKelEventScriptLine line;
    line.SetParamCount(2);
    line.SetParam(1, 9);
    line.SetParam(2, 5);
    EXPECT_EQ(line.ParamCount(), 2);
    EXPECT_EQ(line.Param(1), 9);
    EXPECT_EQ(line.Param(2), 0);
    EXPECT_EQ(line.Param(-1), 0);
    line.SetParamCount(3);
    EXPECT_EQ(line.Param(2), 0);
}

TEST(EventScript, PasteRebasesIndents) {
    TKelEventScriptList target;
    AddLine(target, 1, 0);
    AddLine(target, 2, 1);
    AddLine(target, 3, 1);
    AddLine(target, 0, 0);
    TKelEventScriptList block;
    AddLine(block, 7, 2);
    AddLine(block, 8, 3);
    AddLine(block, 9, 2);
    // In front of a line of indent 1, first line indent 2, no extra depth: shift by -1.
    target.InsertScript(2, block, 0);
    EXPECT_EQ(Indents(target), "1/0,2/1,7/1,8/2,9/1,3/1,0/0");
    // Past the end: based on the last line; extra depth added.
    target.InsertScript(100, block, 1);
    EXPECT_EQ(Indents(target), "1/0,2/1,7/1,8/2,9/1,3/1,0/0,7/1,8/2,9/1");
    // Into an empty script, and a script into itself.
    TKelEventScriptList empty;
    empty.InsertScript(0, block, 0);
    EXPECT_EQ(Indents(empty), "7/0,8/1,9/0");
    empty.InsertScript(1, empty, 0);
    EXPECT_EQ(Indents(empty), "7/0,7/1,8/2,9/1,8/1,9/0");
}

TEST(EventScript, HostileCountsAreRefused) {
    // A line claiming 2^31 parameters in a few bytes.
    TMemoryStream s(std::string("\x01\x00\x00\x87\xFF\xFF\xFF\x7F\x01", 9));
    TKelEventScriptList script;
    EXPECT_THROW(script.LoadFromStream(s), EReadError);
    EXPECT_EQ(script.Count(), 0);
}

// A script taken as its encoding answers as if its lines had been read: the same lines, the same
// bytes on save, also when the lines are made afterwards; damage and numbers written in more
// bytes than needed are settled when it is taken.
TEST(EventScript, TakenEncodingReadsAsTheLinesItHolds) {
    const std::string sound = testkit::Bytes({0xCE, 0x7E, 0x01, 0x02, 'H', 'i', 0x01, 0x81, 0x48, 0x00, 0x00, 0x00, 0x00});
    struct TCase {
        const char* Name;
        std::string Bytes;
        bool Whole;
        const char* Lines;  // code/indent of each line
        std::string Saved;
    } cases[] = {
        {"sound", sound, true, "10110/1,0/0", sound},
        {"empty", "", true, "", ""},
        {"cut in the closing line", sound.substr(0, sound.size() - 2), false, "10110/1,0/0", sound},
        {"cut in the first line", sound.substr(0, 5), false, "0/0", testkit::Bytes({0, 0, 0, 0})},
        {"cut after a closing line", sound + "\x01", false, "10110/1,0/0", sound},
        {"numbers in more bytes than needed", testkit::Bytes({0x80, 0x05, 0x00, 0x00, 0x01, 0x80, 0x80, 0x07}),
         true, "5/0", testkit::Bytes({0x05, 0x00, 0x00, 0x01, 0x07})},
        {"long numbers, then cut", testkit::Bytes({0x80, 0x05, 0x00, 0x00, 0x00, 0x09}), false, "5/0,0/0",
         testkit::Bytes({0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TKelEventScriptList script;
        EXPECT_EQ(script.LoadEncoding(TDynamicBuffer(c.Bytes.begin(), c.Bytes.end())), c.Whole);
        EXPECT_EQ(script.EncodedSize(), c.Saved.size());
        std::string visited;
        script.ForEachLine([&](int index, const TKelEventScriptLine& line) {
            visited += (index ? "," : "") + std::to_string(line.Code) + "/" + std::to_string(line.Indent);
        });
        EXPECT_EQ(visited, c.Lines);
        TMemoryStream unmade;
        script.SaveToStream(unmade);
        EXPECT_EQ(Hex(unmade.Bytes()), Hex(c.Saved));
        // A copy taken before the lines are made, then the lines themselves.
        TKelEventScriptList copy;
        copy.Assign(script);
        EXPECT_EQ(Indents(script), c.Lines);
        TMemoryStream made;
        script.SaveToStream(made);
        EXPECT_EQ(Hex(made.Bytes()), Hex(c.Saved));
        EXPECT_EQ(script.EncodedSize(), c.Saved.size());
        EXPECT_EQ(Indents(copy), c.Lines);
    }
    // Edits reach a taken script like any other.
    TKelEventScriptList script;
    script.LoadEncoding(TDynamicBuffer(sound.begin(), sound.end()));
    script.Insert(0, std::make_unique<TKelEventScriptLine>());
    script.Lines(0)->Code = 12010;
    script.Delete(2);
    EXPECT_EQ(Indents(script), "12010/0,10110/1");
    EXPECT_EQ(script.Lines(1)->Text, "Hi");
    EXPECT_EQ(script.Lines(1)->Param(0), 200);
}

// A loaded record holds its script as the bytes read: a resave writes them unchanged, and the
// lines that an editor asks for are the lines that were saved.
TEST(ScriptedRecord, LoadedScriptsSaveTheirBytesAndShowTheirLines) {
    TKelBattleEventPageItem page;
    page.Script.Clear();
    AddLine(page.Script, 10110, 0, "first", {1, -2});
    AddLine(page.Script, 12010, 1, {}, {7});
    AddLine(page.Script, 0, 0);
    const std::string bytes = Save(page);
    TKelBattleEventPageItem back;
    Load(back, bytes);
    EXPECT_EQ(Hex(Save(back)), Hex(bytes));
    EXPECT_EQ(back.ScriptSize, page.ScriptSize);
    EXPECT_EQ(Indents(back.Script), "10110/0,12010/1,0/0");
    EXPECT_EQ(back.Script.Lines(0)->Param(1), -2);
    EXPECT_EQ(Hex(Save(back)), Hex(bytes));
    // A record copied before its lines were made.
    TKelBattleEventPageItem copy;
    Load(back, bytes);
    copy.Assign(back);
    EXPECT_EQ(Hex(Save(copy)), Hex(bytes));
    EXPECT_EQ(copy.Script.Lines(1)->Param(0), 7);
}

TEST(ScriptedRecord, FreshRecordHoldsTheClosingLine) {
    TKelCommonEventItem item;
    ASSERT_EQ(item.Script.Count(), 1);
    EXPECT_EQ(item.Script.Lines(0)->Code, 0);
    // Name empty, trigger 5 (always written), script size 4 (default 0), four zero bytes.
    EXPECT_EQ(Hex(Save(item)), "0B 01 05 15 01 04 16 04 00 00 00 00 00");
}

TEST(ScriptedRecord, ScriptIsPackedBeforeSaveAndParsedAfterLoad) {
    TKelCommonEventItem item;
    item.Name = "Heal";
    item.Script.Clear();
    AddLine(item.Script, 10110, 0, "text", {1, 2});
    AddLine(item.Script, 0, 0);
    const std::string bytes = Save(item);
    EXPECT_EQ(item.ScriptSize, static_cast<int>(item.ScriptData.size()));
    TKelCommonEventItem back;
    Load(back, bytes);
    ASSERT_EQ(back.Script.Count(), 2);
    EXPECT_EQ(back.Script.Lines(0)->Text, "text");
    EXPECT_FALSE(back.ScriptDamaged());
    EXPECT_EQ(Save(back), bytes);
}

TEST(ScriptedRecord, SizeFieldAndBufferThatDisagreeAreBoundedByTheBytesPresent) {
    // Size says 100, buffer holds 4 bytes.
    const std::string bytes("\x15\x01\x64" "\x16\x04\x00\x00\x00\x00" "\x00", 10);
    TKelCommonEventItem item;
    Load(item, bytes);
    EXPECT_EQ(item.Script.Count(), 1);
    EXPECT_EQ(item.ScriptSize, 4);
    // Size says 2 of a 4-byte buffer: only two bytes are parsed, which cut the line short.
    TKelCommonEventItem cut;
    Load(cut, std::string("\x15\x01\x02" "\x16\x04\x00\x00\x00\x00" "\x00", 10));
    EXPECT_TRUE(cut.ScriptDamaged());
}

TEST(ScriptedRecord, DamagedScriptKeepsTheSoundLinesAndTheRestOfTheRecord) {
    TKelCommonEventItem item;
    item.Name = "Door";
    item.SwitchId = 7;
    item.Script.Clear();
    AddLine(item.Script, 10110, 0, "one");
    AddLine(item.Script, 10120, 0, "two");
    AddLine(item.Script, 0, 0);
    item.PackScript();
    TDynamicBuffer data = item.ScriptData;
    data.resize(data.size() - 6);  // cut inside the second line
    item.ScriptData = data;
    item.ScriptSize = static_cast<int>(data.size());
    // Save without repacking: write the fields by hand through the engine.
    TMemoryStream s;
    item.TCatalogItem::SaveToStream(s);
    TKelCommonEventItem back;
    Load(back, s.Bytes());
    EXPECT_TRUE(back.ScriptDamaged());
    EXPECT_EQ(back.Name, "Door");
    EXPECT_EQ(back.SwitchId, 7);
    EXPECT_EQ(Indents(back.Script), "10110/0,0/0");
}

TEST(EventCondition, HeroIdIsWrittenUnlessZeroAndReadsBackAsOne) {
    TKelEventCondition c;
    EXPECT_EQ(Hex(Save(c)), "01 01 00 07 01 01 00");
    c.HeroId = 0;
    EXPECT_EQ(Hex(Save(c)), "01 01 00 00");
    TKelEventCondition back;
    back.HeroId = 5;
    Load(back, Save(c));
    EXPECT_EQ(back.HeroId, 1);
    c.SwitchAId = 1;
    c.ItemId = 4;
    c.Flags = TKelEventCondition::cfItem | TKelEventCondition::cfHero;
    EXPECT_EQ(Hex(Save(c)), "01 01 18 06 01 04 00");
}

TEST(MoveRoute, EncodingOfCommandsWithPayloads) {
    TKelMoveRoute route;
    TKelMoveRouteItem on;
    on.Code = mcSwitchOn;
    on.SwitchId = 5;
    route.Add(on);
    TKelMoveRouteItem wait;
    wait.Code = 23;
    route.Add(wait);
    const TDynamicBuffer packed = route.PackRoute();
    EXPECT_EQ(Hex(std::string(packed.begin(), packed.end())), "20 05 17");
    EXPECT_EQ(route.RouteSize, 3);

    TKelMoveRouteItem graphic;
    graphic.Code = mcChangeGraphic;
    graphic.GraphicName = "Hero";
    graphic.GraphicIndex = 3;
    TKelMoveRouteItem sound;
    sound.Code = mcPlaySound;
    sound.SoundName = "(OFF)";
    sound.SoundVolume = 100;
    sound.SoundTempo = 90;
    sound.SoundBalance = 50;
    route.Insert(0, graphic);
    route.Add(sound);
    route.Repeat = 0;
    route.Skippable = 1;
    const std::string bytes = Save(route);
    TKelMoveRoute back;
    Load(back, bytes);
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(back.ItemList(), route.ItemList());
    EXPECT_EQ(back.Repeat, 0);
    EXPECT_EQ(back.Skippable, 1);
    EXPECT_FALSE(back.RouteDamaged());
}

TEST(MoveRoute, NamesAndDamagedBuffers) {
    EXPECT_STREQ(MoveCommandName(0), "Up ");
    EXPECT_STREQ(MoveCommandName(18), "Turn Oposite Dir ");
    EXPECT_STREQ(MoveCommandName(41), "TranslucencyDown");
    EXPECT_EQ(MoveCommandName(42), nullptr);
    EXPECT_EQ(MoveCommandName(-1), nullptr);

    TKelMoveRoute route;
    const std::uint8_t cut[] = {0x17, 0x22, 0x08, 'a'};  // wait, then a graphic name cut short
    EXPECT_THROW(route.SetRoute(cut, sizeof cut), EReadError);
    EXPECT_EQ(route.Count(), 1);
    // Unknown codes carry no payload.
    const std::uint8_t unknown[] = {0x63, 0x01};
    route.SetRoute(unknown, sizeof unknown);
    EXPECT_EQ(route.Count(), 2);
}

TEST(EventPage, ResetStateAndRoundTrip) {
    TKelEventPageItem page;
    EXPECT_EQ(page.GraphicDirection, 2);
    EXPECT_EQ(page.GraphicPattern, 1);
    EXPECT_EQ(page.MoveFrequency, 3);
    EXPECT_EQ(page.MoveSpeed, 3);
    EXPECT_EQ(page.MoveRoute.Repeat, 1);
    ASSERT_EQ(page.Script.Count(), 1);
    EXPECT_EQ(*page.Script.Lines(0), TKelEventScriptLine{});  // the closing line alone
    EXPECT_EQ(page.ScriptData, std::vector<std::uint8_t>(4, 0));

    page.GraphicName = "Chara1";
    page.GraphicIndex = 4;
    page.Trigger = 3;
    page.MoveType = 6;
    page.Condition.Flags = 1;
    page.Condition.SwitchAId = 12;
    TKelMoveRouteItem up;
    page.MoveRoute.Add(up);
    page.Script.InsertScript(0, page.Script, 0);
    const std::string bytes = Save(page);
    TKelEventPageItem back;
    Load(back, bytes);
    EXPECT_EQ(back.GraphicName, "Chara1");
    EXPECT_EQ(back.Condition.SwitchAId, 12);
    EXPECT_EQ(back.MoveRoute.Count(), 1);
    EXPECT_EQ(back.Script.Count(), 2);
    EXPECT_EQ(Save(back), bytes);
}

// The clipboard blocks of one event or start mark (563) and of one move command (567): what is
// copied pastes back the same, and damaged blocks are refused whole.
TEST(EventClipboard, EventsAndStartMarksRoundTripAndDamageIsRefused) {
    TKelEventItem event;
    event.Name = "EV0007";
    event.X = 12;
    event.Y = 34;
    event.Pages.Obtain(2).GraphicName = "Chara2";
    const std::string block = EncodeEventClipboard(0, &event);
    const std::string record = Save(event);
    ASSERT_EQ(block.size(), 4 + 1 + record.size());
    EXPECT_EQ(Hex(block.substr(0, 5)), Hex(testkit::Bytes({static_cast<int>(record.size() + 1), 0, 0, 0, 0})));
    const std::optional<TEventClipboard> back = DecodeEventClipboard(block);
    ASSERT_TRUE(back && back->Event);
    EXPECT_EQ(back->Tag, 0);
    EXPECT_EQ(Save(*back->Event), record);
    EXPECT_EQ(back->Event->Pages.Count(), 2);
    // Global memory is rounded up: bytes past the count are not part of the block.
    EXPECT_TRUE(DecodeEventClipboard(block + std::string(12, '\xEE')));

    // A start mark is its tag alone; the event given with it is not written.
    const std::string mark = EncodeEventClipboard(60001, &event);
    EXPECT_EQ(Hex(mark), "03 00 00 00 83 D4 61");
    const std::optional<TEventClipboard> start = DecodeEventClipboard(EncodeEventClipboard(60004, nullptr));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->Tag, 60004);
    EXPECT_FALSE(start->Event);

    // Tags that name nothing, counts past the end or negative, an event cut short.
    for (const std::int32_t tag : {1, 60000, 60005, -1}) {
        TMemoryStream payload;
        WriteVarInt(payload, tag);
        EXPECT_FALSE(DecodeEventClipboard(MakeCountedClipboardBlock(payload.Bytes()))) << tag;
    }
    EXPECT_FALSE(DecodeEventClipboard(std::string("\x03\x00\x00", 3)));
    EXPECT_FALSE(DecodeEventClipboard(testkit::Bytes({4, 0, 0, 0, 0x83, 0xD4, 0x61})));
    EXPECT_FALSE(DecodeEventClipboard(testkit::Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0})));
    EXPECT_FALSE(DecodeEventClipboard(MakeCountedClipboardBlock(std::string_view(block).substr(4, block.size() - 6))));
    EXPECT_FALSE(DecodeEventClipboard(MakeCountedClipboardBlock("")));
}

TEST(EventClipboard, MoveCommandsRoundTripAndOnlyTheFirstIsTaken) {
    TKelMoveRouteItem sound;
    sound.Code = mcPlaySound;
    sound.SoundName = "Door";
    sound.SoundVolume = 80;
    sound.SoundTempo = 100;
    sound.SoundBalance = 50;
    const std::string block = EncodeMoveCommandClipboard(sound);
    EXPECT_EQ(Hex(block.substr(0, 6)), "09 00 00 00 23 04");
    EXPECT_EQ(DecodeMoveCommandClipboard(block), sound);

    TKelMoveRouteItem up;
    up.Code = 0;
    EXPECT_EQ(Hex(EncodeMoveCommandClipboard(up)), "01 00 00 00 00");
    // A second command, even one cut short, does not spoil the first.
    EXPECT_EQ(DecodeMoveCommandClipboard(testkit::Bytes({3, 0, 0, 0, 0x17, 0x20, 0x85})), std::optional<TKelMoveRouteItem>([] {
                  TKelMoveRouteItem wait;
                  wait.Code = 23;
                  return wait;
              }()));
    // Nothing, a first command cut short, a code that is no move command, a count past the end.
    EXPECT_FALSE(DecodeMoveCommandClipboard(MakeCountedClipboardBlock("")));
    EXPECT_FALSE(DecodeMoveCommandClipboard(std::string_view(block).substr(0, block.size() - 1)));
    std::string cut = block.substr(0, block.size() - 1);
    cut[0] = static_cast<char>(cut.size() - 4);
    EXPECT_FALSE(DecodeMoveCommandClipboard(cut));
    EXPECT_FALSE(DecodeMoveCommandClipboard(testkit::Bytes({1, 0, 0, 0, mcLastCode + 1})));
    EXPECT_TRUE(DecodeMoveCommandClipboard(testkit::Bytes({1, 0, 0, 0, mcLastCode})));
}

TEST(Event, NewEventHasOnePageAndLookUpsFollowEditorMode) {
    TKelEvent events;
    TKelEventItem& event = events.Obtain(3);
    ASSERT_EQ(event.Pages.Count(), 1);
    EXPECT_EQ(event.Pages.Items(0)->ID, 1);
    event.Name = "EV0003";
    event.X = 10;
    event.Y = 7;
    event.Pages.Obtain(2).Trigger = 1;
    TKelEvent back;
    Load(back, Save(events));
    ASSERT_NE(back.ItemById(3), nullptr);
    EXPECT_EQ(back.ItemById(3)->Pages.ItemById(2)->Trigger, 1);
    EXPECT_EQ(Save(back), Save(events));

    try {
        back.ItemById(4);
        FAIL();
    } catch (const ELookupError& e) {
        EXPECT_STREQ(e.what(), "An invalid event was specified");
    }
    try {
        back.ItemById(3)->Pages.ItemById(9);
        FAIL();
    } catch (const ELookupError& e) {
        EXPECT_STREQ(e.what(), "Invalid Event Page Designed");
    }
    TEditorModeScope editor(true);
    EXPECT_EQ(back.ItemById(4), nullptr);
    EXPECT_EQ(back.ItemById(3)->Pages.ItemAt(5), nullptr);
}

TEST(FieldTables, NoFieldBeyondTheDeclaredLastNumber) {
    // Records that stop the save walk early must describe nothing beyond where they stop.
    TKelEventCondition condition;
    TKelEventPageItem page;
    TKelEventItem event;
    TKelMoveRoute route;
    TKelCommonEventItem common;
    TKelAnimationTimingItem timing;
    TKelAnimationCellItem cell;
    TKelAnimationPatternItem frame;
    TKelAnimationItem animation;
    TKelAttribItem attribute;
    TKelChipSetItem chipset;
    TKelGroundItem terrain;
    TKelItemItem item;
    TKelEncountItem encounter;
    TKelMapTreeItem treeItem;
    TKelMonGroupMonsterItem member;
    TKelBattleEventTrigger trigger;
    TKelBattleEventPageItem battlePage;
    TKelMonGroupItem troop;
    TKelMonsterActItem action;
    TKelMonsterItem monster;
    TKelPlayerLearningItem learning;
    TKelPlayerItem hero;
    TKelSkillItem skill;
    TKelStatusItem status;
    TKelSwitchItem switchName;
    TKelVariableItem variableName;
    for (TCatalogBaseItem* record : std::initializer_list<TCatalogBaseItem*>{
             &condition, &page, &event, &route, &common, &timing, &cell, &frame, &animation, &attribute, &chipset,
             &terrain, &item, &encounter, &treeItem, &member, &trigger, &battlePage, &troop, &action, &monster,
             &learning, &hero, &skill, &status, &switchName, &variableName}) {
        ASSERT_LT(record->LastFieldNumber(), 999) << typeid(*record).name();
        for (const bool loading : {false, true}) {
            for (int n = record->LastFieldNumber() + 1; n <= 999; ++n) {
                TCatalogVarData d;
                record->DescribeField(n, d, loading);
                EXPECT_EQ(d.FieldType, ftNone) << typeid(*record).name() << " field " << n;
            }
            // The last number is a field, so that it is not set needlessly high either.
            TCatalogVarData d;
            record->DescribeField(record->LastFieldNumber(), d, loading);
            EXPECT_NE(d.FieldType, ftNone) << typeid(*record).name();
        }
    }
}
