// The number box: the value is kept within the field's range, only the user's changes signal.
#include "controls/NumberEdit_qt.h"

#include "ControlsQtKit.h"

#include <QLineEdit>
#include <QTest>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

TEST_F(ControlsQtTest, NumberEditSignalsOnlyTheUsersChangesWithinTheRange) {
    TNumberEdit edit(-8, 8);
    edit.setAccessibleName("Speed");
    std::vector<int> heard;
    QObject::connect(&edit, &TNumberEdit::ValueEdited, [&](int v) { heard.push_back(v); });
    edit.show();
    edit.SetValue(20);
    EXPECT_EQ(edit.Value(), 8);
    edit.SetRange(0, 5);
    EXPECT_EQ(edit.Value(), 5);
    EXPECT_TRUE(heard.empty());
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Up);  // at the maximum: no change
    edit.selectAll();
    QTest::keyClicks(&edit, "3");
    EXPECT_EQ((std::vector<int>{4, 5, 3}), heard);
    QTest::keyClicks(&edit, "9");  // 39 is out of range: refused
    EXPECT_EQ(edit.Value(), 3);
    testkit::Grab(edit, "number-edit");
}

}  // namespace
}  // namespace quillon
