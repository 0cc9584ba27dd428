// Whole-map pictures of the sample project, drawn with a chipset of our own, against the golden
// PNG files in tests/graphics/golden. QUILLON_UPDATE_GOLDEN=1 writes them anew (look at them and
// check them before committing).
#include "../ChipSetTestUtil.h"
#include "GoldenPicture.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "tools/lib/RtpNames.h"
#include "tools/lib/SampleProject.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace quillon;
using namespace chiptest;

namespace {

// From the source folder the build names: __FILE__ may be relative, and making the sample changes
// the current directory.
const std::filesystem::path kGoldenFolder = std::filesystem::path(QUILLON_SOURCE_DIR) / "tests" / "graphics" / "golden";

class SampleRenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new std::filesystem::path(TempFolder("sample"));
        std::filesystem::remove_all(*folder);  // the sample is made in a folder that does not exist yet
        MakeSampleProject(folder->string());
        // Only our own images: nothing of the run-time package or the starter content.
        for (const char* kind : {"ChipSet", "CharSet"}) {
            std::filesystem::remove_all(*folder / kind);
            std::filesystem::create_directories(*folder / kind);
        }
        const TBitmap chipset = PictureChipSet();
        WriteResource(*folder, "ChipSet", rtp::kChipSets[0], chipset);
        TBitmap town = chipset;
        for (int i = 2; i < 26; ++i)
            std::swap(town.Palette()[i].Red, town.Palette()[i].Blue);
        WriteResource(*folder, "ChipSet", rtp::kChipSets[1], town);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*folder);
        delete folder;
    }

    // Draws map `id` as the render verb does.
    void Render(int id, const TMapRenderOptions& options) {
        TEditorModeScope mode(true);
        const std::string path = folder->string() + "/";
        database = std::make_unique<TKelDataBase>();
        database->Load(path);
        map = std::make_unique<TKelMap>();
        map->LoadFromProject(path, id);
        TKelMapTree tree;
        tree.Load(path);
        map->SetChipSetList(&database->ChipSet);
        map->ValidateChipSetId();
        chips = std::make_unique<TKelChipSetGraphic>(FolderImageFinder({folder->string()}));
        chips->SetChipSet(database->ChipSet.FindByID(map->ChipSetId));
        TKelCharSetGraphic charSets(FolderImageFinder({folder->string()}));
        TStartPosMark marks;
        TMapEventLayer events(&tree, charSets, marks);
        events.LoadCharSets(*map);
        RenderMap(board, *map, *chips, options, &events);
    }

    void CompareWithGolden(const std::string& name) { test::ExpectGoldenPicture(board, kGoldenFolder / name); }

    static std::filesystem::path* folder;
    std::unique_ptr<TKelDataBase> database;
    std::unique_ptr<TKelMap> map;
    std::unique_ptr<TKelChipSetGraphic> chips;
    TOrlenBoard board;
};

std::filesystem::path* SampleRenderTest::folder = nullptr;

TMapRenderOptions Options(int cellSize, bool events, int frame = 0) {
    TMapRenderOptions options;
    options.CellSize = cellSize;
    options.Events = events;
    options.AnimCounter = frame;
    return options;
}

std::uint16_t Color565Of(const TPaletteEntry& entry) {
    return static_cast<std::uint16_t>((entry.Red >> 3) << 11 | (entry.Green >> 2) << 5 | (entry.Blue >> 3));
}

}  // namespace

// Independent of the golden files: every cell holding a plain lower tile under the blank upper
// tile is the chipset cell at the layout's place, doubled at 1/1.
TEST_F(SampleRenderTest, PlainTilesLandWhereTheLayoutPutsThem) {
    Render(5, Options(32, false));
    const TBitmap chipset = PictureChipSet();
    int checked = 0;
    for (int row = 0; row < map->Height(); ++row)
        for (int column = 0; column < map->Width(); ++column) {
            const int lower = map->LowerLayer.Cell(column, row);
            if (lower < 5000 || lower > 5143 || map->UpperLayer.Cell(column, row) != 10000)
                continue;
            const int n = lower - 5000;
            const int cx = n < 96 ? 192 + 16 * (n % 6) : 288 + 16 * (n % 6);
            const int cy = n < 96 ? 16 * (n / 6) : 16 * ((n - 96) / 6);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const int index = chipset.ScanLine(cy + y / 2)[cx + x / 2];
                    ASSERT_EQ(board.ScanLine(row * 32 + y)[column * 32 + x], Color565Of(chipset.Palette()[index]))
                        << "cell " << column << "," << row << " tile " << n;
                }
            ++checked;
        }
    EXPECT_GT(checked, 0);
}

TEST_F(SampleRenderTest, CaveAtEveryZoomWithEvents) {
    for (int size : {32, 16, 8, 4}) {
        Render(5, Options(size, true));
        EXPECT_EQ(board.Width(), map->Width() * size);
        CompareWithGolden("cave_" + std::to_string(32 / size) + ".png");
    }
}

TEST_F(SampleRenderTest, VillageAndAnimatedWorld) {
    Render(2, Options(16, true));
    CompareWithGolden("village_2.png");
    Render(1, Options(8, false, 30));
    CompareWithGolden("world_4_frame30.png");
}

// One row per water kind (and one with all four corner pieces) and per autotile, one column per
// shape, at 1/2.
TEST_F(SampleRenderTest, EveryShapeOfEveryBlock) {
    TEditorModeScope mode(true);
    TKelMap shapes;
    shapes.SetWidth(50);
    shapes.SetHeight(16);
    for (int shape = 0; shape < 50; ++shape) {
        for (int kind = 0; kind < 3; ++kind)
            shapes.LowerLayer.SetCell(shape, kind, static_cast<std::uint16_t>(kind * 1000 + shape));
        shapes.LowerLayer.SetCell(shape, 3, static_cast<std::uint16_t>(15 * 50 + shape));
        for (int block = 0; block < 12; ++block)
            shapes.LowerLayer.SetCell(shape, 4 + block, static_cast<std::uint16_t>(4000 + block * 50 + shape));
    }
    TKelChipSetGraphic chipsOnly(FolderImageFinder({folder->string()}));
    chipsOnly.LoadGraphic(rtp::kChipSets[0]);
    RenderMap(board, shapes, chipsOnly, Options(16, false));
    CompareWithGolden("shapes_2.png");
}
