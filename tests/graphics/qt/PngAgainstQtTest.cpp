#include "../RealPngTest.h"

#include "graphics/OrlenPng.h"
#include "platform/FileUtils.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quillon;

// Every real PNG our reader accepts shows the same colours as Qt's own PNG loader reads.
TEST(RealPng, AcceptedFilesMatchQtsReader) {
    const auto files = realpng::Files();
    if (files.empty())
        GTEST_SKIP() << "no PNG test images installed (Debian package golang-1.19-src)";
    int compared = 0;
    for (const auto& path : files) {
        // Damaged files (an index past the palette, a bad checksum) are read differently by design.
        if (path.filename().string().rfind("invalid", 0) == 0)
            continue;
        const std::string bytes = ReadWholeFile(path.string());
        TByteViewStream stream(bytes);
        TBitmap bitmap;
        try {
            ReadPng(stream, bitmap);
        } catch (const std::exception&) {
            continue;
        }
        const QImage reference(QString::fromStdString(path.string()));
        if (reference.isNull())
            continue;  // damaged files that we read as far as they are sound
        ASSERT_EQ(reference.width(), bitmap.Width()) << path;
        ASSERT_EQ(reference.height(), bitmap.Height()) << path;
        int wrong = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                const std::uint8_t* row = bitmap.ScanLine(y);
                QRgb ours;
                if (bitmap.PixelFormat() == TPixelFormat::pf8bit) {
                    const TPaletteEntry& e = bitmap.Palette()[row[x]];
                    ours = qRgb(e.Red, e.Green, e.Blue);
                } else {
                    ours = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                }
                wrong += (reference.pixel(x, y) & 0xFFFFFF) != (ours & 0xFFFFFF);
            }
        EXPECT_EQ(wrong, 0) << path;
        ++compared;
    }
    EXPECT_GT(compared, 5);
}
