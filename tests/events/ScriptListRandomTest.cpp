// Random scripts under random sequences of list operations: the script stays well-formed, the
// rows stay what the renderer makes of the lines, and the selection stays a valid whole-command
// range.
#include "events/EventCommands.h"
#include "events/ScriptList.h"
#include "events/ScriptListTestKit.h"

#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace quillon;
using namespace quillon::scriptkit;

namespace {

class TScriptGen {
public:
    explicit TScriptGen(std::uint32_t seed) : mRng(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRng); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // A body at depth d ending with its empty line (or, at the top, the closing line).
    void Body(std::vector<L>& out, int d, int budget) {
        const int n = Pick(budget > 0 ? 4 : 1);
        for (int i = 0; i < n; ++i)
            Command(out, d, budget - 1);
        out.push_back({d == 0 && mTop ? 0 : 10, d});
    }

    std::vector<L> Script(int budget) {
        std::vector<L> out;
        mTop = true;
        const int n = Pick(8);
        for (int i = 0; i < n; ++i)
            Command(out, 0, budget);
        out.push_back({0, 0});
        return out;
    }

    // One whole command at depth 0, as a dialog writes it.
    std::vector<L> Block(int budget) {
        std::vector<L> out;
        mTop = false;
        Command(out, 0, budget);
        return out;
    }

    void Command(std::vector<L>& out, int d, int budget) {
        const bool top = mTop;
        mTop = false;
        const auto body = [&] { Body(out, d + 1, budget); };
        switch (budget > 0 ? Pick(12) : Pick(4)) {
        case 0: out.push_back({10210, d, {Pick(3), Pick(50)}}); break;
        case 1: out.push_back({11410, d, {Pick(100)}}); break;
        case 2:
            out.push_back({10110, d, {}, "m"});
            for (int k = Pick(3); k > 0; --k)
                out.push_back({20110, d, {}, "c"});
            break;
        case 3: out.push_back({kCorruptCode, d, {10005, 0, 0, 0, 35}}); break;  // renders corrupt
        case 4: {
            const bool withElse = Chance(50);
            out.push_back({12010, d, {0, Pick(9), 0, 0, 0, withElse ? 1 : 0}});
            body();
            if (withElse) {
                out.push_back({22010, d});
                body();
            }
            out.push_back({22011, d});
            break;
        }
        case 5:
            out.push_back({12210, d});
            body();
            out.push_back({22210, d});
            break;
        case 6: {
            out.push_back({10140, d, {5}, "a/b"});
            for (int j = 0, n = 1 + Pick(4); j < n; ++j) {
                out.push_back({20140, d, {j}, "a"});
                body();
            }
            out.push_back({20141, d});
            break;
        }
        case 7:
            out.push_back({10710, d, {0, 1, 0, 2, 1, 0}});
            out.push_back({20710, d});
            body();
            out.push_back({20711, d});
            body();
            out.push_back({20712, d});
            body();
            out.push_back({20713, d});
            break;
        case 8:
            out.push_back({10720, d, {0, 0, 1, 0, 3}});
            out.push_back({20720, d});
            body();
            out.push_back({20721, d});
            body();
            out.push_back({20722, d});
            break;
        case 9: {
            const bool withElse = Chance(50);
            out.push_back({13310, d, {0, 1, 0, 0, 0, withElse ? 1 : 0}});
            body();
            if (withElse) {
                out.push_back({23310, d});
                body();
            }
            out.push_back({23311, d});
            break;
        }
        case 10: out.push_back({13110, d, {0, 0, 0, 5}}); break;
        default:
            out.push_back({12410, d, {}, "note"});
            out.push_back({22410, d, {}, "more"});
            break;
        }
        mTop = top;
    }

private:
    std::mt19937 mRng;
    bool mTop = false;
};

// Recursive check of the block structure; `at` walks the lines.
class TStructureCheck {
public:
    explicit TStructureCheck(const TKelEventScriptList& s) : mS(s) {}

    // The whole script: top-level commands, then the closing line, last.
    bool Script() {
        mAt = 0;
        return Body(0, 0) && mAt == mS.Count();
    }
    // Exactly one whole command starting at depth d.
    bool OneCommand(int d) {
        mAt = 0;
        return Command(d) && mAt == mS.Count();
    }

private:
    const TKelEventScriptLine* Line() const { return mS.Lines(mAt); }
    bool Is(std::int32_t code, int d) const { return Line() && Line()->Code == code && Line()->Indent == d; }
    bool Expect(std::int32_t code, int d) {
        if (!Is(code, d))
            return false;
        ++mAt;
        return true;
    }

    bool Body(int d, std::int32_t terminator) {
        while (Line() && !Is(terminator, d))
            if (!Command(d))
                return false;
        return Expect(terminator, d);
    }

    bool Command(int d) {
        const TKelEventScriptLine* line = Line();
        if (!line || line->Indent != d || line->Code == 0 || line->Code == 10 ||
            IsCompanionCode(line->Code))
            return false;
        const std::int32_t code = line->Code;
        ++mAt;
        switch (code) {
        case 10110:
            while (Is(20110, d))
                ++mAt;
            return true;
        case 12410:
            while (Is(22410, d))
                ++mAt;
            return true;
        case 12010:
        case 13310: {
            const std::int32_t elseCode = code == 12010 ? 22010 : 23310;
            if (!Body(d + 1, 10))
                return false;
            if (Is(elseCode, d)) {
                ++mAt;
                if (!Body(d + 1, 10))
                    return false;
            }
            return Expect(code == 12010 ? 22011 : 23311, d);
        }
        case 12210: return Body(d + 1, 10) && Expect(22210, d);
        case 10140: {
            int cases = 0;
            while (Is(20140, d)) {
                ++mAt;
                ++cases;
                if (!Body(d + 1, 10))
                    return false;
            }
            return cases > 0 && Expect(20141, d);
        }
        case 10710: {
            bool any = false;
            for (const std::int32_t c : {20710, 20711, 20712})
                if (Is(c, d)) {
                    ++mAt;
                    any = true;
                    if (!Body(d + 1, 10))
                        return false;
                }
            return !any || Expect(20713, d);
        }
        case 10720:
        case 10730: {
            const std::int32_t base = code == 10720 ? 20720 : 20730;
            if (!Is(base, d))
                return true;
            ++mAt;
            return Body(d + 1, 10) && Expect(base + 1, d) && Body(d + 1, 10) && Expect(base + 2, d);
        }
        default: return true;
        }
    }

    const TKelEventScriptList& mS;
    int mAt = 0;
};

void ExpectSound(const TScriptListModel& model, const TKelEventScriptList& script, const std::string& where) {
    SCOPED_TRACE(where);
    ASSERT_TRUE(TStructureCheck(script).Script());
    ASSERT_EQ(model.Count(), script.Count());
    for (int i = 0; i < script.Count(); ++i)
        ASSERT_EQ(model.Items()[static_cast<std::size_t>(i)], FakeRender(*script.Lines(i))) << "row " << i;
    const int count = model.Count();
    ASSERT_GE(model.ItemIndex(), 0);
    ASSERT_LT(model.ItemIndex(), count);
    ASSERT_GE(model.TopIndex(), 0);
    ASSERT_LE(model.TopIndex(), std::max(0, count - model.VisibleLines()));
    ASSERT_GE(model.ItemIndex(), model.TopIndex());
    ASSERT_LT(model.ItemIndex(), model.TopIndex() + model.VisibleLines());
    if (!model.HasSelection()) {
        ASSERT_EQ(model.SelEnd(), -1);
        return;
    }
    const int s = model.SelStart(), e = model.SelEnd();
    ASSERT_LE(s, e);
    ASSERT_LT(e, count);
    if (e == count - 1) {
        ASSERT_EQ(s, e);  // the closing line only alone
    }
    // Whole commands: it starts on a command line, holds nothing shallower, and the line after it
    // starts another command at its depth or lies shallower.
    const int b = model.RowIndent(s);
    ASSERT_TRUE(model.RowIsCommand(s));
    for (int i = s; i <= e; ++i)
        ASSERT_GE(model.RowIndent(i), b);
    if (e + 1 < count) {
        const bool nextCommand = model.RowIndent(e + 1) == b && model.RowIsCommand(e + 1);
        ASSERT_TRUE(model.RowIndent(e + 1) < b || nextCommand) << s << ".." << e;
    }
}

void RunRandomSession(std::uint32_t seed, TScriptEditorKind kind, std::map<std::string, int>& succeeded) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TScriptGen gen(seed);
    TKelEventScriptList script;
    Fill(script, gen.Script(3));
    TMemoryClipboard clipboard;
    TFakeDialogs dialogs;
    TScriptListModel model(FakeRender);
    int modified = 0;
    const TConnection heard = model.OnModified.Connect([&] { ++modified; });
    model.SetKind(kind);
    model.SetClipboard(&clipboard);
    model.SetDialogs(&dialogs);
    model.SetVisibleLines(1 + gen.Pick(12));
    model.SetScript(&script);
    ExpectSound(model, script, "start");

    dialogs.Choose = [&](TKelEventScriptList& r) {
        if (gen.Chance(20))
            return false;
        Fill(r, gen.Block(2));
        return true;
    };
    dialogs.Edit = [&](std::int32_t code, TKelEventScriptList& r) {
        // The dialog gets exactly the one command it edits.
        EXPECT_EQ(code, r.Lines(0)->Code);
        EXPECT_TRUE(TStructureCheck(r).OneCommand(r.Lines(0)->Indent));
        if (gen.Chance(20))
            return false;
        Fill(r, gen.Block(2));
        return true;
    };

    const bool extendKeys[] = {false, true};
    for (int step = 0; step < 400; ++step) {
        const std::vector<std::pair<int, int>> before = Shape(script);
        const int modifiedBefore = modified;
        bool changed = false;
        bool mayChange = false;
        std::string op;
        const bool extend = extendKeys[gen.Pick(4) == 0 ? 1 : 0];
        switch (gen.Pick(16)) {
        case 0:
        case 1:
            op = "click";
            model.MouseDown(gen.Pick(model.Count() + 4) - 2, gen.Chance(30), extend);
            break;
        case 2:
            op = "item index";
            model.SetItemIndex(gen.Pick(model.Count() + 6) - 3, extend);
            break;
        case 3:
            op = "key";
            model.KeyDown(static_cast<TScriptListKey>(gen.Pick(8)), extend);
            break;
        case 4:
            op = "auto-scroll";
            model.AutoScroll(gen.Chance(50) ? -1 : 1, gen.Chance(50), extend);
            break;
        case 5:
            op = "resize";
            model.SetVisibleLines(1 + gen.Pick(15));
            break;
        case 6:
            op = "insert";
            mayChange = true;
            changed = model.Insert();
            break;
        case 7:
            op = "edit";
            mayChange = true;
            changed = model.Edit();
            break;
        case 8:
            op = "copy";
            model.Copy();
            break;
        case 9:
            op = "cut";
            mayChange = true;
            changed = model.Cut();
            break;
        case 10:
        case 11: {
            op = "paste";
            mayChange = true;
            // Now and then the clipboard's block is cut short while its count stays.
            const auto block = clipboard.GetData(kScriptClipboardFormat);
            const bool damage = block && block->size() > 5 && gen.Chance(25);
            if (damage)
                clipboard.SetData(kScriptClipboardFormat,
                                  block->substr(0, 4 + static_cast<std::size_t>(gen.Pick(static_cast<int>(block->size()) - 4))));
            changed = model.Paste();
            if (damage) {
                ASSERT_FALSE(changed) << "a cut-short block was pasted";
            }
            if (block)
                clipboard.SetData(kScriptClipboardFormat, *block);
            break;
        }
        case 12:
            op = "delete";
            mayChange = true;
            changed = model.Delete();
            break;
        case 13:
            op = "select all";
            model.SelectAll();
            break;
        case 14: {
            op = "refresh";
            // A renamed entry: one line's text changes, the structure does not.
            TKelEventScriptLine* line = script.Lines(gen.Pick(script.Count()));
            line->Text += "x";
            model.Refresh();
            break;
        }
        default:
            op = "page";
            model.KeyDown(gen.Chance(50) ? TScriptListKey::PageDown : TScriptListKey::PageUp, extend);
            break;
        }
        ExpectSound(model, script, "step " + std::to_string(step) + " " + op);
        if (::testing::Test::HasFatalFailure())
            return;
        if (!mayChange || !changed) {
            ASSERT_EQ(modified, modifiedBefore) << op;
            ASSERT_EQ(Shape(script), before) << op;
        } else {
            ASSERT_EQ(modified, modifiedBefore + 1) << op;
            ++succeeded[op];
        }
    }
}

// Damaged clipboard blocks: copies with flipped bytes and plain noise. A block is either refused
// with the page untouched, or its sound lines go in at the selection's depth and the closing
// line stays the only line of code 0, last.
TEST(ScriptListRandom, DamagedBlocksAreRefusedOrPastedSoundly) {
    TScriptGen gen(77);
    std::mt19937 rng(78);
    int refused = 0, pasted = 0;
    for (int round = 0; round < 3000; ++round) {
        TKelEventScriptList script;
        Fill(script, gen.Script(2));
        TKelEventScriptList source;
        Fill(source, gen.Block(2));
        std::string block = EncodeScriptBlock(source, 0, source.Count() - 1);
        if (round % 3 == 0) {
            block.resize(4 + rng() % 40);
            for (std::size_t i = 4; i < block.size(); ++i)
                block[i] = static_cast<char>(rng());
            const auto n = static_cast<std::uint32_t>(block.size() - 4);
            for (int i = 0; i < 4; ++i)
                block[static_cast<std::size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
        } else {
            for (int flips = 1 + static_cast<int>(rng() % 3); flips > 0; --flips)
                block[rng() % block.size()] ^= static_cast<char>(1 << (rng() % 8));
        }
        TMemoryClipboard clipboard;
        clipboard.SetData(kScriptClipboardFormat, block);
        TScriptListModel model(FakeRender);
        model.SetClipboard(&clipboard);
        model.SetScript(&script);
        model.SetItemIndex(gen.Pick(script.Count()));
        if (!model.HasSelection())
            model.SetItemIndex(script.Count() - 1);
        const int base = model.RowIndent(model.SelStart());
        const int before = script.Count();
        const std::vector<std::pair<int, int>> shape = Shape(script);
        if (!model.Paste()) {
            ++refused;
            ASSERT_EQ(Shape(script), shape) << round;
            continue;
        }
        ++pasted;
        ASSERT_GT(script.Count(), before);
        for (int i = 0; i < script.Count(); ++i) {
            ASSERT_EQ(model.Items()[static_cast<std::size_t>(i)], FakeRender(*script.Lines(i)));
            ASSERT_EQ(script.Lines(i)->Code == 0, i == script.Count() - 1) << round << " line " << i;
        }
        for (int i = model.SelStart() - (script.Count() - before); i < model.SelStart(); ++i)
            ASSERT_GE(script.Lines(i)->Indent, base);
    }
    EXPECT_GT(refused, 100);
    EXPECT_GT(pasted, 100);
}

// Each editing operation has to have changed the script often enough for the runs to count.
void ExpectExercised(const std::map<std::string, int>& succeeded) {
    for (const char* op : {"insert", "edit", "cut", "paste", "delete"}) {
        const auto it = succeeded.find(op);
        EXPECT_GT(it == succeeded.end() ? 0 : it->second, 20) << op;
    }
}

TEST(ScriptListRandom, MapEventScriptsStayWellFormed) {
    std::map<std::string, int> succeeded;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        RunRandomSession(seed, TScriptEditorKind::MapEvent, succeeded);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    ExpectExercised(succeeded);
}

TEST(ScriptListRandom, BattlePageScriptsStayWellFormed) {
    std::map<std::string, int> succeeded;
    for (std::uint32_t seed = 1000; seed <= 1040; ++seed) {
        RunRandomSession(seed, TScriptEditorKind::BattlePage, succeeded);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    ExpectExercised(succeeded);
}

}  // namespace
