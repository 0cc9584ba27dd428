// A value with line breaks written to a profile file must stay one line: otherwise its rest
// would be read back as keys or sections of its own.
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(ProfileFile, LineBreaksInValuesNeverMakeLinesOfTheirOwn) {
    TProfileFile ini;
    ini.SetText("[GMK_RT]\r\nGameTitle=Old\r\n");
    ini.WriteString("GMK_RT", "GameTitle", "Quest\r\n[Other]\r\nFullPackageFlag=1");
    ini.WriteString("GMK_RT", "Note", "a\rb\nc");
    EXPECT_EQ(ini.ReadString("GMK_RT", "GameTitle", ""), "Quest [Other] FullPackageFlag=1");
    EXPECT_EQ(ini.ReadString("GMK_RT", "Note", ""), "a b c");
    EXPECT_FALSE(ini.ValueExists("Other", "FullPackageFlag"));
    EXPECT_EQ(ini.Text(), "[GMK_RT]\r\nGameTitle=Quest [Other] FullPackageFlag=1\r\nNote=a b c\r\n");
}

}  // namespace
}  // namespace quillon
