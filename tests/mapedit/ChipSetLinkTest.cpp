// The edit model taking its autotile links from a chipset graphic analysed from an image.
#include "MapEditTestKit.h"

#include "data/StreamUtils.h"
#include "graphics/Bitmap.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/OrlenPng.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// Pixel origins of the twelve autotile blocks.
constexpr TPoint kAutoTileOrigins[12] = {{0, 128},  {48, 128}, {0, 192},  {48, 192}, {96, 0},   {144, 0},
                                         {96, 64},  {144, 64}, {96, 128}, {144, 128}, {96, 192}, {144, 192}};

void FillCell(TBitmap& bitmap, int x, int y, std::uint8_t value) {
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 16; ++column)
            bitmap.ScanLine(y + row)[x + column] = value;
}

// A chipset image whose second autotile's link cell shows the first one's preview cell, so the
// second autotile (entry 7) links to the first (entry 6); every other link cell matches nothing.
std::string WriteChipSet(const std::filesystem::path& folder) {
    TBitmap bitmap(kChipSetWidth, kChipSetHeight, TPixelFormat::pf8bit);
    for (int block = 0; block < 12; ++block) {
        const TPoint origin = kAutoTileOrigins[block];
        FillCell(bitmap, origin.X, origin.Y, static_cast<std::uint8_t>(10 + block));
        FillCell(bitmap, origin.X + 16, origin.Y, static_cast<std::uint8_t>(block == 1 ? 10 : 200));
    }
    TMemoryStream stream;
    WritePng(stream, bitmap);
    std::filesystem::create_directories(folder / "ChipSet");
    std::ofstream(folder / "ChipSet" / "links.png", std::ios::binary) << stream.Bytes();
    return folder.string();
}

}  // namespace

TEST(ChipSetLinkTest, ModelJoinsAutotilesThroughTheChipSetsLinks) {
    const auto folder = std::filesystem::temp_directory_path() / ("quillon-links-" + std::to_string(::getpid()));
    TKelChipSetGraphic chips(FolderImageFinder({WriteChipSet(folder)}));
    chips.LoadGraphic("links");
    std::filesystem::remove_all(folder);
    ASSERT_EQ(chips.GetAutotileLink(7), 6);
    ASSERT_EQ(chips.GetAutotileLink(6), -1);

    // Grass (entry 6) joins the sand (entry 7) whose link names it; sand does not join grass.
    TEditFixture sand(MakeMap(3, 3, kSand));
    sand.Model.Links = [&chips](std::int32_t chip) { return chips.GetAutotileLink(chip); };
    sand.Place(1, 1, kGrass);
    EXPECT_EQ(sand.Lower(1, 1), kGrass);
    sand.Place(1, 0, kDirt);  // entry 8 links to nothing: a border above
    EXPECT_EQ(sand.Lower(1, 1), kGrass + 20);
    TEditFixture grass(MakeMap(3, 3, kGrass));
    grass.Model.Links = sand.Model.Links;
    grass.Place(1, 1, kSand);
    EXPECT_EQ(grass.Lower(1, 1), kSand + 46);
}
