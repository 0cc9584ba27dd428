// The "Event Editor" window on the offscreen platform: tabs and page buttons, the enabling of the
// condition controls, the preview's pixels for a character and a tile, the Apply state, the keys,
// and names for every input.
#include "events/ED_Event_qt.h"
#include "events/ED_MoveRoute.h"
#include "events/ED_MoveRoute_qt.h"
#include "events/EvCmdList_qt.h"
#include "events/EventEditorTestKit.h"
#include "events/ScriptList_qt.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "graphics/ChipSetTestUtil.h"
#include "graphics/ImageResources.h"
#include "platform/Clipboard.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

namespace quillon {
namespace {

using namespace eventkit;
using widgetkit::Child;

constexpr TPaletteEntry kRed{255, 0, 0, 0};
constexpr TPaletteEntry kGreen{0, 255, 0, 0};
constexpr TPaletteEntry kBlue{0, 0, 255, 0};

// A character set whose first character shows its columns in red (middle), green (left) and blue
// (right), every row alike; index 0 around a 2-pixel margin stays transparent.
TBitmap CharacterSet() {
    TBitmap bitmap(288, 256, TPixelFormat::pf8bit);
    bitmap.Palette()[1] = kGreen;
    bitmap.Palette()[2] = kRed;
    bitmap.Palette()[3] = kBlue;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 72; ++x)
            if (x % 24 >= 2 && x % 24 < 22 && y % 32 >= 2)
                bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(1 + (x / 24 == 1 ? 1 : x / 24 == 2 ? 2 : 0));
    return bitmap;
}

std::uint16_t At(const TOrlenBoard& board, int x, int y) { return board.ScanLine(y)[x]; }
int Red(std::uint16_t c) { return c >> 11; }
int Green(std::uint16_t c) { return (c >> 5) & 63; }

class EventEditorWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        widgetkit::App();
        mPrevious = SetClipboard(&clipboard);
        folder = chiptest::TempFolder("event-editor");
        chiptest::WriteResource(folder, "CharSet", "Hero", CharacterSet());
        chiptest::WriteResource(folder, "ChipSet", "Pic", chiptest::PictureChipSet());
        database.ChipSet.Obtain(1).FileName = "Pic";
        database.Player.Obtain(1).Name = "Alex";
        map.ChipSetId = 1;
        context.Map = &map;
        context.DataBase = &database;
        context.Choosers = &choosers;
        context.FindImage = FolderImageFinder({folder.string()});
        MakePages(event, 2);
        event.Pages.Items(0)->GraphicName = "Hero";
        event.Pages.Items(0)->Condition.Flags = 0;
    }
    void TearDown() override {
        SetClipboard(mPrevious);
        std::filesystem::remove_all(folder);
    }

    TEditorModeScope mode{true};
    TMemoryClipboard clipboard;
    IClipboard* mPrevious = nullptr;
    std::filesystem::path folder;
    TKelDataBase database;
    TKelMap map;
    TFakeChoosers choosers;
    TEventEditorContext context;
    TKelEventItem event;

    // The editor's hooks on the fixture's database and pickers; each commit counts in `commits`.
    TEventEditorHooks Hooks(int* commits = nullptr) {
        TEventEditorHooks hooks;
        hooks.DataBase = &database;
        hooks.Choosers = &choosers;
        if (commits)
            hooks.Commit = [commits](const TKelEventItem&) { return ++*commits > 0; };
        return hooks;
    }
};

TEST_F(EventEditorWidgetTest, PagesConditionsPreviewAndApplyShowWhatTheModelHolds) {
    int commits = 0;
    TEventEditorModel model(event, 5, false, Hooks(&commits));
    TFormEDEvent form(model, context);
    widgetkit::ShowActive(form);
    EXPECT_EQ(form.windowTitle(), "Event Editor - ID:0005");
    EXPECT_EQ(form.HelpContext(), 201);

    QTabBar& tabs = form.Tabs();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(1), "2");
    EXPECT_EQ(form.CommandList().Model().Count(), 2);  // the message and the closing line
    auto* apply = Child<QPushButton>(form, "ButtonApply");
    auto* remove = Child<QPushButton>(form, "ButtonDeletePage");
    auto* paste = Child<QPushButton>(form, "ButtonPastePage");
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_FALSE(paste->isEnabled());

    // Conditions: each box enables its controls.
    auto* switchA = Child<QPushButton>(form, "ButtonSwitchA");
    auto* minutes = Child<QSpinBox>(form, "SpinTimerMinutes");
    EXPECT_FALSE(switchA->isEnabled());
    EXPECT_FALSE(Child<QLabel>(form, "LabelSwitchAOn")->isEnabled());
    EXPECT_FALSE(minutes->isEnabled());
    Child<QCheckBox>(form, "CheckSwitchA")->click();
    EXPECT_TRUE(switchA->isEnabled());
    EXPECT_TRUE(Child<QLabel>(form, "LabelSwitchAOn")->isEnabled());
    EXPECT_TRUE(apply->isEnabled());
    switchA->click();
    EXPECT_EQ(switchA->text(), "0007");
    Child<QCheckBox>(form, "CheckTimer")->click();
    ASSERT_TRUE(minutes->isEnabled());
    minutes->setValue(2);
    Child<QSpinBox>(form, "SpinTimerSeconds")->setValue(30);
    EXPECT_EQ(event.Pages.Items(0)->Condition.TimerSeconds, 150);
    EXPECT_FALSE(Child<QComboBox>(form, "ComboFrequency")->isEnabled());  // "Stay Still"

    // The character: the middle column facing down, doubled, at x 4.
    const TOrlenBoard& preview = form.PreviewBoard();
    const std::uint16_t background = At(preview, 1, 1);
    EXPECT_EQ(At(preview, 4 + 24, 4 + 64 / 2), 0xF800);  // red
    EXPECT_EQ(At(preview, 4 + 2, 10), background);       // the cell's transparent margin
    EXPECT_EQ(At(preview, 54, 30), background);          // right of the doubled cell
    // Stepping walks the columns: middle, left, middle, right.
    auto* animation = Child<QComboBox>(form, "ComboAnimationType");
    ASSERT_TRUE(animation->isEnabled());
    animation->setCurrentIndex(kAnimWithStepping);
    emit animation->activated(kAnimWithStepping);
    form.PreviewTimer();
    EXPECT_EQ(At(preview, 28, 32), 0x07E0);  // green
    form.PreviewTimer();
    form.PreviewTimer();
    EXPECT_EQ(At(preview, 28, 32), 0x001F);  // blue
    QImage grabbed = widgetkit::Grab(*Child<QLabel>(form, "PreviewGraphic"));
    EXPECT_EQ(qBlue(grabbed.pixel(28, 32)), 255);
    EXPECT_EQ(qRed(grabbed.pixel(28, 32)), 0);
    // Translucent: blended with the background.
    Child<QCheckBox>(form, "CheckTransparent")->click();
    const std::uint16_t blended = At(preview, 28, 32);
    EXPECT_NE(blended, 0x001F);
    EXPECT_GT(Red(blended), 0);
    ASSERT_TRUE(widgetkit::KeepPicture(widgetkit::Grab(form), "event-editor"));

    // Apply commits and disables itself.
    apply->click();
    EXPECT_EQ(commits, 1);
    EXPECT_FALSE(apply->isEnabled());

    // A tile: "Set..." gives upper tile 3 of the map's chipset; the animation type goes.
    choosers.GraphicName.clear();
    choosers.GraphicIndex = 3;
    Child<QPushButton>(form, "ButtonGraphicSet")->click();
    EXPECT_FALSE(animation->isEnabled());
    EXPECT_EQ(event.Pages.Items(0)->AnimationType, 0);
    int drawn = 0;
    for (int y = 16; y < 48; ++y)
        for (int x = 12; x < 44; ++x)
            drawn += At(preview, x, y) != background;
    EXPECT_GT(drawn, 0);
    for (int y = 0; y < 64; ++y)
        EXPECT_EQ(At(preview, 2, y), background) << y;  // nothing outside the tile's square
    EXPECT_TRUE(apply->isEnabled());

    // New Page, then Ctrl+Tab and Shift+Ctrl+Tab wrap through the tabs.
    Child<QPushButton>(form, "ButtonNewPage")->click();
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(tabs.currentIndex(), 1);
    EXPECT_EQ(form.CommandList().Model().Count(), 1);  // a fresh script
    EXPECT_FALSE(Child<QCheckBox>(form, "CheckSwitchA")->isChecked());
    QTest::keyClick(&form, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.currentIndex(), 2);
    EXPECT_EQ(form.CommandList().Model().Items().front(), "<>Message: page 2");
    QTest::keyClick(&form, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.currentIndex(), 0);
    QTest::keyClick(&form, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs.currentIndex(), 2);
    // Page Down lands in the command list.
    Child<QCheckBox>(form, "CheckTransparent")->setFocus();
    QTest::keyClick(&form, Qt::Key_PageDown);
    EXPECT_TRUE(form.CommandList().hasFocus());

    // Copy Page enables Paste Page; clicking a tab shows its page.
    Child<QPushButton>(form, "ButtonCopyPage")->click();
    EXPECT_TRUE(paste->isEnabled());
    tabs.setCurrentIndex(0);
    EXPECT_EQ(model.CurrentIndex(), 0);
    EXPECT_TRUE(Child<QCheckBox>(form, "CheckSwitchA")->isChecked());

    EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&form), QStringList());
    Child<QPushButton>(form, "ButtonMusic")->click();
    EXPECT_EQ(choosers.Listened, 1);
}

TEST_F(EventEditorWidgetTest, RunEventEditorCommitsOnOkAndReloadsRenamedNamesOnCancel) {
    int commits = 0, reloads = 0;
    context.ReloadDataBase = [&] { ++reloads; };
    context.SaveDataBase = [](std::string&) { return true; };
    const auto commit = [&](const TKelEventItem& e) {
        ++commits;
        return e.Name == "Gate";
    };
    {
        TScopedModalRunner runner([](TFormKelBase& dialog) {
            auto* name = dialog.findChild<QLineEdit*>("EditName");
            name->setText("Gate");
            dialog.findChild<QPushButton*>("ButtonOk")->click();
            return dialog.result();
        });
        RunEventEditor(nullptr, context, event, 3, true, commit);
    }
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(event.Name, "Gate");
    {
        choosers.ChangesDataBase = true;
        TScopedModalRunner runner([](TFormKelBase& dialog) {
            dialog.findChild<QCheckBox*>("CheckSwitchB")->click();
            dialog.findChild<QPushButton*>("ButtonSwitchB")->click();
            dialog.findChild<QPushButton*>("ButtonCancel")->click();
            return dialog.result();
        });
        RunEventEditor(nullptr, context, event, 3, false, commit);
    }
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(reloads, 1);
}

// The command list keeps its keys inside the window: Return opens the palette rather than
// pressing a button of the window, and no short-cut of the window takes an editing key from it.
TEST_F(EventEditorWidgetTest, TheCommandListKeepsItsEditingKeys) {
    int commits = 0;
    TEventEditorModel model(event, 5, false, Hooks(&commits));
    TFormEDEvent form(model, context);
    widgetkit::ShowActive(form);
    TScriptListBox& list = form.CommandList();
    list.setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(list.hasFocus());
    ASSERT_EQ(list.Model().Count(), 2);  // the message and the closing line

    struct TKeyCase {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::vector<std::string> opens;  // the dialogs the key opens (each cancelled)
        int countAfter;
    };
    const TKeyCase cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier, {"Event Commands"}, 2},
        {"Enter", Qt::Key_Enter, Qt::KeypadModifier, {"Event Commands"}, 2},
        {"Space edits the message", Qt::Key_Space, Qt::NoModifier, {"*"}, 2},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, {}, 2},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, {}, 1},
    };
    int stolen = 0;
    for (const TKeyCase& c : cases) {
        auto* shortcut = new QShortcut(QKeySequence(c.key | c.mods), &form);
        QObject::connect(shortcut, &QShortcut::activated, [&stolen] { ++stolen; });
    }
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> opened;
        {
            const TScopedModalRunner runner([&](TFormKelBase& dialog) {
                opened.push_back(dialog.windowTitle().toStdString());
                return static_cast<int>(mrCancel);
            });
            QTest::keyClick(&list, c.key, c.mods);
        }
        ASSERT_EQ(opened.size(), c.opens.size());
        for (std::size_t i = 0; i < opened.size(); ++i)
            if (c.opens[i] != "*")
                EXPECT_EQ(opened[i], c.opens[i]);
        EXPECT_EQ(list.Model().Count(), c.countAfter);
        EXPECT_EQ(stolen, 0);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(commits, 0);
    }
    EXPECT_EQ(list.Model().SelStart(), 0);  // Ctrl+A selected the message, which Delete removed
}

// The event editor and the windows it opens fit a display of 800 x 600 with every button on it.
TEST_F(EventEditorWidgetTest, ItsWindowsFitTheSmallestScreen) {
    TEventEditorModel editor(event, 5, false, Hooks());
    TMoveRouteRequest request;
    TEventCommandContext commands{.Map = &map, .Choosers = &choosers};
    TMoveRouteEditorModel route(request, commands);
    TEventCommandDialogsQt dialogs(nullptr);
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"event editor", [&] { return std::make_unique<TFormEDEvent>(editor, context); }},
        {"move route editor", [&] { return std::make_unique<TFormEDMoveRoute>(route); }},
        {"event commands", [&] { return std::make_unique<TFormEvCmdList>(nullptr, dialogs, commands); }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QWidget> window = make();
        EXPECT_EQ(widgetkit::DoesNotFitSmallestScreen(*window), "");
        widgetkit::KeepPicture(widgetkit::Grab(*window), std::string("fits-") + name);
    }
}

}  // namespace
}  // namespace quillon
