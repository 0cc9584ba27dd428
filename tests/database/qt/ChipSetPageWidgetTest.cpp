// The chipset page headless on the sample project: passage flags cycled by mouse clicks on the
// grids, the upper grid's empty tile left alone, terrain painted by a drag, and a picture of
// each mode.
#include "PageWidgetKit.h"

#include "database/ED_ChipSet_qt.h"
#include "events/FakeEventChoosers.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QListWidget>
#include <QTabWidget>

namespace quillon {
namespace {

using widgetkit::Child;

class ChipSetPageWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    void SetUp() override {
        TSampleDataBaseTest::SetUp();
        SetRtpPath(std::string(QUILLON_BINARY_DIR) + "/bin/RTP");
    }
    void Start(TFormEDChipSet& page) {
        pagekit::StartPage(page, mModified);
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&page), QStringList());
    }
    static QPoint Centre(int index) { return {(index % 6) * 32 + 16, (index / 6) * 32 + 16}; }
    static void Click(QWidget* grid, int index, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid, button, {}, Centre(index));
    }

    testkit::TFakeEventChoosers choosers;
};

TEST_F(ChipSetPageWidgetTest, ClicksCyclePassageFlags) {
    TFormEDChipSet page(mContext, &choosers);
    Start(page);
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-chipsets-terrain");
    TKelChipSetItem& chips = *mDataBase.ChipSet.FindByID(1);
    chips.SetLowerFlags(20, 0x0F);
    chips.SetLowerFlags(8, 0x0F);

    Child<QAbstractButton>(page, "SpeedButton2")->click();
    QWidget* lower = page.GridView(cgLower);
    const std::uint8_t normal[] = {0x00, 0x1F, 0x0F};
    for (std::uint8_t expected : normal) {
        Click(lower, 20);
        EXPECT_EQ(chips.LowerFlags(20), expected);
    }
    // An autotile cell goes through the square too.
    const std::uint8_t autotile[] = {0x00, 0x1F, 0x30, 0x0F};
    for (std::uint8_t expected : autotile) {
        Click(lower, 8);
        EXPECT_EQ(chips.LowerFlags(8), expected);
    }
    Click(lower, 20, Qt::RightButton);
    EXPECT_EQ(chips.LowerFlags(20), 0x1F);
    EXPECT_EQ(mModified, 8);
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-chipsets-passage");

    Child<QAbstractButton>(page, "SpeedButton3")->click();
    QTest::mouseClick(lower, Qt::LeftButton, {}, Centre(21) + QPoint(0, -12));
    EXPECT_EQ(chips.LowerFlags(21) & 0x0F, 0x07) << "the top triangle is the upward bit";
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-chipsets-directions");

    // The upper grid: its empty tile takes no click, the counter flag toggles elsewhere.
    Child<QTabWidget>(page, "PageControl1")->setCurrentIndex(1);
    Child<QAbstractButton>(page, "SpeedButton6")->click();
    QWidget* upper = page.GridView(cgUpper);
    const std::uint8_t empty = chips.UpperFlags(0);
    Click(upper, 0);
    Click(upper, 0, Qt::RightButton);
    EXPECT_EQ(chips.UpperFlags(0), empty);
    Click(upper, 13);
    EXPECT_EQ(chips.UpperFlags(13) & 0x40, 0x40);
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-chipsets-counter");
}

TEST_F(ChipSetPageWidgetTest, TerrainDragPaintsAndSetToAllFollowsTheMode) {
    TFormEDChipSet page(mContext, &choosers);
    Start(page);
    auto* terrains = Child<QListWidget>(page, "ListBox1");
    ASSERT_GE(terrains->count(), 2);
    terrains->setCurrentRow(1);
    QWidget* lower = page.GridView(cgLower);
    QTest::mousePress(lower, Qt::LeftButton, {}, Centre(24));
    QTest::mouseMove(lower, Centre(29));
    QTest::mouseRelease(lower, Qt::LeftButton, {}, Centre(29));
    const TKelChipSetItem& chips = *mDataBase.ChipSet.FindByID(1);
    for (int i = 24; i <= 29; ++i)
        EXPECT_EQ(chips.TerrainId(i), 2) << i;
    EXPECT_TRUE(Child<QPushButton>(page, "Button1")->isEnabled());
    Child<QAbstractButton>(page, "SpeedButton2")->click();
    EXPECT_FALSE(Child<QPushButton>(page, "Button1")->isEnabled());
}

}  // namespace
}  // namespace quillon
