// A form's placement through the settings store: stored as hex, read back clamped into the screen;
// bad values are ignored.
#include "controls/FloatingHint.h"
#include "controls/FormMemory.h"

#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(FormMemoryTest, StoredPlacementsComeBackWithinTheScreen) {
    TProfileFile store;
    const TRect screen = MakeBounds(0, 0, 1024, 768);
    StoreFormPlacement(store, "FormEDEvent", MakeBounds(900, 700, 400, 300), true);
    EXPECT_EQ(store.ReadString("", "FormEDEvent_Placement", "").size(), 88u);
    EXPECT_TRUE(PlacementMaximized(store.ReadString("", "FormEDEvent_Placement", "")));
    EXPECT_EQ(StoredFormPlacement(store, "FormEDEvent", screen, 0, 0), MakeBounds(624, 468, 400, 300));
    EXPECT_EQ(StoredFormPlacement(store, "FormEDEvent", screen, 500, 320), MakeBounds(524, 448, 500, 320));
    EXPECT_EQ(StoredFormPlacement(store, "FormOther", screen, 0, 0), std::nullopt);

    // Hand-edited or damaged values are ignored.
    for (const char* bad : {"", "zz", "2C00000000000000"}) {
        store.WriteString("", "FormBad_Placement", bad);
        EXPECT_EQ(StoredFormPlacement(store, "FormBad", screen, 0, 0), std::nullopt) << bad;
        EXPECT_FALSE(PlacementMaximized(bad));
    }
    std::string wrongLength = PlacementToHex(MakeBounds(1, 2, 3, 4), false);
    wrongLength[0] = '2';
    wrongLength[1] = 'D';
    EXPECT_EQ(PlacementFromHex(wrongLength), std::nullopt);
}

TEST(FloatingHintTest, TheHintStaysUntilThePointerMovesAway) {
    THintRule rule;
    EXPECT_FALSE(rule.PointerMoved(500, 500));
    rule.Show(100, 100);
    EXPECT_FALSE(rule.PointerMoved(103, 97));
    EXPECT_TRUE(rule.PointerMoved(104, 100));
    EXPECT_TRUE(rule.PointerMoved(100, 96));
    rule.Hide();
    EXPECT_FALSE(rule.PointerMoved(0, 0));
}

}  // namespace
}  // namespace quillon
