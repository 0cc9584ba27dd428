// The troop page headless on the sample project: members added with the button up to the
// limit, a member dragged with the mouse, a page added, the trigger dialog refusing a reversed
// range, and pictures of the page; the monster page's preview of the same monster images.
#include "PageWidgetKit.h"

#include "controls/DashBox_qt.h"
#include "controls/IdList.h"
#include "controls/KelBase_qt.h"
#include "database/ED_MonGroup_qt.h"
#include "database/ED_Monster_qt.h"
#include "events/FakeEventChoosers.h"
#include "platform/Cp932Text_qt.h"
#include "platform/SystemClipboard_qt.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/SelBase_qt.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace quillon {
namespace {

using widgetkit::Child;

class MonGroupPageWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    void SetUp() override {
        TSampleDataBaseTest::SetUp();
        SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
        SetProjectPath(mSample);
    }
    void TearDown() override {
        SetProjectPath("");
        TSampleDataBaseTest::TearDown();
    }
    void Start(TFormEDMonGroup& page) {
        pagekit::StartPage(page, mModified, {900, 640});
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&page), QStringList());
    }

    testkit::TFakeEventChoosers choosers;
};

TEST_F(MonGroupPageWidgetTest, AddsMembersToTheLimitAndDragsOne) {
    TFormEDMonGroup page(mContext, &choosers);
    Start(page);
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-troops");
    auto* add = Child<QPushButton>(page, "ButtonAdd");
    ASSERT_TRUE(Child<QPushButton>(page, "ButtonDeleteAll")->isEnabled());
    Child<QPushButton>(page, "ButtonDeleteAll")->click();
    EXPECT_EQ(page.Model().MemberCount(), 0);
    EXPECT_FALSE(Child<QPushButton>(page, "ButtonDress")->isEnabled());
    Child<QListWidget>(page, "MonsterList")->setCurrentRow(1);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(add->isEnabled()) << i;
        add->click();
    }
    EXPECT_EQ(page.Model().MemberCount(), 10);
    EXPECT_FALSE(add->isEnabled());
    add->click();
    EXPECT_EQ(mDataBase.MonGroup.FindByID(1)->Members.Count(), 10);
    EXPECT_TRUE(page.Model().IsArranged()) << "the first Add of an empty troop arranges";

    // Drag the member by 10 pixels.
    Child<QPushButton>(page, "ButtonDeleteAll")->click();
    add->click();
    const TKelMonGroupMonsterItem& member = *mDataBase.MonGroup.FindByID(1)->Members.Items(0);
    const QPoint start(member.X, member.Y);
    QWidget* field = &page.Field();
    QTest::mousePress(field, Qt::LeftButton, {}, start);
    QTest::mouseMove(field, start + QPoint(10, -10));
    QTest::mouseRelease(field, Qt::LeftButton, {}, start + QPoint(10, -10));
    // Steps of 4 while the pointer is more than half a step away: 8 each way.
    EXPECT_EQ(member.X, start.x() + 8);
    EXPECT_EQ(member.Y, start.y() - 8);
    EXPECT_TRUE(Child<QPushButton>(page, "ButtonDelete")->isEnabled());
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-troops-dragged");
    widgetkit::KeepPicture(page.Field().Picture(), "database-page-troops-field");
}

TEST_F(MonGroupPageWidgetTest, PagesAndTheTriggerDialog) {
    TFormEDMonGroup page(mContext, &choosers);
    Start(page);
    auto* tabs = Child<QTabBar>(page, "TabControl1");
    const int before = tabs->count();
    // A page's tab is as wide as its number, not the bar's free room.
    const int digits = tabs->fontMetrics().horizontalAdvance(tabs->tabText(0));
    EXPECT_LT(tabs->tabRect(0).width(), digits + 48);
    EXPECT_EQ(Child<QPushButton>(page, "ButtonAdd")->text(), "&Add");
    Child<QPushButton>(page, "ButtonNewPage")->click();
    EXPECT_EQ(tabs->count(), before + 1);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(Child<QPushButton>(page, "ButtonDeletePage")->isEnabled());

    // The dialog: tick "Exhaustion", give 50..20 (refused), then 20..20.
    TScopedModalRunner runner([&](TFormKelBase& dialog) {
        widgetkit::KeepWidget(dialog, "database-troop-trigger");
        Child<QCheckBox>(dialog, "CheckBox5")->click();
        auto* min = Child<QSpinBox>(dialog, "EditExhaustionMin");
        auto* max = Child<QSpinBox>(dialog, "EditExhaustionMax");
        EXPECT_TRUE(min->isEnabled());
        min->setValue(50);
        max->setValue(20);
        dialog.ButtonOkClick();
        EXPECT_EQ(dialog.result(), 0) << "still open";
        min->setValue(20);
        dialog.ButtonOkClick();
        return dialog.result();
    });
    page.TriggerBox().click();
    EXPECT_EQ(mBox.Texts, std::vector<std::string>{kTriggerRangeRefusal});
    EXPECT_EQ(page.TriggerBox().Text(), "Exhaustion[20]");
    EXPECT_EQ(mDataBase.MonGroup.FindByID(1)->Pages.FindByID(2)->Trigger.Flags, TKelBattleEventTrigger::btExhaustion);
}

// A battle event page copied by another window (or program) through the system clipboard
// enables "Paste Page" without any change on the page; another copy disables it again.
TEST_F(MonGroupPageWidgetTest, PastePageFollowsTheSystemClipboard) {
    TSystemClipboard system;
    SetClipboard(&system);
    QGuiApplication::clipboard()->clear();
    TFormEDMonGroup page(mContext, &choosers);
    Start(page);
    auto* paste = Child<QPushButton>(page, "ButtonPastePage");
    EXPECT_FALSE(paste->isEnabled());
    auto data = std::make_unique<QMimeData>();
    data->setData(TSystemClipboard::MimeType(TKelBattleEventPageItem::kClipboardFormat), QByteArray("page"));
    QGuiApplication::clipboard()->setMimeData(data.release());
    EXPECT_TRUE(paste->isEnabled());
    QGuiApplication::clipboard()->setText("text");
    EXPECT_FALSE(paste->isEnabled());
    SetClipboard(&mClipboard);
}

TEST_F(MonGroupPageWidgetTest, BattleTestStartsWithTheChosenParty) {
    TFormEDMonGroup page(mContext, &choosers);
    Start(page);
    page.EntryList()->setCurrentIndex(page.EntryList()->model()->index(2, 0));
    ASSERT_EQ(page.Model().CurrentId(), 3);
    std::int32_t ranTroop = 0;
    SetBattleTestRunner([&](TKelDataBase&, std::int32_t troop) {
        ranTroop = troop;
        return true;
    });
    TScopedModalRunner runner([&](TFormKelBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Monster Group Battle Test");
        widgetkit::KeepWidget(dialog, "database-troop-battle-test");
        auto* hero = Child<QComboBox>(dialog, "ComboHero2");
        auto* level = Child<QSpinBox>(dialog, "EditLevel2");
        const int index = hero->findData(2);
        EXPECT_EQ(hero->itemText(index), Cp932ToQString(IdListText(2, mDataBase.Player.FindByID(2)->Name)));
        EXPECT_GE(index, 0);
        hero->setCurrentIndex(index);
        emit hero->activated(index);
        EXPECT_TRUE(level->isEnabled());
        level->setValue(99);
        dialog.ButtonOkClick();
        return dialog.result();
    });
    const int before = mModified;
    Child<QPushButton>(page, "ButtonBattleTest")->click();
    SetBattleTestRunner({});
    EXPECT_EQ(ranTroop, 3);
    EXPECT_GT(mModified, before);
    bool found = false;
    for (int i = 0; i < mDataBase.System.TestPlayer.Count(); ++i)
        if (mDataBase.System.TestPlayer.Items(i)->HeroId == 2) {
            found = true;
            EXPECT_EQ(mDataBase.System.TestPlayer.Items(i)->Level, 50) << "kept within 1..50";
        }
    EXPECT_TRUE(found);
}

// The monster page beside it: its preview of the same images.
TEST_F(MonGroupPageWidgetTest, MonsterPreviewFollowsTheMonsterAndTheChosenHue) {
    ASSERT_GE(mDataBase.Monster.Count(), 2);
    ASSERT_NE(mDataBase.Monster.Items(0)->GraphicName, mDataBase.Monster.Items(1)->GraphicName);
    TFormEDMonster page(mContext, &choosers);
    pagekit::StartPage(page, mModified, {760, 500});
    TMonsterPreview* preview = page.Preview();
    ASSERT_NE(preview, nullptr);
    const QImage first = preview->Picture();
    EXPECT_NE(first.pixel(0, 0), first.pixel(first.width() / 2, first.height() / 2)) << "an image on its background";
    EXPECT_TRUE(preview->toolTip().isEmpty());

    page.EntryList()->setCurrentIndex(page.EntryList()->model()->index(1, 0));
    ASSERT_EQ(page.Model().CurrentId(), 2);
    const QImage second = preview->Picture();
    EXPECT_NE(second, first);

    // Slider position 27 is a hue of 90.
    {
        const TScopedModalRunner runner([](TFormKelBase& dialog) {
            auto& selector = dynamic_cast<TFormSelMonster&>(dialog);
            selector.HueSlider()->setValue(27);
            return mrOk;
        });
        Child<QPushButton>(page, "DashGraphic")->click();
    }
    EXPECT_EQ(mDataBase.Monster.Items(1)->Hue, 90);
    const QImage hued = preview->Picture();
    EXPECT_NE(hued, second);
    Child<QCheckBox>(page, "CheckTransparent")->click();
    EXPECT_NE(preview->Picture(), hued) << "drawn semi-transparent";
    widgetkit::KeepPicture(preview->Picture(), "database-monster-preview-hue90-transparent");

    mDataBase.Monster.Items(1)->GraphicName = "NoSuchMonster";
    page.LoadEntry();
    EXPECT_TRUE(preview->toolTip().contains("NoSuchMonster"));
    widgetkit::KeepPicture(preview->Picture(), "database-monster-preview-missing");
}

}  // namespace
}  // namespace quillon
