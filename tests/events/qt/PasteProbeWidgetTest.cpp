// Crafted blocks pasted through the real (Qt) clipboard into the event editor's "Paste Page", its
// command list and the move route editor: fuzz corpus seeds, and sound blocks cut short, with
// huge counts and with bits flipped. Nothing crashes, and what the block's reader refuses
// changes nothing.
#include "events/ED_Event.h"
#include "events/ED_Event_qt.h"
#include "events/ED_MoveRoute.h"
#include "events/ED_MoveRoute_qt.h"
#include "events/EventEditorTestKit.h"
#include "events/ScriptList.h"
#include "events/ScriptList_qt.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/RecordTestKit.h"
#include "platform/Clipboard.h"
#include "platform/SystemClipboard_qt.h"

#include "kit/PasteProbeKit.h"
#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace quillon {
namespace {

using namespace eventkit;

// The corpus seeds of a format (the events target and the editor target name it by their own
// selector values) and the variants of a sound block; a few dozen of each at most.
std::vector<std::string> Blocks(int eventsSelector, int editorSelector, const std::string& sound) {
    std::vector<std::string> blocks = probekit::Variants(sound);
    for (const std::string& seed : probekit::CorpusBlocks(
             "corpus_clipboard_events", [&](unsigned char b) { return (b & 3) == eventsSelector; }, 1, 40))
        blocks.push_back(seed);
    for (const std::string& seed : probekit::CorpusBlocks(
             "corpus_clipboard_editor", [&](unsigned char b) { return (b & 7) == editorSelector; }, 1, 40))
        blocks.push_back(seed);
    return blocks;
}

class PasteProbeWidgetTest : public ::testing::Test, private widgetkit::TWithApp {
protected:
    void SetUp() override { mPrevious = SetClipboard(&mSystem); }
    void TearDown() override { SetClipboard(mPrevious); }

    TEditorModeScope mMode{true};
    TSystemClipboard mSystem;  // the real clipboard
    IClipboard* mPrevious = nullptr;
    TKelDataBase mDataBase;
    TKelMap mMap;
    TFakeChoosers mChoosers;
};

TEST_F(PasteProbeWidgetTest, EventEditorPagesAndCommandListsTakeOnlyWhatReads) {
    TKelEventItem sample;
    MakePages(sample, 1);
    TKelEventPageItem& samplePage = *sample.Pages.Items(0);
    TEventEditorContext context;
    context.Map = &mMap;
    context.DataBase = &mDataBase;
    context.Choosers = &mChoosers;
    TKelEventItem event;
    MakePages(event, 2);
    TEventEditorHooks hooks;
    hooks.DataBase = &mDataBase;
    hooks.Choosers = &mChoosers;
    TEventEditorModel model(event, 1, false, hooks);
    TFormEDEvent form(model, context);
    widgetkit::ShowActive(form);
    const auto saved = [&] { return testkit::Save(event); };

    auto* pastePage = widgetkit::Child<QPushButton>(form, "ButtonPastePage");
    ASSERT_NE(pastePage, nullptr);
    const int pages = probekit::ProbePaste(
        TSystemClipboard::MimeType(TKelEventPageItem::kClipboardFormat), Blocks(1, 5, EncodePageClipboard(samplePage)),
        [](const std::string& block) {
            TKelEventPageItem scratch;
            return DecodePageClipboard(block, scratch);
        },
        [&] {
            EXPECT_TRUE(pastePage->isEnabled());
            pastePage->click();
        },
        saved);
    EXPECT_GT(pages, 0);
    EXPECT_EQ(event.Pages.Count(), 2 + pages);

    TScriptListBox& list = form.CommandList();
    const int lines = probekit::ProbePaste(
        TSystemClipboard::MimeType(kScriptClipboardFormat),
        Blocks(-1, 1, EncodeScriptBlock(samplePage.Script, 0, samplePage.Script.Count() - 1)),
        [](const std::string& block) {
            TKelEventScriptList scratch;
            return DecodeScriptBlock(block, scratch);
        },
        [&] {
            list.setFocus();
            QTest::keyClick(&list, Qt::Key_V, Qt::ControlModifier);
        },
        saved);
    EXPECT_GT(lines, 0);
    // What was taken saves and reads back as it is.
    const std::string after = saved();
    TKelEventItem back;
    testkit::Load(back, after);
    EXPECT_EQ(testkit::Save(back), after);
}

TEST_F(PasteProbeWidgetTest, MoveRouteEditorTakesOnlyWhatReads) {
    TMoveRouteRequest request;
    TKelMoveRouteItem wait;
    wait.Code = 23;
    request.Route.Add(wait);
    TEventCommandContext commandContext{.Map = &mMap, .Choosers = &mChoosers};
    TMoveRouteEditorModel model(request, commandContext);
    TFormEDMoveRoute form(model);
    widgetkit::ShowActive(form);
    TKelMoveRouteItem sound;
    sound.Code = mcPlaySound;
    sound.SoundName = "Door";
    sound.SoundVolume = 80;
    const int taken = probekit::ProbePaste(
        TSystemClipboard::MimeType(kMoveCommandClipboardFormat), Blocks(2, 6, EncodeMoveCommandClipboard(sound)),
        [](const std::string& block) {
            std::vector<TKelMoveRouteItem> scratch;
            return DecodeMoveCommandBlock(block, scratch);
        },
        [&] {
            form.RouteList()->setFocus();
            QTest::keyClick(form.RouteList(), Qt::Key_V, Qt::ControlModifier);
        },
        [&] {
            std::string items;
            for (const TKelMoveRouteItem& item : model.Route().ItemList())
                items += EncodeMoveCommandClipboard(item);
            return items;
        });
    EXPECT_GT(taken, 0);
}

}  // namespace
}  // namespace quillon
