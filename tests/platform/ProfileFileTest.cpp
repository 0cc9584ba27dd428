// The profile-file (ini) store on text that repeats a key, and on files it cannot read whole.
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

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

namespace {

// The 4,194,400 bytes of a settings file just over the reader's limit, its title at the top.
std::string OversizedIni() {
    std::string text = "[GMK_RT]\r\nGameTitle=Keep Me\r\n[Notes]\r\n";
    const std::string line = "Line=" + std::string(93, 'x') + "\r\n";
    while (text.size() + line.size() <= 4194400)
        text += line;
    text += std::string(4194400 - text.size() - 2, ';') + "\r\n";
    return text;
}

}  // namespace

TEST(ProfileFileUnreadable, AFileThatCannotBeReadWholeIsNeverWrittenOver) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / ("quillon-ini-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "folder.ini");
    const std::string big = OversizedIni();
    ASSERT_EQ(big.size(), 4194400u);
    {
        std::ofstream out(root / "big.ini", std::ios::binary);
        out << big;
    }
    for (const char* name : {"big.ini", "folder.ini"}) {
        SCOPED_TRACE(name);
        TProfileFile ini((root / name).string());
        EXPECT_FALSE(ini.ReadError().empty());
        EXPECT_EQ(ini.ReadInteger("GMK_RT", "MapEditMode", 7), 7);
        ini.WriteInteger("GMK_RT", "MapEditMode", 2);
        EXPECT_FALSE(ini.Flush());
    }
    std::ifstream in(root / "big.ini", std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(after == big) << "the oversized file was changed: " << after.size() << " bytes";
    EXPECT_TRUE(std::filesystem::is_directory(root / "folder.ini"));

    // A file that is not there is no failure: it is made on the first write.
    TProfileFile fresh((root / "new.ini").string());
    EXPECT_TRUE(fresh.ReadError().empty());
    fresh.WriteInteger("GMK_RT", "MapEditMode", 2);
    EXPECT_TRUE(fresh.Flush());
    EXPECT_EQ(TProfileFile((root / "new.ini").string()).ReadInteger("GMK_RT", "MapEditMode", 0), 2);
    std::filesystem::remove_all(root);
}
