// The converter's look-ups, its context rules and its safety on damaged lines.
#include "EventScriptTestFixture.h"

#include "events/EventCommands.h"

#include <climits>
#include <random>

namespace quillon::test {
namespace {

using EventScriptLookUps = EventScriptWorld;

TEST_F(EventScriptLookUps, AbsentIdsAreQuestionMarksWithEditorModeOff) {
    ASSERT_FALSE(EditorMode());
    // The lists themselves would raise for these IDs; the converter never does.
    EXPECT_THROW(db.Switch.ItemById(77), ELookupError);
    EXPECT_THROW(tree.ItemById(99), ELookupError);
    EXPECT_THROW(map.Events.ItemById(9), ELookupError);

    EXPECT_EQ(conv.SwitchName(77), "?");
    EXPECT_EQ(conv.SwitchName(1), "0001:Door");
    EXPECT_EQ(conv.SwitchName(2), "0002");
    EXPECT_EQ(conv.VariableName(1), "0001:Gold");
    EXPECT_EQ(conv.VariableName(0), "?");
    EXPECT_EQ(conv.HeroName(2), "Brian");
    EXPECT_EQ(conv.HeroName(3), "");  // a record with an empty name renders empty
    EXPECT_EQ(conv.HeroName(-1), "?");
    EXPECT_EQ(conv.SkillName(1), "Heal");
    EXPECT_EQ(conv.ItemName(3), "?");
    EXPECT_EQ(conv.TroopName(1), "Slimes");
    EXPECT_EQ(conv.ConditionName(1), "Poison");
    EXPECT_EQ(conv.AnimationName(1), "Slash");
    EXPECT_EQ(conv.ChipSetName(1), "World");
    EXPECT_EQ(conv.CommonEventName(1), "Shop");
    EXPECT_EQ(conv.MonsterName(1), "Slime");
    EXPECT_EQ(conv.MapName(1), "Town");
    EXPECT_EQ(conv.MapName(3), "Forest");
    EXPECT_EQ(conv.MapName(2), "");
    EXPECT_EQ(conv.MapName(0), "?");  // the root is not a map
    EXPECT_EQ(conv.MapName(-1), "?");
    EXPECT_EQ(conv.MapName(99), "?");
    EXPECT_EQ(conv.CharacterName(9), "?");

    // Also with the editor running.
    TEditorModeScope on(true);
    EXPECT_EQ(conv.SwitchName(77), "?");
    EXPECT_EQ(conv.MapName(99), "?");
}

TEST_F(EventScriptLookUps, WithoutContextEverythingIsUnknown) {
    TEventScriptConverter bare;
    EXPECT_EQ(bare.SwitchName(1), "?");
    EXPECT_EQ(bare.VariableName(1), "?");
    EXPECT_EQ(bare.HeroName(1), "?");
    EXPECT_EQ(bare.MonsterName(1), "?");
    EXPECT_EQ(bare.MapName(1), "?");
    EXPECT_EQ(bare.CharacterName(1), "?");
    EXPECT_EQ(bare.CharacterName(10005), "This Event ");
    EXPECT_EQ(bare.EnemyName(0), "1:?");
    EXPECT_EQ(bare.EnemyName(-7), " Whole Group ");
    EXPECT_EQ(bare.RenderLine(MakeLine(10150, {3, 1})), "<>Input Number: Digits=3 Var[?]");
    EXPECT_EQ(bare.RenderLine(MakeLine(12010, {0, 1, 0})), "<>If Switch(?) is ON");
    EXPECT_EQ(bare.RenderLine(MakeLine(10810, {1, 2, 3})), "<>Teleport: 0001:? (002,003)");
}

TEST_F(EventScriptLookUps, CharactersAndTheEditedEvent) {
    EXPECT_EQ(conv.CharacterName(10001), "Hero ");
    EXPECT_EQ(conv.CharacterName(10002), "Boat ");
    EXPECT_EQ(conv.CharacterName(10003), "Ship ");
    EXPECT_EQ(conv.CharacterName(10004), "Airship ");
    EXPECT_EQ(conv.CharacterName(10005), "This Event ");
    EXPECT_EQ(conv.CharacterName(10006), "?");
    EXPECT_EQ(conv.CharacterName(1), "Door");
    // The edited event shows the name being typed, not the map's copy.
    EXPECT_EQ(conv.CharacterName(2), "Guard (edited)");

    // Without a map the edited event is still named; the others are not.
    conv.Map = nullptr;
    EXPECT_EQ(conv.CharacterName(2), "Guard (edited)");
    EXPECT_EQ(conv.CharacterName(1), "?");
    EXPECT_EQ(conv.CharacterName(10005), "This Event ");

    // Common events and troop pages: EventId 0 and no record; event IDs come from the map.
    conv.Map = &map;
    conv.EventId = 0;
    conv.EventItem = nullptr;
    EXPECT_EQ(conv.CharacterName(2), "Guard");
    EXPECT_EQ(conv.CharacterName(0), "?");
}

TEST_F(EventScriptLookUps, EnemiesArePositionsInTheTroop) {
    EXPECT_EQ(conv.EnemyName(0), "1:Slime");
    EXPECT_EQ(conv.EnemyName(1), "2:?");  // member present, monster missing
    EXPECT_EQ(conv.EnemyName(2), "3:?");  // beyond the members
    EXPECT_EQ(conv.EnemyName(-1), " Whole Group ");
    EXPECT_EQ(conv.EnemyName(INT_MIN), " Whole Group ");
    EXPECT_EQ(conv.EnemyName(INT_MAX), "-2147483648:?");
    // Members are taken by position, not by ID.
    troop.Members.Delete(1);
    EXPECT_EQ(conv.EnemyName(0), "1:?");
    db.Monster.Obtain(99).Name = "Bat";
    EXPECT_EQ(conv.EnemyName(0), "1:Bat");
    conv.DataBase = nullptr;
    EXPECT_EQ(conv.EnemyName(0), "1:?");
}

TEST_F(EventScriptLookUps, NamesAreCopiedAsBytes) {
    const std::string hostile("%s%n%d\0x", 8);
    db.Player.Obtain(1).Name = hostile;
    db.Variable.Obtain(1).Name = hostile;
    map.Events.Obtain(1).Name = "\x84\x81";
    EXPECT_EQ(conv.RenderLine(MakeLine(10740, {1})), "<>Enter Hero Name: " + hostile);
    EXPECT_EQ(conv.RenderLine(MakeLine(11610, {1})), "<>Enter Password: Var[0001:" + hostile + "]");
    EXPECT_EQ(conv.RenderLine(MakeLine(10870, {1, 1})), "<>Swap Events: \x84\x81 \x84\x81");
}

TEST(EventScriptTransitions, NamesAsStored) {
    const std::string erase13 = TEventScriptConverter::EraseTransitionName(13);
    EXPECT_EQ(erase13.size(), 10u);
    EXPECT_EQ(erase13, "Hi-LowDiv\x84");
    EXPECT_STREQ(TEventScriptConverter::EraseTransitionName(0), "Fade-Out      ");
    EXPECT_STREQ(TEventScriptConverter::EraseTransitionName(20), "Leave     ");
    EXPECT_STREQ(TEventScriptConverter::EraseTransitionName(-1), "CreatMovePlace");
    EXPECT_EQ(TEventScriptConverter::EraseTransitionName(21), nullptr);
    EXPECT_EQ(TEventScriptConverter::EraseTransitionName(-2), nullptr);
    EXPECT_EQ(TEventScriptConverter::EraseTransitionName(INT_MIN), nullptr);
    EXPECT_STREQ(TEventScriptConverter::ShowTransitionName(0), "Fade-in     ");
    EXPECT_STREQ(TEventScriptConverter::ShowTransitionName(12), "Empty LeftScroll");
    EXPECT_STREQ(TEventScriptConverter::ShowTransitionName(19), "Instant ");
    EXPECT_STREQ(TEventScriptConverter::ShowTransitionName(-1), "Set Move Place");
    EXPECT_EQ(TEventScriptConverter::ShowTransitionName(20), nullptr);
    EXPECT_EQ(TEventScriptConverter::ShowTransitionName(-2), nullptr);
}

TEST(EventScriptCorruptText, IsTheCodePageText) {
    // "◆データが壊れています" in code page 932.
    EXPECT_EQ(std::string(kCorruptScriptLineText),
              "\x81\x9F\x83\x66\x81\x5B\x83\x5E\x82\xAA\x89\xF3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7");
}

TEST_F(EventScriptLookUps, RenderScriptRendersEveryLineSafely) {
    TKelEventScriptList script;
    script.Add(std::make_unique<TKelEventScriptLine>(MakeLine(12010, {0, 1, 0, 0, 0, 0})));
    script.Add(std::make_unique<TKelEventScriptLine>(MakeLine(11330, {1, 0, 0, 0, 35}, "", 1)));
    script.Add(std::make_unique<TKelEventScriptLine>(MakeLine(10, {}, "", 1)));
    script.Add(std::make_unique<TKelEventScriptLine>(MakeLine(22011)));
    script.Add(std::make_unique<TKelEventScriptLine>(MakeLine(0)));
    const std::vector<std::string> expected{"<>If Switch(0001:Door) is ON", kCorrupt, "  <>", ":End Case", "<>"};
    EXPECT_EQ(RenderScript(conv, script), expected);
}

// Hostile lines: any code, any parameters, any text and indent. Rendering safely never raises;
// the only lines that cannot be rendered are a route cut short or an absurd indent, and every
// other line is its indentation followed by its catalogued prefix (or "Do Nothing").
TEST_F(EventScriptLookUps, HostileLinesRenderSafely) {
    std::mt19937 random(20260);
    const auto catalogue = EventCommandCatalogue();
    const std::int32_t extremes[] = {0, 1, -1, 2, 4, 5, 13, 19, 20, 21, 10001, 10005, 127, 128, 255, 256,
                                     INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 1000, 1001};
    auto value = [&]() -> std::int32_t {
        switch (random() % 4) {
        case 0: return extremes[random() % std::size(extremes)];
        case 1: return static_cast<std::int32_t>(random());
        default: return static_cast<std::int32_t>(random() % 12) - 2;
        }
    };
    TEventScriptConverter bare;  // no context at all
    int corrupt = 0;
    for (int round = 0; round < 20000; ++round) {
        TKelEventScriptLine line;
        line.Code = random() % 8 == 0 ? value() : catalogue[random() % catalogue.size()].Code;
        line.Indent = random() % 10 == 0 ? value() : static_cast<std::int32_t>(random() % 6);
        line.SetParamCount(static_cast<int>(random() % 24));
        for (int i = 0; i < line.ParamCount(); ++i)
            line.SetParam(i, line.Code == 11330 && i >= 4 && random() % 2 ? static_cast<std::int32_t>(random() % 64)
                                                                          : value());
        const std::size_t textSize = random() % 12;
        for (std::size_t i = 0; i < textSize; ++i)
            line.Text.push_back(static_cast<char>(random() % 256));
        for (const TEventScriptConverter* converter : {&conv, &bare}) {
            std::string text;
            ASSERT_NO_THROW(text = converter->RenderSafely(line)) << line.Code;
            if (text == kCorrupt) {
                ++corrupt;
                EXPECT_TRUE(line.Code == 11330 || line.Indent > kMaxRenderedIndent)
                    << "code " << line.Code << " indent " << line.Indent;
                continue;
            }
            ASSERT_LE(line.Indent, kMaxRenderedIndent);
            const std::size_t blanks = line.Indent > 0 ? static_cast<std::size_t>(line.Indent) * 2 : 0;
            ASSERT_GE(text.size(), blanks);
            EXPECT_EQ(text.find_first_not_of(' '), blanks) << line.Code;
            const TEventCommandInfo* info = FindEventCommand(line.Code);
            const std::string prefix =
                info == nullptr ? kDoNothingText : (line.Code == 20140 ? (line.Param(0) == 4 ? ":Cancel Case" : ":[")
                                                                       : info->Prefix);
            EXPECT_EQ(text.compare(blanks, prefix.size(), prefix), 0) << line.Code << ": " << text;
        }
    }
    EXPECT_GT(corrupt, 0);  // the generator does reach damaged routes and indents
}

}  // namespace
}  // namespace quillon::test
