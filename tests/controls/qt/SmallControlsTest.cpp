// The dash box, the value slider and the floating hint with keys and the mouse.
#include "controls/DashBox_qt.h"
#include "controls/FloatingHint_qt.h"
#include "controls/ValueSlider_qt.h"

#include "ControlsQtKit.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

TEST_F(ControlsQtTest, DashBoxOpensItsChooserByClickEnterAndSpace) {
    TDashBox box("Music");
    box.SetText("Town1");
    int chooser = 0;
    QObject::connect(&box, &TDashBox::ChooseRequested, [&] { ++chooser; });
    box.resize(180, box.sizeHint().height());
    box.show();
    box.setFocus();
    QTest::mouseClick(&box, Qt::LeftButton);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(chooser, 3);
    box.setEnabled(false);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_EQ(chooser, 3);
    box.setEnabled(true);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::Button);
    EXPECT_EQ(access->text(QAccessible::Name), "Music");
    EXPECT_EQ(access->text(QAccessible::Description), "Town1");
    testkit::Grab(box, "dash-box");
}

TEST_F(ControlsQtTest, ValueSliderLabelFollowsAndOnlyTheUserSignals) {
    TValueSlider slider(0, 100, [](int v) { return QString("%1%").arg(v); });
    slider.SetFieldName("Volume");
    std::vector<int> heard;
    QObject::connect(&slider, &TValueSlider::ValueEdited, [&](int v) { heard.push_back(v); });
    slider.resize(200, 30);
    slider.show();
    slider.SetValue(50);
    EXPECT_EQ(slider.ValueLabel()->text(), "50%");
    EXPECT_TRUE(heard.empty());
    slider.Slider()->setFocus();
    QTest::keyClick(slider.Slider(), Qt::Key_Right);
    QTest::keyClick(slider.Slider(), Qt::Key_PageUp);
    QTest::keyClick(slider.Slider(), Qt::Key_End);
    EXPECT_EQ((std::vector<int>{51, 61, 100}), heard);
    EXPECT_EQ(slider.ValueLabel()->text(), "100%");
    EXPECT_EQ(slider.Slider()->accessibleName(), "Volume");
    testkit::Grab(slider, "value-slider");
}

TEST_F(ControlsQtTest, FloatingHintStaysUntilThePointerMoves) {
    QWidget under;
    under.resize(200, 200);
    under.show();
    TFloatingHint hint;
    const QPoint at = under.mapToGlobal(QPoint(50, 50));
    hint.ShowHint(at, "0001:Slime");
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.text(), "0001:Slime");
    testkit::Grab(hint, "floating-hint");
    const auto move = [&](QPoint local) {
        QMouseEvent event(QEvent::MouseMove, QPointF(local), QPointF(under.mapToGlobal(local)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&under, &event);
    };
    move(QPoint(52, 49));
    EXPECT_TRUE(hint.isVisible());
    move(QPoint(60, 50));
    EXPECT_FALSE(hint.isVisible());
    hint.ShowHint(at, "again");
    QTest::keyClick(&under, Qt::Key_A);
    EXPECT_FALSE(hint.isVisible());
}

}  // namespace
}  // namespace quillon
