// A form's placement through the store: saved under its name, opened again where it was, or
// moved into the screen when the screen got smaller.
#include "controls/FormMemory.h"
#include "controls/FormMemory_qt.h"

#include "ControlsQtKit.h"
#include "platform/ProfileFile.h"

#include <QScreen>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

TEST_F(ControlsQtTest, FormPlacementIsStoredAndComesBackInsideTheScreen) {
    TProfileFile store;
    {
        QWidget form;
        form.setObjectName("FormSelSwitch");
        form.setGeometry(40, 50, 300, 200);
        SaveFormPlacement(form, store);
    }
    EXPECT_EQ(PlacementFromHex(store.ReadString("", "FormSelSwitch_Placement", "")), MakeBounds(40, 50, 300, 200));

    QWidget again;
    again.setObjectName("FormSelSwitch");
    ASSERT_TRUE(RestoreFormPlacement(again, store));
    EXPECT_EQ(again.geometry(), QRect(40, 50, 300, 200));

    // Stored beyond the screen's right bottom: moved back in.
    const QRect screen = again.screen()->availableGeometry();
    StoreFormPlacement(store, "FormSelSwitch", MakeBounds(screen.right() + 500, screen.bottom() + 500, 300, 200),
                       false);
    ASSERT_TRUE(RestoreFormPlacement(again, store));
    EXPECT_TRUE(screen.contains(again.geometry())) << again.geometry().x() << "," << again.geometry().y();

    QWidget unnamed;
    EXPECT_FALSE(RestoreFormPlacement(unnamed, store));
    store.WriteString("", "FormBroken_Placement", "not hex");
    unnamed.setObjectName("FormBroken");
    EXPECT_FALSE(RestoreFormPlacement(unnamed, store));
}

}  // namespace
}  // namespace quillon
