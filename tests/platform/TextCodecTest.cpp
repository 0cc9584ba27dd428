#include "platform/Clipboard.h"
#include "platform/FileUtils.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quillon;

TEST(TextCodec, ShiftJisAndUtf8BothWays) {
    const std::string sjis = "\x83\x65\x83\x58\x83\x67 ok";  // "テスト ok"
    const std::string utf8 = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 ok";
    EXPECT_EQ(Cp932ToUtf8(sjis), utf8);
    EXPECT_EQ(Utf8ToCp932(utf8), sjis);
    EXPECT_EQ(Cp932ToUtf8("plain"), "plain");
    // Half-width katakana are single bytes in code page 932.
    EXPECT_EQ(Cp932ToUtf8("\xB1"), "\xEF\xBD\xB1");
}

TEST(TextCodec, UndecodableBytesAreReplacedNotDropped) {
    // A lead byte with no trail byte, then text.
    EXPECT_EQ(Cp932ToUtf8("\x83"), "\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("a\x83"), "a\xEF\xBF\xBD");
    // A character code page 932 cannot hold becomes '?'.
    EXPECT_EQ(Utf8ToCp932("x\xF0\x9F\x98\x80y"), "x?y");
}

TEST(MemoryClipboard, HoldsOneFormatAtATime) {
    TMemoryClipboard board;
    IClipboard* previous = SetClipboard(&board);
    Clipboard().SetData(574, "abc");
    EXPECT_TRUE(board.HasFormat(574));
    Clipboard().SetData(575, "de");
    EXPECT_FALSE(board.HasFormat(574));
    EXPECT_EQ(*board.GetData(575), "de");
    EXPECT_FALSE(board.GetData(574).has_value());
    SetClipboard(previous);
}

TEST(FileUtils, AtomicWriteReplacesWholeFilesAndNamesTheFileOnError) {
    const std::string folder = (std::filesystem::temp_directory_path() / "quillon-fileutils").string() + "/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    WriteFileAtomic(folder + "a.bin", std::string(100000, 'x'));
    WriteFileAtomic(folder + "a.bin", "short");
    EXPECT_EQ(ReadWholeFile(folder + "a.bin"), "short");
    EXPECT_EQ(GetFileStamp(folder + "a.bin").Size, 5);
    try {
        ReadWholeFile(folder + "missing.kdb");
        FAIL();
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.kdb"), std::string::npos);
    }
    EXPECT_THROW(ReadWholeFile(folder), EFileError);
    std::filesystem::remove_all(folder);
}
