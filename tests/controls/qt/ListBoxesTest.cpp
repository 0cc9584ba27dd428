// The ID, rank, check and marked lists with keys and clicks: what they show, what they signal.
// Before any Qt header: Signal.h names a local "slots".
#include "controls/RankList.h"

#include "controls/CheckListBox_qt.h"
#include "controls/IdListBox_qt.h"
#include "controls/MarkListBox_qt.h"
#include "controls/RankListBox_qt.h"

#include "ControlsQtKit.h"
#include "data/LD_Attrib.h"

#include <QTest>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

TEST_F(ControlsQtTest, IdListSelectsByIdAndKeepsTheSelectionOverARefresh) {
    TCatalogOf<TKelAttribItem> list;
    list.Obtain(1).Name = "Sword";
    list.Obtain(2).Name = "\x89\xce";  // a CP932 kanji ("fire")
    list.Obtain(4).Name = "Ice";
    TIdListBox box;
    box.setAccessibleName("Attributes");
    std::vector<std::int32_t> heard;
    QObject::connect(&box, &TIdListBox::IdSelected, [&](std::int32_t id) { heard.push_back(id); });
    box.SetCatalog(&list);
    box.show();
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.item(1)->text(), QString::fromUtf8("0002:\u706b"));
    EXPECT_TRUE(box.SelectId(4));
    EXPECT_FALSE(box.SelectId(3));
    EXPECT_EQ(box.SelectedId(), 4);
    EXPECT_TRUE(heard.empty());
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ((std::vector<std::int32_t>{2}), heard);
    list.Obtain(3).Name = "Wind";
    box.Refresh();
    EXPECT_EQ(box.count(), 4);
    EXPECT_EQ(box.SelectedId(), 2);
    testkit::Grab(box, "id-list");
}

TEST_F(ControlsQtTest, RankListChangesRanksByLetterKeysAndClicks) {
    TRankListModel model;
    model.SetRows({{"Poison", 2}, {"Sleep", 0}});
    TRankListBox box(model);
    box.setAccessibleName("Condition ranks");
    box.resize(220, 120);
    box.show();
    box.setFocus();
    EXPECT_EQ(box.topLevelItem(0)->text(1), "C");
    QTest::keyClick(&box, Qt::Key_E);
    EXPECT_EQ(model.Rank(0), 4);
    QTest::keyClick(&box, Qt::Key_Plus);  // E wraps to A
    EXPECT_EQ(model.Rank(0), 0);
    EXPECT_EQ(box.topLevelItem(0)->text(1), "A");
    QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_Left);
    EXPECT_EQ(model.Rank(1), 4);
    // A click on the rank column steps on; on the name it only selects.
    const QRect rank = box.visualRect(box.model()->index(1, 1));
    const QRect name = box.visualRect(box.model()->index(1, 0));
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, rank.center());
    EXPECT_EQ(model.Rank(1), 0);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, name.center());
    EXPECT_EQ(model.Rank(1), 0);
    testkit::Grab(box, "rank-list");
}

TEST_F(ControlsQtTest, CheckListTogglesWithSpaceAndSignalsOnlyTheUser) {
    TCheckListBox box;
    box.setAccessibleName("Attributes");
    std::vector<std::pair<int, bool>> heard;
    QObject::connect(&box, &TCheckListBox::CheckEdited, [&](int row, bool on) { heard.emplace_back(row, on); });
    box.SetRows({"Sword", "Spear", "Fire"});
    box.SetCheckedRows({false, true});
    box.show();
    box.setFocus();
    EXPECT_TRUE(heard.empty());
    QTest::keyClick(&box, Qt::Key_Space);
    QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ((std::vector<bool>{true, false, false}), box.CheckedRows());
    EXPECT_EQ((std::vector<std::pair<int, bool>>{{0, true}, {1, false}}), heard);
    testkit::Grab(box, "check-list");
}

TEST_F(ControlsQtTest, MarkListDrawsItsMarksInTheGutter) {
    TMarkListBox box;
    box.setAccessibleName("Maps");
    box.resize(160, 80);
    QPixmap icon(12, 12);
    icon.fill(Qt::red);
    box.AddRow("Field", TListMark::Check, icon);
    box.AddRow("Town", TListMark::None);
    box.AddRow("Cave", TListMark::Arrow);
    box.show();
    EXPECT_EQ(box.Mark(2), TListMark::Arrow);
    EXPECT_EQ(box.item(0)->data(Qt::AccessibleTextRole).toString(), "Field, checked");
    box.setCurrentRow(1);
    const QImage shot = testkit::Grab(box, "mark-list");
    const QPoint origin = box.viewport()->mapTo(&box, QPoint(0, 0));
    const auto gutterInk = [&](int row) {
        const QRect r = box.visualItemRect(box.item(row)).translated(origin);
        int ink = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x < r.left() + TMarkListBox::kGutter; ++x)
                ink += shot.pixelColor(x, y).lightness() < 128;
        return ink;
    };
    EXPECT_GT(gutterInk(0), 3);
    EXPECT_EQ(gutterInk(1), 0);
    EXPECT_GT(gutterInk(2), 3);
    // The icon sits right of the gutter.
    const QRect first = box.visualItemRect(box.item(0)).translated(origin);
    bool red = false;
    for (int x = first.left() + TMarkListBox::kGutter; x < first.left() + TMarkListBox::kGutter + 20; ++x)
        red = red || shot.pixelColor(x, first.center().y()) == QColor(Qt::red);
    EXPECT_TRUE(red);
    box.SetMark(0, TListMark::None);
    EXPECT_EQ(box.item(0)->data(Qt::AccessibleTextRole).toString(), "Field");
}

}  // namespace
}  // namespace quillon
