#include "events/ScriptList.h"
#include "events/ScriptListTestKit.h"

#include "data/StreamUtils.h"
#include "events/EventScript.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::scriptkit;

namespace {

using Shape_t = std::vector<std::pair<int, int>>;

// A clipboard that forgets what it is given, like a display without a clipboard.
class TLosingClipboard final : public IClipboard {
public:
    bool HasFormat(int) const override { return false; }
    std::optional<std::string> GetData(int) const override { return std::nullopt; }
    void SetData(int, const std::string&) override {}
};

class ScriptListTest : public ::testing::Test {
protected:
    TKelEventScriptList script;
    TMemoryClipboard clipboard;
    TFakeDialogs dialogs;
    TScriptListModel model{FakeRender};
    int modified = 0;
    TConnection mHeard;

    // 0 message, 1..6 a fork with else (then-body: 2 a command, 3 its empty line;
    // else-body: 5), 7 switch, 8 wait, 9 closing line.
    void SetUp() override { Use(Standard()); }

    static std::vector<L> Standard() {
        return {{10110, 0, {}, "Hi"}, {12010, 0, {0, 1, 0, 0, 0, 1}}, {10220, 1, {1}}, {10, 1},
                {22010, 0},           {10, 1},                        {22011, 0},     {10210, 0, {2}},
                {11410, 0, {5}},      {0, 0}};
    }

    void Use(const std::vector<L>& lines) {
        Fill(script, lines);
        model.SetClipboard(&clipboard);
        model.SetDialogs(&dialogs);
        mHeard = model.OnModified.Connect([this] { ++modified; });
        model.SetVisibleLines(100);
        model.SetScript(&script);
        modified = 0;
    }

    void ExpectRowsRendered() const {
        ASSERT_EQ(model.Count(), script.Count());
        for (int i = 0; i < script.Count(); ++i)
            EXPECT_EQ(model.Items()[static_cast<std::size_t>(i)], FakeRender(*script.Lines(i))) << "row " << i;
    }

    std::pair<int, int> Sel() const { return {model.SelStart(), model.SelEnd()}; }
};

const std::pair<int, int> kNone{-1, -1};

// --- selection ---

TEST_F(ScriptListTest, ClicksSelectWholeCommandsAtTheClickedDepth) {
    model.SetItemIndex(1);  // "<>If" takes the whole fork, down to its ":End Case"
    EXPECT_EQ(Sel(), std::make_pair(1, 6));
    model.SetItemIndex(2);  // a command in the body is selected alone
    EXPECT_EQ(Sel(), std::make_pair(2, 2));
    model.SetItemIndex(3);  // the body's empty line is a command line of its own
    EXPECT_EQ(Sel(), std::make_pair(3, 3));
    model.SetItemIndex(4);  // ":Else Case": the cursor moves, nothing is selected
    EXPECT_EQ(model.ItemIndex(), 4);
    EXPECT_EQ(Sel(), kNone);
    TScriptMenuState onlySelectAll;
    onlySelectAll.SelectAll = true;
    EXPECT_EQ(model.MenuState(), onlySelectAll);
    model.SetItemIndex(6);
    EXPECT_EQ(Sel(), kNone);
}

TEST_F(ScriptListTest, ShiftExtendsFromTheAnchorAndTheShallowerDepthWins) {
    model.SetItemIndex(2);
    model.SetItemIndex(8, true);  // from inside the fork body to a top-level command after it
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    EXPECT_EQ(model.ItemIndex(), 8);
    EXPECT_EQ(model.Anchor(), 2);
    model.SetItemIndex(0, true);  // the anchor stays; upwards the fork is taken whole
    EXPECT_EQ(Sel(), std::make_pair(0, 6));
    model.SetItemIndex(9, true);  // reaching the closing line never selects it with others
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    model.SetItemIndex(4);
    model.SetItemIndex(1, true);  // from ":Else Case" up to the fork line
    EXPECT_EQ(Sel(), std::make_pair(1, 6));
}

TEST_F(ScriptListTest, CursorIsClampedBeforeItBecomesTheAnchor) {
    model.SetItemIndex(500);
    EXPECT_EQ(model.ItemIndex(), 9);
    EXPECT_EQ(model.Anchor(), 9);
    EXPECT_EQ(Sel(), std::make_pair(9, 9));
    model.SetItemIndex(0, true);
    EXPECT_EQ(Sel(), std::make_pair(0, 8));
    model.SetItemIndex(-7);
    EXPECT_EQ(model.ItemIndex(), 0);
    EXPECT_EQ(model.Anchor(), 0);
    EXPECT_EQ(Sel(), std::make_pair(0, 0));
}

TEST_F(ScriptListTest, EmptyListsAndBackwardRangesSelectNothing) {
    TScriptListModel bare(FakeRender);
    bare.SetItemIndex(3);
    EXPECT_EQ(bare.ItemIndex(), -1);
    EXPECT_EQ(bare.SelStart(), -1);
    EXPECT_FALSE(bare.SelectAll());
    EXPECT_FALSE(bare.Delete());
    bare.KeyDown(TScriptListKey::End, false);
    bare.KeyDown(TScriptListKey::PageDown, false);
    EXPECT_EQ(bare.ItemIndex(), -1);

    // An empty script is given its closing line, which is then selected alone.
    TKelEventScriptList empty;
    bare.SetScript(&empty);
    ASSERT_EQ(empty.Count(), 1);
    EXPECT_EQ(empty.Lines(0)->Code, 0);
    EXPECT_EQ(bare.SelStart(), 0);
    EXPECT_EQ(bare.SelEnd(), 0);

    // From the closing line back to the companion line before it: the range would end before
    // it starts.
    Use({{12010, 0, {0, 1, 0, 0, 0, 0}}, {10, 1}, {22011, 0}, {0, 0}});
    model.SetItemIndex(3);
    model.SetItemIndex(2, true);
    EXPECT_EQ(Sel(), kNone);
    EXPECT_FALSE(model.MenuState().Insert);
    EXPECT_FALSE(model.Insert());
    EXPECT_EQ(dialogs.ChooseCalls, 0);
}

TEST_F(ScriptListTest, ScriptWithoutClosingLineGetsOne) {
    Use({{10110, 0}, {12210, 0}, {10, 1}, {22210, 0}});
    EXPECT_EQ(Shape(script), (Shape_t{{10110, 0}, {12210, 0}, {10, 1}, {22210, 0}, {0, 0}}));
    ExpectRowsRendered();
    ASSERT_TRUE(model.SelectAll());
    EXPECT_EQ(Sel(), std::make_pair(0, 3));
    // Also when the owner swaps in such a script and refreshes.
    Fill(script, {{10110, 0}});
    model.Refresh();
    EXPECT_EQ(Shape(script), (Shape_t{{10110, 0}, {0, 0}}));
    ExpectRowsRendered();
}

TEST_F(ScriptListTest, LargeSelectionsCutAndPasteBackWhole) {
    std::vector<L> lines;
    for (int i = 0; i < 1500; ++i) {
        lines.push_back({12210, 0});
        lines.push_back({10110, 1, {}, std::to_string(i)});
        lines.push_back({10, 1});
        lines.push_back({22210, 0});
    }
    lines.push_back({0, 0});
    Use(lines);
    TKelEventScriptList original;
    original.Assign(script);
    ASSERT_TRUE(model.SelectAll());
    ASSERT_TRUE(model.Cut());
    EXPECT_EQ(script.Count(), 1);
    EXPECT_EQ(model.Count(), 1);
    ASSERT_TRUE(model.Paste());
    ASSERT_EQ(script.Count(), original.Count());
    for (int i = 0; i < script.Count(); ++i)
        ASSERT_EQ(*script.Lines(i), *original.Lines(i)) << i;
    ExpectRowsRendered();
    EXPECT_EQ(model.ItemIndex(), 6000);
}

TEST_F(ScriptListTest, DamagedBlockIsSelectedToTheEndOfItsRun) {
    // A nested fork cut short: its ":End Case" and the body's empty line are missing.
    Use({{12010, 0, {0, 1}}, {10110, 1}, {12010, 1, {0, 2}}, {10, 2}, {22011, 0}, {0, 0}});
    model.SetItemIndex(2);
    EXPECT_EQ(Sel(), std::make_pair(2, 3));
    ASSERT_TRUE(model.Delete());
    EXPECT_EQ(Shape(script), (Shape_t{{12010, 0}, {10110, 1}, {22011, 0}, {0, 0}}));
    // A damaged top-level block that runs into the closing line stops before it.
    Use({{10110, 0}, {12010, 0}, {10, 1}, {10110, 1}, {0, 0}});
    model.SetItemIndex(1);
    EXPECT_EQ(Sel(), std::make_pair(1, 3));
}

TEST_F(ScriptListTest, StructureComesFromTheLinesNotFromTheirText) {
    // A row that cannot be rendered (no indentation, no "<>") inside a fork body.
    Use({{12010, 0, {0, 1}}, {kCorruptCode, 1, {10005, 3, 0, 0, 35}}, {10, 1}, {22011, 0},
         {-4, -3}, {0, 0}});
    EXPECT_EQ(model.Items()[1], kCorruptText);
    EXPECT_EQ(model.RowIndent(1), 1);
    EXPECT_TRUE(model.RowIsCommand(1));
    EXPECT_EQ(model.RowIndent(4), 0);  // a negative indent counts as 0
    model.SetItemIndex(0);
    EXPECT_EQ(Sel(), std::make_pair(0, 3));
    model.SetItemIndex(1);
    EXPECT_EQ(Sel(), std::make_pair(1, 1));
    model.SetItemIndex(4);
    EXPECT_EQ(Sel(), std::make_pair(4, 4));
    // An unknown code of 20000 or above is a command of its own, a catalogued one is not.
    Use({{25000, 0}, {20141, 0}, {0, 0}});
    EXPECT_TRUE(model.RowIsCommand(0));
    EXPECT_FALSE(model.RowIsCommand(1));
}

// --- navigation and scrolling ---

TEST_F(ScriptListTest, NavigationKeysMoveBetweenCommandLines) {
    model.SetVisibleLines(4);
    model.SetItemIndex(1);
    model.KeyDown(TScriptListKey::Down, false);
    EXPECT_EQ(model.ItemIndex(), 2);
    model.KeyDown(TScriptListKey::Right, false);
    EXPECT_EQ(model.ItemIndex(), 3);
    model.KeyDown(TScriptListKey::Down, false);  // ":Else Case" is skipped
    EXPECT_EQ(model.ItemIndex(), 5);
    model.KeyDown(TScriptListKey::Down, false);  // and so is ":End Case"
    EXPECT_EQ(model.ItemIndex(), 7);
    model.KeyDown(TScriptListKey::Down, true);  // Shift extends
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    model.KeyDown(TScriptListKey::Up, false);
    EXPECT_EQ(model.ItemIndex(), 7);
    EXPECT_EQ(Sel(), std::make_pair(7, 7));
    model.KeyDown(TScriptListKey::Left, false);
    EXPECT_EQ(model.ItemIndex(), 5);
    model.KeyDown(TScriptListKey::End, false);
    EXPECT_EQ(model.ItemIndex(), 9);
    EXPECT_EQ(model.TopIndex(), 6);  // scrolled so the cursor is the last visible line
    model.KeyDown(TScriptListKey::Down, false);  // nothing after the closing line
    EXPECT_EQ(model.ItemIndex(), 9);
    model.KeyDown(TScriptListKey::Home, false);
    EXPECT_EQ(model.ItemIndex(), 0);
    EXPECT_EQ(model.TopIndex(), 0);
    model.KeyDown(TScriptListKey::Up, false);
    EXPECT_EQ(model.ItemIndex(), 0);

    // Half pages: two lines, then on to a command line.
    model.KeyDown(TScriptListKey::PageDown, false);
    EXPECT_EQ(model.ItemIndex(), 2);
    model.KeyDown(TScriptListKey::PageDown, false);  // lands on ":Else Case", goes on to 5
    EXPECT_EQ(model.ItemIndex(), 5);
    model.KeyDown(TScriptListKey::PageUp, false);  // lands on 3, a command line
    EXPECT_EQ(model.ItemIndex(), 3);
    model.SetItemIndex(8);
    model.KeyDown(TScriptListKey::PageUp, false);  // lands on ":End Case", goes back to 5
    EXPECT_EQ(model.ItemIndex(), 5);
}

TEST_F(ScriptListTest, ShiftUpAndLeftExtendFromTheAnchorAsShiftDownDoes) {
    model.SetItemIndex(8);
    model.KeyDown(TScriptListKey::Up, true);
    EXPECT_EQ(model.ItemIndex(), 7);
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    EXPECT_EQ(model.Anchor(), 8);
    // Over ":End Case" into the else body: the top level still wins, the range stays.
    model.KeyDown(TScriptListKey::Left, true);
    EXPECT_EQ(model.ItemIndex(), 5);
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    for (int row : {3, 2, 1}) {
        model.KeyDown(TScriptListKey::Up, true);
        EXPECT_EQ(model.ItemIndex(), row);
    }
    EXPECT_EQ(Sel(), std::make_pair(1, 8));  // the fork comes in whole
    model.KeyDown(TScriptListKey::Left, true);
    EXPECT_EQ(Sel(), std::make_pair(0, 8));
    EXPECT_EQ(model.Anchor(), 8);
    model.KeyDown(TScriptListKey::Down, true);
    EXPECT_EQ(Sel(), std::make_pair(1, 8));
}

TEST_F(ScriptListTest, TopIndexIsClampedAndAutoScrollMovesTheCursorToTheEdge) {
    model.SetVisibleLines(4);
    model.SetTopIndex(50);
    EXPECT_EQ(model.TopIndex(), 6);
    model.SetTopIndex(-3);
    EXPECT_EQ(model.TopIndex(), 0);
    model.SetItemIndex(2);
    model.AutoScroll(+1, false, false);
    EXPECT_EQ(model.TopIndex(), 1);
    EXPECT_EQ(model.ItemIndex(), 4);  // last visible line
    model.AutoScroll(+1, true, false);
    EXPECT_EQ(model.TopIndex(), 3);
    EXPECT_EQ(model.ItemIndex(), 6);
    model.AutoScroll(+1, true, false);
    model.AutoScroll(+1, true, false);
    EXPECT_EQ(model.TopIndex(), 6);
    EXPECT_EQ(model.ItemIndex(), 9);
    model.AutoScroll(-1, false, false);
    EXPECT_EQ(model.TopIndex(), 5);
    EXPECT_EQ(model.ItemIndex(), 5);  // first visible line
    // A short list never scrolls.
    model.SetVisibleLines(40);
    EXPECT_EQ(model.TopIndex(), 0);
    model.AutoScroll(+1, true, false);
    EXPECT_EQ(model.TopIndex(), 0);
    EXPECT_EQ(model.ItemIndex(), 9);
}

TEST_F(ScriptListTest, RightClickInsideTheSelectionKeepsIt) {
    model.SetItemIndex(1);
    model.MouseDown(4, true, false);  // inside the fork
    EXPECT_EQ(Sel(), std::make_pair(1, 6));
    EXPECT_EQ(model.ItemIndex(), 1);
    model.MouseDown(4, false, false);  // a left click moves there
    EXPECT_EQ(Sel(), kNone);
    model.MouseDown(8, true, false);  // a right click outside moves too
    EXPECT_EQ(Sel(), std::make_pair(8, 8));
    model.MouseDown(1, false, true);  // Shift-click extends
    EXPECT_EQ(Sel(), std::make_pair(1, 8));
    model.MouseDown(400, false, false);  // below the last line: the last line
    EXPECT_EQ(model.ItemIndex(), 9);
}

// --- menu states ---

TEST_F(ScriptListTest, MenuStatesFollowTheSelection) {
    model.SetItemIndex(1);
    TScriptMenuState s = model.MenuState();
    EXPECT_TRUE(s.Insert && s.Edit && s.Cut && s.Copy && s.Delete && s.SelectAll);
    EXPECT_FALSE(s.Paste);  // nothing of format 566 on the clipboard
    clipboard.SetData(kScriptClipboardFormat, EncodeScriptBlock(script, 7, 7));
    EXPECT_TRUE(model.MenuState().Paste);
    clipboard.SetData(567, "x");
    EXPECT_FALSE(model.MenuState().Paste);

    ASSERT_TRUE(model.SelectAll());
    EXPECT_EQ(Sel(), std::make_pair(0, 8));
    s = model.MenuState();
    EXPECT_FALSE(s.Insert);
    EXPECT_FALSE(s.Edit);
    EXPECT_TRUE(s.Cut && s.Copy && s.Delete);

    model.SetItemIndex(9);  // the closing line alone
    s = model.MenuState();
    EXPECT_TRUE(s.Insert);
    EXPECT_FALSE(s.Edit || s.Cut || s.Copy || s.Delete);
    model.SetItemIndex(3);  // a body's empty line
    s = model.MenuState();
    EXPECT_TRUE(s.Insert);
    EXPECT_FALSE(s.Edit || s.Cut || s.Copy || s.Delete);
    model.SetItemIndex(2);
    model.SetItemIndex(3, true);  // a command and the empty line below it
    s = model.MenuState();
    EXPECT_FALSE(s.Insert || s.Edit || s.Cut || s.Copy || s.Delete);

    Use({{0, 0}});
    EXPECT_FALSE(model.MenuState().SelectAll);
    EXPECT_FALSE(model.SelectAll());
}

TEST_F(ScriptListTest, OperationsRecheckTheirStateWhenTheyRun) {
    model.SetItemIndex(9);
    EXPECT_FALSE(model.Delete());
    EXPECT_FALSE(model.Cut());
    EXPECT_FALSE(model.Copy());
    EXPECT_FALSE(model.Edit());
    EXPECT_FALSE(clipboard.HasFormat(kScriptClipboardFormat));
    model.SetItemIndex(5);  // else-body's empty line
    EXPECT_FALSE(model.Delete());
    EXPECT_FALSE(model.Cut());
    model.SetItemIndex(6);  // nothing selected
    EXPECT_FALSE(model.Paste());
    EXPECT_FALSE(model.Insert());
    EXPECT_EQ(Shape(script).size(), 10u);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(dialogs.ChooseCalls + dialogs.EditCalls, 0);
}

// --- insert and edit ---

TEST_F(ScriptListTest, InsertGoesInFrontOfTheSelectionAndMovesTheCursorOn) {
    dialogs.Choose = [](TKelEventScriptList& r) {
        Fill(r, Fork(0, false));
        return true;
    };
    model.SetItemIndex(2);  // inside the then-body, depth 1
    ASSERT_TRUE(model.Insert());
    EXPECT_EQ(dialogs.LastKind, TScriptEditorKind::MapEvent);
    EXPECT_EQ(Shape(script), (Shape_t{{10110, 0}, {12010, 0}, {12010, 1}, {10, 2}, {22011, 1},
                                      {10220, 1}, {10, 1}, {22010, 0}, {10, 1}, {22011, 0},
                                      {10210, 0}, {11410, 0}, {0, 0}}));
    EXPECT_EQ(model.ItemIndex(), 3);  // on the inserted fork's body
    EXPECT_EQ(Sel(), std::make_pair(3, 3));
    EXPECT_EQ(modified, 1);
    ExpectRowsRendered();

    // A simple command: the cursor comes back to the command that was selected.
    dialogs.Choose = [](TKelEventScriptList& r) {
        Fill(r, {{11410, 0, {7}}});
        return true;
    };
    model.SetItemIndex(12);  // the closing line
    ASSERT_TRUE(model.Insert());
    EXPECT_EQ(script.Lines(12)->Code, 11410);
    EXPECT_EQ(script.Lines(13)->Code, 0);
    EXPECT_EQ(model.ItemIndex(), 13);
    EXPECT_EQ(Sel(), std::make_pair(13, 13));
    ExpectRowsRendered();

    // Cancel and an empty result change nothing.
    dialogs.Choose = [](TKelEventScriptList& r) {
        Fill(r, {{11410, 0}});
        return false;
    };
    EXPECT_FALSE(model.Insert());
    dialogs.Choose = [](TKelEventScriptList&) { return true; };
    EXPECT_FALSE(model.Insert());
    EXPECT_EQ(script.Count(), 14);
    EXPECT_EQ(modified, 2);
}

TEST_F(ScriptListTest, InsertScrollsTheInsertedLinesIntoView) {
    model.SetVisibleLines(3);
    model.SetItemIndex(9);
    EXPECT_EQ(model.TopIndex(), 7);
    dialogs.Choose = [](TKelEventScriptList& r) {
        Fill(r, {{12210, 0}, {10, 1}, {22210, 0}});
        return true;
    };
    model.SetItemIndex(0);
    model.SetTopIndex(7);  // scrolled away from the selection
    ASSERT_TRUE(model.Insert());
    EXPECT_EQ(model.ItemIndex(), 1);  // the loop's body
    EXPECT_LE(model.TopIndex(), 0);
    EXPECT_GE(model.TopIndex() + model.VisibleLines(), 3);
}

TEST_F(ScriptListTest, EditKeepsBodiesAndRebuildsAtTheEditedDepth) {
    Use({{12010, 0, {0, 1}}, {12010, 1, {0, 2, 0, 0, 0, 0}}, {10220, 2}, {10110, 2}, {10, 2},
         {22011, 1}, {10, 1}, {22011, 0}, {0, 0}});
    // The dialog switches the else branch on, keeping the existing then-body.
    dialogs.Edit = [](std::int32_t code, TKelEventScriptList& r) {
        EXPECT_EQ(code, 12010);
        TKelEventScriptList out;
        Fill(out, {{12010, 0, {0, 9, 0, 0, 0, 1}}});
        for (int i = 1; i < r.Count(); ++i)
            if (r.Lines(i)->Indent > r.Lines(0)->Indent) {
                auto& l = out.Add(std::make_unique<TKelEventScriptLine>(*r.Lines(i)));
                l.Indent -= r.Lines(0)->Indent;
            }
        auto& e = out.Add();
        e.Code = 22010;
        out.Add().Code = 10;
        out.Lines(out.Count() - 1)->Indent = 1;
        out.Add().Code = 22011;
        r.Assign(out);
        return true;
    };
    model.SetItemIndex(1);
    ASSERT_EQ(Sel(), std::make_pair(1, 5));
    ASSERT_TRUE(model.Edit());
    EXPECT_EQ(dialogs.LastEditInput, (Shape_t{{12010, 1}, {10220, 2}, {10110, 2}, {10, 2}, {22011, 1}}));
    EXPECT_EQ(Shape(script), (Shape_t{{12010, 0}, {12010, 1}, {10220, 2}, {10110, 2}, {10, 2},
                                      {22010, 1}, {10, 2}, {22011, 1}, {10, 1}, {22011, 0}, {0, 0}}));
    EXPECT_EQ(script.Lines(1)->Param(1), 9);
    EXPECT_EQ(Sel(), std::make_pair(1, 7));
    EXPECT_EQ(modified, 1);
    ExpectRowsRendered();

    // A damaged body without its empty line: after the old block is gone the line at its place
    // is shallower, yet the new one goes in at the edited line's depth.
    Use({{12010, 0, {0, 1}}, {10410, 1}, {22011, 0}, {0, 0}});
    dialogs.Edit = [](std::int32_t, TKelEventScriptList& r) {
        Fill(r, {{10420, 0}});
        return true;
    };
    model.SetItemIndex(1);
    ASSERT_TRUE(model.Edit());
    EXPECT_EQ(Shape(script), (Shape_t{{12010, 0}, {10420, 1}, {22011, 0}, {0, 0}}));

    // An empty result, a cancel and a code without a dialog change nothing.
    dialogs.Edit = [](std::int32_t, TKelEventScriptList& r) {
        r.Clear();
        return true;
    };
    model.SetItemIndex(1);
    EXPECT_FALSE(model.Edit());
    dialogs.Edit = [](std::int32_t, TKelEventScriptList& r) {
        Fill(r, {{10110, 0}});
        return false;
    };
    EXPECT_FALSE(model.Edit());
    EXPECT_EQ(Shape(script), (Shape_t{{12010, 0}, {10420, 1}, {22011, 0}, {0, 0}}));
    EXPECT_EQ(modified, 1);
}

// --- clipboard ---

TEST_F(ScriptListTest, CopyWritesCountAndScriptBytes) {
    model.SetItemIndex(7);
    model.SetItemIndex(8, true);
    ASSERT_TRUE(model.Copy());
    const auto block = clipboard.GetData(kScriptClipboardFormat);
    ASSERT_TRUE(block);
    // 10210 = 0xD0 0x62, indent 0, no text, one parameter 2; 11410 = 0xD9 0x12, one parameter 5.
    const std::string body = std::string("\xCF\x62\x00\x00\x01\x02\xD9\x12\x00\x00\x01\x05", 12);
    EXPECT_EQ(*block, std::string("\x0C\x00\x00\x00", 4) + body);
    EXPECT_EQ(modified, 0);
    // Indents are kept as they stand in the script.
    model.SetItemIndex(2);
    ASSERT_TRUE(model.Copy());
    EXPECT_EQ(clipboard.GetData(kScriptClipboardFormat)->substr(4, 3), std::string("\xCF\x6C\x01", 3));
}

TEST_F(ScriptListTest, PasteRebasesTheBlockAndKeepsTheCursorOnItsLine) {
    // Copy the whole fork and paste it into its own then-body.
    model.SetItemIndex(1);
    ASSERT_TRUE(model.Copy());
    model.SetItemIndex(2);
    ASSERT_TRUE(model.Paste());
    EXPECT_EQ(Shape(script),
              (Shape_t{{10110, 0}, {12010, 0}, {12010, 1}, {10220, 2}, {10, 2}, {22010, 1}, {10, 2},
                       {22011, 1}, {10220, 1}, {10, 1}, {22010, 0}, {10, 1}, {22011, 0}, {10210, 0},
                       {11410, 0}, {0, 0}}));
    EXPECT_EQ(model.ItemIndex(), 8);  // still on the command it was on
    EXPECT_EQ(Sel(), std::make_pair(8, 8));
    EXPECT_EQ(modified, 1);
    ExpectRowsRendered();

    // Lines copied at depth 2 go in front of a top-level line at depth 0, relative depths kept.
    TKelEventScriptList deep;
    Fill(deep, {{10110, 2}, {12210, 2}, {10, 3}, {22210, 2}});
    clipboard.SetData(kScriptClipboardFormat, EncodeScriptBlock(deep, 0, 3));
    model.SetItemIndex(0);
    ASSERT_TRUE(model.Paste());
    const Shape_t after = Shape(script);
    EXPECT_EQ((Shape_t(after.begin(), after.begin() + 5)),
              (Shape_t{{10110, 0}, {12210, 0}, {10, 1}, {22210, 0}, {10110, 0}}));
    EXPECT_EQ(model.ItemIndex(), 4);
}

TEST_F(ScriptListTest, PasteDropsCommandsThatDoNotBelongInTheEditor) {
    TKelEventScriptList mixed;
    Fill(mixed, {{13110, 0}, {10110, 0}, {13310, 0}, {10110, 1}, {10, 1}, {23310, 0}, {10, 1},
                 {23311, 0}, {12010, 0}, {13410, 1}, {10, 1}, {22011, 0}, {0, 0}});
    clipboard.SetData(kScriptClipboardFormat, EncodeScriptBlock(mixed, 0, mixed.Count() - 1));
    model.SetItemIndex(7);
    ASSERT_TRUE(model.Paste());
    const Shape_t after = Shape(script);
    EXPECT_EQ((Shape_t(after.begin() + 7, after.end())),
              (Shape_t{{10110, 0}, {12010, 0}, {10, 1}, {22011, 0}, {10210, 0}, {11410, 0}, {0, 0}}));

    // Lines coded as companions right after a dropped command go with it, so a pasted block
    // never starts with a stray companion line.
    TKelEventScriptList tail;
    Fill(tail, {{13410, 0}, {20110, 0}, {25000, 0}, {10110, 0}});
    FilterPastedLines(tail, TScriptEditorKind::CommonEvent);
    EXPECT_EQ(Shape(tail), (Shape_t{{10110, 0}}));

    // Only battle commands: nothing changes, the page stays unmodified.
    TKelEventScriptList battle;
    Fill(battle, {{13310, 0}, {10, 1}, {23311, 0}, {13150, 0}});
    clipboard.SetData(kScriptClipboardFormat, EncodeScriptBlock(battle, 0, 3));
    const Shape_t before = Shape(script);
    modified = 0;
    EXPECT_FALSE(model.Paste());
    EXPECT_EQ(Shape(script), before);
    EXPECT_EQ(modified, 0);

    // A battle page keeps its own commands and drops a map fork with its bodies.
    Use({{0, 0}});
    model.SetKind(TScriptEditorKind::BattlePage);
    TKelEventScriptList fromMap;
    Fill(fromMap, {{12010, 0}, {10110, 1}, {10, 1}, {22010, 0}, {10, 1}, {22011, 0}, {10110, 0},
                   {20110, 0}, {10710, 0}, {13310, 0}, {10, 1}, {23311, 0}, {0, 0}});
    clipboard.SetData(kScriptClipboardFormat, EncodeScriptBlock(fromMap, 0, fromMap.Count() - 1));
    model.SetItemIndex(0);
    ASSERT_TRUE(model.Paste());
    EXPECT_EQ(Shape(script), (Shape_t{{10110, 0}, {20110, 0}, {13310, 0}, {10, 1}, {23311, 0}, {0, 0}}));
}

TEST_F(ScriptListTest, DamagedBlocksAreRefusedWhole) {
    TKelEventScriptList two;
    Fill(two, {{10110, 1}, {10210, 1, {1, 2, 3}}});
    const std::string good = EncodeScriptBlock(two, 0, 1);
    const auto withCount = [&](std::uint32_t n, const std::string& body) {
        std::string b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[static_cast<std::size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
        return b + body;
    };
    const std::string body = good.substr(4);
    const std::vector<std::string> damaged = {
        withCount(0xFFFFFFFFu, body),                                       // negative count
        withCount(static_cast<std::uint32_t>(body.size() + 1), body),      // count past the end
        withCount(0x7FFFFFFFu, body),                                       // huge count
        withCount(static_cast<std::uint32_t>(body.size() - 1), body),      // last line cut short
        std::string("\x05\x00", 2),                                         // no count at all
    };
    TKelEventScriptList shallow, companion, tooDeep;
    Fill(shallow, {{10110, 2}, {10210, 1}});
    Fill(companion, {{22011, 0}, {10210, 0}});
    Fill(tooDeep, {{10110, -5}, {10210, kMaxPastedDepth}});
    const std::vector<std::string> unsound = {EncodeScriptBlock(shallow, 0, 1),
                                              EncodeScriptBlock(companion, 0, 1),
                                              EncodeScriptBlock(tooDeep, 0, 1)};
    model.SetItemIndex(7);
    const Shape_t before = Shape(script);
    for (const auto& blocks : {damaged, unsound})
        for (const std::string& block : blocks) {
            TKelEventScriptList out;
            EXPECT_FALSE(DecodeScriptBlock(block, out));
            EXPECT_EQ(out.Count(), 0);
            clipboard.SetData(kScriptClipboardFormat, block);
            EXPECT_FALSE(model.Paste());
            EXPECT_EQ(Shape(script), before);
        }
    EXPECT_EQ(modified, 0);
    // A count shorter than the bytes present reads only the counted bytes.
    TKelEventScriptList out;
    ASSERT_TRUE(DecodeScriptBlock(withCount(5, body + "junk"), out));
    EXPECT_EQ(Shape(out), (Shape_t{{10110, 1}}));
}

TEST_F(ScriptListTest, CutDeletesOnlyWhatReachedTheClipboard) {
    model.SetItemIndex(1);
    TLosingClipboard losing;
    model.SetClipboard(&losing);
    EXPECT_FALSE(model.Cut());
    EXPECT_EQ(script.Count(), 10);
    model.SetClipboard(&clipboard);
    ASSERT_TRUE(model.Cut());
    EXPECT_EQ(Shape(script), (Shape_t{{10110, 0}, {10210, 0}, {11410, 0}, {0, 0}}));
    EXPECT_EQ(Sel(), std::make_pair(1, 1));  // the command now at the place
    EXPECT_EQ(modified, 1);
    ExpectRowsRendered();
    // What was cut pastes back to the same script.
    ASSERT_TRUE(model.Paste());
    TKelEventScriptList expected;
    Fill(expected, Standard());
    EXPECT_EQ(Shape(script), Shape(expected));
}

// --- refresh ---

TEST_F(ScriptListTest, RefreshKeepsOrRecomputesTheSelection) {
    model.SetVisibleLines(4);
    model.SetItemIndex(8);
    model.SetItemIndex(7, true);
    const int top = model.TopIndex();
    script.Lines(7)->SetParamCount(1);
    script.Lines(7)->SetParam(0, 42);
    model.Refresh();
    EXPECT_EQ(model.Items()[7], "<>10210/42");
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    EXPECT_EQ(model.TopIndex(), top);

    // Another script of the same length with another structure: the old range would hold a
    // loop's body line and its ":End Loop"; the selection is worked out again.
    Fill(script, {{10110, 0}, {10110, 0}, {10110, 0}, {10110, 0}, {10110, 0}, {12210, 0},
                  {10110, 1}, {10110, 1}, {22210, 0}, {0, 0}});
    model.Refresh();
    EXPECT_EQ(model.ItemIndex(), 7);
    EXPECT_EQ(Sel(), kNone);
    model.SetItemIndex(5);
    EXPECT_EQ(Sel(), std::make_pair(5, 8));
    ExpectRowsRendered();

    // Another length: rebuilt, cursor on the first line.
    Fill(script, {{10110, 0}, {10210, 0}, {0, 0}});
    model.Refresh();
    EXPECT_EQ(model.ItemIndex(), 0);
    EXPECT_EQ(Sel(), std::make_pair(0, 0));
    EXPECT_EQ(model.TopIndex(), 0);
    ExpectRowsRendered();
    EXPECT_EQ(modified, 0);
}

TEST(ScriptListWithConverter, RowsAreTheConvertersSafeTextsAndKeepTheBlockStructure) {
    TEventScriptConverter converter;
    TScriptListModel model([&converter](const TKelEventScriptLine& line) { return converter.RenderSafely(line); });
    TKelEventScriptList script;
    // A fork whose body holds a move command with its route cut short inside "Play SE ".
    Fill(script, {{12010, 0, {8, 0, 0, 0, 0, 0}}, {11330, 1, {10005, 3, 0, 0, 35, 2}}, {10, 1},
                  {22011, 0}, {0, 0}});
    model.SetScript(&script);
    ASSERT_EQ(model.Count(), 5);
    EXPECT_EQ(model.Items()[1], converter.RenderSafely(*script.Lines(1)));
    EXPECT_EQ(model.Items()[1].rfind("  ", 0), std::string::npos);  // no indentation
    EXPECT_EQ(model.Items()[2], "  <>");
    EXPECT_EQ(model.Items()[4], "<>");
    EXPECT_EQ(model.RowIndent(1), 1);
    model.SetItemIndex(0);
    EXPECT_EQ(model.SelStart(), 0);
    EXPECT_EQ(model.SelEnd(), 3);
    model.SetItemIndex(1);
    EXPECT_EQ(model.SelEnd(), 1);
    model.SetItemIndex(3);
    EXPECT_FALSE(model.HasSelection());
}

}  // namespace
