// Crafted blocks pasted through the real (Qt) clipboard into the battle animation page (frames,
// cells, timings) and the troop page ("Paste Page"): fuzz corpus seeds, and sound blocks cut
// short, with huge counts and with bits flipped. Nothing crashes, and what the record reader
// refuses changes nothing.
#include "PageWidgetKit.h"

#include "database/ED_Animation_qt.h"
#include "database/ED_MonGroup.h"
#include "database/ED_MonGroup_qt.h"
#include "events/FakeEventChoosers.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "platform/SystemClipboard_qt.h"

#include "data/RecordTestKit.h"
#include "kit/PasteProbeKit.h"

#include <gtest/gtest.h>

#include <QPushButton>

namespace quillon {
namespace {

// Whether the record reader takes the block on the clipboard as a T.
template <class T>
bool Reads(int format) {
    T scratch;
    try {
        return scratch.PasteFromClipboard(format);
    } catch (const std::exception&) {
        return false;
    }
}

// The corpus seeds of a format (the records target and the pages target select it by their own
// values) and the variants of a record block copied by the page itself.
std::vector<std::string> Blocks(int recordsSelector, int pagesSelector, const std::string& sound) {
    std::vector<std::string> blocks = probekit::Variants(sound);
    for (const std::string& seed : probekit::CorpusBlocks(
             "corpus_clipboard_records", [&](unsigned char b) { return (b & 0x0F) == recordsSelector; }, 1, 30))
        blocks.push_back(seed);
    for (const std::string& seed : probekit::CorpusBlocks(
             "corpus_clipboard_pages", [&](unsigned char b) { return b % 6 == pagesSelector; }, 2, 30))
        blocks.push_back(seed);
    return blocks;
}

class PasteProbeWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    void SetUp() override {
        TSampleDataBaseTest::SetUp();
        SetClipboard(&mSystem);
    }
    void TearDown() override {
        SetClipboard(&mClipboard);
        TSampleDataBaseTest::TearDown();
    }

    TSystemClipboard mSystem;  // the real clipboard
};

TEST_F(PasteProbeWidgetTest, AnimationPageTakesOnlyFramesCellsAndTimingsThatRead) {
    TFormEDAnimation page(mContext);
    pagekit::StartPage(page, mModified, {780, 600});
    TKelAnimationItem& animation = *mDataBase.Animation.Items(0);
    // The page's own copies are the sound blocks.
    page.Menu_FrameCopy();
    const std::string frame = *Clipboard().GetData(TKelAnimationPatternItem::kClipboardFormat);
    TKelAnimationCellItem placed;
    placed.Visible = 1;
    placed.X = 16;
    placed.Pattern = 3;
    placed.CopyToClipboard(TKelAnimationCellItem::kClipboardFormat);
    const std::string cell = *Clipboard().GetData(TKelAnimationCellItem::kClipboardFormat);
    TKelAnimationTimingItem timing;
    timing.Frame = 2;
    timing.Sound.Name = "Blow";
    timing.CopyToClipboard(TKelAnimationTimingItem::kClipboardFormat);
    const std::string timed = *Clipboard().GetData(TKelAnimationTimingItem::kClipboardFormat);

    struct TProbe {
        int Format;
        std::vector<std::string> Blocks;
        std::function<bool()> Reads;
        std::function<void()> Paste;
    } probes[] = {
        {TKelAnimationPatternItem::kClipboardFormat, Blocks(3, 0, frame),
         [] { return Reads<TKelAnimationPatternItem>(TKelAnimationPatternItem::kClipboardFormat); },
         [&] { page.Menu_FramePaste(); }},
        {TKelAnimationCellItem::kClipboardFormat, Blocks(4, 1, cell),
         [] { return Reads<TKelAnimationCellItem>(TKelAnimationCellItem::kClipboardFormat); },
         [&] { page.Area().Menu_CellItemPaste(); }},
        {TKelAnimationTimingItem::kClipboardFormat, Blocks(2, 2, timed),
         [] { return Reads<TKelAnimationTimingItem>(TKelAnimationTimingItem::kClipboardFormat); },
         [&] { page.Menu_TimingItemPaste(); }},
    };
    for (const TProbe& probe : probes) {
        const int taken = probekit::ProbePaste(
            TSystemClipboard::MimeType(probe.Format), probe.Blocks, [&](const std::string&) { return probe.Reads(); },
            probe.Paste, [&] { return testkit::Save(animation); });
        EXPECT_GT(taken, 0) << "format " << probe.Format;
    }
    // What was taken saves and reads back as it is.
    const std::string after = testkit::Save(animation);
    TKelAnimationItem back;
    testkit::Load(back, after);
    EXPECT_EQ(testkit::Save(back), after);
}

TEST_F(PasteProbeWidgetTest, TroopPageTakesOnlyBattlePagesThatRead) {
    SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
    SetProjectPath(mSample);
    testkit::TFakeEventChoosers choosers;
    TFormEDMonGroup page(mContext, &choosers);
    pagekit::StartPage(page, mModified);
    TKelMonGroupItem& troop = *mDataBase.MonGroup.Items(0);
    const std::string sound = EncodeBattlePageClipboard(*troop.Pages.Items(0));
    auto* paste = widgetkit::Child<QPushButton>(page, "ButtonPastePage");
    ASSERT_NE(paste, nullptr);
    const int taken = probekit::ProbePaste(
        TSystemClipboard::MimeType(TKelBattleEventPageItem::kClipboardFormat), Blocks(0, 4, sound),
        [](const std::string& block) {
            TKelBattleEventPageItem scratch;
            return DecodeBattlePageClipboard(block, scratch);
        },
        [&] {
            if (paste->isEnabled())
                paste->click();
        },
        [&] { return testkit::Save(troop); });
    EXPECT_GT(taken, 0);
}

}  // namespace
}  // namespace quillon
