// The command dialogs on the offscreen platform: every described command's dialog is built and
// confirmed, the memo of messages and comments, a radio group's enabling, refusals, the
// question before bodies with commands are dropped, and which command opens what.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/EvCmd10110_qt.h"
#include "events/EvCmdBase_qt.h"
#include "events/EvCmdList_qt.h"
#include "events/EvCmdSelector.h"
#include "events/EventCommands.h"
#include "events/FakeEventChoosers.h"
#include "events/ScriptListTestKit.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <functional>

namespace quillon {
namespace {

using scriptkit::Fill;
using scriptkit::L;
using testkit::TFakeEventChoosers;

// Records every message and answers questions as told.
class TScriptedBox final : public IMessageBox {
public:
    int Answer = mrYes;
    std::vector<std::string> Texts;
    int Show(const std::string& text, int flags, const void*) override {
        Texts.push_back(text);
        return (flags & 0x0F) == mbYesNo ? Answer : mrOk;
    }
};

// A line as the tests compare it.
struct Ln {
    std::int32_t Code = 0;
    std::int32_t Indent = 0;
    std::vector<std::int32_t> Params = {};
    std::string Text = {};
    bool operator==(const Ln&) const = default;
    friend void PrintTo(const Ln& line, std::ostream* out) {
        *out << "{" << line.Code << " @" << line.Indent << " [";
        for (const std::int32_t p : line.Params)
            *out << p << " ";
        *out << "] \"" << line.Text << "\"}";
    }
};

std::vector<Ln> LinesOf(const TKelEventScriptList& script) {
    std::vector<Ln> lines;
    for (int i = 0; i < script.Count(); ++i) {
        const TKelEventScriptLine& line = *script.Lines(i);
        lines.push_back({line.Code, line.Indent, line.Params(), line.Text});
    }
    return lines;
}

class EvCmdDialogTest : public ::testing::Test, private widgetkit::TWithApp {
protected:
    void SetUp() override {
        TCommandDialogModel::ForgetRemembered();
        ForgetSelectorCommandSettings();
        mPreviousBox = SetMessageBox(&box);
        db.Switch.Obtain(1).Name = "Door open";
        db.Variable.Obtain(1).Name = "Gold";
        db.Player.Obtain(1).Name = "Alex";
        db.Player.Obtain(2).Name = "Brian";
        db.Item.Obtain(1).Name = "Potion";
        db.Skill.Obtain(1).Name = "Heal";
        db.MonGroup.Obtain(1).Name = "Slimes";
        db.Status.Obtain(1).Name = "Poison";
        db.Animation.Obtain(1).Name = "Slash";
        db.ChipSet.Obtain(1).Name = "World";
        db.CommonEvent.Obtain(1).Name = "Shop";
        TKelMapTreeItem& town = tree.AddItem(0, 1);
        town.Name = "Town";
        town.Kind = TKelMapTreeItem::mkMap;
        tree.CurrentMapId = 1;
        map.Events.Obtain(1).Name = "Guard";
        context.DataBase = &db;
        context.MapTree = &tree;
        context.Map = &map;
        context.Choosers = &choosers;
    }
    void TearDown() override {
        SetMessageBox(mPreviousBox);
        TCommandDialogModel::ForgetRemembered();
        ForgetSelectorCommandSettings();
    }

    // Runs `act` on every dialog that opens; the dialog's result is what it ended with.
    static TScopedModalRunner::TRunner Driving(std::function<void(TFormKelBase&)> act) {
        return [act = std::move(act)](TFormKelBase& dialog) {
            widgetkit::ShowActive(dialog);
            act(dialog);
            const int result = dialog.result() == mrOk ? mrOk : mrCancel;
            dialog.hide();
            return result;
        };
    }
    static void PressOk(TFormKelBase& dialog) { widgetkit::Child<QPushButton>(dialog, "ButtonOk")->click(); }

    TEditorModeScope editorMode{true};
    TKelDataBase db;
    TKelMapTree tree;
    TKelMap map;
    TFakeEventChoosers choosers;
    TEventCommandContext context;
    TScriptedBox box;
    IMessageBox* mPreviousBox = nullptr;
};

TEST_F(EvCmdDialogTest, EveryDescribedCommandOpensNamedAndOkWritesItsDefaultLines) {
    if (CommandForms().empty())
        GTEST_SKIP() << "no command descriptions are registered";
    TEventCommandDialogsQt dialogs(nullptr);
    const std::vector<std::int32_t> pictures = {10110, 10220, 12010, 10710};
    for (const TCommandForm& form : CommandForms()) {
        if (IsSelectorCommand(form.Code))
            continue;  // their selectors, not a dialog, edit them
        SCOPED_TRACE(form.Code);
        TKelEventScriptList expected;
        TCommandDialogModel model(form, context);
        model.Load(expected);
        const bool refused = !model.Refusal().empty();
        model.Write(expected);
        TCommandDialogModel::ForgetRemembered();

        QString caption;
        QStringList unnamed;
        std::string outside;
        int opened = 0;
        TScopedModalRunner runner(Driving([&](TFormKelBase& dialog) {
            ++opened;
            caption = dialog.windowTitle();
            unnamed = widgetkit::InputsWithoutAccessibleName(&dialog);
            outside = widgetkit::DoesNotFitSmallestScreen(dialog);
            if (std::find(pictures.begin(), pictures.end(), form.Code) != pictures.end()) {
                EXPECT_TRUE(widgetkit::KeepPicture(widgetkit::Grab(dialog), "evcmd-" + std::to_string(form.Code)));
            }
            PressOk(dialog);
        }));
        TKelEventScriptList result;
        const bool ok = dialogs.RunDialog(form.Code, result, context);
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(caption, CommandDialogCaption(form.Code));
        EXPECT_FALSE(caption.isEmpty());
        EXPECT_EQ(unnamed, QStringList());
        EXPECT_EQ(outside, "") << "at 800 x 600";
        if (refused) {
            EXPECT_FALSE(ok);  // the default settings are refused: OK kept the dialog open
            continue;
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(LinesOf(result), LinesOf(expected));
    }
}

TEST_F(EvCmdDialogTest, EachCommandOpensWhatEditsItOrNothing) {
    TEventCommandDialogsQt dialogs(nullptr);
    int opened = 0;
    TScopedModalRunner runner(Driving([&](TFormKelBase&) { ++opened; }));
    TKelEventScriptList result;
    // "Break Cycle": its line at once.
    ASSERT_TRUE(dialogs.RunDialog(12220, result, context));
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{12220, 0}}));
    // "Change Battle Background": only its selector.
    ASSERT_TRUE(dialogs.RunDialog(13210, result, context));
    EXPECT_EQ(choosers.Opened, (std::vector<std::string>{"resource"}));
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{13210, 0, {}, "Chosen"}}));
    // A companion line and a code nobody knows open nothing and change nothing.
    EXPECT_FALSE(dialogs.RunDialog(20110, result, context));
    EXPECT_FALSE(dialogs.RunDialog(4242, result, context));
    EXPECT_EQ(result.Count(), 1);
    EXPECT_EQ(opened, 0);
}

TEST_F(EvCmdDialogTest, TheMemoTurnsItsLinesIntoTheMessageAndItsContinuationLines) {
    const TCommandForm form = TCommandFormBuilder(TCommandCode::ShowMessage, 0).TextLines(TCommandCode::MessageLine, 4).Build();
    TKelEventScriptList result;
    Fill(result, {{ToInt(TCommandCode::ShowMessage), 0, {}, "Hello"}, {ToInt(TCommandCode::MessageLine), 0, {}, "there"}});
    TFormEvCmd10110 dialog(nullptr, form, context, result);
    TMessageMemo* memo = dialog.Memo();
    EXPECT_EQ(memo->toPlainText(), "Hello\nthere");
    EXPECT_EQ(dialog.windowTitle(), CommandDialogCaption(ToInt(TCommandCode::ShowMessage)));
    EXPECT_EQ(dialog.HelpContext(), ToInt(TCommandCode::ShowMessage));

    TScopedModalRunner runner(Driving([&](TFormKelBase&) {
        // The guides stand apart, inside the memo.
        EXPECT_LT(memo->GuideX(TMessageMemo::kGuideColumns[0]), memo->GuideX(TMessageMemo::kGuideColumns[1]));
        EXPECT_LT(memo->GuideX(TMessageMemo::kGuideColumns[1]), memo->viewport()->width());
        EXPECT_TRUE(widgetkit::KeepPicture(widgetkit::Grab(dialog), "evcmd-memo"));
        memo->selectAll();
        QTest::keyClicks(memo, "One");
        for (const char* line : {"Two", "Three", "Four", "Five"}) {
            QTest::keyClick(memo, Qt::Key_Return);  // the fifth line does not come
            QTest::keyClicks(memo, line);
        }
        EXPECT_EQ(memo->document()->blockCount(), 4);
        EXPECT_EQ(dialog.result(), 0);  // Enter alone makes lines
        QTest::keyClick(memo, Qt::Key_Return, Qt::ControlModifier);
    }));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{ToInt(TCommandCode::ShowMessage), 0, {}, "One"},
                                               {ToInt(TCommandCode::MessageLine), 0, {}, "Two"},
                                               {ToInt(TCommandCode::MessageLine), 0, {}, "Three"},
                                               {ToInt(TCommandCode::MessageLine), 0, {}, "FourFive"}}));
    EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&dialog), QStringList());
}

TEST_F(EvCmdDialogTest, EscapeLeavesTheCommentAsItWas) {
    const TCommandForm form = TCommandFormBuilder(TCommandCode::Comment, 0).TextLines(TCommandCode::CommentLine, 4).Build();
    TKelEventScriptList result;
    Fill(result, {{ToInt(TCommandCode::Comment), 0, {}, "Note"}});
    TFormEvCmd10110 dialog(nullptr, form, context, result);
    TScopedModalRunner runner(Driving([&](TFormKelBase&) {
        QTest::keyClicks(dialog.Memo(), "s");
        QTest::keyClick(dialog.Memo(), Qt::Key_Escape);
    }));
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{ToInt(TCommandCode::Comment), 0, {}, "Note"}}));
}

TEST_F(EvCmdDialogTest, ARadioButtonEnablesItsFieldsAndOkRefusesWhatTheCommandCannotTake) {
    TCommandFormBuilder b(TCommandCode::Wait, 2);
    b.Radio("RadioKind", "Operand", 0, {"&Constant", "&Variable"});
    b.Spin("SpinValue", "Val&ue", 1, 0, 99).When(0, {0});
    b.Variable("VariableValue", "Value Varia&ble", 1).When(0, {1});
    b.Refusal([](const TCommandRecord& r) { return r.Param(0) == 0 && r.Param(1) > 50 ? "Too much." : ""; });
    const TCommandForm form = b.Build();
    TKelEventScriptList result;
    TFormEvCmdBase dialog(nullptr, form, context, result);
    auto* value = widgetkit::Child<QSpinBox>(dialog, "SpinValue");
    auto* variable = widgetkit::Child<QAbstractButton>(dialog, "VariableValue");
    ASSERT_TRUE(value && variable);
    EXPECT_TRUE(value->isEnabled());
    EXPECT_FALSE(variable->isEnabled());

    TScopedModalRunner runner(Driving([&](TFormKelBase&) {
        value->setValue(60);
        PressOk(dialog);
        EXPECT_EQ(box.Texts, (std::vector<std::string>{"Too much."}));
        EXPECT_EQ(dialog.result(), 0);  // still open
        widgetkit::Child<QRadioButton>(dialog, "RadioKind1")->click();
        EXPECT_FALSE(value->isEnabled());
        EXPECT_TRUE(variable->isEnabled());
        variable->click();  // the variable picker answers 8
        PressOk(dialog);
    }));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(choosers.Opened, (std::vector<std::string>{"variable"}));
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{11410, 0, {1, 8}}}));
}

TEST_F(EvCmdDialogTest, OkAsksBeforeABodyWithCommandsIsDropped) {
    // A fork whose "else" body is written only while the check is on.
    TCommandFormBuilder b(TCommandCode::ConditionalBranch, 6);
    b.Check("CheckElse", "&Else Case", 5);
    b.Blocks([](const TCommandRecord& r) {
        std::vector<TBlockPart> parts = {{0, "", {}, true, {ToInt(TCommandCode::ConditionalBranch), 0}}};
        if (r.Param(5) != 0)
            parts.push_back({ToInt(TCommandCode::BranchElse), "", {}, true, {ToInt(TCommandCode::BranchElse), 0}});
        parts.push_back({ToInt(TCommandCode::BranchEnd), "", {}, false, {}});
        return parts;
    });
    const TCommandForm form = b.Build();
    const std::vector<L> edited = {{ToInt(TCommandCode::ConditionalBranch), 0, {0, 1, 0, 0, 0, 1}}, {11410, 1, {5}}, {ToInt(TCommandCode::Empty), 1},
                                   {ToInt(TCommandCode::BranchElse), 0},                 {12220, 1},      {ToInt(TCommandCode::Empty), 1},
                                   {ToInt(TCommandCode::BranchEnd), 0}};
    TKelEventScriptList result;
    Fill(result, edited);
    TFormEvCmdBase dialog(nullptr, form, context, result);
    box.Answer = mrNo;
    TScopedModalRunner runner(Driving([&](TFormKelBase&) {
        widgetkit::Child<QAbstractButton>(dialog, "CheckElse")->click();
        PressOk(dialog);
        EXPECT_EQ(box.Texts.size(), 1u);
        EXPECT_EQ(dialog.result(), 0);  // "No": the dialog stays
        box.Answer = mrYes;
        PressOk(dialog);
    }));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(box.Texts.size(), 2u);
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{ToInt(TCommandCode::ConditionalBranch), 0, {0, 1, 0, 0, 0, 0}}, {11410, 1, {5}}, {ToInt(TCommandCode::Empty), 1},
                                               {ToInt(TCommandCode::BranchEnd), 0}}));
}

TEST_F(EvCmdDialogTest, CancelChangesNeitherTheLinesNorTheRememberedSettings) {
    TCommandFormBuilder b(TCommandCode::Wait, 1);
    b.Spin("SpinWait", "&Wait", 0, 0, 999);
    const TCommandForm form = b.Build();
    TKelEventScriptList result;
    Fill(result, {{11410, 0, {7}}});
    {
        TFormEvCmdBase dialog(nullptr, form, context, result);
        TScopedModalRunner runner(Driving([&](TFormKelBase&) {
            widgetkit::Child<QSpinBox>(dialog, "SpinWait")->setValue(30);
            widgetkit::Child<QPushButton>(dialog, "ButtonCancel")->click();
        }));
        EXPECT_FALSE(dialog.Execute());
    }
    EXPECT_EQ(LinesOf(result), (std::vector<Ln>{{11410, 0, {7}}}));
    TKelEventScriptList fresh;
    TCommandDialogModel model(form, context);
    model.Load(fresh);
    EXPECT_EQ(model.Record().Param(0), 0);
}

}  // namespace
}  // namespace quillon
