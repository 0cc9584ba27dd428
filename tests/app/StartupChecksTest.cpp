// The start-up checks: the display's limits, the run-time package, the archiver, and their order.
#include "app/StartupChecks.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(StartupChecks, DisplayLimits) {
    EXPECT_EQ(CheckDisplay(800, 600, 16), std::nullopt);
    EXPECT_EQ(CheckDisplay(1920, 1080, 32), std::nullopt);
    EXPECT_EQ(CheckDisplay(799, 600, 16), "Set your display to 800 x 600 High Color");
    EXPECT_EQ(CheckDisplay(800, 599, 24), "Set your display to 800 x 600 High Color");
    EXPECT_EQ(CheckDisplay(1024, 768, 8), "Set your display to 800 x 600 High Color");
}

TEST(StartupChecks, TheFirstRefusalInOrderWins) {
    TStartupEnvironment environment{1024, 768, 32, "/opt/rtp/", true};
    EXPECT_EQ(RunStartupChecks(environment), std::nullopt);

    environment.ArchiverAvailable = false;
    EXPECT_EQ(RunStartupChecks(environment), "Unlha32.dll not found");
    environment.RtpPath.clear();
    EXPECT_EQ(RunStartupChecks(environment), "Quillon Error: Install English RTP");
    environment.ScreenDepth = 15;
    EXPECT_EQ(RunStartupChecks(environment), "Set your display to 800 x 600 High Color");
}

}  // namespace
}  // namespace quillon
