// The profile-file (ini) store on text that repeats a key.
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(ProfileFileRepeats, DeletingARepeatedKeyRemovesEveryCopy) {
    TProfileFile ini;
    ini.SetText("[GMK_RT]\r\nFullPackageFlag=1\r\nGameTitle=Game\r\nFullPackageFlag=0\r\n");
    EXPECT_EQ(ini.ReadString("GMK_RT", "FullPackageFlag", ""), "1");  // the first one counts
    ini.DeleteKey("GMK_RT", "FullPackageFlag");
    EXPECT_FALSE(ini.ValueExists("GMK_RT", "FullPackageFlag"));
    EXPECT_EQ(ini.ReadString("GMK_RT", "GameTitle", ""), "Game");
    TProfileFile reread;
    reread.SetText(ini.Text());
    EXPECT_FALSE(reread.ValueExists("GMK_RT", "FullPackageFlag"));
    EXPECT_TRUE(ini.Modified());
}
