// Comparing a drawn board with a golden PNG file. QUILLON_UPDATE_GOLDEN=1 writes the file anew
// instead (look at it and check it before committing).
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace quillon::test {

inline void ExpectGoldenPicture(const TOrlenBoard& board, const std::filesystem::path& golden) {
    const TBitmap picture = BoardToBitmap(board);
    if (std::getenv("QUILLON_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(golden.parent_path());
        SavePicture(picture, golden.string());
        return;
    }
    TBitmap expected;
    ASSERT_NO_THROW(LoadPicture(expected, golden.string())) << golden;
    ASSERT_EQ(expected.PixelFormat(), TPixelFormat::pf24bit);
    ASSERT_EQ(expected.Width(), picture.Width());
    ASSERT_EQ(expected.Height(), picture.Height());
    int differing = 0;
    for (int y = 0; y < picture.Height(); ++y)
        differing += !std::equal(picture.ScanLine(y), picture.ScanLine(y) + picture.RowBytes(), expected.ScanLine(y));
    EXPECT_EQ(differing, 0) << golden.filename() << ": rows that differ from the golden picture";
}

}  // namespace quillon::test
