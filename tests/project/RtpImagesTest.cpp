// The images of the starter run-time package: sizes and formats the game expects, repeatable
// output, transparency, and chipsets whose blocks, tiles and link cells read back as intended.
#include "data/StreamUtils.h"
#include "graphics/OrlenPng.h"
#include "graphics/OrlenSheet.h"
#include "graphics/PictureFile.h"
#include "platform/FileUtils.h"
#include "tools/lib/RtpImages.h"
#include "tools/lib/RtpNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

using namespace quillon;

namespace {

const std::vector<TRtpImage>& Images() {
    static const std::vector<TRtpImage> images = MakeRtpImages();
    return images;
}

const TRtpImage& Find(const std::string& kind, const std::string& name) {
    for (const TRtpImage& image : Images())
        if (image.Kind == kind && image.Name == name)
            return image;
    throw std::runtime_error("no image " + kind + "/" + name);
}

bool NeedsTransparency(const std::string& kind) {
    static const std::set<std::string> kinds = {"Battle",  "CharSet", "ChipSet", "FaceSet",
                                                "Monster", "Picture", "System"};
    return kinds.count(kind) != 0;
}

// The size rules the material manager applies when it imports an image of the kind.
bool SizeAccepted(const std::string& kind, int w, int h) {
    if (kind == "Backdrop")
        return w == 320 && h == 160;
    if (kind == "Battle")
        return w <= 480 && h <= 480;
    if (kind == "CharSet")
        return w == 288 && h == 256;
    if (kind == "ChipSet")
        return w == 480 && h == 256;
    if (kind == "FaceSet")
        return w == 192 && h == 192;
    if (kind == "GameOver" || kind == "Title")
        return w == 320 && h == 240;
    if (kind == "Monster")
        return w >= 16 && w <= 320 && h >= 16 && h <= 160;
    if (kind == "Panorama")
        return w >= 80 && w <= 640 && h >= 80 && h <= 480;
    if (kind == "Picture")
        return w <= 640 && h <= 480;
    if (kind == "System")
        return w == 160 && h == 80;
    return false;
}

int CountIndex(const TBitmap& image, int x0, int y0, int w, int h, int index) {
    int count = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            count += image.ScanLine(y)[x] == index;
    return count;
}

TRect Cell(TPoint origin, int qx = 0, int qy = 0, int size = 16) {
    return MakeBounds(origin.X + qx * 8, origin.Y + qy * 8, size, size);
}

}  // namespace

TEST(RtpImages, EveryNamedImageIsThereOnceAtItsKindsSize) {
    std::multiset<std::string> expected;
    for (const char* name : rtp::kChipSets)
        expected.insert(std::string("ChipSet/") + name);
    for (const char* name : rtp::kCharSets)
        expected.insert(std::string("CharSet/") + name);
    for (const char* name : rtp::kMonsters)
        expected.insert(std::string("Monster/") + name);
    for (const char* name : {rtp::kFaceSet1, rtp::kFaceSet2})
        expected.insert(std::string("FaceSet/") + name);
    expected.insert(std::string("System/") + rtp::kSystem);
    expected.insert(std::string("Title/") + rtp::kTitle);
    expected.insert(std::string("GameOver/") + rtp::kGameOver);
    expected.insert(std::string("Backdrop/") + rtp::kBackdrop);
    expected.insert(std::string("Battle/") + rtp::kBattleAnimation);
    expected.insert(std::string("Panorama/") + rtp::kPanorama);
    expected.insert(std::string("Picture/") + rtp::kPicture);
    std::multiset<std::string> made;
    for (const TRtpImage& image : Images()) {
        made.insert(image.Kind + "/" + image.Name);
        EXPECT_EQ(image.Image.PixelFormat(), TPixelFormat::pf8bit) << image.Name;
        EXPECT_TRUE(SizeAccepted(image.Kind, image.Image.Width(), image.Image.Height()))
            << image.Kind << "/" << image.Name << " " << image.Image.Width() << " x " << image.Image.Height();
    }
    EXPECT_EQ(made, expected);
    // The starter animations use patterns 0..24: five rows of five 96 x 96 patterns.
    EXPECT_GE(Find("Battle", rtp::kBattleAnimation).Image.Height(), 5 * 96);
}

TEST(RtpImages, FilesInTheBuildAreWhatTheGeneratorMakesAndReadBack) {
    const std::string rtpFolder = std::string(QUILLON_BINARY_DIR) + "/bin/RTP/";
    for (const TRtpImage& image : Images()) {
        const std::string path = rtpFolder + image.Kind + "/" + image.Name + ".png";
        ASSERT_TRUE(FileExists(path)) << path;
        // Written by another run of the generator: the same bytes again.
        EXPECT_EQ(ReadWholeFile(path), EncodeRtpPng(image.Image)) << path;
        TBitmap loaded;
        LoadPicture(loaded, path);
        ASSERT_EQ(loaded.PixelFormat(), TPixelFormat::pf8bit) << path;
        ASSERT_EQ(loaded.Width(), image.Image.Width());
        ASSERT_EQ(loaded.Height(), image.Image.Height());
        EXPECT_EQ(loaded.Palette(), image.Image.Palette());
        for (int y = 0; y < loaded.Height(); ++y)
            ASSERT_EQ(
                0, std::memcmp(loaded.ScanLine(y), image.Image.ScanLine(y), static_cast<std::size_t>(loaded.Width())))
                << path << " row " << y;
    }
}

TEST(RtpImages, TransparentColourIsIndexZeroAndOnlyThere) {
    for (const TRtpImage& image : Images()) {
        const TBitmap& bitmap = image.Image;
        const int clear = CountIndex(bitmap, 0, 0, bitmap.Width(), bitmap.Height(), 0);
        if (NeedsTransparency(image.Kind)) {
            EXPECT_GT(clear, 0) << image.Name << " has no transparent pixel";
            for (int i = 1; i < 256; ++i)
                EXPECT_NE(bitmap.Palette()[static_cast<std::size_t>(i)], bitmap.Palette()[0])
                    << image.Name << " entry " << i << " has the transparent colour";
        } else {
            EXPECT_EQ(clear, 0) << image.Name << " would show holes";
        }
    }
}

TEST(RtpImages, EveryCharacterFrameIsDrawnOnATransparentGround) {
    for (const char* name : rtp::kCharSets) {
        const TBitmap& image = Find("CharSet", name).Image;
        for (int i = 0; i < 8; ++i)
            for (int d = 0; d < 4; ++d)
                for (int pattern = 0; pattern < 3; ++pattern) {
                    const int x = (i % 4) * 72 + pattern * 24, y = (i / 4) * 128 + d * 32;
                    const int clear = CountIndex(image, x, y, 24, 32, 0);
                    EXPECT_LT(clear, 24 * 32 - 40)
                        << name << " " << i << " frame " << pattern << "," << d << " is nearly empty";
                    EXPECT_EQ(image.ScanLine(y)[x], 0) << name << " " << i;
                    EXPECT_EQ(image.ScanLine(y + 31)[x + 23], 0) << name << " " << i;
                }
    }
    // Sixteen faces of 48 x 48 in each face set.
    for (const char* name : {rtp::kFaceSet1, rtp::kFaceSet2}) {
        const TBitmap& image = Find("FaceSet", name).Image;
        for (int f = 0; f < 16; ++f)
            EXPECT_LT(CountIndex(image, (f % 4) * 48, (f / 4) * 48, 48, 48, 0), 48 * 48 * 3 / 5)
                << name << " face " << f;
    }
}

TEST(RtpImages, BattlePatternsAreAllDrawn) {
    const TBitmap& image = Find("Battle", rtp::kBattleAnimation).Image;
    for (int pattern = 0; pattern < 25; ++pattern)
        EXPECT_LT(CountIndex(image, (pattern % 5) * 96, (pattern / 5) * 96, 96, 96, 0), 96 * 96)
            << "pattern " << pattern;
}

// Reads each chipset back from its file into a sheet, as the chipset graphic does, and checks what
// its analysis and its drawing of tile IDs will find.
class RtpChipSet : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const int index = GetParam();
        mSheet.SetSize(480, 256);
        mSheet.LoadFromFile(std::string(QUILLON_BINARY_DIR) + "/bin/RTP/ChipSet/" + rtp::kChipSets[index] + ".png",
                            true);
    }
    // The analysis: the first autotile whose preview cell equals autotile i's link cell.
    int Link(int i) const {
        for (int j = 0; j < 12; ++j)
            if (mSheet.SameArea(Cell(rtp::AutotileOrigin(j)), Cell(rtp::AutotileOrigin(i), 2, 0)))
                return j;
        return -1;
    }
    TOrlenSheet mSheet;
};

TEST_P(RtpChipSet, LinkCellsJoinTheIntendedAutotiles) {
    // Block indexes 6..17 are autotiles 0..11: World's mountains join its hills and its cobbled
    // road its dirt road; Town's dirt road joins its cobbles and its flower beds its lawn.
    const std::map<int, int> links =
        GetParam() == 0 ? std::map<int, int>{{2, 1}, {9, 8}} : std::map<int, int>{{1, 0}, {3, 2}};
    for (int i = 0; i < 12; ++i) {
        const auto it = links.find(i);
        EXPECT_EQ(Link(i), it == links.end() ? -1 : it->second) << "autotile " << i;
        if (it == links.end()) {
            EXPECT_TRUE(mSheet.IsAreaEmpty(Cell(rtp::AutotileOrigin(i), 2, 0))) << "autotile " << i;
        }
    }
    // Previews are all different, so a link names one autotile.
    for (int i = 0; i < 12; ++i)
        for (int j = i + 1; j < 12; ++j)
            EXPECT_FALSE(mSheet.SameArea(Cell(rtp::AutotileOrigin(i)), Cell(rtp::AutotileOrigin(j)))) << i << " " << j;
}

TEST_P(RtpChipSet, AutotilePiecesDifferFromTheirInterior) {
    // The quarters that shapes put in place of interior quarters must look different, or the
    // edges and corners of a patch would not show. Quarters (2,4)..(3,5) are the interior; each
    // piece is compared with the interior quarter of the same corner position.
    const std::pair<TPoint, TPoint> pieces[] = {
        {{4, 0}, {2, 4}}, {{5, 0}, {3, 4}}, {{4, 1}, {2, 5}}, {{5, 1}, {3, 5}},  // inner corners
        {{0, 2}, {2, 4}}, {{3, 2}, {3, 4}}, {{5, 3}, {3, 5}}, {{4, 7}, {2, 5}},  // outer corners
        {{2, 2}, {2, 4}}, {{0, 4}, {2, 4}}, {{5, 5}, {3, 5}}, {{3, 7}, {3, 5}},  // edges
    };
    for (int i = 0; i < 12; ++i) {
        const TPoint o = rtp::AutotileOrigin(i);
        for (const auto& [piece, inner] : pieces)
            EXPECT_FALSE(mSheet.SameArea(Cell(o, piece.X, piece.Y, 8), Cell(o, inner.X, inner.Y, 8)))
                << "autotile " << i << " quarter " << piece.X << "," << piece.Y;
        EXPECT_FALSE(mSheet.IsAreaEmpty(Cell(o, 0, 0))) << "preview of autotile " << i;
        EXPECT_TRUE(mSheet.IsAreaFull(MakeBounds(o.X, o.Y + 16, 48, 48))) << "edge pieces of autotile " << i;
        EXPECT_TRUE(mSheet.IsAreaFull(Cell(o, 4, 0))) << "inner corners of autotile " << i;
    }
}

TEST_P(RtpChipSet, WaterAndAnimatedTilesMoveAndLeaveNoHoles) {
    EXPECT_TRUE(mSheet.IsAreaFull(MakeBounds(0, 0, 96, 64)));
    EXPECT_TRUE(mSheet.IsAreaFull(MakeBounds(0, 64, 96, 64)));
    // The three water frames of the interior, the shore pieces and deep water differ.
    for (const int y : {0, 16, 48, 64, 80, 96, 112}) {
        EXPECT_FALSE(mSheet.SameArea(MakeBounds(0, y, 16, 16), MakeBounds(16, y, 16, 16))) << y;
        EXPECT_FALSE(mSheet.SameArea(MakeBounds(16, y, 16, 16), MakeBounds(32, y, 16, 16))) << y;
    }
    // Water B has other shores than water A.
    EXPECT_FALSE(mSheet.SameArea(MakeBounds(0, 0, 48, 64), MakeBounds(48, 0, 48, 64)));
    // Four different frames of each animated tile.
    for (int tile = 0; tile < 3; ++tile)
        for (int f = 1; f < 4; ++f)
            EXPECT_FALSE(mSheet.SameArea(MakeBounds(48 + tile * 16, 64, 16, 16),
                                         MakeBounds(48 + tile * 16, 64 + f * 16, 16, 16)))
                << "animated tile " << tile << " frame " << f;
}

TEST_P(RtpChipSet, LowerTilesAreSolidAndUpperTileZeroIsTheEmptyOne) {
    for (int n = 0; n < 144; ++n) {
        const TPoint o = rtp::LowerTileOrigin(n);
        EXPECT_TRUE(mSheet.IsAreaFull(MakeBounds(o.X, o.Y, 16, 16))) << "lower tile " << n;
    }
    EXPECT_TRUE(mSheet.IsAreaEmpty(Cell(rtp::UpperTileOrigin(0))));
    for (int n = 1; n < 144; ++n)
        EXPECT_FALSE(mSheet.IsAreaEmpty(Cell(rtp::UpperTileOrigin(n)))) << "upper tile " << n;
    // The obstacles reported for the passage settings are drawn tiles, and most of them.
    std::bitset<144> obstacles;
    rtp::MakeRtpChipSet(GetParam(), &obstacles);
    EXPECT_FALSE(obstacles[0]);
    EXPECT_GT(obstacles.count(), 100u);
    EXPECT_LT(obstacles.count(), 143u) << "flowers do not block the way";
}

INSTANTIATE_TEST_SUITE_P(WorldAndTown, RtpChipSet, ::testing::Values(0, 1));
