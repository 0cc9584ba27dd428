#include "RealPngTest.h"

#include "graphics/OrlenPng.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;

// Every real PNG either loads or is refused with one of the reader's own messages; a crash, a hang
// or a sanitizer report fails the run.
TEST(RealPng, EveryFileLoadsOrIsRefusedWithTheReadersMessage) {
    const auto files = realpng::Files();
    if (files.empty())
        GTEST_SKIP() << "no PNG test images installed (Debian package golang-1.19-src)";
    const std::set<std::string> refusals = {kInvalidPngText, kUnsupportedPngText, kZlibErrorText};
    std::set<std::string> loaded;
    int refused = 0;
    for (const auto& path : files) {
        const std::string bytes = ReadWholeFile(path.string());
        TByteViewStream stream(bytes);
        TBitmap bitmap;
        try {
            ReadPng(stream, bitmap);
            loaded.insert(path.filename().string());
            EXPECT_TRUE(bitmap.PixelFormat() == TPixelFormat::pf8bit || bitmap.PixelFormat() == TPixelFormat::pf24bit);
        } catch (const std::exception& e) {
            EXPECT_TRUE(refusals.count(e.what())) << path << ": " << e.what();
            ++refused;
        }
    }
    // The suite's 8-bit indexed and truecolour images are among those that load.
    EXPECT_TRUE(loaded.count("basn3p08.png"));
    EXPECT_TRUE(loaded.count("basn2c08.png"));
    EXPECT_GT(refused, 0);
    std::cout << files.size() << " files: " << loaded.size() << " loaded, " << refused << " refused\n";
}
