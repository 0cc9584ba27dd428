// Headless tests of the script list widget and the command palettes: keys, mouse, the menu's
// states, the palettes' last button, and what the list looks like.
#include "controls/Help.h"
#include "events/EvCmdList_qt.h"
#include "events/EventScript.h"
#include "events/ScriptListTestKit.h"
#include "events/ScriptList_qt.h"
#include "platform/Clipboard.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QGridLayout>
#include <QImage>
#include <QMenu>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace quillon;
using namespace quillon::scriptkit;

namespace {

using widgetkit::App;

using Shape_t = std::vector<std::pair<int, int>>;

using WithApp = widgetkit::TWithApp;

class ScriptListBoxTest : public ::testing::Test, private WithApp {
protected:

    void SetUp() override {
        TEvCmdPalette::ResetLastButtons();
        // 0 message, 1..6 a fork with else, 7 switch, 8 wait, 9 closing line.
        Fill(script, {{10110, 0, {}, "Hello"}, {12010, 0, {8, 0, 0, 0, 0, 1}}, {10220, 1, {0, 1, 0, 0, 0, 5}},
                      {10, 1}, {22010, 0}, {10, 1}, {22011, 0}, {10210, 0, {0, 1, 0, 0}}, {11410, 0, {15}}, {0, 0}});
        box.Model().SetRenderer([this](const TKelEventScriptLine& line) { return converter.RenderSafely(line); });
        box.Model().SetClipboard(&clipboard);
        mHeard = box.Model().OnModified.Connect([this] { ++modified; });
        box.resize(420, 10 * box.LineHeight() + 2 * box.frameWidth());
        box.Model().SetScript(&script);
        box.show();
        box.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    void TearDown() override { TEvCmdPalette::ResetLastButtons(); }

    // The middle of a row, in viewport coordinates.
    QPoint RowPoint(int row) const {
        return QPoint(40, (row - box.Model().TopIndex()) * box.LineHeight() + box.LineHeight() / 2);
    }
    void Click(int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(box.viewport(), button, mods, RowPoint(row));
    }
    std::pair<int, int> Sel() const { return {box.Model().SelStart(), box.Model().SelEnd()}; }

    TEventScriptConverter converter;
    TKelEventScriptList script;
    TMemoryClipboard clipboard;
    TScriptListBox box;
    int modified = 0;
    TConnection mHeard;
};

TEST_F(ScriptListBoxTest, KeysMoveTheCursorAndRunTheOperations) {
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_EQ(box.Model().ItemIndex(), 0);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(Sel(), std::make_pair(1, 6));  // the whole fork
    QTest::keyClick(&box, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(box.Model().ItemIndex(), 3);
    EXPECT_EQ(Sel(), std::make_pair(1, 6));
    QTest::keyClick(&box, Qt::Key_Down);  // skips ":Else Case"
    EXPECT_EQ(box.Model().ItemIndex(), 5);
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(box.Model().ItemIndex(), 9);
    QTest::keyClick(&box, Qt::Key_Delete);  // the closing line stays
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(script.Count(), 10);
    EXPECT_EQ(modified, 0);

    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(Sel(), std::make_pair(8, 8));
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(clipboard.HasFormat(kScriptClipboardFormat));
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(script.Lines(0)->Code, 11410);
    EXPECT_EQ(box.Model().ItemIndex(), 1);  // still on the message
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(script.Lines(1)->Code, 12010);
    EXPECT_EQ(modified, 2);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Sel(), std::make_pair(0, 8));
    QTest::keyClick(&box, Qt::Key_PageDown);
    EXPECT_GT(box.Model().ItemIndex(), 0);
}

TEST_F(ScriptListBoxTest, MouseSelectsWholeCommandsAndShiftExtends) {
    Click(1);
    EXPECT_EQ(Sel(), std::make_pair(1, 6));
    Click(4);  // ":Else Case"
    EXPECT_EQ(box.Model().ItemIndex(), 4);
    EXPECT_FALSE(box.Model().HasSelection());
    Click(2);
    Click(8, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    // A right click inside the selection keeps it; the menu opens at the pointer.
    Click(7, Qt::RightButton);
    EXPECT_EQ(Sel(), std::make_pair(7, 8));
    const QPoint pointer = box.viewport()->mapToGlobal(RowPoint(7));
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, RowPoint(7), pointer);
    QApplication::sendEvent(box.viewport(), &byMouse);
    ASSERT_TRUE(box.Menu()->isVisible());
    EXPECT_EQ(box.Menu()->pos(), pointer);
    EXPECT_TRUE(box.ActionCut()->isEnabled());
    EXPECT_FALSE(box.ActionEdit()->isEnabled());  // two commands
    box.Menu()->hide();
    Click(0, Qt::RightButton);
    EXPECT_EQ(Sel(), std::make_pair(0, 0));
    // Below the last line: the last line.
    box.resize(420, 20 * box.LineHeight());
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(40, 15 * box.LineHeight()));
    EXPECT_EQ(box.Model().ItemIndex(), 9);
}

TEST_F(ScriptListBoxTest, DraggingBelowTheEdgeScrolls) {
    box.resize(420, 4 * box.LineHeight() + 2 * box.frameWidth());
    QApplication::processEvents();
    ASSERT_EQ(box.Model().VisibleLines(), 4);
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, RowPoint(1));
    QTest::mouseMove(box.viewport(), QPoint(40, box.viewport()->height() + 3 * box.LineHeight()));
    // Qt's test move does not carry the button; send the move as the platform would.
    QMouseEvent move(QEvent::MouseMove, QPointF(40, box.viewport()->height() + 3 * box.LineHeight()),
                     box.viewport()->mapToGlobal(QPointF(40, box.viewport()->height() + 3 * box.LineHeight())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &move);
    QTest::qWait(180);  // a few ticks of the 50 ms timer, two lines each
    EXPECT_GE(box.Model().TopIndex(), 4);
    EXPECT_EQ(box.Model().ItemIndex(), box.Model().TopIndex() + 3);
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, QPoint(40, 2));
    const int top = box.Model().TopIndex();
    QTest::qWait(120);
    EXPECT_EQ(box.Model().TopIndex(), top);  // the timer stopped with the button
    EXPECT_EQ(box.verticalScrollBar()->value(), top);
}

TEST_F(ScriptListBoxTest, MenuStatesFollowTheSelectionWhenItOpens) {
    Click(6);  // ":End Case": only "Select All"
    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(0, 0), box.mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(&box, &byKey);
    ASSERT_TRUE(box.Menu()->isVisible());
    EXPECT_EQ(box.Menu()->pos(), box.viewport()->mapToGlobal(QPoint(0, 0)));  // top-left corner
    EXPECT_FALSE(box.ActionInsert()->isEnabled());
    EXPECT_FALSE(box.ActionEdit()->isEnabled());
    EXPECT_FALSE(box.ActionCut()->isEnabled());
    EXPECT_FALSE(box.ActionCopy()->isEnabled());
    EXPECT_FALSE(box.ActionPaste()->isEnabled());
    EXPECT_FALSE(box.ActionDelete()->isEnabled());
    EXPECT_TRUE(box.ActionSelectAll()->isEnabled());
    box.Menu()->hide();

    Click(9);  // the closing line: insert only
    clipboard.SetData(kScriptClipboardFormat, EncodeScriptBlock(script, 8, 8));
    box.UpdateMenuState();
    EXPECT_TRUE(box.ActionInsert()->isEnabled());
    EXPECT_TRUE(box.ActionPaste()->isEnabled());
    EXPECT_FALSE(box.ActionEdit()->isEnabled() || box.ActionCut()->isEnabled() ||
                 box.ActionCopy()->isEnabled() || box.ActionDelete()->isEnabled());

    // Choosing "Select All" from the menu, then the states of a multi-command selection.
    box.ActionSelectAll()->trigger();
    box.UpdateMenuState();
    EXPECT_FALSE(box.ActionInsert()->isEnabled());
    EXPECT_FALSE(box.ActionEdit()->isEnabled());
    EXPECT_TRUE(box.ActionCut()->isEnabled());
    EXPECT_EQ(box.ActionInsert()->shortcut(), QKeySequence(Qt::Key_Return));
    EXPECT_EQ(box.ActionSelectAll()->text(), "Select &All");
}

TEST_F(ScriptListBoxTest, DoubleClickAndEnterInsertThroughThePalette) {
    Click(8);
    // The palette opens modally; pick " Break Loop" (built without a form).
    bool sawPalette = false;
    QTimer::singleShot(0, [&] {
        auto* palette = qobject_cast<TFormEvCmdList*>(QApplication::activeModalWidget());
        if (!palette)
            return;
        sawPalette = true;
        QPushButton* button = palette->Button(palette->Palette().ButtonOf(12220));
        palette->findChild<QTabWidget*>("PageControl")->setCurrentIndex(2);
        QTest::mouseClick(button, Qt::LeftButton);
    });
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, RowPoint(8));
    ASSERT_TRUE(sawPalette);
    EXPECT_EQ(script.Lines(8)->Code, 12220);
    EXPECT_EQ(box.Model().Items()[8], converter.RenderSafely(*script.Lines(8)));
    EXPECT_EQ(box.Model().ItemIndex(), 9);  // back on the wait command
    EXPECT_EQ(modified, 1);

    // The palette opens on the tab of the button used last; cancel inserts nothing.
    int tab = -1;
    QTimer::singleShot(0, [&] {
        auto* palette = qobject_cast<TFormEvCmdList*>(QApplication::activeModalWidget());
        if (!palette)
            return;
        tab = palette->CurrentTab();
        QTest::mouseClick(palette->findChild<QPushButton*>("ButtonCancel"), Qt::LeftButton);
    });
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(tab, 2);
    EXPECT_EQ(script.Count(), 11);
    EXPECT_EQ(modified, 1);
}

// --- palettes ---

class PaletteFormTest : public ::testing::Test, private WithApp {
protected:
    void SetUp() override { TEvCmdPalette::ResetLastButtons(); }
    void TearDown() override { TEvCmdPalette::ResetLastButtons(); }
    TFakeDialogs dialogs;
};

TEST_F(PaletteFormTest, ButtonsShowTheirCommandsAndTheLastOneIsRemembered) {
    std::vector<std::int32_t> asked;
    dialogs.Edit = [&](std::int32_t code, TKelEventScriptList& r) {
        asked.push_back(code);
        Fill(r, {{code, 0}});
        return code != 10110;  // the message dialog is cancelled
    };
    {
        TFormEvCmdList form(nullptr, dialogs, {});
        EXPECT_EQ(form.windowTitle(), "Event Commands");
        for (int b = 0; b < form.Palette().ButtonCount(); ++b) {
            ASSERT_NE(form.Button(b), nullptr) << b;
            EXPECT_EQ(form.Button(b)->text().toStdString(), form.Palette().Caption(b)) << b;
        }
        form.show();
        EXPECT_EQ(form.CurrentTab(), 0);
        EXPECT_EQ(form.focusWidget(), form.Button(0));
        QTest::mouseClick(form.Button(0), Qt::LeftButton);  // cancelled: the palette stays open
        EXPECT_TRUE(form.isVisible());
        form.findChild<QTabWidget*>("PageControl")->setCurrentIndex(1);
        QTest::mouseClick(form.Button(44), Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), 1);
        EXPECT_EQ(Shape(form.ResultScript()), (Shape_t{{form.Palette().Code(44), 0}}));
    }
    EXPECT_EQ(asked, (std::vector<std::int32_t>{10110, 11020}));
    TFormEvCmdList again(nullptr, dialogs, {});
    again.show();
    EXPECT_EQ(again.CurrentTab(), 1);
    EXPECT_EQ(again.focusWidget(), again.Button(44));
    widgetkit::KeepPicture(again.grab().toImage(), "palette");

    // The battle palette keeps its own last button.
    TFormEvCmdList2 battle(nullptr, dialogs, {});
    for (int b = 0; b < 32; ++b)
        EXPECT_EQ(battle.Button(b)->text().toStdString(), battle.Palette().Caption(b)) << b;
    battle.show();
    EXPECT_EQ(battle.focusWidget(), battle.Button(0));
    QTest::mouseClick(battle.Button(27), Qt::LeftButton);
    EXPECT_EQ(battle.result(), 1);
    EXPECT_EQ(asked.back(), 13310);
    TFormEvCmdList2 battleAgain(nullptr, dialogs, {});
    battleAgain.show();
    EXPECT_EQ(battleAgain.focusWidget(), battleAgain.Button(27));
    widgetkit::KeepPicture(battleAgain.grab().toImage(), "palette-battle");
    QTest::keyClick(&battleAgain, Qt::Key_Escape);  // Esc cancels: modal result 2
    EXPECT_FALSE(battleAgain.isVisible());
    EXPECT_EQ(battleAgain.result(), 2);
    EXPECT_EQ(TEvCmdPalette(true).LastButton(), 27);
    EXPECT_EQ(TEvCmdPalette(false).LastButton(), 44);
}

// The widget Tab moves on to (widgets that take no focus are passed over).
QWidget* NextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

// Every catalogued command has its button, with its caption, in the grid place of its tab; the
// buttons are numbered and reached with Tab in their order, the standard buttons last.
TEST_F(PaletteFormTest, ButtonsStandWhereTheCatalogueSaysInTheirOrder) {
    std::vector<int> helped;
    const THelpHandler previous = SetHelpHandler([&](int context) { helped.push_back(context); });
    TFormEvCmdList form(nullptr, dialogs, {});
    TFormEvCmdList2 battle(nullptr, dialogs, {});
    auto* tabs = form.findChild<QTabWidget*>("PageControl");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    struct Case {
        TFormEvCmdListBase* Form;
        TPaletteSpot TEventCommandInfo::*Spot;
        std::function<QWidget*(int tab)> Page;
    };
    const Case cases[] = {
        {&form, &TEventCommandInfo::EventPalette, [tabs](int tab) { return tabs->widget(tab); }},
        {&battle, &TEventCommandInfo::BattlePalette, [&battle](int) { return static_cast<QWidget*>(&battle); }},
    };
    for (const Case& c : cases) {
        std::map<QWidget*, int> onPage;
        for (const TEventCommandInfo& info : EventCommandCatalogue()) {
            const TPaletteSpot spot = info.*c.Spot;
            if (!spot.Shown())
                continue;
            QWidget* page = c.Page(spot.Tab);
            ASSERT_NE(page, nullptr) << info.Code;
            ++onPage[page];
            QPushButton* button = c.Form->Button(c.Form->Palette().ButtonOf(info.Code));
            ASSERT_NE(button, nullptr) << info.Code;
            EXPECT_EQ(button->text().toStdString(), info.ButtonCaption) << info.Code;
            EXPECT_TRUE(page->isAncestorOf(button)) << info.Code;
            EXPECT_FALSE(button->accessibleName().isEmpty()) << info.Code;
            EXPECT_FALSE(button->accessibleName().startsWith(' ')) << info.Code;
            auto* grid = qobject_cast<QGridLayout*>(button->parentWidget()->layout());
            if (c.Form == &battle)
                grid = battle.findChild<QGridLayout*>("Grid");
            ASSERT_NE(grid, nullptr) << info.Code;
            int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(button), &row, &column, &rowSpan, &columnSpan);
            EXPECT_EQ(std::pair(row, column), std::pair(int(spot.Row), int(spot.Column))) << info.Code;
        }
        for (const auto& [page, count] : onPage)  // no buttons besides the catalogued ones
            EXPECT_EQ(static_cast<int>(page->findChildren<QPushButton*>(QRegularExpression("^Button\\d+$")).size()),
                      count);
        const int last = c.Form->Palette().ButtonCount() - 1;
        for (int b = 0; b < last; ++b) {
            EXPECT_EQ(c.Form->Button(b)->objectName(), QString::asprintf("Button%02d", b));
            EXPECT_EQ(NextTabStop(c.Form->Button(b)), c.Form->Button(b + 1)) << b;
        }
        auto* cancel = c.Form->findChild<QPushButton*>("ButtonCancel");
        EXPECT_EQ(NextTabStop(c.Form->Button(last)), cancel);
        EXPECT_EQ(NextTabStop(cancel), c.Form->findChild<QPushButton*>("ButtonHelp"));
        QTest::mouseClick(c.Form->findChild<QPushButton*>("ButtonHelp"), Qt::LeftButton);
    }
    EXPECT_EQ(helped, (std::vector<int>{kEvCmdListHelpContext, kEvCmdListHelpContext}));
    for (int tab = 0; tab < 3; ++tab)
        EXPECT_EQ(tabs->tabText(tab), QString::number(tab + 1));
    SetHelpHandler(previous);

    const QString dir = QString(QUILLON_BINARY_DIR) + "/test-output";
    QDir().mkpath(dir);
    form.show();
    for (int tab = 0; tab < 3; ++tab) {
        tabs->setCurrentIndex(tab);
        form.grab().save(dir + QString("/palette-tab%1.png").arg(tab + 1));
    }
}

// --- what the list looks like ---

TEST_F(ScriptListBoxTest, PaintsSelectedRowsInTheHighlightWhileFocused) {
    Click(1);
    QApplication::processEvents();
    const QImage image = box.grab().toImage();
    const QString dir = QString(QUILLON_BINARY_DIR) + "/test-output";
    QDir().mkpath(dir);
    image.save(dir + "/script-list.png");
    const QImage view = box.viewport()->grab().toImage();
    const int h = box.LineHeight();
    const QColor highlight = box.palette().color(QPalette::Highlight);
    const QColor base = box.palette().color(QPalette::Base);
    // Right of the text, the selected rows (1..6) are highlight, the others base.
    const int x = view.width() - 4;
    for (int row = 0; row < 10; ++row) {
        const QColor pixel = view.pixelColor(x, row * h + h / 2);
        EXPECT_EQ(pixel, row >= 1 && row <= 6 ? highlight : base) << row;
    }
    // Some text is drawn on the rows, starting near the left edge.
    bool ink = false;
    for (int px = 0; px < 40 && !ink; ++px)
        for (int py = 0; py < h && !ink; ++py)
            ink = view.pixelColor(px, py) != base;
    EXPECT_TRUE(ink);
    // Without the focus the selection is drawn in the normal colours.
    box.clearFocus();
    QApplication::processEvents();
    const QImage unfocused = box.viewport()->grab().toImage();
    EXPECT_EQ(unfocused.pixelColor(x, 2 * h + h / 2), base);
}

}  // namespace

namespace {

// Collects the areas the list's viewport is asked to paint.
class TPaintWatch : public QObject {
public:
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

}  // namespace

// What the window shows (its backing store), not a fresh rendering of it.
QImage ShownOf(QWidget& widget) {
    QApplication::processEvents();
    return widget.screen()->grabWindow(widget.winId()).toImage();
}

TEST_F(ScriptListBoxTest, ScrollingPaintsOnlyTheRowsThatCameIntoView) {
    const auto Shown = [this] { return ShownOf(box); };
    Fill(script, {});
    for (int i = 0; i < 200; ++i) {
        TKelEventScriptLine& wait = script.Add();
        wait.Code = 11410;
        wait.SetParamCount(1);
        wait.SetParam(0, i);  // every row its own text
    }
    script.Add();
    box.Model().SetScript(&script);
    box.resize(420, 10 * box.LineHeight() + 2 * box.frameWidth());
    QApplication::processEvents();
    box.clearFocus();  // no cursor frame: only the scroll moves anything
    QApplication::processEvents();
    TPaintWatch watch;
    box.viewport()->installEventFilter(&watch);
    for (const int lines : {1, 3, -2}) {
        SCOPED_TRACE(lines);
        watch.Painted = QRegion();
        const QImage before = Shown();
        box.verticalScrollBar()->setValue(box.verticalScrollBar()->value() + lines);
        QApplication::processEvents();
        const QRect painted = watch.Painted.boundingRect();
        EXPECT_LE(painted.height(), std::abs(lines) * box.LineHeight());
        // What the shifted picture shows agrees with painting everything afresh.
        const QImage shifted = Shown();
        box.viewport()->repaint();
        EXPECT_EQ(shifted, Shown());
        EXPECT_NE(shifted, before);
    }
    box.viewport()->removeEventFilter(&watch);
}

TEST_F(ScriptListBoxTest, TheWheelScrollsOneLineANotchWhileFocused) {
    Fill(script, {});
    for (int i = 0; i < 100; ++i)
        script.Add().Code = 11410;
    script.Add();
    box.Model().SetScript(&script);
    QApplication::processEvents();
    const auto Turn = [this](int delta) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, box.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box.viewport(), &wheel);
        return box.Model().TopIndex();
    };
    ASSERT_TRUE(box.hasFocus());
    EXPECT_EQ(Turn(-120), 1);
    EXPECT_EQ(Turn(-240), 3);
    EXPECT_EQ(Turn(60), 3);  // half a notch waits for the other half
    EXPECT_EQ(Turn(60), 2);
    EXPECT_EQ(Turn(1200), 0);
    // Without the focus the list scrolls as any view does, by the desktop's lines per notch.
    box.clearFocus();
    EXPECT_EQ(Turn(-120), QApplication::wheelScrollLines());
}

// --- what assistive technology reads ---

namespace {

class ScriptListAccessibleTest : public ScriptListBoxTest {
protected:
    QAccessibleInterface* List() const { return QAccessible::queryAccessibleInterface(const_cast<TScriptListBox*>(&box)); }
    // The rows as read: name, and '*' for a selected, '>' for the focused one.
    std::vector<std::string> Read() const {
        std::vector<std::string> rows;
        QAccessibleInterface* list = List();
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface* row = list->child(i);
            EXPECT_EQ(row->role(), QAccessible::ListItem) << i;
            EXPECT_EQ(row->parent(), list) << i;
            EXPECT_EQ(list->indexOfChild(row), i);
            std::string mark = row->state().focused ? ">" : "";
            if (row->state().selected)
                mark += "*";
            rows.push_back(mark + row->text(QAccessible::Name).toStdString());
        }
        return rows;
    }
    // The rows' names as the list shows them, marked as Read() does.
    std::vector<std::string> Expected(int focused) const {
        std::vector<std::string> rows;
        for (int i = 0; i < box.Model().Count(); ++i) {
            std::string mark = i == focused ? ">" : "";
            if (box.Model().IsSelected(i))
                mark += "*";
            rows.push_back(mark + QString::fromStdString(box.Model().Items()[std::size_t(i)]).trimmed().toStdString());
        }
        return rows;
    }
};

}  // namespace

TEST_F(ScriptListAccessibleTest, EveryLineIsAnItemAndTheCursorLineIsFocusedAndSelected) {
    QAccessibleInterface* list = List();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->childCount(), 10);
    Click(1);  // the fork, with its bodies and companion lines
    EXPECT_EQ(Read(), Expected(1));
    EXPECT_EQ(Read()[1].substr(0, 4), ">*<>");
    EXPECT_EQ(Read()[4].substr(0, 2), "*:");  // ":Else Case" is part of the selection
    EXPECT_EQ(Read()[7].substr(0, 2), "<>");
    // The reader reads the line that has the keyboard.
    EXPECT_EQ(list->focusChild(), list->child(1));

    // A message inserted in front of the switch: one more item, named by its text.
    TFakeDialogs dialogs;
    dialogs.Choose = [](TKelEventScriptList& r) {
        Fill(r, {{10110, 0, {}, "Read me aloud"}});
        return true;
    };
    box.Model().SetDialogs(&dialogs);
    Click(7);
    QTest::keyClick(&box, Qt::Key_Return);
    ASSERT_EQ(list->childCount(), 11);
    EXPECT_NE(list->child(7)->text(QAccessible::Name).indexOf("Read me aloud"), -1);
    EXPECT_EQ(Read(), Expected(8));  // back on the switch, which is selected
    EXPECT_EQ(list->focusChild(), list->child(8));

    // Without the keyboard no line is focused; rows past the end go away.
    box.clearFocus();
    EXPECT_EQ(list->focusChild(), nullptr);
    EXPECT_EQ(Read()[8].substr(0, 1), "*");
    QAccessibleInterface* last = list->child(10);
    ASSERT_NE(last, nullptr);
    box.Model().SetScript(nullptr);
    EXPECT_EQ(list->childCount(), 0);
    EXPECT_EQ(list->child(0), nullptr);
}

// Inserting moves the cursor on to the next command line and shows it selected: into the then
// body of a fork just made; a companion line selects nothing, so Enter there opens nothing.
TEST_F(ScriptListBoxTest, InsertingAForkLandsInItsFirstBodyShownSelected) {
    TFakeDialogs dialogs;
    dialogs.Choose = [](TKelEventScriptList& r) {
        Fill(r, Fork(0, true));
        return true;
    };
    box.Model().SetDialogs(&dialogs);
    Click(8);  // the wait
    QTest::keyClick(&box, Qt::Key_Return);
    ASSERT_EQ(script.Count(), 15);
    EXPECT_EQ(script.Lines(8)->Code, 12010);
    EXPECT_EQ(box.Model().ItemIndex(), 9);  // the then body's empty line
    EXPECT_EQ(Sel(), (std::pair{9, 9}));
    QApplication::processEvents();
    const QImage view = box.viewport()->grab().toImage();
    const int h = box.LineHeight();
    const int row = 9 - box.Model().TopIndex();
    ASSERT_GE(row, 0);
    EXPECT_EQ(view.pixelColor(view.width() - 4, row * h + h / 2), box.palette().color(QPalette::Highlight));

    // ":Else Case" (row 10): the cursor goes there, nothing is selected, Enter inserts nothing.
    Click(10);
    EXPECT_EQ(box.Model().ItemIndex(), 10);
    EXPECT_FALSE(box.Model().HasSelection());
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(dialogs.ChooseCalls, 1);
    // Down from there is the else body: Enter inserts into it.
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.Model().ItemIndex(), 11);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(dialogs.ChooseCalls, 2);
    EXPECT_EQ(script.Lines(11)->Code, 12010);
    EXPECT_EQ(script.Lines(11)->Indent, 1);
    EXPECT_EQ(box.Model().ItemIndex(), 12);
}

// The palette from the keyboard: the focused button shows a focus mark, and Enter presses it
// as Space does.
TEST_F(PaletteFormTest, EnterPressesTheFocusedButtonWhichShowsAFocusMark) {
    std::vector<std::int32_t> asked;
    dialogs.Edit = [&](std::int32_t code, TKelEventScriptList& r) {
        asked.push_back(code);
        Fill(r, {{code, 0}});
        return true;
    };
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        TFormEvCmdList form(nullptr, dialogs, {});
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QPushButton* first = form.Button(0);
        ASSERT_EQ(form.focusWidget(), first);
        const QImage focused = first->grab().toImage();
        form.Button(1)->setFocus();
        const QImage unfocused = first->grab().toImage();
        EXPECT_NE(focused, unfocused) << "no focus mark";
        widgetkit::KeepPicture(form.grab().toImage(), "palette-focus");
        form.Button(0)->setFocus();
        QTest::keyClick(first, key);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), 1);
    }
    EXPECT_EQ(asked, (std::vector<std::int32_t>{10110, 10110}));
}
