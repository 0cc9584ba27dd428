// The text of every catalogued command code, with the options each one shows.
#include "EventScriptTestFixture.h"

#include "events/EventCommands.h"

#include <climits>
#include <set>

namespace quillon::test {
namespace {

using EventScriptText = EventScriptWorld;

TEST_F(EventScriptText, ClosingEmptyUnknownAndIndentation) {
    EXPECT_EQ(R(0), "<>");
    EXPECT_EQ(R(10, {}, "", 1), "  <>");
    EXPECT_EQ(R(10, {5, 6}, "ignored", 3), "      <>");
    EXPECT_EQ(R(0, {}, "", -4), "<>");  // a negative indent gets no blanks
    EXPECT_EQ(R(10, {}, "", 1000), std::string(2000, ' ') + "<>");
    EXPECT_EQ(R(5), "<>Do Nothing    ");
    EXPECT_EQ(R(-10110), "<>Do Nothing    ");
    EXPECT_EQ(R(20000, {1}, "x", 2), "    <>Do Nothing    ");
    EXPECT_EQ(R(29999), "<>Do Nothing    ");

    const TKelEventScriptLine deep = MakeLine(10110, {}, "deep", 1001);
    EXPECT_THROW(conv.RenderLine(deep), EScriptRenderError);
    EXPECT_EQ(conv.RenderSafely(deep), kCorrupt);
}

TEST_F(EventScriptText, CompanionLines) {
    EXPECT_EQ(R(20141), ":End Case");
    EXPECT_EQ(R(20710, {}, "", 1), "  :Victory Case");
    EXPECT_EQ(R(20711), ":Escape Case");
    EXPECT_EQ(R(20712), ":Defeat Case");
    EXPECT_EQ(R(20713), ":End Case");
    EXPECT_EQ(R(20720), ":Successful Case");
    EXPECT_EQ(R(20721), ":Unsuccessful Case");
    EXPECT_EQ(R(20722), ":End Case");
    EXPECT_EQ(R(20730), ":Rest Case");
    EXPECT_EQ(R(20731), ":Cancel Case");
    EXPECT_EQ(R(20732), ":End Case");
    EXPECT_EQ(R(22010), ":Else Case");
    EXPECT_EQ(R(22011), ":End Case");
    EXPECT_EQ(R(22210), ":End Loop");
    EXPECT_EQ(R(23310), ":Else Case");
    EXPECT_EQ(R(23311), ":End Case");
    // Choice cases: the choice's text, or the cancel case whatever the text says.
    EXPECT_EQ(R(20140, {0}, "Yes"), ":[Yes] Case");
    EXPECT_EQ(R(20140, {3}, "%s%n"), ":[%s%n] Case");
    EXPECT_EQ(R(20140, {4}, "No"), ":Cancel Case");
    EXPECT_EQ(R(20140, {5}, "Maybe"), ":[Maybe] Case");
}

TEST_F(EventScriptText, TextLinesAndLinesWithoutParameters) {
    EXPECT_EQ(R(10110, {}, "Hello %s"), "<>Message: Hello %s");
    EXPECT_EQ(R(20110, {}, "world", 1), "  :          :world");
    EXPECT_EQ(R(12410, {}, "note"), "<>Note: note");
    EXPECT_EQ(R(22410, {}, "more"), ":          :more");
    EXPECT_EQ(R(10140, {1}, "Yes/No/Maybe"), "<>Show Choice:Yes/No/Maybe");
    EXPECT_EQ(R(10680, {0, 1}, "System1"), "<>Change System Graphic: System1");
    EXPECT_EQ(R(11510, {0, 100, 100, 50}, "Town"), "<>Play BGM: Town");
    EXPECT_EQ(R(11550, {100, 100, 50}, "Door"), "<>Play Sound Effect: Door");
    EXPECT_EQ(R(13210, {}, "Grass"), "<>Change Battl.BG:Grass");

    EXPECT_EQ(R(10840, {1, 2}), "<>Ride Vehicle");
    EXPECT_EQ(R(11340), "<>Wait Until Moved");
    EXPECT_EQ(R(11350), "<>Stop All Movement");
    EXPECT_EQ(R(11530), "<>Memorize BGM");
    EXPECT_EQ(R(11540), "<>Play Memorized BGM");
    EXPECT_EQ(R(11910), "<>Call Save Menu");
    EXPECT_EQ(R(11950), "<>Call System Menu");
    EXPECT_EQ(R(12210, {}, "", 2), "    <>Loop");
    EXPECT_EQ(R(12220), "<>Break");
    EXPECT_EQ(R(12310), "<>Stop Parallel Events");
    EXPECT_EQ(R(12320), "<>Delete Event");
    EXPECT_EQ(R(12420), "<>Game Over");
    EXPECT_EQ(R(12510), "<>Goto Title Screen");
    EXPECT_EQ(R(13410), "<>Stop Battle");

    // Text with a NUL and format directives is copied as bytes.
    const std::string bytes("A%s\0B", 5);
    EXPECT_EQ(R(10110, {}, bytes), "<>Message: " + bytes);
}

TEST_F(EventScriptText, MessageOptionsFaceChoiceAndNumberInput) {
    EXPECT_EQ(R(10120, {1, 2, 0, 1}), "<>Set Message Options: Transparent, Bottom, Fixed, Continue Events.");
    EXPECT_EQ(R(10120, {0, 0, 1, 0}), "<>Set Message Options: Opaque, Top, Safe, Wait until done.");
    EXPECT_EQ(R(10120, {5, 1, 9, -1}), "<>Set Message Options:  Middle,");

    EXPECT_EQ(R(10130, {3, 1, 1}), "<>Select Face Graphic: None");
    EXPECT_EQ(R(10130, {3, 1, 1}, "Face1"), "<>Select Face Graphic: Face1 4 , Right, Flipped");
    EXPECT_EQ(R(10130, {0, 0, 0}, "Face1"), "<>Select Face Graphic: Face1 1 , Left,  ");
    EXPECT_EQ(R(10130, {INT_MAX, 2, 2}, "F"), "<>Select Face Graphic: F -2147483648 ");

    EXPECT_EQ(R(10150, {3, 1}), "<>Input Number: Digits=3 Var[0001:Gold]");
    EXPECT_EQ(R(10150, {1, 2}), "<>Input Number: Digits=1 Var[0002]");
    EXPECT_EQ(R(10150, {-2, 50}), "<>Input Number: Digits=-2 Var[?]");
}

TEST_F(EventScriptText, SwitchesAndVariables) {
    EXPECT_EQ(R(10210, {0, 1, 0, 0}), "<>Change Switch: Var[0001:Door] Switch ON");
    EXPECT_EQ(R(10210, {0, 2, 0, 1}), "<>Change Switch: Var[0002] Switch OFF");
    EXPECT_EQ(R(10210, {0, 77, 0, 2}), "<>Change Switch: Var[?] Toggle Switch");
    EXPECT_EQ(R(10210, {1, 3, 7, 1}), "<>Change Switch: [0003 to 0007] Switch OFF");
    EXPECT_EQ(R(10210, {2, 12, 0, 2}), "<>Change Switch: [Var[0012]] Toggle Switch");
    EXPECT_EQ(R(10210, {5, 1, 0, 3}), "<>Change Switch: ");

    EXPECT_EQ(R(10220, {1, 3, 7, 1, 0, 5}), "<>Change Variable: [0003 to 0007] +  5");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 1, 2}), "<>Change Variable: Var[0001:Gold] =  Var[0002]");
    EXPECT_EQ(R(10220, {2, 4, 0, 2, 2, 9}), "<>Change Variable: [Var[0004]] -  Var[Var[0009]]");
    EXPECT_EQ(R(10220, {0, 2, 0, 3, 3, 1, 6}), "<>Change Variable: Var[0002] * Random(1 to 6)");
    EXPECT_EQ(R(10220, {0, 1, 0, 4, 4, 1, 1}), "<>Change Variable: Var[0001:Gold] / Potion Equiped Amount");
    EXPECT_EQ(R(10220, {0, 1, 0, 4, 4, 2, 0}), "<>Change Variable: Var[0001:Gold] / Ether Hold Amount");
    EXPECT_EQ(R(10220, {0, 1, 0, 5, 5, 1, 14}), "<>Change Variable: Var[0001:Gold] (Mod) Alex's Accessory#");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 5, 2, 0}), "<>Change Variable: Var[0001:Gold] = Brian's Level");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 6, 10005, 3}), "<>Change Variable: Var[0001:Gold] = This Event 's Facing");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 6, 1, 5}), "<>Change Variable: Var[0001:Gold] = Door's Screen Y");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 7, 8}), "<>Change Variable: Var[0001:Gold] = MIDI Play Pos. (Ticks)");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 7, 0}), "<>Change Variable: Var[0001:Gold] = [Money]");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 8, 0, 7}), "<>Change Variable: Var[0001:Gold] = 1:Slime's Agility");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 8, -1, 0}), "<>Change Variable: Var[0001:Gold] =  Whole Group 's HP");
    // Values without a text add nothing, the separating blank stays.
    EXPECT_EQ(R(10220, {9, 1, 0, 6, 9, 1}), "<>Change Variable:  ");
    EXPECT_EQ(R(10220, {0, 1, 0, 0, 7, 9}), "<>Change Variable: Var[0001:Gold] = ");
}

TEST_F(EventScriptText, TimerMoneyItemsAndParty) {
    EXPECT_EQ(R(10230, {0, 0, 125}), "<>Timer Operation: Set: 02:05");
    EXPECT_EQ(R(10230, {0, 0, 6000}), "<>Timer Operation: Set: 100:00");
    EXPECT_EQ(R(10230, {0, 0, -61}), "<>Timer Operation: Set: -01:-01");
    EXPECT_EQ(R(10230, {0, 1, 3}), "<>Timer Operation: Set: Var[0003]");
    EXPECT_EQ(R(10230, {0, 2, 3}), "<>Timer Operation: Set: ");
    EXPECT_EQ(R(10230, {1}), "<>Timer Operation: Start");
    EXPECT_EQ(R(10230, {2}), "<>Timer Operation: Stop");
    EXPECT_EQ(R(10230, {3}), "<>Timer Operation: ");

    EXPECT_EQ(R(10310, {0, 0, 100}), "<>Change Money: $100 (Add)");
    EXPECT_EQ(R(10310, {1, 1, 4}), "<>Change Money: $Var[0004] (Remove)");
    EXPECT_EQ(R(10310, {0, 0, -5}), "<>Change Money: $-5 (Add)");
    EXPECT_EQ(R(10310, {2, 3, 5}), "<>Change Money: $");

    EXPECT_EQ(R(10320, {0, 0, 1, 0, 3}), "<>Add/Drop Items: (Potion) 3 (Add)");
    EXPECT_EQ(R(10320, {1, 1, 5, 1, 6}), "<>Add/Drop Items: (Var[0005]) Var[0006] (Remove)");
    EXPECT_EQ(R(10320, {0, 0, 42, 0, 1}), "<>Add/Drop Items: (?) 1 (Add)");

    EXPECT_EQ(R(10330, {0, 0, 1}), "<>Change Hero's Party: (Alex)  (Add)");
    EXPECT_EQ(R(10330, {1, 1, 3}), "<>Change Hero's Party: (Var[0003])  (Remove)");
    EXPECT_EQ(R(10330, {0, 0, 3}), "<>Change Hero's Party: ()  (Add)");  // a hero with an empty name
}

TEST_F(EventScriptText, HeroParameters) {
    EXPECT_EQ(R(10410, {0, 0, 0, 0, 100}), "<>Change EXP: [All Members]'s EXP 100 (Add)");
    EXPECT_EQ(R(10410, {2, 7, 0, 0, 5}), "<>Change EXP: Var[0007]'s EXP 5 (Add)");
    EXPECT_EQ(R(10420, {1, 2, 1, 1, 3}), "<>Change Level: Brian's Level Var[0003] (Remove)");
    EXPECT_EQ(R(10420, {3, 2, 2, 2, 3}), "<>Change Level: 's Level ");

    EXPECT_EQ(R(10430, {1, 1, 0, 2, 0, 10}), "<>Change Ability: (Alex's Attack) 10 (Add)");
    EXPECT_EQ(R(10430, {0, 0, 1, 5, 1, 2}), "<>Change Ability: ([All Members]'s Agility) Var[0002] (Remove)");
    EXPECT_EQ(R(10430, {1, 9, 0, 0, 0, 1}), "<>Change Ability: (?'s Max HP) 1 (Add)");

    EXPECT_EQ(R(10440, {1, 1, 0, 0, 1}), "<>Change Skill: (Alex, Heal) Learn");
    EXPECT_EQ(R(10440, {0, 0, 1, 1, 4}), "<>Change Skill: ([All Members], Var[0004]) Forget");

    EXPECT_EQ(R(10450, {1, 1, 0, 0, 1}), "<>Equipment: Alex, Potion, Equip");
    EXPECT_EQ(R(10450, {1, 1, 0, 1, 3}), "<>Equipment: Alex, Var[0003], Equip");
    EXPECT_EQ(R(10450, {0, 0, 1, 0}), "<>Equipment: [All Members], Weapons, Remove Equipment");
    EXPECT_EQ(R(10450, {0, 0, 1, 5}), "<>Equipment: [All Members],  [All], Remove Equipment");
    EXPECT_EQ(R(10450, {0, 0, 2, 1}), "<>Equipment: [All Members], ");

    EXPECT_EQ(R(10460, {1, 2, 1, 0, 50}), "<>Change HP: Brian's HP 50 (Remove)");
    EXPECT_EQ(R(10470, {0, 0, 0, 1, 3}), "<>Change MP: [All Members]'s MP Var[0003] (Add)");

    EXPECT_EQ(R(10480, {1, 1, 0, 1}), "<>Condition: (Alex) Poison (Add)");
    EXPECT_EQ(R(10480, {1, 1, 1, 1}), "<>Condition: (Alex's Poison (Remove)");
    EXPECT_EQ(R(10480, {1, 1, 2, 1}), "<>Condition: (AlexPoison");
    EXPECT_EQ(R(10480, {1, 1, -1, 7}), "<>Condition: (Alex?");

    EXPECT_EQ(R(10490, {0}), "<>Full Recovery:[All Members]");
    EXPECT_EQ(R(10490, {2, 5}), "<>Full Recovery:Var[0005]");
    EXPECT_EQ(R(10500, {1, 2, 35, 0, 0, 0, 0, 0}), "<>Take Damage: Brian, Damage(35)");

    EXPECT_EQ(R(10610, {1}, "Max"), "<>Change Hero Name: Alex's Name = Max ");
    EXPECT_EQ(R(10620, {2}, "Knight"), "<>Change Hero Degree: Brian's Degree =Knight ");
    EXPECT_EQ(R(10630, {1, 3, 0}, "Chara1"), "<>Change Hero Walk Graphic: (Alex) Chara1-4 ");
    EXPECT_EQ(R(10640, {2, 0}, "Face2"), "<>Change Hero Face Graphic: (Brian) Face2-1 ");
    EXPECT_EQ(R(10640, {2, INT_MAX}, "F"), "<>Change Hero Face Graphic: (Brian) F--2147483648 ");
    EXPECT_EQ(R(10740, {2, 0, 0}), "<>Enter Hero Name: Brian");
    EXPECT_EQ(R(10740, {40}), "<>Enter Hero Name: ?");
}

TEST_F(EventScriptText, SystemSettings) {
    EXPECT_EQ(R(10650, {2, 1}, "Vehicle"), "<>Change Vehicle Graphic: (Airship) Vehicle-2 ");
    EXPECT_EQ(R(10650, {3, 0}, "V"), "<>Change Vehicle Graphic: () V-1 ");
    EXPECT_EQ(R(10660, {6, 0, 100, 100, 50}, "Battle2"), "<>Change System Music: (Game Over) Battle2 ");
    EXPECT_EQ(R(10660, {0}, "B"), "<>Change System Music: (Battle) B ");
    EXPECT_EQ(R(10670, {11}, "Cursor1"), "<>Change System Sound: (Item Use) Cursor1 ");
    EXPECT_EQ(R(10670, {0}, "C"), "<>Change System Sound: (Cursor Movemt) C ");
    EXPECT_EQ(R(10670, {12}, "C"), "<>Change System Sound: () C ");

    EXPECT_EQ(R(10690, {0, 13}), "<>Change Screen Transition: Teleport/Erase Hi-LowDiv\x84");
    EXPECT_EQ(R(10690, {3, -1}), "<>Change Screen Transition: Battle Start/Show Set Move Place");
    EXPECT_EQ(R(10690, {4, -1}), "<>Change Screen Transition: Battle End/Erase CreatMovePlace");
    EXPECT_EQ(R(10690, {5, 0}), "<>Change Screen Transition: Battle End/Show Fade-in     ");
    EXPECT_EQ(R(10690, {1, 20}), "<>Change Screen Transition: Teleport/Show ");
    // An unlisted scene keeps the blank and the name; its parity keeps the sign.
    EXPECT_EQ(R(10690, {-1, 0}), "<>Change Screen Transition:  Fade-in     ");
    EXPECT_EQ(R(10690, {6, 20}), "<>Change Screen Transition:  Leave     ");
    EXPECT_EQ(R(10690, {-2, 3}), "<>Change Screen Transition:  Random blocks Down    ");
}

TEST_F(EventScriptText, BattleShopAndInn) {
    EXPECT_EQ(R(10710, {0, 1, 0, 0, 0, 0}), "<>Start Battle: Slimes");
    EXPECT_EQ(R(10710, {1, 4, 1, 2, 1, 1}, "Back1"), "<>Start Battle: Var[0004] Back1 First Strike");
    EXPECT_EQ(R(10710, {0, 8, 2, 0, 0, 2}, "Back1"), "<>Start Battle: ?");

    EXPECT_EQ(R(10720, {1, 0, 0, 0, 2, 1}), "<>Call Shop: (Buy Only)Ether Potion");
    EXPECT_EQ(R(10720, {0, 0, 1, 0, 1}), "<>Call Shop: Potion");
    EXPECT_EQ(R(10720, {0, 0, 1, 0}), "<>Call Shop: ");
    EXPECT_EQ(R(10720, {-5, 0, 0, 0, 1, 9}), "<>Call Shop: Potion ?");
    EXPECT_EQ(R(10720, {2, 0, 1, 0}), "<>Call Shop: (Sell Only)");
    EXPECT_EQ(R(10720, {2, 0, 1, 0, 1, 2}), "<>Call Shop: (Sell Only)");  // type 2 shows no items
    EXPECT_EQ(R(10720, {3, 0, 1, 0, 1}), "<>Call Shop: ");

    EXPECT_EQ(R(10730, {0, 120, 1}), "<>Call Inn: Cost=120");
    EXPECT_EQ(R(10730, {0, -1, 0}), "<>Call Inn: Cost=-1");
}

TEST_F(EventScriptText, PlacesAndCharacters) {
    EXPECT_EQ(R(10810, {1, 5, 17}), "<>Teleport: 0001:Town (005,017)");
    EXPECT_EQ(R(10810, {3, 0, 0}), "<>Teleport: 0003:Forest (000,000)");  // areas are named too
    EXPECT_EQ(R(10810, {2, 1, 2}), "<>Teleport: 0002: (001,002)");        // an unnamed map
    EXPECT_EQ(R(10810, {0, 1, 2}), "<>Teleport: 0000:? (001,002)");       // not the root
    EXPECT_EQ(R(10810, {99, -1, 1000}), "<>Teleport: 0099:? (-001,1000)");
    EXPECT_EQ(R(10820, {1, 2, 3}), "<>Memorize Place:Map[0001], X[0002], Y[0003]");
    EXPECT_EQ(R(10830, {1, 2, 3}), "<>Goto Memorized Place: V[0001] (V[0002],V[0003])");
    EXPECT_EQ(R(10850, {0, 0, 1, 4, 5}), "<>Teleport Vehicle: Boat 0001:Town (004,005)");
    EXPECT_EQ(R(10850, {2, 1, 1, 2, 3}), "<>Teleport Vehicle: Airship V[0001] (V[0002],V[0003])");
    EXPECT_EQ(R(10850, {3, 2, 1, 2, 3}), "<>Teleport Vehicle:  ");
    EXPECT_EQ(R(10860, {1, 0, 3, 4}), "<>Teleport Event: Door (003,004)");
    EXPECT_EQ(R(10860, {10001, 1, 5, 6}), "<>Teleport Event: Hero  (V[0005],V[0006])");
    EXPECT_EQ(R(10870, {1, 10005}), "<>Swap Events: Door This Event ");
    EXPECT_EQ(R(10870, {2, 3}), "<>Swap Events: Guard (edited) ?");
    EXPECT_EQ(R(10910, {0, 3, 4, 1}), "<>Get Terrain ID: (003,004) Var[0001:Gold]");
    EXPECT_EQ(R(10920, {1, 3, 4, 2}), "<>Get Event ID: (V[0003],V[0004]) Var[0002]");
    EXPECT_EQ(R(10920, {2, 3, 4, 0}), "<>Get Event ID:  Var[?]");
}

TEST_F(EventScriptText, ScreenEffects) {
    EXPECT_EQ(R(11010, {13}), "<>Erase Screen: Hi-LowDiv\x84");
    EXPECT_EQ(R(11010, {0}), "<>Erase Screen: Fade-Out      ");
    EXPECT_EQ(R(11010, {21}), "<>Erase Screen: ");
    EXPECT_EQ(R(11020, {-1}), "<>Show Screen: Set Move Place");
    EXPECT_EQ(R(11020, {19}), "<>Show Screen: Instant ");
    EXPECT_EQ(R(11020, {20}), "<>Show Screen: ");

    EXPECT_EQ(R(11030, {100, 50, 5, 128, 15, 1}), "<>Set Screen Tone: RGB(100,050,005),C(128),1.5sec (Wait)");
    EXPECT_EQ(R(11030, {0, 0, 0, 0, -15, 2}), "<>Set Screen Tone: RGB(000,000,000),C(000),-1.-5sec");
    EXPECT_EQ(R(11040, {31, 0, 5, 16, 5, 0}), "<>Flash Screen: RGB(31,00,05),P(16),0.5s");
    EXPECT_EQ(R(11040, {31, 31, 31, 31, 100, 1}), "<>Flash Screen: RGB(31,31,31),P(31),10.0s (Wait)");
    EXPECT_EQ(R(11050, {5, 3, 25, 1}), "<>Shake Screen: Power: 5, Speed: 3, 2.5 sec (Wait)");
    EXPECT_EQ(R(11050, {1, 9, 3, 0}), "<>Shake Screen: Power: 1, Speed: 9, 0.3 sec");

    EXPECT_EQ(R(11060, {0, 0, 0, 0, 1}), "<>Pan Screen: Fixed");
    EXPECT_EQ(R(11060, {1}), "<>Pan Screen: Cancel Fixation");
    EXPECT_EQ(R(11060, {2, 1, 5, 4, 1}), "<>Pan Screen: Rigth: 5 Chip(s), Speed:4 (Wait)");
    EXPECT_EQ(R(11060, {2, 7, 5, 4, 0}), "<>Pan Screen: : 5 Chip(s), Speed:4");
    EXPECT_EQ(R(11060, {3, 0, 0, 2, 0}), "<>Pan Screen: Return Position Speed:2");
    EXPECT_EQ(R(11060, {5, 1, 2, 3, 1}), "<>Pan Screen: Speed:3 (Wait)");
    EXPECT_EQ(R(11060, {-1, 1, 2, 3, 1}), "<>Pan Screen: ");

    EXPECT_EQ(R(11070, {0, 2}), "<>Call Weather Effect: None/Off");
    EXPECT_EQ(R(11070, {1, 0}), "<>Call Weather Effect: Rain , Low");
    EXPECT_EQ(R(11070, {2, 2}), "<>Call Weather Effect: Snow , High");
    EXPECT_EQ(R(11070, {2, 1}), "<>Call Weather Effect: Snow , Medium");
    EXPECT_EQ(R(11070, {3, 9}), "<>Call Weather Effect:  ");
    EXPECT_EQ(R(11070, {-1, 1}), "<>Call Weather Effect: ");
}

TEST_F(EventScriptText, PicturesAnimationsAndCharacters) {
    EXPECT_EQ(R(11110, {1, 0, 160, 120, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Pic1"),
              "<>Show Picture: ID:1 Pic1 (160,120)");
    EXPECT_EQ(R(11110, {2, 1, 3, 4}, "Pic1"), "<>Show Picture: ID:2 Pic1 (V[0003],V[0004])");
    EXPECT_EQ(R(11110, {2, 2, 3, 4}, "Pic1"), "<>Show Picture: ID:2 Pic1 ");
    // Moving a picture shows the position only, not the file.
    EXPECT_EQ(R(11120, {1, 0, 10, -20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, 1}, "Pic1"),
              "<>Move Picture: ID:1 (10,-20), 1.5sec (Wait)");
    EXPECT_EQ(R(11120, {1, 1, 10, 20}), "<>Move Picture: ID:1 (V[0010],V[0020]), 0.0sec");
    EXPECT_EQ(R(11130, {7}), "<>Erase Picture: ID:7");

    EXPECT_EQ(R(11210, {1, 10001, 1, 0}), "<>Show Battle Animation:Slash Hero  (Wait)");
    EXPECT_EQ(R(11210, {2, 2, 0, 0}), "<>Show Battle Animation:? Guard (edited)");
    EXPECT_EQ(R(11310, {0}), "<>Set Hero's Translucency: Translucent");
    EXPECT_EQ(R(11310, {1}), "<>Set Hero's Translucency: Opaque");
    EXPECT_EQ(R(11310, {2}), "<>Set Hero's Translucency: ");
    EXPECT_EQ(R(11320, {2, 31, 31, 31, 31, 5, 1}), "<>Flash Event: Guard (edited) 0.5sec (Wait)");
    EXPECT_EQ(R(11320, {10002, 0, 0, 0, 0, 12, 0}), "<>Flash Event: Boat  1.2sec");
}

TEST_F(EventScriptText, MoveCharacterRoutes) {
    // Switch ON 5, Wait.
    EXPECT_EQ(R(11330, {10001, 3, 1, 0, 0x20, 0x05, 0x17}), "<>Move  Event: Hero  Switch ON  Wait ");
    EXPECT_EQ(R(11330, {1, 3, 1, 0}), "<>Move  Event: Door");
    EXPECT_EQ(R(11330, {1}), "<>Move  Event: Door");
    EXPECT_EQ(R(11330, {}), "<>Move  Event: ?");
    // A parameter is its low 8 bits.
    EXPECT_EQ(R(11330, {1, 0, 0, 0, 0x102, -0xFF}), "<>Move  Event: Door Down  Right ");
    // Codes are variable-length integers: 81 00 is code 128, outside the table: a blank, no name.
    EXPECT_EQ(R(11330, {1, 0, 0, 0, 0x81, 0x00, 0x00}), "<>Move  Event: Door  Up ");
    // Change Graphic "AB" 3, Play SE "" 100 100 50, TranslucencyDown.
    EXPECT_EQ(R(11330, {1, 0, 0, 0, 34, 2, 'A', 'B', 3, 35, 0, 100, 100, 50, 41}),
              "<>Move  Event: Door Change Graphic  Play SE  TranslucencyDown");

    const std::string cut[] = {
        conv.RenderSafely(MakeLine(11330, {1, 0, 0, 0, 35, 3, 'a'})),          // Play SE, name cut short
        conv.RenderSafely(MakeLine(11330, {1, 0, 0, 0, 35, 1, 'a', 100, 100})), // balance missing
        conv.RenderSafely(MakeLine(11330, {1, 0, 0, 0, 32})),                   // switch ID missing
        conv.RenderSafely(MakeLine(11330, {1, 0, 0, 0, 0x81})),                 // code cut short
        // A string length of 2^31.
        conv.RenderSafely(MakeLine(11330, {1, 0, 0, 0, 34, 0x88, 0x80, 0x80, 0x80, 0x00, 1})),
    };
    for (const std::string& text : cut)
        EXPECT_EQ(text, kCorrupt);
    EXPECT_THROW(conv.RenderLine(MakeLine(11330, {1, 0, 0, 0, 33}, "", 2)), EScriptRenderError);
    EXPECT_EQ(conv.RenderSafely(MakeLine(11330, {1, 0, 0, 0, 33}, "", 2)), kCorrupt);  // no indentation
}

TEST_F(EventScriptText, WaitMusicMovieAndPassword) {
    EXPECT_EQ(R(11410, {15}), "<>Wait: 1.5sec");
    EXPECT_EQ(R(11410, {0}), "<>Wait: 0.0sec");
    EXPECT_EQ(R(11410, {-7}), "<>Wait: 0.-7sec");
    EXPECT_EQ(R(11520, {3}), "<>Fade-Out BGM: 3sec");
    EXPECT_EQ(R(11560, {0, 10, 20, 320, 240}, "Movie1"), "<>Play Movie: Movie1 (10,20) (320,240)");
    EXPECT_EQ(R(11560, {1, 1, 2, 0, 0}, "Movie1"), "<>Play Movie: Movie1 (V[0001],V[0002]) (0,0)");
    EXPECT_EQ(R(11610, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "<>Enter Password: Var[0001:Gold]");
    EXPECT_EQ(R(11610, {3}), "<>Enter Password: Var[?]");
}

TEST_F(EventScriptText, MapSettings) {
    EXPECT_EQ(R(11710, {1}), "<>Change ChipSet: World");
    EXPECT_EQ(R(11710, {5}), "<>Change ChipSet: ?");

    EXPECT_EQ(R(11720, {1, 1, 1, -3, 1, 0}, "Sky"), "<>ChangeParalx: Sky Horz Loop(-3) Vert Loop(+0)");
    EXPECT_EQ(R(11720, {0, 1, 1, 5, 0, 9}, "Sky"), "<>ChangeParalx: Sky Vert Loop");
    EXPECT_EQ(R(11720, {1, 0, 1, 4, 1, 8}, "Sky"), "<>ChangeParalx: Sky Horz Loop(+4)");
    EXPECT_EQ(R(11720, {0, 0, 1, 3, 1, 3}, "Sky"), "<>ChangeParalx: Sky");
    EXPECT_EQ(R(11720, {1, 2, 1, INT_MIN}, "Sky"), "<>ChangeParalx: Sky Horz Loop(--2147483648)");

    EXPECT_EQ(R(11740, {25}), "<>Encounter Rate: 25Steps");
    EXPECT_EQ(R(11750, {0, 3, 7}), "<>Change Chip: Lower Chip 004 to 008");
    EXPECT_EQ(R(11750, {1, INT_MAX, -1}), "<>Change Chip: Upper Chip -2147483648 to 000");
    EXPECT_EQ(R(11750, {2, -2, 0}), "<>Change Chip: -001 to 001");

    EXPECT_EQ(R(11810, {0, 1, 4, 5, 0, 0}), "<>Teleport Place: (Add)0001:Town (004,005)");
    EXPECT_EQ(R(11810, {1, 1, 4, 5}), "<>Teleport Place: (Remove)0001:Town");
    EXPECT_EQ(R(11810, {1, -3}), "<>Teleport Place: (Remove)-0003:?");
    EXPECT_EQ(R(11810, {2, 1}), "<>Teleport Place: ");
    EXPECT_EQ(R(11830, {1, 2, 3, 0, 0}), "<>Escape Place:     0001:Town (002,003)");

    EXPECT_EQ(R(11820, {0}), "<>Teleporting: Disable");
    EXPECT_EQ(R(11820, {1}), "<>Teleporting: Enable");
    EXPECT_EQ(R(11840, {1}), "<>Escaping: Enable");
    EXPECT_EQ(R(11930, {0}), "<>Saving: Disable");
    EXPECT_EQ(R(11960, {1}), "<>Disable System Menu Enable");
    EXPECT_EQ(R(11960, {2}), "<>Disable System Menu ");
}

TEST_F(EventScriptText, ForkConditions) {
    EXPECT_EQ(R(12010, {0, 1, 0, 0, 0, 0}), "<>If Switch(0001:Door) is ON");
    EXPECT_EQ(R(12010, {0, 2, 1, 0, 0, 1}), "<>If Switch(0002) is OFF");
    EXPECT_EQ(R(12010, {0, 9, 2}), "<>If Switch(?) is ");
    EXPECT_EQ(R(12010, {1, 2, 0, 10, 0, 0}), "<>If Var(0002) 10");
    EXPECT_EQ(R(12010, {1, 2, 0, 10, 1, 0}), "<>If Var(0002) 10 (>=)");
    EXPECT_EQ(R(12010, {1, 1, 0, -4, 2}), "<>If Var(0001:Gold) -4 (<=)");
    EXPECT_EQ(R(12010, {1, 1, 0, 0, 3}), "<>If Var(0001:Gold) 0 (>)");
    EXPECT_EQ(R(12010, {1, 1, 0, 0, 4}), "<>If Var(0001:Gold) 0 (<)");
    EXPECT_EQ(R(12010, {1, 1, 1, 3, 0, 1}), "<>If Var(0001:Gold) Var[0003] (=)");
    EXPECT_EQ(R(12010, {1, 1, 1, 3, 5}), "<>If Var(0001:Gold) Var[0003] (!=)");
    EXPECT_EQ(R(12010, {1, 1, 2, 3, 0}), "<>If Var(0001:Gold) ");  // another p2: no value, no "="
    EXPECT_EQ(R(12010, {1, 1, 2, 3, 1}), "<>If Var(0001:Gold)  (>=)");
    EXPECT_EQ(R(12010, {1, 1, 0, 3, 6}), "<>If Var(0001:Gold) 3");
    EXPECT_EQ(R(12010, {2, 125, 1}), "<>If Timer 02:05 (<=)");
    EXPECT_EQ(R(12010, {2, 59, 0}), "<>If Timer 00:59 (>=)");
    EXPECT_EQ(R(12010, {3, 500, 0}), "<>If Money 500 (>=)");
    EXPECT_EQ(R(12010, {3, 500, 1}), "<>If Money 500 (<=)");
    EXPECT_EQ(R(12010, {4, 1, 0}), "<>If Potion (Have)");
    EXPECT_EQ(R(12010, {4, 1, 1}), "<>If Potion (Do not have)");
    EXPECT_EQ(R(12010, {5, 1, 0}), "<>If Alex is in the party");
    EXPECT_EQ(R(12010, {5, 1, 1}, "Max"), "<>If Alex Name = Max");
    EXPECT_EQ(R(12010, {5, 1, 2, 10}), "<>If Alex's Level 10 (>=)");
    EXPECT_EQ(R(12010, {5, 1, 3, 50}), "<>If Alex's HP 50 (>=)");
    EXPECT_EQ(R(12010, {5, 1, 4, 1}), "<>If Alex, Heal has Learned");
    EXPECT_EQ(R(12010, {5, 1, 5, 1}), "<>If Alex, Potion is Equipped");
    EXPECT_EQ(R(12010, {5, 1, 6, 1}), "<>If Alex, Poison is Condition");
    EXPECT_EQ(R(12010, {5, 2, 7, 1}), "<>If Brian");
    EXPECT_EQ(R(12010, {6, 10001, 2}), "<>If Hero , Down (Direction)");
    EXPECT_EQ(R(12010, {6, 1, 1}), "<>If Door, Rigth (Direction)");
    EXPECT_EQ(R(12010, {6, 1, 4}), "<>If Door,  (Direction)");
    EXPECT_EQ(R(12010, {7, 2}), "<>If Airship (Riding)");
    EXPECT_EQ(R(12010, {8}), "<>If Event Started by Decision Key");
    EXPECT_EQ(R(12010, {9}), "<>If Music has played once");
    EXPECT_EQ(R(12010, {10}), "<>If ");
}

TEST_F(EventScriptText, LabelsAndCalls) {
    EXPECT_EQ(R(12110, {3}), "<>Label 3#");
    EXPECT_EQ(R(12120, {3}), "<>Goto Label 3#");
    EXPECT_EQ(R(12330, {0, 1, 0}), "<>Call Event: Shop");
    EXPECT_EQ(R(12330, {0, 2, 0}), "<>Call Event: ?");
    EXPECT_EQ(R(12330, {1, 1, 2}), "<>Call Event: DoorPg [2]");
    EXPECT_EQ(R(12330, {1, 10005, 1}), "<>Call Event: This Event Pg [1]");
    EXPECT_EQ(R(12330, {2, 5, 6}), "<>Call Event: Var[5]P[V[6]]");
    EXPECT_EQ(R(12330, {3, 5, 6}), "<>Call Event: ");
}

TEST_F(EventScriptText, BattleCommands) {
    EXPECT_EQ(R(13110, {0, 0, 0, 50, 0}), "<>Change Enemy's HP:  1:Slime's HP 50 (Add)");
    EXPECT_EQ(R(13120, {-1, 1, 1, 2}), "<>Change Enemy's MP:   Whole Group 's MP Var[0002] (Remove)");
    EXPECT_EQ(R(13130, {1, 0, 1}), "<>Set Enemy's Condition:2:?) Poison (Add)");
    EXPECT_EQ(R(13130, {0, 1, 1}), "<>Set Enemy's Condition:1:Slime's Poison (Remove)");
    EXPECT_EQ(R(13130, {0, 2, 1}), "<>Set Enemy's Condition:1:SlimePoison");
    EXPECT_EQ(R(13150, {0}), "<>Enemy Appears:  1:Slime");
    EXPECT_EQ(R(13150, {5}), "<>Enemy Appears:  6:?");
    EXPECT_EQ(R(13150, {INT_MAX}), "<>Enemy Appears:  -2147483648:?");
    EXPECT_EQ(R(13260, {1, 0, 1}), "<>Show Battle Animation:Slash 1:Slime (Wait)");
    EXPECT_EQ(R(13260, {1, -1, 0}), "<>Show Battle Animation:Slash  Whole Group ");
    EXPECT_EQ(R(13310, {0, 1, 1, 0, 0, 1}), "<>If Switch(0001:Door) is OFF");
    EXPECT_EQ(R(13310, {1, 2, 0, 10, 1, 0}), "<>If Var(0002) 10 (>=)");
    EXPECT_EQ(R(13310, {1, 2, 1, 7, 0, 0}), "<>If Var(0002) Var[0007] (=)");
    EXPECT_EQ(R(13310, {2, 1}), "<>If Alex-ActionPsb");
    EXPECT_EQ(R(13310, {3, 0}), "<>If 1:Slime-ActionPsb");
    EXPECT_EQ(R(13310, {4, 0}), "<>If ");
}

// Every catalogued code starts its text with its prefix, so a code the tests above forget to
// give a case of its own still shows as itself, never as "Do Nothing".
TEST_F(EventScriptText, EveryCataloguedCodeStartsWithItsPrefix) {
    std::set<std::int32_t> seen;
    for (const TEventCommandInfo& info : EventCommandCatalogue()) {
        const std::string text = R(info.Code, {0, 0, 0, 0, 0, 0, 0, 0}, "T");
        const std::string prefix = info.Code == 20140 ? ":[" : info.Prefix;
        EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0) << info.Code << ": " << text;
        EXPECT_NE(text, kDoNothingText) << info.Code;
        seen.insert(info.Code);
    }
    EXPECT_EQ(seen.size(), 119u);
}

}  // namespace
}  // namespace quillon::test
